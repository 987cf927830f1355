// evalon_bench: the time per sample of the plotting path (store x, evaluate the formula)
// for Evalon, muparser parsing at every sample, muparser parsing once, and the formula
// compiled as C++, with Evalon's heap allocations per sample after a warm-up pass. Every peer
// must compute Evalon's values at every sample point before anything is timed. The summary
// gives Evalon's time as a multiple of muparser's bytecode and of C++, per formula and as the
// ratio of the geometric means. Evalon evaluates from its formula cache here (the formula
// is scanned once, at the first sample), as the plotter does.
#include "AllocationCount.h"
#include "Samplers.h"
#include "Summary.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

template <class Sampler> void samplePass(Sampler& sample) {
  for (double x : samplePoints)
    benchmark::DoNotOptimize(sample(x));
}

// Relative tolerance 1e-12; NaN matches NaN and an infinity matches itself.
bool sameValue(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  if (a == b) return true;
  if (std::isinf(a) || std::isinf(b)) return false;
  return std::abs(a - b) <= 1e-12 * std::max(std::abs(a), std::abs(b));
}

// Evalon's value at every sample point; empty, after a message, when the engine fails.
std::vector<double> evalonValues(const Formula& formula) {
  EvalonSampler sample(calcSystem(), formula.text);
  std::vector<double> values;
  for (double x : samplePoints) {
    values.push_back(sample(x));
    if (sample.lastStatus() != ev::Ok) {
      std::fprintf(stderr, "evalon_bench: Evalon gives status %u for %s at x = %.17g\n",
                   sample.lastStatus(), formula.text, x);
      return {};
    }
  }
  return values;
}

// Whether the peer computes the expected values; the first difference is reported.
bool agrees(const PeerInfo& peer, const Formula& formula, const std::vector<double>& expected) {
  bool same = true;
  withSampler(peer.peer, formula, [&](auto& sample) {
    for (std::size_t i = 0; i < SampleCount && same; ++i) {
      const double value = sample(samplePoints[i]);
      same = sameValue(value, expected[i]);
      if (!same)
        std::fprintf(stderr, "evalon_bench: %s gives %.17g for %s at x = %.17g, Evalon %.17g\n",
                     peer.title, value, formula.text, samplePoints[i], expected[i]);
    }
  });
  return same;
}

bool everyPeerAgrees() {
  for (const Formula& formula : formulas) {
    const std::vector<double> expected = evalonValues(formula);
    if (expected.empty()) return false;
    for (const PeerInfo& peer : peers)
      if (!agrees(peer, formula, expected)) return false;
  }
  return true;
}

double allocationsPerSample(Peer peer, const Formula& formula) {
  double perSample = 0.0;
  withSampler(peer, formula, [&](auto& sample) {
    samplePass(sample);
    const std::size_t before = allocationCount();
    samplePass(sample);
    perSample = static_cast<double>(allocationCount() - before) / SampleCount;
  });
  return perSample;
}

Table countAllocations() {
  Table table{};
  for (std::size_t f = 0; f < formulas.size(); ++f)
    for (std::size_t p = 0; p < peers.size(); ++p)
      table[f][p] = allocationsPerSample(peers[p].peer, formulas[f]);
  return table;
}

std::string benchmarkName(const PeerInfo& peer, const Formula& formula) {
  return std::string(peer.id) + "/" + formula.text;
}

// One iteration is one pass over the sample points; the counter shows the time per sample.
void timePasses(benchmark::State& state, Peer peer, const Formula& formula) {
  withSampler(peer, formula, [&](auto& sample) {
    for (auto _ : state)
      samplePass(sample);
  });
  state.counters["per_sample"] = benchmark::Counter(
      SampleCount, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Each benchmark runs five times and the fastest run counts: on a shared machine the
// slower runs measure the neighbours as much as the code.
void registerBenchmarks() {
  for (const Formula& formula : formulas)
    for (const PeerInfo& peer : peers)
      benchmark::RegisterBenchmark(benchmarkName(peer, formula).c_str(), timePasses, peer.peer,
                                   formula)
          ->Unit(benchmark::kMicrosecond)
          ->Repetitions(5)
          ->MinTime(0.1);
}

Table nanosecondsPerSample(const CollectingReporter& reporter) {
  Table table{};
  for (std::size_t f = 0; f < formulas.size(); ++f)
    for (std::size_t p = 0; p < peers.size(); ++p)
      table[f][p] =
          reporter.secondsPerIteration(benchmarkName(peers[p], formulas[f])) * 1e9 / SampleCount;
  return table;
}

int run() {
  if (!everyPeerAgrees()) return EXIT_FAILURE;
  const Table allocations = countAllocations();
  registerBenchmarks();
  CollectingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  printSummary(nanosecondsPerSample(reporter), allocations);
  return EXIT_SUCCESS;
}

} // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return EXIT_FAILURE;
  try {
    const int status = run();
    benchmark::Shutdown();
    return status;
  } catch (const mu::Parser::exception_type& error) {
    std::fprintf(stderr, "evalon_bench: muparser: %s\n", error.GetMsg().c_str());
    return EXIT_FAILURE;
  }
}
