#include "mods/mod_cells.h"

#include <algorithm>

namespace tovarin {

Cells Overlay(std::span<const ModValues> mods) {
    Cells all;
    for (const ModValues& mod : mods) all = Overlay(std::move(all), mod.Values);
    return all;
}

Cells Overlay(Cells base, const Cells& top) {
    for (const auto& [address, text] : top) base.insert_or_assign(address, text);
    return base;
}

std::vector<Conflict> FindConflicts(std::span<const ModValues> mods) {
    std::map<CellAddress, Conflict> settings;
    for (const ModValues& mod : mods) {
        for (const auto& [address, text] : mod.Values) {
            Conflict& conflict = settings[address];
            conflict.Address = address;
            conflict.Settings.emplace_back(mod.Name, text);
        }
    }
    std::vector<Conflict> conflicts;
    for (auto& [address, conflict] : settings) {
        const std::string& first = conflict.Settings.front().second;
        const bool differ = std::any_of(conflict.Settings.begin(), conflict.Settings.end(),
                                        [&first](const auto& setting) { return setting.second != first; });
        if (differ) conflicts.push_back(std::move(conflict));
    }
    return conflicts;
}

std::string ConflictLine(const Conflict& conflict) {
    std::string line = conflict.Address.Name() + ":";
    for (std::size_t i = 0; i < conflict.Settings.size(); ++i) {
        line += (i == 0 ? " " : ", ") + conflict.Settings[i].first + " " + conflict.Settings[i].second;
    }
    return line + " -> " + conflict.Settings.back().first;
}

Cells Differences(const Cells& now, const Cells& expected) {
    Cells differing;
    for (const auto& [address, text] : now) {
        const auto found = expected.find(address);
        if (found == expected.end() || found->second != text) differing.emplace(address, text);
    }
    return differing;
}

Cells OfKind(const Cells& cells, SheetKind kind) {
    Cells found;
    for (const auto& [address, text] : cells) {
        if (address.Kind == kind) found.emplace(address, text);
    }
    return found;
}

}  // namespace tovarin
