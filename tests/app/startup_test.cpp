#include <gtest/gtest.h>

#include <filesystem>

#include "ships/ship_session.h"

namespace tovarin::testkit {
namespace {

using demo::Edition;

// A list as the player sees it: its items, then the selected index in brackets.
std::string Shown(const TItemList& list) {
    std::string shown;
    for (const std::string& item : list.Items()) shown += item + ", ";
    return shown + "[" + std::to_string(list.ItemIndex()) + "]";
}

// Without the game or its catalogue, or with a switch file that cannot be read (a folder in its place, which would
// make every ship look unlisted), the program names what is missing and ends with exit code 0: the game's
// executable the catalogue names, the catalogue itself, or with neither game's executable present the base game's.
TEST(StartupTest, WithoutTheGameOrItsCatalogueTheProgramNamesWhatIsMissingAndEndsWithExitCodeZero) {
    const std::string notFound = " not found. You have to install Tovarin into the folder where VSK is installed!";
    const struct {
        Edition Game;
        std::string Removed, Named;
    } rows[] = {{Edition::Base, "", "vantorsk.exe" + notFound},
                {Edition::Base, "ashfall.exe", "ashfall.exe" + notFound},
                {Edition::Base, "vskinfo.dat", "vskinfo.dat" + notFound},
                {Edition::Nightwatch, "nwinfo.dat", "nwinfo.dat" + notFound},
                {Edition::Base, "Ships\\switch.dat",
                 "Couldn't read file {}\n\rPlease consult readme.txt on how to install Tovarin"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Named);
        TempGameFolder game(row.Game);
        game.AddShip("Warden", "w.iff", {});
        if (row.Removed.empty()) game.SetCatalogueKey("Info", "Run", "vantorsk.exe");
        if (!row.Removed.empty()) game.Remove(row.Removed);
        if (row.Removed.starts_with("Ships")) std::filesystem::create_directories(game.PathOf(row.Removed));
        ProgramRun run(game);
        EXPECT_EQ(run.Exit, 0);
        std::string named = row.Named;
        if (const auto at = named.find("{}"); at != std::string::npos) named.replace(at, 2, game.PathOf(row.Removed));
        EXPECT_EQ(run.Shown(), std::vector<std::string>{named});
        EXPECT_EQ(run.Platform.Boxes.at(0).kind, HeadlessPlatform::Box::Kind::Message);
    }
}

// Every list holds the catalogue's ships in its order; a ship with no switch entry gets its identity entry (keys
// ignore case), a swapped ship shows its partner. A ship file left empty makes the first ship load stop with an
// error box, which leaves the lists as start-up built them. A switch file that cannot be written does not stop
// the start.
TEST(StartupTest, ListsHoldTheCatalogueInItsOrderAndMarkSwappedShips) {
    for (const bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only switch file" : "");
        TempGameFolder game;
        game.SetCatalogueSection({"ships", {{"Warden", "w.iff"}, {"Kestrel", "k.iff"}, {"Bastion", "b.iff"}}});
        game.SetCatalogueNames("Guns", {"Ion Cannon", "Pulse Laser"});
        game.SetCatalogueNames("Missiles", {"Spear FF", "Dart"});
        const std::string switches = "[swships]\r\nwarden=Kestrel\r\nKestrel=Warden\r\n";
        game.WriteText("Ships\\switch.dat", switches);
        game.WriteText("Ships\\k.iff", "");  // Warden is shown from Kestrel's file
        if (readOnly) game.MakeReadOnly("Ships\\switch.dat");
        ProgramRun run(game);
        ASSERT_EQ(run.Exit, std::nullopt);
        const TForm1& f = run.Form();
        EXPECT_EQ(game.ReadText("Ships\\switch.dat"), switches + (readOnly ? "" : "Bastion=Bastion\r\n"));
        EXPECT_EQ(Shown(f.ComboBox1), "Warden, Kestrel, Bastion, [0]");
        EXPECT_EQ(Shown(f.ComboBox6), "Warden, Kestrel, Bastion, [0]");
        const std::string bastion = readOnly ? "Bastion = " : "Bastion";
        EXPECT_EQ(Shown(f.ListBox4), "Warden = Kestrel, Kestrel = Warden, " + bastion + ", [0]");
        EXPECT_EQ(Shown(f.ListBox5), "Warden = Kestrel, Kestrel = Warden, " + bastion + ", [1]");
        EXPECT_EQ(Shown(f.ComboBox2), "Ion Cannon, Pulse Laser, [-1]");
        EXPECT_EQ(Shown(f.ComboBox4), "Ion Cannon, Pulse Laser, [0]");
        EXPECT_EQ(Shown(f.ComboBox3), "Spear FF, Dart, [-1]");
        EXPECT_EQ(Shown(f.ComboBox5), "Spear FF, Dart, [0]");
        EXPECT_EQ(Shown(f.ComboBox7), "Spear FF, Dart, [-1]");
    }
}

// A fresh installation has no switch file; its one ship gets an entry so that it can be loaded. The game is
// launched quoted, so a folder with blanks starts the game and nothing else, and whole: a cut path could start
// another program. The expansion's catalogue names the game when both games are installed, and the About page
// names the expansion (its last step of start-up).
TEST(StartupTest, AFreshExpansionWithOneShipStartsAndLaunchesTheGameByItsWholeQuotedPath) {
    TempGameFolder game(Edition::Nightwatch);
    game.WriteText("ashfall.exe", "MZ");
    game.WriteText("vskinfo.dat", "[Info]\r\nRun=ashfall.exe\r\n[ships]\r\nWarden=w.iff\r\n");
    // 257 characters in all: longer than a 255-character launcher buffer, within Windows' 260 for a path.
    const std::string longName = std::string(257 - game.Folder().size() - 6, 'a') + " b.exe";
    game.SetCatalogueKey("Info", "Run", longName);
    game.WriteText(longName, "MZ");
    demo::AddDemoWeapons(game);
    game.AddShip("Kestrel", "k.iff", BuildShip({}).File);
    game.Remove("Ships\\switch.dat");
    ProgramRun run(game);
    ASSERT_EQ(run.Exit, std::nullopt);
    EXPECT_EQ(game.ReadText("Ships\\switch.dat"), "[swships]\r\nKestrel=Kestrel\r\n");
    EXPECT_EQ(Shown(run.Form().ListBox5), "Kestrel, [-1]");
    EXPECT_EQ(run.Form().Label39.Caption(), "for Vantorsk Ashfall: Nightwatch");

    UserInput::Click(run.Form().Button1);
    EXPECT_EQ(run.Platform.Launched, std::vector<std::string>{"\"" + game.PathOf(longName) + "\""});
    EXPECT_GT(run.Platform.Launched.at(0).size(), 255u);
}

}  // namespace
}  // namespace tovarin::testkit
