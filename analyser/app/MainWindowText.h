// What the main window shows as text and how its detail list orders rows:
// the status panels, the caption, the size captions of the tree commands,
// and the list comparison. Plain functions of plain data.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "analyser/app/FolderValues.h"

namespace foldwick {

// What the status bar shows of a root.
struct TRootStatus {
  std::int64_t freeKB = 0;
  std::int64_t totalKB = 0;
  std::int64_t objects = 0;      // the root's, its own folder included
  std::int64_t clusterSize = 0;  // what the root's arithmetic uses
  std::string fileSystem;
};

// Panel 0: "Free Space: " and, when the total is above 0, the free space
// "x MB (of y MB)"; empty without a root.
std::string FreeSpaceText(const TRootStatus* root, const TNumberFormat& format);
// Panel 1: the objects below the root's own folder, "n Objects"; "0 Objects"
// without a root.
std::string ObjectsText(const TRootStatus* root, const TNumberFormat& format);
// Panel 3 without a hint: the cluster size the figures are computed with,
// "n Bytes per Cluster (file system)"; empty without a root.
std::string ClusterText(const TRootStatus* root);

// The window caption: the title, the first two filter patterns when the
// first is neither "*" nor "*.*", then the view type's suffix.
std::string WindowCaption(const std::string& title, const std::vector<std::string>& patterns, int viewType);

// The answer of "Set Size": its leading whole number (after an optional
// sign), made positive; false when it starts with no digit.
bool ParseSetSize(const std::string& answer, int& size);
// A size command's caption with a new size: the text up to `marker` ("<" or
// ":", a blank after ":"), the size and " MB". A caption without the marker
// gets it appended.
std::string SizeCaption(const std::string& caption, char marker, int sizeMB);
// "&Count Folders"'s message.
std::string CountFoldersText(const std::string& rootName, std::int64_t folders);

// One row of the detail list as the comparison sees it.
struct TDetailRow {
  bool isFolder = true;  // a folder row (state image 3), not a file
  std::string caption;
  TFolderTotals totals;
  TFileTime lastAccess = 0;
  TFileTime lastChange = 0;
};

// The detail list's order by column: 0 folders first, then by caption (by
// `compareCaptions`); 1 by size, 2 and 5 by clusters, 3 by objects, 4 by
// wasted bytes, all largest first; 6 and 7 by the high word of the last
// access and change, oldest first; any other column keeps the order (0).
int CompareDetailRows(const TDetailRow& a, const TDetailRow& b, int column, std::int64_t clusterSize,
                      const std::function<int(const std::string&, const std::string&)>& compareCaptions);

// The captions and default widths of the detail list's columns.
struct TDetailColumn {
  const char* caption;
  int width;
  bool rightAligned;
};
constexpr TDetailColumn kDetailColumns[] = {
    {"Name", 150, false},       {"Size  ", 90, true},       {"Allocated  ", 90, true}, {"Objects", 60, true},
    {"Wasted  ", 80, true},     {"% of Parent", 70, true},  {"Last Access", 100, true}, {"Last Change", 100, true},
};
constexpr int kDetailColumnCount = sizeof kDetailColumns / sizeof kDetailColumns[0];

}  // namespace foldwick
