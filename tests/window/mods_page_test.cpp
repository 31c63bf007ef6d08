// The window's Mods page, driven as a player drives it: adding, removing, applying, and the restore of the originals
// switching every mod off. (The load order, conflicts and apply themselves are the command line's tests.)
#include <gtest/gtest.h>

#include "cli/cli_run.h"
#include "ships/ship_session.h"
#include "testkit/demo_mods.h"
#include "ui/user_input.h"

namespace tovarin::testkit {
namespace {

constexpr int kModsPage = 5;
constexpr int kAboutPage = 6;

TEST(ModsPage, AddsAndRemovesAndRestoringTheOriginalsSwitchesEveryModOff) {
    Demo game;
    WriteThreeMods(game, "downloads");
    game.WriteText("downloads\\bad.csv", "ship,hp\r\nKestrl,1\r\n");
    ProgramRun run(game);
    TForm1& f = run.Form();
    UserInput::ShowPage(f.PageControl1, kModsPage);
    EXPECT_TRUE(f.ListBox6.Items().empty());
    EXPECT_EQ(f.GroupBox11.Caption(), "No mods yet");  // and says what a mod is, where it goes, how to make one
    EXPECT_NE(f.Memo3.Lines()[1].find("\"Tovarin Mods\" in the game folder"), std::string::npos);
    EXPECT_FALSE(f.CheckBox4.Enabled());
    // A sheet beside a mod.ini adds its folder; a lone sheet is a mod of its own.
    run.Platform.FileChoices = {game.PathOf("downloads\\hm\\ships.csv"), game.PathOf("downloads\\bad.csv")};
    UserInput::Click(f.Button18);
    UserInput::Click(f.Button18);
    EXPECT_EQ(
        f.ListBox6.Items(),
        (std::vector<std::string>{"[on, not applied yet]  Heavy Metal 2: 2 ships",
                                  "[cannot be switched on]  bad: bad.csv, line 2, column 1: Unknown ship: Kestrl"}));
    EXPECT_EQ(run.Shown().back(),
              "bad was added switched off: it cannot be switched on: bad.csv, line 2, column 1: Unknown ship: Kestrl");
    UserInput::Toggle(f.CheckBox4);
    EXPECT_FALSE(f.CheckBox4.Checked());
    EXPECT_EQ(run.Shown().back(), "bad cannot be switched on: bad.csv, line 2, column 1: Unknown ship: Kestrl");
    // The list written and read back sets the order and switches it held.
    run.Platform.FileChoices = {game.PathOf("set.ini"), game.PathOf("set.ini")};
    UserInput::Click(f.Button21);
    UserInput::Select(f.ListBox6, 0);
    UserInput::Toggle(f.CheckBox4);
    UserInput::Select(f.ListBox6, 1);
    UserInput::Click(f.Button16);
    EXPECT_EQ(f.ListBox6.Items().back(), "[off]  Heavy Metal 2: 2 ships");
    UserInput::Click(f.Button22);
    EXPECT_EQ(f.ListBox6.Items().front().rfind("[on, not applied yet]  Heavy Metal", 0), 0u)
        << f.ListBox6.Items().front();
    UserInput::Select(f.ListBox6, 1);
    run.Platform.Answers = {true};
    UserInput::Click(f.Button19);
    EXPECT_EQ(f.ListBox6.Items().size(), 1u);
    EXPECT_FALSE(game.Exists("Tovarin Mods\\bad.csv"));

    // Closing before Apply asks as about unsaved edits: Cancel stays, Yes applies and closes.
    for (const Platform::Answer answer : {Platform::Answer::Cancel, Platform::Answer::Yes}) {
        run.Platform.SaveAnswers = {answer};
        f.Close();
        EXPECT_EQ(f.Closed(), answer == Platform::Answer::Yes);
        EXPECT_EQ(game.Exists("Tovarin Mods\\applied.dat"), answer == Platform::Answer::Yes);
    }
    f.Reopen();
    EXPECT_EQ(run.Platform.Boxes.end()[-2].text.rfind("The mods are not applied yet", 0), 0u);
    UserInput::Click(f.Button20);
    EXPECT_NE(game.ReadText("Tovarin Mods\\applied.dat").find("ship,Halberd,mass,30000\r\n"), std::string::npos);
    UserInput::ShowPage(f.PageControl1, kAboutPage);
    run.Platform.Answers = {true};
    UserInput::Click(f.Button15);
    EXPECT_NE(run.Platform.Boxes.end()[-2].text.find("Every mod in \"Tovarin Mods\" is switched off too."),
              std::string::npos);
    EXPECT_EQ(run.Shown().back().rfind("Every mod in \"Tovarin Mods\" was switched off.\nOriginals put back:", 0), 0u);
    EXPECT_FALSE(game.Exists("Tovarin Mods\\applied.dat"));
    UserInput::ShowPage(f.PageControl1, kModsPage);
    EXPECT_EQ(f.ListBox6.Items().front().rfind("[off]", 0), 0u);
}

}  // namespace
}  // namespace tovarin::testkit
