#pragma once

#include <cstdint>
#include <span>

#include "ships/ship_rebuild.h"

namespace tovarin {

// Every value a save writes, read from a ship file by the loader's rules: the parts located as a load locates them
// (failing as a load would), floats as the boxes show them, a part the ship lacks left out. Saving these values
// unchanged gives the file back as it is.
[[nodiscard]] ShipValues ReadShipValues(std::span<const std::uint8_t> file);

}  // namespace tovarin
