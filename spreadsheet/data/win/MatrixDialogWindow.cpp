// The array dialog's pages.
#include "spreadsheet/data/win/MatrixDialogWindow.h"

#include <span>

#include "classlib/win/Application.h"
#include "spreadsheet/data/DataCommon.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

using namespace classlib;

namespace {

constexpr int kDialogWidth = 240;
constexpr int kFieldMargin = 64;

// A field of a page: its caption, the role word its range prompt names, and
// the text of the values it shows.
struct TArrayFieldRow {
  const char* caption;
  const char* role;
  std::string TArrayFields::*text;
};

constexpr TArrayFieldRow kTwoOperands[] = {{"&First: ", "First", &TArrayFields::first},
                                          {"&Second: ", "Second", &TArrayFields::second},
                                          {"O&utput: ", "Output", &TArrayFields::output}};
constexpr TArrayFieldRow kOneOperand[] = {{"&Input: ", "Input", &TArrayFields::first},
                                         {"O&utput: ", "Output", &TArrayFields::output}};

std::span<const TArrayFieldRow> PageRows(int page) {
  if (ArrayPageHasSecond(page)) return kTwoOperands;
  return kOneOperand;
}

TMatrixDlg* gArrayDialog = nullptr;

}  // namespace

TMatrixDlg::TMatrixDlg(TWinControl& mainWindow) : TRangeDialog(mainWindow, "Array") {
  const int width = ClientWidthFor(kDialogWidth) - 8;
  for (int page = 0; page < kArrayPageCount; ++page) {
    TPage& sheet = notebook_->AddPage(ArrayPageWord(page));
    int top = 8;
    for (const TArrayFieldRow& row : PageRows(page)) {
      TPEdit& edit = AddField(sheet, top, width, kFieldMargin, row.caption);
      edit.Edit().OnDblClick = [this, &edit, page, role = row.role](TObject*) {
        PromptFor(edit, ArrayPromptCaption(page, role));
      };
      fields_[page].push_back(&edit);
      top += 26;
    }
  }
  SetBounds(Left(), Top(), kDialogWidth, ArrayPageHeight(kArrayAdd));
  gArrayDialog = this;
}

TMatrixDlg::~TMatrixDlg() {
  if (gArrayDialog == this) gArrayDialog = nullptr;
}

void TMatrixDlg::ValuesToControls() {
  for (int page = 0; page < kArrayPageCount; ++page) {
    std::span<const TArrayFieldRow> rows = PageRows(page);
    for (size_t i = 0; i < rows.size(); ++i) fields_[page][i]->SetText(values_.fields[page].*rows[i].text);
  }
}

void TMatrixDlg::ControlsToValues() {
  for (int page = 0; page < kArrayPageCount; ++page) {
    std::span<const TArrayFieldRow> rows = PageRows(page);
    for (size_t i = 0; i < rows.size(); ++i) values_.fields[page].*rows[i].text = fields_[page][i]->Text();
  }
}

void TMatrixDlg::ShowArrayPage(int page) {
  if (page < 0 || page >= kArrayPageCount) return;
  values_.page = page;
  ShowPage(page, kDialogWidth, ArrayPageHeight(page));
}

void TMatrixDlg::FirstActivation() {
  SetCaption(ArrayDialogCaption(values_.page));
  ControlsToValues();
  TRange selection;
  WindowServices().GetGridSelection(selection);
  PresetArrayPage(values_, selection);
  ValuesToControls();
  fields_[values_.page].front()->Edit().SetFocus();
}

void TMatrixDlg::OkClick() {
  ControlsToValues();
  HideDialog();
  Application().ProcessMessages();
  // A refused field or operation has shown its message; the dialog comes
  // back to have it put right.
  if (!ApplyArrayPage(values_)) Show();
}

void TMatrixDlg::Cancelled() {
  ControlsToValues();
  if (RangeIsValid(values_.savedSelection)) WindowServices().SetGridSelection(values_.savedSelection);
}

TMatrixDlg& ArrayDialog(TWinControl& mainWindow) {
  if (gArrayDialog == nullptr) new TMatrixDlg(mainWindow);
  return *gArrayDialog;
}

void ShowArrayPage(TWinControl& mainWindow, int page) { ArrayDialog(mainWindow).ShowArrayPage(page); }

}  // namespace corvane
