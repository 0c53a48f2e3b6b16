// The print engine: pagination into column bands and pages, title rows and
// columns, header and footer, and drawing through the sheet's painter.
#include "spreadsheet/files/PrintEngine.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/DateTime.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/RowText.h"
#include "spreadsheet/engine/SheetSettings.h"
#include "spreadsheet/files/FileReplace.h"
#include "spreadsheet/files/SettingsFile.h"
#include "spreadsheet/files/WorksheetFileState.h"

namespace corvane {

using classlib::TCanvas;
using classlib::TRect;

namespace {

constexpr const char* kNoRoomText = "Margins leave no room on the page";
constexpr const char* kHeaderFont = "Arial";

int RoundToInt(double x) { return static_cast<int>(std::lround(x)); }

bool RangeValidOrdered(TRange& r) {
  if (!RangeIsValid(r)) return false;
  OrderPair(r.firstCol, r.lastCol);
  OrderPair(r.firstRow, r.lastRow);
  return r.firstCol >= 0 && r.lastCol <= kMaxCol && r.firstRow >= 0 && r.lastRow <= kMaxRow;
}

// The label of the cell at (row, col), "" for anything else.
std::string_view LabelAt(int row, int col) {
  const TCell* cell = CellPtr(CellFind(row, col));
  return CellIsLabel(cell) ? PoolStringView(cell->text) : std::string_view();
}

// One run of PrintSheetPages.
class TPrintRun {
 public:
  TPrintRun(TPrintSheet& sheet, int mode, int page, const TPrintTarget& target)
      : sheet_(sheet), mode_(mode), wanted_(page), target_(target), metrics_(target.page) {}

  int Run(const TRange& block);

 private:
  // Sheet pixels to device pixels, and device pixels to the output canvas.
  int DevX(double sheetPixels) const { return RoundToInt(sheetPixels * unitX_); }
  int DevY(double sheetPixels) const { return RoundToInt(sheetPixels * unitY_); }
  int OutX(int x) const { return area_.Left + RoundToInt(x * outX_); }
  int OutY(int y) const { return area_.Top + RoundToInt(y * outY_); }
  TRect Out(const TRect& r) const { return {OutX(r.Left), OutY(r.Top), OutX(r.Right), OutY(r.Bottom)}; }

  void StartPage();
  void EndPage();
  // Paints `row` with its top at y (device pixels); false when painting failed.
  bool PrintRow(int row, int y);
  void PaintColumns(int row, int y, int x, int firstCol, int lastCol);
  void DrawHeaderFooter(const std::string& text, int y);
  void DrawRule(int y);
  void DrawFrame();

  TPrintSheet& sheet_;
  int mode_;
  int wanted_;
  const TPrintTarget& target_;
  TPageMetrics metrics_;
  TCanvas* canvas_ = nullptr;
  TRect area_;
  double outX_ = 1, outY_ = 1;
  double unitX_ = 1, unitY_ = 1;
  TPrintLook look_;

  int top_ = 0, left_ = 0, right_ = 0, bottom_ = 0;
  int line_ = 0, usableHeight_ = 0, usableWidth_ = 0, bottomLimit_ = 0;
  TRange titleRows_, titleCols_;
  bool haveTitleRows_ = false, haveTitleCols_ = false;
  int titleWidth_ = 0;  // device pixels
  int bandFirst_ = 0, bandLast_ = 0;

  int pages_ = 0;
  bool pageOpen_ = false;
  bool drawn_ = false;      // the open page is being drawn
  bool begun_ = false;      // the printer's job has started
  bool aborted_ = false;
  int y_ = 0;               // where the next row goes
  int rowsOnPage_ = 0;      // block rows on the open page (titles not counted)
  int printedRight_ = 0;    // right edge of the printed cells on the open page
};

int TPrintRun::Run(const TRange& block) {
  const TProgramSettings& program = ProgramSettings();
  const TPrintOptions& options = PrintOptions();
  if (!metrics_.Valid()) return 0;
  canvas_ = target_.job != nullptr ? nullptr : target_.canvas;
  area_ = target_.area;
  if (area_.Width() <= 0 || area_.Height() <= 0) area_ = {0, 0, metrics_.width, metrics_.height};
  outX_ = static_cast<double>(area_.Width()) / metrics_.width;
  outY_ = static_cast<double>(area_.Height()) / metrics_.height;
  int scale = std::max(1, options.textScale);
  unitX_ = static_cast<double>(metrics_.ppiX) * scale / (kSheetPixelsPerInch * 100.0);
  unitY_ = static_cast<double>(metrics_.ppiY) * scale / (kSheetPixelsPerInch * 100.0);
  look_.zoom = std::max(1, RoundToInt(100 * unitY_ * outY_));
  look_.mono = program.PMono;
  look_.grid = (mode_ & kPrintGridMode) != 0 || options.showGrid;

  top_ = RoundToInt(program.TopMargin * metrics_.ppiY);
  bottom_ = RoundToInt(program.BottomMargin * metrics_.ppiY);
  left_ = RoundToInt(program.LeftMargin * metrics_.ppiX);
  right_ = RoundToInt(program.RightMargin * metrics_.ppiX);
  line_ = std::max(1, sheet_.FontPointSize() * metrics_.ppiY / 72);
  usableHeight_ = metrics_.height - top_ - bottom_ - 4 * line_;
  usableWidth_ = metrics_.width - left_ - right_;
  bottomLimit_ = top_ + usableHeight_ + 2 * line_;
  // Margins larger than the page would leave every row without room and the
  // layout would never get past the first one.
  if (usableHeight_ <= 0 || usableWidth_ <= 0 || top_ < 0 || bottom_ < 0 || left_ < 0 || right_ < 0) {
    SetErrorFlag(kNoRoomText);
    return 0;
  }

  const TSheetSettings& s = gCurrentDoc.settings;
  titleRows_ = s.savedRanges[kRangeTitleRows];
  titleCols_ = s.savedRanges[kRangeTitleColumns];
  haveTitleRows_ = RangeValidOrdered(titleRows_);
  haveTitleCols_ = RangeValidOrdered(titleCols_);
  if (haveTitleCols_) {
    double sum = 0;
    for (int c = titleCols_.firstCol; c <= titleCols_.lastCol; ++c) sum += sheet_.ColumnWidth(c);
    titleWidth_ = DevX(sum);
  }

  TPrintJob* job = target_.job;
  if (job != nullptr) job->ShowStatus(job->PrinterName());
  const int rows = RangeRows(block);
  for (int first = block.firstCol; first <= block.lastCol && !aborted_;) {
    // A band: at least one column, then as many as fit beside the titles.
    bandFirst_ = first;
    double sum = sheet_.ColumnWidth(first);
    int last = first;
    while (last < block.lastCol && titleWidth_ + DevX(sum + sheet_.ColumnWidth(last + 1)) <= usableWidth_)
      sum += sheet_.ColumnWidth(++last);
    bandLast_ = last;

    bool breakRequested = false;
    for (int row = block.firstRow; row <= block.lastRow && !aborted_; ++row) {
      std::string_view label = LabelAt(row, bandFirst_);
      if (!label.empty() && label[0] == '|') {
        if (label.starts_with("|::")) breakRequested = true;
        continue;
      }
      if (!pageOpen_) StartPage();
      if (aborted_) break;
      int height = DevY(sheet_.RowHeight(row));
      // A row that does not fit on a page of its own is printed cut off at
      // the page's end rather than moved on to page after empty page.
      if ((y_ + height > bottomLimit_ || breakRequested) && rowsOnPage_ > 0) {
        EndPage();
        StartPage();
        if (aborted_) break;
      }
      breakRequested = false;
      if (!PrintRow(row, y_)) aborted_ = true;
      y_ += height;
      ++rowsOnPage_;
      if (job != nullptr) {
        job->Progress((row - block.firstRow + 1) * 100 / (rows + 1), row - block.firstRow + 1, pages_);
        if (job->AbortRequested()) aborted_ = true;
      }
    }
    if (pageOpen_ && !aborted_) EndPage();
    pageOpen_ = false;
    first = last + 1;
  }
  if (job != nullptr) {
    if (begun_) aborted_ ? job->Abort() : job->EndDoc();
    job->CloseStatus();
  }
  return pages_;
}

void TPrintRun::StartPage() {
  ++pages_;
  pageOpen_ = true;
  drawn_ = wanted_ == kPrintAllPages || wanted_ == pages_;
  rowsOnPage_ = 0;
  y_ = top_ + 2 * line_;
  printedRight_ = left_;
  if (drawn_ && target_.job != nullptr) {
    if (!begun_) {
      if (!target_.job->BeginDoc(sheet_.Caption())) {
        aborted_ = true;
        return;
      }
      begun_ = true;
      canvas_ = &target_.job->Canvas();
    } else {
      target_.job->NewPage();
      canvas_ = &target_.job->Canvas();
    }
  }
  if (!haveTitleRows_) return;
  for (int row = titleRows_.firstRow; row <= titleRows_.lastRow; ++row) {
    int height = DevY(sheet_.RowHeight(row));
    if (y_ + height > bottomLimit_ || !PrintRow(row, y_)) {
      aborted_ = true;
      return;
    }
    y_ += height;
  }
}

void TPrintRun::EndPage() {
  pageOpen_ = false;
  if (!drawn_ || canvas_ == nullptr) return;
  TWorksheetFileState& texts = CurrentFileState();
  const TPrintOptions& options = PrintOptions();
  DrawHeaderFooter(texts.printHeader, top_);
  if (options.headerLine) DrawRule(top_ + line_ + line_ / 2);
  DrawHeaderFooter(texts.printFooter, bottomLimit_ + line_);
  if (options.footerLine) DrawRule(bottomLimit_ + line_ / 2);
  if (ProgramSettings().PFrame) DrawFrame();
}

bool TPrintRun::PrintRow(int row, int y) {
  if (!drawn_ || canvas_ == nullptr) return true;
  try {
    int x = left_;
    if (haveTitleCols_) {
      PaintColumns(row, y, x, titleCols_.firstCol, titleCols_.lastCol);
      x += titleWidth_;
    }
    PaintColumns(row, y, x, bandFirst_, bandLast_);
  } catch (...) {
    return false;
  }
  return true;
}

void TPrintRun::PaintColumns(int row, int y, int x, int firstCol, int lastCol) {
  // Column edges from running sums, so that rounding does not add up.
  std::vector<int> edges;
  double sum = 0;
  edges.push_back(x);
  for (int c = firstCol; c <= lastCol; ++c) {
    sum += sheet_.ColumnWidth(c);
    edges.push_back(x + DevX(sum));
  }
  int bottom = std::min(y + DevY(sheet_.RowHeight(row)), bottomLimit_);
  printedRight_ = std::max(printedRight_, edges.back());
  auto cellRect = [&](int col) {
    // A spilling label may ask for columns beyond the painted ones: they
    // continue at the sheet's widths.
    int left = 0, right = 0;
    if (col >= firstCol && col <= lastCol) {
      left = edges[static_cast<std::size_t>(col - firstCol)];
      right = edges[static_cast<std::size_t>(col - firstCol + 1)];
    } else if (col > lastCol) {
      double extra = 0;
      for (int c = lastCol + 1; c < col; ++c) extra += sheet_.ColumnWidth(c);
      left = edges.back() + DevX(extra);
      right = left + DevX(sheet_.ColumnWidth(col));
    }
    return Out({left, y, right, bottom});
  };
  canvas_->SetClipRect(Out({x, y, edges.back(), bottom}));
  sheet_.PaintRow(*canvas_, row, firstCol, lastCol, cellRect, look_);
  canvas_->RemoveClip();
}

void TPrintRun::DrawHeaderFooter(const std::string& text, int y) {
  if (text.empty()) return;
  std::string expanded = ExpandPrintCodes(text, pages_, TodayText(), TimeText(), sheet_.FileName());
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t bar; (bar = expanded.find('|', start)) != std::string::npos; start = bar + 1)
    parts.push_back(expanded.substr(start, bar - start));
  parts.push_back(expanded.substr(start));
  if (parts.size() > 3) parts.resize(3);

  classlib::TCanvasStateSaver saved(*canvas_);
  canvas_->Font = classlib::TFont{};
  canvas_->Font.Name = kHeaderFont;
  canvas_->Font.Height = -std::max(1, RoundToInt(line_ * outY_));
  canvas_->Font.Color = classlib::clBlack;
  canvas_->Brush.Style = classlib::TBrushStyle::bsClear;
  const int left = left_, right = metrics_.width - right_, width = right - left;
  auto draw = [&](const std::string& part, int x, std::uint8_t align) {
    if (part.empty()) return;
    canvas_->TextAlign = static_cast<std::uint8_t>(align | classlib::taTop);
    canvas_->TextOut(OutX(x), OutY(y), part);
  };
  switch (parts.size()) {
    case 1: draw(parts[0], left + width / 2, classlib::taCenter); break;
    case 2:
      draw(parts[0], left, classlib::taLeft);
      draw(parts[1], right, classlib::taRight);
      break;
    default:
      draw(parts[0], left, classlib::taLeft);
      draw(parts[1], left + width / 2, classlib::taCenter);
      draw(parts[2], right, classlib::taRight);
      break;
  }
}

void TPrintRun::DrawRule(int y) {
  int thickness = std::max(1, metrics_.ppiY / 32);
  classlib::TCanvasStateSaver saved(*canvas_);
  canvas_->Brush = classlib::TBrush{classlib::clBlack};
  canvas_->FillRect(Out({left_, y, metrics_.width - right_, y + thickness}));
}

void TPrintRun::DrawFrame() {
  classlib::TCanvasStateSaver saved(*canvas_);
  canvas_->Pen = classlib::TPen{classlib::clBlack, 1, classlib::TPenStyle::psSolid, classlib::TPenMode::pmNot};
  canvas_->Brush.Style = classlib::TBrushStyle::bsClear;
  canvas_->Rectangle(Out({0, 0, metrics_.width, metrics_.height}));
  canvas_->Rectangle(Out({left_, top_ + 2 * line_, printedRight_, y_}));
}

}  // namespace

TPrintOptions& PrintOptions() {
  static TPrintOptions options;
  return options;
}

TPageMetrics PrintableArea(int physicalWidth, int physicalHeight, int offsetX, int offsetY, int pageWidth,
                           int pageHeight, int ppiX, int ppiY) {
  TPageMetrics m;
  m.physicalWidth = physicalWidth;
  m.physicalHeight = physicalHeight;
  m.width = std::min(physicalWidth - 2 * offsetX, pageWidth);
  m.height = std::min(physicalHeight - 2 * offsetY, pageHeight);
  m.ppiX = ppiX;
  m.ppiY = ppiY;
  return m;
}

TPageMetrics DefaultPageMetrics(bool landscape) {
  constexpr int kPpi = 300;
  int w = 85 * kPpi / 10, h = 11 * kPpi, edge = kPpi / 4;
  if (landscape) std::swap(w, h);
  return PrintableArea(w, h, edge, edge, w, h, kPpi, kPpi);
}

TRange PrintBlock(int mode) {
  TRange block;
  if (mode & kPrintRangeMode) {
    block = gCurrentDoc.settings.savedRanges[kRangePrint];
    if (!RangeValidOrdered(block)) RangeClear(block);
    return block;
  }
  if (!HaveCurrentDocument()) return block;
  RangeSet(block, 0, 0, gCurrentDoc.highCol, gCurrentDoc.highRow);
  return block;
}

int PrintSheetPages(TPrintSheet& sheet, int mode, int page, const TPrintTarget& target) {
  TRange block = PrintBlock(mode);
  if (!RangeIsValid(block) || !HaveCurrentDocument()) return 0;
  if (target.job == nullptr && target.canvas == nullptr && page != kPrintCountPages) return 0;
  return TPrintRun(sheet, mode, page, target).Run(block);
}

std::string ExpandPrintCodes(std::string_view text, int page, std::string_view date, std::string_view time,
                             std::string_view fileName) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '#') {
      out += std::to_string(page);
    } else if (c == '@') {
      out += date;
    } else if (c == '^' && i + 1 < text.size()) {
      switch (text[i + 1]) {
        case 'P': out += std::to_string(page); break;
        case 'D': out += date; break;
        case 'T': out += time; break;
        case 'F': out += fileName; break;
        default: out += c; continue;
      }
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

bool PrintToTextFile(const std::string& fileName, const TRange& range) {
  TRange r = range;
  if (!RangeValidOrdered(r) || !HaveCurrentDocument()) {
    SetErrorFlag("Invalid Range");
    return false;
  }
  std::string text;
  for (int row = r.firstRow; row <= r.lastRow; ++row) {
    std::string line = RowDisplayText(row, r.firstCol, r.lastCol);
    line.erase(line.find_last_not_of(' ') + 1);
    text += line;
    text += "\r\n";
  }
  if (!SaveFileReplacing(fileName, text, "")) {
    SetErrorFlag("Unable to WRITE");
    return false;
  }
  return true;
}

}  // namespace corvane
