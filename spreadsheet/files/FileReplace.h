// Saving a file without ever leaving it half written: the new contents go to a
// temporary file in the same folder, which then takes the file's place. The
// previous file can be kept as a backup under a second name.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace corvane {

// `name` with its last character replaced by `letter` ("CRV32.INI" and 'b'
// give "CRV32.INb"); an empty name stays empty.
std::string BackupFileName(std::string_view name, char letter);

// True when a file of that name exists and can be opened for reading.
bool FileExists(const std::string& path);

// Writes `bytes` to `path`. They are written to a temporary file beside it
// first; only when that file is complete does it replace `path`. When
// `backupPath` is not empty, names another file than `path` (compared without
// regard to case, as on Windows) and `path` exists, the previous file becomes
// the backup, replacing an older one. False when the file could not be
// written or put in place: the previous file and its backup are then as they
// were (at worst the previous file stands under the backup name) and no
// temporary file is left behind.
bool SaveFileReplacing(const std::string& path, std::string_view bytes, const std::string& backupPath);

// SaveFileReplacing in pieces, for output too large to build whole in memory:
// Open starts the temporary file, Write appends to it, Commit puts it in
// place (with the same backup rule). Any failure, or destruction before
// Commit, removes the temporary file and leaves the previous file as it was.
class TReplacingFile {
 public:
  TReplacingFile() = default;
  TReplacingFile(const TReplacingFile&) = delete;
  TReplacingFile& operator=(const TReplacingFile&) = delete;
  ~TReplacingFile();

  bool Open(const std::string& path);
  bool Write(std::string_view bytes);
  bool Commit(const std::string& backupPath);

 private:
  void Discard();

  std::string path_, temp_;
  std::FILE* file_ = nullptr;
  bool ok_ = false;
};

// Renames `from` to `to`, replacing an existing `to` in one step. False when
// the system refuses. Defined per platform.
bool MoveFileReplacing(const std::string& from, const std::string& to);

}  // namespace corvane
