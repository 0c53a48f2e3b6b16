// Status texts, captions and the detail list's order.
#include "analyser/app/MainWindowText.h"

#include <cctype>
#include <cstdlib>

#include "analyser/app/ScanRules.h"

namespace foldwick {

namespace {

int Descending(std::int64_t a, std::int64_t b) { return a > b ? -1 : a < b ? 1 : 0; }

int HighWordOrder(TFileTime a, TFileTime b) {
  const auto ha = static_cast<std::int32_t>(a >> 32), hb = static_cast<std::int32_t>(b >> 32);
  return ha < hb ? -1 : ha > hb ? 1 : 0;
}

std::string MegabytesText(std::int64_t kb, const TNumberFormat& format) {
  // KB / 1024, rounded.
  return FormatNumber(static_cast<double>((kb + 512) / 1024), 0, format);
}

}  // namespace

std::string FreeSpaceText(const TRootStatus* root, const TNumberFormat& format) {
  if (root == nullptr) return {};
  std::string text = "Free Space: ";
  if (root->totalKB > 0)
    text += MegabytesText(root->freeKB, format) + " MB (of " + MegabytesText(root->totalKB, format) + " MB)";
  return text;
}

std::string ObjectsText(const TRootStatus* root, const TNumberFormat& format) {
  if (root == nullptr) return "0 Objects";
  return FormatNumber(static_cast<double>(root->objects - 1), 0, format) + " Objects";
}

std::string ClusterText(const TRootStatus* root) {
  if (root == nullptr) return {};
  return std::to_string(root->clusterSize) + " Bytes per Cluster (" + root->fileSystem + ")";
}

std::string WindowCaption(const std::string& title, const std::vector<std::string>& patterns, int viewType) {
  std::string caption = title;
  if (!patterns.empty() && patterns[0] != "*" && patterns[0] != "*.*")
    caption += " " + patterns[0] + " " + (patterns.size() > 1 ? patterns[1] : std::string());
  return caption + ViewCaptionSuffix(viewType);
}

bool ParseSetSize(const std::string& answer, int& size) {
  size_t i = 0;
  if (i < answer.size() && (answer[i] == '-' || answer[i] == '+')) ++i;
  if (i >= answer.size() || !std::isdigit(static_cast<unsigned char>(answer[i]))) return false;
  long long value = 0;
  for (; i < answer.size() && std::isdigit(static_cast<unsigned char>(answer[i])); ++i)
    value = std::min<long long>(value * 10 + (answer[i] - '0'), 0x7FFFFFFF);
  size = static_cast<int>(value);
  return true;
}

std::string SizeCaption(const std::string& caption, char marker, int sizeMB) {
  const size_t at = caption.find(marker);
  std::string text = at == std::string::npos ? caption + marker : caption.substr(0, at + 1);
  if (marker == ':') text += ' ';
  return text + std::to_string(sizeMB) + " MB";
}

std::string CountFoldersText(const std::string& rootName, std::int64_t folders) {
  return rootName + " has " + std::to_string(folders) + " Folders.";
}

int CompareDetailRows(const TDetailRow& a, const TDetailRow& b, int column, std::int64_t clusterSize,
                      const std::function<int(const std::string&, const std::string&)>& compareCaptions) {
  const std::int64_t c = std::max<std::int64_t>(clusterSize, 1);
  switch (column) {
    case 0:
      if (a.isFolder != b.isFolder) return a.isFolder ? -1 : 1;
      return compareCaptions ? compareCaptions(a.caption, b.caption) : a.caption.compare(b.caption);
    case 1: return CompareBySize(a.totals, b.totals, kViewSize, c);
    case 2:
    case 5: return CompareBySize(a.totals, b.totals, kViewAllocated, c);
    case 3: return Descending(a.totals.objects, b.totals.objects);
    case 4: return CompareBySize(a.totals, b.totals, kViewWasted, c);
    case 6: return HighWordOrder(a.lastAccess, b.lastAccess);
    case 7: return HighWordOrder(a.lastChange, b.lastChange);
    default: return 0;
  }
}

}  // namespace foldwick
