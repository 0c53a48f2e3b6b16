// The split speed button's window.
#include "spreadsheet/controls/win/SplitButtonWindow.h"

namespace corvane {

using namespace classlib;

Tspdbtn::Tspdbtn(TComponent* AOwner) : TOwnDrawnControl(AOwner), glyph_(std::make_unique<TBitmap>(1, 1)) {
  ControlStyle &= ~csDoubleClicks;
  SetBounds(0, 0, 24, 24);
  model_.SetGlyphSize(1, 1);
}

void Tspdbtn::CreateParams(TCreateParams& Params) {
  TOwnDrawnControl::CreateParams(Params);
  Params.ClassName = "Tspdbtn";
}

void Tspdbtn::SetGlyph(TBitmap& glyph) {
  auto copy = std::make_unique<TBitmap>(glyph.Width(), glyph.Height());
  TRect all{0, 0, glyph.Width(), glyph.Height()};
  copy->Canvas().CopyRect(all, glyph.Canvas(), all);
  glyph_ = std::move(copy);
  model_.SetGlyphSize(glyph_->Width(), glyph_->Height());
}

void Tspdbtn::Paint(TCanvas& Canvas) {
  model_.Paint(Canvas);
  if (model_.HasGlyph()) Canvas.CopyRect(model_.GlyphDest(), glyph_->Canvas(), model_.GlyphSource());
}

void Tspdbtn::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  model_.MouseDown(Button, X, Y);
  TOwnDrawnControl::MouseDown(Button, Shift, X, Y);
}

void Tspdbtn::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  model_.MouseUp(Button, X, Y);
  TOwnDrawnControl::MouseUp(Button, Shift, X, Y);
}

}  // namespace corvane
