// TCanvas: the one drawing surface of the program. Controls, cell rows, graphs
// and printed pages draw through it; the Windows build draws on GDI (a window,
// a memory bitmap, the printer) and native tests draw on a recording canvas
// (RecordingCanvas.h) that keeps every call for inspection.
//
// A canvas holds the current pen, brush and font as plain values; change them
// freely and the next drawing call uses them. Text is 8-bit, in the ANSI code
// page, as everywhere in the program.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "classlib/Graphics.h"

namespace classlib {

// Where TextOut's point lies on the text: the Win32 text-alignment values, one
// horizontal and one vertical flag combined.
enum TTextAlign : std::uint8_t {
  taLeft = 0, taRight = 2, taCenter = 6,
  taTop = 0, taBottom = 8, taBaseline = 24,
};
constexpr std::uint8_t kTextAlignHorizontalMask = 6;
constexpr std::uint8_t kTextAlignVerticalMask = 24;

// How CopyRect combines source and destination: the common Win32 raster
// operations.
enum class TCopyMode : std::uint8_t {
  cmSrcCopy, cmSrcAnd, cmSrcPaint, cmSrcInvert, cmNotSrcCopy, cmDstInvert, cmBlackness, cmWhiteness
};

class TCanvas {
 public:
  virtual ~TCanvas() = default;

  // Drawing state, read by every call that follows.
  TPen Pen;
  TBrush Brush;
  TFont Font;
  std::uint8_t TextAlign = taLeft | taTop;
  TCopyMode CopyMode = TCopyMode::cmSrcCopy;

  // Lines: MoveTo sets the pen position, LineTo draws from it with Pen (the end
  // point itself is not drawn, as in Win32) and moves it.
  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;
  TPoint PenPos() const { return penPos_; }
  // Connected lines through the points with Pen; the pen position is unchanged.
  virtual void Polyline(std::span<const TPoint> points) = 0;

  // Shapes are outlined with Pen and filled with Brush.
  virtual void Rectangle(const TRect& r) = 0;
  virtual void Ellipse(const TRect& r) = 0;
  // A closed figure through the points, filled with Brush (alternate filling).
  virtual void Polygon(std::span<const TPoint> points) = 0;
  // Part of the ellipse in `r`, counter-clockwise from the ray through `start`
  // to the ray through `end` (Win32 semantics): Arc draws the curve, Pie the
  // wedge with both radii, Chord the segment closed by a straight line.
  virtual void Arc(const TRect& r, TPoint start, TPoint end) = 0;
  virtual void Pie(const TRect& r, TPoint start, TPoint end) = 0;
  virtual void Chord(const TRect& r, TPoint start, TPoint end) = 0;

  // Brush only: FillRect fills, FrameRect draws a one-pixel frame in the
  // brush, InvertRect inverts the pixels. DrawFocusRect draws the dotted focus
  // frame, which a second call at the same place removes.
  virtual void FillRect(const TRect& r) = 0;
  virtual void FrameRect(const TRect& r) = 0;
  virtual void InvertRect(const TRect& r) = 0;
  virtual void DrawFocusRect(const TRect& r) = 0;

  // Text in Font at (x, y) placed by TextAlign. The background behind the text
  // is filled with Brush.Color unless Brush.Style is bsClear.
  virtual void TextOut(int x, int y, std::string_view text) = 0;
  // As TextOut, clipped to `clip`; unless Brush.Style is bsClear the whole of
  // `clip` is filled with Brush.Color first.
  virtual void TextRect(const TRect& clip, int x, int y, std::string_view text) = 0;
  // The size the text takes in Font; an empty text has the font's height and
  // width 0.
  virtual TSize TextExtent(std::string_view text) = 0;
  int TextWidth(std::string_view text) { return TextExtent(text).cx; }
  int TextHeight(std::string_view text) { return TextExtent(text).cy; }

  // Clipping: SetClipRect limits drawing to `r` (within whatever the device
  // allows anyway, such as the region being painted), replacing an earlier
  // SetClipRect; ExcludeClipRect takes `r` out of the current clip;
  // RemoveClip returns to the device's own clip.
  virtual void SetClipRect(const TRect& r) = 0;
  virtual void ExcludeClipRect(const TRect& r) = 0;
  virtual void RemoveClip() = 0;

  // Copies `src` of `source` onto `dest` of this canvas by CopyMode,
  // stretching when the sizes differ. `source` may be this canvas (the
  // scrolling copy of a grid); a canvas of another kind draws nothing.
  virtual void CopyRect(const TRect& dest, TCanvas& source, const TRect& src) = 0;

  virtual TColor GetPixel(int x, int y) = 0;
  virtual void SetPixel(int x, int y, TColor color) = 0;

  // Device pixels per logical inch (96 on a usual screen, more on a printer).
  virtual int PixelsPerInch() const { return 96; }

 protected:
  TPoint penPos_;
};

// Saves the canvas's pen, brush, font, text alignment and copy mode and puts
// them back when it goes out of scope.
class TCanvasStateSaver {
 public:
  explicit TCanvasStateSaver(TCanvas& canvas)
      : canvas_(canvas), pen_(canvas.Pen), brush_(canvas.Brush), font_(canvas.Font),
        align_(canvas.TextAlign), copyMode_(canvas.CopyMode) {}
  ~TCanvasStateSaver() {
    canvas_.Pen = pen_;
    canvas_.Brush = brush_;
    canvas_.Font = font_;
    canvas_.TextAlign = align_;
    canvas_.CopyMode = copyMode_;
  }
  TCanvasStateSaver(const TCanvasStateSaver&) = delete;
  TCanvasStateSaver& operator=(const TCanvasStateSaver&) = delete;

 private:
  TCanvas& canvas_;
  TPen pen_;
  TBrush brush_;
  TFont font_;
  std::uint8_t align_;
  TCopyMode copyMode_;
};

}  // namespace classlib
