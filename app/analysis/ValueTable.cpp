#include "ValueTable.h"

#include <cmath>

bool TableSpan::valid() const {
  return std::isfinite(start) && std::isfinite(step) && count >= 1 && count <= MaxCount &&
         std::isfinite(xAt(count - 1));
}
