// The library's entries, exported by ordinal only (see CMakeLists.txt for
// the table). Every entry checks that its window is a chart window and does
// nothing (answering 0) for any other.
#include "classlib/win/Win32.h"

#include "chartlib/win/ChartWindow.h"

using chartlib::ChartOfWindow;
using chartlib::RefreshChartWindow;

extern "C" {

// Ordinal 2. `style` and `reserved` are accepted as the control passes them.
HWND WINAPI CreateChart(DWORD style, LONG reserved, HWND parent, int x, int y, int width,
                                              int height, int points, int series, UINT id, DWORD windowStyle) {
  return chartlib::CreateChartWindow(parent, x, y, width, height, points, series, id, windowStyle);
}

// Ordinal 3.
LRESULT WINAPI ChartRequest(HWND chart, UINT code, WPARAM w, LPARAM l) {
  chartlib::TChartModel* model = ChartOfWindow(chart);
  if (model == nullptr) return 0;
  const std::int32_t result = model->Request(static_cast<int>(code), static_cast<std::intptr_t>(w), l);
  RefreshChartWindow(chart);
  return result;
}

// Ordinal 4: paints the chart into `dc` at x, y with the width and height
// given, in device pixels; `flags` and `reserved` are not used.
void WINAPI ChartPaint(HWND chart, HDC dc, short x, short y, short width, short height,
                                             short flags, LONG reserved) {
  chartlib::PaintChartInto(chart, dc, x, y, width, height);
}

// Ordinal 6.
void WINAPI ChartCloseData(HWND chart, int kind) {
  if (chartlib::TChartModel* model = ChartOfWindow(chart)) {
    model->CloseData(kind);
    RefreshChartWindow(chart);
  }
}

// Ordinal 7.
void WINAPI ChartSetValue(HWND chart, int series, int point, double value) {
  if (chartlib::TChartModel* model = ChartOfWindow(chart)) model->SetValue(series, point, value);
}

// Ordinal 10.
void WINAPI ChartSetColor(HWND chart, int index, COLORREF color, int which) {
  if (chartlib::TChartModel* model = ChartOfWindow(chart)) {
    model->SetColor(index, color, which);
    RefreshChartWindow(chart);
  }
}

// Ordinal 12.
void WINAPI ChartSetConst(HWND chart, int index, double value) {
  if (chartlib::TChartModel* model = ChartOfWindow(chart)) model->SetConst(index, value);
}

// Ordinal 16: writes the value into `out` and gives it back too.
double WINAPI ChartGetValue(HWND chart, LONG seriesPoint, int reserved, double* out) {
  chartlib::TChartModel* model = ChartOfWindow(chart);
  const double value = model != nullptr ? model->GetValue(seriesPoint) : 0;
  if (out != nullptr) *out = value;
  return value;
}

// Ordinal 18.
void WINAPI ChartOpenData(HWND chart, int kind, int count1, int count2) {
  if (chartlib::TChartModel* model = ChartOfWindow(chart)) model->OpenData(kind, count1, count2);
}

// Ordinal 20: writes the constant into `out` and gives it back too.
double WINAPI ChartGetConst(HWND chart, int index, double* out) {
  chartlib::TChartModel* model = ChartOfWindow(chart);
  const double value = model != nullptr ? model->GetConst(index) : 0;
  if (out != nullptr) *out = value;
  return value;
}

}  // extern "C"
