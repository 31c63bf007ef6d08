#include "demo/demo_installation.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

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
        const std::string game = edition == Edition::Base ? "Vantorsk Ashfall" : "Vantorsk Ashfall: Nightwatch";
        SCOPED_TRACE(game);
        TempGameFolder folder(edition);
        WriteDemoInstallation(folder);
        const Bytes guns = folder.ReadFile("Game\\bullet.iff");
        const Bytes missiles = folder.ReadFile("Game\\missile.iff");
        ProgramRun run(folder, {true});  // installs the archive patch when asked
        ASSERT_EQ(run.Exit, std::nullopt);
        std::vector<std::string> expected = {InstallQuestion(game), "Install successful"};
        ASSERT_EQ(run.Shown(), expected);
        TForm1& form = run.Form();
        const std::vector<DemoShip> ships = DemoShips();
        ASSERT_EQ(form.ComboBox1.Items().size(), ships.size());
        for (std::size_t i = 0; i < ships.size(); ++i) {
            SCOPED_TRACE(ships[i].Name);
            const std::string file = "Ships\\" + ships[i].File;
            const Bytes before = folder.ReadFile(file);
            EXPECT_EQ(ChunkTreeProblem(before), "");
            UserInput::Choose(form.ComboBox1, static_cast<int>(i));
            EXPECT_EQ(form.Ship.ShipFile, ships[i].File);
            ExpectBoxesShow(form, ships[i].Plan);
            UserInput::Click(form.Button2);
            EXPECT_TRUE(SameBytes(folder.ReadFile(file), before));
            // Every value of the default profile differs from the ship's, so an export after restoring shows them all.
            UserInput::Click(form.Button9);
            run.Platform.FileChoices.emplace_back(folder.PathOf("restored.vks"));
            UserInput::Click(form.Button6);
            const std::string exported = "\n" + folder.ReadText("restored.vks");
            std::istringstream defaults(DefaultProfileText(ships[i]));
            for (std::string line; std::getline(defaults, line);)
                EXPECT_NE(exported.find('\n' + line), exported.npos) << line;
        }
        for (const auto& [list, save] :
             {std::pair{&form.ComboBox4, &form.Button7}, std::pair{&form.ComboBox5, &form.Button8}}) {
            for (int weapon = 0; weapon < static_cast<int>(list->Items().size()); ++weapon) {
                UserInput::Choose(*list, weapon);
                UserInput::Click(*save);
            }
        }
        EXPECT_TRUE(SameBytes(folder.ReadFile("Game\\bullet.iff"), guns));
        EXPECT_TRUE(SameBytes(folder.ReadFile("Game\\missile.iff"), missiles));
        // The restored defaults are left unsaved: choosing the next ship asks about them (answered No).
        for (std::size_t i = 0; i + 1 < ships.size(); ++i) expected.push_back("Save changes to " + ships[i].Name + "?");
        EXPECT_EQ(run.Shown(), expected);
    }
}

}  // namespace
}  // namespace tovarin::testkit
