// Folder listing on POSIX systems: the folder is read whole and each name is
// matched against the pattern the way the Windows directory search matches it.
#include "spreadsheet/files/FolderNames.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "spreadsheet/engine/TextCase.h"

namespace corvane {
namespace {

// Case-blind match of "*" and "?"; the last "*" seen is retried one character
// further on a mismatch, so the walk is linear in practice and never recursive.
bool WildcardMatch(std::string_view pattern, std::string_view name) {
  std::size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || UpperChar(pattern[p]) == UpperChar(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

std::vector<std::string> ListMatchingNames(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> names;
  std::error_code error;
  std::filesystem::directory_iterator it(folder.empty() ? std::filesystem::path(".") : std::filesystem::path(folder),
                                         error);
  if (error) return names;
  bool everything = pattern == "*.*";
  for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
    if (error) break;
    std::string name = it->path().filename().string();
    if (everything || WildcardMatch(pattern, name)) names.push_back(name);
  }
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return UpperCaseText(a) < UpperCaseText(b); });
  return names;
}

}  // namespace corvane
