// GraphCalculus: what the calculus page adds to a graph: the slots whose derivative curve is
// drawn, tangents at points of curves, and areas under a curve or between two. Plain values;
// the graph draws them and the document keeps them.
#pragma once

#include <array>
#include <vector>

// The tangent of a slot's curve at x.
struct GraphTangent {
  int slot = 1;
  double x = 0;
  bool operator==(const GraphTangent&) const = default;
};

// The signed area from `from` to `to` under a slot's curve (other = 0) or between it and another
// slot's curve (f - g).
struct GraphArea {
  int slot = 1;
  int other = 0;
  double from = 0;
  double to = 1;
  bool operator==(const GraphArea&) const = default;
};

struct GraphCalculus {
  static constexpr int MaxTangents = 16;
  static constexpr int MaxAreas = 8;

  std::array<bool, 5> derivatives{}; // slot n at n - 1
  std::vector<GraphTangent> tangents;
  std::vector<GraphArea> areas;

  bool isEmpty() const {
    return tangents.empty() && areas.empty() &&
           derivatives == std::array<bool, 5>{};
  }
  bool operator==(const GraphCalculus&) const = default;
};
