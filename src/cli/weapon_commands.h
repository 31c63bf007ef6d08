#pragma once

#include "cli/commands.h"

// The gun and missile editors' commands and sheets (weapon_commands.cpp).
namespace tovarin::cli {

int GetGuns(const CommandArguments& arguments, Console& console);
int SetGun(const CommandArguments& arguments, Console& console);
int GetMissiles(const CommandArguments& arguments, Console& console);
int SetMissile(const CommandArguments& arguments, Console& console);
int ExportGuns(const CommandArguments& arguments, Console& console);
int ExportMissiles(const CommandArguments& arguments, Console& console);
int ImportGuns(const CommandArguments& arguments, Console& console);
int ImportMissiles(const CommandArguments& arguments, Console& console);

}  // namespace tovarin::cli
