#include "system_call_replay.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <stdexcept>

// The linker sends the program's calls of these functions to the __wrap_ versions below, and __real_ reaches
// the C library's own.
extern "C" {
int __real_open(const char* path, int flags, ...);
int __real_close(int fd);
ssize_t __real_read(int fd, void* buffer, size_t count);
ssize_t __real_write(int fd, const void* buffer, size_t count);
off_t __real_lseek(int fd, off_t offset, int whence);
int __real_fstat(int fd, struct stat* info);
int __real_stat(const char* path, struct stat* info);
int __real_fsync(int fd);
int __real_rename(const char* from, const char* to);
int __real_unlink(const char* path);
}

namespace tovarin::bench {

namespace {

constexpr int kDescriptors = 4096;
bool recording = false;
std::vector<SystemCall> recorded;

void Note(SystemCall call) {
    if (recording) recorded.push_back(std::move(call));
}

std::vector<unsigned char>& Buffer(std::size_t size) {
    static std::vector<unsigned char> buffer;
    if (buffer.size() < size) buffer.resize(size);
    return buffer;
}

}  // namespace

std::vector<SystemCall> Record(void (*run)(void*), void* context) {
    recorded.clear();
    recording = true;
    run(context);
    recording = false;
    for (const SystemCall& call : recorded) {
        if (call.Descriptor >= kDescriptors) throw std::runtime_error("a descriptor beyond the replay's table");
    }
    return std::move(recorded);
}

void Replay(const std::vector<SystemCall>& calls) {
    std::size_t largest = 0;
    for (const SystemCall& call : calls) largest = std::max(largest, call.Count);
    unsigned char* data = Buffer(largest).data();
    static int live[kDescriptors];  // recorded descriptor -> the descriptor of this replay
    struct stat info {};
    for (const SystemCall& call : calls) {
        using K = SystemCall::Kind;
        switch (call.Call) {
            case K::Open:
                if (call.Descriptor >= 0)
                    live[call.Descriptor] = __real_open(call.Path.c_str(), call.Flags, call.Mode);
                else
                    (void)__real_open(call.Path.c_str(), call.Flags, call.Mode);
                break;
            case K::Close:
                __real_close(live[call.Descriptor]);
                break;
            case K::Read:
                (void)__real_read(live[call.Descriptor], data, call.Count);
                break;
            case K::Write:
                (void)__real_write(live[call.Descriptor], data, call.Count);
                break;
            case K::Seek:
                (void)__real_lseek(live[call.Descriptor], call.Offset, call.Flags);
                break;
            case K::FileStat:
                (void)__real_fstat(live[call.Descriptor], &info);
                break;
            case K::PathStat:
                (void)__real_stat(call.Path.c_str(), &info);
                break;
            case K::Sync:
                (void)__real_fsync(live[call.Descriptor]);
                break;
            case K::Rename:
                (void)__real_rename(call.Path.c_str(), call.Target.c_str());
                break;
            case K::Unlink:
                (void)__real_unlink(call.Path.c_str());
                break;
        }
    }
}

}  // namespace tovarin::bench

using tovarin::bench::Note;
using Kind = tovarin::bench::SystemCall::Kind;

extern "C" {

int __wrap_open(const char* path, int flags, ...) {
    int mode = 0;
    if ((flags & O_CREAT) != 0) {
        va_list arguments;
        va_start(arguments, flags);
        mode = va_arg(arguments, int);
        va_end(arguments);
    }
    const int fd = __real_open(path, flags, mode);
    Note({Kind::Open, path, {}, fd, flags, mode});
    return fd;
}

int __wrap_close(int fd) {
    Note({Kind::Close, {}, {}, fd});
    return __real_close(fd);
}

ssize_t __wrap_read(int fd, void* buffer, size_t count) {
    Note({.Call = Kind::Read, .Descriptor = fd, .Count = count});
    return __real_read(fd, buffer, count);
}

ssize_t __wrap_write(int fd, const void* buffer, size_t count) {
    Note({.Call = Kind::Write, .Descriptor = fd, .Count = count});
    return __real_write(fd, buffer, count);
}

off_t __wrap_lseek(int fd, off_t offset, int whence) {
    Note({.Call = Kind::Seek, .Descriptor = fd, .Flags = whence, .Offset = offset});
    return __real_lseek(fd, offset, whence);
}

int __wrap_fstat(int fd, struct stat* info) {
    Note({.Call = Kind::FileStat, .Descriptor = fd});
    return __real_fstat(fd, info);
}

int __wrap_stat(const char* path, struct stat* info) {
    Note({.Call = Kind::PathStat, .Path = path});
    return __real_stat(path, info);
}

int __wrap_fsync(int fd) {
    Note({.Call = Kind::Sync, .Descriptor = fd});
    return __real_fsync(fd);
}

int __wrap_rename(const char* from, const char* to) {
    Note({.Call = Kind::Rename, .Path = from, .Target = to});
    return __real_rename(from, to);
}

int __wrap_unlink(const char* path) {
    Note({.Call = Kind::Unlink, .Path = path});
    return __real_unlink(path);
}
}
