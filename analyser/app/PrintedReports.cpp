// Page layout of the printed reports.
#include "analyser/app/PrintedReports.h"

#include <algorithm>
#include <cmath>

namespace foldwick {

using classlib::TCanvas;

namespace {

// Heights of the fonts, in tenths of a millimetre.
constexpr int kTitleHeight = 58;
constexpr int kVersionHeight = 24;
constexpr int kCaptionHeight = 50;
constexpr int kSummaryHeight = 34;
constexpr int kHeaderHeight = 32;
constexpr int kRowFontHeight = 30;
constexpr int kPageNumberHeight = 30;

constexpr int kRowHeight = 38;
constexpr int kIndent = 25;
// The folder report's columns: header centres and value right edges.
const std::vector<int> kFolderHeaderOffsets = {80, 545, 760, 910, 1100, 1250, 1430, 1650};
constexpr int kValueRights[7] = {600, 810, 970, 1150, 1300, 1490, 1670};
const std::vector<int> kContentsHeaderOffsets = {80, 545, 760, 910, 1100, 1250, 1430, 1650};
constexpr int kNameWidth = 590;
constexpr int kContentsNameWidth = 550;

void SetFont(TCanvas& canvas, const char* name, int height, bool bold) {
  canvas.Font.Name = name;
  canvas.Font.Height = -height;
  canvas.Font.Style = bold ? classlib::fsBold : 0;
  canvas.Font.Color = classlib::clBlack;
}

void TextAt(TCanvas& canvas, int x, int y, const std::string& text, std::uint8_t align) {
  canvas.TextAlign = align | classlib::taTop;
  canvas.TextOut(x, y, text);
}

std::string MB(std::int64_t kb, const TNumberFormat& number) {
  return FormatNumber(std::round(static_cast<double>(kb) / 1024), 0, number) + " MB";
}

}  // namespace

const char* ReportTitleSuffix(TReportKind kind) {
  switch (kind) {
    case TReportKind::rkFolder: return " Report, ";
    case TReportKind::rkChart: return " - Chart   ";
    case TReportKind::rkContents: return " - Folder Contents   ";
  }
  return "";
}

std::array<std::string, 2> SummaryLines(TReportKind kind, const TReportSummary& s, const TValueFormat& format) {
  std::array<std::string, 2> lines;
  auto value = [&](int view) {
    return FormatFolderValue(GetFolderValue(s.totals, s.context, view, format.unitType), view, false, format);
  };
  if (s.driveRoot)
    lines[0] = "[Current Drive]    Size: " + MB(s.driveTotalKB, format.number) +
               "    Used: " + MB(s.driveTotalKB - s.driveFreeKB, format.number) +
               "    Free: " + MB(s.driveFreeKB, format.number) + "    " + s.driveInfo;
  std::string& line = lines[1];
  line = "[Current Folder]  Size: " + value(kViewSize);
  if (s.driveRoot) {
    line += "    Allocated: " + value(kViewAllocated);
    const double allocatedKB = static_cast<double>(s.totals.clusters) * static_cast<double>(s.context.clusterSize) / 1024;
    const double percent = s.driveTotalKB > 0 ? allocatedKB / static_cast<double>(s.driveTotalKB) * 100 : 0;
    line += "    Percent of Drive: " + FormatNumber(std::round(percent), 0, format.number) + " %";
  }
  if (kind == TReportKind::rkChart)
    line += "    Files: " + FormatNumber(static_cast<double>(s.files), 0, format.number);
  else
    line += "    Objects: " + FormatNumber(static_cast<double>(s.totals.objects), 0, format.number);
  if (s.driveRoot) line += "    Wasted Space: " + value(kViewWasted);
  return lines;
}

std::string FitText(TCanvas& canvas, const std::string& text, int width) {
  std::string fitted = text;
  while (!fitted.empty() && canvas.TextWidth(fitted) > width) fitted.pop_back();
  return fitted;
}

TReportPages::TReportPages(TCanvas& canvas, const TPageGeometry& page, std::function<void()> newPage,
                           std::function<void(int)> onPage)
    : canvas_(canvas), page_(page), newPage_(std::move(newPage)), onPage_(std::move(onPage)), y_(page.top) {
  canvas_.Brush.Style = classlib::TBrushStyle::bsClear;
  canvas_.Pen.Color = classlib::clBlack;
  canvas_.Pen.Width = 2;
}

void TReportPages::DrawTitleBlock(const std::array<std::string, 3>& lines, const std::array<std::string, 2>& summary) {
  const int centre = page_.left + page_.UsableWidth() / 2;
  SetFont(canvas_, "Arial", kTitleHeight, true);
  TextAt(canvas_, centre, page_.top, lines[0], classlib::taCenter);
  SetFont(canvas_, "Arial", kVersionHeight, false);
  TextAt(canvas_, centre, page_.top + 60, lines[1], classlib::taCenter);
  SetFont(canvas_, "Arial", kCaptionHeight, false);
  TextAt(canvas_, centre, page_.top + 120, lines[2], classlib::taCenter);
  SetFont(canvas_, "Arial", kSummaryHeight, false);
  if (!summary[0].empty()) TextAt(canvas_, page_.left, page_.top + 220, summary[0], classlib::taLeft);
  if (!summary[1].empty()) TextAt(canvas_, page_.left, page_.top + 280, summary[1], classlib::taLeft);
  y_ = page_.top + 360;
}

void TReportPages::DrawColumnHeader(const std::vector<std::string>& captions, const std::vector<int>& offsets,
                                    bool lastLeft) {
  headerCaptions_ = captions;
  headerOffsets_ = offsets;
  headerLastLeft_ = lastLeft;
  SetFont(canvas_, "Times New Roman", kHeaderHeight, true);
  const size_t n = std::min(captions.size(), offsets.size());
  for (size_t i = 0; i < n; ++i) {
    const bool left = lastLeft && i + 1 == n;
    TextAt(canvas_, page_.left + offsets[i], y_, captions[i], left ? classlib::taLeft : classlib::taCenter);
  }
  canvas_.MoveTo(page_.left - 20, y_ + 40);
  canvas_.LineTo(page_.left + 1750, y_ + 40);
  y_ += 60;
}

void TReportPages::EndPage() {
  SetFont(canvas_, "Arial", kPageNumberHeight, false);
  TextAt(canvas_, page_.left + page_.UsableWidth() / 2, page_.BottomLimit() + 50,
         "Page " + std::to_string(pageNumber_), classlib::taCenter);
}

void TReportPages::NeedRow(int height) {
  if (y_ + height <= page_.BottomLimit()) return;
  const classlib::TFont font = canvas_.Font;
  EndPage();
  if (newPage_) newPage_();
  ++pageNumber_;
  if (onPage_) onPage_(pageNumber_);
  y_ = page_.top;
  if (!headerCaptions_.empty()) DrawColumnHeader(headerCaptions_, headerOffsets_, headerLastLeft_);
  canvas_.Font = font;
}

namespace {

// The rows below `node`: `more[a]` tells whether the ancestor at level a has
// further siblings below it, which keeps its tree line going.
void FolderRows(TReportPages& pages, const TReportNode& node, int level, std::vector<bool>& more, bool fileSystemRoot,
                const TValueFormat& format) {
  TCanvas& canvas = pages.Canvas();
  const int left = pages.Page().left;
  for (size_t i = 0; i < node.children.size(); ++i) {
    const TReportNode& child = node.children[i];
    const bool last = i + 1 == node.children.size();
    pages.NeedRow(kRowHeight);
    const int y = pages.Y();
    const int indent = kIndent * level;
    SetFont(canvas, "Arial", kRowFontHeight, false);
    TextAt(canvas, left + indent, y, FitText(canvas, child.name, kNameWidth - indent), classlib::taLeft);
    auto value = [&](int view) {
      return FormatFolderValue(GetFolderValue(child.totals, child.context, view, format.unitType), view, false, format);
    };
    const std::string values[7] = {value(kViewSize),
                                   fileSystemRoot ? value(kViewAllocated) : std::string(),
                                   std::to_string(child.totals.objects),
                                   fileSystemRoot ? value(kViewWasted) : std::string(),
                                   value(kViewPercent),
                                   child.lastAccess,
                                   child.lastChange};
    for (int c = 0; c < 7; ++c)
      if (!values[c].empty()) TextAt(canvas, left + kValueRights[c], y, values[c], classlib::taRight);
    if (level > 0) {
      // The stroke down to this row (on past it while siblings follow) and
      // across to its name; the lines of ancestors with siblings still below.
      const int x = left + indent - 15;
      canvas.MoveTo(x, y);
      canvas.LineTo(x, last ? y + kRowHeight / 2 : y + kRowHeight);
      canvas.MoveTo(x, y + kRowHeight / 2);
      canvas.LineTo(left + indent - 3, y + kRowHeight / 2);
      for (int a = 1; a < level; ++a)
        if (more[static_cast<size_t>(a)]) {
          canvas.MoveTo(left + kIndent * a - 15, y);
          canvas.LineTo(left + kIndent * a - 15, y + kRowHeight);
        }
    }
    pages.Advance(kRowHeight);
    if (child.expanded && !child.children.empty()) {
      if (more.size() < static_cast<size_t>(level) + 1) more.resize(static_cast<size_t>(level) + 1);
      more[static_cast<size_t>(level)] = !last;
      FolderRows(pages, child, level + 1, more, fileSystemRoot, format);
    }
  }
}

}  // namespace

void PrintFolderRows(TReportPages& pages, const TReportNode& node, const std::vector<std::string>& columnCaptions,
                     bool fileSystemRoot, const TValueFormat& format) {
  std::vector<std::string> captions = {"Folder"};
  for (size_t i = 0; i < columnCaptions.size() && i < 7; ++i) captions.push_back(columnCaptions[i]);
  pages.DrawColumnHeader(captions, kFolderHeaderOffsets, false);
  std::vector<bool> more(1, false);
  FolderRows(pages, node, 0, more, fileSystemRoot, format);
}

void PrintContentsRows(TReportPages& pages, const std::vector<TContentsItem>& items,
                       const std::vector<std::string>& captions, const TDrawIcon& drawIcon) {
  pages.DrawColumnHeader(captions, kContentsHeaderOffsets, true);
  TCanvas& canvas = pages.Canvas();
  const int left = pages.Page().left;
  for (const TContentsItem& item : items) {
    if (item.name.find('\\') != std::string::npos) continue;
    pages.NeedRow(kRowHeight);
    const int y = pages.Y();
    if (drawIcon && item.imageIndex >= 0) drawIcon(item.imageIndex, {left, y, left + 30, y + 30});
    SetFont(canvas, "Arial", kRowFontHeight, false);
    TextAt(canvas, left + 40, y, FitText(canvas, item.name, kContentsNameWidth), classlib::taLeft);
    for (int c = 0; c < 7; ++c)
      if (!item.subItems[c].empty()) TextAt(canvas, left + kValueRights[c], y, item.subItems[c], classlib::taRight);
    pages.Advance(kRowHeight);
  }
}

classlib::TRect ChartArea(const TPageGeometry& page, bool barChart, int valueCount) {
  const int top = page.top + 320;
  const int rest = std::max(page.BottomLimit() - top, 0);
  const int height = barChart ? std::min(80 * std::max(valueCount, 0) + 700, rest) : std::max(rest - 250, 0);
  return {page.left, top, page.left + page.UsableWidth(), top + height};
}

int TenthsToPixels(int tenths, int pixelsPerInch) {
  return static_cast<int>(std::lround(static_cast<double>(tenths) * pixelsPerInch / 254));
}

}  // namespace foldwick
