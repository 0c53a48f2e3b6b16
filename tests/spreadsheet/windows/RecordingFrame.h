// A main frame for sheet windows in tests and benchmarks: its modes are
// fields the caller sets, and every request it gets is a line in `log`.
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "spreadsheet/engine/WindowServices.h"
#include "spreadsheet/windows/EntryLine.h"
#include "spreadsheet/windows/SheetFrame.h"

namespace corvane::testing {

class TRecordingFrame : public TSheetFrame {
 public:
  std::vector<std::string> log;
  bool pointing = false, editing = false, entryEnabled = true, endMode = false, ctrlCommands = true;
  TSaveAnswer answer = TSaveAnswer::kNo;
  bool saveAsResult = false;
  std::string promptText;
  std::vector<std::string> promptList;
  std::string mode = "READY";
  int runMacroRow = -1, runMacroCol = -1;
  std::function<void()> onProcessMessages;  // what runs while messages would

  bool Has(const std::string& line) const { return std::find(log.begin(), log.end(), line) != log.end(); }

  // When set, entries go through this entry line as the program's frame
  // sends them, and the indicators refresh it.
  TEntryLine* entryLine = nullptr;

  bool Pointing() const override { return pointing; }
  bool Editing() const override { return entryLine != nullptr ? entryLine->Editing() : editing; }
  bool EntryEnabled() const override { return entryEnabled; }
  void StartEntry(char ch) override {
    Log(std::string("entry ") + ch);
    if (entryLine != nullptr) entryLine->PaneChar(ch);
  }
  void EditCurrentCell() override {
    Log("edit cell");
    if (entryLine != nullptr) entryLine->EditCurrentCell();
  }
  void CommitEntry() override {
    editing = false;
    Log("commit");
    if (entryLine != nullptr) entryLine->EditExit();
  }
  void CommitPointedEntry() override { Log("commit pointed"); }
  void AnchorPoint() override { Log("anchor"); }
  void EndPointing() override { Log("end pointing"); }
  void CycleReferenceMode() override { Log("cycle reference"); }
  void ResetReferenceMode() override { Log("reset reference"); }
  void PromptLineChar(char ch) override { promptText += ch; }
  void SetPromptList(const std::vector<std::string>& items) override { promptList = items; }
  void RefreshIndicators() override {
    Log("indicators");
    if (entryLine == nullptr) return;
    std::int16_t row = 0, col = 0;
    WindowServices().GetCursorCell(row, col);
    entryLine->UpdateCellIndicators(row, col);
  }
  void RefreshLockPanel(int key) override { Log("lock " + std::to_string(key)); }
  bool EndMode() const override { return endMode; }
  void SetEndMode(bool on) override { endMode = on; }
  bool DeliverCapturedKey(char) override { return false; }
  void BreakMacro() override {}
  void RunMacroAt(int row, int col) override {
    runMacroRow = row;
    runMacroCol = col;
    Log("macro " + std::to_string(row) + "," + std::to_string(col));
  }
  void RunMacroText(std::string_view text) override { Log("macro text " + std::string(text)); }
  void ShowSheetGraph(std::string_view name) override { Log("graph " + std::string(name)); }
  void OpenMenuBar(bool skipSystemMenu) override { Log(skipSystemMenu ? "menu bar, first menu" : "menu bar"); }
  void ShowPaneMenu(classlib::TPoint) override { Log("pane menu"); }
  void ShowRangeProperties() override { Log("properties"); }
  bool CtrlKeysForCommands() const override { return ctrlCommands; }
  void RunCommand(TFrameCommand command) override { Log("command " + std::to_string(static_cast<int>(command))); }
  void ProcessMessages() override {
    if (onProcessMessages) onProcessMessages();
  }
  TSaveAnswer AskSave(std::string_view caption) override {
    Log("ask save " + std::string(caption));
    return answer;
  }
  bool SaveAs() override {
    Log("save as");
    return saveAsResult;
  }
  void NoSheetWindows() override { Log("no sheets"); }
  void ShowProgress(int, int) override {}
  void HideProgress() override {}
  void SetWaitCursor(bool) override {}
  void EnableMainWindow() override {}
  void SetMainMenusEnabled(bool) override {}
  void ShowPromptLine(std::string_view caption, std::string_view text) override {
    Log("prompt" + std::string(caption));
    promptText = std::string(text);
  }
  std::string PromptLineText() override { return promptText; }
  void HidePromptLine() override {}
  void SetModeIndicator(std::string_view text, int) override { mode = std::string(text); }
  void ShowReadyMode() override { mode = "READY"; }
  void ShowWaitMode() override { mode = "WAIT"; }
  std::string UserName() override { return "TESTER"; }

 private:
  void Log(std::string line) { log.push_back(std::move(line)); }
};

}  // namespace corvane::testing
