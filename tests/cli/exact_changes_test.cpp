#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>

#include "cli_run.h"
#include "ships/ship_session.h"
#include "testkit/fault_walk.h"

// The command line changes exactly what it is told, on an installation whose files hold more than a sheet shows:
// floats that are not whole numbers, the byte after each missile count, a SLID chunk of value 2, flag bits no box
// shows. An unchanged sheet or profile writes nothing, one changed cell changes that value's bytes alone, switching
// autoslide or the booster moves the other bytes without changing them, and a value no file could hold as meant
// is refused before anything changes.
namespace tovarin::testkit {

using namespace demo;  // the demo's builders of ship files, weapon tables and game folders
namespace {

// The demo installation with every ship float half a unit off a whole number (600.5 shows as 600), the booster
// values too, the byte after each missile count 1 and the SLID chunks' value 2; the Pulse Laser's speed and the
// Dart's range are not whole either, and the Dart has a flag bit set that no box shows.
struct Untidy : Demo {
    Untidy() {
        for (DemoShip ship : DemoShips()) {
            for (auto [box, value] : FloatBoxes(ship.Plan)) *value += 0.5F;
            if (ship.Plan.Booster)
                for (float& value : ship.Plan.Booster->Values) value += 0.5F;
            if (ship.Plan.Missiles)
                for (ShipMissileMount& mount : ship.Plan.Missiles->Mounts) mount.LoadsHigh = 1;
            ship.Plan.SlideValue = 2;
            WriteFile("Ships\\" + ship.File, BuildShip(ship.Plan).File);
        }
        Bytes guns = ReadFile("Game\\bullet.iff");
        PutFloat(guns, static_cast<std::size_t>(DemoGunBase(0)) + 20, 1234.5F);
        WriteFile("Game\\bullet.iff", guns);
        Bytes missiles = ReadFile("Game\\missile.iff");
        PutFloat(missiles, static_cast<std::size_t>(DemoMissileBase(0)) + 28, 2500.25F);
        missiles[static_cast<std::size_t>(DemoMissileBase(0)) + 73] |= 0x20;
        WriteFile("Game\\missile.iff", missiles);
        // A day back, so that any write shows in the modification times.
        for (const auto& entry : std::filesystem::recursive_directory_iterator(Root())) {
            if (entry.is_regular_file()) {
                std::filesystem::last_write_time(
                    entry.path(), std::filesystem::last_write_time(entry.path()) - std::chrono::hours(24));
            }
        }
    }
};

// Every file of the game but the kept originals, by name, each one's modification time after its bytes.
FolderFiles GameFiles(const GameFolder& game) {
    FolderFiles files = ReadFolder(game.Root());
    std::erase_if(files, [](const auto& file) { return file.first.starts_with("Tovarin Backup/"); });
    for (auto& [name, bytes] : files) {
        const auto time = std::filesystem::last_write_time(game.Root() / name).time_since_epoch().count();
        for (int i = 0; i < 8; ++i) bytes.push_back(static_cast<std::uint8_t>(time >> (8 * i)));
    }
    return files;
}

// The sheet with one cell replaced: the row that names `name`, the column headed `key`. The demo's names and
// values hold no commas or quotes.
std::string WithCell(const std::string& sheet, const std::string& name, const std::string& key,
                     const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(sheet);
    for (std::string line; std::getline(lines, line, '\n');) {
        std::vector<std::string>& cells = rows.emplace_back();
        std::istringstream row(line.substr(0, line.size() - 1));  // without its CR
        for (std::string cell; std::getline(row, cell, ',');) cells.push_back(cell);
        if (line.size() > 1 && line[line.size() - 2] == ',') cells.emplace_back();
    }
    const auto column = std::find(rows[0].begin(), rows[0].end(), key) - rows[0].begin();
    std::string edited;
    for (std::vector<std::string>& cells : rows) {
        if (cells[0] == name) cells.at(static_cast<std::size_t>(column)) = text;
        for (std::size_t i = 0; i < cells.size(); ++i) edited += (i > 0 ? "," : "") + cells[i];
        edited += "\r\n";
    }
    return edited;
}

TEST(ExactChanges, AnUnchangedSheetProfileOrSetWritesNothing) {
    Untidy game;
    TempFolder sheets;
    const auto sheet = [&](const std::string& name) { return (sheets.Path() / name).string(); };
    std::vector<std::vector<std::string>> commands;
    for (const std::string kind : {"ships", "guns", "missiles"}) {
        ASSERT_EQ(Cli(game, {"export", kind, sheet(kind + ".csv")}).Exit, 0);
        commands.push_back({"import", kind, sheet(kind + ".csv")});
    }
    for (const DemoShip& demoShip : DemoShips()) {
        const std::string& ship = demoShip.Name;
        ASSERT_EQ(Cli(game, {"ship", "export", ship, sheet(ship + ".vks")}).Exit, 0);
        commands.push_back({"ship", "import", ship, sheet(ship + ".vks")});
        std::vector<std::string>& set = commands.emplace_back(std::vector<std::string>{"ship", "set", ship});
        std::istringstream values(Cli(game, {"ship", "get", ship}).Out);
        for (std::string value; std::getline(values, value);) set.push_back(value);
    }
    commands.push_back({"guns", "set", "Pulse Laser", "speed=1234", "damage=18"});
    commands.push_back({"missiles", "set", "Dart", "range=2500", "rear firing=0"});
    const FolderFiles before = GameFiles(game);
    for (const std::vector<std::string>& command : commands) {
        SCOPED_TRACE(command[0] + " " + command[1] + " " + command[2]);
        EXPECT_EQ(Cli(game, command).Exit, 0);
        EXPECT_TRUE(GameFiles(game) == before);
    }
    EXPECT_EQ(Cli(game, {"diff"}).Out, "");
}

TEST(ExactChanges, OneChangedCellChangesThatValuesBytesAloneAndDiffSaysIt) {
    struct Row {
        std::string Kind;
        std::function<std::string(const std::string& exported)> Sheet;
        std::string File;
        std::string Line;  // what `diff` says
        std::size_t Width;
    };
    const auto cell = [](std::string name, std::string key, std::string text) {
        return [=](const std::string& exported) { return WithCell(exported, name, key, text); };
    };
    const std::vector<Row> rows = {
        {"ships", cell("Kestrel", "speedmax", "640"), "Ships/kestrel.iff", "ship Kestrel: speedmax: 600 -> 640", 4},
        {"ships", [](const std::string&) { return "ship,hp\r\nWarden,321\r\n"; }, "Ships/warden.iff",
         "ship Warden: hp: 720 -> 321", 4},
        {"ships", cell("Corsair", "gun2", "Ion Cannon"), "Ships/corsair.iff",
         "ship Corsair: gun2: Plasma Repeater -> Ion Cannon", 1},
        {"ships", cell("Warden", "missammo3", "3"), "Ships/warden.iff", "ship Warden: missammo3: 2 -> 3", 2},
        {"guns", cell("Pulse Laser", "damage", "41"), "Game/bullet.iff", "gun Pulse Laser: damage: 18 -> 41", 4},
        {"missiles", cell("Dart", "speed", "1401"), "Game/missile.iff", "missile Dart: speed: 1400 -> 1401", 4},
        {"missiles", cell("Dart", "rear firing", "1"), "Game/missile.iff", "missile Dart: rear firing: 0 -> 1", 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Line);
        Untidy game;
        TempFolder sheets;
        const std::string sheet = (sheets.Path() / "sheet.csv").string();
        ASSERT_EQ(Cli(game, {"export", row.Kind, sheet}).Exit, 0);
        WriteTextFile(sheet, row.Sheet(ReadTextFile(sheet)));
        FolderFiles expected = GameFiles(game);
        EXPECT_EQ(Cli(game, {"import", row.Kind, sheet}).Exit, 0);
        EXPECT_EQ(Cli(game, {"diff"}).Out, row.Line + "\n");
        FolderFiles now = GameFiles(game);
        const Bytes& before = expected[row.File];
        const Bytes& after = now[row.File];
        ASSERT_EQ(before.size(), after.size());
        std::vector<std::size_t> changed;
        for (std::size_t i = 0; i + 8 < before.size(); ++i) {  // the bytes, without the time after them
            if (before[i] != after[i]) changed.push_back(i);
        }
        ASSERT_FALSE(changed.empty());
        EXPECT_LT(changed.back() - changed.front(), row.Width) << "changed from byte " << changed.front();
        expected.erase(row.File);
        now.erase(row.File);
        EXPECT_TRUE(now == expected);
    }
}

// A ship's values by key, as `ship get` prints them.
std::map<std::string, std::string> ShipValuesOf(const GameFolder& game, const std::string& ship) {
    std::map<std::string, std::string> values;
    std::istringstream lines(Cli(game, {"ship", "get", ship}).Out);
    for (std::string line; std::getline(lines, line);)
        values[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
    return values;
}

TEST(ExactChanges, SwitchingAutoslideOrTheBoosterMovesTheOtherBytesWithoutChangingThem) {
    struct Row {
        std::string Ship, File;
        std::vector<std::string> Switches;  // each switched on, then off again
        std::vector<std::string> Values;    // changed with the switches on
    };
    const std::vector<Row> rows = {
        {"Warden", "Ships\\warden.iff", {"autoslide"}, {}},
        {"Kestrel", "Ships\\kestrel.iff", {"booster"}, {}},
        {"Halberd", "Ships\\halberd.iff", {"booster", "autoslide"}, {"hp=851", "speedmax=401"}},
    };
    Untidy game, twin;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Ship);
        const Bytes original = game.ReadFile(row.File);
        std::map<std::string, std::string> values = ShipValuesOf(game, row.Ship);
        std::vector<std::string> on{"ship", "set", row.Ship}, off = on, set = on;
        std::size_t added = 0;
        for (const std::string& key : row.Switches) {
            on.push_back(key + "=1");
            off.push_back(key + "=0");
            values[key] = "1";
            added += key == "booster" ? 114 : 12;
        }
        for (const std::string& change : row.Values) {
            on.push_back(change);
            set.push_back(change);
            values[change.substr(0, change.find('='))] = change.substr(change.find('=') + 1);
        }
        ASSERT_EQ(Cli(game, on).Exit, 0);
        EXPECT_EQ(game.ReadFile(row.File).size(), original.size() + added);
        EXPECT_EQ(ShipValuesOf(game, row.Ship), values);
        // Switched off again, the file is the one that changing the values alone gives (with no values, the
        // original).
        ASSERT_EQ(Cli(game, off).Exit, 0);
        if (!row.Values.empty()) {
            ASSERT_EQ(Cli(twin, set).Exit, 0);
        }
        EXPECT_TRUE(game.ReadFile(row.File) == twin.ReadFile(row.File));
    }
}

TEST(ExactChanges, AValueNoFileCouldHoldAsMeantIsRefusedNamingItsKeyValueAndCell) {
    Untidy game;
    TempFolder sheets;
    const auto import = [&](const std::string& name, const std::string& text) {
        WriteTextFile(sheets.Path() / name, text);
        return std::vector<std::string>{"import", "ships", (sheets.Path() / name).string()};
    };
    const std::vector<std::pair<std::vector<std::string>, std::string>> rows = {
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
    };
    const FolderFiles before = GameFiles(game);
    for (const auto& [command, message] : rows) {
        SCOPED_TRACE(message);
        const Ran ran = Cli(game, command);
        EXPECT_EQ(ran.Exit, 1);
        EXPECT_TRUE(ran.Err.ends_with(message)) << ran.Err;
        EXPECT_TRUE(GameFiles(game) == before);
    }
}

}  // namespace
}  // namespace tovarin::testkit
