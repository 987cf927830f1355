// The line pen of a curve, as the graph document stores it.
#pragma once

#include "GraphColor.h"

#include <cstdint>

// Line styles with their stored numbers.
enum class PenStyle : std::int32_t {
  Solid = 0,
  Dash = 1,
  Dot = 2,
  DashDot = 3,
  DashDotDot = 4,
  Clear = 5, // no line
  InsideFrame = 6,
};

// A stored style number as a reader takes it: 1..6 stand for themselves, anything else is solid.
constexpr PenStyle penStyleFromStored(std::int32_t value) {
  return value >= 1 && value <= 6 ? static_cast<PenStyle>(value) : PenStyle::Solid;
}

// Colour, style and width in pixels; a new pen is black, solid and one pixel wide.
struct TPen {
  GraphColor Color = kBlack;
  PenStyle Style = PenStyle::Solid;
  std::int32_t Width = 1;

  bool operator==(const TPen&) const = default;
};
