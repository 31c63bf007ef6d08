#include <string>
#include <vector>

#include "app/form1.h"
#include "gamefiles/errors.h"
#include "gamefiles/file_handle.h"
#include "gamefiles/file_primitives.h"
#include "ui/platform.h"

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
    std::string LeftFile;      // the path of the file the catalogue lists for A
    std::string RightFile;     // the same for B
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

// Opening a file for reading and writing is the cheapest proof that the copies onto it can be made; a ship file
// that is missing or read-only must stop the swap before the other ship's file is overwritten.
void CheckReadableAndWritable(const std::string& path) { GameFileHandle::OpenExisting(path).Close(); }

// Rewriting the two entries with the values they already hold changes nothing in the file, yet fails exactly
// as the real writes would when the switch file cannot be written.
void CheckSwitchFileWritable(const TIniFile& switchFile, const SwapPair& pair) {
    switchFile.WriteString(kSwitchSection, pair.Left, pair.LeftPartner);
    switchFile.WriteString(kSwitchSection, pair.Right, pair.RightPartner);
}

// Exchanges the two files' contents through the temporary ship file. When the last copy fails, the left file
// already holds the right ship's data: its own is put back from the temporary file before the error is shown.
void ExchangeFiles(const std::string& left, const std::string& right, const std::string& temp) {
    CopyFileBytes(left, temp);
    CopyFileBytes(right, left);
    try {
        CopyFileBytes(temp, right);
    } catch (const Exception& copyError) {
        try {
            CopyFileBytes(temp, left);
        } catch (const Exception&) {
            throw Exception(copyError.Message() + ". " + left + " could not be put back; its own data is in " + temp);
        }
        throw;
    }
}

}  // namespace

// Both switcher lists: one entry per catalogue ship, in catalogue order; a ship whose switch entry is not
// exactly its own name shows as "name = partner".
void TForm1::BuildSwitcherLists() {
    ListBox4.Clear();
    Catalogue.ReadSection("ships", ListBox4.Items());
    for (std::string& entry : ListBox4.Items()) {
        const std::string partner = SwitchFile.ReadString(kSwitchSection, entry, "");
        if (partner != entry) entry += " = " + partner;
    }
    ListBox5.Clear();
    ListBox5.Items() = ListBox4.Items();
}

// Exchanges the ship chosen on the left with the one chosen on the right, or parts two partners again.
void TForm1::Button10Click() {
    const int leftIndex = ListBox4.ItemIndex();
    const int rightIndex = ListBox5.ItemIndex();
    if (leftIndex == rightIndex) {
        GetPlatform().ShowMessage("Please do not select the same ship in both lists");
        return;
    }
    const std::string leftRow = ItemAt(ListBox4.Items(), leftIndex);
    const std::string rightRow = ItemAt(ListBox5.Items(), rightIndex);

    std::vector<std::string> ships;
    Catalogue.ReadSection("ships", ships);
    SwapPair pair;
    pair.Left = ItemAt(ships, leftIndex);
    pair.Right = ItemAt(ships, rightIndex);
    pair.LeftPartner = SwitchFile.ReadString(kSwitchSection, pair.Left, "");
    pair.RightPartner = SwitchFile.ReadString(kSwitchSection, pair.Right, "");
    pair.LeftFile = GameFile("Ships\\" + Catalogue.ReadString("ships", pair.Left, ""));
    pair.RightFile = GameFile("Ships\\" + Catalogue.ReadString("ships", pair.Right, ""));

    if (!MayBeSwapped(leftRow, rightRow, pair)) {
        GetPlatform().ShowMessage("Can't swap ships that are already swapped.");
        return;
    }

    CheckReadableAndWritable(pair.LeftFile);
    CheckReadableAndWritable(pair.RightFile);
    CheckSwitchFileWritable(SwitchFile, pair);
    ExchangeFiles(pair.LeftFile, pair.RightFile, TempShipPath());
    SwitchFile.WriteString(kSwitchSection, pair.LeftPartner, pair.Right);
    SwitchFile.WriteString(kSwitchSection, pair.RightPartner, pair.Left);

    BuildSwitcherLists();
    ListBox4.SetItemIndex(leftIndex);
    ListBox5.SetItemIndex(rightIndex);

    // The Ships tab may show a ship whose file was just exchanged; a save from the positions found in the old
    // content would write over the other ship. Loading it again finds its data where it now lies.
    const std::string loaded = ShipPath();
    if (loaded == pair.LeftFile || loaded == pair.RightFile) ComboBox1Change();
}

}  // namespace tovarin
