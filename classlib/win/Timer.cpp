// Timers on the application window, identified by their object's address.
#include "classlib/win/Timer.h"

#include <algorithm>
#include <vector>

#include "classlib/win/Application.h"

namespace classlib {

namespace {
// Timers that exist (main thread only); a late WM_TIMER of a freed one is ignored.
std::vector<TTimer*> gTimers;
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
  gTimers.push_back(this);
  Update();
}

TTimer::~TTimer() {
  gTimers.erase(std::remove(gTimers.begin(), gTimers.end(), this), gTimers.end());
  if (running_) KillTimer(Application().Handle(), reinterpret_cast<UINT_PTR>(this));
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Update();
}

void TTimer::SetInterval(unsigned interval) {
  if (interval == interval_) return;
  interval_ = interval;
  Update();
}

void TTimer::Update() {
  HWND window = Application().Handle();
  auto id = reinterpret_cast<UINT_PTR>(this);
  if (running_) KillTimer(window, id);
  running_ = enabled_ && interval_ > 0 && SetTimer(window, id, interval_, nullptr) != 0;
}

void TTimer::TimerFired(WPARAM id) {
  auto* timer = reinterpret_cast<TTimer*>(id);
  if (std::find(gTimers.begin(), gTimers.end(), timer) == gTimers.end()) return;
  if (timer->enabled_ && timer->OnTimer) {
    TNotifyEvent handler = timer->OnTimer;
    handler(timer);
  }
}

}  // namespace classlib
