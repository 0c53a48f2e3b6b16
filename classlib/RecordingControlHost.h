// TRecordingControlHost: the control host of native tests. It records beeps,
// repaint requests, timers, capture, caret and focus, draws DrawNow calls on
// a recording canvas, and leaves firing timers to the test, which calls the
// model's timer handler for the ids it sees running.
#pragma once

#include <map>
#include <vector>

#include "classlib/ControlHost.h"
#include "classlib/RecordingCanvas.h"

namespace classlib {

class TRecordingControlHost : public TControlHost {
 public:
  explicit TRecordingControlHost(int width = 400, int height = 300) : client_{0, 0, width, height} {}

  void Resize(int width, int height) { client_ = {0, 0, width, height}; }
  void MoveMouse(TPoint p) { mouse_ = p; }

  // What was asked, in order; tests clear them between steps.
  std::vector<unsigned> Beeps;
  std::vector<TRect> Invalidated;  // InvalidateAll records the whole client area
  TRecordingCanvas Canvas;         // what DrawNow drew
  int DrawNowCount = 0;
  void ClearRecords();

  // Timer id to interval, for the timers running now.
  const std::map<int, unsigned>& Timers() const { return timers_; }
  bool TimerRunning(int id) const { return timers_.count(id) != 0; }

  bool CaretCreated = false;
  bool CaretVisible = false;
  TPoint CaretPos;
  TSize CaretSize;
  bool HasFocus = false;
  TCursor MouseCursor = crDefault;

  TRect ClientRect() const override { return client_; }
  void Invalidate(const TRect& r) override { Invalidated.push_back(r); }
  void InvalidateAll() override { Invalidated.push_back(client_); }
  void DrawNow(const std::function<void(TCanvas&)>& draw) override;
  void Beep(unsigned type) override { Beeps.push_back(type); }
  void StartTimer(int id, unsigned intervalMs) override { timers_[id] = intervalMs; }
  void StopTimer(int id) override { timers_.erase(id); }
  void SetCapture() override { capture_ = true; }
  void ReleaseCapture() override { capture_ = false; }
  bool HasCapture() const override { return capture_; }
  TPoint CursorPos() const override { return mouse_; }
  void CreateCaret(int width, int height) override;
  void SetCaretPos(int x, int y) override { CaretPos = {x, y}; }
  void ShowCaret() override { CaretVisible = CaretCreated; }
  void HideCaret() override { CaretVisible = false; }
  void DestroyCaret() override;
  void SetFocus() override { HasFocus = true; }
  bool Focused() const override { return HasFocus; }
  void SetMouseCursor(TCursor cursor) override { MouseCursor = cursor; }

 private:
  TRect client_;
  TPoint mouse_;
  bool capture_ = false;
  std::map<int, unsigned> timers_;
};

}  // namespace classlib
