// The chart library's own chart behind the chart control's engine interface,
// for tests of what the control and the main window send.
#pragma once

#include "analyser/components/ChartEngine.h"
#include "chartlib/ChartModel.h"

namespace foldwick {

class TModelEngine : public IChartEngine {
 public:
  chartlib::TChartModel model{2, 4};
  std::int32_t Request(int code, std::intptr_t w, std::intptr_t l) override { return model.Request(code, w, l); }
  void CloseData(int kind) override { model.CloseData(kind); }
  void SetValue(int s, int p, double v) override { model.SetValue(s, p, v); }
  void SetColor(int i, std::uint32_t rgb, int which) override { model.SetColor(i, rgb, which); }
  void SetConst(int i, double v) override { model.SetConst(i, v); }
  double GetValue(std::int32_t sp) override { return model.GetValue(sp); }
  void OpenData(int kind, int c1, int c2) override { model.OpenData(kind, c1, c2); }
  double GetConst(int i) override { return model.GetConst(i); }
};

}  // namespace foldwick
