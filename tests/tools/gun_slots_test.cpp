#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/form1.h"
#include "gamefiles/errors.h"
#include "testkit/demo_installation.h"
#include "testkit/demo_ships.h"
#include "testkit/game_folder.h"
#include "testkit/ship_builder.h"
#include "ui/headless_platform.h"
#include "ui/user_input.h"

namespace tovarin {
namespace {

using testkit::BuildShip;
using testkit::BuiltShip;
using testkit::Bytes;
using testkit::ShipPlan;

constexpr int kGunSlotPage = 1;

std::string FileOf(int ship) { return "ship" + std::to_string(ship + 1) + ".iff"; }
std::string ShipFile(int ship) { return "Ships\\" + FileOf(ship); }

// The catalogue's stored positions of a ship's missile, decoy, shield and armour data: its part bases, 0 where
// the ship lacks the part.
std::vector<std::pair<std::string, int>> StoredPositions(const testkit::ShipOffsets& at) {
    return {{"misspowr", at.MissBase}, {"bdecy", at.DecyBase}, {"nfshpowr", at.ShieldBase}, {"armrdata", at.ArmrBase}};
}

// A game whose ships each have their section in the catalogue, describing the ship file as it is.
class Game {
public:
    Game() { testkit::AddDemoWeapons(Folder); }

    void AddShip(const ShipPlan& plan) {
        const int ship = static_cast<int>(Ships.size());
        Ships.push_back(BuildShip(plan));
        Folder.AddShip("Ship " + std::to_string(ship + 1), FileOf(ship), Ships.back().File);
        testkit::IniSection section{FileOf(ship), {{"Guns", std::to_string(plan.GunMounts.size())}}};
        const testkit::ShipOffsets& at = Ships.back().Offsets;
        for (std::size_t i = 0; i < at.GunMountPos.size(); ++i) {
            section.Keys.emplace_back("Gun" + std::to_string(i + 1), std::to_string(at.GunMountPos[i]));
        }
        for (const auto& [key, position] : StoredPositions(at)) {
            section.Keys.emplace_back(key, std::to_string(position));
        }
        Folder.SetCatalogueSection(section);
    }

    // Starts the program on the Ships tab, then opens "Add/Remove Guns".
    TForm1& Start() {
        platform_ = std::make_unique<HeadlessPlatform>(Folder.Folder());
        app_ = std::make_unique<Application>(*platform_);
        EXPECT_FALSE(app_->Start().has_value());
        UserInput::ShowPage(Form().PageControl1, kGunSlotPage);
        return Form();
    }
    TForm1& Form() { return app_->Form1(); }

    void Copy(int slot) {
        UserInput::Select(Form().ListBox3, slot);
        UserInput::Click(Form().Button13);
    }
    void Delete(int slot) {
        UserInput::Select(Form().ListBox3, slot);
        UserInput::Click(Form().Button12);
    }
    void Save() { UserInput::Click(Form().Button14); }

    [[nodiscard]] std::vector<std::string> Boxes() const {
        std::vector<std::string> texts;
        for (const auto& box : platform_->Boxes) texts.push_back(box.text);
        return texts;
    }
    [[nodiscard]] std::string Catalogue() const { return Folder.ReadText(Folder.CatalogueName()); }
    [[nodiscard]] TIniFile CatalogueFile() const { return TIniFile(Folder.PathOf(Folder.CatalogueName())); }
    // The keys and values of a ship's catalogue section.
    [[nodiscard]] std::map<std::string, std::string> Section(int ship) const {
        std::vector<std::string> names;
        CatalogueFile().ReadSection(FileOf(ship), names);
        std::map<std::string, std::string> values;
        for (const std::string& name : names) values[name] = CatalogueFile().ReadString(FileOf(ship), name, "");
        return values;
    }

    // The ship's catalogue section describes `expected`: its slot count, each slot's data offset, no offset of a
    // slot beyond them, and the stored positions of the parts behind the guns.
    void ExpectSectionDescribes(int ship, const BuiltShip& expected) const {
        const TIniFile catalogue = CatalogueFile();
        const std::string section = FileOf(ship);
        const testkit::ShipOffsets& at = expected.Offsets;
        EXPECT_EQ(catalogue.ReadInteger(section, "Guns", -1), static_cast<int>(at.GunMountPos.size()));
        for (std::size_t i = 0; i < at.GunMountPos.size(); ++i) {
            EXPECT_EQ(catalogue.ReadInteger(section, "Gun" + std::to_string(i + 1), -1), at.GunMountPos[i]) << i;
        }
        EXPECT_EQ(catalogue.ReadString(section, "Gun" + std::to_string(at.GunMountPos.size() + 1), "gone"), "gone");
        for (const auto& [key, position] : StoredPositions(at)) {
            EXPECT_EQ(catalogue.ReadInteger(section, key, -1), position) << key;
        }
    }

    testkit::GameFolder Folder;
    std::vector<BuiltShip> Ships;

private:
    std::unique_ptr<HeadlessPlatform> platform_;
    std::unique_ptr<Application> app_;
};

// ---- Copy and Delete, then Save -----------------------------------------------------------------------------------

struct SlotEdit {
    const char* Ship;  // a demo ship
    int Slot;
};

// Corsair's second mount has odd data and a pad byte; Lancet has no missile form; Warden and Bastion have turrets
// behind their guns.
const SlotEdit kCopies[] = {{"Kestrel", 2}, {"Corsair", 1}, {"Corsair", 0}, {"Lancet", 0}, {"Bastion", 9}};
const SlotEdit kDeletions[] = {{"Kestrel", 0}, {"Corsair", 1}, {"Lancet", 1}, {"Warden", 2}, {"Bastion", 4}};

ShipPlan DemoPlan(const std::string& name) {
    for (const testkit::DemoShip& ship : testkit::DemoShips()) {
        if (ship.Name == name) return ship.Plan;
    }
    throw std::invalid_argument(name);
}

// A copy adds a record of the source's size at the end of the GUNS form: the file is the ship built with that
// mount added, so the three enclosing lengths grew by the size and everything behind moved by it.
TEST(GunSlotTest, CopyThenSaveGivesTheShipWithTheMountAdded) {
    for (const SlotEdit& edit : kCopies) {
        SCOPED_TRACE(std::string(edit.Ship) + " slot " + std::to_string(edit.Slot));
        Game game;
        ShipPlan plan = DemoPlan(edit.Ship);
        game.AddShip(plan);
        plan.GunMounts.push_back(plan.GunMounts[edit.Slot]);
        const BuiltShip expected = BuildShip(plan);

        TForm1& form = game.Start();
        game.Copy(edit.Slot);
        game.Save();

        EXPECT_EQ(game.Boxes(), std::vector<std::string>{});
        const Bytes file = game.Folder.ReadFile(ShipFile(0));
        EXPECT_EQ(file, expected.File);
        const std::int32_t size = expected.Offsets.GunMountSizes.back();
        EXPECT_EQ(file.size(), game.Ships[0].File.size() + size);
        game.ExpectSectionDescribes(0, expected);
        EXPECT_EQ(form.ListBox1.Items().size(), plan.GunMounts.size() + (plan.Turrets ? plan.Turrets->Guns.size() : 0));
    }
}

TEST(GunSlotTest, DeleteThenSaveGivesTheShipWithTheMountRemoved) {
    for (const SlotEdit& edit : kDeletions) {
        SCOPED_TRACE(std::string(edit.Ship) + " slot " + std::to_string(edit.Slot));
        Game game;
        ShipPlan plan = DemoPlan(edit.Ship);
        game.AddShip(plan);
        plan.GunMounts.erase(plan.GunMounts.begin() + edit.Slot);
        const BuiltShip expected = BuildShip(plan);

        game.Start();
        game.Delete(edit.Slot);
        game.Save();

        EXPECT_EQ(game.Boxes(), std::vector<std::string>{});
        EXPECT_EQ(game.Folder.ReadFile(ShipFile(0)), expected.File);
        game.ExpectSectionDescribes(0, expected);
    }
}

TEST(GunSlotTest, SavingWithoutChangesKeepsEveryShipByteForByte) {
    Game game;
    for (const testkit::DemoShip& ship : testkit::DemoShips()) game.AddShip(ship.Plan);
    TForm1& form = game.Start();
    for (int ship = 0; ship < static_cast<int>(game.Ships.size()); ++ship) {
        SCOPED_TRACE(FileOf(ship));
        UserInput::Choose(form.ComboBox6, ship);
        game.Save();
        EXPECT_EQ(game.Folder.ReadFile(ShipFile(ship)), game.Ships[ship].File);
        game.ExpectSectionDescribes(ship, game.Ships[ship]);
    }
    EXPECT_EQ(game.Boxes(), std::vector<std::string>{});
}

TEST(GunSlotTest, SavingTwiceWritesTheSameFileAndShiftsThePositionsOnce) {
    Game game;
    ShipPlan plan = DemoPlan("Kestrel");
    game.AddShip(plan);
    plan.GunMounts.push_back(plan.GunMounts[0]);
    game.Start();
    game.Copy(0);
    game.Save();
    const std::string catalogue = game.Catalogue();
    game.Save();
    EXPECT_EQ(game.Folder.ReadFile(ShipFile(0)), BuildShip(plan).File);
    EXPECT_EQ(game.Catalogue(), catalogue);
}

// The pad byte after odd data belongs to the record and travels with it, whatever it holds.
TEST(GunSlotTest, ARecordWithOddDataIsCopiedWithItsPadByte) {
    Game game;
    ShipPlan plan;
    plan.GunMounts = {{1, 0, "gun_nose"}, {2, 0, "gun_tail"}};  // 8 + 8 + 1 bytes of data
    game.AddShip(plan);
    Bytes file = game.Ships[0].File;
    const std::size_t pad = game.Ships[0].Offsets.GunsBase + game.Ships[0].Offsets.GunMountPos[0] + 17;
    file[pad] = 0xEE;
    game.Folder.WriteFile(ShipFile(0), file);

    TForm1& form = game.Start();
    EXPECT_EQ(form.GunSlotSizes[0], 26);
    game.Copy(0);
    game.Save();
    plan.GunMounts.push_back(plan.GunMounts[0]);
    Bytes expected = BuildShip(plan).File;
    expected[pad] = 0xEE;
    expected[expected.size() - 1] = 0xEE;  // the copy is the form's and the file's last record
    EXPECT_EQ(game.Folder.ReadFile(ShipFile(0)), expected);
}

// ---- The list -------------------------------------------------------------------------------------------------------

TEST(GunSlotTest, TheListShowsTheSlotNamesAndTheSelectionFollowsCopyAndDelete) {
    Game game;
    ShipPlan plan;
    plan.GunMounts = testkit::NumberedGunMounts(7);
    game.AddShip(plan);
    TForm1& form = game.Start();
    EXPECT_EQ(form.ListBox3.Items().front(), "gun_1");
    EXPECT_EQ(form.ListBox3.ItemIndex(), 0);

    game.Copy(6);
    EXPECT_EQ(form.ListBox3.Items().back(), "gun_7");
    EXPECT_EQ(form.ListBox3.Items().size(), 8u);
    EXPECT_EQ(form.ListBox3.ItemIndex(), -1);

    struct Row {
        int Deleted;
        int Selected;
    };
    for (const Row row : {Row{5, 4}, Row{1, 0}, Row{0, 0}}) {
        SCOPED_TRACE(row.Deleted);
        const std::string next = form.ListBox3.Items()[row.Deleted + 1];
        game.Delete(row.Deleted);
        EXPECT_EQ(form.ListBox3.Items()[row.Deleted], next);
        EXPECT_EQ(form.ListBox3.ItemIndex(), row.Selected);
    }
    EXPECT_EQ(form.ListBox3.Items(), (std::vector<std::string>{"gun_3", "gun_4", "gun_5", "gun_7", "gun_7"}));
}

TEST(GunSlotTest, CopyAndDeleteWithoutASelectionChangeNothing) {
    Game game;
    game.AddShip(DemoPlan("Kestrel"));
    TForm1& form = game.Start();
    game.Copy(0);
    const std::vector<std::string> listed = form.ListBox3.Items();
    UserInput::Click(form.Button13);
    UserInput::Click(form.Button12);
    EXPECT_EQ(game.Boxes(), (std::vector<std::string>{"Range check error.", "Range check error."}));
    EXPECT_EQ(form.ListBox3.Items(), listed);
    EXPECT_EQ(form.GunSlotCount, 4);
}

TEST(GunSlotTest, TheLastGunCannotBeRemoved) {
    Game game;
    game.AddShip(ShipPlan{});
    TForm1& form = game.Start();
    game.Delete(0);
    EXPECT_EQ(game.Boxes(), std::vector<std::string>{"Last gun cannot be removed"});
    EXPECT_EQ(form.GunSlotCount, 1);
}

// The ship loader takes at most 16 gun mounts: a 17th would leave a ship that can never be loaded again.
TEST(GunSlotTest, CopyRefusesASeventeenthGun) {
    Game game;
    ShipPlan plan;
    plan.GunMounts = testkit::NumberedGunMounts(15);
    game.AddShip(plan);
    TForm1& form = game.Start();
    game.Copy(0);
    game.Copy(0);
    EXPECT_EQ(game.Boxes(), std::vector<std::string>{"A ship cannot have more than 16 guns"});
    EXPECT_EQ(form.GunSlotCount, 16);
    EXPECT_EQ(form.ListBox3.Items().size(), 16u);
}

// The table holds 32 slots, more than any ship that loads; a file with more is refused.
TEST(GunSlotTest, TheTableHoldsThirtyTwoSlotsButSavesNoMoreThanSixteen) {
    Game game;
    game.AddShip(ShipPlan{});
    TForm1& form = game.Start();
    ShipPlan crowded;
    crowded.GunMounts = testkit::NumberedGunMounts(32);
    game.Folder.WriteFile(ShipFile(0), BuildShip(crowded).File);  // the guns stay where they were
    form.LoadGunSlots();
    ASSERT_EQ(form.ListBox3.Items().size(), 32u);

    game.Delete(31);
    EXPECT_EQ(form.GunSlotCount, 31);
    EXPECT_EQ(form.ListBox3.ItemIndex(), 30);
    game.Save();
    EXPECT_EQ(game.Boxes(), std::vector<std::string>{"A ship cannot have more than 16 guns"});
    EXPECT_EQ(game.Folder.ReadFile(ShipFile(0)), BuildShip(crowded).File);

    crowded.GunMounts = testkit::NumberedGunMounts(33);
    game.Folder.WriteFile(ShipFile(0), BuildShip(crowded).File);
    EXPECT_THROW(form.LoadGunSlots(), ERangeError);
    EXPECT_EQ(form.GunSlotCount, 32);
}

// A slot's size is kept in 8 bits: data of 246 bytes (254 with the header) is the most a slot can hold.
TEST(GunSlotTest, ARecordWithMoreThan246BytesOfDataCannotBeRead) {
    for (const int length : {245, 246, 247, 255}) {
        SCOPED_TRACE(length);
        Game game;
        ShipPlan plan;
        plan.GunMounts = {{0, 0, "gun_left"}, {0, 0, std::string(length - 9, 'n')}, {0, 0, "gun_right"}};
        game.AddShip(plan);
        TForm1& form = game.Start();
        if (length <= 246) {
            EXPECT_EQ(game.Boxes(), std::vector<std::string>{});
            EXPECT_EQ(form.GunSlotSizes[1], length + 8 + length % 2);
            game.Copy(1);
            game.Save();
            plan.GunMounts.push_back(plan.GunMounts[1]);
            EXPECT_EQ(game.Folder.ReadFile(ShipFile(0)), BuildShip(plan).File);
        } else {
            EXPECT_EQ(game.Boxes(), std::vector<std::string>{"Range check error."});
            EXPECT_EQ(form.ListBox3.Items(), std::vector<std::string>{"gun_left"});
            game.Save();  // a table that holds only part of the ship is never written back
            EXPECT_EQ(game.Folder.ReadFile(ShipFile(0)), game.Ships[0].File);
        }
    }
}

// A ship that cannot be loaded leaves nothing to save: neither the last ship's slots nor an empty table may be
// written into its file.
TEST(GunSlotTest, AShipThatCannotBeLoadedIsNotSaved) {
    Game game;
    game.AddShip(DemoPlan("Kestrel"));
    ShipPlan crowded;
    crowded.GunMounts = testkit::NumberedGunMounts(17);
    game.AddShip(crowded);
    TForm1& form = game.Start();
    UserInput::Choose(form.ComboBox6, 1);
    game.Save();
    EXPECT_EQ(game.Boxes(), std::vector<std::string>{"Range check error."});
    EXPECT_TRUE(form.ListBox3.Items().empty());
    EXPECT_EQ(game.Folder.ReadFile(ShipFile(1)), game.Ships[1].File);
    EXPECT_EQ(game.Folder.ReadFile(ShipFile(0)), game.Ships[0].File);
}

// ---- Opening the tab ---------------------------------------------------------------------------------------------

TEST(GunSlotTest, OpeningTheTabLoadsTheShipOfTheShipsTabAfreshFromItsFile) {
    Game game;
    game.AddShip(DemoPlan("Kestrel"));
    game.AddShip(DemoPlan("Warden"));
    TForm1& form = game.Start();
    UserInput::ShowPage(form.PageControl1, 0);
    UserInput::Choose(form.ComboBox1, 1);
    UserInput::Type(form.Edit29, "1");
    UserInput::ShowPage(form.PageControl1, kGunSlotPage);
    EXPECT_EQ(form.ComboBox6.ItemIndex(), 1);
    EXPECT_EQ(form.ListBox3.Items(), (std::vector<std::string>{"gun_left", "gun_right", "gun_chin"}));
    EXPECT_EQ(form.Edit29.Text(), "21500");

    game.Copy(0);
    UserInput::ShowPage(form.PageControl1, 0);
    UserInput::ShowPage(form.PageControl1, kGunSlotPage);
    EXPECT_EQ(form.ListBox3.Items().size(), 3u);

    UserInput::Choose(form.ComboBox6, 0);
    EXPECT_EQ(form.ComboBox1.ItemIndex(), 0);
    EXPECT_EQ(form.Edit29.Text(), "9800");
    EXPECT_EQ(form.ListBox3.Items().front(), "gun_wing_left");
}

// ---- A save that fails -------------------------------------------------------------------------------------------

void MakeWritable(const std::string& path) {
    std::filesystem::permissions(path, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
}

// Catalogue keys the save would change or remove, so that putting them back can be seen.
void AddStaleGunKeys(testkit::GameFolder& folder) {
    folder.SetCatalogueKey(FileOf(0), "Gun9", "400");
    folder.SetCatalogueKey(FileOf(0), "gun12", "500");
}

TEST(GunSlotTest, KeysOfSlotsTheShipNoLongerHasAreRemoved) {
    Game game;
    game.AddShip(DemoPlan("Kestrel"));
    AddStaleGunKeys(game.Folder);
    game.Start();
    game.Save();
    EXPECT_EQ(game.Section(0).count("Gun9"), 0u);
    EXPECT_EQ(game.Section(0).count("gun12"), 0u);
    game.ExpectSectionDescribes(0, game.Ships[0]);
}

// Whatever stops a save, the ship file and the catalogue's positions stay in step, and trying again once the
// cause is gone saves the ship exactly once.
TEST(GunSlotTest, AFailedSaveChangesNothingAndCanBeRepeated) {
    struct Case {
        const char* Name;
        void (*Break)(testkit::GameFolder&);
        void (*Mend)(testkit::GameFolder&);
        std::string Box;
    };
    const Case cases[] = {
        {"ship file read-only", [](testkit::GameFolder& f) { f.MakeReadOnly(ShipFile(0)); },
         [](testkit::GameFolder& f) { MakeWritable(f.PathOf(ShipFile(0))); }, "File access denied."},
        {"catalogue read-only", [](testkit::GameFolder& f) { f.MakeReadOnly(f.CatalogueName()); },
         [](testkit::GameFolder& f) { MakeWritable(f.PathOf(f.CatalogueName())); }, "Unable to write to "},
        // The ship file is replaced through a sibling that is renamed over it; a folder in its way makes the
        // replacement fail after the catalogue has been written.
        {"ship file not replaceable",
         [](testkit::GameFolder& f) { std::filesystem::create_directory(f.PathOf(ShipFile(0)) + ".part~"); },
         [](testkit::GameFolder& f) { std::filesystem::remove(f.PathOf(ShipFile(0)) + ".part~"); },
         "File access denied."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Game game;
        ShipPlan plan = DemoPlan("Kestrel");
        game.AddShip(plan);
        AddStaleGunKeys(game.Folder);
        plan.GunMounts.erase(plan.GunMounts.begin());
        const auto section = game.Section(0);

        game.Start();
        game.Delete(0);
        c.Break(game.Folder);
        game.Save();
        ASSERT_EQ(game.Boxes().size(), 1u);
        EXPECT_EQ(game.Boxes()[0].rfind(c.Box, 0), 0u) << game.Boxes()[0];
        EXPECT_EQ(game.Folder.ReadFile(ShipFile(0)), game.Ships[0].File);
        EXPECT_EQ(game.Section(0), section);

        c.Mend(game.Folder);
        game.Save();
        EXPECT_EQ(game.Folder.ReadFile(ShipFile(0)), BuildShip(plan).File);
        game.ExpectSectionDescribes(0, BuildShip(plan));
    }
}

// A length that would leave 0..65535 stops the save before anything is written.
TEST(GunSlotTest, ALengthOutOfRangeStopsTheSaveBeforeAnythingIsWritten) {
    struct Case {
        const char* Name;
        bool Copy;
        bool EngineParent;  // else the file's own length
        std::uint8_t High;
        std::uint8_t Low;
    };
    for (const Case c : {Case{"file length overflows", true, false, 0xFF, 0xF0},
                         Case{"engine's parent length overflows", true, true, 0xFF, 0xFF},
                         Case{"file length underflows", false, false, 0x00, 0x04},
                         Case{"engine's parent length underflows", false, true, 0x00, 0x10}}) {
        SCOPED_TRACE(c.Name);
        Game game;
        game.AddShip(DemoPlan("Kestrel"));
        Bytes file = game.Ships[0].File;
        const std::size_t word = c.EngineParent ? game.Ships[0].Offsets.EngnBase - 6 : 6;
        file[word] = c.High;
        file[word + 1] = c.Low;
        game.Folder.WriteFile(ShipFile(0), file);
        const std::string catalogue = game.Catalogue();

        game.Start();
        c.Copy ? game.Copy(0) : game.Delete(0);
        game.Save();
        EXPECT_EQ(game.Boxes(), std::vector<std::string>{"Range check error."});
        EXPECT_EQ(game.Folder.ReadFile(ShipFile(0)), file);
        EXPECT_EQ(game.Catalogue(), catalogue);
        EXPECT_FALSE(game.Folder.Exists("Ships\\tempfgtr.if~"));
    }
}

// ---- The whole road on the demo installation ------------------------------------------------------------------------

// A player adds a gun mount, saves, gives it a gun on the Ships tab and saves there: the ship then has the new
// mount in both tabs, after its other mounts and before its turret.
TEST(GunSlotTest, ANewMountGetsItsGunOnTheShipsTab) {
    testkit::GameFolder folder;
    testkit::WriteDemoInstallation(folder);
    HeadlessPlatform platform(folder.Folder());
    platform.Answers = {true};  // install the archive patch when asked
    Application app(platform);
    ASSERT_EQ(app.Start(), std::nullopt);
    platform.Boxes.clear();
    TForm1& form = app.Form1();
    const testkit::DemoShip warden = testkit::DemoShips()[1];
    constexpr std::uint8_t kGun = 7;

    UserInput::Choose(form.ComboBox1, 1);
    UserInput::ShowPage(form.PageControl1, kGunSlotPage);
    UserInput::Select(form.ListBox3, 2);
    UserInput::Click(form.Button13);
    UserInput::Click(form.Button14);
    UserInput::ShowPage(form.PageControl1, 0);
    UserInput::Select(form.ListBox1, 3);
    UserInput::Choose(form.ComboBox2, kGun);
    UserInput::Click(form.Button3);
    UserInput::Click(form.Button2);
    UserInput::ShowPage(form.PageControl1, kGunSlotPage);

    ShipPlan plan = warden.Plan;
    plan.GunMounts.push_back({kGun, 0, plan.GunMounts[2].Name});
    EXPECT_EQ(folder.ReadFile("Ships\\" + warden.File), BuildShip(plan).File);
    EXPECT_EQ(form.ListBox3.Items(), (std::vector<std::string>{"gun_left", "gun_right", "gun_chin", "gun_chin"}));
    ASSERT_EQ(form.ListBox1.Items().size(), 5u);
    EXPECT_EQ(form.ListBox1.Items()[3], form.ComboBox2.Items()[kGun]);
    EXPECT_EQ(form.ListBox1.Items()[4].rfind("Turret: ", 0), 0u);
    for (const auto& box : platform.Boxes) ADD_FAILURE() << box.text;
}

}  // namespace
}  // namespace tovarin
