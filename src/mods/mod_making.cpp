#include "mods/mod_making.h"

#include <algorithm>

#include "gamefiles/csv.h"
#include "gamefiles/text_encoding.h"
#include "mods/load_order.h"
#include "mods/made_against.h"
#include "mods/mod_folder.h"
#include "mods/mod_library.h"
#include "mods/mods_overview.h"
#include "sheets/refusal.h"

namespace tovarin {

std::string SystemFolderName(const std::string& name) { return ShownText(name); }

std::string MadeModFileBytes(const ModInstallation& game, ModInfo info, bool fromChanges) {
    info.Game = game.Game().Game.Catalogue.ReadString("Info", "VK", "");
    if (info.Version.empty()) info.Version = "1.0";
    std::string text = ModFileText(info);
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

MadeMod MakeMod(const ModInstallation& game, const ModInfo& info, bool fromChanges) {
    ModLibrary library(game.ModsFolder());
    MadeMod made;
    const std::string folder = SystemFolderName(info.Name);
    std::vector<std::pair<std::string, std::string>> files{{kModFileName, MadeModFileBytes(game, info, fromChanges)}};
    if (fromChanges) {
        for (const auto& [kind, sheet] : game.OwnChangeSheets(made.LeftOut)) {
            files.emplace_back(SheetFileName(kind), FileBytesOfText(WriteCsv(sheet)));
        }
    }
    library.Make(folder, files, false);
    made.Folder = std::string(kModsFolderName) + "\\" + folder;
    const std::size_t index = library.Mods().size() - 1;
    try {
        made.Changes = ChangesInWords(game.ValuesOf(library.Mods()[index]));
        library.Switch(index, true);
    } catch (const Refusal& refusal) {
        made.WhyOff = refusal.what();
    }
    return made;
}

std::string MadeModText(const MadeMod& made, const std::string& folderShown) {
    const std::string what =
        made.WhyOff.empty() ? made.Changes : "switched off, as it cannot be switched on: " + made.WhyOff;
    return "made " + folderShown + ": " + what;
}

std::string LeftOutText(const std::string& cell) {
    return cell + " left out: a sheet cannot set or clear a value that one side lacks";
}

std::string Utf8FileBytes(const std::string& text) {
    const bool ascii =
        std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return ascii ? text : "\xEF\xBB\xBF" + ShownText(text);
}

}  // namespace tovarin
