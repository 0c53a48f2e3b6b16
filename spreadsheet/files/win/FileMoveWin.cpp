// Replacing rename on Windows: the C runtime's rename refuses an existing
// target, so MoveFileExA replaces it, writing through before it returns.
#include <windows.h>

#include "spreadsheet/files/FileReplace.h"

namespace corvane {

bool MoveFileReplacing(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace corvane
