#pragma once

#include <optional>
#include <string>
#include <vector>

// A ship, gun or missile named as a player types it or a sheet holds it: spelled as the catalogue spells it, or the
// same in any letter case ("kestrel", "scatter gun"). A name that means two of them is refused naming both.
namespace tovarin {

// The place in the catalogue's list of the one item `name` means; none when it means none. Refused naming them
// when it means more than one that differ only in case (`kind` says what they are: "ship", "gun", "missile").
[[nodiscard]] std::optional<std::size_t> FindMeant(const std::vector<std::string>& names, const std::string& name,
                                                   const char* kind);

// The catalogue's spelling of the ship `name` means; refused as "Unknown ship" when it means none.
[[nodiscard]] std::string ShipMeant(const std::vector<std::string>& ships, const std::string& name);

}  // namespace tovarin
