// The chart window of the chart library: one TChartModel per window, painted
// with the chart painter, reporting mouse and focus to the window named by
// request 49 as WM_COMMAND notifications under the window's control id. The
// library's exports (Exports.cpp) find the model of a window here.
//
// This is a plain Win32 window: the library is a DLL of its own and shares no
// window machinery with the program that loads it.
#pragma once

#include "classlib/win/Win32.h"

#include "chartlib/ChartModel.h"

namespace chartlib {

// Creates a chart window of `series` series of `points` points; null when
// the window cannot be made.
HWND CreateChartWindow(HWND parent, int x, int y, int width, int height, int points, int series, UINT id,
                       DWORD style);
// The model of a chart window, or null for any other window.
TChartModel* ChartOfWindow(HWND window);
// Repaints the window when the model changed since its last painting.
void RefreshChartWindow(HWND window);
// Paints the chart into `dc` at (x, y) with the given size, in device pixels.
void PaintChartInto(HWND window, HDC dc, int x, int y, int width, int height);

}  // namespace chartlib
