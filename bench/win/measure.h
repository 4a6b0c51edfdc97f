#pragma once
// Timing for the Windows benchmarks: the median of several runs of a piece of work, each
// after an untimed preparation, and a pump for the messages between the pieces.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace pelmora::bench {

inline double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

// The median time of `runs` runs of work, in milliseconds; prepare, when given, runs before
// each. With show_runs each run's time goes to the error stream as it ends.
inline double Measure(const std::function<void()>& work, const std::function<void()>& prepare,
                      int runs, bool show_runs = false) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    if (prepare) prepare();
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    work();
    ::QueryPerformanceCounter(&end);
    times.push_back(Milliseconds(start, end));
    if (show_runs) std::fprintf(stderr, "  run %d: %.1f ms\n", i + 1, times.back());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// Handles every message waiting for this thread.
inline void PumpMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

}  // namespace pelmora::bench
