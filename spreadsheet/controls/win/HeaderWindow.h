// TCheader: the window of a grid header strip (column letters or row
// numbers) over THeaderModel, with the sizing cursors over its borders.
#pragma once

#include "spreadsheet/controls/Header.h"
#include "spreadsheet/controls/win/OwnDrawnControl.h"

namespace corvane {

class TCheader : public TOwnDrawnControl {
 public:
  explicit TCheader(classlib::TComponent* AOwner);
  THeaderModel& Model() { return model_; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint(classlib::TCanvas& Canvas) override { model_.Paint(Canvas); }
  void MouseDown(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) override;
  void MouseMove(classlib::TShiftState Shift, int X, int Y) override;
  void MouseUp(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) override;
  void WndProc(classlib::TMessage& Message) override;

 private:
  THeaderModel model_{*this};
};

}  // namespace corvane
