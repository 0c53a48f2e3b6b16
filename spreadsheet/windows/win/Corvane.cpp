// Corvane.exe: a second start hands over to the running one; otherwise the
// program's seams are installed once the main frame exists and the program
// runs.
#include "classlib/win/Win32.h"

#include "spreadsheet/windows/win/ProgramSeamsWin.h"
#include "spreadsheet/windows/win/ProgramStart.h"
#include "spreadsheet/windows/win/SheetWindows.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace corvane;
  if (HandOverToRunningInstance(GetCommandLineA())) return 0;
  TProgramSheetWindows sheets;
  TProgramStart start;
  start.sheets = &sheets;
  start.installSeams = [&sheets](TForm1& frame) {
    sheets.Attach(frame);
    InstallWindowsProgramSeams(sheets.Views().Services(), nullptr, frame.Handle());
  };
  int code = RunSpreadsheetProgram(start);
  RemoveProgramSeams();
  return code;
}
