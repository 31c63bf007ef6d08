#include <string>
#include <vector>

#include "gamefiles/errors.h"
#include "gamefiles/file_handle.h"
#include "gamefiles/folder_lock.h"
#include "gamefiles/narrowing.h"
#include "gamefiles/whole_files.h"
#include "ui/platform.h"
#include "weapons/gun_record.h"
#include "window/form1.h"
#include "window/weapon_boxes.h"

namespace tovarin {

namespace {

// Shows the record of gun `index` at `base` as the table now holds it; only a record read whole lets the gun be
// saved.
void ShowGun(TForm1& form, int index, std::int32_t base) {
    form.LoadedGun = -1;
    const std::string table = form.GameFile(kGunTableFile);
    const std::vector<std::uint8_t> bytes = OnBytesOf(table, [&] { return ReadWholeFile(table); });
    const GunValues values = OnBytesOf(table, [&] { return ReadGunRecord(bytes, base); });
    form.GunRecordAsRead = RecordBytes(bytes, base, kGunRecordSize);
    const std::vector<std::string_view> unshown = ShowFloatFields(form, kGunFields, kGunBoxes, values.Fields);
    form.LoadedGun = index;
    if (!unshown.empty())
        form.GetPlatform().ShowMessage(UnshownFieldsMessage(ItemName(form.ComboBox4, index), unshown));
}

}  // namespace

void TForm1::ComboBox4Change() {
    if (ComboBox4.Text().empty()) return;
    // Ship files name a gun by one byte, so only the first 256 guns can be edited.
    LoadGun(ToByte(ComboBox4.ItemIndex()));
}

void TForm1::LoadGun(std::uint8_t index) {
    const EditorLoad load(*this, Editor::Gun);
    LoadedGun = -1;
    const auto base = FindRecordBase(*this, ComboBox4, index, kGunDataSection);
    if (base) ShowGun(*this, index, *base);
}

// Every box is converted and checked before the table changes; the record then changes in the table's bytes,
// which replace the file in one step. A refused or failed save leaves the table as it was.
void TForm1::Button7Click() {
    const GameFolderLock lock(GameFolder);  // the table is read and written by the folder's one writer
    const ChangeRecording step = RecordStep("save of " + ComboBox4.Text());
    const auto base = RecordBaseToSave(*this, ComboBox4, kGunDataSection, LoadedGun, kGunRecordSize, "gun");
    if (!base) return;
    GunValues values;
    CollectFloatFields(*this, kGunBoxes, values.Fields);
    // A record another program changed since the load keeps that change: the save would write every box over it.
    RefuseIfChanged(Editor::Gun, kGunTableFile,
                    RecordBytesNow(*this, kGunTableFile, *base, kGunRecordSize) != GunRecordAsRead);
    const std::pair<std::int32_t, GunValues> record{*base, values};
    const std::string table = GameFile(kGunTableFile);
    const auto notFlushed =
        SavedUnlessFailed([&] { OnBytesOf(table, [&] { SaveGunRecords(table, std::span(&record, 1)); }); });
    ShowStatus(ComboBox4.Text() + " saved: " + kGunTableFile);
    // Show the values as the file now holds them, after their round trip through single precision. The table
    // holds the save already: a read that fails now must not read as a failed save.
    try {
        ShowGun(*this, ComboBox4.ItemIndex(), *base);
    } catch (const Exception& error) {
        throw ESavedButNotReadBack(kGunTableFile, error);
    }
    KeepLoadedValues(Editor::Gun);  // the boxes now show what the file holds
    if (notFlushed) throw *notFlushed;
}

}  // namespace tovarin
