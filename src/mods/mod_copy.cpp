#include "mods/mod_copy.h"

#include <cstdint>
#include <map>
#include <vector>

#include "gamefiles/case_fold.h"
#include "gamefiles/errors.h"
#include "gamefiles/file_handle.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/folders.h"
#include "gamefiles/plain_files.h"
#include "mods/mod_folder.h"
#include "mods/mod_limits.h"

namespace tovarin {

namespace {

// One entry of the mod: its path below the mod's folder, joined with the system's separator.
struct Part {
    std::string Relative;
    bool IsFolder = false;
};

// What the mod's folder holds, checked before anything is copied: no link, pipe or device, and within the bounds.
class ModWalk {
public:
    ModWalk(std::string root, std::string shown) : root_(std::move(root)), shown_(std::move(shown)) {}

    std::vector<Part> Parts() {
        Walk("", 0);
        return parts_;
    }

private:
    void Walk(const std::string& relative, std::size_t depth) {
        for (const FolderEntry& entry : ListFolder(relative.empty() ? root_ : PathIn(root_, relative))) {
            const std::string inner = relative.empty() ? entry.Name : PathIn(relative, entry.Name);
            const std::string path = PathIn(root_, inner);
            const std::string shown = shown_ + "\\" + inner;
            const EntryType type = EntryTypeAt(path);
            if (const std::string problem = EntryTypeProblem(type); !problem.empty()) {
                throw Exception(shown + " " + problem);
            }
            if (parts_.size() >= kMaxModFiles) {
                throw Exception(shown_ + " holds more than " + std::to_string(kMaxModFiles) +
                                " files and folders, more than a mod may");
            }
            if (type == EntryType::Folder) {
                if (depth + 1 > kMaxModDepth) throw Exception(shown + ": folders nested deeper than a mod may");
                parts_.push_back({inner, true});
                Walk(inner, depth + 1);
                continue;
            }
            bytes_ += PlainFileSize(path);
            if (bytes_ > kMaxModBytes) {
                throw Exception(shown_ + " holds more than " + std::to_string(kMaxModBytes >> 20) +
                                " MB, more than a mod may");
            }
            parts_.push_back({inner, false});
        }
    }

    std::string root_;
    std::string shown_;
    std::vector<Part> parts_;
    std::uint64_t bytes_ = 0;
};

// A file half-written by a replacement that failed (gamefiles/whole_files.h): the program's own, never a mod's.
bool IsPartFile(const std::string& name) { return name.ends_with(".part~"); }

// True when nothing but empty folders and half-written files stand at the path: what a failed add leaves at most.
bool HoldsNoFile(const std::string& path) {
    if (EntryTypeAt(path) != EntryType::Folder) return false;
    for (const FolderEntry& entry : ListFolder(path)) {
        if (!IsPartFile(entry.Name) && !HoldsNoFile(PathIn(path, entry.Name))) return false;
    }
    return true;
}

std::vector<std::uint8_t> ModFileBytes(const std::string& path, const std::string& shown, std::uint64_t bound) {
    try {
        return ReadPlainFile(path, bound);
    } catch (const Exception& error) {
        throw Exception(shown + " " + error.Message());
    }
}

// Where the parts of a new version go in the old version's folder: under the names the old one spells them with,
// in any letter case, so that the folder holds one of each; never through a link someone put there.
class UpdateTarget {
public:
    explicit UpdateTarget(std::string target) : target_(std::move(target)) {}

    // The part's path below the target, spelled as the folder spells it.
    std::string Spelled(const Part& part) {
        const std::size_t cut = part.Relative.find_last_of("\\/");
        const std::string parent = cut == std::string::npos ? "" : spelled_.at(part.Relative.substr(0, cut));
        std::string name = cut == std::string::npos ? part.Relative : part.Relative.substr(cut + 1);
        const std::string folder = parent.empty() ? target_ : PathIn(target_, parent);
        for (const FolderEntry& there : ListFolder(folder)) {
            if (FoldedCase(there.Name) == FoldedCase(name)) name = there.Name;
        }
        std::string relative = parent.empty() ? name : PathIn(parent, name);
        const EntryType type = EntryTypeAt(PathIn(target_, relative));
        if (type != EntryType::Missing && type != (part.IsFolder ? EntryType::Folder : EntryType::File)) {
            throw Exception(PathIn(target_, relative) + (type == EntryType::Link ? " is a link" : " is in the way") +
                            ": the new version's " + part.Relative + " cannot take its place");
        }
        spelled_[part.Relative] = relative;
        return relative;
    }

private:
    std::string target_;
    std::map<std::string, std::string> spelled_;
};

}  // namespace

std::vector<std::string> PlanModCopy(const std::string& source, const std::string& modsFolder, const std::string& entry,
                                     FileChangeSet& changes, bool update) {
    const std::string target = PathIn(modsFolder, entry);
    if (!update && EntryTypeAt(target) != EntryType::Missing && !HoldsNoFile(target)) {
        throw Exception(target + " is there already: remove it first, or rename the mod");
    }
    if (update && EntryTypeAt(target) != EntryType::Folder) throw Exception(target + " is no mod folder");
    if (!update) RemoveEmptyFolders(target);  // what a failed add left
    if (EntryTypeAt(modsFolder) == EntryType::Link)
        throw Exception(modsFolder + " " + EntryTypeProblem(EntryType::Link));
    const EntryType type = EntryTypeAt(source);
    if (const std::string problem = EntryTypeProblem(type); !problem.empty()) throw Exception(source + " " + problem);
    if (type != EntryType::Folder) {
        std::vector<std::uint8_t> bytes = ModFileBytes(source, source, kMaxModSheetBytes);
        CreateFolder(modsFolder);
        changes.Replace(target, std::move(bytes));
        return {};
    }
    std::vector<Part> parts = ModWalk(source, entry).Parts();
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> files;
    UpdateTarget spelling(target);
    for (Part& part : parts) {
        const std::string from = PathIn(source, part.Relative);
        if (update) part.Relative = spelling.Spelled(part);
        if (part.IsFolder) continue;
        files.emplace_back(PathIn(target, part.Relative),
                           ModFileBytes(from, entry + "\\" + part.Relative, kMaxModBytes));
    }
    CreateFolder(modsFolder);
    std::vector<std::string> made;
    const auto makeFolder = [&made](const std::string& path) {
        if (EntryTypeAt(path) == EntryType::Folder) return;
        CreateFolder(path);
        made.push_back(path);
    };
    makeFolder(target);
    for (const Part& part : parts) {
        if (part.IsFolder) makeFolder(PathIn(target, part.Relative));
    }
    for (auto& [path, bytes] : files) changes.Replace(path, std::move(bytes));
    return made;
}

void RemoveFoldersMade(const std::vector<std::string>& folders) {
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) RemoveEmptyFolders(*folder);
}

void RemoveEmptyFolders(const std::string& path) {
    if (!HoldsNoFile(path)) return;
    for (const FolderEntry& entry : ListFolder(path)) {
        const std::string inner = PathIn(path, entry.Name);
        if (IsPartFile(entry.Name) && EntryTypeAt(inner) == EntryType::File) {
            (void)DeleteFileAt(inner);
        } else {
            RemoveEmptyFolders(inner);
        }
    }
    (void)RemoveEmptyFolder(path);
}

}  // namespace tovarin
