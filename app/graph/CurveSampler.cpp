#include "CurveSampler.h"

#include "CurveAssembly.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

// What the eye sees: a step, an extreme or an oscillation of more than a pixel.
constexpr long double PixelRows = 1.0L;
// A column's scan: nine values from half a column before its x to half a column after it, its
// own sample in the middle and the midpoints to its neighbours at the ends.
constexpr int GridSteps = 8;
using Grid = std::array<CurveSample, GridSteps + 1>;

bool outside(Side side) {
  return side == Side::Above || side == Side::Below;
}

class Sampler {
public:
  Sampler(const GraphMapping& mapping, ColumnSpan span, const CurveFunction& f)
      : mapping(mapping), rows(mapping), f(f),
        count(span.last < span.first
                  ? 0
                  : static_cast<std::size_t>(std::int64_t{span.last} - span.first + 1)),
        probe(f, ExtraEvaluationsPerColumn * static_cast<std::int64_t>(count)),
        width(std::fabs(1 / mapping.xScale())) {
    out.firstColumn = span.first;
  }

  SampledCurve run() {
    sampleColumns();
    examineEdges();
    examineSteps();
    examineTurns();
    std::stable_sort(breaks.begin(), breaks.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [pair, found] : breaks)
      out.breaks.push_back(found);
    std::sort(out.bands.begin(), out.bands.end(),
              [](const CurveBand& a, const CurveBand& b) { return a.column < b.column; });
    assemblePieces(out, looks, probe, mapping, width);
    out.evaluations = static_cast<std::int64_t>(count) + probe.used();
    return std::move(out);
  }

private:
  const CurveSample& column(std::size_t i) const { return out.columns[i]; }
  long double xAt(long double position) const {
    return mapping.columnToX(out.firstColumn + position);
  }
  bool broken(std::size_t pair) const {
    const auto found = looks.find(pair);
    return found != looks.end() && found->second.broken;
  }
  bool linked(std::size_t pair) const {
    return column(pair).good && column(pair + 1).good && !broken(pair);
  }
  void addBreak(std::size_t pair, long double left, long double right, BreakKind kind) {
    breaks.emplace_back(pair, CurveBreak{left, right, kind});
  }

  void sampleColumns() {
    out.columns.reserve(count);
    sampleRows.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      const long double x = mapping.pixelToX(out.firstColumn + static_cast<std::int32_t>(i));
      long double y = 0.0L;
      const bool ok = f(x, y);
      out.columns.push_back({x, y, ok && !std::isnan(y)});
      // Rows beyond a double's range are as far off the plot as any: held within it.
      sampleRows.push_back(static_cast<double>(std::clamp(rows.row(y), -1e300L, 1e300L)));
    }
  }

  // A good sample beside a failed one: the side with values runs to the domain's edge.
  void examineEdges() {
    for (std::size_t i = 0; i + 1 < count; ++i) {
      const CurveSample& a = column(i);
      const CurveSample& b = column(i + 1);
      if (a.good == b.good) continue;
      const CurveSample edge = findEdge(probe, a.good ? a : b, a.good ? b : a, width / 256);
      PairLook& look = looks[i];
      look.broken = true;
      (a.good ? look.leftEnd : look.rightStart) = edge;
      addBreak(i, edge.x, edge.x, BreakKind::DomainEdge);
    }
  }

  // The steps between neighbouring samples in clamped rows; NaN where either failed.
  std::vector<double> clampedSteps() const {
    const double top = mapping.plotTop() - 1.0;
    const double bottom = mapping.plotBottom() + 1.0;
    const auto clamped = [&](std::size_t i) {
      return column(i).good ? std::clamp(sampleRows[i], top, bottom)
                            : std::numeric_limits<double>::quiet_NaN();
    };
    std::vector<double> steps;
    steps.reserve(count);
    for (std::size_t i = 0; i + 1 < count; ++i)
      steps.push_back(clamped(i + 1) - clamped(i));
    return steps;
  }

  // A step of more than a pixel that neither side's steps lead up to: a smooth curve's step
  // follows from the two before it (or after it) as a straight continuation of the slope, to
  // far less than a pixel; at a jump or a pole both continuations miss it.
  static bool suspicious(const std::vector<double>& steps, std::size_t pair) {
    const double d = steps[pair];
    if (!(std::fabs(d) > PixelRows)) return false;
    const auto at = [&steps](std::size_t i, std::ptrdiff_t offset) {
      const auto k = static_cast<std::ptrdiff_t>(i) + offset;
      return k < 0 || k >= static_cast<std::ptrdiff_t>(steps.size())
                 ? std::numeric_limits<double>::quiet_NaN()
                 : steps[static_cast<std::size_t>(k)];
    };
    const auto misses = [d](double near, double far) {
      if (std::isnan(near)) return true;
      const double predicted = std::isnan(far) ? near : 2 * near - far;
      return std::fabs(d - predicted) > PixelRows;
    };
    return misses(at(pair, -1), at(pair, -2)) && misses(at(pair, 1), at(pair, 2));
  }

  void examineSteps() {
    const std::vector<double> steps = clampedSteps();
    for (std::size_t i = 0; i + 1 < count; ++i) {
      if (!suspicious(steps, i) || broken(i)) continue;
      const JumpLook found = lookAtJump(probe, rows, column(i), column(i + 1), width);
      if (found.kind != JumpLook::Jump && found.kind != JumpLook::Gap) continue;
      PairLook& look = looks[i];
      look.broken = true;
      look.leftEnd = found.left;
      look.rightStart = found.right;
      if (found.kind == JumpLook::Jump) {
        addBreak(i, found.left.x, found.right.x, BreakKind::Jump);
      } else {
        addBreak(i, found.left.x, found.left.x, BreakKind::DomainEdge);
        addBreak(i, found.right.x, found.right.x, BreakKind::DomainEdge);
      }
    }
  }

  // Where the sampled slope turns by more than a pixel, an extreme between the columns may
  // lie beyond both of their rows, or a pole, or faster oscillation than the columns show.
  // Only turns on the plot, or on a stretch outside it that starts or ends on it, are looked at.
  void examineTurns() {
    for (std::size_t i = 1; i + 1 < count && !probe.spent(); ++i) {
      const double before = sampleRows[i] - sampleRows[i - 1];
      const double after = sampleRows[i + 1] - sampleRows[i];
      if (!(before * after < 0) || std::max(std::fabs(before), std::fabs(after)) <= PixelRows)
        continue;
      if (bandColumns.count(i) || !linked(i - 1) || !linked(i)) continue;
      if (nearPlot(i - 1) || nearPlot(i) || nearPlot(i + 1)) checkTurn(i, before < 0);
    }
  }

  // Whether the sample is inside the plot, or outside on a stretch that reaches it.
  bool nearPlot(std::size_t i) {
    if (reach.empty()) markReach();
    return reach[i];
  }

  void markReach() {
    reach.assign(count, false);
    const auto inside = [this](std::size_t i) {
      return column(i).good && rows.side(column(i)) == Side::Inside;
    };
    const auto outsideAt = [this](std::size_t i) {
      return column(i).good && outside(rows.side(column(i)));
    };
    bool reached = false;
    for (std::size_t i = 0; i < count; ++i) {
      reached = inside(i) || (reached && outsideAt(i) && linked(i - 1));
      reach[i] = reached;
    }
    reached = false;
    for (std::size_t i = count; i-- > 0;) {
      reached = inside(i) || (reached && outsideAt(i) && linked(i));
      reach[i] = reach[i] || reached;
    }
  }

  void checkTurn(std::size_t i, bool maximum) {
    const std::optional<CurveSample> left = mid(i - 1);
    const std::optional<CurveSample> right = mid(i);
    if (!left || !right || !left->good || !right->good) return;
    const std::array<CurveSample, 5> seq{column(i - 1), *left, column(i), *right, column(i + 1)};
    if (directionChanges(seq.begin(), seq.end()) >= 2) return bandMode(i);
    const std::size_t k = best(seq.begin(), seq.end(), maximum);
    if (k == 0 || k + 1 == seq.size()) return;
    const Extreme e = locateExtreme(probe, rows, seq[k - 1], seq[k], seq[k + 1], maximum, width);
    if (e.kind == Extreme::Pole) {
      addPole(pairAround(i, (e.left.x + e.right.x) / 2), e);
    } else if (e.kind == Extreme::Finite) {
      const std::size_t pair = pairAround(i, e.at.x);
      if (isSpike(pair, e.at, maximum))
        looks[pair].extreme = e.at;
      else if (rows.side(column(i)) == rows.side(e.at) && outside(rows.side(e.at)))
        looks[i].turnsBeyond = true;
    }
  }

  // Of the two pairs around column i, the one that holds x.
  std::size_t pairAround(std::size_t i, long double x) const {
    return mapping.xToColumn(x) - out.firstColumn < static_cast<long double>(i) ? i - 1 : i;
  }

  void addPole(std::size_t pair, const Extreme& e) {
    const bool inOrder = mapping.xToColumn(e.left.x) <= mapping.xToColumn(e.right.x);
    PairLook& look = looks[pair];
    look.broken = true;
    look.extreme.reset();
    look.leftEnd = inOrder ? e.left : e.right;
    look.rightStart = inOrder ? e.right : e.left;
    addBreak(pair, look.leftEnd->x, look.rightStart->x, BreakKind::Jump);
  }

  // An extreme more than a pixel beyond both samples of its pair, with something of it on
  // the plot.
  bool isSpike(std::size_t pair, const CurveSample& e, bool maximum) const {
    const CurveSample& a = column(pair);
    const CurveSample& b = column(pair + 1);
    const long double re = rows.row(e.y);
    const long double beyond = maximum ? std::min(rows.row(a.y), rows.row(b.y)) - re
                                       : re - std::max(rows.row(a.y), rows.row(b.y));
    if (!(beyond > PixelRows)) return false;
    return rows.side(e) == Side::Inside || rows.side(a) == Side::Inside ||
           rows.side(b) == Side::Inside;
  }

  // The value halfway between column pair and the next, evaluated once.
  std::optional<CurveSample> mid(std::size_t pair) {
    if (const auto found = mids.find(pair); found != mids.end()) return found->second;
    const std::optional<CurveSample> m = probe.at(xAt(pair + 0.5L));
    if (m) mids.emplace(pair, *m);
    return m;
  }

  // Turns of more than a pixel along the good samples, in clamped rows: what lies beyond the
  // plot does not show.
  template <class It> int directionChanges(It first, It last) const {
    int changes = 0;
    int direction = 0;
    std::optional<long double> extreme;
    for (It s = first; s != last; ++s) {
      if (!s->good) continue;
      const long double r = rows.clampedRow(s->y);
      if (!extreme) {
        extreme = r;
      } else if (direction == 0) {
        if (std::fabs(r - *extreme) > PixelRows) {
          direction = r > *extreme ? 1 : -1;
          extreme = r;
        }
      } else if ((r - *extreme) * direction > 0) {
        extreme = r;
      } else if ((*extreme - r) * direction > PixelRows) {
        ++changes;
        direction = -direction;
        extreme = r;
      }
    }
    return changes;
  }

  // The index of the greatest (least) good value.
  template <class It> std::size_t best(It first, It last, bool maximum) const {
    std::size_t found = 0;
    std::optional<long double> value;
    for (It s = first; s != last; ++s)
      if (s->good && (!value || (maximum ? s->y > *value : s->y < *value))) {
        value = s->y;
        found = static_cast<std::size_t>(s - first);
      }
    return found;
  }

  // From column i, every neighbouring column that oscillates becomes a band, as long as the
  // bands show on the plot.
  void bandMode(std::size_t i) {
    std::vector<std::size_t> work{i};
    while (!work.empty() && !probe.spent()) {
      const std::size_t j = work.back();
      work.pop_back();
      if (!scanned.insert(j).second) continue;
      const std::optional<CurveBand> band = scanBand(j);
      if (!band) continue;
      out.bands.push_back(*band);
      bandColumns.insert(j);
      const GraphRange& range = mapping.graphRange();
      if (band->high < range.yMin || band->low > range.yMax) continue;
      if (j > 0) work.push_back(j - 1);
      if (j + 1 < count) work.push_back(j + 1);
    }
  }

  // Column j is a band when the scans of it and its neighbours turn at least twice: the
  // function's period there is no more than a few columns, so the samples alias. The band
  // spans the column's least to greatest value, each searched from the best of its scan.
  std::optional<CurveBand> scanBand(std::size_t j) {
    std::vector<CurveSample> around;
    for (std::size_t k = j > 0 ? j - 1 : j; k <= j + 1 && k < count; ++k) {
      const Grid* g = grid(k);
      if (!g) return std::nullopt;
      around.insert(around.end(), g->begin() + (around.empty() ? 0 : 1), g->end());
    }
    if (directionChanges(around.begin(), around.end()) < 2) return std::nullopt;
    const Grid& own = *grid(j);
    std::optional<long double> low = located(own, false);
    std::optional<long double> high = located(own, true);
    if (!low || !high) return std::nullopt;
    return CurveBand{out.firstColumn + static_cast<std::int32_t>(j), *low, *high};
  }

  // The greatest (least) value over a column's scan, with the best of its inner turning
  // points refined by a search about it (where the column holds many periods, any of its
  // extremes is the one its scan happened to come nearest), and the same between each end and
  // its neighbour when the end is the higher (lower) of the two.
  std::optional<long double> located(const Grid& g, bool maximum) {
    const std::size_t k = best(g.begin(), g.end(), maximum);
    if (!g[k].good) return std::nullopt;
    const auto beats = [maximum](const CurveSample& u, const CurveSample& v) {
      return maximum ? u.y >= v.y : u.y <= v.y;
    };
    long double value = g[k].y;
    const auto refine = [&](const CurveSample& a, const CurveSample& b, const CurveSample& c) {
      const Extreme e = locateExtreme(probe, rows, a, b, c, maximum, width);
      value = maximum ? std::max(value, e.at.y) : std::min(value, e.at.y);
    };
    std::optional<std::size_t> turn;
    for (std::size_t t = 1; t < GridSteps; ++t)
      if (g[t - 1].good && g[t].good && g[t + 1].good && beats(g[t], g[t - 1]) &&
          beats(g[t], g[t + 1]) && (!turn || beats(g[t], g[*turn])))
        turn = t;
    if (turn) refine(g[*turn - 1], g[*turn], g[*turn + 1]);
    for (const auto& [end, next] :
         {std::pair<std::size_t, std::size_t>{0, 1}, {GridSteps, GridSteps - 1}}) {
      if (!g[end].good || !g[next].good || !beats(g[end], g[next])) continue;
      const std::optional<CurveSample> m = probe.at(midpointX(g[end], g[next]));
      if (m && m->good && beats(*m, g[end])) refine(g[end], *m, g[next]);
    }
    return value;
  }

  static long double midpointX(const CurveSample& a, const CurveSample& b) {
    return a.x + (b.x - a.x) / 2;
  }

  // The scan of column k, evaluated once; nothing when the budget ran out.
  const Grid* grid(std::size_t k) {
    if (const auto found = grids.find(k); found != grids.end()) return &found->second;
    Grid g;
    for (int t = 0; t <= GridSteps; ++t) {
      const long double offset = static_cast<long double>(t - GridSteps / 2) / GridSteps;
      std::optional<CurveSample> s;
      if (t == GridSteps / 2)
        s = column(k);
      else if (t == 0 && k > 0)
        s = mid(k - 1);
      else if (t == GridSteps && k + 1 < count)
        s = mid(k);
      else
        s = probe.at(xAt(k + offset));
      if (!s) return nullptr;
      g[t] = *s;
    }
    return &grids.emplace(k, g).first->second;
  }

  const GraphMapping& mapping;
  const PlotRows rows;
  const CurveFunction& f;
  const std::size_t count;
  Probe probe;
  const long double width; // of a column, in x
  SampledCurve out;
  PairLooks looks;
  std::vector<std::pair<std::size_t, CurveBreak>> breaks;
  std::vector<double> sampleRows; // the rows of the columns' samples, unrounded
  std::vector<bool> reach;             // see nearPlot; made on first use
  std::unordered_map<std::size_t, CurveSample> mids;
  std::unordered_map<std::size_t, Grid> grids;
  std::unordered_set<std::size_t> scanned;
  std::unordered_set<std::size_t> bandColumns;
};

} // namespace

SampledCurve sampleCurve(const GraphMapping& mapping, ColumnSpan span, const CurveFunction& f) {
  return Sampler(mapping, span, f).run();
}
