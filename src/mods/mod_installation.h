#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "gamefiles/originals_backup.h"
#include "mods/mod_cells.h"
#include "mods/mod_folder.h"
#include "sheets/changed_cells.h"
#include "sheets/fleet.h"
#include "sheets/names_meant.h"
#include "sheets/weapon_sheet.h"

// The installation as the mods see it: every ship's profile keys and every weapon's fields as cells, as the game
// files hold them now, as their kept originals held them, and as the last apply left them. An apply lays the
// switched-on mods over the originals, the player's own changes since the last apply on top, and writes each file
// that comes out different, built from its original so that a value no mod sets keeps its original bytes.
namespace tovarin {

// A file the apply changes.
struct PlannedFile {
    std::string File;  // as messages name it, relative to the game folder ("Ships\kestrel.iff")
    std::string Path;
    std::vector<std::uint8_t> After;
};

struct ApplyPlan {
    std::vector<Conflict> Conflicts;
    Cells OwnChanges;  // changed in the editor since the last apply, other than the mods set them now
    std::vector<PlannedFile> Files;
};

class ModInstallation {
public:
    // The game opened as a front-end opens it (the window's start-up, or OpenFleet), with its originals and the
    // record of the last apply. Refused naming the file when a ship, a table or an original cannot be read.
    explicit ModInstallation(Fleet game);

    [[nodiscard]] const Fleet& Game() const { return fleet_; }
    // "Tovarin Mods" in the game folder.
    [[nodiscard]] const std::string& ModsFolder() const { return modsFolder_; }

    // The values the mod sets, each as the installation shows it (a weapon by its catalogue name). Refused with
    // the reason it cannot be switched on: made for another game, a sheet that cannot be read, a ship, weapon or
    // key this installation lacks, a value the import would refuse.
    [[nodiscard]] Cells ValuesOf(const Mod& mod) const;

    // The value a sheet names so, in any letter case; none when the installation lacks it.
    [[nodiscard]] std::optional<CellAddress> Find(SheetKind kind, const std::string& item,
                                                  const std::string& key) const;

    // The SHA-256 of the original bytes of every file these values go into, with the files' names.
    [[nodiscard]] std::string OriginalsDigest(const Cells& values) const;

    // Every value as the kept originals hold it (the files as they are where nothing was kept).
    [[nodiscard]] Cells Originals() const;

    // The values changed since the last apply, or since the originals when nothing was applied. Refused, saying what
    // to do, when the record of the last apply is damaged: they cannot be told from the mods' values then.
    [[nodiscard]] Cells OwnChanges() const;

    // What an apply of these mods (switched on, in load order) writes; with dropOwnChanges the player's own
    // changes give way to the originals. Refused when the mods together give a ship that would not load.
    [[nodiscard]] ApplyPlan PlanApply(std::span<const ModValues> mods, bool dropOwnChanges) const;

    // The player's own changes as the three sheets of a mod, as "export --changed" writes them; each cell a sheet
    // cannot carry is named in `leftOut`. A sheet without a change is left out.
    [[nodiscard]] std::vector<std::pair<SheetKind, Sheet>> OwnChangeSheets(std::vector<std::string>& leftOut) const;

    // Every value three ways: as the kept originals hold it, as the last apply left it (the originals when nothing
    // was applied) and as the files hold it now.
    struct CellStates {
        Cells Original, Applied, Now;
    };
    [[nodiscard]] CellStates States() const;

private:
    // One file whose values the mods set: a ship's (the file holding its data now) or a weapon table.
    struct Unit {
        SheetKind Kind = SheetKind::Ships;
        std::size_t Item = 0;  // a ship's place in the catalogue's list
        std::string File;
        std::string Path;
        std::vector<std::uint8_t> Original;  // the bytes that held these values before Tovarin changed any
        std::vector<std::uint8_t> Current;
        Cells OriginalCells, CurrentCells;
        // What an apply builds on is the original, or the file as it is now when its gun slots changed since (the
        // catalogue describes those).
        bool BaseIsCurrent = false;
        std::optional<Cells> AppliedSet;  // the cells as the last apply left them, when it set any here
        // The cells the last apply set here and the file they built from the original, when that build succeeded:
        // the same cells build the same file, so that mods unchanged since are not built again.
        struct Built {
            Cells From;
            std::vector<std::uint8_t> Bytes;
        };
        std::optional<Built> AppliedBuild;

        [[nodiscard]] const std::vector<std::uint8_t>& Base() const { return BaseIsCurrent ? Current : Original; }
        [[nodiscard]] const Cells& BaseCells() const { return BaseIsCurrent ? CurrentCells : OriginalCells; }
        // As the last apply left them: the originals where it set nothing.
        [[nodiscard]] const Cells& ExpectedCells() const { return AppliedSet ? *AppliedSet : OriginalCells; }
        // True when these cells, built on Base(), give the file AppliedBuild holds.
        [[nodiscard]] bool BuiltFrom(const Cells& cells) const;
    };
    using Places = std::map<CellAddress, std::string>;  // where a cell was read, for the messages

    void AddShip(std::size_t item, const OriginalsBackup& backup, const std::optional<std::string>& switchFile);
    void AddTable(SheetKind kind, const std::string& file, const std::string& path, const OriginalsBackup& backup);
    [[nodiscard]] Cells CellsOf(const Unit& unit, std::span<const std::uint8_t> bytes) const;
    [[nodiscard]] std::vector<std::uint8_t> Build(const Unit& unit, const std::vector<std::uint8_t>& base,
                                                  const Cells& cells, const Places& places) const;
    [[nodiscard]] Cells UnitCells(const Unit& unit, const Cells& cells) const;
    // The cell the sheets name so; refused for a ship, weapon or key the installation lacks. An empty key looks up
    // the item alone.
    [[nodiscard]] CellAddress Address(SheetKind kind, const std::string& item, const std::string& key) const;
    // Refused for a key a sheet of this kind cannot have.
    void CheckKey(SheetKind kind, const std::string& key) const;
    [[nodiscard]] Cells AppliedCells() const;

    Fleet fleet_;
    NamesIndex shipNames_;  // the catalogue's ships, for the names of every row of the sheets and of the record
    WeaponKind<GunValues> guns_;
    WeaponKind<MissileValues> missiles_;
    std::vector<ProfileKey> shipKeys_;
    std::string modsFolder_;
    std::string gameName_;  // the catalogue's VK, which a mod's Game= names
    std::vector<Unit> units_;
    std::string recordProblem_;  // why the record of the last apply cannot be read, and what to do; or ""
};

// Why the mod cannot be switched on in this installation (what ValuesOf refuses it with), or "" when it can.
[[nodiscard]] std::string WhyItCannotBeOn(const ModInstallation& game, const Mod& mod);

// Each mod's values as ValuesOf gives them, in the mods' order; a mod that cannot be switched on gets the reason as
// its Problem, and no values; one whose sheets are unread (switched off and large) gets no values either.
[[nodiscard]] std::vector<ModValues> CheckMods(const ModInstallation& game, std::vector<Mod>& mods);

// The values of the switched-on mods, in load order; refused naming a switched-on mod that cannot be on.
[[nodiscard]] std::vector<ModValues> SwitchedOn(const std::vector<Mod>& mods, const std::vector<ModValues>& values);

// What an apply says, line by line, in every front-end: each conflict, each of the player's own changes kept (or
// dropped), each game file changed, and how many.
[[nodiscard]] std::vector<std::string> ApplyReport(const ApplyPlan& plan, bool dropOwnChanges);

// Writes the plan's files whole or not at all, as one change of the game folder's files (gamefiles/file_change_set.h);
// the names of the files written. A failure is an Exception saying what became of each file.
std::vector<std::string> CommitApply(const ModInstallation& game, const ApplyPlan& plan);

}  // namespace tovarin
