#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <vector>

// The file system calls the program makes, recorded once and replayed with nothing in between: the baseline that
// shows what a load or a save costs in system calls alone.
namespace tovarin::bench {

struct SystemCall {
    enum class Kind { Open, Close, Read, Write, Seek, FileStat, PathStat, Sync, Rename, Unlink };
    Kind Call{};
    std::string Path{};     // Open, PathStat, Rename (from), Unlink
    std::string Target{};   // Rename (to)
    int Descriptor = -1;    // the descriptor as recorded: Open's result, or the one used
    int Flags = 0;          // Open; Seek: whence
    int Mode = 0;           // Open with O_CREAT
    off_t Offset = 0;       // Seek
    std::size_t Count = 0;  // Read, Write
};

// Records every file system call the program makes while `run` runs.
std::vector<SystemCall> Record(void (*run)(void*), void* context);

template <typename F>
std::vector<SystemCall> Record(F& run) {
    return Record([](void* f) { (*static_cast<F*>(f))(); }, &run);
}

// Makes the same calls again, in the same order, on the same files.
void Replay(const std::vector<SystemCall>& calls);

}  // namespace tovarin::bench
