#include "cli/weapon_commands.h"

#include <nlohmann/json.hpp>

#include "cli/command_line.h"
#include "cli/game_session.h"
#include "cli/sheet_export.h"
#include "cli/sheet_import.h"
#include "fleet_edits/value_writes.h"
#include "gamefiles/csv.h"
#include "gamefiles/errors.h"
#include "gamefiles/numbers.h"
#include "gamefiles/text_encoding.h"
#include "gamefiles/whole_files.h"
#include "sheets/originals.h"
#include "sheets/weapon_sheet.h"

// "guns get/set", "missiles get/set" and the weapon sheets: the gun and missile editors' records, read and saved
// through the same functions as the editors' "Save Modifications".
namespace tovarin::cli {

namespace {

// A number as a JSON number, an empty value as null, a name as a string (JSON's text is UTF-8).
nlohmann::ordered_json JsonValue(const std::string& text) {
    if (text.empty()) return nullptr;
    if (const auto number = TryStrToInt(text)) return *number;
    return Utf8FromWindows1252(text);
}

// The fields asked for, in the order given, or every field: their places in the kind's list. An unknown one is
// refused.
template <class Values>
std::vector<std::size_t> FieldsAsked(const WeaponKind<Values>& kind, const std::vector<std::string>& names) {
    std::vector<std::size_t> fields;
    for (const std::string& name : names) {
        fields.push_back(static_cast<std::size_t>(&FieldNamed(kind, name) - kind.Fields.data()));
    }
    for (std::size_t i = 0; names.empty() && i < kind.Fields.size(); ++i) fields.push_back(i);
    return fields;
}

// The weapon's values as the editor shows them; a weapon the editor cannot load is refused.
template <class Values>
Values ReadWeapon(const Installation& game, const WeaponKind<Values>& kind, std::span<const std::uint8_t> table,
                  int index) {
    return kind.Read(table, RecordBaseOf(game, kind, index));
}

template <class Values>
void ShowWeapon(const WeaponKind<Values>& kind, const std::vector<std::size_t>& fields, const std::string& name,
                const std::vector<std::string>& texts, bool json, nlohmann::ordered_json& all, Console& console,
                bool single) {
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    if (!single && !json) console.Out << '[' << name << "]\n";
    for (const std::size_t i : fields) {
        if (json) {
            object[kind.Fields[i].Name] = texts.empty() ? nullptr : JsonValue(texts[i]);
        } else if (!texts.empty()) {
            console.Out << kind.Fields[i].Name << '=' << texts[i] << '\n';
        }
    }
    if (json) (single ? all : all[Utf8FromWindows1252(name)]) = object;
}

// The sheet of these rows. A weapon whose record the editor cannot load has empty cells, which an import reads as
// "keep".
template <class Values>
Sheet WeaponSheet(const WeaponKind<Values>& kind, const std::vector<WeaponRow>& rows) {
    Sheet sheet(1, {kind.Weapon});
    for (const NamedField<Values>& field : kind.Fields) sheet[0].push_back(field.Name);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        sheet.push_back({kind.Names[i]});
        sheet.back().insert(sheet.back().end(), rows[i].Texts.begin(), rows[i].Texts.end());
        sheet.back().resize(sheet[0].size());
    }
    return sheet;
}

// The rows of the table's original; refused naming a record the original cannot give while the table can.
template <class Values>
std::vector<WeaponRow> OriginalRows(const Installation& game, const WeaponKind<Values>& kind,
                                    const std::vector<WeaponRow>& now) {
    const OriginalsBackup backup = BackupOf(game.GameFolder, game.Catalogue);
    std::vector<WeaponRow> rows = EveryWeapon(game, kind, OriginalBytes(backup, kind.TableFile));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i].Problem.empty() && now[i].Problem.empty()) {
            throw Refusal("The original of " + kind.TableFile + ": " + kind.Names[i] + ": " + rows[i].Problem + ".");
        }
    }
    return rows;
}

template <class Values>
int GetWeapons(const CommandArguments& arguments, Console& console, WeaponKind<Values> (*kindOf)(const Installation&)) {
    const Installation game = OpenGame(arguments.Game);
    const WeaponKind<Values> kind = kindOf(game);
    const std::vector<std::size_t> fields = FieldsAsked(kind, arguments.Keys);
    nlohmann::ordered_json all = nlohmann::ordered_json::object();
    if (!arguments.Name.empty()) {
        const std::vector<std::uint8_t> table = ReadWholeFileReadOnly(kind.TablePath);
        const Values values = ReadWeapon(game, kind, table, WeaponIndex(kind.Names, arguments.Name, kind.Weapon));
        ShowWeapon(kind, fields, arguments.Name, FieldTexts(kind, values), arguments.Json, all, console, true);
    } else {
        const std::vector<WeaponRow> rows = EveryWeapon(game, kind, ReadWholeFileReadOnly(kind.TablePath));
        for (std::size_t i = 0; i < rows.size(); ++i) {
            ShowWeapon(kind, fields, kind.Names[i], rows[i].Texts, arguments.Json, all, console, false);
        }
    }
    if (arguments.Json) console.Data << all.dump() << '\n';
    return kExitDone;
}

template <class Values>
int SetWeapon(const CommandArguments& arguments, Console&, WeaponKind<Values> (*kindOf)(const Installation&)) {
    const Installation game = OpenGame(arguments.Game);
    ValueChanges changes;
    for (const std::string& change : arguments.Changes) changes.push_back(SplitChange(change));
    SetWeaponValues(game, kindOf(game), arguments.Name, changes);
    return kExitDone;
}

// With --changed, against the table's original as Tovarin first found it.
template <class Values>
int ExportWeapons(const CommandArguments& arguments, Console& console,
                  WeaponKind<Values> (*kindOf)(const Installation&)) {
    const Installation game = OpenGame(arguments.Game);
    const WeaponKind<Values> kind = kindOf(game);
    const std::vector<WeaponRow> rows = EveryWeapon(game, kind, ReadWholeFileReadOnly(kind.TablePath));
    WriteSheet(console, arguments.File, ExportedSheet(arguments, console, WeaponSheet(kind, rows), [&] {
                   return WeaponSheet(kind, OriginalRows(game, kind, rows));
               }));
    return kExitDone;
}

// Every row is read and checked against the table before the table changes; the changed records are then saved
// in one replacement of the table, and rows equal to the current values change nothing.
template <class Values>
int ImportWeapons(const CommandArguments& arguments, Console& console,
                  WeaponKind<Values> (*kindOf)(const Installation&)) {
    const Installation game = OpenGame(arguments.Game);
    const WeaponKind<Values> kind = kindOf(game);
    SheetRows rows(arguments, console, kind.Weapon);
    const std::string sheet = SheetNamed(arguments);
    const CsvRow& header = rows.Header();
    std::vector<const NamedField<Values>*> columns;
    for (std::size_t c = 1; c < header.Fields.size(); ++c) {
        try {
            columns.push_back(&FieldNamed(kind, header.Fields[c]));
        } catch (const Refusal& refusal) {
            throw Refusal(CellWhere(sheet, header.Line, c + 1) + refusal.what());
        }
    }
    const std::vector<std::uint8_t> table = ReadWholeFileReadOnly(kind.TablePath);
    std::vector<std::pair<std::int32_t, Values>> changed;
    std::vector<int> seen;
    for (CsvRow row; rows.Next(row);) {
        if (row.Fields.size() == 1 && row.Fields[0].empty()) continue;  // a blank line
        std::size_t column = 0;
        try {
            if (row.Fields.size() > columns.size() + 1) {
                column = columns.size() + 1;
                throw Refusal("more cells than the header row names");
            }
            const int index = WeaponIndex(kind.Names, row.Fields[0], kind.Weapon);
            if (std::find(seen.begin(), seen.end(), index) != seen.end())
                throw Refusal(Abbreviated(row.Fields[0]) + " has two rows");
            seen.push_back(index);
            const std::int32_t base = RecordBaseOf(game, kind, index);
            const Values read = kind.Read(table, base);
            Values values = read;
            bool edited = false;
            for (column = 1; column < row.Fields.size(); ++column) {
                if (row.Fields[column].empty()) continue;
                edited |= TakeText(*columns[column - 1], values, row.Fields[column]);
            }
            if (edited) {
                OnlyChanged(values, read);
                changed.emplace_back(base, values);
            }
        } catch (const std::exception& error) {
            throw Refusal(CellWhere(sheet, row.Line, column + 1) + error.what());
        }
    }
    const bool written = !changed.empty() && kind.Save(kind.TablePath, changed);
    ReportChanged(console, written ? changed.size() : 0, kind.Weapon);
    return kExitDone;
}

}  // namespace

int GetGuns(const CommandArguments& arguments, Console& console) { return GetWeapons(arguments, console, GunKind); }
int SetGun(const CommandArguments& arguments, Console& console) { return SetWeapon(arguments, console, GunKind); }
int ExportGuns(const CommandArguments& arguments, Console& console) {
    return ExportWeapons(arguments, console, GunKind);
}
int ImportGuns(const CommandArguments& arguments, Console& console) {
    return ImportWeapons(arguments, console, GunKind);
}
int GetMissiles(const CommandArguments& arguments, Console& console) {
    return GetWeapons(arguments, console, MissileKind);
}
int SetMissile(const CommandArguments& arguments, Console& console) {
    return SetWeapon(arguments, console, MissileKind);
}
int ExportMissiles(const CommandArguments& arguments, Console& console) {
    return ExportWeapons(arguments, console, MissileKind);
}
int ImportMissiles(const CommandArguments& arguments, Console& console) {
    return ImportWeapons(arguments, console, MissileKind);
}

}  // namespace tovarin::cli
