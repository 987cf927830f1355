#include "PathSampler.h"

#include <algorithm>
#include <cmath>

namespace {

// Beyond this many halvings of a start interval the values are as close as the run looks.
constexpr int DeepestHalving = 48;

struct PathNode {
  long double v;
  bool good;
  PathPoint at;
};

class PathRun {
public:
  PathRun(const GraphMapping& mapping, const PathView& view, const PathFunction& f,
          std::int64_t budget)
      : mapping(mapping), view(view), f(f), budget(budget) {}

  PathNode node(long double v);
  // Everything after a up to and including b.
  void interval(const PathNode& a, const PathNode& b, int depth);
  // A node reached in order: a good one joins the piece, one without a point ends it.
  void arrive(const PathNode& node);
  void breakPiece();

  SampledPath path;

private:
  bool seen(const PathNode& a, const PathNode& m, const PathNode& b) const;
  void narrowest(const PathNode& a, const PathNode& b);

  const GraphMapping& mapping;
  const PathView& view;
  const PathFunction& f;
  std::int64_t budget;
  std::vector<PathPoint> piece;
};

// A plain root of squares: the long double hypot is many times slower, and no pixel distance
// comes near overflowing a long double's square.
long double distance(long double dx, long double dy) {
  return std::sqrt(dx * dx + dy * dy);
}

long double chordLength(const PathPoint& a, const PathPoint& b) {
  return distance(b.column - a.column, b.row - a.row);
}

// How far m lies from the chord through a and b (from a when they coincide).
long double offChord(const PathPoint& a, const PathPoint& m, const PathPoint& b) {
  const long double dx = b.column - a.column;
  const long double dy = b.row - a.row;
  const long double length = distance(dx, dy);
  if (length == 0.0L) return chordLength(a, m);
  return std::fabs(dx * (m.row - a.row) - dy * (m.column - a.column)) / length;
}

PathNode PathRun::node(long double v) {
  ++path.evaluations;
  long double x = 0.0L;
  long double y = 0.0L;
  if (!f(v, x, y) || !std::isfinite(x) || !std::isfinite(y)) return {v, false, {}};
  return {v, true, {mapping.xToColumn(x), mapping.yToRow(y)}};
}

void PathRun::arrive(const PathNode& node) {
  if (node.good)
    piece.push_back(node.at);
  else
    breakPiece();
}

void PathRun::breakPiece() {
  if (!piece.empty()) path.pieces.push_back(std::move(piece));
  piece.clear();
}

// Whether the three points' box, widened by a chord's length, reaches into the view: a curve
// whose samples all lie beyond one side of it is not seen between them either.
bool PathRun::seen(const PathNode& a, const PathNode& m, const PathNode& b) const {
  const long double reach = PathLongestChord;
  const auto [left, right] = std::minmax({a.at.column, m.at.column, b.at.column});
  const auto [top, bottom] = std::minmax({a.at.row, m.at.row, b.at.row});
  return right >= view.left - reach && left <= view.right + reach &&
         bottom >= view.top - reach && top <= view.bottom + reach;
}

// An interval that cannot be halved further: joined unless it still jumps, which only a pole
// or a jump does in so short a step.
void PathRun::narrowest(const PathNode& a, const PathNode& b) {
  if (a.good && b.good && chordLength(a.at, b.at) > PathLongestChord) breakPiece();
  arrive(b);
}

void PathRun::interval(const PathNode& a, const PathNode& b, int depth) {
  if (!a.good && !b.good) return arrive(b);
  if (path.evaluations >= budget) return arrive(b);
  const long double mid = a.v + (b.v - a.v) / 2;
  if (depth >= DeepestHalving || mid <= a.v || mid >= b.v) return narrowest(a, b);
  const PathNode m = node(mid);
  if (a.good && m.good && b.good) {
    if (!seen(a, m, b)) return arrive(b);
    if (chordLength(a.at, b.at) <= PathLongestChord &&
        offChord(a.at, m.at, b.at) <= PathMidpointTolerance) {
      arrive(m);
      return arrive(b);
    }
  }
  interval(a, m, depth + 1);
  interval(m, b, depth + 1);
}

} // namespace

SampledPath samplePath(const GraphMapping& mapping, const PathView& view, long double first,
                       long double last, const PathFunction& f, std::int64_t budget) {
  PathRun run(mapping, view, f, budget);
  PathNode previous = run.node(first);
  run.arrive(previous);
  for (int i = 1; i <= PathStartIntervals; ++i) {
    const long double v =
        i == PathStartIntervals ? last : first + (last - first) * i / PathStartIntervals;
    const PathNode next = run.node(v);
    run.interval(previous, next, 0);
    previous = next;
  }
  run.breakPiece();
  return std::move(run.path);
}
