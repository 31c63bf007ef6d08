#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <ranges>
#include <string>
#include <vector>

#include "app/application.h"
#include "demo/demo_installation.h"
#include "demo/demo_ships.h"
#include "demo/ship_builder.h"
#include "testkit/fault_walk.h"
#include "testkit/temp_game_folder.h"
#include "ui/user_input.h"

namespace tovarin {
namespace {

using demo::BuildShip;
using demo::Bytes;
using demo::ShipPlan;
using Texts = std::vector<std::string>;
using Section = std::map<std::string, std::string>;

constexpr int kGunSlotPage = 1;
constexpr int kKestrel = 0, kWarden = 1, kCorsair = 3, kLancet = 4, kBastion = 5;  // demo ships
const std::string kShipFile = "Ships\\ship1.iff";
const std::string kSibling = kShipFile + ".part~";  // the new ship file, renamed over the old one

enum Button { kCopy, kDelete };
using Clicks = std::vector<std::pair<Button, int>>;  // each selects a slot (-1: none), then presses the button

ShipPlan Demo(int ship) { return demo::DemoShips()[ship].Plan; }

ShipPlan PlanWith(std::vector<demo::ShipGunMount> mounts) {
    ShipPlan plan;
    plan.GunMounts = std::move(mounts);
    return plan;
}

ShipPlan PlanWithGuns(int count) { return PlanWith(demo::NumberedGunMounts(count)); }

// Three mounts, the middle one with `length` bytes of data.
ShipPlan PlanWithLongSlot(int length) { return PlanWith({{}, {0, 0, std::string(length - 9, 'n')}, {}}); }

ShipPlan Copied(ShipPlan plan, int slot) {
    plan.GunMounts.push_back(plan.GunMounts[slot]);
    return plan;
}

// The catalogue section that describes a ship: its slot count, each slot's data offset from GunsBase, and the
// stored positions of its missile, decoy, shield and armour data (0 where it lacks the part).
Section SectionOf(const ShipPlan& plan) {
    const demo::ShipOffsets at = BuildShip(plan).Offsets;
    Section keys{{"Guns", std::to_string(at.GunMountPos.size())},
                 {"misspowr", std::to_string(at.MissBase)},
                 {"bdecy", std::to_string(at.DecyBase)},
                 {"nfshpowr", std::to_string(at.ShieldBase)},
                 {"armrdata", std::to_string(at.ArmrBase)}};
    for (std::size_t i = 0; i < at.GunMountPos.size(); ++i)
        keys["Gun" + std::to_string(i + 1)] = std::to_string(at.GunMountPos[i]);
    return keys;
}

// Writes ships ship1.iff, ... into the folder with catalogue sections that describe them, plus the offsets of two
// slots they no longer have.
void WriteShips(demo::GameFolder& folder, const std::vector<ShipPlan>& plans) {
    demo::AddDemoWeapons(folder);
    for (std::size_t ship = 0; ship < plans.size(); ++ship) {
        const std::string file = "ship" + std::to_string(ship + 1) + ".iff";
        folder.AddShip("Ship " + std::to_string(ship + 1), file, BuildShip(plans[ship]).File);
        Section keys = SectionOf(plans[ship]);
        keys.insert({{"Gun19", "400"}, {"gun20", "500"}});
        folder.SetCatalogueSection({file, {keys.begin(), keys.end()}});
    }
}

// The ships written, the program open on the "Add/Remove Guns" tab with the first.
struct Game {
    explicit Game(const std::vector<ShipPlan>& plans) {
        WriteShips(Folder, plans);
        EXPECT_FALSE(App.Start().has_value());
        UserInput::ShowPage(Form().PageControl1, kGunSlotPage);
    }
    TForm1& Form() { return App.Form1(); }
    void Click(const Clicks& clicks) {
        for (const auto& [button, slot] : clicks) {
            UserInput::Select(Form().ListBox3, slot);
            UserInput::Click(button == kCopy ? Form().Button13 : Form().Button12);
        }
    }
    void Save() { UserInput::Click(Form().Button14); }
    // Without the game folder, which differs from run to run.
    [[nodiscard]] Texts Boxes() const {
        Texts texts;
        for (std::string text : Platform.Boxes | std::views::transform(&HeadlessPlatform::Box::text)) {
            for (std::size_t at; (at = text.find(Folder.Folder())) != std::string::npos;)
                text.erase(at, Folder.Folder().size());
            texts.push_back(text);
        }
        return texts;
    }
    [[nodiscard]] Bytes File(int ship = 1) const {
        return Folder.ReadFile("Ships\\ship" + std::to_string(ship) + ".iff");
    }
    [[nodiscard]] Section SectionNow() const {
        const TIniFile catalogue(Folder.PathOf(Folder.CatalogueName()));
        std::vector<std::string> names;
        catalogue.ReadSection("ship1.iff", names);
        Section keys;
        for (const std::string& name : names) keys[name] = catalogue.ReadString("ship1.iff", name, "");
        return keys;
    }

    testkit::TempGameFolder Folder;
    HeadlessPlatform Platform{Folder.Folder()};
    Application App{Platform};
};

struct Scenario {
    std::string Name;
    ShipPlan Plan;
    Clicks Edit;
    ShipPlan Saved;  // the ship the saved file must be
    int Selected;    // in the list after the edit; after a copy none, so that a second copy needs a new choice
    Texts Boxes = {};
    std::function<void(Game&)> Break = {};  // makes the first save fail
};

Scenario Copying(const ShipPlan& plan, int slot) { return {"copy", plan, {{kCopy, slot}}, Copied(plan, slot), -1}; }

Scenario Deleting(const ShipPlan& plan, int slot, int selected, Texts boxes = {},
                  std::function<void(Game&)> breakSave = {}) {
    Scenario s{"delete", plan, {{kDelete, slot}}, plan, selected, std::move(boxes), std::move(breakSave)};
    s.Saved.GunMounts.erase(s.Saved.GunMounts.begin() + slot);
    return s;
}

Scenario Failing(const std::string& box, std::function<void(Game&)> breakSave) {
    return Deleting(Demo(kKestrel), 0, 0, {box}, std::move(breakSave));
}

// Corsair's second mount and the long slot have odd data; Lancet has no missile form; Warden and Bastion have
// turrets behind their guns. The ship loader takes at most 16 gun mounts, so Copy refuses a 17th. A folder in
// the way of the new ship file makes its replacement fail after the catalogue was written; a length out of
// 0..65535 stops the save before anything is written.
std::vector<Scenario> Scenarios() {
    // clang-format off
    std::vector<Scenario> rows{
        Copying(Demo(kKestrel), 2), Copying(Demo(kCorsair), 1), Copying(Demo(kLancet), 0), Copying(Demo(kBastion), 9),
        Copying(PlanWithLongSlot(246), 1), Deleting(Demo(kCorsair), 1, 0), Deleting(Demo(kLancet), 1, 0),
        Deleting(Demo(kWarden), 2, 1), Deleting(Demo(kBastion), 4, 3),
        {"last gun", ShipPlan{}, {{kDelete, 0}}, ShipPlan{}, 0, {"Last gun cannot be removed"}},
        {"no selection", Demo(kKestrel), {{kCopy, 0}, {kCopy, -1}, {kDelete, -1}}, Copied(Demo(kKestrel), 0), -1,
         Texts(2, "Range check error.")},
        {"17th gun", PlanWithGuns(15), {{kCopy, 0}, {kCopy, 0}}, Copied(PlanWithGuns(15), 0), 0,
         {"A ship cannot have more than 16 guns"}},
        Failing("File access denied.", [](Game& g) { g.Folder.MakeReadOnly(kShipFile); }),
        Failing("Unable to write to vskinfo.dat.", [](Game& g) { g.Folder.MakeReadOnly(g.Folder.CatalogueName()); }),
        Failing("File access denied.", [](Game& g) { std::filesystem::create_directory(g.Folder.PathOf(kSibling)); }),
        Failing("Range check error.", [](Game& g) {
            Bytes file = g.File();
            file[6] = 0x00;  // the low half of the file's length: 4
            file[7] = 0x04;
            g.Folder.WriteFile(kShipFile, file);
        })};
    // clang-format on
    for (int ship = 0; ship < 8; ++ship) rows.push_back({"unchanged", Demo(ship), {}, Demo(ship), 0});
    return rows;
}

// The saved file is the ship built with the edited mounts: everything behind them moved, the lengths around them
// changed. Its catalogue section describes it, and saving again changes nothing more. A save that fails changes
// neither the ship file nor the catalogue, and trying again once the cause is gone saves the ship exactly once.
TEST(GunSlotTest, SavingGivesTheShipBuiltWithTheEditedMounts) {
    namespace fs = std::filesystem;
    const std::vector<Scenario> rows = Scenarios();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const Scenario& s = rows[row];
        SCOPED_TRACE(std::to_string(row) + ": " + s.Name);
        Game game({s.Plan});
        const Section before = game.SectionNow();
        const Bytes loaded = game.File();
        game.Click(s.Edit);
        EXPECT_EQ(game.Form().ListBox3.ItemIndex(), s.Selected);
        if (s.Break) {
            s.Break(game);
            const Bytes broken = game.File();
            game.Save();
            EXPECT_EQ(game.File(), broken);
            EXPECT_EQ(game.SectionNow(), before);
            for (const std::string& file : {kShipFile, game.Folder.CatalogueName()}) {
                fs::permissions(game.Folder.PathOf(file), fs::perms::owner_write, fs::perm_options::add);
            }
            fs::remove(game.Folder.PathOf(kSibling));
            game.Folder.WriteFile(kShipFile, loaded);
        }
        for (int save = 1; save <= 2; ++save) {
            game.Save();
            EXPECT_EQ(game.File(), BuildShip(s.Saved).File) << "save " << save;
            EXPECT_EQ(game.SectionNow(), SectionOf(s.Saved)) << "save " << save;
        }
        // The Ships tab shows the saved file: saving it there changes nothing.
        UserInput::ShowPage(game.Form().PageControl1, 0);
        UserInput::Click(game.Form().Button2);
        EXPECT_EQ(game.File(), BuildShip(s.Saved).File) << "saved on the Ships tab";
        EXPECT_EQ(game.Boxes(), s.Boxes);
        EXPECT_FALSE(game.Folder.Exists("Ships\\tempfgtr.if~"));
    }
}

// Slots are kept with 8-bit sizes in a table of 32, and the ship loader takes at most 16 gun mounts (the larger
// ships are read into the table alone). A ship whose slots cannot all be read, or not saved so that the game can
// load them, is never saved: neither with the slots read so far nor with the last ship's. The slots of a ship
// whose last record runs past its GUNS form cannot be edited; and a file that would no longer load is not
// saved: here the PHYS marker overlaps the file's length, which a copy changes.
TEST(GunSlotTest, AShipThatCannotBeHandledWholeIsNotSaved) {
    const demo::BuiltShip three = BuildShip(PlanWithGuns(3));
    Bytes pastTheForm = three.File;
    pastTheForm[three.Offsets.GunsBase + 7] -= 4;  // the low half of the GUNS form's length (a big-endian word)
    Bytes overlapping = BuildShip(ShipPlan{}).File;
    overlapping.erase(overlapping.begin() + 2, overlapping.begin() + 12);
    struct Row {
        const char* Name;
        Bytes File;
        bool SlotsOnly;
        std::size_t Listed;
        std::string Box;
        Clicks Edit = {};
    };
    // clang-format off
    const Row rows[] = {
        {"slot of 247", BuildShip(PlanWithLongSlot(247)).File, false, 1,  "Range check error."},
        {"slot of 255", BuildShip(PlanWithLongSlot(255)).File, false, 1,  "Range check error."},
        {"17 guns",     BuildShip(PlanWithGuns(17)).File,      false, 0,  "Range check error."},
        {"32 guns",     BuildShip(PlanWithGuns(32)).File,      true,  32, "A ship cannot have more than 16 guns"},
        {"33 guns",     BuildShip(PlanWithGuns(33)).File,      true,  32, "Range check error."},
        {"past the form", pastTheForm, false, 0,
         "The gun slots of this ship cannot be edited: its last gun record runs past the end of the GUNS form."},
        {"no longer loading", overlapping, false, 2, "The gun slots cannot be saved: the new ship file would not load "
         "again (I/O error 131). The ship file was not changed.", {{kCopy, 0}}}};
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        Game game({ShipPlan{}});
        TForm1& form = game.Form();
        game.Folder.WriteFile(kShipFile, row.File);  // the guns stay where the loaded ship has them
        row.SlotsOnly ? form.Dispatch([&] { form.LoadGunSlots(); }) : UserInput::Choose(form.ComboBox6, 0);
        game.Click(row.Edit);
        game.Save();
        EXPECT_EQ(form.ListBox3.Items().size(), row.Listed);
        EXPECT_EQ(game.Boxes(), Texts{row.Box});
        EXPECT_EQ(game.File(), row.File);
    }
}

#ifndef _WIN32  // faults are injected into the POSIX file layer only
// When the catalogue cannot be written and the ship file cannot be put back either, the message says which file is
// behind; saving again brings the catalogue in step.
TEST(GunSlotTest, ASaveThatLeavesTheCatalogueBehindSaysSoAndTheNextSaveCatchesUp) {
    Game game({Demo(kKestrel)});
    game.Click({{kCopy, 0}});
    bool failing = false;  // from the catalogue's replacement on, every call fails
    SetFileFaultHook([&](FileCall, const std::string& path) -> std::optional<InjectedFault> {
        failing = failing || path.ends_with("vskinfo.dat.part~");
        return failing ? std::optional<InjectedFault>({ENOSPC, false}) : std::nullopt;
    });
    game.Save();
    SetFileFaultHook({});
    const ShipPlan saved = Copied(Demo(kKestrel), 0);
    EXPECT_EQ(game.File(), BuildShip(saved).File);
    ASSERT_EQ(game.Boxes().size(), 1u);
    EXPECT_TRUE(
        game.Boxes()[0].ends_with("Ships/ship1.iff has the new gun slots, but its section in vskinfo.dat does "
                                  "not describe them yet: press Save Modifications again before choosing "
                                  "another ship."))
        << game.Boxes()[0];
    game.Save();
    EXPECT_EQ(game.File(), BuildShip(saved).File);
    EXPECT_EQ(game.SectionNow(), SectionOf(saved));
}

// A save after a copy and after a delete, whose file calls fail one after the other: the ship file and its
// catalogue section each stay as they were or as the save leaves them, the failure is shown, and saving again
// saves.
TEST(GunSlotTest, AFailureAtAnyCallOfASaveLeavesShipAndCatalogueWhole) {
    for (const Button button : {kCopy, kDelete}) {
        const auto edit = [button](TForm1& form, HeadlessPlatform&) {
            UserInput::ShowPage(form.PageControl1, kGunSlotPage);
            UserInput::Select(form.ListBox3, 1);
            UserInput::Click(button == kCopy ? form.Button13 : form.Button12);
        };
        const auto save = [](TForm1& form, HeadlessPlatform&) {
            try {
                UserInput::Click(form.Button14);
            } catch (const ProgramEnded&) {
                // The reload after the save takes a catalogue it cannot read for a missing ship file, says so and
                // ends the program; the files are saved by then.
            }
        };
        const auto prepare = [](const std::filesystem::path& path) {
            demo::GameFolder folder(path, demo::Edition::Base);
            WriteShips(folder, {PlanWithGuns(3)});
        };
        EXPECT_GT(testkit::WalkFaults({button == kCopy ? "after a copy" : "after a delete", prepare, edit, save}), 0);
    }
}
#endif

}  // namespace
}  // namespace tovarin
