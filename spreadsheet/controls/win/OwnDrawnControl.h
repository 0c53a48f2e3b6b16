// The common base of the controls' windows: an own-drawn control that paints
// its whole client area (no background erasing) and scrolls its pixels with
// the system's scroll, which invalidates what other windows hid instead of
// copying their pixels.
#pragma once

#include "classlib/win/Controls.h"

namespace corvane {

class TOwnDrawnControl : public classlib::TCustomControl {
 public:
  explicit TOwnDrawnControl(classlib::TComponent* AOwner);

  void ScrollRect(const classlib::TRect& r, int dx, int dy) override;
};

// An own-drawn control whose model takes the mouse as the window gets it and
// paints the whole control (and, when it has timers, hears them).
template <class TModel>
class TModelWindow : public TOwnDrawnControl {
 public:
  explicit TModelWindow(classlib::TComponent* AOwner) : TOwnDrawnControl(AOwner) {}
  TModel& Model() { return model_; }

 protected:
  void Paint(classlib::TCanvas& Canvas) override { model_.Paint(Canvas); }
  void MouseDown(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) override {
    model_.MouseDown(Button, Shift, X, Y);
    TOwnDrawnControl::MouseDown(Button, Shift, X, Y);
  }
  void MouseMove(classlib::TShiftState Shift, int X, int Y) override {
    model_.MouseMove(Shift, X, Y);
    TOwnDrawnControl::MouseMove(Shift, X, Y);
  }
  void MouseUp(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) override {
    model_.MouseUp(Button, Shift, X, Y);
    TOwnDrawnControl::MouseUp(Button, Shift, X, Y);
  }
  void Timer(int Id) override {
    if constexpr (requires { model_.Timer(Id); }) model_.Timer(Id);
  }

  TModel model_{*this};
};

}  // namespace corvane
