// The graph record: 839 packed little-endian bytes that say everything about
// one graph (ranges, type, axes, scales, headings, legends, colours, marks and
// fonts). Worksheet files store it byte for byte, so the offsets are part of
// the file format. TGraphRecord owns the bytes and reads and writes each field
// at its offset with its width; the reserved stretches are carried unchanged.
//
// Series are numbered 1 to 6, headings 1 to 4 and the seven text elements 1 to
// 7 (main heading, second heading, X-axis title, Y-axis title, values, data
// labels, legend). An index outside its range reads as 0 (or empty) and is
// ignored by the setters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/Range.h"

namespace corvane {

inline constexpr int kGraphSeries = 6;
inline constexpr int kGraphHeadings = 4;
inline constexpr int kGraphTextElements = 7;
inline constexpr std::size_t kGraphNameChars = 12;
inline constexpr std::size_t kGraphHeadingChars = 40;
inline constexpr std::size_t kGraphLegendChars = 20;
inline constexpr std::size_t kGraphFontNameChars = 20;

// Graph type codes (byte 117).
enum TGraphType : std::uint8_t {
  kGraphXy = 0, kGraphBar = 1, kGraphPie = 2, kGraphStack = 3, kGraphLine = 4, kGraphCum = 5,
  kGraphHilo = 6, kGraphRadar = 7, kGraphArea = 8, kGraphDelta = 9, kGraphPolar = 10,
  kGraphStrip3D = 11, kGraphWall3D = 12, kGraphContour = 13, kGraphPie3D = 14, kGraphDonut3D = 15,
  kGraphBar3D = 16, kGraphStack3D = 17,
};

// True for the three-dimensional types 11, 12 and 14 to 17.
bool GraphTypeIs3D(int type);

class TGraphRecord {
 public:
  // Field offsets, fixed by the file format.
  static constexpr std::size_t kName = 0, kXRange = 13, kSeriesRanges = 21, kLabelRanges = 69, kType = 117,
                               kOptions = 118, kAxisOptions = 119, kSeriesDisplay = 120, kLabelLocation = 126,
                               kXManual = 132, kXLower = 133, kXUpper = 141, kYManual = 149, kYLower = 150,
                               kYUpper = 158, kHeadings = 166, kLegends = 326, kXFormat = 446, kYFormat = 447,
                               kXStep = 448, kYStep = 449, kSeriesColours = 483, kOutsideColour = 489,
                               kInsideColour = 490, kTextColours = 491, kSeriesBackgrounds = 498, kMarks = 511,
                               kLineStyles = 517, kThicknesses = 523, kHatches = 529, kFontSizes = 537,
                               kFontNames = 544, kFontStyles = 817, kDivisions = 830, kXDivisionsCopy = 832,
                               kYDivisionsCopy = 834;

  // Every byte zero: no name, unset-looking ranges of all zeros, type Xy.
  TGraphRecord() = default;

  // A fresh graph: every byte zero, then the defaults (divisions X 1, Y 0;
  // steps 4; formats 1; series shown with lines and symbols, labels above;
  // colours 9, 3, 2, 4, 5, 6 on backgrounds 7, outside 15, inside 8, text 1;
  // marks 1-6, line styles 1, 2, 3, 1, 2, 3, thickness 1, hatches 1-6; font
  // sizes 24, 18, 16, 16, 12, 12, 8). Names and texts stay empty; the
  // thirteen ranges are unset (first column -1).
  static TGraphRecord Fresh();

  // The record held in `bytes` (839 of them), and its copy back.
  static TGraphRecord FromBytes(const std::uint8_t* bytes);
  void ToBytes(std::uint8_t* bytes) const;
  const std::uint8_t* Bytes() const { return bytes_; }
  std::uint8_t* MutableBytes() { return bytes_; }

  // The name: at most 12 characters (a longer length byte read from a file
  // counts as 12). SetName cuts the text to 12 and keeps its case.
  std::string Name() const;
  void SetName(std::string_view name);

  TRange XRange() const { return RangeAt(kXRange); }
  void SetXRange(const TRange& range) { SetRangeAt(kXRange, range); }
  TRange SeriesRange(int series) const;
  void SetSeriesRange(int series, const TRange& range);
  TRange LabelRange(int series) const;
  void SetLabelRange(int series, const TRange& range);

  int Type() const { return bytes_[kType]; }
  void SetType(int type) { bytes_[kType] = static_cast<std::uint8_t>(type); }
  // Bits 0-1 grid, bit 2 solid grid, bit 3 legend as a table, bit 4 no
  // legend, bit 6 grid at the minor ticks.
  int Options() const { return bytes_[kOptions]; }
  void SetOptions(int options) { bytes_[kOptions] = static_cast<std::uint8_t>(options); }
  // Bit 6 logarithmic Y axis, bit 7 logarithmic X axis.
  int AxisOptions() const { return bytes_[kAxisOptions]; }
  void SetAxisOptions(int options) { bytes_[kAxisOptions] = static_cast<std::uint8_t>(options); }

  // 0 none, 1 lines, 2 symbols, 3 both.
  int SeriesDisplay(int series) const { return SeriesByte(kSeriesDisplay, series); }
  void SetSeriesDisplay(int series, int value) { SetSeriesByte(kSeriesDisplay, series, value); }
  // 1 above, 2 below, 3 left, 4 right, 5 none.
  int LabelLocation(int series) const { return SeriesByte(kLabelLocation, series); }
  void SetLabelLocation(int series, int value) { SetSeriesByte(kLabelLocation, series, value); }

  bool XManual() const { return bytes_[kXManual] != 0; }
  void SetXManual(bool manual) { bytes_[kXManual] = manual ? 1 : 0; }
  double XLower() const { return DoubleAt(kXLower); }
  double XUpper() const { return DoubleAt(kXUpper); }
  void SetXScale(double lower, double upper);
  bool YManual() const { return bytes_[kYManual] != 0; }
  void SetYManual(bool manual) { bytes_[kYManual] = manual ? 1 : 0; }
  double YLower() const { return DoubleAt(kYLower); }
  double YUpper() const { return DoubleAt(kYUpper); }
  void SetYScale(double lower, double upper);

  // Headings 1-4 (main, second, X title, Y title), at most 40 characters, and
  // legends 1-6, at most 20: a text that fills its field has no terminator, so
  // reading stops at the field's end; writing cuts the text to the field and
  // zero-fills the rest of that field only.
  std::string Heading(int heading) const;
  void SetHeading(int heading, std::string_view text);
  std::string Legend(int series) const;
  void SetLegend(int series, std::string_view text);

  int XFormat() const { return bytes_[kXFormat]; }
  void SetXFormat(int format) { bytes_[kXFormat] = static_cast<std::uint8_t>(format); }
  int YFormat() const { return bytes_[kYFormat]; }
  void SetYFormat(int format) { bytes_[kYFormat] = static_cast<std::uint8_t>(format); }
  int XStep() const { return bytes_[kXStep]; }
  void SetXStep(int step) { bytes_[kXStep] = static_cast<std::uint8_t>(step); }
  int YStep() const { return bytes_[kYStep]; }
  void SetYStep(int step) { bytes_[kYStep] = static_cast<std::uint8_t>(step); }

  // Colours are indices 0-15 of the program's palette.
  int SeriesColour(int series) const { return SeriesByte(kSeriesColours, series); }
  void SetSeriesColour(int series, int colour) { SetSeriesByte(kSeriesColours, series, colour); }
  int SeriesBackground(int series) const { return SeriesByte(kSeriesBackgrounds, series); }
  void SetSeriesBackground(int series, int colour) { SetSeriesByte(kSeriesBackgrounds, series, colour); }
  int OutsideColour() const { return bytes_[kOutsideColour]; }
  void SetOutsideColour(int colour) { bytes_[kOutsideColour] = static_cast<std::uint8_t>(colour); }
  int InsideColour() const { return bytes_[kInsideColour]; }
  void SetInsideColour(int colour) { bytes_[kInsideColour] = static_cast<std::uint8_t>(colour); }
  int TextColour(int element) const { return ElementByte(kTextColours, element); }
  void SetTextColour(int element, int colour) { SetElementByte(kTextColours, element, colour); }

  // Symbol 1-16, line style 1-6, thickness 1-5, hatch 1-8.
  int Mark(int series) const { return SeriesByte(kMarks, series); }
  void SetMark(int series, int mark) { SetSeriesByte(kMarks, series, mark); }
  int LineStyle(int series) const { return SeriesByte(kLineStyles, series); }
  void SetLineStyle(int series, int style) { SetSeriesByte(kLineStyles, series, style); }
  int Thickness(int series) const { return SeriesByte(kThicknesses, series); }
  void SetThickness(int series, int thickness) { SetSeriesByte(kThicknesses, series, thickness); }
  int Hatch(int series) const { return SeriesByte(kHatches, series); }
  void SetHatch(int series, int hatch) { SetSeriesByte(kHatches, series, hatch); }

  // Point size, face name (at most 20 characters; empty means "ARIAL") and
  // style bits (bold, italic, underline, strike-out) of a text element.
  int FontSize(int element) const { return ElementByte(kFontSizes, element); }
  void SetFontSize(int element, int size) { SetElementByte(kFontSizes, element, size); }
  std::string FontName(int element) const;
  void SetFontName(int element, std::string_view name);
  int FontStyle(int element) const { return ElementByte(kFontStyles, element); }
  void SetFontStyle(int element, int style) { SetElementByte(kFontStyles, element, style); }

  // Divisions of the X and Y axes, and the 16-bit copies that the layout
  // refreshes each time the graph is drawn.
  int XDivisions() const { return bytes_[kDivisions]; }
  int YDivisions() const { return bytes_[kDivisions + 1]; }
  void SetDivisions(int x, int y);
  int XDivisionsCopy() const { return Int16At(kXDivisionsCopy); }
  int YDivisionsCopy() const { return Int16At(kYDivisionsCopy); }
  void SetDivisionsCopies(int x, int y);

  friend bool operator==(const TGraphRecord&, const TGraphRecord&) = default;

 private:
  TRange RangeAt(std::size_t offset) const;
  void SetRangeAt(std::size_t offset, const TRange& range);
  double DoubleAt(std::size_t offset) const;
  void SetDoubleAt(std::size_t offset, double value);
  int Int16At(std::size_t offset) const;
  void SetInt16At(std::size_t offset, int value);
  int SeriesByte(std::size_t first, int series) const;
  void SetSeriesByte(std::size_t first, int series, int value);
  int ElementByte(std::size_t first, int element) const;
  void SetElementByte(std::size_t first, int element, int value);
  std::string FieldText(std::size_t offset, std::size_t width) const;
  void SetFieldText(std::size_t offset, std::size_t width, std::string_view text);
  std::string PrefixedText(std::size_t offset, std::size_t maxChars) const;
  void SetPrefixedText(std::size_t offset, std::size_t maxChars, std::string_view text);

  std::uint8_t bytes_[kGraphRecordBytes] = {};
};

}  // namespace corvane
