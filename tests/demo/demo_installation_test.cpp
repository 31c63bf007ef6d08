#include "demo/demo_installation.h"

#include <gtest/gtest.h>

#include "ships/ship_session.h"

using namespace tovarin::demo;  // the demo installation's ships and weapons

// The demo installation is what players and later work try the editor on: every ship must load as its file says
// and save unchanged, in both editions.
namespace tovarin::testkit {
namespace {

TEST(DemoInstallation, EveryShipLoadsAsItsFileSaysAndSavesUnchanged) {
    for (Edition edition : {Edition::Base, Edition::Nightwatch}) {
        SCOPED_TRACE(edition == Edition::Base ? "base game" : "Nightwatch");
        GameFolder folder(edition);
        WriteDemoInstallation(folder);
        ProgramRun run(folder, {true});  // installs the archive patch when asked
        ASSERT_EQ(run.Exit, std::nullopt);
        TForm1& form = run.Form();
        const std::vector<DemoShip> ships = DemoShips();
        ASSERT_EQ(form.ComboBox1.Items().size(), ships.size());
        for (std::size_t i = 0; i < ships.size(); ++i) {
            SCOPED_TRACE(ships[i].Name);
            const std::string file = "Ships\\" + ships[i].File;
            const Bytes before = folder.ReadFile(file);
            UserInput::Choose(form.ComboBox1, static_cast<int>(i));
            EXPECT_EQ(form.Ship.ShipFile, ships[i].File);
            ExpectBoxesShow(form, ships[i].Plan);
            UserInput::Click(form.Button2);
            EXPECT_TRUE(SameBytes(folder.ReadFile(file), before));
        }
        for (const auto& box : run.Platform.Boxes) EXPECT_NE(box.kind, HeadlessPlatform::Box::Kind::Error) << box.text;
    }
}

}  // namespace
}  // namespace tovarin::testkit
