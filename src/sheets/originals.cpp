#include "sheets/originals.h"

#include <optional>

#include "gamefiles/errors.h"
#include "gamefiles/ini_file.h"
#include "gamefiles/whole_files.h"
#include "sheets/refusal.h"

namespace tovarin {

std::vector<std::uint8_t> BytesOf(const std::string& path) {
    try {
        return ReadWholeFileReadOnly(path);
    } catch (const Exception& error) {
        throw Refusal(path + ": " + error.Message() + ".");
    }
}

std::vector<std::uint8_t> OriginalBytes(const OriginalsBackup& backup, const std::string& file) {
    const std::optional<std::string> original = backup.OriginalOf(file);
    if (!original) throw Refusal(file + " was created by Tovarin and has no original");
    return BytesOf(*original);
}

// The original switch file's entry names the file whose original holds the ship's values. A ship it has no entry
// for was not exchanged: the program gives every ship its identity entry before its first change.
std::string OriginalShipFile(const Fleet& fleet, const OriginalsBackup& backup, const std::string& name) {
    return OriginalShipFile(fleet, backup.OriginalOf(kSwitchFile), name);
}

std::string OriginalShipFile(const Fleet& fleet, const std::optional<std::string>& switchFile,
                             const std::string& name) {
    const std::string entry = switchFile ? TIniFile(*switchFile).ReadString("swships", name, "") : "";
    return "Ships\\" + ShipFileOfKey(fleet.Game, entry.empty() ? name : entry).Name;
}

ShipValues OriginalShipValues(const Fleet& fleet, const OriginalsBackup& backup, const std::string& name) {
    const std::string file = OriginalShipFile(fleet, backup, name);
    return CheckedShipValues(fleet, OriginalBytes(backup, file), "The original of " + file + " would not load");
}

}  // namespace tovarin
