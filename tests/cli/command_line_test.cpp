#include <gtest/gtest.h>

#include <regex>

#include "cli_run.h"

// tovarin-cli's conventions, one command line per row, run in order on two games: data on standard output,
// errors on standard error, exit code 0 done, 1 refused or failed, 2 wrong usage (diff: 1 differences, 2 trouble).
// And `check` on the demo installation of both editions and on a copy damaged five ways: one line per finding,
// exit code 1 when anything is found.
namespace tovarin::testkit {

using namespace demo;  // the demo's builders of ship files, weapon tables and game folders
namespace {

struct Row {
    std::string Name;
    std::vector<std::string> Arguments;  // "<demo>" and "<bare>" stand for the games' folders
    int Exit;
    std::string Out;  // what standard output holds, or a part of it when it starts with "..."
    std::string Err;  // a part of standard error; "" when nothing may be written there
};

bool Holds(const std::string& text, const std::string& expected) {
    if (expected.starts_with("...")) return text.find(expected.substr(3)) != std::string::npos;
    return text == expected;
}

TEST(CommandLineTest, CommandsAnswerWithTheirDataMessagesAndExitCodes) {
    Demo demo;
    demo.SetSwitchEntry("Kestrel", "Warden");
    demo.SetSwitchEntry("Warden", "Kestrel");
    const Bytes archive = demo.ReadFile("data.tre");
    // A fresh game without a switch file, an archive or an uninstall record.
    TempGameFolder bare;
    bare.AddShip("Hawk", "hawk.iff", {});
    bare.Remove("Ships\\switch.dat");
    TempGameFolder noGame;
    noGame.SetCatalogueKey("Info", "Run", "vantorsk.exe");

    const std::string ships =
        "Kestrel\tkestrel.iff\tWarden\nWarden\twarden.iff\tKestrel\nHalberd\thalberd.iff\nCorsair\tcorsair.iff\n"
        "Lancet\tlancet.iff\nBastion\tbastion.iff\nMarauder\tmarauder.iff\nSable\tsable.iff\n";
    const std::vector<Row> rows = {
        {"no command", {}, 2, "", "A command is required"},
        {"an unknown command", {"--game", "ships", "fly", "Kestrel"}, 2, "", "Unknown command: fly\n"},
        {"an unknown command of a group", {"ship", "fly"}, 2, "", "Unknown command: ship fly\n"},
        {"a missing argument", {"ship", "set", "Kestrel"}, 2, "", "CHANGES is required"},
        {"a slot that is no number", {"slots", "copy", "Kestrel", "x"}, 2, "", "Could not convert"},
        {"the overview", {"--help"}, 0, "...  import missiles   tovarin-cli import missiles missiles.csv\n", ""},
        {"a command's help", {"swap", "--help"}, 0, "...Example: tovarin-cli swap Kestrel Warden", ""},
        {"ships, exchanged ones with their partner", {"--game", "<demo>", "ships"}, 0, ships, ""},
        {"--game after the command", {"patch", "status", "--game", "<demo>"}, 0, "not installed\n", ""},
        {"install", {"--game", "<demo>", "patch", "install"}, 0, "Install successful\n", ""},
        {"installed", {"--game", "<demo>", "patch", "status"}, 0, "installed\n", ""},
        {"remove", {"--game", "<demo>", "patch", "remove"}, 0, "Uninstall successful\n", ""},
        {"a fresh game gets its switch entries", {"--game", "<bare>", "ships"}, 0, "Hawk\thawk.iff\n", ""},
        {"no archive position listed", {"--game", "<bare>", "patch", "status"}, 0, "not listed\n", ""},
        {"no archive to restore", {"--game", "<bare>", "patch", "remove"}, 1, "", "Couldn't find file <bare>data.tre"},
        {"kept", {"--game", "<bare>", "backup", "status"}, 0, "Ships\\switch.dat\tcreated\n", ""},
        {"a created file", {"--game", "<bare>", "diff"}, 1, "file Ships\\switch.dat: added\n", ""},
        {"restore nothing", {"--game", "<bare>", "restore"}, 2, "", "Name the files to restore, or give --all"},
        {"not kept", {"--game", "<bare>", "restore", "Ships/hawk.iff"}, 1, "", "Ships/hawk.iff has no kept"},
        {"restore", {"--game", "<bare>", "restore", "ships/SWITCH.DAT"}, 0, "removed\tShips\\switch.dat\n", ""},
        {"restored", {"--game", "<bare>", "backup", "status"}, 0, "Ships\\switch.dat\tabsent\n", ""},
        {"no difference", {"--game", "<bare>", "diff"}, 0, "", ""},
        {"no profile", {"--game", "<demo>", "ship", "import", "Kestrel", "x.vks"}, 1, "", "x.vks: File not found.\n"},
        {"entries again", {"--game", "<bare>", "ships"}, 0, "Hawk\thawk.iff\n", ""},
        {"nothing kept", {"--game", "<demo>", "diff"}, 0, "", "No originals are kept in \"Tovarin Backup\""},
        {"no game", {"--game", "<nogame>", "ships"}, 1, "", "vantorsk.exe not found in <nogame>: not the folder of"},
        {"no game to diff", {"--game", "<nogame>", "diff"}, 2, "", "vantorsk.exe not found"},
        {"why: an unknown ship", {"--game", "<demo>", "why", "Kestrl"}, 1, "", "Unknown ship: Kestrl\n"},
        {"why: no such key", {"--game", "<demo>", "why", "Kestrel", "gun9"}, 1, "", "Kestrel has no key gun9\n"},
        {"why: an unknown gun", {"--game", "<demo>", "why", "gun", "Laser"}, 1, "", "Unknown gun: Laser\n"},
        {"why: no such field", {"--game", "<demo>", "why", "missile", "Dart", "x"}, 1, "", "of a missile: x"},
        {"why: no weapon named", {"--game", "<demo>", "why", "gun"}, 2, "", "Name the gun"},
    };
    const auto placed = [&](std::string text) {
        for (const auto& [name, game] :
             {std::pair<std::string, TempGameFolder*>{"<demo>", &demo}, {"<bare>", &bare}, {"<nogame>", &noGame}}) {
            if (const std::size_t at = text.find(name); at != std::string::npos)
                text.replace(at, name.size(), game->Folder());
        }
        return text;
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        std::vector<std::string> arguments;
        for (const std::string& argument : row.Arguments) arguments.push_back(placed(argument));
        std::ostringstream out, err;
        EXPECT_EQ(cli::RunCommandLine(arguments, out, err), row.Exit);
        EXPECT_TRUE(Holds(out.str(), row.Out)) << out.str();
        EXPECT_TRUE(row.Err.empty() ? err.str().empty() : Holds(err.str(), "..." + placed(row.Err))) << err.str();
    }
    EXPECT_EQ(demo.ReadFile("data.tre"), archive);
    EXPECT_EQ(bare.ReadText("Ships\\switch.dat"), "[swships]\r\nHawk=Hawk\r\n");
}

// The terminal's encoding as its locale names it: the Latin-1 family speaks the game's Windows-1252, anything else
// UTF-8.
// A group's --help lists its own commands only, and a file argument says which way "-" goes.
TEST(CommandLineTest, HelpOfAGroupListsItsOwnCommands) {
    const struct {
        std::vector<std::string> Arguments;
        std::string Holds, Lacks;
    } rows[] = {{{"ship", "--help"}, "  ship restore ", "guns get"},
                {{"backup", "--help"}, "  backup status ", "ship get"},
                {{"import", "ships", "--help"}, "- for standard input\n", "or output"},
                {{"export", "ships", "--help"}, "- for standard output\n", "input"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Arguments.front());
        std::ostringstream out, err;
        EXPECT_EQ(cli::RunCommandLine(row.Arguments, out, err), 0);
        EXPECT_NE(out.str().find(row.Holds), std::string::npos) << out.str();
        EXPECT_EQ(out.str().find(row.Lacks), std::string::npos) << out.str();
    }
}

TEST(TerminalTest, TheLocaleTellsTheEncoding) {
    using enum cli::TerminalEncoding;
    const std::pair<std::string, cli::TerminalEncoding> rows[] = {{"en_US.UTF-8", Utf8},
                                                                  {"de_DE.ISO-8859-1", Windows1252},
                                                                  {"fr_FR.iso885915@euro", Windows1252},
                                                                  {"pt_BR.CP1252", Windows1252},
                                                                  {"C", Utf8},
                                                                  {"", Utf8},
                                                                  {"ru_RU.KOI8-R", Utf8},
                                                                  {"sv_SE.latin1", Windows1252}};
    for (const auto& [locale, encoding] : rows) EXPECT_EQ(cli::EncodingOfLocale(locale), encoding) << locale;
}

TEST(CheckCommandTest, FindsEachDamageOnItsOwnLine) {
    for (const Edition edition : {Edition::Base, Edition::Nightwatch}) {
        const Ran sound = Cli(Demo(edition), {"check"});
        EXPECT_EQ(sound.Exit, 0);
        EXPECT_EQ(sound.Out + sound.Err, "");
    }
    Demo game;
    std::string halberd = game.ReadText("Ships\\halberd.iff");
    halberd[7] += 2;  // the low byte of the top-level form's length
    game.WriteText("Ships\\halberd.iff", halberd);
    game.WriteText("Ships\\lancet.iff",
                   std::regex_replace(game.ReadText("Ships\\lancet.iff"), std::regex("GUNSPOWR"), "GUNSPOWX"));
    game.SetCatalogueKey("MissData", "1", "99999");
    game.SetSwitchEntry("Kestrel", "Warden");
    game.Remove("Ships\\sable.iff");
    const Ran ran = Cli(game, {"check"});
    EXPECT_EQ(ran.Exit, 1);
    EXPECT_EQ(ran.Out,
              "Game\\missile.iff: Hornet IR: Read beyond end of file\n"
              "Ships\\halberd.iff: the top-level form says 384 bytes, the file has 382\n"
              "Ships\\lancet.iff: would not load (I/O error 131)\n"
              "Ships\\sable.iff: the ship file of Sable is missing\n"
              "Ships\\switch.dat: Kestrel=Warden has no partner entry Warden=Kestrel\n");
    EXPECT_EQ(ran.Err, "");
}

}  // namespace
}  // namespace tovarin::testkit
