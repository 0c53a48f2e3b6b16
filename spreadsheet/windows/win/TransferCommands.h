// The main frame's Merge, Import, Export and Audit commands: a file dialog
// whose file type picks what is done, then the merge, transfer or audit
// dialog. The dialogs are made on first use, or early by the preload level.
#pragma once

#include "classlib/win/Controls.h"
#include "spreadsheet/windows/Commands.h"

namespace corvane {

void BindTransferCommands(TCommandTable& table, classlib::TWinControl& frame);
// Makes the merge and audit dialogs at a preload level above 0, and the
// transfer dialog above 1.
void PreloadTransferDialogs(classlib::TWinControl& frame, int level);

}  // namespace corvane
