// Tspdbtn: the window of the split speed button over TSplitButtonModel, with
// its glyph (a copy the button keeps).
#pragma once

#include <memory>

#include "classlib/win/Bitmap.h"
#include "spreadsheet/controls/SplitButton.h"
#include "spreadsheet/controls/win/OwnDrawnControl.h"

namespace corvane {

class Tspdbtn : public TOwnDrawnControl {
 public:
  explicit Tspdbtn(classlib::TComponent* AOwner);
  TSplitButtonModel& Model() { return model_; }

  // Copies `glyph` (three images side by side in the split modes).
  void SetGlyph(classlib::TBitmap& glyph);
  classlib::TBitmap& Glyph() { return *glyph_; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint(classlib::TCanvas& Canvas) override;
  void MouseDown(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) override;
  void MouseUp(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) override;
  void Timer(int Id) override { model_.Timer(Id); }

 private:
  TSplitButtonModel model_{*this};
  std::unique_ptr<classlib::TBitmap> glyph_;
};

}  // namespace corvane
