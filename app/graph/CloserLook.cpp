#include "CloserLook.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

// Far more than the bisections need from a column's width down to a double's resolution
// (about 55 halvings, 80 golden-section steps); a guard against looping, not a limit in use.
constexpr int MaxSteps = 120;
// The golden section's share of the larger part of the bracket.
constexpr long double Golden = 0.38196601125010515L;
// An extreme is located when both ends of its bracket lie within this of it.
constexpr long double ExtremeRows = 0.25L;
// ... or, for values far off the plot, within this share of it.
constexpr long double ExtremeShare = 1e-12L;

long double midpoint(long double a, long double b) {
  return a + (b - a) / 2;
}

} // namespace

std::optional<CurveSample> Probe::at(long double x) {
  if (left <= 0) return std::nullopt;
  --left;
  ++count;
  long double y = 0.0L;
  const bool ok = f(x, y);
  return CurveSample{x, y, ok && !std::isnan(y)};
}

long double PlotRows::clampedRow(long double y) const {
  return std::clamp(row(y), static_cast<long double>(mapping.plotTop()) - 1,
                    static_cast<long double>(mapping.plotBottom()) + 1);
}

long double PlotRows::valueOfRows(long double rows) const {
  return rows / std::fabs(mapping.yScale());
}

Side PlotRows::side(const CurveSample& s) const {
  const GraphRange& range = mapping.graphRange();
  if (mapping.inGraphRange(s.x, s.y)) return Side::Inside;
  if (!(range.xMin <= s.x && s.x <= range.xMax) || range.yMin > range.yMax) return Side::Off;
  return s.y > range.yMax ? Side::Above : Side::Below;
}

long double PlotRows::edge(Side side) const {
  return side == Side::Above ? mapping.graphRange().yMax : mapping.graphRange().yMin;
}

bool atResolution(long double a, long double b, long double width) {
  const long double scale = std::max({std::fabs(a), std::fabs(b), std::fabs(width)});
  if (std::fabs(b - a) <= 4 * DBL_EPSILON * scale) return true;
  const auto mid = static_cast<double>(midpoint(a, b));
  return mid == static_cast<double>(a) || mid == static_cast<double>(b);
}

// A continuous curve's step shrinks with the interval; at a jump the half holding it keeps
// the whole step, and at a pole it grows until the clamping holds it at the plot's height.
JumpLook lookAtJump(Probe& probe, const PlotRows& rows, CurveSample l, CurveSample r,
                    long double width) {
  const auto step = [&rows](const CurveSample& u, const CurveSample& v) {
    return std::fabs(rows.clampedRow(u.y) - rows.clampedRow(v.y));
  };
  for (int i = 0; i < MaxSteps; ++i) {
    if (step(l, r) <= 1) return {JumpLook::Continuous, l, r};
    if (atResolution(l.x, r.x, width)) return {JumpLook::Jump, l, r};
    const std::optional<CurveSample> m = probe.at(midpoint(l.x, r.x));
    if (!m) break;
    if (!m->good)
      return {JumpLook::Gap, findEdge(probe, l, *m, width / 256),
              findEdge(probe, r, *m, width / 256)};
    if (step(l, *m) >= step(*m, r))
      r = *m;
    else
      l = *m;
  }
  return {JumpLook::Unresolved, l, r};
}

CurveSample findEdge(Probe& probe, CurveSample good, CurveSample failed, long double resolution) {
  for (int i = 0; i < MaxSteps && std::fabs(failed.x - good.x) > resolution; ++i) {
    if (atResolution(good.x, failed.x, 0)) break;
    const std::optional<CurveSample> m = probe.at(midpoint(good.x, failed.x));
    if (!m) break;
    (m->good ? good : failed) = *m;
  }
  return good;
}

long double findCrossing(Probe& probe, CurveSample from, CurveSample to, long double level,
                         long double resolution) {
  const bool toAbove = to.y > level;
  const auto beyond = [level, toAbove](const CurveSample& s) {
    return !s.good || (toAbove ? s.y > level : s.y < level);
  };
  for (int i = 0; i < MaxSteps && std::fabs(to.x - from.x) > resolution; ++i) {
    if (atResolution(from.x, to.x, 0)) break;
    const std::optional<CurveSample> m = probe.at(midpoint(from.x, to.x));
    if (!m) break;
    (beyond(*m) ? to : from) = *m;
  }
  return midpoint(from.x, to.x);
}

// At a double's resolution a bracket that still climbs beyond the plot holds a pole, which
// lies on the side of the higher end; one that stays within it holds a jump's top.
Extreme locateExtreme(Probe& probe, const PlotRows& rows, CurveSample a, CurveSample b,
                      CurveSample c, bool maximum, long double width) {
  const long double sign = maximum ? 1 : -1;
  const auto g = [sign](const CurveSample& s) { return sign * s.y; };
  for (int i = 0; i < MaxSteps; ++i) {
    const long double tolerance =
        std::max(rows.valueOfRows(ExtremeRows), std::fabs(b.y) * ExtremeShare);
    if (g(b) - g(a) <= tolerance && g(b) - g(c) <= tolerance) return {Extreme::Finite, b, a, c};
    if (atResolution(a.x, c.x, width)) {
      if (rows.side(b) != (maximum ? Side::Above : Side::Below)) return {Extreme::Finite, b, a, c};
      return g(a) > g(c) ? Extreme{Extreme::Pole, b, a, b} : Extreme{Extreme::Pole, b, b, c};
    }
    const bool right = std::fabs(c.x - b.x) > std::fabs(b.x - a.x);
    const std::optional<CurveSample> p = probe.at(b.x + Golden * ((right ? c.x : a.x) - b.x));
    if (!p) return {Extreme::Unresolved, b, a, c};
    if (!p->good) return {Extreme::Failed, b, a, c};
    if (g(*p) > g(b)) {
      (right ? a : c) = b;
      b = *p;
    } else {
      (right ? c : a) = *p;
    }
  }
  return {Extreme::Unresolved, b, a, c};
}
