// The Windows clipboard behind the engine's copy and paste (Clipboard.h):
// CF_TEXT and the private format registered as "CRV32D".
#pragma once

#include <windows.h>

namespace corvane {

// Registers the private format and installs the clipboard for the engine.
// `owner` is the program's window that owns what it puts on the clipboard;
// with none, a hidden message window of its own is made. The clipboard lives
// until the program ends.
void InstallWindowsClipboard(HWND owner = nullptr);

// The format number the system gave "CRV32D".
UINT PrivateClipboardFormat();

}  // namespace corvane
