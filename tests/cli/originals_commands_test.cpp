#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <sstream>

#include "cli_run.h"
#include "demo/demo_installation.h"
#include "testkit/temp_game_folder.h"

// `diff` and `export --changed` on the demo installation after edits of every kind: the lines say each change, and
// the changed sheets carry the edits onto a fresh installation.
namespace tovarin::testkit {

using namespace demo;  // the demo's builders of ship files, weapon tables and game folders
namespace {

// The demo installation with these commands run on it.
struct Edited : TempGameFolder {
    explicit Edited(const std::vector<std::vector<std::string>>& commands) {
        demo::WriteDemoInstallation(*this);
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
    ASSERT_EQ(ran.Out.substr(0, expected.size()), expected);
    // The swapped files each hold the other's values now: every line of one has its mirror in the other.
    const std::string swapped = ran.Out.substr(expected.size());
    const std::regex line("(ship|slots) (Corsair|Lancet): (.*): (.*) -> (.*)");
    std::size_t lines = 0;
    for (std::sregex_iterator at(swapped.begin(), swapped.end(), line), end; at != end; ++at, ++lines) {
        const std::smatch& m = *at;
        const std::string mirror = m[1].str() + (m[2] == "Corsair" ? " Lancet: " : " Corsair: ") + m[3].str() + ": " +
                                   m[5].str() + " -> " + m[4].str() + "\n";
        EXPECT_NE(swapped.find(mirror), std::string::npos) << m[0];
    }
    EXPECT_GT(lines, 40u);
    EXPECT_EQ(std::count(swapped.begin(), swapped.end(), '\n'), static_cast<std::ptrdiff_t>(lines));
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
        {"guns", "name,speed,range,damage\r\nPulse Laser,,3100,41\r\nPhoton Lance,999,,\r\n"},
        {"missiles", "name,split up into,sub-missile type,rear firing\r\nDart,3,Spear FF,1\r\n"},
    };
    for (const auto& [kind, sheet] : rows) {
        SCOPED_TRACE(kind);
        Edited fresh({});
        EXPECT_EQ(Cli(fresh, {"export", kind, fresh.PathOf("none.csv"), "--changed"}).Exit, 0);
        EXPECT_EQ(fresh.ReadText("none.csv"), kind == "ships" ? "ship\r\n" : "name\r\n");
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
