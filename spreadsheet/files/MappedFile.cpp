// Mapped files on POSIX systems.
#include "spreadsheet/files/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {

bool TMappedFile::Open(const std::string& path) {
  Close();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  bool mapped = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  if (mapped && info.st_size > 0) {
    void* data = ::mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    mapped = data != MAP_FAILED;
    if (mapped) {
      data_ = data;
      size_ = static_cast<std::size_t>(info.st_size);
    }
  }
  ::close(fd);  // the mapping keeps the file
  return mapped;
}

void TMappedFile::Close() {
  if (data_) ::munmap(const_cast<void*>(data_), size_);
  data_ = nullptr;
  size_ = 0;
}

void TMappedFile::Forget(std::size_t end) {
  std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  end = end < size_ ? end / page * page : size_;
  if (data_ && end > 0) ::madvise(const_cast<void*>(data_), end, MADV_DONTNEED);
}

}  // namespace corvane
