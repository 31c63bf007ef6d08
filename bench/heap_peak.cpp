#include "heap_peak.h"

#include <malloc.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <new>

namespace tovarin::bench {
namespace {

std::size_t held = 0;
std::size_t peak = 0;
std::size_t residentAtReset = 0;

std::size_t ResidentPeak() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<std::size_t>(usage.ru_maxrss) * 1024;  // counted in kilobytes
}

}  // namespace

void ResetHeapPeak() { peak = held; }

std::size_t HeapPeak() { return peak; }

void ResetResidentPeak() {
    ::malloc_trim(0);  // what earlier runs freed is not counted as held now
    std::ofstream("/proc/self/clear_refs") << "5";
    residentAtReset = ResidentPeak();
}

std::size_t ResidentPeakGrowth() { return ResidentPeak() - residentAtReset; }

}  // namespace tovarin::bench

// Every other form of new and delete the library provides ends in these two. The size counted is what the
// allocator really gave, which delete can ask for again.
void* operator new(std::size_t size) {
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr) throw std::bad_alloc();
    tovarin::bench::held += malloc_usable_size(memory);
    tovarin::bench::peak = std::max(tovarin::bench::peak, tovarin::bench::held);
    return memory;
}

void operator delete(void* memory) noexcept {
    if (memory == nullptr) return;
    tovarin::bench::held -= malloc_usable_size(memory);
    std::free(memory);
}

void operator delete(void* memory, std::size_t /*size*/) noexcept { operator delete(memory); }
