// What keys do in a sheet window before its pane sees them, what typed
// characters do, and the Ctrl+letter macro start. Pure decisions: the sheet
// view (SheetView.h) carries them out on its panes and the main frame.
#pragma once

#include <cstdint>
#include <string>

#include "classlib/ControlHost.h"

namespace corvane {

namespace vksheet {
constexpr int Cancel = 3;  // Ctrl+Break
constexpr int Capital = 20, NumLock = 144, Scroll = 145;
constexpr int F11 = 122, F12 = 123;
}  // namespace vksheet

// The state a key's meaning depends on.
struct TSheetKeyState {
  bool pointing = false;      // the entry line is in POINT mode
  bool promptActive = false;  // a range prompt runs
  bool endMode = false;
};

enum class TSheetKeyAction {
  kPass,            // the pane handles the key
  kBreakMacro,      // Ctrl+Break
  kEndExtend,       // Enter while pointing: the pane leaves extend mode (passed on)
  kAcceptPrompt,    // Enter with a range prompt: accept it
  kCtrlDown,
  kLockPanel,       // Caps Lock, Insert, Num Lock, Scroll Lock
  kEscapePoint,     // Esc while pointing
  kEscapePrompt,    // Esc with a range prompt
  kEscape,          // Esc otherwise: only a running macro breaks
  kToggleEnd,
  kEndHome,         // Home in End mode: the last used cell
  kEndArrow,        // an arrow in End mode: the edge of the data block
  kMacroPrompt,     // F3
  kGotoPrompt,      // F5
  kToggleBeep,      // Shift+F6
  kSwitchPane,      // F6
  kHelp,            // F1
  kEditCell,        // F2
  kCycleReference,  // F4
  kNextWindow,      // F7
  kTitles,          // F8
  kRecalcAll,       // F9
  kLinksPrompt,     // F11
  kGraph,           // F12
};

// The action of a key pressed in a sheet window. Function keys with Ctrl or
// Alt pass on; Shift only changes F6.
TSheetKeyAction SheetKeyAction(int key, classlib::TShiftState shift, const TSheetKeyState& state);

// The frame command of a Ctrl+letter taken by a pane while Ctrl-keys-for-
// commands is on (B, I, U, C, X, V, D, Z); false for other keys.
enum class TFrameCommand;
bool CtrlLetterCommand(int key, TFrameCommand& command);

// Where a character typed in a pane goes.
enum class TCharRoute {
  kCapture,     // a macro's one-key capture takes it (decided by the frame)
  kIgnore,      // Tab and Esc, and control characters while not pointing
  kAnchor,      // "." while pointing
  kMenuBar,     // "/" while not pointing
  kPromptLine,  // a range prompt runs
  kEntryLine,   // starts (or continues) the entry
};
TCharRoute SheetCharRoute(char ch, const TSheetKeyState& state);

// The Ctrl+letter macro start. Ctrl down sets the Ctrl-held flag; a letter or
// digit coming up while it is set makes "\" and that character the pending
// macro key and clears the flag; Ctrl coming up looks the pending key up as a
// range name, once: when found its first cell waits to run, at least 26 ms
// later. A Ctrl+letter taken as a frame command arms nothing, and Ctrl coming
// up (with no other Ctrl key down) or the window losing the keyboard clears
// the flag, so that no later letter counts as typed with Ctrl.
class TCtrlMacroKeys {
 public:
  static constexpr std::uint32_t kDelayMs = 26;

  void CtrlDown() { ctrlHeld_ = true; }
  void CommandTaken() { ctrlHeld_ = false; }
  // A Ctrl key came up; `otherCtrlDown`: the keyboard still has one down.
  void CtrlUp(bool otherCtrlDown) {
    if (!otherCtrlDown) ctrlHeld_ = false;
  }
  void FocusLost() { ctrlHeld_ = false; }
  // A key came up at tick `now`. True when a macro start was armed (the
  // caller starts its timer).
  bool KeyUp(int key, std::uint32_t now);
  // The timer ticked at `now`: true once the delay has passed, with the cell
  // to run; the start is then disarmed.
  bool Due(std::uint32_t now, int& row, int& col);
  bool Armed() const { return armed_; }
  const std::string& PendingKey() const { return pending_; }

 private:
  bool ctrlHeld_ = false;
  std::string pending_;
  bool armed_ = false;
  int row_ = 0, col_ = 0;
  std::uint32_t since_ = 0;
};

}  // namespace corvane
