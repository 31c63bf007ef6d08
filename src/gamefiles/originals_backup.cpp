#include "gamefiles/originals_backup.h"

#include <cctype>
#include <cstdint>
#include <unordered_set>

#include "gamefiles/errors.h"
#include "gamefiles/file_change_set.h"
#include "gamefiles/file_handle.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/ini_file.h"
#include "gamefiles/whole_files.h"

namespace tovarin {

namespace {

// Inside the backup folder: the files that did not exist before the program created them. No game file of the
// list lies in the game folder's root under this name, so it never stands in the place of a kept copy.
constexpr const char* kNotesName = "notes.ini";
constexpr const char* kAbsentSection = "Did not exist";

// Windows ignores case in file names and takes either slash, and elsewhere GamePath has matched each name's case
// already: two spellings of one path are one file.
std::string PathKey(std::string path) {
    for (char& c : path) c = c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return path;
}

// The file's bytes, read without asking to write it: a game file marked read-only has an original too (its
// change is then refused by the write itself, with the write's own message), and so has a kept copy marked so.
std::vector<std::uint8_t> BytesOf(const std::string& path) { return ReadWholeFileReadOnly(path); }

bool SameBytes(const std::string& game, const std::string& copy) {
    try {
        return BytesOf(game) == BytesOf(copy);
    } catch (const Exception&) {
        return false;  // a file that cannot be read is not known to be its original
    }
}

}  // namespace

OriginalsBackup::OriginalsBackup(std::string gameFolder, const std::vector<std::string>& files)
    : gameFolder_(std::move(gameFolder)) {
    for (const std::string& file : files) {
        if (byPath_.emplace(PathKey(GameFileOf(file)), files_.size()).second) files_.push_back(file);
    }
}

void OriginalsBackup::KeepOriginalOf(const std::string& path) const {
    const auto found = byPath_.find(PathKey(path));
    if (found == byPath_.end()) return;
    const std::string& file = files_[found->second];
    try {
        if (FileExists(CopyOf(file)) || NotedAsAbsent(file)) return;
        if (FileExists(path)) {
            MakeFoldersFor(file);
            ReplaceWholeFile(CopyOf(file), BytesOf(path));
        } else {
            NoteAsAbsent(file);
        }
    } catch (const Exception& error) {
        throw Exception("The original of " + path + " could not be kept in the folder \"" + kBackupFolderName + "\" (" +
                        error.Message() + "), so the file was not changed");
    }
}

std::vector<KeptFile> OriginalsBackup::Status(bool compareBytes) const {
    std::vector<std::string> noted;
    TIniFile(NotesFile()).ReadSection(kAbsentSection, noted);
    std::unordered_set<std::string> absent;
    for (const std::string& file : noted) absent.insert(PathKey(file));

    std::vector<KeptFile> kept;
    for (const std::string& file : files_) {
        const std::string game = GameFileOf(file);
        using State = KeptFile::State;
        if (FileExists(CopyOf(file))) {
            const bool exists = FileExists(game);
            const bool same = exists && compareBytes && SameBytes(game, CopyOf(file));
            kept.push_back({file, !exists ? State::Missing : same ? State::Original : State::Changed});
        } else if (absent.contains(PathKey(file))) {
            kept.push_back({file, FileExists(game) ? State::Created : State::Absent});
        }
    }
    return kept;
}

std::optional<std::string> OriginalsBackup::OriginalOf(const std::string& file) const {
    if (FileExists(CopyOf(file))) return CopyOf(file);
    if (NotedAsAbsent(file)) return std::nullopt;
    return GameFileOf(file);
}

// The copies go back through the change set, which replaces each game file whole and puts every one back when any
// fails, so a restore never leaves the installation half original.
RestoreReport OriginalsBackup::Restore(const std::vector<std::string>& files,
                                       const std::function<void(FileChangeSet&)>& alongside) const {
    RestoreReport report;
    FileChangeSet changes(gameFolder_, "the restore of the original files");
    for (const std::string& file : files) {
        const std::string game = GameFileOf(file);
        if (FileExists(CopyOf(file))) {
            if (FileExists(game) && SameBytes(game, CopyOf(file))) continue;
            changes.Replace(game, OriginalBytes(file));
            report.PutBack.push_back(file);
        } else if (NotedAsAbsent(file) && FileExists(game)) {
            changes.Remove(game);
            report.Removed.push_back(file);
        }
    }
    if (alongside) alongside(changes);
    (void)changes.Commit();
    return report;
}

// A kept copy that cannot be read stops the restore before any file changes.
std::vector<std::uint8_t> OriginalsBackup::OriginalBytes(const std::string& file) const {
    try {
        return BytesOf(CopyOf(file));
    } catch (const Exception& error) {
        throw Exception("The original of " + file + " kept in \"" + kBackupFolderName + "\" cannot be read (" +
                        error.Message() + "), so no file was put back");
    }
}

std::string OriginalsBackup::GameFileOf(const std::string& file) const { return GamePath(gameFolder_, file); }

std::string OriginalsBackup::CopyOf(const std::string& file) const {
    return GamePath(gameFolder_, std::string(kBackupFolderName) + "\\" + file);
}

std::string OriginalsBackup::NotesFile() const {
    return GamePath(gameFolder_, std::string(kBackupFolderName) + "\\" + kNotesName);
}

bool OriginalsBackup::NotedAsAbsent(const std::string& file) const {
    return !TIniFile(NotesFile()).ReadString(kAbsentSection, file, "").empty();
}

void OriginalsBackup::NoteAsAbsent(const std::string& file) const {
    CreateFolder(GamePath(gameFolder_, kBackupFolderName));
    ReplaceIniFile(NotesFile(), [&file](const TIniFile& notes) { notes.WriteString(kAbsentSection, file, "1"); });
}

// The backup folder and, below it, the folders of the file's relative name ("Ships" for "Ships\a.iff"; "Ships" and
// "Ships\sub" for "Ships\sub/a.iff", since a catalogue may name a ship's subfolder with either slash).
void OriginalsBackup::MakeFoldersFor(const std::string& file) const {
    const std::string backup = kBackupFolderName;
    CreateFolder(GamePath(gameFolder_, backup));
    for (std::size_t at = file.find_first_of("\\/"); at != std::string::npos; at = file.find_first_of("\\/", at + 1)) {
        CreateFolder(GamePath(gameFolder_, backup + "\\" + file.substr(0, at)));
    }
}

}  // namespace tovarin
