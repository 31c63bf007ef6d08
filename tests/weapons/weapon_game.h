#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/application.h"
#include "app/form1.h"
#include "demo/weapon_tables.h"
#include "testkit/temp_game_folder.h"
#include "ui/headless_platform.h"
#include "ui/user_input.h"

// A game installation with a gun or missile list and table and the program started in it, and what the tests of
// both weapon editors need to drive either of them alike. Weapon i is named "Weapon i"; its record lies at
// RecordPosition(i) and every box of it shows i + 1.
namespace tovarin::testkit {

using namespace demo;  // the demo's builders of ship files, weapon tables and game folders

inline std::int32_t RecordPosition(int weapon) { return 64 + 104 * weapon; }

inline std::vector<std::string> RecordPositions(int count) {
    std::vector<std::string> positions;
    for (int i = 0; i < count; ++i) positions.push_back(std::to_string(RecordPosition(i)));
    return positions;
}

inline Bytes GunsShowing(int count) {
    std::vector<std::pair<std::int32_t, GunRecord>> guns;
    for (int i = 0; i < count; ++i) {
        const auto n = static_cast<float>(i + 1);
        guns.emplace_back(RecordPosition(i), GunRecord{n, n, 77.75f, n, n, n / 1000});
    }
    return GunTable(guns, RecordPosition(count));
}

// With the flag word and the sub-missile type 0.
inline Bytes MissilesShowing(int count) {
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
        std::vector<std::string> texts;
        for (auto box : Boxes) texts.push_back((form.*box).Text());
        return texts;
    }
};

inline const std::vector<TEdit TForm1::*> kGunBoxes = {&TForm1::Edit30, &TForm1::Edit31, &TForm1::Edit32,
                                                       &TForm1::Edit33, &TForm1::Edit34};
inline const WeaponEditor kGunEditor{
    "gun", "Guns", "GunData", "Game\\bullet.iff", &TForm1::ComboBox4, &TForm1::Button7, GunsShowing, kGunBoxes};

// Lock Time, Speed, Duration, Range, Y (the left "Y/P:" box), P, Acceleration, Damage, Spin rate, Refire delay,
// Spoof probability, the number of sub-missiles, the split-up delay.
inline const std::vector<TEdit TForm1::*> kMissileBoxes = {
    &TForm1::Edit42, &TForm1::Edit37, &TForm1::Edit38, &TForm1::Edit39, &TForm1::Edit36,
    &TForm1::Edit35, &TForm1::Edit40, &TForm1::Edit41, &TForm1::Edit46, &TForm1::Edit43,
    &TForm1::Edit47, &TForm1::Edit49, &TForm1::Edit48};
inline const WeaponEditor kMissileEditor{"missile",          "Missiles",       "MissData",      "Game\\missile.iff",
                                         &TForm1::ComboBox5, &TForm1::Button8, MissilesShowing, kMissileBoxes};

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
        for (const auto& box : Platform.Boxes) {
            texts.push_back((box.kind == HeadlessPlatform::Box::Kind::Error ? "error: " : "message: ") + box.text);
        }
        Platform.Boxes.clear();
        return texts;
    }
};

}  // namespace tovarin::testkit
