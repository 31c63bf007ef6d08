#include "gamefiles/plain_files.h"

#include "gamefiles/file_primitives.h"
#include "gamefiles/folders.h"

namespace tovarin {

std::string EntryTypeProblem(EntryType type) {
    switch (type) {
        case EntryType::Link:
            return "is a link (or junction) to somewhere else, which Tovarin does not follow: put the files "
                   "themselves there";
        case EntryType::Other:
            return "is no regular file (a pipe or a device), which Tovarin does not read";
        case EntryType::Missing:
            return "is not there";
        case EntryType::File:
        case EntryType::Folder:
            break;
    }
    return "";
}

void RemoveUnlessPlain(const std::string& path) {
    const EntryType type = EntryTypeAt(path);
    if (type == EntryType::Link || type == EntryType::Other) (void)DeleteFileAt(path);
}

bool DeleteTree(const std::string& path) {
    const EntryType type = EntryTypeAt(path);
    if (type == EntryType::Missing) return true;
    if (type != EntryType::Folder) return DeleteFileAt(path) || RemoveEmptyFolder(path);  // a junction is a folder
    bool all = true;
    for (const FolderEntry& entry : ListFolder(path)) all = DeleteTree(PathIn(path, entry.Name)) && all;
    return RemoveEmptyFolder(path) && all;
}

}  // namespace tovarin
