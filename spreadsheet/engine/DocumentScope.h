// Borrowing the engine's current document: a sheet window that paints (or
// otherwise reads) a document other than the current one makes it current for
// the span of a scope and then puts everything back, so an engine operation
// that lets messages run never finds its document switched underneath it.
#pragma once

#include <string>

#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/FormatSettings.h"

namespace corvane {

class TDocumentScope {
 public:
  // Makes the document of `slot` current, unless it is already. Nothing
  // changes for a slot that holds no document (Ok() is then false).
  explicit TDocumentScope(int slot);
  // Puts back the current document, its working settings block, the number
  // formats' copy of it, the pool owner and the engine's error flag exactly
  // as they were.
  ~TDocumentScope();
  TDocumentScope(const TDocumentScope&) = delete;
  TDocumentScope& operator=(const TDocumentScope&) = delete;

  bool Ok() const { return ok_; }

 private:
  bool ok_ = false;
  bool swapped_ = false;
  TDocContext saved_;
  TFormatSettings savedFormats_;
  TOwnerTag savedOwner_ = kNoOwner;
  bool errorSet_ = false;
  std::string errorMessage_;
  int errorCode_ = 0;
};

}  // namespace corvane
