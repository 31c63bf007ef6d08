#include "mods/mod_making.h"

#include <algorithm>

#include "gamefiles/text_encoding.h"
#include "mods/mod_folder.h"

namespace tovarin {

std::string SystemFolderName(const std::string& name) {
#ifdef _WIN32
    return name;
#else
    return ShownText(name);
#endif
}

std::string MadeModFileBytes(const ModInstallation& game, const std::string& name) {
    const std::string gameName = game.Game().Game.Catalogue.ReadString("Info", "VK", "");
    return Utf8FileBytes(ModFileText({name, "1.0", "", "", gameName}));
}

std::string Utf8FileBytes(const std::string& text) {
    const bool ascii =
        std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return ascii ? text : "\xEF\xBB\xBF" + ShownText(text);
}

}  // namespace tovarin
