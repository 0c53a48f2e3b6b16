// The commands of the main frame's smaller dialogs: find and replace, column
// widths and row heights, the special copy and the general settings. Each
// dialog is made on first use, owned by the frame, and lives as long as it.
#pragma once

#include <functional>

#include "classlib/win/StdCtrls.h"
#include "spreadsheet/windows/Commands.h"
#include "spreadsheet/windows/SheetView.h"

namespace corvane {

// What the dialogs ask of the frame.
struct TDialogHooks {
  std::function<TSheetView*()> activeView;  // the active sheet window's view, or null
  std::function<void()> refreshIndicators;
  std::function<void()> recentFilesChanged;
};

// Installs the dialogs' handlers in `table`; `frame` owns the dialogs.
void BindDialogCommands(TCommandTable& table, classlib::TForm& frame, TDialogHooks hooks);

}  // namespace corvane
