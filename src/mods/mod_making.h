#pragma once

#include <string>
#include <vector>

#include "mods/mod_installation.h"

// A mod made by "mods make" (and the Fleet page's "Make a mod from my changes"): its folder named in the system's
// own encoding, its mod.ini written as the exports write sheets, UTF-8 behind a byte-order mark when a name is not
// ASCII, so that both Windows' Notepad and every other editor show the name as typed.
namespace tovarin {

// The folder name for a mod's name given as game text: UTF-8, as the file layer takes every path on every system.
[[nodiscard]] std::string SystemFolderName(const std::string& name);

// The bytes of mod.ini for a mod made in this installation: its name, version (1.0 when none is given), author and
// description, the game it was made for, and with `fromChanges` the original values of what the player changed,
// against which its values were made.
[[nodiscard]] std::string MadeModFileBytes(const ModInstallation& game, ModInfo info, bool fromChanges);

// What making a mod did, for the front-end to say.
struct MadeMod {
    std::string Folder;                // where it was made, relative to the game folder ("Tovarin Mods\My Balance")
    std::string Changes;               // what it holds in words ("2 ships, 1 gun"), when it could be switched on
    std::string WhyOff;                // why it was left switched off, or ""
    std::vector<std::string> LeftOut;  // each value of one's own a sheet cannot carry ("Halberd, gun3")
};

// "mods make NAME [--from-changes]" and the Fleet page's "Make a mod from my changes...": a new mod folder in
// "Tovarin Mods" with its mod.ini and, with `fromChanges`, the player's own changes as sheets, last in the load order
// and switched on where it can be (it holds what the installation holds already). Refused, with nothing made, for a
// name that is no folder name or is taken.
MadeMod MakeMod(const ModInstallation& game, const ModInfo& info, bool fromChanges);

// "made Tovarin Mods\\My Balance: 2 ships, 1 gun", as both front-ends say it, the folder shown as given.
[[nodiscard]] std::string MadeModText(const MadeMod& made, const std::string& folderShown);
// "Halberd, gun3 left out: ...", for each value a sheet cannot carry.
[[nodiscard]] std::string LeftOutText(const std::string& cell);

// Text, in either encoding, as the bytes of a text file: ASCII as it is, anything else UTF-8 behind a byte-order
// mark.
[[nodiscard]] std::string Utf8FileBytes(const std::string& text);

}  // namespace tovarin
