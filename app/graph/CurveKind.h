// The kinds of curve a function slot holds, with the numbers a document stores for them.
#pragma once

#include <cstdint>

enum class CurveKind : std::int32_t {
  Function = 0,   // y = f(x)
  Parametric = 1, // x(t), y(t)
  Polar = 2,      // r(t), t the angle in radians
  XOfY = 3,       // x = f(y)
  Relation = 4,   // L = R, L < R, L <= R, L > R or L >= R in x and y
};

// The kind a document's number names; numbers of no known kind give y = f(x).
constexpr CurveKind curveKindFromStored(std::int32_t stored) {
  switch (stored) {
  case 1: return CurveKind::Parametric;
  case 2: return CurveKind::Polar;
  case 3: return CurveKind::XOfY;
  case 4: return CurveKind::Relation;
  default: return CurveKind::Function;
  }
}

// Parametric and polar slots run over t; the others over x (y = f(x)) or y (x = f(y)).
constexpr bool runsOverT(CurveKind kind) {
  return kind == CurveKind::Parametric || kind == CurveKind::Polar;
}

// The name of the engine variable the slot's formulas run over.
constexpr const char* runningVariable(CurveKind kind) {
  switch (kind) {
  case CurveKind::Parametric:
  case CurveKind::Polar: return "t";
  case CurveKind::XOfY: return "y";
  case CurveKind::Function:
  case CurveKind::Relation: break;
  }
  return "x";
}
