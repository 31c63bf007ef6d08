#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "gamefiles/errors.h"
#include "gamefiles/folder_lock.h"
#include "gamefiles/run_caches.h"
#include "gamefiles/whole_files.h"
#include "gun_slots/gun_slot_table.h"
#include "ui/platform.h"
#include "window/form1.h"

// The "Add/Remove Guns" tab: the ship's gun slots (gun_slots/gun_slot_table.h) in a list, copied, deleted and saved.
namespace tovarin {

namespace {

// The selected slot; with none selected an index no slot has, which the table refuses as the list would.
std::size_t SelectedSlot(const TForm1& form) {
    const int selected = form.ListBox3.ItemIndex();
    return selected < 0 ? form.GunSlots.Slots.size() : static_cast<std::size_t>(selected);
}

// Until a ship's slots have been read whole, the table may describe another ship or only part of this one:
// saving it would write wrong records into the ship file, so the save button waits for a complete load.
void ForgetGunSlots(TForm1& form) {
    form.Button14.SetEnabled(false);
    form.GunSlots = {};
    form.ListBox3.Clear();
}

// The ship's section of the catalogue as it is now: the slot save writes it, moving the positions it holds.
std::vector<std::pair<std::string, std::string>> SectionNow(const TForm1& form) {
    const RunCaches readingOnce;  // key by key, in one go: the catalogue is parsed once for them all
    std::vector<std::string> keys;
    form.Catalogue.ReadSection(form.Ship.ShipFile, keys);
    std::vector<std::pair<std::string, std::string>> section;
    for (const std::string& key : keys)
        section.emplace_back(key, form.Catalogue.ReadString(form.Ship.ShipFile, key, ""));
    return section;
}

std::vector<std::uint8_t> ShipBytesNow(const TForm1& form) {
    const std::string path = form.ShipPath();
    return OnBytesOf(path, [&] { return ReadWholeFile(path); });
}

void ListGunSlots(TForm1& form) {
    form.ListBox3.Clear();
    for (const GunSlot& slot : form.GunSlots.Slots) form.ListBox3.Items().push_back(slot.Listed());
}

}  // namespace

// Choosing a ship here loads it exactly as the Ships tab does, then reads its gun slots.
void TForm1::ComboBox6Change() {
    ForgetGunSlots(*this);
    ComboBox1.SetItemIndex(ComboBox6.ItemIndex());
    ComboBox1Change();
    if (!ComboBox1.Text().empty()) LoadGunSlots();
}

void TForm1::LoadGunSlots() {
    const EditorLoad load(*this, Editor::GunSlots);
    ForgetGunSlots(*this);
    try {
        SlotShipAsRead = ShipBytesNow(*this);
        SlotSectionAsRead = SectionNow(*this);
        const std::string path = ShipPath();
        OnBytesOf(path, [&] { ReadGunSlots(SlotShipAsRead, Ship.GunsBase, GunSlots); });
    } catch (const Exception&) {
        ListGunSlots(*this);  // the slots read before the failure, which cannot be saved
        throw;
    }
    ListGunSlots(*this);
    ListBox3.SetItemIndex(0);
    Button14.SetEnabled(true);
}

// "&Copy". No entry is selected afterwards: a second copy needs a new choice.
void TForm1::Button13Click() {
    if (const auto refusal = CopyGunSlot(GunSlots.Slots, SelectedSlot(*this))) {
        GetPlatform().ShowMessage(*refusal);
        return;
    }
    ListGunSlots(*this);
}

// "&Delete".
void TForm1::Button12Click() {
    const int removed = ListBox3.ItemIndex();
    if (const auto refusal = DeleteGunSlot(GunSlots.Slots, SelectedSlot(*this))) {
        GetPlatform().ShowMessage(*refusal);
        return;
    }
    ListGunSlots(*this);
    ListBox3.SetItemIndex(removed <= 1 ? 0 : removed - 1);
}

// "&Save Modifications". The new ship file is built and checked before anything is written, so a save that is
// refused changes nothing and can simply be tried again.
void TForm1::Button14Click() {
    const ChangeRecording step = RecordStep("gun slot save of " + ComboBox6.Text());
    const SlotShip ship{
        ShipPath(), Ship.ShipFile, Ship.GunsBase, Ship.EngnBase, ComboBox2.Items().size(), ComboBox3.Items().size()};
    // The ship file and the catalogue are read, checked and written as one step, and read back before another
    // writer comes: what this save leaves is what the next one checks against. A change another program made to
    // either since the table was read is kept: the save would write the table and the positions over it.
    const GameFolderLock lock(GameFolder);
    RefuseIfChanged(Editor::GunSlots, "Ships\\" + Ship.ShipFile, ShipBytesNow(*this) != SlotShipAsRead);
    RefuseIfChanged(Editor::GunSlots, Catalogue.FileName().substr(GameFolder.size()),
                    SectionNow(*this) != SlotSectionAsRead);
    if (const std::optional<std::string> refusal = SaveGunSlots(Catalogue, ship, GunSlots)) {
        GetPlatform().ShowMessage(*refusal);
        return;
    }
    // The Ships tab shows the new file; the table and the list already describe it. Both files hold the save
    // now: a reload that fails must not read as a failed save.
    KeepLoadedValues(Editor::GunSlots);
    ShowStatus("Gun slots of " + ComboBox6.Text() + " saved: Ships\\" + Ship.ShipFile);
    try {
        ComboBox1Change();
        SlotShipAsRead = ShipBytesNow(*this);
        SlotSectionAsRead = SectionNow(*this);
    } catch (const Exception& error) {
        throw EChangedButNotReadBack("The gun slots of Ships\\" + ship.Section + " were saved, with its section in " +
                                         Catalogue.FileName().substr(GameFolder.size()),
                                     error);
    }
}

}  // namespace tovarin
