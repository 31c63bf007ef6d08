// "why" on the demo with three overlapping mods, run in order as a player would: nothing applied yet, applied, an
// own change on top and one put back to the original, a mod switched off but not applied, and the mods reordered.
#include <gtest/gtest.h>

#include "cli_run.h"
#include "testkit/demo_mods.h"

namespace tovarin::testkit {
namespace {

struct Row {
    std::string Name;
    std::vector<std::vector<std::string>> Before;  // commands run first
    std::vector<std::string> Why;                  // the arguments after "why"
    std::string Out;
};

TEST(WhyCommand, EachValueFromItsOriginalThroughTheAppliedModsToTheOwnChange) {
    Demo game;
    WriteThreeMods(game, "downloads");
    for (const std::string mod : {"ff", "hm", "gun pack.csv"}) {
        ASSERT_EQ(Cli(game, {"mods", "add", game.PathOf("downloads\\" + mod)}).Exit, 0);
    }
    const std::vector<std::string> speedAndMass = {"Kestrel", "speedmax", "mass"};
    const std::vector<Row> rows = {
        {"switched on, not applied", {}, speedAndMass, "speedmax\t600 original\nmass\t9800 original\n"},
        {"applied: the later mod last",
         {{"mods", "apply"}},
         speedAndMass,
         "speedmax\t600 original -> 640 Faster Fighters -> 620 Heavy Metal\nmass\t9800 original -> 11000 Heavy "
         "Metal\n"},
        {"an own change on top",
         {{"ship", "set", "Kestrel", "speedmax=710"}},
         {"Kestrel", "speedmax"},
         "speedmax\t600 original -> 640 Faster Fighters -> 620 Heavy Metal -> 710 your change\n"},
        {"put back to the original: both steps, and no longer among the changed values",
         {{"ship", "set", "Kestrel", "speedmax=600"}},
         {"Kestrel"},
         "mass\t9800 original -> 11000 Heavy Metal\n"},
        {"the chain of that value",
         {},
         {"Kestrel", "speedmax"},
         "speedmax\t600 original -> 640 Faster Fighters -> 620 Heavy Metal -> 600 your change\n"},
        {"a mod switched off and not applied: the files hold the last apply's values",
         {{"mods", "off", "Heavy Metal"}},
         speedAndMass,
         "speedmax\t600 original -> 620 last apply -> 600 your change\nmass\t9800 original -> 11000 last apply\n"},
        {"applied without it: the own change stays on top",
         {{"mods", "apply"}},
         speedAndMass,
         "speedmax\t600 original -> 640 Faster Fighters -> 600 your change\nmass\t9800 original\n"},
        {"back on, first in the load order, the own change dropped",
         {{"mods", "on", "Heavy Metal"}, {"mods", "move", "Heavy Metal", "1"}, {"mods", "apply", "--drop-own-changes"}},
         speedAndMass,
         "speedmax\t600 original -> 620 Heavy Metal -> 640 Faster Fighters\nmass\t9800 original -> 11000 Heavy "
         "Metal\n"},
        {"a ship no mod changed", {}, {"Lancet"}, ""},
        {"a gun, as JSON",
         {},
         {"gun", "Pulse Laser", "--json"},
         "{\"damage\":[{\"value\":18,\"from\":\"original\"},{\"value\":41,\"from\":\"gun pack\"}]}\n"},
        {"a weapon by name, as JSON",
         {},
         {"Kestrel", "gun1", "--json"},
         "{\"gun1\":[{\"value\":\"Pulse Laser\",\"from\":\"original\"}]}\n"},
        {"a missile's field", {}, {"missile", "Dart", "speed"}, "speed\t1400 original\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        for (const std::vector<std::string>& command : row.Before) ASSERT_EQ(Cli(game, command).Exit, 0);
        std::vector<std::string> why = {"why"};
        why.insert(why.end(), row.Why.begin(), row.Why.end());
        const Ran ran = Cli(game, why);
        EXPECT_EQ(ran.Exit, 0);
        EXPECT_EQ(ran.Out, row.Out);
        EXPECT_EQ(ran.Err, "");
    }
}

}  // namespace
}  // namespace tovarin::testkit
