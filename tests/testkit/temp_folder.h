#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>

namespace tovarin::testkit {

// A fresh folder under the system's temporary folder, removed with everything in it (read-only files too) when
// the object dies.
class TempFolder {
public:
    TempFolder() {
        static std::atomic<unsigned> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = std::filesystem::temp_directory_path() /
                ("tovarin-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        // Tests mark files read-only; make them writable again so the folder can go.
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        }
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    [[nodiscard]] const std::filesystem::path& Path() const { return path_; }
    // The folder with its trailing separator, as the program's game folder is given.
    [[nodiscard]] std::string WithSeparator() const {
        return path_.string() + static_cast<char>(std::filesystem::path::preferred_separator);
    }

private:
    std::filesystem::path path_;
};

// A name written with backslashes ("Ships\\test.iff") as the system spells it, as the program's messages name files.
inline std::string NativeName(std::string name) {
    for (char& c : name) {
        if (c == '\\') c = static_cast<char>(std::filesystem::path::preferred_separator);
    }
    return name;
}

// Copies every file below `from` into `to` (made when missing), replacing what is there. File by file, since
// MinGW's std::filesystem::copy refuses a folder that exists already.
inline void CopyFolder(const std::filesystem::path& from, const std::filesystem::path& to) {
    namespace fs = std::filesystem;
    fs::create_directories(to);
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(from)) {
        const fs::path target = to / fs::relative(entry.path(), from);
        if (entry.is_directory()) {
            fs::create_directories(target);
        } else {
            fs::remove(target);  // nor does its copy_file overwrite
            fs::copy_file(entry.path(), target);
        }
    }
}

}  // namespace tovarin::testkit
