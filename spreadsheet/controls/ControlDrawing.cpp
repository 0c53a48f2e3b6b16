// Bevels, buttons and checkered fills for the own-drawn controls.
#include "spreadsheet/controls/ControlDrawing.h"

#include "classlib/Drawing.h"

namespace corvane {

using namespace classlib;

void FillSolid(TCanvas& canvas, const TRect& r, TColor color) {
  if (r.IsEmpty()) return;
  TBrush saved = canvas.Brush;
  canvas.Brush = TBrush{color, TBrushStyle::bsSolid};
  canvas.FillRect(r);
  canvas.Brush = saved;
}

TRect DrawBevel(TCanvas& canvas, const TRect& r, TColor topLeft, TColor bottomRight) {
  TRect inner = r;
  Frame3D(canvas, inner, topLeft, bottomRight, 1);
  return inner;
}

TRect DrawButton(TCanvas& canvas, const TRect& r, bool pressed, TColor face) {
  TRect inner = pressed ? DrawBevel(canvas, r, clBlack, kEdgeLight) : DrawBevel(canvas, r, kEdgeLight, clBlack);
  inner = pressed ? DrawBevel(canvas, inner, kEdgeShadow, face) : DrawBevel(canvas, inner, face, kEdgeShadow);
  FillSolid(canvas, inner, face);
  return inner;
}

TRect DrawSunkenBox(TCanvas& canvas, const TRect& r) {
  TRect inner = DrawBevel(canvas, r, kEdgeShadow, kEdgeLight);
  return DrawBevel(canvas, inner, clBlack, kFaceSilver);
}

void FillChecker(TCanvas& canvas, const TRect& r, TColor a, TColor b) {
  if (r.IsEmpty()) return;
  TBrush saved = canvas.Brush;
  canvas.Brush = TBrush{a, TBrushStyle::bsChecker, b};
  canvas.FillRect(r);
  canvas.Brush = saved;
}

}  // namespace corvane
