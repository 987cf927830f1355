// A fill, as the graph document stores it.
#pragma once

#include "GraphColor.h"

#include <cstdint>

// Fill styles with their stored numbers. A reader keeps any number as it is, so a brush may
// hold a value outside these.
enum class BrushStyle : std::int32_t {
  Solid = 0,
  Clear = 1, // no fill
  Horizontal = 2,
  Vertical = 3,
  ForwardDiagonal = 4,
  BackwardDiagonal = 5,
  Cross = 6,
  DiagonalCross = 7,
};

// Colour and style; a new brush is solid white, like the fill of a new layer.
struct TBrush {
  GraphColor Color = kWhite;
  BrushStyle Style = BrushStyle::Solid;

  bool operator==(const TBrush&) const = default;
};
