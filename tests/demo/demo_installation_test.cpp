#include "testkit/demo_installation.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/application.h"
#include "app/form1.h"
#include "gamefiles/ini_file.h"
#include "testkit/bytes.h"
#include "testkit/weapon_tables.h"
#include "ui/headless_platform.h"
#include "ui/user_input.h"

// The demo installation is what players and later work try the editor on: it must load as a whole.
namespace tovarin {
namespace {

using testkit::Edition;

std::vector<std::string> ErrorBoxes(const HeadlessPlatform& platform) {
    std::vector<std::string> texts;
    for (const auto& box : platform.Boxes) {
        if (box.kind == HeadlessPlatform::Box::Kind::Error) texts.push_back(box.text);
    }
    return texts;
}

TEST(DemoInstallation, EveryShipLoadsAsItsFileSays) {
    for (Edition edition : {Edition::Base, Edition::Nightwatch}) {
        SCOPED_TRACE(edition == Edition::Base ? "base game" : "Nightwatch");
        testkit::GameFolder folder(edition);
        testkit::WriteDemoInstallation(folder);
        HeadlessPlatform platform(folder.Folder());
        platform.Answers = {true};  // install the archive patch if asked
        Application app(platform);
        ASSERT_EQ(app.Start(), std::nullopt);
        TForm1& form = app.Form1();

        const std::vector<testkit::DemoShip> ships = testkit::DemoShips();
        ASSERT_EQ(form.ComboBox1.Items().size(), ships.size());
        for (std::size_t i = 0; i < ships.size(); ++i) {
            const testkit::ShipPlan& plan = ships[i].Plan;
            SCOPED_TRACE(ships[i].Name);
            UserInput::Choose(form.ComboBox1, static_cast<int>(i));
            EXPECT_EQ(ErrorBoxes(platform), std::vector<std::string>{});
            EXPECT_EQ(form.Ship.ShipFile, ships[i].File);
            EXPECT_EQ(form.Edit29.Text(), std::to_string(static_cast<long>(plan.Mass)));
            EXPECT_EQ(form.Edit15.Text(), std::to_string(static_cast<long>(plan.Engine.SpeedMax)));
            const std::size_t turrets = plan.Turrets ? plan.Turrets->Guns.size() : 0;
            EXPECT_EQ(form.ListBox1.Items().size(), plan.GunMounts.size() + turrets);
            EXPECT_EQ(form.GroupBox3.Visible(), plan.Missiles.has_value());
            EXPECT_EQ(form.GroupBox5.Visible(), plan.Missiles && plan.Decoys);
            EXPECT_EQ(form.Edit17.Visible(), plan.Shields.has_value());
            EXPECT_EQ(form.CheckBox1.Checked(), plan.Slide);
            EXPECT_EQ(form.CheckBox2.Checked(), plan.Booster.has_value());
        }
    }
}

TEST(DemoInstallation, DefaultProfilesDifferFromTheShipFiles) {
    testkit::GameFolder folder;
    testkit::WriteDemoInstallation(folder);
    for (const testkit::DemoShip& ship : testkit::DemoShips()) {
        SCOPED_TRACE(ship.Name);
        const std::string stem = ship.File.substr(0, ship.File.size() - 4);
        const TIniFile profile(folder.PathOf("Ships\\" + stem + ".def"));
        EXPECT_NE(profile.ReadInteger("Ship", "mass", 0), 0);
        EXPECT_NE(profile.ReadInteger("Ship", "mass", 0), static_cast<std::int32_t>(ship.Plan.Mass));
        EXPECT_NE(profile.ReadInteger("Ship", "speedmax", 0), static_cast<std::int32_t>(ship.Plan.Engine.SpeedMax));
        EXPECT_NE(profile.ReadInteger("Ship", "hp", 0), static_cast<std::int32_t>(ship.Plan.Hitpoints));
        EXPECT_EQ(profile.ReadBool("Ship", "booster", false), ship.Plan.Booster.has_value())
            << "restoring the defaults keeps the ship's booster";
        EXPECT_EQ(profile.ReadInteger("Ship", "gun1", -1), ship.Plan.GunMounts.front().Gun);
    }
}

TEST(DemoInstallation, EveryGunAndMissileHasARecordAtItsCataloguePosition) {
    testkit::GameFolder folder;
    testkit::WriteDemoInstallation(folder);
    const TIniFile catalogue(folder.PathOf(folder.CatalogueName()));
    const testkit::Bytes guns = folder.ReadFile("Game\\bullet.iff");
    for (std::size_t i = 0; i < testkit::DemoGunNames().size(); ++i) {
        SCOPED_TRACE(testkit::DemoGunNames()[i]);
        const std::int32_t base = catalogue.ReadInteger("GunData", std::to_string(i), 0);
        ASSERT_GT(base, 0);
        const testkit::GunRecord gun = testkit::ReadGunRecord(guns, base);
        EXPECT_GT(gun.Speed, 0.0f);
        EXPECT_GT(gun.Damage, 0.0f);
        EXPECT_GT(gun.RefireSeconds, 0.0f);
    }
    const testkit::Bytes missiles = folder.ReadFile("Game\\missile.iff");
    std::vector<std::string> splitting;
    for (std::size_t i = 0; i < testkit::DemoMissileNames().size(); ++i) {
        SCOPED_TRACE(testkit::DemoMissileNames()[i]);
        const std::int32_t base = catalogue.ReadInteger("MissData", std::to_string(i), 0);
        ASSERT_GT(base, 0);
        const testkit::MissileRecord missile = testkit::ReadMissileRecord(missiles, base);
        EXPECT_GT(missile.Speed, 0.0f);
        EXPECT_NE(missile.Flags, 0);
        if (missile.SplitCount != 0) {
            splitting.push_back(testkit::DemoMissileNames()[i] + " into " +
                                testkit::DemoMissileNames().at(missile.SubMissileType));
        }
    }
    EXPECT_EQ(splitting, std::vector<std::string>{"Hydra Cluster into Dart"});
}

TEST(DemoInstallation, TheArchiveIsNotPatchedYet) {
    testkit::GameFolder folder;
    testkit::WriteDemoInstallation(folder);
    const TIniFile catalogue(folder.PathOf(folder.CatalogueName()));
    const testkit::Bytes archive = folder.ReadFile("data.tre");
    const std::int32_t count = catalogue.ReadInteger("InstallData", "num", 0);
    ASSERT_GT(count, 0);
    for (std::int32_t i = 0; i < count; ++i) {
        const std::int32_t position = catalogue.ReadInteger("InstallData", std::to_string(i), 0);
        ASSERT_GT(position, count) << "a position must not share its key with an index in the uninstall record";
        ASSERT_LT(static_cast<std::size_t>(position), archive.size());
        EXPECT_NE(archive[static_cast<std::size_t>(position)], 'A');
    }
}

}  // namespace
}  // namespace tovarin
