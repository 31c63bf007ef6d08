#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <ctime>
#include <map>
#include <mutex>
#include <optional>

#include "gamefiles/profile_cache.h"
#include "gamefiles/run_caches.h"

namespace tovarin {

namespace {

// What tells one version of a file from another. The change time cannot be set back by anyone, so a file
// rewritten in place at the same size and dated back is still told apart.
struct FileVersion {
    dev_t Device = 0;
    ino_t Inode = 0;
    off_t Size = 0;
    timespec Modified{};
    timespec Changed{};
};

bool operator==(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }
bool operator==(const FileVersion& a, const FileVersion& b) {
    return a.Device == b.Device && a.Inode == b.Inode && a.Size == b.Size && a.Modified == b.Modified &&
           a.Changed == b.Changed;
}

struct CachedProfile {
    FileVersion Version;
    std::shared_ptr<const ProfileIndex> Index;
    bool Settled = false;       // the file's clock tick had passed when it was read: its version tells changes
    std::uint64_t Run = 0;      // the run that last found the copy true (run_caches.h)
    std::uint64_t Changes = 0;  // the program's count of changes then
};

// Few files are read over a run (the catalogue, the switch file, profiles, the uninstall record); past this
// many the copies are all dropped rather than kept without end.
constexpr std::size_t kMostFiles = 32;

std::mutex cacheLock;
std::map<std::string, CachedProfile> cache;

FileVersion VersionOf(const struct stat& info) {
    return {info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

// A file changed within the clock tick that is still running could change again within it, at the same size,
// under the same times. Its copy is kept only once the clock the file system dates files by has moved past it.
bool SettledBefore(const FileVersion& version) {
    timespec now{};
#ifdef CLOCK_REALTIME_COARSE
    clock_gettime(CLOCK_REALTIME_COARSE, &now);
#else
    clock_gettime(CLOCK_REALTIME, &now);
#endif
    const auto before = [&](const timespec& t) {
        return t.tv_sec < now.tv_sec || (t.tv_sec == now.tv_sec && t.tv_nsec < now.tv_nsec);
    };
    return before(version.Modified) && before(version.Changed);
}

std::optional<std::string> ReadAll(int fd) {
    std::string text;
    std::array<char, 65536> chunk{};
    for (;;) {
        const ssize_t count = ::read(fd, chunk.data(), chunk.size());
        if (count == 0) return text;
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return std::nullopt;
        text.append(chunk.data(), static_cast<std::size_t>(count));
    }
}

const std::shared_ptr<const ProfileIndex>& EmptyProfile() {
    static const auto empty = std::make_shared<const ProfileIndex>("");
    return empty;
}

// Within a run, a copy found true is still true until the program changes a file: no other program changes the
// game folder meanwhile, so the file is not even looked at again.
bool TrustedInThisRun(const CachedProfile& copy) {
    return CurrentRun() != 0 && copy.Run == CurrentRun() && copy.Changes == ChangesMade();
}

}  // namespace

std::shared_ptr<const ProfileIndex> ParsedProfile(const std::string& path) {
    std::lock_guard<std::mutex> hold(cacheLock);
    const auto found = cache.find(path);
    if (found != cache.end() && TrustedInThisRun(found->second)) return found->second.Index;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return EmptyProfile();
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        return EmptyProfile();
    }
    const FileVersion version = VersionOf(info);
    if (found != cache.end() && found->second.Settled && found->second.Version == version) {
        ::close(fd);
        found->second.Run = CurrentRun();
        found->second.Changes = ChangesMade();
        return found->second.Index;
    }
    const std::optional<std::string> text = ReadAll(fd);
    ::close(fd);
    if (!text) return EmptyProfile();
    auto index = std::make_shared<const ProfileIndex>(*text);
    // A copy of a file changed within the running clock tick is kept only for the run that read it, and only
    // until the program's next change: a change after that could leave size and times as they were.
    const bool settled = SettledBefore(version);
    if (settled || CurrentRun() != 0) {
        if (cache.size() >= kMostFiles) cache.clear();
        cache[path] = {version, index, settled, CurrentRun(), ChangesMade()};
    } else {
        cache.erase(path);
    }
    return index;
}

void ForgetProfile(const std::string& path) {
    std::lock_guard<std::mutex> hold(cacheLock);
    cache.erase(path);
}

void ForgetEveryProfile() {
    std::lock_guard<std::mutex> hold(cacheLock);
    cache.clear();
}

}  // namespace tovarin
