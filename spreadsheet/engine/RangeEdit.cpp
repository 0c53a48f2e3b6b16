// Range commands that change cells in place.
#include "spreadsheet/engine/RangeEdit.h"

#include <algorithm>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/Recalc.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/engine/UndoBuffer.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

namespace {

constexpr std::uint8_t kStyleAlignBits = 0x70;

// Sets a field of every editable position, creating missing cells outside
// protection.
template <typename Set>
bool SetEveryPosition(const TRange& range, Set set) {
  TCellCommand command;
  command.Begin();
  bool ok = ForEachPositionInRange(range, [&](int row, int col, TCellHandle cell) {
    if (cell == kNilHandle) {
      if (ProtectionOn()) return true;
      cell = CellGetOrCreate(row, col);
      if (cell == kNilHandle) return false;
    }
    if (CellIsEditable(CellPtr(cell))) set(*CellPtr(cell));
    return true;
  });
  if (!ok) return command.Fail(kOutOfMemoryText);
  command.Done();
  return true;
}

// Sets the size of lines first..last (cut to 0..max) in the active window.
void SetLineSizes(int first, int last, int max, bool columns, int size) {
  TWindowServices& windows = WindowServices();
  TSheetViewState view;
  if (windows.GetSheetView(view)) {
    std::span<std::uint16_t> sizes = SizeTable(view.sizes, columns);
    for (int line = std::max(first, 0); line <= std::min(last, max); ++line)
      sizes[line] = static_cast<std::uint16_t>(size);
    windows.SetSheetView(view, kViewSizes);
  }
  MarkChangedAndRepaint();
}

}  // namespace

void TCellCommand::Begin() { undoSaved_ = UndoSave(); }

bool TCellCommand::Fail(std::string_view message) {
  // The restore clears the error flag, which may hold the only copy of the text.
  std::string text = message.empty() ? ErrorMessage() : std::string(message);
  if (undoSaved_) UndoApply(TUndoMode::kRestore);
  undoSaved_ = false;
  SetErrorFlag(text);
  if (!message.empty()) ShowError(text);
  return false;
}

void TCellCommand::Done() { MarkChangedAndRepaint(); }

void MarkChangedAndRepaint() {
  TWindowServices& windows = WindowServices();
  windows.MarkSheetModified(windows.ActiveSheet());
  windows.RepaintSheet(windows.ActiveSheet());
}

TRange OrderedRange(const TRange& range) {
  TRange r = range;
  OrderPair(r.firstRow, r.lastRow);
  OrderPair(r.firstCol, r.lastCol);
  return r;
}

bool CellIsEditable(const TCell* cell) { return cell != nullptr && !CellIsProtected(cell); }

void RangeErase(const TRange& range) {
  TCellCommand command;
  command.Begin();
  ForEachCellInRange(range, [](TCellHandle cell) {
    if (CellIsEditable(CellPtr(cell))) CellClearContents(cell);
  });
  RecalcRange(range);
  command.Done();
}

void RangeSetRowHeights(const TRange& range, int size) {
  TRange r = OrderedRange(range);
  if (RangeIsValid(r)) SetLineSizes(r.firstRow, r.lastRow, kMaxRow, false, size);
}

void RangeSetColWidths(const TRange& range, int width) {
  TRange r = OrderedRange(range);
  if (RangeIsValid(r)) SetLineSizes(r.firstCol, r.lastCol, kMaxCol, true, width);
}

bool RangeSetFormat(const TRange& range, int format) {
  return SetEveryPosition(range, [format](TCell& cell) {
    cell.format = static_cast<std::uint8_t>((cell.format & kFormatProtectedBit) | (format & 0x7F));
  });
}

bool RangeSetAttributes(const TRange& range, std::uint32_t attributes) {
  return SetEveryPosition(range, [attributes](TCell& cell) { cell.attributes = attributes; });
}

bool RangeSetCells(const TRange& range, const std::function<void(TCell&)>& set) { return SetEveryPosition(range, set); }

void RangeLock(const TRange& range) {
  ForEachCellInRange(range, [](TCellHandle cell) { CellPtr(cell)->format |= kFormatProtectedBit; });
  MarkChangedAndRepaint();
}

void RangeUnlock(const TRange& range) {
  ForEachCellInRange(range, [](TCellHandle cell) {
    CellPtr(cell)->format &= static_cast<std::uint8_t>(~kFormatProtectedBit);
  });
  MarkChangedAndRepaint();
}

void RangeSetPrefix(const TRange& range, char prefix) {
  ForEachCellInRange(range, [prefix](TCellHandle cell) {
    TCell* record = CellPtr(cell);
    if (!CellIsLabel(record) || PoolStringView(record->text).empty()) return;
    PoolBlock(record->text)[1] = static_cast<std::uint8_t>(prefix);
  });
  RecalcRange(range);
  MarkChangedAndRepaint();
}

bool RangeJustify(const TRange& range, int code) {
  static constexpr char kAlignPrefix[4] = {0, '\'', '"', '^'};
  int align = code & 3;
  char prefix = kAlignPrefix[align];
  TCellCommand command;
  command.Begin();
  bool ok = ForEachPositionInRange(range, [&](int row, int col, TCellHandle cell) {
    if (cell != kNilHandle && !CellIsEditable(CellPtr(cell))) return true;
    if (cell == kNilHandle) {
      if (ProtectionOn() || align == 0) return true;
      cell = CellGetOrCreate(row, col);
      TPoolHandle label = PoolNewString(std::string(1, prefix));
      if (cell == kNilHandle || label == kNilHandle) return false;
      CellPtr(cell)->text = label;
      CellPtr(cell)->kind = kKindLabel;
    } else if (align != 0 && CellIsLabel(CellPtr(cell))) {
      std::uint8_t* text = PoolBlock(CellPtr(cell)->text);
      if (text != nullptr && text[0] > 0 && text[1] != '/') text[1] = static_cast<std::uint8_t>(prefix);
    }
    TCell* record = CellPtr(cell);
    record->style = static_cast<std::uint8_t>((record->style & ~kStyleAlignBits) | (align << 4));
    return true;
  });
  if (!ok) return command.Fail(kOutOfMemoryText);
  RecalcRange(range);
  command.Done();
  return true;
}

std::string ChangeCaseText(std::string_view text, int mode) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  std::string out;
  switch (mode) {
    case 0:
      for (char c : text) out += lower(c);
      break;
    case 1:
      for (char c : text) out += upper(c);
      break;
    case 2:
      for (std::size_t i = 0; i < text.size(); ++i) out += i == 0 || text[i - 1] == ' ' ? upper(text[i]) : lower(text[i]);
      break;
    case 3:
      for (char c : text)
        if (c != ' ' || out.empty() || out.back() != ' ') out += c;
      if (!out.empty() && out.front() == ' ') out.erase(0, 1);
      if (!out.empty() && out.back() == ' ') out.pop_back();
      break;
    case 4:
      for (char c : text)
        if (c != ' ') out += c;
      break;
    case 5:
      for (char c : text) {
        auto u = static_cast<unsigned char>(c);
        if (u >= 32 && u <= 127) out += c;
      }
      break;
    default:
      out = text;
  }
  if (out.size() > kPoolStringMaxChars) out.resize(kPoolStringMaxChars);
  return out;
}

bool RangeChangeCase(const TRange& range, int mode) {
  TCellCommand command;
  command.Begin();
  bool ok = true;
  ForEachCellInRange(range, [&](TCellHandle cell) {
    TCell* record = CellPtr(cell);
    if (!ok || !CellIsLabel(record) || !CellIsEditable(record)) return;
    std::string_view text = PoolStringView(record->text);
    if (text.size() <= 1) return;
    std::string changed = std::string(text.substr(0, 1)) + ChangeCaseText(text.substr(1), mode);
    TPoolHandle handle = record->text;
    ok = PoolStrAssign(handle, changed);
    CellPtr(cell)->text = handle;
  });
  if (!ok) return command.Fail(kOutOfMemoryText);
  RecalcRange(range);
  command.Done();
  return true;
}

}  // namespace corvane
