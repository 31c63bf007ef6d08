#pragma once

#include <optional>
#include <string>
#include <vector>

#include "mods/mod_cells.h"
#include "mods/value_origin.h"

// A chart as plain values, computed once for every writer: the command line's SVG and table, the window's painting.
// Nothing here knows a pixel, a control or a file format.
namespace tovarin {

struct Tick {
    double Value = 0;
    std::string Label;
};

// An axis runs from Min to Max, both on a tick.
struct Axis {
    std::string Label;
    double Min = 0;
    double Max = 1;
    std::vector<Tick> Ticks;
};

// A point: a ship at its two values, or a step of a value's chain (X its place in the chain). A changed ship carries
// where it was: its original point, and an arrow from there to it.
struct Mark {
    std::string Name;
    double X = 0;
    double Y = 0;
    std::optional<double> OriginalX, OriginalY;  // both set when the ship's original point differs from it
    std::string Title;                           // "Kestrel: speedmax 700 (was 600), hp 320"
    std::size_t Item = 0;                        // the ship's place in the fleet (its cells' Item); a step's number
};

// A weapon's bar; no value where there is none to draw (a refire delay of 0 gives no damage per second), and why
// in Note.
struct Bar {
    std::string Name;
    std::optional<double> Value;
    std::optional<double> Original;  // set when it differs from Value
    std::string Note;
    std::string Title;
    std::size_t Item = 0;  // the weapon's place in its table (its cells' Item)
};

enum class ChartKind { Scatter, Bars, Steps };

struct Chart {
    ChartKind Kind = ChartKind::Scatter;
    std::string Item;  // what each mark or bar is: "ship", "gun", "missile"
    Axis X, Y;         // a bar chart's X has no ticks: one place per bar
    std::vector<Mark> Marks;
    std::vector<Bar> Bars;
};

// A value as titles, ticks and tables write it: a whole number without a point, else to two places.
[[nodiscard]] std::string ChartNumber(double value);

// An axis reaching from `low` to `high` and a little past, its ticks round numbers (1, 2 or 5 times a power of ten)
// about five of them; equal ends get room on both sides.
[[nodiscard]] Axis RoundAxis(std::string label, double low, double high);

// "Damage per second" for guns: damage x 1000 / refire delay in ms.
inline constexpr const char* kDamagePerSecond = "damage per second";

// Every ship with both values as numbers, the current ones from `now`, the originals from `original`. Refused
// naming a key that holds no number.
[[nodiscard]] Chart ShipScatter(const Cells& now, const Cells& original, const std::string& x, const std::string& y);

// Every weapon of this kind with the field (or, for guns, kDamagePerSecond).
[[nodiscard]] Chart WeaponBars(const Cells& now, const Cells& original, SheetKind kind, const std::string& field);

// The chain of one value as steps, in order.
[[nodiscard]] Chart ChainSteps(const std::string& label, const std::vector<OriginStep>& steps);

}  // namespace tovarin
