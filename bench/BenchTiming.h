#pragma once
// Timing helpers shared by the benchmarks.

#include <ctime>

#include <algorithm>
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

}  // namespace bench
