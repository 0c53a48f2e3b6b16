// The settings file's host on Windows: the default printer's orientation,
// the processor type the system reports, and the formula scanner's separators.
#pragma once

#include "spreadsheet/files/SettingsFile.h"

namespace corvane {

// The one Windows host; it lives until the program ends.
TSettingsHost& WindowsSettingsHost();

}  // namespace corvane
