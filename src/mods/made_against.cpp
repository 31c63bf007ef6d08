#include "mods/made_against.h"

#include "gamefiles/case_fold.h"
#include "gamefiles/folders.h"
#include "gamefiles/ini_file.h"

namespace tovarin {

namespace {

// "ship/Kestrel/speedmax": the kind first, the key last (no key holds a "/"), the name between, whatever it holds.
struct MadeAgainstKey {
    SheetKind Kind = SheetKind::Ships;
    std::string Item;
    std::string Key;
};

std::optional<MadeAgainstKey> KeyOf(const std::string& text) {
    const std::size_t first = text.find('/');
    const std::size_t last = text.rfind('/');
    if (first == std::string::npos || last == first) return std::nullopt;
    const std::string kind = text.substr(0, first);
    for (const SheetKind k : {SheetKind::Ships, SheetKind::Guns, SheetKind::Missiles}) {
        if (SameInAnyCase(kind, KindWord(k)))
            return MadeAgainstKey{k, text.substr(first + 1, last - first - 1), text.substr(last + 1)};
    }
    return std::nullopt;
}

}  // namespace

std::string MadeAgainstText(const Cells& originals) {
    std::string text = std::string("[") + kMadeAgainstSection + "]\r\n";
    for (const auto& [address, value] : originals) {
        // A name the INI file cannot hold as a key is left out: its value is then simply not checked.
        if (address.ItemName.find_first_of("=[]\r\n") != std::string::npos || address.ItemName.starts_with(';'))
            continue;
        text +=
            std::string(KindWord(address.Kind)) + "/" + address.ItemName + "/" + address.KeyName + "=" + value + "\r\n";
    }
    return text;
}

std::vector<std::string> OriginalsDiffering(const ModInstallation& game, const Mod& mod,
                                            const std::string& modsFolder) {
    std::vector<std::string> differing;
    if (mod.Missing || !FolderExists(PathIn(modsFolder, mod.Entry))) return differing;
    const std::vector<std::string> files = ModFilesIn(PathIn(modsFolder, mod.Entry));
    if (files.empty() || !SameInAnyCase(files.front(), kModFileName)) return differing;
    const TIniFile ini(PathIn(PathIn(modsFolder, mod.Entry), files.front()));
    std::vector<std::string> keys;
    ini.ReadSection(kMadeAgainstSection, keys);
    if (keys.empty()) return differing;
    const Cells originals = game.Originals();
    for (const std::string& text : keys) {
        const std::optional<MadeAgainstKey> key = KeyOf(text);
        if (!key) continue;
        const std::optional<CellAddress> address = game.Find(key->Kind, key->Item, key->Key);
        const std::string madeAgainst = ini.ReadString(kMadeAgainstSection, text, "");
        const auto here = address ? originals.find(*address) : originals.end();
        const std::string hereText = here == originals.end() ? "" : here->second;
        if (hereText == madeAgainst) continue;
        differing.push_back((address ? address->Name() : key->Item + " " + key->Key) + " made against " + madeAgainst +
                            ", here " + (hereText.empty() ? "none" : hereText));
    }
    return differing;
}

}  // namespace tovarin
