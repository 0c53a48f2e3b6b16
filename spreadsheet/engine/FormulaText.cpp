// Compiled formulas back to infix text.
#include "spreadsheet/engine/FormulaText.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/FormulaCompiler.h"
#include "spreadsheet/engine/FormulaTables.h"
#include "spreadsheet/engine/NumberFormat.h"
#include "spreadsheet/engine/NumberText.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

bool gFormulaTextNames = true;

namespace {

TUserFunctionNameFn gUserFunctionName = nullptr;

// The operand texts of one conversion. A push past the byte budget or a text
// of 240 characters or more sets the calc error flag instead of losing text;
// popping an empty stack marks the code as malformed.
class TTextStack {
 public:
  void Push(std::string text) {
    if (text.size() >= kMaxFormulaText || used_ + text.size() + 1 > kTextStackBytes) {
      SetCalcError();
      return;
    }
    used_ += text.size() + 1;
    texts_.push_back(std::move(text));
  }
  std::string Pop() {
    if (texts_.empty()) {
      malformed_ = true;
      return {};
    }
    std::string text = std::move(texts_.back());
    texts_.pop_back();
    used_ -= text.size() + 1;
    return text;
  }
  void MarkMalformed() { malformed_ = true; }
  bool Malformed() const { return malformed_; }
  std::size_t Count() const { return texts_.size(); }

 private:
  std::vector<std::string> texts_;
  std::size_t used_ = 0;
  bool malformed_ = false;
};

// The address of a cell with its "$" marks, "ERR" outside the sheet.
std::string AddressText(int row, int col, bool absRow, bool absCol) {
  std::string text = CellAddrText(row, col, absRow, absCol);
  return text.empty() ? kBadRefText : text;
}

// Decodes a reference; a nil or dead one leaves the calc error flag as it was.
bool DecodeQuietly(TCellRef ref, int& row, int& col) {
  if (ref == 0) return false;
  bool wasSet = ErrorFlagSet();
  if (DecodeCellRef(ref, row, col)) return true;
  if (!wasSet) ClearCalcError();
  return false;
}

// A corner of a range: always its address, so that a range reads back whole.
std::string CornerText(TCellRef ref) {
  int row = 0, col = 0;
  if (!DecodeQuietly(ref, row, col)) return kBadRefText;
  bool absRow = false, absCol = false;
  RefAbsFlags(ref, absRow, absCol);
  return AddressText(row, col, absRow, absCol);
}

// The first range name whose range is exactly first..last, or "".
std::string NameOfRange(int firstRow, int firstCol, int lastRow, int lastCol) {
  for (int i = 1; i <= RangeNameCount(); ++i) {
    const TRangeName* entry = RangeNameAt(i);
    if (!entry) continue;
    TRange range = RangeNameRange(*entry);
    if (range.firstRow == firstRow && range.firstCol == firstCol && range.lastRow == lastRow &&
        range.lastCol == lastCol)
      return RangeNameText(*entry);
  }
  return {};
}

// The compiler drops one "+" that opens a formula, a parenthesis or an
// argument list, so a unary plus there is written twice.
std::string KeepLeadingPlus(std::string text) { return !text.empty() && text[0] == '+' ? "+" + text : text; }

// "(" args joined by the argument separator ")"; `count` texts popped.
std::string ArgumentList(TTextStack& stack, int count) {
  std::vector<std::string> args(static_cast<std::size_t>(count));
  for (int k = count - 1; k >= 0; --k) args[static_cast<std::size_t>(k)] = stack.Pop();
  std::string joined;
  for (int k = 0; k < count; ++k) {
    if (k > 0) joined += ArgumentSeparator();
    joined += args[static_cast<std::size_t>(k)];
  }
  if (joined.size() >= kMaxFormulaText) SetCalcError();
  return "(" + KeepLeadingPlus(std::move(joined)) + ")";
}

std::string StringOperand(const std::uint8_t* code, int from, int to) {
  std::string text;
  for (int k = from; k < to && code[k] != 0; ++k) text += static_cast<char>(code[k]);
  return text;
}

std::int16_t ReadWord(const std::uint8_t* at) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(at[0] | at[1] << 8));
}

// The text of the link operand at `at` (8-byte range, path, 0 byte).
std::string LinkText(const std::uint8_t* code, int at, int length) {
  TRange range;
  RangeSet(range, ReadWord(code + at), ReadWord(code + at + 2), ReadWord(code + at + 4), ReadWord(code + at + 6));
  bool inside = range.firstCol >= 0 && range.firstCol <= kMaxCol && range.lastCol >= 0 && range.lastCol <= kMaxCol &&
                range.firstRow >= 0 && range.firstRow <= kMaxRow && range.lastRow >= 0 && range.lastRow <= kMaxRow;
  std::string rangeText = inside ? RangeText(range) : std::string();
  if (rangeText.empty()) rangeText = kBadRefText;
  return "[" + StringOperand(code, at + 8, length) + "]" + rangeText;
}

// The call of the formula in a named cell: the token is followed by the
// reference of the named range.
std::string NamedCellCall(TTextStack& stack, const std::uint8_t* code, int at) {
  int firstRow = 0, firstCol = 0, lastRow = 0, lastCol = 0;
  bool ok = false;
  if (code[at] == kTokRange) {
    ok = DecodeQuietly(ReadCellRef(code + at + 1), lastRow, lastCol) &&
         DecodeQuietly(ReadCellRef(code + at + 5), firstRow, firstCol);
  } else if (code[at] == kTokCell) {
    ok = DecodeQuietly(ReadCellRef(code + at + 1), firstRow, firstCol);
    lastRow = firstRow;
    lastCol = firstCol;
  }
  if (!ok) {
    stack.MarkMalformed();
    return {};
  }
  std::string name = NameOfRange(firstRow, firstCol, lastRow, lastCol);
  if (name.empty()) name = AddressText(firstRow, firstCol, false, false);
  return "@" + name + ArgumentList(stack, std::abs(lastCol - firstCol) + 1);
}

}  // namespace

void SetUserFunctionNameHook(TUserFunctionNameFn name) { gUserFunctionName = name; }

std::string RefText(TCellRef ref) {
  int row = 0, col = 0;
  if (!DecodeQuietly(ref, row, col)) return kBadRefText;
  bool absRow = false, absCol = false;
  RefAbsFlags(ref, absRow, absCol);
  if (gFormulaTextNames) {
    for (int i = 1; i <= RangeNameCount(); ++i) {
      const TRangeName* entry = RangeNameAt(i);
      if (!entry) continue;
      TRange range = RangeNameRange(*entry);
      if (range.firstRow != row || range.firstCol != col) continue;
      if (range.lastRow == row && range.lastCol == col) return (absRow || absCol ? "$" : "") + RangeNameText(*entry);
      break;
    }
  }
  return AddressText(row, col, absRow, absCol);
}

std::string FormulaToText(const std::uint8_t* code, std::size_t bytes) {
  ClearCalcError();
  if (!code || bytes <= kFirstTokenIndex || code[0] >= kMaxFormulaCode || code[0] >= bytes || code[code[0]] != kTokEnd)
    return kNoEndText;
  const int length = code[0];
  TTextStack stack;
  int i = kFirstTokenIndex;
  while (i < length && !ErrorFlagSet() && !stack.Malformed()) {
    const int token = code[i];
    const int next = NextTokenIndex(code, i, length);
    if (next > length) {
      stack.MarkMalformed();
      break;
    }
    std::string name(TokenName(token));
    if (name.empty() && token > kTokLink) name = kUnknownTokenText;
    if (token > kTokFactorial || token == kTokNot) name = "@" + name;
    const int cls = TokenClassTable[token];
    if (token == kTokNamedCell) {
      std::string call = NamedCellCall(stack, code, i + 1);
      if (!stack.Malformed()) stack.Push(std::move(call));
    } else if (cls == kClassUserFunction) {
      int index = code[i + 1];
      int args = UserFunctionArgCount(index);
      std::string userName = gUserFunctionName ? gUserFunctionName(index) : std::string();
      if (index == 0 || index > gCurrentDoc.userFuncCount || args < 0 || userName.empty()) return kNoFunctionText;
      stack.Push("@" + userName + (args > 0 ? ArgumentList(stack, args) : std::string()));
    } else {
      switch (cls) {
        case kClassReal: {
          double x = 0;
          std::memcpy(&x, code + i + 1, sizeof x);
          stack.Push(RealToGeneralText(x));
          break;
        }
        case kClassCell:
          stack.Push(RefText(ReadCellRef(code + i + 1)));
          break;
        case kClassRange: {
          // A range with a deleted corner names no cells: it reads "ERR" whole.
          std::string first = CornerText(ReadCellRef(code + i + 5));
          std::string last = CornerText(ReadCellRef(code + i + 1));
          stack.Push(first == kBadRefText || last == kBadRefText ? std::string(kBadRefText) : first + ".." + last);
          break;
        }
        case kClassEnd:
          i = length;
          continue;
        case kClassParen:
          stack.Push("(" + KeepLeadingPlus(stack.Pop()) + ")");
          break;
        case kClassInteger:
          stack.Push(std::to_string(ReadWord(code + i + 1)));
          break;
        case kClassString:
          stack.Push("\"" + StringOperand(code, i + 1, length) + "\"");
          break;
        case kClassLink:
          stack.Push(LinkText(code, i + 1, length));
          break;
        case kClassPrefix:
          stack.Push(name + stack.Pop());
          break;
        case kClassBinary: {
          std::string right = stack.Pop();
          std::string left = stack.Pop();
          stack.Push(left + name + right);
          break;
        }
        case kClassPostfix:
          stack.Push(stack.Pop() + name);
          break;
        case kClassFunction0:
          stack.Push(name);
          break;
        case kClassFunctionList:
          stack.Push(name + ArgumentList(stack, code[i + 1]));
          break;
        default:
          if (int args = FunctionArgCount(cls); args > 0) {
            stack.Push(name + ArgumentList(stack, args));
          } else {
            stack.MarkMalformed();
          }
          break;
      }
    }
    i = next;
  }
  if (ErrorFlagSet()) return kOverflowText;
  if (stack.Malformed() || stack.Count() != 1) return kBadCodeText;
  return KeepLeadingPlus(stack.Pop());
}

std::string FormulaToText(std::string_view code) {
  return FormulaToText(reinterpret_cast<const std::uint8_t*>(code.data()), code.size());
}

std::string FormulaEditText(const std::uint8_t* code, std::size_t bytes) {
  std::string text = FormulaToText(code, bytes);
  // Text that starts like a label would not enter again as a formula.
  char first = text.empty() ? ' ' : text[0];
  bool letter = (first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z');
  if (letter || first == '$' || first == '"' || first == '[') text.insert(0, 1, '+');
  return text;
}

std::string CellContentsText(TCellHandle cell) {
  const TCell* record = CellPtr(cell);
  switch (CellKindOf(record)) {
    case kKindStringFormula:
    case kKindNumberFormula:
      return FormulaEditText(PoolBlock(record->text), PoolStringBlockBytes(record->text));
    case kKindReal:
      return RealToGeneralText(CellReal(*record));
    case kKindInteger:
      return std::to_string(CellInteger(*record));
    case kKindLabel:
    case kKindPicture:
      return std::string(PoolStringView(record->text));
    default:
      return {};
  }
}

bool CellStatusText(int row, int col, std::string& status, std::string& contents) {
  status.clear();
  contents.clear();
  TCellHandle cell = CellFind(row, col);
  const TCell* record = CellPtr(cell);
  if (CellIsProtected(record)) {
    contents = kProtectedContentsText;
    return false;
  }
  std::string summary;
  if (record && (record->format & 0x7F) != kFormatDefault) summary = FormatLetterText(record->format);
  if (record && record->style != 0) summary += "," + std::to_string(record->style);
  if (std::string width = WindowServices().ColumnWidthTag(col); !width.empty()) summary += " " + width;
  if (summary.size() > 40) summary.resize(40);
  if (!summary.empty()) status = " [" + summary + "]";
  contents = CellContentsText(cell);
  return true;
}

}  // namespace corvane
