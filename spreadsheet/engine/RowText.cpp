// Display text of a stretch of a row, and the clipboard's attribute text.
#include "spreadsheet/engine/RowText.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/FormatSettings.h"
#include "spreadsheet/engine/FormulaText.h"
#include "spreadsheet/engine/NumberFormat.h"
#include "spreadsheet/engine/NumberText.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

namespace {

constexpr char kDotsBefore = static_cast<char>(174);
constexpr char kDotsAfter = static_cast<char>(175);

// Where a text goes in its field: its offset from the field's start.
enum class TAlign { kLeft, kRight, kRightSpace, kCentre };

struct TFieldText {
  std::string text;
  TAlign align = TAlign::kLeft;
};

double CellNumberValue(const TCell& cell) {
  return CellKind(cell) == kKindInteger ? CellInteger(cell) : CellReal(cell);
}

// A label's text (or a text result after "'") placed by its prefix.
TFieldText LabelField(std::string_view prefixed, int width) {
  TFieldText field;
  if (prefixed.empty()) return field;
  char prefix = prefixed[0];
  std::string text(prefixed.substr(1));
  int free = std::max(0, width - static_cast<int>(text.size()));
  switch (prefix) {
    case '"':
      field.align = TAlign::kRightSpace;
      break;
    case '\\':
      text = text.empty() ? std::string() : std::string(static_cast<std::size_t>(width), text[0]);
      break;
    case '^':
      field.align = TAlign::kCentre;
      break;
    case kDotsBefore:
      text = std::string(static_cast<std::size_t>(free), '.') + text;
      break;
    case kDotsAfter:
      text += std::string(static_cast<std::size_t>(free), '.');
      break;
    default:
      break;
  }
  field.text = text;
  return field;
}

TFieldText CellField(const TCell& cell, int width) {
  int format = cell.format & 0x7F;
  if (format == kFormatDefault) format = FormatSettings().GForm & 0x7F;
  std::uint8_t kind = cell.kind & (kKindTypeMask | kKindErrorBit);
  if (format == kFormatHidden || kind == kKindBlank) return {};
  if (kind > kKindBlank) return {"ERR", TAlign::kRight};
  if (kind <= kKindNumberFormula && format == kFormatText) {
    return {FormulaToText(PoolBlock(cell.text), PoolStringBlockBytes(cell.text)), TAlign::kLeft};
  }
  if (kind == kKindLabel) return LabelField(PoolStringView(cell.text), width);
  if (kind == kKindStringFormula) return LabelField("'" + std::string(PoolStringView(CellResultText(cell))), width);
  double x = CellNumberValue(cell);
  if (kind != kKindNumberFormula && format == kFormatText) return {RealToGeneralDisplayText(x), TAlign::kLeft};
  std::string text = FormatValueInWidth(width, static_cast<std::uint8_t>(format), x);
  // The space that follows most formats only keeps the number off the next
  // field; a number that fits without it is written without it.
  if (static_cast<int>(text.size()) == width + 1 && text.back() == ' ') text.pop_back();
  if (static_cast<int>(text.size()) > width) return {std::string(static_cast<std::size_t>(width), '*'), TAlign::kLeft};
  return {text, format == kFormatBar ? TAlign::kLeft : TAlign::kRight};
}

int FieldOffset(const TFieldText& field, int width) {
  int free = width - static_cast<int>(field.text.size());
  switch (field.align) {
    case TAlign::kRight:
      return std::max(0, free);
    case TAlign::kRightSpace:
      return std::max(0, free - 1);
    case TAlign::kCentre:
      return std::max(0, free / 2);
    case TAlign::kLeft:
      break;
  }
  return 0;
}

}  // namespace

std::string RowDisplayText(int row, int firstCol, int lastCol) {
  TWindowServices& windows = WindowServices();
  firstCol = std::max(firstCol, 0);
  lastCol = std::min(lastCol, kMaxCol);
  if (firstCol > lastCol) return "";
  std::vector<int> starts;
  int length = 0;
  for (int col = firstCol; col <= lastCol; ++col) {
    starts.push_back(length);
    length += std::max(0, windows.ColumnWidthChars(col) + 2);
  }
  starts.push_back(length);
  std::vector<const TCell*> cells(starts.size() - 1, nullptr);
  TRange stretch;
  RangeSet(stretch, firstCol, row, lastCol, row);
  ForEachCellInRange(stretch, [&](TCellHandle, const TCell& cell) { cells[cell.column - firstCol] = &cell; });
  std::string line(static_cast<std::size_t>(length), ' ');
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (cells[i] == nullptr) continue;
    int width = starts[i + 1] - starts[i];
    if (width == 0) continue;
    TFieldText field = CellField(*cells[i], width);
    int at = starts[i] + FieldOffset(field, width);
    // A text longer than its field runs on over empty cells only, as on the
    // sheet: it is cut where the next cell with contents starts.
    std::size_t next = i + 1;
    while (next < cells.size() && (cells[next] == nullptr || CellKind(*cells[next]) == kKindBlank)) ++next;
    int end = starts[next];
    if (at >= end) continue;
    line.replace(static_cast<std::size_t>(at), std::min(field.text.size(), static_cast<std::size_t>(end - at)),
                 field.text.substr(0, static_cast<std::size_t>(end - at)));
  }
  return line;
}

std::string CellAttributeText(int row, int col) {
  const TCell* cell = CellPtr(CellFind(row, col));
  if (cell == nullptr) return "";
  return "F" + std::to_string(cell->format) + ",C" + std::to_string(cell->attributes) + ",T" +
         std::to_string(cell->font) + ",H" + std::to_string(cell->size) + ",S" + std::to_string(cell->style);
}

void ApplyCellAttributeText(int row, int col, std::string_view text) {
  TCell* cell = CellPtr(CellGetOrCreate(row, col));
  if (cell == nullptr) return;
  while (!text.empty()) {
    std::size_t comma = text.find(',');
    std::string_view item = text.substr(0, comma);
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    if (item.empty()) continue;
    std::string digits(item.substr(1));
    char* end = nullptr;
    long long parsed = std::strtoll(digits.c_str(), &end, 10);
    auto value = static_cast<std::uint32_t>(end != nullptr && *end == '\0' && !digits.empty() ? parsed : 0);
    switch (item[0]) {
      case 'C': case 'c': cell->attributes = value; break;
      case 'F': case 'f': cell->format = static_cast<std::uint8_t>(value); break;
      case 'H': case 'h': cell->size = static_cast<std::uint8_t>(value); break;
      case 'S': case 's': cell->style = static_cast<std::uint8_t>(value); break;
      case 'T': case 't': cell->font = static_cast<std::uint8_t>(value); break;
      default: break;
    }
  }
}

std::string TrimBoth(std::string_view text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return "";
  std::size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

}  // namespace corvane
