// The merge dialog's form.
#include "spreadsheet/files/win/MergeForm.h"

#include "classlib/win/Application.h"
#include "spreadsheet/engine/WindowServices.h"
#include "spreadsheet/files/TransferDialog.h"
#include "spreadsheet/files/win/PlaceControl.h"

namespace corvane {

using namespace classlib;

namespace {

constexpr int kDialogWidth = 330;
constexpr int kDialogHeight = 232;

TMergeDlg* gMergeDialog = nullptr;

}  // namespace

TMergeDlg::TMergeDlg(TWinControl& mainWindow) : TRangeDialog(mainWindow, "Merge") {
  TPage& page = notebook_->AddPage("Merge");
  const int width = ClientWidthFor(kDialogWidth) - 8;
  fileLabel_ = PlaceControl<TLabel>(page, 8, 8, width - 8, 16);
  target_ = &AddField(page, 30, width, 96, "&Insert at Cell: ");
  target_->Edit().OnDblClick = [this](TObject*) { PromptFor(*target_, kMergeInsertCellCaption); };

  auto* source = PlaceControl<TGroupBox>(page, 8, 62, 170, 92, "Merge Source:");
  all_ = PlaceControl<TRadioButton>(*source, 10, 18, 100, 18, "&All");
  range_ = PlaceControl<TRadioButton>(*source, 10, 40, 100, 18, "Ra&nge:");
  names_ = PlaceControl<TComboBox>(*source, 10, 62, 150, 120);
  // Choosing, typing in or clicking into the list takes the range; passing
  // through it with Tab leaves the source as it was (Shift+Tab then comes
  // back to the source the user chose).
  auto takeRange = [this](TObject*) {
    all_->SetChecked(false);
    range_->SetChecked(true);
  };
  names_->OnChange = takeRange;
  names_->OnClick = takeRange;
  names_->OnEnter = [takeRange](TObject* sender) {
    if (GetKeyState(VK_LBUTTON) < 0) takeRange(sender);
  };

  auto* action = PlaceControl<TGroupBox>(page, 186, 62, width - 186, 92, "Action:");
  const char* captions[] = {"&Replace", "&Sum", "&Difference"};
  for (int k = 0; k < 3; ++k) {
    actions_[static_cast<std::size_t>(k)] = PlaceControl<TRadioButton>(*action, 10, 18 + 22 * k, 110, 18, captions[k]);
    actions_[static_cast<std::size_t>(k)]->OnClick = [this, k](TObject*) { values_.action = k + 1; };
  }
  SetBounds(Left(), Top(), kDialogWidth, kDialogHeight);
  gMergeDialog = this;
}

TMergeDlg::~TMergeDlg() {
  if (gMergeDialog == this) gMergeDialog = nullptr;
}

void TMergeDlg::Setup(std::string_view fileName, int kind) {
  values_.Setup(fileName, kind);
  SetCaption(values_.Caption());
  fileLabel_->SetCaption(TransferFileLabel(values_.fileName));
  for (TRadioButton* button : actions_) button->SetEnabled(values_.ActionsEnabled());
  ShowPage(0, kDialogWidth, kDialogHeight);
}

void TMergeDlg::FirstActivation() {
  std::int16_t row = 0, col = 0;
  TWindowServices& windows = WindowServices();
  windows.GetCursorCell(row, col);
  windows.GetGridSelection(saved_);
  values_.Activate(row, col);
  ValuesToControls();
  target_->Edit().SetFocus();
}

void TMergeDlg::ValuesToControls() {
  target_->SetText(values_.targetText);
  all_->SetChecked(values_.wholeFile);
  range_->SetChecked(!values_.wholeFile);
  names_->SetItems(values_.rangeNames);
  names_->SetItemIndex(values_.rangeNames.empty() ? -1 : 0);
  for (int k = 0; k < 3; ++k) actions_[static_cast<std::size_t>(k)]->SetChecked(values_.action == k + 1);
}

void TMergeDlg::ControlsToValues() {
  values_.targetText = target_->Text();
  values_.wholeFile = all_->Checked();
  values_.rangeChoice = names_->Text();
}

void TMergeDlg::OkClick() {
  ControlsToValues();
  // A target that is no cell has shown why; the dialog stays to have it put
  // right.
  if (!values_.Validate()) return;
  HideDialog();
  Application().ProcessMessages();
  bool merged;
  {
    // A merge that fails shows its own message and changes nothing.
    TWaitCursor wait;
    merged = values_.Apply();
  }
  if (!merged) return;
  TWindowServices& windows = WindowServices();
  windows.MarkSheetModified(windows.ActiveSheet());
  windows.RepaintSheet(windows.ActiveSheet());
}

TMergeDlg& MergeDialog(TWinControl& mainWindow) {
  if (gMergeDialog == nullptr) new TMergeDlg(mainWindow);
  return *gMergeDialog;
}

}  // namespace corvane
