// Saving through a temporary file, with an optional backup of the previous one.
#include "spreadsheet/files/FileReplace.h"

#include <cstdio>

#include "spreadsheet/engine/TextCase.h"

namespace corvane {

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
  TReplacingFile file;
  return file.Open(path) && file.Write(bytes) && file.Commit(backupPath);
}

TReplacingFile::~TReplacingFile() { Discard(); }

void TReplacingFile::Discard() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  if (!temp_.empty()) std::remove(temp_.c_str());
  temp_.clear();
  ok_ = false;
}

bool TReplacingFile::Open(const std::string& path) {
  Discard();
  if (path.empty()) return false;
  path_ = path;
  temp_ = path + ".$$$";
  file_ = std::fopen(temp_.c_str(), "wb");
  if (file_ == nullptr) temp_.clear();
  ok_ = file_ != nullptr;
  return ok_;
}

bool TReplacingFile::Write(std::string_view bytes) {
  if (ok_ && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) Discard();
  return ok_;
}

bool TReplacingFile::Commit(const std::string& backupPath) {
  if (!ok_) return false;
  bool written = std::fflush(file_) == 0;
  written = std::fclose(file_) == 0 && written;
  file_ = nullptr;
  if (!written) {
    Discard();
    return false;
  }
  // A backup name that is the file itself (a name ending in the backup
  // letter already) would make the file its own backup: no backup then.
  bool backup = !backupPath.empty() && UpperCaseText(backupPath) != UpperCaseText(path_) && FileExists(path_);
  if (backup && !MoveFileReplacing(path_, backupPath)) {
    Discard();
    return false;
  }
  if (!MoveFileReplacing(temp_, path_)) {
    if (backup) MoveFileReplacing(backupPath, path_);
    Discard();
    return false;
  }
  temp_.clear();
  ok_ = false;
  return true;
}

}  // namespace corvane
