#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/form1.h"
#include "ships/ship_layout.h"
#include "testkit/demo_installation.h"
#include "testkit/game_folder.h"
#include "testkit/ship_builder.h"
#include "ui/headless_platform.h"
#include "ui/user_input.h"

namespace tovarin {
namespace {

using testkit::BuildShip;
using testkit::BuiltShip;
using testkit::ShipPlan;

// One run of the program over a game folder with the demo catalogue's guns and missiles and the ships a test
// adds, named "Ship 1", "Ship 2", ... in the order added.
class Game {
public:
    Game() { testkit::AddDemoWeapons(Folder); }

    BuiltShip AddShip(const ShipPlan& plan) {
        BuiltShip built = BuildShip(plan);
        AddShipFile(built.File);
        return built;
    }
    void AddShipFile(const testkit::Bytes& file) {
        ++ships_;
        Folder.AddShip("Ship " + std::to_string(ships_), FileName(ships_), file);
    }
    [[nodiscard]] static std::string FileName(int ship) { return "ship" + std::to_string(ship) + ".iff"; }

    // Starts the program, which shows the first ship.
    TForm1& Start() {
        platform_ = std::make_unique<HeadlessPlatform>(Folder.Folder());
        app_ = std::make_unique<Application>(*platform_);
        ExitCode = app_->Start();
        return app_->Form1();
    }
    // Chooses ship `index` (from 0) on the Ships tab, as a player does.
    void Choose(int index) { UserInput::Choose(app_->Form1().ComboBox1, index); }

    [[nodiscard]] std::vector<std::string> Boxes() const {
        std::vector<std::string> texts;
        for (const auto& box : platform_->Boxes) texts.push_back(box.text);
        return texts;
    }
    [[nodiscard]] std::vector<std::string> ErrorBoxes() const {
        std::vector<std::string> texts;
        for (const auto& box : platform_->Boxes) {
            if (box.kind == HeadlessPlatform::Box::Kind::Error) texts.push_back(box.text);
        }
        return texts;
    }

    testkit::GameFolder Folder;
    std::optional<int> ExitCode;

private:
    std::unique_ptr<HeadlessPlatform> platform_;
    std::unique_ptr<Application> app_;
    int ships_ = 0;
};

std::string Shown(float wholeNumber) { return std::to_string(static_cast<long>(wholeNumber)); }

// ---- Variants of ships ------------------------------------------------------------------------------------------

struct Variant {
    const char* Name;
    ShipPlan Plan;
};

ShipPlan Full() {
    ShipPlan s;
    s.Booster = testkit::ShipBooster{{310, 820, 41, 31, 91, 21, 61, 51, 121, 111, 2900, 17}};
    s.GunMounts = {{0, 0, "gun_left"}, {11, 300, "gun_chin"}, {5, 12, "gun_right_wing"}};
    s.Missiles = testkit::ShipMissiles{{{1, 4}, {4, 2}, {6, 1}}};
    s.Decoys = 14;
    s.Shields = testkit::ShipShields{};
    s.Armour = testkit::ShipArmour{};
    s.Turrets = testkit::ShipTurrets{{4, 2}};
    return s;
}

std::vector<Variant> Variants() {
    std::vector<Variant> variants = {{"only what every ship has", ShipPlan{}}, {"every part", Full()}};
    ShipPlan slide = Full();
    slide.Slide = true;
    variants.push_back({"every part and autoslide", slide});
    ShipPlan slideOnly;
    slideOnly.Slide = true;
    variants.push_back({"autoslide only", slideOnly});
    ShipPlan noDecoys = Full();
    noDecoys.Decoys.reset();
    variants.push_back({"missiles without a decoy chunk", noDecoys});
    ShipPlan noShields = Full();
    noShields.Shields.reset();
    variants.push_back({"armour without shields", noShields});
    ShipPlan noArmour = Full();
    noArmour.Armour.reset();
    noArmour.Booster.reset();
    variants.push_back({"shields without armour or booster", noArmour});
    ShipPlan noMissiles = Full();
    noMissiles.Missiles.reset();
    variants.push_back({"decoys without missiles", noMissiles});
    ShipPlan oddMounts;
    oddMounts.GunMounts = {{1, 0, ""}, {2, 0, "a"}, {3, 0, "ab"}, {4, 0, "abc"}, {5, 0, "abcd"}};
    variants.push_back({"mount names of every length", oddMounts});
    ShipPlan noMounts;
    noMounts.GunMounts.clear();
    noMounts.Missiles = testkit::ShipMissiles{};
    variants.push_back({"no gun or missile mounts", noMounts});
    return variants;
}

// ---- The values table -------------------------------------------------------------------------------------------

struct ValueRow {
    const char* Name;
    std::optional<float> (*Value)(const ShipPlan&);  // nullopt when the ship lacks the part
    TEdit TForm1::*Box;
};

// clang-format off
const ValueRow kValueRows[] = {
    {"mass", [](const ShipPlan& s) -> std::optional<float> { return s.Mass; }, &TForm1::Edit29},
    {"hitpoints", [](const ShipPlan& s) -> std::optional<float> { return s.Hitpoints; }, &TForm1::Edit27},
    {"speed max", [](const ShipPlan& s) -> std::optional<float> { return s.Engine.SpeedMax; }, &TForm1::Edit15},
    {"speed standard", [](const ShipPlan& s) -> std::optional<float> { return s.Engine.SpeedStd; }, &TForm1::Edit2},
    {"speed min", [](const ShipPlan& s) -> std::optional<float> { return s.Engine.SpeedMin; }, &TForm1::Edit1},
    {"acceleration", [](const ShipPlan& s) -> std::optional<float> { return s.Engine.Acceleration; }, &TForm1::Edit4},
    {"afterburner speed", [](const ShipPlan& s) -> std::optional<float> { return s.Engine.AfterburnerSpeed; }, &TForm1::Edit3},
    {"afterburner acceleration", [](const ShipPlan& s) -> std::optional<float> { return s.Engine.AfterburnerAcceleration; }, &TForm1::Edit6},
    {"afterburner fuel", [](const ShipPlan& s) -> std::optional<float> { return s.Engine.AfterburnerFuel; }, &TForm1::Edit26},
    {"P (middle)", [](const ShipPlan& s) -> std::optional<float> { return s.Engine.P; }, &TForm1::Edit5},
    {"Y (left)", [](const ShipPlan& s) -> std::optional<float> { return s.Engine.Y; }, &TForm1::Edit7},
    {"R (right)", [](const ShipPlan& s) -> std::optional<float> { return s.Engine.R; }, &TForm1::Edit8},
    {"Y/P/R rate of change", [](const ShipPlan& s) -> std::optional<float> { return s.Engine.YprRate; }, &TForm1::Edit25},
    {"armour front", [](const ShipPlan& s) { return s.Armour ? std::optional(s.Armour->Front) : std::nullopt; }, &TForm1::Edit10},
    {"armour aft", [](const ShipPlan& s) { return s.Armour ? std::optional(s.Armour->Aft) : std::nullopt; }, &TForm1::Edit13},
    {"armour left", [](const ShipPlan& s) { return s.Armour ? std::optional(s.Armour->Left) : std::nullopt; }, &TForm1::Edit12},
    {"armour right", [](const ShipPlan& s) { return s.Armour ? std::optional(s.Armour->Right) : std::nullopt; }, &TForm1::Edit11},
    {"shield recharge max", [](const ShipPlan& s) { return s.Shields ? std::optional(s.Shields->RechargeMax) : std::nullopt; }, &TForm1::Edit22},
    {"shield recharge standard", [](const ShipPlan& s) { return s.Shields ? std::optional(s.Shields->RechargeStd) : std::nullopt; }, &TForm1::Edit21},
    {"shield recharge min", [](const ShipPlan& s) { return s.Shields ? std::optional(s.Shields->RechargeMin) : std::nullopt; }, &TForm1::Edit20},
    {"shields front", [](const ShipPlan& s) { return s.Shields ? std::optional(s.Shields->Front) : std::nullopt; }, &TForm1::Edit17},
    {"shields aft", [](const ShipPlan& s) { return s.Shields ? std::optional(s.Shields->Aft) : std::nullopt; }, &TForm1::Edit16},
    {"gun energy", [](const ShipPlan& s) -> std::optional<float> { return s.GunPower.Energy; }, &TForm1::Edit18},
    {"gun recharge max", [](const ShipPlan& s) -> std::optional<float> { return s.GunPower.RechargeMax; }, &TForm1::Edit24},
    {"gun recharge standard", [](const ShipPlan& s) -> std::optional<float> { return s.GunPower.RechargeStd; }, &TForm1::Edit23},
    {"gun recharge min", [](const ShipPlan& s) -> std::optional<float> { return s.GunPower.RechargeMin; }, &TForm1::Edit19},
    {"decoys", [](const ShipPlan& s) { return s.Missiles && s.Decoys ? std::optional<float>(*s.Decoys) : std::nullopt; }, &TForm1::Edit14},
};
// clang-format on

TEST(LoadShip, EveryValueOfTheFileShowsInItsBox) {
    for (const Variant& variant : Variants()) {
        SCOPED_TRACE(variant.Name);
        Game game;
        game.AddShip(variant.Plan);
        TForm1& form = game.Start();
        EXPECT_EQ(game.Boxes(), std::vector<std::string>{});
        for (const ValueRow& row : kValueRows) {
            SCOPED_TRACE(row.Name);
            const std::optional<float> value = row.Value(variant.Plan);
            if (value) {
                EXPECT_EQ((form.*row.Box).Text(), Shown(*value));
            }
        }
    }
}

TEST(LoadShip, FindsEveryPartWhereItLies) {
    for (const Variant& variant : Variants()) {
        SCOPED_TRACE(variant.Name);
        Game game;
        const testkit::ShipOffsets at = game.AddShip(variant.Plan).Offsets;
        const ShipState& ship = game.Start().Ship;
        EXPECT_EQ(ship.ShipFile, Game::FileName(1));
        EXPECT_EQ(ship.ShipKey, "Ship 1");
        EXPECT_EQ(ship.PhysPos, at.PhysPos);
        EXPECT_EQ(ship.HasSlide, variant.Plan.Slide);
        EXPECT_EQ(ship.EngnBase, at.EngnBase);
        EXPECT_EQ(ship.GunsBase, at.GunsBase);
        EXPECT_EQ(ship.MissBase, at.MissBase);
        EXPECT_EQ(ship.DecyBase, at.DecyBase);
        EXPECT_EQ(ship.ShieldBase, at.ShieldBase);
        EXPECT_EQ(ship.ArmrBase, at.ArmrBase);
        EXPECT_EQ(ship.HasBooster, variant.Plan.Booster.has_value());
        EXPECT_EQ(ship.BoosPos, at.BoosPos);
        EXPECT_EQ(ship.TurretListPos, at.TurretListPos);

        ASSERT_EQ(ship.GunMountCount, at.GunMountPos.size());
        for (std::size_t i = 0; i < at.GunMountPos.size(); ++i) EXPECT_EQ(ship.GunMountPos[i], at.GunMountPos[i]);
        if (variant.Plan.Missiles) {
            ASSERT_EQ(ship.MissileMountCount, at.MissileMountPos.size());
            for (std::size_t i = 0; i < at.MissileMountPos.size(); ++i) {
                EXPECT_EQ(ship.MissileMountPos[i], at.MissileMountPos[i]);
            }
        }
        ASSERT_EQ(ship.TurretCount, at.TurretTypePos.size());
        for (std::size_t k = 0; k < at.TurretTypePos.size(); ++k) EXPECT_EQ(ship.TurretTypePos[k], at.TurretTypePos[k]);
    }
}

TEST(LoadShip, FloatsAreShownRoundedHalfToEven) {
    const struct {
        float Stored;
        const char* Shown;
    } cases[] = {{2.5f, "2"},  {3.5f, "4"},  {-1.5f, "-2"}, {0.5f, "0"},       {-0.5f, "0"},
                 {2.49f, "2"}, {2.51f, "3"}, {-2.5f, "-2"}, {1234.5f, "1234"}, {16777216.0f, "16777216"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Shown);
        Game game;
        ShipPlan plan;
        plan.Engine.SpeedMax = c.Stored;
        game.AddShip(plan);
        EXPECT_EQ(game.Start().Edit15.Text(), c.Shown);
    }
}

TEST(LoadShip, AutoslideTakesTheHitpointsFromBehindTheSlideChunk) {
    Game game;
    ShipPlan withSlide;
    withSlide.Slide = true;
    withSlide.Hitpoints = 612;
    ShipPlan without;
    without.Hitpoints = 388;
    game.AddShip(withSlide);
    game.AddShip(without);
    TForm1& form = game.Start();
    EXPECT_TRUE(form.CheckBox1.Checked());
    EXPECT_TRUE(form.SlideAtLoad);
    EXPECT_EQ(form.Edit27.Text(), "612");

    game.Choose(1);
    EXPECT_FALSE(form.CheckBox1.Checked());
    EXPECT_FALSE(form.SlideAtLoad);
    EXPECT_EQ(form.Edit27.Text(), "388");
}

TEST(LoadShip, GunRowsShowTheAmmunitionOnlyForGunEleven) {
    Game game;
    ShipPlan plan;
    plan.GunMounts = {{0, 50, "gun_a"}, {11, 300, "gun_b"}, {12, 0, "gun_c"}, {11, 0, "gun_d"}, {10, 65535, "gun_e"}};
    game.AddShip(plan);
    TForm1& form = game.Start();
    EXPECT_EQ(form.ListBox1.Items(),
              (std::vector<std::string>{"Pulse Laser", "Gatling Autocannon * 300", "Photon Lance",
                                        "Gatling Autocannon * 0", "Arc Projector"}));
    const std::vector<std::uint8_t> types(form.GunMountTypes.begin(), form.GunMountTypes.begin() + 5);
    const std::vector<std::uint16_t> ammo(form.GunMountAmmo.begin(), form.GunMountAmmo.begin() + 5);
    EXPECT_EQ(types, (std::vector<std::uint8_t>{0, 11, 12, 11, 10}));
    EXPECT_EQ(ammo, (std::vector<std::uint16_t>{50, 300, 0, 0, 65535}));
}

TEST(LoadShip, TurretRowsFollowTheGunRowsOnlyWithATurretList) {
    Game game;
    ShipPlan listed;
    listed.GunMounts = {{2, 0, "gun_a"}};
    listed.Turrets = testkit::ShipTurrets{{4, 11, 0}};
    ShipPlan unlisted = listed;
    unlisted.Turrets->ListMarker = false;
    game.AddShip(listed);
    game.AddShip(unlisted);
    TForm1& form = game.Start();
    EXPECT_EQ(form.ListBox1.Items(), (std::vector<std::string>{"Mass Driver", "Turret: Flak Burst",
                                                               "Turret: Gatling Autocannon", "Turret: Pulse Laser"}));
    EXPECT_EQ(form.Ship.TurretCount, 3);
    const std::vector<std::uint8_t> guns(form.Ship.TurretGunTypes.begin(), form.Ship.TurretGunTypes.begin() + 3);
    EXPECT_EQ(guns, (std::vector<std::uint8_t>{4, 11, 0}));

    game.Choose(1);
    EXPECT_EQ(form.ListBox1.Items(), std::vector<std::string>{"Mass Driver"});
    EXPECT_EQ(form.Ship.TurretCount, 0);
}

TEST(LoadShip, MissileRowsShowEachMountsMissileAndCount) {
    const struct {
        const char* Name;
        std::uint16_t InfoLength;
        std::vector<testkit::ShipMissileMount> Mounts;
        std::vector<std::string> Rows;
    } cases[] = {
        {"three mounts", 8, {{0, 6}, {4, 2}, {6, 255}}, {"Dart * 6", "Hydra Cluster * 2", "Lance Torpedo * 255"}},
        {"a longer info chunk", 40, {{1, 4}, {1, 4}}, {"Hornet IR * 4", "Hornet IR * 4"}},
        {"a count with a high byte", 8, {{2, 3, 1}}, {"Spear FF * 3"}},
        {"no room for mounts", 8, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Game game;
        ShipPlan plan;
        plan.Missiles = testkit::ShipMissiles{c.Mounts, c.InfoLength};
        plan.Decoys = 3;
        game.AddShip(plan);
        TForm1& form = game.Start();
        EXPECT_EQ(form.ListBox2.Items(), c.Rows);
        ASSERT_EQ(form.Ship.MissileMountCount, c.Mounts.size());
        for (std::size_t i = 0; i < c.Mounts.size(); ++i) {
            EXPECT_EQ(form.MissileMountTypes[i], c.Mounts[i].Missile);
            EXPECT_EQ(form.Ship.MissileMountLoads[i], c.Mounts[i].Loads);
        }
    }
}

TEST(LoadShip, GroupsAndShieldControlsShowOnlyForThePartsTheShipHas) {
    const struct {
        const char* Name;
        bool Missiles, Decoys, Shields;
        bool MissilesShown, DecoysShown;
    } cases[] = {
        {"missiles and decoys", true, true, true, true, true},
        {"missiles without a decoy chunk", true, false, true, true, false},
        {"decoys without missiles", false, true, false, false, false},
        {"neither", false, false, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Game game;
        ShipPlan first = Full();  // shows everything, so every hiding below is the second ship's doing
        first.Decoys = 99;
        ShipPlan second;
        if (c.Missiles) second.Missiles = testkit::ShipMissiles{{{3, 2}}};
        if (c.Decoys) second.Decoys = 7;
        if (c.Shields) second.Shields = testkit::ShipShields{};
        game.AddShip(first);
        game.AddShip(second);
        TForm1& form = game.Start();
        game.Choose(1);
        EXPECT_EQ(game.Boxes(), std::vector<std::string>{});
        EXPECT_EQ(form.GroupBox3.Visible(), c.MissilesShown);
        EXPECT_EQ(form.GroupBox5.Visible(), c.DecoysShown);
        EXPECT_EQ(form.Edit14.Text(), c.DecoysShown ? "7" : "99") << "a hidden decoy box keeps the last count";
        for (const TControl* control : std::initializer_list<const TControl*>{
                 &form.Edit17, &form.Edit16, &form.Edit20, &form.Edit21, &form.Edit22, &form.Label15, &form.Label16}) {
            EXPECT_EQ(control->Visible(), c.Shields) << control->Name();
        }
    }
}

TEST(LoadShip, PartsTheShipLacksKeepTheLastShipsValues) {
    Game game;
    ShipPlan first = Full();
    first.Armour->Front = 777;
    game.AddShip(first);
    game.AddShip(ShipPlan{});
    TForm1& form = game.Start();
    game.Choose(1);
    EXPECT_EQ(form.Edit10.Text(), "777");
    EXPECT_EQ(form.ListBox2.Items().size(), 3u) << "the hidden missile list keeps its rows";
    EXPECT_EQ(form.Ship.MissileMountCount, 0) << "but the ship itself has no missile mounts";
}

TEST(LoadShip, WithoutABoosterChunkTheBoosterTakesItsDefaults) {
    Game game;
    game.AddShip(Full());  // a booster with values of its own
    game.AddShip(ShipPlan{});
    TForm1& form = game.Start();
    EXPECT_TRUE(form.CheckBox2.Checked());
    EXPECT_TRUE(form.Button11.Enabled());
    EXPECT_TRUE(form.BoosterAtLoad);
    const std::array<std::int32_t, 12> fromFile{310, 820, 41, 31, 91, 21, 61, 51, 121, 111, 2900, 17};
    EXPECT_EQ(form.Ship.BoosterValues, fromFile);

    game.Choose(1);
    EXPECT_FALSE(form.CheckBox2.Checked());
    EXPECT_FALSE(form.Button11.Enabled());
    EXPECT_FALSE(form.BoosterAtLoad);
    EXPECT_FALSE(form.Ship.HasBooster);
    const std::array<std::int32_t, 12> defaults{350, 870, 40, 30, 90, 20, 65, 55, 120, 110, 3000, 18};
    EXPECT_EQ(form.Ship.BoosterValues, defaults);
}

TEST(LoadShip, ABoosterChunkInFrontOfTheEngineIsNoBooster) {
    Game game;
    ShipPlan plan;
    plan.MisplacedBooster = true;
    game.AddShip(plan);
    TForm1& form = game.Start();
    EXPECT_EQ(game.Boxes(), std::vector<std::string>{});
    EXPECT_FALSE(form.Ship.HasBooster);
    EXPECT_FALSE(form.CheckBox2.Checked());
    EXPECT_FALSE(form.Button11.Enabled());
    EXPECT_FALSE(form.BoosterAtLoad);
}

// ---- Failures -----------------------------------------------------------------------------------------------------

std::string MissingFileMessage(const testkit::GameFolder& folder, const std::string& file) {
    return "Couldn't find file " + folder.PathOf("Ships\\" + file) + "\n\r" +
           "Please consult readme.txt on how to install Tovarin";
}

TEST(LoadShipFailure, AMissingShipFileAtStartUpEndsTheProgram) {
    Game game;
    game.AddShip(ShipPlan{});
    game.Folder.Remove("Ships\\" + Game::FileName(1));
    game.Start();
    EXPECT_EQ(game.ExitCode, 0);
    EXPECT_EQ(game.Boxes(), std::vector<std::string>{MissingFileMessage(game.Folder, Game::FileName(1))});
}

TEST(LoadShipFailure, ChoosingAShipWhoseFileIsMissingEndsTheProgram) {
    Game game;
    game.AddShip(ShipPlan{});
    game.AddShip(ShipPlan{});
    game.Start();
    game.Folder.Remove("Ships\\" + Game::FileName(2));
    try {
        game.Choose(1);
        ADD_FAILURE() << "the program went on";
    } catch (const ProgramEnded& ended) {
        EXPECT_EQ(ended.ExitCode, 0);
    }
    EXPECT_EQ(game.Boxes(), std::vector<std::string>{MissingFileMessage(game.Folder, Game::FileName(2))});
}

// A ship whose switch entry names a ship the catalogue does not know has no file name at all.
TEST(LoadShipFailure, AShipSwappedWithAnUnknownShipEndsTheProgram) {
    Game game;
    game.AddShip(ShipPlan{});
    game.Folder.SetSwitchEntry("Ship 1", "Nobody");
    game.Start();
    EXPECT_EQ(game.ExitCode, 0);
    EXPECT_EQ(game.Boxes(), std::vector<std::string>{MissingFileMessage(game.Folder, "")});
}

// Overwrites the 4-character tag at the position, so the marker there is no longer found.
testkit::Bytes Spoiled(testkit::Bytes file, std::int32_t tag) {
    file[static_cast<std::size_t>(tag)] = 'x';
    return file;
}

TEST(LoadShipFailure, AMissingPhysicsEngineOrGunsMarkerStopsTheLoadWithIoError131) {
    ShipPlan second;
    second.Mass = 4321;
    const BuiltShip built = BuildShip(second);
    const struct {
        const char* Name;
        std::int32_t Tag;
    } cases[] = {
        {"physics", built.Offsets.PhysPos},
        {"engine", built.Offsets.EngnBase + 8},
        {"guns", built.Offsets.GunsBase + 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Game game;
        ShipPlan first;
        first.Mass = 1234;
        game.AddShip(first);
        game.AddShipFile(Spoiled(built.File, c.Tag));
        TForm1& form = game.Start();
        game.Choose(1);
        EXPECT_EQ(game.ErrorBoxes(), std::vector<std::string>{"I/O error 131."});
        EXPECT_EQ(form.Edit29.Text(), "1234") << "the search fails before any box is filled";
        EXPECT_EQ(form.Ship.ShipFile, Game::FileName(2));
    }
}

TEST(LoadShipFailure, AGunOrMissileIndexBeyondTheListsStopsTheLoadAtThatMount) {
    const std::uint8_t pastGuns = 13;  // the demo catalogue has 13 guns
    const std::uint8_t pastMissiles = 7;
    ShipPlan gun;
    gun.GunMounts = {{1, 0, "gun_a"}, {pastGuns, 0, "gun_b"}, {2, 0, "gun_c"}};
    ShipPlan turret;
    turret.Turrets = testkit::ShipTurrets{{4, pastGuns}};
    ShipPlan missile;
    missile.Missiles = testkit::ShipMissiles{{{0, 2}, {pastMissiles, 2}}};
    const struct {
        const char* Name;
        ShipPlan Plan;
        std::vector<std::string> GunRows;
        std::vector<std::string> MissileRows;
    } cases[] = {
        {"gun mount", gun, {"Ion Cannon"}, {}},
        {"turret", turret, {"Pulse Laser", "Turret: Flak Burst"}, {}},
        {"missile mount", missile, {"Pulse Laser"}, {"Dart * 2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Game game;
        game.AddShip(ShipPlan{});
        game.AddShip(c.Plan);
        TForm1& form = game.Start();
        game.Choose(1);
        EXPECT_EQ(game.ErrorBoxes(), std::vector<std::string>{"List index out of bounds."});
        EXPECT_EQ(form.ListBox1.Items(), c.GunRows);
        if (!c.MissileRows.empty()) {
            EXPECT_EQ(form.ListBox2.Items(), c.MissileRows);
        }
    }
}

TEST(LoadShipFailure, MoreThanSixteenMountsOrTurretsIsARangeError) {
    const struct {
        const char* Name;
        int Mounts, Turrets, Missiles;
        bool Fails;
    } cases[] = {
        {"16 gun mounts", 16, 0, 0, false},     {"17 gun mounts", 17, 0, 0, true},
        {"16 turrets", 1, 16, 0, false},        {"17 turrets", 1, 17, 0, true},
        {"16 missile mounts", 1, 0, 16, false}, {"17 missile mounts", 1, 0, 17, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Game game;
        ShipPlan plan;
        plan.GunMounts = testkit::NumberedGunMounts(c.Mounts);
        if (c.Turrets > 0) plan.Turrets = testkit::ShipTurrets{std::vector<std::uint8_t>(c.Turrets, 4)};
        if (c.Missiles > 0) plan.Missiles = testkit::ShipMissiles{std::vector<testkit::ShipMissileMount>(c.Missiles)};
        game.AddShip(plan);
        TForm1& form = game.Start();
        if (c.Fails) {
            EXPECT_EQ(game.ErrorBoxes(), std::vector<std::string>{"Range check error."});
        } else {
            EXPECT_EQ(game.Boxes(), std::vector<std::string>{});
            EXPECT_EQ(form.ListBox1.Items().size(), static_cast<std::size_t>(c.Mounts + c.Turrets));
            EXPECT_EQ(form.ListBox2.Items().size(), static_cast<std::size_t>(c.Missiles));
        }
    }
}

TEST(LoadShipFailure, ANegativeBoosterValueIsARangeError) {
    Game game;
    ShipPlan plan;
    plan.Booster = testkit::ShipBooster{};
    plan.Booster->Values[11] = -3;
    game.AddShip(plan);
    game.Start();
    EXPECT_EQ(game.ErrorBoxes(), std::vector<std::string>{"Range check error."});
}

// A marker this close to the start lies in the file's header: its part counts as absent. The files are made
// of markers only, each placed where every search that must find it starts early enough.
TEST(LocateShipChunks, AMarkerInTheFileHeaderCountsAsAbsent) {
    namespace L = ShipLayout;
    struct Placed {
        std::int32_t At;
        Marker Bytes;
    };
    const struct {
        const char* Name;
        std::vector<Placed> Markers;
        std::int32_t ShipState::*Base;
        std::int32_t Expected;
    } cases[] = {
        {"engine at 20", {{20, L::kEngineMarker}, {40, L::kGunsMarker}}, &ShipState::EngnBase, 0},
        {"engine at 21", {{21, L::kEngineMarker}, {41, L::kGunsMarker}}, &ShipState::EngnBase, 13},
        {"decoys at 13",
         {{13, L::kDecoysMarker}, {21, L::kEngineMarker}, {29, L::kGunsMarker}},
         &ShipState::DecyBase,
         0},
        {"decoys at 14",
         {{14, L::kDecoysMarker}, {22, L::kEngineMarker}, {30, L::kGunsMarker}},
         &ShipState::DecyBase,
         13},
        {"shields at 19",
         {{19, L::kShieldsMarker}, {27, L::kEngineMarker}, {35, L::kGunsMarker}},
         &ShipState::ShieldBase,
         0},
        {"shields at 20",
         {{20, L::kShieldsMarker}, {28, L::kEngineMarker}, {36, L::kGunsMarker}},
         &ShipState::ShieldBase,
         13},
        {"missiles at 20",
         {{20, L::kMissilesMarker}, {28, L::kEngineMarker}, {36, L::kGunsMarker}},
         &ShipState::MissBase,
         0},
        {"missiles at 21",
         {{21, L::kMissilesMarker}, {29, L::kEngineMarker}, {37, L::kGunsMarker}},
         &ShipState::MissBase,
         13},
        {"armour at 20",
         {{20, L::kArmourMarker}, {28, L::kEngineMarker}, {36, L::kGunsMarker}},
         &ShipState::ArmrBase,
         0},
        {"armour at 21",
         {{21, L::kArmourMarker}, {29, L::kEngineMarker}, {37, L::kGunsMarker}},
         &ShipState::ArmrBase,
         13},
    };
    Game game;
    TForm1& form = game.Start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        testkit::Bytes file(120, 0xEE);
        std::copy(L::kPhysicsMarker.begin(), L::kPhysicsMarker.end(), file.begin());
        for (const Placed& marker : c.Markers)
            std::copy(marker.Bytes.begin(), marker.Bytes.end(), file.begin() + marker.At);
        game.Folder.WriteFile("Ships\\odd.iff", file);
        form.LocateShipChunks(game.Folder.PathOf("Ships\\odd.iff"));
        EXPECT_EQ(form.Ship.*c.Base, c.Expected);
    }
}

}  // namespace
}  // namespace tovarin
