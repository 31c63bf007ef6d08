#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/form1.h"
#include "testkit/weapon_tables.h"
#include "ui/headless_platform.h"

// A game installation with a gun or missile list and table and the program started in it, and what the tests of
// both weapon editors need to drive either of them alike. Weapon i is named "Weapon i" and its record lies at
// RecordPosition(i).
namespace tovarin::testkit {

inline std::int32_t RecordPosition(int weapon) { return 64 + 104 * weapon; }

// The catalogue's record positions of the first `count` weapons.
inline std::vector<std::string> RecordPositions(int count) {
    std::vector<std::string> positions;
    for (int i = 0; i < count; ++i) positions.push_back(std::to_string(RecordPosition(i)));
    return positions;
}

struct WeaponEditor {
    std::string Weapon;  // as the messages name it
    std::string ListSection, DataSection, TableFile;
    TComboBox TForm1::*List;
    TButton TForm1::*Save;
    // A table of `count` records at their positions; every box of weapon i shows i + 1.
    Bytes (*Table)(int count);
    std::vector<TEdit TForm1::*> Boxes;  // in the order the save writes them
};

inline Bytes GunsShowing(int count) {
    std::vector<std::pair<std::int32_t, GunRecord>> guns;
    for (int i = 0; i < count; ++i) {
        const auto n = static_cast<float>(i + 1);
        guns.emplace_back(RecordPosition(i), GunRecord{n, n, 77.75f, n, n, n / 1000});
    }
    return GunTable(guns, RecordPosition(count));
}

// The flag word and the sub-missile type are 0.
inline Bytes MissilesShowing(int count) {
    std::vector<std::pair<std::int32_t, MissileRecord>> missiles;
    for (int i = 0; i < count; ++i) {
        const auto n = static_cast<float>(i + 1);
        missiles.emplace_back(RecordPosition(i), MissileRecord{n, n / 1000, n, n, n, n, n / 1000, n, n, 0, n / 1000,
                                                               n / 100, 0, n / 1000, static_cast<std::uint8_t>(i + 1)});
    }
    return MissileTable(missiles, RecordPosition(count));
}

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

inline std::vector<std::string> BoxTexts(const TForm1& form, const WeaponEditor& editor) {
    std::vector<std::string> texts;
    for (auto box : editor.Boxes) texts.push_back((form.*box).Text());
    return texts;
}

class WeaponGame {
public:
    GameFolder Folder;

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
        platform_ = std::make_unique<HeadlessPlatform>(Folder.Folder());
        app_ = std::make_unique<Application>(*platform_);
        EXPECT_FALSE(app_->Start().has_value()) << "start-up ended the program";
        return app_->Form1();
    }

    [[nodiscard]] Bytes Table(const WeaponEditor& editor) const { return Folder.ReadFile(editor.TableFile); }

    // The texts of the boxes shown since the last call, each marked with its kind.
    [[nodiscard]] std::vector<std::string> NewBoxes() {
        std::vector<std::string> texts;
        for (const auto& box : platform_->Boxes) {
            texts.push_back((box.kind == HeadlessPlatform::Box::Kind::Error ? "error: " : "message: ") + box.text);
        }
        platform_->Boxes.clear();
        return texts;
    }

private:
    std::unique_ptr<HeadlessPlatform> platform_;  // outlives the application, which uses it to the end
    std::unique_ptr<Application> app_;
};

}  // namespace tovarin::testkit
