// The rows of a value table: x from a start in equal steps. Each x is computed from the start
// and its row number, so that rounding does not build up over many rows.
#pragma once


struct TableSpan {
  static constexpr int MaxCount = 10000;

  double start;
  double step;
  int count;

  // Finite start and step, and a count from 1 to MaxCount.
  bool valid() const;
  double xAt(int row) const { return start + row * step; }
};
