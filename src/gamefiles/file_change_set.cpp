#include "gamefiles/file_change_set.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "gamefiles/change_hook.h"
#include "gamefiles/change_record.h"
#include "gamefiles/errors.h"
#include "gamefiles/file_handle.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/folder_lock.h"
#include "gamefiles/leftover_files.h"
#include "gamefiles/whole_files.h"

namespace tovarin {

namespace {

using Bytes = std::vector<std::uint8_t>;

// ---- Where the record lies, and which files it names ---------------------------------------------------------

std::string RecordPath(const std::string& gameFolder) { return gameFolder + kChangeRecordName; }

// Windows ignores case in file names and takes either slash: two spellings of one name are one file.
std::string NameKey(std::string name) {
    for (char& c : name) c = c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

std::string NameIn(const std::string& gameFolder, const std::string& path) {
    if (!path.starts_with(gameFolder) || path.size() == gameFolder.size()) {
        throw Exception(path + " lies outside the game folder " + gameFolder);
    }
    return path.substr(gameFolder.size());
}

ChangeRecord ReadRecord(const std::string& gameFolder) {
    const std::string path = RecordPath(gameFolder);
    try {
        return ParseRecord(ReadWholeFileReadOnly(path));
    } catch (const Exception& error) {
        throw Exception(path + " cannot be read: " + error.Message());
    }
}

bool Names(const ChangeRecord& record, const std::string& name) {
    return std::any_of(record.Files.begin(), record.Files.end(),
                       [key = NameKey(name)](const RecordedFile& file) { return NameKey(file.Name) == key; });
}

// ---- The words of the messages -------------------------------------------------------------------------------

// A file's name as the game and every other message write it, with backslashes on every system.
std::string GameName(std::string name) {
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

// "A", "A and B", "A, B and C"; a change of thousands of files names the first few and how many more.
std::string Listed(const std::vector<std::string>& names) {
    const std::size_t named = names.size() > kFilesNamedInAList + 1 ? kFilesNamedInAList : names.size();
    std::string text;
    for (std::size_t i = 0; i < named; ++i) {
        if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
        text += names[i];
    }
    if (named < names.size()) text += " and " + std::to_string(names.size() - named) + " more";
    return text;
}

// What a put-back left: the files as they were before the change, and each file that could not be put back with
// the reason.
struct PutBackOutcome {
    std::vector<std::string> AsTheyWere;
    std::vector<std::string> NotPutBack;  // "Ships\a.iff (Disk full)"
    bool RecordRemoved = false;
};

std::string AsTheyWereText(std::vector<std::string> names) {
    std::transform(names.begin(), names.end(), names.begin(), GameName);
    return Listed(names) + (names.size() == 1 ? " is as it was" : " are as they were");
}

// After the put-back of a change of `operation` failed part-way: which file is which, and what happens next.
std::string NotPutBackText(const PutBackOutcome& outcome, const std::string& operation) {
    std::string text;
    if (!outcome.AsTheyWere.empty()) text += AsTheyWereText(outcome.AsTheyWere) + "; ";
    const bool one = outcome.NotPutBack.size() == 1;
    text += Listed(outcome.NotPutBack) + " could not be put back as " + (one ? "it was" : "they were") +
            ". Tovarin puts " + (one ? "it" : "them") +
            " back at its next start (of the window or of any tovarin-cli command), and until then changes none of "
            "the files of " +
            operation;
    return text;
}

// The file layer's own messages do not say which file failed; in a change of several files it matters.
std::string Named(const std::string& name, const Exception& failure) {
    if (dynamic_cast<const EInOutError*>(&failure) == nullptr) return failure.Message();
    return GameName(name) + ": " + failure.Message();
}

std::string OutcomeText(const PutBackOutcome& outcome, const std::string& operation) {
    if (!outcome.NotPutBack.empty()) return NotPutBackText(outcome, operation);
    std::string text = "Nothing was changed: " + AsTheyWereText(outcome.AsTheyWere);
    if (!outcome.RecordRemoved) {
        text += ". Its record " + std::string(kChangeRecordName) +
                " could not be removed: until Tovarin does so at its next start, it changes none of these files";
    }
    return text;
}

// ---- Writing and putting back --------------------------------------------------------------------------------

// While a change set writes or puts back its files, the guard lets its writes through: they are the record's own.
int& ActiveChanges() {
    static int active = 0;
    return active;
}

struct ActiveChange {
    ActiveChange() { ++ActiveChanges(); }
    ~ActiveChange() { --ActiveChanges(); }
    ActiveChange(const ActiveChange&) = delete;
    ActiveChange& operator=(const ActiveChange&) = delete;
};

using Content = std::optional<Bytes>;  // none: no file

Content BytesNow(const std::string& path) {
    if (!FileExists(path)) return std::nullopt;
    return ReadWholeFile(path);
}

// Gives the file these bytes, or takes it away. A removal is flushed to the disk as a replacement is; it fails
// before the file changes, or with EReplacedNotFlushed after.
void PutInPlace(const std::string& path, const Content& bytes) {
    if (bytes) return ReplaceWholeFile(path, *bytes);
    if (!FileExists(path)) return;
    BeforeChange(path);  // a removal is a change of the file as much as a write
    if (!DeleteFileAt(path)) throw Exception("it could not be deleted");
    try {
        FlushFolderOfChange(path);
    } catch (const EInOutError& error) {
        throw EReplacedNotFlushed(error.ErrorCode, error.Message());
    }
}

// The INI file's content after the writes, made on a copy beside it that is taken away again: a copy that stays
// would be a file of ours left among the game's, so failing to take it away fails the change (before any file
// changed).
Content EditedCopy(const std::string& path, const Content& from, const std::function<void(const TIniFile&)>& edit) {
    const std::string copy = TemporarySiblingOf(path, "edit~");
    try {
        PutInPlace(copy, from);
        edit(TIniFile(copy));
        Content edited = BytesNow(copy);
        if (FileExists(copy) && !DeleteFileAt(copy)) throw Exception(copy + " could not be deleted");
        return edited;
    } catch (...) {
        DeleteFileAt(copy);
        throw;
    }
}

// Removing the record is the last step, which makes the change (or its put-back) final. A record whose own writing
// failed may not be there at all. Once it is deleted the change counts as done: should the folder not reach the
// disk and a power cut bring the record back, the next start puts every file back, which leaves them whole too.
void RemoveRecord(const std::string& gameFolder) {
    const std::string record = RecordPath(gameFolder);
    if (!FileExists(record)) return;
    if (!DeleteFileAt(record)) throw Exception(record + " could not be removed");
    try {
        FlushFolderOf(record);
    } catch (const Exception&) {
        // As said above: either way every file is whole.
    }
}

// Puts back the first `started` files of the record, the last one first, then removes the record when every one
// went back. A file that fails does not stop the others.
PutBackOutcome PutBack(const std::string& gameFolder, const ChangeRecord& record, std::size_t started) {
    PutBackOutcome outcome;
    for (std::size_t i = record.Files.size(); i-- > 0;) {
        const RecordedFile& file = record.Files[i];
        try {
            if (i < started) PutInPlace(gameFolder + file.Name, file.Before);
            outcome.AsTheyWere.insert(outcome.AsTheyWere.begin(), file.Name);
        } catch (const Exception& error) {
            outcome.NotPutBack.insert(outcome.NotPutBack.begin(), GameName(file.Name) + " (" + error.Message() + ")");
        }
    }
    if (outcome.NotPutBack.empty()) {
        try {
            RemoveRecord(gameFolder);
            outcome.RecordRemoved = true;
        } catch (const Exception&) {
            // The record stands: the files are as they were, and the next start removes it.
        }
    }
    return outcome;
}

// A change refused while the record of another stands: its files could be any of them.
void RefuseWhileARecordStands(const std::string& gameFolder, const std::string& operation) {
    if (!FileExists(RecordPath(gameFolder))) return;
    std::string earlier;
    try {
        earlier = ReadRecord(gameFolder).Operation;
    } catch (const Exception& error) {
        earlier = error.Message();
    }
    throw Exception("Nothing was changed: " + operation + " waits until " + earlier +
                    ", which did not finish, is put back. Close Tovarin and start it again (or run any tovarin-cli "
                    "command) to put it back");
}

// The guard of the folder: a file named by the record that stands is not changed until it is put back.
void RefuseChangeOfRecordedFile(const std::string& gameFolder, const std::string& path) {
    if (ActiveChanges() > 0 || !path.starts_with(gameFolder) || !FileExists(RecordPath(gameFolder))) return;
    std::string why;
    try {
        const ChangeRecord record = ReadRecord(gameFolder);
        if (!Names(record, NameIn(gameFolder, path))) return;
        why = record.Operation + " did not finish, and its files are not all put back yet";
    } catch (const Exception& error) {
        why = error.Message();  // a record that cannot be read may name any file
    }
    throw Exception(path + " was not changed: " + why +
                    ". Close Tovarin and start it again (or run any tovarin-cli command) to put them back first");
}

}  // namespace

FileChangeSet::FileChangeSet(std::string gameFolder, std::string operation)
    : gameFolder_(std::move(gameFolder)), operation_(std::move(operation)) {}

FileChangeSet::Step& FileChangeSet::StepFor(const std::string& path) {
    const std::string name = NameIn(gameFolder_, path);
    const auto [found, added] = stepByName_.try_emplace(NameKey(name), steps_.size());
    if (!added) return steps_[found->second];
    return steps_.emplace_back(Step{name, [](const Content& before) { return before; }});
}

void FileChangeSet::Replace(const std::string& path, std::vector<std::uint8_t> bytes) {
    StepFor(path).After = [bytes = std::move(bytes)](const Content&) { return Content(bytes); };
}

void FileChangeSet::Remove(const std::string& path) {
    StepFor(path).After = [](const Content&) { return Content(); };
}

void FileChangeSet::EditIni(const std::string& path, std::function<void(const TIniFile& copy)> edit) {
    Step& step = StepFor(path);
    step.After = [path, edit = std::move(edit), earlier = std::move(step.After)](const Content& before) {
        return EditedCopy(path, earlier(before), edit);
    };
}

std::vector<std::string> FileChangeSet::Commit() {
    // The files are read, and their record written, by the folder's one writer: read before the lock, a file could
    // still change under another Tovarin's hands.
    LockBeforeChange(RecordPath(gameFolder_));
    RefuseWhileARecordStands(gameFolder_, operation_);
    ChangeRecord record{operation_, 0, {}};
    std::vector<std::string> staged;
    std::vector<Content> after;
    for (const Step& step : steps_) staged.push_back(step.Name);
    for (const Step& step : steps_) {
        try {
            Content before = BytesNow(gameFolder_ + step.Name);
            Content wanted = step.After(before);
            if (wanted == before) continue;
            record.Files.push_back({step.Name, std::move(before)});
            after.push_back(std::move(wanted));
        } catch (const Exception& failure) {
            throw Exception(Named(step.Name, failure) + ". " + OutcomeText({staged, {}, true}, operation_));
        }
    }
    std::vector<std::string> names;
    for (const RecordedFile& file : record.Files) names.push_back(file.Name);
    if (names.empty()) return names;

    const ActiveChange active;
    std::size_t touched = 0;  // the files that may have changed
    std::string failing = kChangeRecordName;
    try {
        // The record is written once, every step counted as started before the first file changes, so a put-back
        // never misses one. Writing it again before each file would write every file's bytes once per file, which
        // for a whole fleet is most of the time; a file whose step is counted but was not reached yet is put back
        // with the bytes it still holds.
        record.Started = record.Files.size();
        ReplaceWholeFile(RecordPath(gameFolder_), RecordBytes(record));
        // Each folder is flushed once after its files are in place, not after each file: until the record goes,
        // a power cut that loses a rename puts every file back.
        FolderFlushes flushes;
        for (std::size_t i = 0; i < record.Files.size(); ++i) {
            failing = record.Files[i].Name;
            try {
                PutInPlace(gameFolder_ + failing, after[i]);
            } catch (const EReplacedNotFlushed&) {
                touched = i + 1;  // the one failure that comes after the file changed
                throw;
            }
            touched = i + 1;
        }
        failing = record.Files.back().Name;
        flushes.Flush();
        RemoveRecord(gameFolder_);
    } catch (const Exception& failure) {
        // Without a record on the disk nothing was changed, and there is nothing to put back.
        const PutBackOutcome outcome = PutBack(gameFolder_, record, touched);
        throw Exception(Named(failing, failure) + ". " + OutcomeText(outcome, operation_));
    }
    return names;
}

std::optional<std::string> RecoverUnfinishedChange(const std::string& gameFolder) {
    SetChangeGuard([gameFolder](const std::string& path) { RefuseChangeOfRecordedFile(gameFolder, path); });
    if (!FileExists(RecordPath(gameFolder))) {
        RemoveOurTemporaries(gameFolder);
        return std::nullopt;
    }
    const ChangeRecord record = ReadRecord(gameFolder);
    const ActiveChange active;
    const PutBackOutcome outcome = PutBack(gameFolder, record, record.Started);
    const std::string what = record.Operation + " did not finish when Tovarin last ran";
    if (!outcome.NotPutBack.empty()) throw Exception(what + ": " + NotPutBackText(outcome, record.Operation));
    if (!outcome.RecordRemoved) {
        throw Exception(what + ": " + AsTheyWereText(outcome.AsTheyWere) + ", but its record " +
                        RecordPath(gameFolder) + " could not be removed");
    }
    RemoveOurTemporaries(gameFolder);
    return what + ", so its files were put back: " + AsTheyWereText(outcome.AsTheyWere);
}

}  // namespace tovarin
