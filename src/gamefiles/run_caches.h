#pragma once

#include <cstdint>

// What the program may keep of the file system for the length of one command-line run. While a `RunCaches` lives,
// the case-insensitive lookup of game paths lists each folder once (game_paths.h) and our INI functions check each
// file for a change once (profile_cache.h) rather than at every look-up, until this program changes a file
// itself: its own creations, renames and deletions keep the kept listings true, and any change it makes has the
// INI files checked again. A run assumes that no other program changes the game folder while it lasts; between
// runs that is seen, because nothing kept outlives its run. The window holds one only while it reads many values
// in one go (the Fleet page's whole fleet, the gun slot table's keys), so it sees at once what another program
// changes beside it. On Windows the profile-string functions are the system's own; during a run a section read is
// read whole once and its keys looked up in that copy (profile_strings.h).
namespace tovarin {

class RunCaches {
public:
    RunCaches();
    ~RunCaches();
    RunCaches(const RunCaches&) = delete;
    RunCaches& operator=(const RunCaches&) = delete;

private:
    std::uint64_t outer_;  // the run this one was started in, which goes on after it
};

// The run being held, counted from 1, or 0 while none is: what was kept in one run is not used in another.
[[nodiscard]] std::uint64_t CurrentRun();

// Counts every change the file layer makes to a file's bytes or a folder's entries, so that what was checked
// before a change is checked again after it.
void NoteChange();
[[nodiscard]] std::uint64_t ChangesMade();

}  // namespace tovarin
