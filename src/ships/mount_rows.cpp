#include "ships/mount_rows.h"

#include "gamefiles/numbers.h"
#include "ships/ship_layout.h"

namespace tovarin {

std::string GunMountRow(const std::string& gunName, std::uint8_t gun, std::uint16_t ammo) {
    if (gun != ShipLayout::kAmmunitionGun) return gunName;
    return gunName + " * " + IntToStr(ammo);
}

std::string TurretRow(const std::string& gunName) { return "Turret: " + gunName; }

std::string MissileMountRow(const std::string& missileName, std::uint8_t loads) {
    return missileName + " * " + IntToStr(loads);
}

}  // namespace tovarin
