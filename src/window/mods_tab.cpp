#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "gamefiles/errors.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/folder_lock.h"
#include "gamefiles/folders.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/whole_files.h"
#include "mods/load_order.h"
#include "mods/mod_installation.h"
#include "mods/mod_library.h"
#include "mods/mod_list_file.h"
#include "mods/mod_updating.h"
#include "mods/mods_overview.h"
#include "sheets/refusal.h"
#include "ui/platform.h"
#include "window/form1.h"

// The "Mods" page: the load order of "Tovarin Mods" as a list, each mod switched on or off, moved, added or
// removed, the conflicts of the switched-on mods, and Apply. It does and says what "tovarin-cli mods" does, through
// the same functions.
namespace tovarin {

namespace {

// "[on and applied]  Faster Fighters 1.0 by Ann: 2 ships, 1 gun - Faster interceptors"
std::string Row(const Mod& mod, const ModShown& shown) {
    std::string row = "[" + shown.State + "]  " + shown.Name;
    if (!mod.Info.Version.empty()) row += " " + mod.Info.Version;
    if (!mod.Info.Author.empty()) row += " by " + mod.Info.Author;
    row += ": " + shown.Changes;
    if (!mod.Info.Description.empty()) row += " - " + mod.Info.Description;
    return row;
}

// What the page says while it lists no mod.
const std::vector<std::string> kNoModsText{
    "A mod is a folder of changes to the ships, guns and missiles, made by a player to share: sheets as "
    "\"export\" writes them, and a mod.ini that says who made it.",
    std::string("Mods go in the folder \"") + kModsFolderName +
        "\" in the game folder: unpack one there, or choose Add... here.",
    "To make one of your own changes, choose \"Make a mod from my changes\" on the Fleet page, or run "
    "\"tovarin-cli mods make NAME --from-changes\".",
};

// Runs a step on the installation as the mods see it; the command line's refusals are the window's errors.
void AsWindowStep(const std::function<void()>& step) {
    try {
        step();
    } catch (const Refusal& refusal) {
        std::string message = refusal.what();
        if (message.ends_with('.')) message.pop_back();  // the error box ends it with its own full stop
        throw Exception(message);
    }
}

ModInstallation ModsView(const TForm1& form) {
    return ModInstallation(FleetOf({form.GameFolder, form.Catalogue, form.SwitchFile}));
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
    return text;
}

// The mod a file chosen in the dialog belongs to: the folder of a mod.ini, or of a sheet that lies beside one;
// any other sheet is a mod of its own.
std::string ModPathOf(const std::string& chosen) {
    std::string folder = FolderOf(chosen);
    if (!folder.empty()) folder.pop_back();  // without its separator
    const std::vector<std::string> files = ModFilesIn(folder);
    return !files.empty() && SameModName(files.front(), kModFileName) ? folder : chosen;
}

std::string LastPart(const std::string& path) { return path.substr(FolderOf(path).size()); }

}  // namespace

void TForm1::ShowMods() {
    AsWindowStep([this] {
        const ModsOverview overview = OverviewOf(ModsView(*this));
        const int selected = ListBox6.ItemIndex();
        ListBox6.Items().clear();
        for (std::size_t i = 0; i < overview.Mods.size(); ++i) {
            ListBox6.Items().push_back(Row(overview.Mods[i], overview.Shown[i]));
        }
        ModsNotAppliedYet = overview.NotApplied;
        Memo3.Lines().clear();
        GroupBox11.SetCaption(overview.Mods.empty() ? "No mods yet" : "Conflicts");
        if (overview.Mods.empty()) Memo3.Lines() = kNoModsText;
        if (overview.NotApplied) {
            Memo3.Lines().push_back("Not applied yet: the game holds the mods as they were at the last Apply.");
        }
        for (const std::string& problem : overview.Problems) Memo3.Lines().push_back(problem);
        for (const std::string& line : overview.OtherOriginals) Memo3.Lines().push_back(line);
        for (const Conflict& conflict : overview.Conflicts) Memo3.Lines().push_back(ConflictLine(conflict));
        if (Memo3.Lines().empty()) Memo3.Lines().push_back("None: no two switched-on mods set a value differently.");
        const int last = static_cast<int>(overview.Mods.size()) - 1;
        ListBox6.SetItemIndex(std::min(std::max(selected, 0), last));
    });
    ListBox6Click();
}

// Closing with mods switched or moved since the last Apply leaves the game without them: asked as unsaved edits are.
bool TForm1::MayLeaveModsUnapplied() {
    bool pending = false;
    try {
        pending = OverviewOf(ModsView(*this)).NotApplied;
    } catch (const std::exception&) {
        return true;  // a game that cannot be read has nothing to apply to: closing loses nothing of the mods
    }
    if (!pending) return true;
    switch (
        GetPlatform().AskYesNoCancel("The mods are not applied yet: the game holds them as they were at the "
                                     "last Apply. Apply them now?")) {
        case Platform::Answer::No:
            return true;
        case Platform::Answer::Cancel:
            return false;
        case Platform::Answer::Yes:
            break;
    }
    try {
        Button20Click();
    } catch (const Exception& error) {
        GetPlatform().ShowError(ErrorText(error));
        return false;
    }
    return !ModsNotAppliedYet;
}

void TForm1::ListBox6Click() {
    const ModLibrary library(GameFile(kModsFolderName));
    const int index = ListBox6.ItemIndex();
    const bool chosen = index >= 0 && static_cast<std::size_t>(index) < library.Mods().size();
    CheckBox4.SetEnabled(chosen);
    Button16.SetEnabled(chosen && index > 0);
    Button17.SetEnabled(chosen && static_cast<std::size_t>(index) + 1 < library.Mods().size());
    Button19.SetEnabled(chosen);
    CheckBox4.SetChecked(chosen && library.Mods()[static_cast<std::size_t>(index)].On);
}

void TForm1::CheckBox4Click() {
    const GameFolderLock lock(GameFolder);  // the load order is read and written by the folder's one writer
    ModLibrary library(GameFile(kModsFolderName));
    const int index = ListBox6.ItemIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= library.Mods().size()) return;
    const Mod& mod = library.Mods()[static_cast<std::size_t>(index)];
    if (mod.On == CheckBox4.Checked()) return;  // set from code to what the mod is
    const ChangeRecording step = RecordStep("switch of " + mod.Info.Name + (CheckBox4.Checked() ? " on" : " off"));
    if (CheckBox4.Checked()) {
        std::string problem;
        AsWindowStep([&] { problem = WhyItCannotBeOn(ModsView(*this), mod); });
        if (!problem.empty()) {
            CheckBox4.SetChecked(false);
            GetPlatform().ShowMessage(mod.Info.Name + " cannot be switched on: " + problem);
            return;
        }
    }
    library.Switch(static_cast<std::size_t>(index), CheckBox4.Checked());
    ShowMods();
}

void TForm1::Button16Click() {
    const GameFolderLock lock(GameFolder);  // the load order is read and written by the folder's one writer
    const int index = ListBox6.ItemIndex();
    ModLibrary library(GameFile(kModsFolderName));
    if (index <= 0 || static_cast<std::size_t>(index) >= library.Mods().size()) return;
    const ChangeRecording step =
        RecordStep("move of " + library.Mods()[static_cast<std::size_t>(index)].Info.Name + " up");
    library.Move(static_cast<std::size_t>(index), static_cast<std::size_t>(index - 1));
    ListBox6.SetItemIndex(index - 1);
    ShowMods();
}

void TForm1::Button17Click() {
    const GameFolderLock lock(GameFolder);
    ModLibrary library(GameFile(kModsFolderName));
    const int index = ListBox6.ItemIndex();
    if (index < 0 || static_cast<std::size_t>(index) + 1 >= library.Mods().size()) return;
    const ChangeRecording step =
        RecordStep("move of " + library.Mods()[static_cast<std::size_t>(index)].Info.Name + " down");
    library.Move(static_cast<std::size_t>(index), static_cast<std::size_t>(index + 1));
    ListBox6.SetItemIndex(index + 1);
    ShowMods();
}

void TForm1::Button18Click() {
    OpenDialog2.InitialDir = GameFolder;
    if (!GetPlatform().ExecuteDialog(OpenDialog2)) return;
    const std::string path = ModPathOf(OpenDialog2.FileName);
    const std::optional<Mod> found = ReadMod(path, LastPart(path));
    if (!found) throw Exception(path + " is not a mod: choose its mod.ini, or a sheet (.csv)");
    std::optional<GameFolderLock> lock(GameFolder);
    std::string problem;
    AsWindowStep([&] { problem = WhyItCannotBeOn(ModsView(*this), *found); });
    ModLibrary library(GameFile(kModsFolderName));
    if (const std::optional<std::size_t> updated = library.UpdatedBy(*found)) {
        std::vector<std::string> lines;
        AsWindowStep([&] { lines = UpdateMod(ModsView(*this), library, *updated, *found, path); });
        ShowMods();
        ListBox6.SetItemIndex(static_cast<int>(*updated));
        ListBox6Click();
        GetPlatform().ShowMessage(Joined(lines));
        return;
    }
    library.Add(*found, path, problem.empty());
    lock.reset();
    ShowMods();
    ListBox6.SetItemIndex(static_cast<int>(ListBox6.Items().size()) - 1);  // the mod added, last
    ListBox6Click();
    if (!problem.empty()) {
        GetPlatform().ShowMessage(found->Info.Name + " was added switched off: it cannot be switched on: " + problem);
    }
}

void TForm1::Button19Click() {
    ModLibrary library(GameFile(kModsFolderName));
    const int index = ListBox6.ItemIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= library.Mods().size()) return;
    const std::string name = library.Mods()[static_cast<std::size_t>(index)].Info.Name;
    if (!GetPlatform().AskYesNo("Remove " + name + "? Its files are deleted from the folder \"" + kModsFolderName +
                                "\", and Apply then takes its values out of the game.")) {
        return;
    }
    const GameFolderLock lock(GameFolder);
    library.Remove(static_cast<std::size_t>(index));
    ShowMods();
}

// As "tovarin-cli mods apply": an editor's unsaved changes are saved first when the player says so, and stay on
// top as the player's own.
void TForm1::Button20Click() {
    if (!MayLeaveEveryItem()) return;
    ChangeRecording step = RecordStep("apply of the mods");
    std::vector<std::string> report;
    std::size_t applied = 0;
    AsWindowStep([&] {
        const GameFolderLock lock(GameFolder);  // what the apply reads and writes, by the folder's one writer
        const ModInstallation game = ModsView(*this);
        std::vector<Mod> mods = InstalledMods(game.ModsFolder());
        const std::vector<ModValues> values = CheckMods(game, mods);
        const std::vector<ModValues> on = SwitchedOn(mods, values);
        applied = on.size();
        step.Rename("apply of " + std::to_string(on.size()) + (on.size() == 1 ? " mod" : " mods"));
        const ApplyPlan plan = game.PlanApply(on, false);
        (void)CommitApply(game, plan);
        report = ApplyReport(plan, false);
    });
    ShowStatus(std::to_string(applied) + (applied == 1 ? " mod" : " mods") + " of " + kModsFolderName +
               " applied over the original files");
    try {
        ReloadEveryTab();
    } catch (...) {
        GetPlatform().ShowMessage(Joined(report));  // what was applied is said before the reload's own error
        throw;
    }
    ShowMods();
    GetPlatform().ShowMessage(Joined(report));
}

void TForm1::Button21Click() {
    SaveDialog2.InitialDir = GameFolder;
    if (!GetPlatform().ExecuteDialog(SaveDialog2)) return;
    std::string bytes;
    AsWindowStep([&] {
        const ModInstallation game = ModsView(*this);
        bytes = ModListFileBytes(game, InstalledMods(game.ModsFolder()));
    });
    try {
        ReplaceWholeFile(SaveDialog2.FileName, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    } catch (const Exception& error) {
        throw Exception(SaveDialog2.FileName + ": " + error.Message());
    }
    GetPlatform().ShowMessage("The load order was written to " + SaveDialog2.FileName + ".");
}

// As "tovarin-cli mods import-list": nothing changes while a listed mod is missing or another copy, unless the
// player says to set the order of those that are here.
void TForm1::Button22Click() {
    OpenDialog3.InitialDir = GameFolder;
    if (!GetPlatform().ExecuteDialog(OpenDialog3)) return;
    ListImport plan;
    AsWindowStep([&] {
        const ModInstallation game = ModsView(*this);
        plan = PlanListImport(game, ReadModList(OpenDialog3.FileName, OpenDialog3.FileName),
                              InstalledMods(game.ModsFolder()));
    });
    std::vector<std::string> said = plan.Notes;
    if (!plan.Problems.empty() &&
        !GetPlatform().AskYesNo("The list's mods are not all here as listed:\n" + Joined(plan.Problems) +
                                "\nSet the order of those that are here anyway?")) {
        return;
    }
    WriteLoadOrder(GameFile(kModsFolderName), plan.Order);
    ShowMods();
    said.push_back("The load order was set from " + OpenDialog3.FileName + ": Apply puts it into the game.");
    GetPlatform().ShowMessage(Joined(said));
}

}  // namespace tovarin
