// The common base of the controls' windows: an own-drawn control that paints
// its whole client area (no background erasing), draws at once only while
// its window exists, and scrolls its pixels with the system's scroll, which
// invalidates what other windows hid instead of copying their pixels.
#pragma once

#include "classlib/win/Controls.h"

namespace corvane {

class TOwnDrawnControl : public classlib::TCustomControl {
 public:
  explicit TOwnDrawnControl(classlib::TComponent* AOwner);

  // Nothing is drawn before the window exists (a model may move or repaint
  // before its control is placed); it is painted in full when it appears.
  void DrawNow(const std::function<void(classlib::TCanvas&)>& draw) override;
  void ScrollRect(const classlib::TRect& r, int dx, int dy) override;
};

}  // namespace corvane
