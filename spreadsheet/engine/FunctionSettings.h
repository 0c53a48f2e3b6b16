// The program settings that some worksheet functions read: the rounding rule
// of ROUND, the date order of DATEVAL and the two values QVIEW returns. The
// settings code fills them; the defaults are the program's own.
#pragma once

namespace corvane {

struct TFunctionSettings {
  bool halfUpRounding = false;  // ROUND takes halves of negative numbers upward too
  bool dayFirstDates = false;   // DATEVAL reads day, month, year (else month, day, year)
  double quickView[2] = {0, 0}; // QVIEW(0) and QVIEW(1)
};

inline TFunctionSettings& FunctionSettings() {
  static TFunctionSettings settings;
  return settings;
}

}  // namespace corvane
