// Small standard dialogs: a message box captioned with the application's
// title, and an input box that asks for one line of text.
#pragma once

#include "classlib/win/Win32.h"

#include <string>

namespace classlib {

// MessageBoxA over the application's active window, captioned with the
// application's title; gives the button pressed (IDOK, IDCANCEL ...).
int MessageDlg(const std::string& text, UINT flags = MB_OK);

// Asks for a line of text in a modal box captioned `caption` with `prompt`
// above the edit, which starts with `value`. True (and `value` the text)
// after OK; false after Cancel, `value` unchanged.
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);

}  // namespace classlib
