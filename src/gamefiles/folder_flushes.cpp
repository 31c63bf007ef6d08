#include <algorithm>

#include "gamefiles/file_handle.h"
#include "gamefiles/game_paths.h"

namespace tovarin {

namespace {

// The FolderFlushes in force, if any.
FolderFlushes*& Active() {
    static FolderFlushes* active = nullptr;
    return active;
}

}  // namespace

FolderFlushes::FolderFlushes() { Active() = this; }

FolderFlushes::~FolderFlushes() {
    if (Active() == this) Active() = nullptr;
}

void FolderFlushes::Flush() {
    // Taken out of force first: a failure here is put right by putting files back, which flushes as it goes.
    if (Active() == this) Active() = nullptr;
    for (const std::string& folder : folders_) FlushFolderOf(folder);
    folders_.clear();
}

void FlushFolderOfChange(const std::string& path) {
    FolderFlushes* const batch = Active();
    if (batch == nullptr) return FlushFolderOf(path);
    // Noted by a path in the folder (FlushFolderOf takes a file's path); a change touches a few folders at most.
    const std::string folder = FolderOf(path);
    const bool noted = std::any_of(batch->folders_.begin(), batch->folders_.end(),
                                   [&folder](const std::string& other) { return FolderOf(other) == folder; });
    if (!noted) batch->folders_.push_back(path);
}

}  // namespace tovarin
