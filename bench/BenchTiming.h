#pragma once
// Timing and checking helpers shared by the benchmarks.

#include <ctime>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace bench {

// Processor time of the process, in seconds: on a shared machine the wall
// clock also counts the time others had the processor.
inline double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The middle sample (the upper one of an even count).
inline double Median(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

// Ends the benchmark when an engine call failed: figures taken after a
// failure would measure something else.
inline void MustSucceed(int rc, const char* what) {
  if (rc >= 0) return;
  std::fprintf(stderr, "%s failed: engine error %d\n", what, rc);
  std::exit(1);
}

inline void MustSucceed(bool ok, const char* what) { MustSucceed(ok ? 0 : -1, what); }

}  // namespace bench
