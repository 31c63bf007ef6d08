#include "switcher/ship_switcher.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gamefiles/errors.h"
#include "gamefiles/file_change_set.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/whole_files.h"

namespace tovarin {

namespace {

const std::string kSwitchSection = "swships";

// An item of a list by its index; the list's own error when there is none.
const std::string& ItemAt(const std::vector<std::string>& items, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= items.size()) throw EStringListError();
    return items[static_cast<std::size_t>(index)];
}

// The ship named before the " = " of a swapped entry: everything in front of the first "=" but the blank
// before it. An unswapped entry names nobody.
std::string OwnNameOf(const std::string& entry) {
    const std::size_t equals = entry.find('=');
    if (equals == std::string::npos || equals == 0) return "";
    return entry.substr(0, equals - 1);
}

// The partner named after the " = " of a swapped entry. For an unswapped entry this gives the name without its
// first character, which can never equal a swapped entry's own name except by accident; the pair test below
// closes that gap.
std::string PartnerNamedIn(const std::string& entry) {
    const std::size_t equals = entry.find('=');
    const std::size_t from = equals == std::string::npos ? 1 : equals + 2;
    return from < entry.size() ? entry.substr(from) : "";
}

// The names and switch entries of the two ships chosen for a swap, read before anything is changed.
struct SwapPair {
    std::string Left;          // A: the ship name in the left list's row
    std::string Right;         // B: the ship name in the right list's row
    std::string LeftPartner;   // the switch entry of A
    std::string RightPartner;  // the switch entry of B
};

// A swap either makes two unswapped ships partners or parts two partners. The list rows must say so, and the
// switch file must agree: any other pair ("A = B" with an unswapped C, an entry with nothing after " = ") would
// leave the switch file describing files that no longer hold what it says.
bool MayBeSwapped(const std::string& leftRow, const std::string& rightRow, const SwapPair& pair) {
    const bool rowsSwapped = leftRow.find('=') != std::string::npos || rightRow.find('=') != std::string::npos;
    const bool unswapped = pair.LeftPartner == pair.Left && pair.RightPartner == pair.Right;
    const bool partners = pair.LeftPartner == pair.Right && pair.RightPartner == pair.Left;
    if (!rowsSwapped) return unswapped;
    return OwnNameOf(leftRow) == PartnerNamedIn(rightRow) && partners;
}

// ---- Exchanging the ship files -------------------------------------------------------------------------------------

std::string ShipFileOf(const Installation& game, const std::string& ship) {
    return GamePath(game.GameFolder, "Ships\\" + game.Catalogue.ReadString("ships", ship, ""));
}

// The two ship files trade their bytes and the switch file records the pair, as one change of three files
// (gamefiles/file_change_set.h): whatever fails, either all three hold the swap or none does, and neither ship's
// data is ever only in a file of the swap's own.
void ExchangeShipFiles(const Installation& game, const SwapPair& pair, const std::string& leftFile,
                       const std::string& rightFile) {
    FileChangeSet changes(game.GameFolder, "the swap of " + pair.Left + " and " + pair.Right);
    changes.Replace(leftFile, ReadWholeFile(rightFile));
    changes.Replace(rightFile, ReadWholeFile(leftFile));
    changes.EditIni(game.SwitchFile.FileName(), [&pair](const TIniFile& draft) {
        draft.WriteString(kSwitchSection, pair.LeftPartner, pair.Right);
        draft.WriteString(kSwitchSection, pair.RightPartner, pair.Left);
    });
    (void)changes.Commit();
}

}  // namespace

std::vector<std::string> SwitcherRows(const Installation& game) {
    std::vector<std::string> rows;
    game.Catalogue.ReadSection("ships", rows);
    for (std::string& entry : rows) {
        const std::string partner = game.SwitchFile.ReadString(kSwitchSection, entry, "");
        if (partner != entry) entry += " = " + partner;
    }
    return rows;
}

SwapOutcome SwapShips(const Installation& game, const std::vector<std::string>& leftRows,
                      const std::vector<std::string>& rightRows, int leftIndex, int rightIndex) {
    if (leftIndex == rightIndex) return {"Please do not select the same ship in both lists", "", ""};
    const std::string leftRow = ItemAt(leftRows, leftIndex);
    const std::string rightRow = ItemAt(rightRows, rightIndex);

    std::vector<std::string> ships;
    game.Catalogue.ReadSection("ships", ships);
    SwapPair pair;
    pair.Left = ItemAt(ships, leftIndex);
    pair.Right = ItemAt(ships, rightIndex);
    pair.LeftPartner = game.SwitchFile.ReadString(kSwitchSection, pair.Left, "");
    pair.RightPartner = game.SwitchFile.ReadString(kSwitchSection, pair.Right, "");
    if (!MayBeSwapped(leftRow, rightRow, pair)) return {"Can't swap ships that are already swapped.", "", ""};

    // The pair's earlier ship in the catalogue first.
    const std::string first = ShipFileOf(game, ItemAt(ships, std::min(leftIndex, rightIndex)));
    const std::string second = ShipFileOf(game, ItemAt(ships, std::max(leftIndex, rightIndex)));
    ExchangeShipFiles(game, pair, ShipFileOf(game, pair.Left), ShipFileOf(game, pair.Right));
    return {"", first, second};
}

}  // namespace tovarin
