// File names on Windows, which opens them as the program writes them.
#include "spreadsheet/files/HostFileName.h"

#include <windows.h>

namespace corvane {

std::string HostFileName(const std::string& name) { return name; }

std::string FullFileName(const std::string& name) {
  if (name.empty()) return name;
  // The system's own reading of the name: "/" as "\", "." and ".." gone, made
  // absolute against the current folder.
  char full[MAX_PATH];
  DWORD length = GetFullPathNameA(name.c_str(), MAX_PATH, full, nullptr);
  if (length == 0 || length >= MAX_PATH) return name;
  // Short (8.3) parts become long ones; this needs the file to exist, and a
  // file that does not keeps the full name as it is.
  char longName[MAX_PATH];
  DWORD longLength = GetLongPathNameA(full, longName, MAX_PATH);
  if (longLength == 0 || longLength >= MAX_PATH) return std::string(full, length);
  return std::string(longName, longLength);
}

}  // namespace corvane
