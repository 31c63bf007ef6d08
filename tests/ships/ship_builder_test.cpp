#include "testkit/ship_builder.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "ships/ship_layout.h"
#include "testkit/chunk_writer.h"
#include "testkit/demo_ships.h"

// The test kit's ship files must be what the game's are: well-formed chunk trees, with the chunks the editor
// inserts byte for byte equal to its own templates, so that a rebuilt file can be compared with a built one.
namespace tovarin {
namespace {

using testkit::BuildShip;
using testkit::Bytes;
using testkit::ShipPlan;

ShipPlan EveryPart() {
    ShipPlan s;
    s.Slide = true;
    s.Booster = testkit::ShipBooster{};
    s.GunMounts = {{11, 200, "gun_left"}, {3, 0, "gun_right"}};
    s.Missiles = testkit::ShipMissiles{{{1, 2}}};
    s.Decoys = 5;
    s.Shields = testkit::ShipShields{};
    s.Armour = testkit::ShipArmour{};
    s.Turrets = testkit::ShipTurrets{{1, 2}};
    return s;
}

TEST(ShipBuilder, EveryShipIsAWellFormedChunkTree) {
    std::vector<std::pair<std::string, ShipPlan>> ships = {{"minimal", ShipPlan{}}, {"every part", EveryPart()}};
    for (const testkit::DemoShip& demo : testkit::DemoShips()) ships.emplace_back(demo.Name, demo.Plan);
    for (const auto& [name, plan] : ships) {
        SCOPED_TRACE(name);
        const testkit::BuiltShip built = BuildShip(plan);
        EXPECT_EQ(testkit::ChunkTreeProblem(built.File), "");
        EXPECT_EQ(testkit::WordBEAt(built.File, ShipLayout::kFileLengthWord), built.File.size() - 8);
        EXPECT_EQ(built.Offsets.FileSize, static_cast<std::int32_t>(built.File.size()));
    }
}

TEST(ShipBuilder, TheTreeCheckNoticesAWrongLength) {
    Bytes file = BuildShip(EveryPart()).File;
    const std::int32_t guns = BuildShip(EveryPart()).Offsets.GunsBase;
    file[static_cast<std::size_t>(guns) + 7] += 2;
    EXPECT_NE(testkit::ChunkTreeProblem(file), "");
}

TEST(ShipBuilder, TheBoosterAndSlideChunksAreTheEditorsTemplates) {
    const testkit::BuiltShip built = BuildShip(EveryPart());
    const auto booster = built.File.begin() + built.Offsets.BoosPos;
    EXPECT_TRUE(std::equal(ShipLayout::kBoosterChunk.begin(), ShipLayout::kBoosterChunk.end(), booster));
    EXPECT_EQ(built.Offsets.BoosPos + ShipLayout::kBoosterChunkSize, built.Offsets.GunsBase)
        << "the booster chunk stands directly before the GUNS form";
    const auto slide = built.File.begin() + built.Offsets.SlidePos;
    EXPECT_TRUE(std::equal(ShipLayout::kSlideChunk.begin(), ShipLayout::kSlideChunk.end(), slide));
}

TEST(ShipBuilder, PartsLieWhereTheGameKeepsThem) {
    const testkit::BuiltShip built = BuildShip(EveryPart());
    const testkit::ShipOffsets& at = built.Offsets;
    EXPECT_EQ(at.PhysPos, 12);
    EXPECT_EQ(at.Hitpoints, at.PhysPos + 32) << "behind the slide chunk";
    EXPECT_EQ(at.EngnContainer, at.EngnBase - 12);
    EXPECT_EQ(testkit::WordBEAt(built.File, static_cast<std::size_t>(at.ShieldBase) + 6), 78)
        << "the shield form's length is what its marker begins with";
    EXPECT_EQ(at.GunMountSizes, (std::vector<std::int32_t>{26, 26})) << "8 + 17 + pad, 8 + 18";
    EXPECT_EQ(at.TurretListPos, at.ArmrBase + 36 + 8);
}

}  // namespace
}  // namespace tovarin
