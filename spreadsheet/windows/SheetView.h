// TSheetView: the sheet window (TForm2) without its windows. One view shows
// one document of the open-document table in one or two grid panes, with a
// tab bar of sheet tabs, a horizontal scroll bar and a split box; several
// views may show one document, each with its own panes, split and scroll
// state. The view decides what the window does: which pane is active, where
// the parts go, splitting and synchronising the panes, tabs and scrolling,
// painting rows from the document, and what keys and clicks do (through the
// main frame's interface, TSheetFrame).
//
// The Windows TForm2 puts a window under each part and forwards their events
// here; native tests drive the same view over recording hosts.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/ControlHost.h"
#include "spreadsheet/controls/Grid.h"
#include "spreadsheet/controls/ScrollBar.h"
#include "spreadsheet/controls/TabBar.h"
#include "spreadsheet/engine/WindowServices.h"
#include "spreadsheet/windows/CellPainter.h"
#include "spreadsheet/windows/SheetFrame.h"
#include "spreadsheet/windows/SheetKeys.h"
#include "spreadsheet/windows/SheetObjects.h"

namespace corvane {

class TSheetViews;

// The parts of one sheet window, each a portable model on its window's host.
struct TSheetParts {
  TGridModel& pane1;
  TGridModel& pane2;
  TTabBarModel& tabs;
  TScrollBarModel& scroll;  // the horizontal scroll bar inside the tab bar
  TControlHost& window;     // the sheet window's own client area
};

enum class TSplit : std::uint8_t {
  kNone,
  kAbove,  // pane 2 below pane 1
  kSide,   // pane 2 right of pane 1
};

// Where the window's parts go, in its client coordinates.
struct TSheetLayout {
  classlib::TRect pane1, pane2, tabs, scroll, splitBox;
  friend bool operator==(const TSheetLayout&, const TSheetLayout&) = default;
};

inline constexpr int kTabBarHeight = 26;
inline constexpr int kMaxSheets = 64;
inline constexpr int kMacroTimer = 1;          // the window timer of the Ctrl+letter macro start
inline constexpr unsigned kMacroTimerMs = 25;

class TSheetView {
 public:
  TSheetView(const TSheetParts& parts, TSheetViews& views);
  // Leaves the program's list and drops the view's reference on its document.
  ~TSheetView();
  TSheetView(const TSheetView&) = delete;
  TSheetView& operator=(const TSheetView&) = delete;

  // ---- The document ----------------------------------------------------------------
  // Registers the document `name` (an open one is shared; an untitled one,
  // "SHEET<n>.WKS", never is), makes it the engine's current document and
  // shows it. A new document gets the new-sheet settings. False, with the
  // error flag set, when the document cannot be had.
  bool Open(std::string_view name, bool untitled, int shareSlot = 0);
  int Slot() const { return slot_; }
  // The window's caption: the document's name.
  const std::string& Name() const { return name_; }
  bool Untitled() const { return untitled_; }
  // A new name for the document (Save As), shown as the caption.
  void SetName(std::string_view name);
  std::function<void(const std::string&)> OnCaption;

  // ---- Activation --------------------------------------------------------------------
  // The window became the active one: the document becomes the engine's
  // current one (its working settings loaded), the active pane takes the
  // focus, the cursor globals and the frame's indicators follow the cursor.
  void Activate();
  // The window stopped being the active one: the working settings go back
  // into the document's slot.
  void Deactivate();
  // Makes the document current (only the pool owner when it is already).
  void ActivateContext();

  // ---- Panes -------------------------------------------------------------------------
  int ActivePaneNumber() const { return activePane_; }
  TGridModel& Pane(int number) { return number == 2 ? parts_.pane2 : parts_.pane1; }
  TGridModel& ActivePane() { return Pane(activePane_); }
  TGridModel& InactivePane() { return Pane(activePane_ == 1 ? 2 : 1); }
  int PaneNumberOf(const TGridModel& pane) const { return &pane == &parts_.pane2 ? 2 : 1; }
  void SetActivePane(int number, bool focus = true);

  // ---- Layout and split --------------------------------------------------------------
  // Places the parts for a client area of width x height; remembers the size.
  void Resize(int width, int height);
  const TSheetLayout& Layout() const { return layout_; }
  std::function<void(const TSheetLayout&)> PlaceParts;
  TSplit Split() const { return split_; }
  bool Synchronised() const { return synchronised_; }
  void SetSynchronised(bool on) { synchronised_ = on; }
  // Splits at client pixel x (side by side) or y (one above the other), the
  // other being 0; a position outside the panes' area cancels the split;
  // both 0 unsplit.
  void SplitAt(int x, int y);
  // Splits at the column's (row's) left (top) edge in the active pane and
  // lets pane 2 continue from pane 1.
  void SplitVertical(int col);
  void SplitHorizontal(int row);
  void Unsplit();
  // The other pane continues from pane `number`: side by side one column
  // right of its cursor, one above the other one row below it.
  void SyncPanes(int number);
  // The split box: a press (in its top 10 pixels: split by rows), drags and
  // the release, at client points. A release inside the box unsplits.
  void SplitBoxDown(classlib::TPoint at);
  void SplitBoxMove(classlib::TPoint at);
  void SplitBoxUp(classlib::TPoint at);
  bool SplitDragging() const { return dragging_; }
  // The split box: an empty white box while split, else with a rule and a red
  // plus.
  void PaintSplitBox(classlib::TCanvas& canvas, const classlib::TRect& box) const;

  // ---- Sheets, scrolling and repainting ---------------------------------------------------
  // Divides the rows into `count` sheets (held to 1..64): rows per sheet in
  // the document's settings, both panes' pages and the tab bar's maximum.
  void SetSheetCount(int count);
  int SheetCount() const;
  // Both panes' vertical ranges from the document's used rows; the
  // horizontal bar's range raised to its used columns.
  void UpdateScrollRanges();
  // Sets the document's modified flag and updates the scroll ranges.
  void MarkModified();
  // Repaints pane 1, and pane 2 when split.
  void Repaint();
  // Draws the cells of `range` at once in both panes.
  void RedrawRange(const TRange& range);

  // ---- Painting ------------------------------------------------------------------------
  // The panes' OnDrawRow: one row of `pane` from the document, which is made
  // current for the call and given back after. Frozen rows and columns come
  // as one's complements.
  void DrawRow(TGridModel& pane, classlib::TCanvas& canvas, int row, int cols, int cole);
  // The window's default font, which cells of font 255 and size 0 use.
  const TSheetFont& DefaultFont() const { return font_; }
  void SetDefaultFont(const TSheetFont& font);
  // The window's default face and size with the program's font list, as the
  // cell painter reads them.
  TSheetFonts Fonts() const;
  bool printGrid = false;
  TPictureSource* pictures = nullptr;

  // ---- The view as the engine and the files exchange it ------------------------------------
  // The window's layout, sizes, tab names, buttons and font (the font list
  // is the program's, filled by the caller); SetView applies the parts
  // (TSheetViewPart bits) given.
  void GetView(TSheetViewState& view);
  void SetView(const TSheetViewState& view, unsigned parts);

  // ---- Keys and mouse -----------------------------------------------------------------------
  // A key before the pane sees it (key preview); sets `key` to 0 when it was
  // used.
  void PreviewKeyDown(int& key, classlib::TShiftState shift);
  // A key the pane did not use: Ctrl+letter commands and Delete.
  void PaneKeyDown(TGridModel& pane, int& key, classlib::TShiftState shift);
  void KeyUp(int key, classlib::TShiftState shift);
  // A typed character; set to 0 when it was used.
  void KeyPress(char& ch);
  void PaneMouseDown(TGridModel& pane, classlib::TMouseButton button, classlib::TShiftState shift, int x, int y);
  void PaneMouseUp(TGridModel& pane, classlib::TMouseButton button, classlib::TShiftState shift, int x, int y);
  void PaneMouseMove(TGridModel& pane, classlib::TShiftState shift, int x, int y);
  // The window's timer.
  void Timer(int id);
  // The posted "run a macro here" message (column, row); cells outside the
  // sheet are ignored.
  void MacroMessage(int col, int row);
  // The "MACRO: Specify Cell" prompt (F3, Execute Macro): the macro at the
  // cell named runs.
  void StartMacroPrompt();
  // Whether the window is maximised (the "/" key then opens the first menu).
  bool maximised = false;
  // A point of a pane's cell area on the screen, for the pop-up menu.
  std::function<classlib::TPoint(TGridModel& pane, classlib::TPoint at)> PaneToScreen;

  // ---- Objects on the sheet ----------------------------------------------------------------
  // Macro buttons and graph boxes over pane 1, in creation order.
  const std::vector<TSheetObject>& Objects() const { return objects_; }
  TSheetObject& Object(int index) { return objects_[static_cast<std::size_t>(index)]; }
  // Creates an object at (x, y) of pane 1's cell area, anchored at the cell
  // under that point, showing the anchor's address as its caption; gives its
  // index.
  int CreateSheetObject(std::string_view caption, std::string_view text, int width, int height, int x, int y,
                        TSheetObjectKind kind);
  // An object read from a file: of the kind the placing mode gives (a macro
  // button unless graph boxes are being placed).
  void PlaceSheetObject(const TSheetButton& record);
  // "User Button": while placing, pane 1 selects nothing and a left drag on it
  // places an object over the rubber rectangle; then placing ends.
  void SetPlacing(bool on, TSheetObjectKind kind = TSheetObjectKind::kMacroButton);
  bool Placing() const { return placing_; }
  // A press that grabs nothing of a button ends placing.
  void EndPlacing();
  std::function<void()> OnPlacingEnded;
  // Where object `index` shows in pane 1's cell area.
  classlib::TRect ObjectRect(int index) const;
  // The user moved or resized the object to `bounds` (pane 1's cell area):
  // the anchor is found again under its new top-left corner.
  void ObjectMovedTo(int index, const classlib::TRect& bounds);
  // A click: the focus goes back to the active pane; a macro button runs its
  // macro, a graph box shows its graph in the graph window.
  void ObjectClicked(int index);
  // Delete on a focused object: it leaves the sheet (hidden, no longer saved)
  // and the focus goes back to the active pane.
  void DeleteObject(int index);
  // The "User Button" dialog's Ok.
  void EditObject(int index, const TButtonDialogValue& value);
  // Objects were added, changed, or moved with the pane: the window updates
  // their controls.
  std::function<void()> OnObjectsChanged;

  // ---- Closing ------------------------------------------------------------------------------
  // Whether the window may close: not while a range prompt runs; the last
  // window on a modified document asks to save it, and closes only when the
  // document was saved or the user said No.
  bool CloseQuery();

 private:
  struct TPaneState {
    int cursorRow, cursorCol, top, left;
    TRange selection;
  };

  TSheetFrame& Frame();
  bool IsActive() const;
  void WireEvents();
  void PaneChanged(TGridModel& pane);
  void PaneTopChanged(TGridModel& pane);
  void PaneSized(TGridModel& pane);
  void ScrollChanged();
  void TabPicked();
  void PlacePanes();
  void FeedbackLine(classlib::TPoint at);
  int RowsPerSheetOfDocument() const;
  TSheetSettings& DocumentSettings() const;
  TPaneState SavePane(TGridModel& pane) const;
  void RestorePane(TGridModel& pane, const TPaneState& state);
  void SwapHiddenView();
  void RecalcAllDocuments();
  void StartNamePrompt(std::string_view caption, std::function<void(int row, int col)> accepted);
  void StartLinksPrompt();
  void EscapeWithPrompt();
  // Ends the range prompt and refreshes the indicators for the cursor cell.
  void EndPrompt(bool accept);
  TSheetKeyState KeyState();
  bool SaveDocument();
  void ObjectsChanged();
  void DrawRubber();
  void FinishPlacing(classlib::TPoint at);

  TSheetParts parts_;
  TSheetViews& views_;
  int slot_ = 0;
  std::string name_;
  bool untitled_ = false;
  int activePane_ = 1;
  TSplit split_ = TSplit::kNone;
  bool synchronised_ = false;
  bool following_ = false;    // a synchronised pane is following
  bool settingBars_ = false;  // the view moves the tab bar or scroll bar itself
  int width_ = 0, height_ = 0;
  int pane1Size_ = 0;         // pane 1's height (above) or width (side) while split
  TSheetLayout layout_;
  TSheetFont font_{15, 0, "Arial"};
  int fontSize_ = 12;
  std::vector<TSheetObject> objects_;
  bool placing_ = false;
  TSheetObjectKind placingKind_ = TSheetObjectKind::kMacroButton;
  bool rubberDown_ = false;
  classlib::TPoint rubberFrom_, rubberTo_;
  TPaneState hidden_{0, 0, 0, 0, TRange{0, 0, 0, 0}};  // F6's second view when unsplit
  bool sizedToggle_ = false;
  // Split box dragging.
  bool dragging_ = false;
  bool dragRows_ = false;
  bool feedbackShown_ = false;
  classlib::TPoint feedbackAt_;
  // Mouse: a Shift+right press inside the selection waits for its release.
  bool propertiesPress_ = false;
  TCtrlMacroKeys macroKeys_;
  int pendingRow_ = 0, pendingCol_ = 0;
};

}  // namespace corvane
