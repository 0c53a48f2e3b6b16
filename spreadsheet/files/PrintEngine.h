// The print engine: lays the print block of the active sheet out on pages, in
// column bands from left to right and rows from top to bottom, repeats the
// title rows and title columns on every page, draws a header and a footer with
// replaceable codes, and draws each page on the printer or on any canvas (the
// preview, a recording canvas in tests). Cells are painted by the sheet's own
// cell painter, reached through TPrintSheet, so printed cells look as they do
// on screen. Also prints a range to a text file.
//
// Units: the sheet's column widths and row heights are screen pixels at
// 96 per inch; on the page they become device pixels, scaled by the text
// scale. Margins are inches of the settings file.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "classlib/Canvas.h"
#include "spreadsheet/engine/Range.h"

namespace corvane {

// Mode bits of a print run.
inline constexpr int kPrintRangeMode = 1;  // the print range rather than A1 to the used extent
inline constexpr int kPrintGridMode = 2;   // a frame round each printed cell
// Page selectors of PrintSheetPages.
inline constexpr int kPrintAllPages = -1;
inline constexpr int kPrintCountPages = 0;

inline constexpr int kSheetPixelsPerInch = 96;
inline constexpr int kDefaultTextScale = 100;

// The print options the settings file does not keep (margins, monochrome and
// frame are TProgramSettings'; header, footer, print range and titles are the
// document's).
struct TPrintOptions {
  int textScale = kDefaultTextScale;  // percent of the sheet's sizes on the page
  bool showGrid = false;              // forces the grid mode of every run
  bool headerLine = false;            // a rule under the header
  bool footerLine = false;            // a rule over the footer
};
TPrintOptions& PrintOptions();

// A page in device pixels: the printable area, the whole sheet of paper and
// the resolution.
struct TPageMetrics {
  int width = 0, height = 0;
  int physicalWidth = 0, physicalHeight = 0;
  int ppiX = 0, ppiY = 0;
  bool Valid() const { return width > 0 && height > 0 && ppiX > 0 && ppiY > 0; }
};

// The printable area from a printer's device values: the physical size less
// twice the unprintable offset, at most the page size the driver reports.
TPageMetrics PrintableArea(int physicalWidth, int physicalHeight, int offsetX, int offsetY, int pageWidth,
                           int pageHeight, int ppiX, int ppiY);
// A letter-sized page at 300 pixels per inch with quarter-inch edges that
// cannot be printed; what the preview lays out on when no printer is
// installed.
TPageMetrics DefaultPageMetrics(bool landscape);

// How the sheet's painter is to draw a printed row.
struct TPrintLook {
  int zoom = 100;      // font heights in percent of the sheet's
  bool mono = false;   // black text on white
  bool grid = false;   // a frame round each cell
};

// What the engine reads of the sheet it prints: the active sheet window and
// its document, which is the current one.
class TPrintSheet {
 public:
  virtual ~TPrintSheet() = default;
  // Screen pixels at 100 % zoom.
  virtual int ColumnWidth(int col) = 0;
  virtual int RowHeight(int row) = 0;
  // The point size of the sheet's own font (the header line height).
  virtual int FontPointSize() = 0;
  // The window's caption (the print job's title) and the document's file name.
  virtual std::string Caption() = 0;
  virtual std::string FileName() = 0;
  // Paints columns firstCol..lastCol of `row`; `cellRect` gives each
  // column's cell on the canvas.
  virtual void PaintRow(classlib::TCanvas& canvas, int row, int firstCol, int lastCol,
                        const std::function<classlib::TRect(int col)>& cellRect, const TPrintLook& look) = 0;
};

// The printer during a run, with its status window.
class TPrintJob {
 public:
  virtual ~TPrintJob() = default;
  virtual std::string PrinterName() = 0;
  // Starts the job (the first drawn page); false when the printer refuses.
  virtual bool BeginDoc(std::string_view title) = 0;
  virtual void NewPage() = 0;
  virtual void EndDoc() = 0;
  virtual void Abort() = 0;
  // The canvas of the page being printed, valid from BeginDoc or NewPage to
  // the next NewPage or the end.
  virtual classlib::TCanvas& Canvas() = 0;
  // The status window: shown with the printer's name before the run, told the
  // progress (percent, rows done, page) after each row, and asked whether the
  // user aborted (it handles waiting messages first); closed after the run.
  virtual void ShowStatus(std::string_view printerName) = 0;
  virtual void Progress(int percent, int lines, int page) = 0;
  virtual bool AbortRequested() = 0;
  virtual void CloseStatus() = 0;
};

// Where a run draws: on the printer (job set; pages at device size) or on a
// canvas (job null), the page scaled into `area` (the page's own size at 0, 0
// when empty).
struct TPrintTarget {
  TPrintJob* job = nullptr;
  classlib::TCanvas* canvas = nullptr;
  classlib::TRect area;
  TPageMetrics page;
};

// Lays the print block out and draws page `page` (kPrintAllPages: every one;
// kPrintCountPages: none) with the mode bits given. The result is the number
// of pages laid out; 0 when the block is not a valid range or the margins
// leave no room on the page (the error flag then says so). A run the user
// aborts, whose title rows do not fit on a page, or whose painting fails, is
// aborted on the printer and ends with the pages counted so far.
int PrintSheetPages(TPrintSheet& sheet, int mode, int page, const TPrintTarget& target);

// The print block of a run: the print range with kPrintRangeMode, else A1 to
// the current document's highest used cell.
TRange PrintBlock(int mode);

// The header or footer text with its codes replaced in one pass from left to
// right ("#" and "^P" the page number, "@" and "^D" the date, "^T" the time,
// "^F" the file name); replaced texts are not searched again.
std::string ExpandPrintCodes(std::string_view text, int page, std::string_view date, std::string_view time,
                             std::string_view fileName);

// Writes each row of `range` as one line of text (CR LF), the cells as the
// sheet shows them, trailing blanks removed. False with the error flag set
// when the range is not valid or the file cannot be written; nothing is
// written then.
bool PrintToTextFile(const std::string& fileName, const TRange& range);

}  // namespace corvane
