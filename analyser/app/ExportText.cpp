// Report, spreadsheet and file-list texts.
#include "analyser/app/ExportText.h"

#include <set>

namespace foldwick {

namespace {

constexpr char kLineEnd[] = "\r\n";

// The values of a row in their fixed order.
constexpr int kRowViews[] = {kViewSize, kViewAllocated, kViewObjects, kViewWasted, kViewPercent};

// Appends the node's children (while it is expanded) and theirs, each row
// made by `row` and followed by `separator`.
template <class RowFn>
void AppendChildren(std::string& out, const TReportNode& node, const std::string& path, const RowFn& row,
                    const char* separator) {
  if (!node.expanded) return;
  for (const TReportNode& child : node.children) {
    out += row(child, path);
    out += separator;
    AppendChildren(out, child, path + child.name + "\\", row, separator);
  }
}

std::string ColumnHeader(const TExportOptions& options) {
  std::string line = "Folder";
  if (options.split) line += "\tPath";
  return line + BuildColumnHeaderLine(options.columnCaptions);
}

}  // namespace

std::string BuildColumnHeaderLine(const std::vector<std::string>& captions) {
  std::string line;
  for (const std::string& caption : captions) line += "\t" + caption;
  return line;
}

std::string NameAndPath(const std::string& name, const std::string& parentPath, bool split) {
  return split ? name + "\t" + parentPath : parentPath + name;
}

std::string WithTrailingBackslash(const std::string& path) {
  if (path.empty() || path.back() == '\\') return path;
  return path + "\\";
}

std::string ReportRow(const TReportNode& node, const std::string& parentPath, bool split, const TValueFormat& format) {
  std::string row = NameAndPath(node.name, parentPath, split);
  for (int view : kRowViews)
    row += "\t" + FormatFolderValue(GetFolderValue(node.totals, node.context, view, format.unitType), view, false, format);
  return row + "\t" + node.lastAccess + "\t" + node.lastChange;
}

std::string ClipboardReport(const TReportNode& root, const std::string& rootCaption, const std::string& rootPath,
                            const TExportOptions& options) {
  std::string out;
  if (options.header)
    out += options.title + " Report, " + kLineEnd + rootCaption + kLineEnd + kLineEnd + ColumnHeader(options) + kLineEnd;
  const auto row = [&](const TReportNode& n, const std::string& path) {
    return ReportRow(n, path, options.split, options.format);
  };
  out += row(root, "") + kLineEnd;
  AppendChildren(out, root, WithTrailingBackslash(rootPath), row, kLineEnd);
  return out;
}

std::string FileReport(const TReportNode& node, const std::string& rootCaption, const TExportOptions& options) {
  std::string out;
  if (options.header) {
    out += kLineEnd;
    out += options.title + " Report, " + kLineEnd;
    out += "  " + rootCaption + kLineEnd;
    out += kLineEnd;
    out += ColumnHeader(options) + kLineEnd + kLineEnd;
  }
  const auto row = [&](const TReportNode& n, const std::string& path) {
    return ReportRow(n, path, options.split, options.format);
  };
  out += row(node, "") + kLineEnd;
  AppendChildren(out, node, node.name + "\\", row, kLineEnd);
  return out;
}

std::string SpreadsheetRows(const TReportNode& root, const std::string& rootPath, bool split, const TValueFormat& format) {
  // Sizes go in KB unless the unit type is MB; the mixed type writes KB.
  const int unit = format.unitType == kUnitMB ? kUnitMB : kUnitKB;
  const auto row = [&](const TReportNode& n, const std::string& path) {
    auto value = [&](int view) { return GetFolderValue(n.totals, n.context, view, unit); };
    std::string text = NameAndPath(n.name, path, split);
    text += "\t" + FormatNumber(value(kViewSize), 6, format.number);
    text += "\t" + FormatNumber(value(kViewAllocated), 6, format.number);
    text += "\t" + std::to_string(n.totals.objects);
    text += "\t" + FormatNumber(value(kViewWasted), 6, format.number);
    text += "\t" + FormatNumber(value(kViewPercent) / 100, 2, format.number);
    return text + "\t" + n.lastAccess + "\t" + n.lastChange;
  };
  std::string out = row(root, "") + "\n";
  AppendChildren(out, root, WithTrailingBackslash(rootPath), row, "\n");
  return out;
}

std::string SizeColumnFormat(int unitType, const std::string& decimalSeparator) {
  return "0" + decimalSeparator + "00 \"" + (unitType == kUnitMB ? "MB" : "kb") + "\"";
}

std::string PercentColumnFormat(const std::string& decimalSeparator) { return "0" + decimalSeparator + "0%"; }

namespace {

void ListFolder(std::string& out, const std::string& folder, const std::vector<std::string>& patterns, bool split,
                const TFolderLister& lister, const TTimeText& timeText) {
  // A file that matches two patterns is listed once.
  std::set<std::string> listed;
  for (const std::string& pattern : patterns)
    for (const TDirEntry& file : lister(folder, pattern)) {
      if (ClassifyEntry(file) != TEntryKind::kFile || !listed.insert(file.name).second) continue;
      out += NameAndPath(file.name, folder, split) + "\t" + std::to_string(file.size) + "\t" +
             timeText(file.lastAccess) + "\t" + timeText(file.lastWrite) + kLineEnd;
    }
  for (const TDirEntry& entry : lister(folder, "*"))
    if (ClassifyEntry(entry) == TEntryKind::kFolder)
      ListFolder(out, folder + entry.name + "\\", patterns, split, lister, timeText);
}

}  // namespace

std::string BuildFileList(const std::string& path, const std::vector<std::string>& patterns, bool split, bool header,
                          const std::string& title, const TFolderLister& lister, const TTimeText& timeText) {
  const std::string root = path.empty() ? std::string("\\") : WithTrailingBackslash(path);
  std::string out;
  if (header) {
    out += title + " - File List of " + root + kLineEnd + kLineEnd;
    out += split ? "Name\tPath\tSize in Bytes\tLast Access\tLast Change" : "File\tSize in Bytes\tLast Access\tLast Change";
    out += kLineEnd;
  }
  ListFolder(out, root, patterns, split, lister, timeText);
  return out;
}

}  // namespace foldwick
