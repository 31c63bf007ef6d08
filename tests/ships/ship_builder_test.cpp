#include "testkit/ship_builder.h"

#include <gtest/gtest.h>

#include "demo/demo_ships.h"
#include "ships/ship_session.h"
#include "ships/chunk_tree.h"
#include "testkit/chunk_writer.h"

// The editor's output is compared with the test kit's ship files, so these must be well-formed chunk trees as the
// game's are. Where each part lies the loading and saving tests show, by the editor finding it there.
namespace tovarin::testkit {
namespace {

TEST(ShipBuilder, BuildsWellFormedChunkTrees) {
    // The demo ships between them have every part a ship can have.
    for (const demo::DemoShip& ship : demo::DemoShips()) {
        SCOPED_TRACE(ship.Name);
        const Bytes file = BuildShip(ship.Plan).File;
        EXPECT_EQ(ChunkTreeProblem(file), "");
        EXPECT_EQ(WordBEAt(file, 6), file.size() - 8);
    }
    const BuiltShip built = BuildShip(FullShip());
    Bytes spoiled = built.File;
    spoiled[static_cast<std::size_t>(built.Offsets.GunsBase) + 7] += 2;
    EXPECT_NE(ChunkTreeProblem(spoiled), "") << "the tree check notices a wrong length";
}

}  // namespace
}  // namespace tovarin::testkit
