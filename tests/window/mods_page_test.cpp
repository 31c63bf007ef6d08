// The window's Mods page, driven as a player drives it, against the command line on a twin installation: the same
// load order, conflicts, files and messages.
#include <gtest/gtest.h>

#include "cli/cli_run.h"
#include "ships/ship_session.h"
#include "testkit/demo_mods.h"
#include "ui/user_input.h"

namespace tovarin::testkit {
namespace {

constexpr int kModsPage = 5;
constexpr int kAboutPage = 6;

// The files the mods change, and the record of what they set.
const char* const kModdedFiles[] = {"Ships\\kestrel.iff", "Ships\\warden.iff",         "Ships\\halberd.iff",
                                    "Game\\bullet.iff",   "Tovarin Mods\\applied.dat", "Tovarin Mods\\load order.ini"};

void Switch(TForm1& f, int row) {
    UserInput::Select(f.ListBox6, row);
    UserInput::Toggle(f.CheckBox4);
}

std::string Joined(const std::string& lines) { return lines.substr(0, lines.size() - 1); }

TEST(ModsPage, SwitchesMovesAndAppliesAsTheCommandLine) {
    Demo viaWindow, viaCli;
    for (const Demo* game : {&viaWindow, &viaCli}) WriteThreeMods(*game, "Tovarin Mods");
    ProgramRun run(viaWindow);
    TForm1& f = run.Form();
    UserInput::ShowPage(f.PageControl1, kModsPage);
    // Unpacked by hand, the mods come in the order of their names, switched off.
    EXPECT_EQ(f.ListBox6.Items(),
              (std::vector<std::string>{"[off]  Faster Fighters 1.0: 2 ships, 0 guns, 0 missiles, 2 cells",
                                        "[off]  gun pack: 0 ships, 1 gun, 0 missiles, 1 cell",
                                        "[off]  Heavy Metal 2: 2 ships, 0 guns, 0 missiles, 3 cells"}));
    EXPECT_EQ(f.Memo3.Lines(), std::vector<std::string>{"None: no two switched-on mods set a value differently."});
    for (const int row : {0, 1, 2}) Switch(f, row);
    const std::string conflict = "Kestrel speedmax: Faster Fighters 640, Heavy Metal 620 -> Heavy Metal";
    EXPECT_EQ(f.Memo3.Lines(), std::vector<std::string>{conflict});
    EXPECT_TRUE(f.CheckBox4.Checked());

    // An edit not saved yet is saved first when the player says so, and stays on top as their own.
    UserInput::ShowPage(f.PageControl1, 0);
    UserInput::Type(f.Edit29, "9900");
    UserInput::ShowPage(f.PageControl1, kModsPage);
    run.Platform.SaveAnswers = {Platform::Answer::Yes};
    UserInput::Click(f.Button20);
    for (const std::string mod : {"Faster Fighters", "gun pack", "Heavy Metal"}) Cli(viaCli, {"mods", "on", mod});
    Cli(viaCli, {"ship", "set", "Kestrel", "mass=9900"});
    const Ran applied = Cli(viaCli, {"mods", "apply"});
    EXPECT_NE(applied.Out.find("kept your own change: Kestrel mass 9900\n"), std::string::npos) << applied.Out;
    EXPECT_EQ(run.Shown().back(), Joined(applied.Out));
    for (const char* file : kModdedFiles) EXPECT_EQ(viaWindow.ReadFile(file), viaCli.ReadFile(file)) << file;
    EXPECT_EQ(f.Edit15.Text(), "620");  // the Ships tab shows the Kestrel as applied

    // Heavy Metal up to the top: the other value wins.
    UserInput::Select(f.ListBox6, 2);
    UserInput::Click(f.Button16);
    UserInput::Click(f.Button16);
    EXPECT_EQ(f.ListBox6.ItemIndex(), 0);
    EXPECT_FALSE(f.Button16.Enabled());
    UserInput::Click(f.Button20);
    Cli(viaCli, {"mods", "move", "Heavy Metal", "1"});
    EXPECT_EQ(run.Shown().back(), Joined(Cli(viaCli, {"mods", "apply"}).Out));
    for (const char* file : kModdedFiles) EXPECT_EQ(viaWindow.ReadFile(file), viaCli.ReadFile(file)) << file;
    EXPECT_EQ(f.Edit15.Text(), "640");
}

TEST(ModsPage, AddsAndRemovesAndRestoringTheOriginalsSwitchesEveryModOff) {
    Demo game;
    WriteThreeMods(game, "downloads");
    game.WriteText("downloads\\bad.csv", "ship,hp\r\nKestrl,1\r\n");
    ProgramRun run(game);
    TForm1& f = run.Form();
    UserInput::ShowPage(f.PageControl1, kModsPage);
    EXPECT_TRUE(f.ListBox6.Items().empty());
    EXPECT_FALSE(f.CheckBox4.Enabled());
    // A sheet beside a mod.ini adds its folder; a lone sheet is a mod of its own.
    run.Platform.FileChoices = {game.PathOf("downloads\\hm\\ships.csv"), game.PathOf("downloads\\bad.csv")};
    UserInput::Click(f.Button18);
    UserInput::Click(f.Button18);
    EXPECT_EQ(f.ListBox6.Items(),
              (std::vector<std::string>{
                  "[on]  Heavy Metal 2: 2 ships, 0 guns, 0 missiles, 3 cells",
                  "[off]  bad: cannot be switched on: bad.csv, line 2, column 1: Unknown ship: Kestrl"}));
    EXPECT_EQ(run.Shown().back(),
              "bad was added switched off: it cannot be switched on: bad.csv, line 2, column 1: Unknown ship: Kestrl");
    UserInput::Toggle(f.CheckBox4);
    EXPECT_FALSE(f.CheckBox4.Checked());
    EXPECT_EQ(run.Shown().back(), "bad cannot be switched on: bad.csv, line 2, column 1: Unknown ship: Kestrl");
    run.Platform.Answers = {true};
    UserInput::Click(f.Button19);
    EXPECT_EQ(f.ListBox6.Items().size(), 1u);
    EXPECT_FALSE(game.Exists("Tovarin Mods\\bad.csv"));

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
