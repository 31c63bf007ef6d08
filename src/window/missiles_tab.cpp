#include <array>
#include <vector>

#include "gamefiles/errors.h"
#include "gamefiles/file_handle.h"
#include "gamefiles/folder_lock.h"
#include "gamefiles/narrowing.h"
#include "gamefiles/whole_files.h"
#include "ui/platform.h"
#include "weapons/missile_record.h"
#include "window/form1.h"
#include "window/weapon_boxes.h"

namespace tovarin {

void TForm1::ComboBox5Change() {
    if (ComboBox5.Text().empty()) return;
    // Ship files and sub-missile types name a missile by one byte, so only the first 256 can be edited.
    LoadMissile(ToByte(ComboBox5.ItemIndex()));
}

void TForm1::LoadMissile(std::uint8_t index) {
    const EditorLoad load(*this, Editor::Missile);
    LoadedMissile = -1;
    const std::string missile = ItemName(ComboBox5, index);
    const auto base = FindRecordBase(*this, ComboBox5, index, kMissDataSection);
    if (!base) return;
    const std::string table = GameFile(kMissileTableFile);
    const std::vector<std::uint8_t> bytes = OnBytesOf(table, [&] { return ReadWholeFile(table); });
    const MissileValues values = OnBytesOf(table, [&] { return ReadMissileRecord(bytes, *base); });
    MissileRecordAsRead = RecordBytes(bytes, *base, kMissileRecordSize);
    std::vector<std::string_view> unshown = ShowFloatFields(*this, kMissileFields, kMissileBoxes, values.Fields);
    // Checking "Split up" runs CheckBox3Click, so the split-up group shows exactly for missiles that split.
    Edit49.SetText(IntToStr(values.SplitCount));
    CheckBox3.SetChecked(values.SplitCount != 0);
    if (!ShowFloatFields(*this, std::span(&kSplitDelayField, 1), std::span(&kSplitDelayBox, 1),
                         std::span(&values.SplitDelay, 1))
             .empty()) {
        unshown.push_back(kSplitDelayField.Caption);
    }
    // A type that names no missile of the list leaves the list without a selection.
    ComboBox7.SetItemIndex(*values.SubMissileType);
    ShowMissileFlags(values.Flags);
    LoadedMissile = index;

    if (!unshown.empty()) GetPlatform().ShowMessage(UnshownFieldsMessage(missile, unshown));
}

void TForm1::ShowMissileFlags(std::uint16_t flags) {
    for (std::size_t i = 0; i < kMissileFlags.size(); ++i)
        (this->*kMissileFlagBoxes[i]).SetChecked((flags & kMissileFlags[i].Bit) != 0);
}

std::uint16_t TForm1::CollectMissileFlags() const {
    std::uint16_t flags = 0;
    for (std::size_t i = 0; i < kMissileFlags.size(); ++i) {
        if ((this->*kMissileFlagBoxes[i]).Checked()) flags |= kMissileFlags[i].Bit;
    }
    return flags;
}

// The check box only shows or hides the split-up values; a missile stops splitting when 0 sub-missiles are
// saved.
void TForm1::CheckBox3Click() { GroupBox9.SetVisible(CheckBox3.Checked()); }

// Every control is converted and checked before the table changes; the record then changes in the table's bytes,
// which replace the file in one step. A refused or failed save leaves the table as it was. The controls are not
// reloaded.
void TForm1::Button8Click() {
    const GameFolderLock lock(GameFolder);  // the table is read and written by the folder's one writer
    const ChangeRecording step = RecordStep("save of " + ComboBox5.Text());
    const auto base =
        RecordBaseToSave(*this, ComboBox5, kMissDataSection, LoadedMissile, kMissileRecordSize, "missile");
    if (!base) return;
    MissileValues values;
    CollectFloatFields(*this, kMissileBoxes, values.Fields);
    values.SplitCount = ToByte(CheckedValue(Edit49));
    values.SplitDelay = CheckedValue(Edit48);
    // With no type selected (the stored one names no listed missile) the stored type stays: the player has not
    // chosen another, and the box may be hidden because the missile does not split.
    if (ComboBox7.ItemIndex() >= 0) values.SubMissileType = ToByte(ComboBox7.ItemIndex());
    values.Flags = CollectMissileFlags();
    // As for a gun: a record another program changed since the load is not written over.
    RefuseIfChanged(Editor::Missile, kMissileTableFile,
                    RecordBytesNow(*this, kMissileTableFile, *base, kMissileRecordSize) != MissileRecordAsRead);

    const std::pair<std::int32_t, MissileValues> record{*base, values};
    const std::string table = GameFile(kMissileTableFile);
    const auto notFlushed =
        SavedUnlessFailed([&] { OnBytesOf(table, [&] { SaveMissileRecords(table, std::span(&record, 1)); }); });
    ShowStatus(ComboBox5.Text() + " saved: " + kMissileTableFile);
    // The record as saved is what the next save checks against. The table holds the save already: a read that fails
    // now must not read as a failed save.
    try {
        MissileRecordAsRead = RecordBytesNow(*this, kMissileTableFile, *base, kMissileRecordSize);
    } catch (const Exception& error) {
        throw ESavedButNotReadBack(kMissileTableFile, error);
    }
    KeepLoadedValues(Editor::Missile);  // the controls now show what the file holds
    if (notFlushed) throw *notFlushed;
}

}  // namespace tovarin
