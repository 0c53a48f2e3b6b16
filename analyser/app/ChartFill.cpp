// Building and sending the chart of a folder.
#include "analyser/app/ChartFill.h"

#include <algorithm>

#include "analyser/components/ChartFXCore.h"

namespace foldwick {

namespace {
// The transfer kind that ends the main window's values transfer.
constexpr int kCloseValuesAndScale = 4097;
}  // namespace

TChartData BuildChartData(const TChartSource& node, const std::vector<TChartSource>& children, int viewType,
                          int unitType, bool barChart, const std::string& sizeLegend, const std::string& wastedLegend) {
  TChartData data;
  const int valueType = viewType == kViewPercent ? kViewAllocated : viewType;
  data.series = viewType == kViewCdRom ? 1 : 2;
  const bool wasted = valueType <= kViewWasted;
  const std::vector<TChartSource> own{node};
  const std::vector<TChartSource>& points = children.empty() ? own : children;
  for (const TChartSource& p : points) {
    data.pointLegends.push_back(p.name);
    data.values[0].push_back(GetFolderValue(p.totals, p.context, barChart ? kViewSize : valueType, unitType));
    if (data.series > 1)
      data.values[1].push_back(wasted ? GetFolderValue(p.totals, p.context, kViewWasted, unitType) : 0);
  }
  data.seriesLegends[0] = sizeLegend;
  if (wasted) data.seriesLegends[1] = wastedLegend;
  data.topTitle = node.name;
  if (barChart) data.unitTitle = unitType == kUnitMB ? "MB" : "KB";
  return data;
}

void SendChartData(TChartFXCore& chart, const TChartData& data) {
  const int points = std::max<int>(static_cast<int>(data.pointLegends.size()), 1);
  chart.OpenData(chartlib::kTransferValues, data.series, points);
  for (int s = 0; s < data.series; ++s) {
    chart.ThisSerie = s;
    for (size_t p = 0; p < data.values[s].size(); ++p) chart.SetValue(static_cast<int>(p), data.values[s][p]);
  }
  chart.ThisSerie = 0;
  for (int s = 0; s < data.series; ++s)
    if (!data.seriesLegends[s].empty()) chart.SetSeriesLegend(s, data.seriesLegends[s]);
  for (size_t p = 0; p < data.pointLegends.size(); ++p) chart.SetLegend(static_cast<int>(p), data.pointLegends[p]);
  chart.CloseData(kCloseValuesAndScale);
  chart.SetTitle(2, data.topTitle);
  chart.SetTitle(0, data.unitTitle);
}

}  // namespace foldwick
