#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// The window's undo and redo: each step is one action of the player that changed game files (a save, a swap, a
// restore, an apply), holding every file's bytes from before and after it. Undoing a step gives each file its
// bytes from before again, all of them as one change of several files (gamefiles/file_change_set.h); redoing it
// gives them their bytes from after. A file that another program changed since (it no longer holds what the step
// left in it) is never written over: the undo is refused, naming it. The steps live in memory for one run.
namespace tovarin {

using FileContent = std::optional<std::vector<std::uint8_t>>;  // none: no file

struct UndoStep {
    struct File {
        std::string Path;  // the full path
        std::string Name;  // relative to the game folder, with backslashes, for messages
        FileContent Before;
        FileContent After;
    };
    std::string Name;  // what the player did, as the buttons name it: "save of Kestrel"
    std::vector<File> Files;
};

// The caption of the Undo or Redo button, naming its step: "Undo save of Kestrel (&Z)" ("Undo (&Z)" when there is
// none). Its letter is the one of its Ctrl key, as every other letter is some control's already.
[[nodiscard]] std::string UndoCaption(const UndoStep* step, bool redo);
// What undoing or redoing the step did, for the player to read: "Save of Kestrel undone".
[[nodiscard]] std::string UndoOutcomeText(const UndoStep& step, bool redo);

class UndoHistory {
public:
    // The oldest steps beyond this many are forgotten.
    static constexpr std::size_t kMostSteps = 100;

    // A new step; the steps undone before it can no longer be redone.
    void Add(UndoStep step);
    // The step Undo undoes and the one Redo redoes; nullptr when there is none.
    [[nodiscard]] const UndoStep* ToUndo() const { return done_.empty() ? nullptr : &done_.back(); }
    [[nodiscard]] const UndoStep* ToRedo() const { return undone_.empty() ? nullptr : &undone_.back(); }
    // How many steps were ever added, so that a caller can tell whether an action made one.
    [[nodiscard]] std::size_t Added() const { return added_; }

    // Puts back the files of the step to undo (or to redo) in the game folder (with its trailing separator), whole
    // or not at all, and moves the step to the other side. Throws an Exception, with nothing changed, when a file
    // was changed since by another program, or when the change of files fails.
    void Undo(const std::string& gameFolder);
    void Redo(const std::string& gameFolder);

    // Drops every step.
    void Forget();

    // Runs after every change of the steps (added, undone, redone).
    std::function<void()> OnChange;

private:
    void Changed() const;

    std::deque<UndoStep> done_;
    std::vector<UndoStep> undone_;
    std::size_t added_ = 0;
};

// Held for the length of one action of the player: notes each file of the game folder the action is about to
// change (through the change recorder, gamefiles/change_hook.h) with its bytes from before, and at its end adds a
// step of every file whose bytes differ to the history. The kept originals, the change record and temporary files
// are the program's own and no part of a step. An action inside another (a save on "Save changes to ...?" before
// an apply) is part of the outer one.
class ChangeRecording {
public:
    ChangeRecording(UndoHistory& history, std::string gameFolder, std::string name);
    ~ChangeRecording();
    ChangeRecording(const ChangeRecording&) = delete;
    ChangeRecording& operator=(const ChangeRecording&) = delete;

    // Names the step once the action knows what it did ("apply of 3 mods").
    void Rename(std::string name) { step_.Name = std::move(name); }

private:
    void Note(const std::string& path);

    UndoHistory* history_;  // nullptr inside another recording
    bool unreadable_ = false;
    std::string gameFolder_;
    UndoStep step_;
    std::unordered_map<std::string, std::size_t> byKey_;
};

}  // namespace tovarin
