// A sheet of every kind of cell, for pictures, window tests and benchmarks:
// labels by prefix, numbers in many formats, formulas, ERR, a number too wide
// for its column, a general one rounded to fit it, labels that spill, colours,
// fonts and borders. Entered into the current document.
#pragma once

#include <cstdint>
#include <string>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/CellStore.h"

namespace corvane::testing {

inline void SetLook(int row, int col, int format, std::uint32_t colour = 0xC0000000u, int font = 255, int size = 0,
                    int style = 0, int borders = 0) {
  TCell* cell = CellPtr(CellGetOrCreate(row, col));
  if (cell == nullptr) return;
  if (format >= 0) cell->format = static_cast<std::uint8_t>(0x80 | format);
  cell->attributes = colour;
  cell->font = static_cast<std::uint8_t>(font);
  cell->size = static_cast<std::uint8_t>(size);
  cell->style = static_cast<std::uint8_t>(style);
  cell->borders = static_cast<std::uint8_t>(borders);
}

// Fills rows 0..8 of the current document; false when an entry failed.
inline bool PrepareShowcaseSheet() {
  struct Entry {
    int row, col;
    const char* text;
    int format;
  } entries[] = {
      {0, 0, "'Quarterly figures, a title that runs across the empty cells beside it", -1},
      {1, 0, "'left", -1}, {1, 1, "\"right", -1}, {1, 2, "^centre", -1}, {1, 3, "\\-", -1}, {1, 4, "\\*=", -1},
      {2, 0, "1234.5", 0x42}, {2, 1, "-42", 0x22}, {2, 2, "0.125", 0x31}, {2, 3, "36526", 0x72},
      {2, 4, "0.75", 0x77}, {2, 5, "1234567890123", 0x02}, {2, 6, "3.5", 0x29}, {2, 7, "12345", 0x12},
      {3, 0, "+A3*2", 0x02}, {3, 1, "@SUM(A3..C3)", 0x02}, {3, 2, "@UPPER(\"text\")", -1}, {3, 3, "+1/0", -1},
      {3, 4, "+A3+B3", 0x75},
      {4, 0, "'own colours", -1}, {4, 1, "99", -1}, {4, 2, "'boxed", -1},
      {5, 0, "'a long note that spills over the next cells", -1}, {5, 3, "7", -1},
      {6, 0, "'hidden next", -1}, {6, 1, "123", 0x76},
      {7, 0, "'Big bold", -1}, {7, 2, "'italic, underlined", -1},
      {8, 0, "-17.25", 0x02}, {8, 1, "2024", -1}, {8, 2, "1234567.891234", -1},  // general, rounded to fit
  };
  for (const Entry& e : entries) {
    if (!EnterCell(e.text, e.row, e.col)) return false;
    if (e.format >= 0) SetLook(e.row, e.col, e.format);
  }
  SetLook(4, 0, -1, 0x0F008000u);               // white text on green
  SetLook(4, 1, -1, 0x0900FFFFu);               // red text on yellow
  SetLook(4, 2, -1, 0xC0000000u, 255, 0, 0, 0xFF);  // two-pixel box
  SetLook(7, 0, -1, 0xC0000000u, 1, 16, 1);     // Courier New 16, bold
  SetLook(7, 2, -1, 0xC0000000u, 2, 0, 2 | 4);  // Times New Roman, italic and underlined
  return true;
}

// Fills rows 0..rows-1 and columns 0..cols-1 with formatted cells: every
// fourth a label, the others numbers in fixed, comma, currency, percent and
// date formats, some with colours of their own, some negative, some bordered.
inline void FillFormattedBlock(int rows, int cols) {
  static const int kFormats[] = {0x02, 0x42, 0x22, 0x31, 0x72};
  for (int row = 0; row < rows; ++row) {
    for (int col = 0; col < cols; ++col) {
      int k = row * cols + col;
      if (k % 4 == 0) {
        EnterCell("'Item " + std::to_string(k), row, col);
        continue;
      }
      EnterCell(std::to_string((k % 2 ? -1 : 1) * (k * 37 % 9973) / 7.0), row, col);
      std::uint32_t colour = k % 5 == 0 ? 0x0C00FFFFu : 0xC0000000u;
      SetLook(row, col, kFormats[k % 5], colour, 255, 0, k % 7 == 0 ? 1 : 0, k % 11 == 0 ? 0x55 : 0);
    }
  }
}

}  // namespace corvane::testing
