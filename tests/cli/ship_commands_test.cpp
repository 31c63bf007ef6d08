#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>

#include "cli_run.h"
#include "ships/ship_session.h"
#include "testkit/fault_plan.h"
#include "testkit/temp_game_folder.h"

// The ship commands on the demo installation against the window: the same values, the same saved bytes; and the
// fleet's sheet applied whole or not at all.
namespace tovarin::testkit {

using namespace demo;  // the demo's builders of ship files, weapon tables and game folders
namespace {

// Every ship file's bytes, and with `times` its modification time as the last eight bytes.
using Fleet = std::map<std::string, Bytes>;
Fleet Ships(const TempGameFolder& game, bool times = false) {
    Fleet fleet;
    for (const auto& ship : demo::DemoShips()) {
        const std::string file = "Ships\\" + ship.File;
        fleet[file] = game.ReadFile(file);
        const auto time = std::filesystem::last_write_time(game.PathOf(file)).time_since_epoch().count();
        for (int i = 0; times && i < 8; ++i) fleet[file].push_back(static_cast<std::uint8_t>(time >> (8 * i)));
    }
    return fleet;
}

// The demo installation written into a game folder.
struct Demo : TempGameFolder {
    Demo() { demo::WriteDemoInstallation(*this); }
};

TEST(ShipCommands, GetShowsTheWindowsProfileAndSetSavesAsTheWindow) {
    Demo game;
    ProgramRun run(game);
    for (std::size_t i = 0; i < demo::DemoShips().size(); ++i) {
        SCOPED_TRACE(demo::DemoShips()[i].Name);
        UserInput::Choose(run.Form().ComboBox1, static_cast<int>(i));
        run.Form().ExportProfile(game.PathOf("window.vks"));
        std::string window = game.ReadText("window.vks");
        // The window's profile carries every box; the command line leaves out the parts the ship lacks.
        window = std::regex_replace(window, std::regex("\\[Ship\\]\r\n|\r"), "");
        const std::string cli = Cli(game, {"ship", "get", demo::DemoShips()[i].Name}).Out;
        std::string lacking;
        for (std::istringstream lines(window); std::getline(lines, lacking);) {
            const bool shown = cli.find(lacking + "\n") != std::string::npos;
            EXPECT_TRUE(shown || std::regex_match(lacking, std::regex("(armr|sh)[a-z]+=-?[0-9]+|decoys=[0-9]+")))
                << lacking;
        }
    }
    // Kestrel: autoslide on, no booster, three gun mounts, two missile mounts, decoys, shields and armour.
    const std::vector<std::pair<std::vector<std::string>, std::function<void(TForm1&)>>> edits = {
        {{"autoslide=0", "booster=1"},
         [](TForm1& f) { UserInput::Toggle(f.CheckBox1), UserInput::Toggle(f.CheckBox2); }},
        {{"gun2=" + Gun(4), "gunammo2=50"}, [](TForm1& f) { ChangeMount(f, false, 1, 4, "50"); }},
        {{"miss2=2", "missammo2=3"}, [](TForm1& f) { ChangeMount(f, true, 1, 2, "3"); }},
    };
    std::vector<std::pair<std::vector<std::string>, std::function<void(TForm1&)>>> all = edits;
    for (const auto& [key, box] : std::vector<std::pair<std::string, std::string>>{
             {"speedmin", "Edit1"},   {"speednor", "Edit2"},   {"speedmax", "Edit15"}, {"spaccel", "Edit4"},
             {"aftsp", "Edit3"},      {"aftaccel", "Edit6"},   {"affuel", "Edit26"},   {"y", "Edit7"},
             {"p", "Edit5"},          {"r", "Edit8"},          {"yprroc", "Edit25"},   {"hp", "Edit27"},
             {"armrfront", "Edit10"}, {"armrright", "Edit11"}, {"armrleft", "Edit12"}, {"armraft", "Edit13"},
             {"shfront", "Edit17"},   {"shaft", "Edit16"},     {"shremin", "Edit20"},  {"shrenor", "Edit21"},
             {"shremax", "Edit22"},   {"gunen", "Edit18"},     {"gunremin", "Edit19"}, {"gunrenor", "Edit23"},
             {"gunremax", "Edit24"},  {"decoys", "Edit14"},    {"mass", "Edit29"}}) {
        all.push_back({{key + "=77"}, [box](TForm1& f) { UserInput::Type(Box(f, box), "77"); }});
    }
    for (const auto& [changes, edit] : all) {
        SCOPED_TRACE(changes.front());
        Demo byWindow;
        ProgramRun window(byWindow);
        edit(window.Form());
        UserInput::Click(window.Form().Button2);
        Demo byCli;
        std::vector<std::string> arguments{"ship", "set", "Kestrel"};
        arguments.insert(arguments.end(), changes.begin(), changes.end());
        EXPECT_EQ(Cli(byCli, arguments).Exit, 0);
        EXPECT_TRUE(SameBytes(byCli.ReadFile("Ships\\kestrel.iff"), byWindow.ReadFile("Ships\\kestrel.iff")));
        EXPECT_NE(byCli.ReadFile("Ships\\kestrel.iff"), game.ReadFile("Ships\\kestrel.iff"));
    }
    for (const std::string refused : {"speedmax=fast", "gunammo1=70000", "speedmux=1", "gun4=1", "gun1=Laser"}) {
        SCOPED_TRACE(refused);
        const Fleet before = Ships(game);
        const Ran ran = Cli(game, {"ship", "set", "Kestrel", "hp=1", refused});
        EXPECT_EQ(ran.Exit, 1);
        EXPECT_NE(ran.Err.find(refused.substr(0, refused.find('='))), std::string::npos) << ran.Err;
        EXPECT_TRUE(Ships(game) == before);
    }
}

TEST(ShipCommands, TheFleetSheetIsAppliedWholeOrNotAtAll) {
    Demo game;
    const std::string sheet = game.PathOf("fleet.csv");
    ASSERT_EQ(Cli(game, {"export", "ships", sheet}).Exit, 0);
    const Fleet before = Ships(game, true);
    EXPECT_EQ(Cli(game, {"import", "ships", sheet}).Exit, 0);
    EXPECT_TRUE(Ships(game, true) == before);  // nothing written, modification times kept

    // Two cells edited, one of them a mount's weapon by name: a new export shows exactly these.
    std::string edited = game.ReadText("fleet.csv");
    edited = std::regex_replace(edited, std::regex("\nKestrel,120,450,600,"), "\nKestrel,120,450,640,");
    edited = std::regex_replace(edited, std::regex("(\nSable,[^,]*,[^,]*),[^,]*"), "$1,333");
    ASSERT_NE(edited, game.ReadText("fleet.csv"));
    // A refused cell in the third line stops the whole sheet.
    game.WriteText("refused.csv", std::regex_replace(edited, std::regex("\nWarden,[^,]*"), "\nWarden,abc"));
    const Ran refused = Cli(game, {"import", "ships", game.PathOf("refused.csv")});
    EXPECT_EQ(refused.Exit, 1);
    EXPECT_NE(refused.Err.find("line 3, column 2: Warden, speedmin=abc: 'abc' is not a valid integer"),
              std::string::npos)
        << refused.Err;
    EXPECT_TRUE(Ships(game, true) == before);
    game.WriteText("edited.csv", edited);
    EXPECT_EQ(Cli(game, {"import", "ships", game.PathOf("edited.csv")}).Exit, 0);
    EXPECT_EQ(Cli(game, {"export", "ships", sheet}).Exit, 0);
    EXPECT_EQ(game.ReadText("fleet.csv"), edited);

    // A partial sheet that changes three ships: a failure at any call puts the files written before it back.
    const Fleet edits = Ships(game);
    game.WriteText("three.csv", "ship,speedmax,gun3\r\nKestrel,650,Scatter Gun\r\nWarden,,1\r\nHalberd,555\r\n");
    for (int failAt = 0; failAt < 100; ++failAt) {
        SCOPED_TRACE(failAt);
        FaultPlan plan(failAt);
        if (Cli(game, {"import", "ships", game.PathOf("three.csv")}).Exit == 0) break;
        EXPECT_TRUE(Ships(game) == edits);
    }
    EXPECT_EQ(Cli(game, {"ship", "get", "Kestrel", "speedmax", "gun3", "--json"}).Out,
              "{\"speedmax\":650,\"gun3\":8}\n");
}
}  // namespace
}  // namespace tovarin::testkit
