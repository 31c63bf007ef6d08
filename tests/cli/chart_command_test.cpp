// "chart ships" reads each ship's two charted values now and as first found: a ship the command line changed has
// its original beside it, the others none.
#include <gtest/gtest.h>

#include "cli_run.h"

namespace tovarin::testkit {
namespace {

TEST(ChartCommand, AChangedShipHasItsOriginalBesideItAndAnUnchangedOneNone) {
    Demo game;
    ASSERT_EQ(Cli(game, {"ship", "set", "Kestrel", "speedmax=710"}).Exit, 0);
    const Ran chart = Cli(game, {"chart", "ships", "--table"});
    ASSERT_EQ(chart.Exit, 0) << chart.Err;
    EXPECT_EQ(
        chart.Out.substr(0, chart.Out.find("Halberd")),
        "ship\tspeedmax\thp\toriginal speedmax\toriginal hp\nKestrel\t710\t320\t600\t320\nWarden\t480\t720\t\t\n");
    EXPECT_EQ(Cli(game, {"chart", "ships", "speedmax", "shield"}).Err, "Unknown ship key: shield\n");
}

}  // namespace
}  // namespace tovarin::testkit
