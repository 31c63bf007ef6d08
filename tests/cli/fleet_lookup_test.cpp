#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_run.h"
#include "testkit/fault_walk.h"

// A ship is found by the name the catalogue lists it under, the same way by every command and by a sheet.
namespace tovarin::testkit {
namespace {

TEST(FleetLookup, ANameTheCatalogueDoesNotListIsAnUnknownShipAndChangesNothing) {
    Demo game;
    game.WriteText("fleet.csv", "ship,hp\r\nKestrel,300\r\nNosuch,300\r\n");
    const struct {
        std::vector<std::string> Command;
        std::string Said;
    } rows[] = {
        {{"ship", "get", "Nosuch"}, "Unknown ship: Nosuch"},
        {{"ship", "set", "Nosuch", "hp=1"}, "Unknown ship: Nosuch"},
        {{"import", "ships", game.PathOf("fleet.csv")}, "line 3, column 1: Unknown ship: Nosuch"},
    };
    const FolderFiles before = ReadFolder(game.PathOf("Ships"));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Command[0]);
        const Ran ran = Cli(game, row.Command);
        EXPECT_EQ(ran.Exit, 1);
        EXPECT_NE(ran.Err.find(row.Said), std::string::npos) << ran.Err;
        EXPECT_TRUE(ReadFolder(game.PathOf("Ships")) == before);
    }
}

}  // namespace
}  // namespace tovarin::testkit
