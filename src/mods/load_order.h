#pragma once

#include <string>
#include <vector>

#include "gamefiles/file_change_set.h"
#include "mods/mod_folder.h"

// The load order: "Tovarin Mods\load order.ini" lists the mods by their folder or sheet name, in the order they
// are laid over the game, each switched on or off. The program keeps it; a person may edit it. A mod the file
// does not list (one just unpacked) comes last, switched off; an entry whose mod is gone stays, as missing.
namespace tovarin {

inline constexpr const char* kLoadOrderFileName = "load order.ini";
inline constexpr const char* kLoadOrderSection = "Load order";

struct LoadOrderEntry {
    std::string Entry;
    bool On = false;
};

// The file's entries in file order (an entry listed twice counts once, as first listed); none when it is missing.
// "on", "1", "yes" and "true" switch a mod on, in any letter case; anything else leaves it off.
[[nodiscard]] std::vector<LoadOrderEntry> ReadLoadOrder(const std::string& path);

// The file's text as the program writes it.
[[nodiscard]] std::string LoadOrderText(const std::vector<LoadOrderEntry>& entries);

// Every mod in the mods folder (the folder's path), in load order. The sheets are read of the switched-on mods and
// of the switched-off ones within kMaxOffModReadBytes; the others' only found and measured (Mod::SheetsUnread), and
// none at all without `readSheets`.
[[nodiscard]] std::vector<Mod> InstalledMods(const std::string& modsFolder, bool readSheets = true);

// Writes the load order of these mods into the mods folder, in one replacement.
void WriteLoadOrder(const std::string& modsFolder, const std::vector<Mod>& mods);

// Refuses, saying why, a mod's folder or sheet name that the load order file cannot hold as a key: one with "=", or
// one that starts with ";" or "[" (the INI functions take those for a comment or a section).
void CheckListable(const std::string& entry);

// True when a mod is switched on or the last apply left its record: the game files may hold mods' values.
[[nodiscard]] bool ModsInPlay(const std::string& modsFolder);

// Switches every mod off and forgets what the last apply laid over the originals, as part of the change that puts
// the originals back: the game then holds no mod's values, and a value a mod set must not count as the player's own
// change.
void SwitchEveryModOff(const std::string& modsFolder, FileChangeSet& changes);

// Two names of mods or entries are the same in any letter case, as Windows names folders.
[[nodiscard]] bool SameModName(const std::string& a, const std::string& b);

// A load order entry whose mod is not in the mods folder: listed, named by its entry, its problem saying so.
[[nodiscard]] Mod MissingMod(const LoadOrderEntry& listed);

// The mod's name as every list shows it: with its folder beside it when another mod has the same name.
[[nodiscard]] std::string ShownModName(const std::vector<Mod>& mods, std::size_t index);

// Refuses, naming each, when the load order lists mods that are not there: an apply without them would take their
// values out of the game without a word.
void RefuseMissingMods(const std::vector<Mod>& mods);

// The mod that NAME means: its name or its entry, in any letter case (its entry decides between mods of one
// name); refused when none or more than one does.
[[nodiscard]] std::size_t ModNamed(const std::vector<Mod>& mods, const std::string& name);

}  // namespace tovarin
