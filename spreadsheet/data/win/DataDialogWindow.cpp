// The data dialog's pages and controls, and its term grid.
#include "spreadsheet/data/win/DataDialogWindow.h"

#include <algorithm>

#include "classlib/win/Application.h"
#include "spreadsheet/data/DataCommon.h"
#include "spreadsheet/data/win/DataFormWindow.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

using namespace classlib;

// ---- TTermGrid ----

namespace {

constexpr int kTermRows = 10;
constexpr int kTermColumns = 4;
constexpr int kTermCellWidth = 24;
constexpr const char* kFormNames[9] = {"X^0", "X^1", "X^2", "X^3", "X^4", "X^5", "Sqrt(x)", "Ln(x)", "Exp(x)"};
constexpr const char* kColumnNames[kTermColumns] = {"", "x1", "x2", "x3"};

}  // namespace

TTermGrid::TTermGrid(TComponent* AOwner) : TOwnDrawnControl(AOwner) {
  ControlStyle &= ~csDoubleClicks;  // quick clicks toggle twice, as two clicks do
  SetTabStop(true);
  FocusRepaints = true;
  SetBounds(0, 0, 130, 131);
}

void TTermGrid::SetTerms(const TTerms& terms) {
  terms_ = terms;
  Invalidate();
}

TRect TTermGrid::CellRect(int row, int col) const {
  const int width = Width(), rowHeight = (Height() - 1) / kTermRows;
  const int firstWidth = width - 3 * (kTermCellWidth + 1);
  const int left = col == 0 ? 1 : firstWidth + 1 + (col - 1) * (kTermCellWidth + 1);
  const int right = col == 0 ? firstWidth : left + kTermCellWidth;
  return {left, 1 + row * rowHeight, right, (row + 1) * rowHeight};
}

void TTermGrid::Paint(TCanvas& Canvas) {
  Canvas.Brush = TBrush{clBtnShadow};
  Canvas.FillRect(ClientRect());
  Canvas.Font = Font();
  for (int row = 0; row < kTermRows; ++row) {
    for (int col = 0; col < kTermColumns; ++col) {
      const TRect cell = CellRect(row, col);
      const bool heading = row == 0 || col == 0;
      Canvas.Brush = TBrush{heading ? clBtnFace : clWindow};
      Canvas.FillRect(cell);
      const char* text = row == 0 ? kColumnNames[col] : col == 0 ? kFormNames[row - 1] : "";
      if (*text != 0) {
        const TSize size = Canvas.TextExtent(text);
        const int x = col == 0 ? cell.Left + 3 : cell.Left + (cell.Width() - size.cx) / 2;
        Canvas.TextRect(cell, x, cell.Top + (cell.Height() - size.cy) / 2, text);
      }
      if (heading || !terms_[row - 1][col - 1]) continue;
      // A set term: a black cross on the white square.
      const int side = std::min(cell.Width(), cell.Height()) - 4;
      const int x = cell.Left + (cell.Width() - side) / 2, y = cell.Top + (cell.Height() - side) / 2;
      Canvas.Pen = TPen{clBlack};
      Canvas.MoveTo(x, y);
      Canvas.LineTo(x + side, y + side);
      Canvas.MoveTo(x + side - 1, y);
      Canvas.LineTo(x - 1, y + side);
    }
  }
  if (Focused()) Canvas.DrawFocusRect(CellRect(row_, col_));
}

void TTermGrid::Toggle(int row, int col) {
  row_ = row;
  col_ = col;
  bool& term = terms_[row - 1][col - 1];
  term = !term;
  Invalidate();
}

void TTermGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TOwnDrawnControl::MouseDown(Button, Shift, X, Y);
  if (Button != TMouseButton::mbLeft) return;
  for (int row = 1; row < kTermRows; ++row)
    for (int col = 1; col < kTermColumns; ++col)
      if (CellRect(row, col).Contains({X, Y})) Toggle(row, col);
}

void TTermGrid::KeyDown(int& Key, TShiftState Shift) {
  TOwnDrawnControl::KeyDown(Key, Shift);
  switch (Key) {
    case VK_UP: row_ = std::max(row_ - 1, 1); break;
    case VK_DOWN: row_ = std::min(row_ + 1, kTermRows - 1); break;
    case VK_LEFT: col_ = std::max(col_ - 1, 1); break;
    case VK_RIGHT: col_ = std::min(col_ + 1, kTermColumns - 1); break;
    case VK_SPACE: Toggle(row_, col_); break;
    default: return;
  }
  Invalidate();
  Key = 0;
}

LRESULT TTermGrid::DialogCode(TMessage&) { return DLGC_WANTARROWS; }

// ---- TSortDlg ----

// One field of a page: its caption, the name its range prompt gives it (none
// for value fields and for fields that have no prompt), the text of the
// values it shows, and its place (width 0: to the page's right edge, below
// 0: that much short of it).
struct TSortDlg::TFieldRow {
  int page;
  const char* caption;
  const char* promptName;
  std::string& (*text)(TDataDialogValues&);
  bool valueField;
  bool promptOnClick;
  int left, top, width, margin;
};

#define FIELD(member) [](TDataDialogValues& v) -> std::string& { return v.member; }

static const TSortDlg::TFieldRow kFieldRows[] = {
    {kPageFill, "O&utput Cells: ", nullptr, FIELD(fillOutput), false, false, 4, 8, 0, 84},
    {kPageFill, "&Start: ", nullptr, FIELD(fillStart), true, false, 4, 34, 112, 40},
    {kPageFill, "S&tep: ", nullptr, FIELD(fillStep), true, false, 120, 34, 0, 40},
    {kPageSort, "&Data:  ", "Data", FIELD(sortData), false, false, 4, 8, 0, 40},
    {kPageSort, "&1:  ", "Prime", FIELD(sortKeys[0]), false, false, 4, 34, -90, 40},
    {kPageSort, "&2:  ", "Second", FIELD(sortKeys[1]), false, false, 4, 60, -90, 40},
    {kPageSort, "&3:  ", nullptr, FIELD(sortKeys[2]), false, false, 4, 86, -90, 40},
    {kPageSort, "&4:  ", nullptr, FIELD(sortKeys[3]), false, false, 4, 112, -90, 40},
    {kPageQuestion, "&Input:  ", "Input", FIELD(queryInput), false, false, 4, 8, 0, 64},
    {kPageQuestion, "Cri&teria: ", "Criterion", FIELD(queryCriteria), false, false, 4, 34, 0, 64},
    {kPageQuestion, "O&utput: ", "Output", FIELD(queryOutput), false, false, 4, 60, 0, 64},
    {kPageBin, "&Input Data: ", "Input", FIELD(binInput), false, false, 4, 8, 0, 84},
    {kPageBin, "O&utput Table: ", "Output", FIELD(binOutput), false, false, 4, 34, 0, 84},
    {kPageParse, "&Input Range: ", "Input", FIELD(parseInput), false, false, 4, 8, 0, 84},
    {kPageGoal, "&Input Cell:  ", "Input", FIELD(goalInput), false, false, 4, 8, 0, 76},
    {kPageGoal, "O&utput Cell: ", "Output", FIELD(goalOutput), false, false, 4, 34, 0, 76},
    {kPageGoal, "&Desire:  ", nullptr, FIELD(goalDesire), true, false, 4, 60, 0, 76},
    {kPageGoal, "&Tolerance:  ", nullptr, FIELD(goalTolerance), true, false, 4, 86, 0, 76},
    {kPageRegress, "&Independant:  ", "Independent", FIELD(regressX), false, false, 4, 8, 0, 84},
    {kPageRegress, "&Dependant:  ", "Dependent", FIELD(regressY), false, false, 4, 34, 0, 84},
    {kPageRegress, "O&utput:  ", "Output", FIELD(regressOutput), false, false, 4, 60, 0, 84},
    {kPageMultiRegress, "&X data: ", "Independent", FIELD(fitX), false, true, 4, 8, 170, 56},
    {kPageMultiRegress, "&Y data: ", "Dependent", FIELD(fitY), false, false, 4, 34, 170, 56},
    {kPageMultiRegress, "O&utput: ", "Output", FIELD(fitOutput), false, false, 4, 60, 170, 56},
    {kPageTable, "&1) Input:  ", "First", FIELD(tableInput1), false, false, 4, 8, 0, 84},
    {kPageTable, "&2) Input:  ", "Second", FIELD(tableInput2), false, false, 4, 34, 0, 84},
    {kPageTable, "Table O&utput: ", "Output", FIELD(tableOutput), false, false, 4, 60, 0, 84},
    {kPageForm, "&Form: ", "Form", FIELD(formRange), false, false, 4, 8, 0, 48},
};

#undef FIELD

namespace {

TSortDlg* gDataDialog = nullptr;

// A group box of radio buttons, one below the other.
template <size_t N>
std::array<TRadioButton*, N> AddRadioGroup(TWinControl& page, TRect bounds, const char* caption,
                                           const std::array<const char*, N>& captions) {
  auto* group = new TGroupBox(&page);
  group->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
  group->SetCaption(caption);
  group->SetParent(&page);
  std::array<TRadioButton*, N> radios = {};
  for (size_t i = 0; i < N; ++i) {
    radios[i] = new TRadioButton(group);
    radios[i]->SetBounds(8, 16 + 19 * static_cast<int>(i), bounds.Width() - 16, 17);
    radios[i]->SetCaption(captions[i]);
    radios[i]->SetParent(group);
  }
  return radios;
}

}  // namespace

TSortDlg::TSortDlg(TWinControl& mainWindow) : TRangeDialog(mainWindow, DataDialogCaption(kPageFill)) {
  reset_ = &AddButton("&Reset");
  reset_->OnClick = [this](TObject*) {
    ControlsToValues();
    ResetDataPage(values_);
    ValuesToControls();
  };
  OnDeactivate = [](TObject*) { DataDialogDeactivated(); };
  BuildPages();
  ValuesToControls();
  int width = 0, height = 0;
  DataPageSize(kPageFill, termGrid_->ScreenPixelsPerInch(), width, height);
  SetBounds(Left(), Top(), width, height);
  gDataDialog = this;
}

TSortDlg::~TSortDlg() {
  if (gDataDialog == this) gDataDialog = nullptr;
}

void TSortDlg::BuildPages() {
  for (int page = 0; page < kDataPageCount; ++page) {
    TPage& sheet = notebook_->AddPage(DataPageInfo(page).word);
    const int clientWidth = ClientWidthFor(DataPageInfo(page).width);
    for (const TFieldRow& row : kFieldRows) {
      if (row.page != page) continue;
      const int width = row.width > 0 ? row.width : clientWidth - 4 - row.left + row.width;
      TPEdit& edit = AddField(sheet, row.top, width, row.margin, row.caption);
      edit.SetLeft(row.left);
      fields_[page].push_back({&edit, &row});
      if (row.valueField) {
        edit.OnExit = [&edit](TObject*) {
          std::string text = edit.Text();
          SettleValueField(text);
          if (text != edit.Text()) edit.SetText(text);
        };
      }
      if (row.promptName == nullptr) continue;
      auto prompt = [this, &edit, page, name = row.promptName](TObject*) {
        PromptFor(edit, DataPromptCaption(page, name));
      };
      edit.Edit().OnDblClick = prompt;
      if (row.promptOnClick) edit.OnClick = prompt;
    }
    switch (page) {
      case kPageFill: {
        const int half = (clientWidth - 12) / 2;
        fillTypes_ = AddRadioGroup<3>(sheet, {4, 60, 4 + half, 138}, "Type", {"&Linear", "&Multiply", "&Power"});
        auto order = AddRadioGroup<2>(sheet, {8 + half, 60, clientWidth - 4, 138}, "Order", {"&Row", "Colum&n"});
        byRow_ = order[0];
        byColumn_ = order[1];
        break;
      }
      case kPageSort:
        for (int key = 0; key < 4; ++key) {
          ascending_[key] = new TCheckBox(&sheet);
          ascending_[key]->SetBounds(clientWidth - 88, 37 + 26 * key, 84, 17);
          ascending_[key]->SetCaption("Ascending");
          ascending_[key]->SetParent(&sheet);
        }
        break;
      case kPageBin: {
        auto interval = AddRadioGroup<2>(sheet, {4, 60, clientWidth - 4, 114}, "Interval", {"a<= x <b", "a< x <= b"});
        lowerIncluded_ = interval[0];
        upperIncluded_ = interval[1];
        break;
      }
      case kPageMultiRegress: {
        auto* label = new TLabel(&sheet);
        label->SetBounds(180, 5, clientWidth - 184, 14);
        label->SetCaption("Coefficients:");
        label->SetParent(&sheet);
        termGrid_ = new TTermGrid(&sheet);
        termGrid_->SetBounds(180, 20, clientWidth - 184, 131);
        termGrid_->SetParent(&sheet);
        break;
      }
      default:
        break;
    }
  }
}

void TSortDlg::ValuesToControls() {
  for (auto& page : fields_)
    for (TField& field : page) field.edit->SetText(field.row->text(values_));
  for (int type = 1; type <= 3; ++type) fillTypes_[type - 1]->SetChecked(values_.fillType == type);
  byRow_->SetChecked(values_.fillByRow);
  byColumn_->SetChecked(!values_.fillByRow);
  for (int key = 0; key < 4; ++key) ascending_[key]->SetChecked(values_.sortAscending[key]);
  lowerIncluded_->SetChecked(!values_.binUpperIncluded);
  upperIncluded_->SetChecked(values_.binUpperIncluded);
  termGrid_->SetTerms(values_.terms);
}

void TSortDlg::ControlsToValues() {
  for (auto& page : fields_)
    for (TField& field : page) field.row->text(values_) = field.edit->Text();
  for (int type = 1; type <= 3; ++type)
    if (fillTypes_[type - 1]->Checked()) values_.fillType = type;
  values_.fillByRow = byRow_->Checked();
  for (int key = 0; key < 4; ++key) values_.sortAscending[key] = ascending_[key]->Checked();
  values_.binUpperIncluded = upperIncluded_->Checked();
  values_.terms = termGrid_->Terms();
}

void TSortDlg::ShowDataPage(int page) {
  if (page < 0 || page >= kDataPageCount) return;
  values_.page = page;
  SetCaption(DataDialogCaption(page));
  reset_->SetVisible(page == kPageSort || page == kPageQuestion);
  int width = 0, height = 0;
  DataPageSize(page, termGrid_->ScreenPixelsPerInch(), width, height);
  ShowPage(page, width, height);
}

void TSortDlg::FirstActivation() {
  ControlsToValues();
  TRange selection;
  WindowServices().GetGridSelection(selection);
  PresetDataPage(values_, selection);
  ValuesToControls();
  if (!fields_[values_.page].empty()) fields_[values_.page].front().edit->Edit().SetFocus();
}

void TSortDlg::OkClick() {
  ControlsToValues();
  HideDialog();
  Application().ProcessMessages();
  const TDataApply result = ApplyDataPage(values_);
  ValuesToControls();
  if (result == TDataApply::kRefused) {
    // The message has been shown; the dialog comes back to have the field put right.
    Show();
    return;
  }
  if (result == TDataApply::kOpenForm) ShowDataForm(values_.formTarget);
}

void TSortDlg::Cancelled() {
  ControlsToValues();
  RestoreSavedSelection(values_.savedSelection);
}

TSortDlg& DataDialog(TWinControl& mainWindow) {
  if (gDataDialog == nullptr) new TSortDlg(mainWindow);
  return *gDataDialog;
}

void ShowDataPage(TWinControl& mainWindow, int page) { DataDialog(mainWindow).ShowDataPage(page); }

}  // namespace corvane
