#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/form1.h"
#include "gamefiles/ini_file.h"
#include "testkit/demo_installation.h"
#include "testkit/game_folder.h"
#include "testkit/ship_builder.h"
#include "ui/headless_platform.h"
#include "ui/user_input.h"

namespace tovarin {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// Corsair carries four gun mounts (the first with ammunition), two missile mounts and a booster; Triple, after
// the demo ships, three gun mounts and no missiles.
constexpr int kCorsair = 3;
constexpr int kTriple = 8;

std::string Joined(const Lines& items, const std::string& separator) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) text += (i == 0 ? "" : separator) + items[i];
    return text;
}

std::string ProfileText(const Lines& keys) { return "[Ship]\r\n" + Joined(keys, "\r\n") + "\r\n"; }

// The lines with each "key=value" change put in place of the line of that key.
Lines Changed(Lines lines, const Lines& changes) {
    for (const std::string& change : changes) {
        const std::string key = change.substr(0, change.find('=') + 1);
        for (std::string& line : lines) line = line.starts_with(key) ? change : line;
    }
    return lines;
}

struct ProfilesTest : ::testing::Test {
    testkit::GameFolder folder;
    HeadlessPlatform platform{folder.Folder()};
    Application app{platform};
    TForm1* form = nullptr;

    ProfilesTest() {
        testkit::AddDemoWeapons(folder);
        testkit::AddDemoShips(folder);
        testkit::ShipPlan triple;
        triple.GunMounts = {{3, 0, "a"}, {11, 90, "b"}, {5, 0, "c"}};
        folder.AddShip("Triple", "triple.iff", testkit::BuildShip(triple).File);
        EXPECT_EQ(app.Start(), std::nullopt);
        form = &app.Form1();
    }

    void Through(TButton& button, const std::string& name) {
        platform.FileChoices.emplace_back(folder.PathOf(name));
        UserInput::Click(button);
    }
    [[nodiscard]] Lines ProfileLines(const std::string& name) const {
        const TIniFile profile(folder.PathOf(name));
        Lines keys;
        profile.ReadSection("Ship", keys);
        for (std::string& key : keys) key += "=" + profile.ReadString("Ship", key, "");
        return keys;
    }
    // The Ships tab as "key=value" lines: its profile, left in Ships\state.vks, and the mount lists.
    Lines State() {
        Through(form->Button6, "Ships\\state.vks");
        Lines lines = ProfileLines("Ships\\state.vks");
        lines.push_back("gunrows=" + Joined(form->ListBox1.Items(), "|"));
        if (form->GroupBox3.Visible()) lines.push_back("missrows=" + Joined(form->ListBox2.Items(), "|"));
        return lines;
    }
};

// Triple is chosen after Kestrel, shown at start-up, whose missile mounts must not appear (its hidden armour,
// shield and decoy boxes still show Kestrel's values). The file that was there goes completely; only the file
// name is lowered.
TEST_F(ProfilesTest, ExportWritesTheShipsKeysInOrderIntoAFreshFile) {
    UserInput::Choose(form->ComboBox1, kTriple);
    folder.WriteText("Profiles\\MixedCase\\triple.vks", "[Ship]\r\nold=1\r\nspeedmin=5\r\n[Other]\r\nkeep=1\r\n");
    Through(form->Button6, "Profiles\\MixedCase\\Triple.VKS");

    EXPECT_TRUE(platform.Boxes.empty());
    EXPECT_TRUE(fs::equivalent(form->SaveDialog1.InitialDir, folder.PathOf("Ships")));
    EXPECT_EQ(
        folder.ReadText("Profiles\\MixedCase\\triple.vks"),
        ProfileText({"speedmin=110", "speednor=420", "speedmax=560", "spaccel=95",   "aftsp=1250",  "aftaccel=310",
                     "affuel=45",    "y=73",         "p=71",         "r=97",         "yprroc=35",   "autoslide=0",
                     "booster=0",    "hp=450",       "armrfront=90", "armrright=80", "armrleft=80", "armraft=85",
                     "shfront=150",  "shaft=140",    "shremin=4",    "shrenor=6",    "shremax=8",   "gunen=240",
                     "gunremin=8",   "gunrenor=12",  "gunremax=16",  "gun1=3",       "gunammo1=0",  "gun2=11",
                     "gunammo2=90",  "gun3=5",       "gunammo3=0",   "decoys=12",    "mass=12500"}));
    EXPECT_EQ(fs::directory_iterator(folder.PathOf("Profiles\\MixedCase"))->path().filename(), "triple.vks");
}

// A missing key keeps the value, except the booster, which goes off; so does a value that is no number.
TEST_F(ProfilesTest, ImportChangesWhatTheProfileSays) {
    struct Row {
        Lines Profile, Changes;
        Lines Boxes = {};
        int Ship = kCorsair;
    };
    const Row rows[] = {
        {{"speedmax=300"}, {"speedmax=300", "booster=0"}},
        {{"autoslide=0x1"}, {"autoslide=1"}, {}, kTriple},
        {{"autoslide=5"}, {"autoslide=1"}, {}, kTriple},
        {{"speedmin=0x64"}, {"speedmin=100", "booster=0"}},
        {{"speedmin=abc"}, {"booster=0"}},
        // Six gun mounts into four, types no list knows, and the mass after the mounts.
        {{"gun1=11", "gunammo1=250", "gun2=200", "gun3=4", "gun4=9", "gun5=9", "gun6=10", "miss1=3", "missammo1=9",
          "miss2=250", "missammo2=1", "mass=6600"},
         {"booster=0", "gun1=11", "gunammo1=250", "gun2=200", "gun3=4", "gun4=9", "miss1=3", "missammo1=9", "miss2=250",
          "missammo2=1", "mass=6600", "gunrows=Gatling Autocannon * 250||Flak Burst|Meson Blaster",
          "missrows=Viper HS * 9| * 1"}},
        // A gun type out of range stops the import after the mount before it; the rows still show the mounts.
        {{"speedmin=1", "gunremax=27", "gun1=5", "gunammo1=7", "gun2=300", "gunammo2=9", "miss1=3", "decoys=99",
          "mass=4242"},
         {"speedmin=1", "booster=0", "gunremax=27", "gun1=5", "gunammo1=7",
          "gunrows=Particle Beam|Plasma Repeater|Plasma Repeater|Scatter Gun"},
         {"Range check error."}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(Joined(row.Profile, " "));
        UserInput::Choose(form->ComboBox1, row.Ship);
        const Lines before = State();
        platform.Boxes.clear();
        folder.WriteText("Ships\\test.vks", ProfileText(row.Profile));
        Through(form->Button5, "Ships\\test.vks");
        Lines boxes;
        for (const HeadlessPlatform::Box& box : platform.Boxes) boxes.push_back(box.text);
        EXPECT_EQ(boxes, row.Boxes);
        EXPECT_EQ(State(), Changed(before, row.Changes));
        EXPECT_EQ(form->Button11.Enabled(), form->CheckBox2.Checked()) << "the booster box's own handler ran";
    }
    EXPECT_TRUE(fs::equivalent(form->OpenDialog1.InitialDir, folder.PathOf("Ships")));
}

// Restore Defaults applies the default profile named after the file of the ship's own data, also for the swapped
// Kestrel and Warden; without one (Corsair's is gone) only the booster goes off. The profile exported before
// brings every ship back.
TEST_F(ProfilesTest, RestoreDefaultsAndTheShipsOwnProfile) {
    folder.Remove("Ships\\corsair.def");
    UserInput::Click(form->Button10);  // start-up chose Kestrel on the left, Warden on the right
    ASSERT_EQ(form->ListBox4.Items()[0], "Kestrel = Warden");
    const std::vector<testkit::DemoShip> ships = testkit::DemoShips();
    for (std::size_t ship = 0; ship < ships.size(); ++ship) {
        SCOPED_TRACE(ships[ship].Name);
        UserInput::Choose(form->ComboBox1, static_cast<int>(ship));
        const Lines before = State();
        fs::rename(folder.PathOf("Ships\\state.vks"), folder.PathOf("Ships\\own.vks"));
        UserInput::Click(form->Button9);
        const Lines after = State();
        const Lines defaults = ProfileLines("Ships\\" + fs::path(ships[ship].File).replace_extension("def").string());
        EXPECT_EQ(after, defaults.empty() ? Changed(before, {"booster=0"}) : Changed(after, defaults));
        Through(form->Button5, "Ships\\own.vks");
        EXPECT_EQ(State(), before);
    }
    EXPECT_TRUE(platform.Boxes.empty());
}

}  // namespace
}  // namespace tovarin
