// The scroll bar's layout, thumb arithmetic, press-and-hold repeat and paint.
#include "spreadsheet/controls/ScrollBar.h"

#include <algorithm>
#include <cstdint>

#include "spreadsheet/controls/ControlDrawing.h"

namespace corvane {

using namespace classlib;

namespace {
constexpr unsigned kRepeatMs = 50;
constexpr int kArrowHalfBase = 5;
}  // namespace

TScrollBarModel::TScrollBarModel(TControlHost& host) : host_(host), repeat_(host, kRepeatTimer, kRepeatMs) { Layout(); }

void TScrollBarModel::SetLimit(int& field, int v) {
  if (!SetField(field, v)) return;
  ComputeThumbLength();
  host_.InvalidateAll();
}

void TScrollBarModel::SetDither(bool on) {
  dither_ = on;
  host_.InvalidateAll();
}

void TScrollBarModel::SetColor(TColor c) {
  color_ = c;
  host_.InvalidateAll();
}

void TScrollBarModel::SetBackcolor(TColor c) {
  backcolor_ = c;
  host_.InvalidateAll();
}

void TScrollBarModel::SetPosition(int v) {
  v = std::clamp(v, min_, std::max(min_, max_));
  if (v == position_) return;
  position_ = v;
  host_.InvalidateAll();
  if (OnChange) OnChange();
}

void TScrollBarModel::Layout() {
  TRect inner = host_.ClientRect().Inflate(-1, -1);
  vertical_ = inner.Width() < inner.Height();
  if (vertical_) {
    int a = std::min(kArrowSize, std::max(0, inner.Height() / 2));
    arrow1_ = {inner.Left, inner.Top, inner.Right, inner.Top + a};
    arrow2_ = {inner.Left, inner.Bottom - a, inner.Right, inner.Bottom};
    track_ = {inner.Left, arrow1_.Bottom, inner.Right, arrow2_.Top};
  } else {
    int a = std::min(kArrowSize, std::max(0, inner.Width() / 2));
    arrow1_ = {inner.Left, inner.Top, inner.Left + a, inner.Bottom};
    arrow2_ = {inner.Right - a, inner.Top, inner.Right, inner.Bottom};
    track_ = {arrow1_.Right, inner.Top, arrow2_.Left, inner.Bottom};
  }
  ComputeThumbLength();
  host_.InvalidateAll();
}

// Eight passes of thumb := Band x free track div range, from a free track of
// 100: they settle the thumb near Band / (range + Band) of the track. The
// thumb keeps at least 8 pixels unless the track itself is shorter.
void TScrollBarModel::ComputeThumbLength() {
  int length = std::max(0, TrackLength());
  int range = ThumbRange();
  if (range == 0) {
    thumbLength_ = std::min(thumbLength_, length);
    freeTrack_ = length - thumbLength_;
    return;
  }
  std::int64_t free = 100;
  int thumb = thumbLength_;
  for (int pass = 0; pass < 8; ++pass) {
    std::int64_t t = static_cast<std::int64_t>(band_) * free / range;
    thumb = static_cast<int>(std::clamp<std::int64_t>(t, kMinThumb, std::max(kMinThumb, length)));
    thumb = std::min(thumb, length);
    free = length - thumb;
  }
  thumbLength_ = thumb;
  freeTrack_ = static_cast<int>(free);
}

TRect TScrollBarModel::ThumbRect() const {
  int range = ThumbRange();
  int offset = 0;
  if (range > 0) {
    std::int64_t value = std::clamp(std::min(position_, mid_) - min_, 0, range);
    offset = static_cast<int>(value * freeTrack_ / range);
  }
  if (vertical_) return {track_.Left, track_.Top + offset, track_.Right, track_.Top + offset + thumbLength_};
  return {track_.Left + offset, track_.Top, track_.Left + offset + thumbLength_, track_.Bottom};
}

TRect TScrollBarModel::TrackBefore() const {
  TRect t = ThumbRect();
  return vertical_ ? TRect{track_.Left, track_.Top, track_.Right, t.Top} : TRect{track_.Left, track_.Top, t.Left, track_.Bottom};
}

TRect TScrollBarModel::TrackAfter() const {
  TRect t = ThumbRect();
  return vertical_ ? TRect{track_.Left, t.Bottom, track_.Right, track_.Bottom}
                   : TRect{t.Right, track_.Top, track_.Right, track_.Bottom};
}

void TScrollBarModel::ApplyStep() {
  if (step_ == 0) return;
  if (paging_) {
    // Page only while the mouse is still in the part of the track the press
    // started in, so the thumb stops where the mouse is.
    TRect part = pagedAfter_ ? TrackAfter() : TrackBefore();
    if (!part.Contains(pressPoint_)) return;
  }
  SetPosition(position_ + step_);
}

void TScrollBarModel::MouseDown(TMouseButton button, TShiftState, int x, int y) {
  if (button != TMouseButton::mbLeft) return;
  TPoint p{x, y};
  pressed_ = true;
  pressPoint_ = p;
  host_.SetCapture();
  step_ = 0;
  paging_ = false;
  if (ThumbRect().Contains(p)) {
    draggingThumb_ = true;
    dragStartPoint_ = p;
    dragStartPosition_ = position_;
    if (position_ > mid_) {
      SetPosition(mid_);
      dragStartPosition_ = position_;
    }
    return;
  }
  if (TrackAfter().Contains(p)) {
    step_ = Largechange;
    paging_ = pagedAfter_ = true;
  } else if (TrackBefore().Contains(p)) {
    step_ = -Largechange;
    paging_ = true;
    pagedAfter_ = false;
  } else if (arrow1_.Contains(p)) {
    pressedArrow_ = 1;
    step_ = -Smallchange;
  } else if (arrow2_.Contains(p)) {
    pressedArrow_ = 2;
    step_ = Smallchange;
  }
  if (pressedArrow_ != 0) host_.InvalidateAll();
  if (step_ == 0) return;
  ApplyStep();
  repeat_.Start();
}

void TScrollBarModel::Timer(int id) {
  if (id == kRepeatTimer && repeat_.Tick(pressed_)) ApplyStep();
}

void TScrollBarModel::MouseMove(TShiftState, int x, int y) {
  if (!pressed_) return;
  pressPoint_ = {x, y};
  if (!draggingThumb_ || freeTrack_ <= 0) return;
  std::int64_t moved = Along(pressPoint_) - Along(dragStartPoint_);
  std::int64_t v = dragStartPosition_ + moved * ThumbRange() / freeTrack_;
  SetPosition(static_cast<int>(std::min<std::int64_t>(mid_, std::max<std::int64_t>(v, min_))));
}

void TScrollBarModel::MouseUp(TMouseButton button, TShiftState, int, int) {
  if (button != TMouseButton::mbLeft || !pressed_) return;
  pressed_ = false;
  draggingThumb_ = false;
  paging_ = false;
  step_ = 0;
  pressedArrow_ = 0;
  repeat_.Stop();
  host_.ReleaseCapture();
  host_.InvalidateAll();
}

void TScrollBarModel::Paint(TCanvas& canvas) {
  TCanvasStateSaver saved(canvas);
  DrawBevel(canvas, host_.ClientRect(), kEdgeShadow, kEdgeLight);

  for (int which = 1; which <= 2; ++which) {
    TRect arrow = which == 1 ? arrow1_ : arrow2_;
    if (arrow.IsEmpty()) continue;
    DrawButton(canvas, arrow, pressedArrow_ == which);
    // A black triangle outlined in silver, pointing up or left for the first
    // arrow and down or right for the second.
    int cx = (arrow.Left + arrow.Right) / 2, cy = (arrow.Top + arrow.Bottom) / 2;
    int h = kArrowHalfBase, d = which == 1 ? -1 : 1;
    TPoint points[3];
    if (vertical_)
      points[0] = {cx - h, cy - d * h / 2}, points[1] = {cx + h, cy - d * h / 2}, points[2] = {cx, cy + d * (h - h / 2)};
    else
      points[0] = {cx - d * h / 2, cy - h}, points[1] = {cx - d * h / 2, cy + h}, points[2] = {cx + d * (h - h / 2), cy};
    canvas.Pen = TPen{kFaceSilver};
    canvas.Brush = TBrush{clBlack};
    canvas.Polygon(points);
  }

  for (const TRect& part : {TrackBefore(), TrackAfter()}) {
    if (dither_)
      FillChecker(canvas, part, color_, backcolor_);
    else
      FillSolid(canvas, part, color_);
  }
  TRect thumb = IntersectRect(ThumbRect(), track_);
  if (!thumb.IsEmpty()) DrawButton(canvas, thumb, false);
}

}  // namespace corvane
