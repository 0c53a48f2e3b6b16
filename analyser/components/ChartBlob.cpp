// Building and applying the chart settings blobs.
#include "analyser/components/ChartBlob.h"

#include <cstring>

#include "analyser/components/ChartFXCore.h"

namespace foldwick {

namespace {

constexpr char kZeroMark = '-';
constexpr int kConstantCount = 17;
constexpr int kPaletteColors = 16;
constexpr int kTitleCount = 4;
constexpr int kFontCount = 10;
constexpr int kSeriesCodes1[] = {85, 86, 108};
constexpr int kSeriesCode3 = 104;

bool Fits(const std::string& blob, size_t extra) { return blob.size() + extra <= kChartBlobLimit; }

// The value's bytes with zeros marked, and the mask of the zero bytes.
unsigned AppendMarkedBytes(std::string& blob, const unsigned char* bytes, int count) {
  unsigned mask = 0;
  for (int i = 0; i < count; ++i) {
    if (bytes[i] == 0) mask |= 1u << i;
    blob += bytes[i] == 0 ? kZeroMark : static_cast<char>(bytes[i]);
  }
  return mask;
}

void ReadMarkedBytes(std::string_view blob, size_t pos, unsigned mask, unsigned char* bytes, int count) {
  for (int i = 0; i < count; ++i) bytes[i] = (mask & (1u << i)) ? 0 : static_cast<unsigned char>(blob[pos + i]);
}

// The chart's series count, asked again for each build and apply.
int SeriesCount(TChartFXCore& chart) { return chart.NSeries(); }

}  // namespace

bool AppendBlobInt(std::string& blob, std::uint32_t value) {
  if (!Fits(blob, 5)) return false;
  unsigned char bytes[4];
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(value >> (8 * i));
  blob += static_cast<char>(0x20 | AppendMarkedBytes(blob, bytes, 4));
  return true;
}

bool AppendBlobDouble(std::string& blob, double value) {
  if (!Fits(blob, 10)) return false;
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  unsigned char bytes[8];
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<unsigned char>(bits >> (8 * i));
  const unsigned mask = AppendMarkedBytes(blob, bytes, 8);
  blob += static_cast<char>(mask != 0 ? mask : 0x20);
  blob += static_cast<char>(mask != 0 ? 2 : 1);
  return true;
}

bool AppendBlobText(std::string& blob, std::string_view text) {
  // A text reaches the first zero only; its length byte stays above 0.
  text = text.substr(0, std::min(text.find('\0'), text.size()));
  if (text.size() >= 255 || !Fits(blob, 1 + text.size())) return false;
  blob += static_cast<char>(text.size() + 1);
  blob += text;
  return true;
}

std::optional<std::uint32_t> ReadBlobInt(std::string_view blob, size_t& pos) {
  if (pos + 5 > blob.size()) return std::nullopt;
  unsigned char bytes[4];
  ReadMarkedBytes(blob, pos, static_cast<unsigned char>(blob[pos + 4]), bytes, 4);
  pos += 5;
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= std::uint32_t{bytes[i]} << (8 * i);
  return value;
}

std::optional<double> ReadBlobDouble(std::string_view blob, size_t& pos) {
  if (pos + 10 > blob.size()) return std::nullopt;
  const unsigned flag = static_cast<unsigned char>(blob[pos + 9]);
  const unsigned mask = flag == 1 ? 0 : static_cast<unsigned char>(blob[pos + 8]);
  unsigned char bytes[8];
  ReadMarkedBytes(blob, pos, mask, bytes, 8);
  pos += 10;
  std::uint64_t bits = 0;
  for (int i = 0; i < 8; ++i) bits |= std::uint64_t{bytes[i]} << (8 * i);
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

std::optional<std::string> ReadBlobText(std::string_view blob, size_t& pos) {
  if (pos >= blob.size()) return std::nullopt;
  const size_t stored = static_cast<unsigned char>(blob[pos]);
  if (stored == 0 || pos + stored > blob.size()) return std::nullopt;
  std::string text(blob.substr(pos + 1, stored - 1));
  pos += stored;
  if (text.size() > kChartBlobTextLimit) text.resize(kChartBlobTextLimit);
  return text;
}

std::string BuildChartBlob(TChartFXCore& chart, int kind) {
  if (!chart.HasChart() || kind < 1 || kind > 4) return {};
  std::string blob = "Res";
  blob += static_cast<char>(kind);
  auto put = [&](std::uint32_t v) { return AppendBlobInt(blob, v); };
  switch (kind) {
    case 1:
      for (int s = 0, n = SeriesCount(chart); s < n; ++s)
        for (int code : kSeriesCodes1)
          if (!put(static_cast<std::uint32_t>(chart.GetSeriesSetting(code, s)))) return blob;
      break;
    case 2:
      for (int i = 0; i < kConstantCount; ++i)
        if (!AppendBlobDouble(blob, chart.GetConst(i))) return blob;
      for (std::uint32_t item : {static_cast<std::uint32_t>(chart.GalleryTool()), chart.Code14(-1) != -1 ? 1u : 0u,
                                 static_cast<std::uint32_t>(chart.Code14(-2)), static_cast<std::uint32_t>(chart.Shape())})
        if (!put(item)) return blob;
      break;
    case 3:
      for (int s = 0, n = SeriesCount(chart); s < n; ++s)
        if (!put(static_cast<std::uint32_t>(chart.GetSeriesSetting(kSeriesCode3, s)))) return blob;
      for (int i = 0; i < kPaletteColors; ++i)
        if (!put(chart.GetColor(i)) || !put(chart.GetBkColor(i))) return blob;
      break;
    case 4:
      for (int i = 0; i < kTitleCount; ++i)
        if (!AppendBlobText(blob, chart.GetTitle(i))) return blob;
      for (int i = 0; i < kFontCount; ++i)
        if (!put(chart.GetFontColor(i)) || !put(static_cast<std::uint32_t>(chart.GetFontFlags(i)))) return blob;
      break;
  }
  return blob;
}

void ApplyChartBlob(TChartFXCore& chart, int kind, std::string_view blob) {
  if (!chart.HasChart() || blob.size() < 4 || blob.substr(0, 3) != "Res" || blob[3] != static_cast<char>(kind)) return;
  size_t pos = 4;
  auto next = [&](int& v) {
    std::optional<std::uint32_t> item = ReadBlobInt(blob, pos);
    if (item) v = static_cast<int>(*item);
    return item.has_value();
  };
  int v = 0, w = 0;
  switch (kind) {
    case 1:
      for (int s = 0, n = SeriesCount(chart); s < n; ++s)
        for (int code : kSeriesCodes1) {
          if (!next(v)) return;
          chart.SetSeriesSetting(code, s, v);
        }
      break;
    case 2: {
      for (int i = 0; i < kConstantCount; ++i) {
        std::optional<double> d = ReadBlobDouble(blob, pos);
        if (!d) return;
        chart.SetConst(i, *d);
      }
      if (!next(v)) return;
      chart.SetGalleryTool(v);
      int on = 0, value = 0;
      if (!next(on) || !next(value)) return;
      // Request 14 is a switch with a value: the stored state is put back
      // through the same steps the chart has always been given, keeping
      // the 3D look as it is when the switch ends up off.
      chart.SetCode14(on != 0 ? 1 : 0, chart.Code14(-2));
      const bool wasNone = chart.Code14(-1) == -1;
      const bool was3D = chart.Chart3D();
      chart.SetCode14(1, value);
      if (wasNone) {
        chart.SetCode14(0, chart.Code14(-2));
        chart.SetChart3D(was3D);
      }
      chart.Repaint();
      if (!next(v)) return;
      chart.SetShape(v);
      break;
    }
    case 3:
      for (int s = 0, n = SeriesCount(chart); s < n; ++s) {
        if (!next(v)) return;
        chart.SetSeriesSetting(kSeriesCode3, s, v);
      }
      for (int i = 0; i < kPaletteColors; ++i) {
        if (!next(v) || !next(w)) return;
        chart.SetColor(i, static_cast<std::uint32_t>(v));
        chart.SetBkColor(i, static_cast<std::uint32_t>(w));
      }
      break;
    case 4:
      for (int i = 0; i < kTitleCount; ++i) {
        std::optional<std::string> title = ReadBlobText(blob, pos);
        if (!title) return;
        chart.SetTitle(i, *title);
      }
      for (int i = 0; i < kFontCount; ++i) {
        if (!next(v) || !next(w)) return;
        chart.SetFontColor(i, static_cast<std::uint32_t>(v));
        chart.SetFontFlags(i, w);
      }
      break;
  }
}

}  // namespace foldwick
