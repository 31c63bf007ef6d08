#include <string>
#include <vector>

#include "installation/installation.h"
#include "ui/platform.h"
#include "window/form1.h"

// "Restore &Original Files..." on the About page: every game file Tovarin changed goes back to the original kept
// in "Tovarin Backup" before its first change.
namespace tovarin {

namespace {

std::string Question(std::size_t differing) {
    const std::string kept = std::string(" kept in \"") + kBackupFolderName + "\". ";
    if (differing == 1) {
        return "1 game file differs from its original" + kept +
               "Put the original back? Every change Tovarin made to it is undone.";
    }
    return std::to_string(differing) + " game files differ from their originals" + kept +
           "Put the originals back? Every change Tovarin made to them is undone.";
}

std::string Listed(const std::vector<std::string>& files) {
    std::string text;
    for (const std::string& file : files) text += "\n    " + file;
    return text;
}

// What the restore did, file by file: put back and removed.
std::string Outcome(const RestoreReport& report, bool entriesAdded) {
    std::string text;
    if (!report.PutBack.empty()) text += "Originals put back:" + Listed(report.PutBack);
    if (!report.Removed.empty()) text += "\nRemoved, as Tovarin had created them:" + Listed(report.Removed);
    if (entriesAdded) {
        text +=
            "\nShips\\switch.dat was given an entry for every ship again, as at every start of Tovarin: a ship "
            "without one cannot be shown.";
    }
    return text.starts_with('\n') ? text.substr(1) : text;
}

// Every tab shows the files as they are now, with the same choices as before.
void ReloadEveryTab(TForm1& form) {
    const int left = form.ListBox4.ItemIndex();
    const int right = form.ListBox5.ItemIndex();
    form.BuildSwitcherLists();
    form.ListBox4.SetItemIndex(left);
    form.ListBox5.SetItemIndex(right);
    form.ComboBox4Change();
    form.ComboBox5Change();
    // The gun slot table is read again only once the "Add/Remove Guns" tab has read it; that loads the ship too.
    form.ComboBox6.SetItemIndex(form.ComboBox1.ItemIndex());
    if (form.Button14.Enabled()) {
        form.ComboBox6Change();
    } else {
        form.ComboBox1Change();
    }
}

}  // namespace

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
    if (!GetPlatform().AskYesNo(Question(differing.size()))) return;
    const RestoreReport report = backup.Restore(differing);
    const bool entriesAdded = AddMissingIdentityEntries(SwitchFile, CatalogueShips(Catalogue));
    const std::string outcome = Outcome(report, entriesAdded);
    try {
        ReloadEveryTab(*this);
    } catch (...) {
        GetPlatform().ShowMessage(outcome);  // what was put back is said before the reload's own error
        throw;
    }
    GetPlatform().ShowMessage(outcome);
}

}  // namespace tovarin
