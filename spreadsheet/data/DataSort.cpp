// Sorting rows: keys read first, one stable ordering over all keys, then the
// row segments moved with the formulas that point into them kept right.
#include "spreadsheet/data/DataSort.h"

#include <algorithm>
#include <new>
#include <numeric>
#include <string>
#include <unordered_set>
#include <vector>

#include "spreadsheet/data/DataCommon.h"
#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/RangeArguments.h"
#include "spreadsheet/engine/Recalc.h"

namespace corvane {

bool gSortAscending[kSortKeyCount] = {true, true, true, true};
TRange gLastSortedRange;

namespace {

struct TKeyValue {
  bool numeric = false;
  double number = 0;
  std::string text;
};

TKeyValue KeyValueOf(const TCell* cell) {
  TKeyValue key;
  if (CellIsNumeric(cell)) {
    bool error = false;  // ERR sorts by its value -1, with no flag raised
    key.numeric = true;
    key.number = CellNumber(cell, error);
    return key;
  }
  switch (CellKindOf(cell)) {
    case kKindLabel:
    case kKindPicture:
      key.text = PoolStringView(cell->text);
      break;
    case kKindStringFormula:
      if ((cell->kind & kKindErrorBit) == 0) key.text = PoolStringView(CellResultText(*cell));
      break;
    default:
      break;
  }
  return key;
}

// -1, 0 or 1: numbers before texts, numbers by value, texts by bytes.
int CompareKeys(const TKeyValue& a, const TKeyValue& b) {
  if (a.numeric != b.numeric) return a.numeric ? -1 : 1;
  if (a.numeric) return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
  int c = a.text.compare(b.text);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool InBlock(const TCell* cell, const TRange& block) {
  return cell->row >= block.firstRow && cell->row <= block.lastRow && cell->column >= block.firstCol &&
         cell->column <= block.lastCol;
}

// The formula cells outside the block that refer to a cell inside it.
std::vector<TCellHandle> FormulasReferringInto(const TRange& block) {
  std::vector<TCellHandle> held;
  std::unordered_set<TCellHandle> seen;
  ForEachCellInRange(block, [&](TCellHandle cell) {
    for (TPoolHandle link = CellPtr(cell)->dependents; link != kNilHandle;) {
      const auto* node = reinterpret_cast<const TDepLink*>(PoolBlock(link));
      const TCell* formula = CellPtr(node->cell);
      if (formula && !InBlock(formula, block) && seen.insert(node->cell).second) held.push_back(node->cell);
      link = node->next;
    }
  });
  return held;
}

// Turns a formula's references into positions relative to its own cell
// (toPositions) or back into cell references, unlinking before and linking
// after, so it keeps naming the same addresses whatever moves meanwhile.
void HoldFormula(TCellHandle cell, bool toPositions) {
  TCell* record = CellPtr(cell);
  if (toPositions) FormulaLinkDeps(cell, false);
  FormulaRelocateRefs(PoolBlock(record->text), record->row, record->column, !toPositions);
  if (!toPositions) {
    record = CellPtr(cell);
    record->kind &= static_cast<std::uint8_t>(~(kKindMarkVisited | kKindMarkQueued));
    FormulaLinkDeps(cell, true);
  }
}

}  // namespace

bool DataSort() {
  const TSheetSettings& settings = gCurrentDoc.settings;
  const TRange keyRanges[kSortKeyCount] = {
      settings.savedRanges[kRangePrimaryKey], settings.savedRanges[kRangeSecondaryKey],
      settings.dataRanges[kDataRangeSortKey3], settings.dataRanges[kDataRangeSortKey4]};
  TRange data = settings.savedRanges[kRangeSort];
  if (!RangeIsValid(data) || !RangeIsValid(keyRanges[0]) || !HaveCurrentDocument()) return false;
  if (!CheckOnSheet(data)) return false;
  data = OrderedRange(data);
  int keyCols[kSortKeyCount];
  int keys = 0;
  while (keys < kSortKeyCount && RangeIsValid(keyRanges[keys])) {
    if (!CheckOnSheet(keyRanges[keys])) return false;
    keyCols[keys] = OrderedRange(keyRanges[keys]).firstCol;
    ++keys;
  }
  if (ProtectionOn()) {
    bool locked = false;
    ForEachCellInRange(data, [&](TCellHandle cell) { locked = locked || CellIsProtected(CellPtr(cell)); });
    if (locked) return Refuse(kProtectedCellText);
  }

  int rows = data.lastRow - data.firstRow + 1;
  std::vector<int> order;
  std::vector<std::vector<TCellHandle>> segments;
  try {
    std::vector<TKeyValue> values(static_cast<std::size_t>(rows) * keys);
    for (int i = 0; i < rows; ++i)
      for (int k = 0; k < keys; ++k)
        values[static_cast<std::size_t>(i) * keys + k] = KeyValueOf(CellPtr(CellFind(data.firstRow + i, keyCols[k])));
    order.resize(rows);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
      for (int k = 0; k < keys; ++k) {
        int c = CompareKeys(values[static_cast<std::size_t>(a) * keys + k], values[static_cast<std::size_t>(b) * keys + k]);
        if (c != 0) return gSortAscending[k] ? c < 0 : c > 0;
      }
      return false;
    });
    segments.resize(rows);
  } catch (const std::bad_alloc&) {
    return Refuse(kInsufficientMemoryText);
  }

  BeginChange();
  std::vector<TCellHandle> held = FormulasReferringInto(data);
  for (TCellHandle cell : held) HoldFormula(cell, true);
  std::vector<TCellHandle> inside;
  ForEachCellInRange(data, [&](TCellHandle cell) {
    if (!CellIsFormula(CellPtr(cell))) return;
    FormulaLinkDeps(cell, false);
    inside.push_back(cell);
  });

  // Take every row's segment out of its row, then link each into its new row.
  for (int i = 0; i < rows; ++i) {
    int row = data.firstRow + i;
    TCellHandle cell = CellFindRowPos(row, data.firstCol);
    TCellHandle prev = CellRowPosPrevious();
    while (cell != kNilHandle && CellPtr(cell)->column <= data.lastCol) {
      TCellHandle next = CellPtr(cell)->next;
      CellUnlinkFromRow(cell, prev, row);
      segments[i].push_back(cell);
      cell = next;
    }
  }
  for (int i = 0; i < rows; ++i)
    for (TCellHandle cell : segments[order[i]]) CellLinkIntoRow(cell, data.firstRow + i, CellPtr(cell)->column);

  for (TCellHandle cell : inside) FormulaLinkDeps(cell, true);
  for (TCellHandle cell : held) HoldFormula(cell, false);
  gLastSortedRange = data;
  if (!gCurrentDoc.settings.manualRecalc) RecalcAll();
  EndChange();
  return true;
}

}  // namespace corvane
