// The chart's data and the request dispatcher.
#include "chartlib/ChartModel.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "chartlib/ChartFont.h"

namespace chartlib {

using classlib::RGBColor;
using classlib::TColor;

namespace {

constexpr TColor kDefaultPalette[kPaletteSize] = {
    RGBColor(65, 105, 225), RGBColor(220, 20, 60),   RGBColor(50, 205, 50),   RGBColor(255, 165, 0),
    RGBColor(147, 112, 219), RGBColor(0, 191, 255),  RGBColor(255, 215, 0),   RGBColor(199, 21, 133),
    RGBColor(46, 139, 87),  RGBColor(210, 105, 30),  RGBColor(70, 130, 180),  RGBColor(240, 128, 128),
    RGBColor(154, 205, 50), RGBColor(123, 104, 238), RGBColor(255, 99, 71),   RGBColor(32, 178, 170)};

// Arial 8, and the titles Arial 10 bold.
constexpr std::uint32_t kDefaultFont = 8;
constexpr std::uint32_t kTitleFont = 0x10A;

std::string TextAt(std::intptr_t l) {
  if (l == 0) return {};
  const char* text = reinterpret_cast<const char*>(l);
  return std::string(text, strnlen(text, kMaxText));
}

// Writes at most kMaxText characters and a zero into the caller's buffer.
void WriteText(std::intptr_t l, const std::string& text) {
  if (l == 0) return;
  char* buffer = reinterpret_cast<char*>(l);
  const size_t n = std::min(text.size(), kMaxText);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

bool InRange(std::intptr_t index, size_t count) { return index >= 0 && static_cast<size_t>(index) < count; }

}  // namespace

std::int32_t TChartHitMap::Find(classlib::TPoint p) const {
  for (const TBox& box : boxes)
    if (box.rect.Contains(p)) return PackPair(box.series, box.point);
  if (pie.IsEmpty() || slices.empty()) return -1;
  const double rx = pie.Width() / 2.0, ry = pie.Height() / 2.0;
  const double dx = (p.x - (pie.Left + rx)) / rx, dy = ((pie.Top + ry) - p.y) / ry;
  if (dx * dx + dy * dy > 1) return -1;
  double angle = std::atan2(dy, dx) * 180 / 3.14159265358979323846;
  if (angle < 0) angle += 360;
  for (const TSlice& slice : slices) {
    double from = std::fmod(slice.start, 360.0);
    if (from < 0) from += 360;
    double offset = angle - from;
    if (offset < 0) offset += 360;
    if (offset < slice.sweep) return PackPair(0, slice.point);
  }
  return -1;
}

TChartModel::TChartModel(int series, int points) {
  fonts_.fill(kDefaultFont);
  fonts_[kFontTop] = kTitleFont;
  fontColors_.fill(RGBColor(0, 0, 0));
  std::copy(std::begin(kDefaultPalette), std::end(kDefaultPalette), colors_.begin());
  backColors_.fill(RGBColor(255, 255, 255));
  constants_[1] = 100;
  OpenData(1, series, points);
}

void TChartModel::OpenData(int kind, int count1, int count2) {
  if ((kind & 0xFF) != 1) return;
  if (count1 < 0 || count1 > kMaxSeries || count2 < 0 || count2 > kMaxPoints) return;
  values_.resize(static_cast<size_t>(count1));
  for (auto& series : values_) series.resize(static_cast<size_t>(count2), 0.0);
  points_ = count2;
  pointLegends_.resize(static_cast<size_t>(count2));
  seriesLegends_.resize(static_cast<size_t>(count1));
  Changed();
}

void TChartModel::CloseData(int) { Changed(); }

void TChartModel::SetValue(int series, int point, double value) {
  if (series < 0 || series >= SeriesCount() || point < 0 || point >= points_) return;
  values_[static_cast<size_t>(series)][static_cast<size_t>(point)] = std::isfinite(value) ? value : 0;
}

void TChartModel::SetColor(int index, std::uint32_t rgb, int which) {
  if (!InRange(index, kPaletteSize)) return;
  (which == 0 ? colors_ : backColors_)[static_cast<size_t>(index)] = rgb & 0xFFFFFF;
  Changed();
}

void TChartModel::SetConst(int index, double value) {
  if (InRange(index, kConstantCount)) constants_[static_cast<size_t>(index)] = value;
}

double TChartModel::GetValue(std::int32_t seriesPoint) const {
  return Value(seriesPoint & 0xFFFF, (static_cast<std::uint32_t>(seriesPoint) >> 16) & 0xFFFF);
}

double TChartModel::GetConst(int index) const {
  return InRange(index, kConstantCount) ? constants_[static_cast<size_t>(index)] : 0;
}

double TChartModel::Value(int series, int point) const {
  if (series < 0 || series >= SeriesCount() || point < 0 || point >= points_) return 0;
  return values_[static_cast<size_t>(series)][static_cast<size_t>(point)];
}

const std::string& TChartModel::PointLegend(int point) const {
  static const std::string none;
  return InRange(point, pointLegends_.size()) ? pointLegends_[static_cast<size_t>(point)] : none;
}

const std::string& TChartModel::SeriesLegend(int series) const {
  static const std::string none;
  return InRange(series, seriesLegends_.size()) ? seriesLegends_[static_cast<size_t>(series)] : none;
}

int TChartModel::Grid() const { return StoredValue(8); }
int TChartModel::View3DDepth() const { return StoredValue(82); }

TColor TChartModel::SeriesColor(int series, int point) const {
  int index = series;
  if ((type_ & kTypePointColors) || ChartType() == kTypePie)
    index = (type_ & kTypePointColors) ? point * SeriesCount() + series : point;
  return colors_[static_cast<size_t>(((index % kPaletteSize) + kPaletteSize) % kPaletteSize)];
}

TColor TChartModel::AreaColor(int which, TColor fallback) const {
  const std::uint32_t c = areaColors_[static_cast<size_t>(which)];
  return c == kDefaultColor ? fallback : (c & 0xFFFFFF);
}

classlib::TFont TChartModel::Font(int index) const {
  classlib::TFont font;
  if (!InRange(index, kFontCount)) return font;
  UnpackChartFont(fonts_[static_cast<size_t>(index)], font);
  font.Color = fontColors_[static_cast<size_t>(index)] & 0xFFFFFF;
  return font;
}

void TChartModel::SetNotifyElement(std::int32_t element, std::int32_t mouse) {
  element_ = element;
  mouse_ = mouse;
}

std::int32_t TChartModel::StoredValue(int code, std::intptr_t index) const {
  auto it = store_.find({code, index});
  return it == store_.end() ? 0 : it->second;
}

std::int32_t TChartModel::PaintInfo(int index, std::intptr_t l) {
  switch (index) {
    case 2: {
      const std::int32_t pos = static_cast<std::int32_t>(l);
      return hitMap_.Find({static_cast<std::int16_t>(pos & 0xFFFF), static_cast<std::int16_t>((pos >> 16) & 0xFFFF)});
    }
    case 6:
      return mouse_;
    case 4: {
      if (l == 0 || hitMap_.axisMax <= 0) return 0;
      const double v = *reinterpret_cast<const double*>(l);
      // The share of the axis, kept within a thousand axes: the pixel of a
      // value near the double's limit stays a number.
      const double share = std::isfinite(v) ? std::clamp(v / hitMap_.axisMax, -1000.0, 1000.0) : 0;
      return static_cast<std::int32_t>(
          std::lround(hitMap_.axisZeroY + (hitMap_.axisMaxY - hitMap_.axisZeroY) * share));
    }
    case 5: {
      if (l == 0) return 0;
      auto* value = reinterpret_cast<double*>(l);
      const int span = hitMap_.axisMaxY - hitMap_.axisZeroY;
      *value = span != 0 && std::isfinite(*value) ? (*value - hitMap_.axisZeroY) * hitMap_.axisMax / span : 0;
      return 0;
    }
    default:
      return Stored(102, index) = static_cast<std::int32_t>(l);
  }
}

std::int32_t TChartModel::Request(int code, std::intptr_t w, std::intptr_t l) {
  const auto v32 = static_cast<std::int32_t>(l);
  switch (code) {
    case 1: {
      const auto v = static_cast<std::uint32_t>(l);
      if (w == 0 && v == 0) return static_cast<std::int32_t>(type_);
      if (w == 1) {
        type_ = v;
      } else if (w == 2) {
        type_ &= ~v;
      } else {
        type_ |= v & ~kTypeMask;
        if (v & kTypeMask) type_ = (type_ & ~kTypeMask) | (v & kTypeMask);
      }
      Changed();
      return static_cast<std::int32_t>(type_);
    }
    case 2:
      if (w == 1) {
        style_ = v32;
        Changed();
      }
      return style_;
    case 3:
      if (!InRange(w, gaps_.size())) return 0;
      if (l != -1) {
        gaps_[static_cast<size_t>(w)] = std::clamp(v32, 0, 10000);
        Changed();
      }
      return gaps_[static_cast<size_t>(w)];
    case 4:
      if (l == 1) return decimals_;
      decimals_ = std::clamp(static_cast<int>(w), 0, 10);
      Changed();
      return decimals_;
    case 5: case 6: case 7: case 8: case 9: case 22: case 70:
      if (l == 1) return StoredValue(code);
      Changed();
      return Stored(code) = static_cast<std::int32_t>(w);
    case 10:
    case 11:
      if (!InRange(w, kPaletteSize)) return 0;
      return static_cast<std::int32_t>((code == 10 ? colors_ : backColors_)[static_cast<size_t>(w)]);
    case 13:
      if (l == -1) return barGap_;
      barGap_ = std::clamp(static_cast<int>(w), 0, 1000);
      Changed();
      return barGap_;
    case 14:
      if (w == 0 && l == -1) return switch14_ ? 1 : -1;
      if (w == 0 && l == -2) return value14_;
      switch14_ = w != 0;
      value14_ = v32;
      return value14_;
    case 25: case 26: case 27: case 28: {
      std::uint32_t& color = areaColors_[static_cast<size_t>(code - 25)];
      if (l != -1) {
        color = static_cast<std::uint32_t>(l);
        Changed();
      }
      return static_cast<std::int32_t>(color);
    }
    case 29:
    case 59: {
      if (!InRange(w, kFontCount)) return 0;
      std::uint32_t& slot = (code == 29 ? fonts_ : fontColors_)[static_cast<size_t>(w)];
      if (l != -1) {
        slot = static_cast<std::uint32_t>(l);
        Changed();
      }
      return static_cast<std::int32_t>(slot);
    }
    case 33:
      if (!InRange(w, kTitleCount)) return 0;
      titles_[static_cast<size_t>(w)] = TextAt(l);
      Changed();
      return 1;
    case 34:
      WriteText(l, InRange(w, kTitleCount) ? titles_[static_cast<size_t>(w)] : std::string());
      return 1;
    case 37:
      if (!InRange(w, pointLegends_.size())) return 0;
      pointLegends_[static_cast<size_t>(w)] = TextAt(l);
      Changed();
      return 1;
    case 38:
      if (!InRange(w, seriesLegends_.size())) return 0;
      seriesLegends_[static_cast<size_t>(w)] = TextAt(l);
      Changed();
      return 1;
    case 44:
      WriteText(l, PointLegend(static_cast<int>(w)));
      return 1;
    case 49:
      notifyTarget_ = w;
      return 1;
    case 52:
      return element_;
    case 66:
      return mouse_;
    case 68: case 80: case 81: case 82: case 83: case 84: case 87: case 105:
      if (w == 1) return StoredValue(code);
      Changed();
      return Stored(code) = v32;
    case 69:
      return PackPair(SeriesCount(), points_);
    case 85: case 86: case 104: case 108:
      if (l == -1) return StoredValue(code, w);
      Changed();
      return Stored(code, w) = v32;
    case 23: case 24: case 92:
      return Stored(code) = static_cast<std::int32_t>(code == 92 ? l : w);
    case 97:
    case 103:
      Stored(code, w) = v32;
      Changed();
      return 1;
    case 102:
      return PaintInfo(static_cast<int>(w), l);
    default:
      return 0;
  }
}

}  // namespace chartlib
