// Copy, move and the special copy of cell blocks.
#include "spreadsheet/engine/BlockCopy.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/FormulaCompiler.h"
#include "spreadsheet/engine/FormulaText.h"
#include "spreadsheet/engine/InsertDelete.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/RangeArguments.h"
#include "spreadsheet/engine/RangeEdit.h"
#include "spreadsheet/engine/Recalc.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

namespace {

// The attribute bytes a copy takes: font, size, style, borders, attributes
// and format (the cell's own column and row stay).
constexpr std::size_t kCopiedAttributeBytes = offsetof(TCell, column) - offsetof(TCell, font);
constexpr int kProgressStep = 256;

// A source cell as it was before the command: offsets from the source's first
// corner, its content and attributes, and its text (a formula's code with
// references relative to the source cell).
struct TSnapCell {
  int rowOffset = 0;
  int colOffset = 0;
  std::uint8_t kind = kKindBlank;
  std::uint8_t value[sizeof(TCell::value)] = {};
  std::uint8_t attributes[kCopiedAttributeBytes] = {};
  std::string text;
};

bool RefuseCopy(const char* text) {
  SetErrorFlag(text);
  ShowError(text);
  return false;
}

TSnapCell SnapCell(TCellHandle handle, int rowOffset, int colOffset) {
  const TCell* cell = CellPtr(handle);
  TSnapCell snap;
  snap.rowOffset = rowOffset;
  snap.colOffset = colOffset;
  std::memcpy(snap.attributes, &cell->font, kCopiedAttributeBytes);
  std::uint8_t type = CellKind(*cell);
  // A formula is recalculated where it lands; any other cell keeps its ERR mark.
  snap.kind = CellIsFormula(cell) ? kKindNumberFormula : cell->kind & (kKindTypeMask | kKindErrorBit);
  if (!CellIsFormula(cell)) std::memcpy(snap.value, cell->value, sizeof snap.value);
  if (type == kKindLabel || type == kKindPicture) snap.text = PoolStringView(cell->text);
  if (CellIsFormula(cell)) {
    std::uint32_t bytes = PoolStringBlockBytes(cell->text);
    std::uint8_t code[kMaxFormulaCode + 1] = {};
    if (bytes > 0 && bytes <= sizeof code) std::memcpy(code, PoolBlock(cell->text), bytes);
    if (bytes > 0 && bytes <= sizeof code && FormulaRelocateRefs(code, cell->row, cell->column, false)) {
      snap.text.assign(reinterpret_cast<const char*>(code + 1), code[0]);
    } else {
      snap.kind = kKindBlank;  // code that does not read is not copied
    }
  }
  return snap;
}

// Writes a snapshot cell at (row, col) unless the target is protected. False
// when the pool ran out.
bool WriteCopy(const TSnapCell& snap, int row, int col) {
  if (CellIsProtected(CellPtr(CellFind(row, col)))) return true;
  TCellHandle target = CellGetOrCreate(row, col);
  if (target == kNilHandle) return false;
  CellClearContents(target);
  TCell* cell = CellPtr(target);
  std::memcpy(&cell->font, snap.attributes, kCopiedAttributeBytes);
  std::memcpy(cell->value, snap.value, sizeof snap.value);
  std::uint8_t type = snap.kind & kKindTypeMask;
  if (type != kKindNumberFormula && type != kKindLabel && type != kKindPicture) {
    cell->kind = snap.kind;
    return true;
  }
  std::string text = snap.text;
  if (type == kKindNumberFormula) {
    std::string code(1, static_cast<char>(text.size()));
    code += text;
    FormulaRelocateRefs(reinterpret_cast<std::uint8_t*>(code.data()), row, col, true);
    text = code.substr(1);
  }
  TPoolHandle handle = PoolNewString(text);
  cell = CellPtr(target);
  if (handle == kNilHandle) return false;
  cell->text = handle;
  cell->kind = snap.kind;
  return type != kKindNumberFormula || FormulaLinkDeps(target, true);
}

// The existing cells of a range as they are now, offsets from its first corner.
std::vector<TSnapCell> SnapRange(const TRange& range) {
  std::vector<TSnapCell> cells;
  ForEachCellInRange(range, [&](TCellHandle cell) {
    cells.push_back(SnapCell(cell, CellPtr(cell)->row - range.firstRow, CellPtr(cell)->column - range.firstCol));
  });
  return cells;
}

void RaiseExtent(int row, int col) {
  gCurrentDoc.highRow = static_cast<std::int16_t>(std::max<int>(gCurrentDoc.highRow, row));
  gCurrentDoc.highCol = static_cast<std::int16_t>(std::max<int>(gCurrentDoc.highCol, col));
}

bool CopyBlock(const TRange& src, const TRange& dst, TCellCommand& command) {
  int rows = src.lastRow - src.firstRow + 1;
  int cols = src.lastCol - src.firstCol + 1;
  std::vector<TSnapCell> cells = SnapRange(src);
  std::vector<bool> present(static_cast<std::size_t>(rows) * cols, false);
  for (const TSnapCell& snap : cells) present[static_cast<std::size_t>(snap.rowOffset) * cols + snap.colOffset] = true;
  TWindowServices& windows = WindowServices();
  long long copies = static_cast<long long>(dst.lastRow - dst.firstRow + 1) * (dst.lastCol - dst.firstCol + 1);
  long long total = std::max<long long>(copies * static_cast<long long>(cells.size()), 1);
  long long done = 0;
  bool ok = true;
  for (int i = dst.firstRow; ok && i <= dst.lastRow; ++i) {
    for (int j = dst.firstCol; ok && j <= dst.lastCol; ++j) {
      // Targets whose source position holds no cell are cleared.
      TRange target;
      RangeSet(target, j, i, j + cols - 1, i + rows - 1);
      ForEachCellInRange(target, [&](TCellHandle cell) {
        const TCell* record = CellPtr(cell);
        if (!present[static_cast<std::size_t>(record->row - i) * cols + (record->column - j)] &&
            !CellIsProtected(record))
          CellClearContents(cell);
      });
      for (const TSnapCell& snap : cells) {
        // The gauge moves at the 1st, 257th, 513th ... cell, in thousandths.
        if (done++ % kProgressStep == 0) windows.ShowProgress(static_cast<int>(done * 1000 / total), 1000);
        int row = i + snap.rowOffset, col = j + snap.colOffset;
        if ((row != src.firstRow + snap.rowOffset || col != src.firstCol + snap.colOffset) && !WriteCopy(snap, row, col))
          ok = false;
        if (!ok) break;
      }
    }
  }
  windows.HideProgress();
  if (!ok) return command.Fail(kCopyErrorText);
  TRange copied;
  RangeSet(copied, dst.firstCol, dst.firstRow, dst.lastCol + cols - 1, dst.lastRow + rows - 1);
  RecalcRange(copied);
  return true;
}

// The formulas whose links a move disturbs: those that refer to a cell of the
// source or target block, and the formulas of the source block itself.
std::unordered_set<TCellHandle> FormulasAroundMove(const TRange& src, const TRange& target) {
  std::unordered_set<TCellHandle> formulas;
  auto collect = [&](TCellHandle cell) {
    const TCell* record = CellPtr(cell);
    if (CellIsFormula(record)) formulas.insert(cell);
    for (TPoolHandle link = record->dependents; link != kNilHandle;) {
      const auto* node = reinterpret_cast<const TDepLink*>(PoolBlock(link));
      formulas.insert(node->cell);
      link = node->next;
    }
  };
  ForEachCellInRange(src, collect);
  ForEachCellInRange(target, collect);
  return formulas;
}

bool MoveBlock(const TRange& src, const TRange& dst, TCellCommand& command) {
  int rowOffset = dst.firstRow - src.firstRow;
  int colOffset = dst.firstCol - src.firstCol;
  if (rowOffset == 0 && colOffset == 0) return true;
  TRange target;
  RangeSet(target, src.firstCol + colOffset, src.firstRow + rowOffset, src.lastCol + colOffset, src.lastRow + rowOffset);
  // First the plan: walking away from the direction of the move, no cell lands
  // on one that has yet to move. A cell at a target position that is not
  // vacated by the move is deleted; a protected target (a missing one counts
  // as protected while protection is on) keeps its source cell in place.
  struct TStep {
    TCellHandle cell;
    int row, col;
  };
  std::vector<TStep> steps;
  std::vector<TCellHandle> doomed;
  std::unordered_set<int> vacated;
  auto key = [](int row, int col) { return row * (kMaxCol + 1) + col; };
  int rowStep = rowOffset > 0 ? -1 : 1, colStep = colOffset > 0 ? -1 : 1;
  int firstRow = rowStep > 0 ? src.firstRow : src.lastRow, firstCol = colStep > 0 ? src.firstCol : src.lastCol;
  int rows = src.lastRow - src.firstRow + 1, cols = src.lastCol - src.firstCol + 1;
  for (int dr = 0, r = firstRow; dr < rows; ++dr, r += rowStep) {
    for (int dc = 0, c = firstCol; dc < cols; ++dc, c += colStep) {
      TCellHandle source = CellFind(r, c);
      if (source == kNilHandle || CellIsProtected(CellPtr(source))) continue;
      int tr = r + rowOffset, tc = c + colOffset;
      TCellHandle old = vacated.count(key(tr, tc)) ? kNilHandle : CellFind(tr, tc);
      if (CellIsProtected(CellPtr(old))) continue;
      if (old != kNilHandle) doomed.push_back(old);
      steps.push_back({source, r, c});
      vacated.insert(key(r, c));
    }
  }
  // Range links are made by position: the formulas around the move drop
  // theirs and make them again once the cells stand in their new places.
  // Deleted cells go first, while every link still shows who refers to them.
  std::unordered_set<TCellHandle> formulas = FormulasAroundMove(src, target);
  for (TCellHandle old : doomed) {
    formulas.erase(old);
    CellDropDependents(old);
    CellDelete(old);
  }
  for (TCellHandle formula : formulas) FormulaLinkDeps(formula, false);
  for (const TStep& step : steps) {
    CellFindRowPos(step.row, step.col);
    CellUnlinkFromRow(step.cell, CellRowPosPrevious(), step.row);
    CellLinkIntoRow(step.cell, step.row + rowOffset, step.col + colOffset);
  }
  bool linked = true;
  for (TCellHandle formula : formulas) linked = FormulaLinkDeps(formula, true) && linked;
  if (!linked) return command.Fail(kOutOfMemoryText);
  RangesFollowMove(src, rowOffset, colOffset);
  RecalcRange(src);
  RecalcRange(target);
  return true;
}

// A special-copy entry prepared from a source cell before anything changes.
struct TSpecialEntry {
  int rowOffset = 0;
  int colOffset = 0;
  bool number = false;   // store `value` as a number; else enter `text`
  double value = 0;
  std::string text;
  bool copyAttributes = false;
  std::uint8_t attributes[kCopiedAttributeBytes] = {};
};

TSpecialEntry SpecialEntry(TCellHandle handle, int mode, double factor) {
  const TCell* cell = CellPtr(handle);
  TSpecialEntry entry;
  if (mode == kCopyFormulas) {
    entry.text = CellContentsText(handle);
    entry.copyAttributes = true;
    std::memcpy(entry.attributes, &CellPtr(handle)->font, kCopiedAttributeBytes);
    return entry;
  }
  bool error = false;
  double x = CellNumber(cell, error);
  std::uint8_t type = CellKind(*cell);
  if (type == kKindLabel) {
    entry.text = PoolStringView(cell->text);
  } else if (type == kKindStringFormula && !error) {
    // The result text is kept as a label, never read again as a number or formula.
    entry.text = std::string(1, gCurrentDoc.settings.labelPrefix) + std::string(PoolStringView(CellResultText(*cell)));
  } else if (error || (mode == kCopyInvert && x == 0)) {
    entry.text = "@ERR";
  } else {
    entry.number = true;
    entry.value = mode == kCopyScale ? x * factor : mode == kCopyInvert ? 1 / x : x;
  }
  return entry;
}

bool EnterSpecial(const TSpecialEntry& entry, int row, int col) {
  if (entry.number) return SetCellNumber(row, col, entry.value);
  if (!EnterCell(entry.text, row, col)) return false;
  TCell* cell = CellPtr(CellFind(row, col));
  if (entry.copyAttributes && cell != nullptr) std::memcpy(&cell->font, entry.attributes, kCopiedAttributeBytes);
  return true;
}

}  // namespace

std::string RefusedEntryText() {
  if (ErrorMessage() == kProtectedCellText) return "";
  return ErrorMessage().empty() ? std::string(kCopyErrorText) : ErrorMessage();
}

bool CopyMoveRange(bool move, const TRange& source, const TRange& destination) {
  TRange src = OrderedRange(source), dst = OrderedRange(destination);
  if (!RangeIsValid(src) || !RangeIsValid(dst) || !HaveCurrentDocument()) return false;
  int rows = src.lastRow - src.firstRow + 1, cols = src.lastCol - src.firstCol + 1;
  if (cols > 1 || move) dst.lastCol = dst.firstCol;
  if (rows > 1 || move) dst.lastRow = dst.firstRow;
  int endRow = dst.lastRow + rows - 1, endCol = dst.lastCol + cols - 1;
  if (src.firstRow < 0 || src.firstCol < 0 || dst.firstRow < 0 || dst.firstCol < 0 || endRow > kMaxRow ||
      endCol > kMaxCol || src.lastRow > kMaxRow || src.lastCol > kMaxCol)
    return RefuseCopy(kCopyErrorText);
  TCellCommand command;
  command.Begin();
  RaiseExtent(endRow, endCol);
  if (!(move ? MoveBlock(src, dst, command) : CopyBlock(src, dst, command))) return false;
  command.Done();
  return true;
}

bool RangeCopy(int mode, const TRange& source, const TRange& destination, double factor) {
  TRange src = OrderedRange(source), dst = OrderedRange(destination);
  if (!RangeIsValid(src) || !RangeIsValid(dst) || !HaveCurrentDocument()) return false;
  bool single = src.firstRow == src.lastRow && src.firstCol == src.lastCol;
  bool transpose = mode == kCopyTranspose;
  std::vector<TSpecialEntry> entries;
  if (single) {
    TCellHandle cell = CellFind(src.firstRow, src.firstCol);
    if (cell == kNilHandle) return true;
    entries.push_back(SpecialEntry(cell, mode, factor));
  } else {
    ForEachCellInRange(src, [&](TCellHandle cell) {
      TSpecialEntry entry = SpecialEntry(cell, mode, factor);
      int dr = CellPtr(cell)->row - src.firstRow, dc = CellPtr(cell)->column - src.firstCol;
      entry.rowOffset = transpose ? dc : dr;
      entry.colOffset = transpose ? dr : dc;
      entries.push_back(std::move(entry));
    });
    int rows = src.lastRow - src.firstRow + 1, cols = src.lastCol - src.firstCol + 1;
    dst.lastRow = static_cast<std::int16_t>(dst.firstRow + (transpose ? cols : rows) - 1);
    dst.lastCol = static_cast<std::int16_t>(dst.firstCol + (transpose ? rows : cols) - 1);
  }
  // Every target is known before anything changes: one off the sheet or a
  // protected one refuses the whole copy.
  if (dst.firstRow < 0 || dst.firstCol < 0 || dst.lastRow > kMaxRow || dst.lastCol > kMaxCol)
    return RefuseCopy(kCopyErrorText);
  auto forEachTarget = [&](auto visit) {
    for (const TSpecialEntry& entry : entries) {
      if (!single) {
        if (!visit(entry, dst.firstRow + entry.rowOffset, dst.firstCol + entry.colOffset)) return false;
        continue;
      }
      for (int row = dst.firstRow; row <= dst.lastRow; ++row)
        for (int col = dst.firstCol; col <= dst.lastCol; ++col)
          if (!visit(entry, row, col)) return false;
    }
    return true;
  };
  bool editable = forEachTarget([](const TSpecialEntry&, int row, int col) {
    return !CellIsProtected(CellPtr(CellFind(row, col)));
  });
  if (!editable) return RefuseCopy(kProtectedCellText);
  TCellCommand command;
  command.Begin();
  bool suppressed = gSuppressRecalc;
  gSuppressRecalc = true;
  bool ok = forEachTarget([](const TSpecialEntry& entry, int row, int col) { return EnterSpecial(entry, row, col); });
  gSuppressRecalc = suppressed;
  if (!ok) return command.Fail(ErrorFlagSet() ? RefusedEntryText() : std::string(kOutOfMemoryText));
  RecalcRange(dst);
  command.Done();
  return true;
}

}  // namespace corvane
