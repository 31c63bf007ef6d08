#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "ships/ship_session.h"
#include "testkit/fault_walk.h"

// The gun slot table and the ship switcher, each of which rewrites whole ship files.
namespace tovarin::testkit {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;
using Section = std::map<std::string, std::string>;

constexpr int kGunSlotPage = 1;
// demo ships
constexpr std::size_t kKestrel = 0, kWarden = 1, kHalberd = 2, kCorsair = 3, kLancet = 4, kBastion = 5, kXKestrel = 8,
                      kDelta = 9, kEcho = 10;

enum Button { kCopy, kDelete };
using Clicks = std::vector<std::pair<Button, int>>;  // each selects a slot (-1: none), then presses the button

ShipPlan Demo(std::size_t ship) { return DemoShips()[ship].Plan; }
ShipPlan PlanWithGuns(int count) {
    return With({}, [=](ShipPlan& plan) { plan.GunMounts = NumberedGunMounts(count); });
}
// Three mounts, the middle one with `length` bytes of data.
ShipPlan PlanWithLongSlot(int length) {
    return With({}, [=](ShipPlan& plan) { plan.GunMounts = {{}, {0, 0, std::string(length - 9, 'n')}, {}}; });
}
ShipPlan Copied(ShipPlan plan, int slot) {
    plan.GunMounts.push_back(plan.GunMounts[slot]);
    return plan;
}

// The catalogue section that describes a ship: its slot count, each slot's data offset from GunsBase, and the
// stored positions of its missile, decoy, shield and armour data (0 where it lacks the part).
Section SectionOf(const ShipPlan& plan) {
    const ShipOffsets at = BuildShip(plan).Offsets;
    Section keys{{"Guns", std::to_string(at.GunMountPos.size())},
                 {"misspowr", std::to_string(at.MissBase)},
                 {"bdecy", std::to_string(at.DecyBase)},
                 {"nfshpowr", std::to_string(at.ShieldBase)},
                 {"armrdata", std::to_string(at.ArmrBase)}};
    for (std::size_t i = 0; i < at.GunMountPos.size(); ++i)
        keys["Gun" + std::to_string(i + 1)] = std::to_string(at.GunMountPos[i]);
    return keys;
}

// Writes the ship as test.iff into the game folder with a catalogue section that describes it, plus the offsets of
// two slots it no longer has.
void WriteShip(const fs::path& path, const ShipPlan& plan) {
    GameFolder folder(path, Edition::Base);
    AddDemoWeapons(folder);
    folder.AddShip("Test", "test.iff", BuildShip(plan).File);
    Section keys = SectionOf(plan);
    keys.insert({{"Gun19", "400"}, {"gun20", "500"}});
    folder.SetCatalogueSection({"test.iff", {keys.begin(), keys.end()}});
}

struct ShipFolder : TempGameFolder {
    explicit ShipFolder(const ShipPlan& plan) { WriteShip(Root(), plan); }
};

// The ship written, the program open on the "Add/Remove Guns" tab with it.
struct Game : ShipFolder, ProgramRun {
    explicit Game(const ShipPlan& plan) : ShipFolder(plan), ProgramRun(static_cast<const TempGameFolder&>(*this)) {
        EXPECT_FALSE(Exit.has_value());
        UserInput::ShowPage(Form().PageControl1, kGunSlotPage);
    }
    void Click(const Clicks& clicks) {
        for (const auto& [button, slot] : clicks) {
            UserInput::Select(Form().ListBox3, slot);
            UserInput::Click(button == kCopy ? Form().Button13 : Form().Button12);
        }
    }
    void Save() { UserInput::Click(Form().Button14); }
    // Without the game folder, which differs from run to run.
    [[nodiscard]] Texts Boxes() const {
        Texts texts = Shown();
        for (std::string& text : texts)
            for (std::size_t at; (at = text.find(Folder())) != std::string::npos;) text.erase(at, Folder().size());
        return texts;
    }
    [[nodiscard]] Bytes File() const { return ReadFile(kShipFile); }
    [[nodiscard]] Section SectionNow() const {
        const TIniFile catalogue(PathOf(CatalogueName()));
        std::vector<std::string> names;
        catalogue.ReadSection("test.iff", names);
        Section keys;
        for (const std::string& name : names) keys[name] = catalogue.ReadString("test.iff", name, "");
        return keys;
    }
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

// A save that fails before it changes a file: the failing file and the outcome of each are named.
Scenario Failing(const std::string& failing, const std::string& error, std::function<void(Game&)> breakSave) {
    const std::string box = (failing.empty() ? "" : failing + ": ") + error + ". Nothing was changed: " + kShipFile +
                            " and vskinfo.dat are as they were.";
    return Deleting(Demo(kKestrel), 0, 0, {failing == "-" ? error + "." : box}, std::move(breakSave));
}

// Corsair's second mount and the long slot have odd data; Lancet has no missile form; Warden and Bastion have
// turrets behind their guns. The ship loader takes at most 16 gun mounts, so Copy refuses a 17th. A folder in
// the way of the new ship file makes its replacement fail; a length out of 0..65535 stops the save before anything
// is written.
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
        Failing("-", std::string(kShipFile) + ": File access denied",  // refused at its reading
                [](Game& g) { g.MakeReadOnly(kShipFile); }),
        Failing("vskinfo.dat", "File access denied", [](Game& g) { g.MakeReadOnly(g.CatalogueName()); }),
        Failing("-", "Range check error", [](Game& g) {
            Bytes file = g.File();
            file[6] = 0x00;  // the low half of the file's length: 4
            file[7] = 0x04;
            g.WriteFile(kShipFile, file);
        })};
    // clang-format on
    for (std::size_t ship = 0; ship < 8; ++ship) rows.push_back({"unchanged", Demo(ship), {}, Demo(ship), 0});
    return rows;
}

// The saved file is the ship built with the edited mounts: everything behind them moved, the lengths around them
// changed. Its catalogue section describes it, and saving again changes nothing more. A save that fails changes
// neither the ship file nor the catalogue, and trying again once the cause is gone saves the ship exactly once.
TEST(GunSlotTest, SavingGivesTheShipBuiltWithTheEditedMounts) {
    const std::vector<Scenario> rows = Scenarios();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const Scenario& s = rows[row];
        SCOPED_TRACE(std::to_string(row) + ": " + s.Name);
        Game game(s.Plan);
        const Section before = game.SectionNow();
        game.Click(s.Edit);
        EXPECT_EQ(game.Form().ListBox3.ItemIndex(), s.Selected);
        if (s.Break) {
            const Bytes loaded = game.File();
            s.Break(game);
            const Bytes broken = game.File();
            if (broken != loaded) game.Form().ReloadKeepingEdits(Editor::GunSlots);  // the window has read it so
            game.Save();
            EXPECT_EQ(game.File(), broken);
            EXPECT_EQ(game.SectionNow(), before);
            for (const std::string& file : {std::string(kShipFile), game.CatalogueName()})
                fs::permissions(game.PathOf(file), fs::perms::owner_all);
            game.WriteFile(kShipFile, BuildShip(s.Plan).File);
            if (broken != loaded) game.Form().ReloadKeepingEdits(Editor::GunSlots);
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
        EXPECT_FALSE(game.Exists(kTempFile));
    }
}

// A gun record whose name runs over the marker bytes of a part behind the guns is what the loader takes for that
// part (the armour's only on a ship without shields, whose armour search starts behind the guns). The catalogue's
// stored position of the part, written as the loader found it, follows the part the loader finds after the save,
// wherever the edited records moved it.
TEST(GunSlotTest, APartsMarkerInAGunRecordKeepsTheCataloguePositionWhereTheLoaderFindsIt) {
    const std::string decoys("DECY\0\0\0\x04", 8);
    const struct {
        const char* name;
        std::string marker;
        std::size_t holder;  // the record whose name holds the marker
        Clicks edit;
    } rows[] = {{"decoys in the first record, copied", decoys, 0, {{kCopy, 0}}},
                {"decoys in the second record, copied", decoys, 1, {{kCopy, 1}}},
                {"decoys in the second record, the first deleted", decoys, 1, {{kDelete, 0}}},
                {"armour in the first record, copied", "ARMRDATA", 0, {{kCopy, 0}}},
                {"armour in the second record, the first copied", "ARMRDATA", 1, {{kCopy, 0}}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ShipPlan plan = Demo(kKestrel);
        plan.Shields.reset();
        plan.GunMounts[row.holder].Name = "gun_" + row.marker + std::string(24, '\0');  // zero values behind it
        Game game(plan);
        ASSERT_TRUE(game.Boxes().empty()) << game.Boxes()[0];
        const ShipState& loaded = game.Form().Ship;
        const TIniFile catalogue(game.PathOf(game.CatalogueName()));
        catalogue.WriteString("test.iff", "bdecy", std::to_string(loaded.DecyBase));
        catalogue.WriteString("test.iff", "armrdata", std::to_string(loaded.ArmrBase));
        game.Form().LoadGunSlots();  // the table as read from the catalogue with those positions
        game.Click(row.edit);
        game.Save();
        ASSERT_TRUE(game.Boxes().empty()) << game.Boxes()[0];

        ProgramRun again(static_cast<const TempGameFolder&>(game));
        const Section saved = game.SectionNow();
        EXPECT_EQ(saved.at("bdecy"), std::to_string(again.Form().Ship.DecyBase));
        EXPECT_EQ(saved.at("armrdata"), std::to_string(again.Form().Ship.ArmrBase));
    }
}

// Slots are kept with 8-bit sizes in a table of 32, and the ship loader takes at most 16 gun mounts (the larger
// ships are read into the table alone). A ship whose slots cannot all be read, or not saved so that the game can
// load them, is never saved: neither with the slots read so far nor with the last ship's. The slots of a ship
// whose last record runs past its GUNS form cannot be edited; and a file that would no longer load is not
// saved: here the PHYS marker overlaps the file's length, which a copy changes. Nor is one whose slots would not
// read back: a name without its NUL runs on into the next record, but copied behind the last one, where the file
// ends, past the end of the file.
TEST(GunSlotTest, AShipThatCannotBeHandledWholeIsNotSaved) {
    const BuiltShip three = BuildShip(PlanWithGuns(3));
    Bytes pastTheForm = three.File;
    pastTheForm[three.Offsets.GunsBase + 7] -= 4;  // the low half of the GUNS form's length (a big-endian word)
    Bytes overlapping = BuildShip(ShipPlan{}).File;
    overlapping.erase(overlapping.begin() + 2, overlapping.begin() + 12);
    const BuiltShip two = BuildShip(PlanWithGuns(2));  // nothing follows the GUNS form
    Bytes unterminated = two.File;
    const auto name = unterminated.begin() + two.Offsets.GunsBase + two.Offsets.GunMountPos[0];
    std::fill(name + 8, name - 8 + two.Offsets.GunMountSizes[0], 'x');
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
        {"17 guns",     BuildShip(PlanWithGuns(17)).File,      false, 0,  "Range check error."},
        {"32 guns",     BuildShip(PlanWithGuns(32)).File,      true,  32, "A ship cannot have more than 16 guns"},
        {"33 guns",     BuildShip(PlanWithGuns(33)).File,      true,  32, "Range check error."},
        {"past the form", pastTheForm, false, 0,
         "The gun slots of this ship cannot be edited: its last gun record runs past the end of the GUNS form."},
        {"no longer loading", overlapping, false, 2, "The gun slots of " + std::string(kShipFile) + " cannot "
         "be saved: the new ship file would not load again (I/O error 131). The ship file was not changed.",
         {{kCopy, 0}}},
        {"name past the file", unterminated, false, 3, "The gun slots of " + std::string(kShipFile) + " cannot "
         "be saved: the new ship file would not give its gun slots back (Read beyond end of file). The ship file was "
         "not changed.", {{kCopy, 0}}}};
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        Game game(ShipPlan{});
        TForm1& form = game.Form();
        game.WriteFile(kShipFile, row.File);  // the guns stay where the loaded ship has them
        row.SlotsOnly ? form.Dispatch([&] { form.LoadGunSlots(); }) : UserInput::Choose(form.ComboBox6, 0);
        game.Click(row.Edit);
        game.Save();
        EXPECT_EQ(form.ListBox3.Items().size(), row.Listed);
        EXPECT_EQ(game.Boxes(), Texts{row.Box});
        EXPECT_EQ(game.File(), row.File);
    }
}

const std::string kError = "(an error)";
const std::string kAlreadySwapped = "Can't swap ships that are already swapped.";

// The demo ships, then three with odd switch entries: "XKestrel" is Kestrel's name behind one more letter,
// Delta's entry is empty and Echo's differs from its name only in letter case. Kestrel is on the Ships tab.
// Each step chooses a ship in each list and presses Swap. A swap that cannot go through leaves every file and list
// as it was: a pair that is not both halves of one exchange is refused, and a swap fails whose files cannot all be
// written (a file made read-only, or a folder in the way of a new file), also after the first copies. A swap that
// moves the data of the ship on the Ships tab loads it again from where its data now lies, so a later save cannot
// write it over its partner.
TEST(SwitcherTest, SwapsFromEitherSideRefusesTheRestAndEditsASwappedShipInItsPartnersFile) {
    ShipGame demo;
    TempGameFolder& folder = demo.Game;
    for (const char* name : {"XKestrel", "Delta", "Echo"}) folder.AddShip(name, name, BuildShip({}).File);
    folder.SetSwitchEntry("Delta", "");
    folder.SetSwitchEntry("Echo", "echo");
    Texts fileNames;
    std::vector<Bytes> files;
    for (const auto& [name, file] : std::ranges::find(folder.Catalogue, "ships", &IniSection::Name)->Keys) {
        fileNames.push_back(file);
        files.push_back(folder.ReadFile("Ships\\" + file));
    }
    ProgramRun run(folder);
    ASSERT_EQ(run.Exit, std::nullopt);
    TForm1& form = run.Form();
    const struct {
        std::size_t Left, Right;
        std::optional<std::string> Message = std::nullopt;  // none when the swap goes through
        std::string Blocked = "";
    } steps[] = {
        // clang-format off
        {kKestrel, kWarden}, {kKestrel, kWarden}, {kHalberd, kKestrel}, {kKestrel, kHalberd}, {kWarden, kKestrel},
        {kHalberd, kHalberd, "Please do not select the same ship in both lists"},
        {kKestrel, kHalberd, kAlreadySwapped}, {kHalberd, kWarden, kAlreadySwapped},
        {kKestrel, kXKestrel, kAlreadySwapped}, {kHalberd, kDelta, kAlreadySwapped}, {kEcho, kHalberd, kAlreadySwapped},
        {kHalberd, kCorsair, kError, "corsair.iff"}, {kHalberd, kCorsair, kError, "switch.dat"},
        // clang-format on
    };
    const Texts names = form.ListBox4.Items();
    std::vector<std::size_t> holds(names.size());  // whose data each file holds
    std::iota(holds.begin(), holds.end(), 0);
    for (const auto& step : steps) {
        SCOPED_TRACE(names[step.Left] + " with " + names[step.Right] + ", blocked: " + step.Blocked);
        const std::string path = folder.PathOf("Ships\\" + step.Blocked);
        if (!step.Blocked.empty()) folder.MakeReadOnly("Ships\\" + step.Blocked);
        run.Platform.Boxes.clear();
        UserInput::Select(form.ListBox4, static_cast<int>(step.Left));
        UserInput::Select(form.ListBox5, static_cast<int>(step.Right));
        UserInput::Click(form.Button10);
        if (!step.Blocked.empty()) fs::permissions(path, fs::perms::owner_all);

        if (!step.Message) std::swap(holds[step.Left], holds[step.Right]);
        Texts boxes;
        for (const auto& box : run.Platform.Boxes)
            boxes.push_back(box.kind == HeadlessPlatform::Box::Kind::Error ? kError : box.text);
        EXPECT_EQ(boxes, step.Message ? Texts{*step.Message} : Texts{});
        Texts rows;
        for (std::size_t i = 0; i < holds.size(); ++i) {
            EXPECT_EQ(folder.ReadFile("Ships\\" + fileNames[i]), files[holds[i]]) << fileNames[i];
            rows.push_back(holds[i] == i ? names[i] : names[i] + " = " + names[holds[i]]);
        }
        EXPECT_EQ(form.ListBox4.Items(), rows);  // the right list is given the same items
        EXPECT_EQ(form.ListBox4.ItemIndex(), static_cast<int>(step.Left));
        EXPECT_EQ(form.ListBox5.ItemIndex(), static_cast<int>(step.Right));
        EXPECT_EQ(form.Ship.ShipFile, fileNames[std::ranges::find(holds, kKestrel) - holds.begin()]);
        EXPECT_FALSE(folder.Exists(kTempFile));
    }

    // Warden, swapped with Kestrel by the fifth step, is edited in Kestrel's file.
    UserInput::Choose(form.ComboBox1, kWarden);
    UserInput::Type(form.Edit29, "12345");
    UserInput::Click(form.Button2);
    const ShipPlan warden = With(DemoShips()[kWarden].Plan, [](ShipPlan& plan) { plan.Mass = 12345; });
    EXPECT_EQ(folder.ReadFile("Ships\\kestrel.iff"), BuildShip(warden).File);
    EXPECT_EQ(folder.ReadFile("Ships\\warden.iff"), files[kKestrel]) << "Kestrel's data stays as it was";
}

// When the catalogue cannot be replaced and the ship file cannot be put back either, the message says which file is
// which; neither changes until the next start has put the ship file back, and saving then saves.
TEST(GunSlotTest, ASaveThatCannotBePutBackSaysWhichFileIsWhichAndTheNextStartMendsIt) {
    Game game(Demo(kKestrel));
    const Bytes before = game.File();
    const Section section = game.SectionNow();
    game.Click({{kCopy, 0}});
    bool failing = false;  // from the catalogue's replacement on, every call fails
    SetFileFaultHook([&](FileCall call, const std::string& path) -> std::optional<InjectedFault> {
        failing = failing || (call == FileCall::Rename && path == game.PathOf(game.CatalogueName()));
        return failing ? std::optional<InjectedFault>({ENOSPC, false}) : std::nullopt;
    });
    game.Save();
    SetFileFaultHook({});
    EXPECT_EQ(game.Boxes(),
              Texts{"vskinfo.dat: Disk full. vskinfo.dat is as it was; " + std::string(kShipFile) +
                    " (Disk full) could not be put back as it was. Tovarin puts it back at its next start (of the "
                    "window or of any tovarin-cli command), and until then changes none of the files of the gun slot "
                    "save of test.iff."});
    game.Save();
    EXPECT_EQ(game.SectionNow(), section);
    EXPECT_TRUE(
        game.Boxes().back().ends_with("Close Tovarin and start it again (or run any tovarin-cli command) to "
                                      "put it back."));
    // The command line puts it back as the window would, says so on standard error, and goes on.
    const Ran putBack = Cli(game.Folder(), {"backup", "status"});
    EXPECT_EQ(putBack.Exit, 0);
    EXPECT_FALSE(putBack.Out.empty());
    EXPECT_EQ(putBack.Err,
              "the gun slot save of test.iff did not finish when Tovarin last ran, so its "
              "files were put back: Ships\\test.iff and vskinfo.dat are as they were.\n");
    EXPECT_EQ(game.File(), before);
    ProgramRun next(static_cast<const TempGameFolder&>(game));
    EXPECT_TRUE(next.Shown().empty());
    UserInput::ShowPage(next.Form().PageControl1, kGunSlotPage);
    UserInput::Select(next.Form().ListBox3, 0);
    UserInput::Click(next.Form().Button13);
    UserInput::Click(next.Form().Button14);
    EXPECT_EQ(game.File(), BuildShip(Copied(Demo(kKestrel), 0)).File);
    EXPECT_EQ(game.SectionNow(), SectionOf(Copied(Demo(kKestrel), 0)));
}

// A gun slot save after a copy and after a delete, a swap either way round and the swap back, whose file calls fail
// one after the other: every file stays as it was or as the action leaves it, the failure is shown, and doing it
// again does it.
TEST(ToolFaults, AFailureAtAnyCallLeavesEveryFileWholeAndTheRecordRight) {
    const auto slots = [](const fs::path& path) { WriteShip(path, PlanWithGuns(3)); };
    const auto slotEdit = [](TButton TForm1::*button) {
        return [=](TForm1& f, HeadlessPlatform&) {
            UserInput::ShowPage(f.PageControl1, kGunSlotPage);
            UserInput::Select(f.ListBox3, 1);
            UserInput::Click(f.*button);
        };
    };
    const auto save = [](TForm1& f, HeadlessPlatform&) {
        try {
            UserInput::Click(f.Button14);
        } catch (const ProgramEnded&) {
            // The reload after the save takes a catalogue it cannot read for a missing ship file, says so and ends
            // the program; the files are saved by then.
        }
    };
    // Kestrel, Warden and Halberd; Warden's and Halberd's files exchanged and paired for the swap back.
    const auto ships = [](bool swapped) {
        return [=](const fs::path& path) {
            GameFolder game(path, Edition::Base);
            AddDemoWeapons(game);
            const std::vector<DemoShip> demo = DemoShips();
            for (std::size_t ship : {kKestrel, kWarden, kHalberd}) {
                const std::size_t data = !swapped || ship == kKestrel ? ship : kWarden + kHalberd - ship;
                game.AddShip(demo[ship].Name, demo[ship].File, BuildShip(demo[data].Plan).File);
                game.SetSwitchEntry(demo[ship].Name, demo[data].Name);
            }
        };
    };
    const auto choose = [](int left, int right) {
        return [=](TForm1& f, HeadlessPlatform&) {
            UserInput::Select(f.ListBox4, left);
            UserInput::Select(f.ListBox5, right);
        };
    };
    const auto swap = [](TForm1& f, HeadlessPlatform&) { UserInput::Click(f.Button10); };
    for (const FaultWalk& walk : {FaultWalk{"slots after a copy", slots, slotEdit(&TForm1::Button13), save},
                                  {"slots after a delete", slots, slotEdit(&TForm1::Button12), save},
                                  {"swap", ships(false), choose(1, 2), swap},
                                  {"swap from the right", ships(false), choose(2, 1), swap},
                                  {"swap back", ships(true), choose(1, 2), swap}})
        EXPECT_GT(WalkFaults(walk), 0);
}

// When the second ship file cannot be replaced and nothing can be put back, the message says which file is as it
// was and which is not; the next start of the window puts them back before any tab shows them, says so, and leaves
// no file of the swap's own behind.
TEST(SwitcherFaults, ASwapThatCannotBePutBackIsMendedByTheNextStart) {
    ShipGame demo;
    TempGameFolder& game = demo.Game;
    const FolderFiles before = ReadFolder(game.Root());
    {
        ProgramRun run(game);
        UserInput::Select(run.Form().ListBox4, kWarden);
        UserInput::Select(run.Form().ListBox5, kHalberd);
        bool failing = false;  // from the rename over Halberd's file on, every call fails
        SetFileFaultHook([&](FileCall call, const std::string& path) -> std::optional<InjectedFault> {
            failing = failing || (call == FileCall::Rename && path == game.PathOf("Ships\\halberd.iff"));
            return failing ? std::optional<InjectedFault>({ENOSPC, false}) : std::nullopt;
        });
        UserInput::Click(run.Form().Button10);
        SetFileFaultHook({});
        EXPECT_EQ(
            run.Shown(),
            Texts{"Ships\\halberd.iff: Disk full. Ships\\halberd.iff and Ships\\switch.dat are as they were; "
                  "Ships\\warden.iff (Disk full) could not be put back as it was. Tovarin puts it back at its next "
                  "start (of the window or of any tovarin-cli command), and until then changes none of the files "
                  "of the swap of Warden and Halberd."});
    }
    ProgramRun run(game);
    FolderFiles after = ReadFolder(game.Root());
    std::erase_if(after, [](const auto& file) { return file.first.starts_with("Tovarin Backup/"); });
    EXPECT_EQ(after, before);
    EXPECT_EQ(run.Shown(), Texts{"the swap of Warden and Halberd did not finish when Tovarin last ran, so its "
                                 "files were put back: Ships\\warden.iff, Ships\\halberd.iff and "
                                 "Ships\\switch.dat are as they were."});
}

}  // namespace
}  // namespace tovarin::testkit
