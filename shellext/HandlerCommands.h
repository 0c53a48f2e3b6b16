// The six context-menu commands of the encryption suite and the rules that need
// no COM: the class table, the engine command lines, the path limit and the help
// text copy. The COM classes in win/ read everything they show or start from here.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace handler {

// One row per COM class: what it registers, shows and starts.
struct TMenuCommand {
  const char* className;    // the C++ class that serves it
  const char* classId;      // registry form, with braces
  const char* description;  // default value of the CLSID key
  const char* caption;      // menu item text, with its accelerator
  const char* bitmap;       // resource name of the item's glyph
  const char* helpText;     // the Explorer's status-line text
  int engineCommand;        // argument of EngineCommandLine
  const char* errorText;    // shown when the engine cannot be started
};

inline constexpr int kCommandCount = 6;
extern const TMenuCommand kMenuCommands[kCommandCount];

// Registry location of the suite's values, under HKEY_LOCAL_MACHINE.
inline constexpr const char* kSuiteKey = "SOFTWARE\\Velmoc\\98";
inline constexpr const char* kSuiteUserKey = "SOFTWARE\\Velmoc\\98\\CurrentUser";
inline constexpr const char* kBaseDirValue = "BaseDir";
inline constexpr const char* kUserIsSetupValue = "UserIsSetup";

// The longest selected path the handlers accept, in characters. A longer one is
// refused rather than cut, since a cut path may name another file.
inline constexpr std::size_t kMaxPathChars = 300;

// The engine program and switches of command `number` (0..5) below `baseDir`,
// e.g. "C:\Velmoc\Tobrel SH"; an empty text for an unknown number.
std::string GetEngineCommand(int number, std::string_view baseDir);

// The full command line: the engine command with its program's path in quotes
// (so that a folder with blanks, "C:\Program Files\...", never starts a
// program named after the part before a blank), a blank and the selected path
// as it stands (the engines take the rest of their command line as the path).
// Built by concatenation, so a '%' in either text is kept as it is. An empty
// text for an unknown number, and for a folder holding a quote, which no path
// can, and which would end the quoted program early.
std::string EngineCommandLine(int number, std::string_view baseDir, std::string_view path);

// Shown instead of starting the engine when the selected path cannot be given
// to it in the ANSI code page, neither as it is nor by its short name: a path
// with "?" in place of what is missing would be a wildcard naming other files.
inline constexpr const char* kUnnamablePathText =
    "The name of the selected file holds characters the encryption engine cannot take, and it has no short "
    "name that could stand for it. Rename the file and try again.";

// True when a selection of `count` paths, the first `firstLength` characters long,
// is one the handlers act on: exactly one path, not empty, not too long to hold.
bool AcceptSelection(unsigned count, std::size_t firstLength);

// Copies `text` into `buffer` of `size` characters (terminating zero included),
// cut to fit. Writes nothing when `size` is 0. Returns the characters copied.
template <typename Char>
std::size_t CopyTextCut(std::string_view text, Char* buffer, std::size_t size) {
  if (buffer == nullptr || size == 0) return 0;
  std::size_t n = text.size() < size - 1 ? text.size() : size - 1;
  for (std::size_t i = 0; i < n; ++i) buffer[i] = static_cast<Char>(static_cast<unsigned char>(text[i]));
  buffer[n] = 0;
  return n;
}

}  // namespace handler
