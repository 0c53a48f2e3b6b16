// Saving through a temporary file, with an optional backup of the previous one.
#include "spreadsheet/files/FileReplace.h"

#include <cstdio>

#include "spreadsheet/engine/TextCase.h"

namespace corvane {
namespace {

// Writes the whole of `bytes` to a new file `path`; false (and no file) when
// any step fails.
bool WriteWholeFile(const std::string& path, std::string_view bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  ok = std::fflush(file) == 0 && ok;
  ok = std::fclose(file) == 0 && ok;
  if (!ok) std::remove(path.c_str());
  return ok;
}

}  // namespace

std::string BackupFileName(std::string_view name, char letter) {
  std::string backup(name);
  if (!backup.empty()) backup.back() = letter;
  return backup;
}

bool FileExists(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

bool SaveFileReplacing(const std::string& path, std::string_view bytes, const std::string& backupPath) {
  if (path.empty()) return false;
  std::string temp = path + ".$$$";
  if (!WriteWholeFile(temp, bytes)) return false;
  // A backup name that is the file itself (a name ending in the backup
  // letter already) would make the file its own backup: no backup then.
  bool backup = !backupPath.empty() && UpperCaseText(backupPath) != UpperCaseText(path) && FileExists(path);
  if (backup && !MoveFileReplacing(path, backupPath)) {
    std::remove(temp.c_str());
    return false;
  }
  if (!MoveFileReplacing(temp, path)) {
    if (backup) MoveFileReplacing(backupPath, path);
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace corvane
