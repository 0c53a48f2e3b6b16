// The file search's rules and texts.
#include "analyser/app/FileSearch.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <unordered_set>

#include "analyser/app/CommandLine.h"
#include "analyser/app/ScanRules.h"

namespace foldwick {

namespace {

std::int32_t HighWord(TFileTime time) { return static_cast<std::int32_t>(time >> 32); }

const char* const kDefaultTempPatterns[] = {"temp", "tmp", ".bak", ".~", "~."};

}  // namespace

std::uint64_t MinimumSizeBytes(int spinValue, bool megabytes) {
  const std::uint64_t kb = static_cast<std::uint64_t>(std::max(spinValue, 0)) * 1024;
  return megabytes ? kb * 1024 : kb;
}

TFileTime RecentLimit(TFileTime now) {
  const TFileTime span = kFileTimeDay * 3 / 2;
  return now > span ? now - span : 0;
}

bool IsOldestFile(const TSearchParams& p, TFileTime lastAccess, TFileTime lastWrite) {
  if (p.oldestMode == kNotChanged) return HighWord(lastWrite) < HighWord(p.dateLimit);
  return HighWord(lastAccess) > 0 && HighWord(lastAccess) < HighWord(p.dateLimit);
}

bool IsBiggestFile(const TSearchParams& p, std::uint64_t size) { return size > p.minimumSize; }

bool IsStaleTemporary(const TSearchParams& p, TFileTime lastAccess) {
  return HighWord(lastAccess) <= HighWord(p.recentLimit);
}

TEntryRole RoleOfEntry(const std::string& name, bool isFolder, bool isReparsePoint) {
  if (!isFolder) return TEntryRole::kTest;
  if (isReparsePoint || name == "." || name == "..") return TEntryRole::kSkip;
  std::string head = name.substr(0, 6);
  for (char& c : head) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return head == "RECYCL" ? TEntryRole::kSkip : TEntryRole::kEnter;
}

std::string TemporaryMask(const std::string& pattern) { return "*" + pattern + "*"; }

std::string FoundSizeText(std::uint64_t size) { return std::to_string(RoundedKB(size)) + " kb"; }

std::vector<std::string> FoundRowSubItems(const TFoundFile& file,
                                          const std::function<std::string(TFileTime)>& timeText,
                                          const std::function<std::string(const std::string&)>& text) {
  const std::string change = timeText(file.lastWrite);
  std::string access = timeText(file.lastAccess);
  if (access.empty()) access = change;
  return {text(file.folder), FoundSizeText(file.size), change, access};
}

std::string TabStatusText(std::size_t count, std::uint64_t totalKB, const std::string& decimalSeparator) {
  if (count == 0) return "";
  char size[48];
  std::snprintf(size, sizeof size, "%1.1f", static_cast<double>(totalKB) / 1024.0);
  std::string mb = size;
  if (const size_t dot = mb.find('.'); dot != std::string::npos) mb.replace(dot, 1, decimalSeparator);
  return std::to_string(count) + "  Objects (" + mb + " MB)";
}

std::string SearchResultsText(const std::string& title, const std::string& tabCaption,
                              const std::vector<std::string>& columns,
                              const std::vector<std::vector<std::string>>& rows) {
  std::string caption = tabCaption.size() > 1 ? tabCaption.substr(1) : std::string();
  std::string text = title + ": " + caption + "\r\n\r\n";
  auto line = [&text](const std::vector<std::string>& fields) {
    for (const std::string& f : fields) text += f + "\t";
    text += "\r\n";
  };
  line(columns);
  for (const auto& row : rows) line(row);
  return text;
}

std::string DeleteList(const std::vector<std::string>& paths) {
  std::string list;
  std::unordered_set<std::string> seen;
  for (const std::string& path : paths) {
    if (path.empty() || !seen.insert(path).second) continue;
    list += path;
    list += '\0';
  }
  if (!list.empty()) list += '\0';
  return list;
}

std::vector<std::string> LoadTempPatterns(TSettingsStore& store) {
  std::vector<std::string> patterns;
  for (int i = 0; i < kMaxTempPatterns; ++i) {
    std::optional<std::string> value = store.Read(std::to_string(i));
    if (!value || value->empty()) break;
    patterns.push_back(*value);
  }
  if (patterns.empty()) {
    patterns.assign(std::begin(kDefaultTempPatterns), std::end(kDefaultTempPatterns));
    SaveTempPatterns(store, patterns);
  }
  return patterns;
}

void SaveTempPatterns(TSettingsStore& store, const std::vector<std::string>& patterns) {
  int count = 0;
  for (const std::string& p : patterns) {
    if (count == kMaxTempPatterns) break;
    store.Write(std::to_string(count++), p);
  }
  store.Write(std::to_string(count), "");
}

namespace {
struct TBoundsValue {
  const char* name;
  int TSearchBounds::*field;
  int low;  // a smaller size would leave the window too small to use
};
constexpr TBoundsValue kBoundsValues[] = {{"SF_Width", &TSearchBounds::width, 200},
                                          {"SF_Height", &TSearchBounds::height, 150},
                                          {"SF_Left", &TSearchBounds::left, -32000},
                                          {"SF_Top", &TSearchBounds::top, -32000}};
}  // namespace

TSearchBounds ReadSearchBounds(TSettingsStore& store, const TSearchBounds& defaults) {
  TSearchBounds bounds = defaults;
  for (const TBoundsValue& v : kBoundsValues) {
    int number = 0;
    std::optional<std::string> text = store.Read(v.name);
    if (text && ParseWholeNumber(*text, number) && number >= v.low && number <= 32767) bounds.*v.field = number;
  }
  return bounds;
}

void WriteSearchBounds(TSettingsStore& store, const TSearchBounds& bounds) {
  for (const TBoundsValue& v : kBoundsValues) store.Write(v.name, std::to_string(bounds.*v.field));
}

}  // namespace foldwick
