#include "mods/restored_files.h"

#include <set>

#include "gamefiles/case_fold.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/folders.h"
#include "gamefiles/game_paths.h"
#include "mods/applied_record.h"
#include "mods/mod_folder.h"
#include "sheets/fleet.h"
#include "sheets/weapon_sheet.h"

namespace tovarin {

namespace {

bool Restored(const std::set<std::string>& restored, const std::string& file) {
    return restored.contains(FoldedCase(file));
}

}  // namespace

bool ForgetAppliedValuesOf(const Installation& game, const std::vector<std::string>& files, FileChangeSet& changes) {
    const std::string record = PathIn(GamePath(game.GameFolder, kModsFolderName), kAppliedFileName);
    if (!FileExists(record)) return false;
    std::set<std::string> restored;
    for (const std::string& file : files) restored.insert(FoldedCase(file));
    const Fleet fleet = FleetOf(game);
    std::set<std::string> ships;  // the ships whose data the restored files hold now
    for (const std::string& ship : fleet.Ships) {
        try {
            if (Restored(restored, "Ships\\" + FindShipFile(fleet, ship).Name)) ships.insert(ship);
        } catch (const std::exception&) {
            // A ship whose file cannot be found has no file among those put back.
        }
    }
    const bool guns = Restored(restored, GunKind(game).TableFile);
    const bool missiles = Restored(restored, MissileKind(game).TableFile);
    std::vector<AppliedValue> kept;
    bool forgot = false;
    for (AppliedValue& value : ReadAppliedRecord(record)) {
        const bool over = value.Kind == SheetKind::Ships  ? ships.contains(value.Item)
                          : value.Kind == SheetKind::Guns ? guns
                                                          : missiles;
        forgot = forgot || over;
        if (!over) kept.push_back(std::move(value));
    }
    if (forgot) changes.Replace(record, AppliedRecordBytes(kept));
    return forgot;
}

}  // namespace tovarin
