#pragma once

#include <compare>
#include <cstddef>
#include <map>
#include <span>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

// Balance mods as values: each one a set of cells of the ship, gun and missile sheets, laid over the installation
// in load order. Two mods meet only where they set the same value of the same ship or weapon, never because they
// change the same file.
namespace tovarin {

// The three sheets a mod may hold, in the order they are applied and listed.
enum class SheetKind { Ships, Guns, Missiles };

// One value as a sheet names it: a ship's profile key or a weapon's field. Addresses compare by place (the item in
// the catalogue's list, the key among the sheet's columns), so that every list of cells runs in the order of the
// sheets; the names are carried for the messages.
struct CellAddress {
    SheetKind Kind = SheetKind::Ships;
    std::size_t Item = 0;
    std::size_t Key = 0;
    std::string ItemName;  // "Kestrel", "Pulse Laser"
    std::string KeyName;   // "speedmax", "damage"

    bool operator<(const CellAddress& other) const {
        return std::tie(Kind, Item, Key) < std::tie(other.Kind, other.Item, other.Key);
    }
    // "Kestrel speedmax", as the messages name a value.
    [[nodiscard]] std::string Name() const { return ItemName + " " + KeyName; }
};

// Values by address, each as the text a sheet holds for it.
using Cells = std::map<CellAddress, std::string>;

// A switched-on mod's values, under the name the messages give it.
struct ModValues {
    std::string Name;
    Cells Values;
};

// The mods laid over one another in load order: where two set a value, the later one's text stands.
[[nodiscard]] Cells Overlay(std::span<const ModValues> mods);

// `top` laid over `base`.
[[nodiscard]] Cells Overlay(Cells base, const Cells& top);

// A value that two or more mods set to different texts: each mod with its text, in load order; the last one wins.
struct Conflict {
    CellAddress Address;
    std::vector<std::pair<std::string, std::string>> Settings;  // mod name, its text
};

// Every conflict, in the order of the sheets. Mods that set a value to the same text do not conflict.
[[nodiscard]] std::vector<Conflict> FindConflicts(std::span<const ModValues> mods);

// "Kestrel speedmax: Faster Fighters 640, Heavy Metal 600 -> Heavy Metal"
[[nodiscard]] std::string ConflictLine(const Conflict& conflict);

// The cells of `now` whose text is not the one `expected` holds (or that `expected` lacks).
[[nodiscard]] Cells Differences(const Cells& now, const Cells& expected);

// The cells of `cells` of one kind.
[[nodiscard]] Cells OfKind(const Cells& cells, SheetKind kind);

}  // namespace tovarin
