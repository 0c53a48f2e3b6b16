// Replacing rename on POSIX systems, where rename() replaces in one step.
#include <cstdio>

#include "spreadsheet/files/FileReplace.h"

namespace corvane {

bool MoveFileReplacing(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace corvane
