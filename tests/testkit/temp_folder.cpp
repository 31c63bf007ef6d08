#include "testkit/temp_folder.h"

#include <atomic>
#include <chrono>

namespace tovarin::testkit {

std::filesystem::path NewTempFolder() {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("tovarin-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path);
    return path;
}

void RemoveTempFolder(const std::filesystem::path& path) {
    std::error_code ignored;
    // Tests mark files read-only; make them writable again so the folder can go.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path, ignored)) {
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(path, ignored);
}

TempFolder::TempFolder() : path_(NewTempFolder()) {}

TempFolder::~TempFolder() { RemoveTempFolder(path_); }

std::string TempFolder::WithSeparator() const {
    std::string text = path_.string();
    text += static_cast<char>(std::filesystem::path::preferred_separator);
    return text;
}

}  // namespace tovarin::testkit
