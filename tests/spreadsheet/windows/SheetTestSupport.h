// Sheet windows on recording hosts, a main frame that records what it is
// asked, and the one fixture that installs the program's seams with fakes
// (the same way the program's start-up installs the real ones) around a
// fresh engine.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "classlib/RecordingControlHost.h"
#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/PagePool.h"
#include "spreadsheet/windows/ProgramSeams.h"
#include "spreadsheet/windows/SheetView.h"
#include "spreadsheet/windows/SheetViews.h"
#include "tests/spreadsheet/controls/GridFixture.h"
#include "tests/spreadsheet/engine/EngineTestSupport.h"
#include "tests/spreadsheet/windows/RecordingFrame.h"

namespace corvane::testing {

// One sheet window's parts on recording hosts, laid out like the window.
struct TTestSheetWindow {
  struct TPane {
    classlib::TRecordingControlHost cells{400, 300}, colHost, rowHost, barHost;
    THeaderModel colHeader{colHost}, rowHeader{rowHost};
    TScrollBarModel bar{barHost};
    TGridModel grid{cells, colHeader, rowHeader, bar};
    TPane() { HostsFollowLayout(grid, colHost, rowHost, barHost, cells, bar); }
  };
  TPane pane1, pane2;
  classlib::TRecordingControlHost tabHost{600, 26}, scrollHost{300, 18}, window{640, 426};
  TTabBarModel tabs{tabHost};
  TScrollBarModel scroll{scrollHost};
  TSheetView view;

  explicit TTestSheetWindow(TSheetViews& views)
      : view(TSheetParts{pane1.grid, pane2.grid, tabs, scroll, window}, views) {
    view.PlaceParts = [this](const TSheetLayout& l) {
      pane1.grid.LayoutChildren(l.pane1.Width(), l.pane1.Height());
      pane2.grid.LayoutChildren(l.pane2.Width(), l.pane2.Height());
      scrollHost.Resize(l.scroll.Width(), l.scroll.Height());
      scroll.Layout();
    };
    view.Resize(640, 426);
  }
  TGridModel& Grid(int number) { return number == 2 ? pane2.grid : pane1.grid; }
  classlib::TRecordingControlHost& Cells(int number) { return number == 2 ? pane2.cells : pane1.cells; }
  // Paints pane `number` on a fresh canvas (the rows it draws are painted).
  classlib::TRecordingCanvas Paint(int number = 1) {
    classlib::TRecordingCanvas canvas(640, 400);
    Grid(number).PaintCells(canvas);
    return canvas;
  }
};

std::vector<std::string>& ShownErrors();

// A fresh engine and the program's seams with fakes: the recording frame
// behind the real window services over the test's sheet windows.
class SheetWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GridSettings() = TGridSettings{};
    ShownErrors().clear();
    TProgramSeams seams;
    seams.windows = &views.Services();
    seams.platform = &platform;
    seams.showError = [](std::string_view message) { ShownErrors().emplace_back(message); };
    InstallProgramSeams(seams);
    FreeAllDocuments();
    PoolInit(std::uint64_t{kPoolMaxCapacity} * kPageBytes);
    gCurrentDoc.settings = TSheetSettings{};
    ClearErrorFlag();
  }
  void TearDown() override {
    windows.clear();
    FreeAllDocuments();
    PoolFreeAll();
    RemoveProgramSeams();
  }

  // A new window on `name` (untitled when empty), made the active one.
  TTestSheetWindow& OpenWindow(const std::string& name) {
    auto& window = *windows.emplace_back(std::make_unique<TTestSheetWindow>(views));
    EXPECT_TRUE(window.view.Open(name.empty() ? "SHEET" + std::to_string(windows.size()) + ".WKS" : name,
                                 name.empty()))
        << ErrorMessage();
    Activate(window);
    return window;
  }
  void Activate(TTestSheetWindow& window) {
    if (TSheetView* active = views.Active(); active != nullptr && active != &window.view) active->Deactivate();
    window.view.Activate();
  }
  void Close(TTestSheetWindow& window) {
    for (auto it = windows.begin(); it != windows.end(); ++it)
      if (it->get() == &window) {
        windows.erase(it);
        return;
      }
  }
  void Enter(int row, int col, const std::string& text) {
    ASSERT_TRUE(EnterCell(text, row, col)) << text << ": " << ErrorMessage();
  }
  // A key pressed in the active window: the window's preview, then the pane
  // (which hands what it leaves to the window), then the release.
  void Press(TTestSheetWindow& window, int key, classlib::TShiftState shift = 0) {
    int k = key;
    window.view.PreviewKeyDown(k, shift);
    if (k != 0) window.view.ActivePane().KeyDown(k, shift);
    window.view.KeyUp(key, shift);
  }
  void Type(TTestSheetWindow& window, const std::string& text) {
    for (char c : text) {
      char ch = c;
      window.view.KeyPress(ch);
    }
  }

  TFakePlatform platform;
  TRecordingFrame frame;
  TSheetViews views{frame};
  std::vector<std::unique_ptr<TTestSheetWindow>> windows;
};

inline std::vector<std::string>& ShownErrors() {
  static std::vector<std::string> shown;
  return shown;
}

}  // namespace corvane::testing
