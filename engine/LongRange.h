// The range of the engine's long, a signed 32-bit integer, as doubles: a double result or
// literal is tested against it before it may become a long.
#pragma once

#include <cstdint>
#include <limits>

inline constexpr double LongMin = std::numeric_limits<std::int32_t>::min();
inline constexpr double LongMax = std::numeric_limits<std::int32_t>::max();
