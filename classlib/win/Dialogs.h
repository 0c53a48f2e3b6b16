// Small standard dialogs: a message box captioned with the application's
// title, and an input box that asks for one line of text.
#pragma once

#include "classlib/win/Win32.h"

#include <string>

namespace classlib {

// The window a message box or dialog belongs to: the program's active
// window, else the dialog last active over its main window, else the main
// window itself.
HWND ModalOwner();

// MessageBoxA owned by the program's active window (else its main window),
// captioned with the application's title or `caption`; the owner and every
// other window of the program are disabled while it shows, and the owner is
// active again after. Gives the button pressed (IDOK, IDCANCEL ...).
int MessageDlg(const std::string& text, UINT flags = MB_OK);
int MessageDlg(const std::string& text, const std::string& caption, UINT flags);

// Asks for a line of text in a modal box captioned `caption` with `prompt`
// above the edit, which starts with `value`. True (and `value` the text)
// after OK; false after Cancel, `value` unchanged.
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);
// The same with `value` in UTF-8: the edit takes text in any script (pasted
// or given).
bool InputQueryUtf8(const std::string& caption, const std::string& prompt, std::string& value);

}  // namespace classlib
