#include "cli/command_files.h"

#include <filesystem>
#include <iterator>

#include "gamefiles/game_paths.h"
#include "gamefiles/system_paths.h"
#include "gamefiles/whole_files.h"

namespace tovarin::cli {

std::string FileNamed(const std::string& gameFolder, const std::string& path) {
    return path == kStandardStream ? "standard input" : NameInGameFolder(gameFolder, path);
}

std::vector<std::uint8_t> ReadGivenFile(const Console& console, const std::string& path) {
    if (path != kStandardStream) return ReadWholeFileReadOnly(path);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(console.In), std::istreambuf_iterator<char>());
}

void WriteGivenFile(const Console& console, const std::string& path, std::string_view bytes) {
    if (path == kStandardStream) {
        console.Data.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        console.Data.flush();
        return;
    }
    const std::string folder = FolderOf(path);
    std::error_code unknown;
    if (!folder.empty() && !std::filesystem::is_directory(SystemPath(folder), unknown)) {
        throw Refusal(path + ": the folder " + folder + " does not exist");
    }
    ReplaceWholeFile(path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

}  // namespace tovarin::cli
