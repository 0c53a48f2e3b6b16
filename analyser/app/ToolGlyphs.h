// The small pictures of the main window's tool buttons and of a scanning
// root's progress, drawn on any canvas.
#pragma once

#include "classlib/Canvas.h"

namespace foldwick {

enum TToolGlyph : int {
  kGlyphBrowse, kGlyphParent, kGlyphUpdate, kGlyphSortName, kGlyphSortSize, kGlyphNoSort, kGlyphViewSize,
  kGlyphViewAllocated, kGlyphViewPercent, kGlyphViewWasted, kGlyphViewCdRom, kGlyphPie, kGlyphBar, kGlyphList,
  kGlyphPrint, kGlyphSearch, kToolGlyphCount
};

// Draws glyph `glyph` into the 16 x 16 square at (x, y); the background is
// left as it is.
void DrawToolGlyph(classlib::TCanvas& canvas, int glyph, int x, int y);

// Draws progress image `step` (1 to 15: a pie filling up; 0 nothing) into
// the 16 x 16 square at (x, y).
void DrawProgressGlyph(classlib::TCanvas& canvas, int step, int x, int y);

}  // namespace foldwick
