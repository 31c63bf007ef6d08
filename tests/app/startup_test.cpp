#include <gtest/gtest.h>

#include <filesystem>

#include "app/application.h"
#include "app/form1.h"
#include "testkit/temp_game_folder.h"
#include "ui/headless_platform.h"
#include "ui/user_input.h"

namespace tovarin {
namespace {

using demo::Edition;
using testkit::TempGameFolder;

// The program on a game folder of its own. A ship file left empty makes the first ship load stop with an error
// box, which leaves the lists as start-up built them.
struct Session {
    explicit Session(Edition edition = Edition::Base) : game(edition) {}
    TempGameFolder game;
    HeadlessPlatform platform{game.Folder()};
    Application app{platform};
    TForm1& Form() { return app.Form1(); }
};

// A list as the player sees it: its items, then the selected index in brackets.
std::string Shown(const TItemList& list) {
    std::string shown;
    for (const std::string& item : list.Items()) shown += item + ", ";
    return shown + "[" + std::to_string(list.ItemIndex()) + "]";
}

// The message names what is missing: the game's executable the catalogue names, the catalogue itself, or with
// neither game's executable present the base game's.
TEST(StartupTest, WithoutTheGameOrItsCatalogueTheProgramNamesWhatIsMissingAndEndsWithExitCodeZero) {
    const struct {
        Edition Game;
        std::string Removed, Named;
    } rows[] = {{Edition::Base, "", "vantorsk.exe"},
                {Edition::Base, "ashfall.exe", "ashfall.exe"},
                {Edition::Base, "vskinfo.dat", "vskinfo.dat"},
                {Edition::Nightwatch, "nwinfo.dat", "nwinfo.dat"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Named);
        Session s(row.Game);
        if (row.Removed.empty()) s.game.SetCatalogueKey("Info", "Run", row.Named);
        if (!row.Removed.empty()) s.game.Remove(row.Removed);
        EXPECT_EQ(s.app.Start(), 0);
        ASSERT_EQ(s.platform.Boxes.size(), 1u);
        EXPECT_EQ(s.platform.Boxes[0].kind, HeadlessPlatform::Box::Kind::Message);
        EXPECT_EQ(s.platform.Boxes[0].text,
                  row.Named + " not found. You have to install Tovarin into the folder where VSK is installed!");
    }
}

TEST(StartupTest, ListsHoldTheCatalogueInItsOrderAndMarkSwappedShips) {
    Session s;
    s.game.SetCatalogueSection({"ships", {{"Warden", "w.iff"}, {"Kestrel", "k.iff"}, {"Bastion", "b.iff"}}});
    s.game.SetCatalogueNames("Guns", {"Ion Cannon", "Pulse Laser"});
    s.game.SetCatalogueNames("Missiles", {"Spear FF", "Dart"});
    // Bastion has no entry and gets its identity entry; "warden" is Warden's entry, keys ignore case.
    s.game.WriteText("Ships\\switch.dat", "[swships]\r\nwarden=Kestrel\r\nKestrel=Warden\r\n");
    s.game.WriteText("Ships\\k.iff", "");  // Warden is shown from Kestrel's file
    ASSERT_EQ(s.app.Start(), std::nullopt);

    EXPECT_EQ(s.game.ReadText("Ships\\switch.dat"),
              "[swships]\r\nwarden=Kestrel\r\nKestrel=Warden\r\nBastion=Bastion\r\n");
    EXPECT_EQ(Shown(s.Form().ComboBox1), "Warden, Kestrel, Bastion, [0]");
    EXPECT_EQ(Shown(s.Form().ComboBox6), "Warden, Kestrel, Bastion, [0]");
    EXPECT_EQ(Shown(s.Form().ListBox4), "Warden = Kestrel, Kestrel = Warden, Bastion, [0]");
    EXPECT_EQ(Shown(s.Form().ListBox5), "Warden = Kestrel, Kestrel = Warden, Bastion, [1]");
    EXPECT_EQ(Shown(s.Form().ComboBox2), "Ion Cannon, Pulse Laser, [-1]");
    EXPECT_EQ(Shown(s.Form().ComboBox4), "Ion Cannon, Pulse Laser, [0]");
    EXPECT_EQ(Shown(s.Form().ComboBox3), "Spear FF, Dart, [-1]");
    EXPECT_EQ(Shown(s.Form().ComboBox5), "Spear FF, Dart, [0]");
    EXPECT_EQ(Shown(s.Form().ComboBox7), "Spear FF, Dart, [-1]");
}

TEST(StartupTest, AnUnwritableSwitchFileDoesNotStopTheStart) {
    Session s;
    s.game.SetCatalogueSection({"ships", {{"Warden", "w.iff"}, {"Kestrel", "k.iff"}}});
    s.game.WriteText("Ships\\switch.dat", "[swships]\r\nWarden=Warden\r\n");
    s.game.MakeReadOnly("Ships\\switch.dat");
    s.game.WriteText("Ships\\w.iff", "");
    ASSERT_EQ(s.app.Start(), std::nullopt);
    EXPECT_EQ(Shown(s.Form().ListBox4), "Warden, Kestrel = , [0]");
}

// A switch file that cannot be read (a folder in its place) makes every ship look unlisted: start-up names it.
TEST(StartupTest, AnUnreadableSwitchFileIsNamedAndEndsTheProgram) {
    Session s;
    s.game.SetCatalogueSection({"ships", {{"Warden", "w.iff"}}});
    s.game.WriteText("Ships\\w.iff", "");
    std::filesystem::create_directories(s.game.PathOf("Ships\\switch.dat"));
    EXPECT_EQ(s.app.Start(), 0);
    ASSERT_EQ(s.platform.Boxes.size(), 1u);
    EXPECT_EQ(s.platform.Boxes[0].text, "Couldn't read file " + s.game.PathOf("Ships\\switch.dat") +
                                            "\n\rPlease consult readme.txt on how to install Tovarin");
}

// A fresh installation has no switch file; its one ship gets an entry so that it can be loaded. The game is
// launched quoted, so a folder with blanks starts the game and nothing else, and whole: a cut path could start
// another program. The expansion's catalogue names the game when both games are installed.
TEST(StartupTest, AFreshExpansionWithOneShipStartsAndLaunchesTheGameByItsWholeQuotedPath) {
    Session s(Edition::Nightwatch);
    s.game.WriteText("ashfall.exe", "MZ");
    s.game.WriteText("vskinfo.dat", "[Info]\r\nRun=ashfall.exe\r\n[ships]\r\nWarden=w.iff\r\n");
    // 257 characters in all: longer than a 255-character launcher buffer, within Windows' 260 for a path.
    const std::string longName = std::string(257 - s.game.Folder().size() - 6, 'a') + " b.exe";
    s.game.SetCatalogueKey("Info", "Run", longName);
    s.game.WriteText(longName, "MZ");
    s.game.SetCatalogueSection({"ships", {{"Kestrel", "k.iff"}}});
    s.game.WriteText("Ships\\k.iff", "");
    ASSERT_EQ(s.app.Start(), std::nullopt);
    EXPECT_EQ(s.game.ReadText("Ships\\switch.dat"), "[swships]\r\nKestrel=Kestrel\r\n");
    EXPECT_EQ(Shown(s.Form().ListBox5), "Kestrel, [-1]");

    UserInput::Click(s.Form().Button1);
    EXPECT_EQ(s.platform.Launched, std::vector<std::string>{"\"" + s.game.PathOf(longName) + "\""});
    EXPECT_GT(s.platform.Launched.at(0).size(), 255u);
}

// The last step of start-up; a ship that fails to load ends start-up before it.
TEST(StartupTest, TheAboutPageNamesTheGameOfTheChosenCatalogue) {
    Session s(Edition::Nightwatch);
    ASSERT_EQ(s.app.Start(), std::nullopt);
    EXPECT_EQ(s.Form().Label39.Caption(), "for Vantorsk Ashfall: Nightwatch");
}

}  // namespace
}  // namespace tovarin
