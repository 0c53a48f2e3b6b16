// The formula compiler: an operator-precedence scan over the formula text that
// emits postfix tokens, followed by a check that the emitted code balances.
#include "spreadsheet/engine/FormulaCompiler.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/FormatSettings.h"
#include "spreadsheet/engine/FormulaTables.h"
#include "spreadsheet/engine/FormulaText.h"
#include "spreadsheet/engine/NumberText.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/Recalc.h"
#include "spreadsheet/engine/TextCase.h"

namespace corvane {

namespace {

char gArgumentSeparator = ',';
TFindUserFunctionFn gFindUserFunction = nullptr;
TUserFunctionArgsFn gUserFunctionArgs = nullptr;

constexpr std::size_t kMaxNameCompare = 80;
// Emission stops well beyond the 240-byte limit, so a runaway text cannot grow
// the buffer without bound; the length check then refuses the code.
constexpr std::size_t kEmitLimit = 512;

// Operator precedences, lowest first.
enum : int {
  kPrecSeparator = 1,
  kPrecHash = 2,
  kPrecOr = 3,
  kPrecAnd = 4,
  kPrecNot = 5,
  kPrecEqual = 6,
  kPrecLess = 7,
  kPrecGreater = 8,
  kPrecNotEqual = 9,
  kPrecLessEqual = 10,
  kPrecGreaterEqual = 11,
  kPrecAdd = 12,
  kPrecSubtract = 13,
  kPrecMultiply = 14,
  kPrecDivide = 15,
  kPrecPower = 16,
  kPrecNegate = 17,
  kPrecUnaryPlus = 18,
  kPrecConcat = 19,
};

struct TOperator {
  int precedence;
  int token;  // -1: emits nothing (argument separator, lone "#")
};

// The two-character operators: first two characters (upper case), the
// operator, and the characters consumed besides the first.
struct TTwoCharOperator {
  char first, second;
  TOperator op;
  int extra;
};
constexpr TTwoCharOperator kTwoCharOperators[] = {
    {'>', '=', {kPrecGreaterEqual, kTokGreaterEqual}, 1}, {'>', '<', {kPrecNotEqual, kTokNotEqual}, 1},
    {'<', '=', {kPrecLessEqual, kTokLessEqual}, 1},       {'<', '>', {kPrecNotEqual, kTokNotEqual}, 1},
    {'=', '>', {kPrecGreaterEqual, kTokGreaterEqual}, 1}, {'=', '<', {kPrecLessEqual, kTokLessEqual}, 1},
    {'#', 'X', {kPrecNot, kTokNot}, 4},                   {'#', 'A', {kPrecAnd, kTokAnd}, 4},
    {'#', 'O', {kPrecOr, kTokOr}, 3},
};

bool IsOperatorChar(char c) {
  switch (c) {
    case ' ': case '#': case '=': case '<': case '>': case '+': case '-':
    case '*': case '/': case '^': case '&':
      return true;
    default:
      return c == gArgumentSeparator;
  }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The index of the ")" that closes the "(" at `open`, skipping quoted text;
// npos when there is none.
std::size_t MatchingParen(std::string_view text, std::size_t open) {
  int depth = 0;
  for (std::size_t i = open; i < text.size(); ++i) {
    char c = text[i];
    if (c == '"') {
      std::size_t close = text.find('"', i + 1);
      if (close == std::string_view::npos) return close;
      i = close;
    } else if (c == '[') {
      std::size_t close = text.find(']', i + 1);
      if (close == std::string_view::npos) return close;
      i = close;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')' && --depth == 0) {
      return i;
    }
  }
  return std::string_view::npos;
}

std::string CurrentDirectoryText() {
  std::error_code ec;
  std::filesystem::path dir = std::filesystem::current_path(ec);
  return ec ? std::string() : dir.string();
}

class TCompiler {
 public:
  bool Failed() const { return failed_; }
  std::string& Code() { return code_; }

  void Fail() {
    failed_ = true;
    SetCalcError();
  }
  void FailWith(std::string_view message) {
    failed_ = true;
    SetErrorFlag(message);
  }

  void Emit(std::uint8_t b) {
    if (code_.size() >= kEmitLimit) return Fail();
    code_.push_back(static_cast<char>(b));
  }
  void EmitBytes(const void* bytes, std::size_t n) {
    const auto* p = static_cast<const std::uint8_t*>(bytes);
    for (std::size_t i = 0; i < n; ++i) Emit(p[i]);
  }
  void EmitRef(TCellRef ref) {
    std::uint8_t bytes[4];
    WriteCellRef(bytes, ref);
    EmitBytes(bytes, 4);
  }

  void ParseExpression(std::string_view text, int& counter);

 private:
  void CompileOperandText(std::string_view text, int& counter);
  void CompileName(int mode, std::string_view text, int counter);
  void CompileOperand(std::string_view text);
  void CompileReference(std::string_view text);
  void CompileLink(std::string_view text);
  void CompileNumber(std::string_view text);
  bool ReadOperator(std::string_view text, std::size_t& i, bool expectOperand, TOperator& op, int& counter);

  std::string code_ = std::string(kFirstTokenIndex, '\0');
  bool failed_ = false;
};

// Reads the operator at text[i] and advances past it; false (and failed) for
// an operator where an operand is expected.
bool TCompiler::ReadOperator(std::string_view text, std::size_t& i, bool expectOperand, TOperator& op,
                             int& counter) {
  char c = text[i];
  if (c == gArgumentSeparator) {
    if (expectOperand) return Fail(), false;
    ++counter;
    op = {kPrecSeparator, -1};
    ++i;
    return true;
  }
  if (expectOperand) {
    if (c == '+') op = {kPrecUnaryPlus, kTokUnaryPlus};
    else if (c == '-') op = {kPrecNegate, kTokNegate};
    else return Fail(), false;
    ++i;
    return true;
  }
  char next = i + 1 < text.size() ? UpperChar(text[i + 1]) : '\0';
  for (const TTwoCharOperator& entry : kTwoCharOperators) {
    if (entry.first != c || entry.second != next) continue;
    // The word operators must be spelled out to their closing "#" within the
    // text, so the scan never swallows what follows.
    std::size_t end = i + entry.extra;
    if (end >= text.size() || (c == '#' && text[end] != '#')) return Fail(), false;
    op = entry.op;
    i = end + 1;
    return true;
  }
  switch (c) {
    case '#': op = {kPrecHash, -1}; break;
    case '=': op = {kPrecEqual, kTokEqual}; break;
    case '<': op = {kPrecLess, kTokLess}; break;
    case '>': op = {kPrecGreater, kTokGreater}; break;
    case '+': op = {kPrecAdd, kTokAdd}; break;
    case '-': op = {kPrecSubtract, kTokSubtract}; break;
    case '*': op = {kPrecMultiply, kTokMultiply}; break;
    case '/': op = {kPrecDivide, kTokDivide}; break;
    case '^': op = {kPrecPower, kTokPower}; break;
    case '&': op = {kPrecConcat, kTokConcat}; break;
    default: return Fail(), false;
  }
  ++i;
  return true;
}

void TCompiler::ParseExpression(std::string_view text, int& counter) {
  if (text.size() > kMaxFormulaCode) text = text.substr(0, kMaxFormulaCode);
  std::size_t i = 0;
  if (!text.empty() && text[0] == '+') i = 1;
  struct TPending {
    TOperator op;
    bool prefix;
  };
  std::vector<TPending> stack;
  bool expectOperand = true;
  while (i < text.size() && !failed_) {
    char c = text[i];
    if (c == ' ') {  // spaces only separate; two operands in a row are refused below
      ++i;
      continue;
    }
    if (IsOperatorChar(c)) {
      TOperator op{};
      bool prefix = expectOperand && c != gArgumentSeparator;
      if (!ReadOperator(text, i, expectOperand, op, counter)) break;
      // A prefix operator applies to the operand that follows, so it never
      // closes the operators before it.
      if (!prefix) {
        while (!stack.empty() && stack.back().op.precedence >= op.precedence) {
          if (stack.back().op.token >= 0) Emit(static_cast<std::uint8_t>(stack.back().op.token));
          stack.pop_back();
        }
      }
      stack.push_back({op, prefix});
      expectOperand = true;
      continue;
    }
    if (!expectOperand) return Fail();
    std::size_t start = i;
    if (IsDigit(c) || c == DecimalSeparator()) {
      while (i < text.size() && (IsDigit(text[i]) || text[i] == DecimalSeparator())) ++i;
      if (i + 1 < text.size() && (text[i] == 'E' || text[i] == 'e') && (text[i + 1] == '+' || text[i + 1] == '-'))
        i += 2;
    }
    bool compiled = false;
    while (i < text.size() && !IsOperatorChar(text[i]) && !failed_) {
      char d = text[i];
      if (d == '[' || d == '"') {
        std::size_t close = text.find(d == '[' ? ']' : '"', i + 1);
        if (close == std::string_view::npos) return Fail();
        i = close + 1;
      } else if (d == '(') {
        std::size_t close = MatchingParen(text, i);
        if (close == std::string_view::npos) return Fail();
        std::string_view name = text.substr(start, i - start);
        std::string_view inner = text.substr(i + 1, close - i - 1);
        if (inner.find_first_not_of(' ') == std::string_view::npos) return Fail();
        int innerCount = 0;
        ParseExpression(inner, innerCount);
        if (failed_) return;
        if (name.empty()) {
          if (innerCount != 0) return Fail();
          Emit(kTokParen);
        } else {
          if (name[0] != '@') return Fail();
          CompileName(2, name, innerCount);
        }
        i = close + 1;
        for (; i < text.size() && (text[i] == '%' || text[i] == '!'); ++i)
          Emit(text[i] == '%' ? kTokPercent : kTokFactorial);
        if (i < text.size() && !IsOperatorChar(text[i])) return Fail();
        compiled = true;
        break;
      } else if (d == ')') {
        return Fail();
      } else {
        ++i;
      }
    }
    if (!compiled && !failed_) CompileOperandText(text.substr(start, i - start), counter);
    expectOperand = false;
  }
  if (failed_) return;
  if (expectOperand) return Fail();  // empty text, or an operator without its right operand
  while (!stack.empty()) {
    if (stack.back().op.token >= 0) Emit(static_cast<std::uint8_t>(stack.back().op.token));
    stack.pop_back();
  }
}

void TCompiler::CompileOperandText(std::string_view text, int& counter) {
  (void)counter;
  CompileName(1, text, 0);
}

// mode 1: an operand without parentheses; mode 2: a name whose argument list
// was just compiled, `counter` being its separator count.
void TCompiler::CompileName(int mode, std::string_view text, int counter) {
  if (text.empty() || text[0] != '@') return CompileOperand(text);
  std::uint8_t postfix = 0;
  if (mode == 1 && text.size() > 1 && (text.back() == '%' || text.back() == '!')) {
    postfix = text.back() == '%' ? kTokPercent : kTokFactorial;
    text.remove_suffix(1);
  }
  std::string name = UpperCaseText(text.substr(1));
  int args = mode == 2 ? counter + 1 : 0;
  if (int token = FindFunctionName(name); token != 0) {
    int cls = TokenClassTable[token];
    if (cls < kClassFunction0 || cls > kClassFunctionList) return Fail();
    if (cls == kClassFunctionList) {
      if (mode == 1 || args > 255) return Fail();
      Emit(static_cast<std::uint8_t>(token));
      Emit(static_cast<std::uint8_t>(args));
    } else {
      if (args != cls - kClassFunction0) return Fail();
      Emit(static_cast<std::uint8_t>(token));
    }
  } else if (int index = FindUserFunction(name); index != 0) {
    if (index > 255 || UserFunctionArgCount(index) != args) return Fail();
    Emit(kTokUserFunction);
    Emit(static_cast<std::uint8_t>(index));
  } else if (FindRangeName(name) != 0) {
    // A call of the formula in a named cell: its arguments fill the first row
    // of the named range, one per column; the name is referenced absolutely.
    TRange range;
    std::string absName = name[0] == '$' ? name : "$" + name;
    if (mode != 2 || !ParseRange(absName, range)) return Fail();
    OrderPair(range.firstCol, range.lastCol);
    if (args != range.lastCol - range.firstCol + 1) return Fail();
    Emit(kTokNamedCell);
    CompileOperand(absName);
  } else {
    return Fail();
  }
  if (postfix) Emit(postfix);
}

void TCompiler::CompileOperand(std::string_view text) {
  std::uint8_t postfix = 0;
  if (!text.empty() && (text.back() == '%' || text.back() == '!')) {
    postfix = text.back() == '%' ? kTokPercent : kTokFactorial;
    text.remove_suffix(1);
  }
  if (text.empty()) return Fail();
  char first = UpperChar(text[0]);
  if (first == '$' || IsLetter(first)) {
    CompileReference(text);
  } else if (first == '"') {
    if (text.size() < 2 || text.back() != '"') return Fail();
    std::string_view chars = text.substr(1, text.size() - 2);
    if (chars.find('\0') != std::string_view::npos) return Fail();
    Emit(kTokString);
    EmitBytes(chars.data(), chars.size());
    Emit(0);
  } else if (first == '[') {
    CompileLink(text);
  } else {
    CompileNumber(text);
  }
  if (postfix && !failed_) Emit(postfix);
}

void TCompiler::CompileReference(std::string_view text) {
  TRange range;
  TRangeAbsFlags abs;
  std::string upper = UpperCaseText(text);
  // "ERR" is how a reference to a deleted cell reads (unless a range of that
  // name exists): it compiles back to a reference that names no cell, so such
  // a formula can be edited, copied and pasted as it shows.
  if (upper == kBadRefText && FindRangeName(upper) == 0) {
    Emit(kTokCell);
    EmitRef(0);
    return;
  }
  if (!ParseRange(upper, range, abs) || !RangeIsValid(range)) return Fail();
  TCellRef firstRef = EmitCellRef(range.firstRow, range.firstCol, abs.firstRow, abs.firstCol);
  if (firstRef == 0) return Fail();
  if (range.firstRow == range.lastRow && range.firstCol == range.lastCol) {
    Emit(kTokCell);
    EmitRef(firstRef);
    return;
  }
  TCellRef lastRef = EmitCellRef(range.lastRow, range.lastCol, abs.lastRow, abs.lastCol);
  if (lastRef == 0) return Fail();
  Emit(kTokRange);
  EmitRef(lastRef);
  EmitRef(firstRef);
}

// "[path]reference": token 7, the referenced range of the other file, the
// upper-case full path and a 0 byte. A link without a reference is refused.
void TCompiler::CompileLink(std::string_view text) {
  std::size_t close = text.find(']');
  if (close == std::string_view::npos) return Fail();
  std::string path(text.substr(1, close - 1));
  std::string_view rest = text.substr(close + 1);
  TRange range;
  if (rest.empty() || !ParseRange(UpperCaseText(rest), range) || !RangeIsValid(range))
    return FailWith("Unresolved Link");
  if (path.find(':') == std::string::npos) path = CurrentDirectoryText() + "\\" + path;
  path = UpperCaseText(path);
  if (path.find('\0') != std::string::npos) return Fail();
  Emit(kTokLink);
  const std::int16_t words[4] = {range.firstCol, range.firstRow, range.lastCol, range.lastRow};
  for (std::int16_t w : words) {
    Emit(static_cast<std::uint8_t>(w & 0xFF));
    Emit(static_cast<std::uint8_t>((w >> 8) & 0xFF));
  }
  EmitBytes(path.data(), path.size());
  Emit(0);
}

void TCompiler::CompileNumber(std::string_view text) {
  double x = 0;
  int errPos = 0;
  StrToReal(text, x, errPos);
  if (errPos != 0 || !std::isfinite(x)) return Fail();
  if (std::fabs(x) >= 32767 || x != std::trunc(x)) {
    Emit(kTokReal);
    EmitBytes(&x, sizeof x);  // little-endian on every target
  } else {
    auto v = static_cast<std::int16_t>(x);
    Emit(kTokInteger);
    Emit(static_cast<std::uint8_t>(v & 0xFF));
    Emit(static_cast<std::uint8_t>((v >> 8) & 0xFF));
  }
}

// Walks the code and counts the values each token leaves: true when every
// token finds its operands and exactly one value remains at END. `refColumn`
// reads the column of a named-call reference operand (false when it does not
// decode), so the check serves compiled and stored references alike.
template <typename RefColumn, typename UserArgCount>
bool CodeBalancesBy(const std::uint8_t* code, int length, RefColumn refColumn, UserArgCount userArgCount) {
  int depth = 0;
  int i = kFirstTokenIndex;
  while (i < length) {
    int token = code[i];
    int cls = TokenClassTable[token];
    int pops = 0;
    int next = NextTokenIndex(code, i, length);
    if (next > length) return false;
    if (token == kTokNamedCell) {
      // The call range's first row holds one argument per column.
      int col = 0, lastCol = 0;
      if (!refColumn(code + i + 2, lastCol)) return false;
      if (code[i + 1] == kTokRange) {
        if (!refColumn(code + i + 6, col)) return false;
      } else {
        col = lastCol;
      }
      pops = std::abs(lastCol - col) + 1;
    } else if (cls <= kClassCell || cls == kClassRange || cls == kClassInteger || cls == kClassString ||
               cls == kClassLink) {
      pops = 0;
    } else if (cls == kClassParen) {
      pops = 1;
    } else if (cls == kClassPrefix || cls == kClassPostfix) {
      pops = 1;
    } else if (cls == kClassBinary) {
      pops = 2;
    } else if (cls == kClassFunctionList) {
      pops = code[i + 1];
      if (pops == 0) return false;
    } else if (cls == kClassUserFunction) {
      pops = userArgCount(code[i + 1]);
      if (pops < 0) return false;
    } else if (cls >= kClassFunction0 && cls < kClassFunctionList) {
      pops = cls - kClassFunction0;
    } else {
      return false;  // END before the end, or a token of no known class
    }
    if (depth < pops) return false;
    depth += 1 - pops;
    i = next;
  }
  return i == length && code[length] == kTokEnd && depth == 1;
}

bool CodeBalances(const std::uint8_t* code, int length) {
  auto refColumn = [](const std::uint8_t* at, int& col) {
    int row = 0;
    return DecodeCellRef(ReadCellRef(at), row, col);
  };
  return CodeBalancesBy(code, length, refColumn, UserFunctionArgCount);
}

}  // namespace

bool StoredCodeBalances(const std::uint8_t* code, int col) {
  return StoredCodeBalances(code, col, UserFunctionArgCount);
}

bool StoredCodeBalances(const std::uint8_t* code, int col, const std::function<int(int)>& userArgCount) {
  int length = code[0];
  if (length < kFirstTokenIndex || length >= static_cast<int>(kMaxFormulaCode)) return false;
  return CodeBalancesBy(
      code, length,
      [col](const std::uint8_t* at, int& refCol) {
        auto word = static_cast<std::uint16_t>(at[0] | at[1] << 8);
        if (word == 0xFFFF) return false;
        refCol = StoredRefCoordinate(word, col);
        return true;
      },
      userArgCount);
}

void InitParserCharSets(char argumentSeparator, char decimalSeparator) {
  gArgumentSeparator = argumentSeparator;
  FormatSettings().Period = decimalSeparator;
}
char ArgumentSeparator() { return gArgumentSeparator; }
char DecimalSeparator() { return FormatSettings().Period; }

void SetUserFunctionHooks(TFindUserFunctionFn find, TUserFunctionArgsFn argCount) {
  gFindUserFunction = find;
  gUserFunctionArgs = argCount;
}
int FindUserFunction(std::string_view name) { return gFindUserFunction ? gFindUserFunction(name) : 0; }
int UserFunctionArgCount(int index) { return gUserFunctionArgs ? gUserFunctionArgs(index) : -1; }

bool CompileFormula(std::string& text) {
  ClearCalcError();
  TCompiler compiler;
  int counter = 0;
  compiler.ParseExpression(text, counter);
  if (!compiler.Failed() && counter != 0) compiler.Fail();
  if (compiler.Failed()) return false;
  std::string& code = compiler.Code();
  if (code.size() >= kMaxFormulaCode) {
    SetFormulaTooLongError();
    return false;
  }
  code[0] = static_cast<char>(code.size());
  code.push_back(static_cast<char>(kTokEnd));
  if (!CodeBalances(reinterpret_cast<const std::uint8_t*>(code.data()), static_cast<int>(code.size()) - 1)) {
    SetCalcError();
    return false;
  }
  text = std::move(code);
  return true;
}

int FindFunctionName(std::string_view name) {
  if (name.empty()) return 0;
  std::string key = UpperCaseText(name.substr(0, std::min(name.size(), kMaxNameCompare)));
  for (int token = kTokNegate; token <= kLastNamedToken; ++token) {
    std::string_view entry = TokenName(token);
    if (!entry.empty() && entry == key) return token;
  }
  return 0;
}

TCellRef EmitCellRef(int row, int col, bool absRow, bool absCol) {
  TCellHandle cell = CellGetOrCreate(row, col);
  if (cell == kNilHandle) {
    if (!ErrorFlagSet()) SetOutOfMemoryError();
    return 0;
  }
  return cell | (absRow ? kCellRefAbsRow : 0) | (absCol ? kCellRefAbsCol : 0);
}

bool DecodeCellRef(TCellRef ref, int& row, int& col) {
  const TCell* cell = ref == 0 ? nullptr : CellPtr(CellRefHandle(ref));
  if (!cell) {
    row = col = 0;
    SetCalcError();
    return false;
  }
  row = cell->row;
  col = cell->column;
  return true;
}

void RefAbsFlags(TCellRef ref, bool& absRow, bool& absCol) {
  absRow = (ref & kCellRefAbsRow) != 0;
  absCol = (ref & kCellRefAbsCol) != 0;
}

int SkipString(const std::uint8_t* code, int index, int length) {
  while (index < length && code[index] != 0) ++index;
  return index < length ? index + 1 : length;
}

int NextTokenIndex(const std::uint8_t* code, int index, int length) {
  int token = code[index];
  int i = index + 1;
  if (token == kTokNamedCell) {
    if (i >= length || (code[i] != kTokCell && code[i] != kTokRange)) return length + 1;
    return code[i] == kTokCell ? i + 5 : i + 9;
  }
  switch (TokenClassTable[token]) {
    case kClassReal: i += 8; break;
    case kClassCell: i += 4; break;
    case kClassRange: i += 8; break;
    case kClassInteger: i += 2; break;
    case kClassString:
      i = SkipString(code, i, length);
      if (code[i - 1] != 0) return length + 1;
      break;
    case kClassLink:
      // The 8-byte range, then the path and its zero byte, all before END.
      if (i + 8 >= length) return length + 1;
      i = SkipString(code, i + 8, length);
      if (code[i - 1] != 0) return length + 1;
      break;
    case kClassFunctionList:
    case kClassUserFunction: i += 1; break;
    default: break;
  }
  return i;
}

}  // namespace corvane
