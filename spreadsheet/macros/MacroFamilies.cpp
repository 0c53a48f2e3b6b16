// The macro command families: thin bridges from a command's arguments to the
// program's own operations.
#include <cstdint>
#include <string>

#include "spreadsheet/data/LinearProgram.h"
#include "spreadsheet/data/MatrixOps.h"
#include "spreadsheet/engine/BlockCopy.h"
#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/Clipboard.h"
#include "spreadsheet/engine/RangeEdit.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/engine/TextRoutines.h"
#include "spreadsheet/macros/MacroInterp.h"
#include "spreadsheet/macros/MacroRun.h"

namespace corvane {

namespace {

bool HasCell(const TRange& range) { return MacroHasCell(range); }
void ShowRefused() { MacroShowRefused(); }

// A word argument (a name, a format code, a prefix): the text as written, or
// the string a quoted text or string expression gives.
std::string ArgWord() {
  std::string text = MacroArgText();
  if (!text.empty() && (text[0] == '"' || text[0] == '+' || text[0] == '(' || text[0] == '@')) return MacroStringResult(text);
  return text;
}

// A colour word from its high byte and low 24 bits, in unsigned arithmetic.
std::uint32_t ColourWord(std::int32_t high, std::int32_t low) {
  return (static_cast<std::uint32_t>(high) << 24) + static_cast<std::uint32_t>(low);
}

void RangeFamily() {
  const int letter = MacroNextByte();
  switch (letter) {
    case 'r':  // RANGERESET
      RangeNameReset();
      break;
    case 'n': {  // RANGECREATE
      std::string name = ArgWord();
      const TRange range = MacroArgRange();
      if (HasCell(range)) RangeNameCreate(name, range);
      break;
    }
    case 'd':  // RANGEDELETE
      RangeNameDelete(ArgWord());
      break;
    default: {
      const TRange range = MacroArgRange();
      switch (letter) {
        case 'b':
          if (HasCell(range)) RangeNameBuild(range);
          break;
        case 't':
          if (HasCell(range))
            RangeNameTable(range, [](int row, int col, std::string_view text) { return EnterCell(text, row, col); });
          break;
        case 'c': {
          std::int32_t low = MacroArgWhole();
          std::int32_t high = MacroArgWhole();
          if (HasCell(range)) RangeSetAttributes(range, ColourWord(high, low));
          break;
        }
        case 'f': {
          std::string code = ArgWord();
          if (HasCell(range)) RangeSetFormat(range, FormatCodeToByte(code));
          break;
        }
        case 'e': {
          int mode = MacroArgWhole();
          if (HasCell(range)) RangeChangeCase(range, mode);
          break;
        }
        case 'j': {
          int width = MacroArgWhole();
          if (HasCell(range)) RangeJustify(range, width);
          break;
        }
        case 'l': {
          int on = MacroArgWhole();
          if (HasCell(range)) on != 0 ? RangeLock(range) : RangeUnlock(range);
          break;
        }
        case 'p': {
          std::string prefix = ArgWord();
          if (HasCell(range) && !prefix.empty()) RangeSetPrefix(range, prefix[0]);
          break;
        }
        default:
          break;
      }
    }
  }
  ShowRefused();
  MacroHost().RefreshActiveSheet();
}

void CopyFamily() {
  const int letter = MacroNextByte();
  const TRange source = MacroArgRange();
  const TRange destination = MacroArgRange();
  double factor = letter == 's' ? MacroArgValue() : 1.0;
  int mode = letter == 'f' ? 0 : letter == 'v' ? 1 : letter == 't' ? 2 : letter == 's' ? 3 : letter == 'i' ? 4 : -1;
  if (mode >= 0 && HasCell(source) && HasCell(destination)) RangeCopy(mode, source, destination, factor);
  ShowRefused();
}

void MatrixFamily() {
  const int letter = MacroNextByte();
  const TRange first = MacroArgRange();
  const TRange second = MacroArgRange();
  const bool three = letter == 'a' || letter == 's' || letter == 'm';
  const TRange third = three ? MacroArgRange() : TRange{};
  if (!HasCell(first) || !HasCell(second) || (three && !HasCell(third))) {
    ShowRefused();
    return;
  }
  switch (letter) {
    case 'a': MatrixAddSub(1, first, second, third); break;
    case 's': MatrixAddSub(2, first, second, third); break;
    case 'm': MatrixMultiply(first, second, third); break;
    case 'i': MatrixInvertSolve(4, first, second); break;
    case 'e': MatrixInvertSolve(5, first, second); break;
    case 'd': MatrixDetToCell(first, second); break;
    case 'l': LinearProgram(first, second); break;
    default: break;
  }
  ShowRefused();
}

void EditFamily() {
  const int letter = MacroNextByte();
  const TRange range = MacroArgRange();
  if (HasCell(range)) {
    if (letter == 'c' || letter == 't')
      ClipboardCopyRange(range, letter == 't');
    else if (letter == 'p')
      ClipboardPasteRange(range.firstRow, range.firstCol);
  }
  ShowRefused();
}

}  // namespace

bool MacroExecFamily(char family) {
  switch (family) {
    case 'b': RangeFamily(); return true;
    case 'c': CopyFamily(); return true;
    case 'm': MatrixFamily(); return true;
    case 'e': EditFamily(); return true;
    default: return false;
  }
}

}  // namespace corvane
