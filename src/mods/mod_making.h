#pragma once

#include <string>

#include "mods/mod_installation.h"

// A mod made by "mods make" (and the Fleet page's "Make a mod from my changes"): its folder named in the system's
// own encoding, its mod.ini written as the exports write sheets, UTF-8 behind a byte-order mark when a name is not
// ASCII, so that both Windows' Notepad and every other editor show the name as typed.
namespace tovarin {

// The folder name for a mod's name given as game text: UTF-8, as the file layer takes every path on every system.
[[nodiscard]] std::string SystemFolderName(const std::string& name);

// The bytes of mod.ini for a mod of this name made in this installation: its name, version 1.0, the game it was
// made for, and with `fromChanges` the original values of what the player changed, against which its values were
// made.
[[nodiscard]] std::string MadeModFileBytes(const ModInstallation& game, const std::string& name, bool fromChanges);

// Text, in either encoding, as the bytes of a text file: ASCII as it is, anything else UTF-8 behind a byte-order
// mark.
[[nodiscard]] std::string Utf8FileBytes(const std::string& text);

}  // namespace tovarin
