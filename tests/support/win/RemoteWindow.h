// Reading another program's windows: finding its main window by the start of
// its caption, and reading texts of its common controls (status-bar panels,
// tree items) through a buffer in that program's memory, as window messages
// that carry addresses cannot be answered across programs otherwise.
#pragma once

#include "classlib/win/Win32.h"

#include <string>

namespace uikit {

// The first visible top-level window whose caption starts with `prefix`,
// waited for up to `timeoutMs`; null when none came.
HWND WaitForTopWindow(const std::string& prefix, DWORD timeoutMs);
// The window's caption.
std::string WindowCaption(HWND window);
// The first child window of class `className` at any depth, or null.
HWND FindChildOfClass(HWND parent, const char* className);

// The text of panel `part` of a status bar in another program.
std::string RemoteStatusText(HWND statusBar, int part);
// The first top-level item of a tree view in another program, and its text.
HTREEITEM RemoteTreeRoot(HWND tree);
std::string RemoteTreeItemText(HWND tree, HTREEITEM item);
// The item's state image (0 for none).
int RemoteTreeStateImage(HWND tree, HTREEITEM item);
// The text of a list view's row and column in another program; the number of rows.
std::string RemoteListItemText(HWND list, int row, int column);
int RemoteListCount(HWND list);

}  // namespace uikit
