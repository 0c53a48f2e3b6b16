// The formula compiler: infix formula text to the postfix token string
// TFormulaCode that cells store and the evaluator runs.
//
// TFormulaCode layout: byte 0 is the index of the final END token (and so the
// code is byte 0 + 1 bytes long, at most 240), byte 1 is 0, the tokens follow
// from byte 2 (FormulaTables.h gives their operand bytes). Cell references are
// 4-byte little-endian cell handles with bit 31 for an absolute row and bit 30
// for an absolute column; compiling a reference creates the referenced cell
// (blank) when it does not exist.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "spreadsheet/engine/CellStore.h"

namespace corvane {

inline constexpr std::size_t kMaxFormulaCode = 240;
inline constexpr int kFirstTokenIndex = 2;

// The separators the scanner uses: the argument separator between function
// arguments and the decimal separator of number constants (FormatSettings().Period
// is kept in step). InitParserCharSets installs new ones; the defaults are "," and ".".
void InitParserCharSets(char argumentSeparator, char decimalSeparator);
char ArgumentSeparator();
char DecimalSeparator();

// User-defined functions of the current document, looked up through hooks that
// the user-function code installs: `find` gives the function's index (1..255)
// for an upper-case name, or 0; `argCount` the argument count of an index, or
// -1 for an index the document does not have. With no hooks there are none.
using TFindUserFunctionFn = int (*)(std::string_view name);
using TUserFunctionArgsFn = int (*)(int index);
void SetUserFunctionHooks(TFindUserFunctionFn find, TUserFunctionArgsFn argCount);
int FindUserFunction(std::string_view name);
int UserFunctionArgCount(int index);

// Compiles `text`. On success `text` is replaced by the code and the result is
// true. On failure `text` is left as it was, the calc error flag is set (with
// "Formula Too Long" or "Unresolved Link" as the message for those two cases)
// and the result is false. Every accepted code balances: each operator finds
// its operands and exactly one value is left at END.
bool CompileFormula(std::string& text);

// The token 8..186 whose name equals `name` (compared in upper case, at most
// 80 characters), else 0. Empty names never match.
int FindFunctionName(std::string_view name);

// A compiled reference to the cell at (row, col), which is created (blank)
// when missing. 0 with the error flag set when the cell cannot be had (outside
// the sheet, or a full pool).
TCellRef EmitCellRef(int row, int col, bool absRow, bool absCol);
// The row and column of a reference's cell. A nil reference, or one whose
// cell record is gone, gives row 0, column 0 and false with the calc error flag set.
bool DecodeCellRef(TCellRef ref, int& row, int& col);
void RefAbsFlags(TCellRef ref, bool& absRow, bool& absCol);

// Reading operands out of code: little-endian, unaligned.
inline TCellRef ReadCellRef(const std::uint8_t* at) {
  return TCellRef{at[0]} | TCellRef{at[1]} << 8 | TCellRef{at[2]} << 16 | TCellRef{at[3]} << 24;
}
inline void WriteCellRef(std::uint8_t* at, TCellRef ref) {
  for (int k = 0; k < 4; ++k) at[k] = static_cast<std::uint8_t>(ref >> (8 * k));
}

// The index after the 0 byte that ends the string starting at `index`;
// `length` when no 0 byte comes before it.
int SkipString(const std::uint8_t* code, int index, int length);

// The index after the token at `index` and its operand bytes (the count byte
// of a list function, the index of a user function, the reference of a
// named-cell call); `length` + 1 when the operands run past `length`.
int NextTokenIndex(const std::uint8_t* code, int index, int length);

// The stack-depth check CompileFormula makes, for code whose references are
// in the stored (relative) form of a formula in column `col`: true when every
// token finds its operands and exactly one value is left at the END that byte
// 0 indexes. Code read from a file must pass it before it is stored.
bool StoredCodeBalances(const std::uint8_t* code, int col);
// The same check with the argument counts of user-defined functions taken
// from `userArgCount` (index to count, -1 for an index there is none of), for
// code that calls the functions of a table other than the current document's,
// such as the one a worksheet file brings.
bool StoredCodeBalances(const std::uint8_t* code, int col, const std::function<int(int)>& userArgCount);

// True when the code's byte 0 indexes an END token (3) within 240 bytes.
inline bool CodeIsWellFormed(const std::uint8_t* code, std::size_t bytes) {
  return bytes > kFirstTokenIndex && code[0] < kMaxFormulaCode && code[0] < bytes && code[code[0]] == 3;
}

}  // namespace corvane
