// External links: the linked-file list, the LINK function, link references
// and the refresh through the worksheet reader.
#include "spreadsheet/engine/ExternalLinks.h"

#include <algorithm>
#include <iterator>
#include <tuple>

#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/FormulaCompiler.h"
#include "spreadsheet/engine/FormulaTables.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/SheetSettings.h"
#include "spreadsheet/engine/TextCase.h"

namespace corvane {
namespace {


std::vector<TLinkFile> gLinkFiles;
TLinkedFileReader gReader;
int gFileBeingRead = -1;  // index into gLinkFiles during a refresh

auto NodeOrder(const TLinkCell& node) { return std::make_tuple(node.sheet, node.row, node.column); }
auto KeyOrder(int sheet, int row, int column) {
  return std::make_tuple(static_cast<std::int16_t>(sheet), static_cast<std::int16_t>(row),
                         static_cast<std::int16_t>(column));
}

// Characters that never appear in a file name.
bool IsBadPathChar(char c) {
  auto u = static_cast<unsigned char>(c);
  return u < 32 || c == '"' || c == '*' || c == '?' || c == '<' || c == '|';
}

// The file name and key of a LINK text "file>[sheet:]address" (upper case).
// The reference after ">" is cut to 10 characters, which only ever shortens
// the last corner of a pair; the key is the first corner as written. False
// for a text over 80 characters, without ">", with an empty or bad file name,
// a reference whose first corner the cut would change, bad sheet letters, an
// address that is not a cell address or pair, or a cell beyond the sheet.
bool ParseLinkText(std::string_view text, std::string& fileName, TLinkKey& key) {
  if (text.size() > kMaxLinkText) return false;
  std::string upper = UpperCaseText(text);
  std::size_t gt = upper.find('>');
  if (gt == std::string::npos || gt == 0) return false;
  fileName = upper.substr(0, gt);
  if (std::any_of(fileName.begin(), fileName.end(), IsBadPathChar)) return false;
  std::string_view reference = std::string_view(upper).substr(gt + 1);
  if (reference.empty()) return false;
  if (reference.size() > kMaxLinkReference) {
    if (reference.find('.') >= kMaxLinkReference) return false;
    reference = reference.substr(0, kMaxLinkReference);
  }
  int sheet = 0;
  std::string_view address = reference;
  if (std::size_t colon = reference.find(':'); colon != std::string_view::npos) {
    sheet = SheetLettersToIndex(reference.substr(0, colon));
    address = reference.substr(colon + 1);
  }
  if (sheet < 0 || sheet >= kMaxLinkSheets || address.find(':') != std::string_view::npos ||
      !IsAddressText(address))
    return false;
  TRange range;
  if (!ParseRange(address, range) || !RangeIsValid(range)) return false;
  // The sheets are the linked file's, whose layout is known only when it is
  // read: the row must fit the rows per sheet of a file with that many
  // sheets or more.
  if (range.firstRow >= kRowsPerWorksheet / (sheet + 1)) return false;
  key = {range.firstCol, range.firstRow, sheet, range.lastCol};
  return true;
}

// Leaves a node's value in the top slot: its number or text, "N/A" when the
// file has not given it yet.
void SetSlotFromNode(const TLinkCell& node) {
  if (!node.ready) return PushString(kLinkNotAvailableText);
  if (node.textFlag) return PushString(node.text);
  SetSlotNumber(TopSlot(), node.number);
}

// Token 123, "LINK"(text): the value of the cell of another worksheet file
// that the text names as file name, ">", and a cell address with optional
// sheet letters and ":" in front. "N/A" until the linked files have been
// read. A text that names no file and cell is ERR.
void LinkFunction() {
  TValueSlot& top = TopSlot();
  if (top.error) return SetCalcError();
  std::string fileName;
  TLinkKey key;
  if (!ParseLinkText(SlotText(top), fileName, key)) {
    SetSlotNumber(top, -1);
    return SetCalcError();
  }
  SetSlotFromNode(LinkRegister(fileName, key));
}

std::int16_t ReadWord(const std::uint8_t* at) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(at[0] | at[1] << 8));
}

// Token 7, a reference into another worksheet file. Operands: the range of
// the other file (first column, first row, last column, last row as 16-bit
// words), the upper-case full path and a 0 byte. Pushes the value of the
// range's first cell as LINK gives it ("N/A" until the file has been read);
// a range outside the sheet is ERR. A linked range is not read as a range:
// functions that take range arguments refuse this operand.
void LinkReference() {
  int at = gEval.index;
  int end = at + 8 <= gEval.length ? SkipString(gEval.code, at + 8, gEval.length) : gEval.length + 1;
  if (end > gEval.length || gEval.code[end - 1] != 0) {
    gEval.aborted = true;
    return SetCalcError();
  }
  std::string path(reinterpret_cast<const char*>(gEval.code + at + 8), static_cast<std::size_t>(end - 1 - at - 8));
  int firstCol = ReadWord(gEval.code + at), firstRow = ReadWord(gEval.code + at + 2);
  int lastCol = ReadWord(gEval.code + at + 4);
  gEval.index = end;
  if (!PushSlot()) return;
  if (firstCol < 0 || firstCol > kMaxCol || firstRow < 0 || firstRow > kMaxRow || path.empty()) {
    SetSlotNumber(TopSlot(), -1);
    SetSlotErr();
    return;
  }
  int rows = RowsPerSheet();
  TLinkKey key{firstCol, firstRow % rows, firstRow / rows, lastCol};
  SetSlotFromNode(LinkRegister(path, key));
}

}  // namespace

TLinkCell& LinkRegister(std::string_view fileName, const TLinkKey& key) {
  auto file = std::find_if(gLinkFiles.begin(), gLinkFiles.end(),
                           [&](const TLinkFile& entry) { return entry.fileName == fileName; });
  if (file == gLinkFiles.end()) {
    gLinkFiles.push_back(TLinkFile{std::string(fileName), {}});
    file = std::prev(gLinkFiles.end());
  }
  std::vector<TLinkCell>& cells = file->cells;
  auto wanted = KeyOrder(key.sheet, key.row, key.column);
  auto node = std::lower_bound(cells.begin(), cells.end(), wanted,
                               [](const TLinkCell& n, const auto& k) { return NodeOrder(n) < k; });
  if (node != cells.end() && NodeOrder(*node) == wanted) return *node;
  TLinkCell fresh;
  fresh.column = static_cast<std::int16_t>(key.column);
  fresh.row = static_cast<std::int16_t>(key.row);
  fresh.lastColumn = static_cast<std::int16_t>(key.lastColumn);
  fresh.sheet = static_cast<std::int16_t>(key.sheet);
  return *cells.insert(node, std::move(fresh));
}

int SheetLettersToIndex(std::string_view letters) {
  auto letter = [](char c) { return UpperChar(c) >= 'A' && UpperChar(c) <= 'Z'; };
  if (letters.empty() || letters.size() > 2 || !std::all_of(letters.begin(), letters.end(), letter)) return -1;
  if (letters.size() == 1) return UpperChar(letters[0]) - 'A';
  return 26 * (UpperChar(letters[0]) - 'A' + 1) + (UpperChar(letters[1]) - 'A');
}

void LinkStoreValue(int absoluteRow, int column, int rowsPerSheet, bool isText, std::string_view text,
                    double number) {
  if (gFileBeingRead < 0 || gFileBeingRead >= static_cast<int>(gLinkFiles.size())) return;
  if (absoluteRow < 0 || absoluteRow > kMaxRow || column < 0 || column > kMaxCol) return;
  int rows = rowsPerSheet >= 1 && rowsPerSheet < kRowsPerWorksheet ? rowsPerSheet : kRowsPerWorksheet;
  auto wanted = KeyOrder(absoluteRow / rows, absoluteRow % rows, column);
  std::vector<TLinkCell>& cells = gLinkFiles[static_cast<std::size_t>(gFileBeingRead)].cells;
  auto node = std::lower_bound(cells.begin(), cells.end(), wanted,
                               [](const TLinkCell& n, const auto& k) { return NodeOrder(n) < k; });
  if (node == cells.end() || NodeOrder(*node) != wanted) return;
  node->textFlag = isText ? 1 : 0;
  node->ready = 1;
  if (isText) {
    node->text.assign(text);
    node->number = 0;
  } else {
    node->text.clear();
    node->number = number;
  }
}

void SetLinkedFileReader(TLinkedFileReader reader) { gReader = std::move(reader); }

int RefreshLinkedFiles() {
  if (!gReader) return 0;
  int read = 0;
  for (std::size_t i = 0; i < gLinkFiles.size(); ++i) {
    gFileBeingRead = static_cast<int>(i);
    std::string name = gLinkFiles[i].fileName;
    if (gReader(name)) ++read;
  }
  gFileBeingRead = -1;
  return read;
}

const std::vector<TLinkFile>& LinkedFiles() { return gLinkFiles; }

void ClearLinks() {
  gLinkFiles.clear();
  gFileBeingRead = -1;
}

void RegisterLinkHandlers() {
  static constexpr THandlerEntry kHandlers[] = {
      {kTokLink, LinkReference},
      {kTokLinkFunction, LinkFunction},
  };
  RegisterTokenHandlers(kHandlers);
}

}  // namespace corvane
