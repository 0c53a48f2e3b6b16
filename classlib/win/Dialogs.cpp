// The message box and the input box.
#include "classlib/win/Dialogs.h"

#include <algorithm>

#include "classlib/win/Application.h"
#include "classlib/win/GdiHandles.h"
#include "classlib/win/StdCtrls.h"

namespace classlib {

namespace {

// The first visible top-level window of this thread that has no owner: the
// program's main window when nothing of it is active.
BOOL CALLBACK FindMainWindow(HWND hwnd, LPARAM found) {
  if (!IsWindowVisible(hwnd) || GetWindow(hwnd, GW_OWNER) != nullptr || hwnd == Application().Handle()) return TRUE;
  *reinterpret_cast<HWND*>(found) = hwnd;
  return FALSE;
}

}  // namespace

HWND ModalOwner() {
  HWND owner = GetActiveWindow();
  if (owner != nullptr) return owner;
  // Not the foreground program: the main window, or the dialog that was
  // last active over it (the main window waits while one shows).
  EnumThreadWindows(GetCurrentThreadId(), FindMainWindow, reinterpret_cast<LPARAM>(&owner));
  if (owner == nullptr) return nullptr;
  HWND popup = GetLastActivePopup(owner);
  return popup != nullptr && IsWindowVisible(popup) && IsWindowEnabled(popup) ? popup : owner;
}

int MessageDlg(const std::string& text, UINT flags) { return MessageDlg(text, Application().DisplayTitle(), flags); }

int MessageDlg(const std::string& text, const std::string& caption, UINT flags) {
  // Owned by the window that was active, which gets the keyboard back when
  // the box goes; every other window of the program waits as well.
  HWND owner = ModalOwner();
  TDisabledWindows others(owner);
  const int answer = MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
  others.Restore();
  if (owner != nullptr && IsWindow(owner) && GetActiveWindow() != owner) SetActiveWindow(owner);
  return answer;
}

namespace {

// The height `label`'s text needs when it wraps at its width.
int WrappedTextHeight(TLabel& label) {
  HWND window = label.Handle();
  TWindowDCLease dc(window);
  if (dc.Get() == nullptr) return label.Height();
  TSelectScope font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0)));
  const std::string text = label.Caption();
  RECT need = {0, 0, label.Width(), 0};
  DrawTextA(dc.Get(), text.c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK);
  return need.bottom;
}

bool AskForText(const std::string& caption, const std::string& prompt, std::string& value, bool utf8) {
  TForm form(nullptr, caption);
  form.BorderStyle = TFormBorderStyle::bsDialog;
  form.Position = TPosition::poScreenCenter;
  form.SetClientSize(330, 104);
  auto* label = new TLabel(&form);
  label->SetBounds(10, 10, 310, 16);
  label->SetCaption(prompt);
  label->SetParent(&form);
  // A prompt too long for one line wraps; the box grows to show it whole.
  const int grow = std::max(WrappedTextHeight(*label), 16) - 16;
  label->SetHeight(16 + grow);
  form.SetClientSize(330, 104 + grow);
  auto* edit = new TEdit(&form);
  edit->Utf8Text = utf8;
  edit->SetBounds(10, 30 + grow, 310, 22);
  edit->SetText(value);
  edit->SetParent(&form);
  auto* ok = new TButton(&form);
  ok->SetBounds(164, 68 + grow, 75, 25);
  ok->SetCaption("OK");
  ok->ModalResult = mrOk;
  ok->SetDefault(true);
  ok->SetParent(&form);
  auto* cancel = new TButton(&form);
  cancel->SetBounds(245, 68 + grow, 75, 25);
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

}  // namespace

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  return AskForText(caption, prompt, value, false);
}

bool InputQueryUtf8(const std::string& caption, const std::string& prompt, std::string& value) {
  return AskForText(caption, prompt, value, true);
}

}  // namespace classlib
