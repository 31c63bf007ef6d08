#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "gamefiles/file_handle.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/narrowing.h"
#include "gamefiles/numbers.h"
#include "gamefiles/whole_files.h"
#include "profiles/profile_keys.h"
#include "ships/mount_rows.h"
#include "ui/platform.h"
#include "window/form1.h"

namespace tovarin {

namespace {

// A profile key and the Ships tab box that holds its value.
struct BoxKey {
    const char* Key;
    TEdit TForm1::*Box;
};

// The boxes of the whole-number keys. Every box is there whether or not the loaded ship has the part, and a
// profile carries it either way.
const std::array<BoxKey, 27> kBoxKeys{{
    {"speedmin", &TForm1::Edit1},   {"speednor", &TForm1::Edit2},   {"speedmax", &TForm1::Edit15},
    {"spaccel", &TForm1::Edit4},    {"aftsp", &TForm1::Edit3},      {"aftaccel", &TForm1::Edit6},
    {"affuel", &TForm1::Edit26},    {"y", &TForm1::Edit7},          {"p", &TForm1::Edit5},
    {"r", &TForm1::Edit8},          {"yprroc", &TForm1::Edit25},    {"hp", &TForm1::Edit27},
    {"armrfront", &TForm1::Edit10}, {"armrright", &TForm1::Edit11}, {"armrleft", &TForm1::Edit12},
    {"armraft", &TForm1::Edit13},   {"shfront", &TForm1::Edit17},   {"shaft", &TForm1::Edit16},
    {"shremin", &TForm1::Edit20},   {"shrenor", &TForm1::Edit21},   {"shremax", &TForm1::Edit22},
    {"gunen", &TForm1::Edit18},     {"gunremin", &TForm1::Edit19},  {"gunrenor", &TForm1::Edit23},
    {"gunremax", &TForm1::Edit24},  {"decoys", &TForm1::Edit14},    {"mass", &TForm1::Edit29},
}};

// The mounts live in tables beside the boxes, the two switches in check boxes.
bool HasBox(const ProfileKey& key) {
    switch (key.Part) {
        case ProfilePart::Autoslide:
        case ProfilePart::Booster:
        case ProfilePart::Gun:
        case ProfilePart::GunAmmo:
        case ProfilePart::Missile:
        case ProfilePart::MissileAmmo:
            return false;
        default:
            return true;
    }
}

TEdit& BoxOf(TForm1& form, const std::string& key) {
    for (const BoxKey& box : kBoxKeys) {
        if (key == box.Key) return form.*box.Box;
    }
    throw std::logic_error("no box for profile key " + key);
}

// A ship without a missile form has no missile mounts of its own; the tables beside it still hold the last
// ship's, which must neither be exported nor changed for it.
std::size_t MissileMountsOf(const TForm1& form) {
    return form.Ship.MissBase != 0 ? std::min<std::size_t>(form.Ship.MissileMountCount, kMaxMissileMounts) : 0;
}

std::size_t GunMountsOf(const TForm1& form) { return std::min<std::size_t>(form.Ship.GunMountCount, kMaxGunMounts); }

// What the Ships tab shows now, saved or not, as the values a profile is made of; every box counts as a part the
// ship has. Taking all values first means a box that holds no number stops an export before anything is written.
ShipValues TabValues(TForm1& form) {
    ShipValues values;
    values.Armour.emplace();
    values.Shields.emplace();
    values.Decoys.emplace();
    for (const ProfileKey& key : ProfileKeys(GunMountsOf(form), MissileMountsOf(form))) {
        if (key.Part == ProfilePart::Gun) {
            values.GunMounts.push_back({form.GunMountTypes[key.Index], form.GunMountAmmo[key.Index]});
        } else if (key.Part == ProfilePart::Missile) {
            values.MissileMounts.push_back({form.MissileMountTypes[key.Index], form.Ship.MissileMountLoads[key.Index]});
        } else if (HasBox(key)) {
            SetProfileValue(values, key, form.CheckedValue(BoxOf(form, key.Key)));
        }
    }
    values.Autoslide = form.CheckBox1.Checked();
    if (form.CheckBox2.Checked()) values.Booster = form.Ship.BoosterValues;
    return values;
}

// The name of a gun or missile type in its list; a type the list does not know shows without a name.
std::string NameOrEmpty(const TItemList& names, std::size_t index) {
    return index < names.Items().size() ? names.Items()[index] : std::string();
}

// A list whose rows stay as they were keeps its chosen mount: an import stopped by a gun leaves the missile list
// alone.
void ShowRows(TListBox& list, std::vector<std::string> rows) {
    if (list.Items() == rows) return;
    list.Clear();
    list.Items() = std::move(rows);
}

void ShowGunRows(TForm1& form) {
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < GunMountsOf(form); ++i) {
        const std::uint8_t gun = form.GunMountTypes[i];
        rows.push_back(GunMountRow(NameOrEmpty(form.ComboBox2, gun), gun, form.GunMountAmmo[i]));
    }
    for (std::size_t k = 0; k < std::min<std::size_t>(form.Ship.TurretCount, kMaxTurrets); ++k) {
        rows.push_back(TurretRow(NameOrEmpty(form.ComboBox2, form.Ship.TurretGunTypes[k])));
    }
    ShowRows(form.ListBox1, std::move(rows));
}

void ShowMissileRows(TForm1& form) {
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < MissileMountsOf(form); ++i) {
        rows.push_back(
            MissileMountRow(NameOrEmpty(form.ComboBox3, form.MissileMountTypes[i]), form.Ship.MissileMountLoads[i]));
    }
    ShowRows(form.ListBox2, std::move(rows));
}

// Puts imported values back on the tab and into the mounts. The booster's own values stay as they are: a profile
// only switches the booster on or off.
void ShowTabValues(TForm1& form, const ShipValues& values) {
    for (const ProfileKey& key : ProfileKeys(0, 0)) {
        if (HasBox(key)) BoxOf(form, key.Key).SetText(IntToStr(*ProfileValue(values, key)));
    }
    form.CheckBox1.SetChecked(values.Autoslide);
    form.CheckBox2.SetChecked(values.Booster.has_value());  // its click handler follows
    for (std::size_t i = 0; i < values.GunMounts.size(); ++i) {
        form.GunMountTypes[i] = values.GunMounts[i].Gun;
        form.GunMountAmmo[i] = values.GunMounts[i].Ammo;
    }
    for (std::size_t i = 0; i < values.MissileMounts.size(); ++i) {
        form.MissileMountTypes[i] = values.MissileMounts[i].Missile;
        form.Ship.MissileMountLoads[i] = values.MissileMounts[i].Loads;
    }
    ShowGunRows(form);
    ShowMissileRows(form);
    // A mount still chosen shows its values as they are now in the pickers beside its list, whatever its row
    // shows: "Change" takes them from there.
    if (form.ListBox1.ItemIndex() >= 0) form.ListBox1Click();
    if (form.ListBox2.ItemIndex() >= 0) form.ListBox2Click();
}

// A path with its file name in lower case, as profiles have always been named. The folders above stay as the
// dialog gave them: on a case-sensitive file system their lower-case spelling may not exist.
std::string WithLowerCaseName(const std::string& path) {
    const std::string folder = FolderOf(path);
    std::string name = path.substr(folder.size());
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return folder + name;
}

}  // namespace

void TForm1::Button6Click() {
    SaveDialog1.InitialDir = GameFile("ships\\");
    if (!GetPlatform().ExecuteDialog(SaveDialog1)) return;
    const std::string path = WithLowerCaseName(SaveDialog1.FileName);
    ExportProfile(path);
    ShowStatus(ComboBox1.Text() + " exported: " + InGameFolder(path));
}

void TForm1::Button5Click() {
    OpenDialog1.InitialDir = GameFile("ships\\");
    if (!GetPlatform().ExecuteDialog(OpenDialog1)) return;
    ImportProfile(OpenDialog1.FileName);
    ShowStatus(ComboBox1.Text() + " imported, not saved yet: " + InGameFolder(OpenDialog1.FileName));
}

void TForm1::Button9Click() {
    const std::string path = DefaultProfilePath(GameFolder, Catalogue, SwitchFile, Ship.ShipKey);
    ImportProfile(path);
    ShowStatus(ComboBox1.Text() + " defaults restored, not saved yet: " + InGameFolder(path));
}

// Writes what the Ships tab shows now, saved or not, as a fresh file that holds only the keys of this ship. The old
// profile stays until the new one is complete; a failure is reported as a failed INI write of the profile.
void TForm1::ExportProfile(const std::string& path) {
    const std::string text = ProfileText(ProfileEntriesOf(TabValues(*this)));
    try {
        ReplaceWholeFile(path, std::vector<std::uint8_t>(text.begin(), text.end()));
    } catch (const EReplacedNotFlushed&) {
        throw;  // the profile is written: this is no failed write
    } catch (const Exception&) {
        throw EIniFileException(path);
    }
}

// Applies a profile to the Ships tab and the mounts in memory; nothing reaches the ship file before a save.
// Every key that is missing keeps the current value, except the booster, which a profile without it leaves off.
void TForm1::ImportProfile(const std::string& path) {
    const TIniFile profile(path);
    ShipValues values = TabValues(*this);
    try {
        ApplyProfile(values, profile);
    } catch (const Exception&) {
        ShowTabValues(*this, values);
        throw;
    }
    ShowTabValues(*this, values);
    // A value its field cannot hold (decoys=396) stays in its box for the player to mend, and is named now rather
    // than at the next save or export.
    (void)TabValues(*this);
}

}  // namespace tovarin
