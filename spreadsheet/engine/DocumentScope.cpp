// The scoped borrow of the current document.
#include "spreadsheet/engine/DocumentScope.h"

#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/EngineError.h"

namespace corvane {

TDocumentScope::TDocumentScope(int slot) {
  const TDocSlot* doc = DocSlot(slot);
  if (slot < 1 || doc == nullptr || doc->rowHeads == nullptr) return;
  ok_ = true;
  errorSet_ = ErrorFlagSet();
  errorMessage_ = ErrorMessage();
  errorCode_ = ErrorCode();
  savedOwner_ = PoolGetOwner();
  if (gCurrentDoc.rowHeads == doc->rowHeads) return;
  swapped_ = true;
  saved_ = gCurrentDoc;
  savedFormats_ = FormatSettings();
  ActivateDocumentContext(slot);
}

TDocumentScope::~TDocumentScope() {
  if (!ok_) return;
  if (swapped_) {
    // The borrowed document changed nothing of its own context; the one that
    // was current gets its globals back as they stood.
    SaveSheetContext();
    gCurrentDoc = saved_;
    FormatSettings() = savedFormats_;
  }
  PoolSetOwner(savedOwner_);
  if (!errorSet_) {
    ClearErrorFlag();
  } else if (!errorMessage_.empty() || errorCode_ != kErrorNoCode) {
    SetErrorFlag(errorMessage_, errorCode_);
  } else {
    ClearErrorFlag();
    SetCalcError();
  }
}

}  // namespace corvane
