// The program's seams on Windows: the composition root that the start-up
// calls once, before the first window opens.
#pragma once

#include <windows.h>

#include <string_view>

#include "spreadsheet/windows/ProgramSeams.h"

namespace corvane {

// A message box with the error text over the active window.
void ShowErrorBox(std::string_view message);

// Installs the Windows engine platform, function host, clipboard (owned by
// `clipboardOwner`) and settings host, the system clock, `windows` as the
// window services and `showError` as the error display (ShowErrorBox when
// null), through InstallProgramSeams.
void InstallWindowsProgramSeams(TWindowServices& windows, TShowErrorFn showError, HWND clipboardOwner);

}  // namespace corvane
