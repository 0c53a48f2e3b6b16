// TScrollBarModel: the self-drawn scroll bar without its window. Its thumb is
// scaled to Mid rather than Max: dragging the thumb covers Min..Mid, while the
// arrows and the track page on up to Max. A press on an arrow or the track
// steps at once, again after 400 ms and then every 50 ms while held; paging
// stops when the thumb reaches the mouse. Vertical or horizontal follows the
// shape of the client area. The Windows Twscroll is a thin window over it.
#pragma once

#include <functional>

#include "spreadsheet/controls/ControlBase.h"

namespace corvane {

class TScrollBarModel {
 public:
  static constexpr int kRepeatTimer = 1;
  static constexpr int kArrowSize = 14;
  static constexpr int kMinThumb = 8;

  explicit TScrollBarModel(TControlHost& host);

  int Min() const { return min_; }
  void SetMin(int v) { SetLimit(min_, v); }
  int Max() const { return max_; }
  void SetMax(int v) { SetLimit(max_, v); }
  int Mid() const { return mid_; }
  void SetMid(int v) { SetLimit(mid_, v); }
  int Band() const { return band_; }
  void SetBand(int v) { SetLimit(band_, v); }
  int Smallchange = 1;
  int Largechange = 10;
  bool Dither() const { return dither_; }
  void SetDither(bool on);
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  TColor Backcolor() const { return backcolor_; }
  void SetBackcolor(TColor c);

  int Position() const { return position_; }
  // Clamps to Min..Max; when the value changes, repaints and fires OnChange.
  void SetPosition(int v);

  std::function<void()> OnChange;

  // Lays the parts out for the host's client size (call on every resize).
  void Layout();
  bool Vertical() const { return vertical_; }
  int ThumbLength() const { return thumbLength_; }
  // The parts as they stand now.
  TRect ThumbRect() const;
  TRect FirstArrow() const { return arrow1_; }
  TRect SecondArrow() const { return arrow2_; }
  TRect Track() const { return track_; }

  void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  void MouseMove(TShiftState shift, int x, int y);
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  void Timer(int id);

  void Paint(TCanvas& canvas);

 private:
  int ThumbRange() const { return mid_ - min_; }
  int TrackLength() const { return vertical_ ? track_.Height() : track_.Width(); }
  int Along(TPoint p) const { return vertical_ ? p.y : p.x; }
  void SetLimit(int& field, int v);
  void ComputeThumbLength();
  // The track before and after the thumb.
  TRect TrackBefore() const;
  TRect TrackAfter() const;
  void ApplyStep();

  TControlHost& host_;
  TPressRepeat repeat_;
  int min_ = 0, max_ = 100, mid_ = 60, band_ = 20;
  int position_ = 0;
  bool dither_ = true;
  TColor color_ = 0x00FFFF;
  TColor backcolor_ = 0xFFFFFF;
  bool vertical_ = true;
  int thumbLength_ = 14;
  int freeTrack_ = 100;
  TRect arrow1_, arrow2_, track_;

  bool pressed_ = false;
  bool draggingThumb_ = false;
  int step_ = 0;
  bool paging_ = false;
  bool pagedAfter_ = false;  // the page press started in the track after the thumb
  int pressedArrow_ = 0;     // 1 or 2 while an arrow is held
  TPoint pressPoint_;
  TPoint dragStartPoint_;
  int dragStartPosition_ = 0;
};

}  // namespace corvane
