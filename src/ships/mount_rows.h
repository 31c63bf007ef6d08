#pragma once

#include <cstdint>
#include <string>

// The entries of the Ships tab's mount lists, as the loader, the mount editor and the profile import build them.
namespace tovarin {

// A gun mount: the gun's name, and for the one gun that carries ammunition, " * " and the rounds left.
[[nodiscard]] std::string GunMountRow(const std::string& gunName, std::uint8_t gun, std::uint16_t ammo);

// A turret, listed after the gun mounts.
[[nodiscard]] std::string TurretRow(const std::string& gunName);

// A missile mount: the missile's name, " * " and how many it carries.
[[nodiscard]] std::string MissileMountRow(const std::string& missileName, std::uint8_t loads);

}  // namespace tovarin
