// A file's bytes mapped read-only into memory, so that a large file is read
// without a copy of it: its pages come from the system's file cache as they
// are touched, and can be given back once read.
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

  // Maps the whole file; false when it cannot be opened or mapped (an empty
  // file maps as no bytes).
  bool Open(const std::string& path);
  void Close();
  std::string_view Bytes() const { return {static_cast<const char*>(data_), size_}; }
  // The bytes before `end` are not read again soon: their pages may leave
  // memory (they are read back from the file if they are touched).
  void Forget(std::size_t end);

 private:
  const void* data_ = nullptr;
  std::size_t size_ = 0;
  void* mapping_ = nullptr;  // the system's mapping object, where it has one
};

}  // namespace corvane
