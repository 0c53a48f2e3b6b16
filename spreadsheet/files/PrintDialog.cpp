// The print dialog's values and the preview's geometry and fit search.
#include "spreadsheet/files/PrintDialog.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/NumberText.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/files/SettingsFile.h"
#include "spreadsheet/files/WorksheetFileState.h"
#include "spreadsheet/graphs/NamedGraphs.h"

namespace corvane {

using classlib::TPoint;
using classlib::TRect;

namespace {

constexpr const char* kInvalidMarginText = "Invalid Margin";
constexpr const char* kInvalidRangeText = "Invalid Range";
constexpr int kFitStep = 32;
constexpr int kFitGrowLimit = 200;
constexpr int kPreviewInset = 32;
constexpr int kDragPixels = 3;

std::string InchesText(double inches) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", inches);
  return text;
}

bool ParseInches(const std::string& text, double& inches) {
  int errPos = 0;
  StrToReal(text, inches, errPos);
  return errPos == 0 && !text.empty() && inches >= 0;
}

// A title range field: empty for none.
bool ParseTitleRange(const std::string& text, TRange& range) {
  if (text.empty()) {
    RangeClear(range);
    return true;
  }
  return ParseRange(text, range);
}

}  // namespace

int ClampScaleText(std::string_view text, int low, int high) {
  double x = 0;
  int errPos = 0;
  StrToReal(text, x, errPos);
  if (errPos != 0) x = 0;
  return static_cast<int>(std::clamp(std::round(x), static_cast<double>(low), static_cast<double>(high)));
}

std::string PrintFileName(std::string_view name) {
  std::string out(name);
  if (!out.empty() && out.find('.') == std::string::npos) out += ".prn";
  return out;
}

void TPrintDialog::Activate(const TRange& selection, bool printerLandscape) {
  TRange& printRange = gCurrentDoc.settings.savedRanges[kRangePrint];
  if (RangeIsMulti(selection)) printRange = selection;
  if (what != TPrintWhat::kGraph) what = RangeIsValid(printRange) ? TPrintWhat::kRange : TPrintWhat::kAll;
  if (RangeIsValid(printRange)) rangeText = RangeText(printRange);
  TRange used;
  RangeSet(used, 0, 0, gCurrentDoc.highCol, gCurrentDoc.highRow);
  allText = RangeTextAbs(used, 0, true);
  graphs.assign(1, kDefaultGraphEntry);
  for (int i = 1; i <= GraphCount(); ++i) graphs.push_back(GraphName(i));
  graphIndex = 0;
  LoadOptions(printerLandscape);
}

void TPrintDialog::LoadOptions(bool printerLandscape) {
  const TProgramSettings& program = ProgramSettings();
  const TPrintOptions& options = PrintOptions();
  top = InchesText(program.TopMargin);
  left = InchesText(program.LeftMargin);
  bottom = InchesText(program.BottomMargin);
  right = InchesText(program.RightMargin);
  const TSheetSettings& s = gCurrentDoc.settings;
  titleRows = RangeText(s.savedRanges[kRangeTitleRows]);
  titleCols = RangeText(s.savedRanges[kRangeTitleColumns]);
  header = CurrentFileState().printHeader;
  footer = CurrentFileState().printFooter;
  headerLine = options.headerLine;
  footerLine = options.footerLine;
  frame = program.PFrame;
  mono = program.PMono;
  showGrid = options.showGrid;
  scale = std::to_string(options.textScale);
  landscape = printerLandscape;
}

bool TPrintDialog::StoreOptions() {
  double margins[4] = {};
  const std::string* fields[4] = {&top, &left, &right, &bottom};
  for (int i = 0; i < 4; ++i)
    if (!ParseInches(*fields[i], margins[i])) {
      SetErrorFlag(kInvalidMarginText);
      return false;
    }
  TRange rows = gCurrentDoc.settings.savedRanges[kRangeTitleRows];
  TRange cols = gCurrentDoc.settings.savedRanges[kRangeTitleColumns];
  if (!ParseTitleRange(titleRows, rows) || !ParseTitleRange(titleCols, cols)) return false;
  TProgramSettings& program = ProgramSettings();
  program.TopMargin = margins[0];
  program.LeftMargin = margins[1];
  program.RightMargin = margins[2];
  program.BottomMargin = margins[3];
  program.PFrame = frame;
  program.PMono = mono;
  gCurrentDoc.settings.savedRanges[kRangeTitleRows] = rows;
  gCurrentDoc.settings.savedRanges[kRangeTitleColumns] = cols;
  TWorksheetFileState& texts = CurrentFileState();
  texts.printHeader = header.substr(0, std::min(header.size(), kPrintTextMaxChars));
  texts.printFooter = footer.substr(0, std::min(footer.size(), kPrintTextMaxChars));
  PrintOptions().headerLine = headerLine;
  PrintOptions().footerLine = footerLine;
  return true;
}

void TPrintDialog::ScaleChanged() {
  PrintOptions().textScale = ClampScaleText(scale, kDialogScaleMin, kDialogScaleMax);
  scale = std::to_string(PrintOptions().textScale);
}

bool TPrintDialog::ChosenBlock(TRange& block, int& mode) {
  if (what == TPrintWhat::kAll) {
    mode = 0;
    block = PrintBlock(0);
    return true;
  }
  TRange parsed;
  if (rangeText.empty() || !ParseRange(rangeText, parsed) || !RangeIsValid(parsed)) {
    if (!ErrorFlagSet()) SetErrorFlag(kInvalidRangeText);
    return false;
  }
  OrderPair(parsed.firstCol, parsed.lastCol);
  OrderPair(parsed.firstRow, parsed.lastRow);
  gCurrentDoc.settings.savedRanges[kRangePrint] = parsed;
  mode = kPrintRangeMode;
  block = parsed;
  return true;
}

int FitTextScale(int start, const std::function<int(int scale)>& pagesAt) {
  int best = 0;
  auto fits = [&](int s) {
    bool one = pagesAt(s) <= 1;
    if (one && s >= kPreviewScaleMin && s <= kPreviewScaleMax) best = std::max(best, s);
    return one;
  };
  auto walk = [&](int scale) {
    while (fits(scale) && scale <= kFitGrowLimit) scale += kFitStep;
    for (int step = kFitStep; step > 0 && scale >= kPreviewScaleMin; step /= 2) {
      if (fits(scale))
        scale += step;
      else
        scale -= step;
    }
    fits(scale);
  };
  // The walk may end beside the limit it found, and from a large start it
  // may never come down to it: the best scale that fitted is the answer,
  // never one that did not, and a walk that found none starts again from
  // the smallest scale.
  int from = std::clamp(start, kPreviewScaleMin, kPreviewScaleMax);
  walk(from);
  if (best == 0 && from > kPreviewScaleMin) walk(kPreviewScaleMin);
  return best > 0 ? best : kPreviewScaleMin;
}

void TPreviewModel::SetView(const TRect& paint, const TPageMetrics& page) {
  paint_ = paint;
  if (page.physicalWidth > 0 && page.physicalHeight > 0)
    aspect_ = static_cast<double>(page.physicalWidth) / page.physicalHeight;
}

TRect TPreviewModel::BasePage() const {
  int w = std::max(0, paint_.Width() - kPreviewInset);
  int h = std::max(0, paint_.Height() - kPreviewInset);
  int pw = 0, ph = 0;
  if (aspect_ <= 1) {
    ph = h;
    pw = static_cast<int>(std::lround(h * aspect_));
    if (pw > w) {
      pw = w;
      ph = static_cast<int>(std::lround(w / aspect_));
    }
  } else {
    pw = w;
    ph = static_cast<int>(std::lround(w / aspect_));
    if (ph > h) {
      ph = h;
      pw = static_cast<int>(std::lround(h * aspect_));
    }
  }
  int x = paint_.Left + (paint_.Width() - pw) / 2;
  int y = paint_.Top + (paint_.Height() - ph) / 2;
  return {x, y, x + pw, y + ph};
}

TRect TPreviewModel::PageRect() const {
  TRect base = BasePage();
  double w = base.Width() * zoom_, h = base.Height() * zoom_;
  double midX = base.Left + base.Width() / 2.0, midY = base.Top + base.Height() / 2.0;
  int x = static_cast<int>(std::lround(midX - cx_ * w));
  int y = static_cast<int>(std::lround(midY - cy_ * h));
  return {x, y, x + static_cast<int>(std::lround(w)), y + static_cast<int>(std::lround(h))};
}

std::string TPreviewModel::ZoomText() const {
  char text[32];
  std::snprintf(text, sizeof text, "%8.2fx", zoom_);
  return text;
}

void TPreviewModel::Reset() {
  zoom_ = 1;
  cx_ = cy_ = 0.5;
}

void TPreviewModel::LeftRelease(TPoint a, TPoint b) {
  TRect page = PageRect();
  if (page.Width() <= 0 || page.Height() <= 0) return;
  auto pageX = [&](double x) { return (x - page.Left) / page.Width(); };
  auto pageY = [&](double y) { return (y - page.Top) / page.Height(); };
  int dx = std::abs(b.x - a.x), dy = std::abs(b.y - a.y);
  cx_ = std::clamp(pageX((a.x + b.x) / 2.0), 0.0, 1.0);
  cy_ = std::clamp(pageY((a.y + b.y) / 2.0), 0.0, 1.0);
  if (dx > kDragPixels && dy > kDragPixels) {
    double factor = std::min(static_cast<double>(paint_.Width()) / dx, static_cast<double>(paint_.Height()) / dy);
    zoom_ = std::clamp(zoom_ * factor, 1.0, kMaxZoom);
  }
}

bool TPreviewModel::ZoomOut() {
  if (zoom_ <= 1) {
    Reset();
    return false;
  }
  zoom_ = std::max(1.0, zoom_ / 2);
  if (zoom_ == 1) Reset();
  return true;
}

}  // namespace corvane
