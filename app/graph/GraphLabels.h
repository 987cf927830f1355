// GraphLabels: the sixteen label records of a graph as its document holds them. A slot is empty or
// holds one visible label; a label the user deleted leaves its slot empty.
#pragma once

#include "GraphColor.h"
#include "GraphFont.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// The graph point a pinned label stays on: its top-left corner lies there whatever the view, so
// that zoom, pan and resize carry it along; its pixels follow from the point.
struct LabelPin {
  long double x = 0;
  long double y = 0;
  bool operator==(const LabelPin&) const = default;
};

// A visible label. Its colour is the graph's fill when it was made; a document's stored colour is
// not applied, since labels are transparent.
struct GraphLabelRecord {
  QString caption;
  GraphColor color = 0;
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t tag = 0;
  TFont font;
  std::optional<LabelPin> pin; // none: the label stays on its pixels
  bool operator==(const GraphLabelRecord&) const = default;
};

class GraphLabels {
public:
  static constexpr int Count = 16;
  using Slot = std::optional<GraphLabelRecord>;

  // Slot n (1..16) at index n - 1; any other index is out of range.
  Slot& operator[](std::size_t index) { return records.at(index); }
  const Slot& operator[](std::size_t index) const { return records.at(index); }
  // The slot numbered n, 1..16; any other number throws std::out_of_range.
  Slot& slot(int number) { return records.at(std::size_t(number - 1)); }
  const Slot& slot(int number) const { return records.at(std::size_t(number - 1)); }
  void clear() { records.fill(std::nullopt); }
  bool operator==(const GraphLabels&) const = default;

private:
  std::array<Slot, Count> records;
};
