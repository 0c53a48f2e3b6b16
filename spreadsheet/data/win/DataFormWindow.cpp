// The data form's window.
#include "spreadsheet/data/win/DataFormWindow.h"

#include <algorithm>

#include "classlib/win/Application.h"
#include "spreadsheet/engine/EngineHelpers.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

using namespace classlib;

namespace {

constexpr int kPanelWidth = 136;
constexpr int kButtonTop = 28;
constexpr int kButtonStep = 27;
constexpr int kFieldMargin = 72;
constexpr int kFieldStep = 24;
constexpr int kPixelsPerChar = 8;

// A caption shows "&" as an accelerator mark; a field name's own "&" is doubled.
std::string PlainCaption(const std::string& text) {
  std::string caption;
  for (char c : text) {
    if (c == '&') caption += '&';
    caption += c;
  }
  return caption;
}

}  // namespace

TFdlg::TFdlg(TComponent* AOwner) : TForm(AOwner, "Data Form") {
  BorderStyle = TFormBorderStyle::bsDialog;
  Position = TPosition::poScreenCenter;
  buttonPanel_ = new TPanel(this);
  buttonPanel_->SetBevelOuter(TBevelCut::bvNone);
  buttonPanel_->SetWidth(kPanelWidth);
  buttonPanel_->SetAlign(alRight);
  buttonPanel_->SetParent(this);
  recordLine_ = new TLabel(this);
  recordLine_->SetBounds(8, 8, kPanelWidth - 16, 14);
  recordLine_->SetParent(buttonPanel_);
  // Each button acts on the model and shows the record it leaves.
  next_ = MakeButton("&Next", 0, [this] { model_.Next(clone_->Checked()); });
  prev_ = MakeButton("&Prev", 1, [this] { model_.Prev(); });
  top_ = MakeButton("&Top", 2, [this] { model_.Top(); });
  bot_ = MakeButton("&Bot", 3, [this] { model_.Bottom(); });
  add_ = MakeButton("&Add", 4, [this] { model_.Add(); });
  update_ = MakeButton("&Update", 5, [this] { model_.Update(); });
  cancel_ = MakeButton("&Cancel", 6, nullptr);
  cancel_->Cancel = true;
  cancel_->ModalResult = mrCancel;
  clone_ = new TCheckBox(this);
  clone_->SetBounds(8, kButtonTop + 7 * kButtonStep, kPanelWidth - 12, 17);
  clone_->SetCaption("Clone Last Record");
  clone_->SetParent(buttonPanel_);
}

TButton* TFdlg::MakeButton(const char* caption, int index, std::function<void()> action) {
  auto* button = new TButton(this);
  button->SetBounds(8, kButtonTop + index * kButtonStep, kPanelWidth - 16, 25);
  button->SetCaption(caption);
  button->SetParent(buttonPanel_);
  if (action)
    button->OnClick = [this, action = std::move(action)](TObject*) {
      action();
      ShowRecord();
      FocusField();
    };
  return button;
}

void TFdlg::Setup(const TRange& range) {
  model_.Open(range);
  int shown = 0, widest = 0;
  for (size_t i = 0; i < model_.Fields().size(); ++i) {
    const TFormField& field = model_.Fields()[i];
    TPEdit* edit = nullptr;
    if (field.widthChars > 0) {
      edit = new TPEdit(this);
      edit->Name = "P" + std::to_string(field.column);
      edit->Tag = field.column;
      const int width = field.widthChars * kPixelsPerChar + kFieldMargin;
      edit->SetBounds(8, 8 + kFieldStep * shown, width, 23);
      edit->SetMargin(kFieldMargin);
      edit->SetCaption(PlainCaption(field.caption));
      edit->SetButton(true);
      edit->SetMaxlength(0);
      edit->SetParent(this);
      edit->OnMod = [this, edit, i](TObject*) {
        if (loading_) return;
        model_.Edit(static_cast<int>(i), edit->Text());
        update_->SetEnabled(true);
      };
      // The form has no default button: Enter beeps and the field keeps
      // the keyboard.
      edit->OnKeyDown = [](TObject*, int& key, TShiftState) {
        if (key != VK_RETURN) return;
        DefaultBeep();
        key = 0;
      };
      edit->OnEnter = [this, edit](TObject*) { lastField_ = edit; };
      widest = std::max(widest, width);
      ++shown;
    }
    edits_.push_back(edit);
  }
  // The fields come first in Tab order, so that the form opens on the first
  // of them and typing goes into a record, never to a button's letter.
  buttonPanel_->SetTabOrder(ControlCount());
  // The field column beside the buttons, as high as the taller of the two
  // and no higher than the screen.
  const int clientHeight = std::max(kButtonTop + 8 * kButtonStep, 16 + kFieldStep * shown);
  RECT frame = {0, 0, 0, 0};
  AdjustWindowRectEx(&frame, WS_POPUP | WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_DLGMODALFRAME);
  RECT work = {0, 0, 800, 600};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const int height = std::min<int>(clientHeight + (frame.bottom - frame.top), work.bottom - work.top);
  SetBounds(Left(), Top(), kPanelWidth + widest + 40, height);
  ShowRecord();
}

void TFdlg::ShowRecord() {
  loading_ = true;
  for (size_t i = 0; i < edits_.size(); ++i)
    if (edits_[i] != nullptr) edits_[i]->SetText(model_.Fields()[i].text);
  loading_ = false;
  recordLine_->SetCaption(model_.Caption());
  update_->SetEnabled(model_.Modified());
}

void TFdlg::FocusField() {
  TPEdit* field = lastField_;
  for (std::size_t i = 0; field == nullptr && i < edits_.size(); ++i) field = edits_[i];
  if (field != nullptr && field->Edit().CanFocus()) field->Edit().SetFocus();
}

void ShowDataForm(const TRange& range) {
  TFdlg form(nullptr);
  form.Setup(range);
  form.ShowModal();
  Application().ProcessMessages();
  TWindowServices& windows = WindowServices();
  windows.RepaintSheet(windows.ActiveSheet());
}

}  // namespace corvane
