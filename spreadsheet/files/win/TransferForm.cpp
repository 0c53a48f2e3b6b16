// The transfer dialog's form.
#include "spreadsheet/files/win/TransferForm.h"

#include "classlib/win/Application.h"
#include "spreadsheet/engine/WindowServices.h"
#include "spreadsheet/files/win/PlaceControl.h"

namespace corvane {

using namespace classlib;

namespace {

constexpr int kDialogWidth = 300;
constexpr int kFieldMargin = 56;
constexpr const char* kPageNames[] = {"I", "E", "D"};
constexpr const char* kFieldCaptions[] = {"&Target: ", "&Source: ", "&Target: "};

TTransdlg* gTransferDialog = nullptr;

}  // namespace

TTransdlg::TTransdlg(TWinControl& mainWindow) : TRangeDialog(mainWindow, "Transfer") {
  const int width = ClientWidthFor(kDialogWidth) - 8;
  for (std::size_t k = 0; k < 3; ++k) {
    TPage& page = notebook_->AddPage(kPageNames[k]);
    fileLabels_[k] = PlaceControl<TLabel>(page, 8, 8, width - 8, 16);
    TPEdit& field = AddField(page, 28, width, kFieldMargin, kFieldCaptions[k]);
    field.Edit().OnDblClick = [this, &field](TObject*) { PromptFor(field, values_.PromptCaption()); };
    fields_[k] = &field;
  }
  TPage& dbase = notebook_->Pages(kTransferDbasePage);
  PlaceControl<TLabel>(dbase, 12, 60, 50, 16, "Fields:");
  fieldCount_ = PlaceControl<TLabel>(dbase, 64, 60, 60, 16);
  PlaceControl<TLabel>(dbase, 140, 60, 60, 16, "Records:");
  recordCount_ = PlaceControl<TLabel>(dbase, 204, 60, 70, 16);
  auto* records = PlaceControl<TGroupBox>(dbase, 8, 82, width - 8, 68);
  all_ = PlaceControl<TRadioButton>(*records, 10, 14, 60, 18, "&All");
  all_->SetChecked(true);
  start_ = PlaceControl<TRadioButton>(*records, 10, 40, 60, 18, "Start:");
  start_->OnClick = [this](TObject*) { startEdit_->SetFocus(); };
  startEdit_ = PlaceControl<TEdit>(*records, 74, 38, 70, 22);
  PlaceControl<TLabel>(*records, 156, 42, 40, 16, "Stop:");
  stopEdit_ = PlaceControl<TEdit>(*records, 196, 38, 70, 22);
  SetBounds(Left(), Top(), kDialogWidth, 130);
  gTransferDialog = this;
}

TTransdlg::~TTransdlg() {
  if (gTransferDialog == this) gTransferDialog = nullptr;
}

void TTransdlg::Open(int page, std::string_view fileName, int type) {
  if (page < kTransferImportPage || page > kTransferDbasePage) return;
  values_.Open(page, fileName, type);
  fileLabels_[static_cast<std::size_t>(page)]->SetCaption(TransferFileLabel(values_.fileName));
  SetCaption(values_.caption);
  ShowPage(page, kDialogWidth, values_.height);
}

void TTransdlg::FirstActivation() {
  ControlsToValues();
  TRange selection;
  WindowServices().GetGridSelection(selection);
  values_.Activate(selection);
  const auto page = static_cast<std::size_t>(values_.page);
  fields_[page]->SetText(values_.rangeText[page]);
  if (values_.page == kTransferDbasePage) {
    fieldCount_->SetCaption(std::to_string(values_.fieldCount));
    recordCount_->SetCaption(std::to_string(values_.recordCount));
  }
  fields_[page]->Edit().SetFocus();
}

void TTransdlg::ControlsToValues() {
  for (std::size_t k = 0; k < 3; ++k) values_.rangeText[k] = fields_[k]->Text();
  values_.allRecords = all_->Checked();
  values_.startText = startEdit_->Text();
  values_.stopText = stopEdit_->Text();
}

void TTransdlg::OkClick() {
  ControlsToValues();
  // A field that does not read has shown why; the dialog stays to have it
  // put right.
  if (!values_.Validate()) return;
  HideDialog();
  Application().ProcessMessages();
  {
    // A transfer that fails shows its own message.
    TWaitCursor wait;
    values_.Apply();
  }
  TWindowServices& windows = WindowServices();
  if (values_.page != kTransferExportPage) windows.MarkSheetModified(windows.ActiveSheet());
  windows.RepaintSheet(windows.ActiveSheet());
}

TTransdlg& TransferDialog(TWinControl& mainWindow) {
  if (gTransferDialog == nullptr) new TTransdlg(mainWindow);
  return *gTransferDialog;
}

}  // namespace corvane
