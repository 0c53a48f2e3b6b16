// What a worksheet file keeps of a document beyond its cells, names, graphs
// and settings block: the print texts and margin words, the data commands'
// order bytes, options and regression ranges, the document information, and
// three bytes that only the file carries (pane split, synchronisation and the
// carried byte of the settings name). One record per open document, found by
// the document's pool owner tag; records of closed documents are dropped the
// next time one is looked up.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "spreadsheet/engine/Range.h"

namespace corvane {

inline constexpr std::size_t kPrintTextMaxChars = 240;
inline constexpr std::size_t kDocTitleMaxChars = 80;
inline constexpr std::size_t kDocCommentsMaxChars = 255;
inline constexpr std::size_t kRevisedByMaxChars = 80;
inline constexpr int kDataOptionCount = 10;
inline constexpr std::uint8_t kSortDescending = 0xFF;

struct TDocumentInfo {
  std::string title;      // at most 80 characters
  std::string comments;   // at most 255
  std::string revisedBy;  // at most 80
  // Fraction of a day and day serial; -1 while the document has none.
  double creationTime = -1;
  double creationDate = -1;
  friend bool operator==(const TDocumentInfo&, const TDocumentInfo&) = default;
};

struct TWorksheetFileState {
  // Kept only for the file: read from it and written back unchanged.
  std::uint8_t paneSplit = 0;
  std::uint8_t paneSync = 0;
  std::uint8_t carriedNameByte = 0;
  // Margins in the classic character units (left, right, page length, top,
  // bottom), as last read; a document never read from a file has the classic
  // page defaults.
  std::array<std::int16_t, 5> marginWords{4, 76, 66, 2, 2};
  std::string printFooter;  // each at most 240 characters
  std::string printHeader;
  std::string printSetup;
  std::uint8_t whatIfType = 0;
  std::uint8_t queryByte = 0;
  std::uint8_t primaryOrder = 0;  // kSortDescending or 0
  std::uint8_t secondaryOrder = 0;
  TRange regressionX;
  TRange regressionY;
  std::array<std::uint8_t, kDataOptionCount> dataOptions{};  // bits 0-2 each
  TDocumentInfo info;
  friend bool operator==(const TWorksheetFileState&, const TWorksheetFileState&) = default;
};

// The record of the current document (a fresh one the first time); a shared
// stand-in record when no document is current.
TWorksheetFileState& CurrentFileState();

// Drops every record (program end, tests).
void ResetFileStates();

}  // namespace corvane
