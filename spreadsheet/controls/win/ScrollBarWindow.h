// Twscroll: the window of the self-drawn scroll bar over TScrollBarModel.
#pragma once

#include "spreadsheet/controls/ScrollBar.h"
#include "spreadsheet/controls/win/OwnDrawnControl.h"

namespace corvane {

class Twscroll : public TModelWindow<TScrollBarModel> {
 public:
  explicit Twscroll(classlib::TComponent* AOwner);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Resize() override;
};

}  // namespace corvane
