// What the chart control asks of the chart library for its one chart window:
// the library's entries but creation and painting, which need a window and a
// device. The Windows build binds them from CFX2032.DLL by ordinal; tests put
// a recording fake or the library's own chart model behind it.
#pragma once

#include <cstdint>

#include "chartlib/ChartTypes.h"

namespace foldwick {

// The control id the chart window reports its notifications under.
constexpr int kChartControlId = 30463;

class IChartEngine {
 public:
  virtual ~IChartEngine() = default;
  // Entry 3: request `code` with its two arguments; texts and doubles pass
  // by address in `l`. The 32-bit answer.
  virtual std::int32_t Request(int code, std::intptr_t w, std::intptr_t l) = 0;
  // Entry 6: ends a transfer and redraws.
  virtual void CloseData(int kind) = 0;
  // Entry 7: one value of an open values transfer.
  virtual void SetValue(int series, int point, double value) = 0;
  // Entry 10: palette colour `index` (which 0) or its background (which 1).
  virtual void SetColor(int index, std::uint32_t rgb, int which) = 0;
  // Entry 12: numeric constant 0..16.
  virtual void SetConst(int index, double value) = 0;
  // Entry 16: the value at series LOWORD, point HIWORD of `seriesPoint`.
  virtual double GetValue(std::int32_t seriesPoint) = 0;
  // Entry 18: begins a transfer of values (count1 series of count2 points)
  // or of colours (count1 colours).
  virtual void OpenData(int kind, int count1, int count2) = 0;
  // Entry 20: numeric constant 0..16.
  virtual double GetConst(int index) = 0;
};

}  // namespace foldwick
