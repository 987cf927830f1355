// SampledCurve: a curve y = f(x) as the sampler found it on a graph's columns, in terms every
// picture can use: pieces (polylines through the columns' samples and the points found between
// them), bands (columns drawn over the function's whole range within them) and breaks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A value of the function; y means nothing when the evaluation failed.
struct CurveSample {
  long double x;
  long double y;
  bool good;
};

// A point of a piece, at a column position (a column's own sample lies on its whole column).
struct CurveVertex {
  long double y;
  double column;
  bool sample; // the sample of a column, not a point found between columns
};

// Vertices [first, last) of the curve's vertex list, joined in order.
struct CurvePiece {
  std::size_t first;
  std::size_t last;
  // The piece ends at a break, a domain edge, the plot's edge or an extreme, so that its last
  // point belongs to it; a piece that ends where a curve simply leaves the range does not.
  bool closed;
};

// A column that holds more than a pixel's worth of oscillation, drawn over the least and
// greatest value of the function from half a column before its x to half a column after it.
struct CurveBand {
  std::int32_t column;
  long double low;
  long double high;
};

enum class BreakKind {
  Jump,       // the sides stay apart down to the resolution of a double: a pole or a jump
  DomainEdge, // the formula fails beyond
};

// Where the curve breaks: the last x of the side before and the first x of the side after;
// for a domain edge both are the last x where the formula has a value.
struct CurveBreak {
  long double left;
  long double right;
  BreakKind kind;
};

struct SampledCurve {
  std::int32_t firstColumn = 0;
  std::vector<CurveSample> columns; // one per column from firstColumn on
  std::vector<CurveVertex> vertices;
  std::vector<CurvePiece> pieces;
  std::vector<CurveBand> bands; // in column order
  std::vector<CurveBreak> breaks; // in x order along the columns
  std::int64_t evaluations = 0;   // the columns' samples and every one added
};
