// The analyser's command line as a list of actions. Parsing needs no system:
// whether a path names a folder is found out by whoever carries the actions
// out, in order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace foldwick {

// What a scan does when it ends (set by "/EXCEL", "/SAVE" and "/PRINT").
constexpr int kActionNone = 0;
constexpr int kActionExport = 1;
constexpr int kActionSaveReport = 2;
constexpr int kActionPrint = 3;

struct TCommandAction {
  enum TKind : std::uint8_t {
    // The Explorer's folder verb: scan the item id list the shell shares
    // under Handle for process ProcessId. When it can be read and scanned,
    // the command line ends here.
    kScanSharedIdList,
    // The path the Explorer's verb passes beside the item id list: when it
    // names a folder it is scanned and the command line ends here.
    kScanVerbPath,
    // Scan Path (a folder that cannot be found is reported and the actions
    // go on); the scan then carries out PendingAction with ActionFile.
    kScanPath,
    // Expand the tree to Level when a scan ends.
    kSetExpandLevel,
    // Open the file search window.
    kOpenSearch,
    // Let the user pick a folder to scan.
    kBrowseFolder,
  };

  TKind Kind = kScanPath;
  std::string Path;
  std::uint32_t Handle = 0;
  std::uint32_t ProcessId = 0;
  int Level = 0;
  int PendingAction = kActionNone;
  std::string ActionFile;

  bool operator==(const TCommandAction&) const = default;
};

// The actions of the parameters (without the program name). Switches are
// case-insensitive; paths keep their case.
//
// "/idlist P2 P3" first: P2 of the form ":handle:process" gives
// kScanSharedIdList; P3 gives kScanVerbPath. A number in P2 (the older form,
// an address in the Explorer's memory) is never used: only the shared form
// is. The general actions of all parameters follow, for when neither of
// those finds a folder.
//
// The general loop keeps a current action and file ("/EXCEL f", "/SAVE f",
// "/PRINT") for every later path, "/EXPAND n" sets the expand level (99 when
// no number follows, which is then not used up), "/SEARCH" opens the search,
// "/CONTEXT" asks for a folder at the end unless a path follows it, "/NONE"
// is passed over. "/EXCEL" or "/SAVE" with no parameter after it changes
// nothing.
std::vector<TCommandAction> ParseCommandLine(const std::vector<std::string>& params);

// A whole decimal number with an optional sign and nothing else; false for
// anything else, or one outside the 32-bit range.
bool ParseWholeNumber(const std::string& text, int& value);

}  // namespace foldwick
