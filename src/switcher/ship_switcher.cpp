#include "switcher/ship_switcher.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gamefiles/errors.h"
#include "gamefiles/file_handle.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/profile_text.h"
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
//
// A swap changes three files, and each of them can only be replaced whole, one after the other. So that a failure
// at any point never loses a ship's data and never leaves the switch file describing files that hold something
// else, the exchange goes in this order:
//
//   1. the first ship file's bytes go into the swap copy (the first ship file is the pair's earlier one in the
//      catalogue, so that the copy always belongs to the same file of the pair);
//   2. the switch file as the swap will leave it, both entries changed, is written whole beside it (the pending
//      switch file);
//   3. the first ship file gets the second's bytes (the first's own are in the copy);
//   4. the copy is renamed over the second ship file;
//   5. the pending switch file is renamed over the switch file.
//
// Nothing is left to remove afterwards. While the pending switch file exists, a swap has not finished: the switch
// file still describes the files as they were, and each ship's data can be found from the copy, which exists from
// step 1 to step 4. A swap that fails puts the files back at once; when even that fails, the message says where
// each ship's data is, and the next press of "< Swap >" puts them back before it exchanges anything.

constexpr std::string_view kPendingSwitchFile = "Ships\\switch.dat.new~";
constexpr std::string_view kSwapCopy = "Ships\\swapcopy.if~";

using Bytes = std::vector<std::uint8_t>;

// The two ship files of an exchange, the pair's earlier one in the catalogue first, and the ships whose data they
// hold before it.
struct ExchangedFiles {
    std::string First, Second;
    std::string FirstOwner, SecondOwner;
};

std::string ShipFileOf(const Installation& game, const std::string& ship) {
    return GamePath(game.GameFolder, "Ships\\" + game.Catalogue.ReadString("ships", ship, ""));
}

ExchangedFiles FilesOf(const Installation& game, const std::vector<std::string>& ships, std::size_t a, std::size_t b) {
    const std::string& first = ItemAt(ships, static_cast<int>(std::min(a, b)));
    const std::string& second = ItemAt(ships, static_cast<int>(std::max(a, b)));
    return {ShipFileOf(game, first), ShipFileOf(game, second), game.SwitchFile.ReadString(kSwitchSection, first, ""),
            game.SwitchFile.ReadString(kSwitchSection, second, "")};
}

std::string TextOf(const Bytes& bytes) { return {bytes.begin(), bytes.end()}; }

// The ships of an unfinished swap: the two whose entries the pending switch file changes.
ExchangedFiles FilesOfUnfinishedSwap(const Installation& game, const std::vector<std::string>& ships) {
    const std::string pending = GamePath(game.GameFolder, kPendingSwitchFile);
    const std::string now = TextOf(ReadWholeFile(game.SwitchFile.FileName()));
    const std::string next = TextOf(ReadWholeFile(pending));
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < ships.size(); ++i) {
        // An entry that start-up added since is in the switch file alone; it is no part of the swap.
        const std::optional<std::string> before = FindProfileValue(now, kSwitchSection, ships[i]);
        const std::optional<std::string> after = FindProfileValue(next, kSwitchSection, ships[i]);
        if (before && after && before != after) changed.push_back(i);
    }
    if (changed.size() != 2) throw Exception(pending + " does not name the two ships of a swap");
    return FilesOf(game, ships, changed[0], changed[1]);
}

// A copy that is left without a pending switch file belongs to a swap that failed before it changed anything.
void ForgetCopy(const Installation& game) {
    const std::string copy = GamePath(game.GameFolder, kSwapCopy);
    if (FileExists(copy)) DeleteFileAt(copy);
}

// Gives both ship files the bytes the switch file says they hold, then removes the pending switch file. Which bytes
// those are follows from the order of the exchange: while the copy exists it holds the first file's own bytes, and
// the first file holds them too unless step 3 was done, in which case the second file's own bytes are in the first
// file; once the copy is gone the files are exchanged. Each step of this keeps both ships' data on disk, so it can
// itself be interrupted and done again.
void PutBack(const Installation& game, const ExchangedFiles& files) {
    const std::string copy = GamePath(game.GameFolder, kSwapCopy);
    const std::string pending = GamePath(game.GameFolder, kPendingSwitchFile);
    if (!FileExists(pending)) return ForgetCopy(game);
    const Bytes firstNow = ReadWholeFile(files.First);
    const Bytes secondNow = ReadWholeFile(files.Second);
    const bool copied = FileExists(copy);
    const Bytes firstOwn = copied ? ReadWholeFile(copy) : secondNow;
    const Bytes secondOwn = firstNow != firstOwn ? firstNow : secondNow;
    if (!copied) ReplaceWholeFile(copy, firstOwn);
    if (secondNow != secondOwn) ReplaceWholeFile(files.Second, secondOwn);
    if (firstNow != firstOwn) ReplaceWholeFile(files.First, firstOwn);
    if (!DeleteFileAt(pending)) throw Exception("Cannot remove " + pending);
    DeleteFileAt(copy);  // without the pending switch file a copy left here is overwritten by the next swap
}

// The switch file as it will be once the ships are exchanged, both entries changed, written whole beside it.
void WritePendingSwitchFile(const Installation& game, const SwapPair& pair) {
    try {
        ReplaceIniFile(GamePath(game.GameFolder, kPendingSwitchFile), [&](const TIniFile& draft) {
            CopyFileBytes(game.SwitchFile.FileName(), draft.FileName());
            draft.WriteString(kSwitchSection, pair.LeftPartner, pair.Right);
            draft.WriteString(kSwitchSection, pair.RightPartner, pair.Left);
        });
    } catch (const Exception&) {
        throw EIniFileException(game.SwitchFile.FileName());
    }
}

// Where each ship's data is after `step` of the exchange's steps 3 and 4 were done.
std::string WhereTheDataIs(const Installation& game, const ExchangedFiles& files, int step) {
    const std::string firstData = step == 0   ? files.First
                                  : step == 1 ? GamePath(game.GameFolder, kSwapCopy)
                                              : files.Second;
    const std::string secondData = step < 2 ? files.Second : files.First;
    return "The ship files could not be put back as they were: " + files.FirstOwner + "'s data is in " + firstData +
           " and " + files.SecondOwner + "'s in " + secondData + ". Tovarin puts them back at its next start or swap";
}

// The exchange in the order described above; a failure puts everything back as it was.
void ExchangeShipFiles(const Installation& game, const ExchangedFiles& files, const SwapPair& pair) {
    const Bytes firstOwn = ReadWholeFile(files.First);
    const Bytes secondOwn = ReadWholeFile(files.Second);
    const std::string copy = GamePath(game.GameFolder, kSwapCopy);
    int step = 0;
    try {
        ReplaceWholeFile(copy, firstOwn);
        WritePendingSwitchFile(game, pair);
        ReplaceWholeFile(files.First, secondOwn);
        ++step;
        ReplaceFile(copy, files.Second);
        ++step;
        ReplaceFile(GamePath(game.GameFolder, kPendingSwitchFile), game.SwitchFile.FileName());
    } catch (const Exception& failure) {
        try {
            PutBack(game, files);
        } catch (const Exception&) {
            throw Exception(failure.Message() + ". " + WhereTheDataIs(game, files, step));
        }
        throw;
    }
}

}  // namespace

// A swap that did not finish (the disk or the program failed part-way) is put back before anything else reads the
// ship files of the pair or another swap starts.
void PutBackUnfinishedSwap(const Installation& game) {
    std::vector<std::string> ships;
    game.Catalogue.ReadSection("ships", ships);
    if (FileExists(GamePath(game.GameFolder, kPendingSwitchFile)))
        return PutBack(game, FilesOfUnfinishedSwap(game, ships));
    ForgetCopy(game);
}

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

    try {
        PutBackUnfinishedSwap(game);
    } catch (const Exception& failure) {
        throw Exception(failure.Message() +
                        ". A swap that did not finish could not be put back, so nothing was swapped");
    }
    const ExchangedFiles files =
        FilesOf(game, ships, static_cast<std::size_t>(leftIndex), static_cast<std::size_t>(rightIndex));
    ExchangeShipFiles(game, files, pair);
    return {"", files.First, files.Second};
}

}  // namespace tovarin
