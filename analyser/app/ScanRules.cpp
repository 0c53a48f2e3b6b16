// Cluster policy, counting rules, filter patterns and orders of the scan.
#include "analyser/app/ScanRules.h"

#include <algorithm>
#include <cctype>

namespace foldwick {

namespace {
std::string Upper(std::string_view s) {
  std::string u(s);
  for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return u;
}

std::int64_t ClampCluster(std::int64_t size) { return size < 512 || size > 33000 ? 512 : size; }

int Sign(std::int64_t v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

// Blanks and control characters, the characters trimming removes.
bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= ' '; }
}  // namespace

TClusterChoice ChooseClusterSize(const TVolumeFacts& volume, bool userDefined, std::int64_t userClusterSize) {
  TClusterChoice choice;
  choice.fileSystem = userDefined ? "User Defined" : volume.fileSystem;
  choice.freeSpaceOk = volume.freeSpaceOk;
  if (!volume.freeSpaceOk) {
    choice.clusterSize = userDefined ? ClampCluster(userClusterSize) : 512;
    choice.fileSystem = "Unknown FS";
    return choice;
  }
  choice.bytesPerSector = volume.bytesPerSector;
  choice.sectorsPerCluster = volume.sectorsPerCluster;
  if (userDefined) {
    choice.clusterSize = ClampCluster(userClusterSize);
    return choice;
  }
  const std::int64_t unit = std::int64_t{volume.bytesPerSector} * volume.sectorsPerCluster;
  if (unit >= 1) {
    choice.clusterSize = unit;
  } else {
    const std::string name = Upper(volume.fileSystem);
    choice.clusterSize = ClampCluster(name == "FAT32" ? 4096 : std::int64_t{volume.bytesPerSector});
  }
  if (volume.compressed) {
    choice.clusterSize = 1;
    choice.fileSystem += " Compressed";
  }
  return choice;
}

std::int64_t RoundedKB(std::uint64_t bytes) { return static_cast<std::int64_t>(bytes / 1024 + (bytes % 1024 >= 512)); }

TDriveSpace DriveSpaceFromBytes(std::uint64_t totalBytes, std::uint64_t freeBytes) {
  return {RoundedKB(totalBytes), RoundedKB(freeBytes)};
}

TDriveSpace DriveSpaceFromClusters(std::uint32_t bytesPerSector, std::uint32_t sectorsPerCluster,
                                   std::uint32_t totalClusters, std::uint32_t freeClusters) {
  const std::uint64_t cluster = std::uint64_t{bytesPerSector} * sectorsPerCluster;
  return DriveSpaceFromBytes(cluster * totalClusters, cluster * freeClusters);
}

std::int64_t FileClusters(std::uint64_t size, std::int64_t clusterSize) {
  const auto c = static_cast<std::uint64_t>(std::max<std::int64_t>(clusterSize, 1));
  return static_cast<std::int64_t>(size / c + (size % c != 0));
}

TEntryKind ClassifyEntry(const TDirEntry& entry) {
  if (entry.name == "." || entry.name == "..") return TEntryKind::kSkip;
  if (entry.attributes & kAttrReparsePoint) return TEntryKind::kSkip;
  return (entry.attributes & kAttrDirectory) ? TEntryKind::kFolder : TEntryKind::kFile;
}

TFileCounter::TFileCounter(std::int64_t clusterSize, bool countEmptyFiles, bool oneListing)
    : clusterSize_(std::max<std::int64_t>(clusterSize, 1)), countEmptyFiles_(countEmptyFiles), oneListing_(oneListing) {}

bool TFileCounter::AddFile(const TDirEntry& entry) {
  if (ClassifyEntry(entry) != TEntryKind::kFile) return false;
  if (entry.size == 0 && !countEmptyFiles_) return false;
  // The same entry comes back under the same name from every pattern.
  if (!oneListing_ && !seenFiles_.insert(entry.name).second) return false;
  totals_.clusters += FileClusters(entry.size, clusterSize_);
  totals_.tailBytes += static_cast<std::int64_t>(entry.size % static_cast<std::uint64_t>(clusterSize_));
  totals_.bytes += static_cast<std::int64_t>(entry.size);
  totals_.objects += 1;
  if (IsNewerTime(entry.lastAccess, newestAccess_)) newestAccess_ = entry.lastAccess;
  if (IsNewerTime(entry.lastWrite, newestChange_)) newestChange_ = entry.lastWrite;
  return true;
}

bool TFileCounter::FirstSighting(const std::string& name) { return seenFolders_.insert(name).second; }

std::vector<std::string> SplitFilterPatterns(std::string_view text, int maximum) {
  std::vector<std::string> patterns;
  while (!text.empty() && IsTrimmed(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsTrimmed(text.back())) text.remove_suffix(1);
  while (static_cast<int>(patterns.size()) < maximum && !text.empty()) {
    size_t blank = text.find(' ');
    patterns.emplace_back(text.substr(0, blank));
    text = blank == std::string_view::npos ? std::string_view() : text.substr(blank);
    while (!text.empty() && IsTrimmed(text.front())) text.remove_prefix(1);
  }
  if (patterns.empty()) patterns.emplace_back("*");
  return patterns;
}

bool IsRecycleFolderPath(std::string_view path) {
  size_t slash = path.find('\\');
  return slash != std::string_view::npos && Upper(path.substr(slash + 1, 6)) == "RECYCL";
}

int ProgressImage(std::int64_t progress, std::int64_t topLevelFolders) {
  if (topLevelFolders <= 0) return 15;
  return static_cast<int>(std::clamp<std::int64_t>(progress * 15 / topLevelFolders + 1, 1, 15));
}

int CompareBySize(const TFolderTotals& a, const TFolderTotals& b, int viewType, std::int64_t clusterSize) {
  const std::int64_t c = std::max<std::int64_t>(clusterSize, 1);
  switch (viewType) {
    case kViewSize:
    case kViewCdRom: return Sign(b.bytes - a.bytes);
    case kViewAllocated:
    case kViewPercent: return Sign(b.clusters - a.clusters);
    case kViewWasted: return Sign((b.clusters * c - b.bytes) - (a.clusters * c - a.bytes));
    default: return 0;
  }
}

bool IsBoldFolder(std::int64_t clusters, std::int64_t rootClusters, int boldFactor) {
  if (boldFactor >= 100) return false;
  return static_cast<double>(clusters) > static_cast<double>(rootClusters) * boldFactor * 0.01;
}

}  // namespace foldwick
