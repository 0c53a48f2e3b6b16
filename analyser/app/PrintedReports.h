// The analyser's printed reports laid out on a canvas in tenths of a
// millimetre, y growing down the page: the title block, the summary lines,
// the folder rows with their tree lines, the folder-contents rows, the page
// breaks with their page numbers, and where the chart goes. The printer (or
// a bitmap, or the recording canvas of the tests) only provides the canvas
// and the new pages.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "analyser/app/ExportText.h"
#include "classlib/Canvas.h"

namespace foldwick {

// The page in tenths of a millimetre: its size and the margins (the settings
// keep them in hundredths; divide by 10).
struct TPageGeometry {
  int width = 2100;
  int height = 2970;
  int left = 80, top = 80, right = 80, bottom = 80;

  int UsableWidth() const { return width - left - right; }
  int UsableHeight() const { return height - top - bottom; }
  // The lowest y a row may reach.
  int BottomLimit() const { return top + UsableHeight(); }
};

// Which report: its title text after the application title.
enum class TReportKind { rkFolder, rkChart, rkContents };
const char* ReportTitleSuffix(TReportKind kind);

// What the summary lines say.
struct TReportSummary {
  bool driveRoot = false;  // the branch is a whole drive
  std::int64_t driveTotalKB = 0;
  std::int64_t driveFreeKB = 0;
  std::string driveInfo;  // "n Bytes per Cluster (file system)"
  TFolderTotals totals;   // the branch's
  TValueContext context;
  std::int64_t files = 0;  // the chart report's file count
};

// The summary lines: for a drive root the "[Current Drive]" line, then the
// "[Current Folder]" line (empty first line for any other branch).
std::array<std::string, 2> SummaryLines(TReportKind kind, const TReportSummary& summary, const TValueFormat& format);

// A name cut one character at a time from its end until it is at most
// `width` wide on the canvas.
std::string FitText(classlib::TCanvas& canvas, const std::string& text, int width);

// Draws the pages of a report: keeps the current line, breaks pages with
// their page-number lines and repeats the column header on each new page.
class TReportPages {
 public:
  // `newPage` ends the printed page and starts the next; `onPage` learns the
  // number of each new page (for the status bar).
  TReportPages(classlib::TCanvas& canvas, const TPageGeometry& page, std::function<void()> newPage,
               std::function<void(int page)> onPage = nullptr);

  classlib::TCanvas& Canvas() { return canvas_; }
  const TPageGeometry& Page() const { return page_; }
  int Y() const { return y_; }
  int PageNumber() const { return pageNumber_; }

  // The three centred title lines and the summary lines below them; the
  // text goes on below the summary.
  void DrawTitleBlock(const std::array<std::string, 3>& lines, const std::array<std::string, 2>& summary);
  // The column header at the current line and its rule; the rows start 2 mm
  // below the rule. It is drawn again at the top of each new page.
  void DrawColumnHeader(const std::vector<std::string>& captions, const std::vector<int>& offsets, bool lastLeft);
  // Room for a row of `height`: a row that would pass the bottom margin goes
  // to a new page.
  void NeedRow(int height);
  void Advance(int height) { y_ += height; }
  // The page-number line that ends every page.
  void EndPage();

 private:
  classlib::TCanvas& canvas_;
  TPageGeometry page_;
  std::function<void()> newPage_;
  std::function<void(int)> onPage_;
  std::vector<std::string> headerCaptions_;
  std::vector<int> headerOffsets_;
  bool headerLastLeft_ = false;
  int y_;
  int pageNumber_ = 1;
};

// The folder report's rows: one per child of `node` and, below each expanded
// child, its children indented, with tree lines. `columnCaptions` are the
// detail list's captions of columns 1 to 7; allocated and wasted print only
// for `fileSystemRoot`.
void PrintFolderRows(TReportPages& pages, const TReportNode& node, const std::vector<std::string>& columnCaptions,
                     bool fileSystemRoot, const TValueFormat& format);

// One row of the detail list for the folder-contents report.
struct TContentsItem {
  std::string name;
  std::array<std::string, 7> subItems;
  int imageIndex = -1;
};
using TDrawIcon = std::function<void(int imageIndex, const classlib::TRect& rect)>;

// The folder-contents rows under the header of the list's eight captions;
// items whose name holds a "\" (the parent and path rows) are left out.
void PrintContentsRows(TReportPages& pages, const std::vector<TContentsItem>& items,
                       const std::vector<std::string>& captions, const TDrawIcon& drawIcon);

// Where the chart goes on the page, in tenths of a millimetre: 32 mm below
// the top margin at the left margin, the usable width wide; a bar chart 8 mm
// per value plus 70 mm high, any other chart the rest of the page less 25 mm;
// never past the bottom margin.
classlib::TRect ChartArea(const TPageGeometry& page, bool barChart, int valueCount);
// Tenths of a millimetre as device pixels at `pixelsPerInch`.
int TenthsToPixels(int tenths, int pixelsPerInch);

}  // namespace foldwick
