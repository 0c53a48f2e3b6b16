// The commands of the main frame's smaller dialogs: find and replace, column
// widths and row heights, the special copy and the general settings. Each
// dialog is made on first use, owned by the frame, and lives as long as it.
#pragma once

#include "classlib/win/StdCtrls.h"
#include "spreadsheet/windows/Commands.h"

namespace corvane {

// Installs the dialogs' handlers in `table`; `frame` owns the dialogs.
void BindDialogCommands(TCommandTable& table, classlib::TForm& frame);

}  // namespace corvane
