// ParameterSweep: the value of a parameter that is played, as a function of the time since
// play began. It travels from min to max and back to min once per period, at an even pace,
// starting from the value it had, on the way up. Computing it from the clock keeps the pace
// when frames are dropped.
#pragma once

class ParameterSweep {
public:
  // min < max and a positive period, in seconds.
  ParameterSweep(double min, double max, double value, double period);
  double valueAt(double seconds) const;
  // A new period from the given time on, going on from where the sweep stands then.
  void setPeriod(double period, double seconds);

private:
  // Where in the round trip the sweep is at that time: 0 at min, 0.5 at max, towards 1 back.
  double phaseAt(double seconds) const;

  double min;
  double max;
  double period;
  double startPhase; // the phase at time 0
};
