#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// The originals of the game files the program changes, kept in the folder "Tovarin Backup" inside the game folder
// under the same relative names, so that every change can be undone without reinstalling the game. The first copy
// of a file is its original and is never overwritten. A file that did not exist before the program created it has
// no original; it is noted as such, and putting the originals back removes it again.
namespace tovarin {

class FileChangeSet;

inline constexpr const char* kBackupFolderName = "Tovarin Backup";

// A file with a kept original (or noted as not existing before), and how the game file stands against it.
struct KeptFile {
    enum class State {
        Original,  // the game file is byte for byte its original
        Changed,   // it differs from its original
        Missing,   // it has an original but is gone
        Created,   // it did not exist and exists now
        Absent,    // it did not exist and still does not
    };
    std::string File;  // relative to the game folder, with backslashes ("Ships\switch.dat")
    State Now = State::Original;
    [[nodiscard]] bool Differs() const { return Now != State::Original && Now != State::Absent; }
};

// What putting originals back did, file by file.
struct RestoreReport {
    std::vector<std::string> PutBack;  // originals copied over the game files
    std::vector<std::string> Removed;  // files that did not exist, taken away again
};

class OriginalsBackup {
public:
    // The game folder (with its trailing separator) and the game files the program may change, named relative to
    // it with backslashes.
    OriginalsBackup(std::string gameFolder, const std::vector<std::string>& files);

    // Called before the file at this full path changes: keeps its original unless one is kept already (copied
    // aside, then renamed into place), or notes that it does not exist. Paths of other files are ignored. When
    // the original cannot be kept it throws an Exception naming the file, and the file must not change.
    void KeepOriginalOf(const std::string& path) const;

    // Every file with a kept original or a note, in the order of the list, and how it stands now. Without
    // `compareBytes` a game file that has a kept copy counts as Changed unread, for a caller that reads both files
    // anyway and tells the two apart itself.
    [[nodiscard]] std::vector<KeptFile> Status(bool compareBytes = true) const;

    // Where the file's bytes from before the program first changed it lie: its kept copy, or the game file itself
    // while none is kept (the program has not changed it); none for a file the program created.
    [[nodiscard]] std::optional<std::string> OriginalOf(const std::string& file) const;

    // Puts back the originals of these files (relative names, as Status gives them), all of them as one change
    // (gamefiles/file_change_set.h): each one replaced whole, a file that did not exist removed. Files already as
    // their originals are left alone. A failure puts back none of them and throws an Exception that says so, file
    // by file; the backup itself stays as it is. `alongside` adds the changes of other files that belong to the
    // same step (the mods switched off), made whole or not at all with the originals.
    [[nodiscard]] RestoreReport Restore(const std::vector<std::string>& files,
                                        const std::function<void(FileChangeSet&)>& alongside = {}) const;

private:
    [[nodiscard]] std::string GameFileOf(const std::string& file) const;
    [[nodiscard]] std::string CopyOf(const std::string& file) const;
    [[nodiscard]] std::string NotesFile() const;
    [[nodiscard]] std::vector<std::uint8_t> OriginalBytes(const std::string& file) const;
    [[nodiscard]] bool NotedAsAbsent(const std::string& file) const;
    void NoteAsAbsent(const std::string& file) const;
    void MakeFoldersFor(const std::string& file) const;

    std::string gameFolder_;
    std::vector<std::string> files_;
    std::unordered_map<std::string, std::size_t> byPath_;  // a full path, in lower case and backslashes: its index
};

}  // namespace tovarin
