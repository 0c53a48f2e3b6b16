// TGdiCanvas: the canvas over a GDI device context (a window's paint DC, a DC
// borrowed for drawing at once, a memory bitmap's DC, later the printer's).
// The canvas borrows the DC: it never releases or deletes it. It realises the
// pen, brush and font values on the DC just before each drawing call, keeps
// the GDI objects it made in small caches, and on destruction puts the DC's
// state back as it found it before deleting them.
#pragma once

#include "classlib/win/Win32.h"

#include <vector>

#include "classlib/Canvas.h"
#include "classlib/win/GdiHandles.h"

namespace classlib {

class TGdiCanvas : public TCanvas {
 public:
  explicit TGdiCanvas(HDC dc);
  ~TGdiCanvas() override;
  TGdiCanvas(const TGdiCanvas&) = delete;
  TGdiCanvas& operator=(const TGdiCanvas&) = delete;

  // The device context, for Win32 calls the canvas does not offer. Code that
  // selects objects into it puts them back before the next canvas call.
  HDC Handle() const { return dc_; }
  // Texts are UTF-8 and drawn through the wide API (else ANSI).
  bool Utf8Text = false;

  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Polyline(std::span<const TPoint> points) override;
  void Rectangle(const TRect& r) override;
  void Ellipse(const TRect& r) override;
  void Polygon(std::span<const TPoint> points) override;
  void Arc(const TRect& r, TPoint start, TPoint end) override;
  void Pie(const TRect& r, TPoint start, TPoint end) override;
  void Chord(const TRect& r, TPoint start, TPoint end) override;
  void FillRect(const TRect& r) override;
  void FrameRect(const TRect& r) override;
  void InvertRect(const TRect& r) override;
  void DrawFocusRect(const TRect& r) override;
  void TextOut(int x, int y, std::string_view text) override;
  void TextRect(const TRect& clip, int x, int y, std::string_view text) override;
  TSize TextExtent(std::string_view text) override;
  void SetClipRect(const TRect& r) override;
  void ExcludeClipRect(const TRect& r) override;
  void RemoveClip() override;
  void CopyRect(const TRect& dest, TCanvas& source, const TRect& src) override;
  // clNone outside the device or its clip.
  TColor GetPixel(int x, int y) override;
  void SetPixel(int x, int y, TColor color) override;
  int PixelsPerInch() const override;

 private:
  // A GDI object made for one drawing value, kept for reuse.
  template <class Key, class Handle>
  struct TCacheEntry {
    Key key;
    TOwnedGdiObject<Handle> object;
  };
  struct TPenKey {
    TPenStyle style;
    int width;
    COLORREF color;
    friend bool operator==(const TPenKey&, const TPenKey&) = default;
  };
  struct TBrushKey {
    TBrushStyle style;
    COLORREF color;
    friend bool operator==(const TBrushKey&, const TBrushKey&) = default;
  };

  // Selects the pen and the pen mode (lines), and also the brush (shapes).
  void RealizePen();
  void RealizeBrush();
  void RealizeFont();
  // The background mode for hatched fills and for text.
  void SetFillBackground();
  void SetTextBackground();
  HPEN PenFor(const TPen& pen);
  HBRUSH BrushFor(const TBrush& brush);
  HFONT FontFor(const TFont& font);
  void Select(HGDIOBJ object, HGDIOBJ& selected);

  HDC dc_;
  std::vector<TCacheEntry<TPenKey, HPEN>> pens_;
  std::vector<TCacheEntry<TBrushKey, HBRUSH>> brushes_;
  std::vector<TCacheEntry<TFont, HFONT>> fonts_;
  HGDIOBJ selectedPen_ = nullptr;
  HGDIOBJ selectedBrush_ = nullptr;
  HGDIOBJ selectedFont_ = nullptr;
  // The device's own clip when the canvas came (null: none).
  TOwnedRegion deviceClip_;
  // Declared last, so that the DC's state comes back before the cached
  // objects above are deleted.
  TSavedDCScope saved_;
};

}  // namespace classlib
