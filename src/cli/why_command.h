#pragma once

#include "cli/commands.h"

// "why": where a ship's, gun's or missile's values came from (why_command.cpp).
namespace tovarin::cli {

int WhyCommand(const CommandArguments& arguments, Console& console);

}  // namespace tovarin::cli
