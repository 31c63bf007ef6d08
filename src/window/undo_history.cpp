#include "window/undo_history.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "gamefiles/change_hook.h"
#include "gamefiles/errors.h"
#include "gamefiles/file_change_set.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/originals_backup.h"
#include "gamefiles/whole_files.h"

namespace tovarin {

namespace {

// Windows ignores case in file names and takes either slash: two spellings of one name are one file.
std::string NameKey(std::string name) {
    for (char& c : name) c = c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

// The kept originals, the record of an unfinished change and the siblings a write puts down first ("~" at the
// end) are the program's own files, not the game's.
bool ProgramsOwn(const std::string& key) {
    return key.starts_with(NameKey(kBackupFolderName) + "\\") || key == NameKey(kChangeRecordName) ||
           key.ends_with('~');
}

FileContent BytesNow(const std::string& path) {
    if (!FileExists(path)) return std::nullopt;
    return ReadWholeFileReadOnly(path);
}

// Gives every file of the step the bytes of one side, after checking that each holds those of the other side.
void PutBack(const std::string& gameFolder, const UndoStep& step, bool redo) {
    const std::string undone = redo ? "redone" : "undone";
    FileChangeSet changes(gameFolder, "the " + std::string(redo ? "redo" : "undo") + " of the " + step.Name);
    for (const UndoStep::File& file : step.Files) {
        if (BytesNow(file.Path) != (redo ? file.Before : file.After)) {
            throw Exception(file.Name + " was changed by another program since the " + step.Name + " was " +
                            (redo ? "undone" : "made") + ": nothing was " + undone);
        }
        const FileContent& wanted = redo ? file.After : file.Before;
        if (wanted) {
            changes.Replace(file.Path, *wanted);
        } else {
            changes.Remove(file.Path);
        }
    }
    changes.Commit();
}

// The recording that notes the files now; a recording inside it adds nothing of its own.
ChangeRecording*& ActiveRecording() {
    static ChangeRecording* active = nullptr;
    return active;
}

}  // namespace

std::string UndoCaption(const UndoStep* step, bool redo) {
    return std::string(redo ? "Redo" : "Undo") + (step != nullptr ? " " + step->Name : "") + (redo ? " (&Y)" : " (&Z)");
}

std::string UndoOutcomeText(const UndoStep& step, bool redo) {
    std::string text = step.Name + (redo ? " redone" : " undone");
    text.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(text.front())));
    return text;
}

void UndoHistory::Add(UndoStep step) {
    undone_.clear();
    done_.push_back(std::move(step));
    if (done_.size() > kMostSteps) done_.pop_front();
    ++added_;
    Changed();
}

void UndoHistory::Undo(const std::string& gameFolder) {
    if (done_.empty()) return;
    PutBack(gameFolder, done_.back(), false);
    undone_.push_back(std::move(done_.back()));
    done_.pop_back();
    Changed();
}

void UndoHistory::Redo(const std::string& gameFolder) {
    if (undone_.empty()) return;
    PutBack(gameFolder, undone_.back(), true);
    done_.push_back(std::move(undone_.back()));
    undone_.pop_back();
    Changed();
}

void UndoHistory::Forget() {
    done_.clear();
    undone_.clear();
    Changed();
}

void UndoHistory::Changed() const {
    if (OnChange) OnChange();
}

ChangeRecording::ChangeRecording(UndoHistory& history, std::string gameFolder, std::string name)
    : history_(ActiveRecording() == nullptr ? &history : nullptr), gameFolder_(std::move(gameFolder)) {
    step_.Name = std::move(name);
    if (history_ == nullptr) return;
    ActiveRecording() = this;
    SetChangeRecorder([this](const std::string& path) { Note(path); });
}

// A file that cannot be read before or after the action leaves it without a step, and the steps before it could
// then no longer be told from what the action did to that file: the history is forgotten rather than put back over
// bytes it does not know.
ChangeRecording::~ChangeRecording() {
    if (history_ == nullptr) return;
    SetChangeRecorder({});
    ActiveRecording() = nullptr;
    try {
        if (unreadable_) throw Exception("a file could not be read");
        for (UndoStep::File& file : step_.Files) file.After = BytesNow(file.Path);
    } catch (...) {
        history_->Forget();
        return;
    }
    std::erase_if(step_.Files, [](const UndoStep::File& file) { return file.Before == file.After; });
    if (!step_.Files.empty()) history_->Add(std::move(step_));
}

// Reads the file before its first change in this action. A file that cannot be read is still changed: the
// player's save matters more than its undo.
void ChangeRecording::Note(const std::string& path) {
    if (!path.starts_with(gameFolder_) || path.size() == gameFolder_.size()) return;
    const std::string name = path.substr(gameFolder_.size());
    const std::string key = NameKey(name);
    if (ProgramsOwn(key) || byKey_.contains(key)) return;
    std::string shown = name;
    std::replace(shown.begin(), shown.end(), '/', '\\');
    try {
        step_.Files.push_back({path, std::move(shown), BytesNow(path), std::nullopt});
    } catch (const Exception&) {
        unreadable_ = true;
    }
    byKey_.emplace(key, step_.Files.size() - 1);
}

}  // namespace tovarin
