#include <gtest/gtest.h>

#include <tuple>

#include "demo/weapon_tables.h"
#include "ships/ship_session.h"

// The gun and the missile editor, each test of both run over both. A game installation with a gun or missile list
// and table and the program started in it; weapon i is named "Weapon i", its record lies at RecordPosition(i) and
// every box of it shows i + 1.
namespace tovarin::testkit {

namespace {

std::int32_t RecordPosition(int weapon) { return 64 + 104 * weapon; }

std::vector<std::string> RecordPositions(int count) {
    const auto positions =
        std::views::iota(0, count) | std::views::transform([](int i) { return std::to_string(RecordPosition(i)); });
    return {positions.begin(), positions.end()};
}

Bytes GunsShowing(int count) {
    std::vector<std::pair<std::int32_t, GunRecord>> guns;
    for (int i = 0; i < count; ++i) {
        const auto n = static_cast<float>(i + 1);
        guns.emplace_back(RecordPosition(i), GunRecord{n, n, 77.75f, n, n, n / 1000});
    }
    return GunTable(guns, RecordPosition(count));
}

// With the flag word and the sub-missile type 0.
Bytes MissilesShowing(int count) {
    std::vector<std::pair<std::int32_t, MissileRecord>> missiles;
    for (int i = 0; i < count; ++i) {
        const auto n = static_cast<float>(i + 1);
        missiles.emplace_back(RecordPosition(i), MissileRecord{n, n / 1000, n, n, n, n, n / 1000, n, n, 0, n / 1000,
                                                               n / 100, 0, n / 1000, static_cast<std::uint8_t>(i + 1)});
    }
    return MissileTable(missiles, RecordPosition(count));
}

struct WeaponEditor {
    std::string Weapon;  // as the messages name it
    std::string ListSection, DataSection, TableFile;
    TComboBox TForm1::*List;
    TButton TForm1::*Save;
    Bytes (*Table)(int count);
    std::vector<TEdit TForm1::*> Boxes;  // in the order the save writes them

    [[nodiscard]] std::vector<std::string> Texts(const TForm1& form) const {
        const auto texts = Boxes | std::views::transform([&form](auto box) { return (form.*box).Text(); });
        return {texts.begin(), texts.end()};
    }
};

// clang-format off
const WeaponEditor kGunEditor{"gun", "Guns", "GunData", "Game\\bullet.iff", &TForm1::ComboBox4, &TForm1::Button7,
    GunsShowing, {&TForm1::Edit30, &TForm1::Edit31, &TForm1::Edit32, &TForm1::Edit33, &TForm1::Edit34}};
// Lock Time, Speed, Duration, Range, Y (the left "Y/P:" box), P, Acceleration, Damage, Spin rate, Refire delay,
// Spoof probability, the number of sub-missiles, the split-up delay.
const WeaponEditor kMissileEditor{"missile", "Missiles", "MissData", "Game\\missile.iff", &TForm1::ComboBox5,
    &TForm1::Button8, MissilesShowing, {&TForm1::Edit42, &TForm1::Edit37, &TForm1::Edit38, &TForm1::Edit39,
    &TForm1::Edit36, &TForm1::Edit35, &TForm1::Edit40, &TForm1::Edit41, &TForm1::Edit46, &TForm1::Edit43,
    &TForm1::Edit47, &TForm1::Edit49, &TForm1::Edit48}};
// clang-format on

struct WeaponGame {
    TempGameFolder Folder;
    HeadlessPlatform Platform{Folder.Folder()};
    Application App{Platform};  // destroyed first: closing the program still uses the platform

    // Starts the program with the editor's list of weapons at these record positions ("": no key) and its table;
    // the first weapon loads as part of it.
    TForm1& Start(const WeaponEditor& editor, const std::vector<std::string>& positions, const Bytes& table) {
        std::vector<std::string> names;
        IniSection data{editor.DataSection, {}};
        for (std::size_t i = 0; i < positions.size(); ++i) {
            names.push_back("Weapon " + std::to_string(i));
            if (!positions[i].empty()) data.Keys.emplace_back(std::to_string(i), positions[i]);
        }
        Folder.SetCatalogueNames(editor.ListSection, names);
        Folder.SetCatalogueSection(data);
        Folder.WriteFile(editor.TableFile, table);
        EXPECT_FALSE(App.Start().has_value()) << "start-up ended the program";
        return App.Form1();
    }

    [[nodiscard]] Bytes Table(const WeaponEditor& editor) const { return Folder.ReadFile(editor.TableFile); }

    // The texts of the boxes shown since the last call, each marked with its kind.
    [[nodiscard]] std::vector<std::string> NewBoxes() {
        std::vector<std::string> texts;
        for (const auto& box : std::exchange(Platform.Boxes, {}))
            texts.push_back((box.kind == HeadlessPlatform::Box::Kind::Error ? "error: " : "message: ") + box.text);
        return texts;
    }
};

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
            {"", 1, noPosition, ""},  // no key: read as position 0, as are 0 itself, negatives and words
            {"2147483626", 1, "error: Integer overflow.", ""},
            {std::to_string(RecordPosition(257) - 20), 1, "error: " + editor->TableFile + ": Read beyond end of file.",
             notLoaded},
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
// the rest of the record still loads. Every box is converted before the table changes: typing a value that would
// be stored as such a float, or no integer at all, stops the save before anything is written, and the boxes keep
// what was typed.
TEST(WeaponEditors, AValueThatCannotBeShownOrStoredIsRefusedBeforeAnythingIsWritten) {
    // Each row: the editor, the box, its field's offset, the float stored there, the value typed, the caption.
    const std::tuple<const WeaponEditor*, std::size_t, std::int32_t, float, std::string, std::string> rows[] = {
        {&kGunEditor, 0, 20, 3e9f, "2147483584", "Speed"},              // the value typed rounds to the float 2^31
        {&kMissileEditor, 2, 24, 1e7f, "2147483647", "Duration (ms)"},  // 1e7 s is too large only in ms
        {&kMissileEditor, 4, 36, -INFINITY, "-2147483584", "Y"},
        {&kMissileEditor, 12, 96, NAN, "2147483647", "Split up after (ms)"}};
    for (const auto& [editor, box, offset, stored, typed, caption] : rows) {
        SCOPED_TRACE(caption);
        Bytes table = editor->Table(1);
        PutFloat(table, RecordPosition(0) + offset, stored);
        WeaponGame game;
        TForm1& form = game.Start(*editor, RecordPositions(1), table);
        std::vector<std::string> texts(editor->Boxes.size(), "1");
        texts[box] = "";
        EXPECT_EQ(editor->Texts(form), texts);
        EXPECT_EQ(
            game.NewBoxes(),
            std::vector{"message: Some values of Weapon 0 could not be shown and were left empty: " + caption + "."});

        for (auto each : editor->Boxes) UserInput::Type(form.*each, "7");
        UserInput::Type(form.*editor->Boxes[box], typed);
        UserInput::Click(form.*editor->Save);
        const std::vector<std::string> refused = game.NewBoxes();
        ASSERT_EQ(refused.size(), 1u);
        EXPECT_TRUE(refused[0].starts_with("error: " + caption + ": " + typed + " would read back as ")) << refused[0];
        // Saved on closing the window, the box typed last meets the save without its exit check.
        UserInput::Type(form.*editor->Boxes[box], "12x");
        game.Platform.SaveAnswers = {Platform::Answer::Yes};
        UserInput::Close(form);
        EXPECT_EQ(game.NewBoxes(),
                  (std::vector<std::string>{"message: Save changes to Weapon 0?",
                                            "error: " + caption + ": '12x' is not a valid integer value."}));
        EXPECT_FALSE(form.Closed());
        texts.assign(texts.size(), "7");
        texts[box] = "12x";
        EXPECT_EQ(editor->Texts(form), texts) << "a reload would have replaced what was typed";
        EXPECT_EQ(game.Table(*editor), table);
    }
}

// The "&Split up" box shows whether the missile splits; unticking it only hides the values, and a missile stops
// splitting when 0 sub-missiles are saved. The list holds sub-missile type 0 only, so type 1 leaves it without a
// selection: a save keeps the stored type and writes everything else. A refused number of sub-missiles writes
// nothing.
TEST(MissileEditor, SplittingTheSubMissileTypeAndTheFlagWord) {
    WeaponGame game;
    Bytes table = MissilesShowing(1);
    table[RecordPosition(0) + 92] = 1;
    table[RecordPosition(0) + 72] = 0x21;  // the flag word 0x1821: bit 12 has no box
    table[RecordPosition(0) + 73] = 0x18;
    TForm1& form = game.Start(kMissileEditor, RecordPositions(1), table);
    EXPECT_EQ(form.ComboBox7.Text(), "");
    std::vector<std::string> checked;
    for (TCheckBox* box : {&form.Flag1, &form.Flag2, &form.Flag3, &form.Flag4, &form.Flag5, &form.Flag6, &form.Flag7,
                           &form.Flag8, &form.Flag9, &form.Flag10, &form.Flag11, &form.Flag12})
        if (box->Checked()) checked.push_back(box->Caption());
    EXPECT_EQ(checked, (std::vector<std::string>{"&damages components", "&only lock on Corvane", "re&quires target"}));
    EXPECT_TRUE(form.CheckBox3.Checked() && form.GroupBox9.Visible());
    UserInput::Toggle(form.CheckBox3);
    EXPECT_FALSE(form.GroupBox9.Visible());

    UserInput::Type(form.Edit48, "600");
    UserInput::Toggle(form.Flag2);
    UserInput::Type(form.Edit49, "-1");  // would be 255 sub-missiles
    UserInput::Click(form.Button8);
    EXPECT_EQ(game.NewBoxes(), std::vector<std::string>{"error: Split up into: -1 is less than 0."});
    EXPECT_EQ(game.Table(kMissileEditor), table);
    UserInput::Type(form.Edit49, "2");
    UserInput::Click(form.Button8);
    EXPECT_TRUE(game.NewBoxes().empty());
    table[RecordPosition(0) + 100] = 2;
    PutFloat(table, RecordPosition(0) + 96, 0.6f);
    table[RecordPosition(0) + 73] = 0x0C;  // the flag word's high byte: damages turrets added, bit 12 cleared
    EXPECT_EQ(game.Table(kMissileEditor), table);

    UserInput::Type(form.Edit49, "0");
    UserInput::Click(form.Button8);
    table[RecordPosition(0) + 100] = 0;
    EXPECT_EQ(game.Table(kMissileEditor), table);
    UserInput::Choose(form.ComboBox5, 0);
    EXPECT_FALSE(form.CheckBox3.Checked() || form.GroupBox9.Visible());
}

}  // namespace
}  // namespace tovarin::testkit
