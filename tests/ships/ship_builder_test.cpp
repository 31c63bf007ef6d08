#include "testkit/ship_builder.h"

#include <gtest/gtest.h>

#include "ships/ship_session.h"
#include "testkit/chunk_writer.h"

// The test kit's ship files must be what the game's are, for the editor's output is compared with them: well-formed
// chunk trees, laid out as the game lays its ships out.
namespace tovarin::testkit {
namespace {

TEST(ShipBuilder, BuildsWellFormedShipsLaidOutAsTheGamesAre) {
    ShipPlan everyPart = FullShip();
    everyPart.Slide = true;
    everyPart.Booster = ShipBooster{};
    std::vector<std::pair<std::string, ShipPlan>> ships = {{"minimal", ShipPlan{}}, {"every part", everyPart}};
    for (const DemoShip& demo : DemoShips()) ships.emplace_back(demo.Name, demo.Plan);
    for (const auto& [name, plan] : ships) {
        SCOPED_TRACE(name);
        const BuiltShip built = BuildShip(plan);
        EXPECT_EQ(ChunkTreeProblem(built.File), "");
        EXPECT_EQ(WordBEAt(built.File, 6), built.File.size() - 8);
        EXPECT_EQ(built.Offsets.FileSize, static_cast<std::int32_t>(built.File.size()));
    }

    const BuiltShip built = BuildShip(everyPart);
    const ShipOffsets& at = built.Offsets;
    EXPECT_EQ(at.Hitpoints, at.PhysPos + 32) << "behind the slide chunk";
    EXPECT_EQ(at.BoosPos + 114, at.GunsBase) << "the booster chunk stands directly before the GUNS form";
    EXPECT_EQ(WordBEAt(built.File, static_cast<std::size_t>(at.ShieldBase) + 6), 78);
    EXPECT_EQ(at.GunMountSizes, (std::vector<std::int32_t>{26, 30, 26})) << "8 + 17 + pad, 8 + 22, 8 + 18";

    Bytes spoiled = built.File;
    spoiled[static_cast<std::size_t>(at.GunsBase) + 7] += 2;
    EXPECT_NE(ChunkTreeProblem(spoiled), "") << "the tree check notices a wrong length";
}

}  // namespace
}  // namespace tovarin::testkit
