// TTimer: OnTimer every Interval milliseconds while Enabled, on the main thread.
#pragma once

#include <windows.h>

#include "classlib/Component.h"

namespace classlib {

class TTimer : public TComponent {
 public:
  // Enabled, 1000 ms, like a newly placed timer.
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  unsigned Interval() const { return interval_; }
  // A new interval restarts the count; 0 stops the timer.
  void SetInterval(unsigned interval);

  TNotifyEvent OnTimer;

 private:
  friend class TApplication;
  static void TimerFired(WPARAM id);
  void Update();

  bool enabled_ = true;
  unsigned interval_ = 1000;
  bool running_ = false;
};

}  // namespace classlib
