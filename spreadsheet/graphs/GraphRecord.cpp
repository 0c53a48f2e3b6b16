// The graph record's fields, read and written at their offsets, little-endian.
#include "spreadsheet/graphs/GraphRecord.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace corvane {
namespace {

constexpr std::size_t kRangeBytes = 8;
constexpr std::size_t kFontNameBytes = kGraphFontNameChars + 1;

bool SeriesInRange(int series) { return series >= 1 && series <= kGraphSeries; }
bool ElementInRange(int element) { return element >= 1 && element <= kGraphTextElements; }

}  // namespace

bool GraphTypeIs3D(int type) { return type == 11 || type == 12 || (type >= 14 && type <= 17); }

TGraphRecord TGraphRecord::Fresh() {
  static constexpr std::uint8_t kSeriesColours[kGraphSeries] = {9, 3, 2, 4, 5, 6};
  static constexpr std::uint8_t kLineStyles[kGraphSeries] = {1, 2, 3, 1, 2, 3};
  static constexpr std::uint8_t kFontSizes[kGraphTextElements] = {24, 18, 16, 16, 12, 12, 8};
  TGraphRecord g;
  g.SetXRange(TRange{});  // unset: a range of zero bytes would be A1
  for (int s = 1; s <= kGraphSeries; ++s) {
    g.SetSeriesRange(s, TRange{});
    g.SetLabelRange(s, TRange{});
  }
  g.SetDivisions(1, 0);
  g.SetXStep(4);
  g.SetYStep(4);
  g.SetXFormat(1);
  g.SetYFormat(1);
  for (int s = 1; s <= kGraphSeries; ++s) {
    g.SetSeriesDisplay(s, 3);
    g.SetLabelLocation(s, 1);
    g.SetSeriesColour(s, kSeriesColours[s - 1]);
    g.SetSeriesBackground(s, 7);
    g.SetMark(s, s);
    g.SetLineStyle(s, kLineStyles[s - 1]);
    g.SetThickness(s, 1);
    g.SetHatch(s, s);
  }
  g.SetOutsideColour(15);
  g.SetInsideColour(8);
  for (int e = 1; e <= kGraphTextElements; ++e) {
    g.SetTextColour(e, 1);
    g.SetFontSize(e, kFontSizes[e - 1]);
  }
  return g;
}

TGraphRecord TGraphRecord::FromBytes(const std::uint8_t* bytes) {
  TGraphRecord g;
  std::memcpy(g.bytes_, bytes, kGraphRecordBytes);
  return g;
}

void TGraphRecord::ToBytes(std::uint8_t* bytes) const { std::memcpy(bytes, bytes_, kGraphRecordBytes); }

std::string TGraphRecord::Name() const { return PrefixedText(kName, kGraphNameChars); }
void TGraphRecord::SetName(std::string_view name) { SetPrefixedText(kName, kGraphNameChars, name); }

TRange TGraphRecord::SeriesRange(int series) const {
  return SeriesInRange(series) ? RangeAt(kSeriesRanges + kRangeBytes * (series - 1)) : TRange{};
}
void TGraphRecord::SetSeriesRange(int series, const TRange& range) {
  if (SeriesInRange(series)) SetRangeAt(kSeriesRanges + kRangeBytes * (series - 1), range);
}
TRange TGraphRecord::LabelRange(int series) const {
  return SeriesInRange(series) ? RangeAt(kLabelRanges + kRangeBytes * (series - 1)) : TRange{};
}
void TGraphRecord::SetLabelRange(int series, const TRange& range) {
  if (SeriesInRange(series)) SetRangeAt(kLabelRanges + kRangeBytes * (series - 1), range);
}

void TGraphRecord::SetXScale(double lower, double upper) {
  SetDoubleAt(kXLower, lower);
  SetDoubleAt(kXUpper, upper);
}
void TGraphRecord::SetYScale(double lower, double upper) {
  SetDoubleAt(kYLower, lower);
  SetDoubleAt(kYUpper, upper);
}

std::string TGraphRecord::Heading(int heading) const {
  if (heading < 1 || heading > kGraphHeadings) return "";
  return FieldText(kHeadings + kGraphHeadingChars * (heading - 1), kGraphHeadingChars);
}
void TGraphRecord::SetHeading(int heading, std::string_view text) {
  if (heading >= 1 && heading <= kGraphHeadings)
    SetFieldText(kHeadings + kGraphHeadingChars * (heading - 1), kGraphHeadingChars, text);
}
std::string TGraphRecord::Legend(int series) const {
  if (!SeriesInRange(series)) return "";
  return FieldText(kLegends + kGraphLegendChars * (series - 1), kGraphLegendChars);
}
void TGraphRecord::SetLegend(int series, std::string_view text) {
  if (SeriesInRange(series)) SetFieldText(kLegends + kGraphLegendChars * (series - 1), kGraphLegendChars, text);
}

std::string TGraphRecord::FontName(int element) const {
  if (!ElementInRange(element)) return "";
  return PrefixedText(kFontNames + kFontNameBytes * (element - 1), kGraphFontNameChars);
}
void TGraphRecord::SetFontName(int element, std::string_view name) {
  if (ElementInRange(element)) SetPrefixedText(kFontNames + kFontNameBytes * (element - 1), kGraphFontNameChars, name);
}

void TGraphRecord::SetDivisions(int x, int y) {
  bytes_[kDivisions] = static_cast<std::uint8_t>(x);
  bytes_[kDivisions + 1] = static_cast<std::uint8_t>(y);
}
void TGraphRecord::SetDivisionsCopies(int x, int y) {
  SetInt16At(kXDivisionsCopy, x);
  SetInt16At(kYDivisionsCopy, y);
}

TRange TGraphRecord::RangeAt(std::size_t offset) const {
  TRange range;
  range.firstCol = static_cast<std::int16_t>(Int16At(offset));
  range.firstRow = static_cast<std::int16_t>(Int16At(offset + 2));
  range.lastCol = static_cast<std::int16_t>(Int16At(offset + 4));
  range.lastRow = static_cast<std::int16_t>(Int16At(offset + 6));
  return range;
}
void TGraphRecord::SetRangeAt(std::size_t offset, const TRange& range) {
  SetInt16At(offset, range.firstCol);
  SetInt16At(offset + 2, range.firstRow);
  SetInt16At(offset + 4, range.lastCol);
  SetInt16At(offset + 6, range.lastRow);
}

double TGraphRecord::DoubleAt(std::size_t offset) const {
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = bits << 8 | bytes_[offset + i];
  return std::bit_cast<double>(bits);
}
void TGraphRecord::SetDoubleAt(std::size_t offset, double value) {
  std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
  for (int i = 0; i < 8; ++i) bytes_[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

int TGraphRecord::Int16At(std::size_t offset) const {
  return static_cast<std::int16_t>(bytes_[offset] | bytes_[offset + 1] << 8);
}
void TGraphRecord::SetInt16At(std::size_t offset, int value) {
  bytes_[offset] = static_cast<std::uint8_t>(value);
  bytes_[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

int TGraphRecord::SeriesByte(std::size_t first, int series) const {
  return SeriesInRange(series) ? bytes_[first + series - 1] : 0;
}
void TGraphRecord::SetSeriesByte(std::size_t first, int series, int value) {
  if (SeriesInRange(series)) bytes_[first + series - 1] = static_cast<std::uint8_t>(value);
}
int TGraphRecord::ElementByte(std::size_t first, int element) const {
  return ElementInRange(element) ? bytes_[first + element - 1] : 0;
}
void TGraphRecord::SetElementByte(std::size_t first, int element, int value) {
  if (ElementInRange(element)) bytes_[first + element - 1] = static_cast<std::uint8_t>(value);
}

std::string TGraphRecord::FieldText(std::size_t offset, std::size_t width) const {
  const char* field = reinterpret_cast<const char*>(bytes_ + offset);
  return std::string(field, std::find(field, field + width, '\0'));
}
void TGraphRecord::SetFieldText(std::size_t offset, std::size_t width, std::string_view text) {
  std::size_t n = std::min(text.size(), width);
  std::memset(bytes_ + offset, 0, width);
  std::copy_n(text.data(), n, bytes_ + offset);
}

std::string TGraphRecord::PrefixedText(std::size_t offset, std::size_t maxChars) const {
  std::size_t n = std::min<std::size_t>(bytes_[offset], maxChars);
  return std::string(reinterpret_cast<const char*>(bytes_ + offset + 1), n);
}
void TGraphRecord::SetPrefixedText(std::size_t offset, std::size_t maxChars, std::string_view text) {
  std::size_t n = std::min(text.size(), maxChars);
  std::memset(bytes_ + offset, 0, maxChars + 1);
  bytes_[offset] = static_cast<std::uint8_t>(n);
  std::copy_n(text.data(), n, bytes_ + offset + 1);
}

}  // namespace corvane
