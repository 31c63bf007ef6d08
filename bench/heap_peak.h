#pragma once

#include <cstddef>

// The most heap memory the benchmark program held at once since the last reset, counted by its own operator new
// and delete (heap_peak.cpp), which every allocation of the program goes through.
namespace tovarin::bench {

void ResetHeapPeak();
[[nodiscard]] std::size_t HeapPeak();

}  // namespace tovarin::bench
