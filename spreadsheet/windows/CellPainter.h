// Cell-row painting: one row of a pane (or of a printed page) drawn from the
// current document's cell store onto any canvas. For each cell it decides the
// text by kind and format, the alignment by label prefix and style, the "x"
// fill of numbers that do not fit, the spill of long labels into empty
// neighbours, the font, the fill and text colours (document colours,
// protection, banding, selection and cursor), pictures, grid lines and
// borders.
//
// The painter reads the cell store of the current document only; the sheet
// window makes the pane's document current around the call (TDocumentScope).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/Canvas.h"
#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/Range.h"
#include "spreadsheet/engine/SheetSettings.h"

namespace corvane {

// Cell colour words keep their RGB in bits 0-23 and a palette index for the
// text in bits 24-27. In a cell's word bit 31 means "no fill of its own" and
// bit 30 "no text colour of its own"; in the document's words bit 30 means
// "use the row background" and bit 31 "black text".
inline constexpr std::uint32_t kColourNoFill = 0x80000000u;
inline constexpr std::uint32_t kColourNoText = 0x40000000u;
inline constexpr classlib::TColor kFrozenBackground = classlib::RGBColor(128, 255, 255);
inline constexpr classlib::TColor kSelectionFill = classlib::RGBColor(255, 0, 0);
inline constexpr classlib::TColor kGridLineColour = classlib::RGBColor(192, 192, 192);
inline constexpr classlib::TColor kDottedGridColour = classlib::RGBColor(128, 128, 128);

// Grid-line mode bits of a pane.
inline constexpr int kGridHorizontal = 1;
inline constexpr int kGridVertical = 2;
inline constexpr int kGridDotted = 4;

// The fonts a sheet window offers its cells: its own default face and size,
// and the program's font list that a cell's font number indexes.
struct TSheetFonts {
  std::string defaultFace = "Arial";
  int defaultSize = 12;
  const std::vector<std::string>* list = nullptr;  // borrowed; may be null
};
// The face for a cell's font number: the default for 255 and for any number
// the list does not hold (a damaged file or clipboard text may bring one).
std::string CellFontName(const TSheetFonts& fonts, int fontNumber);
// The size for a cell's size byte: the window's default for 0.
int CellFontSize(const TSheetFonts& fonts, int sizeByte);

// Draws picture cells. `file` is the name after the "|<" or "|>" prefix;
// `stretch` asks for the picture over the whole cell, else it is copied
// unscaled to the cell's top left corner. False when the picture cannot be
// had; the cell then shows its fill with a frame.
class TPictureSource {
 public:
  virtual ~TPictureSource() = default;
  virtual bool DrawPicture(classlib::TCanvas& canvas, std::string_view file, const classlib::TRect& cell,
                           bool stretch) = 0;
};

// Everything a row paint reads besides the cells.
struct TRowPaintContext {
  const TSheetSettings* settings = nullptr;  // the document's colours and flags
  TSheetFonts fonts;
  int zoom = 100;              // percent, for font heights
  bool print = false;          // painting a printed page
  bool printNoColour = false;  // printing in black on white
  bool printGrid = false;      // printing a frame round each cell
  int gridMode = kGridHorizontal | kGridVertical;
  bool frozen = false;         // painting the frozen title part
  // Screen marks: the selection (rows -1 when none) and the cursor cell.
  TRange selection{0, -1, 0, -1};
  int cursorRow = -1, cursorCol = -1;
  TPictureSource* pictures = nullptr;
  // The rectangle of a column's cell in this row, for any column 0..255 (a
  // spilling label may reach past the last painted column).
  std::function<classlib::TRect(int col)> cellRect;
};

enum class TCellAlign : std::uint8_t { kLeft, kRight, kCentre };

// What a cell shows, before it meets the canvas.
struct TCellLook {
  enum class TText : std::uint8_t {
    kNone,     // nothing to draw (blank, hidden, missing)
    kNumber,   // a number's text: replaced by "x"s when it does not fit
    kLabel,    // a label's text: may spill into empty neighbours
    kRepeat,   // `text` is one character repeated across the cell
    kPicture,  // `text` names a picture file
  };
  TText kind = TText::kNone;
  std::string text;
  TCellAlign align = TCellAlign::kLeft;
  bool stretch = false;   // pictures: "|<"
  bool shortens = false;  // numbers: general text, shorter in a narrower column
  classlib::TColor fill = classlib::clWhite;
  classlib::TColor textColour = classlib::clBlack;
  // The text colour before the screen marks: the part of a label that spills
  // out of the cursor cell or the selection shows in it.
  classlib::TColor unmarkedTextColour = classlib::clBlack;
};

// The row background: white when printing, light cyan for the frozen title
// part, the band colour on rows 1, 3, 5 ... (even indices) when banding is on,
// else the document background.
classlib::TColor RowBackground(const TRowPaintContext& context, int row);

// The look of the cell at (row, col) (`cell` may be null for a missing cell)
// in a column `widthDigits` characters wide, with the screen marks applied.
TCellLook DecideCellLook(const TCell* cell, const TRowPaintContext& context, int row, int col, int widthDigits);

// Paints columns firstCol..lastCol of `row` on `canvas`: fills, texts (with
// spill), pictures, grid lines or print frames, and borders. The canvas state
// is restored afterwards.
void PaintCellRow(classlib::TCanvas& canvas, const TRowPaintContext& context, int row, int firstCol, int lastCol);

}  // namespace corvane
