// The macro interpreter: carries out one command of the running macro. The
// pump calls MacroExecCommand right after the command prefix 20; the command
// reads its letter and arguments from the code stream, acts through the
// operation that owns what it does, and returns. Control flow works on the
// run state: it loads another line, pushes or pops the call stack, or skips
// the rest of the line.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "spreadsheet/engine/Range.h"

namespace corvane {

inline constexpr std::size_t kMacroArgMaxChars = 240;
inline constexpr int kMacroFileSlots = 6;

// Input/output result codes of the file commands (0 is success); IORESULT
// reads them.
inline constexpr int kIoFileNotFound = 2;
inline constexpr int kIoPathNotFound = 3;
inline constexpr int kIoAccessDenied = 5;
inline constexpr int kIoBadHandle = 6;
inline constexpr int kIoBadMode = 12;
inline constexpr int kIoFileNotOpen = 103;
inline constexpr int kIoWriteFault = 105;

// The arguments of the command being run, as the readers leave them.
struct TMacroArgs {
  std::string text;     // the raw text, then a string result
  TRange cell;          // the cell or range reader's result
  double number = 0;    // the value reader's result
  std::int32_t whole = 0;
};
TMacroArgs& MacroArgs();

// The argument readers. An argument runs to its 13 (consumed), at most 240
// characters kept; at the command's end mark or the line's end it reads as
// "" (so a missing cell is the cursor's, a missing value 0). Arguments the
// command leaves unread are dropped when it returns.
const std::string& MacroArgText();
// Evaluated as a string expression: text starting with "(", "+", "-" or "@"
// as it is, any other with "+" in front; the string result ("" for a number).
const std::string& MacroArgString();
// "" is "CURSOR", "NUL" gives first column -1; other text goes through
// ParseRange, which sets the error flag for a bad reference.
const TRange& MacroArgCell();
const TRange& MacroArgRange();
// "TRUE" 1, "FALSE" 0 (the text keeps the word), else the number expression
// ("+" in front unless it begins with "+" or "-"); 0 after a bad reference.
double MacroArgValue();
// The value rounded to the nearest whole number (halves to even), held within
// 32 bits.
std::int32_t MacroArgWhole();
// Whether the last MacroArgValue gave a string result.
bool MacroArgWasString();
// Whether the last MacroArgValue was given text that does not evaluate (a
// formula with a syntax error, an unknown name); TRUE, FALSE and an empty
// argument evaluate.
bool MacroArgUnevaluated();

// The string result of `text` by the string rule above ("" for a number).
std::string MacroStringResult(std::string_view text);
// True when the range names a cell (the reader gives first column -1 for
// "NUL" and a bad reference).
bool MacroHasCell(const TRange& range);
// Shows what a refused operation left in the error flag, once, and clears it.
void MacroShowRefused();

// Option lists: items separated by ",", each a letter (upper-cased) and its
// value text, cut to `maxItem` characters; `apply` gets each in turn.
void ForEachMacroOption(std::string_view list, std::size_t maxItem,
                        const std::function<void(char letter, std::string_view value)>& apply);
// Ordinary decimal conversion of an option value; 0 when it is not a number.
int OptionWhole(std::string_view value);
double OptionReal(std::string_view value);

// Executes the command whose prefix has just been read.
void MacroExecCommand();

// The syntax-error command: "Syntax Error:" with the line's address; the macro
// stops.
void MacroSyntaxError();

// The command families ("b" range, "c" copy, "d" data, "e" edit, "f" file,
// "g" graph, "h" general, "m" matrix, "p" print, "v" view): each reads its
// second letter and arguments. False when the family is not known.
bool MacroExecFamily(char family);

// Closes every file the macros left open (the file table outlives a macro).
void MacroCloseFiles();

// The running macro's current cell follows inserts, deletes and moves: calls
// `adjust` on it as a one-cell range.
void ForEachMacroRange(const std::function<void(TRange&)>& adjust);

}  // namespace corvane
