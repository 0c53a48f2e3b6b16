// The texts the analyser exports: the tab-separated report of the expanded
// part of a branch (clipboard and text file), the payload pasted into a
// spreadsheet, and the list of every file below a folder. They are built from
// a snapshot of the tree, so they need no window and no shell.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "analyser/app/FolderValues.h"
#include "analyser/app/ScanRules.h"

namespace foldwick {

// One node of the folder tree as the exports see it. `children` holds the
// node's children in tree order; the snapshot fills them for an expanded node
// (and for the top node of a printed report), and leaves them empty otherwise.
struct TReportNode {
  std::string name;  // the display name
  TFolderTotals totals;
  TValueContext context;
  std::string lastAccess;  // date texts, empty when unknown
  std::string lastChange;
  bool expanded = false;
  bool isFilesNode = false;
  std::vector<TReportNode> children;
};

// What the report texts depend on besides the tree.
struct TExportOptions {
  bool split = false;   // "Split Name and Path": name and parent path apart
  bool header = false;  // "Include Header"
  std::string title;    // the application title
  // The detail list's column captions after the first, in display order.
  std::vector<std::string> columnCaptions;
  TValueFormat format;
};

// The column part of the header line: a tab and each caption.
std::string BuildColumnHeaderLine(const std::vector<std::string>& captions);

// The first field(s) of a row: with split the name, a tab and the parent
// path; otherwise the parent path followed by the name.
std::string NameAndPath(const std::string& name, const std::string& parentPath, bool split);

// One report row without its line end: name and path, then size, allocated,
// objects, wasted and percent as display texts without padding, then the two
// date texts, all separated by tabs.
std::string ReportRow(const TReportNode& node, const std::string& parentPath, bool split, const TValueFormat& format);

// The clipboard report of a root: the optional header (title, " Report, ",
// the root's caption and the column header line), the root's row and, while
// expanded, its children's; the children's paths start from `rootPath`
// (the root's file-system path, or its name without one) and "\".
std::string ClipboardReport(const TReportNode& root, const std::string& rootCaption, const std::string& rootPath,
                            const TExportOptions& options);

// The report of a node as written to a text file: the optional header block,
// the node's row and, while expanded, its children's, their paths starting
// from the node's name.
std::string FileReport(const TReportNode& node, const std::string& rootCaption, const TExportOptions& options);

// The rows pasted into a spreadsheet, one per node separated by line feeds:
// name and path as in the report, then size, allocated and wasted as plain
// numbers with six decimals in KB (MB in unit type MB), the object count, the
// percent as a fraction with two decimals and the two date texts.
std::string SpreadsheetRows(const TReportNode& root, const std::string& rootPath, bool split, const TValueFormat& format);

// The spreadsheet's number formats: the size columns `0.00 "kb"` (or "MB" in
// unit type MB) and the percent column `0.0%`, with the user's decimal
// separator.
std::string SizeColumnFormat(int unitType, const std::string& decimalSeparator);
std::string PercentColumnFormat(const std::string& decimalSeparator);

// A path with a "\" at its end (an empty path stays empty).
std::string WithTrailingBackslash(const std::string& path);

// The entries of `folder` (ending in "\") matching `pattern`. An unreadable
// folder gives none.
using TFolderLister = std::function<std::vector<TDirEntry>(const std::string& folder, const std::string& pattern)>;
// The date text of a file time, empty when unknown.
using TTimeText = std::function<std::string(TFileTime)>;

// The file list of the tree below `path`: for each folder, every file matching
// any of `patterns` once (in pattern order), then each subfolder the same way.
// Entries the scan passes over ("." and "..", links and junctions) are passed
// over here too, so a junction that leads back up the tree is not followed.
// Sizes are whole byte counts. With `header` the title line and the column
// line come first.
std::string BuildFileList(const std::string& path, const std::vector<std::string>& patterns, bool split, bool header,
                          const std::string& title, const TFolderLister& lister, const TTimeText& timeText);

}  // namespace foldwick
