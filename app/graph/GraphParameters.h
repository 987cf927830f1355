// GraphParameters: the parameters of a graph, the variables its formulas read besides x, each
// with a value and the range its slider spans. Rows stay in the order the names were first
// used and are kept while no formula uses them, until the graph is cleared.
//
// A row is stored (written with the document) once the user has made it: by typing its name
// into a formula, or by setting its value or range. A name found in a loaded document that
// holds no row for it is not stored and starts at 0, the value the engine gives a variable
// nobody set, so that an older document draws as it always did and saves as it was read.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

struct GraphParameter {
  static constexpr double DefaultValue = 1.0;
  static constexpr double FoundValue = 0.0;
  static constexpr double DefaultMin = -10.0;
  static constexpr double DefaultMax = 10.0;

  QString name;
  double value = DefaultValue;
  double min = DefaultMin;
  double max = DefaultMax;
  bool stored = true;

  bool operator==(const GraphParameter&) const = default;
};

class GraphParameters {
public:
  static constexpr int MaxCount = 32;

  int count() const { return static_cast<int>(rows.size()); }
  bool isEmpty() const { return rows.empty(); }
  // Row 0..count()-1; any other index throws std::out_of_range.
  const GraphParameter& at(int index) const;
  // The row of that name, or -1.
  int indexOf(const QString& name) const;
  std::vector<GraphParameter>::const_iterator begin() const { return rows.begin(); }
  std::vector<GraphParameter>::const_iterator end() const { return rows.end(); }

  // Adds a row with the default value and range for each name not held yet, while there is
  // room; the names are taken as given (see parameterNames). The number of rows added.
  int add(const QStringList& names);
  // Adds a row that is not stored, at FoundValue with the default range, for each name not held
  // yet, while there is room. The number of rows added.
  int addFound(const QStringList& names);
  // Adds the row as it is, when its name is new, there is room and its range is sound
  // (finite, min < max, the value finite and inside). False, and nothing added, otherwise.
  bool add(const GraphParameter& row);
  // A value outside the range widens the range to hold it, and the row is stored. False, and
  // nothing changed, for a value that is not finite.
  bool setValue(int index, double value);
  // A value outside the new range moves to its nearer end, and the row is stored. False, and
  // nothing changed, unless both ends are finite and min < max.
  bool setRange(int index, double min, double max);
  // Removes the rows whose names are not in the list and that still hold the defaults, or that
  // are not stored: the names a formula passes through while it is typed ("s" and "si" on the
  // way to "sin"). A row the user has set stays. The number of rows removed.
  int removeUnusedDefaults(const QStringList& used);
  void clear() { rows.clear(); }
  bool operator==(const GraphParameters&) const = default;

private:
  GraphParameter& row(int index);
  std::vector<GraphParameter> rows;
};
