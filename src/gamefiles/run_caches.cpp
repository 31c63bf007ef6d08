#include "gamefiles/run_caches.h"

namespace tovarin {

namespace {

std::uint64_t runsStarted = 0;
std::uint64_t currentRun = 0;
std::uint64_t changesMade = 0;

}  // namespace

RunCaches::RunCaches() : outer_(currentRun) { currentRun = ++runsStarted; }

RunCaches::~RunCaches() { currentRun = outer_; }

std::uint64_t CurrentRun() { return currentRun; }

void NoteChange() { ++changesMade; }

std::uint64_t ChangesMade() { return changesMade; }

}  // namespace tovarin
