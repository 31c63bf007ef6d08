#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "gamefiles/ini_file.h"

// Several game files changed as one: after any failure, and after the next start once a crash or a failing disk
// stopped it, either every file holds the change or every file is as it was.
//
// API. `FileChangeSet changes(gameFolder, "the gun slot save of Ships\\kestrel.iff")` begins an operation on files
// of the game folder (the name is what messages call it). `changes.Replace(path, bytes)`, `changes.Remove(path)`
// and `changes.EditIni(path, edit)` say what each file (a full path inside the game folder) is to become; nothing
// is written yet. `changes.Commit()` writes it all: first a record of the operation beside the game files
// (kChangeRecordName in the game folder, gamefiles/change_record.h), holding each file's bytes from before and
// written whole, every step counted as started; then the files, each replaced whole, one after the other; the
// record is removed last. When a step fails, Commit puts back what it changed, removes the
// record and throws an Exception whose message names every file that is as it was. When even the put-back fails,
// the record stays and the message also names each file that could not be put back: until the record is gone,
// every write of a file it names is refused, and `RecoverUnfinishedChange(gameFolder)`, which each front-end calls
// at start-up before it reads any game file, puts the files back from the record, following the steps it says were
// started and never the files' contents. Files are held in memory: game files are small.
namespace tovarin {

// The record of a change that has not finished, in the game folder.
inline constexpr const char* kChangeRecordName = "Tovarin unfinished change.rec";

// How many files a message names before it only counts the rest ("and 3990 more").
inline constexpr std::size_t kFilesNamedInAList = 10;

class FileChangeSet {
public:
    // Begins a change of files of the game folder (with its trailing separator); `operation` names it in messages
    // and in the record ("the swap of Kestrel and Warden").
    FileChangeSet(std::string gameFolder, std::string operation);

    // The file is to hold exactly these bytes.
    void Replace(const std::string& path, std::vector<std::uint8_t> bytes);
    // The file is to be gone.
    void Remove(const std::string& path);
    // The INI file is to be as these writes leave it. The writes are made when Commit runs (on a copy beside the
    // file, which is then taken away), on what the file holds then or what it was given here before.
    void EditIni(const std::string& path, std::function<void(const TIniFile& copy)> edit);

    // Writes every file that is to change, whole or not at all (see above), and returns their names relative to
    // the game folder. Files that already hold what they are to become are left alone. A failure throws an
    // Exception whose message ends with what became of each file; a record of an earlier change that still stands
    // refuses the whole change with nothing written.
    std::vector<std::string> Commit();

private:
    using Content = std::optional<std::vector<std::uint8_t>>;  // none: no file
    struct Step {
        std::string Name;  // relative to the game folder
        std::function<Content(const Content& before)> After;
    };
    Step& StepFor(const std::string& path);

    std::string gameFolder_;
    std::string operation_;
    std::vector<Step> steps_;
    std::unordered_map<std::string, std::size_t> stepByName_;  // a step's name as Windows compares it: its index
};

// Puts back the files of a change that did not finish in this game folder, as its record says, and removes the
// record; from now on every write of a file named by a record that stands in this folder is refused, with a
// message saying why and what to do. Returns what it put back, for the player to read, when there was a record.
// Throws an Exception naming each file that is as it was and each that could not be put back when it cannot
// finish; the record then stays for the next start.
// Once no record stands, it also removes the temporary files our writers left in the folder when they were ended
// (gamefiles/leftover_files.h), without a word. The front-ends call it holding the folder's lock
// (gamefiles/folder_lock.h), so that no record and no temporary file of a change still running is touched.
std::optional<std::string> RecoverUnfinishedChange(const std::string& gameFolder);

}  // namespace tovarin
