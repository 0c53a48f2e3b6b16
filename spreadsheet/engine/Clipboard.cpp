// Building, parsing, copying and pasting clipboard blocks.
#include "spreadsheet/engine/Clipboard.h"

#include <algorithm>

#include "spreadsheet/engine/BlockCopy.h"
#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/FormulaText.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/RangeEdit.h"
#include "spreadsheet/engine/RowText.h"
#include "spreadsheet/engine/ShowError.h"

namespace corvane {

namespace {

TClipboard* gClipboard = nullptr;

std::string FieldSafe(std::string text) {
  std::replace_if(text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
  return text;
}

std::string ClipboardField(int row, int col, bool plain) {
  TCellHandle cell = CellFind(row, col);
  const TCell* record = CellPtr(cell);
  if (record == nullptr || (ProtectionOn() && (record->format & kFormatProtectedBit))) return "";
  if (plain) return FieldSafe(TrimBoth(RowDisplayText(row, col, col)));
  return FieldSafe(CellContentsText(cell)) + ";" + CellAttributeText(row, col);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The position of the ";" that starts the attribute text: the last ";F" with
// digits and ",C" after it; npos when there is none.
std::size_t AttributeStart(std::string_view field) {
  for (std::size_t at = field.rfind(";F"); at != std::string_view::npos; at = field.rfind(";F", at - 1)) {
    std::size_t i = at + 2;
    while (i < field.size() && IsDigit(field[i])) ++i;
    if (i > at + 2 && field.substr(i, 2) == ",C") return at;
    if (at == 0) break;
  }
  return std::string_view::npos;
}

bool Refuse(const char* text) {
  SetErrorFlag(text);
  ShowError(text);
  return false;
}

}  // namespace

void SetClipboard(TClipboard* clipboard) { gClipboard = clipboard; }

bool ClipboardBuildText(const TRange& range, bool plain, std::string& block) {
  block.clear();
  TRange r = OrderedRange(range);
  if (!RangeIsValid(r)) return true;
  for (int row = std::max<int>(r.firstRow, 0); row <= std::min<int>(r.lastRow, kMaxRow); ++row) {
    for (int col = std::max<int>(r.firstCol, 0); col <= std::min<int>(r.lastCol, kMaxCol); ++col) {
      if (col > r.firstCol) block += '\t';
      block += ClipboardField(row, col, plain);
    }
    block += "\r\n";
    if (block.size() + 1 > kClipboardBlockBytes) {
      block.clear();
      return false;
    }
  }
  return true;
}

std::vector<std::vector<TClipField>> ParseClipboardBlock(std::string_view block, bool privateForm) {
  std::vector<std::vector<TClipField>> rows;
  block = block.substr(0, std::min(block.find('\0'), kClipboardBlockBytes));
  std::size_t i = 0;
  while (i < block.size()) {
    std::size_t end = block.find_first_of("\r\n", i);
    std::string_view line = block.substr(i, end == std::string_view::npos ? std::string_view::npos : end - i);
    if (end == std::string_view::npos) i = block.size();
    else i = end + (block.substr(end, 2) == "\r\n" ? 2 : 1);
    std::vector<TClipField>& fields = rows.emplace_back();
    for (std::size_t start = 0;;) {
      std::size_t tab = line.find('\t', start);
      std::string_view text = line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start);
      TClipField& field = fields.emplace_back();
      std::size_t attributes = privateForm ? AttributeStart(text) : std::string_view::npos;
      field.contents = text.substr(0, attributes);
      if (attributes != std::string_view::npos) field.attributes = text.substr(attributes + 1);
      if (tab == std::string_view::npos) break;
      start = tab + 1;
    }
  }
  return rows;
}

bool ClipboardCopyRange(const TRange& range, bool cut) {
  std::string privateBlock, plainBlock;
  if (!ClipboardBuildText(range, false, privateBlock) || !ClipboardBuildText(range, true, plainBlock))
    return Refuse(kClipboardTooLargeText);
  if (gClipboard == nullptr || !gClipboard->Open()) return Refuse(kClipboardBusyText);
  bool ok = gClipboard->Empty() && gClipboard->Put(TClipFormat::kPrivate, privateBlock) &&
            gClipboard->Put(TClipFormat::kText, plainBlock);
  gClipboard->Close();
  if (!ok) return Refuse(kClipboardBusyText);
  if (cut) RangeErase(range);
  return true;
}

bool ClipboardPasteRange(int row, int col) {
  if (gClipboard == nullptr || !gClipboard->Open()) return Refuse(kClipboardBusyText);
  std::string block;
  bool privateForm = gClipboard->Get(TClipFormat::kPrivate, block);
  bool found = privateForm || gClipboard->Get(TClipFormat::kText, block);
  gClipboard->Close();
  if (!found) return false;
  // A longer text from another program is read as far as a block goes.
  if (block.size() > kClipboardBlockBytes) block.resize(kClipboardBlockBytes);
  std::vector<std::vector<TClipField>> rows = ParseClipboardBlock(block, privateForm);
  if (rows.empty()) return false;
  std::size_t widest = 0;
  for (const auto& fields : rows) widest = std::max(widest, fields.size());
  if (row < 0 || col < 0 || row + static_cast<int>(rows.size()) - 1 > kMaxRow ||
      col + static_cast<int>(widest) - 1 > kMaxCol)
    return Refuse(kOutOfRangeText);
  TCellCommand command;
  command.Begin();
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      const TClipField& field = rows[r][c];
      int atRow = row + static_cast<int>(r), atCol = col + static_cast<int>(c);
      bool entered = EnterCell(field.contents, atRow, atCol);
      // Plain text from another program: what does not read as a formula is a label.
      if (!entered && !privateForm && ErrorMessage() != kProtectedCellText)
        entered = EnterCell("'" + field.contents, atRow, atCol);
      if (!entered) {
        // The paste stops at the field refused; the fields before it stay,
        // and undo takes them back.
        std::string message = RefusedEntryText();
        command.Done();
        if (!message.empty()) {
          SetErrorFlag(message);
          ShowError(message);
        }
        return false;
      }
      if (!field.attributes.empty()) ApplyCellAttributeText(atRow, atCol, field.attributes);
    }
  }
  command.Done();
  return true;
}

}  // namespace corvane
