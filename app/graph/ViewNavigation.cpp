#include "ViewNavigation.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int ValueGap = 4; // pixels between neighbouring value texts
// Pixels: a fitted period puts its ticks at least Nearest apart; ticks farther apart than
// Farthest leave a zoomed axis bare.
constexpr long double Nearest = 60;
constexpr long double Farthest = 200;

struct Span {
  long double lower;
  long double upper;
};

bool finite(const GraphRange& r) {
  return std::isfinite(r.xMin) && std::isfinite(r.xMax) && std::isfinite(r.yMin) &&
         std::isfinite(r.yMax);
}

// The width a span may take when scaled by factor about anchor: within the limits, and never
// moved past the old width in the direction opposite to the zoom.
long double limitedWidth(long double width, long double factor, long double centre) {
  const long double least = ViewNavigation::LeastRelativeWidth * std::max(1.0L, std::fabs(centre));
  long double scaled = std::clamp(width * factor, least, ViewNavigation::GreatestWidth);
  if (factor < 1 && scaled > width) scaled = width;
  if (factor > 1 && scaled < width) scaled = width;
  return scaled;
}

// The span scaled about anchor, its direction kept. An empty span opens upwards.
Span scaleSpan(Span s, long double anchor, long double factor) {
  const long double signedWidth = s.upper - s.lower;
  const long double width = std::fabs(signedWidth);
  const long double centre = anchor + ((s.lower + s.upper) / 2 - anchor) * factor;
  const long double newWidth = limitedWidth(width, factor, centre);
  if (width == 0) return {anchor - newWidth / 2, anchor + newWidth / 2};
  const long double effective = newWidth / width;
  return {anchor - (anchor - s.lower) * effective, anchor + (s.upper - anchor) * effective};
}

} // namespace

long double ViewNavigation::wheelFactor(int angleDelta) {
  return std::pow(NotchFactor, static_cast<long double>(angleDelta) / NotchDelta);
}

GraphRange ViewNavigation::zoomed(long double column, long double row, long double factorX,
                                  long double factorY) const {
  const GraphRange& old = mapping.graphRange();
  const long double x = (column - mapping.plotLeft()) / mapping.xScale() + old.xMin;
  const long double y = old.yMax - (row - mapping.plotTop()) / mapping.yScale();
  GraphRange r = old;
  if (factorX != 1 && std::isfinite(x)) {
    const Span s = scaleSpan({old.xMin, old.xMax}, x, factorX);
    r.xMin = s.lower;
    r.xMax = s.upper;
  }
  if (factorY != 1 && std::isfinite(y)) {
    const Span s = scaleSpan({old.yMin, old.yMax}, y, factorY);
    r.yMin = s.lower;
    r.yMax = s.upper;
  }
  const bool ordered = (r.xMax - r.xMin) * (old.xMax - old.xMin) >= 0 &&
                       (r.yMax - r.yMin) * (old.yMax - old.yMin) >= 0;
  return finite(r) && ordered ? r : old;
}

// Rows grow downwards, so a move down shows higher values.
GraphRange ViewNavigation::panned(long double dx, long double dy) const {
  const GraphRange& old = mapping.graphRange();
  const long double shiftX = dx / mapping.xScale();
  const long double shiftY = dy / mapping.yScale();
  const GraphRange r{old.xMin - shiftX, old.xMax - shiftX, old.yMin + shiftY, old.yMax + shiftY};
  return finite(r) ? r : old;
}

GraphRange ViewNavigation::equalScale() const {
  const GraphRange& old = mapping.graphRange();
  const long double sx = std::fabs(mapping.xScale());
  const long double sy = std::fabs(mapping.yScale());
  if (!(sx > 0) || !(sy > 0) || !std::isfinite(sx) || !std::isfinite(sy)) return old;
  GraphRange r = old;
  const auto widen = [](long double& lower, long double& upper, long double factor) {
    const long double centre = lower / 2 + upper / 2;
    const long double half = (upper - lower) / 2 * factor;
    lower = centre - half;
    upper = centre + half;
  };
  if (sx > sy)
    widen(r.xMin, r.xMax, sx / sy);
  else
    widen(r.yMin, r.yMax, sy / sx);
  return finite(r) ? r : old;
}

// The ticks walk as the drawn axis walks them: a running sum from the first multiple.
int ViewNavigation::leastSpacing(long double lower, long double upper, long double period,
                                 const TextWidth& textWidth) {
  if (upper < lower) std::swap(lower, upper);
  int widest = 0;
  // A period too small to move the sum would walk forever; no axis shows more ticks.
  constexpr int MostTicks = 100000;
  long double v = std::ceil(lower / period) * period;
  for (int n = 0; v <= upper && n < MostTicks; ++n, v += period)
    widest = std::max(widest, textWidth(v));
  return widest + ValueGap;
}

long double ViewNavigation::spacing(long double span, std::int32_t pixels, long double period) {
  return period * pixels / std::fabs(span);
}

bool ViewNavigation::periodUnfit(long double lower, long double upper, std::int32_t pixels,
                                 long double period, const TextWidth& textWidth) {
  const long double apart = spacing(upper - lower, pixels, period);
  if (!std::isfinite(apart) || pixels <= 0 || !(period > 0)) return false;
  if (apart > Farthest) return true;
  // Closer than the narrowest text could be: crowded without measuring thousands of values.
  if (apart < ValueGap + 1) return true;
  return apart < leastSpacing(lower, upper, period, textWidth);
}

namespace {

// The 1-2-5 step after a period of that series.
long double next125(long double step) {
  const long double decade = std::pow(10.0L, std::floor(std::log10(step) + 1e-9L));
  const long double mantissa = step / decade;
  return (mantissa < 1.5L ? 2 : mantissa < 3.5L ? 5 : 10) * decade;
}

} // namespace

// The candidates are tried from the smallest that could lie far enough apart, upwards, until
// one leaves room for the values.
long double ViewNavigation::firstFit(long double lower, long double upper, std::int32_t pixels,
                                     long double period, const TextWidth& textWidth,
                                     long double first, long double (*next)(long double)) {
  const long double span = std::fabs(upper - lower);
  long double candidate = first;
  for (int tries = 0; tries < 200 && std::isfinite(candidate); ++tries, candidate = next(candidate)) {
    const long double apart = spacing(span, pixels, candidate);
    if (apart < Nearest) continue;
    if (apart >= leastSpacing(lower, upper, candidate, textWidth)) return candidate;
  }
  return period;
}

long double ViewNavigation::fittedPeriod(long double lower, long double upper, std::int32_t pixels,
                                         long double period, const TextWidth& textWidth) {
  const long double span = std::fabs(upper - lower);
  if (pixels <= 0 || !(span > 0) || !std::isfinite(span)) return period;
  const long double decade = std::pow(10.0L, std::floor(std::log10(Nearest * span / pixels)));
  return firstFit(lower, upper, pixels, period, textWidth, decade, next125);
}

// Below one π the steps halve (π/2, π/4, π/8), so that every tick stays a simple fraction; from
// one π up they follow 1-2-5.
long double ViewNavigation::fittedPiPeriod(long double lower, long double upper,
                                           std::int32_t pixels, long double period,
                                           const TextWidth& textWidth) {
  const long double span = std::fabs(upper - lower);
  if (pixels <= 0 || !(span > 0) || !std::isfinite(span)) return period;
  const long double least = Nearest * span / pixels;
  const long double first = least < 1 ? std::exp2(std::floor(std::log2(least)))
                                      : std::pow(10.0L, std::floor(std::log10(least)));
  const auto next = [](long double step) { return step < 1 ? 2 * step : next125(step); };
  return firstFit(lower, upper, pixels, period, textWidth, first, next);
}
