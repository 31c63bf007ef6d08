#include <gtest/gtest.h>

#include <sstream>

#include "cli/command_line.h"
#include "gamefiles/originals_backup.h"
#include "ships/ship_session.h"
#include "testkit/fault_walk.h"

// The originals of the game files, kept before their first change, and put back: on the demo installation, through
// every path that writes a game file.
namespace tovarin::testkit {
namespace {

using Change = std::function<void(TForm1&, HeadlessPlatform&, int round)>;

void SaveShip(TForm1& f, HeadlessPlatform&, int round) {
    UserInput::Choose(f.ComboBox1, 0);
    UserInput::Toggle(f.CheckBox1);  // autoslide
    UserInput::Toggle(f.CheckBox2);  // booster
    UserInput::Type(f.Edit29, std::to_string(1000 + round));
    UserInput::Click(f.Button2);
}
void SaveGun(TForm1& f, HeadlessPlatform&, int round) {
    UserInput::Type(f.Edit30, std::to_string(900 + round));
    UserInput::Click(f.Button7);
}
void SaveMissile(TForm1& f, HeadlessPlatform&, int round) {
    UserInput::Type(f.Edit37, std::to_string(700 + round));
    UserInput::Click(f.Button8);
}
void SaveGunSlots(TForm1& f, HeadlessPlatform&, int) {
    UserInput::ShowPage(f.PageControl1, 1);
    UserInput::Click(f.Button13);
    UserInput::Click(f.Button14);
}
// The first round swaps the first two ships, the second parts them again.
void Swap(TForm1& f, HeadlessPlatform&, int) {
    UserInput::Select(f.ListBox4, 0);
    UserInput::Select(f.ListBox5, 1);
    UserInput::Click(f.Button10);
}

constexpr const char* kBackup = "Tovarin Backup/";

// The files below the backup folder, named relative to it; or the installation without them, the archive and its
// uninstall record, which "/u" restores, and the temporary file through which ship files are rebuilt.
FolderFiles Files(const TempGameFolder& game, bool kept) {
    FolderFiles files;
    for (const auto& [name, bytes] : ReadFolder(game.Folder())) {
        const bool backup = name.starts_with(kBackup);
        if (kept && backup) files[name.substr(std::string(kBackup).size())] = bytes;
        if (!kept && !backup && name != "data.tre" && name != "uninstall.dat" && name != "Ships/tempfgtr.if~")
            files[name] = bytes;
    }
    return files;
}
FolderFiles Backup(const TempGameFolder& game) { return Files(game, true); }
FolderFiles Installed(const TempGameFolder& game) { return Files(game, false); }

// Through each writing path, the first change keeps exactly the files it changes, each as it was before; the
// second keeps nothing more; the command line's restore gives back every file byte for byte and removes the switch
// file the start-up created.
TEST(OriginalsBackup, EveryWritingPathKeepsEachOriginalOnceAndRestoreGivesItBack) {
    const auto importProfiles = [](TForm1& f, HeadlessPlatform& platform, int round) {
        UserInput::Choose(f.ComboBox1, 0);
        platform.FileChoices.push_back(f.GameFile("Ships\\kestrel.def"));
        UserInput::Click(round == 1 ? f.Button9 : f.Button5);  // restore defaults, then import a profile
        UserInput::Click(f.Button2);
    };
    const auto withoutSableEntry = [](TempGameFolder& g) {
        g.SwitchEntries.pop_back();
        g.SetSwitchEntry("Kestrel", "Kestrel");
    };
    const auto nothing = [](TForm1&, HeadlessPlatform&, int) {};
    const struct {
        std::string Name;
        std::function<void(TempGameFolder&)> Prepare;  // the installation before the program starts, if not the demo
        Change Changes;                                // run twice
        std::vector<std::string> Kept;                 // what the backup folder then holds
    } paths[] = {
        {"ship save with autoslide and booster", nullptr, SaveShip, {"Ships/kestrel.iff"}},
        {"restore defaults and profile import, saved", nullptr, importProfiles, {"Ships/kestrel.iff"}},
        {"gun editor", nullptr, SaveGun, {"Game/bullet.iff"}},
        {"missile editor", nullptr, SaveMissile, {"Game/missile.iff"}},
        {"gun slot save", nullptr, SaveGunSlots, {"Ships/kestrel.iff", "vskinfo.dat"}},
        {"swap and swap back", nullptr, Swap, {"Ships/kestrel.iff", "Ships/switch.dat", "Ships/warden.iff"}},
        {"start-up identity entry", withoutSableEntry, nothing, {"Ships/switch.dat"}},
        {"start-up without a switch file",
         [](TempGameFolder& g) { g.Remove("Ships\\switch.dat"); },
         nothing,
         {"notes.ini"}},
    };
    for (const auto& path : paths) {
        SCOPED_TRACE(path.Name);
        TempGameFolder game;
        demo::WriteDemoInstallation(game);
        if (path.Prepare) path.Prepare(game);
        const FolderFiles fresh = Installed(game);
        {
            ProgramRun run(game, {true});  // the archive patch is installed when offered
            path.Changes(run.Form(), run.Platform, 1);
            const FolderFiles kept = Backup(game);
            std::vector<std::string> names;
            for (const auto& [name, bytes] : kept) {
                names.push_back(name);
                EXPECT_TRUE(name == "notes.ini" || (fresh.contains(name) && bytes == fresh.at(name))) << name;
            }
            EXPECT_EQ(names, path.Kept);
            path.Changes(run.Form(), run.Platform, 2);
            EXPECT_EQ(Backup(game), kept);
            for (const auto& box : run.Platform.Boxes)
                EXPECT_NE(box.kind, HeadlessPlatform::Box::Kind::Error) << box.text;
        }
        std::ostringstream out, err;
        EXPECT_EQ(cli::RunCommandLine({"--game", game.Folder(), "restore", "--all"}, out, err), 0);
        EXPECT_TRUE(Installed(game) == fresh);
    }
}

// A backup folder that cannot be made (a file stands in its place) or a kept copy that cannot be written (a full
// disk) refuses each change with the file's name, and nothing in the installation changes.
TEST(OriginalsBackup, AnOriginalThatCannotBeKeptRefusesTheChangeNamingTheFile) {
    for (const bool fullDisk : {false, true}) {
#ifdef _WIN32
        if (fullDisk) continue;  // faults are injected into the POSIX file layer only
#endif
        SCOPED_TRACE(fullDisk ? "full disk" : "a file in the backup folder's place");
        TempGameFolder game;
        demo::WriteDemoInstallation(game);
        if (!fullDisk) game.WriteText("Tovarin Backup", "");
        ProgramRun run(game, {true});
        const FolderFiles before = ReadFolder(game.Folder());
        const std::size_t shown = run.Platform.Boxes.size();
        for (const Change& change : {Change(SaveGun), Change(SaveMissile), Change(Swap)}) {
            FaultPlan plan(fullDisk ? std::optional(0) : std::nullopt, {ENOSPC, true});
            plan.OnlyPathsWith = "iff.part~";  // the first is the kept copy's
            change(run.Form(), run.Platform, 1);
        }
        EXPECT_TRUE(ReadFolder(game.Folder()) == before);
        std::vector<std::string> expected = run.Shown();
        expected.resize(shown);
        for (const char* file : {"Game\\bullet.iff", "Game\\missile.iff", "Ships\\kestrel.iff"}) {
            expected.push_back("The original of " + game.PathOf(file) +
                               " could not be kept in the folder \"Tovarin Backup\" (" +
                               (fullDisk ? "Disk full" : "File access denied") + "), so the file was not changed.");
        }
        EXPECT_EQ(run.Shown(), expected);
    }
}

// Edits of every kind, then "Restore Original Files...". With the catalogue marked read-only, the files before and
// after it are put back and the message says which was not; once it can be written, the installation is the fresh
// demo again, and every tab shows it.
TEST(OriginalsBackup, TheRestoreButtonGivesBackTheFreshDemoAfterEditsOfEveryKind) {
    TempGameFolder game;
    demo::WriteDemoInstallation(game);
    const FolderFiles fresh = Installed(game);
    ProgramRun run(game, {true, true, true});
    TForm1& form = run.Form();
    const std::string gunSpeed = form.Edit30.Text();
    for (auto* change : {SaveShip, SaveGun, SaveMissile, SaveGunSlots, Swap}) change(form, run.Platform, 1);
    UserInput::ShowPage(form.PageControl1, 5);
    game.MakeReadOnly("vskinfo.dat");
    UserInput::Click(form.Button15);
    EXPECT_EQ(run.Shown().back(),
              "Originals put back:\n    Ships\\switch.dat\n    Game\\bullet.iff\n    Game\\missile.iff\n    "
              "Ships\\kestrel.iff\n    Ships\\warden.iff\nNot put back: vskinfo.dat (File access denied)");
    std::filesystem::permissions(game.PathOf("vskinfo.dat"), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    UserInput::Click(form.Button15);
    EXPECT_TRUE(Installed(game) == fresh);
    EXPECT_EQ(form.Edit30.Text(), gunSpeed);
    EXPECT_EQ(form.ListBox4.Items().front(), "Kestrel");
    const std::vector<std::string> shown = run.Shown();
    EXPECT_EQ(std::vector(shown.end() - 4, shown.end()),
              (std::vector<std::string>{
                  "6 game files differ from their originals kept in \"Tovarin Backup\". Put the originals "
                  "back? Every change Tovarin made to them is undone.",
                  shown[shown.size() - 3],
                  "1 game file differs from its original kept in \"Tovarin Backup\". Put the original back? Every "
                  "change Tovarin made to it is undone.",
                  "Originals put back:\n    vskinfo.dat"}));
}

}  // namespace
}  // namespace tovarin::testkit
