#pragma once

#include <filesystem>
#include <string>

namespace tovarin::testkit {

// The path of a new, empty folder under the system's temporary folder.
[[nodiscard]] std::filesystem::path NewTempFolder();
// Removes a folder with everything in it, read-only files included.
void RemoveTempFolder(const std::filesystem::path& path);

// A fresh folder under the system's temporary folder, removed with everything in it when the object dies.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    [[nodiscard]] const std::filesystem::path& Path() const { return path_; }
    // The folder with its trailing separator, as the program's game folder is given.
    [[nodiscard]] std::string WithSeparator() const;

private:
    std::filesystem::path path_;
};

}  // namespace tovarin::testkit
