#pragma once

#include <cstdint>
#include <span>

#include "ships/ship_rebuild.h"

namespace tovarin {

// Every value a save writes, read from a ship file by the loader's rules: the parts located as a load locates them
// (failing as a load would), floats as the boxes show them, a part the ship lacks left out. Saving these values
// unchanged gives the file back as it is.
[[nodiscard]] ShipValues ReadShipValues(std::span<const std::uint8_t> file);

// The steps of the read, which the window's loader takes one by one to fill its boxes as it goes.
// The float at the position, as a box shows it.
[[nodiscard]] std::int32_t ReadShownFloat(std::span<const std::uint8_t> file, std::int32_t position);
// A gun mount whose data lies at `data` (GunsBase plus the mount's position).
[[nodiscard]] GunMountValues ReadGunMount(std::span<const std::uint8_t> file, std::int32_t data);
// A missile mount whose data lies at `data` (MissBase plus the mount's position).
[[nodiscard]] MissileMountValues ReadMissileMount(std::span<const std::uint8_t> file, std::int32_t data);
// The booster chunk's values, each 0..2147483647 ("Range check error" otherwise).
[[nodiscard]] std::array<std::int32_t, kBoosterValueCount> ReadBoosterValues(std::span<const std::uint8_t> file,
                                                                             std::int32_t boosPos);

}  // namespace tovarin
