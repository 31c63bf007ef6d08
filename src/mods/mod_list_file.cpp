#include "mods/mod_list_file.h"

#include <algorithm>

#include "gamefiles/case_fold.h"
#include "gamefiles/errors.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/folders.h"
#include "gamefiles/ini_file.h"
#include "gamefiles/numbers.h"
#include "gamefiles/sha256.h"
#include "gamefiles/text_encoding.h"
#include "gamefiles/whole_files.h"
#include "mods/load_order.h"
#include "mods/mod_making.h"
#include "sheets/refusal.h"

namespace tovarin {

namespace {

constexpr const char* kListSection = "Mod list";

std::string SectionOf(std::size_t place) { return "Mod " + std::to_string(place + 1); }

std::string OriginalsDigest(const ModInstallation& game, const Mod& mod) {
    try {
        return game.OriginalsDigest(game.ValuesOf(mod));
    } catch (const Refusal&) {
        return "";
    }
}

std::optional<std::size_t> Installed(const std::vector<Mod>& installed, const ListedMod& listed) {
    for (std::size_t i = 0; i < installed.size(); ++i) {
        if (!installed[i].Missing && SameModName(installed[i].Entry, listed.Entry)) return i;
    }
    std::optional<std::size_t> named;
    for (std::size_t i = 0; i < installed.size(); ++i) {
        if (installed[i].Missing || !SameModName(installed[i].Info.Name, listed.Name)) continue;
        if (named) return std::nullopt;
        named = i;
    }
    return named;
}

}  // namespace

std::string ModListFileBytes(const ModInstallation& game, const std::vector<Mod>& mods) {
    std::string text =
        "; A set of mods for Tovarin, in load order: \"tovarin-cli mods import-list\" (or the Mods page's\r\n"
        "; Import List...) sets the same order and switches where the same mods are in \"Tovarin Mods\".\r\n";
    text += std::string("[") + kListSection + "]\r\nGame=" + game.Game().Game.Catalogue.ReadString("Info", "VK", "") +
            "\r\nMods=" + std::to_string(mods.size()) + "\r\n";
    for (std::size_t i = 0; i < mods.size(); ++i) {
        const Mod& mod = mods[i];
        text += "\r\n[" + SectionOf(i) + "]\r\nFolder=" + mod.Entry + "\r\nName=" + mod.Info.Name +
                "\r\nVersion=" + mod.Info.Version + "\r\nState=" + (mod.On ? "on" : "off") +
                "\r\nFiles=" + (mod.Missing ? "" : ModFilesDigest(game.ModsFolder(), mod)) +
                "\r\nOriginals=" + (mod.Missing ? "" : OriginalsDigest(game, mod)) + "\r\n";
    }
    return Utf8FileBytes(text);
}

std::vector<ListedMod> ReadModList(const std::string& path, const std::string& shownName) {
    if (!FileExists(path)) throw Exception(shownName + ": File not found");
    const TIniFile ini(path);
    const std::optional<std::int32_t> count = TryStrToInt(ini.ReadString(kListSection, "Mods", ""));
    if (!count || *count < 0) {
        throw Exception(shownName + " is not a list of mods as \"mods export-list\" writes it: its [" + kListSection +
                        "] section gives no count of mods");
    }
    std::vector<ListedMod> listed;
    for (std::size_t i = 0; i < static_cast<std::size_t>(*count); ++i) {
        const std::string section = SectionOf(i);
        const auto read = [&](const char* key) { return ini.ReadString(section, key, ""); };
        ListedMod mod{read("Folder"), read("Name"),     read("Version"), SameInAnyCase(read("State"), "on"),
                      read("Files"),  read("Originals")};
        if (mod.Entry.empty()) throw Exception(shownName + ": [" + section + "] names no folder");
        listed.push_back(std::move(mod));
    }
    return listed;
}

std::string ModFilesDigest(const std::string& modsFolder, const Mod& mod) {
    Sha256 hash;
    const std::string path = PathIn(modsFolder, mod.Entry);
    if (!FolderExists(path)) {
        hash.Add(ReadWholeFileReadOnly(path));
        return hash.HexDigest();
    }
    for (const std::string& file : ModFilesIn(path)) {
        const std::vector<std::uint8_t> bytes = ReadWholeFileReadOnly(PathIn(path, file));
        hash.Add(FoldedCase(file) + '\0' + std::to_string(bytes.size()) + '\0');
        hash.Add(bytes);
    }
    return hash.HexDigest();
}

ListImport PlanListImport(const ModInstallation& game, const std::vector<ListedMod>& listed,
                          const std::vector<Mod>& installed) {
    ListImport plan;
    std::vector<bool> placed(installed.size(), false);
    for (const ListedMod& wanted : listed) {
        const std::optional<std::size_t> found = Installed(installed, wanted);
        const std::string name = wanted.Name.empty() ? wanted.Entry : wanted.Name;
        if (!found || placed[*found]) {
            plan.Problems.push_back(name + " " + wanted.Version + " is missing: \"" + kModsFolderName + "\" holds no " +
                                    wanted.Entry);
            continue;
        }
        Mod mod = installed[*found];
        placed[*found] = true;
        if (!wanted.Files.empty() && ModFilesDigest(game.ModsFolder(), mod) != wanted.Files) {
            plan.Problems.push_back(name + ": the files here are another copy than the list's (version here " +
                                    (mod.Info.Version.empty() ? "none" : mod.Info.Version) + ", in the list " +
                                    (wanted.Version.empty() ? "none" : wanted.Version) + ")");
        }
        if (!wanted.Originals.empty() && OriginalsDigest(game, mod) != wanted.Originals) {
            plan.Notes.push_back(name + " goes into original files other than those of the list's game");
        }
        mod.On = wanted.On;
        plan.Order.push_back(std::move(mod));
    }
    for (std::size_t i = 0; i < installed.size(); ++i) {
        if (placed[i] || installed[i].Missing) continue;
        Mod mod = installed[i];
        mod.On = false;
        plan.Order.push_back(std::move(mod));
    }
    return plan;
}

}  // namespace tovarin
