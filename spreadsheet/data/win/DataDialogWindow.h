// TSortDlg, the data dialog (caption "Data"): a notebook of ten pages, one
// per data command, over TDataDialogValues. The form copies its controls to
// and from the values and leaves presets, validation and the commands to
// them. Also the term grid of its MULTIREGRESS page.
#pragma once

#include <array>
#include <vector>

#include "spreadsheet/controls/win/OwnDrawnControl.h"
#include "spreadsheet/data/DataDialog.h"
#include "spreadsheet/data/win/RangeDialog.h"

namespace corvane {

// The model's terms: rows 1 to 9 of the grid are the nine term forms, columns
// 1 to 3 the first three X columns; a click on one of those cells toggles it,
// and a set cell shows a white square with a black cross. Row 0 heads the
// columns, column 0 names the forms. From the keyboard the grid is a Tab
// stop: the arrows move its current cell (framed while it has the focus),
// Space toggles it.
class TTermGrid : public TOwnDrawnControl {
 public:
  using TTerms = std::array<std::array<bool, 3>, 9>;
  explicit TTermGrid(classlib::TComponent* AOwner);
  const TTerms& Terms() const { return terms_; }
  void SetTerms(const TTerms& terms);
  // The cell at grid row `row` and column `col`, in client coordinates: the
  // first column takes the width less 75 pixels, the other three 24 each.
  classlib::TRect CellRect(int row, int col) const;

 protected:
  void Paint(classlib::TCanvas& Canvas) override;
  void MouseDown(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) override;
  void KeyDown(int& Key, classlib::TShiftState Shift) override;
  LRESULT DialogCode(classlib::TMessage& Message) override;

 private:
  void Toggle(int row, int col);

  TTerms terms_ = {};
  int row_ = 1, col_ = 1;  // the current cell
};

class TSortDlg : public TRangeDialog {
 public:
  // Made once and kept: the fields keep their texts between uses.
  explicit TSortDlg(classlib::TWinControl& mainWindow);
  ~TSortDlg() override;

  // Selects the page, sizes the dialog to it for the screen's pixels per
  // inch and shows it (not modally); its first activation presets the page
  // from the grid's selection.
  void ShowDataPage(int page);

  const TDataDialogValues& Values() const { return values_; }
  // The page's fields in the order they are shown.
  TPEdit& Field(int page, int index) const { return *fields_[page].at(static_cast<size_t>(index)).edit; }
  classlib::TButton& ResetButton() { return *reset_; }
  classlib::TCheckBox& Ascending(int key) { return *ascending_.at(static_cast<size_t>(key)); }
  classlib::TRadioButton& FillType(int type) { return *fillTypes_.at(static_cast<size_t>(type - 1)); }
  TTermGrid& TermGrid() { return *termGrid_; }

  // The layout and meaning of one field (kept with the pages).
  struct TFieldRow;

 protected:
  void FirstActivation() override;
  void OkClick() override;
  void Cancelled() override;
  TRange SavedSelection() const override { return values_.savedSelection; }

 private:
  struct TField {
    TPEdit* edit;
    const TFieldRow* row;
  };
  void BuildPages();
  void ValuesToControls();
  void ControlsToValues();

  TDataDialogValues values_;
  std::array<std::vector<TField>, kDataPageCount> fields_;
  std::array<classlib::TRadioButton*, 3> fillTypes_ = {};
  classlib::TRadioButton* byRow_ = nullptr;
  classlib::TRadioButton* byColumn_ = nullptr;
  std::array<classlib::TCheckBox*, 4> ascending_ = {};
  classlib::TRadioButton* lowerIncluded_ = nullptr;
  classlib::TRadioButton* upperIncluded_ = nullptr;
  TTermGrid* termGrid_ = nullptr;
  classlib::TButton* reset_ = nullptr;
};

// The program's one data dialog, made on first use (the start-up's preload
// may make it early) as a window owned by `mainWindow`, which it disables
// while it shows. Later calls give the same dialog.
TSortDlg& DataDialog(classlib::TWinControl& mainWindow);
// The Data menu's ten entries: the data dialog at `page` (TDataPage).
void ShowDataPage(classlib::TWinControl& mainWindow, int page);

}  // namespace corvane
