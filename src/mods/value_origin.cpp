#include "mods/value_origin.h"

namespace tovarin {

namespace {

const std::string* Find(const Cells& cells, const CellAddress& address) {
    const auto found = cells.find(address);
    return found == cells.end() ? nullptr : &found->second;
}

}  // namespace

std::vector<OriginStep> ValueOrigin(const ModInstallation::CellStates& states, std::span<const ModValues> switchedOn,
                                    const CellAddress& address) {
    std::vector<OriginStep> steps;
    const std::string* original = Find(states.Original, address);
    if (original != nullptr) steps.push_back({*original, kFromOriginal});
    const std::string* applied = Find(states.Applied, address);
    std::vector<OriginStep> mods;
    for (const ModValues& mod : switchedOn) {
        if (const std::string* text = Find(mod.Values, address)) mods.push_back({*text, mod.Name});
    }
    // The mods are shown only when what they give together is what the last apply laid.
    const std::string* stacked = mods.empty() ? original : &mods.back().Value;
    const bool modsApplied = applied == nullptr || (stacked != nullptr && *stacked == *applied);
    if (modsApplied) {
        steps.insert(steps.end(), mods.begin(), mods.end());
    } else if (original == nullptr || *applied != *original) {
        steps.push_back({*applied, kFromLastApply});
    }
    const std::string* now = Find(states.Now, address);
    if (now != nullptr && (applied == nullptr || *now != *applied)) steps.push_back({*now, kFromOwnChange});
    return steps;
}

std::vector<ModValues> UsableSwitchedOn(const std::vector<Mod>& mods, const std::vector<ModValues>& values) {
    std::vector<ModValues> on;
    for (std::size_t i = 0; i < mods.size(); ++i) {
        if (mods[i].On && mods[i].Problem.empty()) on.push_back(values[i]);
    }
    return on;
}

std::string OriginText(const std::vector<OriginStep>& steps, std::string_view arrow) {
    std::string text;
    for (const OriginStep& step : steps) {
        if (!text.empty()) text.append(" ").append(arrow).append(" ");
        text += step.Value + " " + step.From;
    }
    return text;
}

}  // namespace tovarin
