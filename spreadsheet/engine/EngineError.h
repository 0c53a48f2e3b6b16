// The engine's one failure channel: a global error flag with a message text and a
// numeric code. Engine operations set it instead of raising; callers test it, show
// the message and clear it. The formula compiler and evaluator share the same flag
// (their "calc error"), so clearing one clears the other.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// The code that goes with "Out of Range": a row or column outside the worksheet.
inline constexpr int kErrorOutOfRange = 101;
// Errors without a code of their own carry 0.
inline constexpr int kErrorNoCode = 0;

inline constexpr const char* kOutOfRangeText = "Out of Range";
inline constexpr const char* kOutOfMemoryText = "Out of Memory";
inline constexpr const char* kFormulaTooLongText = "Formula Too Long";

// Sets the flag with `message` (kept as given, at most 240 characters) and `code`.
// A later call replaces the message and code of an earlier one.
void SetErrorFlag(std::string_view message, int code = kErrorNoCode);
// Clears the flag, the message and the code.
void ClearErrorFlag();

// The formula side's names for the same flag: SetCalcError sets it without
// touching the message; ClearCalcError is ClearErrorFlag.
void SetCalcError();
void ClearCalcError();

// True while the flag is set.
bool ErrorFlagSet();
// The message of the last SetErrorFlag (empty after a clear or a SetCalcError
// on a clear flag). The reference stays valid until the next set or clear.
const std::string& ErrorMessage();
// The code of the last SetErrorFlag, kErrorNoCode when none.
int ErrorCode();

// One setter per error kind, so callers never spell the texts themselves.
void SetOutOfRangeError();   // "Out of Range", code 101
void SetOutOfMemoryError();  // "Out of Memory"
void SetFormulaTooLongError();  // "Formula Too Long"

// Keeps the error flag across calls that may clear or replace it: when the
// flag was set as the keeper was made, it is set again with the same message
// and code as the keeper goes; a clear flag is left as the calls leave it.
class TErrorFlagKeeper {
 public:
  TErrorFlagKeeper();
  ~TErrorFlagKeeper();
  TErrorFlagKeeper(const TErrorFlagKeeper&) = delete;
  TErrorFlagKeeper& operator=(const TErrorFlagKeeper&) = delete;

 private:
  bool set_;
  std::string message_;
  int code_;
};

}  // namespace corvane
