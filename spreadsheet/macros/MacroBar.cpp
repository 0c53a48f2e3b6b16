#include "spreadsheet/macros/MacroBar.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "spreadsheet/files/FileReplace.h"

namespace corvane {

namespace {
constexpr std::size_t kHintChars = 80;
constexpr std::size_t kNameChars = 30;
}  // namespace

std::string MacroBarMacro(std::string_view line) {
  std::size_t first = line.find('|');
  if (first == std::string_view::npos) return std::string(line);
  std::size_t second = line.find('|', first + 1);
  return std::string(line.substr((second == std::string_view::npos ? first : second) + 1));
}

std::string MacroBarHint(std::string_view line) {
  line = line.substr(0, kHintChars);
  std::string hint(line);
  if (std::size_t first = line.find('|'); first != std::string_view::npos) {
    std::size_t second = line.find('|', first + 1);
    hint = std::string(line.substr(first + 1, second == std::string_view::npos ? std::string_view::npos
                                                                                 : second - first - 1));
  }
  return hint.empty() || hint == " " ? kUnassignedMacro : hint;
}

std::string MacroBarLetters(std::string_view line) {
  std::string_view name = line.substr(0, std::min(line.find('|'), kNameChars));
  return std::string(name.substr(0, 2));
}

TMacroBarLayout MacroBarLayout(int innerHeight, int pitch) {
  TMacroBarLayout layout;
  layout.visible = std::max(0, (innerHeight - pitch) / pitch);
  layout.margin = (innerHeight - layout.visible * pitch) / 2;
  return layout;
}

int MacroBarHit(int y, const TMacroBarLayout& layout, int firstVisible, int pitch) {
  if (y < layout.margin) return kMacroBarUpArrow;
  int k = (y - layout.margin) / pitch;
  return k < layout.visible ? firstVisible + k : kMacroBarDownArrow;
}

classlib::TRect MacroBarButtonRect(int i, const TMacroBarLayout& layout, int firstVisible, int top, int width,
                                   int pitch) {
  if (i < firstVisible) return {};
  int y = top + (i - firstVisible) * pitch + layout.margin;
  return {1, y, width - 1, y + pitch - 1};
}

int MacroBarScrolled(int firstVisible, int delta, int barHeight) {
  int last = std::max(0, kMacroBarButtons + 2 - barHeight / 22);
  return std::clamp(firstVisible + delta, 0, last);
}

TDefineButtonValue DefineButtonValue(std::string_view line) {
  TDefineButtonValue value;
  std::size_t first = line.find('|');
  value.name = std::string(line.substr(0, first));
  if (first != std::string_view::npos) {
    std::size_t second = line.find('|', first + 1);
    if (second != std::string_view::npos) value.hint = std::string(line.substr(first + 1, second - first - 1));
    value.macroLines = {MacroBarMacro(line)};
  }
  return value;
}

std::string DefineButtonLine(const TDefineButtonValue& value) {
  std::string macro;
  for (const std::string& line : value.macroLines) macro += line;
  return value.name + "|" + value.hint + "|" + macro;
}

bool ReadMacroLibrary(const std::string& path, std::vector<std::string>& lines) {
  lines.clear();
  std::ifstream in(path, std::ios::binary);
  if (!in) return !FileExists(path);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return !in.bad();
}

bool WriteMacroLibrary(const std::string& path, const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return SaveFileReplacing(path, bytes, "");
}

}  // namespace corvane
