// The program's seams, installed in one place. The engine, the files and the
// windows reach the machine and the user only through these: the window
// services, the engine platform (memory, sound, ticks, bitmaps), the
// worksheet functions' host, the clock, the error display, the settings
// file's host and the clipboard, besides the user-function, linked-file and
// graph-range hooks that join the engine's parts. The start-up fills a TProgramSeams with
// the Windows implementations; tests fill one with fakes; both install it
// through InstallProgramSeams.
#pragma once

#include "spreadsheet/engine/Clipboard.h"
#include "spreadsheet/engine/Clock.h"
#include "spreadsheet/engine/EnginePlatform.h"
#include "spreadsheet/engine/FunctionHost.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/engine/WindowServices.h"
#include "spreadsheet/files/SettingsFile.h"

namespace corvane {

// Every member is borrowed and must outlive its installation; a null member
// leaves that seam at its portable stand-in.
struct TProgramSeams {
  TWindowServices* windows = nullptr;
  TEnginePlatform* platform = nullptr;
  TFunctionHost* functions = nullptr;
  TClockSource clock = nullptr;
  TShowErrorFn showError = nullptr;
  TSettingsHost* settingsHost = nullptr;
  TClipboard* clipboard = nullptr;
};

// Installs every seam of `seams`, and the hooks by which user functions,
// linked files and the graphs' ranges reach the engine.
void InstallProgramSeams(const TProgramSeams& seams);
// Puts every seam back to its portable stand-in (program end, test end).
void RemoveProgramSeams();

}  // namespace corvane
