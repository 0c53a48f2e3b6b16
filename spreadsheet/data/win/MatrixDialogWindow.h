// TMatrixDlg, the array dialog (caption "Array"): a notebook of eight pages
// of range fields over TMatrixDialogValues, one page per matrix operation
// and the linear program. The form copies its fields to and from the values
// and leaves presets and the operations to them.
#pragma once

#include <array>
#include <vector>

#include "spreadsheet/data/MatrixDialog.h"
#include "spreadsheet/data/win/RangeDialog.h"

namespace corvane {

class TMatrixDlg : public TRangeDialog {
 public:
  explicit TMatrixDlg(classlib::TWinControl& mainWindow);
  ~TMatrixDlg() override;

  // Selects the page, gives the dialog the page's height and shows it (not
  // modally); its first activation presets the page from the grid's selection.
  void ShowArrayPage(int page);

  const TMatrixDialogValues& Values() const { return values_; }
  // The page's fields in the order they are shown: first (or input), second
  // where the page has one, output.
  TPEdit& Field(int page, int index) const { return *fields_[page].at(static_cast<size_t>(index)); }

 protected:
  void FirstActivation() override;
  void OkClick() override;
  void Cancelled() override;
  TRange SavedSelection() const override { return values_.savedSelection; }

 private:
  void ValuesToControls();
  void ControlsToValues();

  TMatrixDialogValues values_;
  std::array<std::vector<TPEdit*>, kArrayPageCount> fields_;
};

// The program's one array dialog, made on first use (or early, by the
// start-up's preload) as a window owned by `mainWindow`, which it disables
// while it shows. Later calls give the same dialog.
TMatrixDlg& ArrayDialog(classlib::TWinControl& mainWindow);
// The Array menu's eight entries: the array dialog at `page` (TArrayPage).
void ShowArrayPage(classlib::TWinControl& mainWindow, int page);

}  // namespace corvane
