// Hit regions of a drawn graph, hit testing and the XOR highlight.
#include "spreadsheet/graphs/GraphHits.h"

#include <algorithm>
#include <cstdlib>

namespace corvane {
namespace {

constexpr int kSegmentSlack = 4;

bool NearSegment(const TGraphHitList::TNode& n, int x, int y) {
  if (x < std::min(n.x1, n.x2) - kSegmentSlack || x > std::max(n.x1, n.x2) + kSegmentSlack ||
      y < std::min(n.y1, n.y2) - kSegmentSlack || y > std::max(n.y1, n.y2) + kSegmentSlack)
    return false;
  int dx = n.x2 - n.x1, dy = n.y2 - n.y1;
  // The point of the segment at the same coordinate along its longer axis; a
  // segment of no extent is measured from a point 8 pixels away.
  double px = n.x1, py = n.y1;
  if (std::abs(dx) >= std::abs(dy)) {
    if (dx == 0) {
      px = n.x1 + 8;
    } else {
      px = x;
      py = n.y1 + static_cast<double>(dy) * (x - n.x1) / dx;
    }
  } else {
    py = y;
    px = n.x1 + static_cast<double>(dx) * (y - n.y1) / dy;
  }
  return std::abs(px - x) <= kSegmentSlack && std::abs(py - y) <= kSegmentSlack;
}

bool Matches(const TGraphHitList::TNode& n, int x, int y) {
  if (n.id >= 1) return x >= n.x1 && x <= n.x2 && y >= n.y1 && y <= n.y2;
  return NearSegment(n, x, y);
}

}  // namespace

void TGraphHitList::Clear() {
  nodes_.clear();
  selected_ = 0;
}

void TGraphHitList::Add(int id, int x1, int y1, int x2, int y2) {
  if (id >= 1) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
  }
  nodes_.push_back({id, x1, y1, x2, y2});
}

int TGraphHitList::IdAt(int x, int y) const {
  for (auto n = nodes_.rbegin(); n != nodes_.rend(); ++n)
    if (Matches(*n, x, y)) return n->id;
  return 0;
}

int TGraphHitList::HitTest(int x, int y, classlib::TCanvas* highlight) {
  bool hit = false;
  int id = 0;
  for (auto n = nodes_.rbegin(); n != nodes_.rend() && !hit; ++n) {
    if (Matches(*n, x, y)) {
      hit = true;
      id = n->id;
    }
  }
  int previous = selected_;
  if (highlight && previous != 0) Highlight(*highlight, previous);
  selected_ = (!hit || id == previous) ? 0 : id;
  if (highlight && selected_ != 0) Highlight(*highlight, selected_);
  return selected_;
}

void TGraphHitList::ShowSelection(classlib::TCanvas& canvas) {
  if (selected_ == 0) return;
  if (std::none_of(nodes_.begin(), nodes_.end(), [this](const TNode& n) { return n.id == selected_; })) {
    selected_ = 0;
    return;
  }
  Highlight(canvas, selected_);
}

void TGraphHitList::Highlight(classlib::TCanvas& canvas, int id) const {
  classlib::TCanvasStateSaver saver(canvas);
  canvas.Pen = {classlib::clWhite, 1, classlib::TPenStyle::psSolid, classlib::TPenMode::pmXor};
  canvas.Brush.Style = classlib::TBrushStyle::bsClear;
  for (const TNode& n : nodes_) {
    if (n.id != id) continue;
    if (n.id >= 1) {
      canvas.Rectangle({n.x1, n.y1, n.x2, n.y2});
    } else {
      canvas.MoveTo(n.x1, n.y1);
      canvas.LineTo(n.x2, n.y2);
    }
  }
}

}  // namespace corvane
