// The find-and-replace dialog's form.
#include "spreadsheet/windows/win/FindForm.h"

#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

using namespace classlib;

namespace {

template <class Control>
void Place(Control& control, TWinControl* parent, const char* caption, int x, int y, int width, int height) {
  control.SetParent(parent);
  if (caption != nullptr) control.SetCaption(caption);
  control.SetBounds(x, y, width, height);
}

}  // namespace

TFind::TFind(TComponent* AOwner) : TForm(AOwner, kFindCaption) {
  BorderStyle = TFormBorderStyle::bsDialog;
  Position = TPosition::poScreenCenter;
  KeyPreview = true;
  SetBounds(0, 0, 396, 262);
  Place(findLabel_, this, "&Find Text:", 12, 10, 200, 16);
  Place(ComboBox1, this, nullptr, 12, 28, 270, 24);
  findLabel_.SetFocusControl(&ComboBox1);
  Place(replaceLabel_, this, "R&eplace Text", 12, 58, 200, 16);
  Place(Edit2, this, nullptr, 12, 76, 270, 22);
  Edit2.SetMaxLength(static_cast<int>(kFindTextLimit));
  replaceLabel_.SetFocusControl(&Edit2);
  Place(scopeBox_, this, "Scope of Search:", 12, 106, 270, 68);
  Place(Global, &scopeBox_, "&Global", 10, 20, 100, 18);
  Place(Selected, &scopeBox_, "&Selected:", 10, 42, 86, 18);
  Place(ScopeRange, &scopeBox_, "", 98, 43, 164, 16);
  Global.SetChecked(true);
  Place(CaseInsensitive, this, "Case &Insensitive", 12, 182, 200, 18);
  Place(foundLabel_, this, "Found:", 12, 208, 46, 16);
  Place(Result, this, "", 60, 208, 318, 16);
  Place(Bt1, this, "Fi&nd", 296, 28, 84, 25);
  Place(Replace, this, "&Replace", 296, 60, 84, 25);
  Place(ReplaceAll, this, "Replace &All", 296, 92, 84, 25);
  Place(Cancel, this, "&Cancel", 296, 149, 84, 25);
  Cancel.Cancel = true;

  ComboBox1.OnChange = [this](TObject*) {
    if (loading_) return;
    values_.TextsChanged();
    Bt1.SetCaption(values_.FindButtonCaption());
  };
  ComboBox1.OnExit = [this](TObject*) { FileHistory(); };
  Edit2.OnChange = ComboBox1.OnChange;
  // Enter in the search text goes on to the replacement text.
  OnKeyDown = [this](TObject*, int& key, TShiftState) {
    HWND focus = GetFocus();
    if (key != VK_RETURN || (focus != ComboBox1.Handle() && GetParent(focus) != ComboBox1.Handle())) return;
    key = 0;
    Edit2.SetFocus();
  };
  Bt1.OnClick = [this](TObject*) { Run(&TFindReplace::Find); };
  Replace.OnClick = [this](TObject*) { Run(&TFindReplace::Replace); };
  ReplaceAll.OnClick = [this](TObject*) { Run(&TFindReplace::ReplaceAll); };
  Cancel.OnClick = [this](TObject*) { Close(); };
  OnActivate = [this](TObject*) { Activated(); };
}

void TFind::CreateParams(TCreateParams& Params) {
  TForm::CreateParams(Params);
  Params.ExStyle |= WS_EX_TOPMOST;
}

void TFind::Open() {
  Show();
  Activated();
}

void TFind::Activated() {
  TRange selection;
  WindowServices().GetGridSelection(selection);
  FromControls();
  values_.Activate(selection);
  ToControls();
  ComboBox1.SetFocus();
}

void TFind::ToControls() {
  loading_ = true;
  if (ComboBox1.Items() != values_.history) ComboBox1.SetItems(values_.history);
  if (ComboBox1.Text() != values_.findText) ComboBox1.SetText(values_.findText);
  if (Edit2.Text() != values_.replaceText) Edit2.SetText(values_.replaceText);
  Global.SetChecked(!values_.selectedScope);
  Selected.SetChecked(values_.selectedScope);
  ScopeRange.SetCaption(values_.ScopeText());
  CaseInsensitive.SetChecked(values_.caseInsensitive);
  Result.SetCaption(values_.result);
  Bt1.SetCaption(values_.FindButtonCaption());
  loading_ = false;
}

void TFind::FromControls() {
  values_.findText = ComboBox1.Text().substr(0, kFindTextLimit);
  values_.replaceText = Edit2.Text().substr(0, kFindTextLimit);
  values_.selectedScope = Selected.Checked();
  values_.caseInsensitive = CaseInsensitive.Checked();
}

void TFind::FileHistory() {
  FromControls();
  values_.FileHistory();
  ToControls();
}

void TFind::Run(TFindResult (TFindReplace::*command)()) {
  FileHistory();
  (values_.*command)();
  ToControls();
}

}  // namespace corvane
