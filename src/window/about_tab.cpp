#include <optional>
#include <string>
#include <vector>

#include "gamefiles/file_change_set.h"
#include "gamefiles/folder_lock.h"
#include "installation/installation.h"
#include "mods/load_order.h"
#include "mods/mod_folder.h"
#include "ui/platform.h"
#include "window/form1.h"

// "Restore &Original Files..." on the About page: every game file Tovarin changed goes back to the original kept
// in "Tovarin Backup" before its first change, and every mod is switched off: the game then holds none of their
// values.
namespace tovarin {

namespace {

std::string ModsOff() { return std::string("Every mod in \"") + kModsFolderName + "\" "; }

std::string Question(std::size_t differing, bool modsInPlay) {
    const std::string kept = std::string(" kept in \"") + kBackupFolderName + "\". ";
    const std::string mods = modsInPlay ? " " + ModsOff() + "is switched off too." : "";
    if (differing == 1) {
        return "1 game file differs from its original" + kept +
               "Put the original back? Every change Tovarin made to it is undone." + mods;
    }
    return std::to_string(differing) + " game files differ from their originals" + kept +
           "Put the originals back? Every change Tovarin made to them is undone." + mods;
}

// One file a line; a restore of thousands names the first few and counts the rest.
std::string Listed(const std::vector<std::string>& files) {
    const std::size_t named = files.size() > kFilesNamedInAList + 1 ? kFilesNamedInAList : files.size();
    std::string text;
    for (std::size_t i = 0; i < named; ++i) text += "\n    " + files[i];
    if (named < files.size()) text += "\n    and " + std::to_string(files.size() - named) + " more";
    return text;
}

// What the restore did, file by file: put back and removed.
std::string Outcome(const RestoreReport& report, bool entriesAdded, bool modsOff) {
    std::string text = modsOff ? ModsOff() + "was switched off." : "";
    if (!report.PutBack.empty()) text += "\nOriginals put back:" + Listed(report.PutBack);
    if (!report.Removed.empty()) text += "\nRemoved, as Tovarin had created them:" + Listed(report.Removed);
    if (entriesAdded) {
        text +=
            "\nShips\\switch.dat was given an entry for every ship again, as at every start of Tovarin: a ship "
            "without one cannot be shown.";
    }
    return text.starts_with('\n') ? text.substr(1) : text;
}

}  // namespace

void TForm1::ReloadEveryTab() {
    const int left = ListBox4.ItemIndex();
    const int right = ListBox5.ItemIndex();
    BuildSwitcherLists();
    ListBox4.SetItemIndex(left);
    ListBox5.SetItemIndex(right);
    ComboBox4Change();
    ComboBox5Change();
    if (PageControl1.ActivePageIndex() == kFleetPage) ShowFleet();
    // The gun slot table is read again only once the "Add/Remove Guns" tab has read it; that loads the ship too.
    ComboBox6.SetItemIndex(ComboBox1.ItemIndex());
    if (Button14.Enabled()) {
        ComboBox6Change();
    } else {
        ComboBox1Change();
    }
}

void TForm1::Button15Click() {
    const OriginalsBackup backup = BackupOf(GameFolder, Catalogue);
    const std::vector<KeptFile> kept = backup.Status();
    std::vector<std::string> differing;
    for (const KeptFile& file : kept) {
        if (file.Differs()) differing.push_back(file.File);
    }
    if (differing.empty()) {
        GetPlatform().ShowMessage(kept.empty() ? "Tovarin has not changed any game file yet."
                                               : "Every game file Tovarin changed is as its original.");
        return;
    }
    const std::string mods = GameFile(kModsFolderName);
    const bool modsInPlay = ModsInPlay(mods);
    if (!GetPlatform().AskYesNo(Question(differing.size(), modsInPlay))) return;
    std::optional<GameFolderLock> lock(GameFolder);  // the put-back and the entries, by the folder's one writer
    const ChangeRecording step = RecordStep("restore of the original files");
    const RestoreReport report = backup.Restore(differing, [&](FileChangeSet& changes) {
        if (modsInPlay) SwitchEveryModOff(mods, changes);
    });
    const bool entriesAdded = AddMissingIdentityEntries(SwitchFile, CatalogueShips(Catalogue));
    lock.reset();
    const std::string outcome = Outcome(report, entriesAdded, modsInPlay);
    ShowStatus("Original files restored: " + std::to_string(differing.size()) +
               (differing.size() == 1 ? " file (" + differing.front() + ")" : " files"));
    try {
        ReloadEveryTab();
    } catch (...) {
        GetPlatform().ShowMessage(outcome);  // what was put back is said before the reload's own error
        throw;
    }
    GetPlatform().ShowMessage(outcome);
}

}  // namespace tovarin
