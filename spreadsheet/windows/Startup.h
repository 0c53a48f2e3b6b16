// The portable steps of the program's start-up: the program's own files, the
// start file from the command line or the AUTOEXEC setting, the dialogs the
// preload level creates, the splash window's wait, the first document, and
// the message a second start sends the running instance with its file name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class TFileCommands;

inline constexpr std::uint32_t kSplashMilliseconds = 3000;
inline constexpr std::size_t kMaxStartFileChars = 255;
inline constexpr const char* kStartFileTooLongText = "File name too long: ";
inline constexpr const char* kFileNotFoundText = "File not found: ";

// The program's folder (with its trailing separator) and base name: the
// program file's name cut at its first "." and at 12 characters ("CRV" when
// the name has no ".").
struct TProgramFiles {
  std::string folder;
  std::string baseName;
};
TProgramFiles ProgramFilesFor(std::string_view programPath);
// One of the program's own files: folder, base name and `extension` (".INI").
std::string ProgramFile(const TProgramFiles& files, std::string_view extension);

// The file names of a command line as the system hands it over (the
// program's own name first, quoted or not). When what follows the program's
// name starts with a quote, each name is taken in turn, quoted ("My
// Files\Q 1.wks", an unclosed quote running to the end) or up to a blank;
// otherwise all of it, blanks around it removed, is one name, so a file name
// with blanks that nobody quoted stays whole. Empty when there is none.
std::vector<std::string> CommandLineFileNames(std::string_view commandLine);

// `name` made absolute against `currentFolder`: a name with a drive ("C:"), a
// network name or one starting with a separator stays as it is.
std::string AbsoluteFileName(std::string_view name, std::string_view currentFolder);

// The file opened at start: the command-line argument when there is one (made
// absolute against the current folder), else the AUTOEXEC setting in the
// program's folder (or where it says, when it names a folder).
std::string StartFileName(std::string_view argument, std::string_view currentFolder, const TProgramFiles& files,
                          std::string_view autoExecSetting);

// "" when `name` can be a document's name; else the message that refuses it
// (a name longer than 255 characters would be cut and open, or be saved over,
// another file).
std::string StartFileProblem(std::string_view name);

// True when the file can be opened for reading.
bool FileExists(std::string_view name);

// The dialogs the preload level creates at start (the tiers add up: level 4
// creates all fourteen; the properties dialog and the graph window come at
// every level).
enum class TPreloadDialog {
  kFunctionList, kFindReplace, kJustify, kRangeName, kWidth,  // level above 3
  kTransfer, kCopy, kData, kArray,                            // level above 1
  kGeneral, kAudit, kGraphSettings, kMerge, kPrint,           // level above 0
  kProperties, kGraphWindow,                                  // always
};
bool PreloadedAtLevel(TPreloadDialog dialog, int level);

// True while the splash window must stay: the time since `start` (tick counts
// that may wrap) is 3000 ms or less.
bool SplashMustWait(std::uint32_t start, std::uint32_t now);

// Opens the first document: the start file when it exists (read as the
// start-up worksheet, so a missing or AUTOEXEC file behaves as such), else a
// new sheet when `newSheet` is set. False when no document is open
// afterwards. `ownStartFile` says the start file is the program's own
// start-up worksheet (no file was named on the command line), whose AUTOEXEC
// macro runs unasked and whose absence goes unsaid; a file named on the
// command line asks first, and one that is missing says so.
bool OpenFirstDocument(TFileCommands& commands, std::string_view startFile, bool newSheet, bool ownStartFile);

// Opens a further file named on the command line, or one a second start
// handed over: a name no document can keep, or that names no file, says so;
// otherwise the file opens as File Open opens it (asking about its macros).
// True when its document is open afterwards.
bool OpenNamedFile(TFileCommands& commands, std::string_view name);

// The registered name of the message by which a second start hands over to
// the running instance.
inline constexpr const char* kInstanceMessageName = "CORVANE60CORVANEWORKS";

// The data a second start sends with its file name: a fixed tag and the
// name's bytes, whatever their length. Decoding checks the tag and refuses a
// name holding a 0 byte; the name comes back exactly as sent.
std::string EncodeHandOver(std::string_view fileName);
bool DecodeHandOver(std::string_view data, std::string& fileName);

}  // namespace corvane
