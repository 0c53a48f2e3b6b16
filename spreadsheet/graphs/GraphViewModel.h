// The graph window's decisions, apart from the window: zooming and panning
// the manual scales by a rectangle of the picture, scaling to the data, the
// dialog page an element opens, the element menu's first item, and the page
// area of a quick print.
#pragma once

#include <string>

#include "classlib/Graphics.h"
#include "spreadsheet/graphs/GraphRecord.h"
#include "spreadsheet/graphs/GraphSettings.h"

namespace corvane {

// False for the types whose picture has no scales to zoom: the pies, Radar
// and Polar.
bool GraphZoomable(int type);

// Sets both manual scales, taking the data's ends first (GraphScaleToData)
// when either scale is still automatic: zooming starts from what is shown.
void GraphTakeManualScales(TGraphRecord& graph);

// The manual scales become those of the part of the picture in `rect`
// (canvas pixels; corners in any order), given the plot rectangle of the
// drawing. A rectangle under 16 pixels wide or high is a click: the plot's
// own size centred there (a pan). Logarithmic axes are interpolated between
// the logarithms of their ends. False, changing nothing, for a plot without
// area.
bool GraphZoomToRect(TGraphRecord& graph, classlib::TRect rect, const classlib::TRect& plot);
// The rectangles of the zoom menu's "&Out" (the spans double) and "&In"
// (they halve).
classlib::TRect GraphZoomOutRect(const classlib::TRect& plot);
classlib::TRect GraphZoomInRect(const classlib::TRect& plot);

// The manual X values become the lowest and highest number of the X range;
// the manual Y values the ends of the automatic Y scale over every valid
// series (stacked totals for stacked types). The manual flags are left alone.
void GraphScaleToData(TGraphRecord& graph);

// The settings dialog's page code (page in the low four bits, tab above them)
// that an element id or menu item opens; -1 when it opens none.
int GraphElementPageCode(int elementId);

// The first item of the element menu for the selected element id.
std::string GraphAttributesCaption(int selected);

// Margins (hundredths of an inch) of a quick print: a quarter of a page that
// is taller than wide at top and bottom, else 50.
int GraphQuickPrintMargin(int pageWidth, int pageHeight, int pixelsPerInchY);
// The rectangle a quick print draws the graph in, in device pixels: the
// margins in hundredths of an inch, the size scaled by `scalePercent`.
classlib::TRect GraphQuickPrintArea(int pageWidth, int pageHeight, int pixelsPerInchX, int pixelsPerInchY, int left,
                                    int top, int right, int scalePercent, int bottom);

}  // namespace corvane
