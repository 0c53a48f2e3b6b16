// View values and their texts.
#include "analyser/app/FolderValues.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace foldwick {

const char* ViewCaptionSuffix(int viewType) {
  switch (viewType) {
    case kViewSize: return " - (Size)";
    case kViewAllocated: return " - (Bytes Allocated)";
    case kViewPercent: return " - (Percent)";
    case kViewWasted: return " - (Wasted Space)";
    case kViewCdRom: return " - (CD-ROM Cluster Size)";
    default: return "";
  }
}

TFolderTotals TFolderCounts::Totals() const {
  return {clusters.load(std::memory_order_relaxed), tailBytes.load(std::memory_order_relaxed),
          objects.load(std::memory_order_relaxed), bytes.load(std::memory_order_relaxed)};
}

void TFolderCounts::SetTotals(const TFolderTotals& t) {
  clusters.store(t.clusters, std::memory_order_relaxed);
  tailBytes.store(t.tailBytes, std::memory_order_relaxed);
  objects.store(t.objects, std::memory_order_relaxed);
  bytes.store(t.bytes, std::memory_order_relaxed);
}

void TFolderCounts::AddTotals(const TFolderTotals& t) {
  clusters.fetch_add(t.clusters, std::memory_order_relaxed);
  tailBytes.fetch_add(t.tailBytes, std::memory_order_relaxed);
  objects.fetch_add(t.objects, std::memory_order_relaxed);
  bytes.fetch_add(t.bytes, std::memory_order_relaxed);
}

TFolderTotals TFolderCounts::OwnTotals() const {
  return {ownClusters.load(std::memory_order_relaxed), ownTailBytes.load(std::memory_order_relaxed),
          std::max<std::int64_t>(ownFiles.load(std::memory_order_relaxed), 0), ownBytes.load(std::memory_order_relaxed)};
}

void TFolderCounts::SetOwn(const TFolderTotals& t) {
  ownClusters.store(t.clusters, std::memory_order_relaxed);
  ownTailBytes.store(t.tailBytes, std::memory_order_relaxed);
  ownBytes.store(t.bytes, std::memory_order_relaxed);
  ownFiles.store(t.objects, std::memory_order_relaxed);
}

void TFolderCounts::RaiseTimes(TFileTime access, TFileTime change) {
  if (IsNewerTime(access, lastAccess.load(std::memory_order_relaxed))) lastAccess.store(access, std::memory_order_relaxed);
  if (IsNewerTime(change, lastChange.load(std::memory_order_relaxed))) lastChange.store(change, std::memory_order_relaxed);
}

double GetFolderValue(const TFolderTotals& t, const TValueContext& context, int viewType, int unitType) {
  const double c = static_cast<double>(std::max<std::int64_t>(context.clusterSize, 1));
  const double k = static_cast<double>(t.clusters);
  const double n = static_cast<double>(t.objects);
  const double tail = static_cast<double>(t.tailBytes);
  const double bytes = static_cast<double>(t.bytes);
  double kb = 0;
  switch (viewType) {
    case kViewSize: kb = bytes / 1024; break;
    case kViewAllocated: kb = k * c / 1024; break;
    case kViewPercent:
      if (context.scanRunning) return -1;
      return k / (static_cast<double>(context.parentClusters) + 0.0001) * 100;
    case kViewWasted: kb = (k * c - bytes) / 1024; break;
    case kViewCdRom:
      // 2048-byte sectors: the whole-cluster part of the sizes as it is, the
      // tails rounded up to sectors, on average half a sector per object.
      kb = t.objects > 0 ? ((tail / 2048 + n / 2 + 1) * 2048 + (bytes - tail)) / 1024 : 0;
      break;
    case kViewObjects: return n;
    default: return 0;
  }
  return unitType == kUnitMB ? kb / 1024 : kb;
}

std::string FormatNumber(double value, int decimals, const TNumberFormat& format) {
  decimals = std::clamp(decimals, 0, 9);
  if (!std::isfinite(value)) value = 0;
  const bool negative = value < 0;
  double scaled = std::round(std::fabs(value) * std::pow(10.0, decimals));
  std::string digits;
  if (scaled < 1e18) {
    // A whole number that fits 64 bits, written without the C library's
    // floating-point conversion, which some runtimes make costly: the tree
    // and the detail list format hundreds of thousands of values at a time.
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, static_cast<std::uint64_t>(scaled)).ptr;
    digits.assign(buffer, end);
  } else {
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.0f", scaled);
    digits = buffer;
  }
  if (digits.size() < static_cast<size_t>(decimals) + 1) digits.insert(0, decimals + 1 - digits.size(), '0');
  std::string whole = digits.substr(0, digits.size() - decimals);
  std::string text;
  for (size_t i = 0; i < whole.size(); ++i) {
    if (i > 0 && (whole.size() - i) % 3 == 0) text += format.thousandSeparator;
    text += whole[i];
  }
  if (decimals > 0) text += format.decimalSeparator + digits.substr(digits.size() - decimals);
  if (negative && scaled != 0) text.insert(0, "-");
  return text;
}

std::string Spaces(int n) { return n > 0 ? std::string(static_cast<size_t>(n), ' ') : std::string(); }

std::string FormatFolderValue(double value, int viewType, bool pad, const TValueFormat& format) {
  const float v = static_cast<float>(value);
  if (!(v >= 0)) return {};
  if (viewType == kViewObjects) return FormatNumber(v, 0, format.number);
  const int decimals = std::clamp(format.decimals, 1, 4);
  std::string text = FormatNumber(v, decimals - 1, format.number);
  if (viewType == kViewPercent) {
    text += " %";
  } else if (format.unitType == kUnitMB) {
    text += " MB";
  } else if (format.unitType == kUnitMixed && v > 102400) {
    text = FormatNumber(v / 1024, decimals - 1, format.number) + " MB";
  } else {
    text += " kb";
  }
  if (!pad) return text;
  if (viewType == kViewPercent) return v >= 10 ? text + "  " : "  " + text + "  ";
  const int s = std::max(format.pad.spaceWidth, 1);
  const int w = format.pad.textWidth ? format.pad.textWidth(text) : static_cast<int>(text.size());
  const int unitType = std::clamp(format.unitType, 0, 2);
  // A text wider than the column gets no padding rather than a negative count.
  const int n = (s * (2 * decimals + 2) + format.pad.unitWidth + 2 * unitType * s - w) / s;
  return Spaces(n) + text + "  ";
}

std::string MarkFolderName(const std::string& name, bool hasError, bool isNew) {
  std::string text = name;
  if (hasError) text += " [Error!]";
  if (isNew) text += "  <==";
  return text;
}

}  // namespace foldwick
