#pragma once

#include "cli/commands.h"

// The gun slot editor's, the ship switcher's and the installation check's commands (slot_commands.cpp,
// swap_command.cpp, check_command.cpp).
namespace tovarin::cli {

int ListSlots(const CommandArguments& arguments, Console& console);
int CopySlot(const CommandArguments& arguments, Console& console);
int DeleteSlot(const CommandArguments& arguments, Console& console);
int SwapShips(const CommandArguments& arguments, Console& console);
int CheckCommand(const CommandArguments& arguments, Console& console);

}  // namespace tovarin::cli
