// The row painter's decisions natively: the look of one cell (its text by
// kind and format, alignment and colours), and a whole row painted on a
// canvas that measures text but draws nothing, over a sheet of formatted
// cells. Prints nanoseconds per cell.
#include <chrono>
#include <cstdio>

#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/PagePool.h"
#include "spreadsheet/windows/CellPainter.h"
#include "tests/spreadsheet/windows/PreparedSheet.h"

namespace {

using namespace corvane;
using namespace classlib;
using Clock = std::chrono::steady_clock;

constexpr int kRows = 60;
constexpr int kCols = 16;
constexpr int kColWidth = 64;
constexpr int kRounds = 200;

// Draws nothing; every character is 7 pixels wide.
class TNullCanvas final : public TCanvas {
 public:
  void MoveTo(int x, int y) override { penPos_ = {x, y}; }
  void LineTo(int x, int y) override { penPos_ = {x, y}; }
  void Polyline(std::span<const TPoint>) override {}
  void Rectangle(const TRect&) override {}
  void Ellipse(const TRect&) override {}
  void Polygon(std::span<const TPoint>) override {}
  void Arc(const TRect&, TPoint, TPoint) override {}
  void Pie(const TRect&, TPoint, TPoint) override {}
  void Chord(const TRect&, TPoint, TPoint) override {}
  void FillRect(const TRect&) override {}
  void FrameRect(const TRect&) override {}
  void InvertRect(const TRect&) override {}
  void DrawFocusRect(const TRect&) override {}
  void TextOut(int, int, std::string_view) override {}
  void TextRect(const TRect&, int, int, std::string_view) override {}
  TSize TextExtent(std::string_view text) override { return {static_cast<int>(text.size()) * 7, 14}; }
  void SetClipRect(const TRect&) override {}
  void ExcludeClipRect(const TRect&) override {}
  void RemoveClip() override {}
  void CopyRect(const TRect&, TCanvas&, const TRect&) override {}
  TColor GetPixel(int, int) override { return clWhite; }
  void SetPixel(int, int, TColor) override {}
};

double NanosecondsPerCell(Clock::time_point start) {
  return std::chrono::duration<double, std::nano>(Clock::now() - start).count() / (kRounds * kRows * kCols);
}

}  // namespace

int main() {
  PoolInit(std::uint64_t{kPoolMaxCapacity} * kPageBytes);
  int slot = 0;
  if (RegisterOpenSheet("BENCH.WKS", slot) != TOpenResult::kNew || !ActivateDocumentContext(slot)) return 1;
  testing::FillFormattedBlock(kRows, kCols);
  TRowPaintContext context;
  context.settings = &gCurrentDoc.settings;
  context.selection = {2, 2, 5, 8};
  context.cursorRow = 8;
  context.cursorCol = 5;
  context.cellRect = [](int col) { return Bounds(col * kColWidth, 0, kColWidth, 15); };

  long shown = 0;
  auto start = Clock::now();
  for (int round = 0; round < kRounds; ++round)
    for (int row = 0; row < kRows; ++row)
      for (int col = 0; col < kCols; ++col)
        shown += static_cast<long>(DecideCellLook(CellPtr(CellFind(row, col)), context, row, col, 9).text.size());
  std::printf("cell look (text, alignment, colours): %7.1f ns per cell  (%ld characters)\n", NanosecondsPerCell(start),
              shown);

  TNullCanvas canvas;
  start = Clock::now();
  for (int round = 0; round < kRounds; ++round)
    for (int row = 0; row < kRows; ++row) PaintCellRow(canvas, context, row, 0, kCols - 1);
  std::printf("row painted on a null canvas:         %7.1f ns per cell  (%d rows of %d cells)\n",
              NanosecondsPerCell(start), kRows, kCols);
  FreeAllDocuments();
  PoolFreeAll();
  return 0;
}
