#include <vector>

#include "app/form1.h"
#include "gamefiles/narrowing.h"
#include "ui/platform.h"
#include "weapons/gun_record.h"
#include "weapons/weapon_fields.h"

namespace tovarin {

void TForm1::ComboBox4Change() {
    if (ComboBox4.Text().empty()) return;
    // Ship files name a gun by one byte, so only the first 256 guns can be edited.
    LoadGun(ToByte(ComboBox4.ItemIndex()));
}

void TForm1::LoadGun(std::uint8_t index) {
    const EditorLoad load(*this, Editor::Gun);
    const std::string gun = ItemName(ComboBox4, index);
    const auto base = FindRecordBase(*this, ComboBox4, index, kGunDataSection);
    if (!base) return;
    const std::string file = GameFile(kGunTableFile);
    std::vector<std::string_view> unshown;
    for (const FloatField& field : kGunFields) {
        if (!ShowFloatField(*this, file, *base, field)) unshown.push_back(field.Caption);
    }
    if (!unshown.empty()) GetPlatform().ShowMessage(UnshownFieldsMessage(gun, unshown));
}

// Each box is written as soon as it is converted: a box that holds no integer stops the save there, with the
// fields before it written, and the boxes keep what was typed.
void TForm1::Button7Click() {
    const int index = ComboBox4.ItemIndex();
    if (index < 0) {
        GetPlatform().ShowMessage("No gun is selected.");
        return;
    }
    // A gun beyond the first 256 was never loaded: the boxes still show another gun's values.
    (void)ToByte(index);
    const auto base = FindRecordBase(*this, ComboBox4, index, kGunDataSection);
    if (!base) return;
    if (const auto refusal = UnstorableValueMessage(*this, kGunFields)) {
        GetPlatform().ShowMessage(*refusal);
        return;
    }
    const std::string file = GameFile(kGunTableFile);
    for (const FloatField& field : kGunFields) SaveFloatField(*this, file, *base, field);
    // Show the values as the file now holds them, after their round trip through single precision.
    ComboBox4Change();
}

}  // namespace tovarin
