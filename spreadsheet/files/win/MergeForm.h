// TMergeDlg, the merge dialog ("Merge Value" or "Merge by Formula"): the
// file's name, the target cell, the whole file or one of its range names,
// and the action. A form without modal run over TMergeDialog, so that the
// target's range prompt can run on the main window while it is hidden.
#pragma once

#include <array>
#include <string_view>

#include "spreadsheet/data/win/RangeDialog.h"
#include "spreadsheet/files/MergeDialog.h"

namespace corvane {

class TMergeDlg : public TRangeDialog {
 public:
  explicit TMergeDlg(classlib::TWinControl& mainWindow);
  ~TMergeDlg() override;

  // Shows the dialog for merging `fileName` by value (kind 1) or by formula
  // (kind 2); its next activation fills it from the file and the sheet.
  void Setup(std::string_view fileName, int kind);

  const TMergeDialog& Values() const { return values_; }
  classlib::TLabel& FileLabel() { return *fileLabel_; }
  TPEdit& Target() { return *target_; }
  classlib::TRadioButton& All() { return *all_; }
  classlib::TRadioButton& RangeButton() { return *range_; }
  classlib::TComboBox& Names() { return *names_; }
  classlib::TRadioButton& Action(int tag) { return *actions_.at(static_cast<std::size_t>(tag - 1)); }

 protected:
  void FirstActivation() override;
  void OkClick() override;
  void Cancelled() override {}
  TRange SavedSelection() const override { return saved_; }

 private:
  void ValuesToControls();
  void ControlsToValues();

  TMergeDialog values_;
  TRange saved_;
  classlib::TLabel* fileLabel_ = nullptr;
  TPEdit* target_ = nullptr;
  classlib::TRadioButton* all_ = nullptr;
  classlib::TRadioButton* range_ = nullptr;
  classlib::TComboBox* names_ = nullptr;
  std::array<classlib::TRadioButton*, 3> actions_{};
};

// The program's one merge dialog, made on first use (or by the start-up's
// preload) as a window owned by `mainWindow`.
TMergeDlg& MergeDialog(classlib::TWinControl& mainWindow);

}  // namespace corvane
