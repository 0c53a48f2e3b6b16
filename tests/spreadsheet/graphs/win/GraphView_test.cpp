// The graph window under Wine: it opens for a prepared sheet, draws again when
// a cell changes, zooms by a Ctrl-drag, opens element pages, answers its
// keys, offers pop-up menus with unique letters, and saves its picture by
// drawing it; one picture per graph type (and one of the window) is left in
// the build's pictures folder for a reader.
#include "spreadsheet/graphs/win/GraphView.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "classlib/win/Bitmap.h"
#include "spreadsheet/graphs/GraphDraw.h"
#include "spreadsheet/graphs/GraphViewModel.h"
#include "tests/spreadsheet/graphs/GraphTestSupport.h"
#include "tests/support/MenuLetters.h"
#include "tests/support/win/UiKit.h"

namespace corvane::testing {
namespace {

using namespace classlib;

// True when two bitmaps hold the same pixels.
bool SamePixels(TBitmap& a, TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    if (std::memcmp(a.ScanLine(y), b.ScanLine(y), static_cast<std::size_t>(a.Width() * a.BytesPerPixel())) != 0)
      return false;
  return true;
}

// A timer's work: presses OK in the save dialog once it is up.
BOOL CALLBACK AcceptIfDialog(HWND window, LPARAM found) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) != "#32770" || !IsWindowVisible(window)) return TRUE;
  PostMessageA(window, WM_COMMAND, IDOK, 0);
  *reinterpret_cast<bool*>(found) = true;
  return FALSE;
}
void CALLBACK AcceptSaveDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  bool found = false;
  EnumThreadWindows(GetCurrentThreadId(), AcceptIfDialog, reinterpret_cast<LPARAM>(&found));
  if (found) KillTimer(nullptr, timer);
}

// A right click on `box` at `p`, pressed and let go before the window paints
// again; the pop-up menu that opens is closed by a timer.
void RightClickAndCloseMenu(HWND box, TPoint p) {
  SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    EndMenu();
  });
  const LPARAM at = MAKELPARAM(p.x, p.y);
  PostMessageA(box, WM_RBUTTONDOWN, MK_RBUTTON, at);
  PostMessageA(box, WM_RBUTTONUP, 0, at);
  uikit::RunUntilIdle();
}

// The picture DrawGraph makes of the current graph at a size.
void DrawFresh(TBitmap& bitmap, const TFont& font) {
  bitmap.Canvas().Font = font;
  DrawGraph(bitmap.Canvas(), bitmap.Width(), bitmap.Height(), -1);
}

class GraphViewTest : public GraphTest {
 protected:
  void Prepare() {
    Column(0, {"Q1", "Q2", "Q3", "Q4"});
    Column(1, {"30", "45", "20", "60"});
    Column(2, {"25", "35", "40", "50"});
    TGraphRecord g = Graph(kGraphBar, 4, 2);
    g.SetLegend(1, "North");
    g.SetLegend(2, "South");
    g.SetHeading(1, "Sales");
    SetCurrentGraph(g);
  }
  int BarHeight(TGraphView& view, int series) {
    for (const auto& n : view.HitList().Nodes())
      if (n.id == series) return n.y2 - n.y1;
    return -1;
  }
};

TEST_F(GraphViewTest, OpensRedrawsZoomsOpensPagesAndSavesByDrawing) {
  Prepare();
  TGraphView view(nullptr);
  view.SetBounds(40, 40, 500, 360);
  std::vector<int> pages;
  view.OnOpenPage = [&](int code) { pages.push_back(code); };
  view.ShowGraph();
  uikit::RunUntilIdle();
  ASSERT_TRUE(view.Pbox1()->HandleAllocated());
  EXPECT_FALSE(view.ClosedFlag());
  EXPECT_FALSE(view.PlotRect().IsEmpty()) << "painted";
  int firstBar = BarHeight(view, 1);
  EXPECT_GT(firstBar, 0);

  // A cell changes: the window draws the new value.
  ASSERT_TRUE(EnterCell("5", 0, 1));
  view.GraphChanged();
  uikit::RunUntilIdle();
  EXPECT_LT(BarHeight(view, 1), firstBar);

  // The saved picture is drawn, not read off the screen: it equals a fresh
  // drawing even while the window is covered by another.
  TForm cover(nullptr, "cover");
  cover.SetBounds(40, 40, 500, 360);
  cover.Show();
  uikit::RunUntilIdle();
  const std::string file = "graph-view-test.bmp";
  std::string error;
  ASSERT_TRUE(view.DrawToBitmap(2, file, &error)) << error;
  TBitmap saved, fresh(view.Pbox1()->ClientWidth(), view.Pbox1()->ClientHeight());
  ASSERT_TRUE(saved.LoadFromFile(file, &error)) << error;
  DrawFresh(fresh, view.Pbox1()->Font());
  EXPECT_TRUE(SamePixels(saved, fresh));
  std::remove(file.c_str());
  cover.Hide();

  // "Save to &Bitmap" through the save dialog (its OK pressed by a timer):
  // the status line says "Saving " and the name, and the file is written.
  std::vector<std::string> status;
  view.OnStatus = [&](const std::string& text) { status.push_back(text); };
  SetTimer(nullptr, 0, 200, AcceptSaveDialog);
  for (int i = 0; i < view.PopupMenu1()->Items()->Count(); ++i)
    if (view.PopupMenu1()->Items()->Items(i)->Caption == "Save to &Bitmap") view.PopupMenu1()->Items()->Items(i)->Click();
  ASSERT_EQ(status.size(), 1u);
  EXPECT_EQ(status[0].rfind("Saving ", 0), 0u) << status[0];
  EXPECT_NE(status[0].find("Noname.bmp"), std::string::npos) << status[0];
  const std::string savedName = status[0].substr(7);
  EXPECT_TRUE(saved.LoadFromFile(savedName, &error)) << error;
  std::remove(savedName.c_str());

  // Shift-click on the legend opens the Legends page; clicking the same
  // element again deselects it and opens nothing.
  const auto& nodes = view.HitList().Nodes();
  auto legend = std::find_if(nodes.begin(), nodes.end(), [](const auto& n) { return n.id == 15; });
  ASSERT_NE(legend, nodes.end());
  int lx = (legend->x1 + legend->x2) / 2, ly = (legend->y1 + legend->y2) / 2;
  HWND box = view.Pbox1()->Handle();
  // The pop-up menus' letters are unique, with and without a selection
  // (the first item names it).
  RightClickAndCloseMenu(box, {lx, ly});
  EXPECT_EQ(view.PopupMenu1()->Items()->Items(0)->Caption, "No Selection");
  EXPECT_EQ(testsupport::MenuLetterFaults(*view.PopupMenu1()->Items(), "pop-up"), std::vector<std::string>{});
  EXPECT_EQ(testsupport::MenuLetterFaults(*view.PopupMenu2()->Items(), "zoom pop-up"), std::vector<std::string>{});
  uikit::Click(box, {lx, ly}, TMouseButton::mbLeft, ssShift);
  EXPECT_EQ(pages, std::vector<int>{kGraphPageLegends});
  // The selection lasts through the window's paintings until the user
  // changes it or the graph changes.
  auto paint = [box] {
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    uikit::RunUntilIdle();
  };
  paint();
  RightClickAndCloseMenu(box, {lx, ly});
  EXPECT_EQ(view.PopupMenu1()->Items()->Items(0)->Caption, "&Attributes (15)") << "selected after a painting";
  EXPECT_EQ(testsupport::MenuLetterFaults(*view.PopupMenu1()->Items(), "pop-up"), std::vector<std::string>{});
  view.ClickElement(lx, ly);
  EXPECT_EQ(pages.size(), 1u) << "a second click on the selected legend deselects it and opens nothing";
  paint();
  RightClickAndCloseMenu(box, {lx, ly});
  EXPECT_EQ(view.PopupMenu1()->Items()->Items(0)->Caption, "No Selection");
  view.ClickElement(lx, ly);
  EXPECT_EQ(pages.size(), 2u);
  paint();
  view.GraphChanged();
  paint();
  RightClickAndCloseMenu(box, {lx, ly});
  EXPECT_EQ(view.PopupMenu1()->Items()->Items(0)->Caption, "No Selection") << "the graph changed";

  // Ctrl-drag over the left half of the plot: both scales become manual and
  // the X span halves.
  TRect plot = view.PlotRect();
  TGraphRecord xy = Graph(kGraphXy, 4, 1);
  Column(0, {"0", "10", "20", "40"});
  SetCurrentGraph(xy);
  view.GraphChanged();
  uikit::RunUntilIdle();
  plot = view.PlotRect();
  uikit::SaveWindowPicture(view.Handle(), "graph-view");
  uikit::MouseDown(box, {plot.Left, plot.Top}, TMouseButton::mbLeft, ssCtrl);
  uikit::MouseMove(box, {plot.Left + plot.Width() / 2, plot.Bottom}, ssCtrl | ssLeft);
  uikit::MouseUp(box, {plot.Left + plot.Width() / 2, plot.Bottom}, TMouseButton::mbLeft, ssCtrl);
  TGraphRecord zoomed = CurrentGraph();
  EXPECT_TRUE(zoomed.XManual() && zoomed.YManual());
  EXPECT_NEAR(zoomed.XLower(), 0, 0.2);
  EXPECT_NEAR(zoomed.XUpper(), 20, 0.2);
  uikit::RunUntilIdle();
  view.ZoomMenu(2);  // "&All"
  EXPECT_EQ(CurrentGraph().XUpper(), 40);

  // A named graph in view (as a graph box shows it): "&All" and "&Reset" act
  // on that graph and leave the current one alone; showing the current graph
  // (as Quick Graph does) draws that one again.
  const TGraphRecord current = CurrentGraph();
  TGraphRecord named = Graph(kGraphXy, 3, 1);
  SetCurrentGraph(named);
  const int index = GraphStore("BOX");
  ASSERT_GT(index, 0);
  ASSERT_TRUE(GraphRecordAt(index, named));
  SetCurrentGraph(current);
  view.ShowGraph(index);
  uikit::RunUntilIdle();
  view.ZoomMenu(2);
  TGraphRecord shown;
  ASSERT_TRUE(GraphRecordAt(index, shown));
  EXPECT_EQ(shown.XUpper(), 20);
  EXPECT_EQ(CurrentGraph(), current);
  view.ZoomMenu(3);  // "&Reset"
  ASSERT_TRUE(GraphRecordAt(index, shown));
  EXPECT_EQ(shown, named);
  EXPECT_EQ(CurrentGraph(), current);
  view.ShowGraph(-1);
  uikit::RunUntilIdle();
  EXPECT_EQ(view.GraphIndex, -1);
  view.ZoomMenu(3);
  EXPECT_EQ(CurrentGraph(), current) << "Reset goes back to the graph as the window showed it";

  // Shift+A turns 3D pies and keeps the window; a plain key closes it.
  double rotation = Graph3DRotation();
  uikit::PressKey(box, 'A', ssShift);
  EXPECT_GT(Graph3DRotation(), rotation);
  SetGraph3DRotation(rotation);
  EXPECT_TRUE(view.Visible());
  uikit::PressKey(box, 'X');
  EXPECT_FALSE(view.Visible());
  EXPECT_TRUE(view.ClosedFlag());
}

TEST_F(GraphViewTest, OnePicturePerTypeInTheBuildFolder) {
  Column(0, {"1", "2", "3", "4", "5", "6"});
  Column(1, {"12", "30", "22", "41", "18", "27"});
  Column(2, {"20", "15", "25", "35", "30", "22"});
  Column(3, {"8", "12", "16", "22", "10", "14"});
  Column(4, {"30", "36", "28", "45", "40", "33"});
  TGraphView view(nullptr);
  view.SetBounds(0, 0, 640, 400);
  view.Show();
  uikit::RunUntilIdle();
  for (int type = 0; type <= kGraphStack3D; ++type) {
    SCOPED_TRACE(type);
    TGraphRecord g = Graph(type, 6, type == kGraphHilo ? 4 : 3);
    if (type == kGraphContour) g.SetXRange(MakeRange(1, 0, 4, 5));
    if (type == kGraphPie || type == kGraphPie3D || type == kGraphDonut3D) {
      g.SetSeriesRange(2, TRange{});
      g.SetSeriesRange(3, TRange{});
    }
    if (type == kGraphRadar || type == kGraphPolar) g.SetOptions(0x03);
    g.SetHeading(1, "Graph type " + std::to_string(type));
    g.SetHeading(3, "X axis");
    g.SetHeading(4, "Y axis");
    for (int s = 1; s <= 4; ++s) g.SetLegend(s, "Series " + std::to_string(s));
    SetCurrentGraph(g);
    std::string file = "graph-type.bmp", error;
    ASSERT_TRUE(view.DrawToBitmap(2, file, &error)) << error;
    TBitmap picture;
    ASSERT_TRUE(picture.LoadFromFile(file, &error)) << error;
    EXPECT_NE(uikit::SavePicture(picture, "graph-type-" + std::to_string(type)), "");
    // Something besides the background was drawn in the middle of the picture.
    std::set<TColor> colors;
    for (int y = picture.Height() / 4; y < picture.Height() * 3 / 4; y += 3)
      for (int x = picture.Width() / 4; x < picture.Width() * 3 / 4; x += 3) colors.insert(picture.Canvas().GetPixel(x, y));
    EXPECT_GE(colors.size(), 3u);
  }
  std::remove("graph-type.bmp");
  std::printf("graph pictures: %s\n", uikit::PicturesFolder().c_str());
}

}  // namespace
}  // namespace corvane::testing
