#include "GraphModel.h"

namespace {

// The pens of the five slots.
constexpr std::array<GraphColor, GraphModel::FormulaCount> SlotColors = {kBlue, kRed, kGreen, kNavy,
                                                                         kMaroon};

} // namespace

GraphModel GraphModel::NewGraph() {
  GraphModel model;
  for (std::size_t n = 0; n < SlotColors.size(); ++n)
    model.formulas[n].Pen.Color = SlotColors[n];
  return model;
}
