#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "cli_run.h"
#include "demo/demo_ships.h"
#include "demo/ship_builder.h"
#include "gamefiles/text_encoding.h"
#include "ships/ship_session.h"
#include "testkit/fault_walk.h"

// The command line at the edges a modder meets: sheets as every spreadsheet program saves them, names outside ASCII
// in both directions, a failure naming its file, a file that is no sheet, read-only inputs, a fleet of 1,000 ships,
// and the conventions every command shares ("-", what an import reports, picked fields, one JSON form).
namespace tovarin::testkit {

using namespace demo;  // the demo's builders of ship files, weapon tables and game folders
namespace {

// Every byte of a Windows-1252 text that holds none of the bytes 0x80 to 0x9F as UTF-16 units, behind the mark.
std::string Utf16Of(const std::string& text, bool bigEndian) {
    std::string utf16 = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char c : text) utf16 += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    return utf16;
}

std::string Replaced(std::string text, char from, char to) {
    for (char& c : text) {
        if (c == from) c = to;
    }
    return text;
}

// A sheet as each spreadsheet program saves it imports the same values as the plain one, and the export after it is
// what Excel and LibreOffice open with a double-click.
TEST(SheetDialects, EachImportsWhatThePlainSheetImports) {
    const std::string plain = "ship,speedmax,gun1,mass\r\nKestr\xE9l,640,Scatter G\xFCn,9000\r\nWarden,,3,\r\n";
    std::string reference;
    {
        AccentedDemo game;
        game.WriteText("plain.csv", plain);
        const Ran ran = Cli(game, {"import", "ships", game.PathOf("plain.csv")});
        ASSERT_EQ(ran.Out, "2 ships changed\n") << ran.Err;
        reference = Cli(game, {"export", "ships", "-"}).Out;
    }
    EXPECT_TRUE(reference.starts_with("\xEF\xBB\xBFship,speedmin,"));
    EXPECT_NE(reference.find("\r\nKestr\xC3\xA9l,"), std::string::npos);
    EXPECT_NE(reference.find(",640,"), std::string::npos);
    EXPECT_NE(reference.find(",Scatter G\xC3\xBCn,"), std::string::npos);

    const std::string utf8 = Utf8FromWindows1252(plain);
    const std::pair<std::string, std::string> dialects[] = {
        {"UTF-8", utf8},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + utf8},
        {"UTF-16 with tabs (Excel's Unicode text)", Utf16Of(Replaced(plain, ',', '\t'), false)},
        {"UTF-16 high byte first", Utf16Of(plain, true)},
        {"semicolons (a European Excel)", Replaced(plain, ',', ';')},
        {"LF", "ship,speedmax,gun1,mass\nKestr\xE9l,640,Scatter G\xFCn,9000\nWarden,,3,\n"},
        {"CR", "ship,speedmax,gun1,mass\rKestr\xE9l,640,Scatter G\xFCn,9000\rWarden,,3,"},
        {"blanks around cells",
         "ship , speedmax,gun1 ,mass\r\n Kestr\xE9l ,\t640 , \"Scatter G\xFCn\" ,9000\r\nWarden,,3 ,"},
    };
    for (const auto& [dialect, bytes] : dialects) {
        SCOPED_TRACE(dialect);
        AccentedDemo game;
        game.WriteText("sheet.csv", bytes);
        const Ran ran = Cli(game, {"import", "ships", game.PathOf("sheet.csv")});
        EXPECT_EQ(ran.Out, "2 ships changed\n") << ran.Err;
        EXPECT_EQ(Cli(game, {"export", "ships", "-"}).Out, reference);
    }
}

// A name with an é goes through export, import, ship get, set and --json, typed in UTF-8 or in Windows-1252, while
// the game's files keep Windows-1252; a terminal that speaks Windows-1252 is given it, JSON stays UTF-8.
TEST(NamesOutsideAscii, GoThroughEveryCommandAndTheFilesKeepWindows1252) {
    AccentedDemo game;
    const Ran ships = Cli(game, {"ships"});
    EXPECT_TRUE(ships.Out.starts_with("Kestr\xC3\xA9l\tkestrel.iff\n"));
    EXPECT_TRUE(IsUtf8(ships.Out));
    for (const char* typed : {"Kestr\xC3\xA9l", "Kestr\xE9l"}) {
        EXPECT_EQ(Cli(game, {"ship", "set", typed, "speedmax=641", "gun1=Scatter G\xC3\xBCn"}).Exit, 0);
        EXPECT_EQ(Cli(game, {"ship", "get", typed, "speedmax", "gun1"}).Out, "speedmax=641\ngun1=8\n");
    }
    EXPECT_EQ(Cli(game, {"guns", "get", "Scatter G\xC3\xBCn", "damage", "--json"}).Exit, 0);
    const Ran json = Cli(game, {"guns", "get", "--json"});
    EXPECT_TRUE(IsUtf8(json.Out));
    EXPECT_NE(json.Out.find("\"Scatter G\xC3\xBCn\":{\""), std::string::npos);
    EXPECT_EQ(Cli(game, {"ship", "get", "\xE6\x97\xA5"}).Err, "Unknown ship: \xE6\x97\xA5\n");

    const Ran latin = Cli(game, {"ships"}, "", cli::TerminalEncoding::Windows1252);
    EXPECT_TRUE(latin.Out.starts_with("Kestr\xE9l\tkestrel.iff\n"));
    EXPECT_EQ(Cli(game, {"missiles", "get", "Dart", "speed", "--json"}, "", cli::TerminalEncoding::Windows1252).Out,
              "{\"speed\":1400}\n");

    // Exported, edited and imported again; the switch file and the catalogue still spell the name in Windows-1252.
    ASSERT_EQ(Cli(game, {"export", "ships", game.PathOf("fleet.csv")}).Exit, 0);
    std::string sheet = game.ReadText("fleet.csv");
    sheet.replace(sheet.find(",641,"), 5, ",642,");
    game.WriteText("fleet.csv", sheet);
    EXPECT_EQ(Cli(game, {"import", "ships", game.PathOf("fleet.csv")}).Out, "1 ship changed\n");
    EXPECT_EQ(Cli(game, {"ship", "get", "Kestr\xC3\xA9l", "speedmax", "--json"}).Out, "{\"speedmax\":642}\n");
    EXPECT_NE(game.ReadText("Ships\\switch.dat").find("\r\nKestr\xE9l=Kestr\xE9l\r\n"), std::string::npos);
    EXPECT_NE(game.ReadText("vskinfo.dat").find("\r\nKestr\xE9l=kestrel.iff\r\n"), std::string::npos);
}

// Every failure names its file: a game file by its path in the game folder, any other by the path given; a
// folder that is no game folder says which file is missing; a long cell is cut.
TEST(CommandErrors, EachNamesItsFile) {
    const std::string longCell(1 << 20, '7');
    const struct {
        std::string Name;
        std::function<void(Demo&)> Prepare;
        std::vector<std::string> Arguments;  // "<sheet>" is a sheet in the game folder
        std::string Err;                     // what standard error starts with
    } rows[] = {
        {"a read-only ship file",
         [](Demo& g) { g.MakeReadOnly("Ships\\kestrel.iff"); },
         {"ship", "set", "Kestrel", "mass=1"},
         "Ships\\kestrel.iff: File access denied.\n"},
        {"a missing ship file",
         [](Demo& g) { g.Remove("Ships\\warden.iff"); },
         {"ship", "get", "Warden"},
         "Ships\\warden.iff: File not found.\n"},
        {"a missing gun table",
         [](Demo& g) { g.Remove("Game\\bullet.iff"); },
         {"guns", "get"},
         "Game\\bullet.iff: File not found.\n"},
        {"a missing default profile",
         [](Demo& g) { g.Remove("Ships\\sable.def"); },
         {"ship", "restore", "Sable"},
         "Ships\\sable.def: File not found.\n"},
        {"a missing sheet", [](Demo&) {}, {"import", "guns", "no such.csv"}, "no such.csv: File not found.\n"},
        {"an export into a missing folder",
         [](Demo&) {},
         {"export", "guns", "no such/guns.csv"},
         "no such/guns.csv: the folder no such/ does not exist\n"},
        {"a long cell",
         [&](Demo& g) { g.WriteText("sheet.csv", "ship,mass\r\nKestrel," + longCell + "\r\n"); },
         {"import", "ships", "<sheet>"},
         "<sheet>, line 2, column 2: Kestrel, mass=" + longCell.substr(0, 60) +
             "...: Out of range. Please try a value less than 2000000001.\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        Demo game;
        row.Prepare(game);
        std::vector<std::string> arguments;
        for (const std::string& argument : row.Arguments) {
            arguments.push_back(argument == "<sheet>" ? game.PathOf("sheet.csv") : argument);
        }
        const Ran ran = Cli(game, arguments);
        EXPECT_EQ(ran.Exit, 1);
        std::string expected = row.Err;
        if (expected.starts_with("<sheet>")) expected.replace(0, 7, game.PathOf("sheet.csv"));
        EXPECT_EQ(ran.Err, expected);
    }

#ifndef _WIN32  // the file layer's faults are made in its POSIX calls
    // A Game folder that refuses new files, as a read-only one does.
    Demo game;
    FaultPlan plan(0, {EACCES, false});
    plan.OnlyPathsWith = game.PathOf("Game\\bullet.iff") + ".";  // its temporary sibling
    const Ran refused = Cli(game, {"guns", "set", "Pulse Laser", "damage=41"});
    EXPECT_EQ(refused.Err, "Game\\bullet.iff: File access denied.\n");
#endif

    TempGameFolder empty;
    empty.Remove("ashfall.exe");
    const std::string folder = empty.Folder();
    std::ostringstream out, err;
    EXPECT_EQ(cli::RunCommandLine({"--game", folder, "ships"}, out, err), 1);
    EXPECT_EQ(err.str(), "ashfall.exe not found in " + folder +
                             ": not the folder of an installed Vantorsk Ashfall or Nightwatch (give the game's "
                             "folder with --game DIR)\n");
    std::ostringstream none;
    EXPECT_EQ(cli::RunCommandLine({"--game", folder + "no such folder", "ships"}, out, none), 1);
    EXPECT_EQ(none.str(), "The game folder " + folder + "no such folder does not exist\n");
}

// A file that is no sheet of its kind is refused before anything is looked at, saying what its first line must
// hold; nothing changes.
TEST(GarbageSheets, AreRefusedSayingWhatTheFirstLineMustHold) {
    std::mt19937 random(22);
    std::string noise(1024, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    const struct {
        std::string Name;
        std::string Kind;
        std::string Bytes;
        std::string Err;  // what standard error holds after the sheet's path
    } rows[] = {
        {"an empty file", "ships", "",
         ": an empty file is no sheet of ships: its first line must be a header whose "
         "first cell is \"ship\", as \"export ships\" writes it\n"},
        {"1 KB of zero bytes", "guns", std::string(1024, '\0'),
         ", line 1, column 1: no sheet of guns: its first line "
         "must be a header whose first cell is \"gun\""},
        {"random bytes", "missiles", noise, ": no sheet of missiles"},
        {"a sheet of guns", "ships", "gun,damage\r\nPulse Laser,41\r\n", "no sheet of ships"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        Demo game;
        game.WriteText("sheet.csv", row.Bytes);
        const FolderFiles before = ReadFolder(game.Folder());
        const Ran ran = Cli(game, {"import", row.Kind, game.PathOf("sheet.csv")});
        EXPECT_EQ(ran.Exit, 1);
        EXPECT_EQ(ran.Out, "");
        EXPECT_NE(ran.Err.find(row.Err), std::string::npos) << ran.Err;
        EXPECT_TRUE(ReadFolder(game.Folder()) == before);
    }
}

// What a command only reads is opened for reading: a read-only sheet, profile, catalogue, ship file or table.
TEST(ReadOnlyInputs, AreReadAsWell) {
    Demo game;
    game.WriteText("guns.csv", "gun,damage\r\nPulse Laser,41\r\n");
    ASSERT_EQ(Cli(game, {"ship", "export", "Warden", game.PathOf("warden.vks")}).Exit, 0);
    for (const char* file : {"guns.csv", "warden.vks", "vskinfo.dat", "Ships\\warden.iff"}) {
        game.MakeReadOnly(file);
    }
    EXPECT_EQ(Cli(game, {"import", "guns", game.PathOf("guns.csv")}).Out, "1 gun changed\n");
    EXPECT_EQ(Cli(game, {"ship", "import", "Kestrel", game.PathOf("warden.vks")}).Exit, 0);
    EXPECT_EQ(Cli(game, {"ship", "get", "Warden", "mass"}).Exit, 0);
    game.MakeReadOnly("Game\\bullet.iff");
    EXPECT_EQ(Cli(game, {"guns", "get", "Pulse Laser", "damage"}).Out, "damage=41\n");
}

// 1,000 ships named like "Corsair 0643", whose names take more than the 8,192 bytes one listing call gives: every
// one is listed, found, exported and checked, in the command line and in the window.
TEST(LargeFleet, EveryShipIsListedWhateverTheNamesLength) {
    TempGameFolder game;
    AddDemoWeapons(game);
    const Bytes ship = BuildShip(DemoShips()[0].Plan).File;
    IniSection ships{"ships", {}};
    for (int i = 0; i < 1000; ++i) {
        const std::string number = std::to_string(10000 + i).substr(1);
        ships.Keys.emplace_back("Corsair " + number, "c" + number + ".iff");
        game.SwitchEntries.emplace_back("Corsair " + number, "Corsair " + number);
        game.WriteFile("Ships\\c" + number + ".iff", ship);
    }
    game.SetCatalogueSection(ships);
    game.SetSwitchEntry("Corsair 0999", "Corsair 0999");
    const Ran listed = Cli(game, {"ships"});
    EXPECT_EQ(std::count(listed.Out.begin(), listed.Out.end(), '\n'), 1000);
    EXPECT_TRUE(listed.Out.ends_with("Corsair 0999\tc0999.iff\n"));
    EXPECT_EQ(Cli(game, {"ship", "get", "Corsair 0999", "mass"}).Exit, 0);
    const Ran sheet = Cli(game, {"export", "ships", "-"});
    EXPECT_EQ(std::count(sheet.Out.begin(), sheet.Out.end(), '\n'), 1001);
    EXPECT_EQ(Cli(game, {"check"}).Out, "");
    ProgramRun run(game);
    EXPECT_EQ(run.Form().ComboBox1.Items().size(), 1000U);
}

// "-" for standard output and input, the same report from every import, fields picked as keys are, and one JSON
// form: an object on one line.
TEST(CommandConventions, HoldForEveryCommand) {
    Demo game;
    const Ran exported = Cli(game, {"export", "guns", "-"});
    ASSERT_TRUE(exported.Out.starts_with("gun,speed,"));
    EXPECT_EQ(Cli(game, {"import", "guns", "-"}, exported.Out).Out, "0 guns changed\n");
    EXPECT_EQ(Cli(game, {"import", "ships", "-"}, "ship,mass\r\nKestrel,1300\r\nWarden,1400\r\n").Out,
              "2 ships changed\n");
    const Ran profile = Cli(game, {"ship", "export", "Warden", "-"});
    EXPECT_TRUE(profile.Out.starts_with("[Ship]\r\n"));
    EXPECT_EQ(Cli(game, {"ship", "import", "Kestrel", "-"}, profile.Out).Exit, 0);
    EXPECT_EQ(Cli(game, {"ship", "get", "Kestrel", "mass"}).Out, "mass=1400\n");

    EXPECT_EQ(Cli(game, {"guns", "get", "Pulse Laser", "damage", "range"}).Out, "damage=18\nrange=3000\n");
    EXPECT_EQ(Cli(game, {"guns", "get", "Pulse Laser", "damage", "--json"}).Out, "{\"damage\":18}\n");
    EXPECT_EQ(Cli(game, {"missiles", "get", "Dart", "rear firing", "sub-missile type", "--json"}).Out,
              "{\"rear firing\":0,\"sub-missile type\":\"Dart\"}\n");
    const Ran all = Cli(game, {"missiles", "get", "--json"});
    EXPECT_EQ(std::count(all.Out.begin(), all.Out.end(), '\n'), 1);
    EXPECT_TRUE(all.Out.starts_with("{\"Dart\":{\"lock time (ms)\":0,"));
    EXPECT_EQ(Cli(game, {"guns", "get", "Pulse Laser", "dammage"}).Err, "Unknown field of a gun: dammage\n");
}

}  // namespace
}  // namespace tovarin::testkit
