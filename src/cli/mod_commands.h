#pragma once

#include "cli/commands.h"

// The mods commands (mod_commands.cpp).
namespace tovarin::cli {

int ListMods(const CommandArguments& arguments, Console& console);
int AddMod(const CommandArguments& arguments, Console& console);
int RemoveMod(const CommandArguments& arguments, Console& console);
int SwitchModOn(const CommandArguments& arguments, Console& console);
int SwitchModOff(const CommandArguments& arguments, Console& console);
int MoveMod(const CommandArguments& arguments, Console& console);
int ShowModConflicts(const CommandArguments& arguments, Console& console);
int ApplyMods(const CommandArguments& arguments, Console& console);
int MakeMod(const CommandArguments& arguments, Console& console);
// mod_share_commands.cpp
int DescribeMod(const CommandArguments& arguments, Console& console);
int ExportModList(const CommandArguments& arguments, Console& console);
int ImportModList(const CommandArguments& arguments, Console& console);

}  // namespace tovarin::cli
