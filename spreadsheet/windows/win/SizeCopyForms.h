// TWideform ("Set  Width or Height") and Tcopydlg ("Copy"): range dialogs
// over the main window whose values and "&Ok" are TWidthHeightDialog's and
// TSpecialCopyDialog's.
#pragma once

#include <array>
#include <functional>

#include "spreadsheet/controls/win/TabBarWindow.h"
#include "spreadsheet/data/win/RangeDialog.h"
#include "spreadsheet/windows/SheetView.h"
#include "spreadsheet/windows/SizeCopyDialogs.h"

namespace corvane {

class TWideform : public TRangeDialog {
 public:
  // `activeView` gives the active sheet window's view (null when none), whose
  // panes take a "&Global:" size.
  TWideform(classlib::TWinControl& mainWindow, std::function<TSheetView*()> activeView);
  // Opens at page 0 (column widths) or 1 (row heights).
  void Open(int page);

  tabbar* tabbar1 = nullptr;
  TPEdit* PEdit1 = nullptr;  // "R&ange: "
  TPEdit* PEdit4 = nullptr;  // "&Width: "
  TPEdit* PEdit5 = nullptr;  // "&Skip Columns: "
  classlib::TCheckBox* cb1 = nullptr;
  classlib::TCheckBox* cbcolreset = nullptr;
  TPEdit* PEdit2 = nullptr;  // "&Height: "
  TPEdit* PEdit3 = nullptr;  // "&Skip Rows: "
  classlib::TCheckBox* cb2 = nullptr;
  classlib::TCheckBox* cbrowht = nullptr;

 protected:
  void FirstActivation() override;
  void OkClick() override;
  void Cancelled() override {}
  TRange SavedSelection() const override { return values_.selection; }

 private:
  void ToControls();
  void FromControls();
  // A number field of `page` whose use sets `bit` of the changed mask.
  TPEdit* NumberField(classlib::TWinControl& page, int top, const char* caption, unsigned bit);
  classlib::TCheckBox* Box(classlib::TWinControl& page, int left, const char* caption, unsigned bit);

  TWidthHeightDialog values_;
  std::function<TSheetView*()> activeView_;
  bool loading_ = false;
};

class Tcopydlg : public TRangeDialog {
 public:
  explicit Tcopydlg(classlib::TWinControl& mainWindow);
  // Shown by the menu: the selection goes into "&From: ".
  void Open();

  TPEdit* PEdit1 = nullptr;  // "&From: "
  TPEdit* PEdit2 = nullptr;  // "&To: "
  // "&Value", "T&ranspose", "&Invert", "For&mula", "&Scale".
  std::array<classlib::TRadioButton*, 5> Types{};
  classlib::TEdit* Factor = nullptr;

 protected:
  void FirstActivation() override;
  void OkClick() override;
  void Cancelled() override {}
  TRange SavedSelection() const override { return values_.selection; }

 private:
  void ToControls();
  void FromControls();

  TSpecialCopyDialog values_;
  bool loading_ = false;
};

}  // namespace corvane
