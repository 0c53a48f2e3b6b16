// Sheet windows over the real engine: documents and views, the window
// services, sheets and tabs, splitting, keys and the mouse, and closing.
#include "spreadsheet/windows/SheetView.h"

#include <gtest/gtest.h>

#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/engine/RangePrompt.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/files/WorksheetFile.h"
#include "spreadsheet/windows/DocumentScope.h"
#include "spreadsheet/windows/MacroTrust.h"
#include "tests/spreadsheet/files/TempFolder.h"
#include "tests/spreadsheet/windows/FrameTestSupport.h"
#include "tests/spreadsheet/windows/SheetTestSupport.h"

namespace corvane {
namespace {

using namespace classlib;
using testing::SheetWindowTest;
using testing::TTempFolder;
using testing::TTestSheetWindow;

// The texts a pane painted.
std::vector<std::string> Texts(TTestSheetWindow& window, int pane = 1) { return window.Paint(pane).Texts(); }

bool Painted(TTestSheetWindow& window, const std::string& text) {
  std::vector<std::string> texts = Texts(window);
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST_F(SheetWindowTest, WindowsOnOneDocumentShareItsCellsAndRepaintEachOther) {
  TTestSheetWindow& first = OpenWindow("BUDGET.WKS");
  Enter(0, 0, "'income");
  TTestSheetWindow& other = OpenWindow("OTHER.WKS");
  Enter(0, 0, "'elsewhere");
  TTestSheetWindow& second = OpenWindow("BUDGET.WKS");
  EXPECT_EQ(second.view.Slot(), first.view.Slot());
  EXPECT_NE(other.view.Slot(), first.view.Slot());
  EXPECT_TRUE(Painted(second, "income"));

  // A change through the second window repaints the first, not the other
  // document's window.
  first.pane1.cells.ClearRecords();
  other.pane1.cells.ClearRecords();
  Enter(1, 0, "'more");
  EXPECT_FALSE(first.pane1.cells.Invalidated.empty());
  EXPECT_TRUE(other.pane1.cells.Invalidated.empty());

  // Painting a window that is not active leaves the engine on the active
  // window's document, its unsaved working settings included.
  gCurrentDoc.settings.hideZeros = 1;
  EXPECT_TRUE(Painted(other, "elsewhere"));
  EXPECT_EQ(CurrentDocSlot(), second.view.Slot());
  EXPECT_EQ(gCurrentDoc.settings.hideZeros, 1);
  EXPECT_TRUE(Painted(first, "more"));

  // Closing one of two windows on a modified document asks nothing; the last
  // one asks, and No closes it.
  views.Services().MarkSheetModified(views.Services().ActiveSheet());
  EXPECT_TRUE(second.view.CloseQuery());
  EXPECT_FALSE(frame.Has("ask save BUDGET.WKS"));
  Close(second);
  Activate(first);
  EXPECT_TRUE(first.view.CloseQuery());
  EXPECT_TRUE(frame.Has("ask save BUDGET.WKS"));
}

TEST_F(SheetWindowTest, ClosingKeepsTheWindowUnlessTheDocumentWasSaved) {
  TTestSheetWindow& sheet = OpenWindow("");
  Enter(0, 0, "1");
  sheet.view.MarkModified();
  frame.answer = TSaveAnswer::kCancel;
  EXPECT_FALSE(sheet.view.CloseQuery());
  // Yes on a new sheet goes through Save As; a cancelled Save As keeps the
  // window and its work.
  frame.answer = TSaveAnswer::kYes;
  frame.saveAsResult = false;
  EXPECT_FALSE(sheet.view.CloseQuery());
  EXPECT_TRUE(frame.Has("save as"));
  frame.saveAsResult = true;
  EXPECT_TRUE(sheet.view.CloseQuery());
  EXPECT_TRUE(frame.Has("no sheets"));
  // Yes on a document read only in part goes through Save As too: its file
  // is never written over unasked.
  TTestSheetWindow& partly = OpenWindow("PARTLY.WKS");
  DocSlot(partly.view.Slot())->partlyRead = true;
  partly.view.MarkModified();
  frame.log.clear();
  frame.saveAsResult = false;
  EXPECT_FALSE(partly.view.CloseQuery());
  EXPECT_TRUE(frame.Has("save as"));
  // A range prompt holds every window open.
  ASSERT_TRUE(RangePromptStart("X", [](std::string_view) { return true; }, TRange{0, 0, 0, 0}));
  EXPECT_FALSE(sheet.view.CloseQuery());
  RangePromptEnd(false);
}

TEST_F(SheetWindowTest, ServicesActOnTheActiveWindowAndItsPane) {
  TWindowServices& services = views.Services();
  EXPECT_EQ(services.ActiveGrid(), kNoGrid);
  TTestSheetWindow& sheet = OpenWindow("S.WKS");
  EXPECT_EQ(services.ActiveSheet(), reinterpret_cast<TSheetId>(&sheet.view));
  sheet.Grid(1).MoveTo(4, 2);
  std::int16_t row = 0, col = 0;
  services.GetCursorCell(row, col);
  EXPECT_EQ(row, 4);
  EXPECT_EQ(col, 2);
  services.SetGridSelection(TRange{1, 2, 3, 5});
  EXPECT_EQ(sheet.Grid(1).GetSelection(), (TRange{1, 2, 3, 5}));
  EXPECT_EQ(sheet.Grid(1).CursorRow(), 5);

  // Column entries count characters; the view value carries them whole.
  TSheetViewState view;
  ASSERT_TRUE(services.GetSheetView(view));
  view.sizes.columns[3] = 12;
  view.sizes.rows[7] = 40;
  view.tabNames = {"Income", "Costs"};
  services.SetSheetView(view, kViewSizes | kViewTabNames);
  EXPECT_EQ(services.ColumnWidthTag(3), "w12");
  EXPECT_EQ(services.ColumnWidthTag(4), "");
  EXPECT_EQ(services.ColumnWidthChars(3), 12);
  EXPECT_EQ(sheet.Grid(2).ColSize(3), 12);  // the panes share their sizes
  TSheetViewState back;
  services.GetSheetView(back);
  EXPECT_EQ(back.sizes, view.sizes);
  EXPECT_EQ(back.tabNames, view.tabNames);
  // Names given in Define Tabs (its Ok replaces the items) are in the view
  // too, beyond those a file gave; the lettered tabs after them are not.
  std::vector<std::string> items = sheet.tabs.Items();
  items[0] = "Sales";
  items[2] = "Summary";
  sheet.tabs.SetItems(items);
  services.GetSheetView(back);
  EXPECT_EQ(back.tabNames, (std::vector<std::string>{"Sales", "Costs", "Summary"}));
  items[0] = "A";
  items[1] = "B";
  items[2] = "C";
  sheet.tabs.SetItems(items);
  services.GetSheetView(back);
  EXPECT_TRUE(back.tabNames.empty());

  // Sheet counts stay within 1..64; rows per sheet follow.
  struct Row {
    int count, sheets, rows;
  } rows[] = {{3, 3, 2730}, {0, 1, 8192}, {-5, 1, 8192}, {100, 64, 128}, {4, 4, 2048}};
  for (const Row& r : rows) {
    sheet.view.SetSheetCount(r.count);
    EXPECT_EQ(sheet.view.SheetCount(), r.sheets) << r.count;
    EXPECT_EQ(RowsPerSheet(), r.rows) << r.count;
  }
  // Picking tab C from row 10 keeps the offset within the sheet.
  sheet.Grid(1).MoveTo(10, 1);
  sheet.tabs.SetItemIndex(2);
  EXPECT_EQ(sheet.Grid(1).CursorRow(), 4106);
  // Scrolling into the fourth sheet shows its tab.
  sheet.Grid(1).MoveTo(6200, 1);
  EXPECT_EQ(sheet.tabs.ItemIndex(), 3);
}

TEST_F(SheetWindowTest, SplittingSynchronisingAndTheSplitBox) {
  TTestSheetWindow& sheet = OpenWindow("SPLIT.WKS");
  TSheetView& view = sheet.view;
  view.SplitAt(0, 150);
  EXPECT_EQ(view.Split(), TSplit::kAbove);
  EXPECT_EQ(view.Layout().pane1, (TRect{0, 0, 640, 150}));
  EXPECT_EQ(view.Layout().pane2, (TRect{0, 150, 640, 400}));
  // A drop outside the panes cancels the split.
  view.SplitAt(0, 5000);
  EXPECT_EQ(view.Split(), TSplit::kNone);
  view.SplitAt(-3, 0);
  EXPECT_EQ(view.Split(), TSplit::kNone);

  // The split box: dragged from its lower part, released at x = 300, it
  // splits side by side and pane 2 continues one column right of the cursor.
  sheet.Grid(1).MoveTo(3, 255);
  TRect box = view.Layout().splitBox;
  view.SplitBoxDown({box.Left + 2, box.Top + 12});
  view.SplitBoxMove({250, 100});
  view.SplitBoxUp({300, 100});
  EXPECT_EQ(view.Split(), TSplit::kSide);
  EXPECT_EQ(view.ActivePaneNumber(), 2);
  EXPECT_EQ(sheet.Grid(2).CursorCol(), 255);  // held at column IV
  EXPECT_EQ(sheet.Grid(2).CursorRow(), 3);
  // F6 switches panes while split; the scroll bars follow the active one.
  Press(sheet, vk::F6);
  EXPECT_EQ(view.ActivePaneNumber(), 1);

  // Synchronised side by side: the other pane keeps the same row.
  view.SetSynchronised(true);
  sheet.Grid(1).MoveTo(40, 2);
  EXPECT_EQ(sheet.Grid(2).CursorRow(), 40);
  EXPECT_EQ(sheet.Grid(2).CursorCol(), 255);
  // A release inside the box unsplits.
  view.SplitBoxDown({box.Left + 2, box.Top + 2});
  view.SplitBoxUp({box.Left + 3, box.Top + 3});
  EXPECT_EQ(view.Split(), TSplit::kNone);
  EXPECT_EQ(view.ActivePaneNumber(), 1);
}

// Split either way: F6 shows the other pane's cell on the status line and
// the entry line at once; Clear gives the keyboard back to the pane that
// stays; a synchronised pane that follows a page down repaints its cells,
// not only its row numbers; typing after the scroll bar took the view away
// brings the cursor cell back into it.
TEST_F(SheetWindowTest, SplitPanesKeepTheKeyboardAndShowTheirCells) {
  TTestSheetWindow& sheet = OpenWindow("PANES.WKS");
  TSheetView& view = sheet.view;
  testing::TFakeEntryView line;
  TEntryLine entry(line);
  frame.entryLine = &entry;
  Enter(4, 3, "'here");
  Enter(4, 4, "'right");
  Enter(5, 3, "'below");
  const struct {
    const char* what;
    bool side;
    const char* pane2Cell;
    const char* pane2Text;
  } rows[] = {{"one above the other", false, "D6", "below"}, {"side by side", true, "E5", "right"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    sheet.Grid(1).MoveTo(4, 3);
    if (row.side)
      view.SplitVertical(3);
    else
      view.SplitHorizontal(4);
    ASSERT_EQ(view.Split(), row.side ? TSplit::kSide : TSplit::kAbove);
    Press(sheet, vk::F6);
    sheet.pane1.cells.HasFocus = false;  // the window system moved the focus
    ASSERT_EQ(view.ActivePaneNumber(), 2);
    EXPECT_TRUE(sheet.pane2.cells.HasFocus);
    EXPECT_EQ(line.status.substr(0, 2), row.pane2Cell);
    EXPECT_NE(line.text.find(row.pane2Text), std::string::npos) << line.text;

    view.Unsplit();
    EXPECT_TRUE(sheet.pane1.cells.HasFocus) << "the keyboard stayed with the hidden pane";
    sheet.pane2.cells.HasFocus = false;
    EXPECT_EQ(view.ActivePaneNumber(), 1);
    EXPECT_EQ(line.status.substr(0, 2), "D5");
    EXPECT_NE(line.text.find("here"), std::string::npos) << line.text;
  }

  sheet.Grid(1).MoveTo(4, 3);
  view.SplitVertical(3);
  view.SetSynchronised(true);
  sheet.pane2.cells.ClearRecords();
  Press(sheet, vk::Next);
  ASSERT_GT(sheet.Grid(1).Toprow(), 0);
  EXPECT_EQ(sheet.Grid(2).Toprow(), sheet.Grid(1).Toprow());
  EXPECT_EQ(sheet.Grid(2).CursorRow(), sheet.Grid(1).CursorRow());
  EXPECT_FALSE(sheet.pane2.cells.Invalidated.empty()) << "pane 2's cells still show the rows before";

  view.Unsplit();
  TGridModel& pane = sheet.Grid(1);
  pane.ScrollBar().SetPosition(3000);
  ASSERT_GT(pane.Toprow(), pane.CursorRow());
  Type(sheet, "7");
  EXPECT_TRUE(pane.CursorRow() >= pane.Toprow() && pane.CursorRow() <= pane.LastWholeRow()) << pane.Toprow();
  EXPECT_TRUE(entry.EditExit());
  frame.entryLine = nullptr;
}

TEST_F(SheetWindowTest, KeysAndCharacters) {
  TTestSheetWindow& sheet = OpenWindow("KEYS.WKS");
  TGridModel& grid = sheet.Grid(1);
  for (int row = 0; row < 5; ++row) Enter(row, 1, std::to_string(row));
  ASSERT_NE(RangeNameCreate("\\A", testing::MakeRange(7, 20, 7, 20)), 0);
  ASSERT_NE(RangeNameCreate("TOTAL", testing::MakeRange(3, 30, 3, 30)), 0);

  // End then Down: the end of the block; End alone toggles End mode.
  grid.MoveTo(0, 1);
  Press(sheet, vk::End);
  EXPECT_TRUE(frame.endMode);
  Press(sheet, vk::Down);
  EXPECT_EQ(grid.CursorRow(), 4);
  EXPECT_FALSE(frame.endMode);

  // F5 offers the names and goes to the accepted one; cancelling goes nowhere.
  Press(sheet, vk::F5);
  EXPECT_EQ(frame.promptList, (std::vector<std::string>{"TOTAL", "\\A"}));
  frame.promptText = "TOTAL";
  Press(sheet, vk::Return);
  EXPECT_EQ(std::make_pair(grid.CursorRow(), grid.CursorCol()), std::make_pair(30, 3));
  Press(sheet, vk::F3);
  RangePromptEnd(false);
  EXPECT_EQ(frame.runMacroRow, -1);

  // Ctrl+A, released: the macro named \A runs once the timer finds 26 ms gone.
  Press(sheet, vk::Control, ssCtrl);
  Press(sheet, 'A', ssCtrl);
  sheet.view.KeyUp(vk::Control, 0);
  ASSERT_TRUE(sheet.window.TimerRunning(kMacroTimer));
  platform.tick += 30;
  sheet.view.Timer(kMacroTimer);
  EXPECT_EQ(std::make_pair(frame.runMacroRow, frame.runMacroCol), std::make_pair(20, 7));
  EXPECT_FALSE(sheet.window.TimerRunning(kMacroTimer));
  // Ctrl+B is the bold command and arms nothing; Delete erases.
  frame.log.clear();
  Press(sheet, vk::Control, ssCtrl);
  Press(sheet, 'B', ssCtrl);
  sheet.view.KeyUp(vk::Control, 0);
  EXPECT_FALSE(sheet.window.TimerRunning(kMacroTimer));
  Press(sheet, vk::Delete);
  EXPECT_EQ(frame.log, (std::vector<std::string>{"command 0", "command 6"}));

  // Typed characters go to the entry line; "/" opens the menus, "." anchors
  // while pointing.
  frame.log.clear();
  sheet.view.maximised = true;
  Type(sheet, "a/\t");
  frame.pointing = true;
  Type(sheet, ".");
  EXPECT_EQ(frame.log, (std::vector<std::string>{"entry a", "menu bar, first menu", "anchor"}));
  frame.pointing = false;

  // F6 in an unsplit window alternates between two places.
  grid.MoveTo(100, 10);
  Press(sheet, vk::F6);
  EXPECT_EQ(std::make_pair(grid.CursorRow(), grid.CursorCol()), std::make_pair(0, 0));
  Press(sheet, vk::F6);
  EXPECT_EQ(std::make_pair(grid.CursorRow(), grid.CursorCol()), std::make_pair(100, 10));

  // Esc with a range prompt collapses a range first, then cancels.
  bool called = false;
  ASSERT_TRUE(RangePromptStart("RANGE", [&](std::string_view) { return called = true; }, TRange{1, 1, 3, 3}));
  Press(sheet, vk::Escape);
  EXPECT_TRUE(RangePromptActive());
  Press(sheet, vk::Escape);
  EXPECT_FALSE(RangePromptActive());
}

TEST_F(SheetWindowTest, F9RecalculatesEveryDocumentEvenWhenAWindowClosesMeanwhile) {
  TTestSheetWindow& first = OpenWindow("ONE.WKS");
  gCurrentDoc.settings.manualRecalc = 1;
  Enter(0, 0, "1");
  Enter(0, 1, "+A1*2");
  Enter(0, 0, "5");
  TTestSheetWindow& second = OpenWindow("TWO.WKS");
  gCurrentDoc.settings.manualRecalc = 1;
  Enter(0, 0, "1");
  Enter(0, 1, "+A1*3");
  Enter(0, 0, "7");
  TTestSheetWindow& doomed = OpenWindow("THREE.WKS");
  Activate(second);
  // The second window's messages close the third window.
  frame.onProcessMessages = [&] {
    frame.onProcessMessages = nullptr;
    Close(doomed);
  };
  Press(second, vk::F9);
  EXPECT_EQ(CurrentDocSlot(), second.view.Slot());
  EXPECT_EQ(frame.mode, "READY");
  EXPECT_EQ(CellReal(*CellPtr(CellFind(0, 1))), 21);
  {
    TDocumentScope scope(first.view.Slot());
    EXPECT_EQ(CellReal(*CellPtr(CellFind(0, 1))), 10);
  }
  // A macro message for a cell outside the sheet runs nothing.
  second.view.MacroMessage(256, 3);
  second.view.MacroMessage(3, -1);
  EXPECT_EQ(frame.runMacroRow, -1);
  second.view.MacroMessage(2, 9);
  EXPECT_EQ(std::make_pair(frame.runMacroRow, frame.runMacroCol), std::make_pair(9, 2));
}

TEST_F(SheetWindowTest, MouseOnThePanes) {
  TTestSheetWindow& sheet = OpenWindow("MOUSE.WKS");
  sheet.view.SplitAt(0, 150);
  frame.editing = true;
  sheet.view.PaneMouseDown(sheet.Grid(2), TMouseButton::mbLeft, 0, 50, 20);
  EXPECT_TRUE(frame.Has("commit"));
  EXPECT_EQ(sheet.view.ActivePaneNumber(), 2);
  // Shift+right click in the selection opens the properties on release; a
  // plain right click the pop-up menu.
  sheet.Grid(2).SetSelection(TRange{0, 0, 5, 5});
  sheet.view.PaneMouseDown(sheet.Grid(2), TMouseButton::mbRight, ssShift, 10, 10);
  EXPECT_FALSE(frame.Has("properties"));
  sheet.view.PaneMouseUp(sheet.Grid(2), TMouseButton::mbRight, ssShift, 10, 10);
  EXPECT_TRUE(frame.Has("properties"));
  sheet.view.PaneMouseDown(sheet.Grid(2), TMouseButton::mbRight, 0, 10, 10);
  EXPECT_TRUE(frame.Has("pane menu"));
}

TEST_F(SheetWindowTest, SavingOnCloseWritesTheClosingWindowsView) {
  TTestSheetWindow& closing = OpenWindow("KEEP.WKS");
  Enter(0, 0, "'kept");
  TSheetViewState view;
  closing.view.GetView(view);
  view.sizes.columns[2] = 20;
  closing.view.SetView(view, kViewSizes);
  closing.view.MarkModified();
  OpenWindow("ACTIVE.WKS");
  // The program ends: the closing window is not the active one.
  frame.answer = TSaveAnswer::kYes;
  TTempFolder temp;
  std::string folder = temp.File("");
  closing.view.SetName(folder + "KEEP.WKS");
  ASSERT_TRUE(closing.view.CloseQuery()) << ErrorMessage();
  Close(closing);

  TTestSheetWindow& reread = OpenWindow("READ.WKS");
  ASSERT_TRUE(LoadWorksheet(folder + "KEEP.WKS", 0, 0, 0, "")) << ErrorMessage();
  EXPECT_EQ(views.Services().ColumnWidthChars(2), 20);
  EXPECT_TRUE(Painted(reread, "kept"));
}

TEST(SheetObjects, GrabbingMovingAndDroppingAButton) {
  const TRect inset{100, 100, 180, 120};
  struct TGrab {
    TPoint at;
    int grab;
  };
  for (const TGrab& row : {TGrab{{140, 110}, kGrabMove}, TGrab{{95, 95}, 0}, TGrab{{101, 110}, kGrabLeft},
                           TGrab{{182, 110}, kGrabRight}, TGrab{{140, 97}, kGrabTop}, TGrab{{140, 123}, kGrabBottom},
                           TGrab{{102, 102}, kGrabLeft | kGrabTop}, TGrab{{179, 119}, kGrabRight | kGrabBottom}})
    EXPECT_EQ(SheetButtonGrab(inset, row.at), row.grab) << row.at.x << "," << row.at.y;
  EXPECT_EQ(DragOutline(inset, kGrabRight, 30, 9), (TRect{100, 100, 210, 120}));
  EXPECT_EQ(DragOutline(inset, kGrabMove, -5, 9), (TRect{95, 109, 175, 129}));
  // Dropped: corners in order, grown by 2, in the pane's coordinates; never
  // left of the pane.
  TRect bounds;
  ASSERT_TRUE(DroppedBounds(TRect{180, 120, 100, 100}, {50, 60}, bounds));
  EXPECT_EQ(bounds, (TRect{48, 38, 132, 62}));
  EXPECT_FALSE(DroppedBounds(TRect{40, 100, 120, 120}, {50, 60}, bounds));
  // The outline's travel: from the button at step 0 to the dialog at step 20.
  EXPECT_EQ(OutlineStep({0, 0, 20, 20}, {200, 100, 400, 300}, 0), (TRect{0, 0, 20, 20}));
  EXPECT_EQ(OutlineStep({0, 0, 20, 20}, {200, 100, 400, 300}, 10), (TRect{100, 50, 210, 160}));
}

TEST_F(SheetWindowTest, ObjectsOnTheSheetKeepTheirCellsAndTravelWithTheFile) {
  TTestSheetWindow& sheet = OpenWindow("OBJECTS.WKS");
  TGridModel& pane = sheet.Grid(1);
  const int colB = pane.ColOffset(1), row3 = pane.RowOffset(2);
  // User Button: a click without a drag places a 40 x 20 button anchored at
  // the cell under it, captioned with that cell's address; placing then ends.
  sheet.view.SetPlacing(true);
  EXPECT_FALSE(pane.Select);
  sheet.view.PaneMouseDown(pane, TMouseButton::mbLeft, 0, colB + 5, row3 + 3);
  sheet.view.PaneMouseUp(pane, TMouseButton::mbLeft, 0, colB + 5, row3 + 3);
  ASSERT_EQ(sheet.view.Objects().size(), 1u);
  const TSheetButton& placed = sheet.view.Objects()[0].record;
  EXPECT_EQ(placed, (TSheetButton{"B3", "", 2, 1, 5, 3, 40, 20}));
  EXPECT_FALSE(sheet.view.Placing());
  EXPECT_TRUE(pane.Select);
  // A drag from bottom right to top left orders the corners.
  sheet.view.SetPlacing(true);
  sheet.view.PaneMouseDown(pane, TMouseButton::mbLeft, 0, colB + 60, row3 + 50);
  sheet.view.PaneMouseMove(pane, 0, colB + 30, row3 + 20);
  sheet.view.PaneMouseUp(pane, TMouseButton::mbLeft, 0, colB + 10, row3 + 10);
  EXPECT_EQ(sheet.view.ObjectRect(1), (TRect{colB + 10, row3 + 10, colB + 60, row3 + 50}));

  // Scrolling moves the objects with their cells; the records stay.
  pane.SetLeftcol(1);
  EXPECT_EQ(sheet.view.ObjectRect(0).Left, 5);
  pane.SetLeftcol(0);

  // A click runs the macro; the dialog runs its lines together, cut to 255.
  sheet.view.EditObject(0, {"Total", {"{GOTO}A1~", std::string(300, 'x')}});
  EXPECT_EQ(sheet.view.Objects()[0].record.caption, "Total");
  EXPECT_EQ(sheet.view.Objects()[0].record.macro.size(), 255u);
  EXPECT_EQ(sheet.view.Objects()[0].record.macro.substr(0, 11), "{GOTO}A1~xx");
  sheet.view.ObjectClicked(0);
  EXPECT_TRUE(frame.Has("macro text {GOTO}A1~" + std::string(246, 'x')));
  // A graph box shows the graph named by its text.
  int box = sheet.view.CreateSheetObject("", "SALES", 120, 80, 0, 0, TSheetObjectKind::kGraphBox);
  sheet.view.ObjectClicked(box);
  EXPECT_TRUE(frame.Has("graph SALES"));
  // Moving re-anchors at the cell under the new top-left corner.
  sheet.view.ObjectMovedTo(1, TRect{colB + pane.ColWidth(1) + 2, row3, colB + pane.ColWidth(1) + 52, row3 + 40});
  EXPECT_EQ(sheet.view.Objects()[1].record.anchorCol, 2);
  EXPECT_EQ(sheet.view.Objects()[1].record.left, 2);

  // A deleted object is not saved; the others come back from the file.
  sheet.view.DeleteObject(1);
  TTempFolder temp;
  std::string path = temp.File("OBJECTS.WKS");
  ASSERT_TRUE(SaveWorksheet(path, false, TRange{})) << ErrorMessage();
  TSheetViewState saved;
  sheet.view.GetView(saved);
  ASSERT_EQ(saved.buttons.size(), 2u);
  TTestSheetWindow& reread = OpenWindow("REREAD.WKS");
  ASSERT_TRUE(LoadWorksheet(path, 0, 0, 0, "")) << ErrorMessage();
  ASSERT_EQ(reread.view.Objects().size(), 2u);
  EXPECT_EQ(reread.view.Objects()[0].record, saved.buttons[0]);
  EXPECT_EQ(reread.view.Objects()[1].record, saved.buttons[1]);

  // The document's macros refused when it was opened: the buttons that came
  // with the file run nothing and say why; one the user places, or gives a
  // macro of its own, runs.
  RefuseDocumentMacros(reread.view.Slot(), {});
  frame.log.clear();
  testing::ShownErrors().clear();
  reread.view.ObjectClicked(0);
  EXPECT_FALSE(frame.Has("macro text " + saved.buttons[0].macro));
  EXPECT_EQ(testing::ShownErrors(), std::vector<std::string>{std::string("Error:The macros of REREAD.WKS") + kMacrosOffText});
  int own = reread.view.CreateSheetObject("", "{BEEP}", 40, 20, 0, 0, TSheetObjectKind::kMacroButton);
  reread.view.ObjectClicked(own);
  EXPECT_TRUE(frame.Has("macro text {BEEP}"));
  reread.view.EditObject(1, {"Mine", {"{GOTO}B2~"}});
  reread.view.ObjectClicked(1);
  EXPECT_TRUE(frame.Has("macro text {GOTO}B2~"));
  EXPECT_EQ(testing::ShownErrors().size(), 1u);
}

// A character typed in a pane starts a new entry in the cursor cell, however
// the selection around it was made; only F2 goes on from the old contents.
TEST_F(SheetWindowTest, TypingStartsANewEntryWhateverIsSelected) {
  TTestSheetWindow& sheet = OpenWindow("TYPING.WKS");
  TGridModel& grid = sheet.Grid(1);
  testing::TFakeEntryView line;
  TEntryLine entry(line);
  frame.entryLine = &entry;
  auto point = [&](int row, int col) {
    TRect r = grid.CellRect(row, col);
    return TPoint{r.Left + 3, r.Top + 3};
  };
  auto click = [&](int row, int col, TShiftState shift) {
    TPoint p = point(row, col);
    grid.MouseDown(TMouseButton::mbLeft, shift, p.x, p.y);
    grid.MouseUp(TMouseButton::mbLeft, shift, p.x, p.y);
  };
  const struct {
    const char* how;
    std::function<void()> select;
    bool f2;
    int row;  // of the cursor, in column A
    const char* entered;
  } rows[] = {
      {"Shift+Down", [&] { Press(sheet, vk::Down, ssShift); }, false, 1, "9"},
      {"Shift+Up from A2",
       [&] {
         Press(sheet, vk::Down);
         Press(sheet, vk::Up, ssShift);
       },
       false, 0, "9"},
      {"click, Shift+click",
       [&] {
         click(0, 0, 0);
         click(1, 0, ssShift);
       },
       false, 1, "9"},
      {"drag",
       [&] {
         TPoint from = point(0, 0), to = point(1, 0);
         grid.MouseDown(TMouseButton::mbLeft, 0, from.x, from.y);
         grid.MouseMove(ssLeft, to.x, to.y);
         grid.MouseUp(TMouseButton::mbLeft, 0, to.x, to.y);
       },
       false, 1, "9"},
      {"a range a command's prompt left", [&] { WindowServices().SetGridSelection(testing::MakeRange(0, 0, 0, 1)); },
       false, 1, "9"},
      {"F2 after Shift+Down", [&] { Press(sheet, vk::Down, ssShift); }, true, 1, "3009"},
  };
  for (const auto& row : rows) {
    Enter(0, 0, "200");
    Enter(1, 0, "300");
    grid.MoveTo(0, 0);
    grid.CollapseSelection();
    row.select();
    TRange selection = grid.GetSelection();
    ASSERT_TRUE(selection.firstRow != selection.lastRow) << row.how << ": nothing selected";
    ASSERT_EQ(grid.CursorRow(), row.row) << row.how;
    if (row.f2) {
      Press(sheet, vk::F2);
      line.TypeChar('9');
      entry.TextChanged();
    } else {
      Type(sheet, "9");
    }
    EXPECT_EQ(line.text, row.entered) << row.how;
    EXPECT_TRUE(entry.EditExit()) << row.how;
    EXPECT_EQ(CellContentsText(CellFind(row.row, 0)), row.entered) << row.how;
    EXPECT_EQ(CellContentsText(CellFind(1 - row.row, 0)), row.row == 1 ? "200" : "300") << row.how;
  }
  frame.entryLine = nullptr;
}

// Ctrl counts only while it is down: after any Ctrl+movement key a letter with
// Alt is the menu's and a plain letter starts an entry; no later release of
// Ctrl starts a macro for them.
TEST_F(SheetWindowTest, ALetGoCtrlIsNoLongerHeld) {
  TTestSheetWindow& sheet = OpenWindow("CTRL.WKS");
  for (const char* name : {"\\D", "\\X", "\\A"}) ASSERT_NE(RangeNameCreate(name, testing::MakeRange(7, 20, 7, 20)), 0);
  auto ctrlTap = [&](int key) {
    int ctrl = vk::Control;
    sheet.view.PreviewKeyDown(ctrl, ssCtrl);
    if (key != 0) Press(sheet, key, ssCtrl);
    sheet.view.KeyUp(vk::Control, 0);
  };
  const std::pair<int, const char*> moves[] = {{vk::Home, "Home"},  {vk::End, "End"}, {vk::Left, "Left"},
                                               {vk::Right, "Right"}, {vk::Up, "Up"},   {vk::Down, "Down"},
                                               {vk::Prior, "PgUp"},  {vk::Next, "PgDn"}};
  for (const auto& [move, name] : moves) {
    for (int letter : {'D', 'X'}) {
      for (TShiftState shift : {TShiftState(ssAlt), TShiftState(0)}) {
        const std::string what = std::string("Ctrl+") + name + " then " + (shift != 0 ? "Alt+" : "") + char(letter);
        frame.log.clear();
        ctrlTap(move);
        if (shift != 0) {
          int alt = vk::Menu;
          sheet.view.PreviewKeyDown(alt, ssAlt);
        }
        Press(sheet, letter, shift);
        if (shift == 0) Type(sheet, std::string(1, static_cast<char>(letter + 32)));
        ctrlTap(0);
        for (const std::string& line : frame.log) EXPECT_EQ(line.rfind("command", 0), std::string::npos) << what;
        EXPECT_EQ(frame.Has(std::string("entry ") + static_cast<char>(letter + 32)), shift == 0) << what;
        EXPECT_FALSE(sheet.window.TimerRunning(kMacroTimer)) << what;
      }
    }
  }
  // Ctrl let go while another window has the keyboard.
  int ctrl = vk::Control;
  sheet.view.PreviewKeyDown(ctrl, ssCtrl);
  sheet.view.Deactivate();
  Activate(sheet);
  Press(sheet, 'A');
  ctrlTap(0);
  EXPECT_FALSE(sheet.window.TimerRunning(kMacroTimer));
  // Held, Ctrl+D is still the command and Ctrl+A the macro.
  frame.log.clear();
  ctrlTap('D');
  EXPECT_TRUE(frame.Has("command " + std::to_string(static_cast<int>(TFrameCommand::kEraseRange))));
  ctrlTap('A');
  EXPECT_TRUE(sheet.window.TimerRunning(kMacroTimer));
}

}  // namespace
}  // namespace corvane
