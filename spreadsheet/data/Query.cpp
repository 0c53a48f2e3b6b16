// Query: conditions prepared once per alternative, matches collected before
// anything is written, then the output rows.
#include "spreadsheet/data/Query.h"

#include <string>
#include <vector>

#include "spreadsheet/data/DataCommon.h"
#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/EngineHelpers.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/Recalc.h"
#include "spreadsheet/engine/TextCase.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

namespace {

constexpr std::uint8_t kKindNoCriterion = 15;
constexpr char kContainsMarker = '\x02';

struct TCondition {
  int column = -1;  // the database column of the field; -1 when the database lacks it
  std::uint8_t kind = kKindNoCriterion;
  double value = 0;
  std::string pattern;              // label criteria
  bool negate = false;
  std::vector<std::uint8_t> code;   // formula criteria, references relative to the criterion cell
  int row = 0, col = 0;             // the criterion cell
};

std::string LabelText(const TCell* cell) {
  return CellKindOf(cell) == kKindLabel ? std::string(PoolStringView(cell->text)) : std::string();
}

// The database column whose name (first-row label) equals `name`, or -1.
int FieldColumn(const TRange& input, const std::string& name) {
  if (name.empty()) return -1;
  TRange names;
  RangeSet(names, input.firstCol, input.firstRow, input.lastCol, input.firstRow);
  int column = -1;
  ForEachCellInRange(names, [&](TCellHandle, const TCell& cell) {
    if (LabelText(&cell) == name) column = cell.column;
    return column < 0;
  });
  return column;
}

TCondition PrepareCondition(const TRange& input, const TCell* nameCell, int alternative) {
  TCondition c;
  c.column = FieldColumn(input, LabelText(nameCell));
  c.row = nameCell->row + alternative;
  c.col = nameCell->column;
  const TCell* criterion = c.row <= kMaxRow ? CellPtr(CellFind(c.row, c.col)) : nullptr;
  if (criterion == nullptr) return c;
  c.kind = CellKind(*criterion);
  c.value = NumberAt(c.row, c.col);
  if (c.kind == kKindStringFormula || c.kind == kKindNumberFormula) {
    std::uint32_t bytes = PoolStringBlockBytes(criterion->text);
    const std::uint8_t* code = PoolBlock(criterion->text);
    c.code.assign(code, code + bytes);
    if (!FormulaRelocateRefs(c.code.data(), c.row, c.col, false)) c.code.clear();
  } else if (c.kind == kKindLabel) {
    std::string_view text = PoolStringView(criterion->text);
    c.pattern = text.empty() ? "" : std::string(text.substr(1));
    if (!c.pattern.empty() && c.pattern[0] == '~') {
      c.negate = true;
      c.pattern.erase(0, 1);
    }
    if (std::size_t star = c.pattern.find('*'); star != std::string::npos) c.pattern.resize(star + 1);
    if (std::size_t dots = c.pattern.find("..."); dots != std::string::npos)
      c.pattern.replace(dots, 3, 1, kContainsMarker);
  }
  return c;
}

// The text of a field that a label pattern is matched against: a label's text
// without its prefix, a text formula's result; numbers offer none.
std::string FieldText(const TCell* cell) {
  switch (CellKindOf(cell)) {
    case kKindLabel: {
      std::string_view text = PoolStringView(cell->text);
      return std::string(text.empty() ? text : text.substr(1));
    }
    case kKindStringFormula:
      return (cell->kind & kKindErrorBit) ? std::string() : std::string(PoolStringView(CellResultText(*cell)));
    default:
      return "";
  }
}

bool PatternHolds(const std::string& pattern, std::string text) {
  std::size_t stop = text.size();
  for (std::size_t i = 0; i < text.size(); ++i) {
    char p = i < pattern.size() ? pattern[i] : '\0';
    if (p == '?') {
      text[i] = '?';
    } else if (p == '*') {
      text.resize(i);
      text += '*';
      stop = i;
      break;
    }
  }
  if (stop < pattern.size() && pattern[stop] == '*' && pattern.size() == text.size() + 1) text += '*';
  if (!pattern.empty() && pattern[0] == kContainsMarker)
    return UpperCaseText(text).find(UpperCaseText(std::string_view(pattern).substr(1))) != std::string::npos;
  return pattern == text;
}

bool FormulaHolds(const TCondition& c, int recordOffset) {
  if (c.code.empty() || c.row + recordOffset > kMaxRow) return false;
  std::vector<std::uint8_t> code = c.code;
  if (!FormulaRelocateRefs(code.data(), c.row + recordOffset, c.col, true)) return false;
  std::string text;
  ClearCalcError();
  double value = EvaluateFormulaCode(std::string(code.begin(), code.end()), text);
  bool holds = !ErrorFlagSet() && text.empty() && value == 1;
  ClearCalcError();
  return holds;
}

bool ConditionHolds(const TCondition& c, int row, int recordOffset) {
  const TCell* record = c.column < 0 ? nullptr : CellPtr(CellFind(row, c.column));
  if (record == nullptr) return c.kind == kKindNoCriterion;
  switch (c.kind) {
    case kKindStringFormula:
    case kKindNumberFormula:
      return FormulaHolds(c, recordOffset);
    case kKindReal:
    case kKindInteger:
      return NumberAt(row, c.column) == c.value;
    case kKindLabel:
      return PatternHolds(c.pattern, FieldText(record)) != c.negate;
    case kKindBlank:
    case kKindNoCriterion:
      return true;
    default:
      return false;
  }
}

// The database rows that satisfy one alternative, in order.
void CollectMatches(const TRange& input, const TRange& criteria, int alternative, std::vector<int>& rows) {
  std::vector<TCondition> conditions;
  for (TCellHandle cell = CellFindRowPos(criteria.firstRow, criteria.firstCol); cell != kNilHandle;
       cell = CellPtr(cell)->next) {
    const TCell* name = CellPtr(cell);
    if (name->column > criteria.lastCol) break;
    conditions.push_back(PrepareCondition(input, name, alternative));
  }
  if (conditions.empty() || conditions[0].column < 0 || conditions[0].kind > kKindLabel) return;
  int firstRecord = input.firstRow + 1;
  for (int row = firstRecord; row <= input.lastRow; ++row) {
    bool all = true;
    for (const TCondition& c : conditions)
      if (!(all = ConditionHolds(c, row, row - firstRecord))) break;
    if (all) rows.push_back(row);
  }
}

void CopyField(int fromRow, int fromCol, int row, int col) {
  const TCell* cell = CellPtr(CellFind(fromRow, fromCol));
  if (cell == nullptr) return;
  if (cell->kind & kKindErrorBit) {
    WriteText(row, col, "@ERR");
  } else if (CellIsNumeric(cell)) {
    WriteNumber(row, col, NumberAt(fromRow, fromCol));
  } else if (CellKind(*cell) == kKindLabel) {
    WriteText(row, col, std::string(PoolStringView(cell->text)));
  } else if (CellKind(*cell) == kKindStringFormula) {
    WriteText(row, col, std::string(PoolStringView(CellResultText(*cell))));
  }
}

// While protection is on: false ("Protected Cell") when a cell of `block`
// that exists is protected. Missing cells have nothing to clear.
bool CheckClearable(const TRange& block) {
  if (!ProtectionOn()) return true;
  bool clearable = true;
  ForEachCellInRange(block, [&](TCellHandle, const TCell& cell) { return clearable = !CellIsProtected(&cell); });
  return clearable || Refuse(kProtectedCellText);
}

}  // namespace

bool DataQuery(const TRange& inputRange, const TRange& criteriaRange, const TRange& outputRange, int mode) {
  if (mode != kQueryExtract) {
    WindowServices().RepaintSheet(WindowServices().ActiveSheet());
    return false;
  }
  if (!RangeIsValid(criteriaRange) || !RangeIsValid(inputRange) || !RangeIsValid(outputRange)) {
    DefaultBeep();
    return false;
  }
  if (!CheckOnSheet(inputRange) || !CheckOnSheet(criteriaRange) || !CheckOnSheet(outputRange)) return false;
  TRange input = OrderedRange(inputRange), criteria = OrderedRange(criteriaRange),
         output = OrderedRange(outputRange);

  std::vector<int> matches;
  int alternatives = std::max(1, criteria.lastRow - criteria.firstRow);
  for (int i = 1; i <= alternatives; ++i) CollectMatches(input, criteria, i, matches);
  std::vector<int> fields;  // database column per output column
  for (TCellHandle cell = CellFindRowPos(output.firstRow, output.firstCol); cell != kNilHandle;
       cell = CellPtr(cell)->next) {
    const TCell* name = CellPtr(cell);
    if (name->column > output.lastCol) break;
    int column = FieldColumn(input, LabelText(name));
    if (column >= 0) fields.push_back(column);
  }
  int rows = static_cast<int>(matches.size()), cols = static_cast<int>(fields.size());
  TRange area;
  if (rows > 0 && cols > 0) {
    area = BlockAt(output.firstRow + 1, output.firstCol, rows, cols);
    if (!CheckOnSheet(area) || !CheckApart(area, {input, criteria}) || !CheckWritable(area)) return false;
  }
  // The cells under the output names are cleared first, so that no earlier
  // extract (of this run of the program or saved with the file) leaves rows
  // behind: in the output's columns down to the sheet's last used row when
  // the output is one row, else in the output's own rows.
  TRange cleared;
  int lastCleared = output.lastRow > output.firstRow ? output.lastRow : gCurrentDoc.highRow;
  if (lastCleared > output.firstRow) {
    RangeSet(cleared, output.firstCol, output.firstRow + 1, output.lastCol, lastCleared);
    if (!CheckApart(cleared, {input, criteria}) || !CheckClearable(cleared)) return false;
  }
  BeginChange();
  if (RangeIsValid(cleared)) {
    ForEachCellInRange(cleared, [](TCellHandle cell, const TCell&) {
      CellClearContents(cell);
      return true;
    });
    RecalcRange(cleared);
  }
  for (int i = 0; i < rows; ++i)
    for (int k = 0; k < cols; ++k) CopyField(matches[i], fields[k], output.firstRow + 1 + i, output.firstCol + k);
  EndChange();
  return true;
}

}  // namespace corvane
