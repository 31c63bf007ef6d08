#include "window/weapon_boxes.h"

#include <algorithm>

#include "gamefiles/errors.h"
#include "gamefiles/narrowing.h"
#include "gamefiles/numbers.h"
#include "gamefiles/whole_files.h"
#include "ui/platform.h"
#include "weapons/weapon_fields.h"

namespace tovarin {

std::vector<std::string_view> ShowFloatFields(TForm1& form, std::span<const FloatField> fields,
                                              std::span<const FieldBox> boxes,
                                              std::span<const std::optional<std::int32_t>> values) {
    std::vector<std::string_view> unshown;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        (form.*boxes[i]).SetText(values[i] ? IntToStr(*values[i]) : "");
        if (!values[i]) unshown.push_back(fields[i].Caption);
    }
    return unshown;
}

void CollectFloatFields(const TForm1& form, std::span<const FieldBox> boxes,
                        std::span<std::optional<std::int32_t>> values) {
    for (std::size_t i = 0; i < boxes.size(); ++i) values[i] = form.CheckedValue(form.*boxes[i]);
}

std::string ItemName(const TComboBox& list, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= list.Items().size()) return "";
    return list.Items()[static_cast<std::size_t>(index)];
}

std::optional<std::int32_t> FindRecordBase(TForm1& form, const TComboBox& list, int index, const std::string& section) {
    const auto base = CatalogueRecordBase(form.Catalogue, section, index);
    if (!base) form.GetPlatform().ShowMessage(NoRecordPositionMessage(ItemName(list, index), section, index));
    return base;
}

std::optional<std::int32_t> RecordBaseToSave(TForm1& form, const TComboBox& list, const std::string& section,
                                             int loaded, std::int32_t recordSize, const std::string& weapon) {
    const int index = list.ItemIndex();
    if (index < 0) {
        form.GetPlatform().ShowMessage("No " + weapon + " is selected.");
        return std::nullopt;
    }
    // Ship files name a weapon by one byte: one beyond the first 256 was never loaded.
    (void)ToByte(index);
    const auto base = FindRecordBase(form, list, index, section);
    if (!base) return std::nullopt;
    (void)AddPos(*base, recordSize);  // a record that ends beyond any file position
    if (loaded == index) return base;
    form.GetPlatform().ShowMessage(ItemName(list, index) +
                                   " cannot be saved: its record could not be read whole, so the boxes do not show "
                                   "it.");
    return std::nullopt;
}

std::vector<std::uint8_t> RecordBytes(std::span<const std::uint8_t> table, std::int32_t base, std::int32_t size) {
    const auto at = std::min(table.size(), static_cast<std::size_t>(std::max(base, 0)));
    return {table.begin() + static_cast<std::ptrdiff_t>(at),
            table.begin() + static_cast<std::ptrdiff_t>(std::min(table.size(), at + static_cast<std::size_t>(size)))};
}

std::vector<std::uint8_t> RecordBytesNow(const TForm1& form, const std::string& file, std::int32_t base,
                                         std::int32_t size) {
    const std::string path = form.GameFile(file);
    return RecordBytes(OnBytesOf(path, [&] { return ReadWholeFile(path); }), base, size);
}

std::string UnshownFieldsMessage(const std::string& weapon, const std::vector<std::string_view>& captions) {
    std::string list;
    for (std::string_view caption : captions) {
        if (!list.empty()) list += ", ";
        list += caption;
    }
    return "Some values of " + weapon + " could not be shown and were left empty: " + list + ".";
}

}  // namespace tovarin
