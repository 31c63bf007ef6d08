#pragma once

#include <optional>
#include <string>
#include <unordered_map>
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

// A catalogue's list made ready for many look-ups (every row of a mod's sheets, every value the last apply
// recorded): each name found as FindMeant finds it, without going through the whole list for each, so that naming
// every ship of a large fleet takes time in step with the fleet, not with its square.
class NamesIndex {
public:
    explicit NamesIndex(const std::vector<std::string>& names);

    // As FindMeant(names, name, kind).
    [[nodiscard]] std::optional<std::size_t> Find(const std::string& name, const char* kind) const;

private:
    using Places = std::unordered_map<std::string, std::vector<std::size_t>>;
    std::vector<std::string> names_;
    Places exact_;   // each spelling's places, in the list's order
    Places folded_;  // by the name in its folded case (gamefiles/case_fold.h)
};

}  // namespace tovarin
