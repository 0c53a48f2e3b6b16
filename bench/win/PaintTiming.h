// Timing of window paints for the benchmarks under Wine.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <functional>

namespace bench {

// Runs `step` `rounds` times, each time painting what it left invalid in
// `window` at once; prints `rows` (which the painter counts) per round and
// the milliseconds per round.
inline void TimePaints(const char* what, HWND window, long& rows, int rounds, const std::function<void()>& step) {
  rows = 0;
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; ++i) {
    step();
    UpdateWindow(window);
    GdiFlush();
  }
  double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("%-22s %5.1f rows painted per round, %7.3f ms per round\n", what, static_cast<double>(rows) / rounds,
              ms / rounds);
}

}  // namespace bench
