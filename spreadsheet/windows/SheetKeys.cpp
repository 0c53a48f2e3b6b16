// The key table of the sheet window, the character routing and the Ctrl+letter
// macro start.
#include "spreadsheet/windows/SheetKeys.h"

#include <algorithm>

#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/windows/MacroTrust.h"
#include "spreadsheet/windows/SheetFrame.h"

namespace corvane {

using classlib::TShiftState;
namespace vk = classlib::vk;

bool& BeepOnError() {
  static bool on = true;
  return on;
}

TSheetKeyAction SheetKeyAction(int key, TShiftState shift, const TSheetKeyState& state) {
  using A = TSheetKeyAction;
  bool shifted = (shift & classlib::ssShift) != 0;
  bool ctrlOrAlt = (shift & (classlib::ssCtrl | classlib::ssAlt)) != 0;
  switch (key) {
    case vksheet::Cancel: return A::kBreakMacro;
    case vk::Return:
      if (state.pointing) return A::kEndExtend;
      return state.promptActive ? A::kAcceptPrompt : A::kPass;
    case vk::Control: return A::kCtrlDown;
    case vksheet::Capital:
    case vk::Insert:
    case vksheet::NumLock:
    case vksheet::Scroll: return A::kLockPanel;
    case vk::Escape:
      if (state.pointing) return A::kEscapePoint;
      return state.promptActive ? A::kEscapePrompt : A::kEscape;
    case vk::End: return ctrlOrAlt ? A::kPass : A::kToggleEnd;
    case vk::Home: return state.endMode && !ctrlOrAlt ? A::kEndHome : A::kPass;
    case vk::Left:
    case vk::Up:
    case vk::Right:
    case vk::Down: return state.endMode && !ctrlOrAlt ? A::kEndArrow : A::kPass;
    default: break;
  }
  if (key < vk::F1 || key > vksheet::F12 || ctrlOrAlt) return A::kPass;
  if (key == vk::F6) return shifted ? A::kToggleBeep : A::kSwitchPane;
  // Shift+F10 is the graph key the Graph menu shows; F10 alone is the
  // system's menu key.
  if (key == vk::F10) return shifted ? A::kGraph : A::kPass;
  if (shifted) return A::kPass;
  switch (key) {
    case vk::F1: return A::kHelp;
    case vk::F2: return A::kEditCell;
    case vk::F3: return A::kMacroPrompt;
    case vk::F4: return A::kCycleReference;
    case vk::F5: return A::kGotoPrompt;
    case vk::F7: return A::kNextWindow;
    case vk::F8: return A::kTitles;
    case vk::F9: return A::kRecalcAll;
    case vksheet::F11: return A::kLinksPrompt;
    case vksheet::F12: return A::kGraph;
    default: return A::kPass;
  }
}

bool CtrlLetterCommand(int key, TFrameCommand& command) {
  switch (key) {
    case 'B': command = TFrameCommand::kBold; return true;
    case 'I': command = TFrameCommand::kItalic; return true;
    case 'U': command = TFrameCommand::kUnderline; return true;
    case 'C': command = TFrameCommand::kCopy; return true;
    case 'X': command = TFrameCommand::kCut; return true;
    case 'V': command = TFrameCommand::kPaste; return true;
    case 'D': command = TFrameCommand::kEraseRange; return true;
    case 'Z': command = TFrameCommand::kUndo; return true;
    default: return false;
  }
}

TCharRoute SheetCharRoute(char ch, const TSheetKeyState& state) {
  if (ch == '\t' || ch == '\x1b') return TCharRoute::kIgnore;
  if (state.pointing && ch == '.') return TCharRoute::kAnchor;
  if (!state.pointing && ch == '/') return TCharRoute::kMenuBar;
  if (state.promptActive) return ch == '\r' ? TCharRoute::kIgnore : TCharRoute::kPromptLine;
  if (static_cast<unsigned char>(ch) < 32 && !state.pointing) return TCharRoute::kIgnore;
  return TCharRoute::kEntryLine;
}

bool TCtrlMacroKeys::KeyUp(int key, std::uint32_t now) {
  if (key == vk::Control) {
    if (pending_.empty()) return false;
    // The pending key is looked up once, found or not, so it can never fire
    // on a later release of Ctrl.
    int index = FindRangeName(pending_);
    // A name the user refused when the worksheet was opened does not run.
    const bool allowed = MacroNameAllowed(pending_);
    pending_.clear();
    if (index == 0 || !allowed) return false;
    TRange range = RangeNameRange(*RangeNameAt(index));
    if (!RangeIsValid(range)) return false;
    row_ = std::min(range.firstRow, range.lastRow);
    col_ = std::min(range.firstCol, range.lastCol);
    since_ = now;
    armed_ = true;
    return true;
  }
  bool letter = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
  if (letter && ctrlHeld_) {
    pending_ = std::string("\\") + static_cast<char>(key);
    ctrlHeld_ = false;
  }
  return false;
}

bool TCtrlMacroKeys::Due(std::uint32_t now, int& row, int& col) {
  if (!armed_ || now - since_ < kDelayMs) return false;
  armed_ = false;
  row = row_;
  col = col_;
  return true;
}

}  // namespace corvane
