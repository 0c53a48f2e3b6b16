// The glyph button grid's window.
#include "spreadsheet/controls/win/GlyphGridWindow.h"

#include "classlib/win/GdiHandles.h"

namespace corvane {

using namespace classlib;

void DrawGlyphCell(TCanvas& canvas, const TRect& dest, TBitmap& glyph, const TRect& source) {
  auto* gdi = dynamic_cast<TGdiCanvas*>(&canvas);
  if (gdi == nullptr || dest.IsEmpty() || source.IsEmpty()) return;
  int w = std::min(dest.Width(), source.Width()), h = std::min(dest.Height(), source.Height());
  GdiTransparentBlt(gdi->Handle(), dest.Left, dest.Top, w, h, glyph.Canvas().Handle(), source.Left, source.Top, w, h,
                    RGB(0xC0, 0xC0, 0xC0));
}

TBmpBut::TBmpBut(TComponent* AOwner) : TKeyedModelWindow(AOwner) {
  ControlStyle &= ~csDoubleClicks;
  model_.OnResize = [this] { TakeSize(); };
  TakeSize();
}

void TBmpBut::CreateParams(TCreateParams& Params) {
  TKeyedModelWindow::CreateParams(Params);
  Params.ClassName = "TBmpBut";
}

void TBmpBut::WindowCreated() {
  TKeyedModelWindow::WindowCreated();
  MeasureCaption();
}

void TBmpBut::SetFont(const TFont& value) {
  TKeyedModelWindow::SetFont(value);
  MeasureCaption();
}

void TBmpBut::MeasureCaption() {
  TWindowDCLease screen(nullptr);
  TGdiCanvas canvas(screen.Get());
  canvas.Font = Font();
  model_.SetTextHeight(canvas.TextHeight("Ay"));
}

void TBmpBut::TakeSize() {
  TSize size = model_.PreferredSize();
  if (size.cx != Width() || size.cy != Height()) SetBounds(Left(), Top(), size.cx, size.cy);
  // An open collapsed grid lies over its neighbours.
  if (HandleAllocated() && model_.Open())
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TBmpBut::SetGlyph(TBitmap& glyph) {
  auto copy = std::make_unique<TBitmap>(glyph.Width(), glyph.Height());
  TRect all{0, 0, glyph.Width(), glyph.Height()};
  copy->Canvas().CopyRect(all, glyph.Canvas(), all);
  glyph_ = std::move(copy);
  model_.SetGlyphSize(glyph_->Width(), glyph_->Height());
}

void TBmpBut::Paint(TCanvas& Canvas) {
  model_.Paint(Canvas, Focused(), [this](TCanvas& canvas, const TRect& dest, const TRect& source) {
    if (glyph_) DrawGlyphCell(canvas, dest, *glyph_, source);
  });
}

void TBmpBut::KeyPress(char& Key) {
  model_.KeyPress(Key);
  TKeyedModelWindow::KeyPress(Key);
}

// Arrows, characters, Enter and Escape come to the grid; Tab goes on to the
// dialog, which moves the focus out of it.
LRESULT TBmpBut::DialogCode(TMessage& Message) {
  const LRESULT wanted = DLGC_WANTARROWS | DLGC_WANTCHARS;
  return Message.WParam == VK_TAB ? wanted : wanted | DLGC_WANTALLKEYS;
}

}  // namespace corvane
