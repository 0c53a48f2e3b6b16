// Twscroll: the window of the self-drawn scroll bar over TScrollBarModel.
#pragma once

#include "spreadsheet/controls/ScrollBar.h"
#include "spreadsheet/controls/win/OwnDrawnControl.h"

namespace corvane {

class Twscroll : public TOwnDrawnControl {
 public:
  explicit Twscroll(classlib::TComponent* AOwner);
  TScrollBarModel& Model() { return model_; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint(classlib::TCanvas& Canvas) override { model_.Paint(Canvas); }
  void Resize() override;
  void MouseDown(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) override;
  void MouseMove(classlib::TShiftState Shift, int X, int Y) override;
  void MouseUp(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) override;
  void Timer(int Id) override { model_.Timer(Id); }

 private:
  TScrollBarModel model_{*this};
};

}  // namespace corvane
