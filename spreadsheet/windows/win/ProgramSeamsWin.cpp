// The Windows composition root.
#include "spreadsheet/windows/win/ProgramSeamsWin.h"

#include <string>

#include "classlib/win/Dialogs.h"
#include "spreadsheet/engine/win/ClipboardWin.h"
#include "spreadsheet/engine/win/EnginePlatformWin.h"
#include "spreadsheet/engine/win/FunctionHostWin.h"
#include "spreadsheet/files/win/SettingsHostWin.h"

namespace corvane {

void ShowErrorBox(std::string_view message) {
  classlib::MessageDlg(std::string(message), "Corvane", MB_OK | MB_ICONEXCLAMATION);
}

void InstallWindowsProgramSeams(TWindowServices& windows, TShowErrorFn showError, HWND clipboardOwner) {
  TProgramSeams seams;
  seams.windows = &windows;
  seams.platform = &WindowsEnginePlatform();
  seams.functions = &WindowsFunctionHost();
  seams.clock = nullptr;  // the system clock
  seams.showError = showError != nullptr ? showError : ShowErrorBox;
  seams.settingsHost = &WindowsSettingsHost();
  seams.clipboard = &WindowsClipboard(clipboardOwner);
  InstallProgramSeams(seams);
}

}  // namespace corvane
