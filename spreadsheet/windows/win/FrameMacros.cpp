// The main frame's macro runs: the host a running macro talks to, the key
// replay it plays through, the macro starts, Break, and the Execute Macro and
// Macro Step commands.
#include "spreadsheet/graphs/win/GraphView.h"
#include "spreadsheet/macros/KeyReplay.h"
#include "spreadsheet/macros/MacroInterp.h"
#include "spreadsheet/macros/MacroRun.h"
#include "spreadsheet/windows/SheetView.h"
#include "spreadsheet/windows/win/FrameMacroHost.h"
#include "spreadsheet/windows/win/MainFrame.h"

namespace corvane {

void TForm1::InstallMacroHost() {
  if (macroHost_) return;
  macroHost_ = std::make_unique<TFrameMacroHost>(*this);
  macroHost_->mainWindow = Handle();
  keyQueue_ = std::make_unique<TKeyReplayQueue>();
  keyLayout_ = std::make_unique<TWinKeyLayout>();
  SetMacroHost(macroHost_.get());
}

void TForm1::RemoveMacroHost() {
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
  RefreshIndicators();
}

void TForm1::RunMacroAt(int row, int col) {
  if (!macroHost_) return;
  RunMacro(MacroStartAt(row, col));
}

void TForm1::RunMacroText(std::string_view text) {
  if (!macroHost_) return;
  RunMacro(MacroStartText(text));
}

void TForm1::BreakMacro() { MacroBreak(); }

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
