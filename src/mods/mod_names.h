#pragma once

#include <string>

// Which names a mod may have. A mod's name is a folder or file name in "Tovarin Mods" and a key of the load order,
// and mods travel between Linux and Windows: a name is refused on every system when Windows could not hold it as
// a folder, when the program keeps it for itself, or when a load order line could not carry it.
namespace tovarin {

// What is wrong with the name as a mod's name, said so that its maker knows how to rename it; "" when nothing is.
[[nodiscard]] std::string ModNameProblem(const std::string& name);

}  // namespace tovarin
