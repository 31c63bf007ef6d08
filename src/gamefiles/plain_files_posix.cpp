#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "gamefiles/errors.h"
#include "gamefiles/plain_files.h"

namespace tovarin {

namespace {

std::string SizeText(std::uint64_t bytes) { return std::to_string(bytes) + " bytes"; }

// The regular file opened without following a link or waiting on a FIFO; its descriptor and size.
int OpenPlain(const std::string& path, std::uint64_t& size) {
    if (const std::string problem = EntryTypeProblem(EntryTypeAt(path)); !problem.empty()) throw Exception(problem);
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) throw Exception(std::string("cannot be read: ") + std::strerror(errno));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw Exception(EntryTypeProblem(EntryType::Other));
    }
    size = static_cast<std::uint64_t>(info.st_size);
    return fd;
}

}  // namespace

EntryType EntryTypeAt(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return EntryType::Missing;
    if (S_ISLNK(info.st_mode)) return EntryType::Link;
    if (S_ISDIR(info.st_mode)) return EntryType::Folder;
    if (S_ISREG(info.st_mode)) return EntryType::File;
    return EntryType::Other;
}

std::vector<std::uint8_t> ReadPlainFile(const std::string& path, std::uint64_t maxBytes) {
    std::uint64_t size = 0;
    const int fd = OpenPlain(path, size);
    if (size > maxBytes) {
        ::close(fd);
        throw Exception("holds " + SizeText(size) + ", more than the " + SizeText(maxBytes) + " a mod's file may");
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;  // a file cut short while read: what is there
        done += static_cast<std::size_t>(got);
    }
    ::close(fd);
    bytes.resize(done);
    return bytes;
}

std::uint64_t PlainFileSize(const std::string& path) {
    std::uint64_t size = 0;
    ::close(OpenPlain(path, size));
    return size;
}

}  // namespace tovarin
