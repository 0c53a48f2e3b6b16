// What every control model here shares: the class library's portable types,
// the setter helper that tells whether a property changed, and the
// press-and-hold repeat (a step at once, again after 400 ms, then at a
// steady interval while the button stays down).
#pragma once

#include "classlib/ControlHost.h"

namespace corvane {

using classlib::TCanvas;
using classlib::TColor;
using classlib::TControlHost;
using classlib::TMouseButton;
using classlib::TPoint;
using classlib::TRect;
using classlib::TShiftState;
using classlib::TSize;

// Stores `value` in `field`; true when that changed it (the setter then
// repaints).
template <class T>
bool SetField(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}

// Where an arrow key, Home or End moves the current cell of a grid of
// `rows` x `cols` from (`row`, `col`), kept within the grid; false (and the
// cell left alone) for any other key.
inline bool GridKeyMove(int key, int rows, int cols, int& row, int& col) {
  switch (key) {
    case classlib::vk::Left: col = col > 0 ? col - 1 : 0; return true;
    case classlib::vk::Right: col = col + 1 < cols ? col + 1 : cols - 1; return true;
    case classlib::vk::Up: row = row > 0 ? row - 1 : 0; return true;
    case classlib::vk::Down: row = row + 1 < rows ? row + 1 : rows - 1; return true;
    case classlib::vk::Home: row = col = 0; return true;
    case classlib::vk::End: row = rows - 1, col = cols - 1; return true;
    default: return false;
  }
}

// The repeat of a held button on one window timer of the host.
class TPressRepeat {
 public:
  static constexpr unsigned kFirstDelayMs = 400;

  TPressRepeat(TControlHost& host, int timerId, unsigned intervalMs)
      : host_(host), timerId_(timerId), intervalMs_(intervalMs) {}

  int TimerId() const { return timerId_; }
  // The first step was made: the next one comes after 400 ms.
  void Start() { host_.StartTimer(timerId_, kFirstDelayMs); }
  // On the timer: true when the step should repeat (the button is still
  // `held`); the timer then runs at the steady interval, else it stops.
  bool Tick(bool held) {
    if (!held) {
      Stop();
      return false;
    }
    host_.StartTimer(timerId_, intervalMs_);
    return true;
  }
  void Stop() { host_.StopTimer(timerId_); }

 private:
  TControlHost& host_;
  int timerId_;
  unsigned intervalMs_;
};

}  // namespace corvane
