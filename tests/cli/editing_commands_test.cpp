#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>

#include "cli_fault_walk.h"
#include "cli_run.h"
#include "ships/ship_session.h"
#include "testkit/fault_walk.h"
#include "ui/user_input.h"

// The editing commands on the demo installation. A ship's profile against the window: the same edit gives the same
// saved bytes; a sheet changes exactly its edited cells,
// whole or not at all. `diff` and `export --changed` after edits of every kind: the lines say each change, and the
// changed sheets carry the edits onto a fresh installation.
namespace tovarin::testkit {

using namespace demo;  // the demo's builders of ship files, weapon tables and game folders
namespace {

TEST(ShipCommands, GetShowsTheWindowsProfileAndSetSavesAsTheWindow) {
    Demo game, byCli;
    const Bytes original = byCli.ReadFile("Ships\\kestrel.iff");
    ProgramRun run(game);
    // Kestrel edited in the window and saved: autoslide, booster, a gun mount, a missile mount and two boxes.
    TForm1& f = run.Form();
    UserInput::Toggle(f.CheckBox1);
    UserInput::Toggle(f.CheckBox2);
    ChangeMount(f, false, 1, 4, "50");
    ChangeMount(f, true, 1, 2, "3");
    UserInput::Type(f.Edit1, "77");
    UserInput::Type(f.Edit14, "7");
    UserInput::Click(f.Button2);
    // Kestrel has every part, so `ship get` shows the window's whole profile; `ship set` with it saves the same file.
    f.ExportProfile(game.PathOf("window.vks"));
    const std::string window = std::regex_replace(game.ReadText("window.vks"), std::regex("\\[Ship\\]\r\n|\r"), "");
    EXPECT_EQ(Cli(game, {"ship", "get", "Kestrel"}).Out, window);
    std::vector<std::string> arguments{"ship", "set", "Kestrel"};
    std::istringstream lines(window);
    for (std::string line; std::getline(lines, line);) arguments.push_back(line);
    EXPECT_EQ(Cli(byCli, arguments).Exit, 0);
    EXPECT_TRUE(SameBytes(byCli.ReadFile("Ships\\kestrel.iff"), game.ReadFile("Ships\\kestrel.iff")));
    EXPECT_NE(byCli.ReadFile("Ships\\kestrel.iff"), original);
    // Lancet has no armour: `ship get` leaves out the parts a ship lacks.
    EXPECT_EQ(Cli(game, {"ship", "get", "Lancet"}).Out.find("armr"), std::string::npos);
}

TEST(ShipCommands, TheFleetSheetIsAppliedWholeOrNotAtAll) {
    Demo game;
    const std::string sheet = game.PathOf("fleet.csv");
    ASSERT_EQ(Cli(game, {"export", "ships", sheet}).Exit, 0);
    const FolderFiles before = ReadFolder(game.PathOf("Ships"), true);
    EXPECT_EQ(Cli(game, {"import", "ships", sheet}).Exit, 0);
    EXPECT_TRUE(ReadFolder(game.PathOf("Ships"), true) == before);  // nothing written, modification times kept

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
    EXPECT_TRUE(ReadFolder(game.PathOf("Ships"), true) == before);
    game.WriteText("edited.csv", edited);
    EXPECT_EQ(Cli(game, {"import", "ships", game.PathOf("edited.csv")}).Exit, 0);
    EXPECT_EQ(Cli(game, {"export", "ships", sheet}).Exit, 0);
    EXPECT_EQ(game.ReadText("fleet.csv"), edited);

    // A partial sheet that changes three ships (its fault walk is below).
    game.WriteText("three.csv", "ship,speedmax,gun3\r\nKestrel,650,Scatter Gun\r\nWarden,,1\r\nHalberd,555\r\n");
    EXPECT_EQ(Cli(game, {"import", "ships", game.PathOf("three.csv")}).Exit, 0);
    EXPECT_EQ(Cli(game, {"ship", "get", "Kestrel", "speedmax", "gun3", "--json"}).Out,
              "{\"speedmax\":650,\"gun3\":8}\n");
}

// Every sheet import, with each call of the file layer failing in turn: the files it changes are all as before or
// all as after once the next command has run, and importing again imports. A sheet of three ships changes three
// files.
TEST(CommandFaults, EverySheetImportIsWholeOrNothing) {
    TempFolder sheets;
    const auto sheet = [&](const std::string& name, const std::string& text) {
        WriteTextFile(sheets.Path() / name, text);
        return (sheets.Path() / name).string();
    };
    const auto game = [](const std::filesystem::path& folder) {
        GameFolder installed(folder, Edition::Base);
        AddThreeDemoShips(installed);
    };
    const std::string fleet =
        sheet("three.csv", "ship,speedmax,gun3\r\nKestrel,650,Scatter Gun\r\nWarden,,1\r\nHalberd,555\r\n");
    EXPECT_GT(WalkCommandFaults("three ships", game, {"import", "ships", fleet}), 0);
    const std::string guns = sheet("guns.csv", "gun,damage\r\n" + DemoGunNames()[0] + ",41\r\n");
    EXPECT_GT(WalkCommandFaults("a gun", game, {"import", "guns", guns}), 0);
    const std::string missiles = sheet("missiles.csv", "missile,speed\r\nDart,1401\r\n");
    EXPECT_GT(WalkCommandFaults("a missile", game, {"import", "missiles", missiles}), 0);
}

TEST(GameCommandsTest, WeaponSheetsChangeExactlyTheirEditedCellsWholeOrNotAtAll) {
    Demo game;
    const std::string sheet = game.PathOf("missiles.csv");
    const auto table = game.PathOf("Game\\missile.iff");
    // A day back, so that any write shows; read back as the file system keeps it (Windows in steps of 100 ns).
    std::filesystem::last_write_time(table, std::filesystem::file_time_type::clock::now() - std::chrono::hours(24));
    const auto old = std::filesystem::last_write_time(table);
    const std::string valuesBefore = Cli(game, {"missiles", "get"}).Out;
    ASSERT_EQ(Cli(game, {"export", "missiles", sheet}).Exit, 0);
    EXPECT_EQ(Cli(game, {"import", "missiles", sheet}).Out, "0 missiles changed\n");
    EXPECT_EQ(std::filesystem::last_write_time(table), old);

    // A partial sheet: columns in another order, a cell left empty, one edited value.
    game.WriteText("edit.csv", "missile,damage,speed\r\nHornet IR,261,\r\nDart,,1400\r\n");
    EXPECT_EQ(Cli(game, {"import", "missiles", game.PathOf("edit.csv")}).Out, "1 missile changed\n");
    std::string expected = valuesBefore;
    expected.replace(expected.find("damage=260"), 10, "damage=261");
    EXPECT_EQ(Cli(game, {"missiles", "get"}).Out, expected);
}

// The demo installation with these commands run on it.
struct Edited : Demo {
    explicit Edited(const std::vector<std::vector<std::string>>& commands) {
        for (const auto& command : commands) EXPECT_EQ(Cli(*this, command).Exit, 0) << command[0];
    }
};

TEST(OriginalsCommandsTest, DiffSaysEachChangedValueAndNamesADamagedOriginal) {
    Edited game({{"ship", "set", "Kestrel", "mass=1300", "gun1=2"},
                 {"guns", "set", "Pulse Laser", "damage=41"},
                 {"missiles", "set", "Dart", "speed=901", "rear firing=1"},
                 {"slots", "copy", "Halberd", "1"},
                 {"swap", "Corsair", "Lancet"}});
    const std::string expected =
        "swap Corsair: Corsair -> Lancet\nswap Lancet: Lancet -> Corsair\ngun Pulse Laser: damage: 18 -> 41\n"
        "missile Dart: speed: 1400 -> 901\nmissile Dart: rear firing: 0 -> 1\n"
        "catalogue halberd.iff: Guns: (none) -> 3\ncatalogue halberd.iff: Gun1: (none) -> 52\n"
        "catalogue halberd.iff: Gun2: (none) -> 82\ncatalogue halberd.iff: Gun3: (none) -> 114\n"
        "ship Kestrel: gun1: Pulse Laser -> Mass Driver\nship Kestrel: mass: 9800 -> 1300\n"
        "ship Halberd: gun3: (none) -> Ion Cannon\nship Halberd: gunammo3: (none) -> 0\n"
        "slots Halberd: slot 3: (none) -> gun_nose_left\n";
    Ran ran = Cli(game, {"diff"});
    EXPECT_EQ(ran.Exit, 1);
    EXPECT_EQ(ran.Err, "");
    EXPECT_EQ(ran.Out.substr(0, expected.size()), expected);
    // A mount the original lacks cannot travel in a sheet: it is named, not written.
    ran = Cli(game, {"export", "ships", game.PathOf("mod.csv"), "--changed"});
    EXPECT_NE(ran.Err.find("Halberd, gun3 left out: a sheet cannot set or clear a value that one side lacks\n"),
              std::string::npos);
    EXPECT_EQ(game.ReadText("mod.csv").find("Halberd"), std::string::npos);

    game.WriteFile("Tovarin Backup\\Ships\\kestrel.iff", Bytes(100, 0));
    game.WriteFile("Tovarin Backup\\Game\\missile.iff", Bytes(100, 0));
    ran = Cli(game, {"diff"});
    EXPECT_EQ(ran.Exit, 2);
    for (const std::string& trouble :
         {game.PathOf("Tovarin Backup\\Ships\\kestrel.iff") + ": the ship would not load: I/O error 131.\n",
          game.PathOf("Tovarin Backup\\Game\\missile.iff") + ": Dart: Read beyond end of file\n"}) {
        EXPECT_NE(ran.Err.find(trouble), std::string::npos) << ran.Err;
    }
    EXPECT_NE(ran.Out.find("gun Pulse Laser: damage: 18 -> 41\n"), std::string::npos);
    EXPECT_EQ(ran.Out.find("ship Kestrel"), std::string::npos);
}

TEST(OriginalsCommandsTest, AChangedSheetGivesAFreshInstallationTheEditedValues) {
    const Edited edited({{"ship", "set", "Corsair", "speedmax=640", "booster=0", "gun2=Scatter Gun"},
                         {"swap", "Corsair", "Lancet"},
                         {"ship", "set", "Kestrel", "mass=1300"},
                         {"guns", "set", "Pulse Laser", "damage=41", "range=3100"},
                         {"guns", "set", "Photon Lance", "speed=999"},
                         {"missiles", "set", "Dart", "sub-missile type=Spear FF", "rear firing=1", "split up into=3"}});
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"ships", "ship,speedmax,booster,gun2,mass\r\nKestrel,,,,1300\r\nCorsair,640,0,Scatter Gun,\r\n"},
        {"guns", "gun,speed,range,damage\r\nPulse Laser,,3100,41\r\nPhoton Lance,999,,\r\n"},
        {"missiles", "missile,split up into,sub-missile type,rear firing\r\nDart,3,Spear FF,1\r\n"},
    };
    for (const auto& [kind, sheet] : rows) {
        SCOPED_TRACE(kind);
        Demo fresh;
        const Ran changed = Cli(edited, {"export", kind, fresh.PathOf("mod.csv"), "--changed"});
        EXPECT_EQ(changed.Exit, 0);
        EXPECT_EQ(changed.Err, "");
        EXPECT_EQ(fresh.ReadText("mod.csv"), sheet);
        EXPECT_EQ(Cli(fresh, {"import", kind, fresh.PathOf("mod.csv")}).Exit, 0);
        EXPECT_EQ(Cli(fresh, {"export", kind, fresh.PathOf("all.csv")}).Exit, 0);
        EXPECT_EQ(Cli(edited, {"export", kind, fresh.PathOf("edited.csv")}).Exit, 0);
        EXPECT_EQ(fresh.ReadText("all.csv"), fresh.ReadText("edited.csv"));
    }
}

}  // namespace
}  // namespace tovarin::testkit
