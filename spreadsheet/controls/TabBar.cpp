// The tab bar's items, geometry, keys, mouse and paint.
#include "spreadsheet/controls/TabBar.h"

#include <algorithm>
#include <cctype>

#include "spreadsheet/controls/ControlDrawing.h"

namespace corvane {

using namespace classlib;

namespace {
constexpr int kTabPadding = 16;
constexpr size_t kMaxLabel = 30;
}  // namespace

std::string TabLabel(std::string_view item) {
  // The "&" that marks the accelerator letter is not shown ("&&" shows one).
  std::string_view raw = item.substr(0, std::min(item.find(':'), kMaxLabel));
  std::string label;
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '&' && i + 1 < raw.size()) ++i;
    label += raw[i];
  }
  return label;
}

std::string TabPickText(std::string_view item) {
  size_t colon = item.find(':');
  return std::string(colon == std::string_view::npos ? item : item.substr(colon + 1));
}

char TabAccelerator(std::string_view item) {
  size_t amp = item.find('&');
  while (amp != std::string_view::npos && amp + 1 < item.size() && item[amp + 1] == '&') amp = item.find('&', amp + 2);
  if (amp == std::string_view::npos || amp + 1 >= item.size()) return 0;
  return static_cast<char>(std::toupper(static_cast<unsigned char>(item[amp + 1])));
}

std::string TabDialogCaption(int lineCount) { return "Tabs:" + std::to_string(lineCount); }

TTabBarModel::TTabBarModel(TControlHost& host) : host_(host) {
  Font.Name = "Arial";
  Font.Height = -11;
  Font.Color = clBlack;
  for (char c = 'A'; c <= 'I'; ++c) items_.emplace_back(1, c);
}

// ---- Properties ---------------------------------------------------------------------

void TTabBarModel::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  Remeasure();
  ScrollTo(firstVisible_);
  if (itemIndex_ >= Count()) SetItemIndex(Count() - 1);
  host_.InvalidateAll();
}

void TTabBarModel::SetItemIndex(int index) {
  index = std::clamp(index, -1, Count() - 1);
  const bool changed = SetField(itemIndex_, index);
  ScrollIntoView(index);
  if (!changed) return;
  host_.InvalidateAll();
  if (OnChange) OnChange();
}

void TTabBarModel::ScrollIntoView(int index) {
  if (index < 0 || index >= Usable()) return;
  int first = std::min(firstVisible_, index);
  while (first < index && EndOf(index) - EndOf(first - 1) > body_) ++first;
  ScrollTo(first);
}

void TTabBarModel::SetMax(int n) {
  if (!SetField(max_, std::max(0, n))) return;
  ScrollTo(firstVisible_);
  host_.InvalidateAll();
}

void TTabBarModel::SetMargin(int pixels) {
  if (SetField(margin_, pixels)) host_.InvalidateAll();
}

void TTabBarModel::SetRtmargin(int pixels) {
  if (SetField(rtmargin_, pixels)) host_.InvalidateAll();
}

void TTabBarModel::SetBarwidth(int pixels) {
  if (SetField(barwidth_, pixels)) host_.InvalidateAll();
}

void TTabBarModel::SetBorder(int pixels) {
  if (SetField(border_, pixels)) host_.InvalidateAll();
}

void TTabBarModel::SetBody(int pixels) {
  if (SetField(body_, pixels)) host_.InvalidateAll();
}

void TTabBarModel::SetBackcolor(TColor c) {
  backcolor_ = c;
  host_.InvalidateAll();
}

void TTabBarModel::SetFocus(TColor c) {
  if (SetField(focus_, c)) host_.InvalidateAll();
}

void TTabBarModel::SetUnfocus(TColor c) {
  if (SetField(unfocus_, c)) host_.InvalidateAll();
}

// ---- Geometry -----------------------------------------------------------------------------

void TTabBarModel::Measure(TCanvas& canvas) const {
  TCanvasStateSaver saved(canvas);
  canvas.Font = Font;
  widths_.clear();
  for (const std::string& item : items_) widths_.push_back(canvas.TextWidth(TabLabel(item)) + kTabPadding);
  measured_ = true;
}

void TTabBarModel::EnsureMeasured() const {
  if (!measured_) host_.DrawNow([this](TCanvas& canvas) { Measure(canvas); });
}

int TTabBarModel::Usable() const { return std::min(max_, Count()); }

int TTabBarModel::TabWidth(int i) const {
  EnsureMeasured();
  return i >= 0 && i < static_cast<int>(widths_.size()) ? widths_[static_cast<size_t>(i)] : 0;
}

int TTabBarModel::EndOf(int i) const {
  EnsureMeasured();
  int end = 0;
  for (int k = 0; k <= i && k < static_cast<int>(widths_.size()); ++k) end += widths_[static_cast<size_t>(k)];
  return end;
}

int TTabBarModel::TabLeft(int i) const { return TabStart() + EndOf(i - 1) - EndOf(firstVisible_ - 1); }

int TTabBarModel::TabAt(int x) const {
  if (x < TabStart() || x > TabStart() + body_) return -1;
  for (int i = firstVisible_; i < Usable(); ++i) {
    int left = TabLeft(i), right = left + TabWidth(i);
    if (right - TabStart() > body_) break;
    if (x >= left && x < right) return i;
  }
  return -1;
}

bool TTabBarModel::ScrollBarVisible() const {
  if (firstVisible_ > 0) return true;
  return Usable() > 0 && EndOf(Usable() - 1) > body_;
}

int TTabBarModel::ScrollMax() const { return std::max(0, Usable() - 1); }

void TTabBarModel::ScrollTo(int position) {
  int first = std::clamp(position, 0, ScrollMax());
  if (SetField(firstVisible_, first)) host_.InvalidateAll();
}

// ---- Input -------------------------------------------------------------------------------------

void TTabBarModel::SelectByAccelerator(char upper, bool beepOnMiss, bool& found) {
  found = false;
  int n = Count();
  for (int k = 1; k <= n; ++k) {
    int i = ((itemIndex_ + k) % n + n) % n;
    if (TabAccelerator(items_[static_cast<size_t>(i)]) == upper) {
      SetItemIndex(i);
      found = true;
      return;
    }
  }
  if (beepOnMiss) host_.Beep(kBeepSimple);
}

void TTabBarModel::KeyPress(char ch) {
  if (ch == ' ') {
    if (Count() == 0) {
      host_.Beep(kBeepSimple);
      return;
    }
    SetItemIndex((itemIndex_ + 1) % Count());
    return;
  }
  bool found;
  char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  if (upper == 0) {
    host_.Beep(kBeepSimple);
    return;
  }
  SelectByAccelerator(upper, true, found);
}

std::string TTabBarModel::Accelerators() const {
  std::string letters;
  for (const std::string& item : items_)
    if (char letter = TabAccelerator(item)) letters += letter;
  return letters;
}

bool TTabBarModel::DialogChar(char ch) {
  char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  if (upper == 0) return false;
  bool found;
  SelectByAccelerator(upper, false, found);
  return found;
}

void TTabBarModel::MouseDown(TMouseButton button, TShiftState, int x, int y) {
  int tab = TabAt(x);
  if (tab < 0) return;
  if (button == TMouseButton::mbRight) {
    if (LockTab) return;
    SetItemIndex(tab);
    if (!OnDefineTabs) return;
    if (std::optional<std::vector<std::string>> items = OnDefineTabs(items_)) SetItems(std::move(*items));
    return;
  }
  if (button != TMouseButton::mbLeft) return;
  host_.SetCapture();
  pressed_ = true;
  SetItemIndex(tab);
}

void TTabBarModel::MouseMove(TShiftState, int x, int y) {
  if (pressed_) SetItemIndex(TabAt(x));
}

void TTabBarModel::MouseUp(TMouseButton button, TShiftState, int x, int y) {
  if (!pressed_ || button != TMouseButton::mbLeft) return;
  pressed_ = false;
  host_.ReleaseCapture();
  if (itemIndex_ >= 0 && Onpick) Onpick(*this, TabPickText(items_[static_cast<size_t>(itemIndex_)]));
}

// ---- Painting --------------------------------------------------------------------------------------

void TTabBarModel::PaintTab(TCanvas& canvas, int i, int textHeight) {
  const bool selected = i == itemIndex_;
  const int left = TabLeft(i), right = left + TabWidth(i);
  const int bottom = textHeight + 6;
  const TPoint shape[4] = {{left - 5, 0}, {left + 5, bottom}, {right - 5, bottom}, {right + 5, 0}};
  canvas.Brush = TBrush{selected ? focus_ : unfocus_};
  canvas.Pen = TPen{clBlack};
  canvas.Polygon(shape);
  if (selected) {
    // The selected tab opens into the body above it, lit along its left slope.
    canvas.Pen = TPen{focus_};
    canvas.MoveTo(left - 4, 0);
    canvas.LineTo(right + 5, 0);
    canvas.Pen = TPen{clWhite};
    canvas.MoveTo(left - 4, 1);
    canvas.LineTo(left + 5, bottom);
  }
  canvas.Brush.Style = TBrushStyle::bsClear;
  TRect text = TRect{left, 0, right, host_.ClientRect().Bottom - 2}.Inflate(-2, -1).Offset(0, 4);
  canvas.TextRect(text, (text.Left + text.Right) / 2, text.Top, TabLabel(items_[static_cast<size_t>(i)]));
}

void TTabBarModel::Paint(TCanvas& canvas) {
  TCanvasStateSaver saved(canvas);
  const TRect client = host_.ClientRect();
  FillChecker(canvas, client, backcolor_, clSilver);
  const TRect inset = client.Inflate(-(border_ + 1), -(border_ + 1));
  FillSolid(canvas, {inset.Left, inset.Bottom - 1, inset.Right, inset.Bottom}, clWhite);
  FillSolid(canvas, {inset.Right - 1, inset.Top, inset.Right, inset.Bottom}, clWhite);

  Measure(canvas);
  canvas.Font = Font;
  canvas.TextAlign = taCenter | taTop;
  const int textHeight = canvas.TextHeight("Ag");

  int last = firstVisible_ - 1;
  for (int i = firstVisible_; i < Usable() && TabLeft(i) + TabWidth(i) - TabStart() <= body_; ++i) {
    if (i != itemIndex_) PaintTab(canvas, i, textHeight);
    last = i;
  }
  // The body line the tabs hang from, then the selected tab over it.
  canvas.Pen = TPen{clBlack};
  canvas.Brush = TBrush{focus_};
  canvas.Rectangle({TabStart() - 8, -1, TabStart() + body_ + 8, 2});
  if (itemIndex_ >= firstVisible_ && itemIndex_ <= last) PaintTab(canvas, itemIndex_, textHeight);
  if (host_.Focused()) FillSolid(canvas, {1, 1, 4, 4}, clBlack);
}

}  // namespace corvane
