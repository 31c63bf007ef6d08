#include "gamefiles/leftover_files.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "gamefiles/file_primitives.h"
#include "gamefiles/folders.h"
#include "gamefiles/whole_files.h"

namespace tovarin {

namespace {

// Deep enough for a mod's own folders and for "Tovarin Backup\Ships": no tree of ours goes further, and a folder
// linked into itself ends here.
constexpr int kDeepest = 4;

bool SameName(const std::string& a, const char* b) {
    const std::string_view other(b);
    return a.size() == other.size() && std::equal(a.begin(), a.end(), other.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool TreeOfOurs(const std::string& name) {
    constexpr std::array kTrees{"Ships", "Game", "Tovarin Backup", "Tovarin Mods"};
    return std::any_of(kTrees.begin(), kTrees.end(), [&name](const char* tree) { return SameName(name, tree); });
}

void RemoveIn(const std::string& folder, int depth, bool topLevel) {
    for (const FolderEntry& entry : ListFolder(folder)) {
        const std::string path = PathIn(folder, entry.Name);
        if (!entry.IsFolder) {
            if (IsOurTemporary(entry.Name)) static_cast<void>(DeleteFileAt(path));
        } else if (depth < kDeepest && (!topLevel || TreeOfOurs(entry.Name))) {
            RemoveIn(path, depth + 1, false);
        }
    }
}

}  // namespace

void RemoveOurTemporaries(const std::string& gameFolder) { RemoveIn(gameFolder, 0, true); }

}  // namespace tovarin
