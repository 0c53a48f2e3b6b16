// The "Find & Replace" dialog as values: the search and replacement texts,
// the scope, the case option, the history of search texts, and the walk that
// finds each cell whose edit text (labels with their prefix, numbers as typed,
// formulas as formula text) holds the search text, in row order. The form
// copies its controls to and from these fields.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/engine/Range.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

inline constexpr const char* kFindCaption = "Find & Replace";
inline constexpr const char* kCircularReplaceText = "Circular Replace Detected";
inline constexpr int kFindHistoryLimit = 10;
inline constexpr std::size_t kFindTextLimit = 255;
// A cell text that would reach this length after a replacement only loses the
// found characters.
inline constexpr std::size_t kReplacedTextLimit = 240;

enum class TFindResult {
  kFound,      // a match: hitRow, hitCol
  kExhausted,  // no further match in the scope (the count was shown, with a beep)
  kCircular,   // the replacement holds the search text: refused, nothing changed
};

struct TFindReplace {
  // What the controls hold.
  std::string findText;     // ComboBox1
  std::string replaceText;  // Edit2
  bool caseInsensitive = false;
  bool selectedScope = false;         // "&Selected:" rather than "&Global"
  std::vector<std::string> history;   // newest first, at most ten
  TRange selection;                   // the selection seen at activation
  std::string result;                 // the label after "Found:"

  // The walk.
  bool newSearch = true;  // the next search starts at the scope's first cell
  TRange scope;
  int row = 0, col = 0;   // where the next search starts
  bool haveHit = false;   // the last search found a cell, which Replace acts on
  int hitRow = 0, hitCol = 0;
  int lastCommand = 0;    // 1 Find, 2 Replace
  int replaced = 0;       // replacements of the current Replace All
  TSheetId sheet = kNoSheet;  // the sheet window the walk is in

  // Takes the active grid's selection (the cursor cell when nothing is
  // marked): "&Selected:" is checked when it holds more than one cell. The
  // search starts again when another sheet window has become the active one.
  void Activate(const TRange& gridSelection);
  std::string ScopeText() const;
  // "Fi&nd" while a new search is pending, "Find &Next" otherwise.
  std::string FindButtonCaption() const;
  // Either text changed: the next search starts again.
  void TextsChanged();
  // The search text left its box: filed at the top of the history (an equal
  // entry moves up; the oldest goes beyond ten; an empty text is not filed).
  void FileHistory();

  // Find: the next match after the last one; the active grid's cursor moves
  // to it. At the end of the scope the count shows and the program beeps.
  TFindResult Find();
  // Replace: the first occurrence in the cell of the last match is replaced
  // (undo saved first; a protected cell is left alone), then the search goes
  // on from that cell. Without a match shown it only finds the next one.
  TFindResult Replace();
  // Replace All: every occurrence from the current position to the end of
  // the scope, after one undo save; cells that refuse the new text (protected,
  // or a formula that no longer reads) keep theirs and are passed over.
  // kExhausted when done (the count is in `result`), or kCircular.
  TFindResult ReplaceAll();

 private:
  void ReadOptions();
  bool Circular() const;
  // The next cell from (row, col) whose text holds the search text.
  TFindResult Next();
  // Next, with the cursor moved to a match and the search going on after it.
  TFindResult ShowNext();
  // Reads the options; true, with the error shown, when the replacement
  // holds the search text.
  bool RefuseCircular();
  // Replaces the first occurrence in the cell at the last hit; false when the
  // cell refused it or no longer holds the search text.
  bool ReplaceAtHit();
  std::string MatchKey(std::string_view text) const;
};

}  // namespace corvane
