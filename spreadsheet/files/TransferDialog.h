// The transfer dialog as values: the last step of the Import and Export
// commands. It holds the chosen file, which transfer runs (its page and
// type), the range field of each page and the dBase page's record choice, and
// runs the text import, the worksheet, text or dBase export, or the dBase
// import. The form copies its controls to and from these fields.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "spreadsheet/engine/Range.h"

namespace corvane {

// Pages and types.
inline constexpr int kTransferImportPage = 0;
inline constexpr int kTransferExportPage = 1;
inline constexpr int kTransferDbasePage = 2;
inline constexpr int kImportValues = 0;        // page 0: each line's fields into cells
inline constexpr int kImportText = 1;          // page 0: each line as a label
inline constexpr int kExportWorksheet = 0;     // page 1
inline constexpr int kExportQuotedText = 1;    // page 1
inline constexpr int kExportCommaText = 2;     // page 1
inline constexpr int kExportDbase = 3;         // page 1

inline constexpr std::size_t kTransferFileChars = 255;

// The file as the dialog's label shows it: the drive part up to its ":",
// "\...", then the file's name ("C:\DATA\SALES.TXT" gives "C:\...SALES.TXT").
// A name without ":" (a UNC or relative path) shows "\..." and the name; a
// name without folders shows as it is.
std::string TransferFileLabel(std::string_view path);

struct TTransferDialog {
  int page = kTransferImportPage;
  int type = kImportValues;
  std::string fileName;
  std::string caption = "Transfer";
  int height = 130;
  bool reload = false;
  TRange saved;                          // the selection seen at activation
  std::array<std::string, 3> rangeText;  // "&Target: ", "&Source: ", dBase "&Target: "
  // The dBase page.
  int fieldCount = 0;
  std::uint32_t recordCount = 0;
  bool allRecords = true;  // "&All", else "Start:"
  std::string startText;
  std::string stopText;

  // Opens the dialog on `page` for `file` and the transfer `transferType`:
  // caption and height by page and type (page 1 with type 3 keeps the
  // caption it had); the next activation loads the fields.
  void Open(int transferPage, std::string_view file, int transferType);
  // The first activation after Open: the selection becomes the saved range
  // and the page's range field; the dBase page reads the file's counts.
  void Activate(const TRange& selection);
  // The range prompt's caption for the current page's field.
  const char* PromptCaption() const;
  // The range the prompt starts from: the field's range when it reads, else
  // the saved selection.
  TRange PromptPreset() const;

  // Reads the page's range field and, on the dBase page, the record numbers.
  // False, with the reason shown, for a field that does not read or a stop
  // record before the start record.
  bool Validate() const;
  // Validates and runs the transfer. False when a field does not read or the
  // transfer failed; every failure has been shown. Imports save undo first.
  bool Apply() const;

 private:
  // What Validate reads: the range (corners in order) and the dBase import's
  // first record and record count (-1: to the end).
  bool ReadFields(TRange& range, std::int32_t& first, std::int32_t& count) const;
};

}  // namespace corvane
