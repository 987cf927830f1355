// The timing that the frame benchmarks share: every run of a piece of work is timed, and on a
// shared machine the fastest shows the code, the median the wait.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

struct FrameTimes {
  double fastest; // milliseconds
  double median;
};

// Runs work(0) ... work(repetitions - 1), each timed on its own; repetitions is at least 2.
inline FrameTimes timeFrames(int repetitions, const std::function<void(int run)>& work) {
  std::vector<double> ms;
  for (int n = 0; n < repetitions; ++n) {
    const auto start = std::chrono::steady_clock::now();
    work(n);
    const auto end = std::chrono::steady_clock::now();
    ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
  }
  std::sort(ms.begin(), ms.end());
  const std::size_t middle = ms.size() / 2;
  const double median = ms.size() % 2 ? ms[middle] : (ms[middle - 1] + ms[middle]) / 2;
  return {ms.front(), median};
}
