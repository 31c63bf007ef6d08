#pragma once

#include <chrono>
#include <filesystem>

#include "cli_run.h"
#include "ships/ship_session.h"

namespace tovarin::testkit {

// The demo installation with every ship float and booster value half a unit off a whole number (600.5 shows as
// 600), the byte after each missile count 1, the SLID chunks' value 2; the Pulse Laser's speed and the Dart's range
// not whole either, and a flag bit of the Dart that no box shows set. Every file a day old.
struct Untidy : Demo {
    Untidy() {
        for (DemoShip ship : DemoShips()) {
            for (auto [box, value] : FloatBoxes(ship.Plan)) *value += 0.5F;
            if (ship.Plan.Booster)
                for (float& value : ship.Plan.Booster->Values) value += 0.5F;
            if (ship.Plan.Missiles)
                for (ShipMissileMount& mount : ship.Plan.Missiles->Mounts) mount.LoadsHigh = 1;
            ship.Plan.SlideValue = 2;
            WriteFile("Ships\\" + ship.File, BuildShip(ship.Plan).File);
        }
        Bytes guns = ReadFile("Game\\bullet.iff"), missiles = ReadFile("Game\\missile.iff");
        PutFloat(guns, static_cast<std::size_t>(DemoGunBase(0)) + 20, 1234.5F);
        PutFloat(missiles, static_cast<std::size_t>(DemoMissileBase(0)) + 28, 2500.25F);
        missiles[static_cast<std::size_t>(DemoMissileBase(0)) + 73] |= 0x20;
        WriteFile("Game\\bullet.iff", guns);
        WriteFile("Game\\missile.iff", missiles);
        for (const auto& entry : std::filesystem::recursive_directory_iterator(Root())) {
            if (entry.is_regular_file()) {
                std::filesystem::last_write_time(
                    entry.path(), std::filesystem::file_time_type::clock::now() - std::chrono::hours(24));
            }
        }
    }
};

}  // namespace tovarin::testkit
