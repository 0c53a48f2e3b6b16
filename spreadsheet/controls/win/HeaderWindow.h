// TCheader: the window of a grid header strip (column letters or row
// numbers) over THeaderModel.
#pragma once

#include "spreadsheet/controls/Header.h"
#include "spreadsheet/controls/win/OwnDrawnControl.h"

namespace corvane {

class TCheader : public TModelWindow<THeaderModel> {
 public:
  explicit TCheader(classlib::TComponent* AOwner);

 protected:
  void CreateParams(TCreateParams& Params) override;
};

}  // namespace corvane
