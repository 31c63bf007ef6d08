#pragma once

#include <cstdint>
#include <string>

#include "demo/demo_ships.h"
#include "demo/game_folder.h"

// The demo installation: a complete game folder of our own inventions, for trying the editor and for the tests
// that need a whole game. Each part can be added on its own to any GameFolder.
namespace tovarin::demo {

// The catalogue's "Guns", "Missiles", "GunData" and "MissData", and Game\bullet.iff and Game\missile.iff with a
// record for every gun and missile at the catalogue's positions.
void AddDemoWeapons(GameFolder& folder);
// The catalogue's "ships", Ships\ with the eight demo ships, Ships\switch.dat with identity entries, and a
// default profile (".def") for every ship.
void AddDemoShips(GameFolder& folder);
// The catalogue's "InstallData" and a data.tre whose listed positions do not hold the patch mark yet.
void AddDemoArchive(GameFolder& folder);
// All of the above.
void WriteDemoInstallation(GameFolder& folder);

// Record positions in the weapon tables, as the catalogue lists them.
[[nodiscard]] std::int32_t DemoGunBase(int gun);
[[nodiscard]] std::int32_t DemoMissileBase(int missile);

// A ship's default profile: every value the Ships tab shows, visibly different from the ship file's, with the
// ship's own autoslide and booster.
[[nodiscard]] std::string DefaultProfileText(const DemoShip& ship);

}  // namespace tovarin::demo
