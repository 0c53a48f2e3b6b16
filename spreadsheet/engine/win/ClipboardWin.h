// The Windows clipboard behind the engine's copy and paste (Clipboard.h):
// CF_TEXT and the private format registered as "CRV32D".
#pragma once

#include <windows.h>

#include "spreadsheet/engine/Clipboard.h"

namespace corvane {

// The system clipboard with the private format registered, owned by `owner`
// (a hidden message window of its own when null); made on first use and kept
// until the program ends, so later calls return the same object.
TClipboard& WindowsClipboard(HWND owner = nullptr);

// Registers the private format and installs the clipboard for the engine.
// `owner` is the program's window that owns what it puts on the clipboard;
// with none, a hidden message window of its own is made. The clipboard lives
// until the program ends.
void InstallWindowsClipboard(HWND owner = nullptr);

// The format number the system gave "CRV32D".
UINT PrivateClipboardFormat();

}  // namespace corvane
