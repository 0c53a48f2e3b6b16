// The main frame's macro runs: the host a running macro talks to, the key
// replay it plays through, the macro starts, Break, and the Execute Macro and
// Macro Step commands.
#include <functional>

#include "classlib/win/Application.h"
#include "classlib/win/Messages.h"
#include "spreadsheet/engine/WindowServices.h"
#include "spreadsheet/graphs/win/GraphView.h"
#include "spreadsheet/macros/KeyReplay.h"
#include "spreadsheet/macros/MacroInterp.h"
#include "spreadsheet/macros/MacroRun.h"
#include "spreadsheet/windows/SheetView.h"
#include "spreadsheet/windows/win/FrameMacroHost.h"
#include "spreadsheet/windows/win/MainFrame.h"
#include "spreadsheet/windows/win/SheetObjectsWin.h"

namespace corvane {

namespace {

// The frame whose macro start waits, and the call that starts it once the
// message that asked for it has been handled.
TForm1* gStartingFrame = nullptr;
const std::function<void()>& StartPendingCall() {
  static const auto* call = new std::function<void()>([] {
    if (gStartingFrame) gStartingFrame->StartPendingMacro();
  });
  return *call;
}

}  // namespace

void TForm1::InstallMacroHost() {
  if (macroHost_) return;
  macroHost_ = std::make_unique<TFrameMacroHost>(*this);
  macroHost_->mainWindow = Handle();
  keyQueue_ = std::make_unique<TKeyReplayQueue>();
  keyLayout_ = std::make_unique<TWinKeyLayout>();
  SetMacroHost(macroHost_.get());
  tbarmenu1.OnAnimateOutline = AnimateOutline;
}

void TForm1::RemoveMacroHost() {
  pendingMacro_.reset();
  if (gStartingFrame == this) gStartingFrame = nullptr;
  if (!macroHost_) return;
  MacroStop();
  SetMacroHost(nullptr);
  keyQueue_.reset();
  keyLayout_.reset();
  macroHost_.reset();
  MacroCloseFiles();
}

void TForm1::RunMacro(bool started) {
  if (!started) return;
  TMacroRunner runner{keyQueue_.get(), keyLayout_.get(), MacroExecCommand};
  const std::string caption = Caption();
  const bool stepping = MacroState().step;
  MacroPump(runner);
  // Step mode shows each line in the caption; the frame's own comes back.
  if (stepping || MacroState().step) SetCaption(caption);
  // Cells the macro changed last are painted before the user looks again.
  if (macroHost_) macroHost_->RefreshActiveSheet();
  // A message box the macro ended with ("Break!", an error) gives the focus
  // back to the frame itself: the keyboard goes back to the sheet.
  HWND focus = GetFocus();
  if ((focus == nullptr || focus == Handle()) && IsWindowEnabled(Handle())) WindowServices().FocusActivePane();
  if (closeAfterMacro_) {
    closeAfterMacro_ = false;
    PostMessageA(Handle(), WM_CLOSE, 0, 0);
  } else if (!handedOver_.empty() && !HandOverMustWait()) {
    // Files a second start handed over while the macro ran.
    OpenWaitingHandOvers();
  }
}

bool TForm1::CloseAfterMacro() {
  if (!MacroState().running) return false;
  closeAfterMacro_ = true;
  MacroBreak();
  return true;
}


void TForm1::RunMacroAt(int row, int col) {
  if (!macroHost_ || MacroState().running) return;
  // The macro starts once what asked for it (the macro prompt, a file being
  // opened) has finished: its keys then go to the sheet, not to that prompt.
  pendingMacro_ = {row, col};
  gStartingFrame = this;
  PostMessageA(classlib::Application().Handle(), classlib::kSynchronizeMessage, 0, reinterpret_cast<LPARAM>(&StartPendingCall()));
}

void TForm1::StartPendingMacro() {
  if (!pendingMacro_ || !macroHost_) return;
  const auto [row, col] = *pendingMacro_;
  pendingMacro_.reset();
  // An entry left open (by keys typed as the macro was asked for, or by a
  // typing macro that was broken) is dropped as Esc drops it, as the next
  // key typed in the sheet would drop it: the macro's keys go to the sheet,
  // and an entry left open behind them would keep the menus grayed under a
  // READY mode.
  if (entry_.Editing()) entry_.EditCancel();
  // The macro's keys go to the sheet, whatever had the focus to start it.
  WindowServices().FocusActivePane();
  RunMacro(MacroStartAt(row, col));
}

void TForm1::RunMacroText(std::string_view text) {
  if (!macroHost_) return;
  RunMacro(MacroStartText(text));
}

void TForm1::BreakMacro() {
  // The macro's own Esc is a key like any other; only the user's breaks it.
  if (keyQueue_ && keyQueue_->HandlingReplayedKey()) return;
  MacroBreak();
}

bool TForm1::AllowAutoExec(std::string_view fileName, std::string_view macros) {
  std::string text = "The worksheet " + std::string(fileName) +
                     " holds macros that run by themselves (AUTOEXEC, when it opens), on a Ctrl key or from a "
                     "button on the sheet:\n\n" +
                     std::string(macros) + "\n\nLet them run? A macro from someone you do not trust can change "
                     "or remove your files. No keeps them from running until the worksheet is closed.";
  return MessageBoxA(Handle(), text.c_str(), "Corvane", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

void TForm1::ShowGraphView(int flags, int milliseconds) {
  graphView_->GraphIndex = -1;
  graphView_->ShowTimed((flags & 1) != 0, milliseconds);
}

bool TForm1::DeliverCapturedKey(char ch) { return macroHost_ && macroHost_->TakeKey(ch); }

void TForm1::BindMacroCommands() {
  commands_.Bind(TCommandId::kExecuteMacro, [this](int) {
    if (TSheetView* view = sheets_.ActiveView()) view->StartMacroPrompt();
  });
  commands_.Bind(TCommandId::kMacroStep, [](int) { MacroState().step = !MacroState().step; });
}

}  // namespace corvane
