// The transfer dialog's values and the transfers they run.
#include "spreadsheet/files/TransferDialog.h"

#include <charconv>

#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/engine/UndoBuffer.h"
#include "spreadsheet/files/DbaseTransfer.h"
#include "spreadsheet/files/TextTransfer.h"
#include "spreadsheet/files/WorksheetFile.h"

namespace corvane {

namespace {

struct TTransferTitle {
  int page;
  int type;  // -1: any
  const char* caption;
  int height;
};

constexpr TTransferTitle kTitles[] = {
    {kTransferImportPage, kImportValues, "Import Values", 130},
    {kTransferImportPage, kImportText, "Import Text", 130},
    {kTransferExportPage, kExportWorksheet, "Export WKS", 130},
    {kTransferExportPage, kExportQuotedText, "Export Quoted Text", 130},
    {kTransferExportPage, kExportCommaText, "Export Comma Delimited Text", 130},
    {kTransferDbasePage, -1, "Import Dbase", 238},
};

// Shows the pending error (when there is one) and clears it; false always,
// so that a failing step can end with `return Refused();`.
bool Refused() {
  if (ErrorFlagSet() && !ErrorMessage().empty()) ShowError(ErrorMessage());
  ClearErrorFlag();
  return false;
}

// A record number typed into the dBase page: digits only, from 1.
bool ReadRecordNumber(std::string_view text, std::int32_t& number) {
  std::size_t first = text.find_first_not_of(' ');
  std::size_t last = text.find_last_not_of(' ');
  if (first == std::string_view::npos) return false;
  text = text.substr(first, last - first + 1);
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  return error == std::errc{} && end == text.data() + text.size() && number >= 1;
}

bool Blank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

}  // namespace

std::string TransferFileLabel(std::string_view path) {
  std::size_t slash = path.find_last_of("\\/");
  if (slash == std::string_view::npos) return std::string(path);
  std::string_view name = path.substr(slash + 1);
  std::size_t colon = path.find(':');
  std::string_view drive = colon == std::string_view::npos || colon > slash ? std::string_view() : path.substr(0, colon + 1);
  return std::string(drive) + "\\..." + std::string(name);
}

void TTransferDialog::Open(int transferPage, std::string_view file, int transferType) {
  page = transferPage;
  type = transferType;
  fileName = std::string(file.substr(0, kTransferFileChars));
  reload = true;
  for (const TTransferTitle& title : kTitles) {
    if (title.page != page || (title.type >= 0 && title.type != type)) continue;
    caption = title.caption;
    height = title.height;
    return;
  }
  height = 130;  // the dBase export keeps the caption it had
}

void TTransferDialog::Activate(const TRange& selection) {
  if (!reload) return;
  reload = false;
  saved = selection;
  rangeText[static_cast<std::size_t>(page)] = RangeToText(selection);
  if (page == kTransferDbasePage) {
    TDbfInfo info = DbfFileInfo(fileName);
    fieldCount = info.fieldCount;
    recordCount = info.recordCount;
  }
}

const char* TTransferDialog::PromptCaption() const {
  switch (page) {
    case kTransferImportPage: return "IMPORT: Specify Target";
    case kTransferExportPage: return "EXTRACT: Specify Source";
    default: return "IMPORT DBASE: Specify Target";
  }
}

TRange TTransferDialog::PromptPreset() const {
  TRange range;
  const std::string& text = rangeText[static_cast<std::size_t>(page)];
  bool read = !text.empty() && ParseRange(text, range) && RangeIsValid(range);
  ClearErrorFlag();
  return read ? range : saved;
}

bool TTransferDialog::ReadFields(TRange& range, std::int32_t& first, std::int32_t& count) const {
  ClearErrorFlag();
  if (!ParseRange(rangeText[static_cast<std::size_t>(page)], range)) return Refused();
  if (!RangeIsValid(range)) {
    SetErrorFlag("Invalid Range");
    return Refused();
  }
  OrderPair(range.firstRow, range.lastRow);
  OrderPair(range.firstCol, range.lastCol);
  first = 1;
  count = -1;
  if (page != kTransferDbasePage) return true;
  // "&All" reads from the first record, else from "Start:"; "Stop:" is the
  // last record read, all to the end when it is empty.
  std::int32_t stop = 0;
  if (!allRecords && !Blank(startText) && !ReadRecordNumber(startText, first)) {
    SetErrorFlag("Invalid Start Record");
    return Refused();
  }
  if (!Blank(stopText) && !ReadRecordNumber(stopText, stop)) {
    SetErrorFlag("Invalid Stop Record");
    return Refused();
  }
  if (stop != 0 && stop < first) {
    SetErrorFlag("Stop Record Before Start");
    return Refused();
  }
  if (stop != 0) count = stop - first + 1;
  return true;
}

bool TTransferDialog::Validate() const {
  TRange range;
  std::int32_t first = 0, count = 0;
  return ReadFields(range, first, count);
}

bool TTransferDialog::Apply() const {
  TRange range;
  std::int32_t first = 0, count = 0;
  if (!ReadFields(range, first, count)) return false;
  switch (page) {
    case kTransferImportPage:
      // "Import Values" spreads each line's fields over a row; "Import Text"
      // keeps each line whole as a label.
      UndoSave();
      return ImportTextFile(type == kImportText ? kImportLabels : kImportFields, range.firstRow, range.firstCol,
                            fileName);
    case kTransferExportPage:
      if (type == kExportWorksheet) return SaveWorksheet(fileName, true, range);
      if (type == kExportDbase) return ExportDbf(range, fileName);
      // The text export leaves its message to the caller.
      return ExportTextFile(fileName, type + 1, range) || Refused();
    default:
      UndoSave();
      return ImportDbf(range.firstRow, range.firstCol, fileName, first, count);
  }
}

}  // namespace corvane
