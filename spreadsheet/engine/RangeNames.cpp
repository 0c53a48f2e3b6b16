// The sorted range-name table of the current document.
#include "spreadsheet/engine/RangeNames.h"

#include <algorithm>
#include <cstring>

#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/TextCase.h"

namespace corvane {
namespace {

constexpr const char* kBadNameText = "Invalid Range Name";
constexpr const char* kTableFullText = "Too Many Range Names";

enum class TCreateFailure { kNone, kRefused, kMemory };

TRangeName* Entry(int index) {
  if (index < 1 || index > gCurrentDoc.rangeNameCount) return nullptr;
  return reinterpret_cast<TRangeName*>(PoolBlock(gCurrentDoc.rangeNames[index]));
}

std::string_view EntryKey(const TRangeName& entry) {
  return {entry.name, std::min<std::size_t>(entry.nameLength, kRangeNameMaxChars)};
}

void SetEntryRange(TRangeName& entry, const TRange& range) {
  std::memcpy(entry.rangeBytes, &range, sizeof range);
}

bool IsReservedName(std::string_view key) { return key == "RANGE" || key == "CURSOR" || IsAddressText(key); }

int Create(std::string_view name, const TRange& range, TCreateFailure& failure) {
  failure = TCreateFailure::kNone;
  std::string key = RangeNameKey(name);
  if (key.empty()) return 0;
  if (IsReservedName(key) || IsReservedRangeName(key)) {
    failure = TCreateFailure::kRefused;
    SetErrorFlag(IsReservedName(key) ? kBadNameText : kReservedNameText);
    return 0;
  }
  int index = RangeNameSearch(key, 1, gCurrentDoc.rangeNameCount);
  if (index > 0) {
    SetEntryRange(*Entry(index), range);
    return index;
  }
  if (gCurrentDoc.rangeNameCount >= kMaxRangeNames) {
    failure = TCreateFailure::kRefused;
    SetErrorFlag(kTableFullText);
    return 0;
  }
  if (!RangeNameInsert(key, range, -index)) {
    failure = TCreateFailure::kMemory;
    return 0;
  }
  return index;
}

// The text a cell offers as a name or a range: a label without its prefix,
// or a formula's text result.
std::string_view CellOfferedText(int row, int col) {
  const TCell* cell = CellPtr(CellFind(row, col));
  if (CellIsLabel(cell)) {
    std::string_view label = PoolStringView(cell->text);
    return label.empty() ? label : label.substr(1);
  }
  if (CellKindOf(cell) == kKindStringFormula && (cell->kind & kKindErrorBit) == 0)
    return PoolStringView(CellResultText(*cell));
  return {};
}

}  // namespace

bool IsReservedRangeName(std::string_view key) { return key.starts_with("G!"); }

std::string RangeNameKey(std::string_view name) {
  if (!name.empty() && name.front() == '$') name.remove_prefix(1);
  return UpperCaseText(name.substr(0, kRangeNameMaxChars));
}

int RangeNameSearch(std::string_view key, int low, int high) {
  while (low <= high) {
    int mid = low + (high - low) / 2;
    const TRangeName* entry = Entry(mid);
    int order = entry ? key.compare(EntryKey(*entry)) : -1;
    if (order == 0) return mid;
    if (order < 0) high = mid - 1;
    else low = mid + 1;
  }
  return -low;
}

int FindRangeName(std::string_view text) {
  std::string key = RangeNameKey(text);
  if (key.empty()) return 0;
  int index = RangeNameSearch(key, 1, gCurrentDoc.rangeNameCount);
  return index > 0 ? index : 0;
}

bool RangeNameInsert(std::string_view key, const TRange& range, int index) {
  int count = gCurrentDoc.rangeNameCount;
  if (count >= kMaxRangeNames || index < 1 || index > count + 1) return false;
  TPoolHandle block = PoolAlloc(sizeof(TRangeName));
  if (block == kNilHandle) {
    SetOutOfMemoryError();
    return false;
  }
  auto* entry = reinterpret_cast<TRangeName*>(PoolBlock(block));
  if (entry == nullptr) return false;
  std::string_view cut = key.substr(0, kRangeNameMaxChars);
  std::memset(entry, 0, sizeof *entry);
  entry->nameLength = static_cast<std::uint8_t>(cut.size());
  std::memcpy(entry->name, cut.data(), cut.size());
  SetEntryRange(*entry, range);
  TPoolHandle* table = gCurrentDoc.rangeNames;
  std::copy_backward(table + index, table + count + 1, table + count + 2);
  table[index] = block;
  gCurrentDoc.rangeNameCount = static_cast<std::uint8_t>(count + 1);
  return true;
}

int RangeNameCreate(std::string_view name, const TRange& range) {
  TCreateFailure failure;
  return Create(name, range, failure);
}

int RangeNameDelete(std::string_view name) {
  int index = FindRangeName(name);
  if (index == 0) return 0;
  int count = gCurrentDoc.rangeNameCount;
  TPoolHandle* table = gCurrentDoc.rangeNames;
  PoolFree(table[index], sizeof(TRangeName));
  std::copy(table + index + 1, table + count + 1, table + index);
  table[count] = kNilHandle;
  gCurrentDoc.rangeNameCount = static_cast<std::uint8_t>(count - 1);
  return index;
}

void RangeNameBuild(const TRange& range) {
  if (!RangeIsValid(range)) return;
  TRange r = range;
  OrderPair(r.firstRow, r.lastRow);
  OrderPair(r.firstCol, r.lastCol);
  bool flagWasSet = ErrorFlagSet();
  for (int row = r.firstRow; row <= r.lastRow; ++row) {
    std::string name(CellOfferedText(row, r.firstCol));
    if (RangeNameKey(name).empty()) continue;
    TRange named;
    TCreateFailure failure = TCreateFailure::kNone;
    if (ParseRange(CellOfferedText(row, r.firstCol + 1), named)) Create(name, named, failure);
    else failure = TCreateFailure::kRefused;
    if (failure == TCreateFailure::kMemory) return;
    // A row that cannot be read is skipped without leaving an error behind.
    if (failure == TCreateFailure::kRefused && !flagWasSet) ClearErrorFlag();
  }
}

bool RangeNameTable(const TRange& range, const TCellEntryFn& enterCell) {
  if (!RangeIsValid(range)) return true;
  int row = std::min(range.firstRow, range.lastRow);
  int col = std::min(range.firstCol, range.lastCol);
  for (int index = 1; index <= gCurrentDoc.rangeNameCount; ++index, ++row) {
    const TRangeName& entry = *Entry(index);
    if (!enterCell(row, col, "'" + RangeNameText(entry))) return false;
    TRange named = RangeNameRange(entry);
    if (RangeIsValid(named) && !enterCell(row, col + 1, RangeText(named))) return false;
  }
  return true;
}

void RangeNameReset() {
  for (int index = 1; index <= gCurrentDoc.rangeNameCount; ++index) {
    PoolFree(gCurrentDoc.rangeNames[index], sizeof(TRangeName));
    gCurrentDoc.rangeNames[index] = kNilHandle;
  }
  gCurrentDoc.rangeNameCount = 0;
}

int RangeNameCount() { return gCurrentDoc.rangeNameCount; }

const TRangeName* RangeNameAt(int index) { return Entry(index); }

std::string RangeNameText(const TRangeName& entry) { return std::string(EntryKey(entry)); }

TRange RangeNameRange(const TRangeName& entry) {
  TRange range;
  std::memcpy(&range, entry.rangeBytes, sizeof range);
  return range;
}

}  // namespace corvane
