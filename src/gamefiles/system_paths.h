#pragma once

#include <filesystem>
#include <string>

// The program's paths are UTF-8 on every system (gamefiles/wide_paths.h); std::filesystem reads a plain string in
// the system's code page on Windows, so a path goes to and from it as UTF-8 explicitly.
namespace tovarin {

[[nodiscard]] inline std::filesystem::path SystemPath(const std::string& path) {
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

[[nodiscard]] inline std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace tovarin
