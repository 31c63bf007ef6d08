#include <gtest/gtest.h>

#include <functional>

#include "ships/ship_layout.h"
#include "ships/ship_session.h"
#include "ui/user_input.h"

namespace tovarin::testkit {
namespace {

std::string Gun(std::size_t index) { return DemoGunNames().at(index); }
std::string Missile(std::size_t index) { return DemoMissileNames().at(index); }

ShipPlan With(ShipPlan plan, const std::function<void(ShipPlan&)>& change) {
    change(plan);
    return plan;
}

// The gun list: each mount's gun, with its ammunition for gun 11 only; then the turrets, when the ship lists them.
std::vector<std::string> GunRows(const ShipPlan& s) {
    std::vector<std::string> rows;
    for (const ShipGunMount& m : s.GunMounts)
        rows.push_back(Gun(m.Gun) + (m.Gun == 11 ? " * " + std::to_string(m.Ammo) : ""));
    if (s.Turrets && s.Turrets->ListMarker) {
        for (std::uint8_t gun : s.Turrets->Guns) rows.push_back("Turret: " + Gun(gun));
    }
    return rows;
}

std::vector<std::string> MissileRows(const ShipPlan& s) {
    std::vector<std::string> rows;
    for (const ShipMissileMount& m : s.Missiles->Mounts)
        rows.push_back(Missile(m.Missile) + " * " + std::to_string(m.Loads));
    return rows;
}

// Shown before each ship under test, with a value of its own everywhere, so that what a ship lacks shows as
// this ship's value and what a ship has shows as its own.
ShipPlan Previous() {
    ShipPlan s = FullShip();
    for (auto [name, value] : FloatBoxes(s)) *value += 1000;
    s.Booster = ShipBooster{{310, 820, 41, 31, 91, 21, 61, 51, 121, 111, 2900, 17}};
    s.Missiles->Mounts = {{5, 9}, {2, 8}, {0, 7}};
    s.Decoys = 99;
    return s;
}

struct Variant {
    const char* Name;
    ShipPlan Plan;
};

std::vector<Variant> Variants() {
    const ShipPlan full = FullShip();
    return {
        {"minimal", ShipPlan{}},
        {"every part", full},
        {"autoslide and booster", With(full,
                                       [](ShipPlan& s) {
                                           s.Slide = true;
                                           s.Hitpoints = 612;
                                           s.Booster = ShipBooster{{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}};
                                       })},
        {"autoslide only", With({}, [](ShipPlan& s) { s.Slide = true; })},
        {"booster chunk in front of the engine", With({}, [](ShipPlan& s) { s.MisplacedBooster = true; })},
        {"missiles without a decoy chunk", With(full, [](ShipPlan& s) { s.Decoys.reset(); })},
        {"decoys without missiles", With(full, [](ShipPlan& s) { s.Missiles.reset(); })},
        {"armour without shields", With(full, [](ShipPlan& s) { s.Shields.reset(); })},
        {"shields without armour", With(full, [](ShipPlan& s) { s.Armour.reset(); })},
        {"turrets without a turret list", With(full, [](ShipPlan& s) { s.Turrets->ListMarker = false; })},
        {"guns with ammunition and mount names of every length",
         With({},
              [](ShipPlan& s) {
                  s.GunMounts = {{0, 50, ""}, {11, 0, "a"}, {12, 0, "ab"}, {10, 65535, "abc"}, {11, 300, "abcd"}};
              })},
        {"no gun mounts, no room for missile mounts", With({},
                                                           [](ShipPlan& s) {
                                                               s.GunMounts.clear();
                                                               s.Missiles = ShipMissiles{};
                                                           })},
        {"missile mounts after a longer info chunk, a count with a high byte",
         With({},
              [](ShipPlan& s) {
                  s.Missiles = ShipMissiles{{{0, 6}, {6, 255}, {2, 3, 1}}, 40};
                  s.Decoys = 3;
              })},
        {"sixteen of each mount", With({},
                                       [](ShipPlan& s) {
                                           s.GunMounts = NumberedGunMounts(16);
                                           s.Turrets = ShipTurrets{std::vector<std::uint8_t>(16, 4)};
                                           s.Missiles = ShipMissiles{std::vector<ShipMissileMount>(16)};
                                       })},
        {"floats that are not whole", With({},
                                           [](ShipPlan& s) {
                                               s.Mass = 2.5F;
                                               s.Hitpoints = 3.5F;
                                               s.Engine.SpeedMax = -1.5F;
                                               s.Engine.SpeedMin = -0.5F;
                                               s.Engine.SpeedStd = 2.51F;
                                               s.GunPower.Energy = 16777216;
                                           })},
    };
}

TEST(LoadShip, EveryVariantShowsWhatItsFileHoldsAndHidesWhatItLacks) {
    const std::array<std::int32_t, 12> defaults{350, 870, 40, 30, 90, 20, 65, 55, 120, 110, 3000, 18};
    for (const Variant& variant : Variants()) {
        SCOPED_TRACE(variant.Name);
        const ShipPlan& s = variant.Plan;
        ShipGame game(Previous(), {s});
        ProgramRun run(game.Game);
        TForm1& f = run.Form();
        UserInput::Choose(f.ComboBox1, 1);
        EXPECT_EQ(run.Shown(), std::vector<std::string>{});

        // What the ship lacks keeps the previous ship's values; the decoys too when there is no decoy chunk.
        ShipPlan shown = s;
        if (!s.Armour) shown.Armour = Previous().Armour;
        if (!s.Shields) shown.Shields = Previous().Shields;
        if (!s.Missiles) shown.Missiles = Previous().Missiles;
        if (!s.Missiles || !s.Decoys) shown.Decoys = Previous().Decoys;
        ExpectBoxesShow(f, shown);
        EXPECT_EQ(f.Edit14.Text(), std::to_string(*shown.Decoys));
        EXPECT_EQ(f.ListBox1.Items(), GunRows(s));
        EXPECT_EQ(f.ListBox2.Items(), MissileRows(shown));
        EXPECT_EQ(f.GroupBox3.Visible(), s.Missiles.has_value());
        EXPECT_EQ(f.GroupBox5.Visible(), s.Missiles && s.Decoys);
        for (const TControl* control : std::initializer_list<const TControl*>{
                 &f.Edit17, &f.Edit16, &f.Edit20, &f.Edit21, &f.Edit22, &f.Label15, &f.Label16}) {
            EXPECT_EQ(control->Visible(), s.Shields.has_value()) << control->Name();
        }
        EXPECT_EQ(f.CheckBox1.Checked(), s.Slide);
        EXPECT_EQ(f.SlideAtLoad, s.Slide);
        const bool booster = s.Booster.has_value();
        EXPECT_EQ(f.CheckBox2.Checked(), booster);
        EXPECT_EQ(f.Button11.Enabled(), booster);
        EXPECT_EQ(f.BoosterAtLoad, booster);
        std::array<std::int32_t, 12> values = defaults;
        if (booster) std::copy(s.Booster->Values.begin(), s.Booster->Values.end(), values.begin());
        EXPECT_EQ(f.Ship.BoosterValues, values);
    }
}

TEST(LoadShipFailure, AMissingShipFileEndsTheProgramWithExitCode0) {
    const auto message = [](const ShipGame& game, const std::string& file) {
        return "Couldn't find file " + game.Game.PathOf("Ships\\" + file) +
               "\n\rPlease consult readme.txt on how to install Tovarin";
    };
    ShipGame missing(ShipPlan{});
    missing.Game.Remove(kShipFile);
    const ProgramRun atStartUp(missing.Game);
    EXPECT_EQ(atStartUp.Exit, 0);
    EXPECT_EQ(atStartUp.Shown(), std::vector<std::string>{message(missing, "test.iff")});

    // A ship swapped with one the catalogue does not know has no file name at all.
    ShipGame unknown(ShipPlan{});
    unknown.Game.SetSwitchEntry("Test", "Nobody");
    const ProgramRun swapped(unknown.Game);
    EXPECT_EQ(swapped.Exit, 0);
    EXPECT_EQ(swapped.Shown(), std::vector<std::string>{message(unknown, "")});

    ShipGame later(ShipPlan{}, {ShipPlan{}});
    ProgramRun run(later.Game);
    later.Game.Remove("Ships\\other0.iff");
    try {
        UserInput::Choose(run.Form().ComboBox1, 1);
        ADD_FAILURE() << "the program went on";
    } catch (const ProgramEnded& ended) {
        EXPECT_EQ(ended.ExitCode, 0);
    }
    EXPECT_EQ(run.Shown(), std::vector<std::string>{message(later, "other0.iff")});
}

// Overwrites the first byte of the tag at the position, so the marker there is no longer found.
Bytes Spoiled(Bytes file, std::int32_t tag) {
    file.at(static_cast<std::size_t>(tag)) = 'x';
    return file;
}

// Each failure stops the load where it happens: the controls keep what was set up to that point.
TEST(LoadShipFailure, ABadShipStopsTheLoadWithItsMessage) {
    const ShipPlan second = With({}, [](ShipPlan& s) { s.Mass = 4321; });
    const BuiltShip built = BuildShip(second);
    const auto bad = [&second](const std::function<void(ShipPlan&)>& change) {
        return BuildShip(With(second, change)).File;
    };
    const std::uint8_t pastGuns = 13;  // the demo catalogue has 13 guns and 7 missiles
    const std::vector<std::string> oneGun{Gun(0)};
    std::vector<std::string> sixteenTurrets(17, "Turret: " + Gun(4));
    sixteenTurrets.front() = Gun(0);
    const struct {
        const char* Name;
        Bytes File;
        std::string Message;
        std::string Mass;
        std::vector<std::string> GunRows;
        std::vector<std::string> MissileRows;
    } cases[] = {
        {"no physics marker", Spoiled(built.File, built.Offsets.PhysPos), "I/O error 131.", "1234", oneGun, {}},
        {"no engine marker", Spoiled(built.File, built.Offsets.EngnBase + 8), "I/O error 131.", "1234", oneGun, {}},
        {"no guns marker", Spoiled(built.File, built.Offsets.GunsBase + 8), "I/O error 131.", "1234", oneGun, {}},
        {"gun index past the list",
         bad([&](ShipPlan& s) {
             s.GunMounts = {{1, 0, "a"}, {pastGuns, 0, "b"}, {2, 0, "c"}};
         }),
         "List index out of bounds.",
         "4321",
         {Gun(1)},
         {}},
        {"turret gun index past the list",
         bad([&](ShipPlan& s) {
             s.Turrets = ShipTurrets{{4, pastGuns}};
         }),
         "List index out of bounds.",
         "4321",
         {Gun(0), "Turret: " + Gun(4)},
         {}},
        {"missile index past the list",
         bad([](ShipPlan& s) {
             s.Missiles = ShipMissiles{{{0, 2}, {7, 2}}};
         }),
         "List index out of bounds.",
         "4321",
         oneGun,
         {Missile(0) + " * 2"}},
        {"17 gun mounts",
         bad([](ShipPlan& s) { s.GunMounts = NumberedGunMounts(17); }),
         "Range check error.",
         "4321",
         oneGun,
         {}},
        {"17 turrets",
         bad([](ShipPlan& s) { s.Turrets = ShipTurrets{std::vector<std::uint8_t>(17, 4)}; }),
         "Range check error.",
         "4321",
         sixteenTurrets,
         {}},
        {"17 missile mounts",
         bad([](ShipPlan& s) { s.Missiles = ShipMissiles{std::vector<ShipMissileMount>(17)}; }),
         "Range check error.",
         "4321",
         oneGun,
         {}},
        {"a negative booster value",
         bad([](ShipPlan& s) {
             s.Booster = ShipBooster{{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -3}};
         }),
         "Range check error.",
         "4321",
         oneGun,
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        ShipGame game(With({}, [](ShipPlan& s) { s.Mass = 1234; }), {ShipPlan{}});
        game.Game.WriteFile("Ships\\other0.iff", c.File);
        ProgramRun run(game.Game);
        TForm1& f = run.Form();
        UserInput::Choose(f.ComboBox1, 1);
        EXPECT_EQ(run.Shown(), std::vector<std::string>{c.Message});
        EXPECT_EQ(f.Edit29.Text(), c.Mass);
        EXPECT_EQ(f.ListBox1.Items(), c.GunRows);
        EXPECT_EQ(f.ListBox2.Items(), c.MissileRows);
    }
}

// A marker this close to the start lies in the file's header: its part counts as absent. One byte further on it
// is found. The files are made of markers only, each where the searches that must find it start early enough.
TEST(LocateShipChunks, AMarkerInTheFileHeaderCountsAsAbsent) {
    namespace L = ShipLayout;
    const struct {
        Marker Bytes;
        std::int32_t Last;  // the last offset that counts as absent
        std::int32_t ShipState::*Base;
    } cases[] = {
        {L::kEngineMarker, 20, &ShipState::EngnBase},    {L::kDecoysMarker, 13, &ShipState::DecyBase},
        {L::kShieldsMarker, 19, &ShipState::ShieldBase}, {L::kMissilesMarker, 20, &ShipState::MissBase},
        {L::kArmourMarker, 20, &ShipState::ArmrBase},
    };
    ShipGame game(ShipPlan{});
    ProgramRun run(game.Game);
    TForm1& f = run.Form();
    for (const auto& c : cases) {
        for (std::int32_t at : {c.Last, c.Last + 1}) {
            SCOPED_TRACE(std::string(c.Bytes.begin(), c.Bytes.begin() + 4) + " at " + std::to_string(at));
            Bytes file(120, 0xEE);
            const auto put = [&file](const Marker& marker, std::int32_t where) {
                std::copy(marker.begin(), marker.end(), file.begin() + where);
            };
            put(L::kPhysicsMarker, 0);
            put(c.Bytes, at);
            if (c.Bytes != L::kEngineMarker) put(L::kEngineMarker, at + 8);
            put(L::kGunsMarker, at + 16);
            game.Game.WriteFile("Ships\\odd.iff", file);
            f.LocateShipChunks(game.Game.PathOf("Ships\\odd.iff"));
            EXPECT_EQ(f.Ship.*c.Base, at == c.Last ? 0 : 13);
        }
    }
}

}  // namespace
}  // namespace tovarin::testkit
