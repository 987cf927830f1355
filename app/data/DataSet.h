// DataSet: a set of measured points shown with the curves: a name, the points, a marker for
// each point, an optional line through them in their order, and a hidden flag. Plain values:
// the graph model holds up to eight of them, the document keeps them (DataSections.h), and the
// delimited-text reader makes them (DelimitedText.h).
#pragma once

#include "GraphColor.h" // plain value headers of app/graph; nothing else of it is used here
#include "GraphPen.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct DataPoint {
  double x = 0;
  double y = 0;
  bool operator==(const DataPoint&) const = default;
};

// The points of a set, in their order (the order a line through them follows). They are never
// changed in place: a copy shares them, so a graph model with 100 000 points is copied in
// constant time (undo snapshots, the view's model), and two copies compare equal at once.
// Points are finite: the reader and the document take no NaN or infinity.
class DataPoints {
public:
  DataPoints() = default;
  DataPoints(std::vector<DataPoint> points); // NOLINT: a vector is the points
  DataPoints(std::initializer_list<DataPoint> points)
      : DataPoints(std::vector<DataPoint>(points)) {}

  const std::vector<DataPoint>& vector() const;
  std::size_t size() const { return vector().size(); }
  bool empty() const { return vector().empty(); }
  const DataPoint& operator[](std::size_t i) const { return vector()[i]; }
  std::vector<DataPoint>::const_iterator begin() const { return vector().begin(); }
  std::vector<DataPoint>::const_iterator end() const { return vector().end(); }
  // The x and the y values alone, as a fit takes them.
  std::vector<double> xs() const;
  std::vector<double> ys() const;

  bool operator==(const DataPoints& other) const;

private:
  std::shared_ptr<const std::vector<DataPoint>> m_points; // null: none
};

// Marker shapes with their stored numbers. A reader takes any other number as a circle.
enum class MarkerShape : std::int32_t {
  Circle = 0,
  Square = 1,
  Diamond = 2,
  TriangleUp = 3,
  TriangleDown = 4,
  Cross = 5, // a diagonal cross, x
  Plus = 6,
  None = 7, // no marker: the line alone
};
inline constexpr std::int32_t MarkerShapeCount = 8;

constexpr MarkerShape markerShapeFromStored(std::int32_t value) {
  return value >= 0 && value < MarkerShapeCount ? static_cast<MarkerShape>(value)
                                                : MarkerShape::Circle;
}

// A point's mark: the shape, its size (the width of the shape in device-independent pixels) and
// its colour (outline and fill).
struct DataMarker {
  static constexpr std::int32_t MinSize = 1;
  static constexpr std::int32_t MaxSize = 64;
  static constexpr std::int32_t DefaultSize = 7;

  MarkerShape shape = MarkerShape::Circle;
  std::int32_t size = DefaultSize;
  GraphColor color = kBlue;
  bool operator==(const DataMarker&) const = default;
};

struct DataSet {
  // Sets per graph.
  static constexpr int MaxCount = 8;
  // Points per graph, all sets together: what a document of at most IniFile::MaxReadBytes (the
  // part of a file the INI service reads) holds in any case; checked in DataSections.cpp.
  static constexpr std::size_t MaxTotalPoints = 1'000'000;

  QString name;
  DataPoints points;
  DataMarker marker;
  bool line = false; // a line through the points in their order, drawn with linePen
  TPen linePen;
  bool hidden = false;

  // A new set at index 0..MaxCount - 1 of a graph: marker and line in that index's own colour.
  static DataSet withDefaults(int index, const QString& name = QString());
  bool operator==(const DataSet&) const = default;
};

using DataSets = std::vector<DataSet>;

// The colour a new set at index takes (index modulo the palette of MaxCount colours).
GraphColor defaultDataColor(int index);
// The points of all sets together.
std::size_t totalPoints(const DataSets& sets);
