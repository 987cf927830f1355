// The summary that follows Google Benchmark's own output: time and heap allocations per
// sample for every formula and peer, geometric means and Evalon's speed against muparser.
#pragma once

#include "Samplers.h"

#include <benchmark/benchmark.h>

#include <array>
#include <map>
#include <string>
#include <vector>

// Rows are formulas, columns peers, in the order of their lists; NaN where nothing was
// measured (a benchmark left out by --benchmark_filter).
using Table = std::array<std::array<double, peers.size()>, formulas.size()>;

// The console output (coloured on a terminal only), and the CPU time per iteration of every
// benchmark by name. With repetitions the fastest one counts.
class CollectingReporter final : public benchmark::ConsoleReporter {
public:
  CollectingReporter();
  void ReportRuns(const std::vector<Run>& runs) override;

  // NaN when the benchmark did not run.
  double secondsPerIteration(const std::string& name) const;

private:
  std::map<std::string, double> seconds;
};

void printSummary(const Table& nanosecondsPerSample, const Table& allocationsPerSample);
