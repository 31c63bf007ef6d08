#include "mods/mod_making.h"

#include <algorithm>

#include "gamefiles/text_encoding.h"
#include "mods/made_against.h"
#include "mods/mod_folder.h"

namespace tovarin {

std::string SystemFolderName(const std::string& name) { return ShownText(name); }

std::string MadeModFileBytes(const ModInstallation& game, const std::string& name, bool fromChanges) {
    const std::string gameName = game.Game().Game.Catalogue.ReadString("Info", "VK", "");
    std::string text = ModFileText({name, "1.0", "", "", gameName});
    if (fromChanges) {
        const Cells originals = game.Originals();
        Cells madeAgainst;
        for (const auto& [address, value] : game.OwnChanges()) {
            if (const auto found = originals.find(address); found != originals.end()) madeAgainst.insert(*found);
        }
        if (!madeAgainst.empty()) text += "\r\n" + MadeAgainstText(madeAgainst);
    }
    return Utf8FileBytes(text);
}

std::string Utf8FileBytes(const std::string& text) {
    const bool ascii =
        std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return ascii ? text : "\xEF\xBB\xBF" + ShownText(text);
}

}  // namespace tovarin
