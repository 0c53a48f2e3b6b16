// Conversions, spin steps, keys and the button zone of the captioned value edit.
#include "spreadsheet/controls/ValueEdit.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "spreadsheet/controls/ControlDrawing.h"

namespace corvane {

using namespace classlib;

namespace {

constexpr unsigned kRepeatMs = 100;

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  return s;
}

}  // namespace

bool PEditReadInt(std::string_view text, int& value) {
  text = Trimmed(text);
  value = 0;
  if (text.empty()) return true;
  int v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size()) return false;
  value = v;
  return true;
}

bool PEditReadReal(std::string_view text, char separator, double& value) {
  std::string s(Trimmed(text));
  value = 0;
  if (s.empty()) return true;
  if (size_t at = s.find(separator); at != std::string::npos) s[at] = '.';
  double v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v)) return false;
  value = v;
  return true;
}

int PEditTextToInt(std::string_view text) {
  int v = 0;
  return PEditReadInt(text, v) ? v : 0;
}

double PEditTextToReal(std::string_view text, char separator) {
  double v = 0;
  return PEditReadReal(text, separator, v) ? v : 0;
}

// std::to_chars formats the same way in every build (it does not go through
// the C runtime's printf), so a dialog shows the same text natively and on
// Windows.
std::string PEditRealToText(double value, bool whole, char separator) {
  char buffer[64];
  auto [end, ec] = whole ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 0)
                         : std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  std::string s(buffer, ec == std::errc() ? end : buffer);
  if (s == "-0") s.erase(0, 1);
  size_t exponent = s.find('e');
  std::string mantissa = s.substr(0, exponent);
  std::string tail = exponent == std::string::npos ? "" : s.substr(exponent);
  if (mantissa.find('.') != std::string::npos) {
    while (mantissa.back() == '0') mantissa.pop_back();
    if (mantissa.back() == '.') mantissa.pop_back();
  }
  if (size_t dot = mantissa.find('.'); dot != std::string::npos) mantissa[dot] = separator;
  if (!tail.empty()) tail[0] = 'E';
  return mantissa + tail;
}

double PEditSpinValue(double value, double step, double minVal, double maxVal) {
  double v = value + step;
  if (!(v >= minVal)) v = minVal;
  if (maxVal != 0) v = std::min(v, maxVal);
  return v;
}

std::string PEditFitCaption(const std::string& caption, int margin,
                            const std::function<int(std::string_view)>& width) {
  if (width(caption) <= margin) return caption;
  for (size_t n = caption.size(); n-- > 0;) {
    std::string shortened = caption.substr(0, n) + "...";
    if (width(shortened) <= margin) return shortened;
  }
  return "...";
}

TPEditLayout PEditLayoutFor(int width, int height, int margin, bool button) {
  int zone = button ? TValueEditModel::kButtonZoneWidth : 0;
  int zoneLeft = std::max(margin, width - zone);
  return {{0, 2, margin, height}, {margin, 0, zoneLeft, height}, {zoneLeft, 0, width, height}};
}

TValueEditModel::TValueEditModel(TControlHost& host) : host_(host), repeat_(host, kRepeatTimer, kRepeatMs) {}

std::string TValueEditModel::Refuse() const {
  host_.Beep(kBeepSimple);
  if (WriteText) WriteText(lastGood_);
  return lastGood_;
}

int TValueEditModel::Vali() const {
  std::string text = Text();
  int v = 0;
  if (PEditReadInt(text, v)) {
    lastGood_ = text;
    return v;
  }
  return PEditTextToInt(Refuse());
}

void TValueEditModel::SetVali(int v) { SetText(std::to_string(v)); }

double TValueEditModel::Valr() const {
  if (Onval) {
    double r = 0;
    Onval(r);
    return r;
  }
  std::string text = Text();
  double v = 0;
  if (PEditReadReal(text, DecimalSeparator, v)) {
    lastGood_ = text;
    return v;
  }
  return PEditTextToReal(Refuse(), DecimalSeparator);
}

void TValueEditModel::SetValr(double v) { SetText(PEditRealToText(v, Int, DecimalSeparator)); }

void TValueEditModel::Spin(double step) {
  SetValr(PEditSpinValue(Valr(), step, MinVal, MaxVal));
  if (AfterSpin) AfterSpin();
}

TPEditKey TValueEditModel::KeyDown(int key) {
  switch (key) {
    case vk::Next:
      if (!Updn) return TPEditKey::None;
      Spin(-inc_);
      return TPEditKey::Handled;
    case vk::Prior:
      if (!Updn) return TPEditKey::None;
      Spin(inc_);
      return TPEditKey::Handled;
    case vk::Up: return TPEditKey::FocusPrevious;
    case vk::Down: return TPEditKey::FocusNext;
    case vk::F9: {
      host_.Beep(kBeepSimple);
      if (oncalc) {
        std::string temp = Text();
        oncalc(temp);
        SetText(temp);
      }
      return TPEditKey::Handled;
    }
    case vk::Return: return TPEditKey::EndEntry;
    case vk::Escape:
      if (Text().empty()) return TPEditKey::RestoreFocus;
      SetText("");
      return TPEditKey::Handled;
    default: return TPEditKey::None;
  }
}

void TValueEditModel::MouseDown(TMouseButton button, int x, int y) {
  if (button != TMouseButton::mbLeft) return;
  pressed_ = true;
  if (!Updn) {
    hot_ = Button && ButtonZone.Contains({x, y}) ? 1 : 0;
    host_.InvalidateAll();
    return;
  }
  // The 16 x 16 glyph is split along its rising diagonal: above it steps up,
  // below it down, on it nothing.
  int d = x - ButtonZone.Left;
  hot_ = 0;
  if (1 < d && d < kGlyphSize) {
    host_.Beep(kBeepSimple);
    if (d < kGlyphSize - y)
      hot_ = 1, step_ = inc_;
    else if (d > kGlyphSize - y)
      hot_ = 2, step_ = -inc_;
  }
  if (hot_ == 0) return;
  repeat_.Start();
  host_.InvalidateAll();
  Spin(step_);
}

void TValueEditModel::Timer(int id) {
  if (id == kRepeatTimer && repeat_.Tick(pressed_ && hot_ != 0)) Spin(step_);
}

void TValueEditModel::MouseMove(int x, int y) {
  if (!pressed_ || Updn || !Button) return;
  int hot = ButtonZone.Contains({x, y}) ? 1 : 0;
  if (hot == hot_) return;
  hot_ = hot;
  host_.InvalidateAll();
}

void TValueEditModel::MouseUp(TMouseButton button, int x, int y) {
  if (button != TMouseButton::mbLeft || !pressed_) return;
  pressed_ = false;
  hot_ = 0;
  repeat_.Stop();
  host_.InvalidateAll();
  if (!Updn && Button && ButtonZone.Contains({x, y}) && OnDblClick) OnDblClick();
}

void TValueEditModel::PaintSpinGlyph(TCanvas& canvas, int left, int top) {
  // Upper part: the triangle above the rising diagonal, with an up arrow;
  // lower part below it, with a down arrow; the pressed part is shaded.
  const int s = kGlyphSize;
  const TPoint upper[3] = {{left, top}, {left + s, top}, {left, top + s}};
  const TPoint lower[3] = {{left + s, top}, {left + s, top + s}, {left, top + s}};
  canvas.Pen = TPen{kEdgeShadow};
  canvas.Brush = TBrush{hot_ == 1 ? kEdgeShadow : kFaceSilver};
  canvas.Polygon(upper);
  canvas.Brush = TBrush{hot_ == 2 ? kEdgeShadow : kFaceSilver};
  canvas.Polygon(lower);
  canvas.Pen = TPen{clBlack};
  canvas.Brush = TBrush{clBlack};
  const TPoint up[3] = {{left + 2, top + 7}, {left + 8, top + 7}, {left + 5, top + 3}};
  const TPoint down[3] = {{left + 8, top + 9}, {left + 14, top + 9}, {left + 11, top + 13}};
  canvas.Polygon(up);
  canvas.Polygon(down);
}

void TValueEditModel::PaintButtonZone(TCanvas& canvas) {
  if (!Button || ButtonZone.IsEmpty()) return;
  TCanvasStateSaver saved(canvas);
  if (Updn) {
    TRect r = DrawBevel(canvas, ButtonZone, kEdgeShadow, kEdgeLight);
    r = DrawBevel(canvas, r, clBlack, kFaceSilver);
    r = DrawBevel(canvas, r, kEdgeLight, kEdgeShadow);
    FillSolid(canvas, r, kFaceSilver);
    PaintSpinGlyph(canvas, ButtonZone.Left, ButtonZone.Top);
    return;
  }
  TRect r = DrawBevel(canvas, ButtonZone, clBlack, clBlack);
  r = DrawButton(canvas, r, hot_ == 1);
  int shift = hot_ == 1 ? 1 : 0;
  int cx = (r.Left + r.Right) / 2 + shift, cy = (r.Top + r.Bottom) / 2 + shift;
  for (int dot = -1; dot <= 1; ++dot) FillSolid(canvas, {cx + dot * 3 - 1, cy, cx + dot * 3 + 1, cy + 2}, clBlack);
}

}  // namespace corvane
