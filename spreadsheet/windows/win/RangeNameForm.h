// TRangeDlg, the "Range Name" dialog: a form without modal run, so that its
// range prompts can run on the main window while it is hidden. Its values and
// button rules are TRangeNameDialog's.
#pragma once

#include <functional>
#include <string_view>

#include "classlib/win/StdCtrls.h"
#include "spreadsheet/windows/RangeNameDialog.h"

namespace corvane {

class TRangeDlg : public classlib::TForm {
 public:
  explicit TRangeDlg(classlib::TComponent* AOwner);
  // Shows the dialog for the active sheet's current selection.
  void Open();

  classlib::TEdit NameEdit{nullptr};
  classlib::TEdit RangeEdit{nullptr};
  classlib::TListBox Names{nullptr};
  classlib::TLabel Total{nullptr};
  classlib::TButton Create{nullptr};
  classlib::TButton Delete{nullptr};
  classlib::TButton Reset{nullptr};
  classlib::TButton Build{nullptr};
  classlib::TButton Table{nullptr};
  classlib::TButton Ok{nullptr};

 private:
  void ToControls();
  void FromControls();
  // Hides the dialog for a range prompt whose accepted text `done` takes;
  // the dialog shows again afterwards.
  void Prompt(const char* caption, bool callBackOnCancel, std::function<void(std::string_view)> done);

  TRangeNameDialog values_;
  classlib::TLabel nameLabel_{nullptr};
  classlib::TLabel rangeLabel_{nullptr};
};

}  // namespace corvane
