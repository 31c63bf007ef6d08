#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// Whether the ship loader could load a ship file, asked of its bytes before they replace the file. A rebuilt file
// can move a marker into a place where the loader no longer finds it when the ship's chunks overlap; the player
// would then have a ship that the editor cannot open again.
namespace tovarin {

struct ShipLoadCheck {
    std::string Problem;        // the error the load would show, without its full stop; empty when the file loads
    std::size_t GunMounts = 0;  // the gun mounts the Ships tab would list
};

// Follows the loader step by step on the bytes: the same marker searches from the same starting points, the same
// reads with the same bounds, counts and value checks. gunTypes and missileTypes are the lengths of the gun and
// missile lists, which every mount's type must index.
[[nodiscard]] ShipLoadCheck CheckShipLoads(std::span<const std::uint8_t> file, std::size_t gunTypes,
                                           std::size_t missileTypes);

}  // namespace tovarin
