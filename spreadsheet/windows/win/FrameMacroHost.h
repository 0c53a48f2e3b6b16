// What a running macro asks of Corvane's main frame: the active grid's cursor,
// titles and extend mode, the frame's commands, sound, waits, the input box
// and the macro menu, and the keys a paused macro waits for.
#pragma once

#include "classlib/win/Win32.h"

#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/macros/win/KeyReplayQueue.h"

namespace corvane {

class TForm1;

class TFrameMacroHost : public TMacroHostWin {
 public:
  explicit TFrameMacroHost(TForm1& frame);

  void SetCtrlShortcuts(bool enabled) override { ctrlShortcuts_ = enabled; }
  bool ProcessMessages() override;
  void PollMessages() override;
  void GotoCell(int row, int col) override;
  void CursorDown() override;
  void FreezeTitles(int mode, int row, int col) override;
  void SetAnchor(bool on) override;
  bool RunCommand(std::string_view name) override;
  void RefreshActiveSheet() override;
  void Beep() override;
  void Tone(int frequency, int milliseconds) override;
  void Delay(int milliseconds) override;
  void PlayWave(std::string_view name, int mode) override;
  std::optional<std::string> InputBox(std::string_view caption) override;
  int MacroMenu(const std::vector<std::string>& items, const std::vector<std::string>& descriptions,
                std::string_view title) override;
  void ShowGraphView(int flags, int milliseconds) override;
  void ShowBar(int bar, bool on) override;
  void SetZoom(int percent) override;
  void SetGridLines(int mask, bool on) override;
  void SetSheetPages(int pages) override;
  void SetDefaultSizes(int rowHeight, int columnWidth) override;
  void ShowDataForm(const TRange& range) override;
  void PrintSheet(int mode) override;
  void PrintGraph(int index) override;
  void SetLandscape(bool landscape) override;
  void OpenWorksheet(std::string_view name) override;
  void SaveAsDialog(std::string_view name) override;
  void CloseDocument(std::string_view name) override;
  void FocusDocument(std::string_view name) override;
  void ExitProgram() override;
  std::string PickOpenFile(std::string_view filter, std::string_view name) override;
  char LastKey() override { return lastKey_; }

  // False while a macro runs: the Ctrl+letter shortcuts are off then.
  bool CtrlShortcuts() const { return ctrlShortcuts_; }
  // A key typed in a sheet while the macro is paused: a GET takes any
  // character, step mode goes on at any key, {?} at Enter. True when the key
  // was taken.
  bool TakeKey(char ch);

 private:
  // Repaints the active sheet, at most every so often unless `now`.
  void ShowChanges(bool now);

  TForm1& frame_;
  bool ctrlShortcuts_ = true;
  DWORD lastRepaint_ = 0;
  char lastKey_ = 0;
};

}  // namespace corvane
