// Worksheet files' bytes on POSIX systems: a private copy. Nothing here can
// keep another process from cutting or rewriting a file while it is read (a
// mapped file cut short faults its reader with SIGBUS, and one rewritten in
// place changes under it), so the file is read whole into memory of its own
// and taken only when its size and change time were the same before and
// after the read and every byte came.
#include "spreadsheet/files/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace corvane {
namespace {

constexpr std::size_t kCopyBlock = 64 * 1024;

void (*gCopyBlockHook)(std::size_t copied) = nullptr;

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// Reads `size` bytes of `fd` into `to`; false when the file ends first or a
// read fails.
bool ReadWhole(int fd, char* to, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    ssize_t n = ::read(fd, to + done, std::min(kCopyBlock, size - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
    if (gCopyBlockHook) gCopyBlockHook(done);
  }
  return true;
}

}  // namespace

void SetFileCopyBlockHook(void (*hook)(std::size_t copied)) { gCopyBlockHook = hook; }

bool TMappedFile::Open(const std::string& path) {
  Close();
  changed_ = false;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat before {}, after {};
  bool opened = ::fstat(fd, &before) == 0 && S_ISREG(before.st_mode);
  auto size = static_cast<std::size_t>(opened ? before.st_size : 0);
  void* data = nullptr;
  if (opened && size > 0) {
    data = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    opened = data != MAP_FAILED;
  }
  if (opened) {
    char more;
    changed_ = (size > 0 && !ReadWhole(fd, static_cast<char*>(data), size)) || ::read(fd, &more, 1) != 0 ||
               ::fstat(fd, &after) != 0 || !SameFile(before, after);
    if (changed_ && size > 0) ::munmap(data, size);
    opened = !changed_;
  }
  ::close(fd);
  if (opened && size > 0) {
    ::mprotect(data, size, PROT_READ);
    data_ = data;
    size_ = size;
  }
  return opened;
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
