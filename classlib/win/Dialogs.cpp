// The message box and the input box.
#include "classlib/win/Dialogs.h"

#include "classlib/win/Application.h"
#include "classlib/win/StdCtrls.h"

namespace classlib {

int MessageDlg(const std::string& text, UINT flags) {
  HWND owner = GetActiveWindow();
  return MessageBoxA(owner, text.c_str(), Application().DisplayTitle().c_str(), flags);
}

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  TForm form(nullptr, caption);
  form.BorderStyle = TFormBorderStyle::bsDialog;
  form.Position = TPosition::poScreenCenter;
  form.SetClientSize(330, 104);
  auto* label = new TLabel(&form);
  label->SetBounds(10, 10, 310, 16);
  label->SetCaption(prompt);
  label->SetParent(&form);
  auto* edit = new TEdit(&form);
  edit->SetBounds(10, 30, 310, 22);
  edit->SetText(value);
  edit->SetParent(&form);
  auto* ok = new TButton(&form);
  ok->SetBounds(164, 68, 75, 25);
  ok->SetCaption("OK");
  ok->ModalResult = mrOk;
  ok->SetDefault(true);
  ok->SetParent(&form);
  auto* cancel = new TButton(&form);
  cancel->SetBounds(245, 68, 75, 25);
  cancel->SetCaption("Cancel");
  cancel->ModalResult = mrCancel;
  cancel->Cancel = true;
  cancel->SetParent(&form);
  form.OnShow = [edit](TObject*) {
    edit->SetFocus();
    edit->SelectAll();
  };
  if (form.ShowModal() != mrOk) return false;
  value = edit->Text();
  return true;
}

}  // namespace classlib
