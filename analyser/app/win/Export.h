// The exports of scanned data on Windows: a snapshot of a tree branch for
// the portable text builders, the clipboard, the report file, the file list
// read from disk, and the spreadsheet built in a spreadsheet application
// through OLE Automation.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "analyser/app/ExportText.h"
#include "analyser/app/win/Automation.h"
#include "classlib/win/TreeView.h"

namespace foldwick {

struct TScanRoot;

// The branch of `node` as the exports see it: the node, and below it the
// children of every expanded node. With `allChildren` the node's own children
// are taken even when it is collapsed (a printed report lists them always).
TReportNode SnapshotBranch(classlib::TTreeNode* node, bool allChildren = false);

// The exports' texts are UTF-8 throughout. The snapshot's names are the wide
// names of the folders, and its date texts converted from the ANSI code page.
//
// The path a root's children start from: its file-system path, or its
// display path when it has none.
std::string RootPathOf(const TScanRoot& root);
// The root's caption, its display name + " on [" + volume + "]".
std::string RootCaptionOf(const TScanRoot& root);

// The clipboard's text, and putting text there; false when the clipboard
// cannot be opened (another program holds it) or has no text.
bool ReadClipboardText(std::string& text);
bool WriteClipboardText(const std::string& text);
// Puts UTF-8 text on the clipboard as Unicode text, with its ANSI form
// beside it for programs that read only that.
bool WriteClipboardUtf8Text(const std::string& text);

// Writes the UTF-8 `text` to `fileName` (UTF-8), after the UTF-8 byte-order
// mark when the file is new or empty; appended when `append` is set and the file
// exists (a file that cannot be opened for appending is created). False with
// `error` set when the file cannot be created or written; what was in the file
// before stays.
bool SaveTextToFile(const std::string& fileName, const std::string& text, bool append, std::string& error);

// The file list of the tree below `path` read from disk with the wide find
// functions in the long-path form, with the given filter patterns (ANSI), so
// that no file is lost to its folder's name or depth. The text is UTF-8.
std::string ReadFileList(const std::wstring& path, const std::vector<std::string>& patterns, bool split, bool header,
                         const std::string& title);

// What a spreadsheet export needs besides the tree.
struct TSpreadsheetExport {
  TExportOptions options;
  // The detail list's captions in display order, the first included, with
  // each column's index (1 size, 2 allocated, 4 wasted and 5 percent get
  // number formats).
  std::vector<std::pair<std::string, int>> columns;
  std::string rootCaption;
  std::string rootPath;
  std::string date;       // the current date's text for the title row
  std::string fileName;   // save the workbook under it; empty: leave it open to the user
};

enum class TSpreadsheetResult { srDone, srNotInstalled, srOleError };

// "Excel is not correctly installed!" and the Automation failure's message.
extern const char kSpreadsheetMissingText[];
extern const char kSpreadsheetOleErrorText[];

// Builds the spreadsheet of `root` in the spreadsheet application reached by
// its ProgIDs. `application` keeps its application object (to quit it after a
// command-line export). The clipboard carries the rows into the sheet; the
// user's clipboard text is put back afterwards. On an Automation failure the
// application is made interactive again.
TSpreadsheetResult ExportToSpreadsheet(const TReportNode& root, const TSpreadsheetExport& what, TAutoObject& application);

}  // namespace foldwick
