#include "profiles/profile_keys.h"

#include <array>

#include "gamefiles/game_paths.h"
#include "gamefiles/narrowing.h"
#include "gamefiles/numbers.h"
#include "gamefiles/run_caches.h"
#include "ships/ship_layout.h"

namespace tovarin {

namespace {

// The keys of the engine values in the order of their ShipLayout table, which is a profile's order.
constexpr std::array<const char*, 11> kEngineKeys{"speedmin", "speednor", "speedmax", "spaccel", "aftsp", "aftaccel",
                                                  "affuel",   "y",        "p",        "r",       "yprroc"};
constexpr std::array<const char*, 4> kArmourKeys{"armrfront", "armrright", "armrleft", "armraft"};
constexpr std::array<const char*, 5> kShieldKeys{"shfront", "shaft", "shremin", "shrenor", "shremax"};
constexpr std::array<const char*, 4> kGunPowerKeys{"gunen", "gunremin", "gunrenor", "gunremax"};

template <std::size_t N>
void AddKeys(std::vector<ProfileKey>& keys, const std::array<const char*, N>& names, ProfilePart part) {
    for (std::size_t i = 0; i < N; ++i) keys.push_back({names[i], part, i});
}

std::string MountKey(const char* stem, std::size_t index) { return stem + IntToStr(index + 1); }

template <std::size_t N>
std::int32_t* In(std::optional<std::array<std::int32_t, N>>& part, std::size_t index) {
    return part ? &(*part)[index] : nullptr;
}

// The whole-number field behind a key, or none when the ship lacks it (mounts and switches are not such fields).
std::int32_t* FieldOf(ShipValues& values, const ProfileKey& key) {
    switch (key.Part) {
        case ProfilePart::Engine:
            return &values.Engine[key.Index];
        case ProfilePart::Hitpoints:
            return &values.Hitpoints;
        case ProfilePart::Armour:
            return In(values.Armour, key.Index);
        case ProfilePart::Shields:
            return In(values.Shields, key.Index);
        case ProfilePart::GunPower:
            return &values.GunPower[key.Index];
        case ProfilePart::Decoys:
            return values.Decoys ? &*values.Decoys : nullptr;
        case ProfilePart::Mass:
            return &values.Mass;
        default:
            return nullptr;
    }
}

std::array<std::int32_t, kBoosterValueCount> DefaultBooster() {
    std::array<std::int32_t, kBoosterValueCount> values{};
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = ShipLayout::kBoosterValues[i].Default;
    return values;
}

}  // namespace

std::vector<ProfileKey> ProfileKeys(std::size_t gunMounts, std::size_t missileMounts) {
    std::vector<ProfileKey> keys;
    AddKeys(keys, kEngineKeys, ProfilePart::Engine);
    keys.push_back({"autoslide", ProfilePart::Autoslide});
    keys.push_back({"booster", ProfilePart::Booster});
    keys.push_back({"hp", ProfilePart::Hitpoints});
    AddKeys(keys, kArmourKeys, ProfilePart::Armour);
    AddKeys(keys, kShieldKeys, ProfilePart::Shields);
    AddKeys(keys, kGunPowerKeys, ProfilePart::GunPower);
    for (std::size_t i = 0; i < gunMounts; ++i) {
        keys.push_back({MountKey("gun", i), ProfilePart::Gun, i});
        keys.push_back({MountKey("gunammo", i), ProfilePart::GunAmmo, i});
    }
    for (std::size_t i = 0; i < missileMounts; ++i) {
        keys.push_back({MountKey("miss", i), ProfilePart::Missile, i});
        keys.push_back({MountKey("missammo", i), ProfilePart::MissileAmmo, i});
    }
    keys.push_back({"decoys", ProfilePart::Decoys});
    keys.push_back({"mass", ProfilePart::Mass});
    return keys;
}

bool HoldsFloat(const ProfileKey& key) {
    switch (key.Part) {
        case ProfilePart::Engine:
        case ProfilePart::Hitpoints:
        case ProfilePart::Armour:
        case ProfilePart::Shields:
        case ProfilePart::GunPower:
        case ProfilePart::Mass:
            return true;
        default:
            return false;
    }
}

bool IsSwitch(const ProfileKey& key) { return key.Part == ProfilePart::Autoslide || key.Part == ProfilePart::Booster; }

std::optional<std::int32_t> ProfileValue(const ShipValues& values, const ProfileKey& key) {
    const std::size_t i = key.Index;
    switch (key.Part) {
        case ProfilePart::Autoslide:
            return values.Autoslide ? 1 : 0;
        case ProfilePart::Booster:
            return values.Booster ? 1 : 0;
        case ProfilePart::Gun:
            return i < values.GunMounts.size() ? std::optional<std::int32_t>(values.GunMounts[i].Gun) : std::nullopt;
        case ProfilePart::GunAmmo:
            return i < values.GunMounts.size() ? std::optional<std::int32_t>(values.GunMounts[i].Ammo) : std::nullopt;
        case ProfilePart::Missile:
            return i < values.MissileMounts.size() ? std::optional<std::int32_t>(values.MissileMounts[i].Missile)
                                                   : std::nullopt;
        case ProfilePart::MissileAmmo:
            return i < values.MissileMounts.size() ? std::optional<std::int32_t>(values.MissileMounts[i].Loads)
                                                   : std::nullopt;
        default: {
            const std::int32_t* field = FieldOf(const_cast<ShipValues&>(values), key);
            return field != nullptr ? std::optional(*field) : std::nullopt;
        }
    }
}

bool SetProfileValue(ShipValues& values, const ProfileKey& key, std::int32_t value) {
    const std::size_t i = key.Index;
    switch (key.Part) {
        case ProfilePart::Autoslide:
            values.Autoslide = value != 0;
            return true;
        case ProfilePart::Booster:
            if (value == 0)
                values.Booster.reset();
            else if (!values.Booster)
                values.Booster = DefaultBooster();
            return true;
        case ProfilePart::Gun:
            if (i >= values.GunMounts.size()) return false;
            values.GunMounts[i].Gun = ToByte(value);
            return true;
        case ProfilePart::GunAmmo:
            if (i >= values.GunMounts.size()) return false;
            values.GunMounts[i].Ammo = ToWord(value);
            return true;
        case ProfilePart::Missile:
            if (i >= values.MissileMounts.size()) return false;
            values.MissileMounts[i].Missile = ToByte(value);
            return true;
        case ProfilePart::MissileAmmo:
            if (i >= values.MissileMounts.size()) return false;
            values.MissileMounts[i].Loads = ToByte(value);
            return true;
        default: {
            std::int32_t* field = FieldOf(values, key);
            if (field == nullptr) return false;
            *field = value;
            return true;
        }
    }
}

ProfileEntries ProfileEntriesOf(const ShipValues& values) {
    ProfileEntries entries;
    for (const ProfileKey& key : ProfileKeys(values.GunMounts.size(), values.MissileMounts.size())) {
        if (const std::optional<std::int32_t> value = ProfileValue(values, key)) {
            entries.emplace_back(key.Key, IntToStr(*value));
        }
    }
    return entries;
}

std::string ProfileText(const ProfileEntries& entries) {
    std::string text = "[" + kProfileSection + "]\r\n";
    for (const auto& [key, value] : entries) text += key + "=" + value + "\r\n";
    return text;
}

void ApplyProfile(ShipValues& values, const TIniFile& profile) {
    const RunCaches readingOnce;  // a hundred keys of one file, read in one go: the file is parsed once for them
    for (const ProfileKey& key : ProfileKeys(values.GunMounts.size(), values.MissileMounts.size())) {
        const std::optional<std::int32_t> current = ProfileValue(values, key);
        if (!current) continue;
        const std::int32_t value = key.Part == ProfilePart::Booster
                                       ? (profile.ReadBool(kProfileSection, key.Key, false) ? 1 : 0)
                                       : profile.ReadInteger(kProfileSection, key.Key, *current);
        SetProfileValue(values, key, value);
    }
}

std::string DefaultProfilePath(const std::string& gameFolder, const TIniFile& catalogue, const TIniFile& switchFile,
                               const std::string& shipKey) {
    const std::string ownName = switchFile.ReadString("swships", shipKey, "");
    const std::string file = catalogue.ReadString("ships", ownName, "");
    constexpr std::size_t kExtensionLength = 4;  // ".iff"
    const std::string stem = file.size() > kExtensionLength ? file.substr(0, file.size() - kExtensionLength) : "";
    return GamePath(gameFolder, "Ships\\" + stem + ".def");
}

}  // namespace tovarin
