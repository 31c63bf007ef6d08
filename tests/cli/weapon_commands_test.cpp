#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>

#include "app/application.h"
#include "app/form1.h"
#include "cli/command_line.h"
#include "demo/demo_installation.h"
#include "testkit/temp_game_folder.h"
#include "ui/headless_platform.h"
#include "ui/user_input.h"

// The weapon commands against the gun and missile editors on the demo installation: the same edit gives the same
// table bytes, a refused value changes nothing, and a sheet changes exactly its edited cells.
namespace tovarin::testkit {

using namespace demo;  // the demo's builders of ship files, weapon tables and game folders
namespace {

struct Cli {
    TempGameFolder& Game;
    std::string Out{}, Err{};
    int operator()(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--game", Game.Folder()});
        std::ostringstream out, err;
        const int code = cli::RunCommandLine(arguments, out, err);
        Out = out.str();
        Err = err.str();
        return code;
    }
};

TEST(WeaponCommandsTest, SetSavesAsTheEditorsAndRefusesWithoutWriting) {
    TempGameFolder viaCli, viaWindow;
    demo::WriteDemoInstallation(viaCli);
    demo::WriteDemoInstallation(viaWindow);
    HeadlessPlatform platform{viaWindow.Folder()};
    platform.Answers = {true};  // the archive's patch, which no weapon table shares
    Application app{platform};
    ASSERT_FALSE(app.Start().has_value());
    TForm1& f = app.Form1();
    Cli cli{viaCli};
    struct Row {
        std::vector<std::string> Arguments;
        std::function<void()> Edit;  // the same change through the window; none for a refused one
        std::string TableFile, Refusal{};
    };
    const std::vector<Row> rows = {
        {{"guns", "set", "Ion Cannon", "damage=40", "refire delay (ms)=300"},
         [&] {
             UserInput::Choose(f.ComboBox4, 1);
             UserInput::Type(f.Edit33, "40");
             UserInput::Type(f.Edit34, "300");
             UserInput::Click(f.Button7);
         },
         "Game\\bullet.iff"},
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
         "Game\\missile.iff"},
        {{"guns", "set", "Ion Cannon", "speed=12", "damage=x"}, nullptr, "Game\\bullet.iff", "damage=x: 'x' is not"},
        {{"guns", "set", "Ion Cannon", "speeed=1"}, nullptr, "Game\\bullet.iff", "Unknown field of a gun: speeed"},
        {{"missiles", "set", "Dart", "split up into=256"}, nullptr, "Game\\missile.iff", "split up into=256: Out of"},
        {{"missiles", "set", "Dart", "sub-missile type=Nope"},
         nullptr,
         "Game\\missile.iff",
         "sub-missile type=Nope: Unknown missile: Nope"},
        {{"missiles", "set", "Darts", "speed=1"}, nullptr, "Game\\missile.iff", "Unknown missile: Darts"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Arguments[3]);
        const Bytes before = viaCli.ReadFile(row.TableFile);
        EXPECT_EQ(cli(row.Arguments), row.Edit ? 0 : 1);
        EXPECT_NE(cli.Err.find(row.Refusal), std::string::npos) << cli.Err;
        if (!row.Edit) {
            EXPECT_EQ(viaCli.ReadFile(row.TableFile), before);
            continue;
        }
        row.Edit();
        EXPECT_EQ(viaCli.ReadFile(row.TableFile), viaWindow.ReadFile(row.TableFile));
        EXPECT_NE(viaCli.ReadFile(row.TableFile), before);
    }
}

TEST(WeaponCommandsTest, SheetsChangeExactlyTheirEditedCellsWholeOrNotAtAll) {
    TempGameFolder game;
    demo::WriteDemoInstallation(game);
    Cli cli{game};
    const std::string sheet = game.Folder() + "missiles.csv";
    const auto table = game.PathOf("Game\\missile.iff");
    // A day back, so that any write shows; read back as the file system keeps it (Windows in steps of 100 ns).
    std::filesystem::last_write_time(table, std::filesystem::file_time_type::clock::now() - std::chrono::hours(24));
    const auto old = std::filesystem::last_write_time(table);
    ASSERT_EQ(cli({"missiles", "get"}), 0);
    const std::string valuesBefore = cli.Out;
    ASSERT_EQ(cli({"export", "missiles", sheet}), 0);
    std::string text = game.ReadText("missiles.csv");

    EXPECT_EQ(cli({"import", "missiles", sheet}), 0);
    EXPECT_EQ(cli.Out, "0 missiles changed\n");
    EXPECT_EQ(std::filesystem::last_write_time(table), old);

    // A partial sheet: columns in another order, a cell left empty, one edited value.
    game.WriteText("edit.csv", "name,damage,speed\r\nHornet IR,261,\r\nDart,,1400\r\n");
    EXPECT_EQ(cli({"import", "missiles", game.Folder() + "edit.csv"}), 0);
    EXPECT_EQ(cli.Out, "1 missiles changed\n");
    ASSERT_EQ(cli({"missiles", "get"}), 0);
    std::string expected = valuesBefore;
    expected.replace(expected.find("damage=260"), 10, "damage=261");
    EXPECT_EQ(cli.Out, expected);

    const Bytes edited = game.ReadFile("Game\\missile.iff");
    for (const auto& [refused, where] : std::vector<std::pair<std::string, std::string>>{
             {"name,speed\r\nDart,1\r\nNope,2\r\n", "line 3, column 1: Unknown missile: Nope"},
             {"name,speed\r\nDart,1\r\n\"Hornet IR\",2\r\nDart,x\r\n", "line 4, column 1: Dart has two rows"},
             {"name,speed,rear firing\r\nDart,1,2\r\n", "line 2, column 3: rear firing=2: '2' is not 0 or 1"},
             {"name,sped\r\nDart,1\r\n", "line 1, column 2: Unknown field of a missile: sped"}}) {
        SCOPED_TRACE(where);
        game.WriteText("bad.csv", refused);
        EXPECT_EQ(cli({"import", "missiles", game.Folder() + "bad.csv"}), 1);
        EXPECT_NE(cli.Err.find(where), std::string::npos) << cli.Err;
        EXPECT_EQ(game.ReadFile("Game\\missile.iff"), edited);
    }
}

}  // namespace
}  // namespace tovarin::testkit
