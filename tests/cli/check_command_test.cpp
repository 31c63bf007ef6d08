#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>

#include "cli/command_line.h"
#include "demo/demo_installation.h"
#include "testkit/temp_game_folder.h"

// `check` on the demo installation of both editions and on damaged copies of it: one line per finding, exit code 1
// when anything is found.
namespace tovarin::testkit {

using namespace demo;  // the demo's builders of ship files, weapon tables and game folders
namespace {

void Spoil(const TempGameFolder& game, const std::string& file, const std::function<void(Bytes&)>& change) {
    Bytes bytes = game.ReadFile(file);
    change(bytes);
    game.WriteFile(file, bytes);
}

void Rename(Bytes& bytes, const std::string& from, const std::string& to) {
    const auto at = std::search(bytes.begin(), bytes.end(), from.begin(), from.end());
    ASSERT_NE(at, bytes.end()) << from;
    std::copy(to.begin(), to.end(), at);
}

TEST(CheckCommandTest, FindsEachDamageOnItsOwnLine) {
    struct Row {
        std::string Name;
        Edition Game;
        std::function<void(TempGameFolder&)> Damage;
        std::string Findings;
    };
    const std::vector<Row> rows = {
        {"a sound installation", Edition::Base, [](TempGameFolder&) {}, ""},
        {"a sound Nightwatch installation", Edition::Nightwatch, [](TempGameFolder&) {}, ""},
        {"a wrong form length", Edition::Base,
         [](TempGameFolder& g) { Spoil(g, "Ships\\halberd.iff", [](Bytes& b) { b[7] += 2; }); },
         "Ships\\halberd.iff: the top-level form says 384 bytes, the file has 382\n"},
        {"a missing marker", Edition::Base,
         [](TempGameFolder& g) { Spoil(g, "Ships\\lancet.iff", [](Bytes& b) { Rename(b, "GUNSPOWR", "GUNSPOWX"); }); },
         "Ships\\lancet.iff: would not load (I/O error 131)\n"},
        {"a record beyond the table", Edition::Base,
         [](TempGameFolder& g) { g.SetCatalogueKey("MissData", "1", "99999"); },
         "Game\\missile.iff: Hornet IR: Read beyond end of file\n"},
        {"an unpaired switch entry", Edition::Base, [](TempGameFolder& g) { g.SetSwitchEntry("Kestrel", "Warden"); },
         "Ships\\switch.dat: Kestrel=Warden has no partner entry Warden=Kestrel\n"},
        {"a missing ship file", Edition::Base, [](TempGameFolder& g) { g.Remove("Ships\\sable.iff"); },
         "Ships\\sable.iff: the ship file of Sable is missing\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        TempGameFolder game(row.Game);
        demo::WriteDemoInstallation(game);
        row.Damage(game);
        std::ostringstream out, err;
        EXPECT_EQ(cli::RunCommandLine({"--game", game.Folder(), "check"}, out, err), row.Findings.empty() ? 0 : 1);
        EXPECT_EQ(out.str(), row.Findings);
        EXPECT_EQ(err.str(), "");
    }
}

}  // namespace
}  // namespace tovarin::testkit
