#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "gamefiles/file_faults.h"
#include "gamefiles/numbers.h"
#include "ships/ship_session.h"
#include "testkit/fault_walk.h"
#include "testkit/temp_game_folder.h"

namespace tovarin::testkit {

using namespace demo;  // the demo's builders of ship files, weapon tables and game folders
namespace {

// Types a new value into every box and the booster dialog, and puts new weapons on both kinds of mount and a
// turret of FullShip, some with amounts that are refused; the expected plan follows. Among the values are the
// largest whose float can still be shown again (the booster's speed too) and the first integer a float cannot hold.
void EditEverything(ProgramRun& run, ShipPlan& expected) {
    TForm1& f = run.Form();
    const std::map<std::string, std::int32_t> limits{
        {"Edit15", 2147483583}, {"Edit1", -2147483583}, {"Edit29", 16777217}};
    std::int32_t next = 5001;
    for (auto [box, stored] : FloatBoxes(expected)) {
        const std::int32_t value = limits.contains(box) ? limits.at(box) : next++;
        UserInput::Type(Box(f, box), IntToStr(value));
        *stored = static_cast<float>(value);
    }
    UserInput::Type(f.Edit14, "77");
    expected.Decoys = 77;
    // A bad amount keeps the new weapon (stored first) with the old amount, and the entry's old text.
    ChangeMount(f, false, 0, 6, "65536");
    ChangeMount(f, true, 1, 3, "-1");
    EXPECT_EQ(run.Shown(), std::vector<std::string>(2, "Range check error."));
    run.Platform.Boxes.clear();
    EXPECT_EQ(f.ListBox2.Items()[1], Missile(4) + " * 2");
    expected.GunMounts[0].Gun = 6;
    expected.Missiles->Mounts[1].Missile = 3;
    ChangeMount(f, false, 1, 11, "65535");
    expected.GunMounts[1] = {11, 65535, expected.GunMounts[1].Name};
    ChangeMount(f, false, 4, 7, "1");  // a turret takes no ammunition; the amount box keeps what it showed
    expected.Turrets->Guns[1] = 7;
    ChangeMount(f, true, 0, 3, "9");
    expected.Missiles->Mounts[0] = {3, 9, 0};
    EXPECT_EQ(f.ListBox1.Items(), (std::vector<std::string>{Gun(11) + " * 300", Gun(11) + " * 65535", Gun(3),
                                                            "Turret: " + Gun(4), "Turret: " + Gun(7)}));
    EXPECT_EQ(f.Focused(), &f.ListBox2);
    UserInput::Select(f.ListBox1, 0);
    EXPECT_EQ(f.ComboBox2.ItemIndex(), 6);
    EXPECT_EQ(f.Edit28.Text(), "300");
    if (!expected.Booster) return;
    const auto typed = [](std::size_t index) -> std::int32_t {
        return index == 10 ? 2147483583 : static_cast<std::int32_t>(6001 + index);
    };
    run.Platform.InsideBoosterDialog = [&](TForm3& d) {
        // The dialog shows the booster as loaded (a new one with its defaults), the standard speed in grey, and
        // copies the booster acceleration as it is typed.
        EXPECT_EQ(d.Label11.Caption(), f.Edit2.Text());
        const auto fields = BoosterFields(d);
        for (auto [field, index] : fields) {
            EXPECT_EQ(field->Text(), std::to_string(std::lrint(expected.Booster->Values[index]))) << index;
            UserInput::Type(*field, std::to_string(typed(index)));
        }
        EXPECT_EQ(d.Label9.Caption(), d.Edit3.Text());
        // Fields are stored one by one, Edit1 first: a bad one keeps those before it, and the dialog stays open.
        UserInput::Type(d.Edit5, "-1");
        UserInput::Click(d.Button1);
        EXPECT_FALSE(d.Closed());
        EXPECT_EQ(run.Shown(), std::vector<std::string>{"Range check error."});
        run.Platform.Boxes.clear();
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const std::size_t index = fields[i].second;
            EXPECT_EQ(f.Ship.BoosterValues[index], i < 4 ? typed(index) : std::lrint(expected.Booster->Values[index]));
        }
        UserInput::Type(d.Edit5, std::to_string(typed(6)));
        UserInput::Click(d.Button1);
    };
    UserInput::Click(f.Button11);
    EXPECT_TRUE(run.App.Form3().Closed());
    for (std::size_t i = 0; i < 12; ++i) expected.Booster->Values[i] = static_cast<float>(typed(i));
}

// Every combination of autoslide and booster before and after, with every value changed: the file must be the
// same ship built the new way, and the reload must find every value where the save put it.
TEST(ShipSave, SwitchingAutoslideAndTheBoosterRebuildsTheFileWithEveryValueAtItsPlace) {
    for (int from = 0; from < 4; ++from) {
        for (int to = 0; to < 4; ++to) {
            const bool fromSlide = (from & 1) != 0, fromBooster = (from & 2) != 0;
            const bool toSlide = (to & 1) != 0, toBooster = (to & 2) != 0;
            SCOPED_TRACE(::testing::Message() << "from " << from << " to " << to << " (1: autoslide, 2: booster)");
            ShipPlan plan = FullShip();
            plan.Slide = fromSlide;
            if (fromBooster) plan.Booster = ShipBooster{{380, 900, 45, 35, 95, 24, 60, 50, 110, 100, 2800, 22}};
            ShipGame game(plan);
            ProgramRun run(game.Game);
            TForm1& f = run.Form();
            ShipPlan expected = plan;
            expected.Slide = toSlide;
            if (toBooster != fromBooster) expected.Booster = toBooster ? std::optional(ShipBooster{}) : std::nullopt;
            if (toSlide != fromSlide) UserInput::Toggle(f.CheckBox1);
            if (toBooster != fromBooster) UserInput::Toggle(f.CheckBox2);
            EditEverything(run, expected);

            EXPECT_EQ(f.Button11.Enabled(), toBooster);
            UserInput::Click(f.Button2);
            EXPECT_TRUE(run.Shown().empty());
            EXPECT_TRUE(SameBytes(game.ShipBytes(), BuildShip(expected).File));
            EXPECT_FALSE(game.Game.Exists(kTempFile)) << "no temporary ship file is left behind";
            UserInput::Click(f.Button2);  // the reload must find autoslide, booster and every value where they are
            EXPECT_TRUE(SameBytes(game.ShipBytes(), BuildShip(expected).File)) << "saved again";
        }
    }
}

// ---- Saves that must stop before any file changes ----------------------------------------------------------------

void PutWordBE(Bytes& bytes, std::int32_t position, std::uint16_t value) {
    bytes.at(static_cast<std::size_t>(position)) = static_cast<std::uint8_t>(value >> 8);
    bytes.at(static_cast<std::size_t>(position) + 1) = static_cast<std::uint8_t>(value);
}

// Inserts a chunk and grows the length words of the forms around it.
Bytes WithChunkInserted(const BuiltShip& ship, std::int32_t at, const Bytes& chunk, std::vector<std::int32_t> words) {
    Bytes file = ship.File;
    file.insert(file.begin() + at, chunk.begin(), chunk.end());
    for (std::int32_t word : words) {
        PutWordBE(file, word,
                  static_cast<std::uint16_t>(WordBEAt(file, static_cast<std::size_t>(word)) + chunk.size()));
    }
    return file;
}

// What a first save gives after switching autoslide and the booster on for FullShip.
ShipPlan FirstSave() {
    return With(FullShip(), [](ShipPlan& s) {
        s.Slide = true;
        s.Booster = ShipBooster{};
    });
}

// Types into a box of the Ships tab, or ("Booster") into the booster dialog's speed.
void Enter(ProgramRun& run, const std::string& box, const std::string& text) {
    if (box != "Booster") return UserInput::Type(Box(run.Form(), box), text);
    run.Platform.InsideBoosterDialog = [text](TForm3& d) {
        UserInput::Type(d.Edit1, text);
        UserInput::Click(d.Button1);
    };
    UserInput::Click(run.Form().Button11);
}

struct StoppedSave {
    Bytes File;
    bool SwitchSlide, SwitchBooster;
    std::string Message;
    // Typed before the save (see Enter), and the text as loaded; none when the file itself stops every save.
    std::string Box = "", Text = "", Loaded = "";
    Bytes Replaced = {};  // what another program puts in the ship file's place after the load
};

std::vector<StoppedSave> StoppedSaves() {
    const BuiltShip full = BuildShip(FullShip());
    const BuiltShip boosted = BuildShip(With(FullShip(), [](ShipPlan& s) { s.Booster = ShipBooster{}; }));
    const BuiltShip both = BuildShip(FirstSave());
    const BuiltShip slid = BuildShip(With(FullShip(), [](ShipPlan& s) { s.Slide = true; }));
    const ShipOffsets& at = boosted.Offsets;
    // The SLID chunk behind the hitpoints chunk, where cutting 12 bytes after PHYS would cut the hitpoints; and
    // another chunk between the booster chunk and the GUNS form, still inside the ENGN form.
    const Bytes slide =
        WithChunkInserted(full, full.Offsets.Hitpoints + 8, {'S', 'L', 'I', 'D', 0, 0, 0, 4, 1, 0, 0, 0}, {6});
    const Bytes booster = WithChunkInserted(boosted, at.GunsBase, {'X', 'T', 'R', 'A', 0, 0, 0, 0},
                                            {6, at.EngnContainer + 6, at.EngnBase + 6});
    // The length words of the file, of the form that holds the ENGN form, and of the ENGN form (before any slide).
    const std::int32_t file = 6, parent = full.Offsets.EngnContainer + 6, engine = full.Offsets.EngnBase + 6;
    const auto withWord = [](Bytes bytes, std::int32_t word, std::uint16_t value) {
        PutWordBE(bytes, word, value);
        return bytes;
    };
    const std::string notChanged = ". The ship file was not changed.";
    const std::string slideMessage =
        "Autoslide cannot be saved: the SLID chunk of this ship does not follow its PHYS chunk" + notChanged;
    const std::string boosterMessage =
        "The booster cannot be removed: the BOOS chunk of this ship does not stand right before its guns" + notChanged;
    // Chunks that overlap: the engine's marker stands where the hitpoints are, its own marker is gone, and the
    // engine's values are read from the bytes behind. The ship loads, but other hitpoints would overwrite the only
    // engine marker, and the saved file would no longer load.
    Bytes overlap = BuildShip(ShipPlan{}).File;
    const auto hitpoints = static_cast<std::size_t>(BuildShip(ShipPlan{}).Offsets.Hitpoints);
    std::ranges::copy(std::string("ENGNPOWR"), overlap.begin() + static_cast<std::ptrdiff_t>(hitpoints));
    for (std::size_t value = hitpoints + 24; value < hitpoints + 76; value += 4) PutFloat(overlap, value, 1);
    const std::string tooLarge = ". Please try a value less than 2147483584.";
    const std::string range = "Range check error.";
    // clang-format off
    return {
        {full.File, true, true, "'abc' is not a valid integer value.", "Edit29", "abc", "12500"},
        {full.File, true, true, "Out of range: Speed Max" + tooLarge, "Edit15", "2147483584", "560"},
        {full.File, true, true, "Out of range: Shield recharge rate max. Please try a value greater than -2147483584.",
         "Edit22", "-2147483584", "9"},
        {full.File, true, true, range, "Edit14", "256", "12"},
        {full.File, true, true, range, "Edit14", "-1", "12"},
        {full.File, true, true, "Out of range: Booster Speed (activated)" + tooLarge, "Booster", "2147483647", "3000"},
        {slide, false, false, slideMessage},
        {slide, true, false, slideMessage},
        {booster, false, true, boosterMessage},
        {withWord(full.File, file, 65500), false, true, range},
        {withWord(full.File, file, 65530), true, false, range},
        {withWord(slid.File, file, 65430), true, true, range},  // fits once the slide is gone, not before
        {withWord(full.File, parent, 65422), false, true, range},
        {withWord(full.File, engine, 65422), false, true, range},
        {withWord(both.File, file, 120), true, true, range},
        {withWord(boosted.File, engine, 113), false, true, range},
        {full.File, false, false, "The ship file no longer holds the mounts and parts that were loaded. Choose the "
         "ship again" + notChanged, "", "", "", BuildShip(ShipPlan{}).File},
        {overlap, false, false, "The ship cannot be saved: the saved file would not load again (I/O error 131)" +
         notChanged, "Edit27", "1000"},
    };
    // clang-format on
}

// A stopped save changes neither the ship file nor the temporary file, nor what the program believes about the
// file: saving again stops the same way; or, once the box is corrected, gives the file a first save would have.
TEST(ShipSave, AStoppedSaveChangesNoFileAndARetryGivesTheFirstSavesFile) {
    const Bytes oldTemp{1, 2, 3};
    const std::vector<StoppedSave> rows = StoppedSaves();
    for (const StoppedSave& row : rows) {
        SCOPED_TRACE(::testing::Message() << "row " << &row - rows.data() << ": " << row.Message);
        ShipGame game(ShipPlan{});
        game.Game.WriteFile(kShipFile, row.File);
        game.Game.WriteFile(kTempFile, oldTemp);
        ProgramRun run(game.Game);
        TForm1& f = run.Form();
        if (row.SwitchSlide) UserInput::Toggle(f.CheckBox1);
        if (row.SwitchBooster) UserInput::Toggle(f.CheckBox2);
        if (!row.Box.empty()) Enter(run, row.Box, row.Text);
        const Bytes file = row.Replaced.empty() ? row.File : row.Replaced;
        game.Game.WriteFile(kShipFile, file);
        for (int save = 0; save < (row.Box.empty() ? 2 : 1); ++save) {
            std::vector<std::string> shown{row.Message};
            if (row.Box.empty()) {
                UserInput::Click(f.Button2);
            } else {
                // Saved on closing the window, the box meets the save without its exit check; the window stays.
                run.Platform.SaveAnswers = {Platform::Answer::Yes};
                UserInput::Close(f);
                EXPECT_FALSE(f.Closed());
                shown.insert(shown.begin(), "Save changes to Test?");
            }
            EXPECT_EQ(run.Shown(), shown);
            EXPECT_TRUE(SameBytes(game.ShipBytes(), file));
            EXPECT_EQ(game.Game.ReadFile(kTempFile), oldTemp);
            run.Platform.Boxes.clear();
        }
        if (row.Loaded.empty()) continue;

        Enter(run, row.Box, row.Loaded);
        UserInput::Click(f.Button2);
        EXPECT_TRUE(run.Shown().empty());
        EXPECT_TRUE(SameBytes(game.ShipBytes(), BuildShip(FirstSave()).File));
    }
}

// Every save, the profile export too, with each call of the file layer failing in turn, once and from then on:
// every file is as before or as the save leaves it, an error is shown, and saving again saves. No temporary file
// is made, so none is left.
TEST(SaveFaults, EverySaveLeavesEachFileAsBeforeOrSavedAndARetrySaves) {
#ifdef _WIN32
    GTEST_SKIP() << "faults are injected into the POSIX file layer only";
#endif
    const auto game = [](bool switched) {  // with autoslide and booster or without; the profile an export replaces
        return [=](const std::filesystem::path& folder) {
            GameFolder installed(folder, Edition::Base);
            AddDemoWeapons(installed);
            installed.AddShip("Test", "test.iff", BuildShip(switched ? FirstSave() : FullShip()).File);
            installed.WriteText("Ships\\old.vks", "[Ship]\r\nold=1\r\n");
        };
    };
    // Both switches turned, so that a ship save inserts or drops their chunks; a value of each editor changed.
    const auto edit = [](TForm1& f, HeadlessPlatform&) {
        UserInput::Toggle(f.CheckBox1);
        UserInput::Toggle(f.CheckBox2);
        for (TEdit* box : {&f.Edit29, &f.Edit30, &f.Edit37}) UserInput::Type(*box, "4321");
    };
    const auto click = [](TButton TForm1::*button) {
        return [=](TForm1& f, HeadlessPlatform& platform) {
            platform.FileChoices.emplace_back(f.GameFile("Ships\\old.vks"));  // the export's file
            UserInput::Click(f.*button);
        };
    };
    const FaultWalk walks[] = {
        {"ship save, booster and autoslide added", game(false), edit, click(&TForm1::Button2)},
        {"ship save, booster and autoslide dropped", game(true), edit, click(&TForm1::Button2)},
        {"gun save", game(false), edit, click(&TForm1::Button7)},
        {"missile save", game(false), edit, click(&TForm1::Button8)},
        {"profile export", game(false), edit, click(&TForm1::Button6)},
    };
    for (const FaultWalk& walk : walks) EXPECT_GT(WalkFaults(walk), 0);
}

// A save that went through but could not be read back says so: the file holds the save.
TEST(SaveFaults, ASavedFileThatCannotBeReadBackIsReportedAsSaved) {
#ifdef _WIN32
    GTEST_SKIP() << "faults are injected into the POSIX file layer only";
#endif
    const std::pair<TButton TForm1::*, std::string> rows[] = {{&TForm1::Button2, "Ships\\test.iff"},
                                                              {&TForm1::Button7, "Game\\bullet.iff"}};
    for (const auto& [button, file] : rows) {
        SCOPED_TRACE(file);
        ShipGame game(FullShip());
        ProgramRun run(game.Game);
        const Bytes before = game.Game.ReadFile(file);
        // Every file opened once the save's new file took the old one's place is refused.
        bool replaced = false;
        SetFileFaultHook([&replaced](FileCall call, const std::string&) -> std::optional<InjectedFault> {
            replaced = replaced || call == FileCall::Rename;
            if (replaced && call == FileCall::Open) return InjectedFault{EACCES};
            return std::nullopt;
        });
        UserInput::Type(run.Form().Edit29, "4321");
        UserInput::Type(run.Form().Edit30, "4321");
        UserInput::Click(run.Form().*button);
        SetFileFaultHook({});
        EXPECT_EQ(run.Shown(), std::vector<std::string>{file + " was saved, but could not be read back: File access "
                                                               "denied."});
        EXPECT_NE(game.Game.ReadFile(file), before);
    }
}

}  // namespace
}  // namespace tovarin::testkit
