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
