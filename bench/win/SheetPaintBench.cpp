// A sheet window under Wine: a maximised window of formatted cells in a
// 1024 x 768 frame painted whole, and scrolled by one row (Down from the last
// row in view, which copies the cells and paints the rows uncovered). Prints
// rows painted and milliseconds per paint or scroll. Run it with the win64
// tree built:
//   tools/wine-run build/win64/wine build/win64/bin/sheet_paint_bench.exe
#include <cstdio>

#include "bench/win/PaintTiming.h"
#include "classlib/win/Application.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/PagePool.h"
#include "spreadsheet/windows/win/ProgramSeamsWin.h"
#include "spreadsheet/windows/win/SheetWindow.h"
#include "tests/spreadsheet/windows/PreparedSheet.h"
#include "tests/spreadsheet/windows/RecordingFrame.h"
#include "tests/support/win/UiKit.h"

using namespace classlib;
using namespace corvane;

int main() {
  constexpr int kRounds = 100;
  testing::TRecordingFrame frame;
  TSheetViews views(frame);
  views.fontList = {"Arial", "Courier New", "Times New Roman"};
  InstallWindowsProgramSeams(views.Services(), nullptr, nullptr);
  PoolInit(std::uint64_t{kPoolMaxCapacity} * kPageBytes);

  TForm mdiFrame(nullptr, "Sheet paint benchmark");
  mdiFrame.FormStyle = TFormStyle::fsMDIForm;
  mdiFrame.Position = TPosition::poDesigned;
  mdiFrame.SetBounds(0, 0, 1024, 768);
  mdiFrame.Show();
  uikit::RunUntilIdle();
  TForm2* sheet = CreateSheetWindow(mdiFrame, views, "BENCH.WKS", false);
  if (sheet == nullptr) return 1;
  SendMessageA(mdiFrame.ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(sheet->Handle()), 0);
  testing::FillFormattedBlock(200, 20);
  uikit::RunUntilIdle();

  TGridModel& model = sheet->Grid1.Model();
  long rows = 0;
  auto paint = model.OnDrawRow;
  model.OnDrawRow = [&](TGridModel& g, TCanvas& canvas, int row, int cols, int cole, bool flag) {
    ++rows;
    paint(g, canvas, row, cols, cole, flag);
  };
  HWND cells = sheet->Grid1.CellPanel().Handle();
  std::printf("cell area %d x %d pixels, %d rows and %d columns in view\n", sheet->Grid1.CellPanel().ClientWidth(),
              sheet->Grid1.CellPanel().ClientHeight(), model.Nrows(), model.Ncols());

  bench::TimePaints("full window:", cells, rows, kRounds, [&] { InvalidateRect(cells, nullptr, FALSE); });
  model.MoveTo(model.Toprow() + model.Nrows(), 0);
  uikit::RunUntilIdle();
  bench::TimePaints("one-row scroll (Down):", cells, rows, kRounds, [&] {
    int key = VK_DOWN;
    model.KeyDown(key, 0);
  });
  delete sheet;
  FreeAllDocuments();
  PoolFreeAll();
  return 0;
}
