// DrawGraph: the one entry that draws a graph (the current one or a named one)
// onto any canvas: the graph window's off-screen bitmap, a saved picture, the
// printer, a graph box on a worksheet. Everything it draws scales with the
// canvas height; nothing depends on the screen.
#pragma once

#include "classlib/Canvas.h"
#include "spreadsheet/graphs/GraphFrame.h"
#include "spreadsheet/graphs/GraphHits.h"

namespace corvane {

// Draws graph `index` of the current document on a canvas of width x height
// pixels: a negative index draws the current graph, 0 to the count of named
// graphs the graph GraphRecordAt gives for it (0 the current graph, 1..count
// the named graphs as GraphFind numbers them), any other index the current
// graph. Without a valid X range and at least one valid series range it writes
// "Graph Undefined!" in the middle and nothing else. The document's records are
// never changed.
//
// `hits` (when given) loses its regions (its selection stays) and receives
// those of this drawing;
// the plot rectangle of the drawing is returned (empty for "Graph Undefined!"
// and for types without a Y axis it is still the layout's plot area).
classlib::TRect DrawGraph(classlib::TCanvas& canvas, int width, int height, int index,
                          TGraphHitList* hits = nullptr, const TGraphDrawOptions& options = {});

// The same for a given record rather than one of the document's.
classlib::TRect DrawGraphRecord(classlib::TCanvas& canvas, int width, int height, const TGraphRecord& graph,
                                TGraphHitList* hits = nullptr, const TGraphDrawOptions& options = {});

// The series of a laid-out frame, in the manner of its type (the step of
// DrawGraph after the axes).
void DrawGraphSeries(classlib::TCanvas& canvas, TGraphFrame& frame);

}  // namespace corvane
