#include <gtest/gtest.h>

#include <algorithm>

#include "ships/ship_chunks.h"
#include "ships/ship_layout.h"
#include "ships/ship_session.h"

namespace tovarin::testkit {

using namespace demo;  // the demo's builders of ship files, weapon tables and game folders
namespace {

// The gun list: each mount's gun, with its ammunition for gun 11 only; then the turrets, when the ship lists them.
std::vector<std::string> GunRows(const ShipPlan& s) {
    std::vector<std::string> rows;
    for (const auto& m : s.GunMounts) rows.push_back(Gun(m.Gun) + (m.Gun == 11 ? " * " + std::to_string(m.Ammo) : ""));
    if (s.Turrets && s.Turrets->ListMarker) {
        for (std::uint8_t gun : s.Turrets->Guns) rows.push_back("Turret: " + Gun(gun));
    }
    return rows;
}

std::vector<std::string> MissileRows(const ShipPlan& s) {
    std::vector<std::string> rows;
    for (const auto& m : s.Missiles->Mounts) rows.push_back(Missile(m.Missile) + " * " + std::to_string(m.Loads));
    return rows;
}

// FullShip with other values everywhere and a booster: shown before a ship under test, so that what that ship
// leaves alone can be told from what it sets.
ShipPlan OtherFullShip() {
    ShipPlan s = FullShip();
    for (auto [box, value] : FloatBoxes(s)) *value += 1000;
    s.Booster = ShipBooster{{310, 820, 41, 31, 91, 21, 61, 51, 121, 111, 2900, 17}};
    s.Missiles->Mounts = {{5, 9}, {2, 8}, {0, 7}};
    s.Decoys = 99;
    return s;
}

// The plan as a save writes it back: floats as the whole numbers shown (-0.5 as 0), the byte after each missile
// count cleared.
ShipPlan AsSaved(ShipPlan plan) {
    const auto whole = [](float value) { return static_cast<float>(std::lrint(value)); };
    for (auto [box, value] : FloatBoxes(plan)) *value = whole(*value);
    if (plan.Booster) std::ranges::transform(plan.Booster->Values, plan.Booster->Values.begin(), whole);
    if (plan.Missiles) {
        for (ShipMissileMount& mount : plan.Missiles->Mounts) mount.LoadsHigh = 0;
    }
    return plan;
}

std::vector<std::pair<std::string, ShipPlan>> Variants() {
    // clang-format off
    return {
        {"minimal", ShipPlan{}},
        {"every part", FullShip()},
        {"autoslide and booster", With(FullShip(), [](ShipPlan& s) {
            s.Slide = true; s.Hitpoints = 612; s.Booster = ShipBooster{{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}}; })},
        {"autoslide only", With({}, [](ShipPlan& s) { s.Slide = true; })},
        {"booster chunk in front of the engine", With({}, [](ShipPlan& s) { s.MisplacedBooster = true; })},
        {"missiles without a decoy chunk", With(FullShip(), [](ShipPlan& s) { s.Decoys.reset(); })},
        {"decoys without missiles", With(FullShip(), [](ShipPlan& s) { s.Missiles.reset(); })},
        {"armour without shields", With(FullShip(), [](ShipPlan& s) { s.Shields.reset(); })},
        {"shields without armour", With(FullShip(), [](ShipPlan& s) { s.Armour.reset(); })},
        {"turrets without a turret list", With(FullShip(), [](ShipPlan& s) { s.Turrets->ListMarker = false; })},
        {"ammunition, mount names of every length", With({}, [](ShipPlan& s) {
            s.GunMounts = {{0, 50, ""}, {11, 0, "a"}, {12, 0, "ab"}, {10, 65535, "abc"}, {11, 300, "abcd"}}; })},
        {"no gun mounts, no room for missile mounts", With({}, [](ShipPlan& s) {
            s.GunMounts.clear(); s.Missiles = ShipMissiles{}; })},
        {"a longer missile info chunk, a count with a high byte", With({}, [](ShipPlan& s) {
            s.Missiles = ShipMissiles{{{0, 6}, {6, 255}, {2, 3, 1}}, 40}; s.Decoys = 3; })},
        {"sixteen of each mount", With({}, [](ShipPlan& s) {
            s.GunMounts = NumberedGunMounts(16); s.Turrets = ShipTurrets{std::vector<std::uint8_t>(16, 4)};
            s.Missiles = ShipMissiles{std::vector<ShipMissileMount>(16)}; })},
        {"floats that are not whole", With(FullShip(), [](ShipPlan& s) {
            s.Slide = true; s.Booster = ShipBooster{{350, 870, 40, 30, 90, 20, 65, 55, 120, 110, 3000, 18.5F}};
            s.Mass = 2.5F; s.Hitpoints = 3.5F; s.Engine.SpeedMax = -1.5F; s.Engine.SpeedMin = -0.5F;
            s.Engine.SpeedStd = 2.51F; s.GunPower.Energy = 16777216; s.Armour->Left = 114.25F; })},
    };
    // clang-format on
}

// Each ship is shown after another, so that every box and list holds values a ship may lack; saved unchanged,
// its file keeps its bytes but for the floats that were not whole and the byte after each missile count.
TEST(LoadShip, EveryVariantShowsWhatItsFileHoldsAndSavesBackUnchanged) {
    for (const auto& [name, s] : Variants()) {
        SCOPED_TRACE(name);
        ShipGame game(OtherFullShip(), s);
        ProgramRun run(game.Game);
        TForm1& f = run.Form();
        UserInput::Choose(f.ComboBox1, 1);
        EXPECT_EQ(run.Shown(), std::vector<std::string>{});

        ShipPlan shown = s;  // what the ship lacks keeps the previous ship's values, decoys without a decoy chunk too
        if (!s.Armour) shown.Armour = OtherFullShip().Armour;
        if (!s.Shields) shown.Shields = OtherFullShip().Shields;
        if (!s.Missiles) shown.Missiles = OtherFullShip().Missiles;
        if (!s.Missiles || !s.Decoys) shown.Decoys = OtherFullShip().Decoys;
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
        EXPECT_EQ(f.CheckBox2.Checked(), s.Booster.has_value());
        EXPECT_EQ(f.Button11.Enabled(), s.Booster.has_value());
        const std::array<std::int32_t, 12> defaults{350, 870, 40, 30, 90, 20, 65, 55, 120, 110, 3000, 18};
        if (!s.Booster) {
            EXPECT_EQ(f.Ship.BoosterValues, defaults);
        }

        // Saving finds the autoslide and booster as loaded, and every value where the file holds it.
        UserInput::Click(f.Button2);
        EXPECT_TRUE(run.Shown().empty());
        EXPECT_TRUE(SameBytes(game.Game.ReadFile(kSecondFile), BuildShip(AsSaved(s)).File));
    }
}

TEST(LoadShipFailure, AMissingShipFileEndsTheProgramWithExitCode0) {
    ShipGame game(ShipPlan{}, ShipPlan{});
    const std::string advice = "\n\rPlease consult readme.txt on how to install Tovarin";
    ProgramRun run(game.Game);
    game.Game.Remove(kSecondFile);
    try {
        UserInput::Choose(run.Form().ComboBox1, 1);
        ADD_FAILURE() << "the program went on";
    } catch (const ProgramEnded& ended) {
        EXPECT_EQ(ended.ExitCode, 0);
    }
    EXPECT_EQ(run.Shown(), std::vector{"Couldn't find file " + game.Game.PathOf(kSecondFile) + advice});
    game.Game.Remove(kShipFile);
    const ProgramRun atStartUp(game.Game);
    EXPECT_EQ(atStartUp.Exit, 0);
    EXPECT_EQ(atStartUp.Shown(), std::vector{"Couldn't find file " + game.Game.PathOf(kShipFile) + advice});
}

// Each failure stops the load where it happens: the controls keep what was set up to that point.
TEST(LoadShipFailure, ABadShipStopsTheLoadWithItsMessage) {
    const ShipPlan second = With({}, [](ShipPlan& s) { s.Mass = 4321; });
    const BuiltShip built = BuildShip(second);
    const auto spoiled = [&built](std::int32_t tag) {  // the marker there is no longer found
        Bytes file = built.File;
        file.at(static_cast<std::size_t>(tag)) = 'x';
        return file;
    };
    const auto bad = [&second](const std::function<void(ShipPlan&)>& change) {
        return BuildShip(With(second, change)).File;
    };
    const std::uint8_t pastGuns = 13;  // the demo catalogue has 13 guns and 7 missiles
    const std::vector<std::string> oneGun{Gun(0)};
    std::vector<std::string> turrets(17, "Turret: " + Gun(4));
    turrets.front() = Gun(0);  // the gun and the first 16 turrets
    const std::string io = "I/O error 131.", index = "List index out of bounds.", range = "Range check error.";
    const struct {
        Bytes File;
        std::string Message;
        std::vector<std::string> GunRows, MissileRows;
    } cases[] = {
        // clang-format off
        {spoiled(built.Offsets.PhysPos), io, oneGun, {}},
        {spoiled(built.Offsets.EngnBase + 8), io, oneGun, {}},
        {spoiled(built.Offsets.GunsBase + 8), io, oneGun, {}},
        {bad([&](ShipPlan& s) { s.GunMounts = {{1, 0, "a"}, {pastGuns, 0, "b"}, {2, 0, "c"}}; }), index, {Gun(1)}, {}},
        {bad([&](ShipPlan& s) { s.Turrets = ShipTurrets{{4, pastGuns}}; }), index, {Gun(0), "Turret: " + Gun(4)}, {}},
        {bad([](ShipPlan& s) { s.Missiles = ShipMissiles{{{0, 2}, {7, 2}}}; }), index, oneGun, {Missile(0) + " * 2"}},
        {bad([](ShipPlan& s) { s.GunMounts = NumberedGunMounts(17); }), range, oneGun, {}},
        {bad([](ShipPlan& s) { s.Turrets = ShipTurrets{std::vector<std::uint8_t>(17, 4)}; }), range, turrets, {}},
        {bad([](ShipPlan& s) { s.Missiles = ShipMissiles{std::vector<ShipMissileMount>(17)}; }), range, oneGun, {}},
        {bad([](ShipPlan& s) { s.Booster = ShipBooster{{-3}}; }), range, oneGun, {}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        ShipGame game(With({}, [](ShipPlan& s) { s.Mass = 1234; }), ShipPlan{});
        game.Game.WriteFile(kSecondFile, c.File);
        ProgramRun run(game.Game);
        TForm1& f = run.Form();
        UserInput::Choose(f.ComboBox1, 1);
        EXPECT_EQ(run.Shown(), std::vector<std::string>{c.Message});
        EXPECT_EQ(f.Edit29.Text(), c.Message == io ? "1234" : "4321") << "a marker search fails before any box is set";
        EXPECT_EQ(f.ListBox1.Items(), c.GunRows);
        EXPECT_EQ(f.ListBox2.Items(), c.MissileRows);
    }
}

// A marker this close to the start lies in the file's header: its part counts as absent; one byte further on it
// is found. The files are made of markers only, each where the searches that must find it start early enough.
TEST(FindShipChunks, AMarkerInTheFileHeaderCountsAsAbsent) {
    namespace L = ShipLayout;
    const struct {
        Marker Bytes;
        std::int32_t Last;  // the last offset that counts as absent
        std::int32_t ShipChunks::*Base;
    } cases[] = {{L::kEngineMarker, 20, &ShipChunks::EngnBase},
                 {L::kDecoysMarker, 13, &ShipChunks::DecyBase},
                 {L::kShieldsMarker, 19, &ShipChunks::ShieldBase},
                 {L::kMissilesMarker, 20, &ShipChunks::MissBase},
                 {L::kArmourMarker, 20, &ShipChunks::ArmrBase}};
    for (const auto& c : cases) {
        for (std::int32_t at : {c.Last, c.Last + 1}) {
            SCOPED_TRACE(std::string(c.Bytes.begin(), c.Bytes.begin() + 4) + " at " + std::to_string(at));
            Bytes file(120, 0xEE);
            const std::int32_t engine = c.Bytes == L::kEngineMarker ? at : at + 8;
            for (const auto& [marker, where] : std::initializer_list<std::pair<Marker, std::int32_t>>{
                     {L::kPhysicsMarker, 0}, {c.Bytes, at}, {L::kEngineMarker, engine}, {L::kGunsMarker, at + 16}}) {
                std::copy(marker.begin(), marker.end(), file.begin() + where);
            }
            EXPECT_EQ(FindShipChunks(file).*c.Base, at == c.Last ? 0 : 13);
        }
    }
}

}  // namespace
}  // namespace tovarin::testkit
