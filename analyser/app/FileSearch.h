// The file search's rules: what its parameters mean, which entries go to the
// biggest, oldest and temporary lists, which folders it enters, the texts of
// its rows and status, the saved results, the delete list and the temporary
// patterns kept in the settings. Plain functions of plain data; the worker
// thread and the window only feed them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "analyser/app/FolderValues.h"
#include "analyser/app/Settings.h"

namespace foldwick {

// The oldest test's modes: the combo box's items.
constexpr int kNotAccessed = 0;
constexpr int kNotChanged = 1;

// A day in file-time ticks (100 ns).
constexpr TFileTime kFileTimeDay = 864000000000ull;

// What a search looks for, taken from the window when it starts.
struct TSearchParams {
  TFileTime recentLimit = 0;    // temporary files accessed after it are skipped
  TFileTime dateLimit = 0;      // files older than it are the oldest
  int oldestMode = kNotAccessed;
  std::uint64_t minimumSize = 0;  // files larger than it are the biggest
  bool searchBiggest = false;
  bool searchOldest = false;
  bool searchTemporary = false;

  bool AnyType() const { return searchBiggest || searchOldest || searchTemporary; }
};

// The spin value in KB, or in MB with `megabytes`, as bytes (a negative value
// counts as 0).
std::uint64_t MinimumSizeBytes(int spinValue, bool megabytes);
// A day and a half before `now` (UTC); 0 when `now` is earlier than that.
TFileTime RecentLimit(TFileTime now);

// The tests. Times are compared by their high 32-bit words only, read signed.
// Oldest, not accessed: a known access (high word above 0) before the limit;
// not changed: a last change before it.
bool IsOldestFile(const TSearchParams& p, TFileTime lastAccess, TFileTime lastWrite);
// Larger than the minimum size; a file of exactly the minimum is not.
bool IsBiggestFile(const TSearchParams& p, std::uint64_t size);
// A temporary-pattern match is kept unless it was accessed after the recent
// limit.
bool IsStaleTemporary(const TSearchParams& p, TFileTime lastAccess);

// What the search does with a directory entry.
enum class TEntryRole : std::uint8_t {
  kSkip,   // "." and "..", links, junctions and recycle bins
  kEnter,  // a folder searched in turn
  kTest,   // a file tested against the lists
};
// Folders are entered, never listed themselves: a folder in a result list
// could be sent to the recycle bin whole by "Delete Checked". A recycle bin
// (a name beginning with "RECYCL" in any case) is neither entered nor listed,
// nor is a link or junction, which leads to a folder searched elsewhere or
// back into itself.
TEntryRole RoleOfEntry(const std::string& name, bool isFolder, bool isReparsePoint);

// The FindFirstFile pattern of a temporary pattern: "*" + pattern + "*".
std::string TemporaryMask(const std::string& pattern);

// One found file, as a result row keeps it.
struct TFoundFile {
  std::string name;    // UTF-8
  std::string folder;  // UTF-8, without a trailing "\"
  std::uint64_t size = 0;
  TFileTime lastAccess = 0;
  TFileTime lastWrite = 0;

  std::string FullName() const { return folder + "\\" + name; }
};

// The size column: KB rounded, with " kb" ("0 kb" for an empty file).
std::string FoundSizeText(std::uint64_t size);
// A row's sub-items: folder, size, last change, and last access, or the last
// change again when `timeText` gives the access none. `text` turns a UTF-8
// name into what the list shows.
std::vector<std::string> FoundRowSubItems(const TFoundFile& file,
                                          const std::function<std::string(TFileTime)>& timeText,
                                          const std::function<std::string(const std::string&)>& text);

// The status of a result tab: "n  Objects (x.y MB)" with the size in MB to
// one decimal and `decimalSeparator`; empty without rows. `totalKB` is the
// sum of each row's size in KB, rounded (RoundedKB).
std::string TabStatusText(std::size_t count, std::uint64_t totalKB, const std::string& decimalSeparator);

// The saved results: "title: caption" (the tab caption from its second
// character, without its leading "&"), an empty line, the column captions
// and then each row's fields, every field followed by a tab; lines end in CR LF.
std::string SearchResultsText(const std::string& title, const std::string& tabCaption,
                              const std::vector<std::string>& columns,
                              const std::vector<std::vector<std::string>>& rows);

// The paths for one shell delete, joined by zero characters and ending in an
// extra zero; a path checked in two lists goes once. Empty for no paths.
std::string DeleteList(const std::vector<std::string>& paths);

// The temporary patterns under the search's settings key: values "0", "1",
// ... up to the first empty or missing one, at most kMaxTempPatterns. When
// "0" is empty the defaults are written (with an empty "5") and returned.
constexpr int kMaxTempPatterns = 64;
std::vector<std::string> LoadTempPatterns(TSettingsStore& store);
// Writes the patterns as "0" to count - 1 and empties the value named by the
// count, which ends the list when it is read.
void SaveTempPatterns(TSettingsStore& store, const std::vector<std::string>& patterns);

// The search window's place and size ("SF_Left", "SF_Top", "SF_Width",
// "SF_Height"); a missing or unreadable value keeps its default.
struct TSearchBounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const TSearchBounds&) const = default;
};
TSearchBounds ReadSearchBounds(TSettingsStore& store, const TSearchBounds& defaults);
void WriteSearchBounds(TSettingsStore& store, const TSearchBounds& bounds);

}  // namespace foldwick
