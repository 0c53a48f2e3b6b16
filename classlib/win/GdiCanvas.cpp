// GDI drawing for TGdiCanvas: values realised as cached pens, brushes and
// fonts, selected only when they change.
#include "classlib/win/GdiCanvas.h"

#include "classlib/win/WideText.h"

#include <algorithm>
#include <string>

namespace classlib {

namespace {

// Few values alternate within one paint; more than this many are recreated.
constexpr std::size_t kCacheSize = 8;

COLORREF Rgb(TColor c) { return static_cast<COLORREF>(ColorToRGB(c) & 0xFFFFFF); }

RECT ToRect(const TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

std::vector<POINT> ToPoints(std::span<const TPoint> points) {
  std::vector<POINT> out;
  out.reserve(points.size());
  for (const TPoint& p : points) out.push_back({p.x, p.y});
  return out;
}

int PenStyleOf(TPenStyle style) {
  switch (style) {
    case TPenStyle::psDash: return PS_DASH;
    case TPenStyle::psDot: return PS_DOT;
    case TPenStyle::psDashDot: return PS_DASHDOT;
    case TPenStyle::psDashDotDot: return PS_DASHDOTDOT;
    case TPenStyle::psClear: return PS_NULL;
    case TPenStyle::psInsideFrame: return PS_INSIDEFRAME;
    case TPenStyle::psSolid: break;
  }
  return PS_SOLID;
}

int HatchOf(TBrushStyle style) {
  switch (style) {
    case TBrushStyle::bsHorizontal: return HS_HORIZONTAL;
    case TBrushStyle::bsVertical: return HS_VERTICAL;
    case TBrushStyle::bsFDiagonal: return HS_FDIAGONAL;
    case TBrushStyle::bsBDiagonal: return HS_BDIAGONAL;
    case TBrushStyle::bsCross: return HS_CROSS;
    default: return HS_DIAGCROSS;
  }
}

DWORD RopOf(TCopyMode mode) {
  switch (mode) {
    case TCopyMode::cmSrcAnd: return SRCAND;
    case TCopyMode::cmSrcPaint: return SRCPAINT;
    case TCopyMode::cmSrcInvert: return SRCINVERT;
    case TCopyMode::cmNotSrcCopy: return NOTSRCCOPY;
    case TCopyMode::cmDstInvert: return DSTINVERT;
    case TCopyMode::cmBlackness: return BLACKNESS;
    case TCopyMode::cmWhiteness: return WHITENESS;
    case TCopyMode::cmSrcCopy: break;
  }
  return SRCCOPY;
}

// Finds `key` in `cache` or makes its object with `make`, keeping the most
// recent first. Every caller selects what it gets at once, so the selected
// object is always the first and eviction (from the end) never deletes it.
template <class Entry, class Key, class Make>
auto Lookup(std::vector<Entry>& cache, const Key& key, Make make) {
  auto it = std::find_if(cache.begin(), cache.end(), [&](const Entry& e) { return e.key == key; });
  if (it != cache.end()) {
    std::rotate(cache.begin(), it, it + 1);
    return cache.front().object.Get();
  }
  if (cache.size() >= kCacheSize) cache.pop_back();
  cache.insert(cache.begin(), Entry{key, {}});
  cache.front().object.Reset(make());
  return cache.front().object.Get();
}

}  // namespace

TGdiCanvas::TGdiCanvas(HDC dc) : dc_(dc), saved_(dc) {
  HRGN clip = CreateRectRgn(0, 0, 0, 0);
  if (GetClipRgn(dc, clip) == 1)
    deviceClip_.Reset(clip);
  else
    DeleteObject(clip);
  selectedPen_ = GetCurrentObject(dc, OBJ_PEN);
  selectedBrush_ = GetCurrentObject(dc, OBJ_BRUSH);
  selectedFont_ = GetCurrentObject(dc, OBJ_FONT);
  POINT p = {};
  GetCurrentPositionEx(dc, &p);
  penPos_ = {p.x, p.y};
}

TGdiCanvas::~TGdiCanvas() = default;

void TGdiCanvas::Select(HGDIOBJ object, HGDIOBJ& selected) {
  if (object == selected && GetCurrentObject(dc_, GetObjectType(object)) == object) return;
  SelectObject(dc_, object);
  selected = object;
}

HPEN TGdiCanvas::PenFor(const TPen& pen) {
  TPenKey key{pen.Style, pen.Width, Rgb(pen.Color)};
  if (pen.Color == clNone) key.style = TPenStyle::psClear;
  if (key.style == TPenStyle::psClear) return static_cast<HPEN>(GetStockObject(NULL_PEN));
  return Lookup(pens_, key, [&] { return CreatePen(PenStyleOf(key.style), key.width, key.color); });
}

HBRUSH TGdiCanvas::BrushFor(const TBrush& brush) {
  if (brush.Style == TBrushStyle::bsClear || brush.Color == clNone)
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  // A checkerboard takes both its colours from the DC (SetFillBackground).
  TBrushKey key{brush.Style, brush.Style == TBrushStyle::bsChecker ? 0 : Rgb(brush.Color)};
  return Lookup(brushes_, key, [&]() -> HBRUSH {
    if (key.style == TBrushStyle::bsSolid) return CreateSolidBrush(key.color);
    if (key.style != TBrushStyle::bsChecker) return CreateHatchBrush(HatchOf(key.style), key.color);
    static const WORD kChecker[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    TOwnedBitmap pattern(CreateBitmap(8, 8, 1, 1, kChecker));
    return CreatePatternBrush(pattern.Get());
  });
}

HFONT TGdiCanvas::FontFor(const TFont& font) {
  TFont key = font;
  key.Color = clBlack;  // the text colour is set apart; it makes no new font
  return Lookup(fonts_, key, [&] {
    return CreateFontA(key.Height, 0, key.Escapement, key.Escapement, key.Bold() ? FW_BOLD : FW_NORMAL,
                       (key.Style & fsItalic) != 0, (key.Style & fsUnderline) != 0, (key.Style & fsStrikeOut) != 0,
                       static_cast<BYTE>(key.CharSet), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, key.Name.c_str());
  });
}

void TGdiCanvas::RealizePen() {
  Select(PenFor(Pen), selectedPen_);
  SetROP2(dc_, static_cast<int>(Pen.Mode) + 1);
  // Gaps in dashed lines are left alone.
  SetBkMode(dc_, TRANSPARENT);
}

void TGdiCanvas::RealizeBrush() {
  Select(BrushFor(Brush), selectedBrush_);
  SetFillBackground();
}

void TGdiCanvas::RealizeFont() {
  Select(FontFor(Font), selectedFont_);
  SetTextColor(dc_, Rgb(Font.Color));
  SetTextAlign(dc_, TextAlign);
  SetTextBackground();
}

void TGdiCanvas::SetFillBackground() {
  if (Brush.Style == TBrushStyle::bsChecker) {
    // A monochrome pattern draws its 0 bits in the text colour, its 1 bits in
    // the background colour.
    SetTextColor(dc_, Rgb(Brush.Color));
    SetBkColor(dc_, Brush.HatchBack == clNone ? RGB(255, 255, 255) : Rgb(Brush.HatchBack));
    SetBkMode(dc_, OPAQUE);
    return;
  }
  // Hatched brushes fill their gaps with HatchBack, or leave them.
  if (Brush.HatchBack == clNone) {
    SetBkMode(dc_, TRANSPARENT);
  } else {
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, Rgb(Brush.HatchBack));
  }
}

void TGdiCanvas::SetTextBackground() {
  if (Brush.Style == TBrushStyle::bsClear || Brush.Color == clNone) {
    SetBkMode(dc_, TRANSPARENT);
  } else {
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, Rgb(Brush.Color));
  }
}

void TGdiCanvas::MoveTo(int x, int y) {
  MoveToEx(dc_, x, y, nullptr);
  penPos_ = {x, y};
}

void TGdiCanvas::LineTo(int x, int y) {
  RealizePen();
  MoveToEx(dc_, penPos_.x, penPos_.y, nullptr);
  ::LineTo(dc_, x, y);
  penPos_ = {x, y};
}

void TGdiCanvas::Polyline(std::span<const TPoint> points) {
  if (points.empty()) return;
  RealizePen();
  std::vector<POINT> p = ToPoints(points);
  ::Polyline(dc_, p.data(), static_cast<int>(p.size()));
}

void TGdiCanvas::Rectangle(const TRect& r) {
  RealizePen();
  RealizeBrush();
  ::Rectangle(dc_, r.Left, r.Top, r.Right, r.Bottom);
}

void TGdiCanvas::Ellipse(const TRect& r) {
  RealizePen();
  RealizeBrush();
  ::Ellipse(dc_, r.Left, r.Top, r.Right, r.Bottom);
}

void TGdiCanvas::Polygon(std::span<const TPoint> points) {
  if (points.empty()) return;
  RealizePen();
  RealizeBrush();
  SetPolyFillMode(dc_, ALTERNATE);
  std::vector<POINT> p = ToPoints(points);
  ::Polygon(dc_, p.data(), static_cast<int>(p.size()));
}

void TGdiCanvas::Arc(const TRect& r, TPoint start, TPoint end) {
  RealizePen();
  ::Arc(dc_, r.Left, r.Top, r.Right, r.Bottom, start.x, start.y, end.x, end.y);
}

void TGdiCanvas::Pie(const TRect& r, TPoint start, TPoint end) {
  RealizePen();
  RealizeBrush();
  ::Pie(dc_, r.Left, r.Top, r.Right, r.Bottom, start.x, start.y, end.x, end.y);
}

void TGdiCanvas::Chord(const TRect& r, TPoint start, TPoint end) {
  RealizePen();
  RealizeBrush();
  ::Chord(dc_, r.Left, r.Top, r.Right, r.Bottom, start.x, start.y, end.x, end.y);
}

void TGdiCanvas::FillRect(const TRect& r) {
  if (Brush.Style == TBrushStyle::bsClear) return;
  RECT rc = ToRect(r);
  RealizeBrush();
  ::FillRect(dc_, &rc, static_cast<HBRUSH>(selectedBrush_));
}

void TGdiCanvas::FrameRect(const TRect& r) {
  if (Brush.Style == TBrushStyle::bsClear) return;
  RECT rc = ToRect(r);
  RealizeBrush();
  ::FrameRect(dc_, &rc, static_cast<HBRUSH>(selectedBrush_));
}

void TGdiCanvas::InvertRect(const TRect& r) {
  RECT rc = ToRect(r);
  ::InvertRect(dc_, &rc);
}

void TGdiCanvas::DrawFocusRect(const TRect& r) {
  RECT rc = ToRect(r);
  // The dotted pattern is drawn in the text and background colours.
  SetTextColor(dc_, RGB(0, 0, 0));
  SetBkColor(dc_, RGB(255, 255, 255));
  ::DrawFocusRect(dc_, &rc);
}

void TGdiCanvas::TextOut(int x, int y, std::string_view text) {
  RealizeFont();
  if (Utf8Text) {
    const std::wstring wide = WideFromText(std::string(text), CP_UTF8);
    ::TextOutW(dc_, x, y, wide.data(), static_cast<int>(wide.size()));
    return;
  }
  ::TextOutA(dc_, x, y, text.data(), static_cast<int>(text.size()));
}

void TGdiCanvas::TextRect(const TRect& clip, int x, int y, std::string_view text) {
  RealizeFont();
  RECT rc = ToRect(clip);
  UINT options = ETO_CLIPPED;
  if (Brush.Style != TBrushStyle::bsClear && Brush.Color != clNone) options |= ETO_OPAQUE;
  if (Utf8Text) {
    const std::wstring wide = WideFromText(std::string(text), CP_UTF8);
    ::ExtTextOutW(dc_, x, y, options, &rc, wide.data(), static_cast<UINT>(wide.size()), nullptr);
    return;
  }
  ::ExtTextOutA(dc_, x, y, options, &rc, text.data(), static_cast<UINT>(text.size()), nullptr);
}

TSize TGdiCanvas::TextExtent(std::string_view text) {
  Select(FontFor(Font), selectedFont_);
  if (text.empty()) {
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc_, &metrics);
    return {0, metrics.tmHeight};
  }
  SIZE size = {};
  if (Utf8Text) {
    const std::wstring wide = WideFromText(std::string(text), CP_UTF8);
    GetTextExtentPoint32W(dc_, wide.data(), static_cast<int>(wide.size()), &size);
  } else {
    GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size);
  }
  return {size.cx, size.cy};
}

void TGdiCanvas::SetClipRect(const TRect& r) {
  // Back to the device's own clip, then narrowed; IntersectClipRect takes
  // logical coordinates, so the canvas stays right under a mapping mode.
  SelectClipRgn(dc_, deviceClip_.Get());
  ::IntersectClipRect(dc_, r.Left, r.Top, r.Right, r.Bottom);
}

void TGdiCanvas::ExcludeClipRect(const TRect& r) { ::ExcludeClipRect(dc_, r.Left, r.Top, r.Right, r.Bottom); }

void TGdiCanvas::RemoveClip() { SelectClipRgn(dc_, deviceClip_.Get()); }

void TGdiCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& src) {
  auto* gdi = dynamic_cast<TGdiCanvas*>(&source);
  if (gdi == nullptr) return;
  const DWORD rop = RopOf(CopyMode);
  if (dest.Width() == src.Width() && dest.Height() == src.Height()) {
    // BitBlt copies overlapping areas of one DC correctly, which is what a
    // scroll by copying needs.
    BitBlt(dc_, dest.Left, dest.Top, dest.Width(), dest.Height(), gdi->dc_, src.Left, src.Top, rop);
  } else {
    SetStretchBltMode(dc_, COLORONCOLOR);
    StretchBlt(dc_, dest.Left, dest.Top, dest.Width(), dest.Height(), gdi->dc_, src.Left, src.Top, src.Width(),
               src.Height(), rop);
  }
}

TColor TGdiCanvas::GetPixel(int x, int y) {
  COLORREF c = ::GetPixel(dc_, x, y);
  return c == CLR_INVALID ? clNone : static_cast<TColor>(c);
}

void TGdiCanvas::SetPixel(int x, int y, TColor color) { SetPixelV(dc_, x, y, Rgb(color)); }

int TGdiCanvas::PixelsPerInch() const { return GetDeviceCaps(dc_, LOGPIXELSY); }

}  // namespace classlib
