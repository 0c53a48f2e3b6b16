// What an own-drawn control's portable model asks of the window it lives in:
// its size, repainting, drawing at once, beeps, window timers, mouse capture,
// the caret and the focus. The Windows build implements it in the control's
// window (classlib's TCustomControl); native tests use TRecordingControlHost
// (RecordingControlHost.h), which records every request and lets the test fire
// timers by hand.
//
// Also here: the portable forms of keyboard and mouse input (shift state, mouse
// buttons, virtual-key codes), so models take keys and clicks without Windows.
#pragma once

#include <cstdint>
#include <functional>

#include "classlib/Canvas.h"

namespace classlib {

// Which modifier keys and mouse buttons are down; ssDouble marks a double click.
enum TShiftStateBit : std::uint8_t {
  ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64
};
using TShiftState = std::uint8_t;

enum class TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

// Virtual-key codes, with the values Windows gives them.
namespace vk {
constexpr int Back = 8, Tab = 9, Return = 13, Shift = 16, Control = 17, Menu = 18, Escape = 27, Space = 32;
constexpr int Prior = 33, Next = 34, End = 35, Home = 36, Left = 37, Up = 38, Right = 39, Down = 40;
constexpr int Insert = 45, Delete = 46;
constexpr int F1 = 112, F2 = 113, F3 = 114, F4 = 115, F5 = 116, F6 = 117, F7 = 118, F8 = 119, F9 = 120, F10 = 121;
}  // namespace vk

// Mouse cursor shapes: 0 is the window's own; negative values are the
// system's shapes; positive ones are the program's cursors, registered by the
// Windows build (RegisterCursor) from resources.
using TCursor = int;
constexpr TCursor crDefault = 0, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6, crSizeNS = -7,
                  crSizeNWSE = -8, crSizeWE = -9, crHourGlass = -11, crHSplit = -14, crVSplit = -15, crSizeAll = -22;

// The two beeps controls make: the default sound and the simple speaker beep
// (the values MessageBeep takes).
constexpr unsigned kBeepDefault = 0;
constexpr unsigned kBeepSimple = 0xFFFFFFFFu;

class TControlHost {
 public:
  virtual ~TControlHost() = default;

  // The control's client area, (0, 0) at its top left.
  virtual TRect ClientRect() const = 0;
  // Asks for the rectangle (or everything) to be repainted through the
  // control's paint routine, soon.
  virtual void Invalidate(const TRect& r) = 0;
  virtual void InvalidateAll() = 0;
  // Draws at once, outside a paint: `draw` gets a canvas on the control's
  // client area, valid only during the call.
  virtual void DrawNow(const std::function<void(TCanvas&)>& draw) = 0;
  // Moves the pixels of `r` by (dx, dy), inside `r`; the strip this uncovers
  // is the caller's to draw at once. The default copies on a DrawNow canvas; a
  // window overrides it so that parts hidden under other windows, which
  // cannot be copied, are invalidated instead.
  virtual void ScrollRect(const TRect& r, int dx, int dy) {
    TRect dest = IntersectRect(r.Offset(dx, dy), r);
    if (dest.IsEmpty()) return;
    TRect src = dest.Offset(-dx, -dy);
    DrawNow([&](TCanvas& canvas) { canvas.CopyRect(dest, canvas, src); });
  }

  virtual void Beep(unsigned type) = 0;

  // A window timer: the control's timer handler gets `id` every `intervalMs`
  // until StopTimer. Starting a running timer restarts it.
  virtual void StartTimer(int id, unsigned intervalMs) = 0;
  virtual void StopTimer(int id) = 0;

  virtual void SetCapture() = 0;
  virtual void ReleaseCapture() = 0;
  virtual bool HasCapture() const = 0;
  // The mouse position in client coordinates, now.
  virtual TPoint CursorPos() const = 0;

  virtual void CreateCaret(int width, int height) = 0;
  virtual void SetCaretPos(int x, int y) = 0;
  virtual void ShowCaret() = 0;
  virtual void HideCaret() = 0;
  virtual void DestroyCaret() = 0;

  virtual void SetFocus() = 0;
  virtual bool Focused() const = 0;

  // The shape of the mouse cursor over the control from now on.
  virtual void SetMouseCursor(TCursor cursor) {}

  // Pixels per logical inch of the screen.
  virtual int ScreenPixelsPerInch() const { return 96; }
};

}  // namespace classlib
