#include "DataSet.h"

#include <array>

namespace {

const std::vector<DataPoint>& noPoints() {
  static const std::vector<DataPoint> none;
  return none;
}

// Eight colours that stand apart on the light background and from each other, in the order
// new sets take them.
constexpr std::array<GraphColor, DataSet::MaxCount> Palette = {
    rgbColor(31, 119, 180),  rgbColor(214, 39, 40),   rgbColor(44, 160, 44),
    rgbColor(255, 127, 14),  rgbColor(148, 103, 189), rgbColor(140, 86, 75),
    rgbColor(227, 119, 194), rgbColor(23, 190, 207)};

} // namespace

DataPoints::DataPoints(std::vector<DataPoint> points) {
  if (!points.empty()) m_points = std::make_shared<const std::vector<DataPoint>>(std::move(points));
}

const std::vector<DataPoint>& DataPoints::vector() const {
  return m_points ? *m_points : noPoints();
}

std::vector<double> DataPoints::xs() const {
  std::vector<double> values;
  values.reserve(size());
  for (const DataPoint& point : vector())
    values.push_back(point.x);
  return values;
}

std::vector<double> DataPoints::ys() const {
  std::vector<double> values;
  values.reserve(size());
  for (const DataPoint& point : vector())
    values.push_back(point.y);
  return values;
}

bool DataPoints::operator==(const DataPoints& other) const {
  return m_points == other.m_points || vector() == other.vector();
}

GraphColor defaultDataColor(int index) {
  const int n = static_cast<int>(Palette.size());
  return Palette[std::size_t(((index % n) + n) % n)];
}

DataSet DataSet::withDefaults(int index, const QString& name) {
  DataSet set;
  set.name = name;
  set.marker.color = defaultDataColor(index);
  set.linePen.Color = set.marker.color;
  return set;
}

std::size_t totalPoints(const DataSets& sets) {
  std::size_t total = 0;
  for (const DataSet& set : sets)
    total += set.points.size();
  return total;
}
