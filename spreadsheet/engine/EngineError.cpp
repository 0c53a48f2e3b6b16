// The global error flag, message and code of the engine.
#include "spreadsheet/engine/EngineError.h"

namespace corvane {
namespace {

constexpr std::size_t kMaxMessageChars = 240;

bool gErrorFlag = false;
std::string gErrorMessage;
int gErrorCode = kErrorNoCode;

}  // namespace

void SetErrorFlag(std::string_view message, int code) {
  gErrorFlag = true;
  gErrorMessage.assign(message.substr(0, kMaxMessageChars));
  gErrorCode = code;
}

void ClearErrorFlag() {
  gErrorFlag = false;
  gErrorMessage.clear();
  gErrorCode = kErrorNoCode;
}

void SetCalcError() { gErrorFlag = true; }
void ClearCalcError() { ClearErrorFlag(); }

bool ErrorFlagSet() { return gErrorFlag; }
const std::string& ErrorMessage() { return gErrorMessage; }
int ErrorCode() { return gErrorCode; }

void SetOutOfRangeError() { SetErrorFlag(kOutOfRangeText, kErrorOutOfRange); }
void SetOutOfMemoryError() { SetErrorFlag(kOutOfMemoryText); }
void SetFormulaTooLongError() { SetErrorFlag(kFormulaTooLongText); }

TErrorFlagKeeper::TErrorFlagKeeper() : set_(gErrorFlag), message_(set_ ? gErrorMessage : std::string()), code_(gErrorCode) {}

TErrorFlagKeeper::~TErrorFlagKeeper() {
  if (set_) SetErrorFlag(message_, code_);
}

}  // namespace corvane
