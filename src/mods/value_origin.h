#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "mods/mod_cells.h"
#include "mods/mod_installation.h"

// Where a value came from: its original, each switched-on mod that the last apply laid over it, in load order,
// and the player's own change on top. The last step is always the value the file holds now. The command line's
// "why", the Fleet page's tooltips and the charts all show this one chain.
namespace tovarin {

inline constexpr const char* kFromOriginal = "original";
inline constexpr const char* kFromOwnChange = "your change";
// The value the last apply laid, when the switched-on mods would now give another (switched, moved or changed
// since, and not applied yet): which mods gave it is no longer known.
inline constexpr const char* kFromLastApply = "last apply";

struct OriginStep {
    std::string Value;  // as a sheet holds it
    std::string From;   // kFromOriginal, a mod's name, kFromLastApply or kFromOwnChange
    bool operator==(const OriginStep&) const = default;
};

// The chain of the value at this address. `switchedOn`: the switched-on mods that can be on, in load order, with
// their values.
[[nodiscard]] std::vector<OriginStep> ValueOrigin(const ModInstallation::CellStates& states,
                                                  std::span<const ModValues> switchedOn, const CellAddress& address);

// The switched-on mods that can be on, in load order: a mod that cannot be on was never laid by an apply.
[[nodiscard]] std::vector<ModValues> UsableSwitchedOn(const std::vector<Mod>& mods,
                                                      const std::vector<ModValues>& values);

// "600 original -> 660 Speed Ten -> 710 your change", with this arrow between the steps.
[[nodiscard]] std::string OriginText(const std::vector<OriginStep>& steps, std::string_view arrow);

}  // namespace tovarin
