#include "sheets/weapon_sheet.h"

#include <algorithm>
#include <cctype>

#include "gamefiles/errors.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/narrowing.h"
#include "gamefiles/numbers.h"
#include "sheets/names_meant.h"
#include "sheets/refusal.h"

namespace tovarin {

namespace {

std::string LowerCase(std::string_view caption) {
    std::string name(caption);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name;
}

std::vector<std::string> CatalogueList(const Installation& game, const std::string& section) {
    std::vector<std::string> names;
    game.Catalogue.ReadSection(section, names);
    return names;
}

std::string ShownInteger(const std::optional<std::int32_t>& value) { return value ? IntToStr(*value) : ""; }

// A float field's typed value, checked as the save checks it (on a record of its own), so that a refused value is
// found before any table changes; a value the float would not give back as written is refused too.
std::int32_t FloatValue(const FloatField& field, const std::string& text) {
    const std::int32_t value = TypedValue(text, FloatLimits(field.Scaling));
    std::vector<std::uint8_t> scratch(static_cast<std::size_t>(field.Offset) + 4);
    WriteFloatField(scratch, 0, field, value);
    return value;
}

template <class Values, std::size_t N>
void AddFloatFields(std::vector<NamedField<Values>>& fields, const std::array<FloatField, N>& table) {
    for (std::size_t i = 0; i < N; ++i) {
        const FloatField& field = table[i];
        fields.push_back({LowerCase(field.Caption), [i](const Values& v) { return ShownInteger(v.Fields[i]); },
                          [i, &field](Values& v, const std::string& text) { v.Fields[i] = FloatValue(field, text); }});
    }
}

// The number of sub-missiles, as the box for one-byte counts takes it.
std::uint8_t SplitCount(const std::string& text) { return ToByte(TypedValue(text, kByteValue)); }

// The sub-missile type as the list shows it: the missile's name, or the stored number when it names no listed
// missile or a name the list holds twice.
std::string MissileTypeText(const std::vector<std::string>& missiles, std::optional<std::uint8_t> type) {
    if (!type) return "";
    if (*type < missiles.size() && std::count(missiles.begin(), missiles.end(), missiles[*type]) == 1) {
        return missiles[*type];
    }
    return IntToStr(*type);
}

// A missile named as the list shows it, or, when no missile has that name, its number in the list. An unknown
// or ambiguous name is refused.
std::uint8_t MissileType(const std::vector<std::string>& missiles, const std::string& text) {
    const auto number = TryStrToInt(text);
    const bool named = std::find(missiles.begin(), missiles.end(), text) != missiles.end();
    if (!named && number && *number >= 0 && static_cast<std::size_t>(*number) < missiles.size()) {
        return ToByte(*number);
    }
    return ToByte(WeaponIndex(missiles, text, "missile"));
}

// Leaves out of a write the values equal to those read.
template <class Value>
void LeaveOutSame(std::optional<Value>& value, const std::optional<Value>& read) {
    if (value == read) value.reset();
}

template <std::size_t N>
void LeaveOutSame(std::array<std::optional<std::int32_t>, N>& fields,
                  const std::array<std::optional<std::int32_t>, N>& read) {
    for (std::size_t i = 0; i < N; ++i) LeaveOutSame(fields[i], read[i]);
}

}  // namespace

WeaponKind<GunValues> GunKind(const Installation& game) {
    WeaponKind<GunValues> kind{"gun",
                               CatalogueList(game, "Guns"),
                               kGunDataSection,
                               kGunTableFile,
                               GamePath(game.GameFolder, kGunTableFile),
                               kGunRecordSize,
                               ReadGunRecord,
                               SaveGunRecords,
                               {}};
    AddFloatFields(kind.Fields, kGunFields);
    return kind;
}

WeaponKind<MissileValues> MissileKind(const Installation& game) {
    WeaponKind<MissileValues> kind{"missile",
                                   CatalogueList(game, "Missiles"),
                                   kMissDataSection,
                                   kMissileTableFile,
                                   GamePath(game.GameFolder, kMissileTableFile),
                                   kMissileRecordSize,
                                   ReadMissileRecord,
                                   SaveMissileRecords,
                                   {}};
    AddFloatFields(kind.Fields, kMissileFields);
    kind.Fields.push_back(
        {LowerCase(kSplitDelayField.Caption), [](const MissileValues& v) { return ShownInteger(v.SplitDelay); },
         [](MissileValues& v, const std::string& text) { v.SplitDelay = FloatValue(kSplitDelayField, text); }});
    kind.Fields.push_back({"split up into", [](const MissileValues& v) { return IntToStr(v.SplitCount); },
                           [](MissileValues& v, const std::string& text) { v.SplitCount = SplitCount(text); }});
    const std::vector<std::string> missiles = kind.Names;
    kind.Fields.push_back(
        {"sub-missile type", [missiles](const MissileValues& v) { return MissileTypeText(missiles, v.SubMissileType); },
         [missiles](MissileValues& v, const std::string& text) { v.SubMissileType = MissileType(missiles, text); }});
    for (const MissileFlag& flag : kMissileFlags) {
        const std::uint16_t bit = flag.Bit;
        kind.Fields.push_back({LowerCase(flag.Caption),
                               [bit](const MissileValues& v) { return std::string((v.Flags & bit) != 0 ? "1" : "0"); },
                               [bit](MissileValues& v, const std::string& text) {
                                   if (text != "0" && text != "1") {
                                       throw Exception("'" + Abbreviated(text) + "' is not 0 or 1");
                                   }
                                   v.Flags = static_cast<std::uint16_t>(text == "1" ? v.Flags | bit : v.Flags & ~bit);
                               }});
    }
    return kind;
}

int WeaponIndex(const std::vector<std::string>& names, const std::string& name, const std::string& weapon) {
    const auto count = std::count(names.begin(), names.end(), name);
    if (count > 1) throw Refusal(name + " names more than one " + weapon + " in the catalogue");
    const std::optional<std::size_t> meant = FindMeant(names, name, weapon.c_str());
    if (!meant) throw Refusal("Unknown " + weapon + ": " + Abbreviated(name));
    const auto index = static_cast<std::ptrdiff_t>(*meant);
    // Ship files name a weapon by one byte, so the editors list only the first 256 for editing.
    if (index > 255) throw Refusal(name + " cannot be edited: only the first 256 " + weapon + "s can");
    return static_cast<int>(index);
}

template <class Values>
std::int32_t RecordBaseOf(const Installation& game, const WeaponKind<Values>& kind, int index) {
    const auto base = CatalogueRecordBase(game.Catalogue, kind.DataSection, index);
    if (!base) {
        throw Refusal(NoRecordPositionMessage(kind.Names[static_cast<std::size_t>(index)], kind.DataSection, index));
    }
    (void)AddPos(*base, kind.RecordSize);  // a record that ends beyond any file position
    return *base;
}

template <class Values>
const NamedField<Values>& FieldNamed(const WeaponKind<Values>& kind, const std::string& name) {
    for (const NamedField<Values>& field : kind.Fields) {
        if (field.Name == name) return field;
    }
    throw Refusal("Unknown field of a " + kind.Weapon + ": " + Abbreviated(name));
}

template <class Values>
bool TakeText(const NamedField<Values>& field, Values& values, const std::string& text) {
    if (text == field.Show(values)) return false;
    try {
        field.Take(values, text);
    } catch (const std::exception& error) {  // the window's conversion errors, or an unknown sub-missile type
        throw Refusal(field.Name + "=" + Abbreviated(text) + ": " + error.what());
    }
    return true;
}

template <class Values>
std::vector<WeaponRow> EveryWeapon(const Installation& game, const WeaponKind<Values>& kind,
                                   std::span<const std::uint8_t> table) {
    std::vector<WeaponRow> rows;
    for (std::size_t i = 0; i < kind.Names.size(); ++i) {
        WeaponRow& row = rows.emplace_back();
        try {
            const int index = WeaponIndex(kind.Names, kind.Names[i], kind.Weapon);
            row.Texts = FieldTexts(kind, kind.Read(table, RecordBaseOf(game, kind, index)));
        } catch (const std::exception& error) {  // the file layer's errors, or a refused record position
            row.Problem = error.what();
        }
    }
    return rows;
}

void OnlyChanged(GunValues& values, const GunValues& read) { LeaveOutSame(values.Fields, read.Fields); }

// The count and the flag word are written whole: as read, but for what a command changed.
void OnlyChanged(MissileValues& values, const MissileValues& read) {
    LeaveOutSame(values.Fields, read.Fields);
    LeaveOutSame(values.SplitDelay, read.SplitDelay);
    LeaveOutSame(values.SubMissileType, read.SubMissileType);
}

std::pair<std::string, std::string> SplitChange(const std::string& change) {
    const std::size_t equals = change.find('=');
    if (equals == std::string::npos) throw Refusal("Not FIELD=VALUE: " + Abbreviated(change));
    return {change.substr(0, equals), change.substr(equals + 1)};
}

template std::int32_t RecordBaseOf(const Installation&, const WeaponKind<GunValues>&, int);
template std::int32_t RecordBaseOf(const Installation&, const WeaponKind<MissileValues>&, int);
template const NamedField<GunValues>& FieldNamed(const WeaponKind<GunValues>&, const std::string&);
template const NamedField<MissileValues>& FieldNamed(const WeaponKind<MissileValues>&, const std::string&);
template bool TakeText(const NamedField<GunValues>&, GunValues&, const std::string&);
template bool TakeText(const NamedField<MissileValues>&, MissileValues&, const std::string&);
template std::vector<WeaponRow> EveryWeapon(const Installation&, const WeaponKind<GunValues>&,
                                            std::span<const std::uint8_t>);
template std::vector<WeaponRow> EveryWeapon(const Installation&, const WeaponKind<MissileValues>&,
                                            std::span<const std::uint8_t>);

}  // namespace tovarin
