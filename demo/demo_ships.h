#pragma once

#include <string>
#include <vector>

#include "demo/ship_builder.h"

// The demo installation's catalogue contents: our own guns, missiles and eight ships that between them carry
// every optional part a ship file can have.
namespace tovarin::demo {

// Gun index = position. Index 11 is the one gun that carries ammunition.
[[nodiscard]] const std::vector<std::string>& DemoGunNames();
// Missile index = position. The Hydra Cluster splits into Darts.
[[nodiscard]] const std::vector<std::string>& DemoMissileNames();

struct DemoShip {
    std::string Name;  // the catalogue's display name
    std::string File;  // the file under Ships\ .
    ShipPlan Plan;
};

// In catalogue order: Kestrel, Warden, Halberd, Corsair, Lancet, Bastion, Marauder, Sable.
[[nodiscard]] std::vector<DemoShip> DemoShips();

}  // namespace tovarin::demo
