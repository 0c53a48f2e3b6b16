// The print dialog (Tmyprint) and the preview window (TPviewdlg) without their
// windows: the dialog's fields as a value with its activation, validation and
// storing steps, and the preview's page shape, zoom and the search for the
// largest text scale that fits one page.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/Graphics.h"
#include "spreadsheet/engine/Range.h"
#include "spreadsheet/files/PrintEngine.h"

namespace corvane {

inline constexpr const char* kPrintCaption = "Print";
inline constexpr const char* kPrintOptionsCaption = "Print Options";
inline constexpr const char* kDefaultGraphEntry = "- Default -";
inline constexpr const char* kSpecifyPrintRange = "Specify Print Range";
inline constexpr const char* kSpecifyRangeSuffix = " : Specify Range";
inline constexpr const char* kPrintFileFilter = "ASCII (*.prn)|*.prn|ASCII (*.txt)|*.txt";
inline constexpr const char* kNoPrinterText = "No printer is installed.";
inline constexpr int kDialogScaleMin = 10, kDialogScaleMax = 150;
inline constexpr int kPreviewScaleMin = 50, kPreviewScaleMax = 300;
// The choices of the "&Scale (%):" box.
inline constexpr int kScaleChoices[] = {125, 100, 87, 75, 50, 25};

enum class TPrintWhat : std::uint8_t { kAll, kRange, kGraph };

struct TPrintDialog {
  // ---- First page --------------------------------------------------------------------
  TPrintWhat what = TPrintWhat::kAll;
  std::string rangeText;  // the "&Selected Range" field
  std::string allText;    // the "&All" label: A1 to the highest used cell
  std::vector<std::string> graphs;  // "- Default -" and the named graphs
  int graphIndex = 0;
  bool showGrid = false;

  // ---- Second page --------------------------------------------------------------------
  std::string top, left, bottom, right;  // margins in inches, as typed
  std::string titleRows, titleCols;      // "Ro&ws: " and "Col&s: "
  std::string header, footer;
  bool headerLine = false, footerLine = false;
  std::string scale;  // "&Scale (%):"
  bool frame = false, mono = false;
  bool landscape = false;

  // Activation: a selection of more than one cell becomes the print range;
  // a valid print range is put in the range field and chosen, else "&All"
  // (a chosen graph stays chosen); the "&All" text, the graph list and the
  // option fields are loaded. `landscape` is the printer's orientation.
  void Activate(const TRange& selection, bool printerLandscape);
  // The option fields from the print options, settings and document.
  void LoadOptions(bool printerLandscape);
  // "&Ok" of the second page: stores the flags, header, footer, margins,
  // titles and line flags. False with the error flag set when a margin is
  // not a number from 0 up or a title range does not parse; nothing is
  // stored then.
  bool StoreOptions();
  // A changed scale field: read as a number, held to 10..150 and stored as
  // the text scale; the field shows what was stored.
  void ScaleChanged();
  // "&All" or "&Selected Range" chosen: preview and print to file apply.
  bool PreviewEnabled() const { return what != TPrintWhat::kGraph; }
  // What printing, the preview and print to file use: with "&All" the used
  // extent (mode 0); with "&Selected Range" the range field, which becomes
  // the print range (mode kPrintRangeMode). False with the error flag set
  // when the field does not parse or is empty; the print range is then kept.
  bool ChosenBlock(TRange& block, int& mode);
};

// The dialog's and the preview's text scales: `text` read as a number
// (0 when it is none), rounded and held to the bounds.
int ClampScaleText(std::string_view text, int low, int high);
// A print-to-file name: ".prn" added when the name has no ".".
std::string PrintFileName(std::string_view name);

// The largest text scale (50..300) at which the print fits one page, starting
// from `start`: grow by 32 while it fits and the scale is at most 200, then
// step by 32, halving each round, down while more than one page results and
// up while it fits. The best fitting scale seen is the result (50 when none
// fits). `pagesAt` lays the print out at a scale and gives its page count.
int FitTextScale(int start, const std::function<int(int scale)>& pagesAt);

// The preview's page on its paint area and its zoom: the page shape keeps
// the paper's proportions, the zoom enlarges it about a point of the page.
class TPreviewModel {
 public:
  // The paint area and the paper (its physical size gives the shape).
  void SetView(const classlib::TRect& paint, const TPageMetrics& page);
  // The page at zoom 1: the paint area less 32 pixels each way, shaped like
  // the paper, centred.
  classlib::TRect BasePage() const;
  // The page at the current zoom, about its centre point.
  classlib::TRect PageRect() const;
  double Zoom() const { return zoom_; }
  // The zoom as shown: 8 characters with 2 decimals and "x".
  std::string ZoomText() const;
  // Zoom 1, the page centred.
  void Reset();
  // A left-button drag from `a` to `b` (more than 3 pixels either way)
  // zooms so that the dragged rectangle fills the view, centred on it; a
  // plain click centres the view on the page point clicked.
  void LeftRelease(classlib::TPoint a, classlib::TPoint b);
  // Zooms out by half towards 1; false (and a reset) when already at 1.
  bool ZoomOut();

 private:
  // The point of the page (0..1 each way) at the view's centre.
  double cx_ = 0.5, cy_ = 0.5;
  double zoom_ = 1;
  classlib::TRect paint_;
  double aspect_ = 85.0 / 110.0;  // width over height of the paper
  static constexpr double kMaxZoom = 16;
};

}  // namespace corvane
