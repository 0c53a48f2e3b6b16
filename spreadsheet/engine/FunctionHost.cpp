// The portable function host, the installed-host seam, device-name checks and
// the input/output result code.
#include "spreadsheet/engine/FunctionHost.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <sys/utsname.h>
#endif

#include "spreadsheet/engine/TextCase.h"

namespace corvane {

namespace {

// Attribute bits as the worksheet functions report them.
constexpr std::uint32_t kAttributeReadOnly = 0x01;
constexpr std::uint32_t kAttributeDirectory = 0x10;
constexpr std::uint32_t kAttributeArchive = 0x20;

class TPortableFunctionHost : public TFunctionHost {
 public:
  TPortableFunctionHost()
      : engine_(static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                std::random_device{}()) {}

  // 53 random bits scaled into [0, 1): never 1, whatever the rounding.
  double Random() override { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }

  std::string CurrentDirectory() override {
    std::error_code error;
    std::filesystem::path path = std::filesystem::current_path(error);
    return error ? std::string() : path.string();
  }

  void SystemVersion(int& major, int& minor) override {
    major = minor = 0;
#if defined(__unix__) || defined(__APPLE__)
    utsname name{};
    if (uname(&name) == 0) std::sscanf(name.release, "%d.%d", &major, &minor);
#endif
  }

  // Only ordinary files and folders are looked at: a pipe or a device node
  // could block the read.
  bool QueryFile(std::string_view name, TFileFacts& facts) override {
    facts = TFileFacts{};
    if (name.empty() || IsDeviceFileName(name)) return false;
    std::error_code error;
    std::filesystem::path path{std::string(name)};
    std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error) return false;
    bool folder = std::filesystem::is_directory(status);
    if (!folder && !std::filesystem::is_regular_file(status)) return false;
    if (folder) {
      facts.attributes = kAttributeDirectory;
    } else {
      facts.size = std::filesystem::file_size(path, error);
      if (error) facts.size = 0;
      facts.canOpen = std::ifstream(path, std::ios::binary).is_open();
      facts.attributes = kAttributeArchive;
    }
    using std::filesystem::perms;
    if ((status.permissions() & perms::owner_write) == perms::none) facts.attributes |= kAttributeReadOnly;
    return true;
  }

 private:
  std::mt19937_64 engine_;
};

TFunctionHost* gInstalledHost = nullptr;
int gIoResult = 0;

bool IsDeviceBaseName(std::string_view base) {
  static constexpr std::string_view kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  std::string upper = UpperCaseText(base);
  for (std::string_view device : kDevices)
    if (upper == device) return true;
  return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) && upper[3] >= '1' &&
         upper[3] <= '9';
}

}  // namespace

TFunctionHost& DefaultFunctionHost() {
  static TPortableFunctionHost host;
  return host;
}

TFunctionHost& FunctionHost() { return gInstalledHost ? *gInstalledHost : DefaultFunctionHost(); }

void SetFunctionHost(TFunctionHost* host) { gInstalledHost = host; }

bool IsDeviceFileName(std::string_view name) {
  if (name.starts_with("\\\\.\\") || name.starts_with("\\\\?\\") || name.starts_with("//./") ||
      name.starts_with("//?/"))
    return true;
  std::size_t slash = name.find_last_of("\\/:");
  // "CON:" names the device too: a colon at the very end is not a folder mark.
  if (slash != std::string_view::npos && slash + 1 == name.size() && name.back() == ':') {
    name.remove_suffix(1);
    slash = name.find_last_of("\\/:");
  }
  std::string_view last = slash == std::string_view::npos ? name : name.substr(slash + 1);
  std::string_view base = last.substr(0, last.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  return IsDeviceBaseName(base);
}

void SetIoResult(int code) { gIoResult = code; }

int TakeIoResult() {
  int code = gIoResult;
  gIoResult = 0;
  return code;
}

}  // namespace corvane
