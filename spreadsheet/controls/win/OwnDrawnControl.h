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

 protected:
  // The control repaints when the focus comes and goes (its painting shows
  // whether it has the focus).
  bool FocusRepaints = false;
  void DoEnter() override;
  void DoExit() override;
};

// A control made of other controls: they are clipped out of its painting,
// Tab and the dialog keys move among them, and it fills its background with
// its Color.
class TCompositeControl : public TOwnDrawnControl {
 public:
  explicit TCompositeControl(classlib::TComponent* AOwner) : TOwnDrawnControl(AOwner) {}

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint(classlib::TCanvas& Canvas) override;
};

// An own-drawn control whose model takes the mouse as the window gets it
// (with or without the shift state) and paints the whole control (and, when
// it has timers, hears them).
template <class TModel>
class TModelWindow : public TOwnDrawnControl {
 public:
  explicit TModelWindow(classlib::TComponent* AOwner) : TOwnDrawnControl(AOwner) {}
  TModel& Model() { return model_; }
  const TModel& Model() const { return model_; }

 protected:
  void Paint(classlib::TCanvas& Canvas) override {
    if constexpr (requires { model_.Paint(Canvas); }) model_.Paint(Canvas);
  }
  void MouseDown(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) override {
    if constexpr (requires { model_.MouseDown(Button, Shift, X, Y); })
      model_.MouseDown(Button, Shift, X, Y);
    else
      model_.MouseDown(Button, X, Y);
    TOwnDrawnControl::MouseDown(Button, Shift, X, Y);
  }
  void MouseMove(classlib::TShiftState Shift, int X, int Y) override {
    if constexpr (requires { model_.MouseMove(Shift, X, Y); })
      model_.MouseMove(Shift, X, Y);
    else
      model_.MouseMove(X, Y);
    TOwnDrawnControl::MouseMove(Shift, X, Y);
  }
  void MouseUp(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) override {
    if constexpr (requires { model_.MouseUp(Button, Shift, X, Y); })
      model_.MouseUp(Button, Shift, X, Y);
    else
      model_.MouseUp(Button, X, Y);
    TOwnDrawnControl::MouseUp(Button, Shift, X, Y);
  }
  void Timer(int Id) override {
    if constexpr (requires { model_.Timer(Id); }) model_.Timer(Id);
  }

  TModel model_{*this};
};

// A TModelWindow whose model takes keys as well: a key without Ctrl or Alt
// that the model's KeyDown uses goes no further. Its painting shows the
// focus.
template <class TModel>
class TKeyedModelWindow : public TModelWindow<TModel> {
 public:
  explicit TKeyedModelWindow(classlib::TComponent* AOwner) : TModelWindow<TModel>(AOwner) {
    this->FocusRepaints = true;
  }

 protected:
  void KeyDown(int& Key, classlib::TShiftState Shift) override {
    TModelWindow<TModel>::KeyDown(Key, Shift);
    if (Key != 0 && (Shift & (classlib::ssCtrl | classlib::ssAlt)) == 0 && this->model_.KeyDown(Key)) Key = 0;
  }
};

}  // namespace corvane
