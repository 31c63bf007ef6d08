#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_run.h"
#include "demo/demo_ships.h"
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

// Ships and weapons are named in any letter case, on the command line and in sheets; a name that two of them share
// but for case is refused naming both.
TEST(FleetLookup, NamesMatchInAnyCaseAndANameOfTwoIsRefusedNamingBoth) {
    Demo game;
    std::vector<std::string> guns = demo::DemoGunNames();
    guns[1] = "PULSE LASER";
    game.SetCatalogueNames("Guns", guns);
    game.WriteText("fleet.csv", "ship,hp,gun1\r\nkESTREL,300,scatter gun\r\n");
    game.WriteText("guns.csv", "gun,damage\r\nmeson blaster,12\r\n");
    const struct {
        std::vector<std::string> Command;
        int Exit;
        std::string Said;
    } rows[] = {
        {{"import", "ships", game.PathOf("fleet.csv")}, 0, ""},
        {{"ship", "get", "kestrel", "gun1"}, 0, "gun1=8\n"},  // the Scatter Gun's number
        {{"ship", "get", "KESTREL", "hp"}, 0, "hp=300\n"},
        {{"import", "guns", game.PathOf("guns.csv")}, 0, ""},
        {{"guns", "get", "Meson blaster", "damage"}, 0, "damage=12\n"},
        {{"guns", "get", "pulse laser"}, 1, "pulse laser names more than one gun: Pulse Laser and PULSE LASER"},
        {{"ship", "set", "Kestrel", "gun1=pulse LASER"}, 1, "Pulse Laser and PULSE LASER"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Command[0] + " " + row.Command[2]);
        const Ran ran = Cli(game, row.Command);
        EXPECT_EQ(ran.Exit, row.Exit) << ran.Err;
        EXPECT_NE((row.Exit == 0 ? ran.Out : ran.Err).find(row.Said), std::string::npos) << ran.Out << ran.Err;
    }
}

}  // namespace
}  // namespace tovarin::testkit
