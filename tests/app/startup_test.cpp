#include <gtest/gtest.h>

#include "app/application.h"
#include "app/form1.h"
#include "testkit/game_folder.h"
#include "ui/headless_platform.h"
#include "ui/user_input.h"

namespace tovarin {
namespace {

using testkit::Edition;
using testkit::GameFolder;
using Kind = HeadlessPlatform::Box::Kind;

// A game folder whose catalogue lists ships, guns and missiles but no ship files: the lists fill, and the
// loaders find nothing to do when no ship, gun or missile data is asked for.
struct StartupTest : ::testing::Test {
    GameFolder game;
    HeadlessPlatform platform{game.Folder()};
    Application app{platform};

    std::optional<int> Start() { return app.Start(); }
};

TEST_F(StartupTest, WithoutAGameExecutableTheProgramEndsWithItsMessage) {
    game.Remove("ashfall.exe");
    EXPECT_EQ(Start(), 0);
    ASSERT_EQ(platform.Boxes.size(), 1u);
    EXPECT_EQ(platform.Boxes[0].kind, Kind::Message);
    EXPECT_EQ(platform.Boxes[0].text,
              " not found. You have to install Tovarin into the folder where VSK is installed!");
}

TEST_F(StartupTest, AMissingRunTargetIsNamedInTheMessage) {
    game.SetCatalogueKey("Info", "Run", "vantorsk.exe");
    EXPECT_EQ(Start(), 0);
    ASSERT_EQ(platform.Boxes.size(), 1u);
    EXPECT_EQ(platform.Boxes[0].text,
              "vantorsk.exe not found. You have to install Tovarin into the folder where VSK is installed!");
}

TEST_F(StartupTest, TheGameExecutableChoosesTheCatalogue) {
    EXPECT_EQ(Start(), std::nullopt);
    EXPECT_EQ(app.Form1().Label39.Caption(), "for Vantorsk Ashfall");
}

TEST(StartupCatalogueTest, TheExpansionWinsWhenBothExecutablesArePresent) {
    GameFolder game(Edition::Nightwatch);
    game.WriteText("ashfall.exe", "MZ");
    game.WriteText("vskinfo.dat", "[Info]\r\nRun=ashfall.exe\r\nVK=Base\r\n");
    HeadlessPlatform platform(game.Folder());
    Application app(platform);
    EXPECT_EQ(app.Start(), std::nullopt);
    EXPECT_EQ(app.Form1().Label39.Caption(), "for Vantorsk Ashfall: Nightwatch");
}

TEST_F(StartupTest, EveryListHoldsTheCatalogueNamesInCatalogueOrder) {
    game.Catalogue.push_back({"ships", {{"Warden", "w.iff"}, {"Kestrel", "k.iff"}, {"Bastion", "b.iff"}}});
    game.Catalogue.push_back({"Guns", {{"Ion Cannon", ""}, {"Pulse Laser", ""}}});
    game.Catalogue.push_back({"Missiles", {{"Spear FF", ""}, {"Dart", ""}}});
    game.WriteCatalogue();
    game.WriteText("Ships\\switch.dat", "[swships]\r\nWarden=Warden\r\nKestrel=Kestrel\r\nBastion=Bastion\r\n");
    game.WriteText("Ships\\w.iff", "");  // no file content: the first load stops with an error box, the lists stay
    ASSERT_EQ(Start(), std::nullopt);
    TForm1& form = app.Form1();

    const std::vector<std::string> ships{"Warden", "Kestrel", "Bastion"};
    EXPECT_EQ(form.ComboBox1.Items(), ships);
    EXPECT_EQ(form.ComboBox6.Items(), ships);
    EXPECT_EQ(form.ListBox4.Items(), ships);
    EXPECT_EQ(form.ListBox5.Items(), ships);
    const std::vector<std::string> guns{"Ion Cannon", "Pulse Laser"};
    EXPECT_EQ(form.ComboBox2.Items(), guns);
    EXPECT_EQ(form.ComboBox4.Items(), guns);
    const std::vector<std::string> missiles{"Spear FF", "Dart"};
    for (TComboBox* list : {&form.ComboBox3, &form.ComboBox5, &form.ComboBox7}) {
        EXPECT_EQ(list->Items(), missiles) << list->Name();
    }
    EXPECT_EQ(form.ComboBox1.ItemIndex(), 0);
    EXPECT_EQ(form.ComboBox6.ItemIndex(), 0);
    EXPECT_EQ(form.ComboBox4.ItemIndex(), 0);
    EXPECT_EQ(form.ComboBox5.ItemIndex(), 0);
    EXPECT_EQ(form.ComboBox2.ItemIndex(), -1);
    EXPECT_EQ(form.ComboBox3.ItemIndex(), -1);
    EXPECT_EQ(form.ComboBox7.ItemIndex(), -1);
    EXPECT_EQ(form.ListBox4.ItemIndex(), 0);
    EXPECT_EQ(form.ListBox5.ItemIndex(), 1);
}

TEST_F(StartupTest, SwappedShipsAreMarkedInBothSwitcherLists) {
    game.Catalogue.push_back({"ships", {{"Warden", "w.iff"}, {"Kestrel", "k.iff"}, {"Sable", "s.iff"}}});
    game.WriteCatalogue();
    game.WriteText("Ships\\switch.dat",
                   "[swships]\r\nWarden=Kestrel\r\nKestrel=Warden\r\nSable=sable\r\n");
    game.WriteText("Ships\\k.iff", "");  // the first entry shows Kestrel's file; a missing one would end the program
    ASSERT_EQ(Start(), std::nullopt);
    const std::vector<std::string> expected{"Warden = Kestrel", "Kestrel = Warden", "Sable = sable"};
    EXPECT_EQ(app.Form1().ListBox4.Items(), expected);
    EXPECT_EQ(app.Form1().ListBox5.Items(), expected);
}

TEST_F(StartupTest, WithASingleShipTheRightListHasNoSelection) {
    game.Catalogue.push_back({"ships", {{"Kestrel", "k.iff"}}});
    game.WriteCatalogue();
    game.WriteText("Ships\\k.iff", "");
    ASSERT_EQ(Start(), std::nullopt);
    EXPECT_EQ(app.Form1().ListBox4.ItemIndex(), 0);
    EXPECT_EQ(app.Form1().ListBox5.ItemIndex(), -1);
}

TEST_F(StartupTest, ShipsWithoutASwitchEntryGetTheirIdentityEntry) {
    game.Catalogue.push_back({"ships", {{"Warden", "w.iff"}, {"Kestrel", "k.iff"}}});
    game.WriteCatalogue();
    game.WriteText("Ships\\switch.dat", "[swships]\r\nwarden=Warden\r\n");
    game.WriteText("Ships\\w.iff", "");
    ASSERT_EQ(Start(), std::nullopt);
    EXPECT_EQ(game.ReadText("Ships\\switch.dat"), "[swships]\r\nwarden=Warden\r\nKestrel=Kestrel\r\n");
    const std::vector<std::string> expected{"Warden", "Kestrel"};
    EXPECT_EQ(app.Form1().ListBox4.Items(), expected);
}

TEST_F(StartupTest, AFreshInstallationGetsASwitchFile) {
    game.Catalogue.push_back({"ships", {{"Kestrel", "k.iff"}}});
    game.WriteCatalogue();
    game.WriteText("Ships\\k.iff", "");
    ASSERT_EQ(Start(), std::nullopt);
    EXPECT_EQ(game.ReadText("Ships\\switch.dat"), "[swships]\r\nKestrel=Kestrel\r\n");
}

TEST_F(StartupTest, AnUnwritableSwitchFileDoesNotStopTheStart) {
    game.Catalogue.push_back({"ships", {{"Warden", "w.iff"}, {"Kestrel", "k.iff"}}});
    game.WriteCatalogue();
    game.WriteText("Ships\\switch.dat", "[swships]\r\nWarden=Warden\r\n");
    game.MakeReadOnly("Ships\\switch.dat");
    game.WriteText("Ships\\w.iff", "");
    ASSERT_EQ(Start(), std::nullopt);
    const std::vector<std::string> expected{"Warden", "Kestrel = "};
    EXPECT_EQ(app.Form1().ListBox4.Items(), expected);
}

TEST_F(StartupTest, LaunchQuotesTheWholePathOfTheGame) {
    ASSERT_EQ(Start(), std::nullopt);
    UserInput::Click(app.Form1().Button1);
    ASSERT_EQ(platform.Launched.size(), 1u);
    EXPECT_EQ(platform.Launched[0], "\"" + game.PathOf("ashfall.exe") + "\"");
}

TEST(StartupLaunchTest, AGameFolderWithBlanksAndALongPathIsPassedWhole) {
    GameFolder game;
    // 257 characters in all: longer than the launcher's old 255, yet within Windows' 260 for a path.
    const std::string longName = std::string(257 - game.Folder().size() - 6, 'a') + " b.exe";
    game.SetCatalogueKey("Info", "Run", longName);
    game.WriteText(longName, "MZ");
    HeadlessPlatform platform(game.Folder());
    Application app(platform);
    ASSERT_EQ(app.Start(), std::nullopt);
    UserInput::Click(app.Form1().Button1);
    ASSERT_EQ(platform.Launched.size(), 1u);
    EXPECT_GT(platform.Launched[0].size(), 255u);
    EXPECT_EQ(platform.Launched[0], "\"" + game.PathOf(longName) + "\"");
}

TEST_F(StartupTest, ExitClosesTheWindow) {
    ASSERT_EQ(Start(), std::nullopt);
    EXPECT_FALSE(app.Form1().Closed());
    UserInput::Click(app.Form1().Exit);
    EXPECT_TRUE(app.Form1().Closed());
}

}  // namespace
}  // namespace tovarin
