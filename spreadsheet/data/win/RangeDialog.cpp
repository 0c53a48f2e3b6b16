// The data and array dialogs' common frame.
#include "spreadsheet/data/win/RangeDialog.h"

#include <algorithm>

#include "classlib/win/Application.h"
#include "spreadsheet/data/DataCommon.h"
#include "spreadsheet/engine/RangePrompt.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

using namespace classlib;

namespace {

constexpr int kButtonRowHeight = 33;
constexpr int kButtonWidth = 60;
constexpr int kButtonGap = 6;
// Range texts are short strings, as cell texts are.
constexpr int kFieldChars = 255;

}  // namespace

TRangeDialog::TRangeDialog(TWinControl& mainWindow, const std::string& caption)
    : TForm(&mainWindow, caption), mainWindow_(mainWindow) {
  BorderStyle = TFormBorderStyle::bsDialog;
  Position = TPosition::poScreenCenter;
  buttonRow_ = new TPanel(this);
  buttonRow_->SetBevelOuter(TBevelCut::bvNone);
  buttonRow_->SetHeight(kButtonRowHeight);
  buttonRow_->SetAlign(alBottom);
  buttonRow_->SetParent(this);
  notebook_ = new TNotebook(this);
  notebook_->SetAlign(alClient);
  notebook_->SetParent(this);
  // The buttons under the page come after its fields in Tab order.
  buttonRow_->SetTabOrder(ControlCount());
  ok_ = &AddButton("&Ok");
  ok_->SetDefault(true);
  ok_->OnClick = [this](TObject*) { OkClick(); };
  cancel_ = &AddButton("&Cancel");
  cancel_->Cancel = true;
  cancel_->OnClick = [this](TObject*) { Close(); };
  OnShow = [this](TObject*) { mainWindow_.SetEnabled(false); };
  OnActivate = [this](TObject*) {
    if (!firstActivation_) return;
    firstActivation_ = false;
    FirstActivation();
  };
  OnClose = [this](TObject*, TCloseAction& action) {
    Cancelled();
    mainWindow_.SetEnabled(true);
    action = caHide;
  };
}

TRangeDialog::~TRangeDialog() {
  // A prompt of ours that is still running must not call back into a
  // dialog that is gone.
  if (prompting_) {
    RangePromptSetCallBackOnCancel(false);
    RangePromptEnd(false);
  }
}

TButton& TRangeDialog::AddButton(const std::string& caption) {
  int left = 8;
  for (int i = 0; i < buttonRow_->ControlCount(); ++i)
    if (buttonRow_->Controls(i)->Visible()) left = std::max(left, buttonRow_->Controls(i)->BoundsRect().Right + kButtonGap);
  auto* button = new TButton(this);
  button->SetCaption(caption);
  button->SetBounds(left, 4, kButtonWidth, 25);
  button->SetParent(buttonRow_);
  return *button;
}

int TRangeDialog::ClientWidthFor(int width) {
  RECT frame = {0, 0, 0, 0};
  AdjustWindowRectEx(&frame, WS_POPUP | WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_DLGMODALFRAME);
  return width - (frame.right - frame.left);
}

void TRangeDialog::ShowPage(int page, int width, int height) {
  notebook_->SetPageIndex(page);
  SetBounds(Left(), Top(), width, height);
  firstActivation_ = true;
  Show();
}

void TRangeDialog::HideDialog() {
  // The main window is enabled before the dialog goes, so that it is the
  // window the system activates next.
  mainWindow_.SetEnabled(true);
  Hide();
}

TPEdit& TRangeDialog::AddField(TWinControl& page, int top, int width, int margin, const std::string& caption) {
  auto* field = new TPEdit(&page);
  field->SetBounds(4, top, width, 23);
  field->SetMargin(margin);
  field->SetCaption(caption);
  field->SetMaxlength(kFieldChars);
  field->SetParent(&page);
  return *field;
}

void TRangeDialog::PromptFor(TPEdit& field, const std::string& caption) {
  const std::string text = field.Text();
  const TRange saved = SavedSelection();
  HideDialog();
  TPEdit* target = &field;
  prompting_ = StartFieldPrompt(caption, text, saved, [this, target, saved](std::string_view chosen) {
    prompting_ = false;
    target->SetText(std::string(chosen));
    if (RangeIsValid(saved)) WindowServices().SetGridSelection(saved);
    Show();
    target->Edit().SetFocus();
  });
  if (!prompting_) Show();
}

}  // namespace corvane
