// What the worksheet functions ask of the machine outside the engine: random
// numbers, the current folder, the system's version and facts about files.
// The window-held facts (the cursor cell, column widths, the window caption)
// come from the window services (WindowServices.h), today's date from the
// clock (Clock.h). The Windows program installs its own host at start; tests
// install fakes; without one a portable default serves.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

struct TFileFacts {
  std::uint64_t size = 0;       // bytes
  bool canOpen = false;         // the file opens for reading
  std::uint32_t attributes = 0; // the file's attribute bits (low 16 bits used)
};

class TFunctionHost {
 public:
  virtual ~TFunctionHost() = default;

  // A uniform random number in [0, 1).
  virtual double Random() = 0;
  // The current folder as text.
  virtual std::string CurrentDirectory() = 0;
  // The operating system's major and minor version.
  virtual void SystemVersion(int& major, int& minor) = 0;
  // Facts about the file `name`, found without writing to it. False when the
  // file does not exist or the name is not an ordinary file's (a device).
  virtual bool QueryFile(std::string_view name, TFileFacts& facts) = 0;
};

// The installed host (the portable default when none was installed).
TFunctionHost& FunctionHost();
// The portable default: a seeded 64-bit generator, the standard library's
// view of folders and files, and the system's version where POSIX tells it.
TFunctionHost& DefaultFunctionHost();
// Installs `host` (not owned; it must outlive its use), or the default for
// nullptr.
void SetFunctionHost(TFunctionHost* host);

// True for a name that reaches a device instead of a file: a last path part
// that is CON, PRN, AUX, NUL, COM1..COM9, LPT1..LPT9, CONIN$ or CONOUT$ in any
// case, with or without an extension, trailing blanks or a colon, and any name
// in the device namespaces "\\.\" and "\\?\". Opening such a name can block
// or talk to hardware, so hosts refuse it.
bool IsDeviceFileName(std::string_view name);

// The result code of the last file operation, which file code sets and the
// IORESULT function reads and clears.
void SetIoResult(int code);
int TakeIoResult();

}  // namespace corvane
