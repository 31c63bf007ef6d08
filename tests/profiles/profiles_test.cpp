#include <gtest/gtest.h>

#include <filesystem>

#include "gamefiles/ini_file.h"
#include "ships/ship_session.h"

namespace tovarin::testkit {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// Demo ships. Corsair carries four gun mounts (the first with ammunition), two missile mounts and a booster;
// Marauder two gun mounts, a booster and no missiles.
constexpr int kCorsair = 3, kMarauder = 6;

std::string Joined(const Lines& items, const std::string& separator) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) text += (i == 0 ? "" : separator) + items[i];
    return text;
}

std::string ProfileText(const Lines& keys) { return "[Ship]\r\n" + Joined(keys, "\r\n") + "\r\n"; }

// The lines with each "key=value" change put in place of the line of that key.
Lines Changed(Lines lines, const Lines& changes) {
    for (const std::string& change : changes)
        for (std::string& line : lines) line = line.starts_with(change.substr(0, change.find('=') + 1)) ? change : line;
    return lines;
}

struct ProfilesTest : ::testing::Test {
    ShipGame game;  // the demo ships
    ProgramRun run{game.Game};
    TForm1& Form() { return run.Form(); }

    void Through(TButton& button, const std::string& name) {
        run.Platform.FileChoices.emplace_back(game.Game.PathOf(name));
        UserInput::Click(button);
    }
    [[nodiscard]] Lines ProfileLines(const std::string& name) const {
        const TIniFile profile(game.Game.PathOf(name));
        Lines keys;
        profile.ReadSection("Ship", keys);
        for (std::string& key : keys) key += "=" + profile.ReadString("Ship", key, "");
        return keys;
    }
    // The Ships tab as "key=value" lines: its profile, left in Ships\state.vks, the mount lists and the texts of
    // the boxes shown so far.
    Lines State() {
        Through(Form().Button6, "Ships\\state.vks");
        Lines lines = ProfileLines("Ships\\state.vks");
        lines.push_back("gunrows=" + Joined(Form().ListBox1.Items(), "|"));
        if (Form().GroupBox3.Visible()) {
            lines.push_back("missrows=" + Joined(Form().ListBox2.Items(), "|"));
            lines.push_back("missel=" + std::to_string(Form().ListBox2.ItemIndex()));
        }
        lines.push_back("boxes=" + Joined(run.Shown(), "|"));
        return lines;
    }
};

// Marauder is chosen after Kestrel, shown at start-up, whose missile mounts must not appear (the hidden decoy box
// still shows Kestrel's count). The file that was there goes completely; only the file name is lowered.
TEST_F(ProfilesTest, ExportWritesTheShipsKeysInOrderIntoAFreshFile) {
    UserInput::Choose(Form().ComboBox1, kMarauder);
    game.Game.WriteText("Profiles\\MixedCase\\marauder.vks", "[Ship]\r\nold=1\r\nspeedmin=5\r\n[Other]\r\nkeep=1\r\n");
    Through(Form().Button6, "Profiles\\MixedCase\\Marauder.VKS");
    EXPECT_EQ(
        game.Game.ReadText("Profiles\\MixedCase\\marauder.vks"),
        ProfileText({"speedmin=60", "speednor=280", "speedmax=380",  "spaccel=50",    "aftsp=850",    "aftaccel=180",
                     "affuel=50",   "y=38",         "p=40",          "r=55",          "yprroc=20",    "autoslide=0",
                     "booster=1",   "hp=1100",      "armrfront=220", "armrright=200", "armrleft=200", "armraft=210",
                     "shfront=300", "shaft=280",    "shremin=7",     "shrenor=10",    "shremax=13",   "gunen=420",
                     "gunremin=12", "gunrenor=17",  "gunremax=23",   "gun1=2",        "gunammo1=0",   "gun2=4",
                     "gunammo2=0",  "decoys=12",    "mass=30500"}));
    Through(Form().Button6, "Missing\\x.vks");  // a failure is a failed write of the profile
    EXPECT_EQ(run.Shown(), std::vector{"Unable to write to " + game.Game.PathOf("Missing\\x.vks") + "."});
}

// A key that is missing or holds no number keeps the box's value, except the booster, which a profile without it
// turns off. A list whose rows the import leaves as they were keeps its chosen mount. A profile may name a weapon
// the catalogue does not list; the ship saved so would no longer load, so the save is refused and the file stays
// as it was.
TEST_F(ProfilesTest, ImportChangesWhatTheProfileSays) {
    struct Row {
        Lines Profile, Changes;
        int Ship = kCorsair;
    };
    const Row rows[] = {
        {{"autoslide=5"}, {"autoslide=1", "booster=0"}, kMarauder},
        {{"speedmin=0x64"}, {"speedmin=100", "booster=0"}},
        {{"gunammo1=65536"}, {"booster=0", "boxes=Range check error."}},
        // A gun type out of range stops the import after the mount before it; the rows still show the mounts.
        {{"speedmin=1", "gunremax=27", "gun1=5", "gunammo1=7", "gun2=300", "gunammo2=9", "miss1=3", "decoys=99",
          "mass=4242"},
         {"speedmin=1", "booster=0", "gunremax=27", "gun1=5", "gunammo1=7",
          "gunrows=Particle Beam|Plasma Repeater|Plasma Repeater|Scatter Gun", "boxes=Range check error."}},
        // Six gun mounts into four, types no list knows, and the mass after the mounts.
        {{"gun1=11", "gunammo1=250", "gun2=200", "gun3=4", "gun4=9", "gun5=9", "gun6=10", "miss1=3", "missammo1=9",
          "miss2=250", "missammo2=1", "mass=6600"},
         {"booster=0", "gun1=11", "gunammo1=250", "gun2=200", "gun3=4", "gun4=9", "miss1=3", "missammo1=9", "miss2=250",
          "missammo2=1", "mass=6600", "gunrows=Gatling Autocannon * 250||Flak Burst|Meson Blaster",
          "missrows=Viper HS * 9| * 1", "missel=-1"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(Joined(row.Profile, " "));
        UserInput::Choose(Form().ComboBox1, row.Ship);  // an import before is dropped unsaved
        UserInput::Select(Form().ListBox2, 1);
        run.Platform.Boxes.clear();
        const Lines before = State();
        game.Game.WriteText("Ships\\test.vks", ProfileText(row.Profile));
        Through(Form().Button5, "Ships\\test.vks");
        EXPECT_EQ(State(), Changed(before, row.Changes));
        EXPECT_EQ(Form().Button11.Enabled(), Form().CheckBox2.Checked()) << "the booster box's own handler ran";
    }
    const Bytes before = game.Game.ReadFile("Ships\\corsair.iff");
    UserInput::Click(Form().Button2);
    EXPECT_EQ(run.Shown().back(),
              "The ship cannot be saved: gun mount 2 holds weapon type 200, which the catalogue "
              "does not list. The ship file was not changed.");
    EXPECT_EQ(game.Game.ReadFile("Ships\\corsair.iff"), before);
}

// An import that changes a chosen mount whose row does not show it (gun mount 2 carries no ammunition in its row)
// shows the mount as it now is beside the list, so "Change" then keeps what the import gave.
TEST_F(ProfilesTest, AnImportShowsTheChosenMountsValuesInThePickers) {
    UserInput::Choose(Form().ComboBox1, kCorsair);
    UserInput::Select(Form().ListBox1, 1);
    game.Game.WriteText("Ships\\test.vks", ProfileText({"gunammo2=999"}));
    Through(Form().Button5, "Ships\\test.vks");
    EXPECT_EQ(Form().Edit28.Text(), "999");
    UserInput::Click(Form().Button3);
    UserInput::Click(Form().Button2);
    const Lines saved = State();
    EXPECT_NE(std::find(saved.begin(), saved.end(), "gunammo2=999"), saved.end());
}

// A value its field cannot hold is named by the import itself and kept in its box, so that the player mends it.
TEST_F(ProfilesTest, AnImportNamesAValueItsFieldCannotHold) {
    UserInput::Choose(Form().ComboBox1, kCorsair);
    run.Platform.Boxes.clear();
    game.Game.WriteText("Ships\\test.vks", ProfileText({"decoys=396"}));
    Through(Form().Button5, "Ships\\test.vks");
    EXPECT_EQ(run.Shown(), std::vector<std::string>{"Decoys: 396 is more than 255."});
    EXPECT_EQ(Form().Edit14.Text(), "396");
}

// Restore Defaults applies the default profile named after the file of the ship's own data, also for the swapped
// Kestrel and Warden; without one (Corsair's is gone) only the booster goes off. The profile exported before
// brings every ship back.
TEST_F(ProfilesTest, RestoreDefaultsAndTheShipsOwnProfile) {
    game.Game.Remove("Ships\\corsair.def");
    UserInput::Click(Form().Button10);  // start-up chose Kestrel on the left, Warden on the right
    ASSERT_EQ(Form().ListBox4.Items()[0], "Kestrel = Warden");
    for (int index = 0; const DemoShip& ship : DemoShips()) {
        SCOPED_TRACE(ship.Name);
        UserInput::Choose(Form().ComboBox1, index++);
        const Lines before = State();
        fs::rename(game.Game.PathOf("Ships\\state.vks"), game.Game.PathOf("Ships\\own.vks"));
        UserInput::Click(Form().Button9);
        const Lines after = State();
        const Lines defaults = ProfileLines("Ships\\" + fs::path(ship.File).replace_extension("def").string());
        EXPECT_EQ(after, defaults.empty() ? Changed(before, {"booster=0"}) : Changed(after, defaults));
        Through(Form().Button5, "Ships\\own.vks");
        EXPECT_EQ(State(), before);
    }
}

}  // namespace
}  // namespace tovarin::testkit
