#include "ValueTable.h"

#include <cmath>

bool TableSpan::valid() const {
  return std::isfinite(start) && std::isfinite(step) && count >= 1 && count <= MaxCount &&
         std::isfinite(xAt(count - 1));
}

std::vector<std::optional<double>> tabulate(const TableSpan& span, const SampledFunction& f) {
  std::vector<std::optional<double>> values;
  values.reserve(span.count);
  for (int row = 0; row < span.count; ++row)
    values.push_back(f(span.xAt(row)));
  return values;
}
