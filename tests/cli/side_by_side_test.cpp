// Two programs at once on one game folder, as real processes: the built tovarin-cli beside another one, beside the
// window, and killed in the middle of a change. Every change holds the folder's lock, so none is half-seen, lost
// or put back while it runs; a change that waits too long is refused by name.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <thread>

#include "cli/cli_run.h"
#include "demo/demo_installation.h"
#include "demo/ship_builder.h"
#include "gamefiles/file_change_set.h"
#include "gamefiles/folder_lock.h"
#include "gamefiles/ini_file.h"
#include "ships/ship_session.h"
#include "testkit/processes.h"
#include "ui/user_input.h"

namespace tovarin::testkit {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr std::size_t kShips = 150;  // an apply long enough for the others to start while it runs
#ifdef _WIN32
constexpr int kRounds = 1;  // Wine starts a process in a tenth of a second, not a thousandth
#else
constexpr int kRounds = 3;
#endif
const std::string kBusy = std::string(kFolderBusyText) + ".\n";

// A fleet of kShips ships ("S1" ...) and the mod "fast", switched on, that sets every one's speedmax to 999; and the
// mods "a" and "b", switched off, of one value each.
struct Fleet : TempGameFolder {
    Fleet() {
        demo::AddDemoWeapons(*this);
        const std::vector<demo::DemoShip> demoShips = demo::DemoShips();
        demo::IniSection catalogue{"ships", {}};
        std::string sheet = "ship,speedmax\r\n";
        for (std::size_t i = 1; i <= kShips; ++i) {
            const std::string name = "S" + std::to_string(i);
            WriteFile("Ships\\s" + std::to_string(i) + ".iff", demo::BuildShip(demoShips[i % 8].Plan).File);
            catalogue.Keys.emplace_back(name, "s" + std::to_string(i) + ".iff");
            SwitchEntries.emplace_back(name, name);
            sheet += name + ",999\r\n";
        }
        SetCatalogueSection(catalogue);
        WriteText("Ships\\switch.dat", demo::IniText({{"swships", SwitchEntries}}));
        WriteText("Tovarin Mods\\fast\\mod.ini", "[Mod]\r\nName=fast\r\n");
        WriteText("Tovarin Mods\\fast\\ships.csv", sheet);
        WriteText("Tovarin Mods\\a\\ships.csv", "ship,hp\r\nS1,11\r\n");
        WriteText("Tovarin Mods\\b\\ships.csv", "ship,hp\r\nS2,12\r\n");
        WriteText("Tovarin Mods\\load order.ini", "[Load order]\r\nfast=on\r\na=off\r\nb=off\r\n");
    }
    std::string Output(const std::string& name) const { return PathOf("out " + name + ".txt"); }
};

// What a process wrote into "out NAME.txt", its lines ended as on Linux.
std::string Said(const demo::GameFolder& game, const std::string& name) {
    std::string text = game.ReadText("out " + name + ".txt");
    std::erase(text, '\r');
    return text;
}

// How many ships a sheet of `export ships -` gives speedmax 999.
std::size_t Modded(const std::string& sheet) {
    std::istringstream lines(sheet);
    std::string line;
    std::getline(lines, line);
    const std::size_t at = line.find(",speedmax,");
    if (at == std::string::npos) return std::string::npos;  // no sheet
    const std::size_t column = static_cast<std::size_t>(std::count(line.begin(), line.begin() + at, ',')) + 1;
    std::size_t modded = 0;
    while (std::getline(lines, line)) {
        std::istringstream cells(line);
        std::string cell;
        for (std::size_t i = 0; i <= column; ++i) std::getline(cells, cell, ',');
        modded += cell.starts_with("999") ? 1 : 0;
    }
    return modded;
}

std::string ExportNow(const Fleet& game) { return Cli(game.Folder(), {"export", "ships", "-"}).Out; }

std::unique_ptr<CliProcess> Start(const Fleet& game, const std::string& output, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--game", game.Folder()});
    return std::make_unique<CliProcess>(arguments, game.Output(output));
}

// Until the recovery record stands: the apply is then writing the ships, holding the folder.
bool WaitForRecord(const Fleet& game) {
    for (int i = 0; i < 5000 && !game.Exists(kChangeRecordName); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return game.Exists(kChangeRecordName);
}

TEST(SideBySide, ReadersDuringAnApplySeeEveryShipBeforeOrAfterItAndChangesAtOnceAllLand) {
    Fleet game;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        const bool on = round % 2 == 0;  // on, then off again: every round changes every ship
        if (round > 0) {
            ASSERT_EQ(Cli(game.Folder(), {"mods", on ? "on" : "off", "fast"}).Exit, 0);
        }
        std::vector<std::unique_ptr<CliProcess>> readers;
        const auto apply = Start(game, "apply", {"mods", "apply"});
        const auto switchA = Start(game, "a", {"mods", on ? "on" : "off", "a"});
        const auto setMass = Start(game, "set", {"ship", "set", "S3", "mass=" + std::to_string(9900 + round)});
        for (int i = 0; i < 3; ++i)
            readers.push_back(Start(game, "reader" + std::to_string(i), {"export", "ships", "-"}));
        const auto switchB = Start(game, "b", {"mods", on ? "on" : "off", "b"});
        const int setExit = setMass->Wait();  // every process has ended before the game is read here
        for (CliProcess* process : {switchA.get(), switchB.get()}) process->Wait();
        EXPECT_EQ(apply->Wait(), 0) << Said(game, "apply");
        for (std::size_t i = 0; i < readers.size(); ++i) {
            const int exit = readers[i]->Wait();
            const std::string seen = Said(game, "reader" + std::to_string(i));
            if (exit != 0) {
                EXPECT_EQ(seen, kBusy);
            } else {
                EXPECT_TRUE(Modded(seen) == 0 || Modded(seen) == kShips) << Modded(seen) << " ships modded";
            }
        }
        EXPECT_EQ(Modded(ExportNow(game)), on ? kShips : 0);
        // Each switch and the value stand, or the command said it was refused.
        for (const auto& [process, output] : {std::pair{switchA.get(), "a"}, std::pair{switchB.get(), "b"}}) {
            const int exit = process->Wait();
            EXPECT_TRUE(exit == 0 || Said(game, output) == kBusy) << output;
            const std::string state = std::string(output) + (on ? "=on" : "=off");
            EXPECT_EQ(exit == 0, game.ReadText("Tovarin Mods\\load order.ini").find(state) != std::string::npos)
                << output;
        }
        const std::string mass = Cli(game.Folder(), {"ship", "get", "S3", "mass"}).Out;
        if (setExit == 0) {
            EXPECT_EQ(mass, "mass=" + std::to_string(9900 + round) + "\n") << Said(game, "apply").substr(0, 300);
        } else {
            EXPECT_EQ(Said(game, "set"), kBusy);
        }
    }
}

// A change that finds the folder held longer than its wait is refused, naming why, with nothing changed; a process
// killed while it holds the folder lets it go, and the next start puts its change back and removes its temporaries.
TEST(SideBySide, AChangeWaitsThenIsRefusedAndAKilledChangeIsPutBackAtTheNextStart) {
    Fleet game;
    {
        // "import" from standard input holds the folder until its input ends.
        CliProcess holder({"--game", game.Folder(), "import", "ships", "-"}, game.Output("holder"), true);
        SetFolderLockWait(20ms);
        for (int i = 0; i < 200 && Cli(game.Folder(), {"ships"}).Exit == 0; ++i) std::this_thread::sleep_for(20ms);
        const Ran refused = Cli(game.Folder(), {"ship", "set", "S3", "mass=1"});
        SetFolderLockWait(kFolderLockWait);
        EXPECT_EQ(refused.Exit, 1);
        EXPECT_EQ(refused.Err, kBusy);
        holder.CloseInput();
        holder.Wait();
        EXPECT_EQ(Cli(game.Folder(), {"ship", "get", "S3", "mass"}).Out, "mass=11200\n");
    }
    bool killedInTheMiddle = false;
    for (int attempt = 0; attempt < 8 && !killedInTheMiddle; ++attempt) {
        // Each attempt changes every ship: the mod goes in, then out again after an apply that finished.
        if (attempt > 0) {
            ASSERT_EQ(Cli(game.Folder(), {"mods", attempt % 2 ? "off" : "on", "fast"}).Exit, 0);
        }
        const std::string before = ExportNow(game);
        CliProcess apply({"--game", game.Folder(), "mods", "apply"}, game.Output("apply"));
        if (!WaitForRecord(game)) continue;
        apply.Kill();
        apply.Wait();
        if (!game.Exists(kChangeRecordName)) continue;  // it had finished: try again
        killedInTheMiddle = true;
        const Ran next = Cli(game.Folder(), {"export", "ships", "-"});
        EXPECT_NE(next.Err.find("did not finish when Tovarin last ran, so its files were put back"), std::string::npos)
            << next.Err;
        EXPECT_EQ(next.Out, before);
        for (const auto& entry : fs::recursive_directory_iterator(game.Folder())) {
            EXPECT_FALSE(entry.path().string().ends_with("~")) << entry.path();
        }
    }
    EXPECT_TRUE(killedInTheMiddle);
}

// The window open on the Kestrel while the command line changes its mass: the window's save refuses, reads the file
// again and keeps what the player typed; a second save keeps both.
TEST(SideBySide, TheWindowsSaveOfAShipChangedByAnotherProgramRefusesThenKeepsBoth) {
    Demo game;
    ProgramRun run(game, {true});
    ProgramRun second(game);  // a second window on the game, which saves last
    TForm1& f = run.Form();
    UserInput::Type(Box(f, "Edit27"), "777");  // hitpoints
    {
        CliProcess other({"--game", game.Folder(), "ship", "set", "Kestrel", "mass=9900"},
                         game.PathOf("out other.txt"));
        ASSERT_EQ(other.Wait(), 0) << Said(game, "other");
    }
    run.Platform.Boxes.clear();
    UserInput::Click(f.Button2);
    ASSERT_EQ(run.Platform.Boxes.size(), 1u);
    EXPECT_EQ(run.Platform.Boxes[0].text,
              "Ships\\kestrel.iff was changed by another program since Tovarin read it: nothing was changed; it has "
              "been read again.");
    EXPECT_EQ(Cli(game, {"ship", "get", "Kestrel", "mass", "hp"}).Out.substr(0, 10), "mass=9900\n");
    EXPECT_EQ(Box(f, "Edit29").Text(), "9900");
    EXPECT_EQ(Box(f, "Edit27").Text(), "777");
    UserInput::Click(f.Button2);
    EXPECT_EQ(Cli(game, {"ship", "get", "Kestrel", "mass", "hp"}).Out, "mass=9900\nhp=777\n");
    second.Platform.Boxes.clear();
    UserInput::Click(second.Form().Button2);
    EXPECT_EQ(second.Shown(), run.Shown());
    EXPECT_EQ(Box(second.Form(), "Edit27").Text(), "777");
    // A save of the window lets the folder go when it is done: the command line goes on at once.
    UserInput::Type(Box(f, "Edit33"), "41");  // the first gun's damage
    UserInput::Click(f.Button7);
    CliProcess after({"--game", game.Folder(), "guns", "get", f.ComboBox4.Text(), "damage"},
                     game.PathOf("out other.txt"));
    EXPECT_EQ(after.Wait(), 0);
    EXPECT_EQ(Said(game, "other"), "damage=41\n");
}

// The same for the window's other saves: another program changes the gun or missile shown (another value of it), or
// the ship file or the catalogue section the slot table was read from. Each save refuses naming that file and keeps
// the player's edit; the second keeps both.
TEST(SideBySide, TheWindowsWeaponAndSlotSavesOfAnItemChangedByAnotherProgramRefuseThenKeepBoth) {
    const auto copySlot = [](TForm1& f) { UserInput::Click(f.Button13); };
    const auto slotsAnd = [](const std::string& other) {
        return [other](const Demo& g, const std::string& ship) {
            const std::string slots = Cli(g, {"slots", "list", ship}).Out;
            return std::to_string(std::count(slots.begin(), slots.end(), '\n')) + " slots, " + other + "=" +
                   TIniFile(g.PathOf(g.CatalogueName())).ReadString("kestrel.iff", other, "") +
                   Cli(g, {"ship", "get", ship, other}).Out;
        };
    };
    const struct {
        int Page;
        TButton TForm1::*Save;
        TComboBox TForm1::*List;  // the item, whose name goes into the commands
        std::function<void(TForm1&)> Edit;
        std::vector<std::string> Other;  // the other program's command line; none: a hand edit of the catalogue
        std::string File;                // named by the refusal
        std::function<std::string(const Demo&, const std::string&)> Read;
        std::string Both;
    } rows[] = {
        {3,
         &TForm1::Button7,
         &TForm1::ComboBox4,
         [](TForm1& f) { UserInput::Type(f.Edit33, "41"); },
         {"guns", "set", "range=3100"},
         "Game\\bullet.iff",
         [](const Demo& g, const std::string& gun) {
             return Cli(g, {"guns", "get", gun, "damage", "range"}).Out;
         },
         "damage=41\nrange=3100\n"},
        {4,
         &TForm1::Button8,
         &TForm1::ComboBox5,
         [](TForm1& f) { UserInput::Type(f.Edit41, "77"); },
         {"missiles", "set", "speed=901"},
         "Game\\missile.iff",
         [](const Demo& g, const std::string& missile) {
             return Cli(g, {"missiles", "get", missile, "damage", "speed"}).Out;
         },
         "damage=77\nspeed=901\n"},
        {1,
         &TForm1::Button14,
         &TForm1::ComboBox6,
         copySlot,
         {"ship", "set", "mass=9900"},
         "Ships\\kestrel.iff",
         slotsAnd("mass"),
         "4 slots, mass=mass=9900\n"},
        {1,
         &TForm1::Button14,
         &TForm1::ComboBox6,
         copySlot,
         {},
         "vskinfo.dat",
         slotsAnd("Note"),
         "4 slots, Note=by hand"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.File);
        Demo game;
        ProgramRun run(game, {true});
        TForm1& f = run.Form();
        UserInput::ShowPage(f.PageControl1, row.Page);
        const std::string item = (f.*row.List).Text();
        row.Edit(f);
        if (row.Other.empty()) {
            TIniFile(game.PathOf(game.CatalogueName())).WriteString("kestrel.iff", "Note", "by hand");
        } else {
            std::vector<std::string> command{"--game", game.Folder()};
            command.insert(command.end(), row.Other.begin(), row.Other.end());
            command.insert(command.end() - 1, item);
            CliProcess other(command, game.PathOf("out other.txt"));
            ASSERT_EQ(other.Wait(), 0) << Said(game, "other");
        }
        run.Platform.Boxes.clear();
        UserInput::Click(f.*row.Save);
        ASSERT_EQ(run.Platform.Boxes.size(), 1u);
        EXPECT_EQ(run.Platform.Boxes[0].text, row.File +
                                                  " was changed by another program since Tovarin read it: nothing was "
                                                  "changed; it has been read again.");
        EXPECT_TRUE(f.Caption().starts_with("*" + item)) << f.Caption();  // the player's edit is still there
        UserInput::Click(f.*row.Save);
        EXPECT_EQ(run.Platform.Boxes.size(), 1u);
        EXPECT_EQ(row.Read(game, item), row.Both);
    }
}

// Temporary files of ours that a process ended in the middle of its change left behind are removed by the next start
// of either front-end, without a word; files that only look alike, or lie outside our trees, stay.
TEST(LeftoverFiles, TheNextStartRemovesOursAndSaysNothing) {
    const struct {
        std::string File;
        bool Ours;
    } files[] = {
        {"Ships\\kestrel.iff.4711-3.part~", true},
        {"Ships\\switch.dat.12-1.edit~", true},
        {"Ships\\switch.dat.edit~", true},
        {"Ships\\switch.dat.12-1.edit~.~aB3dE9", true},
        {"vskinfo.dat.~x1Y2z3", true},
        {"Tovarin unfinished change.rec.9-2.part~", true},
        {"Game\\bullet.iff.part~", true},
        {"Tovarin Backup\\Ships\\kestrel.iff.1-1.part~", true},
        {"Tovarin Backup\\notes.ini.~Qw12eR", true},
        {"Tovarin Mods\\fast\\ships.csv.3-3.part~", true},
        {"Ships\\kestrel.iff.bak", false},
        {"Ships\\notes~", false},
        {"Music\\theme.ogg.part~", false},
        {"Ships\\switch.dat.~ab", false},
    };
    for (const bool window : {false, true}) {
        SCOPED_TRACE(window ? "window" : "command line");
        Demo game;
        for (const auto& file : files) game.WriteText(file.File, "left");
        if (window) {
            ProgramRun run(game, {true});
            EXPECT_EQ(run.Shown().size(), 2u) << run.Shown().back();  // the patch: its question and its success
            EXPECT_FALSE(run.Exit.has_value());
        } else {
            EXPECT_EQ(Cli(game, {"ships"}).Err, "");
        }
        for (const auto& file : files) EXPECT_EQ(game.Exists(file.File), !file.Ours) << file.File;
    }
}

}  // namespace
}  // namespace tovarin::testkit
