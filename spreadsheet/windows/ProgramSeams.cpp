// The one place where the program's seams are installed.
#include "spreadsheet/windows/ProgramSeams.h"

#include "spreadsheet/engine/InsertDelete.h"
#include "spreadsheet/engine/UserFunctions.h"
#include "spreadsheet/files/WorksheetFile.h"
#include "spreadsheet/graphs/NamedGraphs.h"
#include "spreadsheet/macros/MacroInterp.h"

namespace corvane {

void InstallProgramSeams(const TProgramSeams& seams) {
  SetEnginePlatform(seams.platform);
  SetWindowServices(seams.windows);
  SetFunctionHost(seams.functions);
  SetClockSource(seams.clock);
  SetShowErrorHandler(seams.showError);
  SetSettingsHost(seams.settingsHost);
  SetClipboard(seams.clipboard);
  InstallUserFunctionHooks();
  InstallLinkedFileReader();
  InstallGraphRangeVisitor();
  AddKeptRangesVisitor(ForEachMacroRange);
}

void RemoveProgramSeams() { InstallProgramSeams(TProgramSeams{}); }

}  // namespace corvane
