#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "testkit/bytes.h"
#include "ui/user_input.h"
#include "weapon_game.h"

// What the gun and the missile editor do alike, each test run over both.
namespace tovarin::testkit {
namespace {

const WeaponEditor* const kEditors[] = {&kGunEditor, &kMissileEditor};
const std::int32_t kBase = RecordPosition(0);

std::vector<std::string> AllShowing(const WeaponEditor& editor, const std::string& text) {
    return std::vector<std::string>(editor.Boxes.size(), text);
}

// Saving what a load showed writes back exactly what the file held, apart from values a box could only show
// rounded. The whole file is compared, so a field at a wrong offset or with a wrong scale shows, and so does
// any byte written outside the fields: base + 28 of a gun, between a missile's fields or around a record.
TEST(WeaponEditors, ShowEachFieldScaledAndSaveItBackAtItsOffsetAndNothingElse) {
    struct Row {
        const WeaponEditor& editor;
        Bytes stored;
        std::vector<std::string> shown;
        Bytes saved;
    };
    const auto gun = [](const GunRecord& gun) { return GunTable({{kBase, gun}}, 256); };
    const auto missile = [](const MissileRecord& missile) { return MissileTable({{kBase, missile}}, 256); };
    // Every box shows a different number, so two fields swapped would show. Halves go to the even neighbour;
    // times are stored in seconds, 25 % as 0.25; the left "Y/P:" box (the fifth) shows the float at base + 36.
    const Row rows[] = {
        {kGunEditor,
         gun({2.5f, 3.5f, 77.75f, -7.6f, 2147483520.0f, 0.25f}),
         {"2", "4", "-8", "2147483520", "250"},
         gun({2, 4, 77.75f, -8, 2147483520.0f, 0.25f})},
        {kMissileEditor,
         missile({450, 0.001f, 3.5f, 40, -60, -2.5f, 0.333f, -7.6f, 30, 0x0821, 0.75f, 0.25f, 0, -0.25f, 3}),
         {"333", "450", "1", "4", "-60", "40", "-2", "-8", "30", "750", "25", "3", "-250"},
         missile({450, 0.001f, 4, 40, -60, -2, 0.333f, -8, 30, 0x0821, 0.75f, 0.25f, 0, -0.25f, 3})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.editor.Weapon);
        WeaponGame game;
        TForm1& form = game.Start(row.editor, RecordPositions(1), row.stored);
        EXPECT_EQ(BoxTexts(form, row.editor), row.shown);
        UserInput::Click(form.*row.editor.Save);
        EXPECT_EQ(game.Table(row.editor), row.saved);
        EXPECT_TRUE(game.NewBoxes().empty());
    }
}

// A weapon without a record position would have its load and save land on the table's header; one so far on
// that its fields' positions overflow, or beyond the 256 that ship files can name by one byte, is no better.
TEST(WeaponEditors, AWeaponThatCannotBePlacedIsRefusedWithNothingReadOrWritten) {
    for (const WeaponEditor* editor : kEditors) {
        const std::string noPosition =
            "message: Weapon 1 cannot be edited: the catalogue gives no record position "
            "for it (" +
            editor->DataSection + ", key 1).";
        const std::vector<std::tuple<std::string, int, std::string>> rows = {
            {"", 1, noPosition},
            {"near the end", 1, noPosition},
            {"0", 1, noPosition},
            {"-40", 1, noPosition},
            {"2147483626", 1, "error: Integer overflow."},  // base + 20, + 2 in the file layer, is 2^31
            {"168", 256, "error: Range check error."},
        };
        for (const auto& [position, chosen, refusal] : rows) {
            SCOPED_TRACE(editor->Weapon + " " + std::to_string(chosen) + " at '" + position + "'");
            std::vector<std::string> positions = RecordPositions(257);
            positions[1] = position;
            WeaponGame game;
            const Bytes table = editor->Table(257);
            TForm1& form = game.Start(*editor, positions, table);
            UserInput::Choose(form.*editor->List, 254);
            UserInput::Choose(form.*editor->List, chosen);
            EXPECT_EQ(BoxTexts(form, *editor), AllShowing(*editor, "255")) << "nothing is read";
            UserInput::Click(form.*editor->Save);
            EXPECT_EQ(game.NewBoxes(), std::vector<std::string>(2, refusal));
            EXPECT_EQ(game.Table(*editor), table);
        }
    }
}

TEST(WeaponEditors, SavingWithNoWeaponSelectedIsRefused) {
    for (const WeaponEditor* editor : kEditors) {
        WeaponGame game;
        const Bytes table = editor->Table(1);
        UserInput::Click(game.Start(*editor, {}, table).*editor->Save);
        EXPECT_EQ(game.NewBoxes(), std::vector<std::string>{"message: No " + editor->Weapon + " is selected."});
        EXPECT_EQ(game.Table(*editor), table);
    }
}

// A float of 2^31 or more in magnitude once shown has no integer to show: a stored one leaves its box empty and
// the rest of the record still loads; typing a value that would be stored as one is refused before anything
// is written.
TEST(WeaponEditors, AValueThatCannotBeShownLeavesItsBoxEmptyAndCannotBeSaved) {
    struct Row {
        const WeaponEditor& editor;
        std::size_t box;
        std::int32_t offset;
        float stored;
        std::string typed;
        std::string caption;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Row rows[] = {
        {kGunEditor, 0, 20, 3e9f, "2147483584", "Speed"},              // the box's value rounds to the float 2^31
        {kGunEditor, 4, 40, nan, "2147483647", "Refire delay (ms)"},   // the float nearest 2147483.647 s
        {kMissileEditor, 2, 24, 1e7f, "2147483647", "Duration (ms)"},  // 1e7 s is only too large in ms
        {kMissileEditor, 4, 36, -std::numeric_limits<float>::infinity(), "-2147483584", "Y"},
        {kMissileEditor, 12, 96, nan, "2147483647", "Split up after (ms)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.caption);
        Bytes table = row.editor.Table(1);
        PutFloat(table, kBase + row.offset, row.stored);
        WeaponGame game;
        TForm1& form = game.Start(row.editor, RecordPositions(1), table);
        std::vector<std::string> shown = AllShowing(row.editor, "1");
        shown[row.box] = "";
        EXPECT_EQ(BoxTexts(form, row.editor), shown);

        for (auto box : row.editor.Boxes) UserInput::Type(form.*box, "7");
        UserInput::Type(form.*row.editor.Boxes[row.box], row.typed);
        UserInput::Click(form.*row.editor.Save);
        EXPECT_EQ(game.NewBoxes(),
                  (std::vector<std::string>{
                      "message: Some values of Weapon 0 could not be shown and were left empty: " + row.caption + ".",
                      "message: " + row.caption + ": " + row.typed +
                          " is out of range and cannot be stored. Nothing was saved."}));
        EXPECT_EQ(game.Table(row.editor), table);
    }
}

// Each box is written as soon as it is converted: one that holds no integer stops the save there, with the boxes
// before it written and none after, and the boxes keep what was typed.
TEST(WeaponEditors, ABoxWithoutAnIntegerStopsTheSaveAfterTheBoxesBeforeIt) {
    for (const WeaponEditor* editor : kEditors) {
        for (std::size_t bad = 0; bad < editor->Boxes.size(); ++bad) {
            SCOPED_TRACE(editor->Weapon + ", box " + std::to_string(bad));
            WeaponGame game;
            TForm1& form = game.Start(*editor, RecordPositions(1), editor->Table(1));
            std::vector<std::string> typed = AllShowing(*editor, "7");
            typed[bad] = "12x";
            for (std::size_t i = 0; i < typed.size(); ++i) UserInput::Type(form.*editor->Boxes[i], typed[i]);
            UserInput::Click(form.*editor->Save);
            EXPECT_EQ(game.NewBoxes(), std::vector<std::string>{"error: '12x' is not a valid integer value."});
            EXPECT_EQ(BoxTexts(form, *editor), typed) << "a reload would have replaced what was typed";

            UserInput::Choose(form.*editor->List, 0);  // shows what the file now holds
            std::vector<std::string> saved = AllShowing(*editor, "1");
            std::fill_n(saved.begin(), bad, "7");
            EXPECT_EQ(BoxTexts(form, *editor), saved);
        }
    }
}

}  // namespace
}  // namespace tovarin::testkit
