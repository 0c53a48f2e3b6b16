// Folder listing on Windows: the system's directory search with the pattern.
#include <windows.h>

#include <algorithm>

#include "spreadsheet/engine/TextCase.h"
#include "spreadsheet/files/FolderNames.h"

namespace corvane {

std::vector<std::string> ListMatchingNames(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> names;
  std::string search = folder;
  if (!search.empty() && search.back() != '\\' && search.back() != '/' && search.back() != ':') search += '\\';
  search += pattern;
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA(search.c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(find, &found));
  FindClose(find);
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return UpperCaseText(a) < UpperCaseText(b); });
  return names;
}

}  // namespace corvane
