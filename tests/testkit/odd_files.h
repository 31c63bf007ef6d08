#pragma once

#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <sys/stat.h>
#endif

// Links and pipes as a downloaded mod may hold them. Where the system cannot make one (a pipe on Windows, a link
// without the right to make it), these return false and the test leaves that case out.
namespace tovarin::testkit {

inline bool MakePipe([[maybe_unused]] const std::filesystem::path& path) {
#ifdef _WIN32
    return false;
#else
    return ::mkfifo(path.c_str(), 0644) == 0;
#endif
}

inline bool MakeLink(const std::filesystem::path& target, const std::filesystem::path& link) {
    std::error_code error;
    if (std::filesystem::is_directory(target)) {
        std::filesystem::create_directory_symlink(target, link, error);
    } else {
        std::filesystem::create_symlink(target, link, error);
    }
    return !error;
}

}  // namespace tovarin::testkit
