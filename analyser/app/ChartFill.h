// What the main window charts for the selected folder: one point per child
// (or the folder itself when it has none), one or two series of values in
// the current unit, the legends and titles; and the steps that hand it to
// the chart control.
#pragma once

#include <string>
#include <vector>

#include "analyser/app/FolderValues.h"

namespace foldwick {

class TChartFXCore;

// A folder as the chart sees it.
struct TChartSource {
  std::string name;  // its display name: the point legend
  TFolderTotals totals;
  TValueContext context;
};

struct TChartData {
  int series = 2;
  std::vector<std::string> pointLegends;
  std::vector<double> values[2];
  std::string seriesLegends[2];
  std::string topTitle;   // title 2
  std::string unitTitle;  // title 0
};

// The chart of `node` with its `children`. The view type sets the values (3,
// percent, is charted as 2); a bar chart always charts the sizes. View type
// 5 has one series, the others two, the second (for views up to 4) the
// wasted space. `sizeLegend` and `wastedLegend` are the list's column
// captions.
TChartData BuildChartData(const TChartSource& node, const std::vector<TChartSource>& children, int viewType,
                          int unitType, bool barChart, const std::string& sizeLegend, const std::string& wastedLegend);

// Sends the data through one values transfer, then the legends and titles.
void SendChartData(TChartFXCore& chart, const TChartData& data);

}  // namespace foldwick
