// The sheet window's keys, characters, mouse and macro timer.
#include <algorithm>

#include "spreadsheet/engine/BlockJump.h"
#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/EnginePlatform.h"
#include "spreadsheet/engine/ExternalLinks.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/engine/RangePrompt.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/Recalc.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/windows/MacroTrust.h"
#include "spreadsheet/windows/SheetView.h"
#include "spreadsheet/windows/SheetViews.h"

namespace corvane {

using classlib::TMouseButton;
using classlib::TShiftState;
namespace vk = classlib::vk;

TSheetKeyState TSheetView::KeyState() {
  return {Frame().Pointing(), RangePromptActive(), Frame().EndMode()};
}

void TSheetView::PreviewKeyDown(int& key, TShiftState shift) {
  using A = TSheetKeyAction;
  TGridModel& pane = ActivePane();
  const TSheetKeyState state = KeyState();
  switch (SheetKeyAction(key, shift, state)) {
    case A::kPass:
      return;
    case A::kBreakMacro:
      Frame().BreakMacro();
      return;
    case A::kEndExtend:
      pane.SetExtendMode(false);
      Frame().CommitPointedEntry();
      break;
    case A::kAcceptPrompt:
      EndPrompt(true);
      Frame().ResetReferenceMode();
      break;
    case A::kCtrlDown:
      macroKeys_.CtrlDown();
      break;
    case A::kLockPanel:
      Frame().RefreshLockPanel(key);
      break;
    case A::kEscapePoint:
      Frame().BreakMacro();
      Frame().EndPointing();
      break;
    case A::kEscapePrompt:
      Frame().BreakMacro();
      EscapeWithPrompt();
      break;
    case A::kEscape:
      Frame().BreakMacro();
      return;
    case A::kToggleEnd:
      Frame().SetEndMode(!state.endMode);
      break;
    case A::kEndHome:
      Frame().SetEndMode(false);
      pane.SetExtendMode(false);
      pane.MoveTo(gCurrentDoc.highRow, gCurrentDoc.highCol);
      break;
    case A::kEndArrow: {
      int row = pane.CursorRow(), col = pane.CursorCol();
      JumpToBlockEdge(key, pane.FirstScrollableRow(), pane.FirstScrollableCol(), col, row, kMaxCol, kMaxRow);
      pane.MoveTo(row, col);
      break;
    }
    case A::kMacroPrompt:
      StartMacroPrompt();
      break;
    case A::kGotoPrompt:
      StartNamePrompt("GOTO: Specify Cell", [this](int row, int col) {
        ActivePane().SetExtendMode(false);
        ActivePane().MoveTo(row, col);
      });
      break;
    case A::kToggleBeep:
      parts_.window.Beep(classlib::kBeepDefault);
      BeepOnError() = !BeepOnError();
      break;
    case A::kSwitchPane:
      if (split_ != TSplit::kNone) {
        SetActivePane(activePane_ == 1 ? 2 : 1, true);
      } else {
        parts_.window.Beep(classlib::kBeepDefault);
        SwapHiddenView();
      }
      break;
    case A::kHelp:
      parts_.window.Beep(classlib::kBeepDefault);
      Frame().RunCommand(TFrameCommand::kHelpIndex);
      break;
    case A::kEditCell:
      pane.ScrollToCursor();
      Frame().EditCurrentCell();
      break;
    case A::kCycleReference:
      parts_.window.Beep(classlib::kBeepDefault);
      Frame().CycleReferenceMode();
      Frame().RefreshIndicators();
      break;
    case A::kNextWindow:
      Frame().RunCommand(TFrameCommand::kNextSheetWindow);
      break;
    case A::kTitles:
      if (pane.HasTitles())
        pane.ClearTitles();
      else
        pane.SetTitles(3);
      break;
    case A::kRecalcAll:
      RecalcAllDocuments();
      break;
    case A::kLinksPrompt:
      StartLinksPrompt();
      break;
    case A::kGraph:
      Frame().RunCommand(TFrameCommand::kGraphWindow);
      break;
  }
  key = 0;
}

void TSheetView::PaneKeyDown(TGridModel& pane, int& key, TShiftState shift) {
  TFrameCommand command;
  // Ctrl as the key event has it, without Alt: a menu letter typed with Alt
  // after any Ctrl combination opens its menu and changes no cell.
  const bool ctrlOnly = (shift & (classlib::ssCtrl | classlib::ssAlt)) == classlib::ssCtrl;
  if (ctrlOnly && Frame().CtrlKeysForCommands() && CtrlLetterCommand(key, command)) {
    macroKeys_.CommandTaken();
    Frame().RunCommand(command);
    key = 0;
  } else if (key == vk::Delete && (shift & classlib::ssCtrl) == 0) {
    parts_.window.Beep(classlib::kBeepDefault);
    Frame().RunCommand(TFrameCommand::kEraseRange);
    key = 0;
  }
}

void TSheetView::KeyUp(int key, TShiftState shift) {
  if (key == vk::Control) macroKeys_.CtrlUp((shift & classlib::ssCtrl) != 0);
  if (macroKeys_.KeyUp(key, EnginePlatform().TickCount())) parts_.window.StartTimer(kMacroTimer, kMacroTimerMs);
}

void TSheetView::Timer(int id) {
  if (id != kMacroTimer) return;
  int row = 0, col = 0;
  if (!macroKeys_.Due(EnginePlatform().TickCount(), row, col)) return;
  parts_.window.StopTimer(kMacroTimer);
  Frame().RunMacroAt(row, col);
}

void TSheetView::StartMacroPrompt() {
  StartNamePrompt("MACRO: Specify Cell", [this](int row, int col) { Frame().RunMacroAt(row, col); });
}

void TSheetView::MacroMessage(int col, int row) {
  if (row < 0 || row > kMaxRow || col < 0 || col > kMaxCol) return;
  // Another program's start of a macro in a worksheet whose macros the user
  // refused is refused too.
  if (DocumentMacrosRefused()) return;
  Frame().RunMacroAt(row, col);
}

void TSheetView::KeyPress(char& ch) {
  if (ch == 0) return;
  if (Frame().DeliverCapturedKey(ch)) {
    ch = 0;
    return;
  }
  switch (SheetCharRoute(ch, KeyState())) {
    case TCharRoute::kCapture:
    case TCharRoute::kIgnore:
      break;
    case TCharRoute::kAnchor:
      Frame().AnchorPoint();
      break;
    case TCharRoute::kMenuBar:
      Frame().OpenMenuBar(maximised);
      break;
    case TCharRoute::kPromptLine:
      Frame().PromptLineChar(ch);
      break;
    case TCharRoute::kEntryLine:
      if (Frame().EntryEnabled()) {
        // What is typed goes into the cursor cell: it shows.
        ActivePane().SetExtendMode(false);
        ActivePane().ScrollToCursor();
        Frame().StartEntry(ch);
      }
      break;
  }
  ch = 0;
}

void TSheetView::PaneMouseDown(TGridModel& pane, TMouseButton button, TShiftState shift, int x, int y) {
  if (Frame().Editing()) Frame().CommitEntry();
  propertiesPress_ = false;
  if (placing_ && &pane == &parts_.pane1 && button == TMouseButton::mbLeft) {
    rubberDown_ = true;
    rubberFrom_ = rubberTo_ = {x, y};
    DrawRubber();
    return;
  }
  if (button != TMouseButton::mbRight) {
    SetActivePane(PaneNumberOf(pane), false);
    return;
  }
  int col = 0, row = 0;
  pane.PointToCell(x, y, col, row);
  const TRange sel = pane.GetSelection();
  bool inside = row >= sel.firstRow && row <= sel.lastRow && col >= sel.firstCol && col <= sel.lastCol;
  if ((shift & classlib::ssShift) != 0 && inside) {
    propertiesPress_ = true;
    return;
  }
  classlib::TPoint at{x, y};
  Frame().ShowPaneMenu(PaneToScreen ? PaneToScreen(pane, at) : at);
}

void TSheetView::PaneMouseMove(TGridModel& pane, TShiftState, int x, int y) {
  if (!rubberDown_ || &pane != &parts_.pane1) return;
  DrawRubber();  // inverted, so drawing it again takes it away
  rubberTo_ = {x, y};
  DrawRubber();
}

void TSheetView::PaneMouseUp(TGridModel& pane, TMouseButton button, TShiftState, int x, int y) {
  if (rubberDown_ && &pane == &parts_.pane1 && button == TMouseButton::mbLeft) {
    FinishPlacing({x, y});
    return;
  }
  if (button != TMouseButton::mbRight || !propertiesPress_) return;
  propertiesPress_ = false;
  if (!RangePromptActive()) Frame().ShowRangeProperties();
}

// ---- What the keys start ----------------------------------------------------------------------

TSheetView::TPaneState TSheetView::SavePane(TGridModel& pane) const {
  return {pane.CursorRow(), pane.CursorCol(), pane.Toprow(), pane.Leftcol(), pane.GetSelection()};
}

void TSheetView::RestorePane(TGridModel& pane, const TPaneState& state) {
  pane.SetExtendMode(false);
  pane.SetToprow(state.top);
  pane.SetLeftcol(state.left);
  pane.MoveTo(state.cursorRow, state.cursorCol);
  pane.SetSelection(state.selection);
}

void TSheetView::SwapHiddenView() {
  TPaneState shown = SavePane(parts_.pane1);
  RestorePane(parts_.pane1, hidden_);
  hidden_ = shown;
  parts_.pane1.Repaint();
}

void TSheetView::EndPrompt(bool accept) {
  RangePromptEnd(accept);
  // The command the prompt ran may have changed the cell under the cursor.
  if (!RangePromptActive()) Frame().RefreshIndicators();
}

void TSheetView::EscapeWithPrompt() {
  TGridModel& pane = ActivePane();
  TRange sel = pane.GetSelection();
  if (sel.firstRow == sel.lastRow && sel.firstCol == sel.lastCol) {
    EndPrompt(false);
  } else {
    pane.CollapseSelection();
    pane.Repaint();
  }
}

void TSheetView::StartNamePrompt(std::string_view caption, std::function<void(int row, int col)> accepted) {
  std::vector<std::string> names;
  for (int index = 1; index <= RangeNameCount(); ++index) names.push_back(RangeNameText(*RangeNameAt(index)));
  Frame().SetPromptList(names);
  TGridModel& pane = ActivePane();
  TRange cursor;
  RangeSet(cursor, pane.CursorCol(), pane.CursorRow(), pane.CursorCol(), pane.CursorRow());
  auto callback = [accepted = std::move(accepted)](std::string_view text) {
    TRange range;
    if (!ParseRange(text, range) || !RangeIsValid(range)) {
      ShowError(ErrorMessage().empty() ? std::string(kOutOfRangeText) : ErrorMessage());
      return false;
    }
    accepted(std::min(range.firstRow, range.lastRow), std::min(range.firstCol, range.lastCol));
    return true;
  };
  // A cancelled prompt runs or moves nothing.
  if (RangePromptStart(caption, callback, cursor)) RangePromptSetCallBackOnCancel(false);
}

void TSheetView::StartLinksPrompt() {
  TGridModel& pane = ActivePane();
  std::vector<std::string> addresses;
  if (const TCell* cell = CellPtr(CellFind(pane.CursorRow(), pane.CursorCol()))) {
    for (TPoolHandle link = cell->dependents; link != kNilHandle;) {
      const auto* node = reinterpret_cast<const TDepLink*>(PoolBlock(link));
      if (node == nullptr) break;
      if (const TCell* formula = CellPtr(node->cell))
        addresses.push_back(CellAddrText(formula->row, formula->column, false, false));
      link = node->next;
    }
  }
  Frame().SetPromptList(addresses);
  TRange cursor;
  RangeSet(cursor, pane.CursorCol(), pane.CursorRow(), pane.CursorCol(), pane.CursorRow());
  std::string caption = std::to_string(addresses.size()) + " LINKS: Specify Cell";
  auto callback = [this](std::string_view text) {
    TRange range;
    if (!ParseRange(text, range) || !RangeIsValid(range)) {
      ShowError(ErrorMessage());
      return false;
    }
    ActivePane().SetExtendMode(false);
    ActivePane().MoveTo(std::min(range.firstRow, range.lastRow), std::min(range.firstCol, range.lastCol));
    return true;
  };
  if (RangePromptStart(caption, callback, cursor)) RangePromptSetCallBackOnCancel(false);
}

void TSheetView::RecalcAllDocuments() {
  Frame().ShowWaitMode();
  RefreshLinkedFiles();
  std::vector<int> done;
  // Windows may close while messages run between the documents: each one is
  // checked against the list before it is used.
  for (TSheetView* view : views_.Views()) {
    if (!views_.Contains(view) || view->slot_ == 0) continue;
    if (std::find(done.begin(), done.end(), view->slot_) == done.end()) {
      done.push_back(view->slot_);
      view->ActivateContext();
      RecalcAll();
    }
    view->Repaint();
    Frame().ProcessMessages();
  }
  if (TSheetView* active = views_.Active()) active->ActivateContext();
  Frame().ShowReadyMode();
}

}  // namespace corvane
