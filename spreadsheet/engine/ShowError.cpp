// The seam through which the engine shows error messages.
#include "spreadsheet/engine/ShowError.h"

namespace corvane {

namespace {
TShowErrorFn gShowError = nullptr;
constexpr std::size_t kMaxErrorText = 240;
}  // namespace

void SetShowErrorHandler(TShowErrorFn handler) { gShowError = handler; }

void ShowError(std::string_view text) {
  if (!gShowError) return;
  std::string message = "Error:";
  message += text.substr(0, std::min(text.size(), kMaxErrorText));
  gShowError(message);
}

}  // namespace corvane
