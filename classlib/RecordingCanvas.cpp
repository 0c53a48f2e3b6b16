// The recording canvas: every call kept with the drawing state in force.
#include "classlib/RecordingCanvas.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace classlib {

const char* CanvasOpName(TCanvasOp op) {
  static const char* const kNames[] = {
      "MoveTo", "LineTo", "Polyline", "Rectangle", "Ellipse", "Polygon", "Arc", "Pie", "Chord",
      "FillRect", "FrameRect", "InvertRect", "DrawFocusRect", "TextOut", "TextRect",
      "SetClipRect", "ExcludeClipRect", "RemoveClip", "CopyRect", "SetPixel"};
  auto i = static_cast<size_t>(op);
  return i < std::size(kNames) ? kNames[i] : "?";
}

TCanvasCall& TRecordingCanvas::Record(TCanvasOp op) {
  TCanvasCall& c = Calls.emplace_back();
  c.Op = op;
  c.Pen = Pen;
  c.Brush = Brush;
  c.Font = Font;
  c.TextAlign = TextAlign;
  c.CopyMode = CopyMode;
  c.Clipped = clipped_;
  c.Clip = clip_;
  return c;
}

std::vector<TCanvasCall> TRecordingCanvas::CallsOf(TCanvasOp op) const {
  std::vector<TCanvasCall> out;
  for (const TCanvasCall& c : Calls)
    if (c.Op == op) out.push_back(c);
  return out;
}

std::vector<std::string> TRecordingCanvas::Texts() const {
  std::vector<std::string> out;
  for (const TCanvasCall& c : Calls)
    if (c.Op == TCanvasOp::TextOut || c.Op == TCanvasOp::TextRect) out.push_back(c.Text);
  return out;
}

std::vector<std::pair<TPoint, TPoint>> TRecordingCanvas::Lines() const {
  std::vector<std::pair<TPoint, TPoint>> out;
  TPoint pos;
  for (const TCanvasCall& c : Calls) {
    if (c.Op == TCanvasOp::MoveTo) {
      pos = c.Points[0];
    } else if (c.Op == TCanvasOp::LineTo) {
      out.emplace_back(pos, c.Points[0]);
      pos = c.Points[0];
    } else if (c.Op == TCanvasOp::Polyline) {
      for (size_t i = 1; i < c.Points.size(); ++i) out.emplace_back(c.Points[i - 1], c.Points[i]);
    }
  }
  return out;
}

std::string TRecordingCanvas::Dump() const {
  std::ostringstream s;
  for (const TCanvasCall& c : Calls) {
    s << CanvasOpName(c.Op);
    if (!c.Rect.IsEmpty() || c.Op == TCanvasOp::FillRect || c.Op == TCanvasOp::Rectangle)
      s << " [" << c.Rect.Left << ',' << c.Rect.Top << ',' << c.Rect.Right << ',' << c.Rect.Bottom << ']';
    for (const TPoint& p : c.Points) s << " (" << p.x << ',' << p.y << ')';
    if (!c.Text.empty()) s << " \"" << c.Text << '"';
    s << '\n';
  }
  return s.str();
}

void TRecordingCanvas::MoveTo(int x, int y) {
  Record(TCanvasOp::MoveTo).Points = {{x, y}};
  penPos_ = {x, y};
}

void TRecordingCanvas::LineTo(int x, int y) {
  Record(TCanvasOp::LineTo).Points = {{x, y}};
  penPos_ = {x, y};
}

void TRecordingCanvas::Polyline(std::span<const TPoint> points) {
  Record(TCanvasOp::Polyline).Points.assign(points.begin(), points.end());
}

void TRecordingCanvas::Rectangle(const TRect& r) { Record(TCanvasOp::Rectangle).Rect = r; }
void TRecordingCanvas::Ellipse(const TRect& r) { Record(TCanvasOp::Ellipse).Rect = r; }

void TRecordingCanvas::Polygon(std::span<const TPoint> points) {
  Record(TCanvasOp::Polygon).Points.assign(points.begin(), points.end());
}

void TRecordingCanvas::Arc(const TRect& r, TPoint start, TPoint end) {
  TCanvasCall& c = Record(TCanvasOp::Arc);
  c.Rect = r;
  c.Points = {start, end};
}

void TRecordingCanvas::Pie(const TRect& r, TPoint start, TPoint end) {
  TCanvasCall& c = Record(TCanvasOp::Pie);
  c.Rect = r;
  c.Points = {start, end};
}

void TRecordingCanvas::Chord(const TRect& r, TPoint start, TPoint end) {
  TCanvasCall& c = Record(TCanvasOp::Chord);
  c.Rect = r;
  c.Points = {start, end};
}

void TRecordingCanvas::FillRect(const TRect& r) { Record(TCanvasOp::FillRect).Rect = r; }
void TRecordingCanvas::FrameRect(const TRect& r) { Record(TCanvasOp::FrameRect).Rect = r; }
void TRecordingCanvas::InvertRect(const TRect& r) { Record(TCanvasOp::InvertRect).Rect = r; }
void TRecordingCanvas::DrawFocusRect(const TRect& r) { Record(TCanvasOp::DrawFocusRect).Rect = r; }

void TRecordingCanvas::TextOut(int x, int y, std::string_view text) {
  TCanvasCall& c = Record(TCanvasOp::TextOut);
  c.Points = {{x, y}};
  c.Text = text;
}

void TRecordingCanvas::TextRect(const TRect& clip, int x, int y, std::string_view text) {
  TCanvasCall& c = Record(TCanvasOp::TextRect);
  c.Rect = clip;
  c.Points = {{x, y}};
  c.Text = text;
}

TSize TRecordingCanvas::TextExtent(std::string_view text) {
  int height = std::abs(Font.Height);
  int charWidth = std::max(1, height / 2);
  return {static_cast<int>(text.size()) * charWidth, height};
}

void TRecordingCanvas::SetClipRect(const TRect& r) {
  Record(TCanvasOp::SetClipRect).Rect = r;
  clipped_ = true;
  clip_ = r;
}

void TRecordingCanvas::ExcludeClipRect(const TRect& r) { Record(TCanvasOp::ExcludeClipRect).Rect = r; }

void TRecordingCanvas::RemoveClip() {
  Record(TCanvasOp::RemoveClip);
  clipped_ = false;
  clip_ = {};
}

void TRecordingCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& src) {
  TCanvasCall& c = Record(TCanvasOp::CopyRect);
  c.Rect = dest;
  c.SourceRect = src;
  c.Source = &source;
}

TColor TRecordingCanvas::GetPixel(int x, int y) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return clNone;
  for (auto it = pixels_.rbegin(); it != pixels_.rend(); ++it)
    if (it->first == TPoint{x, y}) return it->second;
  return clWhite;
}

void TRecordingCanvas::SetPixel(int x, int y, TColor color) {
  TCanvasCall& c = Record(TCanvasOp::SetPixel);
  c.Points = {{x, y}};
  c.Color = color;
  pixels_.emplace_back(TPoint{x, y}, color);
}

}  // namespace classlib
