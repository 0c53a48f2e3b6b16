// The entry line: all cell input of the program goes through the one edit line
// of the main frame, never through an editor inside the grid. This is its
// logic without the window: when editing starts and ends, what Enter, Esc and
// the arrows do, POINT mode (pointing at cells with the arrows while a formula
// is typed), the mode indicator, and what the line and the status line show
// for the current cell. The frame's controls sit behind TEntryLineView; the
// grid, the mode panel and the menus are reached through the window services.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/windows/CellPainter.h"

namespace corvane {

// A mode panel text and its colour byte (high four bits: background palette
// index, low four bits: text palette index).
struct TModeIndicator {
  const char* text;
  int colour;
};
inline constexpr TModeIndicator kModeReady{"READY", 31};
inline constexpr TModeIndicator kModeEdit{"EDIT", 63};
inline constexpr TModeIndicator kModeWait{" WAIT! ", 79};
inline constexpr TModeIndicator kModeValue{"VALUE", 180};
inline constexpr TModeIndicator kModeLabel{"LABEL", 177};
inline constexpr TModeIndicator kModeEmpty{"?", 180};
inline constexpr TModeIndicator kModePoint{"POINT", 112};
// Shown for an entry the formula compiler refuses, which has no message of
// its own.
inline constexpr const char* kSyntaxErrorText = "Syntax Error";

// The indicator a typed text gives outside edit mode: VALUE for a text that
// starts like a value ("(", "+", "-", a digit or "@"), "?" for an empty one,
// LABEL otherwise.
TModeIndicator TypingModeFor(std::string_view text);

// What the style bar shows for the current cell.
struct TCellStyleIndicators {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  std::uint32_t fillColour = 0xFFFFFF;  // RGB, red lowest; white without a fill of its own
  int textPalette = 0;                  // palette index of the text colour
  std::string fontText;                 // face name, " *" added for the window's default
  std::string sizeText;                 // size, " *" added for the window's default
  friend bool operator==(const TCellStyleIndicators&, const TCellStyleIndicators&) = default;
};

// The style indicators of the cell at (row, col) of the current document (a
// missing cell shows the defaults).
TCellStyleIndicators CellStyleIndicators(int row, int col, const TSheetFonts& fonts);

// The main frame's side of the entry line.
class TEntryLineView {
 public:
  virtual ~TEntryLineView() = default;
  virtual std::string EntryText() = 0;
  virtual void SetEntryText(std::string_view text) = 0;
  // Delivers a character to the line as if typed at the caret.
  virtual void TypeChar(char ch) = 0;
  // Caret after the last character, nothing selected.
  virtual void CaretToEnd() = 0;
  // The Enter and Esc buttons beside the line.
  virtual void SetEditButtonsVisible(bool visible) = 0;
  // The line's colours: the window colour while editing, silver at rest; red
  // text after a refused entry, black otherwise.
  virtual void SetEntryColours(bool editing, bool errorText) = 0;
  // Function pick and macro pick, enabled only while editing.
  virtual void SetPickButtonsEnabled(bool enabled) = 0;
  // Disabled for a cell that may not be entered (protected).
  virtual void SetEntryEnabled(bool enabled) = 0;
  virtual void FocusEntry() = 0;
  // The keyboard's Insert toggle (refreshing the INS panel on the way).
  virtual bool InsertToggleOn() = 0;
  // The active grid's extend mode (a range anchored at the cursor).
  virtual void SetGridExtendMode(bool on) = 0;
  // The cell panel of the status line and the text of a running range prompt.
  virtual void SetStatusText(std::string_view text) = 0;
  virtual void SetPromptText(std::string_view text) = 0;
  virtual void ShowCellStyle(const TCellStyleIndicators& style) = 0;
  // The active sheet window's fonts.
  virtual TSheetFonts SheetFonts() = 0;
};

// Keys the entry line treats itself.
enum class TEntryKey { kEnter, kEscape, kHome, kLeft, kUp, kRight, kDown, kF1, kF2, kF9 };

// What became of a key in the entry line.
enum class TEntryKeyResult {
  kNotHandled,     // the edit control treats it (caret moves in edit mode)
  kHandled,
  kPassToPane,     // POINT mode began: the key moves the pointer in the pane
  kFunctionPick,   // F1 after "@": open the function list
  kMacroPick,      // F1 after "{": open the macro command list
};

class TEntryLine {
 public:
  explicit TEntryLine(TEntryLineView& view) : view_(view) {}

  bool Editing() const { return editing_; }
  bool EditMode() const { return editMode_; }
  bool Pointing() const { return pointing_; }
  bool Overwrite() const { return overwrite_; }
  int ReferenceMode() const { return referenceMode_; }

  // Starts editing: pick buttons on, EDIT in edit mode, main menus off, the
  // selection collapsed to the cursor cell, the Enter and Esc buttons shown,
  // the reference mode 0 and the overwrite flag read from the keyboard.
  void EditEnter();
  // F2, or a click into the line: edit the current text in edit mode (the
  // arrows then move the caret), caret at the end.
  void EditCurrentCell();
  // A character typed in a pane that starts an entry: ends POINT mode (the
  // line keeps the pointed text) or empties the line, starts editing, focuses
  // the line and types the character into it.
  void PaneChar(char ch);
  // The line's text changed while editing: EDIT, VALUE, LABEL or "?".
  void TextChanged();
  TEntryKeyResult EntryKey(TEntryKey key);

  // Commits the line into the cursor cell. An empty line outside edit mode,
  // and POINT mode, only finish editing; a running range prompt is accepted
  // instead. A refused entry keeps the text, in red, with a beep, in edit
  // mode; true otherwise. Nothing happens (false) with no sheet window open.
  bool EditExit();
  // Stops editing without entering anything.
  void EditCancel();

  // POINT mode, driven from the pane: "." anchors a range at the cursor; F4
  // cycles the pointed address's reference mode 3, 2, 1, 0 (a range's second
  // corner); Enter commits the saved text and the pointed range into the
  // cell where pointing began; Esc ends pointing there and goes on editing
  // the saved text.
  void PointAnchor();
  void CycleReferenceMode();
  // Accepting a range prompt starts the next pointing without "$" marks.
  void ResetReferenceMode() { referenceMode_ = 0; }
  // The Insert key was toggled: typed characters replace or push on.
  void InsertToggled(bool insertOn) { overwrite_ = !insertOn; }
  bool PointCommit();
  void PointEscape();
  // The saved text followed by the pointed address or range.
  std::string PointedEntryText() const;

  // The cursor is on (row, col): in POINT mode the line shows the pointed
  // text; otherwise the style bar, and while not editing the cell's status
  // text (or a running prompt's range) and the status line.
  void UpdateCellIndicators(int row, int col);

 private:
  void Finish();
  void EndPointing();
  std::string PointedRangeText() const;

  TEntryLineView& view_;
  bool editing_ = false;
  bool editMode_ = false;
  bool pointing_ = false;
  bool anchored_ = false;
  bool overwrite_ = false;
  int referenceMode_ = 0;
  std::string savedText_;
  int savedRow_ = 0;
  int savedCol_ = 0;
};

}  // namespace corvane
