#include "ParameterSweep.h"

#include <algorithm>
#include <cmath>

namespace {

// Into [0, 1).
double wrapped(double phase) {
  const double fraction = phase - std::floor(phase);
  return fraction >= 1.0 ? 0.0 : fraction;
}

} // namespace

ParameterSweep::ParameterSweep(double min, double max, double value, double period)
    : min(min), max(max), period(period),
      startPhase(std::clamp((value - min) / (max - min), 0.0, 1.0) / 2) {}

double ParameterSweep::phaseAt(double seconds) const {
  return wrapped(startPhase + seconds / period);
}

double ParameterSweep::valueAt(double seconds) const {
  const double phase = phaseAt(seconds);
  const double position = phase < 0.5 ? 2 * phase : 2 * (1 - phase);
  return min + (max - min) * position;
}

void ParameterSweep::setPeriod(double newPeriod, double seconds) {
  startPhase = wrapped(phaseAt(seconds) - seconds / newPeriod);
  period = newPeriod;
}
