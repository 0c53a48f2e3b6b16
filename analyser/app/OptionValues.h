// The options dialog as a value: the fields it edits, filled from the
// program's settings, checked, and applied back, with what each scanned root
// must do afterwards. The dialog only copies its controls to and from it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analyser/app/ViewSettings.h"

namespace foldwick {

// The cluster-size choices; the first keeps each drive's own size.
constexpr const char* kClusterSizeItems[] = {
    "Original",
    "    512 Bytes (NTFS, Floppy)",
    "  1024 Bytes",
    "  2048 Bytes (CD-ROM)",
    "  4096 Bytes (FAT 128-255 MB, FAT32)",
    "  8192 Bytes (FAT 256-511 MB)",
    "16384 Bytes (FAT 512-1023 MB)",
    "32768 Bytes (FAT 1024-2047 MB)",
};
constexpr int kClusterSizeItemCount = sizeof kClusterSizeItems / sizeof kClusterSizeItems[0];

// The number an item opens with (the text before "B", trimmed); 0 for one
// without a number ("Original").
std::int64_t ClusterSizeOfItem(const std::string& item);

// Whether the bold-factor box takes a typed character: digits and control
// keys pass, other characters from 32 to 47 and above 57 are dropped.
bool BoldFactorKeyAllowed(char key);

// A detail-list column as the dialog shows it.
struct TOptionColumn {
  std::string caption;
  bool visible = false;
};

struct TOptionValues {
  int unitType = kUnitMB;     // 0 MB only, 1 mixed, 2 KB only
  int decimals = 1;           // shown decimals, 0 to 3
  int boldFactor = 15;        // percent, 0 to 100
  bool showFiles = true;
  bool chartToolBar = false;
  std::string filterText;     // the patterns joined with blanks
  int clusterChoice = 0;      // index into kClusterSizeItems
  bool showErrors = true;
  std::vector<TOptionColumn> columns;

  // Brings every field into its range (as the controls would).
  void Validate();
};

// The values the dialog opens with. `columnWidths` are the detail list's,
// by column; a column wider than 2 pixels is checked.
TOptionValues OptionValuesFrom(const TViewSettings& view, bool chartToolBar, bool showErrors,
                               const std::vector<std::string>& columnCaptions, const std::vector<int>& columnWidths);

// What OK changed, and what each root does about it.
struct TOptionChanges {
  bool displayChanged = false;    // unit, decimals or bold factor
  bool showFilesChanged = false;
};

// Applies validated values to the settings and the column widths: unchecked
// columns get width 0, checked ones of width 2 or less width 90; the filter
// becomes at most 63 patterns ("*" for none).
TOptionChanges ApplyOptionValues(const TOptionValues& values, TViewSettings& view, std::vector<int>& columnWidths);

enum class TRootOption : std::uint8_t { kNothing, kRescan, kRefreshTexts, kApplyShowFiles };
// What a root does after OK: a rescan when the OK button read "&Scan", else
// new texts when the display changed, else its "<Files>" nodes.
TRootOption RootOptionOf(bool scan, const TOptionChanges& changes);

// A root's file system and cluster size before its rescan: "Original" clears
// "User Defined" so that the drive is read again; a size makes it the root's
// with the file system "User Defined".
void ApplyClusterChoice(int clusterChoice, std::string& fileSystem, std::int64_t& clusterSize);

}  // namespace foldwick
