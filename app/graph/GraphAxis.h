// TAxis: the settings of one axis of a graph (shown or not, tick kind and interval, where
// and how far from each tick its value is written, and the font of the values), and the
// drawing of the two axes onto a graph's background layer.
#pragma once

#include "GraphFont.h"
#include "GraphMapping.h"

#include <QString>

#include <cstdint>
#include <functional>

class Canvas;

// The tick-mark kind. For the X axis "positive" is above, for the Y axis to the right.
enum TGuageType : std::uint8_t { gtNone = 0, gtPos = 1, gtNeg = 2, gtBoth = 3 };

// Where the value of a tick is written, relative to the tick's point on the axis.
enum TPosType : std::uint8_t {
  ptNone = 0,
  ptUpLeft = 1,
  ptDownLeft = 2,
  ptUpRight = 3,
  ptDownRight = 4,
};

// Writing a field redraws nothing: whoever changes an axis refreshes the graph afterwards.
class TAxis {
public:
  bool Visible = true;
  QString Caption; // stored with the document, not drawn
  TGuageType GauageType = gtBoth;
  long double GuagePeriod = 1.0L; // graph units between ticks
  TPosType ValPos = ptDownRight;
  std::int32_t ValXDist = 0; // extra gap in pixels between a tick and its value
  std::int32_t ValYDist = 0;
  TFont ValFont;
  bool Grid = false;    // light lines across the plot at every tick
  bool PiTicks = false; // GuagePeriod counts in units of π, and values are written as multiples

  // The graph units between ticks: GuagePeriod, times π for an axis in units of π.
  long double tickStep() const;

  // Copies every setting of the source, the font's contents included.
  void Assign(const TAxis& source) { *this = source; }
  bool operator==(const TAxis&) const = default;
};

// The pixels along one axis: where a value lands, the value at a pixel, and the pixels from
// first to last (either order) at which a tick can still show, by its mark or its value text.
struct AxisPixels {
  std::function<std::int32_t(long double)> pixelOf;
  std::function<long double(std::int32_t)> valueAt;
  std::int32_t first = 0;
  std::int32_t last = 0;
};

// The ticks of an axis from its lower to its upper end, as far as they show: the first is the
// smallest multiple of the period not below the lower end, each next one the running sum of the
// period (so that rounding accumulates as it does on the drawn axis). Where several ticks fall on
// one pixel only the last of them is visited, since its mark is theirs and its value is written
// over theirs; ticks on pixels that cannot show are skipped. The work is therefore bounded by the
// pixels, whatever the range and the period. A period that is not positive and a range whose
// first multiple does not fit 32 bits give no ticks, and the ticks end where adding the period
// no longer changes the sum.
void forEachTick(long double lower, long double upper, long double period, const AxisPixels& pixels,
                 const std::function<void(long double value, std::int32_t pixel)>& tick);

// The text written at a tick of the given value.
QString TickValueText(long double value);
// The text written at a tick of the axis: a multiple of π ("3π/2") for an axis in units of π.
QString TickValueText(const TAxis& axis, long double value);

// Light lines across the plot at the ticks of each axis that asks for them (whether or not the
// axis itself shows), in a colour a quarter of the way from the back brush's to the canvas pen's.
// Drawn before the axes, so that the axes and the curves lie over them.
void DrawGrid(Canvas& canvas, const GraphMapping& mapping, const TAxis& xAxis, const TAxis& yAxis);

// The X axis through y = 0 and the Y axis through x = 0, drawn with the canvas's pen and
// brush; the value texts in the axis's value font, the canvas font restored afterwards. The
// Y axis leaves out the value at the origin when the X axis writes values. An axis whose line
// lies outside the plot is not drawn, whatever its flag.
void DrawXAxis(Canvas& canvas, const GraphMapping& mapping, const TAxis& xAxis);
void DrawYAxis(Canvas& canvas, const GraphMapping& mapping, const TAxis& yAxis, const TAxis& xAxis);
