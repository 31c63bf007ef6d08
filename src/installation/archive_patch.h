#pragma once

#include <functional>
#include <string>
#include <vector>

#include "gamefiles/ini_file.h"

// The archive patch as plain operations on a game folder, shared by the window's start-up and "/u" and by the
// command line. The window shows the messages in boxes; the command line prints them.
namespace tovarin {

// The game's archive, and the record of its original bytes beside it, in the game folder.
inline constexpr const char* kArchiveName = "data.tre";
inline constexpr const char* kUninstallRecordName = "uninstall.dat";

// Whether the archive carries the patch, judged by its last listed byte.
enum class PatchState {
    NotListed,   // the catalogue lists no position: there is nothing to patch
    InPlace,     // the byte holds the mark
    NotInPlace,  // the byte holds anything else
    Unreadable,  // the archive is missing or shorter than the position
};

[[nodiscard]] PatchState ProbePatch(const std::string& gameFolder, const TIniFile& catalogue);

// How an installation or a removal went: the messages the player is shown, in order (the last one says whether
// it succeeded), and whether it did. A failed one ends the window's start-up.
struct PatchReport {
    std::vector<std::string> Messages;
    bool Succeeded = false;
};

// The system's words for an error code (FormatMessageA's text on Windows), shown when an input/output error
// stops the run.
using SystemTextOf = std::function<std::string(int code)>;

// Records the original of every byte the catalogue lists in uninstall.dat, then marks the byte with "A". An INI
// write that fails, or a recorded value that is no byte, is thrown as it is, after nothing was shown.
[[nodiscard]] PatchReport InstallArchivePatch(const std::string& gameFolder, const TIniFile& catalogue,
                                              const SystemTextOf& systemText);
// Writes the originals recorded in uninstall.dat back into the archive.
[[nodiscard]] PatchReport RemoveArchivePatch(const std::string& gameFolder, const SystemTextOf& systemText);

}  // namespace tovarin
