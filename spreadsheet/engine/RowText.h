// Cells as text for printing and the clipboard: one line showing a stretch of
// a row as the sheet shows it, and the attribute text of the private
// clipboard format.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// The cells of `row` from firstCol to lastCol as the sheet shows them: each
// column a field of its width in characters plus 2 (the active grid's width,
// the document's default for a default column), each cell's text placed in
// its field by its format and label prefix (numbers right-aligned, "*" across
// the field when they do not fit, "ERR" for error cells). A text longer than
// its field runs on into the fields of empty cells to its right and is cut
// where a cell with contents starts, as the sheet shows it. The line keeps its
// length: a text that runs past the end is cut there.
std::string RowDisplayText(int row, int firstCol, int lastCol);

// The attribute text of the private clipboard format: "F<format>,C<attributes>,
// T<font>,H<size>,S<style>" in decimal, the format with its protected bit.
std::string CellAttributeText(int row, int col);

// Applies such a text to the cell at (row, col), created when missing (nothing
// when it cannot be). Items are separated by ","; each is a letter (either
// case) and a decimal number (0 when it is not one): C the attributes word, F
// the format byte, H the size, S the style, T the font; other letters are
// ignored.
void ApplyCellAttributeText(int row, int col, std::string_view text);

// The text without leading and trailing spaces.
std::string TrimBoth(std::string_view text);

}  // namespace corvane
