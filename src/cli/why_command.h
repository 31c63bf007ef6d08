#pragma once

#include <string>
#include <utility>
#include <vector>

#include "cli/commands.h"
#include "mods/value_origin.h"

// "why": where a ship's, gun's or missile's values came from (why_command.cpp).
namespace tovarin::cli {

int WhyCommand(const CommandArguments& arguments, Console& console);

// The chains "why" prints for these arguments, key by key; refused as "why" refuses them.
[[nodiscard]] std::vector<std::pair<std::string, std::vector<OriginStep>>> OriginsAsked(
    const ModInstallation& game, const CommandArguments& arguments);

}  // namespace tovarin::cli
