// Sheet windows in an MDI frame under Wine, driven by real key and mouse
// messages: a document of every kind of cell, the cursor, End and F5, typed
// characters, the Ctrl+letter macro, the mouse, which rows a change repaints,
// a split with the panes scrolled apart, a second window on the document that
// follows a change made through the first, closing; and a picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "classlib/win/Bitmap.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/windows/MenuLayout.h"
#include "spreadsheet/windows/win/SheetWindow.h"
#include "tests/spreadsheet/windows/PreparedSheet.h"
#include "tests/spreadsheet/windows/SheetTestSupport.h"
#include "tests/support/win/UiKit.h"

namespace corvane::testing {
namespace {

using namespace classlib;

class SheetWindowWinTest : public SheetWindowTest {
 protected:
  void SetUp() override {
    SheetWindowTest::SetUp();
    platform.tickStep = 10;
    views.fontList = {"Arial", "Courier New", "Times New Roman"};
    frameForm.FormStyle = TFormStyle::fsMDIForm;
    frameForm.Position = TPosition::poDesigned;
    frameForm.SetBounds(0, 0, 1000, 720);
    frameForm.Show();
    uikit::RunUntilIdle();
  }
  void TearDown() override {
    for (TForm2* form : gForms) delete form;
    gForms.clear();
    SheetWindowTest::TearDown();
  }
  TForm2& Open(const std::string& name) {
    TForm2* form = CreateSheetWindow(frameForm, views, name, false);
    EXPECT_NE(form, nullptr);
    gForms.push_back(form);
    uikit::RunUntilIdle();
    return *form;
  }
  static HWND Cells(TForm2& form, int pane = 1) { return (pane == 2 ? form.Grid2 : form.Grid1).CellPanel().Handle(); }
  // Records the rows a pane paints, still painting them.
  void RecordRows(TForm2& form, std::set<int>& rows, int pane = 1) {
    TGridModel& grid = (pane == 2 ? form.Grid2 : form.Grid1).Model();
    auto paint = grid.OnDrawRow;
    grid.OnDrawRow = [paint, &rows](TGridModel& g, TCanvas& canvas, int row, int cols, int cole, bool flag) {
      rows.insert(row);
      paint(g, canvas, row, cols, cole, flag);
    };
  }

  TForm frameForm{nullptr, "Corvane"};
  static inline std::vector<TForm2*> gForms;
};

TEST_F(SheetWindowWinTest, ASheetWindowEndToEnd) {
  TForm2& first = Open("PREPARED.WKS");
  ASSERT_EQ(views.Active(), &first.View());
  ASSERT_TRUE(PrepareShowcaseSheet()) << ErrorMessage();
  ASSERT_NE(RangeNameCreate("\\G", MakeRange(2, 40, 2, 40)), 0);
  views.Services().RepaintSheet(views.Services().ActiveSheet());
  TGridModel& grid = first.Grid1.Model();
  uikit::RunUntilIdle();
  ASSERT_TRUE(first.Grid1.CellPanel().Focused());

  // The cursor moves with the arrows; End then Right jumps to the block's end.
  uikit::PressKey(Cells(first), VK_DOWN);
  uikit::PressKey(Cells(first), VK_DOWN);
  EXPECT_EQ(grid.CursorRow(), 2);
  uikit::PressKey(Cells(first), VK_END);
  EXPECT_TRUE(frame.endMode);
  uikit::PressKey(Cells(first), VK_RIGHT);
  EXPECT_EQ(grid.CursorCol(), 7);
  EXPECT_FALSE(frame.endMode);
  // F5 then Enter goes to what the prompt line holds.
  uikit::PressKey(Cells(first), VK_F5);
  frame.promptText = "B9";
  uikit::PressKey(Cells(first), VK_RETURN);
  EXPECT_EQ(std::make_pair(grid.CursorRow(), grid.CursorCol()), std::make_pair(8, 1));
  // Typed characters go to the entry line.
  frame.log.clear();
  uikit::TypeChars(Cells(first), "=5");
  EXPECT_EQ(frame.log, (std::vector<std::string>{"entry =", "entry 5"}));
  // Ctrl+G released runs the macro named \G through the window's timer.
  PostMessageA(Cells(first), WM_KEYDOWN, VK_CONTROL, 1);
  uikit::RunUntilIdle();
  uikit::PressKey(Cells(first), 'G', ssCtrl);
  PostMessageA(Cells(first), WM_KEYUP, VK_CONTROL, static_cast<LPARAM>(0xC0000001u));
  EXPECT_TRUE(uikit::RunUntil([&] { return frame.runMacroRow == 40; }));
  EXPECT_EQ(frame.runMacroCol, 2);
  // A click moves the cursor; a right click asks for the pop-up menu.
  TRect cell = grid.CellRect(5, 2);
  uikit::Click(Cells(first), {cell.Left + 5, cell.Top + 5});
  EXPECT_EQ(std::make_pair(grid.CursorRow(), grid.CursorCol()), std::make_pair(5, 2));
  uikit::Click(Cells(first), {cell.Left + 5, cell.Top + 5}, TMouseButton::mbRight);
  EXPECT_TRUE(frame.Has("pane menu"));

  // A picture of the prepared sheet with the cursor on C6.
  grid.MoveTo(1, 2);
  uikit::RunUntilIdle();
  TBitmap picture;
  ASSERT_TRUE(uikit::CaptureClient(first.Handle(), picture));
  uikit::SavePicture(picture, "sheet-window");
  const TRect cells = first.Grid1.CellPanel().BoundsRect();
  const TRect cursor = grid.CellRect(1, 2).Offset(cells.Left, cells.Top);
  TColor cursorFill = gCurrentDoc.settings.cursorColour & 0xFFFFFF;
  EXPECT_GT(uikit::CountColor(picture, cursorFill, cursor), cursor.Width() * cursor.Height() / 2);
  // The selection (C3..C6) is red; the spilling note reaches into it.
  const TRect selected = grid.CellRect(3, 2).Offset(cells.Left, cells.Top);
  EXPECT_GT(uikit::CountColor(picture, kSelectionFill, selected), selected.Width() * selected.Height() / 2);

  // A cursor move repaints its two rows; a redrawn cell its row; an entry
  // the pane.
  std::set<int> painted;
  RecordRows(first, painted);
  grid.CollapseSelection();
  first.View().Repaint();
  uikit::RunUntilIdle();
  painted.clear();
  uikit::PressKey(Cells(first), VK_DOWN);
  uikit::RunUntilIdle();
  EXPECT_EQ(painted, (std::set<int>{1, 2}));
  painted.clear();
  first.View().RedrawRange(TRange{0, 6, 0, 6});
  EXPECT_EQ(painted, (std::set<int>{6}));
  painted.clear();
  ASSERT_TRUE(EnterCell("50", 2, 0));
  uikit::RunUntilIdle();
  EXPECT_GE(static_cast<int>(painted.size()), grid.Nrows());

  // Split below row 4, pane 2 scrolled far away while pane 1 stays.
  first.View().SplitHorizontal(4);
  uikit::RunUntilIdle();
  ASSERT_EQ(first.View().Split(), TSplit::kAbove);
  ASSERT_GT(first.Grid2.Height(), 0);
  first.Grid2.Model().MoveTo(500, 30);
  uikit::RunUntilIdle();
  EXPECT_EQ(grid.Toprow(), 0);
  EXPECT_GT(first.Grid2.Model().Toprow(), 400);
  uikit::SaveWindowPicture(first.Handle(), "sheet-window-split");

  // A second window on the document: a change made through the first
  // repaints it.
  TForm2& second = Open("PREPARED.WKS");
  EXPECT_EQ(second.View().Slot(), first.View().Slot());
  SendMessageA(frameForm.ClientHandle(), WM_MDITILE, MDITILE_VERTICAL, 0);
  std::set<int> secondRows;
  RecordRows(second, secondRows);
  uikit::RunUntilIdle();
  frameForm.MDIActivate(&first);
  uikit::RunUntilIdle();
  ASSERT_EQ(views.Active(), &first.View());
  secondRows.clear();
  ASSERT_TRUE(EnterCell("'changed", 1, 0));
  views.Services().RepaintSheet(views.Services().ActiveSheet());
  uikit::RunUntilIdle();
  EXPECT_TRUE(secondRows.count(1)) << "the other window shows the change";
  EXPECT_EQ(CurrentDocSlot(), first.View().Slot());

  // Closing one of the two asks nothing; the last asks and may say No.
  views.Services().MarkSheetModified(views.Services().ActiveSheet());
  frame.answer = TSaveAnswer::kNo;
  second.Close();
  uikit::RunUntilIdle();
  gForms.erase(std::find(gForms.begin(), gForms.end(), &second));
  EXPECT_EQ(views.Count(), 1);
  EXPECT_FALSE(frame.Has("ask save PREPARED.WKS"));
  first.Close();
  uikit::RunUntilIdle();
  gForms.clear();
  EXPECT_TRUE(frame.Has("ask save PREPARED.WKS"));
  EXPECT_EQ(views.Count(), 0);
}

// End, Home from column N jumps to column IV: what lies right of it is the
// background, with nothing left of the columns shown before.
TEST_F(SheetWindowWinTest, TheAreaRightOfColumnIVIsBlankAfterAJumpThere) {
  TForm2& form = Open("WIDE.WKS");
  for (int row = 0; row < 40; ++row) ASSERT_TRUE(EnterCell("'NNNNNNNNNNNN", row, 13));
  ASSERT_TRUE(EnterCell("'end", 39, 255));
  TGridModel& grid = form.Grid1.Model();
  grid.MoveTo(0, 13);
  views.Services().RepaintSheet(views.Services().ActiveSheet());
  uikit::RunUntilIdle();
  RECT client;
  GetClientRect(Cells(form), &client);
  ASSERT_LT(grid.CellRect(0, 13).Right, client.right) << "column N is in view";

  uikit::PressKey(Cells(form), VK_END);
  uikit::PressKey(Cells(form), VK_HOME);
  uikit::RunUntilIdle();
  ASSERT_EQ(grid.CursorCol(), 255);
  TBitmap picture;
  ASSERT_TRUE(uikit::CaptureClient(form.Handle(), picture));
  uikit::SavePicture(picture, "sheet-window-column-iv");
  const TRect cells = form.Grid1.CellPanel().BoundsRect();
  const TRect iv = grid.CellRect(grid.Toprow(), 255);
  const TRect right = TRect{iv.Right, iv.Top, client.right, client.bottom}.Offset(cells.Left, cells.Top);
  ASSERT_GT(right.Width(), 0);
  EXPECT_EQ(uikit::CountColor(picture, clWhite, right), right.Width() * right.Height());
}

// The key text a menu item shows after its tab ("Ctrl+Z", "Shift+F10") as a
// key and its modifiers; false for text this parser does not know.
bool ShownKey(const std::string& caption, int& vk, TShiftState& shift) {
  const std::size_t tab = caption.find('\t');
  if (tab == std::string::npos) return false;
  std::string rest = caption.substr(tab + 1);
  shift = 0;
  for (const auto& [name, bit] : {std::pair{"Ctrl+", ssCtrl}, std::pair{"Shift+", ssShift}}) {
    if (rest.rfind(name, 0) != 0) continue;
    shift |= bit;
    rest = rest.substr(std::string(name).size());
  }
  if (rest.size() == 1) {
    vk = rest[0];
    return true;
  }
  if (rest.size() >= 2 && rest[0] == 'F') {
    vk = VK_F1 + std::stoi(rest.substr(1)) - 1;
    return true;
  }
  return false;
}

void CollectShownKeys(const std::vector<TMenuSpec>& specs, std::vector<std::string>& out) {
  for (const TMenuSpec& spec : specs) {
    if (spec.caption.find('\t') != std::string::npos) out.push_back(spec.caption);
    CollectShownKeys(spec.items, out);
  }
}

// Every key the menus show after an item runs a command from a sheet
// window, pressed as the keyboard sends it.
TEST_F(SheetWindowWinTest, EveryKeyTheMenusShowRunsACommand) {
  TForm2& sheet = Open("PREPARED.WKS");
  std::vector<std::string> shown;
  CollectShownKeys(MainMenuSpec(), shown);
  CollectShownKeys(PanePopupSpec(), shown);
  ASSERT_FALSE(shown.empty());
  for (const std::string& caption : shown) {
    int vk = 0;
    TShiftState shift = 0;
    ASSERT_TRUE(ShownKey(caption, vk, shift)) << caption;
    frame.log.clear();
    if (shift & ssCtrl) PostMessageA(Cells(sheet), WM_KEYDOWN, VK_CONTROL, 1);
    uikit::PressKey(Cells(sheet), vk, shift);
    if (shift & ssCtrl) PostMessageA(Cells(sheet), WM_KEYUP, VK_CONTROL, static_cast<LPARAM>(0xC0000001u));
    uikit::RunUntilIdle();
    const auto commands = std::count_if(frame.log.begin(), frame.log.end(),
                                        [](const std::string& line) { return line.rfind("command ", 0) == 0; });
    EXPECT_EQ(commands, 1) << caption;
  }
}

TEST_F(SheetWindowWinTest, ObjectsOnTheSheet) {
  TForm2& form = Open("OBJECTS.WKS");
  TGridModel& grid = form.Grid1.Model();
  TRect b2 = grid.CellRect(1, 1);
  // User Button, then a drag on the pane: a button over the rubber rectangle.
  form.View().SetPlacing(true);
  uikit::MouseDown(Cells(form), {b2.Left + 4, b2.Top + 2});
  uikit::MouseMove(Cells(form), {b2.Left + 60, b2.Top + 20});
  uikit::MouseUp(Cells(form), {b2.Left + 84, b2.Top + 26});
  uikit::RunUntilIdle();
  TMbtn* button = form.ObjectWindows().Window(0);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->BoundsRect(), (TRect{b2.Left + 4, b2.Top + 2, b2.Left + 84, b2.Top + 26}));
  EXPECT_EQ(form.View().Objects()[0].record.caption, "B2");
  // The dialog edits caption and macro; a click runs the macro.
  uikit::RunInsideModal([] {
    auto* dialog = dynamic_cast<TBtndlg*>(TWinControl::FromHandle(GetActiveWindow()));
    ASSERT_NE(dialog, nullptr);
    uikit::SaveWindowPicture(dialog->Handle(), "user-button-dialog");
    dialog->Edit1.SetText("Go");
    dialog->Memo1.SetLines({"{HOME}", "~"});
    uikit::Click(dialog->OkButton.Handle(), {8, 8});
  });
  uikit::PostClick(button->Handle(), {5, 5});
  PostMessageA(button->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  uikit::RunUntilIdle();
  EXPECT_EQ(form.View().Objects()[0].record.caption, "Go");
  frame.log.clear();
  uikit::Click(button->Handle(), {5, 5});
  EXPECT_TRUE(frame.Has("macro text {HOME}~"));
  // While User Button is on, a drag from inside moves the button to a new
  // anchor and one from its right edge widens it.
  form.View().SetPlacing(true);
  uikit::MouseDown(button->Handle(), {20, 10});
  uikit::MouseMove(button->Handle(), {20 + grid.ColWidth(1), 10});
  uikit::MouseUp(button->Handle(), {20 + grid.ColWidth(1), 10});
  EXPECT_EQ(form.View().Objects()[0].record.anchorCol, 2);
  int width = button->Width();
  uikit::MouseDown(button->Handle(), {width - 2, 10});
  uikit::MouseMove(button->Handle(), {width + 28, 10});
  uikit::MouseUp(button->Handle(), {width + 28, 10});
  EXPECT_EQ(button->Width(), width + 30);
  form.View().SetPlacing(false);
  // A graph box whose graph does not exist shows green.
  form.View().CreateSheetObject("", "NOSUCH", 120, 60, b2.Left, grid.CellRect(4, 1).Top, TSheetObjectKind::kGraphBox);
  uikit::RunUntilIdle();
  TBitmap picture;
  ASSERT_TRUE(uikit::CaptureClient(form.Handle(), picture));
  uikit::SavePicture(picture, "sheet-objects");
  TRect box = form.ObjectWindows().Window(1)->BoundsRect().Offset(form.Grid1.CellPanel().BoundsRect().Left,
                                                                     form.Grid1.CellPanel().BoundsRect().Top);
  EXPECT_GT(uikit::CountColor(picture, RGB(0, 128, 0), box), box.Width() * box.Height() / 2);
  // Delete on the focused button takes it off the sheet.
  uikit::PressKey(button->Handle(), VK_DELETE);
  EXPECT_FALSE(IsWindowVisible(button->Handle()));
  TSheetViewState view;
  form.View().GetView(view);
  EXPECT_EQ(view.buttons.size(), 1u);
  form.View().MarkModified();
  frame.answer = TSaveAnswer::kNo;
}

}  // namespace
}  // namespace corvane::testing
