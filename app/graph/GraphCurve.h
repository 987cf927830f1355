// GraphCurve: the curve of a function slot as everything that shows or reads it sees it. The
// screen and the clipboard draw it into a layer, vector pictures take its polylines, and the
// analysis, the value table and the range fit evaluate it; none of them knows the slot's kind.
// A new kind of curve is a new class behind this interface and a case in withCurve
// (SlotCurve.h).
#pragma once

#include "CurvePieces.h"
#include "GraphMapping.h"

#include <QPolygonF>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class Canvas;

struct PlanePoint {
  long double x;
  long double y;
};

class GraphCurve {
public:
  virtual ~GraphCurve() = default;

  // Draws the curve into the canvas's layer in the canvas's pen, sampled on the mapping's
  // columns that the layer shows. Leaves the slot's error state as the last sample left it.
  virtual void draw(Canvas& canvas, const GraphMapping& mapping) = 0;
  // The curve as polylines and band shapes in picture coordinates, clipped to the picture.
  virtual VectorCurve pieces(const GraphMapping& mapping, const QRectF& picture,
                             const CurveSampling& sampling) = 0;
  // The value at x of a y = f(x) curve; nothing where the formula fails there, and reason()
  // then says why. Curves of other kinds have no value at x and give nothing.
  virtual std::optional<long double> valueAt(long double x) = 0;
  // The point at the value the curve runs over (x, t or y after its kind); nothing where a
  // formula fails there, and reason() then says why.
  virtual std::optional<PlanePoint> pointAt(long double v) = 0;
  // The engine's message for the last failed evaluation; empty when it gave none.
  virtual QString reason() const = 0;
  // The regions the curve fills under every curve (an inequality's), as polygons in picture
  // coordinates within the picture; none for other curves.
  virtual std::vector<QPolygonF> fills(const GraphMapping&, const QRectF&) { return {}; }
  // The least and greatest finite y of the curve's points over the mapping's plot columns
  // within 0..width - 1; false when there is none.
  virtual bool yExtent(const GraphMapping& mapping, std::int32_t width, long double& min,
                       long double& max) = 0;
};
