#include "ImplicitSampler.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <unordered_map>

namespace {

// Halvings of a fine edge of two pixels: the crossing is then known to 1/64 of a pixel before
// the last linear step between the bracket's ends.
constexpr int RefineSteps = 7;
// At a true crossing |F| at the bracket's ends falls with the bracket; at a jump it stays, at
// a pole it grows.
constexpr double ShrinkShare = 0.5;

enum class State : std::uint8_t { Unknown, Good, Failed };

struct EdgeCrossing {
  PathPoint at;
  bool zero; // F shrinks to zero there: a point of the curve, not a jump
};

class Lattice {
public:
  Lattice(const GraphMapping& mapping, const ImplicitView& view, const PlaneFunction& f)
      : mapping(mapping), view(view), f(f),
        columns((view.right - view.left + ImplicitFineStep - 1) / ImplicitFineStep + 1),
        rows((view.bottom - view.top + ImplicitFineStep - 1) / ImplicitFineStep + 1),
        values(std::size_t(columns) * std::size_t(rows)),
        states(values.size(), State::Unknown), edges(2 * values.size(), Unrefined) {}

  PathPoint position(int i, int j) const {
    return {static_cast<long double>(view.left) + i * ImplicitFineStep,
            static_cast<long double>(view.top) + j * ImplicitFineStep};
  }
  std::optional<double> at(int i, int j);
  std::optional<double> evaluate(const PathPoint& p);
  // The crossing on the edge from (i, j) to (i + di, j + dj), refined once and kept.
  std::optional<EdgeCrossing> crossing(int i, int j, bool vertical);

  const GraphMapping& mapping;
  const ImplicitView& view;
  const PlaneFunction& f;
  const int columns;
  const int rows;
  std::int64_t evaluations = 0;
  std::optional<PathPoint> lastGood;

private:
  std::optional<EdgeCrossing> refine(const PathPoint& a, double fa, const PathPoint& b,
                                     double fb);
  // Per edge (two per lattice point: the one to the right, the one down): Unrefined, None,
  // or the index of its crossing.
  static constexpr std::int32_t Unrefined = -2;
  static constexpr std::int32_t None = -1;
  std::vector<double> values;
  std::vector<State> states;
  std::vector<std::int32_t> edges;
  std::vector<EdgeCrossing> crossings;
};

bool negative(double v) {
  return v < 0;
}

std::optional<double> Lattice::evaluate(const PathPoint& p) {
  ++evaluations;
  long double v = 0;
  if (!f(mapping.columnToX(p.column), mapping.rowToY(p.row), v) || !std::isfinite(v))
    return std::nullopt;
  return static_cast<double>(v);
}

std::optional<double> Lattice::at(int i, int j) {
  const std::size_t k = std::size_t(j) * std::size_t(columns) + std::size_t(i);
  if (states[k] == State::Unknown) {
    const std::optional<double> v = evaluate(position(i, j));
    states[k] = v ? State::Good : State::Failed;
    values[k] = v.value_or(0);
    if (v) lastGood = position(i, j);
  }
  if (states[k] == State::Failed) return std::nullopt;
  return values[k];
}

std::optional<EdgeCrossing> Lattice::refine(const PathPoint& a, double fa, const PathPoint& b,
                                            double fb) {
  PathPoint lo = a;
  PathPoint hi = b;
  double flo = fa;
  double fhi = fb;
  for (int step = 0; step < RefineSteps; ++step) {
    const PathPoint mid{(lo.column + hi.column) / 2, (lo.row + hi.row) / 2};
    const std::optional<double> fm = evaluate(mid);
    if (!fm) return std::nullopt;
    if (negative(*fm) == negative(flo)) {
      lo = mid;
      flo = *fm;
    } else {
      hi = mid;
      fhi = *fm;
    }
  }
  const double share = flo == fhi ? 0.5 : flo / (flo - fhi);
  const PathPoint at{lo.column + (hi.column - lo.column) * share,
                     lo.row + (hi.row - lo.row) * share};
  const bool zero = std::max(std::abs(flo), std::abs(fhi)) <=
                    ShrinkShare * std::max(std::abs(fa), std::abs(fb));
  return EdgeCrossing{at, zero};
}

std::optional<EdgeCrossing> Lattice::crossing(int i, int j, bool vertical) {
  std::int32_t& edge = edges[(std::size_t(j) * std::size_t(columns) + std::size_t(i)) * 2 +
                             (vertical ? 1 : 0)];
  if (edge == Unrefined) {
    const int i1 = vertical ? i : i + 1;
    const int j1 = vertical ? j + 1 : j;
    std::optional<EdgeCrossing> result;
    const std::optional<double> fa = at(i, j);
    const std::optional<double> fb = at(i1, j1);
    if (fa && fb && negative(*fa) != negative(*fb))
      result = refine(position(i, j), *fa, position(i1, j1), *fb);
    edge = result ? std::int32_t(crossings.size()) : None;
    if (result) crossings.push_back(*result);
  }
  if (edge == None) return std::nullopt;
  return crossings[std::size_t(edge)];
}

// Segments between crossing points, joined into polylines where they share an end.
class Chains {
public:
  void add(const PathPoint& a, const PathPoint& b);
  std::vector<std::vector<PathPoint>> polylines() const;

private:
  int index(const PathPoint& p);
  std::vector<PathPoint> points;
  std::vector<std::vector<int>> links;
  std::unordered_map<std::uint64_t, int> byPosition;
};

int Chains::index(const PathPoint& p) {
  // A crossing is computed once per edge, so the two cells that share it give it bit for bit.
  const double column = static_cast<double>(p.column);
  const double row = static_cast<double>(p.row);
  std::uint64_t key = 0;
  std::uint64_t bits = 0;
  std::memcpy(&bits, &column, sizeof bits);
  key = bits * 0x9E3779B97F4A7C15ULL;
  std::memcpy(&bits, &row, sizeof bits);
  key ^= bits + 0x632BE59BD9B4E019ULL + (key << 6) + (key >> 2);
  const auto [found, added] = byPosition.emplace(key, int(points.size()));
  if (added) {
    points.push_back(p);
    links.emplace_back();
  }
  return found->second;
}

void Chains::add(const PathPoint& a, const PathPoint& b) {
  const int ia = index(a);
  const int ib = index(b);
  if (ia == ib) return;
  links[std::size_t(ia)].push_back(ib);
  links[std::size_t(ib)].push_back(ia);
}

// Open chains start from their ends, closed ones anywhere; each link is walked once.
std::vector<std::vector<PathPoint>> Chains::polylines() const {
  std::vector<std::vector<int>> left = links;
  std::vector<std::vector<PathPoint>> lines;
  const auto walk = [&](int from) {
    std::vector<PathPoint> line{points[std::size_t(from)]};
    int at = from;
    while (!left[std::size_t(at)].empty()) {
      const int next = left[std::size_t(at)].back();
      left[std::size_t(at)].pop_back();
      auto& back = left[std::size_t(next)];
      back.erase(std::find(back.begin(), back.end(), at));
      line.push_back(points[std::size_t(next)]);
      at = next;
    }
    lines.push_back(std::move(line));
  };
  for (std::size_t k = 0; k < points.size(); ++k)
    if (left[k].size() == 1) walk(int(k));
  for (std::size_t k = 0; k < points.size(); ++k)
    while (!left[k].empty()) walk(int(k));
  return lines;
}

class ImplicitRun {
public:
  ImplicitRun(const GraphMapping& mapping, const ImplicitView& view, const PlaneFunction& f,
              int regionSign)
      : lattice(mapping, view, f), regionSign(regionSign) {}
  ImplicitCurve run();

private:
  void markActive();
  bool coarseActive(int ci, int cj);
  void cell(int i, int j);
  void lines(int i, int j, const std::optional<EdgeCrossing> (&edges)[4]);
  void region(int i, int j, const std::optional<EdgeCrossing> (&edges)[4]);
  bool inside(int i, int j);
  void addRectangle(int i0, int j0, int i1, int j1);

  Lattice lattice;
  int regionSign;
  int coarseColumns = 0;
  int coarseRows = 0;
  std::vector<bool> active;
  Chains chains;
  ImplicitCurve result;
};

bool ImplicitRun::inside(int i, int j) {
  const std::optional<double> v = lattice.at(i, j);
  return v && (regionSign < 0 ? *v < 0 : *v > 0);
}

void ImplicitRun::addRectangle(int i0, int j0, int i1, int j1) {
  const PathPoint a = lattice.position(i0, j0);
  const PathPoint b = lattice.position(i1, j1);
  result.regions.push_back({a, {b.column, a.row}, b, {a.column, b.row}});
}

// A coarse cell is worth a closer look where its corners differ in sign or in having a value.
bool ImplicitRun::coarseActive(int ci, int cj) {
  constexpr int n = ImplicitCoarseCells;
  int good = 0;
  int below = 0;
  for (const auto [di, dj] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}}) {
    const int i = std::min((ci + di) * n, lattice.columns - 1);
    const int j = std::min((cj + dj) * n, lattice.rows - 1);
    const std::optional<double> v = lattice.at(i, j);
    good += v.has_value();
    below += v && negative(*v);
  }
  return (good > 0 && good < 4) || (below > 0 && below < good);
}

// The cells that look closer, and their neighbours: a curve may cross a coarse cell's side
// twice between corners of one sign and go on into the next cell.
void ImplicitRun::markActive() {
  constexpr int n = ImplicitCoarseCells;
  coarseColumns = (lattice.columns - 1 + n - 1) / n;
  coarseRows = (lattice.rows - 1 + n - 1) / n;
  std::vector<bool> seen(std::size_t(coarseColumns) * std::size_t(coarseRows));
  for (int cj = 0; cj < coarseRows; ++cj)
    for (int ci = 0; ci < coarseColumns; ++ci)
      seen[std::size_t(cj) * std::size_t(coarseColumns) + std::size_t(ci)] = coarseActive(ci, cj);
  active.assign(seen.size(), false);
  for (int cj = 0; cj < coarseRows; ++cj)
    for (int ci = 0; ci < coarseColumns; ++ci) {
      if (!seen[std::size_t(cj) * std::size_t(coarseColumns) + std::size_t(ci)]) continue;
      for (int nj = std::max(cj - 1, 0); nj <= std::min(cj + 1, coarseRows - 1); ++nj)
        for (int ni = std::max(ci - 1, 0); ni <= std::min(ci + 1, coarseColumns - 1); ++ni)
          active[std::size_t(nj) * std::size_t(coarseColumns) + std::size_t(ni)] = true;
    }
}

// Corners in order around the cell, and the edge after each: top, right, bottom, left.
void ImplicitRun::cell(int i, int j) {
  const std::optional<EdgeCrossing> edges[4] = {
      lattice.crossing(i, j, false), lattice.crossing(i + 1, j, true),
      lattice.crossing(i, j + 1, false), lattice.crossing(i, j, true)};
  lines(i, j, edges);
  if (regionSign != 0) region(i, j, edges);
}

// Two crossings make one segment; four make a saddle, split as the cell's centre decides: the
// corners of the other sign than the centre are cut off.
void ImplicitRun::lines(int i, int j, const std::optional<EdgeCrossing> (&edges)[4]) {
  int zeros[4];
  int count = 0;
  for (int k = 0; k < 4; ++k)
    if (edges[k] && edges[k]->zero) zeros[count++] = k;
  if (count == 2) return chains.add(edges[zeros[0]]->at, edges[zeros[1]]->at);
  if (count != 4) return;
  const PathPoint centre{lattice.position(i, j).column + ImplicitFineStep / 2.0L,
                         lattice.position(i, j).row + ImplicitFineStep / 2.0L};
  const std::optional<double> middle = lattice.evaluate(centre);
  if (!middle) return;
  const std::pair<int, int> corners[4] = {{i, j}, {i + 1, j}, {i + 1, j + 1}, {i, j + 1}};
  for (int k = 0; k < 4; ++k) {
    const std::optional<double> v = lattice.at(corners[k].first, corners[k].second);
    // Corner k lies between the edge before it and its own.
    if (v && negative(*v) != negative(*middle))
      chains.add(edges[(k + 3) % 4]->at, edges[k]->at);
  }
}

// The part of the cell inside the region: its corners inside and the crossings between, a
// jump included, so that a region ends at a pole and does not leak across it.
void ImplicitRun::region(int i, int j, const std::optional<EdgeCrossing> (&edges)[4]) {
  const std::pair<int, int> corners[4] = {{i, j}, {i + 1, j}, {i + 1, j + 1}, {i, j + 1}};
  std::vector<PathPoint> polygon;
  int in = 0;
  for (int k = 0; k < 4; ++k) {
    if (inside(corners[k].first, corners[k].second)) {
      polygon.push_back(lattice.position(corners[k].first, corners[k].second));
      ++in;
    }
    // The bottom and left edges run against the walk around the cell.
    if (edges[k]) polygon.push_back(edges[k]->at);
  }
  if (in == 4) return addRectangle(i, j, i + 1, j + 1);
  if (in > 0 && polygon.size() >= 3) result.regions.push_back(std::move(polygon));
}

ImplicitCurve ImplicitRun::run() {
  if (lattice.columns < 2 || lattice.rows < 2) return {};
  markActive();
  constexpr int n = ImplicitCoarseCells;
  for (int cj = 0; cj < coarseRows; ++cj) {
    int runStart = -1; // a run of whole coarse cells inside the region
    for (int ci = 0; ci <= coarseColumns; ++ci) {
      const bool whole = ci < coarseColumns && regionSign != 0 &&
                         !active[std::size_t(cj) * std::size_t(coarseColumns) + std::size_t(ci)] &&
                         inside(ci * n, cj * n);
      if (whole && runStart < 0) runStart = ci;
      if (!whole && runStart >= 0) {
        addRectangle(runStart * n, cj * n, std::min(ci * n, lattice.columns - 1),
                     std::min((cj + 1) * n, lattice.rows - 1));
        runStart = -1;
      }
      if (ci == coarseColumns ||
          !active[std::size_t(cj) * std::size_t(coarseColumns) + std::size_t(ci)])
        continue;
      for (int j = cj * n; j < std::min((cj + 1) * n, lattice.rows - 1); ++j)
        for (int i = ci * n; i < std::min((ci + 1) * n, lattice.columns - 1); ++i)
          cell(i, j);
    }
  }
  result.lines = chains.polylines();
  result.evaluations = lattice.evaluations;
  result.lastGood = lattice.lastGood;
  return std::move(result);
}

} // namespace

ImplicitCurve sampleImplicit(const GraphMapping& mapping, const ImplicitView& view,
                             const PlaneFunction& f, int regionSign) {
  if (view.right < view.left || view.bottom < view.top) return {};
  ImplicitRun run(mapping, view, f, regionSign);
  return run.run();
}
