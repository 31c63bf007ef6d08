#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gamefiles/originals_backup.h"
#include "sheets/fleet.h"

// The game files as Tovarin first found them, as "diff" and "export --changed" read them: from the copies kept in
// "Tovarin Backup", or the game file itself while none is kept.
namespace tovarin {

// The file's bytes, read without asking to write it; refused naming the file when it cannot be read.
[[nodiscard]] std::vector<std::uint8_t> BytesOf(const std::string& path);

// The original bytes of a game file (relative to the game folder); refused naming it when Tovarin created the file
// or its original cannot be read.
[[nodiscard]] std::vector<std::uint8_t> OriginalBytes(const OriginalsBackup& backup, const std::string& file);

// The game file whose original holds a ship's values ("Ships\kestrel.iff"): its own, or its partner's when the
// original switch file names one.
[[nodiscard]] std::string OriginalShipFile(const Fleet& fleet, const OriginalsBackup& backup, const std::string& name);

// The same with the original switch file looked up once for a whole fleet (backup.OriginalOf(kSwitchFile)).
[[nodiscard]] std::string OriginalShipFile(const Fleet& fleet, const std::optional<std::string>& originalSwitchFile,
                                           const std::string& name);

// A ship's values as the installation held them before Tovarin first changed it; refused naming the file whose
// original cannot be read or loaded.
[[nodiscard]] ShipValues OriginalShipValues(const Fleet& fleet, const OriginalsBackup& backup, const std::string& name);

}  // namespace tovarin
