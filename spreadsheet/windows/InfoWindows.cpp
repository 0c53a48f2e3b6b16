// Tips, document information and system metrics as values.
#include "spreadsheet/windows/InfoWindows.h"

#include <algorithm>
#include <cmath>

#include "spreadsheet/engine/DateTime.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/PagePool.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/WindowServices.h"
#include "spreadsheet/files/WorksheetFileState.h"

namespace corvane {

namespace {

constexpr int kDateFormatMonthFirst = 9;  // "mm/dd/yyyy"
constexpr int kTimeMode12Hour = 0;        // "h:mm:ss am"

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

int ParseCount(std::string_view line) {
  while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
  int count = 0;
  std::size_t k = 0;
  for (; k < line.size() && line[k] >= '0' && line[k] <= '9' && count < 1000000; ++k) count = count * 10 + (line[k] - '0');
  return k == 0 ? -1 : count;
}

std::string Kilobytes(std::int64_t bytes) { return std::to_string(bytes / 1024) + " kb"; }

}  // namespace

void TTipFile::Load(std::string_view text) {
  tips_.clear();
  std::vector<std::string_view> lines = SplitLines(text);
  int declared = lines.empty() ? -1 : ParseCount(lines.front());
  for (std::size_t k = 1; k < lines.size(); ++k) {
    if (!lines[k].empty() && lines[k].front() == '!') {
      tips_.push_back(TTip{std::string(lines[k].substr(1)), {}});
    } else if (!tips_.empty()) {
      tips_.back().lines.emplace_back(lines[k]);
    }
  }
  int found = static_cast<int>(tips_.size());
  count_ = declared >= 1 && declared <= found ? declared : found;
}

const TTipFile::TTip* TTipFile::Tip(int n) const {
  return n >= 1 && n <= count_ ? &tips_[static_cast<std::size_t>(n - 1)] : nullptr;
}

int TTipFile::StartTip(int draw) const {
  if (count_ <= 1) return count_;
  int n = draw % count_;
  if (n < 0) n = -n;
  return std::clamp(n, 1, count_ - 1);
}

int TTipFile::NextTip(int n) const { return n >= count_ ? std::min(count_, 1) : n + 1; }

std::vector<std::string> WrapTipLine(std::string_view line, int width,
                                     const std::function<int(std::string_view)>& measure) {
  std::vector<std::string> out;
  std::string current = " ";
  bool hasWord = false;
  auto flush = [&] {
    out.push_back(current);
    current = " ";
    hasWord = false;
  };
  std::size_t pos = 0;
  while (pos < line.size()) {
    while (pos < line.size() && line[pos] == ' ') ++pos;
    if (pos >= line.size()) break;
    std::size_t end = line.find(' ', pos);
    std::string_view word = line.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
    pos = end == std::string_view::npos ? line.size() : end;
    std::string candidate = current + (hasWord ? " " : "") + std::string(word);
    if (measure(candidate) <= width) {
      current = std::move(candidate);
      hasWord = true;
      continue;
    }
    if (hasWord) flush();
    // The word starts a line of its own; break it while it is too wide.
    while (!word.empty()) {
      std::size_t take = word.size();
      while (take > 1 && measure(current + std::string(word.substr(0, take))) > width) --take;
      current += std::string(word.substr(0, take));
      hasWord = true;
      word.remove_prefix(take);
      if (!word.empty()) flush();
    }
  }
  if (hasWord || out.empty()) out.push_back(current);
  return out;
}

std::string EncodeComments(const std::vector<std::string>& lines) {
  std::string text;
  for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
    if (text.size() + it->size() + 1 > kDocCommentsMaxChars) break;
    text += *it;
    text += '\r';
  }
  return text;
}

std::vector<std::string> DecodeComments(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\r', start);
    if (end == std::string_view::npos) end = text.size();
    lines.insert(lines.begin(), std::string(text.substr(start, end - start)));
    start = end + 1;
  }
  if (lines.empty()) lines.emplace_back();
  return lines;
}

TDocInfoValues DocInfoValuesFor(const TDocumentInfo& info) {
  TDocInfoValues values;
  values.title = info.title.substr(0, kDocTitleMaxChars);
  values.commentLines = DecodeComments(info.comments);
  values.revisedBy = info.revisedBy.empty() ? kNotAvailableText : info.revisedBy;
  if (info.creationTime == -1 || info.creationDate == -1) {
    values.created = kNotAvailableText;
  } else {
    int seconds = static_cast<int>(std::lround(std::clamp(info.creationTime, 0.0, 1.0) * 86400.0)) % 86400;
    values.created = FormatDate(kDateFormatMonthFirst, info.creationDate) + " , " +
                     FormatTimeOfDay(seconds / 3600, seconds / 60 % 60, seconds % 60, kTimeMode12Hour);
  }
  return values;
}

void ApplyDocInfoValues(const TDocInfoValues& values, TDocumentInfo& info) {
  info.title = values.title.substr(0, kDocTitleMaxChars);
  info.comments = EncodeComments(values.commentLines);
}

TSystemMetricsValues SystemMetricsValuesFor(const TSystemFacts& facts) {
  TSystemMetricsValues out;
  for (const std::string& argument : facts.arguments) out.cmdline += argument;
  out.exe = facts.exePath;
  out.data = facts.currentFolder;
  out.version = facts.version;
  TDocSlot* slot = DocSlot(CurrentDocSlot());
  if (WindowServices().ActiveSheet() != kNoSheet && slot != nullptr && HaveCurrentDocument()) {
    out.range = "A1.." + ColRowName(gCurrentDoc.highRow, gCurrentDoc.highCol);
    out.name = slot->fileName;
    out.used = std::to_string(PoolUsedByOwner(gCurrentDoc.ownerTag)) + " bytes";
  } else {
    out.range = out.name = out.used = kNotAvailableText;
  }
  std::int64_t total = PoolTotalSize();
  std::int64_t free = PoolFreeBytes();
  out.memoryUsed = Kilobytes(PoolUsedBytes());
  out.memoryTotal = Kilobytes(total);
  int percent = total > 0 ? static_cast<int>(free * 100 / total) : 0;
  out.memoryFree = Kilobytes(free) + " " + std::to_string(percent) + "%";
  out.processor = facts.processorType == 586 ? "Pentium" : std::to_string(facts.processorType);
  return out;
}

}  // namespace corvane
