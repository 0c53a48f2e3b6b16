// TRecordingCanvas: a canvas that draws nothing and keeps every call, with the
// pen, brush, font and clip in force, so that native tests can check what a
// control, a cell row or a graph drew. Text measures with fixed metrics: every
// character is half the font's pixel height wide (at least 1), and a line is
// the font's pixel height tall, so that layouts are predictable.
#pragma once

#include <string>
#include <vector>

#include "classlib/Canvas.h"

namespace classlib {

enum class TCanvasOp : std::uint8_t {
  MoveTo, LineTo, Polyline, Rectangle, Ellipse, Polygon, Arc, Pie, Chord,
  FillRect, FrameRect, InvertRect, DrawFocusRect, TextOut, TextRect,
  SetClipRect, ExcludeClipRect, RemoveClip, CopyRect, SetPixel
};
const char* CanvasOpName(TCanvasOp op);

// One recorded call. `Rect` holds the call's rectangle (the clip of TextRect,
// the destination of CopyRect), `Points` its points (line ends, polygon
// corners, arc start and end, text origin), `SourceRect` the source of
// CopyRect, `Text` the text drawn.
struct TCanvasCall {
  TCanvasOp Op;
  TRect Rect;
  std::vector<TPoint> Points;
  std::string Text;
  TRect SourceRect;
  const TCanvas* Source = nullptr;
  TColor Color = clNone;  // SetPixel's colour
  TPen Pen;
  TBrush Brush;
  TFont Font;
  std::uint8_t TextAlign = 0;
  TCopyMode CopyMode = TCopyMode::cmSrcCopy;
  bool Clipped = false;  // a SetClipRect was in force
  TRect Clip;            // that clip rectangle
};

class TRecordingCanvas : public TCanvas {
 public:
  // A canvas of the given size; GetPixel outside it gives clNone.
  explicit TRecordingCanvas(int width = 1024, int height = 768) : width_(width), height_(height) {}

  std::vector<TCanvasCall> Calls;
  // The calls of one kind, in order.
  std::vector<TCanvasCall> CallsOf(TCanvasOp op) const;
  // Every text drawn by TextOut or TextRect, in order.
  std::vector<std::string> Texts() const;
  // Lines drawn as (from, to) pairs, from LineTo and Polyline.
  std::vector<std::pair<TPoint, TPoint>> Lines() const;
  void Clear() { Calls.clear(); }
  // One line per call, for failure messages.
  std::string Dump() const;

  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetPixelsPerInch(int ppi) { ppi_ = ppi; }

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
  // Pixels are remembered only as SetPixel wrote them; others read clWhite.
  TColor GetPixel(int x, int y) override;
  void SetPixel(int x, int y, TColor color) override;
  int PixelsPerInch() const override { return ppi_; }

 private:
  TCanvasCall& Record(TCanvasOp op);

  int width_;
  int height_;
  int ppi_ = 96;
  bool clipped_ = false;
  TRect clip_;
  std::vector<std::pair<TPoint, TColor>> pixels_;
};

}  // namespace classlib
