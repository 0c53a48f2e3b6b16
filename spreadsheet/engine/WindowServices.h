// What the engine and the file, graph, data and macro code ask of the screen.
// They never hold a window: every request goes through this interface, which
// always acts on the active sheet window and its active pane (grid). The sheet
// window code installs the real implementation; tests install a fake. With none
// installed the engine sees "no sheet window open".
//
// Sheet windows and grids appear only as opaque ids, so no window type reaches
// portable code.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/engine/Range.h"

namespace corvane {

// Opaque ids of a sheet window and of one of its two panes; 0 means none.
using TSheetId = std::uintptr_t;
using TGridId = std::uintptr_t;
inline constexpr TSheetId kNoSheet = 0;
inline constexpr TGridId kNoGrid = 0;

// Size-table entries: one per column and per row; 255 is the default size.
// Column entries count pixels in steps of 8 (one character), rows count pixels.
inline constexpr int kDefaultSizeEntry = 255;

// Where one pane of a sheet window stands: its scroll origin and cursor cell.
struct TPanePlace {
  std::int16_t leftCol = 0;
  std::int16_t topRow = 0;
  std::int16_t cursorCol = 0;
  std::int16_t cursorRow = 0;
  friend bool operator==(const TPanePlace&, const TPanePlace&) = default;
};

// The layout of the active sheet window as worksheet files keep it.
struct TSheetWindowLayout {
  std::int16_t sheetCount = 1;    // tabs of the tab bar
  bool splitHorizontal = false;
  bool splitVertical = false;
  bool synchronised = false;
  std::uint8_t activePane = 0;    // 0: pane 1, 1: pane 2
  TPanePlace pane1;
  std::int16_t pane1Height = 0;   // pixels
  std::int16_t pane1Width = 0;
  TPanePlace pane2;
  // Pane 1's frozen columns and rows (first and last of each).
  std::int16_t frozenFirstCol = 0, frozenLastCol = 0, frozenFirstRow = 0, frozenLastRow = 0;
  friend bool operator==(const TSheetWindowLayout&, const TSheetWindowLayout&) = default;
};

// A macro button placed on the sheet: anchored at a cell, offset from that
// cell's top-left corner in pixels.
struct TSheetButton {
  std::string caption;  // at most 20 characters
  std::string macro;    // at most 255 characters
  std::int16_t anchorRow = 0;
  std::int16_t anchorCol = 0;
  std::int32_t left = 0, top = 0, width = 0, height = 0;
  friend bool operator==(const TSheetButton&, const TSheetButton&) = default;
};

// The sheet window's own font: the default row height it gives, its style set
// (bit 0 bold, 1 italic, 2 underline, 3 strike-out) and face name.
struct TSheetFont {
  std::int16_t rowHeight = 0;
  std::int16_t style = 0;
  std::string name;
  friend bool operator==(const TSheetFont&, const TSheetFont&) = default;
};

class TWindowServices {
 public:
  virtual ~TWindowServices() = default;

  // The active sheet window, or kNoSheet when none is open.
  virtual TSheetId ActiveSheet() = 0;
  // The active pane of the active sheet window, or kNoGrid; InactiveGrid is the
  // other pane.
  virtual TGridId ActiveGrid() = 0;
  virtual TGridId InactiveGrid() = 0;

  // Leaves extend-selection mode and moves the active grid's cursor to the cell
  // (the grid scrolls, repaints and reports the change).
  virtual void GridGotoCell(int row, int col) = 0;
  // The active grid's cursor cell (row and column from 0).
  virtual void GetCursorCell(std::int16_t& row, std::int16_t& col) = 0;
  // The active grid's selection; both row words -1 when nothing is marked.
  virtual void GetGridSelection(TRange& range) = 0;
  // Sets the selection and its anchor (first corner), moves the cursor to the
  // last corner keeping the selection, and repaints the grid.
  virtual void SetGridSelection(const TRange& range) = 0;
  // Sets both row words of the active grid's selection to -1.
  virtual void ClearGridMark() = 0;
  // The active grid's grid-line mode (bit 0 horizontal, bit 1 vertical, bit 2
  // not solid).
  virtual int GridGetGrid() = 0;
  virtual void GridSetGrid(int mode) = 0;

  // "" for a column of default width, else "w" and the width in characters.
  virtual std::string ColumnWidthTag(int col) = 0;
  // The column's width in characters (the document's default for entry 255).
  virtual int ColumnWidthChars(int col) = 0;
  // Sets a column width (size-table units) with immediate relayout.
  virtual void GridSetColWidth(int col, int width) = 0;
  // Set a column or row entry; relayout waits for the next paint.
  virtual void GridSetColSize(int index, int size) = 0;
  virtual void GridSetRowSize(int index, int size) = 0;
  // A column or row entry as the active grid stores it (255: the default
  // size); 255 when no grid is open or the index is outside the table.
  virtual int GridGetColSize(int index) = 0;
  virtual int GridGetRowSize(int index) = 0;
  // The row's height in pixels (the document's default for entry 255).
  virtual int RowHeightOrDefault(int row) = 0;
  // Raises the row to `height` pixels; never lowers it. 255 does nothing.
  virtual void EnsureRowHeight(int row, int height) = 0;

  // Divides the sheet into `count` sheet bands: rows per sheet := 8192 div
  // count in the document's settings and the working copy, and both panes and
  // the tab bar follow. 0 does nothing.
  virtual void SetSheetCount(int count) = 0;

  // Sets the document's and the global modified flags and updates the scroll
  // ranges of `sheet`.
  virtual void MarkSheetModified(TSheetId sheet) = 0;
  // Sets both panes' vertical scroll range from the used rows and raises the
  // horizontal one to the used columns.
  virtual void UpdateScrollRanges(TSheetId sheet) = 0;
  // Repaints `sheet` (both panes when split).
  virtual void RepaintSheet(TSheetId sheet) = 0;
  // Repaints every other sheet window that shows the same document as `sheet`.
  virtual void RepaintDocumentViews(TSheetId sheet) = 0;
  // Makes the document of `sheet` the engine's current document
  // (ActivateDocumentContext of its slot).
  virtual void ActivateSheetContext(TSheetId sheet) = 0;
  // Copy the settings block between the document slot of `sheet` and the
  // engine's working copy (LoadSlotSettings / StoreSlotSettings).
  virtual void LoadSheetSettings(TSheetId sheet) = 0;
  virtual void StoreSheetSettings(TSheetId sheet) = 0;
  // The active document's file name, cut to `maxLength` characters.
  virtual std::string SheetFileName(std::size_t maxLength) = 0;
  // Sets the active window's caption and its document's stored name.
  virtual void SetSheetName(std::string_view name) = 0;
  // Set the default row height (pixels) or column width (size-table units) on
  // both panes of `sheet`.
  virtual void SetDefaultRowHeight(TSheetId sheet, int size) = 0;
  virtual void SetDefaultColWidth(TSheetId sheet, int size) = 0;
  // The font size for a cell's size byte (the window's default when 0).
  virtual int CellFontSize(TSheetId sheet, int sizeByte) = 0;
  // The face name for a cell's font number (the window's default face for 255).
  virtual std::string CellFontName(TSheetId sheet, int fontNumber) = 0;

  // ---- What worksheet files keep of the active sheet window ----------------
  // The defaults below answer for a window system that keeps none of it.

  // The window's layout; false when no sheet window is open. Setting it lays
  // the panes out again and gives the active pane the focus.
  virtual bool GetWindowLayout(TSheetWindowLayout& /*layout*/) { return false; }
  virtual void SetWindowLayout(const TSheetWindowLayout& /*layout*/) {}
  // Gives the active pane the focus and takes the current cell from its cursor.
  virtual void FocusActivePane() {}
  // The tab bar's names in tab order, and their replacement.
  virtual std::vector<std::string> SheetTabNames() { return {}; }
  virtual void SetSheetTabNames(const std::vector<std::string>& /*names*/) {}
  // The macro buttons on the sheet, and the creation of one more.
  virtual std::vector<TSheetButton> SheetButtons() { return {}; }
  virtual void CreateSheetButton(const TSheetButton& /*button*/) {}
  // The sheet window's font; false when no sheet window is open. Setting it
  // applies the row height to both panes.
  virtual bool GetSheetFont(TSheetFont& /*font*/) { return false; }
  virtual void SetSheetFont(const TSheetFont& /*font*/) {}
  // The position of a face name in the main window's font list (exact match),
  // -1 when it is not there.
  virtual int FontListIndex(std::string_view /*name*/) { return -1; }
  // The name of the user logged on, for "revised by".
  virtual std::string UserName() { return ""; }

  // ---- The main frame, for range commands and the range prompt -------------
  // The defaults do nothing, as for a window system without a main frame.

  // The progress gauge of the status line: `done` of `total` (total > 0);
  // HideProgress empties it again.
  virtual void ShowProgress(int /*done*/, int /*total*/) {}
  virtual void HideProgress() {}
  // The hourglass cursor while a long command runs.
  virtual void SetWaitCursor(bool /*on*/) {}
  // Ends End mode (the End key's pending jump).
  virtual void LeaveEndMode() {}
  // The range prompt's frame: enable the main window (a dialog may have
  // disabled it), enable or disable every item of the main menus, show the
  // prompt line with a caption and a text and read back what it holds now,
  // hide it, the mode indicator ("RANGE" in colour pair 177) and READY, and
  // the focus to the active grid.
  virtual void EnableMainWindow() {}
  virtual void SetMainMenusEnabled(bool /*enabled*/) {}
  virtual void ShowPromptLine(std::string_view /*caption*/, std::string_view /*text*/) {}
  virtual std::string PromptLineText() { return ""; }
  virtual void HidePromptLine() {}
  virtual void SetModeIndicator(std::string_view /*text*/, int /*colour*/) {}
  virtual void ShowReadyMode() {}
  virtual void FocusActiveGrid() {}
};

// The installed services (a "no window open" stand-in when none is installed).
TWindowServices& WindowServices();
// Installs `services` (not owned; must outlive its use), or the stand-in for
// nullptr.
void SetWindowServices(TWindowServices* services);

// The engine's copy of the cursor cell (row, column), filled from the active
// grid by LoadCursorGlobals (RangeText.h) and read by the entry line.
struct TCellPos {
  std::int16_t row = 0;
  std::int16_t col = 0;
};
extern TCellPos gCursorCell;

}  // namespace corvane
