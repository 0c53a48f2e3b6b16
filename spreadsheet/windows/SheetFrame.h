// What a sheet window asks of the main frame: the entry line and its modes,
// the End mode and lock-key panels, the menu bar and pop-up menu, and the
// commands that keys and clicks in a pane start. The main frame implements
// it; tests use a recording fake. A sheet window never holds the frame's
// controls, only this interface.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "classlib/Graphics.h"

namespace corvane {

// The answers to "Save Worksheet ...?".
enum class TSaveAnswer { kYes, kNo, kCancel };

// Frame commands a key in a pane can start.
enum class TFrameCommand {
  kBold, kItalic, kUnderline,   // style toggles
  kCopy, kCut, kPaste,          // clipboard
  kEraseRange,                  // delete the selection's contents
  kUndo,
  kHelpIndex,                   // the help file at its index
  kGraphWindow,                 // the graph window for the current graph
  kNextSheetWindow,             // activate the next sheet window
};

class TSheetFrame {
 public:
  virtual ~TSheetFrame() = default;

  // ---- The entry line ------------------------------------------------------
  // POINT mode: the entry line's formula takes addresses from the cursor.
  virtual bool Pointing() const = 0;
  // The entry line holds an edit in progress (EDIT, VALUE or LABEL).
  virtual bool Editing() const = 0;
  // The entry line takes input (false while a dialog or macro holds it).
  virtual bool EntryEnabled() const = 0;
  // Starts editing with `ch` typed (the first character of the entry).
  virtual void StartEntry(char ch) = 0;
  // Edits the current cell's contents: edit mode, caret at the end.
  virtual void EditCurrentCell() = 0;
  // Commits the entry line's edit, as leaving it would.
  virtual void CommitEntry() = 0;
  // Enter in a pane while pointing: commits the saved text followed by the
  // pointed address or range.
  virtual void CommitPointedEntry() = 0;
  // POINT mode: "." anchors a range at the cursor; Esc ends pointing; F4
  // cycles the reference mode of the pointed address (with the indicators
  // refreshed); accepting a range prompt resets that mode.
  virtual void AnchorPoint() = 0;
  virtual void EndPointing() = 0;
  virtual void CycleReferenceMode() = 0;
  virtual void ResetReferenceMode() = 0;
  // A character for the prompt line while a range prompt runs.
  virtual void PromptLineChar(char ch) = 0;
  // The list the prompt line offers (range names, addresses).
  virtual void SetPromptList(const std::vector<std::string>& items) = 0;

  // ---- Indicators and panels ---------------------------------------------------
  // The style buttons, font boxes and status line for the current cell.
  virtual void RefreshIndicators() = 0;
  // The panel of a lock key (Caps Lock, Insert, Num Lock, Scroll Lock).
  virtual void RefreshLockPanel(int key) = 0;
  virtual bool EndMode() const = 0;
  virtual void SetEndMode(bool on) = 0;

  // ---- Macros ------------------------------------------------------------------
  // A one-key capture of the macro language is waiting: the character goes
  // to it (true) instead of the sheet.
  virtual bool DeliverCapturedKey(char ch) = 0;
  virtual void BreakMacro() = 0;
  // Runs the macro that starts at the cell.
  virtual void RunMacroAt(int row, int col) = 0;
  // Runs a macro given as its text (a macro button's).
  virtual void RunMacroText(std::string_view text) = 0;
  // The graph window for the named graph `name` (a graph box's); the current
  // graph when no graph has that name.
  virtual void ShowSheetGraph(std::string_view name) = 0;

  // ---- Menus and commands ------------------------------------------------------
  // Opens the main menu bar as Alt would; `skipSystemMenu` moves on to the
  // first menu when the sheet window is maximised.
  virtual void OpenMenuBar(bool skipSystemMenu) = 0;
  // The pane pop-up menu at a screen point.
  virtual void ShowPaneMenu(classlib::TPoint screen) = 0;
  // The range properties dialog on its first page, for the selection.
  virtual void ShowRangeProperties() = 0;
  // Whether Ctrl+letters in a pane are frame commands (a setting).
  virtual bool CtrlKeysForCommands() const = 0;
  virtual void RunCommand(TFrameCommand command) = 0;
  // Lets pending window messages run (long commands stay responsive).
  virtual void ProcessMessages() = 0;

  // ---- Closing ---------------------------------------------------------------
  // Asks "Save Worksheet", a line break, the caption and "?" (Yes, No, Cancel).
  virtual TSaveAnswer AskSave(std::string_view caption) = 0;
  // Save As for the current document (a new sheet); true when it was saved.
  virtual bool SaveAs() = 0;
  // The last sheet window is closing: menus and tool bars without a sheet.
  virtual void NoSheetWindows() = 0;

  // ---- What the engine asks of the main frame (through the window services) --
  virtual void ShowProgress(int done, int total) = 0;
  virtual void HideProgress() = 0;
  virtual void SetWaitCursor(bool on) = 0;
  virtual void EnableMainWindow() = 0;
  virtual void SetMainMenusEnabled(bool enabled) = 0;
  virtual void ShowPromptLine(std::string_view caption, std::string_view text) = 0;
  virtual std::string PromptLineText() = 0;
  virtual void HidePromptLine() = 0;
  // The mode panel: a text and its colour byte; READY and " WAIT! ".
  virtual void SetModeIndicator(std::string_view text, int colour) = 0;
  virtual void ShowReadyMode() = 0;
  virtual void ShowWaitMode() = 0;
  // The name of the user logged on.
  virtual std::string UserName() = 0;
};

// The program's beep-on-error switch, which Shift+F6 toggles.
bool& BeepOnError();

}  // namespace corvane
