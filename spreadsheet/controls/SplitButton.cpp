// The split speed button's zones, repeat and face.
#include "spreadsheet/controls/SplitButton.h"

#include "spreadsheet/controls/ControlDrawing.h"

namespace corvane {

using namespace classlib;

namespace {
constexpr unsigned kRepeatMs = 100;
constexpr int kGlyphMargin = 2;
}  // namespace

TSplitButtonModel::TSplitButtonModel(TControlHost& host) : host_(host), repeat_(host, kRepeatTimer, kRepeatMs) {}

void TSplitButtonModel::SetMode(Tspmode mode) {
  mode_ = mode;
  host_.InvalidateAll();
}

void TSplitButtonModel::SetRep(bool on) {
  rep_ = on;
  host_.InvalidateAll();
}

void TSplitButtonModel::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  host_.InvalidateAll();
}

void TSplitButtonModel::SetGlyphSize(int width, int height) {
  glyphWidth_ = width;
  glyphHeight_ = height;
  host_.InvalidateAll();
}

int TSplitButtonModel::ZoneAt(int x, int y) const {
  TRect client = host_.ClientRect();
  int w = client.Width(), h = client.Height();
  switch (mode_) {
    case Tspmode::None: return 1;
    case Tspmode::Horiz: return x < w / 2 ? 1 : x > w / 2 ? 2 : 0;
    case Tspmode::Vert: return y < h / 2 ? 1 : y > h / 2 ? 2 : 0;
    case Tspmode::Diag:
      // Split along the rising diagonal of the face.
      if (!(1 < x && x < w)) return 0;
      return x < h - y ? 1 : x > h - y ? 2 : 0;
  }
  return 0;
}

void TSplitButtonModel::FireZone() {
  if (zone_ == 1 && OnUpclick) OnUpclick();
  if (zone_ == 2 && OnDnclick) OnDnclick();
}

void TSplitButtonModel::MouseDown(TMouseButton button, int x, int y) {
  if (button != TMouseButton::mbLeft) return;
  pressed_ = true;
  if (mode_ == Tspmode::None) {
    zone_ = 1;
    host_.InvalidateAll();
    if (OnClick) OnClick();
    return;
  }
  if (mode_ == Tspmode::Diag && 1 < x && x < host_.ClientRect().Width()) host_.Beep(kBeepSimple);
  zone_ = ZoneAt(x, y);
  if (zone_ == 0) return;
  if (rep_) repeat_.Start();
  host_.InvalidateAll();
  FireZone();
}

void TSplitButtonModel::Timer(int id) {
  if (id == kRepeatTimer && repeat_.Tick(pressed_ && zone_ != 0)) FireZone();
}

void TSplitButtonModel::MouseUp(TMouseButton button, int, int) {
  if (button != TMouseButton::mbLeft) return;
  pressed_ = false;
  zone_ = 0;
  repeat_.Stop();
  host_.InvalidateAll();
}

TRect TSplitButtonModel::GlyphSource() const {
  if (!HasGlyph()) return {};
  if (mode_ == Tspmode::None) return {0, 0, glyphWidth_, glyphHeight_};
  int third = glyphWidth_ / 3;
  return {zone_ * third, 0, zone_ * third + third, glyphHeight_};
}

TRect TSplitButtonModel::GlyphDest() const {
  TRect source = GlyphSource();
  TRect inner = host_.ClientRect().Inflate(-kGlyphMargin, -kGlyphMargin);
  int left = inner.Left + (inner.Width() - source.Width()) / 2;
  int top = inner.Top + (inner.Height() - source.Height()) / 2;
  return IntersectRect({left, top, left + source.Width(), top + source.Height()}, inner);
}

void TSplitButtonModel::Paint(TCanvas& canvas) {
  TCanvasStateSaver saved(canvas);
  TRect client = host_.ClientRect();
  if (zone_ == 0)
    DrawButton(canvas, client, false);
  else
    FillSolid(canvas, DrawBevel(canvas, DrawBevel(canvas, client, clBlack, kEdgeLight), kEdgeShadow, kFaceSilver),
              kFaceSilver);
}

}  // namespace corvane
