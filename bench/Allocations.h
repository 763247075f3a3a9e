#pragma once
// The heap as the benchmarks see it: how many allocations the process has made, and the
// peak of the bytes in use while a measurement runs.

#include <cstddef>

namespace stipple::bench {

std::size_t allocationCount();
// From now on the bytes in use are followed, starting from 0.
void startHeapPeak();
// The most bytes that were in use since startHeapPeak; following them ends.
long stopHeapPeak();

}  // namespace stipple::bench
