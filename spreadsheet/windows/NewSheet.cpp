// Defaults for a new worksheet.
#include "spreadsheet/windows/NewSheet.h"

#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/engine/SheetSettings.h"
#include "spreadsheet/graphs/NamedGraphs.h"

namespace corvane {

namespace {
void ClearSavedRanges() {
  for (TRange& range : gCurrentDoc.settings.savedRanges) RangeClear(range);
  for (TRange& range : gCurrentDoc.settings.dataRanges) RangeClear(range);
}
}  // namespace

void ResetSheetDefaults() {
  GraphResetCurrent();
  ClearSavedRanges();
}

bool InitNewSheet() {
  CopyDefaultSheetSettings(gCurrentDoc.settings);
  ApplySheetFormatSettings(gCurrentDoc.settings);
  ResetSheetDefaults();
  gCurrentDoc.highRow = 0;
  gCurrentDoc.highCol = 0;
  RangeNameReset();
  return GraphInitDocument();
}

}  // namespace corvane
