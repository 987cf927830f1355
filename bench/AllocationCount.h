// Counts heap allocations: this program replaces the global operator new, so that a
// measurement can tell how many allocations a computation makes.
#pragma once

#include <cstddef>

// The allocations made by the calling thread so far, through any form of operator new.
std::size_t allocationCount();
