// The system clock and the seam that replaces it.
#include "spreadsheet/engine/Clock.h"

#include <chrono>
#include <ctime>

namespace corvane {

namespace {

TClockTime SystemClock() {
  using namespace std::chrono;
  system_clock::time_point now = system_clock::now();
  std::time_t seconds = system_clock::to_time_t(now);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  TClockTime t;
  t.year = local.tm_year + 1900;
  t.month = local.tm_mon + 1;
  t.day = local.tm_mday;
  t.hour = local.tm_hour;
  t.minute = local.tm_min;
  t.second = local.tm_sec;
  t.millisecond = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  return t;
}

TClockSource gClockSource = nullptr;

}  // namespace

TClockTime ReadClock() { return gClockSource ? gClockSource() : SystemClock(); }

TClockSource SetClockSource(TClockSource source) {
  TClockSource previous = gClockSource;
  gClockSource = source;
  return previous;
}

}  // namespace corvane
