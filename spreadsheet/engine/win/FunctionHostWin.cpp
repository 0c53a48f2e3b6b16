// The Windows function host.
#include "spreadsheet/engine/win/FunctionHostWin.h"

#include <windows.h>

#include <string>

#include "spreadsheet/engine/FunctionHost.h"

namespace corvane {

namespace {

// Closes a file handle when it goes out of scope.
class TOwnedFileHandle {
 public:
  explicit TOwnedFileHandle(HANDLE handle) : handle_(handle) {}
  ~TOwnedFileHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  TOwnedFileHandle(const TOwnedFileHandle&) = delete;
  TOwnedFileHandle& operator=(const TOwnedFileHandle&) = delete;
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

class TWindowsFunctionHost : public TFunctionHost {
 public:
  double Random() override { return DefaultFunctionHost().Random(); }

  std::string CurrentDirectory() override {
    char buffer[MAX_PATH + 1] = {};
    DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
  }

  // GetVersion: the major version in the low byte, the minor in the next.
  void SystemVersion(int& major, int& minor) override {
    DWORD version = GetVersion();
    major = static_cast<int>(LOBYTE(LOWORD(version)));
    minor = static_cast<int>(HIBYTE(LOWORD(version)));
  }

  // The attributes and size come from the directory entry; whether the file
  // opens is tried for reading only, sharing reads and writes so that another
  // program's open file is neither locked nor refused. Anything that opens as
  // other than a disk file (a pipe, a console, a port) is refused.
  bool QueryFile(std::string_view name, TFileFacts& facts) override {
    facts = TFileFacts{};
    if (name.empty() || IsDeviceFileName(name)) return false;
    std::string path(name);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
    facts.attributes = data.dwFileAttributes;
    facts.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return true;
    TOwnedFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) return true;
    if (GetFileType(file.Get()) != FILE_TYPE_DISK) {
      facts = TFileFacts{};
      return false;
    }
    facts.canOpen = true;
    return true;
  }
};

}  // namespace

TFunctionHost& WindowsFunctionHost() {
  static TWindowsFunctionHost host;
  return host;
}

void InstallWindowsFunctionHost() { SetFunctionHost(&WindowsFunctionHost()); }

}  // namespace corvane
