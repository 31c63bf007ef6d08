#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/application.h"
#include "app/form1.h"
#include "testkit/demo_installation.h"
#include "testkit/demo_ships.h"
#include "testkit/game_folder.h"
#include "testkit/ship_builder.h"
#include "ui/headless_platform.h"
#include "ui/user_input.h"

namespace tovarin {
namespace {

namespace fs = std::filesystem;
using Kind = HeadlessPlatform::Box::Kind;
using Keys = std::vector<std::pair<std::string, std::string>>;

constexpr int kQuad = 0;
constexpr int kTriple = 1;
constexpr int kHexa = 2;
constexpr std::uint8_t kAmmunitionGun = 11;

const std::string& GunName(std::size_t gun) { return testkit::DemoGunNames().at(gun); }
const std::string& MissileName(std::size_t missile) { return testkit::DemoMissileNames().at(missile); }

// Four gun mounts (one with ammunition), two missile mounts, decoys, shields, armour, a turret and a booster.
testkit::ShipPlan Quad() {
    testkit::ShipPlan s;
    s.GunMounts = {{0, 0, "gun_a"}, {1, 0, "gun_b"}, {kAmmunitionGun, 500, "gun_c"}, {2, 0, "gun_d"}};
    s.Missiles = testkit::ShipMissiles{{{1, 4}, {0, 6}}};
    s.Decoys = 12;
    s.Shields = testkit::ShipShields{};
    s.Armour = testkit::ShipArmour{};
    s.Turrets = testkit::ShipTurrets{{4}};
    s.Booster = testkit::ShipBooster{};
    return s;
}

// Three gun mounts and nothing else.
testkit::ShipPlan Triple() {
    testkit::ShipPlan s;
    s.Mass = 7700;
    s.GunMounts = {{3, 0, "gun_a"}, {kAmmunitionGun, 90, "gun_b"}, {5, 0, "gun_c"}};
    return s;
}

testkit::ShipPlan Hexa() {
    testkit::ShipPlan s;
    s.Mass = 6600;
    s.GunMounts = {{5, 0, "gun_1"}, {6, 0, "gun_2"}, {7, 0, "gun_3"},
                   {8, 0, "gun_4"}, {9, 0, "gun_5"}, {10, 0, "gun_6"}};
    return s;
}

// Everything an import may change on the Ships tab and in the mounts, for comparing before and after.
struct ShipsTab {
    std::vector<std::string> Boxes;
    bool Autoslide = false;
    bool Booster = false;
    std::vector<int> Mounts;
    std::vector<std::string> GunRows;
    std::vector<std::string> MissileRows;
    bool operator==(const ShipsTab&) const = default;
};

std::vector<TEdit*> ValueBoxes(TForm1& f) {
    return {&f.Edit1,  &f.Edit2,  &f.Edit15, &f.Edit4,  &f.Edit3,  &f.Edit6,  &f.Edit26, &f.Edit7,  &f.Edit5,
            &f.Edit8,  &f.Edit25, &f.Edit27, &f.Edit10, &f.Edit11, &f.Edit12, &f.Edit13, &f.Edit17, &f.Edit16,
            &f.Edit20, &f.Edit21, &f.Edit22, &f.Edit18, &f.Edit19, &f.Edit23, &f.Edit24, &f.Edit14, &f.Edit29};
}

ShipsTab Snapshot(TForm1& f) {
    ShipsTab tab;
    for (TEdit* box : ValueBoxes(f)) tab.Boxes.push_back(box->Text());
    tab.Autoslide = f.CheckBox1.Checked();
    tab.Booster = f.CheckBox2.Checked();
    for (std::size_t i = 0; i < kMaxGunMounts; ++i) {
        tab.Mounts.insert(tab.Mounts.end(), {f.GunMountTypes[i], f.GunMountAmmo[i]});
    }
    for (std::size_t i = 0; i < kMaxMissileMounts; ++i) {
        tab.Mounts.insert(tab.Mounts.end(), {f.MissileMountTypes[i], f.Ship.MissileMountLoads[i]});
    }
    tab.GunRows = f.ListBox1.Items();
    // A ship without missiles hides its missile list, whatever rows it holds.
    if (f.GroupBox3.Visible()) tab.MissileRows = f.ListBox2.Items();
    return tab;
}

void PrintTo(const ShipsTab& tab, std::ostream* out) {
    const auto list = [out](const char* name, const std::vector<std::string>& items) {
        *out << name << ":";
        for (const std::string& item : items) *out << " [" << item << "]";
        *out << "\n";
    };
    list("boxes", tab.Boxes);
    *out << "autoslide " << tab.Autoslide << ", booster " << tab.Booster << "\nmounts:";
    for (int value : tab.Mounts) *out << " " << value;
    *out << "\n";
    list("gun rows", tab.GunRows);
    list("missile rows", tab.MissileRows);
}

// The keys and values of a profile's one section, in file order.
Keys ProfileKeys(const std::string& text) {
    Keys keys;
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t end = text.find("\r\n", begin);
        const std::string line = text.substr(begin, end - begin);
        begin = end == std::string::npos ? text.size() : end + 2;
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos) keys.emplace_back(line.substr(0, equals), line.substr(equals + 1));
    }
    return keys;
}

std::vector<std::string> NamesOf(const Keys& keys) {
    std::vector<std::string> names;
    for (const auto& key : keys) names.push_back(key.first);
    return names;
}

std::string Profile(const Keys& keys) { return testkit::IniText({{"Ship", keys}}); }

struct ProfilesTest : ::testing::Test {
    testkit::GameFolder folder;
    std::unique_ptr<HeadlessPlatform> platform;
    std::unique_ptr<Application> app;

    ProfilesTest() {
        testkit::AddDemoWeapons(folder);
        folder.AddShip("Quad", "quad.iff", testkit::BuildShip(Quad()).File);
        folder.AddShip("Triple", "triple.iff", testkit::BuildShip(Triple()).File);
        folder.AddShip("Hexa", "hexa.iff", testkit::BuildShip(Hexa()).File);
    }

    // Starts the program with the first ship, Quad, on the Ships tab.
    TForm1& Start() {
        app.reset();
        platform = std::make_unique<HeadlessPlatform>(folder.Folder());
        app = std::make_unique<Application>(*platform);
        EXPECT_EQ(app->Start(), std::nullopt);
        return app->Form1();
    }

    void Export(const std::string& path) {
        platform->FileChoices.emplace_back(path);
        UserInput::Click(app->Form1().Button6);
    }

    void Import(const std::string& path) {
        platform->FileChoices.emplace_back(path);
        UserInput::Click(app->Form1().Button5);
    }

    void ImportText(const std::string& text) {
        folder.WriteText("Ships\\test.vks", text);
        Import(folder.PathOf("Ships\\test.vks"));
    }

    [[nodiscard]] std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const HeadlessPlatform::Box& box : platform->Boxes) texts.push_back(box.text);
        return texts;
    }
};

// Triple is chosen after Quad, so the missile tables still hold Quad's two mounts: none of them may appear.
TEST_F(ProfilesTest, ExportWritesTheKeysInTheirOrderWithOnlyTheShipsOwnMounts) {
    TForm1& form = Start();
    UserInput::Choose(form.ComboBox1, kTriple);
    Export(folder.PathOf("Ships\\triple.vks"));

    EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
    // The folder is compared without its trailing separator, which the Windows build's equivalent() refuses.
    EXPECT_TRUE(fs::equivalent(fs::path(form.SaveDialog1.InitialDir).parent_path(), folder.PathOf("Ships")));
    const Keys keys = ProfileKeys(folder.ReadText("Ships\\triple.vks"));
    const std::vector<std::string> expected{
        "speedmin", "speednor", "speedmax",  "spaccel",  "aftsp",   "aftaccel",  "affuel",    "y",        "p",
        "r",        "yprroc",   "autoslide", "booster",  "hp",      "armrfront", "armrright", "armrleft", "armraft",
        "shfront",  "shaft",    "shremin",   "shrenor",  "shremax", "gunen",     "gunremin",  "gunrenor", "gunremax",
        "gun1",     "gunammo1", "gun2",      "gunammo2", "gun3",    "gunammo3",  "decoys",    "mass"};
    EXPECT_EQ(NamesOf(keys), expected);
    const Keys someValues{{"speedmin", "110"}, {"autoslide", "0"}, {"booster", "0"}, {"gun2", "11"},
                          {"gunammo2", "90"},  {"gun3", "5"},      {"mass", "7700"}};
    for (const auto& [key, value] : someValues) {
        SCOPED_TRACE(key);
        const auto found = std::find_if(keys.begin(), keys.end(), [&](const auto& k) { return k.first == key; });
        ASSERT_NE(found, keys.end());
        EXPECT_EQ(found->second, value);
    }
}

TEST_F(ProfilesTest, ExportReplacesAnExistingProfileCompletely) {
    Start();
    folder.WriteText("Ships\\old.vks", "[Ship]\r\nold=1\r\nspeedmin=5\r\n[Other]\r\nkeep=1\r\n");
    Export(folder.PathOf("Ships\\old.vks"));
    Export(folder.PathOf("Ships\\fresh.vks"));
    EXPECT_EQ(folder.ReadText("Ships\\old.vks"), folder.ReadText("Ships\\fresh.vks"));
    EXPECT_EQ(folder.ReadText("Ships\\old.vks").find("old"), std::string::npos);
}

// Listing the folder shows the stored spelling, also on a file system that ignores case.
TEST_F(ProfilesTest, ExportLowersTheFileNameButNotTheFolders) {
    Start();
    fs::create_directories(folder.PathOf("Profiles\\MixedCase"));
    Export(folder.PathOf("Profiles\\MixedCase\\MyShip.VKS"));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.PathOf("Profiles\\MixedCase"))) {
        names.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"myship.vks"});
}

TEST_F(ProfilesTest, ImportOfOnlySpeedMaxChangesSpeedMaxAndClearsTheBooster) {
    TForm1& form = Start();
    ASSERT_TRUE(form.CheckBox2.Checked());
    ShipsTab expected = Snapshot(form);
    expected.Boxes[2] = "300";
    expected.Booster = false;
    ImportText(Profile({{"speedmax", "300"}}));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
    EXPECT_TRUE(fs::equivalent(fs::path(form.OpenDialog1.InitialDir).parent_path(), folder.PathOf("Ships")));
    EXPECT_EQ(Snapshot(form), expected);
    EXPECT_EQ(form.Edit15.Text(), "300");
    EXPECT_FALSE(form.Button11.Enabled()) << "the booster box's own handler ran";
    EXPECT_FALSE(form.Ship.HasBooster);
}

TEST_F(ProfilesTest, ImportReadsHexadecimalAndKeepsValuesThatAreNoNumbers) {
    struct Case {
        const char* Key;
        const char* Value;
        std::function<void(TForm1&)> Check;
    };
    const Case cases[] = {
        {"autoslide", "0x1", [](TForm1& f) { EXPECT_TRUE(f.CheckBox1.Checked()); }},
        {"autoslide", "5", [](TForm1& f) { EXPECT_TRUE(f.CheckBox1.Checked()); }},
        {"autoslide", "0", [](TForm1& f) { EXPECT_FALSE(f.CheckBox1.Checked()); }},
        {"speedmin", "0x64", [](TForm1& f) { EXPECT_EQ(f.Edit1.Text(), "100"); }},
        {"speedmin", "0X1f", [](TForm1& f) { EXPECT_EQ(f.Edit1.Text(), "31"); }},
        {"speedmin", "-40", [](TForm1& f) { EXPECT_EQ(f.Edit1.Text(), "-40"); }},
        {"speedmin", "abc", [](TForm1& f) { EXPECT_EQ(f.Edit1.Text(), "110"); }},
        {"speedmin", "", [](TForm1& f) { EXPECT_EQ(f.Edit1.Text(), "110"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Key) + "=" + c.Value);
        TForm1& form = Start();
        ImportText(Profile({{c.Key, c.Value}}));
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
        c.Check(form);
    }
}

// Mounts 5 and 6 of the profile have no mount on Quad to go to.
TEST_F(ProfilesTest, ImportOfSixGunMountsIntoFourAppliesTheFirstFour) {
    TForm1& form = Start();
    UserInput::Choose(form.ComboBox1, kHexa);
    Export(folder.PathOf("Ships\\hexa.vks"));
    UserInput::Choose(form.ComboBox1, kQuad);

    Import(folder.PathOf("Ships\\hexa.vks"));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
    const std::vector<std::string> rows{GunName(5), GunName(6), GunName(7), GunName(8), "Turret: " + GunName(4)};
    EXPECT_EQ(form.ListBox1.Items(), rows);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(form.GunMountAmmo[i], 0) << "mount " << i + 1;
    EXPECT_EQ(form.Edit29.Text(), "6600");
}

TEST_F(ProfilesTest, AGunTypeOutOfRangeStopsTheImportAfterTheMountsBefore) {
    TForm1& form = Start();
    const ShipsTab before = Snapshot(form);
    ImportText(Profile({{"speedmin", "1"},
                        {"gunremax", "27"},
                        {"gun1", "5"},
                        {"gunammo1", "7"},
                        {"gun2", "300"},
                        {"gunammo2", "9"},
                        {"miss1", "3"},
                        {"decoys", "99"},
                        {"mass", "4242"}}));

    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Range check error."});
    EXPECT_EQ(form.Edit1.Text(), "1");
    EXPECT_EQ(form.Edit24.Text(), "27");
    EXPECT_EQ(form.GunMountTypes[0], 5);
    EXPECT_EQ(form.GunMountAmmo[0], 7);
    EXPECT_EQ(form.GunMountTypes[1], 1) << "mount 2 keeps its gun";
    EXPECT_EQ(form.GunMountAmmo[1], 0);
    EXPECT_EQ(form.MissileMountTypes[0], 1);
    EXPECT_EQ(form.Edit14.Text(), before.Boxes[25]);
    EXPECT_EQ(form.Edit29.Text(), before.Boxes[26]);
    EXPECT_EQ(form.ListBox1.Items().front(), GunName(5)) << "the rows show what the mounts hold";
    EXPECT_EQ(form.ListBox1.Items().size(), before.GunRows.size());
}

TEST_F(ProfilesTest, ImportRebuildsTheMountRows) {
    TForm1& form = Start();
    ImportText(Profile({{"gun1", "11"},
                        {"gunammo1", "250"},
                        {"gun2", "200"},
                        {"gun3", "4"},
                        {"miss1", "3"},
                        {"missammo1", "9"},
                        {"miss2", "250"},
                        {"missammo2", "1"}}));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
    const std::vector<std::string> gunRows{GunName(11) + " * 250", "", GunName(4), GunName(2), "Turret: " + GunName(4)};
    EXPECT_EQ(form.ListBox1.Items(), gunRows);
    const std::vector<std::string> missileRows{MissileName(3) + " * 9", " * 1"};
    EXPECT_EQ(form.ListBox2.Items(), missileRows);
}

// A ship without a missile form must not take missile values meant for another ship.
TEST_F(ProfilesTest, ImportLeavesTheMissileTablesAloneForAShipWithoutMissiles) {
    TForm1& form = Start();
    UserInput::Choose(form.ComboBox1, kTriple);
    const ShipsTab before = Snapshot(form);
    ImportText(Profile({{"miss1", "3"}, {"missammo1", "9"}}));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
    EXPECT_EQ(form.MissileMountTypes[0], before.Mounts[2 * kMaxGunMounts]);
    EXPECT_EQ(form.Ship.MissileMountLoads[0], before.Mounts[2 * kMaxGunMounts + 1]);
}

// Quad and Triple are swapped for the swapped cases: each keeps restoring the defaults named after its own file.
TEST_F(ProfilesTest, RestoreDefaultsReadsTheDefaultProfileOfTheShipsOwnFile) {
    struct Case {
        const char* Name;
        bool Swapped;
        int Ship;
        const char* SpeedMax;
    };
    const Case cases[] = {
        {"an unswapped ship", false, kQuad, "777"},
        {"a swapped ship", true, kQuad, "777"},
        {"its partner", true, kTriple, "888"},
    };
    folder.WriteText("Ships\\quad.def", Profile({{"speedmax", "777"}}));
    folder.WriteText("Ships\\triple.def", Profile({{"speedmax", "888"}}));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TForm1& form = Start();
        if (c.Swapped) {
            UserInput::Select(form.ListBox4, kQuad);
            UserInput::Select(form.ListBox5, kTriple);
            UserInput::Click(form.Button10);
            ASSERT_EQ(form.ListBox4.Items()[0], "Quad = Triple");
        }
        UserInput::Choose(form.ComboBox1, c.Ship);
        UserInput::Click(form.Button9);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
        EXPECT_EQ(form.Edit15.Text(), c.SpeedMax);
        if (c.Swapped) {  // swap back for the next case
            UserInput::Select(form.ListBox4, kQuad);
            UserInput::Select(form.ListBox5, kTriple);
            UserInput::Click(form.Button10);
        }
    }
}

TEST_F(ProfilesTest, RestoreDefaultsWithoutADefaultProfileClearsOnlyTheBooster) {
    TForm1& form = Start();
    UserInput::Type(form.Edit15, "999");
    ShipsTab expected = Snapshot(form);
    expected.Booster = false;
    UserInput::Click(form.Button9);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
    EXPECT_EQ(Snapshot(form), expected);
}

// The demo installation's default profiles must make "Restore Defaults" visibly do something on every ship,
// and every demo ship must come back unchanged from its own exported profile.
struct DemoProfilesTest : ::testing::Test {
    testkit::GameFolder folder;
    HeadlessPlatform platform{folder.Folder()};
    Application app{platform};

    DemoProfilesTest() {
        testkit::AddDemoWeapons(folder);
        testkit::AddDemoShips(folder);
    }
};

TEST_F(DemoProfilesTest, RestoreDefaultsVisiblyChangesEveryShipButKeepsItsAutoslideAndBooster) {
    ASSERT_EQ(app.Start(), std::nullopt);
    TForm1& form = app.Form1();
    for (int ship = 0; ship < static_cast<int>(form.ComboBox1.Items().size()); ++ship) {
        SCOPED_TRACE(form.ComboBox1.Items()[static_cast<std::size_t>(ship)]);
        UserInput::Choose(form.ComboBox1, ship);
        const ShipsTab before = Snapshot(form);
        UserInput::Click(form.Button9);
        const ShipsTab after = Snapshot(form);
        EXPECT_TRUE(platform.Boxes.empty());
        EXPECT_NE(after.Boxes[0], before.Boxes[0]) << "speed min";
        EXPECT_NE(after.Boxes[26], before.Boxes[26]) << "mass";
        EXPECT_EQ(after.Autoslide, before.Autoslide);
        EXPECT_EQ(after.Booster, before.Booster);
    }
}

TEST_F(DemoProfilesTest, EveryShipRoundTripsThroughExportAndImport) {
    ASSERT_EQ(app.Start(), std::nullopt);
    TForm1& form = app.Form1();
    for (int ship = 0; ship < static_cast<int>(form.ComboBox1.Items().size()); ++ship) {
        SCOPED_TRACE(form.ComboBox1.Items()[static_cast<std::size_t>(ship)]);
        UserInput::Choose(form.ComboBox1, ship);
        const ShipsTab before = Snapshot(form);
        const std::string path = folder.PathOf("Ships\\ship" + std::to_string(ship) + ".vks");
        platform.FileChoices.emplace_back(path);
        UserInput::Click(form.Button6);
        UserInput::Click(form.Button9);
        platform.FileChoices.emplace_back(path);
        UserInput::Click(form.Button5);
        EXPECT_TRUE(platform.Boxes.empty());
        EXPECT_EQ(Snapshot(form), before);
    }
}

}  // namespace
}  // namespace tovarin
