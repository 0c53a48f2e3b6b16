// External links: values of cells of other worksheet files. Formulas ask for
// them with the LINK function ("LINK"("file>B:C5")) or a "[file]C5" reference
// (token 7). Each asked-for cell is registered in the linked-file list, a
// TLinkFile per file with its TLinkCell nodes kept in (sheet, row, column)
// order; the values arrive when the linked files are refreshed: the worksheet
// reader reads each file in linked-file mode and hands every cell value to
// LinkStoreValue. Until then a link's value is the text "N/A".
//
// Entries and nodes live until ClearLinks (program end); values are replaced
// at each refresh. Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

inline constexpr const char* kLinkNotAvailableText = "N/A";
inline constexpr std::size_t kMaxLinkText = 80;       // the whole LINK argument
inline constexpr std::size_t kMaxLinkReference = 10;  // the part after ">"
inline constexpr int kMaxLinkSheets = 64;

// One cell of a linked file that a formula asked for. `row` counts within its
// sheet of the linked file; the node's absolute row there is sheet x the
// file's rows per sheet + row.
struct TLinkCell {
  std::int16_t column = 0;
  std::int16_t row = 0;
  std::int16_t lastColumn = 0;  // last column of the parsed reference, kept only
  std::int16_t sheet = 0;
  std::uint8_t textFlag = 0;    // 1: the value is `text`
  std::uint8_t ready = 0;       // 1: a value has been stored
  double number = 0;
  std::string text;
};

struct TLinkFile {
  std::string fileName;          // upper case, as written in the formula
  std::vector<TLinkCell> cells;  // ordered by sheet, row, column
};

// The key of a linked cell.
struct TLinkKey {
  int column = 0;
  int row = 0;  // within the sheet
  int sheet = 0;
  int lastColumn = 0;
};

// Finds or creates the entry of `fileName` (compared exactly) and its node for
// the key, and gives the node. The reference stays valid until the next
// LinkRegister or ClearLinks.
TLinkCell& LinkRegister(std::string_view fileName, const TLinkKey& key);

// Sheet letters to a sheet index: "A" 0 .. "Z" 25, "AA" 26 .. "ZZ" 701
// (counted like column letters). -1 for anything else: no letters, more than
// two, or a character that is not a letter (any case is accepted).
int SheetLettersToIndex(std::string_view letters);

// Stores a value read from the linked file being refreshed into the node at
// (absoluteRow, column), when a formula asked for that cell; values for other
// cells are dropped, as are calls outside a refresh. The absolute row is
// taken apart into sheet and row with the linked file's own rows per sheet
// (8192 for a file of one sheet, and for a value outside 1..8191). Cells may
// arrive in any order.
void LinkStoreValue(int absoluteRow, int column, int rowsPerSheet, bool isText, std::string_view text,
                    double number);

// What the worksheet reader provides: reads the file `fileName` in linked-file
// mode, handing every cell value to LinkStoreValue; false when the file could
// not be read (its links keep their values).
using TLinkedFileReader = std::function<bool(const std::string& fileName)>;
// Installs the reader (an empty function removes it).
void SetLinkedFileReader(TLinkedFileReader reader);

// Re-reads every file of the list through the reader, one after the other;
// the number of files read. Nothing is read without a reader. Does not
// recalculate: the caller recalculates the documents afterwards.
int RefreshLinkedFiles();

// The list, for the windows and tests; ClearLinks empties it.
const std::vector<TLinkFile>& LinkedFiles();
void ClearLinks();

// Registers the handlers of the LINK function (token 123) and of link
// references (token 7). The function registry calls it.
void RegisterLinkHandlers();

}  // namespace corvane
