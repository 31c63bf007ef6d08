#pragma once

#include <cstddef>

// The most heap memory the benchmark program held at once since the last reset, counted by its own operator new
// and delete (heap_peak.cpp), which every allocation of the program goes through.
namespace tovarin::bench {

void ResetHeapPeak();
[[nodiscard]] std::size_t HeapPeak();

// The most memory the process held resident at once (getrusage's ru_maxrss) since the last reset, above what it held
// at the reset: the heap's peak seen by the system, with what the allocator keeps and the pages the program touches.
// The reset writes "5" to /proc/self/clear_refs (Linux 4.0 and later); without it the growth counts from the start.
void ResetResidentPeak();
[[nodiscard]] std::size_t ResidentPeakGrowth();

}  // namespace tovarin::bench
