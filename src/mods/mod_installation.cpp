#include "mods/mod_installation.h"

#include <algorithm>
#include <set>

#include "gamefiles/errors.h"
#include "gamefiles/file_change_set.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/folders.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/plain_files.h"
#include "gamefiles/sha256.h"
#include "gamefiles/whole_files.h"
#include "gun_slots/gun_slot_table.h"
#include "installation/installation.h"
#include "mods/applied_record.h"
#include "mods/load_order.h"
#include "mods/mod_info_file.h"
#include "sheets/names_meant.h"
#include "sheets/originals.h"
#include "sheets/refusal.h"
#include "ships/read_ship_values.h"
#include "ships/ship_state.h"

namespace tovarin {

namespace {

// The gun slots by name: what the gun slot editor changes, and what the catalogue's stored positions describe.
// A file whose slots cannot be read has a shape of its own.
std::optional<std::vector<std::string>> SlotNames(std::span<const std::uint8_t> file) {
    try {
        return SlotNamesOf(file);
    } catch (const Exception&) {
        return std::nullopt;
    }
}

bool SameShape(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    const std::optional<std::vector<std::string>> slots = SlotNames(a);
    return slots && (std::ranges::equal(a, b) || slots == SlotNames(b));
}

void WriteRecord(std::vector<std::uint8_t>& table, std::int32_t base, const GunValues& values) {
    WriteGunRecord(table, base, values);
}

void WriteRecord(std::vector<std::uint8_t>& table, std::int32_t base, const MissileValues& values) {
    WriteMissileRecord(table, base, values);
}

template <class Values>
Cells WeaponCells(const Installation& game, const WeaponKind<Values>& kind, SheetKind sheet,
                  std::span<const std::uint8_t> table) {
    Cells cells;
    const std::vector<WeaponRow> rows = EveryWeapon(game, kind, table);
    for (std::size_t item = 0; item < rows.size(); ++item) {
        for (std::size_t field = 0; field < rows[item].Texts.size(); ++field) {
            if (rows[item].Texts[field].empty()) continue;
            cells.emplace_hint(cells.end(), CellAddress{sheet, item, field, kind.Names[item], kind.Fields[field].Name},
                               rows[item].Texts[field]);
        }
    }
    return cells;
}

std::string PlaceOf(const std::map<CellAddress, std::string>& places, const CellAddress& address) {
    const auto found = places.find(address);
    return found == places.end() ? "" : found->second;
}

// The table with the cells' values written into their records, each record checked as the editor's save checks
// it. A refused value is named with its place.
template <class Values>
std::vector<std::uint8_t> BuildTable(const Installation& game, const WeaponKind<Values>& kind,
                                     std::vector<std::uint8_t> table, const Cells& cells,
                                     const std::map<CellAddress, std::string>& places) {
    for (auto cell = cells.begin(); cell != cells.end();) {
        const CellAddress& first = cell->first;
        try {
            const std::int32_t base = RecordBaseOf(game, kind, static_cast<int>(first.Item));
            const Values read = kind.Read(table, base);
            Values taken = read;
            for (; cell != cells.end() && cell->first.Item == first.Item; ++cell) {
                try {
                    TakeText(kind.Fields[cell->first.Key], taken, cell->second);
                } catch (const Refusal& refusal) {
                    throw Refusal(PlaceOf(places, cell->first) + first.ItemName + ", " + refusal.what());
                }
            }
            OnlyChanged(taken, read);
            WriteRecord(table, base, taken);
        } catch (const Refusal&) {
            throw;
        } catch (const std::exception& error) {
            throw Refusal(PlaceOf(places, first) + first.ItemName + ": " + error.what());
        }
    }
    return table;
}

}  // namespace

ModInstallation::ModInstallation(Fleet game)
    : fleet_(std::move(game)),
      shipNames_(fleet_.Ships),
      guns_(GunKind(fleet_.Game)),
      missiles_(MissileKind(fleet_.Game)),
      shipKeys_(ProfileKeys(kMaxGunMounts, kMaxMissileMounts)),
      modsFolder_(GamePath(fleet_.Game.GameFolder, kModsFolderName)),
      gameName_(fleet_.Game.Catalogue.ReadString("Info", "VK", "")) {
    const OriginalsBackup backup = BackupOf(fleet_.Game.GameFolder, fleet_.Game.Catalogue);
    const std::optional<std::string> switchFile = backup.OriginalOf(kSwitchFile);
    for (std::size_t item = 0; item < fleet_.Ships.size(); ++item) AddShip(item, backup, switchFile);
    if (!guns_.Names.empty()) AddTable(SheetKind::Guns, guns_.TableFile, guns_.TablePath, backup);
    if (!missiles_.Names.empty()) AddTable(SheetKind::Missiles, missiles_.TableFile, missiles_.TablePath, backup);
    Cells applied;
    try {
        applied = AppliedCells();
    } catch (const Exception& error) {
        recordProblem_ = error.Message() +
                         ": it is damaged. Run \"restore --all\" to put the originals back (which removes it), or "
                         "\"mods apply --drop-own-changes\" to lay the mods over the originals again";
    }
    for (Unit& unit : units_) {
        const Cells set = UnitCells(unit, applied);
        if (set.empty()) continue;
        try {
            std::vector<std::uint8_t> built = Build(unit, unit.Original, set, {});
            unit.AppliedSet = built == unit.Current ? unit.CurrentCells : CellsOf(unit, built);
            unit.AppliedBuild = Unit::Built{set, std::move(built)};
        } catch (const std::exception&) {  // the mods then set what no longer fits the original: take them as set
            unit.AppliedSet = Overlay(unit.OriginalCells, set);
        }
    }
}

void ModInstallation::AddShip(std::size_t item, const OriginalsBackup& backup,
                              const std::optional<std::string>& switchFile) {
    const std::string& name = fleet_.Ships[item];
    const ShipFile file = FindShipFile(fleet_, name);
    Unit unit;
    unit.Item = item;
    unit.File = "Ships\\" + file.Name;
    unit.Path = file.Path;
    unit.Current = ReadWholeFileReadOnly(file.Path);
    // Refused as a ship the game could not load before its original is looked for; each file read once.
    unit.CurrentCells = CellsOf(unit, unit.Current);
    const std::string originalFile = OriginalShipFile(fleet_, switchFile, name);
    unit.Original = OriginalBytes(backup, originalFile);
    // A ship no change reached has its original's values, read once.
    unit.OriginalCells = unit.Original == unit.Current ? unit.CurrentCells : CellsOf(unit, unit.Original);
    unit.BaseIsCurrent = !SameShape(unit.Original, unit.Current);
    units_.push_back(std::move(unit));
}

void ModInstallation::AddTable(SheetKind kind, const std::string& file, const std::string& path,
                               const OriginalsBackup& backup) {
    Unit unit;
    unit.Kind = kind;
    unit.File = file;
    unit.Path = path;
    unit.Original = OriginalBytes(backup, file);
    unit.Current = BytesOf(path);
    unit.OriginalCells = CellsOf(unit, unit.Original);
    unit.CurrentCells = CellsOf(unit, unit.Current);
    units_.push_back(std::move(unit));
}

bool ModInstallation::Unit::BuiltFrom(const Cells& cells) const {
    if (!AppliedBuild || BaseIsCurrent || AppliedBuild->From.size() != cells.size()) return false;
    // A build reads each cell's place and text; the names only go into messages.
    return std::equal(cells.begin(), cells.end(), AppliedBuild->From.begin(), [](const auto& a, const auto& b) {
        return !(a.first < b.first) && !(b.first < a.first) && a.second == b.second;
    });
}

Cells ModInstallation::CellsOf(const Unit& unit, std::span<const std::uint8_t> bytes) const {
    if (unit.Kind == SheetKind::Guns) return WeaponCells(fleet_.Game, guns_, unit.Kind, bytes);
    if (unit.Kind == SheetKind::Missiles) return WeaponCells(fleet_.Game, missiles_, unit.Kind, bytes);
    const std::string& name = fleet_.Ships[unit.Item];
    const ShipValues values = CheckedShipValues(fleet_, bytes, name);
    Cells cells;
    for (std::size_t key = 0; key < shipKeys_.size(); ++key) {
        std::string text = ValueText(fleet_, values, shipKeys_[key], true);
        if (!text.empty()) {
            cells.emplace_hint(cells.end(), CellAddress{unit.Kind, unit.Item, key, name, shipKeys_[key].Key}, text);
        }
    }
    return cells;
}

std::vector<std::uint8_t> ModInstallation::Build(const Unit& unit, const std::vector<std::uint8_t>& base,
                                                 const Cells& cells, const Places& places) const {
    if (unit.Kind == SheetKind::Guns) return BuildTable(fleet_.Game, guns_, base, cells, places);
    if (unit.Kind == SheetKind::Missiles) return BuildTable(fleet_.Game, missiles_, base, cells, places);
    const std::string& name = fleet_.Ships[unit.Item];
    const LoadedShip ship{name, "", unit.Path, base, CheckedShipValues(fleet_, base, name)};
    ShipValues values = ship.Values;
    // In a profile's order, so that a booster is switched on before its values are set.
    for (const auto& [address, text] : cells) {
        try {
            SetShipValue(fleet_, ship, values, shipKeys_[address.Key], text);
        } catch (const Refusal& refusal) {
            throw Refusal(PlaceOf(places, address) + refusal.what());
        }
    }
    try {
        return SavedShipFile(fleet_, ship, values);
    } catch (const Refusal& refusal) {
        throw Refusal(PlaceOf(places, cells.begin()->first) + refusal.what());
    }
}

Cells ModInstallation::UnitCells(const Unit& unit, const Cells& cells) const {
    if (unit.Kind != SheetKind::Ships) return OfKind(cells, unit.Kind);
    CellAddress from{SheetKind::Ships, unit.Item, 0, "", ""};
    CellAddress to{SheetKind::Ships, unit.Item + 1, 0, "", ""};
    return Cells(cells.lower_bound(from), cells.lower_bound(to));
}

CellAddress ModInstallation::Address(SheetKind kind, const std::string& item, const std::string& key) const {
    CellAddress address{kind, 0, 0, item, key};
    if (kind == SheetKind::Ships) {
        const std::optional<std::size_t> ship = shipNames_.Find(item, "ship");
        if (!ship) throw Refusal("Unknown ship: " + item);
        address.Item = *ship;
        address.ItemName = fleet_.Ships[*ship];
        if (key.empty()) return address;
        const auto known =
            std::find_if(shipKeys_.begin(), shipKeys_.end(), [&key](const ProfileKey& k) { return k.Key == key; });
        if (known == shipKeys_.end()) throw Refusal("unknown key " + key);
        address.Key = static_cast<std::size_t>(known - shipKeys_.begin());
        return address;
    }
    const auto place = [&](const auto& weapons) {
        address.Item = static_cast<std::size_t>(WeaponIndex(weapons.Names, item, weapons.Weapon));
        address.ItemName = weapons.Names[address.Item];
        if (!key.empty()) address.Key = static_cast<std::size_t>(&FieldNamed(weapons, key) - weapons.Fields.data());
    };
    if (kind == SheetKind::Guns) {
        place(guns_);
    } else {
        place(missiles_);
    }
    return address;
}

void ModInstallation::CheckKey(SheetKind kind, const std::string& key) const {
    if (kind == SheetKind::Guns) {
        (void)FieldNamed(guns_, key);
    } else if (kind == SheetKind::Missiles) {
        (void)FieldNamed(missiles_, key);
    } else if (std::none_of(shipKeys_.begin(), shipKeys_.end(), [&key](const ProfileKey& k) { return k.Key == key; })) {
        throw Refusal("unknown key " + key);
    }
}

Cells ModInstallation::AppliedCells() const {
    Cells cells;
    for (const AppliedValue& value : ReadAppliedRecord(PathIn(modsFolder_, kAppliedFileName))) {
        try {
            cells.insert_or_assign(Address(value.Kind, value.Item, value.Key), value.Text);
        } catch (const Refusal&) {
            // A ship or weapon the catalogue no longer lists has nothing of the mods in it.
        }
    }
    return cells;
}

Cells ModInstallation::ValuesOf(const Mod& mod) const {
    if (mod.SheetsUnread) return ValuesOf(WithSheets(mod));
    if (!mod.Problem.empty()) throw Refusal(mod.Problem);
    const std::string& game = gameName_;
    if (!mod.Info.Game.empty() && !SameModName(mod.Info.Game, game)) {
        throw Refusal("made for " + mod.Info.Game + ", and this is " + game);
    }
    Cells values;
    Places places;
    for (const ModSheet& sheet : mod.Sheets) {
        // Every column's key, also in a sheet without rows: an unknown one is refused as in a sheet with rows.
        const CsvRow& header = sheet.Rows.at(0);
        for (std::size_t column = 1; column < header.Fields.size(); ++column) {
            try {
                CheckKey(sheet.Kind, header.Fields[column]);
            } catch (const std::exception& error) {
                throw Refusal(SheetPlace(sheet.File, header.Line, column + 1) + error.what());
            }
        }
        std::vector<SheetCell> cells;
        try {
            cells = FilledCells(sheet);
        } catch (const Exception& error) {
            throw Refusal(error.Message());
        }
        for (const SheetCell& cell : cells) {
            const std::string place = SheetPlace(sheet.File, cell.Line, cell.Column);
            try {
                (void)Address(sheet.Kind, cell.Item, "");
            } catch (const Refusal& refusal) {  // an unknown name is refused at the row's first column
                throw Refusal(SheetPlace(sheet.File, cell.Line, 1) + refusal.what());
            }
            try {
                const CellAddress address = Address(sheet.Kind, cell.Item, cell.Key);
                values.insert_or_assign(address, cell.Text);
                places.insert_or_assign(address, place);
            } catch (const Refusal& refusal) {
                throw Refusal(place + refusal.what());
            }
        }
    }
    // Each value as the installation shows it once set: a weapon named by its number reads as its name.
    Cells shown;
    for (const Unit& unit : units_) {
        const Cells set = UnitCells(unit, values);
        if (set.empty()) continue;
        const bool known = unit.BuiltFrom(set);
        const Cells fresh = known ? Cells{} : CellsOf(unit, Build(unit, unit.Base(), set, places));
        const Cells& built = known ? *unit.AppliedSet : fresh;
        for (const auto& [address, text] : set) {
            const auto found = built.find(address);
            shown.emplace(address, found == built.end() ? text : found->second);
        }
    }
    return shown;
}

std::optional<CellAddress> ModInstallation::Find(SheetKind kind, const std::string& item,
                                                 const std::string& key) const {
    try {
        return Address(kind, item, key);
    } catch (const Refusal&) {
        return std::nullopt;
    }
}

std::string ModInstallation::OriginalsDigest(const Cells& values) const {
    Sha256 hash;
    for (const Unit& unit : units_) {
        if (UnitCells(unit, values).empty()) continue;
        hash.Add(unit.File + '\0' + std::to_string(unit.Original.size()) + '\0');
        hash.Add(unit.Original);
    }
    return hash.HexDigest();
}

Cells ModInstallation::Originals() const {
    Cells originals;
    for (const Unit& unit : units_) originals.insert(unit.OriginalCells.begin(), unit.OriginalCells.end());
    return originals;
}

Cells ModInstallation::OwnChanges() const {
    if (!recordProblem_.empty()) throw Refusal(recordProblem_);
    Cells own;
    for (const Unit& unit : units_) own.merge(Differences(unit.CurrentCells, unit.ExpectedCells()));
    return own;
}

ApplyPlan ModInstallation::PlanApply(std::span<const ModValues> mods, bool dropOwnChanges) const {
    ApplyPlan plan;
    plan.Conflicts = FindConflicts(mods);
    const Cells modCells = Overlay(mods);
    // A damaged record need not be read when the player's own changes are dropped anyway.
    const Cells own = dropOwnChanges && !recordProblem_.empty() ? Cells{} : OwnChanges();
    plan.OwnChanges = Differences(own, modCells);
    for (const Unit& unit : units_) {
        // The originals, but not where the file as it is now lacks a part that the original had (a gun slot
        // deleted since): that value has no place to go.
        Cells target;
        for (const auto& [address, text] : unit.OriginalCells) {
            if (unit.BaseCells().contains(address)) target.emplace(address, text);
        }
        target = Overlay(std::move(target), UnitCells(unit, modCells));
        if (!dropOwnChanges) target = Overlay(std::move(target), UnitCells(unit, own));
        const Cells changes = Differences(target, unit.BaseCells());
        std::vector<std::uint8_t> after = changes.empty()           ? unit.Base()
                                          : unit.BuiltFrom(changes) ? unit.AppliedBuild->Bytes
                                                                    : Build(unit, unit.Base(), changes, {});
        if (after != unit.Current) plan.Files.push_back({unit.File, unit.Path, std::move(after)});
    }
    const std::string record = PathIn(modsFolder_, kAppliedFileName);
    const std::optional<std::vector<std::uint8_t>> before =
        FileExists(record) && recordProblem_.empty() ? std::optional(BytesOf(record)) : std::nullopt;
    std::vector<std::uint8_t> after = AppliedRecordBytes(modCells);
    if ((before || !recordProblem_.empty() || !modCells.empty()) && before != after) {
        plan.Files.push_back({std::string(kModsFolderName) + "\\" + kAppliedFileName, record, std::move(after)});
    }
    return plan;
}

std::vector<std::pair<SheetKind, Sheet>> ModInstallation::OwnChangeSheets(std::vector<std::string>& leftOut) const {
    std::vector<std::pair<SheetKind, Sheet>> sheets;
    for (const SheetKind kind : {SheetKind::Ships, SheetKind::Guns, SheetKind::Missiles}) {
        const std::vector<std::string>& items = kind == SheetKind::Ships  ? fleet_.Ships
                                                : kind == SheetKind::Guns ? guns_.Names
                                                                          : missiles_.Names;
        std::vector<std::string> keys;
        if (kind == SheetKind::Ships) {
            for (const ProfileKey& key : shipKeys_) keys.push_back(key.Key);
        } else if (kind == SheetKind::Guns) {
            for (const auto& field : guns_.Fields) keys.push_back(field.Name);
        } else {
            for (const auto& field : missiles_.Fields) keys.push_back(field.Name);
        }
        Sheet expected(1, {KindWord(kind)});
        expected[0].insert(expected[0].end(), keys.begin(), keys.end());
        for (const std::string& item : items) {
            expected.push_back({item});
            expected.back().resize(keys.size() + 1);
        }
        Sheet now = expected;
        for (const Unit& unit : units_) {
            if (unit.Kind != kind) continue;
            for (const auto& [address, text] : unit.ExpectedCells()) expected[address.Item + 1][address.Key + 1] = text;
            for (const auto& [address, text] : unit.CurrentCells) now[address.Item + 1][address.Key + 1] = text;
        }
        Sheet changed = ChangedCells(expected, now, leftOut);
        if (changed.size() > 1) sheets.emplace_back(kind, std::move(changed));
    }
    return sheets;
}

ModInstallation::CellStates ModInstallation::States() const {
    CellStates states;
    for (const Unit& unit : units_) {
        states.Original.insert(unit.OriginalCells.begin(), unit.OriginalCells.end());
        states.Applied.insert(unit.ExpectedCells().begin(), unit.ExpectedCells().end());
        states.Now.insert(unit.CurrentCells.begin(), unit.CurrentCells.end());
    }
    return states;
}

std::string WhyItCannotBeOn(const ModInstallation& game, const Mod& mod) {
    try {
        (void)game.ValuesOf(mod);
        return "";
    } catch (const Refusal& refusal) {
        return WithoutControls(refusal.what());
    }
}

std::vector<ModValues> CheckMods(const ModInstallation& game, std::vector<Mod>& mods) {
    std::vector<ModValues> values;
    for (std::size_t i = 0; i < mods.size(); ++i) {
        Mod& mod = mods[i];
        ModValues& checked = values.emplace_back(ModValues{ShownModName(mods, i), {}});
        if (mod.SheetsUnread) continue;  // switched off and large: read when switched on
        try {
            checked.Values = game.ValuesOf(mod);
        } catch (const Refusal& refusal) {
            mod.Problem = WithoutControls(refusal.what());
        }
    }
    return values;
}

std::vector<ModValues> SwitchedOn(const std::vector<Mod>& mods, const std::vector<ModValues>& values) {
    RefuseMissingMods(mods);
    std::vector<ModValues> on;
    for (std::size_t i = 0; i < mods.size(); ++i) {
        if (!mods[i].On) continue;
        if (!mods[i].Problem.empty()) {
            throw Refusal(ShownModName(mods, i) + " is switched on but cannot be: " + mods[i].Problem +
                          " (switch it off, and the others apply)");
        }
        on.push_back(values[i]);
    }
    return on;
}

std::vector<std::string> ApplyReport(const ApplyPlan& plan, bool dropOwnChanges) {
    std::vector<std::string> lines;
    for (const Conflict& conflict : plan.Conflicts) lines.push_back(ConflictLine(conflict));
    for (const auto& [address, text] : plan.OwnChanges) {
        lines.push_back(std::string(dropOwnChanges ? "dropped" : "kept") + " your own change: " + address.Name() + " " +
                        text);
    }
    std::size_t changed = 0;
    for (const PlannedFile& file : plan.Files) {
        if (file.File.starts_with(kModsFolderName)) continue;  // the record of the apply, not a game file
        lines.push_back(file.File + " changed");
        ++changed;
    }
    lines.push_back(std::to_string(changed) + (changed == 1 ? " file" : " files") + " changed");
    return lines;
}

std::vector<std::string> CommitApply(const ModInstallation& game, const ApplyPlan& plan) {
    RemoveUnlessPlain(PathIn(game.ModsFolder(), kAppliedFileName));  // a damaged record that is no file
    FileChangeSet changes(game.Game().Game.GameFolder, "the apply of the mods");
    for (const PlannedFile& file : plan.Files) changes.Replace(file.Path, file.After);
    return changes.Commit();
}

}  // namespace tovarin
