// The header strip's tables, geometry, mouse and painting.
#include "spreadsheet/controls/Header.h"

#include <algorithm>
#include <cstdlib>

#include "spreadsheet/controls/ControlDrawing.h"

namespace corvane {

using namespace classlib;

namespace {
constexpr int kOutsideRowSize = 254;
constexpr int kOutsideColumnSize = 2032;
constexpr int kBorderSlack = 3;
}  // namespace

THeaderTables::THeaderTables(int maxCols)
    : sizes(static_cast<size_t>(maxCols) + 2, kDefaultSize), positions(static_cast<size_t>(maxCols) + 2, 0) {}

std::string HeaderLetters(int n) {
  if (n < 1) return "";
  std::string s;
  if (n - 1 > 25) s += static_cast<char>((n - 1) / 26 + 64);
  s += static_cast<char>('A' + (n - 1) % 26);
  return s;
}

THeaderModel::THeaderModel(TControlHost& host) : host_(host) { NewTables(); }

void THeaderModel::NewTables() { tables_ = std::make_shared<THeaderTables>(maxCols_); }

// ---- Properties ---------------------------------------------------------------

void THeaderModel::SetDir(int dir) {
  if (dir == dir_) return;
  dir_ = dir;
  tables_->positionsValid = false;
  Repaint();
}

void THeaderModel::SetMaxCols(int n) {
  if (n == maxCols_ || n < 1) return;
  maxCols_ = n;
  pagesize_ = page_ != 0 ? maxCols_ / page_ : maxCols_;
  NewTables();
  leftcol_ = std::min(leftcol_, maxCols_ - 1);
  Repaint();
}

void THeaderModel::SetLeftcol(int index) {
  if (index == leftcol_) return;
  leftcol_ = std::clamp(index, fixpos_, std::max(fixpos_, maxCols_ - 1));
  Repaint();
}

void THeaderModel::SetFixsize(int pixels) {
  if (pixels == fixsize_) return;
  fixsize_ = std::max(0, pixels);
  Repaint();
}

void THeaderModel::SetDefwidth(int pixels) {
  defwidth_ = std::max(0, pixels);
  tables_->positionsValid = false;
  Repaint();
}

void THeaderModel::SetScale(int percent) {
  scale_ = percent;
  tables_->positionsValid = false;
  Repaint();
}

void THeaderModel::SetFixpos(int index) {
  if (SetField(fixpos_, index)) Repaint();
}

void THeaderModel::SetFixpos2(int index) {
  if (SetField(fixpos2_, index)) Repaint();
}

void THeaderModel::SetPage(int page) {
  if (SetField(page_, page)) Repaint();
}

void THeaderModel::SetPagesize(int n) {
  if (SetField(pagesize_, n)) Repaint();
}

void THeaderModel::SetD3on(bool on) {
  if (SetField(d3on_, on)) Repaint();
}

// ---- Geometry -------------------------------------------------------------------

int THeaderModel::Entry(int i) const {
  if (i < 0 || i >= maxCols_) return kDefaultSize;
  return tables_->sizes[static_cast<size_t>(i)];
}

int THeaderModel::Size(int i) const {
  if (i >= maxCols_) return dir_ == 1 ? kOutsideRowSize : kOutsideColumnSize;
  int entry = Entry(i);
  int raw = entry == kDefaultSize ? defwidth_ : (dir_ == 1 ? entry : entry * 8);
  return (raw * EffectiveScale() + 50) / 100;
}

void THeaderModel::EnsurePositions() const {
  THeaderTables& t = *tables_;
  if (t.positionsValid && t.builtScale == EffectiveScale() && t.builtDefwidth == defwidth_ && t.builtDir == dir_)
    return;
  t.positions.assign(static_cast<size_t>(maxCols_) + 2, 0);
  for (int i = 0; i <= maxCols_; ++i) t.positions[static_cast<size_t>(i) + 1] = t.positions[static_cast<size_t>(i)] + Size(i);
  t.positionsValid = true;
  t.builtScale = EffectiveScale();
  t.builtDefwidth = defwidth_;
  t.builtDir = dir_;
}

int THeaderModel::Pos(int i) const {
  if (i <= 0) return 0;
  EnsurePositions();
  return tables_->positions[static_cast<size_t>(std::min(i, maxCols_ + 1))];
}

int THeaderModel::FixAmt() const { return std::max(0, Pos(fixpos2_) - Pos(fixpos_)); }

int THeaderModel::ClientLength() const {
  TRect r = host_.ClientRect();
  return dir_ == 0 ? r.Width() : r.Height();
}

int THeaderModel::RightCol() const {
  int length = ClientLength();
  int start = fixsize_ + FixAmt() - Pos(leftcol_);
  int last = leftcol_ - 1;
  for (int i = leftcol_; i <= maxCols_ && start + Pos(i) < length; ++i) last = i;
  return last;
}

int THeaderModel::NCols() const { return std::max(0, RightCol() - leftcol_); }

// ---- Size changes -------------------------------------------------------------------

void THeaderModel::SizeFromPixels(int i, int pixels) {
  if (i < 0 || i >= maxCols_) return;
  int v = std::max(0, pixels) * 100 / EffectiveScale();
  if (dir_ == 0) v /= 8;
  if (v > kDefaultSize) v = kMaxExplicitSize;
  if (v == Entry(i)) return;
  tables_->sizes[static_cast<size_t>(i)] = static_cast<std::uint16_t>(v);
  tables_->positionsValid = false;
  Repaint();
}

void THeaderModel::SetRawEntry(int i, int v) {
  if (i < 0 || i >= maxCols_) return;
  v = std::max(v, 0);
  if (v > kDefaultSize) v = kMaxExplicitSize;
  tables_->sizes[static_cast<size_t>(i)] = static_cast<std::uint16_t>(v);
  tables_->positionsValid = false;
}

void THeaderModel::InsertEntries(int i, int n) {
  if (i < 0 || i >= maxCols_ || n <= 0) return;
  n = std::min(n, maxCols_ - i);
  auto first = tables_->sizes.begin() + i;
  auto end = tables_->sizes.begin() + maxCols_;
  std::copy_backward(first, end - n, end);
  tables_->positionsValid = false;
  Repaint();
}

void THeaderModel::DeleteEntries(int i, int n) {
  if (i < 0 || i >= maxCols_ || n <= 0) return;
  n = std::min(n, maxCols_ - i);
  auto first = tables_->sizes.begin() + i;
  auto end = tables_->sizes.begin() + maxCols_;
  std::copy(first + n, end, first);
  std::fill(end - n, end, static_cast<std::uint16_t>(kDefaultSize));
  tables_->positionsValid = false;
  Repaint();
}

void THeaderModel::UseTables(std::shared_ptr<THeaderTables> tables) {
  if (!tables || tables->sizes.size() != static_cast<size_t>(maxCols_) + 2) return;
  tables_ = std::move(tables);
  tables_->positionsValid = false;
  Repaint();
}

// ---- Mouse -------------------------------------------------------------------------

int THeaderModel::BorderAt(int c) const {
  int along = c + Pos(leftcol_) - ZoneStart();
  int hit = 0;
  int right = RightCol();
  for (int i = leftcol_ + 1; i <= right; ++i)
    if (std::abs(along - Pos(i)) <= kBorderSlack) hit = i;
  return hit;
}

int THeaderModel::IndexAt(int c) const {
  int zoneStart = ZoneStart();
  if (c <= zoneStart) return -1;
  int along = c + Pos(leftcol_) - zoneStart;
  int right = std::min(RightCol(), maxCols_ - 1);
  for (int i = leftcol_; i < right; ++i)
    if (Pos(i) <= along && along <= Pos(i + 1)) return i;
  return std::max(right, leftcol_);
}

int THeaderModel::SizingPosition(int i) const { return FixAmt() + fixsize_ + Pos(i) + Size(i) - Pos(leftcol_); }

void THeaderModel::MouseDown(TMouseButton button, TShiftState, int x, int y) {
  if (button != TMouseButton::mbLeft || pressed_) return;
  int c = Along(x, y);
  host_.SetCapture();
  pressed_ = true;
  pressPosition_ = c;
  if (int border = BorderAt(c); border != 0) {
    if (OnSized) OnSized();
    resizeIndex_ = border - 1;
    resizeStartSize_ = Size(resizeIndex_);
    resizing_ = true;
    if (OnSizing) OnSizing(SizingPosition(resizeIndex_));
    return;
  }
  pressIndex_ = currentIndex_ = IndexAt(c);
  if (currentIndex_ >= 0) host_.DrawNow([this](TCanvas& canvas) { Paint(canvas); });
}

void THeaderModel::ApplyResize(int c) {
  int before = Entry(resizeIndex_);
  SizeFromPixels(resizeIndex_, c + resizeStartSize_ - pressPosition_);
  if (Entry(resizeIndex_) != before && OnSizing) OnSizing(SizingPosition(resizeIndex_));
}

void THeaderModel::MouseMove(TShiftState, int x, int y) {
  int c = Along(x, y);
  if (!pressed_) {
    host_.SetMouseCursor(BorderAt(c) == 0 ? classlib::crDefault : dir_ == 0 ? classlib::crHSplit : classlib::crVSplit);
    return;
  }
  if (resizing_) {
    ApplyResize(c);
    return;
  }
  if (c < ZoneStart()) {
    SetLeftcol(std::max({leftcol_ - 1, 0, fixpos2_}));
    if (OnSized) OnSized();
    host_.Beep(kBeepSimple);
  } else if (c > ClientLength()) {
    // Scroll on by one while that does not bring the outside index into view.
    int before = leftcol_;
    SetLeftcol(leftcol_ + 1);
    if (RightCol() >= maxCols_) SetLeftcol(before);
    if (OnSized) OnSized();
    host_.Beep(kBeepSimple);
  }
  int index = IndexAt(c);
  if (pressIndex_ >= 0 && index < 0) index = leftcol_;
  if (index != currentIndex_) {
    currentIndex_ = index;
    Repaint();
  }
}

void THeaderModel::MouseUp(TMouseButton button, TShiftState, int x, int y) {
  if (button != TMouseButton::mbLeft) return;
  host_.ReleaseCapture();
  if (!pressed_) return;
  pressed_ = false;
  if (resizing_) {
    resizing_ = false;
    ApplyResize(Along(x, y));
    if (OnSized) OnSized();
    return;
  }
  int first = pressIndex_, last = currentIndex_;
  currentIndex_ = -1;
  Repaint();
  if (Onclick) Onclick(first, last);
}

// ---- Painting -------------------------------------------------------------------------

void THeaderModel::PaintIndex(TCanvas& canvas, int i, int start, int length) {
  TRect client = host_.ClientRect();
  int size = Size(i);
  if (dir_ == 0 && size < 2) return;
  TRect r = dir_ == 0 ? TRect{start, 0, start + size, client.Bottom} : TRect{0, start, client.Right, start + size};
  r = dir_ == 0 ? TRect{r.Left, r.Top, std::min(r.Right, length), r.Bottom}
                : TRect{r.Left, r.Top, r.Right, std::min(r.Bottom, length)};
  bool pressed = currentIndex_ >= 0 && i >= std::min(pressIndex_, currentIndex_) &&
                 i <= std::max(pressIndex_, currentIndex_);
  TRect face;
  if (d3on_) {
    face = pressed ? DrawBevel(canvas, r, kEdgeShadow, kEdgeLight) : DrawBevel(canvas, r, kEdgeLight, kEdgeShadow);
    FillSolid(canvas, face, pressed ? kEdgeShadow : kFaceSilver);
  } else {
    face = DrawBevel(canvas, r, clBlack, clBlack);
    FillSolid(canvas, face, pressed ? kEdgeShadow : kFaceSilver);
  }
  std::string label;
  if (dir_ == 0)
    label = i >= maxCols_ ? "Outside" : HeaderLetters(i + 1);
  else if (pagesize_ != 0 && i < maxCols_)
    label = std::to_string(i % pagesize_ + 1);
  int inset = d3on_ ? 1 : 2;
  TRect text = r.Inflate(-inset, -inset);
  canvas.TextRect(text, (text.Left + text.Right) / 2, text.Top, label);
}

void THeaderModel::Paint(TCanvas& canvas) {
  TCanvasStateSaver saved(canvas);
  TRect client = host_.ClientRect();
  int length = ClientLength();
  canvas.Font.Name = EffectiveScale() > 86 ? "Arial" : "Small Fonts";
  canvas.Font.Height = EffectiveScale() * 14 / 100;
  canvas.Font.Style = 0;
  canvas.Font.Color = clBlack;
  canvas.TextAlign = taCenter | taTop;
  canvas.Brush.Style = TBrushStyle::bsClear;

  // The corner, drawn in the style opposite to the cells.
  TRect corner = dir_ == 0 ? TRect{0, 0, fixsize_, client.Bottom} : TRect{0, 0, client.Right, fixsize_};
  if (!corner.IsEmpty()) {
    TRect face = d3on_ ? DrawBevel(canvas, corner, clBlack, clBlack) : DrawBevel(canvas, corner, kEdgeLight, kEdgeShadow);
    FillSolid(canvas, face, kFaceSilver);
    if (dir_ == 0 && page_ > 0)
      canvas.TextRect(face, (face.Left + face.Right) / 2, face.Top + 1, HeaderLetters(page_));
  }

  int fixAmt = FixAmt();
  for (int i = fixpos_; i < maxCols_ && Pos(i) - Pos(fixpos_) < fixAmt; ++i)
    PaintIndex(canvas, i, fixsize_ + Pos(i) - Pos(fixpos_), fixsize_ + fixAmt);

  int start = fixsize_ + fixAmt - Pos(leftcol_);
  int end = fixsize_ + fixAmt;
  for (int i = leftcol_; i <= maxCols_ && start + Pos(i) < length; ++i) {
    PaintIndex(canvas, i, start + Pos(i), length);
    end = start + Pos(i) + Size(i);
  }
  if (end < length) {
    TRect rest = dir_ == 0 ? TRect{end, 0, length, client.Bottom} : TRect{0, end, client.Right, length};
    FillSolid(canvas, rest, kFaceSilver);
  }
}

}  // namespace corvane
