// Shared set-up for the main frame's portable logic: the engine with a fake
// sheet window, settings and file state reset, shown errors collected, a fake
// entry-line view and a fake frame for the file commands whose sheet windows
// are documents of the real document table.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/FormatSettings.h"
#include "spreadsheet/engine/FormulaText.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/files/SettingsFile.h"
#include "spreadsheet/files/WorksheetFile.h"
#include "spreadsheet/files/WorksheetFileState.h"
#include "spreadsheet/windows/EntryLine.h"
#include "spreadsheet/windows/FileCommands.h"
#include "spreadsheet/windows/NewSheet.h"
#include "tests/spreadsheet/engine/EngineTestSupport.h"
#include "tests/spreadsheet/files/TempFolder.h"

namespace corvane::testing {

inline std::vector<std::string> gFrameErrors;

class TFakeEntryView : public TEntryLineView {
 public:
  std::string text;
  bool buttons = false, editingLook = false, red = false, picks = false, enabled = true, focused = false;
  bool insertToggle = true, extend = false;
  std::string status, prompt;
  TCellStyleIndicators style;

  std::string EntryText() override { return text; }
  void SetEntryText(std::string_view t) override { text = t; }
  void TypeChar(char ch) override { text += ch; }
  void CaretToEnd() override {}
  void SetEditButtonsVisible(bool visible) override { buttons = visible; }
  void SetEntryColours(bool editing, bool errorText) override {
    editingLook = editing;
    red = errorText;
  }
  void SetPickButtonsEnabled(bool on) override { picks = on; }
  void SetEntryEnabled(bool on) override { enabled = on; }
  void FocusEntry() override { focused = true; }
  bool InsertToggleOn() override { return insertToggle; }
  void SetGridExtendMode(bool on) override { extend = on; }
  void SetStatusText(std::string_view t) override { status = t; }
  void SetPromptText(std::string_view t) override { prompt = t; }
  void ShowCellStyle(const TCellStyleIndicators& s) override { style = s; }
  TSheetFonts SheetFonts() override { return TSheetFonts{"Arial", 12, &faces}; }
  std::vector<std::string> faces{"Arial", "Courier New"};
};

// Sheet windows as documents of the document table; the dialogs answer what
// the test put in `openAnswer` and `saveAnswer` (empty: cancelled).
class TFakeFileHost : public TFileCommandHost {
 public:
  std::vector<int> windows;  // slots, the active one last
  std::vector<std::string> captions;
  std::string openAnswer, saveAnswer, dialogFolder = "C:\\DOCS";
  std::string proposed, startFolder;
  int broughtToFront = 0, recentChanges = 0, recalculations = 0, macrosRun = 0;
  bool sheetState = false;

  bool CreateSheetWindow(std::string_view name, bool untitled) override {
    int slot = 0;
    TOpenResult result = RegisterOpenSheet(name, slot, untitled);
    if (result == TOpenResult::kFailed || !ActivateDocumentContext(slot)) return false;
    if (result == TOpenResult::kNew) InitNewSheet();
    windows.push_back(slot);
    captions.emplace_back(name);
    return true;
  }
  void DiscardActiveSheetWindow() override {
    if (windows.empty()) return;
    ReleaseOpenSheet(DocSlot(windows.back())->ownerTag);
    windows.pop_back();
    captions.pop_back();
    if (!windows.empty()) ActivateDocumentContext(windows.back());
  }
  bool CloseActiveSheetWindow() override {
    if (windows.empty() || gCurrentDoc.settings.modified) return false;
    DiscardActiveSheetWindow();
    return true;
  }
  int SheetWindowCount() override { return static_cast<int>(windows.size()); }
  void RenameActiveSheetWindow(std::string_view name) override { captions.back() = name; }
  bool BringDocumentToFront(std::string_view name) override {
    std::string wanted = WksFileName(name);
    for (std::size_t k = 0; k < captions.size(); ++k) {
      if (WksFileName(captions[k]) != wanted) continue;
      std::rotate(windows.begin() + static_cast<long>(k), windows.begin() + static_cast<long>(k) + 1, windows.end());
      std::rotate(captions.begin() + static_cast<long>(k), captions.begin() + static_cast<long>(k) + 1, captions.end());
      ActivateDocumentContext(windows.back());
      ++broughtToFront;
      return true;
    }
    return false;
  }
  bool ChooseOpenFile(std::string& name, std::string& folder) override {
    folder = dialogFolder;
    name = openAnswer;
    return !name.empty();
  }
  bool ChooseSaveFile(std::string_view suggestion, std::string_view start, std::string& name,
                      std::string& folder) override {
    proposed = suggestion;
    startFolder = start;
    folder = dialogFolder;
    name = saveAnswer;
    return !name.empty();
  }
  void SetSheetState(bool open) override { sheetState = open; }
  void SheetOpened() override {}
  void RecalculateAll() override { ++recalculations; }
  void RecentFilesChanged() override { ++recentChanges; }
  void RunMacroAt(int, int) override { ++macrosRun; }
  // The open-time macro question: each one asked ("file|macros listed"),
  // answered by `allowAutoExec`.
  bool AllowAutoExec(std::string_view fileName, std::string_view macros) override {
    autoExecQuestions.push_back(std::string(fileName) + "|" + std::string(macros));
    return allowAutoExec;
  }
  bool allowAutoExec = false;
  std::vector<std::string> autoExecQuestions;
};

class FrameTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ResetFileStates();
    ProgramSettings() = TProgramSettings{};
    FormatSettings() = TFormatSettings{};
    gFrameErrors.clear();
    SetShowErrorHandler([](std::string_view message) { gFrameErrors.emplace_back(message); });
  }
  void TearDown() override {
    SetShowErrorHandler(nullptr);
    ResetFileStates();
    EngineTest::TearDown();
  }

  // The edit text of (row, col) of the current document.
  std::string Contents(int row, int col) { return CellContentsText(CellFind(row, col)); }

  TTempFolder folder;
};

}  // namespace corvane::testing
