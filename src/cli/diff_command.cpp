#include <algorithm>
#include <cctype>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/game_session.h"
#include "gamefiles/errors.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/ini_file.h"
#include "gamefiles/whole_files.h"
#include "gun_slots/gun_slot_table.h"
#include "installation/installation.h"
#include "profiles/profile_keys.h"
#include "sheets/fleet.h"
#include "sheets/originals.h"
#include "sheets/weapon_sheet.h"
#include "ships/read_ship_values.h"

// "diff": every kept original against its game file as it is now, file by file and value by value, read through
// the same functions as the editors: a ship file's profile keys and gun slots, the gun and missile tables' fields,
// the catalogue's per-ship sections (which the gun slot editor writes), the switch file's entries.
namespace tovarin::cli {

namespace {

constexpr const char* kNone = "(none)";

// What the comparison found: lines for standard output, and a message for each file that could not be read.
struct Findings {
    std::vector<std::string> Lines;
    std::vector<std::string> Trouble;
};

// The first catalogue ship listing each file, by the file's name relative to the game folder ("Ships\kestrel.iff").
std::unordered_map<std::string, std::string> ShipsByFile(const Fleet& fleet) {
    const IniSectionValues files = fleet.Game.Catalogue.ReadSectionValues("ships");
    std::unordered_map<std::string, std::string> ships;
    for (const std::string& ship : fleet.Ships) ships.emplace("Ships\\" + files.Value(ship).value_or(""), ship);
    return ships;
}

// The game as it is and the names the lines use.
struct Comparison {
    explicit Comparison(Fleet game, std::string catalogueFile)
        : Game(std::move(game)), CatalogueFile(std::move(catalogueFile)), shipsByFile_(ShipsByFile(Game)) {}

    Fleet Game;
    std::string CatalogueFile;  // relative to the game folder, as the backup names it
    Findings Found;

    // The catalogue ship whose file this is ("Ships\kestrel.iff": Kestrel); the file's name when it lists none.
    [[nodiscard]] std::string ShipOfFile(const std::string& file) const {
        const auto found = shipsByFile_.find(file);
        return found != shipsByFile_.end() ? found->second : file;
    }

private:
    std::unordered_map<std::string, std::string> shipsByFile_;
};

// "SUBJECT: NAME: BEFORE -> NOW" for each name whose texts differ; the three lists run side by side, and an empty
// text is a value that is not there.
void Compare(const std::string& subject, const std::vector<std::string>& names, const std::vector<std::string>& before,
             const std::vector<std::string>& now, Findings& found) {
    const auto shown = [](const std::string& text) { return text.empty() ? std::string(kNone) : text; };
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (before[i] != now[i]) {
            found.Lines.push_back(subject + ": " + names[i] + ": " + shown(before[i]) + " -> " + shown(now[i]));
        }
    }
}

// The slot names of a ship file in slot order, as the "Add/Remove Guns" tab lists them.
std::vector<std::string> SlotNames(const std::vector<std::uint8_t>& file, const std::string& path) {
    try {
        return SlotNamesOf(file);
    } catch (const Exception& error) {
        throw Refusal(path + ": " + error.Message() + ".");
    }
}

// Both sides of a file, read once: the original (at `before`) and the game file as it is now.
struct Sides {
    std::string Before;
    std::string Now;
    std::vector<std::uint8_t> OldBytes;
    std::vector<std::uint8_t> NewBytes;
};

// A ship file: its profile keys (weapons by their catalogue names), then its gun slots.
void CompareShipFile(Comparison& comparison, const std::string& file, const Sides& sides) {
    const Fleet& fleet = comparison.Game;
    const std::string& before = sides.Before;
    const std::string& now = sides.Now;
    const std::vector<std::uint8_t>& oldFile = sides.OldBytes;
    const std::vector<std::uint8_t>& newFile = sides.NewBytes;
    const ShipValues oldValues = CheckedShipValues(fleet, oldFile, before + ": the ship would not load");
    const ShipValues newValues = CheckedShipValues(fleet, newFile, now + ": the ship would not load");
    const std::vector<ProfileKey> keys =
        ProfileKeys(std::max(oldValues.GunMounts.size(), newValues.GunMounts.size()),
                    std::max(oldValues.MissileMounts.size(), newValues.MissileMounts.size()));
    std::vector<std::string> names, oldTexts, newTexts;
    for (const ProfileKey& key : keys) {
        names.push_back(key.Key);
        oldTexts.push_back(ValueText(fleet, oldValues, key, true));
        newTexts.push_back(ValueText(fleet, newValues, key, true));
    }
    const std::string ship = comparison.ShipOfFile(file);
    Compare("ship " + ship, names, oldTexts, newTexts, comparison.Found);

    oldTexts = SlotNames(oldFile, before);
    newTexts = SlotNames(newFile, now);
    const std::size_t slots = std::max(oldTexts.size(), newTexts.size());
    oldTexts.resize(slots);
    newTexts.resize(slots);
    names.clear();
    for (std::size_t slot = 1; slot <= slots; ++slot) names.push_back("slot " + std::to_string(slot));
    Compare("slots " + ship, names, oldTexts, newTexts, comparison.Found);
}

// A weapon table: each listed weapon's fields. A record that one side cannot read is trouble with that side; one
// that neither can (the catalogue gives it no position) has nothing to compare.
template <class Values>
void CompareWeapons(Comparison& comparison, const WeaponKind<Values>& kind, const Sides& sides) {
    const Installation& game = comparison.Game.Game;
    const std::string& before = sides.Before;
    const std::string& now = sides.Now;
    const std::vector<WeaponRow> oldRows = EveryWeapon(game, kind, sides.OldBytes);
    const std::vector<WeaponRow> newRows = EveryWeapon(game, kind, sides.NewBytes);
    std::vector<std::string> fields;
    for (const NamedField<Values>& field : kind.Fields) fields.push_back(field.Name);
    for (std::size_t i = 0; i < kind.Names.size(); ++i) {
        const std::string& name = kind.Names[i];
        if (!oldRows[i].Problem.empty() && !newRows[i].Problem.empty()) continue;
        if (!oldRows[i].Problem.empty())
            comparison.Found.Trouble.push_back(before + ": " + name + ": " + oldRows[i].Problem);
        if (!newRows[i].Problem.empty())
            comparison.Found.Trouble.push_back(now + ": " + name + ": " + newRows[i].Problem);
        if (oldRows[i].Problem.empty() && newRows[i].Problem.empty()) {
            Compare(kind.Weapon + " " + name, fields, oldRows[i].Texts, newRows[i].Texts, comparison.Found);
        }
    }
}

// The keys of a section in both files, those of `now` first; the INI functions look keys up in any case.
std::vector<std::string> KeysOfBoth(const TIniFile& before, const TIniFile& now, const std::string& section) {
    std::vector<std::string> keys, oldKeys;
    now.ReadSection(section, keys);
    before.ReadSection(section, oldKeys);
    const auto lower = [](std::string text) {
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    };
    for (const std::string& key : oldKeys) {
        if (std::none_of(keys.begin(), keys.end(), [&](const std::string& k) { return lower(k) == lower(key); })) {
            keys.push_back(key);
        }
    }
    return keys;
}

// The catalogue's per-ship sections, named after the ship files: the gun slot count, each slot's data offset and
// the positions behind the guns, which the gun slot editor moves.
void CompareCatalogue(Comparison& comparison, const std::string& before, const std::string& now) {
    const TIniFile oldFile(before), newFile(now);
    const IniSectionValues files = newFile.ReadSectionValues("ships");
    std::vector<std::string> sections;
    std::unordered_set<std::string> listed;
    for (const std::string& ship : comparison.Game.Ships) {
        const std::string section = files.Value(ship).value_or("");
        if (listed.insert(section).second) sections.push_back(section);
    }
    for (const std::string& section : sections) {
        const std::vector<std::string> keys = KeysOfBoth(oldFile, newFile, section);
        const IniSectionValues oldValues = oldFile.ReadSectionValues(section);
        const IniSectionValues newValues = newFile.ReadSectionValues(section);
        std::vector<std::string> oldTexts, newTexts;
        for (const std::string& key : keys) {
            oldTexts.push_back(oldValues.Value(key).value_or(""));
            newTexts.push_back(newValues.Value(key).value_or(""));
        }
        Compare("catalogue " + section, keys, oldTexts, newTexts, comparison.Found);
    }
}

// "swap SHIP: BEFORE -> NOW" for each switch entry that differs. A ship the original has no entry for (or a switch
// file the program created) was not exchanged: the program gives every ship its identity entry before its first
// change.
void CompareSwaps(Comparison& comparison, const std::optional<std::string>& before, const std::string& now) {
    const IniSectionValues wasValues =
        before ? TIniFile(*before).ReadSectionValues("swships") : IniSectionValues(IniEntries());
    const IniSectionValues isValues = TIniFile(now).ReadSectionValues("swships");
    for (const std::string& ship : comparison.Game.Ships) {
        std::string was = wasValues.Value(ship).value_or("");
        if (was.empty()) was = ship;
        const std::string is = isValues.Value(ship).value_or("");
        if (was != is)
            comparison.Found.Lines.push_back("swap " + ship + ": " + was + " -> " + (is.empty() ? kNone : is));
    }
}

// One kept file that may differ from its original, compared by what kind of game file it is. A game file that has
// a kept copy is read here, once with its copy, and is no difference when the two hold the same bytes: false.
bool CompareFile(Comparison& comparison, const OriginalsBackup& backup, const KeptFile& kept) {
    const std::string now = GamePath(comparison.Game.Game.GameFolder, kept.File);
    const std::optional<std::string> before = backup.OriginalOf(kept.File);
    if (kept.Now == KeptFile::State::Missing) {
        comparison.Found.Lines.push_back("file " + kept.File + ": missing");
        return true;
    }
    if (kept.Now == KeptFile::State::Created) comparison.Found.Lines.push_back("file " + kept.File + ": added");
    Sides sides{before.value_or(""), now, {}, {}};
    if (kept.Now == KeptFile::State::Changed && before) {
        sides.OldBytes = BytesOf(*before);
        sides.NewBytes = BytesOf(now);
        if (sides.OldBytes == sides.NewBytes) return false;
    }
    if (kept.File == kSwitchFile) {
        CompareSwaps(comparison, before, now);
    } else if (!before) {
        return true;
    } else if (kept.File == kGunTableFile) {
        CompareWeapons(comparison, GunKind(comparison.Game.Game), sides);
    } else if (kept.File == kMissileTableFile) {
        CompareWeapons(comparison, MissileKind(comparison.Game.Game), sides);
    } else if (kept.File == comparison.CatalogueFile) {
        CompareCatalogue(comparison, *before, now);
    } else {
        CompareShipFile(comparison, kept.File, sides);
    }
    return true;
}

int Diff(const CommandArguments& arguments, Console& console) {
    Installation game = OpenGameAsItIs(arguments.Game);
    const OriginalsBackup backup = BackupOf(game.GameFolder, game.Catalogue);
    const std::string catalogueFile = ChooseCatalogue(game.GameFolder);
    const std::vector<KeptFile> kept = backup.Status(false);  // each file's bytes are compared here, read once
    if (kept.empty()) {
        console.Err << "No originals are kept in \"" << kBackupFolderName << "\": Tovarin has changed no file here\n";
        return kExitDone;
    }
    Comparison comparison(FleetOf(std::move(game)), catalogueFile);
    for (const KeptFile& file : kept) {
        if (!file.Differs()) continue;
        const std::size_t lines = comparison.Found.Lines.size();
        const std::size_t trouble = comparison.Found.Trouble.size();
        try {
            if (!CompareFile(comparison, backup, file)) continue;
        } catch (const Refusal& refusal) {
            comparison.Found.Trouble.push_back(refusal.what());
        } catch (const std::exception& error) {
            comparison.Found.Trouble.push_back(file.File + ": " + error.what());
        }
        if (comparison.Found.Lines.size() == lines && comparison.Found.Trouble.size() == trouble) {
            comparison.Found.Lines.push_back("file " + file.File + ": changed outside the values shown");
        }
    }
    for (const std::string& line : comparison.Found.Lines) console.Out << line << '\n';
    for (const std::string& trouble : comparison.Found.Trouble) console.Err << trouble << '\n';
    if (!comparison.Found.Trouble.empty()) return kExitTrouble;
    return comparison.Found.Lines.empty() ? kExitDone : kExitDifferent;
}

}  // namespace

std::string DiffFormat() {
    return "One line per difference, in the order of \"backup status\" and within a file in the order of a "
           "profile, a table or a section:\n"
           "  ship SHIP: KEY: BEFORE -> NOW          a ship file's value, by the keys of a ship profile\n"
           "  slots SHIP: slot N: BEFORE -> NOW      a ship file's gun slot, by its name\n"
           "  gun NAME: FIELD: BEFORE -> NOW         a gun's field, as \"guns get\" names it\n"
           "  missile NAME: FIELD: BEFORE -> NOW     a missile's field, as \"missiles get\" names it\n"
           "  catalogue SECTION: KEY: BEFORE -> NOW  a key of the catalogue's section for a ship file\n"
           "  swap SHIP: BEFORE -> NOW               the switch file's entry for a ship\n"
           "  file FILE: added|missing               a file Tovarin created, or one that is gone\n"
           "  file FILE: changed outside the values shown\n"
           "SHIP names the ship whose file the catalogue lists: after a swap its file holds the other ship's values. "
           "A value that is not there reads (none). Exit code: 0 no difference, 1 differences, 2 a file could not "
           "be read (named on standard error).";
}

// diff(1)'s exit codes, so that a failure is never taken for a difference: a refusal is trouble too.
int DiffCommand(const CommandArguments& arguments, Console& console) {
    try {
        return Diff(arguments, console);
    } catch (...) {
        ShowFailure(console);
        return kExitTrouble;
    }
}

}  // namespace tovarin::cli
