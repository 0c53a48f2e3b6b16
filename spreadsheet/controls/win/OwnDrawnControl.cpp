// Drawing at once and scrolling for the controls' windows.
#include "spreadsheet/controls/win/OwnDrawnControl.h"

#include <algorithm>

#include "classlib/win/GdiHandles.h"

namespace corvane {

using namespace classlib;

TOwnDrawnControl::TOwnDrawnControl(TComponent* AOwner) : TCustomControl(AOwner) { ControlStyle |= csOpaque; }

void TOwnDrawnControl::DoEnter() {
  if (FocusRepaints) Invalidate();
  TCustomControl::DoEnter();
}

void TOwnDrawnControl::DoExit() {
  if (FocusRepaints) Invalidate();
  TCustomControl::DoExit();
}

void TOwnDrawnControl::ScrollRect(const TRect& r, int dx, int dy) {
  if (!HandleAllocated() || r.IsEmpty()) return;
  RECT area = {r.Left, r.Top, r.Right, r.Bottom};
  TOwnedRegion update(CreateRectRgn(0, 0, 0, 0));
  // Without SW_INVALIDATE the system leaves in `update` what the scroll
  // uncovered plus what it could not copy because another window covered it.
  ScrollWindowEx(Handle(), dx, dy, &area, &area, update.Get(), nullptr, 0);
  // The uncovered strip is the caller's to draw at once; only the rest waits
  // for a paint.
  TRect strip = r;
  if (dy < 0) strip.Top = std::max(r.Top, r.Bottom + dy);
  if (dy > 0) strip.Bottom = std::min(r.Bottom, r.Top + dy);
  if (dx < 0) strip.Left = std::max(r.Left, r.Right + dx);
  if (dx > 0) strip.Right = std::min(r.Right, r.Left + dx);
  TOwnedRegion drawn(CreateRectRgn(strip.Left, strip.Top, strip.Right, strip.Bottom));
  if (CombineRgn(update.Get(), update.Get(), drawn.Get(), RGN_DIFF) != NULLREGION)
    InvalidateRgn(Handle(), update.Get(), FALSE);
}

void TCompositeControl::CreateParams(TCreateParams& Params) {
  TOwnDrawnControl::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
  Params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TCompositeControl::Paint(TCanvas& Canvas) {
  Canvas.Brush = TBrush{Color()};
  Canvas.FillRect(ClientRect());
}

}  // namespace corvane
