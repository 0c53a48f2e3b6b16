// The spreadsheet program's start-up and end: one instance at a time (a second
// start hands its file to the running one), the splash window for at least
// three seconds, the main frame with the settings and user functions read,
// the preloaded dialogs, the tips, the first document, the message loop, and
// the settings written back at the end.
#pragma once

#include <functional>
#include <string>

namespace corvane {

class TForm1;
class TSheetWindows;

struct TProgramStart {
  // The sheet windows of the program.
  TSheetWindows* sheets = nullptr;
  // Installs the program's seams (window services, platform, clipboard,
  // error display, hooks) once the frame exists.
  std::function<void(TForm1& frame)> installSeams;
};

// Hands the command line's files to a running instance, one after the other,
// and gives true when there is one (this start then ends); false when this is
// the only instance.
bool HandOverToRunningInstance(const std::string& commandLine);

// Runs the program to its end; the exit code.
int RunSpreadsheetProgram(const TProgramStart& start);

}  // namespace corvane
