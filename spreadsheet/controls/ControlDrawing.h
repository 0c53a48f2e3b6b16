// Drawing shared by the program's own-drawn controls: one-pixel bevels, 3D
// buttons and the checkered fill of tracks and backgrounds. Everything draws
// with brushes on a TCanvas, so the same calls land on the screen, a bitmap
// or the recording canvas of the tests.
#pragma once

#include "spreadsheet/controls/ControlBase.h"

namespace corvane {

// The fixed 3D colours of the controls: highlight, shadow and face.
inline constexpr TColor kEdgeLight = classlib::clWhite;
inline constexpr TColor kEdgeShadow = classlib::clGray;
inline constexpr TColor kFaceSilver = classlib::clSilver;

// Fills `r` with a solid colour; the canvas's brush is left as it was.
void FillSolid(TCanvas& canvas, const TRect& r, TColor color);

// Draws a one-pixel bevel inside `r`: `topLeft` along its top and left edges,
// `bottomRight` along its bottom and right edges. Returns `r` inset by one.
TRect DrawBevel(TCanvas& canvas, const TRect& r, TColor topLeft, TColor bottomRight);

// A 3D button in `r`: raised (white upper-left, grey and black lower-right) or
// pressed (the edges swapped), its face filled with `face`. Returns the face.
TRect DrawButton(TCanvas& canvas, const TRect& r, bool pressed, TColor face = kFaceSilver);

// A box sunk into its surroundings: grey and black upper-left, white and
// silver lower-right. Returns the inside, which is not filled.
TRect DrawSunkenBox(TCanvas& canvas, const TRect& r);

// Fills `r` with a one-pixel checkerboard of `a` and `b`.
void FillChecker(TCanvas& canvas, const TRect& r, TColor a, TColor b);

}  // namespace corvane
