#pragma once

#include <filesystem>
#include <string>

namespace tovarin::testkit {

// A fresh folder under the system's temporary folder, removed with everything in it (read-only files too) when
// the object dies.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
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

}  // namespace tovarin::testkit
