// A worksheet file's bytes in memory, as they stood when it was opened, and
// pages of them given back once read. On Windows they are a read-only view of
// the file, which the system keeps from being cut or written while it is
// mapped; on POSIX systems, where nothing keeps another process from changing
// the file, a private copy read whole and checked against the file's size and
// change time.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace corvane {

class TMappedFile {
 public:
  TMappedFile() = default;
  ~TMappedFile() { Close(); }
  TMappedFile(const TMappedFile&) = delete;
  TMappedFile& operator=(const TMappedFile&) = delete;

  // Takes the whole file; false when it cannot be opened or taken (an empty
  // file gives no bytes), or when it changed while it was read (Changed()).
  bool Open(const std::string& path);
  void Close();
  std::string_view Bytes() const { return {static_cast<const char*>(data_), size_}; }
  // The last Open failed because the file was cut, grown or written while it
  // was read.
  bool Changed() const { return changed_; }
  // The bytes before `end` are not read again: their pages may leave memory
  // (what they hold afterwards is not to be relied on).
  void Forget(std::size_t end);

 private:
  const void* data_ = nullptr;
  std::size_t size_ = 0;
  void* mapping_ = nullptr;  // the system's mapping object, where it has one
  bool changed_ = false;
};

// For tests of the POSIX copy: called after each block it reads, with the
// bytes read so far, so that a test can change the file in the middle of a
// read as another process would. nullptr removes it.
void SetFileCopyBlockHook(void (*hook)(std::size_t copied));

}  // namespace corvane
