// Mods on the demo installation through the command line: the load order decides which value wins, switching a mod
// off gives back its values' original bytes, the player's own changes stay on top, a mod that does not fit the
// installation cannot be switched on, an apply is whole or not at all, and a mod made of one installation's changes
// gives a fresh one the same files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <set>
#include <tuple>

#include "cli_fault_walk.h"
#include "cli_run.h"
#include "gamefiles/case_fold.h"
#include "gamefiles/originals_backup.h"
#include "mods/mod_limits.h"
#include "testkit/demo_mods.h"
#include "testkit/fault_walk.h"
#include "testkit/odd_files.h"
#include "ui/user_input.h"
#include "untidy_demo.h"

namespace tovarin::testkit {
namespace {

// The demo with three mods added in this order: two set the Kestrel's top speed differently, one changes a gun.
struct ThreeMods : Demo {
    ThreeMods() {
        WriteThreeMods(*this, "downloads");
        for (const std::string mod : {"ff", "hm", "gun pack.csv"}) Add(PathOf("downloads\\" + mod));
    }
    void Add(const std::string& path) const { EXPECT_EQ(Cli(*this, {"mods", "add", path}).Out, ""); }
    [[nodiscard]] std::string Get(const std::string& ship, const std::string& key) const {
        return Cli(*this, {"ship", "get", ship, key}).Out;
    }
};

TEST(ModCommands, TheLaterModWinsAndSwitchingOneOffGivesItsOriginalsBack) {
    ThreeMods game;
    const auto listed = [&game] { return Cli(game, {"mods"}).Out; };
    EXPECT_EQ(listed(),
              "1\ton, not applied yet\tFaster Fighters\t1.0\t\t2 ships\t\n"
              "2\ton, not applied yet\tHeavy Metal\t2\t\t2 ships\t\n"
              "3\ton, not applied yet\tgun pack\t\t\t1 gun\t\n");
    const std::string conflict = "Kestrel speedmax: Faster Fighters 640, Heavy Metal 620 -> Heavy Metal\n";
    EXPECT_EQ(Cli(game, {"mods", "conflicts"}).Out, conflict);
    EXPECT_EQ(Cli(game, {"mods", "apply"}).Out,
              conflict +
                  "Ships\\kestrel.iff changed\nShips\\warden.iff changed\nShips\\halberd.iff changed\n"
                  "Game\\bullet.iff changed\n4 files changed\n");
    EXPECT_EQ(game.Get("Kestrel", "speedmax"), "speedmax=620\n");
    EXPECT_EQ(listed().substr(0, 17), "1\ton and applied\t");
    EXPECT_EQ(Cli(game, {"guns", "get", "Pulse Laser"}).Out.find("damage=41\n") != std::string::npos, true);

    // Applying again writes nothing, not even a modification time.
    const auto stamp = std::filesystem::last_write_time(game.PathOf("Ships\\kestrel.iff"));
    const FolderFiles applied = ReadFolder(game.Root());
    EXPECT_EQ(Cli(game, {"mods", "apply"}).Out, conflict + "0 files changed\n");
    EXPECT_EQ(std::filesystem::last_write_time(game.PathOf("Ships\\kestrel.iff")), stamp);
    EXPECT_EQ(ReadFolder(game.Root()), applied);

    // The middle mod off: the Halberd is its original again byte for byte, and every file is as if only the
    // other two had ever been applied.
    EXPECT_EQ(Cli(game, {"mods", "off", "Heavy Metal"}).Exit, 0);
    EXPECT_EQ(listed().substr(0, 22), "1\ton, not applied yet\t");
    EXPECT_EQ(Cli(game, {"mods", "conflicts"}).Out, "");
    EXPECT_EQ(Cli(game, {"mods", "apply"}).Out,
              "Ships\\kestrel.iff changed\nShips\\halberd.iff changed\n2 files changed\n");
    Demo twoOnly;
    twoOnly.WriteText("ff\\mod.ini", kFasterFighters);
    twoOnly.WriteText("ff\\ships.csv", game.ReadText("Tovarin Mods\\ff\\ships.csv"));
    twoOnly.WriteText("gun pack.csv", game.ReadText("Tovarin Mods\\gun pack.csv"));
    for (const std::string mod : {"ff", "gun pack.csv"}) Cli(twoOnly, {"mods", "add", twoOnly.PathOf(mod)});
    EXPECT_EQ(Cli(twoOnly, {"mods", "apply"}).Exit, 0);
    for (const std::string file :
         {"Ships\\kestrel.iff", "Ships\\warden.iff", "Ships\\halberd.iff", "Game\\bullet.iff"}) {
        EXPECT_EQ(game.ReadFile(file), twoOnly.ReadFile(file)) << file;
    }
    EXPECT_EQ(game.ReadFile("Ships\\halberd.iff"), game.ReadFile("Tovarin Backup\\Ships\\halberd.iff"));

    // Back on, and first in the load order: now the other value wins.
    EXPECT_EQ(Cli(game, {"mods", "on", "heavy metal"}).Exit, 0);
    EXPECT_EQ(Cli(game, {"mods", "move", "Heavy Metal", "1"}).Exit, 0);
    EXPECT_EQ(Cli(game, {"mods", "conflicts"}).Out,
              "Kestrel speedmax: Heavy Metal 620, Faster Fighters 640 -> Faster Fighters\n");
    EXPECT_EQ(Cli(game, {"mods", "apply"}).Exit, 0);
    EXPECT_EQ(game.Get("Kestrel", "speedmax"), "speedmax=640\n");
    EXPECT_EQ(game.Get("Kestrel", "mass"), "mass=11000\n");
    // Every original back: the mods go off and the last apply is forgotten, so that a mod switched on again is
    // applied rather than taken for a change of the player's own.
    EXPECT_EQ(Cli(game, {"restore", "--all"}).Out.find("switched off\tevery mod in \"Tovarin Mods\"\n"), 0u);
    EXPECT_EQ(Cli(game, {"mods", "on", "Heavy Metal"}).Exit, 0);
    EXPECT_EQ(Cli(game, {"mods", "apply"}).Out,
              "Ships\\kestrel.iff changed\nShips\\halberd.iff changed\n2 files changed\n");
}

// On files that hold more than a sheet shows (values between whole numbers, bytes no box shows), an apply changes
// what importing the mods' sheets in load order would change and nothing else, and with every mod off each file is
// its original again, byte for byte.
TEST(ModCommands, AnApplyChangesExactlyWhatTheModsSheetsWould) {
    Untidy modded, imported;
    for (const Untidy* game : {&modded, &imported}) WriteThreeMods(*game, "downloads");
    for (const std::string mod : {"ff", "hm", "gun pack.csv"}) {
        EXPECT_EQ(Cli(modded, {"mods", "add", modded.PathOf("downloads\\" + mod)}).Exit, 0);
    }
    EXPECT_EQ(Cli(modded, {"mods", "apply"}).Exit, 0);
    for (const auto& [kind, sheet] : std::vector<std::pair<std::string, std::string>>{
             {"ships", "ff\\ships.csv"}, {"ships", "hm\\ships.csv"}, {"guns", "gun pack.csv"}}) {
        EXPECT_EQ(Cli(imported, {"import", kind, imported.PathOf("downloads\\" + sheet)}).Exit, 0) << sheet;
    }
    const auto gameFiles = [](const GameFolder& game) {
        FolderFiles files = ReadFolder(game.Root());
        std::erase_if(files, [](const auto& file) {
            return !file.first.starts_with("Ships/") && !file.first.starts_with("Game/");
        });
        return files;
    };
    EXPECT_EQ(gameFiles(modded), gameFiles(imported));
}

// Values changed in the editor since the last apply stay on top and are named; --drop-own-changes lets the mods
// decide alone. A ship exchanged since keeps its exchange, and one with a gun slot copied since keeps the slot.
TEST(ModCommands, OwnChangesStayOnTopUnlessDropped) {
    ThreeMods game;
    ASSERT_EQ(Cli(game, {"mods", "apply"}).Exit, 0);
    for (const std::vector<std::string>& edit :
         std::vector<std::vector<std::string>>{{"ship", "set", "Kestrel", "mass=9900"},
                                               {"guns", "set", "Pulse Laser", "damage=50"},
                                               {"swap", "Warden", "Lancet"},
                                               {"slots", "copy", "Halberd", "1"}}) {
        ASSERT_EQ(Cli(game, edit).Exit, 0) << edit[0];
    }
    const std::string kept =
        "kept your own change: Kestrel mass 9900\nkept your own change: Halberd gun3 Ion Cannon\n"
        "kept your own change: Halberd gunammo3 0\nkept your own change: Pulse Laser damage 50\n";
    Ran ran = Cli(game, {"mods", "apply"});
    EXPECT_EQ(ran.Out.substr(ran.Out.find('\n') + 1), kept + "0 files changed\n");
    EXPECT_EQ(game.Get("Warden", "hp"), "hp=500\n");  // in lancet.iff now
    ran = Cli(game, {"mods", "apply", "--drop-own-changes"});
    EXPECT_NE(ran.Out.find("dropped your own change: Kestrel mass 9900\n"), std::string::npos) << ran.Out;
    EXPECT_EQ(game.Get("Kestrel", "mass"), "mass=11000\n");
    EXPECT_NE(Cli(game, {"guns", "get", "Pulse Laser"}).Out.find("damage=41\n"), std::string::npos);
    EXPECT_EQ(Cli(game, {"slots", "list", "Halberd"}).Out.find("3\t"), 33u);

    // Every mod off: what the mods set goes back to the originals, the exchange and the slot stay.
    for (const std::string mod : {"Faster Fighters", "Heavy Metal", "gun pack"}) Cli(game, {"mods", "off", mod});
    EXPECT_EQ(Cli(game, {"mods", "apply"}).Exit, 0);
    EXPECT_EQ(game.ReadFile("Ships\\lancet.iff"), game.ReadFile("Tovarin Backup\\Ships\\warden.iff"));
    EXPECT_EQ(game.ReadFile("Game\\bullet.iff"), game.ReadFile("Tovarin Backup\\Game\\bullet.iff"));
    EXPECT_EQ(game.Get("Halberd", "mass"), "mass=26000\n");
    EXPECT_EQ(Cli(game, {"slots", "list", "Halberd"}).Out.find("3\t"), 33u);
}

// A mod that names what this installation lacks, holds a value the import refuses or was made for the other game
// is added switched off, listed with the reason, cannot be switched on, and stops an apply switched on by hand.
TEST(ModCommands, AModThatDoesNotFitCannotBeSwitchedOn) {
    for (const auto& [files, reason] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"ships.csv", "ship,hp\r\nKestrl,1\r\n"}, "bad\\ships.csv, line 2, column 1: Unknown ship: Kestrl"},
             {{"ships.csv", "ship,hp,speedmux\r\nKestrel,1,2\r\n"},
              "bad\\ships.csv, line 1, column 3: unknown key speedmux"},
             {{"ships.csv", "ship,speedmux\r\n"}, "bad\\ships.csv, line 1, column 2: unknown key speedmux"},
             {{"ships.csv", "ship,gun4\r\nKestrel,1\r\n"},
              "line 2, column 2: Kestrel, gun4=1: Kestrel has no key gun4"},
             {{"ships.csv", "ship,hp\r\nKestrel,lots\r\n"}, "'lots' is not a valid integer value"},
             {{"guns.csv", "gun,damage\r\nLaser,1\r\n"}, "bad\\guns.csv, line 2, column 1: Unknown gun: Laser"},
             {{"missiles.csv", "missile,rear firing\r\nDart,2\r\n"}, "rear firing=2: '2' is not 0 or 1"},
             {{"mod.ini", "[Mod]\r\nGame=Nightwatch\r\n"}, "made for Nightwatch, and this is Vantorsk Ashfall"}}) {
        SCOPED_TRACE(reason);
        Demo game;
        game.WriteText("bad\\" + files[0], files[1]);
        const FolderFiles before = GameFiles(game.Root());
        Ran ran = Cli(game, {"mods", "add", game.PathOf("bad")});
        EXPECT_EQ(ran.Exit, 1);
        EXPECT_NE(ran.Err.find("bad was added switched off: it cannot be switched on: "), std::string::npos);
        EXPECT_NE(ran.Err.find(reason), std::string::npos) << ran.Err;
        EXPECT_EQ(Cli(game, {"mods"}).Out.rfind("1\tcannot be switched on\tbad\t\t\t", 0), 0u);
        ran = Cli(game, {"mods", "on", "bad"});
        EXPECT_EQ(ran.Exit, 1);
        EXPECT_NE(ran.Err.find(reason), std::string::npos) << ran.Err;
        game.WriteText("Tovarin Mods\\load order.ini", "[Load order]\r\nbad=on\r\n");
        ran = Cli(game, {"mods", "apply"});
        EXPECT_EQ(ran.Exit, 1);
        EXPECT_EQ(ran.Err.rfind("bad is switched on but cannot be: ", 0), 0u) << ran.Err;
        std::filesystem::remove_all(game.PathOf("Tovarin Mods"));
        EXPECT_EQ(GameFiles(game.Root()), before);
    }
}

TEST(ModCommands, TheLoadOrderIsKeptByNameAndRefusesWhatItCannotDo) {
    ThreeMods game;
    game.WriteText("Tovarin Mods\\ff\\readme.txt", "thanks for playing");
    for (const auto& [command, refusal] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"mods", "add", game.PathOf("downloads")}, "is not a mod"},
             {{"mods", "on", "Fast"}, "No mod named Fast in \"Tovarin Mods\""},
             {{"mods", "move", "gun pack", "4"}, "Position 4: the load order has places 1 to 3"},
             {{"mods", "make", "a/b"}, "\"a/b\" cannot name a folder"},
             {{"mods", "make", "a=b"}, "\"a=b\" cannot stand in \"load order.ini\""},
             {{"mods", "make", "Nul.txt"}, "\"Nul.txt\" cannot name a folder on Windows, which keeps Nul for a device"},
             {{"mods", "make", "load order.ini"}, "\"load order.ini\" is a file Tovarin keeps"},
             {{"mods", "make", "my mod "}, "leave out the blank at its start or end"},
             {{"mods", "make", "a\nb"}, "cannot hold a line break"},
             {{"mods", "make", ".."}, "\"..\" cannot name a mod: it stands for the folder above"},
             {{"mods", "make", "hm"}, "holds a mod named Heavy Metal already"}}) {
        const Ran ran = Cli(game, command);
        EXPECT_EQ(ran.Exit, 1);
        EXPECT_NE(ran.Err.find(refusal), std::string::npos) << ran.Err;
    }
    EXPECT_EQ(Cli(game, {"mods", "move", "gun pack", "1"}).Exit, 0);
    EXPECT_EQ(Cli(game, {"mods", "remove", "Faster Fighters"}).Exit, 0);
    EXPECT_EQ(Cli(game, {"mods", "remove", "hm"}).Exit, 0);
    EXPECT_EQ(
        game.ReadText("Tovarin Mods\\load order.ini").substr(game.ReadText("Tovarin Mods\\load order.ini").find('[')),
        "[Load order]\r\ngun pack.csv=on\r\n");
    EXPECT_EQ(game.ReadText("Tovarin Mods\\ff\\readme.txt"), "thanks for playing");  // the player's own file stays
    EXPECT_FALSE(game.Exists("Tovarin Mods\\ff\\ships.csv"));
    EXPECT_FALSE(game.Exists("Tovarin Mods\\hm"));
}

// A mod made of an edited installation's changes, added to a fresh one and applied, gives it the same files.
void WriteDownload(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    WriteTextFile(path, bytes);
}

// What "mods add" takes from a download: the whole folder, and nothing through a link, a pipe or a name Windows
// or Tovarin keeps; a refused mod leaves every file, in the game folder and outside it, as it was.
TEST(ModCommands, AddCopiesTheWholeModAndNothingBeyondIt) {
    Demo game;
    TempFolder downloads;
    const std::filesystem::path from = downloads.Path();
    std::string notepad = "\xFF\xFE";  // UTF-16 as Notepad saves it
    for (const char c : std::string("[Mod]\nGame=vantorsk ashfall\n")) notepad += {c, '\0'};
    WriteDownload(from / "ff" / "mod.ini", notepad);
    WriteDownload(from / "ff" / "ships.csv", "ship,speedmax\r\nKestrel,640\r\n");
    WriteDownload(from / "ff" / "readme.txt", "read me");
    WriteDownload(from / "ff" / "applied.dat", "the author's own, damaged");  // not read as this game's record
    WriteDownload(from / "ff" / "pictures" / "kestrel.png", std::string("\x89PNG\0", 5));
    const Ran added = Cli(game, {"mods", "add", (from / "ff").string()});
    EXPECT_EQ(added.Exit, 0) << added.Err;  // its Game= in any letter case
    EXPECT_EQ(game.ReadText("Tovarin Mods\\ff\\readme.txt"), "read me");
    EXPECT_EQ(game.ReadFile("Tovarin Mods\\ff\\pictures\\kestrel.png").size(), 5u);
    EXPECT_EQ(Cli(game, {"mods"}).Out.rfind("1\ton, not applied yet\tff", 0), 0u);
    EXPECT_EQ(Cli(game, {"mods", "apply"}).Exit, 0);

    WriteDownload(from / "outside" / "ships.csv", "ship,hp\r\nKestrel,1\r\n");
    WriteDownload(from / "linked sheet" / "mod.ini", "[Mod]\r\n");
    WriteDownload(from / "linked readme" / "ships.csv", "ship,hp\r\n");
    std::filesystem::create_directories(from / "fifo");
    std::set<std::string> unmade;  // what this system cannot make: only the others are checked
    const auto made = [&unmade](bool done, const std::string& mod) {
        if (!done) unmade.insert(mod);
    };
    made(MakeLink(from / "outside" / "ships.csv", from / "linked sheet" / "ships.csv"), "linked sheet");
    made(MakeLink(from / "outside" / "ships.csv", from / "linked readme" / "readme.txt"), "linked readme");
    made(MakeLink(from / "outside", from / "linked folder"), "linked folder");
    made(MakePipe(from / "fifo" / "mod.ini"), "fifo");
    for (const std::string name : {"aux", "Applied.dat", "dot."}) {
        std::error_code error;
        made(std::filesystem::create_directories(from / name, error), name);
        if (!error) WriteTextFile(from / name / "ships.csv", "ship,hp\r\n");
    }
    std::string deep = "deep";
    for (int i = 0; i < 17; ++i) deep += "/d";
    WriteDownload(from / deep / "x.txt", "x");
    WriteDownload(from / "deep" / "ships.csv", "ship,hp\r\n");
    for (const auto& [mod, refusal] :
         std::vector<std::pair<std::string, std::string>>{{"linked sheet", "linked sheet\\ships.csv is a link"},
                                                          {"linked readme", "linked readme\\readme.txt is a link"},
                                                          {"linked folder", "linked folder is a link"},
                                                          {"fifo", "fifo\\mod.ini is no regular file"},
                                                          {"aux", "\"aux\" cannot name a folder on Windows"},
                                                          {"Applied.dat", "\"Applied.dat\" is a file Tovarin keeps"},
                                                          {"dot.", "leave out the dot at its end"},
                                                          {"deep", "folders nested deeper than a mod may"}}) {
        SCOPED_TRACE(mod);
        if (unmade.contains(mod)) continue;
        const FolderFiles before = ReadFolder(game.Root());
        const FolderFiles outside = ReadFolder(from / "outside");
        const Ran ran = Cli(game, {"mods", "add", (from / mod).string()});
        EXPECT_EQ(ran.Exit, 1);
        EXPECT_NE(ran.Err.find(refusal), std::string::npos) << ran.Err;
        EXPECT_EQ(ReadFolder(game.Root()), before);
        EXPECT_EQ(ReadFolder(from / "outside"), outside);
    }
    // A mod folder someone made a link: removing it takes the link away, never what it points to.
    if (!MakeLink(from / "outside", game.PathOf("Tovarin Mods\\linked"))) return;
    EXPECT_NE(Cli(game, {"mods"}).Out.find("cannot be switched on\tlinked\t\t\tlinked is a link"), std::string::npos);
    EXPECT_EQ(Cli(game, {"mods", "remove", "linked"}).Exit, 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(game.PathOf("Tovarin Mods\\linked"))));
    EXPECT_EQ(ReadTextFile(from / "outside" / "ships.csv"), "ship,hp\r\nKestrel,1\r\n");
}

// A failure at any file call of "mods add" leaves no part of the mod behind, and the retry adds it.
TEST(ModFaults, AnAddLeavesNoPartCopyBehind) {
    TempFolder downloads;
    WriteDownload(downloads.Path() / "ff" / "mod.ini", kFasterFighters);
    WriteDownload(downloads.Path() / "ff" / "ships.csv", "ship,speedmax\r\nKestrel,640\r\n");
    WriteDownload(downloads.Path() / "ff" / "docs" / "readme.txt", "read me");
    const auto prepare = [](const std::filesystem::path& folder) {
        GameFolder installed(folder, Edition::Base);
        AddThreeDemoShips(installed);
    };
    EXPECT_GT(WalkCommandFaults("mods add", prepare, {"mods", "add", (downloads.Path() / "ff").string()}), 0);
    WriteDownload(downloads.Path() / "ff 2" / "mod.ini", kFasterFighters);
    WriteDownload(downloads.Path() / "ff 2" / "docs" / "new" / "readme.txt", "read me again");
    const auto installed = [&](const std::filesystem::path& folder) {
        prepare(folder);
        EXPECT_EQ(Cli(folder.string(), {"mods", "add", (downloads.Path() / "ff").string()}).Exit, 0);
    };
    EXPECT_GT(
        WalkCommandFaults("mods add of an update", installed, {"mods", "add", (downloads.Path() / "ff 2").string()}),
        0);
}

// A record of the last apply or a load order that cannot be read (damaged, or a pipe) stalls no command and stops
// none for ever: the message names it and says what to do, and either way out works.
TEST(ModCommands, ADamagedRecordOfTheApplySaysWhatToDo) {
    ThreeMods game;
    ASSERT_EQ(Cli(game, {"mods", "apply"}).Exit, 0);
    const FolderFiles applied = GameFiles(game.Root());
    const std::string record = "Tovarin Mods\\applied.dat";
    const std::string order = "Tovarin Mods\\load order.ini";
    const std::string advice =
        ": it is damaged. Run \"restore --all\" to put the originals back (which removes it), or "
        "\"mods apply --drop-own-changes\"";
    const std::vector<std::string> drop{"mods", "apply", "--drop-own-changes"}, restore{"restore", "--all"};
    for (const auto& [file, damage, way, refusal] :
         std::vector<std::tuple<std::string, std::string, std::vector<std::string>, std::string>>{
             {record, "kind,name,key,value\r\nship,Kestrel\r\n", drop,
              "applied.dat, line 2: not kind, name, key and value" + advice},
             {record, "@pipe", drop,
              "applied.dat is no regular file (a pipe or a device), which Tovarin does not read" + advice},
             {record, "@pipe", restore, "applied.dat is no regular file"},
             {order, "@pipe", restore, "load order.ini is no regular file"}}) {
        SCOPED_TRACE(refusal);
        std::filesystem::remove(game.PathOf(file));
        if (damage == "@pipe") {
            if (!MakePipe(game.PathOf(file))) continue;
        } else {
            game.WriteText(file, damage);
        }
        const Ran ran = Cli(game, {"mods", "apply"});
        EXPECT_EQ(ran.Exit, 1);
        EXPECT_NE(ran.Err.find(refusal), std::string::npos) << ran.Err;
        EXPECT_EQ(Cli(game, way).Exit, 0);
        EXPECT_TRUE(!game.Exists(file) || std::filesystem::is_regular_file(game.PathOf(file)));
        if (way == restore) {
            EXPECT_FALSE(game.Exists(record));
            for (const std::string mod : {"hm", "ff", "gun pack"}) EXPECT_EQ(Cli(game, {"mods", "on", mod}).Exit, 0);
            EXPECT_EQ(Cli(game, {"mods", "move", "gun pack", "3"}).Exit, 0);  // a load order written anew is by name
            EXPECT_EQ(Cli(game, {"mods", "apply"}).Exit, 0);
        }
        EXPECT_EQ(GameFiles(game.Root()), applied);
    }
}

TEST(ModCommands, AModMadeOfTheChangesGivesAFreshInstallationTheSameFiles) {
    Demo game, fresh;
    for (const std::vector<std::string>& edit : std::vector<std::vector<std::string>>{
             {"ship", "set", "Kestrel", "speedmax=640", "booster=1", "gun2=Scatter Gun"},
             {"ship", "set", "Sable", "mass=1300"},
             {"slots", "copy", "Halberd", "1"},
             {"guns", "set", "Pulse Laser", "damage=41", "range=3100"},
             {"missiles", "set", "Dart", "speed=901", "rear firing=1", "sub-missile type=Spear FF"}}) {
        ASSERT_EQ(Cli(game, edit).Exit, 0) << edit[0];
    }
    Ran ran = Cli(game, {"mods", "make", "My Balance", "--from-changes"});
    EXPECT_EQ(ran.Out, "made Tovarin Mods\\My Balance: 2 ships, 1 gun, 1 missile\n");
    EXPECT_EQ(ran.Err.find("Halberd, gun3 left out: a sheet cannot set or clear a value that one side lacks\n"), 0u);
    EXPECT_EQ(game.ReadText("Tovarin Mods\\My Balance\\mod.ini").substr(41, 101),
              "[Mod]\r\nName=My Balance\r\nVersion=1.0\r\nAuthor=\r\nDescription=\r\nGame=Vantorsk Ashfall\r\n\r\n"
              "[Made against]\r\n");
    EXPECT_EQ(game.ReadText("Tovarin Mods\\My Balance\\guns.csv"), "gun,range,damage\r\nPulse Laser,3100,41\r\n");
    // Switched on where it was made, the mod is what the installation holds: nothing to write, and of one's own
    // only what a sheet cannot carry.
    EXPECT_EQ(Cli(game, {"mods", "apply"}).Out,
              "kept your own change: Halberd gun3 Ion Cannon\nkept your own change: Halberd gunammo3 0\n"
              "0 files changed\n");

    EXPECT_EQ(Cli(fresh, {"mods", "add", game.PathOf("Tovarin Mods\\My Balance")}).Out, "");
    EXPECT_EQ(Cli(fresh, {"mods", "apply"}).Exit, 0);
    for (const std::string file : {"Ships\\kestrel.iff", "Ships\\sable.iff", "Game\\bullet.iff", "Game\\missile.iff"}) {
        EXPECT_EQ(fresh.ReadFile(file), game.ReadFile(file)) << file;
    }
    EXPECT_EQ(Cli(fresh, {"mods", "make", "Empty"}).Out, "made Tovarin Mods\\Empty: nothing\n");
}

// A mod whose folder was renamed by an update, or removed by hand, stays in the load order as missing: the apply
// refuses, naming it, until it is found or taken out; the renamed folder comes last, switched off.
TEST(ModSharing, AMissingModStopsTheApplyUntilFoundOrRemoved) {
    ThreeMods game;
    ASSERT_EQ(Cli(game, {"mods", "apply"}).Exit, 0);
    std::filesystem::rename(game.PathOf("Tovarin Mods\\hm"), game.PathOf("Tovarin Mods\\hm 2.1"));
    EXPECT_NE(Cli(game, {"mods"}).Out.find("\n2\tmissing\thm\t\t\tmissing: \"Tovarin Mods\\hm\" is not there"),
              std::string::npos);
    EXPECT_NE(Cli(game, {"mods"}).Out.find("4\toff\tHeavy Metal\t2\t\t2 ships\t\n"), std::string::npos);
    const FolderFiles before = GameFiles(game.Root());
    Ran ran = Cli(game, {"mods", "apply"});
    EXPECT_EQ(ran.Exit, 1);
    EXPECT_NE(ran.Err.find("lists mods that are not in \"Tovarin Mods\": hm. Nothing was changed"), std::string::npos)
        << ran.Err;
    EXPECT_EQ(GameFiles(game.Root()), before);
    EXPECT_EQ(Cli(game, {"mods", "remove", "hm"}).Exit, 0);
    EXPECT_EQ(Cli(game, {"mods", "on", "heavy metal"}).Exit, 0);
    EXPECT_EQ(Cli(game, {"mods", "apply"}).Out,
              "Kestrel speedmax: Faster Fighters 640, Heavy Metal 620 -> Heavy Metal\n"
              "0 files changed\n");
}

// A file put back to its original gets the mods again at the next apply, and the restore says so.
TEST(ModSharing, ARestoredFileGetsTheModsAgainAtTheNextApply) {
    ThreeMods game;
    ASSERT_EQ(Cli(game, {"mods", "apply"}).Exit, 0);
    const FolderFiles applied = GameFiles(game.Root());
    const Ran ran = Cli(game, {"restore", "ships/KESTREL.iff"});
    EXPECT_NE(ran.Out.find("\"mods apply\" lays them over the originals again"), std::string::npos) << ran.Out;
    EXPECT_EQ(game.Get("Kestrel", "speedmax"), "speedmax=600\n");
    EXPECT_EQ(Cli(game, {"mods"}).Out.substr(0, 22), "1\ton, not applied yet\t");
    EXPECT_EQ(Cli(game, {"mods", "apply"}).Exit, 0);
    EXPECT_EQ(GameFiles(game.Root()), applied);
}

// A switched-off mod too large to read at once is listed from its size and read only when switched on; a sheet beyond
// the bound is refused from its size, before it is read.
TEST(ModSharing, ALargeSwitchedOffModIsReadOnlyWhenSwitchedOn) {
    ThreeMods game;
    std::string sheet = "ship,hp\r\n";
    while (sheet.size() <= kMaxOffModReadBytes) sheet += "Kestrel,300\r\n";  // refused from its third line on
    game.WriteText("Tovarin Mods\\big\\ships.csv", sheet);
    game.WriteText("Tovarin Mods\\huge\\ships.csv", "ship,hp\r\n");
    std::filesystem::resize_file(game.PathOf("Tovarin Mods\\huge\\ships.csv"), kMaxModSheetBytes + 1);  // sparse
    const std::string listed = Cli(game, {"mods"}).Out;
    EXPECT_NE(listed.find("4\toff\tbig\t\t\tsheets of 1.1 MB, read when switched on\t\n"), std::string::npos) << listed;
    EXPECT_NE(listed.find("5\tcannot be switched on\thuge\t\t\thuge\\ships.csv holds 33554433 bytes, more than"),
              std::string::npos);
    EXPECT_EQ(Cli(game, {"mods", "apply"}).Exit, 0);
    const Ran on = Cli(game, {"mods", "on", "big"});
    EXPECT_EQ(on.Exit, 1);
    EXPECT_NE(on.Err.find("big\\ships.csv, line 3"), std::string::npos) << on.Err;
}

// Two mods of one name are told apart by their folders in the list and in the conflicts; a name made in another
// alphabet is the folder's name in UTF-8, mod.ini and the load order are UTF-8 behind a byte-order mark, and the
// mod is named in any letter case.
TEST(ModSharing, SameNamesShowTheirFoldersAndNamesInOtherAlphabetsAreMadeAndRead) {
    Demo game;
    for (const auto& [folder, speed] : {std::pair{"a", "640"}, std::pair{"b", "650"}}) {
        game.WriteText(std::string("Tovarin Mods\\") + folder + "\\mod.ini", "[Mod]\r\nName=Speed\r\n");
        game.WriteText(std::string("Tovarin Mods\\") + folder + "\\ships.csv",
                       std::string("ship,speedmax\r\nKestrel,") + speed + "\r\n");
        ASSERT_EQ(Cli(game, {"mods", "on", folder}).Exit, 0);
    }
    EXPECT_EQ(Cli(game, {"mods", "conflicts"}).Out, "Kestrel speedmax: Speed (a) 640, Speed (b) 650 -> Speed (b)\n");

    ASSERT_EQ(Cli(game, {"ship", "set", "Warden", "hp=444"}).Exit, 0);
    for (const std::string name : {"Mod Légère", "Ταχύτητα", "Скорость"}) {
        SCOPED_TRACE(name);
        const Ran made = Cli(game, {"mods", "make", name, "--from-changes"});
        EXPECT_EQ(made.Out, "made Tovarin Mods\\" + name + ": 1 ship\n") << made.Err;
        EXPECT_TRUE(std::filesystem::is_directory(game.Root() / "Tovarin Mods" / std::filesystem::u8path(name)));
        EXPECT_EQ(game.ReadText("Tovarin Mods\\" + name + "\\mod.ini").rfind("\xEF\xBB\xBF", 0), 0u);
        EXPECT_NE(Cli(game, {"mods"}).Out.find("\t" + name + "\t1.0\t"), std::string::npos);
        EXPECT_EQ(Cli(game, {"mods", "off", FoldedCase(name)}).Exit, 0);
    }
    const std::string order = game.ReadText("Tovarin Mods\\load order.ini");
    EXPECT_EQ(order.rfind("\xEF\xBB\xBF", 0), 0u);
    EXPECT_NE(order.find("\r\nΤαχύτητα=off\r\n"), std::string::npos);
}

// A mod's changes against the originals, as lines and as a Markdown page; a value the mod sets to its original is
// no change.
TEST(ModSharing, DescribeListsWhatAModChangesAgainstTheOriginals) {
    ThreeMods game;
    game.WriteText("Tovarin Mods\\hm\\mod.ini", "[Mod]\r\nName=Heavy Metal\r\nVersion=2\r\nAuthor=Ann\r\n");
    game.WriteText("Tovarin Mods\\hm\\ships.csv", "ship,speedmax,mass\r\nKestrel,620,9800\r\nHal|berd,,1\r\n");
    EXPECT_NE(Cli(game, {"mods", "describe", "hm"}).Err.find("Unknown ship: Hal|berd"), std::string::npos);
    game.WriteText("Tovarin Mods\\hm\\ships.csv", "ship,speedmax,mass\r\nKestrel,620,9800\r\nhalberd,,30000\r\n");
    EXPECT_EQ(Cli(game, {"mods", "describe", "heavy metal"}).Out,
              "Kestrel speedmax 600 -> 620\nHalberd mass 26000 -> 30000\n");
    EXPECT_EQ(Cli(game, {"mods", "describe", "gun pack", "--markdown"}).Out,
              "# gun pack\n\n## Guns\n\n| Gun | Value | Original | Mod |\n| --- | --- | ---: | ---: |\n"
              "| Pulse Laser | damage | 18 | 41 |\n\n");
}

// A new version of a mod, in its old folder or a renamed one, takes its place and switch and says what changed;
// --as-new adds it beside. The apply after an update is whole or not at all.
TEST(ModSharing, AnUpdateKeepsItsPlaceAndSaysWhatChanged) {
    ThreeMods game;
    ASSERT_EQ(Cli(game, {"mods", "move", "Heavy Metal", "1"}).Exit, 0);
    ASSERT_EQ(Cli(game, {"mods", "off", "Heavy Metal"}).Exit, 0);
    ASSERT_EQ(Cli(game, {"mods", "apply"}).Exit, 0);
    game.WriteText("downloads\\hm-3\\mod.ini", "[Mod]\r\nName=heavy metal\r\nVersion=3\r\n");
    game.WriteText("downloads\\hm-3\\ships.csv", "ship,speedmax,hp\r\nKestrel,660,\r\nWarden,,400\r\n");
    game.WriteText("downloads\\hm-3\\docs\\README.txt", "version 3");
    game.WriteText("Tovarin Mods\\hm\\docs\\readme.txt", "version 2");
    game.WriteText("Tovarin Mods\\hm\\my notes.txt", "mine");
    EXPECT_EQ(Cli(game, {"mods", "add", game.PathOf("downloads\\hm-3")}).Out,
              "updated heavy metal 2 -> 3, kept at place 1, off\n"
              "Kestrel speedmax 620 -> 660\nKestrel mass 11000 -> (not set)\nWarden hp (not set) -> 400\n"
              "Halberd mass 30000 -> (not set)\n");
    EXPECT_EQ(game.ReadText("Tovarin Mods\\hm\\ships.csv"), game.ReadText("downloads\\hm-3\\ships.csv"));
    // The whole new version, into the names the old one spells; the player's own files stay.
    EXPECT_EQ(game.ReadText("Tovarin Mods\\hm\\docs\\readme.txt"), "version 3");
    EXPECT_EQ(ReadFolder(game.PathOf("Tovarin Mods\\hm")).size(), 4u);
    EXPECT_EQ(Cli(game, {"mods", "add", game.PathOf("downloads\\ff")}).Out,
              "updated Faster Fighters 1.0 -> 1.0, kept at place 2, on\n");
    EXPECT_EQ(Cli(game, {"mods", "add", game.PathOf("downloads\\ff"), "--as-new"}).Exit, 0);
    EXPECT_NE(Cli(game, {"mods"}).Out.find("4\ton and applied\tFaster Fighters (ff (2))\t"), std::string::npos);
    ASSERT_EQ(Cli(game, {"mods", "remove", "ff (2)"}).Exit, 0);
    ASSERT_EQ(Cli(game, {"mods", "on", "Heavy Metal"}).Exit, 0);
    // Every value it sets, the Faster Fighters after it set otherwise.
    EXPECT_EQ(Cli(game, {"mods"}).Out.rfind("1\ton and applied, fully overridden by later mods\theavy metal", 0), 0u);
    ASSERT_EQ(Cli(game, {"mods", "move", "Heavy Metal", "3"}).Exit, 0);
    const auto prepare = [&game](const std::filesystem::path& folder) { CopyFolder(game.Root(), folder); };
    EXPECT_GT(WalkCommandFaults("mods apply after an update", prepare, {"mods", "apply"}), 0);
}

// A mod made by "mods make" records the originals it was made against; where this installation's differ, "mods" and
// "mods apply" name the value, and the mod still applies.
TEST(ModSharing, AModMadeAgainstOtherOriginalsNamesThem) {
    Demo maker;
    ASSERT_EQ(Cli(maker, {"ship", "set", "Kestrel", "speedmax=660", "hp=500"}).Exit, 0);
    ASSERT_EQ(Cli(maker, {"mods", "make", "Fast", "--from-changes"}).Exit, 0);
    std::string ini = maker.ReadText("Tovarin Mods\\Fast\\mod.ini");
    ASSERT_NE(ini.find("[Made against]\r\nship/Kestrel/speedmax=600\r\nship/Kestrel/hp=320\r\n"), std::string::npos);
    Demo player;
    player.WriteText("Fast\\mod.ini", ini.replace(ini.find("hp=320"), 6, "hp=300"));
    player.WriteText("Fast\\ships.csv", maker.ReadText("Tovarin Mods\\Fast\\ships.csv"));
    ASSERT_EQ(Cli(player, {"mods", "add", player.PathOf("Fast")}).Exit, 0);
    const std::string said = "Fast: Kestrel hp made against 300, here 320\n";
    EXPECT_EQ(Cli(player, {"mods"}).Err, said);
    const Ran applied = Cli(player, {"mods", "apply"});
    EXPECT_EQ(applied.Exit, 0);
    EXPECT_EQ(applied.Err, said);
    EXPECT_EQ(Cli(player, {"ship", "get", "Kestrel", "hp"}).Out, "hp=500\n");
}

// A set passed on as one file gives a friend with the same mods the same game byte for byte; a mod missing or of
// other files is named and nothing changes, unless --anyway. The import is whole or not at all.
TEST(ModSharing, AnExportedListGivesAFreshGameTheSameFiles) {
    ThreeMods game;
    ASSERT_EQ(Cli(game, {"mods", "move", "hm", "1"}).Exit, 0);
    ASSERT_EQ(Cli(game, {"mods", "off", "gun pack"}).Exit, 0);
    ASSERT_EQ(Cli(game, {"mods", "apply"}).Exit, 0);
    ASSERT_EQ(Cli(game, {"mods", "export-list", game.PathOf("set.ini")}).Exit, 0);
    ThreeMods fresh;
    fresh.WriteText("set.ini", game.ReadText("set.ini"));
    fresh.WriteText("Tovarin Mods\\ff\\ships.csv", "ship,speedmax\r\nKestrel,641\r\n");
    std::filesystem::remove(fresh.PathOf("Tovarin Mods\\gun pack.csv"));
    const std::string order = fresh.ReadText("Tovarin Mods\\load order.ini");
    const Ran refused = Cli(fresh, {"mods", "import-list", fresh.PathOf("set.ini")});
    EXPECT_EQ(refused.Exit, 1);
    EXPECT_NE(refused.Err.find("Nothing was changed"), std::string::npos);
    EXPECT_NE(refused.Err.find("\nFaster Fighters: the files here are another copy than the list's (version here 1.0, "
                               "in the list 1.0)\ngun pack  is missing: \"Tovarin Mods\" holds no gun pack.csv"),
              std::string::npos)
        << refused.Err;
    EXPECT_EQ(fresh.ReadText("Tovarin Mods\\load order.ini"), order);
    EXPECT_EQ(Cli(fresh, {"mods", "import-list", fresh.PathOf("set.ini"), "--anyway"}).Exit, 0);
    EXPECT_EQ(Cli(fresh, {"mods"}).Out.substr(0, 34), "1\ton, not applied yet\tHeavy Metal\t");

    fresh.WriteText("Tovarin Mods\\ff\\ships.csv", game.ReadText("Tovarin Mods\\ff\\ships.csv"));
    fresh.WriteText("Tovarin Mods\\gun pack.csv", game.ReadText("Tovarin Mods\\gun pack.csv"));
    const auto prepare = [&fresh](const std::filesystem::path& folder) { CopyFolder(fresh.Root(), folder); };
    EXPECT_GT(WalkCommandFaults("mods import-list", prepare, {"mods", "import-list", fresh.PathOf("set.ini")}), 0);
    EXPECT_EQ(Cli(fresh, {"mods", "import-list", fresh.PathOf("set.ini")}).Out,
              "load order set from set.ini: \"mods apply\" puts it into the game\n");
    EXPECT_EQ(Cli(fresh, {"mods", "apply"}).Exit, 0);
    for (const std::string folder : {"Ships", "Game"}) {
        EXPECT_EQ(ReadFolder(fresh.PathOf(folder)), ReadFolder(game.PathOf(folder))) << folder;
    }
}

// A failure at any file call of an apply, once or from then on, leaves every file as it was or as applied, is
// reported, and once the program has started again the game's files are all one or the other; the apply done again
// gives the fault-free result. From the command line and from the window's Mods page alike.
TEST(ModFaults, AnApplyIsWholeOrNothingFromEitherFrontEnd) {
    ThreeMods prepared;
    ASSERT_EQ(Cli(prepared, {"mods", "off", "gun pack"}).Exit, 0);
    ASSERT_EQ(Cli(prepared, {"mods", "apply"}).Exit, 0);
    ASSERT_EQ(Cli(prepared, {"mods", "on", "gun pack"}).Exit, 0);
    ASSERT_EQ(Cli(prepared, {"mods", "off", "Faster Fighters"}).Exit, 0);
    const auto prepare = [&prepared](const std::filesystem::path& folder) { CopyFolder(prepared.Root(), folder); };
    EXPECT_GT(WalkCommandFaults("mods apply", prepare, {"mods", "apply"}), 0);
    const auto modsPage = [](TForm1& f, HeadlessPlatform&) { UserInput::ShowPage(f.PageControl1, 5); };
    const auto apply = [](TForm1& f, HeadlessPlatform&) { UserInput::Click(f.Button20); };
    EXPECT_GT(WalkFaults({"the Mods page's Apply", prepare, modsPage, apply}), 0);
}

}  // namespace
}  // namespace tovarin::testkit
