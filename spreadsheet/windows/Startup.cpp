// Start-up steps that need no window.
#include "spreadsheet/windows/Startup.h"

#include <algorithm>
#include <cstdio>

#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/files/HostFileName.h"
#include "spreadsheet/files/WorksheetFile.h"
#include "spreadsheet/windows/FileCommands.h"

namespace corvane {

namespace {

constexpr std::string_view kHandOverTag = "CORVANE-OPEN:";

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool HasFolder(std::string_view name) { return name.find_first_of("\\/:") != std::string_view::npos; }

}  // namespace

TProgramFiles ProgramFilesFor(std::string_view programPath) {
  TProgramFiles files;
  std::size_t cut = programPath.find_last_of("\\/:");
  std::string_view name = programPath;
  if (cut != std::string_view::npos) {
    files.folder = std::string(programPath.substr(0, cut + 1));
    name = programPath.substr(cut + 1);
  }
  std::size_t dot = name.find('.');
  files.baseName = dot == std::string_view::npos ? "CRV" : std::string(name.substr(0, std::min<std::size_t>(dot, 12)));
  return files;
}

std::string ProgramFile(const TProgramFiles& files, std::string_view extension) {
  return files.folder + files.baseName + std::string(extension);
}

std::vector<std::string> CommandLineFileNames(std::string_view commandLine) {
  std::string_view rest = Trim(commandLine);
  // The program's own name: quoted, or up to the first blank.
  if (!rest.empty() && rest.front() == '"') {
    std::size_t close = rest.find('"', 1);
    rest = close == std::string_view::npos ? std::string_view() : rest.substr(close + 1);
  } else {
    std::size_t blank = rest.find_first_of(" \t");
    rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank);
  }
  rest = Trim(rest);
  std::vector<std::string> names;
  if (rest.empty()) return names;
  if (rest.front() != '"') {
    names.emplace_back(rest);
    return names;
  }
  while (!rest.empty()) {
    const bool quoted = rest.front() == '"';
    if (quoted) rest.remove_prefix(1);
    const std::size_t end = std::min(rest.find_first_of(quoted ? "\"" : " \t\""), rest.size());
    if (end > 0) names.emplace_back(rest.substr(0, end));
    rest.remove_prefix(end);
    if (quoted && !rest.empty()) rest.remove_prefix(1);  // the closing quote
    rest = Trim(rest);
  }
  return names;
}

std::string AbsoluteFileName(std::string_view name, std::string_view currentFolder) {
  if (name.empty() || IsSeparator(name.front()) || (name.size() >= 2 && name[1] == ':') || currentFolder.empty())
    return std::string(name);
  std::string path(currentFolder);
  if (!IsSeparator(path.back())) path += currentFolder.front() == '/' ? '/' : '\\';
  return path + std::string(name);
}

std::string StartFileName(std::string_view argument, std::string_view currentFolder, const TProgramFiles& files,
                          std::string_view autoExecSetting) {
  argument = Trim(argument);
  if (!argument.empty()) return AbsoluteFileName(argument, currentFolder);
  std::string_view autoExec = autoExecSetting.empty() ? std::string_view("AUTOEXEC.WKS") : autoExecSetting;
  return HasFolder(autoExec) ? std::string(autoExec) : files.folder + std::string(autoExec);
}

std::string StartFileProblem(std::string_view name) {
  if (name.size() <= kMaxStartFileChars) return "";
  return kStartFileTooLongText + std::string(name.substr(0, 40)) + "...";
}

bool FileExists(std::string_view name) {
  if (name.empty()) return false;
  std::FILE* file = std::fopen(HostFileName(std::string(name)).c_str(), "rb");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

bool PreloadedAtLevel(TPreloadDialog dialog, int level) {
  switch (dialog) {
    case TPreloadDialog::kFunctionList:
    case TPreloadDialog::kFindReplace:
    case TPreloadDialog::kJustify:
    case TPreloadDialog::kRangeName:
    case TPreloadDialog::kWidth:
      return level > 3;
    case TPreloadDialog::kTransfer:
    case TPreloadDialog::kCopy:
    case TPreloadDialog::kData:
    case TPreloadDialog::kArray:
      return level > 1;
    case TPreloadDialog::kGeneral:
    case TPreloadDialog::kAudit:
    case TPreloadDialog::kGraphSettings:
    case TPreloadDialog::kMerge:
    case TPreloadDialog::kPrint:
      return level > 0;
    case TPreloadDialog::kProperties:
    case TPreloadDialog::kGraphWindow:
      return true;
  }
  return false;
}

bool SplashMustWait(std::uint32_t start, std::uint32_t now) {
  std::uint32_t elapsed = now - start;
  // A tick count read before the start (a clock that went back) counts the
  // same distance, as the absolute difference.
  std::uint32_t back = start - now;
  return std::min(elapsed, back) <= kSplashMilliseconds;
}

bool OpenFirstDocument(TFileCommands& commands, std::string_view startFile, bool newSheet, bool ownStartFile) {
  // A file named on the command line is the one File Open would read for
  // that name (".WKS" added when it has none); one that is missing says so.
  if (FileExists(ownStartFile ? std::string(startFile) : WksFileName(startFile))) {
    SetAutoExecMode(true);
    if (ownStartFile ? commands.OpenStartUpWorksheet(startFile) : commands.OpenFile(startFile)) return true;
    SetAutoExecMode(false);
  } else if (!ownStartFile && !startFile.empty()) {
    ShowError(kFileNotFoundText + std::string(startFile));
  }
  if (newSheet) return commands.New();
  return false;
}

bool OpenNamedFile(TFileCommands& commands, std::string_view name) {
  std::string problem = StartFileProblem(name);
  if (problem.empty() && !FileExists(WksFileName(name))) problem = kFileNotFoundText + std::string(name);
  if (!problem.empty()) {
    ShowError(problem);
    return false;
  }
  return commands.OpenFile(name);
}

std::string EncodeHandOver(std::string_view fileName) { return std::string(kHandOverTag) + std::string(fileName); }

bool DecodeHandOver(std::string_view data, std::string& fileName) {
  if (data.substr(0, kHandOverTag.size()) != kHandOverTag) return false;
  std::string_view name = data.substr(kHandOverTag.size());
  // The sender may have added the C string's 0 byte.
  if (!name.empty() && name.back() == '\0') name.remove_suffix(1);
  if (name.find('\0') != std::string_view::npos) return false;
  fileName = std::string(name);
  return true;
}

}  // namespace corvane
