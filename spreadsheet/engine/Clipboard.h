// Cell ranges through the system clipboard: plain tab-separated text for other
// programs, and the private format "CRV32D" that carries each cell's edit text
// and attributes, so a copy between worksheets keeps formulas and formatting.
//
// A block is 8-bit text of at most 64000 bytes with its 0 byte: one line per
// row of the range ended by CR LF, fields separated by TAB. A plain field is
// the cell's displayed text without surrounding spaces; a private field is the
// edit text, ";" and the attribute text (RowText.h). A missing cell, and a
// protected one while protection is on, give an empty field. A TAB, CR or LF
// inside a cell's text would break the layout and is given as a space.
//
// The system clipboard is reached through TClipboard, which the Windows code
// implements (win/ClipboardWin.h); with none installed, copy and paste refuse.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/engine/Range.h"

namespace corvane {

inline constexpr std::size_t kClipboardBlockBytes = 64000;
inline constexpr const char* kPrivateClipboardFormatName = "CRV32D";
inline constexpr const char* kClipboardTooLargeText = "Range too large for Clipboard";
inline constexpr const char* kClipboardBusyText = "Clipboard not available";

enum class TClipFormat { kText, kPrivate };

class TClipboard {
 public:
  virtual ~TClipboard() = default;
  // Opens the clipboard for this program; false when another program holds it.
  virtual bool Open() = 0;
  virtual void Close() = 0;
  // Empties it and makes this program its owner (between Open and Close).
  virtual bool Empty() = 0;
  // Hands over `block` (the 0 byte is added) under `format`.
  virtual bool Put(TClipFormat format, std::string_view block) = 0;
  // The data of `format` up to its 0 byte (or its end); false when the
  // clipboard holds none.
  virtual bool Get(TClipFormat format, std::string& block) = 0;
};

// Installs the system clipboard (not owned), or none for nullptr.
void SetClipboard(TClipboard* clipboard);

// The block of a range in plain or private form, without its 0 byte. False,
// leaving `block` empty, when it would not fit 64000 bytes with its 0 byte.
bool ClipboardBuildText(const TRange& range, bool plain, std::string& block);

// One field of a block: its contents and, in the private form, the attribute
// text after the last ";F<digits>,C" (so a ";" inside a label or formula stays
// in its contents).
struct TClipField {
  std::string contents;
  std::string attributes;
};

// The rows of a block: every CR LF (or lone CR or LF) ends exactly one line,
// so empty lines keep their rows; a last line without an end counts when it
// is not empty. Plain text is never split for attributes.
std::vector<std::vector<TClipField>> ParseClipboardBlock(std::string_view block, bool privateForm);

// Puts the range on the clipboard in both forms (private first). With `cut`,
// the range is erased (RangeErase) only once the clipboard holds both. False,
// changing nothing, with "Range too large for Clipboard" or "Clipboard not
// available" shown when the block does not fit or the clipboard cannot be had.
bool ClipboardCopyRange(const TRange& range, bool cut);

// Pastes the clipboard's private block, else its plain text, from (row, col):
// each field is entered as if typed (EnterCell) and private attributes are
// applied. In plain text from another program a field that does not read as a
// number or formula is entered as a label. Only the first 64000 bytes of a
// longer text are read. A target area that leaves the sheet is refused first
// ("Out of Range"); an entry refused part-way (a protected cell) stops the
// paste there, the fields before it staying (undo takes them back). False when
// the paste did not complete.
bool ClipboardPasteRange(int row, int col);

}  // namespace corvane
