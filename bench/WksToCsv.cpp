// wks_to_csv IN.WKS OUT.CSV: reads a worksheet file, recalculates it and
// writes its used block as comma-separated lines, as one process. The
// worksheet-to-CSV benchmark times it beside a peer's converter.
#include <cstdio>

#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/PagePool.h"
#include "spreadsheet/engine/Recalc.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/files/TextTransfer.h"
#include "spreadsheet/files/WorksheetFile.h"

int main(int argc, char** argv) {
  using namespace corvane;
  if (argc != 3) return std::fprintf(stderr, "usage: wks_to_csv IN.WKS OUT.CSV\n"), 2;
  SetShowErrorHandler([](std::string_view message) { std::fprintf(stderr, "%.*s\n", int(message.size()), message.data()); });
  PoolInit();
  int slot = 0;
  if (RegisterOpenSheet(argv[1], slot) != TOpenResult::kNew || !ActivateDocumentContext(slot)) return 1;
  if (!LoadWorksheet(argv[1], 0, 0, 0, "")) return 1;
  RecalcAll();
  TRange used;
  RangeSet(used, 0, 0, gCurrentDoc.highCol, gCurrentDoc.highRow);
  if (!ExportTextFile(argv[2], 0, used)) return std::fprintf(stderr, "%s\n", ErrorMessage().c_str()), 1;
  return 0;
}
