// The rules of the folder scan that need no system: the cluster size of a
// volume, drive space in KB, how a folder's directory entries are counted,
// the filter patterns, the progress image and the size order of the tree.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "analyser/app/FolderValues.h"

namespace foldwick {

// What the system reported about a volume.
struct TVolumeFacts {
  bool freeSpaceOk = false;  // the free-space query answered
  std::uint32_t bytesPerSector = 0;
  std::uint32_t sectorsPerCluster = 0;
  std::string fileSystem;  // the volume information's name, empty when none
  bool compressed = false;
};

// The cluster size and file-system text a root works with.
struct TClusterChoice {
  std::int64_t clusterSize = 512;
  std::string fileSystem;
  std::uint32_t bytesPerSector = 512;
  std::uint32_t sectorsPerCluster = 1;
  bool freeSpaceOk = false;
};

// The cluster size is the volume's allocation unit (bytes per sector times
// sectors per cluster). Only when the system gives none does the table by
// file-system name stand in ("FAT32" 4096, "CDFS" and other names the bytes
// per sector, sizes outside 512..33000 becoming 512). A failed query gives
// 512 and "Unknown FS"; a compressed volume counts with 1 and " Compressed".
// A user-defined size (file system "User Defined") is kept, within 512..33000.
TClusterChoice ChooseClusterSize(const TVolumeFacts& volume, bool userDefined, std::int64_t userClusterSize);

// Bytes as KB, rounded to the nearest.
std::int64_t RoundedKB(std::uint64_t bytes);

// Total and free space of a drive in KB.
struct TDriveSpace {
  std::int64_t totalKB = 0;
  std::int64_t freeKB = 0;
};
TDriveSpace DriveSpaceFromBytes(std::uint64_t totalBytes, std::uint64_t freeBytes);
TDriveSpace DriveSpaceFromClusters(std::uint32_t bytesPerSector, std::uint32_t sectorsPerCluster,
                                   std::uint32_t totalClusters, std::uint32_t freeClusters);

// The clusters a file of `size` bytes fills: an exact multiple of the cluster
// size fills size / cluster clusters, anything else one more.
std::int64_t FileClusters(std::uint64_t size, std::int64_t clusterSize);

// A directory entry as the find functions report it.
constexpr std::uint32_t kAttrDirectory = 0x10;
constexpr std::uint32_t kAttrReparsePoint = 0x400;
struct TDirEntry {
  std::string name;
  std::uint32_t attributes = 0;
  std::uint64_t size = 0;
  TFileTime lastAccess = 0;
  TFileTime lastWrite = 0;
};

enum class TEntryKind { kFile, kFolder, kSkip };
// "." and "..", and links and junctions (reparse points), are skipped; the
// rest are files or folders.
TEntryKind ClassifyEntry(const TDirEntry& entry);

// Counts the files of one folder as they come from one or more pattern
// searches. A file found by two patterns counts once.
class TFileCounter {
 public:
  // With countEmptyFiles, a zero-byte file counts as an object (recycle-bin
  // folders); otherwise it is left out like every file of size 0. With
  // oneListing the entries all come from one listing, where no name comes
  // twice, and names are neither needed nor kept.
  TFileCounter(std::int64_t clusterSize, bool countEmptyFiles, bool oneListing = false);

  // Counts a file entry; false when it was not counted.
  bool AddFile(const TDirEntry& entry);
  // True the first time a name is offered, so a folder found by two patterns
  // is visited once.
  bool FirstSighting(const std::string& name);

  const TFolderTotals& Totals() const { return totals_; }
  TFileTime NewestAccess() const { return newestAccess_; }
  TFileTime NewestChange() const { return newestChange_; }

 private:
  std::int64_t clusterSize_;
  bool countEmptyFiles_;
  bool oneListing_;
  TFolderTotals totals_;
  TFileTime newestAccess_ = 0;
  TFileTime newestChange_ = 0;
  std::unordered_set<std::string> seenFiles_;
  std::unordered_set<std::string> seenFolders_;
};

// The filter patterns of a text: split at blanks, at most `maximum` of them;
// "*" alone when the text holds none.
std::vector<std::string> SplitFilterPatterns(std::string_view text, int maximum);

// A recycle-bin folder: the six characters after the path's first "\" read
// "RECYCL" in any case.
bool IsRecycleFolderPath(std::string_view path);

// The state image of a scanning root: 1 when it starts, rising with the
// finished top-level folders, never above 15 (the control's last image).
int ProgressImage(std::int64_t progress, std::int64_t topLevelFolders);

// The tree's size order for sort type 2 (largest first) in a view type:
// views 1 and 5 by size, 2 and 3 by clusters, 4 by wasted bytes; negative
// when a comes first, 0 for the other views.
int CompareBySize(const TFolderTotals& a, const TFolderTotals& b, int viewType, std::int64_t clusterSize);

// A folder shows bold when its clusters are more than `boldFactor` percent of
// its root's; a factor of 100 or more never does.
bool IsBoldFolder(std::int64_t clusters, std::int64_t rootClusters, int boldFactor);

}  // namespace foldwick
