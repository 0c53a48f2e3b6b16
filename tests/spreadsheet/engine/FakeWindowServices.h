// A scripted stand-in for the sheet windows: one sheet with one grid whose
// cursor, selection and sizes the test sets, and counters for the requests the
// engine makes.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "spreadsheet/engine/WindowServices.h"

namespace corvane::testing {

class TFakeWindowServices : public TWindowServices {
 public:
  bool open = true;  // false: no sheet window is open
  std::int16_t cursorRow = 0;
  std::int16_t cursorCol = 0;
  TRange selection{0, 0, 0, 0};
  int gridMode = 0;
  int sheetCount = 1;
  int modifiedMarks = 0;
  int repaints = 0;
  std::map<int, int> columnSizes;  // absent: default (255)
  std::map<int, int> rowSizes;
  int defaultColumnChars = 9;
  int defaultRowPixels = 24;
  std::string fileName = "SHEET1.WKS";
  // What worksheet files keep of the window.
  TSheetWindowLayout layout;
  int layoutsSet = 0;
  int focusRequests = 0;
  std::vector<std::string> tabNames;
  std::vector<TSheetButton> buttons;
  TSheetFont sheetFont{24, 0, "Arial"};
  std::vector<std::string> fontList{"Arial", "Courier New", "Times New Roman"};
  std::map<int, std::string> cellFonts;  // font number -> face; absent: "Arial"
  std::string userName = "TESTER";
  // The main frame: progress gauge, End mode, menus, prompt line and mode.
  int progressShown = 0;
  int progressHidden = 0;
  int endModeLeft = 0;
  bool menusEnabled = true;
  bool promptVisible = false;
  std::string promptCaption;
  std::string promptText;
  std::string mode = "READY";

  TSheetId ActiveSheet() override { return open ? 1 : kNoSheet; }
  TGridId ActiveGrid() override { return open ? 1 : kNoGrid; }
  TGridId InactiveGrid() override { return open ? 2 : kNoGrid; }
  void GridGotoCell(int row, int col) override {
    cursorRow = static_cast<std::int16_t>(row);
    cursorCol = static_cast<std::int16_t>(col);
  }
  void GetCursorCell(std::int16_t& row, std::int16_t& col) override {
    row = cursorRow;
    col = cursorCol;
  }
  void GetGridSelection(TRange& range) override { range = selection; }
  void SetGridSelection(const TRange& range) override {
    selection = range;
    GridGotoCell(range.lastRow, range.lastCol);
  }
  void ClearGridMark() override { selection.firstRow = selection.lastRow = -1; }
  int GridGetGrid() override { return gridMode; }
  void GridSetGrid(int mode) override { gridMode = mode; }
  std::string ColumnWidthTag(int col) override {
    auto it = columnSizes.find(col);
    return it == columnSizes.end() ? "" : "w" + std::to_string(it->second / 8);
  }
  int ColumnWidthChars(int col) override {
    auto it = columnSizes.find(col);
    return it == columnSizes.end() ? defaultColumnChars : it->second / 8;
  }
  void GridSetColWidth(int col, int width) override { columnSizes[col] = width; }
  // Setting an entry to 255 makes it the default again, as in a real grid.
  void GridSetColSize(int index, int size) override { SetEntry(columnSizes, index, size); }
  void GridSetRowSize(int index, int size) override { SetEntry(rowSizes, index, size); }
  int GridGetColSize(int index) override { return EntryOf(columnSizes, index); }
  int GridGetRowSize(int index) override { return EntryOf(rowSizes, index); }
  int RowHeightOrDefault(int row) override {
    auto it = rowSizes.find(row);
    return it == rowSizes.end() ? defaultRowPixels : it->second;
  }
  void EnsureRowHeight(int row, int height) override {
    if (height != kDefaultSizeEntry && RowHeightOrDefault(row) < height) rowSizes[row] = height;
  }
  void SetSheetCount(int count) override {
    if (count != 0) sheetCount = count;
  }
  void MarkSheetModified(TSheetId) override { ++modifiedMarks; }
  void UpdateScrollRanges(TSheetId) override {}
  void RepaintSheet(TSheetId) override { ++repaints; }
  void RepaintDocumentViews(TSheetId) override {}
  void ActivateSheetContext(TSheetId) override {}
  void LoadSheetSettings(TSheetId) override {}
  void StoreSheetSettings(TSheetId) override {}
  std::string SheetFileName(std::size_t maxLength) override { return fileName.substr(0, maxLength); }
  void SetSheetName(std::string_view name) override { fileName = name; }
  void SetDefaultRowHeight(TSheetId, int size) override { defaultRowPixels = size; }
  void SetDefaultColWidth(TSheetId, int size) override { defaultColumnChars = size / 8; }
  int CellFontSize(TSheetId, int sizeByte) override { return sizeByte != 0 ? sizeByte : 12; }
  std::string CellFontName(TSheetId, int fontNumber) override {
    auto it = cellFonts.find(fontNumber);
    return it == cellFonts.end() ? "Arial" : it->second;
  }
  bool GetWindowLayout(TSheetWindowLayout& out) override {
    out = layout;
    out.sheetCount = static_cast<std::int16_t>(sheetCount);
    return open;
  }
  void SetWindowLayout(const TSheetWindowLayout& in) override {
    layout = in;
    ++layoutsSet;
  }
  void FocusActivePane() override { ++focusRequests; }
  std::vector<std::string> SheetTabNames() override { return tabNames; }
  void SetSheetTabNames(const std::vector<std::string>& names) override { tabNames = names; }
  std::vector<TSheetButton> SheetButtons() override { return buttons; }
  void CreateSheetButton(const TSheetButton& button) override { buttons.push_back(button); }
  bool GetSheetFont(TSheetFont& font) override {
    font = sheetFont;
    return open;
  }
  void SetSheetFont(const TSheetFont& font) override { sheetFont = font; }
  int FontListIndex(std::string_view name) override {
    for (std::size_t k = 0; k < fontList.size(); ++k)
      if (fontList[k] == name) return static_cast<int>(k);
    return -1;
  }
  std::string UserName() override { return userName; }
  void ShowProgress(int, int) override { ++progressShown; }
  void HideProgress() override { ++progressHidden; }
  void LeaveEndMode() override { ++endModeLeft; }
  void SetMainMenusEnabled(bool enabled) override { menusEnabled = enabled; }
  void ShowPromptLine(std::string_view caption, std::string_view text) override {
    promptVisible = true;
    promptCaption = caption;
    promptText = text;
  }
  std::string PromptLineText() override { return promptText; }
  void HidePromptLine() override { promptVisible = false; }
  void SetModeIndicator(std::string_view text, int colour) override { mode = std::string(text) + std::to_string(colour); }
  void ShowReadyMode() override { mode = "READY"; }

 private:
  static void SetEntry(std::map<int, int>& sizes, int index, int size) {
    if (size == kDefaultSizeEntry) sizes.erase(index);
    else sizes[index] = size;
  }
  int EntryOf(const std::map<int, int>& sizes, int index) const {
    auto it = sizes.find(index);
    return !open || it == sizes.end() ? kDefaultSizeEntry : it->second;
  }
};

}  // namespace corvane::testing
