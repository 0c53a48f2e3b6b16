// The hit regions of one drawn graph: every visible element enters its
// rectangle (ids 1 and up) or, for series lines, its segments (ids 0 and
// below), so that a click can be mapped back to the element. Each view keeps
// its own list, so drawing the same graph onto a printer or a sheet box leaves
// the window's list alone.
//
// Element ids: -1..-6 a line segment of series 1-6; 1-6 a bar of series 1-6
// (6 also a radar or polar spoke label); 7 the whole graph; 8 the plot area;
// 9 main heading; 10 second heading; 11 X-axis title; 12 Y-axis title; 13 X
// tick labels and X-side value labels; 14 Y tick labels; 15 legend.
#pragma once

#include <vector>

#include "classlib/Canvas.h"

namespace corvane {

class TGraphHitList {
 public:
  struct TNode {
    int id = 0;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  };

  // Forgets every region and the selection (without drawing anything).
  void Clear();
  // Forgets every region but keeps the selection, for a new drawing of the
  // same graph: a selection lasts until the user changes it or the graph
  // changes (Deselect), not until the next paint.
  void ClearRegions() { nodes_.clear(); }
  void Deselect() { selected_ = 0; }
  // Highlights the selection on a fresh drawing (whose regions were just
  // entered), as HitTest highlights it; a selection whose element is no
  // longer drawn is forgotten.
  void ShowSelection(classlib::TCanvas& canvas);
  // A rectangle (id 1 or more; kept with its corners ordered) or a segment
  // (id 0 or less; kept as given). The newest region is tried first.
  void Add(int id, int x1, int y1, int x2, int y2);
  void AddRect(int id, const classlib::TRect& r) { Add(id, r.Left, r.Top, r.Right, r.Bottom); }

  // The id of the newest region under (x, y): a rectangle when the point lies
  // in it (edges included), a segment when the point lies within 4 pixels of
  // it. The selection changes: a hit on the selected id deselects it (0 is
  // returned), another hit selects that id, a miss clears it. On `highlight`
  // (when given) the old selection is un-highlighted and the new one
  // highlighted, by outlining every region of the id with a white XOR pen, so
  // that drawing twice restores the picture.
  int HitTest(int x, int y, classlib::TCanvas* highlight);
  // The id under (x, y) without changing anything; 0 when none.
  int IdAt(int x, int y) const;

  int Selected() const { return selected_; }
  const std::vector<TNode>& Nodes() const { return nodes_; }

 private:
  void Highlight(classlib::TCanvas& canvas, int id) const;

  std::vector<TNode> nodes_;  // oldest first
  int selected_ = 0;
};

}  // namespace corvane
