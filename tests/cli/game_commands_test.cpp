#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "cli_run.h"
#include "demo/demo_installation.h"
#include "ships/ship_session.h"
#include "testkit/temp_game_folder.h"
#include "ui/user_input.h"

// The weapon, slot and swap commands against the window's tabs on the demo installation: the same edit gives the
// same files, a refused value changes nothing, and a sheet changes exactly its edited cells.
namespace tovarin::testkit {

using namespace demo;  // the demo's builders of ship files, weapon tables and game folders
namespace {

struct Demo : TempGameFolder {
    Demo() { demo::WriteDemoInstallation(*this); }
};

TEST(GameCommandsTest, SaveWhatTheTabsSaveAndRefuseWithoutWriting) {
    Demo viaCli, viaWindow;
    ProgramRun run(viaWindow, {true});  // yes to the archive's patch, which no file compared here shares
    TForm1& f = run.Form();
    run.Platform.Boxes.clear();
    struct Row {
        std::vector<std::string> Arguments;
        std::function<void()> Edit;  // the same change through the window; none for a refused one
        std::vector<std::string> Files;
        std::string Refusal{};
    };
    const std::string catalogue = viaCli.CatalogueName();
    const std::vector<Row> rows = {
        {{"guns", "set", "Ion Cannon", "damage=40", "refire delay (ms)=300"},
         [&] {
             UserInput::Choose(f.ComboBox4, 1);
             UserInput::Type(f.Edit33, "40");
             UserInput::Type(f.Edit34, "300");
             UserInput::Click(f.Button7);
         },
         {"Game\\bullet.iff"}},
        {{"missiles", "set", "Dart", "speed=900", "split up into=3", "sub-missile type=Hornet IR", "rear firing=1",
          "attack enemies only=0"},
         [&] {
             UserInput::Choose(f.ComboBox5, 0);
             UserInput::Type(f.Edit37, "900");
             UserInput::Type(f.Edit49, "3");
             UserInput::Choose(f.ComboBox7, 1);
             UserInput::Toggle(f.Flag8);
             UserInput::Toggle(f.Flag5);
             UserInput::Click(f.Button8);
         },
         {"Game\\missile.iff"}},
        {{"slots", "copy", "Kestrel", "2"},
         [&] {
             UserInput::Choose(f.ComboBox6, 0);
             UserInput::Select(f.ListBox3, 1);
             UserInput::Click(f.Button13);
             UserInput::Click(f.Button14);
         },
         {"Ships\\kestrel.iff", catalogue}},
        {{"slots", "delete", "Halberd", "1"},
         [&] {
             UserInput::Choose(f.ComboBox6, 2);
             UserInput::Select(f.ListBox3, 0);
             UserInput::Click(f.Button12);
             UserInput::Click(f.Button14);
         },
         {"Ships\\halberd.iff", catalogue}},
        {{"swap", "Warden", "Kestrel"},
         [&] {
             UserInput::Select(f.ListBox4, 1);
             UserInput::Select(f.ListBox5, 0);
             UserInput::Click(f.Button10);
         },
         {"Ships\\kestrel.iff", "Ships\\warden.iff", "Ships\\switch.dat"}},
        {{"guns", "set", "Ion Cannon", "speed=12", "damage=x"}, nullptr, {"Game\\bullet.iff"}, "damage=x: 'x' is not"},
        {{"guns", "set", "Ion Cannon", "speeed=1"}, nullptr, {"Game\\bullet.iff"}, "Unknown field of a gun: speeed"},
        {{"missiles", "set", "Dart", "split up into=256"}, nullptr, {"Game\\missile.iff"}, "split up into=256: Out of"},
        {{"missiles", "set", "Dart", "sub-missile type=Nope"}, nullptr, {"Game\\missile.iff"}, "Unknown missile: Nope"},
        {{"missiles", "set", "Darts", "speed=1"}, nullptr, {"Game\\missile.iff"}, "Unknown missile: Darts"},
        {{"slots", "copy", "Kestrel", "5"}, nullptr, {"Ships\\kestrel.iff", catalogue}, "no gun slot 5 (it has 4)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Arguments[0] + " " + row.Arguments[1] + " " + row.Arguments[2]);
        const Bytes before = viaCli.ReadFile(row.Files[0]);
        const Ran ran = Cli(viaCli, row.Arguments);
        EXPECT_EQ(ran.Exit, row.Edit ? 0 : 1);
        EXPECT_NE(ran.Err.find(row.Refusal), std::string::npos) << ran.Err;
        if (row.Edit) row.Edit();
        for (const std::string& file : row.Files) EXPECT_EQ(viaCli.ReadFile(file), viaWindow.ReadFile(file)) << file;
        EXPECT_EQ(viaCli.ReadFile(row.Files[0]) == before, !row.Edit);
    }
    EXPECT_EQ(run.Shown(), std::vector<std::string>{});
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
    game.WriteText("edit.csv", "name,damage,speed\r\nHornet IR,261,\r\nDart,,1400\r\n");
    EXPECT_EQ(Cli(game, {"import", "missiles", game.PathOf("edit.csv")}).Out, "1 missiles changed\n");
    std::string expected = valuesBefore;
    expected.replace(expected.find("damage=260"), 10, "damage=261");
    EXPECT_EQ(Cli(game, {"missiles", "get"}).Out, expected);

    const Bytes edited = game.ReadFile("Game\\missile.iff");
    for (const auto& [refused, where] : std::vector<std::pair<std::string, std::string>>{
             {"name,speed\r\nDart,1\r\nNope,2\r\n", "line 3, column 1: Unknown missile: Nope"},
             {"name,speed\r\nDart,1\r\n\"Hornet IR\",2\r\nDart,x\r\n", "line 4, column 1: Dart has two rows"},
             {"name,speed,rear firing\r\nDart,1,2\r\n", "line 2, column 3: rear firing=2: '2' is not 0 or 1"},
             {"name,sped\r\nDart,1\r\n", "line 1, column 2: Unknown field of a missile: sped"}}) {
        SCOPED_TRACE(where);
        game.WriteText("bad.csv", refused);
        const Ran ran = Cli(game, {"import", "missiles", game.PathOf("bad.csv")});
        EXPECT_EQ(ran.Exit, 1);
        EXPECT_NE(ran.Err.find(where), std::string::npos) << ran.Err;
        EXPECT_EQ(game.ReadFile("Game\\missile.iff"), edited);
    }
}

}  // namespace
}  // namespace tovarin::testkit
