#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/form1.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/narrowing.h"
#include "gamefiles/numbers.h"
#include "gamefiles/whole_files.h"
#include "ships/mount_rows.h"
#include "ui/platform.h"

namespace tovarin {

namespace {

const std::string kProfileSection = "Ship";

// A profile key and the Ships tab box that holds its value.
struct BoxKey {
    const char* Key;
    TEdit TForm1::*Box;
};

// The flight values, written before the two check boxes.
constexpr std::array<BoxKey, 11> kFlightKeys{{
    {"speedmin", &TForm1::Edit1},
    {"speednor", &TForm1::Edit2},
    {"speedmax", &TForm1::Edit15},
    {"spaccel", &TForm1::Edit4},
    {"aftsp", &TForm1::Edit3},
    {"aftaccel", &TForm1::Edit6},
    {"affuel", &TForm1::Edit26},
    {"y", &TForm1::Edit7},
    {"p", &TForm1::Edit5},
    {"r", &TForm1::Edit8},
    {"yprroc", &TForm1::Edit25},
}};

// Hitpoints, armour, shields and gun power, written between the check boxes and the mounts.
constexpr std::array<BoxKey, 14> kHullKeys{{
    {"hp", &TForm1::Edit27},
    {"armrfront", &TForm1::Edit10},
    {"armrright", &TForm1::Edit11},
    {"armrleft", &TForm1::Edit12},
    {"armraft", &TForm1::Edit13},
    {"shfront", &TForm1::Edit17},
    {"shaft", &TForm1::Edit16},
    {"shremin", &TForm1::Edit20},
    {"shrenor", &TForm1::Edit21},
    {"shremax", &TForm1::Edit22},
    {"gunen", &TForm1::Edit18},
    {"gunremin", &TForm1::Edit19},
    {"gunrenor", &TForm1::Edit23},
    {"gunremax", &TForm1::Edit24},
}};

// Decoys and mass close the profile.
constexpr std::array<BoxKey, 2> kLastKeys{{
    {"decoys", &TForm1::Edit14},
    {"mass", &TForm1::Edit29},
}};

std::string MountKey(const char* stem, std::size_t index) { return stem + IntToStr(index + 1); }

// A ship without a missile form has no missile mounts of its own; the tables beside it still hold the last
// ship's, which must neither be exported nor changed for it.
std::size_t MissileMountsOf(const TForm1& form) {
    return form.Ship.MissBase != 0 ? std::min<std::size_t>(form.Ship.MissileMountCount, kMaxMissileMounts) : 0;
}

std::size_t GunMountsOf(const TForm1& form) { return std::min<std::size_t>(form.Ship.GunMountCount, kMaxGunMounts); }

// The name of a gun or missile type in its list; a type the list does not know shows without a name.
std::string NameOrEmpty(const TItemList& names, std::size_t index) {
    return index < names.Items().size() ? names.Items()[index] : std::string();
}

using ProfileEntries = std::vector<std::pair<std::string, std::string>>;

template <std::size_t N>
void AddBoxValues(const TForm1& form, const std::array<BoxKey, N>& keys, ProfileEntries& entries) {
    for (const BoxKey& key : keys) entries.emplace_back(key.Key, IntToStr(StrToInt((form.*key.Box).Text())));
}

// Every key of the profile with its text, in the order the file holds them. Taking all values first means a
// box that holds no number stops the export before anything is written.
ProfileEntries ProfileOf(const TForm1& form) {
    ProfileEntries entries;
    AddBoxValues(form, kFlightKeys, entries);
    entries.emplace_back("autoslide", form.CheckBox1.Checked() ? "1" : "0");
    entries.emplace_back("booster", form.CheckBox2.Checked() ? "1" : "0");
    AddBoxValues(form, kHullKeys, entries);
    for (std::size_t i = 0; i < GunMountsOf(form); ++i) {
        entries.emplace_back(MountKey("gun", i), IntToStr(form.GunMountTypes[i]));
        entries.emplace_back(MountKey("gunammo", i), IntToStr(form.GunMountAmmo[i]));
    }
    for (std::size_t i = 0; i < MissileMountsOf(form); ++i) {
        entries.emplace_back(MountKey("miss", i), IntToStr(form.MissileMountTypes[i]));
        entries.emplace_back(MountKey("missammo", i), IntToStr(form.Ship.MissileMountLoads[i]));
    }
    AddBoxValues(form, kLastKeys, entries);
    return entries;
}

// A box keeps its value when the profile lacks the key or holds no number there.
template <std::size_t N>
void ImportBoxValues(TForm1& form, const std::array<BoxKey, N>& keys, const TIniFile& profile) {
    for (const BoxKey& key : keys) {
        TEdit& box = form.*key.Box;
        box.SetText(IntToStr(profile.ReadInteger(kProfileSection, key.Key, StrToInt(box.Text()))));
    }
}

void ShowGunRows(TForm1& form) {
    form.ListBox1.Clear();
    for (std::size_t i = 0; i < GunMountsOf(form); ++i) {
        const std::uint8_t gun = form.GunMountTypes[i];
        form.ListBox1.Items().push_back(GunMountRow(NameOrEmpty(form.ComboBox2, gun), gun, form.GunMountAmmo[i]));
    }
    for (std::size_t k = 0; k < std::min<std::size_t>(form.Ship.TurretCount, kMaxTurrets); ++k) {
        form.ListBox1.Items().push_back(TurretRow(NameOrEmpty(form.ComboBox2, form.Ship.TurretGunTypes[k])));
    }
}

void ShowMissileRows(TForm1& form) {
    form.ListBox2.Clear();
    for (std::size_t i = 0; i < MissileMountsOf(form); ++i) {
        form.ListBox2.Items().push_back(
            MissileMountRow(NameOrEmpty(form.ComboBox3, form.MissileMountTypes[i]), form.Ship.MissileMountLoads[i]));
    }
}

void ReadGunMounts(TForm1& form, const TIniFile& profile) {
    for (std::size_t i = 0; i < GunMountsOf(form); ++i) {
        form.GunMountTypes[i] = ToByte(profile.ReadInteger(kProfileSection, MountKey("gun", i), form.GunMountTypes[i]));
        form.GunMountAmmo[i] =
            ToWord(profile.ReadInteger(kProfileSection, MountKey("gunammo", i), form.GunMountAmmo[i]));
    }
}

void ReadMissileMounts(TForm1& form, const TIniFile& profile) {
    for (std::size_t i = 0; i < MissileMountsOf(form); ++i) {
        form.MissileMountTypes[i] =
            ToByte(profile.ReadInteger(kProfileSection, MountKey("miss", i), form.MissileMountTypes[i]));
        form.Ship.MissileMountLoads[i] =
            ToByte(profile.ReadInteger(kProfileSection, MountKey("missammo", i), form.Ship.MissileMountLoads[i]));
    }
}

// A value out of range stops the import, but the rows still show what the mounts now hold, so the list never
// differs from what a save would write.
void ImportGunMounts(TForm1& form, const TIniFile& profile) {
    try {
        ReadGunMounts(form, profile);
    } catch (const Exception&) {
        ShowGunRows(form);
        throw;
    }
    ShowGunRows(form);
}

void ImportMissileMounts(TForm1& form, const TIniFile& profile) {
    try {
        ReadMissileMounts(form, profile);
    } catch (const Exception&) {
        ShowMissileRows(form);
        throw;
    }
    ShowMissileRows(form);
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

// The ship's default profile lies in the Ships folder, named after the file that holds the ship's own data
// when it is not swapped: its catalogue file name with ".def" in place of the extension.
std::string DefaultProfilePath(const TForm1& form) {
    const std::string ownName = form.SwitchFile.ReadString("swships", form.Ship.ShipKey, "");
    const std::string file = form.Catalogue.ReadString("ships", ownName, "");
    constexpr std::size_t kExtensionLength = 4;  // ".iff"
    const std::string stem = file.size() > kExtensionLength ? file.substr(0, file.size() - kExtensionLength) : "";
    return form.GameFile("Ships\\" + stem + ".def");
}

// The profile's text as the INI functions write it into a new file: the section, then one line per key.
std::string ProfileText(const ProfileEntries& entries) {
    std::string text = "[" + kProfileSection + "]\r\n";
    for (const auto& [key, value] : entries) text += key + "=" + value + "\r\n";
    return text;
}

}  // namespace

void TForm1::Button6Click() {
    SaveDialog1.InitialDir = GameFile("ships\\");
    if (!GetPlatform().ExecuteDialog(SaveDialog1)) return;
    ExportProfile(WithLowerCaseName(SaveDialog1.FileName));
}

void TForm1::Button5Click() {
    OpenDialog1.InitialDir = GameFile("ships\\");
    if (!GetPlatform().ExecuteDialog(OpenDialog1)) return;
    ImportProfile(OpenDialog1.FileName);
}

void TForm1::Button9Click() { ImportProfile(DefaultProfilePath(*this)); }

// Writes what the Ships tab shows now, saved or not, as a fresh file that holds only the keys of this ship. The old
// profile stays until the new one is complete; a failure is reported as a failed INI write of the profile.
void TForm1::ExportProfile(const std::string& path) {
    const std::string text = ProfileText(ProfileOf(*this));
    try {
        ReplaceWholeFile(path, std::vector<std::uint8_t>(text.begin(), text.end()));
    } catch (const Exception&) {
        throw EIniFileException(path);
    }
}

// Applies a profile to the Ships tab and the mounts in memory; nothing reaches the ship file before a save.
// Every key that is missing keeps the current value, except the booster, which a profile without it leaves off.
void TForm1::ImportProfile(const std::string& path) {
    const TIniFile profile(path);
    ImportBoxValues(*this, kFlightKeys, profile);
    CheckBox1.SetChecked(profile.ReadBool(kProfileSection, "autoslide", CheckBox1.Checked()));
    CheckBox2.SetChecked(profile.ReadBool(kProfileSection, "booster", false));  // its click handler follows
    ImportBoxValues(*this, kHullKeys, profile);
    ImportGunMounts(*this, profile);
    ImportMissileMounts(*this, profile);
    ImportBoxValues(*this, kLastKeys, profile);
}

}  // namespace tovarin
