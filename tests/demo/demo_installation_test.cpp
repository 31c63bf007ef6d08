#include "demo/demo_installation.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "demo/chunk_writer.h"
#include "ships/chunk_tree.h"
#include "ships/ship_session.h"
#include "testkit/temp_game_folder.h"

using namespace tovarin::demo;  // the demo installation's ships and weapons

// The demo installation is what players and later work try the editor on, in both editions: the archive patch
// installs; every ship is a well-formed chunk tree as the game's are, loads as its file says, saves unchanged and
// restores its whole default profile; every gun and missile saves unchanged.
namespace tovarin::testkit {

using namespace demo;  // the demo's builders of ship files, weapon tables and game folders
namespace {

TEST(DemoInstallation, EveryShipAndWeaponLoadsAndSavesUnchangedAndEveryShipRestoresItsDefaults) {
    for (Edition edition : {Edition::Base, Edition::Nightwatch}) {
        SCOPED_TRACE(edition == Edition::Base ? "base game" : "Nightwatch");
        TempGameFolder folder(edition);
        WriteDemoInstallation(folder);
        const Bytes guns = folder.ReadFile("Game\\bullet.iff");
        const Bytes missiles = folder.ReadFile("Game\\missile.iff");
        ProgramRun run(folder, {true});  // installs the archive patch when asked
        ASSERT_EQ(run.Exit, std::nullopt);
        const std::vector<std::string> started = run.Shown();
        ASSERT_EQ(started.size(), 2u);
        EXPECT_EQ(started[1], "Install successfull") << started[0];
        TForm1& form = run.Form();
        const std::vector<DemoShip> ships = DemoShips();
        ASSERT_EQ(form.ComboBox1.Items().size(), ships.size());
        for (std::size_t i = 0; i < ships.size(); ++i) {
            SCOPED_TRACE(ships[i].Name);
            const std::string file = "Ships\\" + ships[i].File;
            Bytes before = folder.ReadFile(file);
            EXPECT_EQ(ChunkTreeProblem(before), "");
            UserInput::Choose(form.ComboBox1, static_cast<int>(i));
            EXPECT_EQ(form.Ship.ShipFile, ships[i].File);
            ExpectBoxesShow(form, ships[i].Plan);
            UserInput::Click(form.Button2);
            EXPECT_TRUE(SameBytes(folder.ReadFile(file), before));
            before[7] += 2;
            EXPECT_NE(ChunkTreeProblem(before), "") << "the tree check notices a wrong length";
            // Every value of the default profile differs from the ship's, so an export after restoring shows them all.
            UserInput::Click(form.Button9);
            run.Platform.FileChoices.emplace_back(folder.PathOf("restored.vks"));
            UserInput::Click(form.Button6);
            const std::string exported = "\n" + folder.ReadText("restored.vks");
            std::istringstream defaults(DefaultProfileText(ships[i]));
            for (std::string line; std::getline(defaults, line);)
                EXPECT_NE(exported.find('\n' + line), exported.npos) << line;
        }
        for (int gun = 0; gun < static_cast<int>(form.ComboBox4.Items().size()); ++gun) {
            UserInput::Choose(form.ComboBox4, gun);
            UserInput::Click(form.Button7);
        }
        for (int missile = 0; missile < static_cast<int>(form.ComboBox5.Items().size()); ++missile) {
            UserInput::Choose(form.ComboBox5, missile);
            UserInput::Click(form.Button8);
        }
        EXPECT_TRUE(SameBytes(folder.ReadFile("Game\\bullet.iff"), guns));
        EXPECT_TRUE(SameBytes(folder.ReadFile("Game\\missile.iff"), missiles));
        // The restored defaults are left unsaved: choosing the next ship asks about them (answered No).
        std::vector<std::string> expected = started;
        for (std::size_t i = 0; i + 1 < ships.size(); ++i) expected.push_back("Save changes to " + ships[i].Name + "?");
        EXPECT_EQ(run.Shown(), expected);
    }
}

}  // namespace
}  // namespace tovarin::testkit
