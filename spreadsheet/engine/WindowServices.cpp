// The installed window services and the stand-in used while no sheet window
// exists: no sheet, no grid, nothing selected, no sizes, requests ignored.
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

TCellPos gCursorCell;

namespace {

constexpr int kDefaultFontSize = 12;

class TNoWindows final : public TWindowServices {
 public:
  TSheetId ActiveSheet() override { return kNoSheet; }
  TGridId ActiveGrid() override { return kNoGrid; }
  TGridId InactiveGrid() override { return kNoGrid; }
  void GridGotoCell(int, int) override {}
  void GetCursorCell(std::int16_t& row, std::int16_t& col) override { row = col = 0; }
  void GetGridSelection(TRange& range) override { RangeSet(range, 0, -1, 0, -1); }
  void SetGridSelection(const TRange&) override {}
  void ClearGridMark() override {}
  int GridGetGrid() override { return 0; }
  void GridSetGrid(int) override {}
  std::string ColumnWidthTag(int) override { return ""; }
  int ColumnWidthChars(int) override { return 0; }
  void GridSetColWidth(int, int) override {}
  void GridSetColSize(int, int) override {}
  void GridSetRowSize(int, int) override {}
  int GridGetColSize(int) override { return kDefaultSizeEntry; }
  int GridGetRowSize(int) override { return kDefaultSizeEntry; }
  int RowHeightOrDefault(int) override { return 0; }
  void EnsureRowHeight(int, int) override {}
  void SetSheetCount(int) override {}
  void MarkSheetModified(TSheetId) override {}
  void UpdateScrollRanges(TSheetId) override {}
  void RepaintSheet(TSheetId) override {}
  void RepaintDocumentViews(TSheetId) override {}
  void ActivateSheetContext(TSheetId) override {}
  void LoadSheetSettings(TSheetId) override {}
  void StoreSheetSettings(TSheetId) override {}
  std::string SheetFileName(std::size_t) override { return ""; }
  void SetSheetName(std::string_view) override {}
  void SetDefaultRowHeight(TSheetId, int) override {}
  void SetDefaultColWidth(TSheetId, int) override {}
  int CellFontSize(TSheetId, int sizeByte) override { return sizeByte != 0 ? sizeByte : kDefaultFontSize; }
  std::string CellFontName(TSheetId, int) override { return ""; }
};

TWindowServices* gInstalled = nullptr;

}  // namespace

TWindowServices& WindowServices() {
  static TNoWindows* standIn = new TNoWindows;
  return gInstalled ? *gInstalled : *standIn;
}

void SetWindowServices(TWindowServices* services) { gInstalled = services; }

}  // namespace corvane
