// The function host of the Windows program: the current folder, the system's
// version and file facts from the Win32 API; random numbers as the portable
// host makes them.
#pragma once

#include "spreadsheet/engine/FunctionHost.h"

namespace corvane {

// The Windows host; it lives until the program ends.
TFunctionHost& WindowsFunctionHost();

// Installs the Windows host for the worksheet functions (FunctionHost.h). The
// program calls it once at start; the host lives until the program ends.
void InstallWindowsFunctionHost();

}  // namespace corvane
