#pragma once
// Timing for the benchmarks that must also run as 32-bit Windows programs
// under Wine, where Google Benchmark is not available: each contender runs
// in batches of about two milliseconds, the contenders take turns, and each
// keeps its best batch. Machines here are shared and noisy; the best batch
// is the one least disturbed, and only ratios within one run mean anything.

#include <chrono>
#include <functional>
#include <vector>

// Keeps the compiler from dropping work whose result is never read.
inline void KeepMemory(const void* p) {
#if defined(__GNUC__)
  asm volatile("" : : "r"(p) : "memory");
#else
  static const void* volatile sink;
  sink = p;
#endif
}

// Seconds per call of each function, measured in `rounds` interleaved turns.
inline std::vector<double> BestSecondsPerCall(const std::vector<std::function<void()>>& fns,
                                              int rounds) {
  using Clock = std::chrono::steady_clock;
  auto seconds = [](Clock::duration d) { return std::chrono::duration<double>(d).count(); };
  std::vector<long> calls(fns.size(), 1);
  std::vector<double> best(fns.size(), 1e30);
  for (std::size_t i = 0; i < fns.size(); ++i) {
    // Enough calls for a batch of about 2 ms.
    for (;;) {
      const Clock::time_point start = Clock::now();
      for (long k = 0; k < calls[i]; ++k) fns[i]();
      if (seconds(Clock::now() - start) >= 0.002 || calls[i] >= (1L << 24)) break;
      calls[i] *= 2;
    }
  }
  for (int r = 0; r < rounds; ++r) {
    for (std::size_t i = 0; i < fns.size(); ++i) {
      const Clock::time_point start = Clock::now();
      for (long k = 0; k < calls[i]; ++k) fns[i]();
      const double each = seconds(Clock::now() - start) / static_cast<double>(calls[i]);
      if (each < best[i]) best[i] = each;
    }
  }
  return best;
}
