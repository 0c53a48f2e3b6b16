// What the engine and the file, graph, data and macro code ask of the screen.
// They never hold a window: every request goes through this interface, which
// always acts on the active sheet window and its active pane (grid). The sheet
// window code installs the real implementation; tests install a fake. With none
// installed the engine sees "no sheet window open".
//
// Sheet windows and grids appear only as opaque ids, so no window type reaches
// portable code.
#pragma once

#include <array>
#include <cstdint>
#include <span>
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
  // Pane 1's frozen columns and rows (first and last of each); -1 when none
  // are frozen.
  std::int16_t frozenFirstCol = -1, frozenLastCol = -1, frozenFirstRow = -1, frozenLastRow = -1;
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

// The size tables a sheet window keeps for its document (both panes share
// them): one entry per column and per row, kDefaultSizeEntry for the default.
struct TSheetSizes {
  std::array<std::uint16_t, 256> columns;
  std::array<std::uint16_t, 8192> rows;
  TSheetSizes() {
    columns.fill(kDefaultSizeEntry);
    rows.fill(kDefaultSizeEntry);
  }
  friend bool operator==(const TSheetSizes&, const TSheetSizes&) = default;
};
// The column table or the row table of `sizes`.
inline std::span<std::uint16_t> SizeTable(TSheetSizes& sizes, bool columns) {
  return columns ? std::span<std::uint16_t>(sizes.columns) : std::span<std::uint16_t>(sizes.rows);
}

// What the active sheet window shows of its document besides the cells, as
// one value that undo and the worksheet files copy whole.
struct TSheetViewState {
  TSheetWindowLayout layout;
  TSheetSizes sizes;
  std::vector<std::string> tabNames;  // in tab order
  std::vector<TSheetButton> buttons;  // macro buttons on the sheet
  TSheetFont font;                    // the window's own font
  // The program's font list, which a cell's font number indexes (255, or a
  // number beyond the list, is the window's own font).
  std::vector<std::string> fontList;
};

// The parts of a TSheetViewState that SetSheetView applies.
enum TSheetViewPart : unsigned {
  kViewLayout = 1,   // sheet count, split, panes and titles; the active pane takes the focus
  kViewSizes = 2,    // column widths and row heights, laid out at once
  kViewTabNames = 4,
  kViewButtons = 8,  // the window's buttons become these
  kViewFont = 16,    // the window's font and the row height it gives
};

class TWindowServices {
 public:
  virtual ~TWindowServices() = default;

  // The active sheet window, or kNoSheet when none is open.
  virtual TSheetId ActiveSheet() = 0;
  // The active pane of the active sheet window, or kNoGrid.
  virtual TGridId ActiveGrid() = 0;

  // The active grid's cursor cell (row and column from 0).
  virtual void GetCursorCell(std::int16_t& row, std::int16_t& col) = 0;
  // The active grid's selection; both row words -1 when nothing is marked.
  virtual void GetGridSelection(TRange& range) = 0;
  // Sets the selection and its anchor (first corner), moves the cursor to the
  // last corner keeping the selection, and repaints the grid.
  virtual void SetGridSelection(const TRange& range) = 0;

  // "" for a column of default width, else "w" and the width in characters.
  virtual std::string ColumnWidthTag(int col) = 0;
  // The column's width in characters (the document's default for entry 255).
  virtual int ColumnWidthChars(int col) = 0;

  // The active window's view of its document; false (and `view` untouched)
  // when no sheet window is open.
  virtual bool GetSheetView(TSheetViewState& view) = 0;
  // Applies the `parts` (TSheetViewPart bits) of `view` to the active window;
  // nothing when none is open.
  virtual void SetSheetView(const TSheetViewState& view, unsigned parts) = 0;

  // Sets the document's and the global modified flags and updates the scroll
  // ranges of `sheet`.
  virtual void MarkSheetModified(TSheetId sheet) = 0;
  // Repaints `sheet` (both panes when split).
  virtual void RepaintSheet(TSheetId sheet) = 0;
  // The active document's file name, cut to `maxLength` characters.
  virtual std::string SheetFileName(std::size_t maxLength) = 0;

  // ---- The rest of the window system -----------------------------------------
  // The defaults do nothing, as for a window system without a main frame.

  // Gives the active pane the focus and takes the current cell from its cursor.
  virtual void FocusActivePane() {}
  // The name of the user logged on, for "revised by".
  virtual std::string UserName() { return ""; }
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
