#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "gamefiles/game_paths.h"
#include "gamefiles/run_caches.h"

// The lookup of a name whose exact spelling is missing lists the folder. During a run (run_caches.h) each
// folder's listing is kept, so that a thousand ships named in another case cost one listing of the folder Ships,
// not a thousand; the file layer reports every entry the program creates, renames or deletes, which keeps a kept
// listing as the folder is.
namespace tovarin {

namespace {

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// Names compare as strcasecmp compares them in the C locale: ASCII letters without regard to case.
std::string Lowered(std::string name) {
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return name;
}

// A folder's entries by their names in lower case, each spelling in the order the folder listed them.
class FolderListing {
public:
    void Add(const std::string& name) {
        std::vector<std::string>& spellings = byLowerName_[Lowered(name)];
        if (std::find(spellings.begin(), spellings.end(), name) == spellings.end()) spellings.push_back(name);
    }

    void Remove(const std::string& name) {
        const auto found = byLowerName_.find(Lowered(name));
        if (found == byLowerName_.end()) return;
        std::erase(found->second, name);
        if (found->second.empty()) byLowerName_.erase(found);
    }

    // The first entry whose name equals `name` without regard to case.
    [[nodiscard]] std::optional<std::string> Match(const std::string& name) const {
        const auto found = byLowerName_.find(Lowered(name));
        if (found == byLowerName_.end()) return std::nullopt;
        return found->second.front();
    }

private:
    std::unordered_map<std::string, std::vector<std::string>> byLowerName_;
};

FolderListing ListFolder(const std::string& folder) {
    FolderListing listing;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return listing;
    while (const dirent* entry = ::readdir(dir.get())) listing.Add(entry->d_name);
    return listing;
}

// A folder is known by its device and inode, whichever path reaches it (a relative one, a symbolic link).
struct FolderId {
    dev_t Device = 0;
    ino_t Inode = 0;
    auto operator<=>(const FolderId&) const = default;
};

std::optional<FolderId> IdOf(const std::string& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::nullopt;
    return FolderId{info.st_dev, info.st_ino};
}

// What a run keeps: the listings of the folders it looked into, and each path it found, by the game folder and
// the relative name joined with a NUL. A path found may change with any entry the program adds or removes, so
// those are dropped at every such change; few are found between two changes.
struct Kept {
    std::uint64_t Run = 0;
    std::map<FolderId, FolderListing> Listings;
    std::unordered_map<std::string, std::string> Paths;
};

// What the current run keeps; nothing outside a run.
Kept& KeptInRun() {
    static Kept kept;
    if (kept.Run != CurrentRun()) kept = Kept{CurrentRun(), {}, {}};
    return kept;
}

// The entry of `folder` whose name equals `name` without regard to case, or `name` itself when none does.
std::string MatchIgnoringCase(const std::string& folder, const std::string& name) {
    const std::string listed = folder.empty() ? "." : folder;
    if (CurrentRun() == 0) return ListFolder(listed).Match(name).value_or(name);
    const std::optional<FolderId> id = IdOf(listed);
    if (!id) return name;
    auto [listing, added] = KeptInRun().Listings.try_emplace(*id);
    if (added) listing->second = ListFolder(listed);
    return listing->second.Match(name).value_or(name);
}

std::string FindPath(const std::string& gameFolder, std::string_view relativeName) {
    std::string path = gameFolder;
    std::size_t begin = 0;
    while (begin <= relativeName.size()) {
        const std::size_t end = std::min(relativeName.find_first_of("\\/", begin), relativeName.size());
        const std::string component(relativeName.substr(begin, end - begin));
        if (!component.empty()) {
            path += Exists(path + component) ? component : MatchIgnoringCase(path, component);
        }
        if (end < relativeName.size()) path += '/';
        begin = end + 1;
    }
    return path;
}

}  // namespace

std::string GamePath(const std::string& gameFolder, std::string_view relativeName) {
    if (CurrentRun() == 0) return FindPath(gameFolder, relativeName);
    std::string key = gameFolder;
    key += '\0';
    key += relativeName;
    std::unordered_map<std::string, std::string>& paths = KeptInRun().Paths;
    if (const auto found = paths.find(key); found != paths.end()) return found->second;
    // The folder part is found once for every name in it, so that a thousand ship files cost one look at
    // "Tovarin Backup" and its "Ships", not a thousand.
    const std::size_t slash = relativeName.find_last_of("\\/");
    std::string path =
        slash == std::string_view::npos
            ? FindPath(gameFolder, relativeName)
            : FindPath(GamePath(gameFolder, relativeName.substr(0, slash)) + '/', relativeName.substr(slash + 1));
    KeptInRun().Paths.emplace(std::move(key), path);
    return path;
}

void NoteFolderEntry(const std::string& path, bool exists) {
    Kept& kept = KeptInRun();
    // A new, empty table rather than clear(), which would go through every bucket of a once large one each time.
    if (!kept.Paths.empty()) kept.Paths = std::unordered_map<std::string, std::string>();
    std::map<FolderId, FolderListing>& listings = kept.Listings;
    if (listings.empty()) return;
    std::string entry = path;
    while (entry.size() > 1 && entry.back() == '/') entry.pop_back();
    const std::size_t slash = entry.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : entry.substr(0, slash + 1);
    const std::optional<FolderId> id = IdOf(folder);
    if (!id) return;
    const auto listing = listings.find(*id);
    if (listing == listings.end()) return;
    const std::string name = slash == std::string::npos ? entry : entry.substr(slash + 1);
    if (exists) {
        listing->second.Add(name);
    } else {
        listing->second.Remove(name);
    }
}

}  // namespace tovarin
