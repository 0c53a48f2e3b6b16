// Mapped files on Windows: a read-only view of a file mapping.
#include <windows.h>

#include "spreadsheet/files/MappedFile.h"

namespace corvane {

bool TMappedFile::Open(const std::string& path) {
  Close();
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool mapped = ::GetFileSizeEx(file, &size) != 0 && ::GetFileType(file) == FILE_TYPE_DISK && size.QuadPart >= 0 &&
                static_cast<unsigned long long>(size.QuadPart) == static_cast<std::size_t>(size.QuadPart);
  if (mapped && size.QuadPart > 0) {
    HANDLE mapping = ::CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    const void* view = mapping ? ::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
    mapped = view != nullptr;
    if (mapped) {
      data_ = view;
      size_ = static_cast<std::size_t>(size.QuadPart);
      mapping_ = mapping;
    } else if (mapping) {
      ::CloseHandle(mapping);
    }
  }
  ::CloseHandle(file);  // the mapping keeps the file
  return mapped;
}

void TMappedFile::Close() {
  if (data_) ::UnmapViewOfFile(data_);
  if (mapping_) ::CloseHandle(static_cast<HANDLE>(mapping_));
  data_ = nullptr;
  mapping_ = nullptr;
  size_ = 0;
}

// The view's pages leave the working set when the system needs them; a
// read-only view has nothing to write back, so nothing is asked here.
void TMappedFile::Forget(std::size_t) {}

}  // namespace corvane
