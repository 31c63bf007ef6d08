#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/cli_fault_walk.h"
#include "cli/command_line.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/originals_backup.h"
#include "ships/ship_session.h"
#include "testkit/fault_walk.h"

// The start-up on an installation, and the originals of its game files, kept before their first change and put
// back: on the demo installation, through every path that writes a game file.
namespace tovarin::testkit {
namespace {

// A list as the player sees it: its items, then the selected index in brackets.
std::string Shown(const TItemList& list) {
    std::string shown;
    for (const std::string& item : list.Items()) shown += item + ", ";
    return shown + "[" + std::to_string(list.ItemIndex()) + "]";
}

// Without the game or its catalogue, or with a switch file that cannot be read (a folder in its place, which would
// make every ship look unlisted), the program names what is missing and ends with exit code 0: the game's
// executable the catalogue names, the catalogue itself (and where a player gets one), a catalogue that names no
// executable, with neither game's executable present the base game's, or the first ship's file.
TEST(StartupTest, WithoutTheGameOrItsCatalogueTheProgramNamesWhatIsMissingAndEndsWithExitCodeZero) {
    const std::string notFound = " not found. You have to install Tovarin into the folder where VSK is installed!";
    const auto noCatalogue = [](const std::string& catalogue, const std::string& game) {
        return catalogue + " not found: Tovarin needs this catalogue of the game beside " + game +
               ". README.txt in Tovarin's package says where to get it.";
    };
    const struct {
        Edition Game;
        std::string Removed, Named;
    } rows[] = {{Edition::Base, "vantorsk.exe", "vantorsk.exe" + notFound},
                {Edition::Base, "ashfall.exe", "ashfall.exe" + notFound},
                {Edition::Base, "vskinfo.dat", noCatalogue("vskinfo.dat", "ashfall.exe")},
                {Edition::Nightwatch, "nwinfo.dat", noCatalogue("nwinfo.dat", "nightwatch.exe")},
                {Edition::Base, "",
                 "vskinfo.dat names no game executable (the key Run in its section Info): it is "
                 "no catalogue of this game. README.txt in Tovarin's package says where to get one."},
                {Edition::Base, "Ships\\switch.dat",
                 "Couldn't read file {}\n\rPlease consult readme.txt on how to install Tovarin"},
                {Edition::Base, "Ships\\w.iff",
                 "Couldn't find file {}\n\rPlease consult readme.txt on how to install Tovarin"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Named);
        TempGameFolder game(row.Game);
        game.AddShip("Warden", "w.iff", {});
        if (row.Removed == "vantorsk.exe" || row.Removed.empty()) {
            game.SetCatalogueKey("Info", "Run", row.Removed);  // a game the catalogue names that is not there
        } else {
            game.Remove(row.Removed);
        }
        if (row.Removed.ends_with("switch.dat")) std::filesystem::create_directories(game.PathOf(row.Removed));
        ProgramRun run(game);
        EXPECT_EQ(run.Exit, 0);
        std::string named = row.Named;
        if (const auto at = named.find("{}"); at != std::string::npos) named.replace(at, 2, game.PathOf(row.Removed));
        EXPECT_EQ(run.Shown(), std::vector<std::string>{named});
        EXPECT_EQ(run.Platform.Boxes.at(0).kind, HeadlessPlatform::Box::Kind::Message);
    }
}

// Every list holds the catalogue's ships in its order; a swapped ship shows its partner (switch keys ignore case). A
// ship file left empty makes the first ship load stop with an error box, which leaves the lists as start-up built
// them. A switch file that cannot be written does not stop the start: a ship it has no entry for shows as swapped
// with nothing. (A switch file that can be written gets the missing identity entries: see the fresh installation
// and the next start after an unfinished swap.)
TEST(StartupTest, ListsHoldTheCatalogueInItsOrderAndMarkSwappedShips) {
    TempGameFolder game;
    game.SetCatalogueSection({"ships", {{"Warden", "w.iff"}, {"Kestrel", "k.iff"}, {"Bastion", "b.iff"}}});
    game.SetCatalogueNames("Guns", {"Ion Cannon", "Pulse Laser"});
    game.SetCatalogueNames("Missiles", {"Spear FF", "Dart"});
    game.WriteText("Ships\\switch.dat", "[swships]\r\nwarden=Kestrel\r\nKestrel=Warden\r\n");
    game.MakeReadOnly("Ships\\switch.dat");
    game.WriteText("Ships\\k.iff", "");  // Warden is shown from Kestrel's file
    ProgramRun run(game);
    ASSERT_EQ(run.Exit, std::nullopt);
    const TForm1& f = run.Form();
    EXPECT_EQ(Shown(f.ComboBox1), "Warden, Kestrel, Bastion, [0]");
    EXPECT_EQ(Shown(f.ListBox4), "Warden = Kestrel, Kestrel = Warden, Bastion = , [0]");
    EXPECT_EQ(f.ListBox5.ItemIndex(), 1);  // the same items
    EXPECT_EQ(Shown(f.ComboBox4), "Ion Cannon, Pulse Laser, [0]");
    EXPECT_EQ(Shown(f.ComboBox5), "Spear FF, Dart, [0]");
    EXPECT_EQ(Shown(f.ComboBox7), "Spear FF, Dart, [-1]");
}

// Lists shown before the switch file was changed behind the program's back: the switch file decides, so a swap of
// two ships the lists show unswapped, but which it pairs already, is refused and changes no file.
TEST(StartupTest, ASwapTheSwitchFileNoLongerAllowsIsRefused) {
    ShipGame ships;
    ProgramRun run(ships.Game);
    TForm1& f = run.Form();
    ships.Game.WriteText("Ships\\switch.dat", "[swships]\r\nKestrel=Warden\r\nWarden=Kestrel\r\n");
    const FolderFiles before = ReadFolder(ships.Game.Folder());
    run.Platform.Boxes.clear();
    UserInput::Select(f.ListBox4, 0);
    UserInput::Select(f.ListBox5, 1);
    UserInput::Click(f.Button10);
    EXPECT_EQ(run.Shown(), std::vector<std::string>{"Can't swap ships that are already swapped."});
    EXPECT_EQ(ReadFolder(ships.Game.Folder()), before);
}

// A fresh installation has no switch file; its one ship gets an entry so that it can be loaded. The game is
// launched quoted, so a folder with blanks starts the game and nothing else, and whole: a cut path could start
// another program; when it cannot be started, the player is told why. The expansion's catalogue names the game
// when both games are installed, and the About page names the expansion (its last step of start-up).
TEST(StartupTest, AFreshExpansionWithOneShipStartsAndLaunchesTheGameByItsWholeQuotedPath) {
    TempGameFolder game(Edition::Nightwatch);
    game.WriteText("ashfall.exe", "MZ");
    game.WriteText("vskinfo.dat", "[Info]\r\nRun=ashfall.exe\r\n[ships]\r\nWarden=w.iff\r\n");
    // 257 characters in all: longer than a 255-character launcher buffer, within Windows' 260 for a path.
    const std::string longName = std::string(257 - game.Folder().size() - 6, 'a') + " b.exe";
    game.SetCatalogueKey("Info", "Run", longName);
    game.WriteText(longName, "MZ");
    AddDemoWeapons(game);
    game.AddShip("Kestrel", "k.iff", BuildShip({}).File);
    game.Remove("Ships\\switch.dat");
    ProgramRun run(game);
    EXPECT_EQ(game.ReadText("Ships\\switch.dat"), "[swships]\r\nKestrel=Kestrel\r\n");
    EXPECT_EQ(Shown(run.Form().ListBox5), "Kestrel, [-1]");
    EXPECT_EQ(run.Form().Label39.Caption(), "for Vantorsk Ashfall: Nightwatch");

    UserInput::Click(run.Form().Button1);
    EXPECT_EQ(run.Platform.Launched, std::vector<std::string>{"\"" + game.PathOf(longName) + "\""});
    run.Platform.LaunchErrors = {2};  // a game that cannot be started is reported with the system's reason
    UserInput::Click(run.Form().Button1);
    EXPECT_EQ(run.Shown(), std::vector<std::string>{"The game could not be started: " + longName + ": " +
                                                    run.Platform.ErrorCodeText(2) + "."});
}

// A damaged first ship stops its own load and nothing else: its error names the file, the Guns and Missiles tabs
// load their first items, and the install question comes, in the order start-up takes them. What the player
// types over the ship that did not load is no unsaved change.
TEST(StartupTest, ADamagedFirstShipKeepsNeitherTheWeaponTabsNorTheInstallQuestionFromWorking) {
    TempGameFolder game;
    demo::WriteDemoInstallation(game);
    Bytes ship = game.ReadFile("Ships\\kestrel.iff");
    ship.resize(100);
    game.WriteFile("Ships\\kestrel.iff", ship);
    ProgramRun run(game, {true});
    const std::vector<std::string> shown = {"Ships\\kestrel.iff: I/O error 131.", InstallQuestion("Vantorsk Ashfall"),
                                            "Install successful"};
    EXPECT_EQ(run.Shown(), shown);
    TForm1& f = run.Form();
    EXPECT_EQ(f.Label39.Caption(), "for Vantorsk Ashfall");
    UserInput::Type(f.Edit30, "901");
    UserInput::Click(f.Button7);
    EXPECT_EQ(run.Shown(), shown) << "the Pulse Laser was loaded whole, and saves";
    EXPECT_EQ(f.LoadedMissile, 0);
    UserInput::Type(f.Edit29, "4321");  // over a ship that did not load: nothing of it to save
    EXPECT_EQ(f.Caption(), "Kestrel - Tovarin 1.0");
}

// Windows takes a name in any case and with either slash: a file not there yet, written under another spelling of
// its name, has its absence kept all the same.
TEST(OriginalsBackup, AnySpellingOfANameIsTheSameFile) {
    TempGameFolder game;
    const OriginalsBackup backup(game.Folder(), {"Ships\\New.iff"});
    backup.KeepOriginalOf(GamePath(game.Folder(), "SHIPS/new.IFF"));
    const std::vector<KeptFile> kept = backup.Status();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].Now, KeptFile::State::Absent);
}

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

// The installation without them, the archive and its uninstall record, which "/u" restores, and the temporary file
// through which ship files are rebuilt.
FolderFiles Installed(const TempGameFolder& game) {
    FolderFiles files = GameFiles(game.Folder());
    for (const char* name : {"data.tre", "uninstall.dat", "Ships/tempfgtr.if~"}) files.erase(name);
    return files;
}

// Through each writing path, the first change keeps exactly the files it changes, each as it was before; the
// second keeps nothing more; the command line's restore gives back every file byte for byte and removes the switch
// file the start-up created.
TEST(OriginalsBackup, EveryWritingPathKeepsEachOriginalOnceAndRestoreGivesItBack) {
    const auto withoutEntries = [](TempGameFolder& g) { g.WriteText("Ships\\switch.dat", "[swships]\r\n"); };
    const auto withoutSwitchFile = [](TempGameFolder& g) { g.Remove("Ships\\switch.dat"); };
    const auto inSubfolder = [](TempGameFolder& g) {  // named with a slash, which Windows takes too
        g.WriteFile("Ships\\sub\\kestrel.iff", g.ReadFile("Ships\\kestrel.iff"));
        g.Remove("Ships\\kestrel.iff");
        g.SetCatalogueKey("ships", "Kestrel", "sub/kestrel.iff");
    };
    const auto nothing = [](TForm1&, HeadlessPlatform&, int) {};
    const struct {
        std::string Name;
        std::function<void(TempGameFolder&)> Prepare;  // the installation before the program starts, if not the demo
        Change Changes;                                // run twice
        std::vector<std::string> Kept;                 // what the backup folder then holds
    } paths[] = {
        {"ship save with autoslide and booster", nullptr, SaveShip, {"Ships/kestrel.iff"}},
        {"ship save in a subfolder", inSubfolder, SaveShip, {"Ships/sub/kestrel.iff"}},
        {"gun editor", nullptr, SaveGun, {"Game/bullet.iff"}},
        {"missile editor", nullptr, SaveMissile, {"Game/missile.iff"}},
        {"gun slot save", nullptr, SaveGunSlots, {"Ships/kestrel.iff", "vskinfo.dat"}},
        {"swap and swap back", nullptr, Swap, {"Ships/kestrel.iff", "Ships/switch.dat", "Ships/warden.iff"}},
        {"start-up identity entry", withoutEntries, nothing, {"Ships/switch.dat"}},
        {"start-up without a switch file", withoutSwitchFile, nothing, {"notes.ini"}},
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
            const FolderFiles kept = ReadFolder(game.PathOf("Tovarin Backup"));
            FolderFiles expected;  // notes.ini names the files that were not there
            for (const std::string& name : path.Kept) expected[name] = (name == "notes.ini" ? kept : fresh).at(name);
            EXPECT_EQ(kept, expected);
            path.Changes(run.Form(), run.Platform, 2);
            EXPECT_EQ(ReadFolder(game.PathOf("Tovarin Backup")), kept);
        }
        std::ostringstream out, err;
        EXPECT_EQ(cli::RunCommandLine({"--game", game.Folder(), "restore", "--all"}, out, err), 0);
        EXPECT_TRUE(Installed(game) == fresh);
    }
}

// A backup folder that cannot be made (a file stands in its place) refuses each change with the file's name, and
// nothing in the installation changes. (The fault walks of the tools fail the kept copy's writes too.) Once it can
// be made: edits of every kind, then "Restore Original Files...". With the catalogue marked read-only, no file is
// put back, and the message says so, file by file; once it can be written, the installation is the fresh demo
// again, and every tab shows it.
TEST(OriginalsBackup, AnOriginalThatCannotBeKeptRefusesTheChangeAndTheRestoreButtonGivesBackTheFreshDemo) {
    TempGameFolder game;
    demo::WriteDemoInstallation(game);
    const FolderFiles fresh = Installed(game);
    game.WriteText("Tovarin Backup", "");
    ProgramRun run(game, {true, true, true});
    TForm1& form = run.Form();
    const std::string gunSpeed = form.Edit30.Text();
    const FolderFiles before = ReadFolder(game.Folder());
    std::vector<std::string> refused = run.Shown();
    for (auto* change : {SaveGun, SaveMissile, Swap}) change(form, run.Platform, 1);
    EXPECT_TRUE(ReadFolder(game.Folder()) == before);
    for (const char* file : {"Game\\bullet.iff", "Game\\missile.iff", "Ships\\kestrel.iff"})
        refused.push_back("The original of " + game.PathOf(file) +
                          " could not be kept in the folder \"Tovarin Backup\" (File access denied), so the file was "
                          "not changed.");
    // The swap's three files, none of them changed.
    refused.back() += std::string(" Nothing was changed: ") +
                      "Ships\\kestrel.iff, Ships\\warden.iff and Ships\\switch.dat are as they were.";
    EXPECT_EQ(run.Shown(), refused);
    game.Remove("Tovarin Backup");
    for (auto* change : {SaveShip, SaveGun, SaveMissile, SaveGunSlots, Swap}) change(form, run.Platform, 1);
    UserInput::ShowPage(form.PageControl1, 6);
    game.MakeReadOnly("vskinfo.dat");
    UserInput::Click(form.Button15);
    std::filesystem::permissions(game.PathOf("vskinfo.dat"), std::filesystem::perms::owner_all);
    UserInput::Click(form.Button15);
    EXPECT_TRUE(Installed(game) == fresh);
    EXPECT_EQ(form.Edit30.Text(), gunSpeed);
    EXPECT_EQ(form.ListBox4.Items().front(), "Kestrel");
    const std::vector<std::string> shown = run.Shown();
    EXPECT_EQ(std::vector(shown.end() - 4, shown.end()),
              (std::vector<std::string>{
                  "6 game files differ from their originals kept in \"Tovarin Backup\". Put the originals "
                  "back? Every change Tovarin made to them is undone.",
                  "vskinfo.dat: File access denied. Nothing was changed: Ships\\switch.dat, Game\\bullet.iff, "
                  "Game\\missile.iff, vskinfo.dat, Ships\\kestrel.iff and Ships\\warden.iff are as they "
                  "were.",
                  "6 game files differ from their originals kept in \"Tovarin Backup\". Put the originals "
                  "back? Every change Tovarin made to them is undone.",
                  "Originals put back:\n    Ships\\switch.dat\n    Game\\bullet.iff\n    Game\\missile.iff\n    "
                  "vskinfo.dat\n    Ships\\kestrel.iff\n    Ships\\warden.iff"}));
}

// Kestrel, Warden and Halberd with the demo weapons, changed by the command line as a player would: a ship's value,
// Warden swapped with Halberd. "Tovarin Backup" keeps the four files' originals.
void WriteEditedInstallation(const std::filesystem::path& folder) {
    GameFolder game(folder, Edition::Base);
    AddThreeDemoShips(game);
    for (const std::vector<std::string>& edit :
         {std::vector<std::string>{"ship", "set", "Kestrel", "speedmax=700"}, {"swap", "Warden", "Halberd"}})
        EXPECT_EQ(Cli(game, edit).Exit, 0) << edit[0];
}

// Putting the originals back from either front-end, with each call of the file layer failing in turn: every file
// stays as it was or is put back, and once the program has started again they are all one or the other.
TEST(RestoreFaults, PuttingTheOriginalsBackIsWholeOrNothingFromEitherFrontEnd) {
    TempFolder edited;
    WriteEditedInstallation(edited.Path());
    const auto prepare = [&](const std::filesystem::path& folder) { CopyFolder(edited.Path(), folder); };
    const auto aboutPage = [](TForm1& f, HeadlessPlatform& platform) {
        UserInput::ShowPage(f.PageControl1, 6);
        platform.Answers.push_back(true);  // yes, put the originals back
    };
    const auto restore = [](TForm1& f, HeadlessPlatform&) { UserInput::Click(f.Button15); };
    EXPECT_GT(WalkFaults({"Restore Original Files", prepare, aboutPage, restore}), 0);
    EXPECT_GT(WalkCommandFaults("restore --all", prepare, {"restore", "--all"}), 0);
}

}  // namespace
}  // namespace tovarin::testkit
