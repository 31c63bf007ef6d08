#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <sstream>

#include "cli_run.h"
#include "ships/ship_session.h"
#include "testkit/fault_walk.h"
#include "untidy_demo.h"

// The command line changes exactly what it is told, on files that hold more than a sheet shows: an unchanged sheet,
// profile or set writes nothing, and a value no file could hold as meant is refused, naming it, with no file changed.
namespace tovarin::testkit {

using namespace demo;  // the demo's builders of ship files, weapon tables and game folders
namespace {

TEST(ExactChanges, AnUnchangedSheetProfileOrSetWritesNothing) {
    Untidy game;
    const auto file = [&](const std::string& name) { return game.PathOf(name); };
    std::vector<std::vector<std::string>> commands{{"guns", "set", "Pulse Laser", "speed=1234", "damage=18"},
                                                   {"missiles", "set", "Dart", "range=2500", "rear firing=0"}};
    for (const std::string kind : {"ships", "guns", "missiles"}) {
        ASSERT_EQ(Cli(game, {"export", kind, file(kind + ".csv")}).Exit, 0);
        commands.push_back({"import", kind, file(kind + ".csv")});
    }
    for (const std::string ship : {"Kestrel", "Warden", "Corsair"}) {
        ASSERT_EQ(Cli(game, {"ship", "export", ship, file(ship + ".vks")}).Exit, 0);
        commands.push_back({"ship", "import", ship, file(ship + ".vks")});
        std::vector<std::string>& set = commands.emplace_back(std::vector<std::string>{"ship", "set", ship});
        std::istringstream values(Cli(game, {"ship", "get", ship}).Out);
        for (std::string value; std::getline(values, value);) set.push_back(value);
    }
    const FolderFiles before = GameFiles(game.Root(), true);
    for (const std::vector<std::string>& command : commands) {
        SCOPED_TRACE(command[0] + " " + command[1] + " " + command[2]);
        EXPECT_EQ(Cli(game, command).Exit, 0);
        EXPECT_TRUE(GameFiles(game.Root(), true) == before);
    }
}

TEST(ExactChanges, AValueNoFileCouldHoldAsMeantIsRefusedNamingItsKeyValueAndCell) {
    Untidy game;
    const auto import = [&](const std::string& name, const std::string& text, const std::string& kind = "ships") {
        game.WriteText(name, text);
        return std::vector<std::string>{"import", kind, game.PathOf(name)};
    };
    const std::vector<std::pair<std::vector<std::string>, std::string>> rows = {
        {{"ship", "set", "Kestrel", "hp=1", "speedmax=fast"}, "Kestrel, speedmax=fast: 'fast' is not a valid integer"},
        {{"ship", "set", "Kestrel", "hp=1", "gunammo1=70000"}, "Kestrel, gunammo1=70000: Range check error.\n"},
        {{"ship", "set", "Kestrel", "hp=1", "speedmux=1"}, "Kestrel has no key speedmux\n"},
        {{"ship", "set", "Lancet", "hp=1", "gun4=1"}, "Lancet has no key gun4\n"},
        {{"ship", "set", "Kestrel", "hp=1", "gun1=Laser"}, "Kestrel, gun1=Laser: the catalogue lists no gun named"},
        {{"ship", "set", "Kestrel", "booster=2"}, "Kestrel, booster=2: '2' is not 0 or 1.\n"},
        {{"ship", "set", "Warden", "hp=1", "autoslide=-1"}, "Warden, autoslide=-1: '-1' is not 0 or 1.\n"},
        {{"ship", "set", "Kestrel", "gun3=99"}, "Kestrel, gun3=99: the catalogue lists no gun 99 (0-12)\n"},
        {{"ship", "set", "Kestrel", "miss1=Nope"}, "Kestrel, miss1=Nope: the catalogue lists no missile named Nope\n"},
        {{"ship", "set", "Kestrel", "miss2=-1"}, "Kestrel, miss2=-1: the catalogue lists no missile -1 (0-6)\n"},
        {{"ship", "set", "Kestrel", "mass=16777217"},
         "Kestrel, mass=16777217: 16777217 would read back as 16777216. Please try 16777216 or 16777218.\n"},
        {{"ship", "set", "Kestrel", "hp=2147483647"},
         "Kestrel, hp=2147483647: 2147483647 would read back as no whole number. Please try 2147483520.\n"},
        {{"ship", "set", "Kestrel", "speedmin=-2147483647"}, "Please try -2147483520.\n"},
        {import("a.csv", "ship,speedmax,booster\r\nKestrel,640,\r\nWarden,,2\r\n"),
         "a.csv, line 3, column 3: Warden, booster=2: '2' is not 0 or 1.\n"},
        {import("b.csv", "ship,hp,gun3\r\nKestrel,,99\r\n"),
         "b.csv, line 2, column 3: Kestrel, gun3=99: the catalogue lists no gun 99 (0-12)\n"},
        {{"guns", "set", "Pulse Laser", "damage=16777217"},
         "damage=16777217: 16777217 would read back as 16777216. Please try 16777216 or 16777218\n"},
        {{"missiles", "set", "Dart", "duration (ms)=2147483647"},
         "duration (ms)=2147483647: 2147483647 would read back as no whole number. Please try 2147483500\n"},
        {{"guns", "set", "Ion Cannon", "speed=12", "damage=x"}, "damage=x: 'x' is not a valid integer value\n"},
        {{"guns", "set", "Ion Cannon", "speeed=1"}, "Unknown field of a gun: speeed\n"},
        {{"missiles", "set", "Dart", "split up into=256"}, "split up into=256: Out of range."},
        {{"missiles", "set", "Dart", "sub-missile type=Nope"}, "sub-missile type=Nope: Unknown missile: Nope\n"},
        {{"missiles", "set", "Darts", "speed=1"}, "Unknown missile: Darts\n"},
        {{"slots", "copy", "Kestrel", "4"}, "Kestrel has no gun slot 4 (it has 3)\n"},  // one past the last
        {import("c.csv", "missile,speed\r\nDart,1\r\nNope,2\r\n", "missiles"),
         "c.csv, line 3, column 1: Unknown missile: Nope\n"},
        {import("d.csv", "missile,speed\r\nDart,1\r\n\"Hornet IR\",2\r\nDart,x\r\n", "missiles"),
         "d.csv, line 4, column 1: Dart is named twice"},
        {import("g.csv", "ship,speedmin,speednor,speedmax\r\nKestrel,66,308,600\r\nWarden,66,30"),
         "g.csv, line 3, column 3: the sheet ends inside this row"},
        {import("h.csv", "gun,,damage\r\nPulse Laser,1,2\r\n", "guns"),
         "h.csv, line 1, column 2: the header names no key for this column"},
        {import("e.csv", "missile,speed,rear firing\r\nDart,1,2\r\n", "missiles"),
         "e.csv, line 2, column 3: rear firing=2: '2' is not 0 or 1"},
        {import("f.csv", "missile,sped\r\nDart,1\r\n", "missiles"),
         "f.csv, line 1, column 2: Unknown field of a missile: sped"},
    };
    const FolderFiles before = GameFiles(game.Root(), true);
    for (const auto& [command, message] : rows) {
        SCOPED_TRACE(message);
        const Ran ran = Cli(game, command);
        EXPECT_EQ(ran.Exit, 1);
        EXPECT_NE(ran.Err.find(message), std::string::npos) << ran.Err;
        EXPECT_TRUE(GameFiles(game.Root(), true) == before);
    }
}

}  // namespace
}  // namespace tovarin::testkit
