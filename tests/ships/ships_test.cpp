#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "gamefiles/numbers.h"
#include "ships/ship_chunks.h"
#include "ships/ship_layout.h"
#include "ships/ship_session.h"
#include "testkit/fault_walk.h"

// Loading a ship shows what its file holds; saving puts every value back where the reload finds it, or stops
// before any file changes.
namespace tovarin::testkit {
namespace {

// The file with these bytes put in at the position.
Bytes Patched(Bytes file, std::size_t at, const Bytes& bytes) {
    std::ranges::copy(bytes, file.begin() + static_cast<std::ptrdiff_t>(at));
    return file;
}

// FullShip with other values everywhere and a booster: shown before a ship under test, so that what that ship
// leaves alone can be told from what it sets.
ShipPlan OtherFullShip() {
    ShipPlan s = FullShip();
    for (auto [box, value] : FloatBoxes(s)) *value += 1000;
    s.Booster = ShipBooster{{310, 820, 41, 31, 91, 21, 61, 51, 121, 111, 2900, 17}};
    return s;
}

// The plan as a save writes it back: floats as the whole numbers shown (-0.5 as 0), the byte after each missile
// count cleared.
ShipPlan AsSaved(ShipPlan plan) {
    const auto whole = [](float value) { return static_cast<float>(std::lrint(value)); };
    for (auto [box, value] : FloatBoxes(plan)) *value = whole(*value);
    if (plan.Booster) std::ranges::transform(plan.Booster->Values, plan.Booster->Values.begin(), whole);
    if (plan.Missiles)
        for (ShipMissileMount& mount : plan.Missiles->Mounts) mount.LoadsHigh = 0;
    return plan;
}

// Each ship is shown after another, with a mount of each list chosen, so that every box holds values a ship may
// lack: the boxes of a part it lacks are hidden, and the weapon pickers show no choice of the ship before. Saved
// unchanged, its file keeps its bytes but for the floats that were not whole and the byte after each missile count.
TEST(LoadShip, EveryVariantShowsWhatItsFileHoldsAndSavesBackUnchanged) {
    // clang-format off
    const std::vector<std::pair<std::string, ShipPlan>> variants{
        {"minimal", ShipPlan{}},
        {"booster chunk in front of the engine", With({}, [](ShipPlan& s) { s.MisplacedBooster = true; })},
        {"missiles without a decoy chunk", With(FullShip(), [](ShipPlan& s) { s.Decoys.reset(); })},
        {"decoys without missiles", With(FullShip(), [](ShipPlan& s) { s.Missiles.reset(); })},
        {"ammunition, mount names of every length", With({}, [](ShipPlan& s) {
            s.GunMounts = {{0, 50, ""}, {11, 0, "a"}, {12, 0, "ab"}, {10, 65535, "abc"}, {11, 300, "abcd"}}; })},
        {"a longer missile info chunk, a count with a high byte", With({}, [](ShipPlan& s) {
            s.Missiles = ShipMissiles{{{0, 6}, {6, 255}, {2, 3, 1}}, 40}; s.Decoys = 3; })},
        {"floats that are not whole", With(FullShip(), [](ShipPlan& s) {
            s.Slide = true; s.Booster = ShipBooster{{350, 870, 40, 30, 90, 20, 65, 55, 120, 110, 3000, 18.5F}};
            s.Mass = 2.5F; s.Hitpoints = 3.5F; s.Engine.SpeedMax = -1.5F; s.Engine.SpeedMin = -0.5F;
            s.Engine.SpeedStd = 2.51F; s.GunPower.Energy = 16777216; s.Armour->Left = 114.25F; })},
    };
    // clang-format on
    for (const auto& [name, s] : variants) {
        SCOPED_TRACE(name);
        ShipGame game(OtherFullShip(), s);
        ProgramRun run(game.Game);
        TForm1& f = run.Form();
        UserInput::Select(f.ListBox1, 0);
        UserInput::Select(f.ListBox2, 0);
        UserInput::Choose(f.ComboBox1, 1);
        EXPECT_EQ((std::vector{f.ComboBox2.ItemIndex(), f.ComboBox3.ItemIndex()}), (std::vector{-1, -1}));

        ShipPlan shown = s;  // the hidden boxes of a part the ship lacks keep the previous ship's values
        if (!s.Armour) shown.Armour = OtherFullShip().Armour;
        if (!s.Shields) shown.Shields = OtherFullShip().Shields;
        ExpectBoxesShow(f, shown);
        const bool missiles = s.Missiles.has_value(), shields = s.Shields.has_value(), booster = s.Booster.has_value();
        const bool armour = s.Armour.has_value();
        EXPECT_EQ(
            (std::vector{f.GroupBox3.Visible(), f.GroupBox5.Visible(), f.Edit17.Visible(), f.Label16.Visible(),
                         f.Edit10.Visible(), f.Edit13.Visible(), f.CheckBox1.Checked(), f.CheckBox2.Checked(),
                         f.Button11.Enabled()}),
            (std::vector{missiles, missiles && s.Decoys, shields, shields, armour, armour, s.Slide, booster, booster}));

        // Saving finds the autoslide and booster as loaded, and every value where the file holds it.
        UserInput::Click(f.Button2);
        EXPECT_TRUE(run.Shown().empty()) << "neither the load nor the save shows a box";
        EXPECT_TRUE(SameBytes(game.Game.ReadFile(kSecondFile), BuildShip(AsSaved(s)).File));
    }
}

// Each failure stops the load where it happens: the controls keep what was set up to that point.
TEST(LoadShipFailure, ABadShipStopsTheLoadWithItsMessage) {
    const ShipPlan second = With({}, [](ShipPlan& s) { s.Mass = 4321; });
    const BuiltShip built = BuildShip(second);
    const auto bad = [&second](const std::function<void(ShipPlan&)>& change) {
        return BuildShip(With(second, change)).File;
    };
    const std::uint8_t pastGuns = 13;  // the demo catalogue has 13 guns and 7 missiles
    const std::vector<std::string> oneGun{Gun(0)};
    std::vector<std::string> turrets(17, "Turret: " + Gun(4));
    turrets.front() = Gun(0);  // the gun and the first 16 turrets
    const std::string io = std::string(kSecondFile) + ": I/O error 131.", index = "List index out of bounds.",
                      range = "Range check error.";
    // Each row: the file, the message, the gun and the missile list as the load leaves them.
    const std::tuple<Bytes, std::string, std::vector<std::string>, std::vector<std::string>> cases[] = {
        // clang-format off
        // A spoiled marker is no longer found (the search for each chunk fails alike).
        {Patched(built.File, built.Offsets.PhysPos, {'x'}), io, oneGun, {}},
        {bad([&](ShipPlan& s) { s.Turrets = ShipTurrets{{4, pastGuns}}; }), index, {Gun(0), "Turret: " + Gun(4)}, {}},
        {bad([](ShipPlan& s) { s.Missiles = ShipMissiles{{{0, 2}, {7, 2}}}; }), index, oneGun, {Missile(0) + " * 2"}},
        {bad([](ShipPlan& s) { s.GunMounts = NumberedGunMounts(17); }), range, oneGun, {}},
        {bad([](ShipPlan& s) { s.Turrets = ShipTurrets{std::vector<std::uint8_t>(17, 4)}; }), range, turrets, {}},
        {bad([](ShipPlan& s) { s.Missiles = ShipMissiles{std::vector<ShipMissileMount>(17)}; }), range, oneGun, {}},
        {bad([](ShipPlan& s) { s.Booster = ShipBooster{{-3}}; }), range, oneGun, {}},
        // clang-format on
    };
    for (int row = 0; const auto& [file, message, gunRows, missileRows] : cases) {
        SCOPED_TRACE(row++);
        ShipGame game(With({}, [](ShipPlan& s) { s.Mass = 1234; }), ShipPlan{});
        game.Game.WriteFile(kSecondFile, file);
        ProgramRun run(game.Game);
        TForm1& f = run.Form();
        UserInput::Choose(f.ComboBox1, 1);
        EXPECT_EQ(run.Shown(), std::vector<std::string>{message});
        EXPECT_EQ(f.Edit29.Text(), message == io ? "1234" : "4321") << "a marker search fails before any box is set";
        EXPECT_EQ(f.ListBox1.Items(), gunRows);
        EXPECT_EQ(f.ListBox2.Items(), missileRows);
    }
}

// A marker this close to the start lies in the file's header: its part counts as absent; one byte further on it
// is found. The files are made of markers only, each where the searches that must find it start early enough.
TEST(FindShipChunks, AMarkerInTheFileHeaderCountsAsAbsent) {
    namespace L = ShipLayout;
    // Each marker with the last offset that counts as absent and the base it sets.
    const std::tuple<Marker, std::int32_t, std::int32_t ShipChunks::*> cases[] = {
        {L::kDecoysMarker, 13, &ShipChunks::DecyBase},
        {L::kShieldsMarker, 19, &ShipChunks::ShieldBase},
        {L::kMissilesMarker, 20, &ShipChunks::MissBase}};  // the engine, guns and armour share its limit
    for (const auto& [bytes, last, base] : cases) {
        for (std::int32_t at : {last, last + 1}) {
            SCOPED_TRACE(std::string(bytes.begin(), bytes.begin() + 4) + " at " + std::to_string(at));
            Bytes file(120, 0xEE);
            for (const auto& [marker, where] : std::initializer_list<std::pair<Marker, std::int32_t>>{
                     {L::kPhysicsMarker, 0}, {bytes, at}, {L::kEngineMarker, at + 8}, {L::kGunsMarker, at + 16}})
                std::ranges::copy(marker, file.begin() + where);
            EXPECT_EQ(FindShipChunks(file).*base, at == last ? 0 : 13);
        }
    }
}

// ---- Saving --------------------------------------------------------------------------------------------------------

// Types a new value into every box and the booster dialog, and puts new weapons on both kinds of mount and a
// turret of FullShip, some with amounts that are refused; the expected plan follows. Among the values are the
// largest whose float shows them again as typed and the first integer past 2^24 a float holds.
void EditEverything(ProgramRun& run, ShipPlan& expected) {
    TForm1& f = run.Form();
    const std::map<std::string, std::int32_t> limits{
        {"Edit15", 2147483520}, {"Edit1", -2147483520}, {"Edit29", 16777218}};
    std::int32_t next = 5001;
    for (auto [box, stored] : FloatBoxes(expected)) {
        const std::int32_t value = limits.contains(box) ? limits.at(box) : next++;
        UserInput::Type(Box(f, box), IntToStr(value));
        *stored = static_cast<float>(value);
    }
    UserInput::Type(f.Edit14, "77");
    expected.Decoys = 77;
    // An amount the mount cannot hold is refused as the focus leaves its box, so "Change" changes nothing.
    ChangeMount(f, false, 0, 6, "65536");
    ChangeMount(f, true, 1, 3, "-1");
    EXPECT_EQ(run.Shown(), (std::vector<std::string>{"Ammunition of gun mount 1: 65536 is more than 65535.",
                                                     "Missiles of missile mount 2: -1 is less than 0."}));
    run.Platform.Boxes.clear();
    EXPECT_EQ(f.ListBox2.Items()[1], Missile(4) + " * 2");
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
    EXPECT_EQ(f.ComboBox2.ItemIndex(), 11);
    EXPECT_EQ(f.Edit28.Text(), "300");
    if (!expected.Booster) return;
    const auto typed = [](std::size_t index) { return index == 10 ? 2147483520 : std::int32_t(6001 + index); };
    const auto loaded = [&](std::size_t index) { return std::lrint(expected.Booster->Values[index]); };
    TForm3& d = run.App.Form3();
    const std::vector<std::pair<TEdit*, std::size_t>> fields{
        // each with the booster value it shows
        {&d.Edit1, 10}, {&d.Edit2, 0}, {&d.Edit3, 1}, {&d.Edit4, 7},  {&d.Edit5, 6},  {&d.Edit6, 8},
        {&d.Edit7, 3},  {&d.Edit8, 2}, {&d.Edit9, 4}, {&d.Edit10, 9}, {&d.Edit11, 5}, {&d.Edit12, 11}};
    // Esc, "Cancel" and the close box leave the values as they were before the dialog opened, also those an OK
    // stopped by a bad field had stored; Enter in a box presses OK, which stores them and closes the dialog.
    const std::function<void()> leave[] = {[&] { UserInput::PressEscape(d); }, [&] { UserInput::Click(d.Button2); },
                                           [&] { UserInput::Close(d); }, [&] { UserInput::PressEnter(d); }};
    for (const auto& way : leave) {
        run.Platform.InsideBoosterDialog = [&](TForm3&) {
            // The dialog shows the booster as loaded (a new one with its defaults), the standard speed in grey, and
            // copies the booster acceleration as it is typed.
            EXPECT_EQ(d.Label11.Caption(), f.Edit2.Text());
            for (auto [field, index] : fields) {
                EXPECT_EQ(field->Text(), std::to_string(loaded(index))) << index;
                UserInput::Type(*field, std::to_string(typed(index)));
            }
            EXPECT_EQ(d.Label9.Caption(), d.Edit3.Text());
            // Fields are stored one by one, Edit1 first: a bad one keeps those before it, and the dialog stays open.
            UserInput::Type(d.Edit5, "-1");
            UserInput::Click(d.Button1);
            EXPECT_FALSE(d.Closed());
            EXPECT_EQ(run.Shown(), std::vector<std::string>{"Booster P (deactivated): -1 is less than 0."});
            run.Platform.Boxes.clear();
            for (std::size_t i = 0; auto [field, index] : fields)
                EXPECT_EQ(f.Ship.BoosterValues[index], i++ < 4 ? typed(index) : loaded(index));
            UserInput::Type(d.Edit5, std::to_string(typed(6)));
            way();
        };
        UserInput::Click(f.Button11);
        EXPECT_TRUE(d.Closed());
        if (&way == &leave[3]) break;
        for (auto [field, index] : fields) EXPECT_EQ(f.Ship.BoosterValues[index], loaded(index));
    }
    for (std::size_t i = 0; i < 12; ++i) expected.Booster->Values[i] = static_cast<float>(typed(i));
}

// Every combination of autoslide and booster before and after, with every value changed: the file must be the
// same ship built the new way, and the reload must find every value where the save put it.
TEST(ShipSave, SwitchingAutoslideAndTheBoosterRebuildsTheFileWithEveryValueAtItsPlace) {
    for (int row = 0; row < 16; ++row) {
        const bool fromSlide = row & 1, fromBooster = row & 2, toSlide = row & 4, toBooster = row & 8;
        SCOPED_TRACE(::testing::Message() << "row " << row << " (1, 2: autoslide, booster before; 4, 8: after)");
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

        UserInput::Click(f.Button2);
        EXPECT_TRUE(run.Shown().empty());
        EXPECT_TRUE(SameBytes(game.ShipBytes(), BuildShip(expected).File));
        UserInput::Click(f.Button2);  // the reload must find autoslide, booster and every value where they are
        EXPECT_TRUE(SameBytes(game.ShipBytes(), BuildShip(expected).File)) << "saved again";
    }
}

// ---- Saves that must stop before any file changes ----------------------------------------------------------------

// The file with the length word (high byte first) at this position set to the value.
Bytes WithWord(const Bytes& file, std::size_t word, std::size_t value) {
    return Patched(file, word, {std::uint8_t(value >> 8), std::uint8_t(value)});
}

// Inserts a chunk and grows the length words of the forms around it.
Bytes WithChunkInserted(Bytes file, std::int32_t at, const Bytes& chunk, const std::vector<std::size_t>& words) {
    file.insert(file.begin() + at, chunk.begin(), chunk.end());
    for (std::size_t word : words) file = WithWord(file, word, WordBEAt(file, word) + chunk.size());
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
    const BuiltShip slid = BuildShip(With(FullShip(), [](ShipPlan& s) { s.Slide = true; }));
    const ShipOffsets& at = boosted.Offsets;
    // The SLID chunk behind the hitpoints chunk, where cutting 12 bytes after PHYS would cut the hitpoints; and
    // another chunk between the booster chunk and the GUNS form, still inside the ENGN form.
    const Bytes slide =
        WithChunkInserted(full.File, full.Offsets.Hitpoints + 8, {'S', 'L', 'I', 'D', 0, 0, 0, 4, 1, 0, 0, 0}, {6});
    // The length words of the file and of the form that holds the ENGN form.
    const std::size_t file = 6, parent = full.Offsets.EngnContainer + 6;
    const Bytes booster = WithChunkInserted(boosted.File, at.GunsBase, {'X', 'T', 'R', 'A', 0, 0, 0, 0},
                                            {file, at.EngnContainer + 6u, at.EngnBase + 6u});
    const std::string notChanged = ". The ship file was not changed.";
    const std::string slideMessage =
        "Autoslide cannot be saved: the SLID chunk of this ship does not follow its PHYS chunk" + notChanged;
    const std::string boosterMessage =
        "The booster cannot be removed: the BOOS chunk of this ship does not stand right before its guns" + notChanged;
    // Chunks that overlap: the engine's marker stands where the hitpoints are, its own marker is gone, and the
    // engine's values are read from the bytes behind. The ship loads, but other hitpoints would overwrite the only
    // engine marker, and the saved file would no longer load.
    const BuiltShip minimal = BuildShip(ShipPlan{});
    const auto hitpoints = static_cast<std::size_t>(minimal.Offsets.Hitpoints);
    Bytes overlap = Patched(minimal.File, hitpoints, {'E', 'N', 'G', 'N', 'P', 'O', 'W', 'R'});
    for (std::size_t value = hitpoints + 24; value < hitpoints + 76; value += 4) PutFloat(overlap, value, 1);
    const std::string range = "Range check error.";
    // clang-format off
    return {
        {full.File, true, true, "Speed Max: 2147483584 would read back as no whole number. Please try 2147483520.",
         "Edit15", "2147483584", "560"},
        {full.File, true, true, "Shield recharge rate max: -2147483584 would read back as no whole number. Please try "
         "-2147483520.", "Edit22", "-2147483584", "9"},
        {full.File, true, true, "Decoys: 256 is more than 255.", "Edit14", "256", "12"},
        {slide, false, false, slideMessage},
        {booster, false, true, boosterMessage},
        {WithWord(full.File, file, 65530), true, false, range},
        {WithWord(slid.File, file, 65430), true, true, range},  // fits once the slide is gone, not before
        {WithWord(full.File, parent, 65422), false, true, range},
        {full.File, false, false, "Ships\\test.iff was changed by another program since Tovarin read it: nothing "
         "was changed; it has been read again.", "", "", "", minimal.File},
        {overlap, false, false, "The ship cannot be saved: the saved file would not load again (I/O error 131)" +
         notChanged, "Edit27", "1000"},
    };
    // clang-format on
}

// A stopped save changes neither the ship file nor what the program believes about the file: saving again stops
// the same way; or, once the box is corrected, gives the file a first save would have. (No save names a temporary
// file any more: the new file is built in memory and replaces the old one in one step.)
TEST(ShipSave, AStoppedSaveChangesNoFileAndARetryGivesTheFirstSavesFile) {
    const std::vector<StoppedSave> rows = StoppedSaves();
    for (const StoppedSave& row : rows) {
        SCOPED_TRACE(::testing::Message() << "row " << &row - rows.data() << ": " << row.Message);
        ShipGame game(ShipPlan{});
        game.Game.WriteFile(kShipFile, row.File);
        ProgramRun run(game.Game);
        TForm1& f = run.Form();
        if (row.SwitchSlide) UserInput::Toggle(f.CheckBox1);
        if (row.SwitchBooster) UserInput::Toggle(f.CheckBox2);
        if (!row.Box.empty()) Enter(run, row.Box, row.Text);
        const Bytes file = row.Replaced.empty() ? row.File : row.Replaced;
        game.Game.WriteFile(kShipFile, file);
        for (int save = 0; save < (row.Box.empty() ? 2 : 1); ++save) {
            std::vector<std::string> shown{row.Message};
            if (!row.Replaced.empty() && save == 1) shown.clear();  // the first save read the new file
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
// is made, so none is left. A save that went through but could not be read back says so: the file holds the save.
TEST(SaveFaults, EverySaveLeavesEachFileAsBeforeOrSavedAndARetrySaves) {
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

    for (const auto& [button, file] :
         {std::pair{&TForm1::Button2, "Ships\\test.iff"}, std::pair{&TForm1::Button7, "Game\\bullet.iff"}}) {
        SCOPED_TRACE(file);
        ShipGame ship(FullShip());
        ProgramRun run(ship.Game);
        const Bytes before = ship.Game.ReadFile(file);
        // Every file opened once the save's new file took the old one's place is refused.
        bool replaced = false;
        SetFileFaultHook([&replaced](FileCall call, const std::string&) -> std::optional<InjectedFault> {
            replaced = replaced || call == FileCall::Rename;
            if (replaced && call == FileCall::Open) return InjectedFault{EACCES};
            return std::nullopt;
        });
        edit(run.Form(), run.Platform);
        UserInput::Click(run.Form().*button);
        SetFileFaultHook({});
        EXPECT_EQ(run.Shown(),
                  std::vector{std::string(file) + " was saved, but could not be read back: File access denied."});
        EXPECT_NE(ship.Game.ReadFile(file), before);
    }
}

}  // namespace
}  // namespace tovarin::testkit
