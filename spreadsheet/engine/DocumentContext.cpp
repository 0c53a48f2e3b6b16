// The current document's globals.
#include "spreadsheet/engine/DocumentContext.h"

namespace corvane {

TDocContext gCurrentDoc;

void ClearDocumentContext() {
  TSheetSettings settings = gCurrentDoc.settings;
  gCurrentDoc = TDocContext{};
  gCurrentDoc.settings = settings;
  PoolSetOwner(kNoOwner);
}

}  // namespace corvane
