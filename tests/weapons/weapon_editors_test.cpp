#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "weapon_game.h"

// What the gun and the missile editor do alike, each test run over both.
namespace tovarin::testkit {

using namespace demo;  // the demo's builders of ship files, weapon tables and game folders
namespace {

// Saving what a load showed writes back exactly what the file held, apart from values a box could only show
// rounded. The whole file is compared, so a field at a wrong offset or with a wrong scale shows, and so does
// any byte written outside the fields: base + 28 of a gun, between a missile's fields or around a record.
TEST(WeaponEditors, ShowEachFieldScaledAndSaveItBackAtItsOffsetAndNothingElse) {
    const auto gun = [](const GunRecord& gun) { return GunTable({{RecordPosition(0), gun}}, 256); };
    const auto missile = [](const MissileRecord& missile) { return MissileTable({{RecordPosition(0), missile}}, 256); };
    // Every box shows a different number, so two fields swapped would show. Halves go to the even neighbour;
    // times are stored in seconds, 25 % as 0.25; the left "Y/P:" box (the fifth) shows the float at base + 36.
    // Bit 12 of the flag word has no box and is saved as 0.
    // Each row: the editor, the table, what its boxes show, the table after saving that.
    const std::tuple<const WeaponEditor*, Bytes, std::vector<std::string>, Bytes> rows[] = {
        {&kGunEditor,
         gun({2.5f, 3.5f, 77.75f, -7.6f, 2147483520.0f, 0.25f}),
         {"2", "4", "-8", "2147483520", "250"},
         gun({2, 4, 77.75f, -8, 2147483520.0f, 0.25f})},
        {&kMissileEditor,
         missile({450, 0.001f, 3.5f, 40, -60, -2.5f, 0.333f, -7.6f, 30, 0x1821, 0.75f, 0.25f, 0, -0.25f, 3}),
         {"333", "450", "1", "4", "-60", "40", "-2", "-8", "30", "750", "25", "3", "-250"},
         missile({450, 0.001f, 4, 40, -60, -2, 0.333f, -8, 30, 0x0821, 0.75f, 0.25f, 0, -0.25f, 3})}};
    for (const auto& [editor, stored, shown, saved] : rows) {
        SCOPED_TRACE(editor->Weapon);
        WeaponGame game;
        TForm1& form = game.Start(*editor, RecordPositions(1), stored);
        EXPECT_EQ(editor->Texts(form), shown);
        UserInput::Click(form.*editor->Save);
        EXPECT_EQ(game.Table(*editor), saved);
        EXPECT_TRUE(game.NewBoxes().empty());
    }
}

// A weapon without a record position would have its load and save land on the table's header; one so far on
// that its record's end lies beyond any position in a file, or beyond the 256 that ship files can name by one
// byte, is no better; nor is a save with no weapon selected. A record that runs past the table's end does not
// load, and the save that would put the previous weapon's values there, padding the table, is refused.
TEST(WeaponEditors, AWeaponThatCannotBePlacedIsRefusedWithNothingReadOrWritten) {
    for (const WeaponEditor* editor : {&kGunEditor, &kMissileEditor}) {
        const std::string noPosition =
            "message: Weapon 1 cannot be edited: the catalogue gives no record position for it (" +
            editor->DataSection + ", key 1).";
        const std::string notLoaded =
            "message: Weapon 1 cannot be saved: its record could not be read whole, so the boxes do not show it.";
        // Each row: the position of weapon 1 (its own is 168), the weapon chosen, the refusal when loading, and
        // when saving if it differs.
        const std::tuple<std::string, int, std::string, std::string> rows[] = {
            {"", 1, noPosition, ""},
            {"near the end", 1, noPosition, ""},
            {"0", 1, noPosition, ""},
            {"-40", 1, noPosition, ""},
            {"2147483626", 1, "error: Integer overflow.", ""},
            {std::to_string(RecordPosition(257) - 20), 1, "error: Read beyond end of file.", notLoaded},
            {"168", 256, "error: Range check error.", ""}};
        for (const auto& [position, chosen, atLoad, atSave] : rows) {
            SCOPED_TRACE(editor->Weapon + " " + std::to_string(chosen) + " at '" + position + "'");
            std::vector<std::string> positions = RecordPositions(257);
            positions[1] = position;
            WeaponGame game;
            TForm1& form = game.Start(*editor, positions, editor->Table(257));
            UserInput::Choose(form.*editor->List, 254);
            UserInput::Choose(form.*editor->List, chosen);
            EXPECT_EQ(editor->Texts(form), std::vector<std::string>(editor->Boxes.size(), "255")) << "nothing is read";
            UserInput::Click(form.*editor->Save);
            EXPECT_EQ(game.NewBoxes(), (std::vector<std::string>{atLoad, atSave.empty() ? atLoad : atSave}));
            EXPECT_EQ(game.Table(*editor), editor->Table(257));
        }
        WeaponGame empty;  // with no weapon there is none selected
        UserInput::Click(empty.Start(*editor, {}, editor->Table(1)).*editor->Save);
        EXPECT_EQ(empty.NewBoxes(), std::vector<std::string>{"message: No " + editor->Weapon + " is selected."});
        EXPECT_EQ(empty.Table(*editor), editor->Table(1));
    }
}

// A float of 2^31 or more in magnitude once shown has no integer to show: a stored one leaves its box empty and
// the rest of the record still loads; typing a value that would be stored as one is refused before anything
// is written.
TEST(WeaponEditors, AValueThatCannotBeShownLeavesItsBoxEmptyAndCannotBeSaved) {
    // Each row: the editor, the box, its field's offset, the float stored there, the value typed, the caption.
    const std::tuple<const WeaponEditor*, std::size_t, std::int32_t, float, std::string, std::string> rows[] = {
        {&kGunEditor, 0, 20, 3e9f, "2147483584", "Speed"},  // the value typed rounds to the float 2^31
        {&kGunEditor, 4, 40, NAN, "2147483647", "Refire delay (ms)"},
        {&kMissileEditor, 2, 24, 1e7f, "2147483647", "Duration (ms)"},  // 1e7 s is too large only in ms
        {&kMissileEditor, 4, 36, -INFINITY, "-2147483584", "Y"},
        {&kMissileEditor, 12, 96, NAN, "2147483647", "Split up after (ms)"}};
    for (const auto& [editor, box, offset, stored, typed, caption] : rows) {
        SCOPED_TRACE(caption);
        Bytes table = editor->Table(1);
        PutFloat(table, RecordPosition(0) + offset, stored);
        WeaponGame game;
        TForm1& form = game.Start(*editor, RecordPositions(1), table);
        std::vector<std::string> shown(editor->Boxes.size(), "1");
        shown[box] = "";
        EXPECT_EQ(editor->Texts(form), shown);
        EXPECT_EQ(game.NewBoxes(), std::vector<std::string>{"message: Some values of Weapon 0 could not be shown and "
                                                            "were left empty: " +
                                                            caption + "."});

        for (auto each : editor->Boxes) UserInput::Type(form.*each, "7");
        UserInput::Type(form.*editor->Boxes[box], typed);
        UserInput::Click(form.*editor->Save);
        EXPECT_EQ(game.NewBoxes(),
                  std::vector<std::string>{"error: " + caption + ": " + typed +
                                           " is out of range and cannot be stored. Nothing was saved."});
        EXPECT_EQ(game.Table(*editor), table);
    }
}

// Every box is converted before the table changes: one that holds no integer stops the save with nothing
// written, and the boxes keep what was typed.
TEST(WeaponEditors, ABoxWithoutAnIntegerStopsTheSaveBeforeAnythingIsWritten) {
    for (const WeaponEditor* editor : {&kGunEditor, &kMissileEditor}) {
        for (std::size_t bad = 0; bad < editor->Boxes.size(); ++bad) {
            SCOPED_TRACE(editor->Weapon + ", box " + std::to_string(bad));
            WeaponGame game;
            TForm1& form = game.Start(*editor, RecordPositions(1), editor->Table(1));
            std::vector<std::string> typed(editor->Boxes.size(), "7");
            typed[bad] = "12x";
            for (std::size_t i = 0; i < typed.size(); ++i) {
                if (i != bad) UserInput::Type(form.*editor->Boxes[i], typed[i]);
            }
            // Saved on closing the window, the box typed last meets the save without its exit check.
            UserInput::Type(form.*editor->Boxes[bad], typed[bad]);
            game.Platform.SaveAnswers = {Platform::Answer::Yes};
            UserInput::Close(form);
            EXPECT_EQ(game.NewBoxes(), (std::vector<std::string>{"message: Save changes to Weapon 0?",
                                                                 "error: '12x' is not a valid integer value."}));
            EXPECT_FALSE(form.Closed());
            EXPECT_EQ(editor->Texts(form), typed) << "a reload would have replaced what was typed";
            EXPECT_EQ(game.Table(*editor), editor->Table(1));
        }
    }
}

}  // namespace
}  // namespace tovarin::testkit
