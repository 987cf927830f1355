#include "Summary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include <unistd.h>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

void printHeading(const char* title) {
  std::printf("\n%s\n%-32s", title, "formula");
  for (const PeerInfo& peer : peers)
    std::printf("%19s", peer.title);
  std::printf("\n");
}

void printRow(const char* label, const std::array<double, peers.size()>& cells, int decimals) {
  std::printf("%-32s", label);
  for (double cell : cells) {
    if (std::isnan(cell))
      std::printf("%19s", "-");
    else
      std::printf("%19.*f", decimals, cell);
  }
  std::printf("\n");
}

void printTable(const char* title, const Table& table, int decimals) {
  printHeading(title);
  for (std::size_t f = 0; f < formulas.size(); ++f)
    printRow(formulas[f].text, table[f], decimals);
}

// NaN unless every formula has a value for the peer.
double geometricMean(const Table& table, std::size_t peer) {
  double logSum = 0.0;
  for (const auto& row : table)
    logSum += std::log(row[peer]);
  return std::exp(logSum / static_cast<double>(table.size()));
}

void printSpeed(double evalon, const PeerInfo& peer, double other) {
  if (std::isnan(evalon) || std::isnan(other)) return;
  const double factor = other / evalon;
  std::printf("Evalon is %.2f times faster than %s", factor, peer.title);
  if (factor < 1.0) std::printf(" (%.2f times slower)", 1.0 / factor);
  std::printf("\n");
}

// Evalon's time per sample as a multiple of muparser's compiled form (its bytecode) and of
// C++, per formula and for the geometric means, and whether the plotting path keeps within
// 2.5 times muparser's bytecode, the goal it was made fast for.
void printRatios(const Table& table, const std::array<double, peers.size()>& means) {
  constexpr double Goal = 2.5;
  const std::size_t evalon = 0, bytecode = 2, cpp = 3;
  static_assert(peers[bytecode].peer == Peer::MuparserCompiled && peers[cpp].peer == Peer::Cpp);
  std::printf("\nEvalon's time per sample as a multiple of\n%-32s%19s%19s\n", "formula",
              "muparser compiled", "C++");
  auto row = [](const char* label, double e, double m, double c) {
    std::printf("%-32s%19.2f%19.2f\n", label, e / m, e / c);
  };
  for (std::size_t f = 0; f < formulas.size(); ++f)
    row(formulas[f].text, table[f][evalon], table[f][bytecode], table[f][cpp]);
  row("geometric mean", means[evalon], means[bytecode], means[cpp]);
  const double ratio = means[evalon] / means[bytecode];
  if (!std::isnan(ratio))
    std::printf("Plotting path: %.2f times muparser's bytecode (goal: within %.1f): %s\n", ratio,
                Goal, ratio <= Goal ? "met" : "NOT met");
}

} // namespace

CollectingReporter::CollectingReporter()
    : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

void CollectingReporter::ReportRuns(const std::vector<Run>& runs) {
  for (const Run& run : runs) {
    if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0) continue;
    const double perIteration = run.cpu_accumulated_time / static_cast<double>(run.iterations);
    // The function name, without the suffixes that repetitions and minimum times add.
    const auto [entry, fresh] = seconds.emplace(run.run_name.function_name, perIteration);
    if (!fresh) entry->second = std::min(entry->second, perIteration);
  }
  ConsoleReporter::ReportRuns(runs);
}

double CollectingReporter::secondsPerIteration(const std::string& name) const {
  const auto entry = seconds.find(name);
  return entry != seconds.end() ? entry->second : NaN;
}

void printSummary(const Table& nanosecondsPerSample, const Table& allocationsPerSample) {
  std::printf("\n%zu samples of x evenly in [-3, 3]; CPU time (of repetitions, the fastest)\n",
              SampleCount);
  printTable("Nanoseconds per sample", nanosecondsPerSample, 2);
  std::array<double, peers.size()> means{};
  for (std::size_t p = 0; p < peers.size(); ++p)
    means[p] = geometricMean(nanosecondsPerSample, p);
  printRow("geometric mean", means, 2);
  // Four decimals, so that a single allocation in a pass still shows.
  printTable("Heap allocations per sample, after one warm-up pass", allocationsPerSample, 4);
  printRatios(nanosecondsPerSample, means);
  std::printf("\n");
  for (std::size_t p = 1; p < peers.size(); ++p)
    printSpeed(means[0], peers[p], means[p]);
}
