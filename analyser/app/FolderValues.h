// The figures shown for a folder: its counters, the six view types in three
// units, and their display texts. Everything here is plain data and arithmetic;
// the tree and the shell only feed it.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace foldwick {

// View types, numbered as the program stores them.
constexpr int kViewSize = 1;
constexpr int kViewAllocated = 2;
constexpr int kViewPercent = 3;
constexpr int kViewWasted = 4;
constexpr int kViewCdRom = 5;
constexpr int kViewObjects = 6;

// Unit types: MB, KB up to 102400 KB and MB above, KB.
constexpr int kUnitMB = 0;
constexpr int kUnitMixed = 1;
constexpr int kUnitKB = 2;

// The window-title suffix of a view type (" - (Size)"), empty for the others.
const char* ViewCaptionSuffix(int viewType);

// A branch's totals at one moment. Each file takes the clusters its size fills
// (an exact multiple of the cluster size takes no extra one), each folder one;
// tail bytes are the sizes modulo the cluster size; bytes the sizes themselves.
struct TFolderTotals {
  std::int64_t clusters = 0;
  std::int64_t tailBytes = 0;
  std::int64_t objects = 0;
  std::int64_t bytes = 0;

  TFolderTotals& operator+=(const TFolderTotals& o) {
    clusters += o.clusters;
    tailBytes += o.tailBytes;
    objects += o.objects;
    bytes += o.bytes;
    return *this;
  }
  TFolderTotals operator-(const TFolderTotals& o) const {
    return {clusters - o.clusters, tailBytes - o.tailBytes, objects - o.objects, bytes - o.bytes};
  }
  bool operator==(const TFolderTotals&) const = default;
};

// A FILETIME as one number: 100 ns ticks since 1601.
using TFileTime = std::uint64_t;

// Of two file times, the newer by their high 32-bit words only (read signed);
// on equal high words the current one stays.
inline bool IsNewerTime(TFileTime candidate, TFileTime current) {
  return static_cast<std::int32_t>(candidate >> 32) > static_cast<std::int32_t>(current >> 32);
}

// The counters of one tree node. The scan thread writes them while the main
// thread reads them for display, so each is atomic; readers may see a branch
// half counted.
struct TFolderCounts {
  std::atomic<std::int64_t> clusters{0};
  std::atomic<std::int64_t> tailBytes{0};
  std::atomic<std::int64_t> objects{0};
  std::atomic<std::int64_t> bytes{0};
  // The folder's own files only; ownFiles is -1 until they were counted.
  std::atomic<std::int64_t> ownClusters{0};
  std::atomic<std::int64_t> ownTailBytes{0};
  std::atomic<std::int64_t> ownBytes{0};
  std::atomic<std::int64_t> ownFiles{-1};
  // The newest last-access and last-write times of any file in the branch.
  std::atomic<TFileTime> lastAccess{0};
  std::atomic<TFileTime> lastChange{0};

  TFolderTotals Totals() const;
  void SetTotals(const TFolderTotals& t);
  void AddTotals(const TFolderTotals& t);
  // Own files as totals (objects = own files, never below 0).
  TFolderTotals OwnTotals() const;
  void SetOwn(const TFolderTotals& t);
  // Raises the two times to the given ones where those are newer.
  void RaiseTimes(TFileTime access, TFileTime change);
};

// What a value depends on besides the node's totals.
struct TValueContext {
  std::int64_t clusterSize = 512;  // the root's; values below 1 count as 1
  bool scanRunning = false;        // the root's scan is running
  std::int64_t parentClusters = 0; // the parent's clusters, the node's own for a root
};

// The value of a view type: KB for the size views (divided once more to MB in
// unit type 0), a percentage for view 3 (-1 while the scan runs), a count for
// view 6, 0 for an unknown view type.
double GetFolderValue(const TFolderTotals& t, const TValueContext& context, int viewType, int unitType);

// Separators of the user's number format.
struct TNumberFormat {
  std::string thousandSeparator = ",";
  std::string decimalSeparator = ".";
};

// `value` with `decimals` places (half away from zero) and thousands
// separators. Negative places count as 0.
std::string FormatNumber(double value, int decimals, const TNumberFormat& format);

// Pixel widths for right-aligning numbers in a proportional font: one space,
// the text "123 MB", and a measure for any text (null: one unit per character).
struct TPadMetrics {
  int spaceWidth = 1;
  int unitWidth = 6;
  std::function<int(const std::string&)> textWidth;
};

// How values are shown: the unit type, the number of decimals plus one (1 to
// 4), the number format and the padding metrics.
struct TValueFormat {
  int unitType = kUnitMB;
  int decimals = 2;
  TNumberFormat number;
  TPadMetrics pad;
};

// The display text of a value of `viewType` (from GetFolderValue with
// format.unitType): empty for a negative value; a count for view 6; otherwise
// the number with " %", " MB" or " kb". With `pad`, leading spaces right-align
// it and two spaces follow, as tree texts need.
std::string FormatFolderValue(double value, int viewType, bool pad, const TValueFormat& format);

// n spaces; none for n below 1.
std::string Spaces(int n);

// A folder name with the marks of its state: " [Error!]" when enumerating its
// subfolders failed, then "  <==" while it is new.
std::string MarkFolderName(const std::string& name, bool hasError, bool isNew);

}  // namespace foldwick
