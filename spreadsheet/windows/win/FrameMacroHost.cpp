// The main frame's side of a running macro.
#include "spreadsheet/windows/win/FrameMacroHost.h"

#include <commdlg.h>
#include <mmsystem.h>

#include "classlib/win/Application.h"
#include "spreadsheet/controls/Grid.h"
#include "spreadsheet/data/win/DataFormWindow.h"
#include "spreadsheet/engine/WindowServices.h"
#include "spreadsheet/files/SettingsFile.h"
#include "spreadsheet/files/win/Printer.h"
#include "spreadsheet/macros/MacroRun.h"
#include "spreadsheet/macros/win/MacroForms.h"
#include "spreadsheet/windows/SheetPrint.h"
#include "spreadsheet/windows/SheetView.h"
#include "spreadsheet/windows/win/MainFrame.h"

namespace corvane {

namespace {

constexpr int kLastRow = 8191;
constexpr int kLastCol = 255;

void SelectCell(int row, int col) {
  if (row < 0 || row > kLastRow || col < 0 || col > kLastCol) return;
  const auto r = static_cast<std::int16_t>(row);
  const auto c = static_cast<std::int16_t>(col);
  WindowServices().SetGridSelection(TRange{c, r, c, r});
}

}  // namespace

TFrameMacroHost::TFrameMacroHost(TForm1& frame) : frame_(frame) {}

void TFrameMacroHost::ShowChanges(bool now) {
  // Cells a macro sets are not painted by the command that sets them: the
  // sheet is repainted as the macro lets messages through, a few times a
  // second, and before anything it waits on. The entry and prompt lines are
  // left alone: the macro may be typing into them.
  constexpr DWORD kRepaintMs = 100;
  const DWORD tick = GetTickCount();
  if (!now && tick - lastRepaint_ < kRepaintMs) return;
  lastRepaint_ = tick;
  TSheetId sheet = WindowServices().ActiveSheet();
  if (sheet != kNoSheet) WindowServices().RepaintSheet(sheet);
}

bool TFrameMacroHost::ProcessMessages() {
  ShowChanges(false);
  return TMacroHostWin::ProcessMessages();
}

void TFrameMacroHost::PollMessages() {
  ShowChanges(false);
  TMacroHostWin::PollMessages();
}

void TFrameMacroHost::GotoCell(int row, int col) {
  frame_.SetGridExtendMode(false);
  SelectCell(row, col);
  frame_.RefreshIndicators();
}

void TFrameMacroHost::CursorDown() {
  std::int16_t row = 0, col = 0;
  WindowServices().GetCursorCell(row, col);
  GotoCell(row + 1, col);
}

void TFrameMacroHost::FreezeTitles(int mode, int row, int col) {
  TSheetView* view = frame_.ActiveSheetView();
  if (!view) return;
  view->ActivePane().FreezeTitles(mode, row, col);
  view->Repaint();
}

void TFrameMacroHost::SetAnchor(bool on) {
  std::int16_t row = 0, col = 0;
  WindowServices().GetCursorCell(row, col);
  if (on) {
    // The selection starts afresh at the cursor cell, which becomes its anchor.
    SelectCell(row, col);
    frame_.SetGridExtendMode(true);
  } else {
    frame_.SetGridExtendMode(false);
    SelectCell(row, col);
  }
}

bool TFrameMacroHost::RunCommand(std::string_view name) {
  TCommandId id = TCommandTable::FindByName(name);
  return id != TCommandId::kNone && frame_.RunCommand(id);
}

void TFrameMacroHost::RefreshActiveSheet() {
  TSheetId sheet = WindowServices().ActiveSheet();
  if (sheet != kNoSheet) WindowServices().RepaintSheet(sheet);
  frame_.RefreshIndicators();
}

void TFrameMacroHost::Beep() { MessageBeep(0xFFFFFFFF); }

void TFrameMacroHost::Tone(int frequency, int milliseconds) {
  // The system's tone call, which every Windows version allows a program.
  if (frequency >= 37 && frequency <= 32767 && milliseconds > 0) ::Beep(static_cast<DWORD>(frequency), static_cast<DWORD>(milliseconds));
}

void TFrameMacroHost::Delay(int milliseconds) {
  if (milliseconds <= 0) return;
  ShowChanges(true);
  // Messages keep flowing, so the user can break the macro while it waits.
  classlib::ProcessMessagesUntil([] { return MacroState().breakRequested || !MacroState().running; },
                                 static_cast<DWORD>(milliseconds));
}

void TFrameMacroHost::PlayWave(std::string_view name, int mode) {
  std::string file(name);
  switch (mode) {
    case 1: sndPlaySoundA(file.c_str(), SND_SYNC); break;
    case 2: sndPlaySoundA(file.c_str(), SND_ASYNC); break;
    case 3: sndPlaySoundA(file.c_str(), SND_ASYNC | SND_LOOP); break;
    case 4: {
      // The media player: any file the media control interface knows.
      mciSendStringA("close corvanemedia", nullptr, 0, nullptr);
      std::string open = "open \"" + file + "\" alias corvanemedia";
      if (mciSendStringA(open.c_str(), nullptr, 0, nullptr) == 0) mciSendStringA("play corvanemedia", nullptr, 0, nullptr);
      break;
    }
    default: sndPlaySoundA(nullptr, SND_ASYNC); break;
  }
}

std::optional<std::string> TFrameMacroHost::InputBox(std::string_view caption) {
  ShowChanges(true);
  TLbinput box(nullptr);
  box.SetCaption(std::string(caption));
  return box.Ask();
}

int TFrameMacroHost::MacroMenu(const std::vector<std::string>& items, const std::vector<std::string>& descriptions,
                               std::string_view title) {
  ShowChanges(true);
  HWND focus = GetFocus();
  TMmenu menu(nullptr);
  if (!title.empty()) menu.Panel2.SetCaption(std::string(title));
  frame_.SetEnabled(false);
  int choice = menu.Choose(items, descriptions);
  frame_.SetEnabled(true);
  if (focus && IsWindow(focus)) SetFocus(focus);
  return choice;
}

void TFrameMacroHost::ShowGraphView(int flags, int milliseconds) { frame_.ShowGraphView(flags, milliseconds); }

void TFrameMacroHost::ShowBar(int bar, bool on) {
  TProgramSettings& p = ProgramSettings();
  const bool shown = bar == 1 ? p.QBar : bar == 2 ? p.MBar : p.SBar;
  // The frame's own toggle shows or hides the bar and records it.
  if (shown != on) RunCommand(bar == 1 ? "Quick Buttons" : bar == 2 ? "Macro Buttons" : "Status Bar");
}

void TFrameMacroHost::SetZoom(int percent) {
  GridSettings().Zoom = percent;
  for (classlib::TForm* window : frame_.SheetWindows()) window->Invalidate();
  if (TSheetView* view = frame_.ActiveSheetView()) view->Repaint();
}

void TFrameMacroHost::SetGridLines(int mask, bool on) {
  TSheetView* view = frame_.ActiveSheetView();
  if (!view) return;
  TGridModel& pane = view->ActivePane();
  pane.SetGrid(on ? pane.Grid() | mask : pane.Grid() & ~mask);
  view->Repaint();
}

void TFrameMacroHost::SetSheetPages(int pages) {
  TSheetView* view = frame_.ActiveSheetView();
  if (!view) return;
  view->SetSheetCount(pages);
  view->Repaint();
}

void TFrameMacroHost::SetDefaultSizes(int rowHeight, int columnWidth) {
  TSheetView* view = frame_.ActiveSheetView();
  if (!view) return;
  for (int pane : {1, 2}) {
    if (rowHeight > 0) view->Pane(pane).SetDefHeight(rowHeight);
    if (columnWidth > 0) view->Pane(pane).SetDefWidth(columnWidth);
  }
  view->Repaint();
}

void TFrameMacroHost::ShowDataForm(const TRange& range) {
  ShowChanges(true);
  corvane::ShowDataForm(range);
}

void TFrameMacroHost::OpenWorksheet(std::string_view name) { frame_.Files().OpenFile(name); }

void TFrameMacroHost::SaveAsDialog(std::string_view) { frame_.Files().SaveAs(); }

void TFrameMacroHost::CloseDocument(std::string_view name) {
  // Each window of the document comes to the front and closes through its
  // save question; one the user keeps open ends the command. Once found, the
  // document's windows are those of its exact caption (its full path, or the
  // bare name of one never saved), so that a name without a folder closes
  // that one document, not every file of the name.
  if (!frame_.BringDocumentToFront(name)) return;
  const classlib::TForm* active = frame_.ActiveSheetWindow();
  if (active == nullptr) return;
  const std::string document = active->Caption();
  for (int guard = frame_.SheetWindowCount(); guard > 0; --guard) {
    classlib::TForm* window = nullptr;
    for (classlib::TForm* open : frame_.SheetWindows())
      if (open->Caption() == document) window = open;
    if (window == nullptr) break;
    frame_.MDIActivate(window);
    if (!frame_.CloseActiveSheetWindow()) break;
  }
}

void TFrameMacroHost::FocusDocument(std::string_view name) { frame_.BringDocumentToFront(name); }

void TFrameMacroHost::ExitProgram() { PostMessageA(frame_.Handle(), WM_CLOSE, 0, 0); }

std::string TFrameMacroHost::PickOpenFile(std::string_view filter, std::string_view name) {
  // The filter stands as both the description and the pattern.
  std::string filters = std::string(filter.empty() ? "*.*" : filter);
  filters = filters + '\0' + filters + '\0' + '\0';
  char file[MAX_PATH] = {};
  std::string given(name.substr(0, MAX_PATH - 1));
  std::copy(given.begin(), given.end(), file);
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = frame_.Handle();
  ofn.lpstrFilter = filters.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
  return GetOpenFileNameA(&ofn) ? std::string(file) : std::string();
}

void TFrameMacroHost::PrintSheet(int mode) {
  TSheetView* view = frame_.ActiveSheetView();
  if (!view) return;
  TSheetPrint sheet(*view);
  PrintWorksheet(sheet, mode);
}

void TFrameMacroHost::PrintGraph(int index) { corvane::PrintGraph(index); }

void TFrameMacroHost::SetLandscape(bool landscape) { SetPrinterLandscape(landscape); }

bool TFrameMacroHost::TakeKey(char ch) {
  TMacroRunState& s = MacroState();
  if (!s.running || !s.paused) return false;
  if (s.oneKey) {
    lastKey_ = ch;
  } else if (!s.step && ch != '\r') {
    return false;
  }
  MacroResume();
  return true;
}

}  // namespace corvane
