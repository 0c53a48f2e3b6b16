// The run state of the macro language: one macro runs at a time, so there is
// one state for the program. It holds the line being run and its read
// position, the cell it came from, the break, step and pause flags, the call
// stack (20 levels) and the loop stack (5 levels), and feeds the interpreter
// and the key replay one code byte at a time, loading the lines of a macro
// that runs down a column as they are needed.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/engine/Range.h"

namespace corvane {

inline constexpr int kMacroCallLevels = 20;
inline constexpr int kMacroLoopLevels = 5;
// The row of a macro given as text: it has no further lines.
inline constexpr int kMacroTextRow = -2;

struct TMacroCallLevel {
  std::int16_t row = 0;  // the calling line's row (kMacroTextRow for a text macro)
  std::int16_t col = 0;
  std::int16_t pos = 0;  // read position to carry on from
};

struct TMacroLoopLevel {
  std::int16_t row = 0;  // counter cell
  std::int16_t col = 0;
  std::int32_t end = 0;
  std::int32_t step = 0;
};

struct TMacroRunState {
  bool running = false;
  bool breakRequested = false;
  bool step = false;
  bool paused = false;
  bool oneKey = false;  // the pause waits for one key (GET)
  // The document the macro started in, which every line it runs comes from,
  // whatever document its commands make current meanwhile (slot and owner
  // tag: a closed document's slot may be taken by another).
  int docSlot = 0;
  std::uint16_t docTag = 0;
  std::string line;  // the current line's code string and its end marker 0
  int pos = 1;       // 1-based read position in `line`
  int row = 0;       // the next line's row (the current line is row - 1), or kMacroTextRow
  int col = 0;
  std::string textLine;  // a text macro's compiled line, for returns into it
  std::array<TMacroCallLevel, kMacroCallLevels> calls{};
  int callTop = 0;
  std::array<TMacroLoopLevel, kMacroLoopLevels> loops{};
  int loopCount = 0;
  // The error-trap cell ONERROR sets (row -1: none): an error that would stop
  // the macro branches there instead, once.
  int trapRow = -1;
  int trapCol = 0;
};

// The program's run state.
TMacroRunState& MacroState();

// What the run state needs from the windows. The defaults do nothing; the
// main frame installs its own.
class TMacroHost {
 public:
  virtual ~TMacroHost() = default;
  // The main window's caption, which step mode uses to show the line.
  virtual void SetCaption(std::string_view /*text*/) {}
  // Whether the sheet panes start Ctrl+letter macros (off while one runs).
  virtual void SetCtrlShortcuts(bool /*enabled*/) {}
  // Waits for window messages and handles them; false when none can come
  // (a pause or a wait then ends at once).
  virtual bool ProcessMessages() { return false; }
  // Handles the window messages already waiting (repaints, the user's break
  // keys) and returns at once; a long macro calls it between commands so
  // that the program keeps answering.
  virtual void PollMessages() {}
  // The user asked for a break: a box or dialog the macro waits on closes, so
  // that the break takes effect at once.
  virtual void BreakRequested() {}

  // ---- What the interpreter's commands ask of the windows --------------------
  // The active grid's cursor to (row, col); one row down from the cursor.
  virtual void GotoCell(int /*row*/, int /*col*/) {}
  virtual void CursorDown() {}
  // Freezes the active grid's titles at the cell (mode bit 0 rows, bit 1
  // columns; 0 clears them).
  virtual void FreezeTitles(int /*mode*/, int /*row*/, int /*col*/) {}
  // Starts (true) or ends extending the active grid's selection.
  virtual void SetAnchor(bool /*on*/) {}
  // Runs the main frame's command of that name (as the command table spells
  // it); false when there is none or it may not run now.
  virtual bool RunCommand(std::string_view /*name*/) { return false; }
  // Repaints the active sheet and updates the indicators.
  virtual void RefreshActiveSheet() {}
  virtual void Beep() {}
  virtual void Tone(int /*frequency*/, int /*milliseconds*/) {}
  // Waits, handling window messages meanwhile.
  virtual void Delay(int /*milliseconds*/) {}
  // Sound: mode 1 play and wait, 2 play, 3 play repeatedly, 4 the media
  // player, any other stops the sound playing.
  virtual void PlayWave(std::string_view /*name*/, int /*mode*/) {}
  // The input box with `caption`; the answer, none when it was closed without
  // Ok.
  virtual std::optional<std::string> InputBox(std::string_view /*caption*/) { return std::nullopt; }
  // The macro menu of `items` (descriptions beside them, `title` on its strip):
  // 1..n for the item chosen, n + 1 for Esc or a close.
  virtual int MacroMenu(const std::vector<std::string>& items, const std::vector<std::string>& /*descriptions*/,
                        std::string_view /*title*/) {
    return static_cast<int>(items.size()) + 1;
  }
  // The graph window for the current graph, maximised when bit 0 of `flags`
  // is set, closed again after `milliseconds` when that is not 0.
  virtual void ShowGraphView(int /*flags*/, int /*milliseconds*/) {}
  // Bar 1 the quick bar, 2 the macro toolbar, 3 the status line: shown or
  // hidden, and the settings record it.
  virtual void ShowBar(int /*bar*/, bool /*on*/) {}
  // The active and default zoom (20 to 200 per cent); the sheets repainted.
  virtual void SetZoom(int /*percent*/) {}
  // Opens the worksheet file `name` in a new sheet window, or brings the
  // document to the front when that file is open already.
  virtual void OpenWorksheet(std::string_view /*name*/) {}
  // The Save As dialog proposing `name`.
  virtual void SaveAsDialog(std::string_view /*name*/) {}
  // Closes, or brings to the front, every sheet window of the document `name`.
  virtual void CloseDocument(std::string_view /*name*/) {}
  virtual void FocusDocument(std::string_view /*name*/) {}
  // Ends the program through the main window's usual closing steps, once the
  // macro has stopped.
  virtual void ExitProgram() {}
  // The open-file dialog with `filter` and `name`; the name chosen, "" when
  // cancelled.
  virtual std::string PickOpenFile(std::string_view /*filter*/, std::string_view /*name*/) { return ""; }
  // Prints the active sheet (mode 0 the used extent, 1 the print range), or
  // graph `index` (0 the current graph, k the k-th named graph).
  virtual void PrintSheet(int /*mode*/) {}
  virtual void PrintGraph(int /*index*/) {}
  // The printer's orientation.
  virtual void SetLandscape(bool /*landscape*/) {}
  // The data form dialog on the database `range`, modal.
  virtual void ShowDataForm(const TRange& /*range*/) {}
  // Sets (or clears) the `mask` bits of the active grid's grid-line mode.
  virtual void SetGridLines(int /*mask*/, bool /*on*/) {}
  // Divides the active sheet window's rows into `pages` sheets (the tab bar
  // follows).
  virtual void SetSheetPages(int /*pages*/) {}
  // The active sheet window's default row height or column width in pixels
  // (-1 leaves that one as it is).
  virtual void SetDefaultSizes(int /*rowHeight*/, int /*columnWidth*/) {}
  // The character of the last key the sheet window recorded.
  virtual char LastKey() { return 0; }
};
TMacroHost& MacroHost();
// Installs `host` (not owned), or the do-nothing host for nullptr.
void SetMacroHost(TMacroHost* host);

// Starts a macro at the cell (row, col) of the current document, or one given
// as text (compiled at once). The macro's lines are read from that document to
// the end, even after a command opens or activates another; when it is closed
// meanwhile the macro ends at its next line. Both clear the break and pause flags and the
// call and loop stacks, so nothing of an earlier macro that ended inside a
// subroutine or loop carries over, and turn the Ctrl shortcuts off. False,
// changing nothing, while a macro runs already.
bool MacroStartAt(int row, int col);
bool MacroStartText(std::string_view text);

// Ends the macro: running cleared, Ctrl shortcuts back on, pause ended.
void MacroStop();

// A break request from the key handlers: when a macro runs, the program beeps,
// a box the macro waits on closes, and the next byte fetch shows "Break! " and
// the line's address and stops it.
void MacroBreak();

// Handles window messages until the pause flag is cleared (MacroResume) or
// the macro stops.
void MacroPause();
void MacroResume();

// The next code byte of the running macro, loading the next line when the
// current one is used up; 0 when no macro runs or it has just ended (at a
// missing or blank cell, at the end of a text macro, or at a break). Command
// end marks are passed over.
int MacroNextByte();

// The next byte of the present command's arguments; 0 at the command's end
// mark (left in place, so every later argument reads empty too) or at the end
// of the line. Arguments never reach into the next command or line.
int MacroNextArgByte();
// Drops the rest of the present command, its end mark included: arguments
// the command did not read are never typed as keys.
void MacroDropCommandRest();

// Loads the macro line at (row, col) as the current line, dropping the rest of
// the present one; a missing or blank cell ends the macro (false).
bool MacroBranchTo(int row, int col);

// The address of the line being run ("" for a text macro).
std::string MacroLineAddress();

// Call stack. A call remembers the calling line and read position; beyond 20
// levels it shows "Stack Overflow, Nesting>20" and stops the macro. A return
// reloads the calling line at the remembered position and pops one level; with
// an empty stack it shows "Stack Underflow, Level<1" and pops nothing. Both
// give false on failure.
bool MacroCallPush();
bool MacroCallReturn();

// Loop stack. A push sets the counter cell to `start` and keeps `end` and
// `step` (as whole numbers); a sixth open loop shows "FOR LOOPS>5" and stops
// the macro (false). The test reads the counter: with a positive step the loop
// is finished when end <= counter, otherwise when end >= counter; a finished
// loop is popped, else the counter cell gets counter + step.
bool MacroLoopPush(int row, int col, double start, double end, double step);
enum class TMacroLoopTest { kNoLoop, kRepeat, kFinished };
TMacroLoopTest MacroLoopTest();

}  // namespace corvane
