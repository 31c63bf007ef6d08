#include "mods/mods_overview.h"

#include <set>

#include "gamefiles/file_primitives.h"
#include "gamefiles/folders.h"
#include "gamefiles/whole_files.h"
#include "mods/applied_record.h"
#include "mods/load_order.h"
#include "mods/made_against.h"

namespace tovarin {

namespace {

std::string StateOf(const ModsOverview& overview, std::size_t index) {
    const Mod& mod = overview.Mods[index];
    if (mod.Missing) return "missing";
    if (!mod.Problem.empty()) return "cannot be switched on";
    if (!mod.On) return "off";
    std::string state = overview.NotApplied ? "on, not applied yet" : "on and applied";
    if (FullyOverridden(overview.Mods, overview.Values, index)) state += ", fully overridden by later mods";
    return state;
}

// A switched-off mod too large to read at once says how large it is instead of what it changes.
std::string ChangesOf(const Mod& mod, const ModValues& values) {
    if (!mod.Problem.empty()) return mod.Problem;
    if (!mod.SheetsUnread) return ChangesInWords(values.Values);
    constexpr std::uint64_t kTenthOfMegabyte = (1u << 20) / 10;
    const std::uint64_t tenths = (mod.SheetBytes + kTenthOfMegabyte - 1) / kTenthOfMegabyte;
    return "sheets of " + std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) +
           " MB, read when switched on";
}

}  // namespace

ModsOverview OverviewOf(const ModInstallation& game) {
    ModsOverview overview;
    overview.Mods = InstalledMods(game.ModsFolder());
    overview.Values = CheckMods(game, overview.Mods);
    std::vector<ModValues> on;
    for (std::size_t i = 0; i < overview.Mods.size(); ++i) {
        const Mod& mod = overview.Mods[i];
        if (!mod.On) continue;
        if (mod.Problem.empty()) {
            on.push_back(overview.Values[i]);
        } else {
            overview.Problems.push_back(overview.Values[i].Name + " is switched on but cannot be: " + mod.Problem);
        }
    }
    overview.Conflicts = FindConflicts(on);
    overview.NotApplied = ModsNotApplied(game, on);
    overview.OtherOriginals = OtherOriginalsOf(game, overview.Mods, false);
    for (std::size_t i = 0; i < overview.Mods.size(); ++i) {
        const Mod& mod = overview.Mods[i];
        overview.Shown.push_back({overview.Values[i].Name, StateOf(overview, i), ChangesOf(mod, overview.Values[i])});
    }
    return overview;
}

std::vector<std::string> OtherOriginalsOf(const ModInstallation& game, const std::vector<Mod>& mods, bool onlyOn) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < mods.size(); ++i) {
        if (onlyOn && !mods[i].On) continue;
        for (const std::string& value : OriginalsDiffering(game, mods[i], game.ModsFolder())) {
            lines.push_back(ShownModName(mods, i) + ": " + value);
        }
    }
    return lines;
}

bool ModsNotApplied(const ModInstallation& game, const std::vector<ModValues>& on) {
    const std::string record = PathIn(game.ModsFolder(), kAppliedFileName);
    const Cells set = Overlay(on);
    if (!FileExists(record)) return !set.empty();
    return ReadWholeFileReadOnly(record) != AppliedRecordBytes(set);
}

std::string ChangesInWords(const Cells& values) {
    std::set<std::pair<SheetKind, std::size_t>> items;
    std::size_t counts[3] = {0, 0, 0};
    for (const auto& [address, text] : values) {
        if (items.emplace(address.Kind, address.Item).second) ++counts[static_cast<int>(address.Kind)];
    }
    const char* words[3][2] = {{"ship", "ships"}, {"gun", "guns"}, {"missile", "missiles"}};
    std::string text;
    for (int kind = 0; kind < 3; ++kind) {
        if (counts[kind] == 0) continue;
        text +=
            (text.empty() ? "" : ", ") + std::to_string(counts[kind]) + " " + words[kind][counts[kind] == 1 ? 0 : 1];
    }
    return text.empty() ? "nothing" : text;
}

bool FullyOverridden(const std::vector<Mod>& mods, const std::vector<ModValues>& values, std::size_t index) {
    if (values[index].Values.empty()) return false;
    for (const auto& [address, text] : values[index].Values) {
        bool overridden = false;
        for (std::size_t later = index + 1; later < mods.size(); ++later) {
            if (!mods[later].On || !mods[later].Problem.empty()) continue;
            const auto found = values[later].Values.find(address);
            if (found != values[later].Values.end()) overridden = found->second != text;
        }
        if (!overridden) return false;
    }
    return true;
}

}  // namespace tovarin
