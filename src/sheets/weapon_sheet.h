#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "installation/installation.h"
#include "weapons/gun_record.h"
#include "weapons/missile_record.h"

// The gun and missile tables as the command line names them: each field named after the editor's caption in lower
// case, each value written as the editor's box shows it. What `guns get/set`, `missiles get/set` and the weapon
// sheets share.
namespace tovarin {

// A field of a weapon record as text: Show gives the box's text ("" for a value with no integer to show), Take puts
// a typed text into the values or refuses it with the window's message.
template <class Values>
struct NamedField {
    std::string Name;
    std::function<std::string(const Values&)> Show;
    std::function<void(Values&, const std::string&)> Take;
};

// One of the two editors: its catalogue list and record positions, its table file and its fields.
template <class Values>
struct WeaponKind {
    std::string Weapon;              // as messages name it: "gun", "missile"
    std::vector<std::string> Names;  // the catalogue's list, in list order
    std::string DataSection;
    std::string TableFile;  // relative to the game folder
    std::string TablePath;
    std::int32_t RecordSize;
    Values (*Read)(std::span<const std::uint8_t> table, std::int32_t base);
    bool (*Save)(const std::string& tablePath, std::span<const std::pair<std::int32_t, Values>> records);
    std::vector<NamedField<Values>> Fields;
};

[[nodiscard]] WeaponKind<GunValues> GunKind(const Installation& game);
[[nodiscard]] WeaponKind<MissileValues> MissileKind(const Installation& game);

// The list index of the weapon the catalogue names so; an unknown or ambiguous name is refused.
[[nodiscard]] int WeaponIndex(const std::vector<std::string>& names, const std::string& name,
                              const std::string& weapon);

// The weapon's record position in its table, as the editor finds it; refused with the editor's message when the
// catalogue gives none or the record would end beyond any file position.
template <class Values>
[[nodiscard]] std::int32_t RecordBaseOf(const Installation& game, const WeaponKind<Values>& kind, int index);

// The field of this name; an unknown one is refused.
template <class Values>
[[nodiscard]] const NamedField<Values>& FieldNamed(const WeaponKind<Values>& kind, const std::string& name);

// Puts one typed text into the values as the editor's box would; a text equal to what the box shows keeps the
// stored value. A refused text names the field. True when the value changed.
template <class Values>
bool TakeText(const NamedField<Values>& field, Values& values, const std::string& text);

// The values of a record read as `read` that a command changed, ready to write: every value equal to what was read
// is left out or written as it was read, so that it keeps its stored bytes (a float that is not a whole number,
// the flag bits no box shows).
void OnlyChanged(GunValues& values, const GunValues& read);
void OnlyChanged(MissileValues& values, const MissileValues& read);

// The values' texts in field order, as the editor's boxes show them.
template <class Values>
[[nodiscard]] std::vector<std::string> FieldTexts(const WeaponKind<Values>& kind, const Values& values) {
    std::vector<std::string> texts;
    for (const NamedField<Values>& field : kind.Fields) texts.push_back(field.Show(values));
    return texts;
}

// A weapon's texts in field order, or why its record cannot be read (the editor's message; the texts are then
// empty).
struct WeaponRow {
    std::vector<std::string> Texts;
    std::string Problem;
};

// Every weapon's row in list order, read from the bytes of its table.
template <class Values>
[[nodiscard]] std::vector<WeaponRow> EveryWeapon(const Installation& game, const WeaponKind<Values>& kind,
                                                 std::span<const std::uint8_t> table);

// "FIELD=VALUE" split at its first '='; refused without one.
[[nodiscard]] std::pair<std::string, std::string> SplitChange(const std::string& change);

}  // namespace tovarin
