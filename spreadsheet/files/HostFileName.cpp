// File names on POSIX systems: "\" read as the folder separator and each part
// of the path found without regard to case, the way Windows opens names.
#include "spreadsheet/files/HostFileName.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "spreadsheet/engine/TextCase.h"

namespace corvane {

std::string HostFileName(const std::string& name) {
  std::string slashed = name;
  std::replace(slashed.begin(), slashed.end(), '\\', '/');
  std::error_code error;
  std::filesystem::path given(slashed);
  if (std::filesystem::exists(given, error)) return slashed;
  std::filesystem::path found = given.root_path();
  for (const std::filesystem::path& part : given.relative_path()) {
    std::filesystem::path next = found / part;
    if (!std::filesystem::exists(next, error)) {
      std::string wanted = UpperCaseText(part.string());
      std::filesystem::directory_iterator it(found.empty() ? std::filesystem::path(".") : found, error);
      for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        if (UpperCaseText(it->path().filename().string()) == wanted) {
          next = found / it->path().filename();
          break;
        }
      }
      error.clear();
    }
    found = next;
  }
  return found.string();
}

std::string FullFileName(const std::string& name) {
  if (name.empty()) return name;
  std::string slashed = name;
  std::replace(slashed.begin(), slashed.end(), '\\', '/');
  std::filesystem::path path(slashed);
  // A Windows name with a drive ("C:") is no path of this system: only its
  // "." and ".." parts are resolved.
  std::error_code error;
  if (path.is_relative() && !(slashed.size() >= 2 && slashed[1] == ':')) {
    std::filesystem::path current = std::filesystem::current_path(error);
    if (!error) path = current / path;
  }
  return path.lexically_normal().string();
}

}  // namespace corvane
