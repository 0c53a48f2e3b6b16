// The chart library's chart: its data (series of values, point and series
// legends, titles), its look (type word, gaps, colours, fonts) and the
// request dispatcher the library exports, apart from any window. The window
// (win/ChartWindow.cpp) paints it with ChartPainter and sends the
// notifications; everything here is plain data, tested natively.
//
// Requests (code, w, l); "get" forms answer the value, "set" forms store it:
//   1      type word: (1,0,0) get; (1,0,v) sets the type byte (v <= 0xFF) or
//          turns flag bits on; (1,1,v) replaces the word; (1,2,f) clears f
//   2      style: (2,1,v) set, (2,0,0) get
//   3      gap of side w (0 left, 1 right, 2 top, 3 bottom): l = -1 get
//   4      decimals of values: (4,v,0) set, (4,-1,1) get
//   5..9, 22, 70   (code,v,0) set, (code,0,1) get
//   10, 11 palette colour / background of index w: (code,w,-1) get
//   13     bar gap (percent of a bar's width): (13,v,0) set, (13,0,-1) get
//   14     a switch with a value: (14,1,v) on, (14,0,v) off with v;
//          (14,0,-1) answers 1 when on, -1 when off; (14,0,-2) the value
//   23, 24, 92, 97, 103   stored
//   25..28 colours of the bar area and the three backgrounds: l = -1 get;
//          0x80000000 means the default
//   29, 59 packed font / font colour of font w (0..9): l = -1 get
//   33, 34 title w (0..3): set from the text at l / written into the
//          255-character buffer at l (at most 254 characters and a zero)
//   37, 38 legend of point w / of series w from the text at l
//   44     legend of point w written into the 255-character buffer at l
//   49     the window notifications go to (w; 0 for none)
//   52, 66 the element (MAKELONG(series, point)) and mouse position
//          (MAKELONG(x, y)) of the notification being sent
//   68, 80..84, 87, 105   (code,0,v) set, (code,1,0) get
//   69     MAKELONG(series count, point count)
//   85, 86, 104, 108   per-series settings: (code,s,-1) get, (code,s,v) set
//   102    paint information w: 2 the element at the packed position l
//          (-1 for none), 6 the last mouse position, 4 the value axis
//          pixel of the double at l, 5 the value at the pixel in the double
//          at l (written back); other indexes are stored
// Any other code answers 0.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "chartlib/ChartTypes.h"
#include "classlib/Graphics.h"

namespace chartlib {

constexpr int kTitleCount = 4;
constexpr int kFontCount = 10;
constexpr int kPaletteSize = 16;
constexpr int kConstantCount = 17;
// Texts are kept and written back with at most this many characters.
constexpr size_t kMaxText = 254;
// The largest chart: more series or points are refused.
constexpr int kMaxSeries = 64;
constexpr int kMaxPoints = 32000;
// "Default" for the four area colours.
constexpr std::uint32_t kDefaultColor = 0x80000000u;

// Fonts by index.
enum TChartFontIndex : int {
  kFontLeft, kFontRight, kFontTop, kFontBottom, kFontXLegend, kFontYLegend, kFontFixed, kFontLegend,
  kFontValues, kFontPoint
};
// Titles by index: 0 the value axis unit, 2 the top title.
enum TChartTitleIndex : int { kTitleLeft, kTitleRight, kTitleTop, kTitleBottom };

// Packs a series and a point (or a type and an index, or x and y) the way
// requests 52, 66 and 69 answer: the first in the low 16 bits.
inline std::int32_t PackPair(int low, int high) {
  return static_cast<std::int32_t>((static_cast<std::uint32_t>(low) & 0xFFFF) |
                                   ((static_cast<std::uint32_t>(high) & 0xFFFF) << 16));
}

// Where the last painting put each element, for hit tests and the value axis.
struct TChartHitMap {
  struct TBox {
    classlib::TRect rect;
    int series;
    int point;
  };
  struct TSlice {
    double start;  // degrees, counter-clockwise from three o'clock
    double sweep;
    int point;
  };
  std::vector<TBox> boxes;    // bars and list rows
  classlib::TRect pie;        // the pie's ellipse (empty: no pie)
  std::vector<TSlice> slices;
  // The value axis: the pixel rows of value 0 and of axisMax.
  int axisZeroY = 0;
  int axisMaxY = 0;
  double axisMax = 0;

  // MAKELONG(series, point) of the element at `p`, or -1.
  std::int32_t Find(classlib::TPoint p) const;
};

class TChartModel {
 public:
  // An empty chart of `series` series of `points` points, all values 0.
  TChartModel(int series, int points);

  std::int32_t Request(int code, std::intptr_t w, std::intptr_t l);
  // Kind 1 (or 1 with higher flag bits) sizes the data to count1 series of
  // count2 points, keeping the values and legends that still fit; kind 3
  // begins a colour transfer. Counts outside the limits change nothing.
  void OpenData(int kind, int count1, int count2);
  void CloseData(int kind);
  // Values outside the data are dropped.
  void SetValue(int series, int point, double value);
  void SetColor(int index, std::uint32_t rgb, int which);
  void SetConst(int index, double value);
  double GetValue(std::int32_t seriesPoint) const;
  double GetConst(int index) const;

  // What painting and hit testing read.
  std::uint32_t TypeWord() const { return type_; }
  int ChartType() const { return static_cast<int>(type_ & kTypeMask); }
  bool Is3D() const { return (type_ & kType3D) != 0; }
  int SeriesCount() const { return static_cast<int>(values_.size()); }
  int PointCount() const { return points_; }
  double Value(int series, int point) const;
  const std::string& PointLegend(int point) const;
  const std::string& SeriesLegend(int series) const;
  const std::string& Title(int index) const { return titles_[static_cast<size_t>(index)]; }
  int Gap(int side) const { return gaps_[static_cast<size_t>(side)]; }
  int Decimals() const { return decimals_; }
  int BarGap() const { return barGap_; }
  int Grid() const;
  int View3DDepth() const;
  // The colour of one series at one point: the palette entry of the point
  // with a colour per point (or in a pie), else of the series.
  classlib::TColor SeriesColor(int series, int point) const;
  // The area colours, with kDefaultColor resolved to `fallback`.
  classlib::TColor AreaColor(int which, classlib::TColor fallback) const;
  classlib::TFont Font(int index) const;

  // The window notifications go to, and the element and mouse position the
  // one being sent is about (requests 49, 52, 66).
  std::intptr_t NotifyTarget() const { return notifyTarget_; }
  void SetNotifyElement(std::int32_t element, std::int32_t mouse);
  // The layout of the last painting, for requests 102.
  void SetHitMap(TChartHitMap map) { hitMap_ = std::move(map); }
  const TChartHitMap& HitMap() const { return hitMap_; }
  // Counts the changes that need a repaint; the window compares it.
  unsigned ChangeCount() const { return changes_; }

 private:
  std::int32_t PaintInfo(int index, std::intptr_t l);
  std::int32_t& Stored(int code, std::intptr_t index = 0) { return store_[{code, index}]; }
  std::int32_t StoredValue(int code, std::intptr_t index = 0) const;
  void Changed() { ++changes_; }

  std::uint32_t type_ = kTypeBar | kType3D;
  std::int32_t style_ = 0;
  std::array<int, 4> gaps_{40, 20, 30, 40};
  int decimals_ = 0;
  int barGap_ = 80;
  std::vector<std::vector<double>> values_;
  int points_ = 0;
  std::vector<std::string> pointLegends_;
  std::vector<std::string> seriesLegends_;
  std::array<std::string, kTitleCount> titles_;
  std::array<std::uint32_t, kFontCount> fonts_{};
  std::array<std::uint32_t, kFontCount> fontColors_{};
  std::array<std::uint32_t, kPaletteSize> colors_{};
  std::array<std::uint32_t, kPaletteSize> backColors_{};
  std::array<std::uint32_t, 4> areaColors_{kDefaultColor, kDefaultColor, kDefaultColor, kDefaultColor};
  std::array<double, kConstantCount> constants_{};
  bool switch14_ = false;
  std::int32_t value14_ = 0;
  std::intptr_t notifyTarget_ = 0;
  std::int32_t element_ = -1;
  std::int32_t mouse_ = 0;
  TChartHitMap hitMap_;
  // Every other value, by (code, index).
  std::map<std::pair<int, std::intptr_t>, std::int32_t> store_;
  unsigned changes_ = 0;
};

}  // namespace chartlib
