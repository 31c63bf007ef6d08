#include <array>
#include <vector>

#include "app/form1.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/narrowing.h"
#include "ui/platform.h"
#include "weapons/missile_record.h"
#include "weapons/weapon_fields.h"

namespace tovarin {

void TForm1::ComboBox5Change() {
    if (ComboBox5.Text().empty()) return;
    // Ship files and sub-missile types name a missile by one byte, so only the first 256 can be edited.
    LoadMissile(ToByte(ComboBox5.ItemIndex()));
}

void TForm1::LoadMissile(std::uint8_t index) {
    const EditorLoad load(*this, Editor::Missile);
    const std::string missile = ItemName(ComboBox5, index);
    const auto base = FindRecordBase(*this, ComboBox5, index, kMissDataSection);
    if (!base) return;
    const std::string file = GameFile(kMissileTableFile);
    std::vector<std::string_view> unshown;
    for (const FloatField& field : kMissileFields) {
        if (!ShowFloatField(*this, file, *base, field)) unshown.push_back(field.Caption);
    }

    // Checking "Split up" runs CheckBox3Click, so the split-up group shows exactly for missiles that split.
    const std::uint8_t count = ReadByteAt(file, AddPos(*base, kSplitCountOffset));
    Edit49.SetText(IntToStr(count));
    CheckBox3.SetChecked(count != 0);
    if (!ShowFloatField(*this, file, *base, kSplitDelayField)) unshown.push_back(kSplitDelayField.Caption);
    // A type that names no missile of the list leaves the list without a selection.
    ComboBox7.SetItemIndex(ReadByteAt(file, AddPos(*base, kSubMissileTypeOffset)));

    std::array<std::uint8_t, 2> flagBytes{};
    (void)ReadBytesAt(file, AddPos(*base, kFlagWordOffset), flagBytes, 2);
    ShowMissileFlags(MakeWord(flagBytes[0], flagBytes[1]));

    if (!unshown.empty()) GetPlatform().ShowMessage(UnshownFieldsMessage(missile, unshown));
}

void TForm1::ShowMissileFlags(std::uint16_t flags) {
    for (const MissileFlag& flag : kMissileFlags) (this->*flag.Box).SetChecked((flags & flag.Bit) != 0);
}

std::uint16_t TForm1::CollectMissileFlags() const {
    std::uint16_t flags = 0;
    for (const MissileFlag& flag : kMissileFlags) {
        if ((this->*flag.Box).Checked()) flags |= flag.Bit;
    }
    return flags;
}

// The check box only shows or hides the split-up values; a missile stops splitting when 0 sub-missiles are
// saved.
void TForm1::CheckBox3Click() { GroupBox9.SetVisible(CheckBox3.Checked()); }

// Each value is written as soon as it is taken from its control: a failure stops the save there, with the
// values before it written and none after. The controls are not reloaded.
void TForm1::Button8Click() {
    const int index = ComboBox5.ItemIndex();
    if (index < 0) {
        GetPlatform().ShowMessage("No missile is selected.");
        return;
    }
    // A missile beyond the first 256 was never loaded: the controls still show another missile's values.
    (void)ToByte(index);
    const auto base = FindRecordBase(*this, ComboBox5, index, kMissDataSection);
    if (!base) return;
    auto refusal = UnstorableValueMessage(*this, kMissileFields);
    if (!refusal) refusal = UnstorableValueMessage(*this, std::span(&kSplitDelayField, 1));
    if (refusal) {
        GetPlatform().ShowMessage(*refusal);
        return;
    }

    const std::string file = GameFile(kMissileTableFile);
    for (const FloatField& field : kMissileFields) SaveFloatField(*this, file, *base, field);
    WriteByteAt(file, AddPos(*base, kSplitCountOffset), ToByte(StrToInt(Edit49.Text())));
    SaveFloatField(*this, file, *base, kSplitDelayField);
    WriteByteAt(file, AddPos(*base, kSubMissileTypeOffset), ToByte(ComboBox7.ItemIndex()));

    std::array<std::uint8_t, 2> flagBytes{};
    SplitWord(CollectMissileFlags(), flagBytes[0], flagBytes[1]);
    WriteBytesAt(file, AddPos(*base, kFlagWordOffset), flagBytes, 2);
    KeepLoadedValues(Editor::Missile);  // the controls now show what the file holds
}

}  // namespace tovarin
