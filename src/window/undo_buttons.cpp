#include <string>

#include "gamefiles/errors.h"
#include "gamefiles/folder_lock.h"
#include "window/form1.h"

// Undo and Redo at the bottom of the window, and their keys: each takes back (or makes again) the newest change the
// window made to the game's files (window/undo_history.h), then shows every tab as the files now are.
namespace tovarin {

namespace {

constexpr int kModsPage = 5;

}  // namespace

ChangeRecording TForm1::RecordStep(std::string name) { return ChangeRecording(History, GameFolder, std::move(name)); }

void TForm1::ShowUndoButtons() {
    Undo.SetCaption(UndoCaption(History.ToUndo(), false));
    Undo.SetEnabled(History.ToUndo() != nullptr);
    Redo.SetCaption(UndoCaption(History.ToRedo(), true));
    Redo.SetEnabled(History.ToRedo() != nullptr);
}

void TForm1::UndoClick() { UndoOrRedo(false); }

void TForm1::RedoClick() { UndoOrRedo(true); }

bool TForm1::FormShortCut(char key, bool shift) {
    if (key != 'Z' && key != 'Y') return false;
    UndoOrRedo(key == 'Y' || shift);
    return true;
}

// The tabs are loaded again afterwards, so unsaved edits are asked about first, as on leaving an item. Yes saves
// them, and that save is then the newest change: the undo stops there rather than take back what the player just
// chose to keep (and a redo has nothing left to redo after a new change).
void TForm1::UndoOrRedo(bool redo) {
    const UndoStep* step = redo ? History.ToRedo() : History.ToUndo();
    if (step == nullptr) return;
    const std::size_t added = History.Added();
    if (!MayLeaveEveryItem() || History.Added() != added) return;
    const std::string outcome = UndoOutcomeText(*step, redo);
    {
        // The check that each file still holds what the step left, and the put-back, by the folder's one writer.
        const GameFolderLock lock(GameFolder);
        if (redo) {
            History.Redo(GameFolder);
        } else {
            History.Undo(GameFolder);
        }
    }
    ShowStatus(outcome);
    try {
        ReloadEveryTab();
        if (PageControl1.ActivePageIndex() == kModsPage) ShowMods();
    } catch (const Exception& error) {
        throw EChangedButNotReadBack(outcome, error);
    }
}

}  // namespace tovarin
