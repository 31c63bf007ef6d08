#include <string>

#include "gamefiles/errors.h"
#include "gamefiles/folder_lock.h"
#include "installation/installation.h"
#include "switcher/ship_switcher.h"
#include "ui/platform.h"
#include "window/form1.h"

// The "Ship Switcher" tab: the catalogue's ships in two lists, and "< Swap >" exchanging the files of the two
// chosen (switcher/ship_switcher.h).
namespace tovarin {

namespace {

// The catalogue's name of a ship of the switcher's lists, which list the catalogue's ships in its order.
std::string ShipNameAt(const TComboBox& ships, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < ships.Items().size()
               ? ships.Items()[static_cast<std::size_t>(index)]
               : "none";
}

}  // namespace

// Both switcher lists: one entry per catalogue ship, in catalogue order; a ship whose switch entry is not
// exactly its own name shows as "name = partner".
void TForm1::BuildSwitcherLists() {
    const Installation game{GameFolder, Catalogue, SwitchFile};
    ListBox4.Clear();
    ListBox4.Items() = SwitcherRows(game);
    ListBox5.Clear();
    ListBox5.Items() = ListBox4.Items();
}

// Exchanges the ship chosen on the left with the one chosen on the right, or parts two partners again.
void TForm1::Button10Click() {
    const int leftIndex = ListBox4.ItemIndex();
    const int rightIndex = ListBox5.ItemIndex();
    const ChangeRecording step =
        RecordStep("swap of " + ShipNameAt(ComboBox1, leftIndex) + " and " + ShipNameAt(ComboBox1, rightIndex));
    const SwapOutcome swap = [&] {
        const GameFolderLock lock(GameFolder);  // the files are read and written by the folder's one writer
        return SwapShips({GameFolder, Catalogue, SwitchFile}, ListBox4.Items(), ListBox5.Items(), leftIndex,
                         rightIndex);
    }();
    if (!swap.Refusal.empty()) {
        GetPlatform().ShowMessage(swap.Refusal);
        return;
    }
    const std::vector<std::string>& ships = ComboBox1.Items();  // the catalogue's, as both lists are
    const auto shipAt = [&ships](int index) { return ships.at(static_cast<std::size_t>(index)); };
    ShowStatus(shipAt(leftIndex) + " and " + shipAt(rightIndex) + " swapped: " + InGameFolder(swap.FirstFile) + ", " +
               InGameFolder(swap.SecondFile) + ", Ships\\switch.dat");
    // The files hold the swap now: reading them back failing must not read as a failed swap.
    try {
        BuildSwitcherLists();
        ListBox4.SetItemIndex(leftIndex);
        ListBox5.SetItemIndex(rightIndex);

        // The Ships tab may show a ship whose file was just exchanged; a save from the positions found in the old
        // content would write over the other ship. Loading it again finds its data where it now lies.
        const std::string loaded = ShipPath();
        if (loaded == swap.FirstFile || loaded == swap.SecondFile) ComboBox1Change();
    } catch (const Exception& error) {
        throw EChangedButNotReadBack(shipAt(leftIndex) + " and " + shipAt(rightIndex) + " were swapped", error);
    }
}

}  // namespace tovarin
