// The graph settings dialog's values and rules.
#include "spreadsheet/graphs/GraphSettings.h"

#include <algorithm>
#include <cmath>

#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/NumberText.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/graphs/GraphFrame.h"
#include "spreadsheet/graphs/NamedGraphs.h"

namespace corvane {

using classlib::TCanvas;
using classlib::TRect;

namespace {

constexpr int k3DTypes[6] = {kGraphStrip3D, kGraphPie3D, kGraphDonut3D, kGraphWall3D, kGraphBar3D, kGraphStack3D};
constexpr int kAxisBits[2] = {0x80, 0x40};  // X, Y exponential

struct TPageLayout {
  const char* caption;
  classlib::TSize size;
};
constexpr TPageLayout kPages[9] = {
    {"Select Type", {268, 294}}, {"Specify Ranges", {238, 348}}, {"Options", {284, 328}},
    {"Scales", {334, 298}},      {"Names", {230, 298}},          {"Headings", {332, 258}},
    {"Colors", {188, 288}},      {"Fonts", {302, 268}},          {"Legends", {238, 298}},
};

// The number a scale edit holds; false for a text that gives none.
bool ReadScaleNumber(const std::string& text, double& value) {
  if (text.find_first_not_of(' ') == std::string::npos) return false;
  ClearErrorFlag();
  std::string resultText;
  value = EvaluateFormulaText(text, resultText);
  bool ok = !ErrorFlagSet() && resultText.empty() && std::isfinite(value);
  ClearErrorFlag();
  return ok;
}

bool ReadRange(const std::string& text, TRange& range) {
  ClearErrorFlag();
  bool ok = ParseRange(text, range);
  ClearErrorFlag();
  return ok;
}

}  // namespace

TGraphPageRequest GraphDecodePageCode(int code) {
  TGraphPageRequest request;
  request.modal = code < 0;
  if (request.modal) code = ~code;
  request.page = code & 15;
  request.tab = code >> 4;
  return request;
}

classlib::TSize GraphPageFormSize(int page) {
  return page >= 0 && page < 9 ? kPages[page].size : classlib::TSize{404, 320};
}

std::string GraphPageCaption(int page) { return page >= 0 && page < 9 ? kPages[page].caption : ""; }

std::string GraphScalesCaption(int tab) { return tab == 1 ? "Scale: Set Y-Axis" : "Scale: Set X-Axis"; }

int GraphTypeOf2DButton(int index) {
  if (index >= 0 && index <= 10) return index;
  return index == 11 ? kGraphContour : -1;
}

int GraphTypeOf3DButton(int index) { return index >= 0 && index < 6 ? k3DTypes[index] : -1; }

TGraphTypeButton GraphTypeButtonOf(int type) {
  if (type >= 0 && type <= 10) return {false, type};
  if (type == kGraphContour) return {false, 11};
  for (int i = 0; i < 6; ++i)
    if (k3DTypes[i] == type) return {true, i};
  return {false, 0};
}

void TGraphSettings::Begin() {
  saved_ = CurrentGraph();
  savedNamed_ = NamedGraphsCopy();
  record_ = saved_;
  Load();
}

void TGraphSettings::Load() {
  fields.xRange = RangeToText(record_.XRange());
  for (int s = 1; s <= kGraphSeries; ++s) {
    fields.seriesRanges[s - 1] = RangeToText(record_.SeriesRange(s));
    fields.labelRanges[s - 1] = RangeToText(record_.LabelRange(s));
  }
  for (int axis = 0; axis < 2; ++axis) {
    TGraphSettingsFields::TAxis& a = fields.axes[axis];
    bool x = axis == 0;
    a.lower = RealToGeneralText(x ? record_.XLower() : record_.YLower());
    a.upper = RealToGeneralText(x ? record_.XUpper() : record_.YUpper());
    a.step = std::to_string(x ? record_.XStep() : record_.YStep());
    a.divisions = std::to_string(x ? record_.XDivisions() : record_.YDivisions());
    a.manual = x ? record_.XManual() : record_.YManual();
    a.exponential = (record_.AxisOptions() & kAxisBits[axis]) != 0;
    a.format = x ? record_.XFormat() : record_.YFormat();
  }
}

void TGraphSettings::Edit(const std::function<void(TGraphRecord&)>& change) {
  change(record_);
  SetCurrentGraph(record_);
}

void TGraphSettings::ChooseManual(int axis, bool manual) {
  if (axis < 0 || axis > 1) return;
  fields.axes[axis].manual = manual;
  Edit([&](TGraphRecord& g) { axis == 0 ? g.SetXManual(manual) : g.SetYManual(manual); });
}

void TGraphSettings::ChooseExponential(int axis, bool exponential) {
  if (axis < 0 || axis > 1) return;
  fields.axes[axis].exponential = exponential;
  Edit([&](TGraphRecord& g) {
    int options = g.AxisOptions();
    g.SetAxisOptions(exponential ? options | kAxisBits[axis] : options & ~kAxisBits[axis]);
  });
}

void TGraphSettings::Choose2DType(int index) {
  int type = GraphTypeOf2DButton(index);
  if (type >= 0) Edit([&](TGraphRecord& g) { g.SetType(type); });
}

void TGraphSettings::Choose3DType(int index) {
  int type = GraphTypeOf3DButton(index);
  if (type >= 0) Edit([&](TGraphRecord& g) { g.SetType(type); });
}

void TGraphSettings::ChooseThickness(int series, int item) {
  Edit([&](TGraphRecord& g) {
    g.SetThickness(series, item + 1);
    g.SetLineStyle(series, 1);
  });
}

void TGraphSettings::ChooseStyle(int series, int item) {
  Edit([&](TGraphRecord& g) {
    g.SetLineStyle(series, item + 1);
    g.SetThickness(series, 1);
  });
}

void TGraphSettings::ResetRanges() {
  fields.xRange.clear();
  for (std::string& text : fields.seriesRanges) text.clear();
  Edit([](TGraphRecord& g) {
    g.SetXRange(TRange{});
    for (int s = 1; s <= kGraphSeries; ++s) g.SetSeriesRange(s, TRange{});
  });
}

void TGraphSettings::ResetLabels() {
  for (std::string& text : fields.labelRanges) text.clear();
  Edit([](TGraphRecord& g) {
    for (int s = 1; s <= kGraphSeries; ++s) g.SetLabelRange(s, TRange{});
  });
}

void TGraphSettings::ClearLegends() {
  Edit([](TGraphRecord& g) {
    for (int s = 1; s <= kGraphSeries; ++s) g.SetLegend(s, "");
  });
}

bool TGraphSettings::EvaluateScaleText(std::string& text, std::string& message) const {
  double value;
  if (!ReadScaleNumber(text, value)) {
    message = "Invalid Number";
    return false;
  }
  text = RealToGeneralText(value);
  return true;
}

bool TGraphSettings::Ok(TGraphSettingsProblem& problem) {
  using F = TGraphSettingsField;
  auto fail = [&](F field, int index, const char* message) {
    problem = {field, index, message};
    return false;
  };
  TGraphRecord g = record_;
  TRange range;
  if (!ReadRange(fields.xRange, range)) return fail(F::kXRange, 0, "Invalid Range");
  g.SetXRange(range);
  for (int s = 1; s <= kGraphSeries; ++s) {
    if (!ReadRange(fields.seriesRanges[s - 1], range)) return fail(F::kSeriesRange, s, "Invalid Range");
    g.SetSeriesRange(s, range);
    if (!ReadRange(fields.labelRanges[s - 1], range)) return fail(F::kLabelRange, s, "Invalid Range");
    g.SetLabelRange(s, range);
  }
  int axisOptions = g.AxisOptions();
  int divisions[2] = {};
  for (int axis = 0; axis < 2; ++axis) {
    const TGraphSettingsFields::TAxis& a = fields.axes[axis];
    double lower, upper, step, division;
    if (!ReadScaleNumber(a.lower, lower)) return fail(F::kLower, axis, "Invalid Number");
    if (!ReadScaleNumber(a.upper, upper)) return fail(F::kUpper, axis, "Invalid Number");
    // Steps and divisions are bytes of the record.
    if (!ReadScaleNumber(a.step, step) || step < 0 || step > 255 || step != std::floor(step))
      return fail(F::kStep, axis, "Step must be a whole number from 0 to 255");
    if (!ReadScaleNumber(a.divisions, division) || division < 0 || division > 255 || division != std::floor(division))
      return fail(F::kDivisions, axis, "Div must be a whole number from 0 to 255");
    divisions[axis] = static_cast<int>(division);
    axisOptions = a.exponential ? axisOptions | kAxisBits[axis] : axisOptions & ~kAxisBits[axis];
    if (axis == 0) {
      g.SetXScale(lower, upper);
      g.SetXStep(static_cast<int>(step));
      g.SetXManual(a.manual);
      g.SetXFormat(a.format);
    } else {
      g.SetYScale(lower, upper);
      g.SetYStep(static_cast<int>(step));
      g.SetYManual(a.manual);
      g.SetYFormat(a.format);
    }
  }
  g.SetDivisions(divisions[0], divisions[1]);
  g.SetAxisOptions(axisOptions);
  Edit([&](TGraphRecord& r) { r = g; });
  return true;
}

bool TGraphSettings::Cancel() {
  record_ = saved_;
  SetCurrentGraph(saved_);
  return RestoreNamedGraphs(savedNamed_);
}

bool TGraphSettings::New(const std::string& name, std::string& message) {
  std::string key;
  std::copy_if(name.begin(), name.end(), std::back_inserter(key), [](char c) { return c != ' '; });
  if (key.empty()) {
    message = "Enter a name for the graph";
    return false;
  }
  ClearErrorFlag();
  bool stored = GraphStore(key) != 0;
  if (!stored) message = ErrorMessage();
  ClearErrorFlag();
  record_ = CurrentGraph();
  return stored;
}

bool TGraphSettings::Delete(const std::string& name) { return GraphDelete(name) != 0; }

bool TGraphSettings::Use(const std::string& name) {
  if (GraphUse(name) == 0) return false;
  record_ = CurrentGraph();
  Load();
  return true;
}

std::vector<std::string> TGraphSettings::Names() const {
  std::vector<std::string> names;
  for (int index = 1; index <= GraphCount(); ++index) names.push_back(GraphName(index));
  return names;
}

void DrawGraphSeriesPreview(TCanvas& canvas, const TRect& box, const TGraphRecord& graph, int series) {
  classlib::TCanvasStateSaver saver(canvas);
  TGraphFrame frame(graph, box.Width(), box.Height(), {}, nullptr);
  int y = (box.Top + box.Bottom) / 2;
  int display = graph.SeriesDisplay(series);
  if (display & 1) {
    frame.SeriesPen(canvas, series);
    TGraphFrame::Line(canvas, box.Left + 12, y, box.Right - 12, y);
  }
  if (display & 2) {
    for (int k = 1; k <= 4; ++k) {
      canvas.Pen.Color = frame.PositionColor(series);
      DrawMark(canvas, frame, -graph.Mark(series), box.Left + box.Width() * k / 5, y);
    }
  }
}

void DrawGraphHatchSample(TCanvas& canvas, const TRect& box, const TGraphRecord& graph, int series) {
  classlib::TCanvasStateSaver saver(canvas);
  TGraphFrame frame(graph, box.Width(), box.Height(), {}, nullptr);
  frame.SeriesFill(canvas, series);
  canvas.Rectangle(box);
}

}  // namespace corvane
