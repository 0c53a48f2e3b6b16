// File names on Windows, which opens them as the program writes them.
#include "spreadsheet/files/HostFileName.h"

namespace corvane {

std::string HostFileName(const std::string& name) { return name; }

}  // namespace corvane
