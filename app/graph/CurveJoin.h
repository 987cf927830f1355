// Which samples of a curve are joined by a line, taken column by column. A curve entering the
// range is drawn from its last point outside, but a failed sample has no point: it ends the
// piece, and the next good sample starts a new one instead of being joined to wherever the
// failed value would lie.
#pragma once

class CurveJoin {
public:
  // Whether the sample is joined to the one before; otherwise a new piece starts at it (a
  // failed sample starts nothing).
  bool next(bool failed, bool inRange) {
    const bool join = joined && !failed && inRange;
    joined = !failed;
    return join;
  }

private:
  bool joined = false; // whether the sample before has a point
};
