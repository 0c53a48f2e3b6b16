// The installed window services and the stand-in used while no sheet window
// exists: no sheet, no grid, nothing selected, no sizes, requests ignored.
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

TCellPos gCursorCell;

namespace {

class TNoWindows final : public TWindowServices {
 public:
  TSheetId ActiveSheet() override { return kNoSheet; }
  TGridId ActiveGrid() override { return kNoGrid; }
  void GetCursorCell(std::int16_t& row, std::int16_t& col) override { row = col = 0; }
  void GetGridSelection(TRange& range) override { RangeSet(range, 0, -1, 0, -1); }
  void SetGridSelection(const TRange&) override {}
  std::string ColumnWidthTag(int) override { return ""; }
  int ColumnWidthChars(int) override { return 0; }
  bool GetSheetView(TSheetViewState&) override { return false; }
  void SetSheetView(const TSheetViewState&, unsigned) override {}
  void MarkSheetModified(TSheetId) override {}
  void RepaintSheet(TSheetId) override {}
  std::string SheetFileName(std::size_t) override { return ""; }
};

TWindowServices* gInstalled = nullptr;

}  // namespace

TWindowServices& WindowServices() {
  static TNoWindows* standIn = new TNoWindows;
  return gInstalled ? *gInstalled : *standIn;
}

void SetWindowServices(TWindowServices* services) { gInstalled = services; }

}  // namespace corvane
