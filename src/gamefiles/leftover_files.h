#pragma once

#include <string>

// A process ended in the middle of a change (a crash, a kill, a power cut) can leave the temporary files it was
// writing beside the game's own: "kestrel.iff.4711-3.part~", "switch.dat.4711-5.edit~", "notes.ini.~a1B2c3". They
// are never part of the game or of a change (the recovery record is the only file a put-back needs), so the next
// start removes them.
namespace tovarin {

// Removes every temporary file of ours (gamefiles/whole_files.h, IsOurTemporary) in the game folder itself and in
// the trees where our writers put them: Ships, Game, "Tovarin Backup" and "Tovarin Mods". One that cannot be removed
// stays until a later start; nothing is said either way. Only the holder of the folder's lock may call it: any other
// writer's temporary file is then one whose writer has ended.
void RemoveOurTemporaries(const std::string& gameFolder);

}  // namespace tovarin
