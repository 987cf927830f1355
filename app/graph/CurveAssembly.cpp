#include "CurveAssembly.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Where a side crosses the plot's edge, to a quarter of a column: the pixel it reaches is then
// the right one or its neighbour.
constexpr long double CrossingColumns = 0.25L;

bool outside(Side side) {
  return side == Side::Above || side == Side::Below;
}

class Assembly {
public:
  Assembly(SampledCurve& curve, const PairLooks& looks, Probe& probe, const GraphMapping& mapping,
           long double width)
      : curve(curve), looks(looks), probe(probe), mapping(mapping), rows(mapping), width(width) {}

  void run() {
    const std::vector<CurveSample>& columns = curve.columns;
    if (columns.empty()) return;
    sides.reserve(columns.size());
    for (const CurveSample& s : columns)
      sides.push_back(rows.side(s));
    if (columns[0].good) start(sampleVertex(0));
    auto look = looks.begin();
    for (std::size_t i = 1; i < columns.size(); ++i) {
      while (look != looks.end() && look->first < i - 1)
        ++look;
      const PairLook* found = look != looks.end() && look->first == i - 1 ? &look->second : nullptr;
      if (found && found->turnsBeyond) {
        runToTheEdge(i - 1);
        entry = sideOf(i - 1);
      }
      if (found && found->broken)
        brokenLink(i, *found);
      else
        plainLink(i, found ? found->extreme : std::nullopt);
    }
    end(false);
    for (const auto& [from, to] : edgeRuns) {
      start(from);
      add(to);
      end(true);
    }
  }

private:
  const CurveSample& column(std::size_t i) const { return curve.columns[i]; }
  Side sideOf(std::size_t i) const { return sides[i]; }

  CurveVertex sampleVertex(std::size_t i) const {
    return {column(i).y, static_cast<double>(curve.firstColumn + static_cast<long double>(i)),
            true};
  }
  CurveVertex pointVertex(long double x, long double y) const {
    return {y, static_cast<double>(mapping.xToColumn(x)), false};
  }
  CurveVertex pointVertex(const CurveSample& s) const { return pointVertex(s.x, s.y); }

  // The point where the curve crosses the edge of the plot on `side` between `inner`, which
  // does not lie beyond that edge, and `outer`, which does.
  CurveVertex crossing(const CurveSample& inner, const CurveSample& outer, Side side) {
    const long double level = rows.edge(side);
    return pointVertex(findCrossing(probe, inner, outer, level, CrossingColumns * width), level);
  }

  void start(const CurveVertex& v) {
    end(false);
    first = curve.vertices.size();
    curve.vertices.push_back(v);
    open = true;
  }
  void add(const CurveVertex& v) { curve.vertices.push_back(v); }
  // A piece of one point shows only when closed (a dot); otherwise it is dropped.
  void end(bool closed) {
    if (!open) return;
    open = false;
    const std::size_t last = curve.vertices.size();
    if (last - first >= 2 || closed)
      curve.pieces.push_back({first, last, closed});
    else
      curve.vertices.resize(first);
  }

  // The screen's joining, with an extreme between the samples when one was found.
  void plainLink(std::size_t i, const std::optional<CurveSample>& extreme) {
    const CurveSample& s = column(i);
    const CurveSample& before = column(i - 1);
    followRun(i);
    const std::optional<Side> entering = std::exchange(entry, std::nullopt);
    if (!s.good) return end(false);
    if (!before.good) return start(sampleVertex(i));
    if (extreme) return spike(i, *extreme);
    if (sideOf(i) == Side::Inside && entering == sideOf(i - 1)) {
      start(crossing(s, before, *entering));
      return add(sampleVertex(i));
    }
    if (sideOf(i) == Side::Inside) return add(sampleVertex(i));
    if (entering == sideOf(i)) entry = entering;
    start(sampleVertex(i));
  }

  // The piece runs from sample i - 1 to the extreme, clipped to the plot, and on to sample i;
  // its stretches outside the plot are cut where they cross the plot's edge.
  void spike(std::size_t i, const CurveSample& e) {
    const CurveSample& before = column(i - 1);
    const CurveSample& s = column(i);
    const Side towards = e.y > before.y ? Side::Above : Side::Below;
    const CurveVertex peak = pointVertex(
        e.x, std::min(std::max(e.y, rows.edge(Side::Below)), rows.edge(Side::Above)));
    const Side beforeSide = sideOf(i - 1);
    if (beforeSide == towards) {
      start(peak);
    } else if (outside(beforeSide)) {
      start(crossing(e, before, beforeSide));
      add(peak);
    } else {
      add(peak);
    }
    const Side afterSide = sideOf(i);
    if (afterSide == Side::Inside) return add(sampleVertex(i));
    if (outside(afterSide) && afterSide != towards) add(crossing(e, s, afterSide));
    end(true);
    start(sampleVertex(i));
  }

  // Tracks a stretch of samples outside the plot that began where the curve left it, so that
  // a break at its end can run that side to the plot's edge.
  void followRun(std::size_t i) {
    const CurveSample& s = column(i);
    const Side side = s.good ? sideOf(i) : Side::Off;
    if (!outside(side)) {
      leftAt.reset();
    } else if (column(i - 1).good && sideOf(i - 1) == Side::Inside) {
      leftAt = i - 1;
      leftSide = side;
    } else if (side != leftSide) {
      leftAt.reset();
    }
  }

  // When sample i lies outside the plot on a stretch that began where the curve left it, the
  // side that left runs on from its last sample inside to the plot's edge: a piece of its own,
  // added after the others.
  void runToTheEdge(std::size_t i) {
    if (!leftAt || !column(i).good || sideOf(i) != leftSide) return;
    edgeRuns.emplace_back(sampleVertex(*leftAt),
                          crossing(column(*leftAt), column(*leftAt + 1), leftSide));
    leftAt.reset();
  }

  void brokenLink(std::size_t i, const PairLook& look) {
    if (column(i - 1).good && look.leftEnd) sideBefore(i - 1, *look.leftEnd);
    end(false);
    leftAt.reset();
    if (column(i).good) sideAfter(i, look.rightStart.value_or(column(i)));
  }

  // The side before a break: from sample i (the piece's last point) to its end point b.
  void sideBefore(std::size_t i, const CurveSample& b) {
    const CurveSample& s = column(i);
    const Side sideS = sideOf(i);
    const Side sideB = rows.side(b);
    if (sideS == Side::Inside) {
      if (sideB == Side::Inside && b.x != s.x) add(pointVertex(b));
      if (outside(sideB)) add(crossing(s, b, sideB));
      return end(true);
    }
    end(false);
    runToTheEdge(i);
    if (!outside(sideS)) return;
    if (sideB == Side::Inside) {
      start(crossing(b, s, sideS));
      add(pointVertex(b));
      end(true);
    } else if (outside(sideB) && sideB != sideS) {
      start(crossing(b, s, sideS));
      add(crossing(s, b, sideB));
      end(true);
    }
  }

  // The side after a break: from its start point b to sample i, which then goes on as usual.
  void sideAfter(std::size_t i, const CurveSample& b) {
    const CurveSample& s = column(i);
    const Side sideS = sideOf(i);
    const Side sideB = rows.side(b);
    if (sideS == Side::Inside) {
      if (sideB == Side::Inside && b.x != s.x) {
        start(pointVertex(b));
        add(sampleVertex(i));
      } else if (outside(sideB)) {
        start(crossing(s, b, sideB));
        add(sampleVertex(i));
      } else {
        start(sampleVertex(i));
      }
      return;
    }
    if (sideB == Side::Inside) {
      start(pointVertex(b));
      add(crossing(b, s, sideS));
      end(true);
    } else if (outside(sideB) && outside(sideS) && sideB != sideS) {
      start(crossing(s, b, sideB));
      add(crossing(b, s, sideS));
      end(true);
    }
    start(sampleVertex(i));
    if (outside(sideS) && sideB == sideS) entry = sideS;
  }

  SampledCurve& curve;
  const PairLooks& looks;
  Probe& probe;
  const GraphMapping& mapping;
  const PlotRows rows;
  const long double width;
  std::vector<Side> sides; // of the columns' samples
  bool open = false;
  std::size_t first = 0;         // the open piece's first vertex
  std::optional<std::size_t> leftAt; // the last sample inside before the stretch outside
  Side leftSide = Side::Off;
  std::vector<std::pair<CurveVertex, CurveVertex>> edgeRuns;
  // The side of the plot from which the curve comes back after a break or a sharp turn beyond
  // the edge: it enters from where it crosses the edge, not from its last sample outside.
  std::optional<Side> entry;
};

} // namespace

void assemblePieces(SampledCurve& curve, const PairLooks& looks, Probe& probe,
                    const GraphMapping& mapping, long double width) {
  Assembly(curve, looks, probe, mapping, width).run();
}
