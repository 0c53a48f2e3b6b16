// A scripted stand-in for the sheet windows: one sheet with one grid whose
// cursor, selection and sizes the test sets, and counters for the requests the
// engine makes.
#pragma once

#include <functional>
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
  int sheetCount = 1;
  int modifiedMarks = 0;
  int repaints = 0;
  std::map<int, int> columnSizes;  // characters; absent: default (255)
  std::map<int, int> rowSizes;
  int defaultColumnChars = 9;
  std::string fileName = "SHEET1.WKS";
  // What worksheet files keep of the window.
  TSheetWindowLayout layout;
  int layoutsSet = 0;
  int viewsTaken = 0;
  int focusRequests = 0;
  std::vector<std::string> tabNames;
  std::vector<TSheetButton> buttons;
  TSheetFont sheetFont{24, 0, "Arial"};
  std::vector<std::string> fontList{"Arial", "Courier New", "Times New Roman"};
  std::string userName = "TESTER";
  // The main frame: progress gauge, End mode, menus, prompt line and mode.
  int progressShown = 0;
  int progressHidden = 0;
  int endModeLeft = 0;
  bool menusEnabled = true;
  // Called as the menus are turned on or off.
  std::function<void(bool)> onMenusEnabled;
  bool promptVisible = false;
  std::string promptCaption;
  std::string promptText;
  std::string mode = "READY";

  TSheetId ActiveSheet() override { return open ? 1 : kNoSheet; }
  TGridId ActiveGrid() override { return open ? 1 : kNoGrid; }
  void GetCursorCell(std::int16_t& row, std::int16_t& col) override {
    row = cursorRow;
    col = cursorCol;
  }
  void GetGridSelection(TRange& range) override { range = selection; }
  void SetGridSelection(const TRange& range) override {
    selection = range;
    cursorRow = range.lastRow;
    cursorCol = range.lastCol;
  }
  std::string ColumnWidthTag(int col) override {
    auto it = columnSizes.find(col);
    return it == columnSizes.end() ? "" : "w" + std::to_string(it->second);
  }
  int ColumnWidthChars(int col) override {
    auto it = columnSizes.find(col);
    return it == columnSizes.end() ? defaultColumnChars : it->second;
  }
  bool GetSheetView(TSheetViewState& view) override {
    if (!open) return false;
    view.layout = layout;
    view.layout.sheetCount = static_cast<std::int16_t>(sheetCount);
    view.sizes = TSheetSizes{};
    for (const auto& [col, size] : columnSizes) view.sizes.columns[col] = static_cast<std::uint16_t>(size);
    for (const auto& [row, size] : rowSizes) view.sizes.rows[row] = static_cast<std::uint16_t>(size);
    view.tabNames = tabNames;
    view.buttons = buttons;
    view.font = sheetFont;
    view.fontList = fontList;
    ++viewsTaken;
    return true;
  }
  void SetSheetView(const TSheetViewState& view, unsigned parts) override {
    if (!open) return;
    if (parts & kViewLayout) {
      layout = view.layout;
      if (view.layout.sheetCount != 0) sheetCount = view.layout.sheetCount;
      ++layoutsSet;
    }
    if (parts & kViewSizes) {
      columnSizes.clear();
      rowSizes.clear();
      for (int col = 0; col < 256; ++col) GridSetColSize(col, view.sizes.columns[col]);
      for (int row = 0; row < 8192; ++row) GridSetRowSize(row, view.sizes.rows[row]);
    }
    if (parts & kViewTabNames) tabNames = view.tabNames;
    if (parts & kViewButtons) buttons = view.buttons;
    if (parts & kViewFont) sheetFont = view.font;
  }
  void MarkSheetModified(TSheetId) override { ++modifiedMarks; }
  void RepaintSheet(TSheetId) override {
    ++repaints;
    if (waitCursor) ++repaintsWaiting;
  }
  // The hourglass: on or off now, and every change in order ('+' on, '-' off).
  bool waitCursor = false;
  std::string waitCursorChanges;
  int repaintsWaiting = 0;
  void SetWaitCursor(bool on) override {
    waitCursor = on;
    waitCursorChanges += on ? '+' : '-';
  }
  std::string SheetFileName(std::size_t maxLength) override { return fileName.substr(0, maxLength); }
  void FocusActivePane() override { ++focusRequests; }
  std::string UserName() override { return userName; }
  void ShowProgress(int, int) override { ++progressShown; }
  void HideProgress() override { ++progressHidden; }
  void LeaveEndMode() override { ++endModeLeft; }
  void SetMainMenusEnabled(bool enabled) override {
    menusEnabled = enabled;
    if (onMenusEnabled) onMenusEnabled(enabled);
  }
  void ShowPromptLine(std::string_view caption, std::string_view text) override {
    promptVisible = true;
    promptCaption = caption;
    promptText = text;
  }
  std::string PromptLineText() override { return promptText; }
  void HidePromptLine() override { promptVisible = false; }
  void SetModeIndicator(std::string_view text, int colour) override { mode = std::string(text) + std::to_string(colour); }
  void ShowReadyMode() override { mode = "READY"; }

  // What tests set directly, as a window would.
  void GridSetColSize(int index, int size) { SetEntry(columnSizes, index, size); }
  void GridSetRowSize(int index, int size) { SetEntry(rowSizes, index, size); }
  // A width in pixels: column entries count characters of 8 pixels.
  void GridSetColWidth(int col, int pixels) { GridSetColSize(col, pixels / 8); }
  void SetSheetCount(int count) {
    if (count != 0) sheetCount = count;
  }
  void ClearGridMark() { selection.firstRow = selection.lastRow = -1; }

 private:
  static void SetEntry(std::map<int, int>& sizes, int index, int size) {
    if (size == kDefaultSizeEntry) sizes.erase(index);
    else sizes[index] = size;
  }
};

}  // namespace corvane::testing
