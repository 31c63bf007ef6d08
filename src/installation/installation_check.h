#pragma once

#include <string>
#include <vector>

#include "installation/installation.h"

// What `check` verifies of an installation, read only: the catalogue's sections and keys the editor reads, every
// ship file as the loader finds its parts, every weapon record inside its table, and the switch file's pairs.
namespace tovarin {

// One line per finding, each naming the file, section, ship or weapon it concerns; empty for a sound installation.
[[nodiscard]] std::vector<std::string> CheckInstallation(const Installation& game);

}  // namespace tovarin
