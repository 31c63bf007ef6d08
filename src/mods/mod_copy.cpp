#include "mods/mod_copy.h"

#include <cstdint>
#include <vector>

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

}  // namespace

void PlanModCopy(const std::string& source, const std::string& modsFolder, const std::string& entry,
                 FileChangeSet& changes) {
    const std::string target = PathIn(modsFolder, entry);
    if (EntryTypeAt(target) != EntryType::Missing && !HoldsNoFile(target)) {
        throw Exception(target + " is there already: remove it first, or rename the mod");
    }
    RemoveEmptyFolders(target);  // what a failed add left
    if (EntryTypeAt(modsFolder) == EntryType::Link)
        throw Exception(modsFolder + " " + EntryTypeProblem(EntryType::Link));
    const EntryType type = EntryTypeAt(source);
    if (const std::string problem = EntryTypeProblem(type); !problem.empty()) throw Exception(source + " " + problem);
    if (type != EntryType::Folder) {
        std::vector<std::uint8_t> bytes = ModFileBytes(source, source, kMaxModSheetBytes);
        CreateFolder(modsFolder);
        changes.Replace(target, std::move(bytes));
        return;
    }
    const std::vector<Part> parts = ModWalk(source, entry).Parts();
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> files;
    for (const Part& part : parts) {
        if (part.IsFolder) continue;
        files.emplace_back(PathIn(target, part.Relative),
                           ModFileBytes(PathIn(source, part.Relative), entry + "\\" + part.Relative, kMaxModBytes));
    }
    CreateFolder(modsFolder);
    CreateFolder(target);
    for (const Part& part : parts) {
        if (part.IsFolder) CreateFolder(PathIn(target, part.Relative));
    }
    for (auto& [path, bytes] : files) changes.Replace(path, std::move(bytes));
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
