// TFind, the "Find & Replace" dialog: a window that stays on top of the
// program while the user goes on working in the sheet. Its values, the walk
// and what each button does are TFindReplace's.
#pragma once

#include "classlib/win/StdCtrls.h"
#include "spreadsheet/windows/FindReplace.h"

namespace corvane {

class TFind : public classlib::TForm {
 public:
  explicit TFind(classlib::TComponent* AOwner);
  // Shows the dialog for the active grid's selection.
  void Open();
  const TFindReplace& Values() const { return values_; }

  classlib::TComboBox ComboBox1{nullptr};
  classlib::TEdit Edit2{nullptr};
  classlib::TRadioButton Global{nullptr};
  classlib::TRadioButton Selected{nullptr};
  classlib::TLabel ScopeRange{nullptr};
  classlib::TCheckBox CaseInsensitive{nullptr};
  classlib::TLabel Result{nullptr};
  classlib::TButton Bt1{nullptr};
  classlib::TButton Replace{nullptr};
  classlib::TButton ReplaceAll{nullptr};
  classlib::TButton Cancel{nullptr};

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  void Activated();
  void ToControls();
  void FromControls();
  // Files the search text in the history and shows the history again.
  void FileHistory();
  void Run(TFindResult (TFindReplace::*command)());

  TFindReplace values_;
  bool loading_ = false;  // the controls are being loaded: their changes are not the user's
  classlib::TLabel findLabel_{nullptr};
  classlib::TLabel replaceLabel_{nullptr};
  classlib::TGroupBox scopeBox_{nullptr};
  classlib::TLabel foundLabel_{nullptr};
};

}  // namespace corvane
