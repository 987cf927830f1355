// The size of every text buffer of the engine: texts cross its interfaces as terminated
// byte strings of at most 255 bytes in buffers of 256.
#pragma once

#include <cstddef>

inline constexpr std::size_t BufferSize = 256;
