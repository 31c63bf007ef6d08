#include "weapons/weapon_fields.h"

#include "window/form1.h"
#include "gamefiles/errors.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/ini_file.h"
#include "gamefiles/narrowing.h"
#include "gamefiles/whole_files.h"
#include "ui/platform.h"

namespace tovarin {

namespace {

constexpr int kReadBeyondEnd = 100;

}  // namespace

void CheckRecordInside(std::span<const std::uint8_t> table, std::int32_t base, std::int32_t size) {
    const std::int32_t end = AddPos(base, size);
    if (base < 0 || static_cast<std::size_t>(end) > table.size()) throw EInOutError(kReadBeyondEnd);
}

std::optional<std::int32_t> ReadFloatField(std::span<const std::uint8_t> table, std::int32_t base,
                                           const FloatField& field) {
    const float stored = ReadFloatIn(table, AddPos(base, field.Offset));
    if (!IsDisplayable(stored, field.Scaling)) return std::nullopt;
    return DisplayValue(stored, field.Scaling);
}

void WriteFloatField(std::vector<std::uint8_t>& table, std::int32_t base, const FloatField& field, std::int32_t value) {
    const float stored = StoredValue(value, field.Scaling);
    if (!IsDisplayable(stored, field.Scaling)) {
        throw Exception(std::string(field.Caption) + ": " + IntToStr(value) +
                        " is out of range and cannot be stored. Nothing was saved");
    }
    const std::int32_t at = AddPos(base, field.Offset);
    CheckRecordInside(table, at, 4);
    const std::uint32_t bits = FloatBits(stored);
    for (std::size_t i = 0; i < 4; ++i)
        table[static_cast<std::size_t>(at) + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

std::vector<std::string_view> ShowFloatFields(TForm1& form, std::span<const FloatField> fields,
                                              std::span<const std::optional<std::int32_t>> values) {
    std::vector<std::string_view> unshown;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        (form.*fields[i].Box).SetText(values[i] ? IntToStr(*values[i]) : "");
        if (!values[i]) unshown.push_back(fields[i].Caption);
    }
    return unshown;
}

void CollectFloatFields(const TForm1& form, std::span<const FloatField> fields,
                        std::span<std::optional<std::int32_t>> values) {
    for (std::size_t i = 0; i < fields.size(); ++i) values[i] = StrToInt((form.*fields[i].Box).Text());
}

std::string ItemName(const TComboBox& list, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= list.Items().size()) return "";
    return list.Items()[static_cast<std::size_t>(index)];
}

bool ReplaceTableRecords(const std::string& tablePath, const std::function<void(std::vector<std::uint8_t>&)>& write) {
    const std::vector<std::uint8_t> before = ReadWholeFile(tablePath);
    std::vector<std::uint8_t> table = before;
    write(table);
    if (table == before) return false;
    ReplaceWholeFile(tablePath, table);
    return true;
}

std::optional<std::int32_t> CatalogueRecordBase(const TIniFile& catalogue, const std::string& section, int index) {
    const std::int32_t base = catalogue.ReadInteger(section, IntToStr(index), 0);
    if (base > 0) return base;
    return std::nullopt;
}

std::string NoRecordPositionMessage(const std::string& weapon, const std::string& section, int index) {
    return weapon + " cannot be edited: the catalogue gives no record position for it (" + section + ", key " +
           IntToStr(index) + ").";
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

std::string UnshownFieldsMessage(const std::string& weapon, const std::vector<std::string_view>& captions) {
    std::string list;
    for (std::string_view caption : captions) {
        if (!list.empty()) list += ", ";
        list += caption;
    }
    return "Some values of " + weapon + " could not be shown and were left empty: " + list + ".";
}

}  // namespace tovarin
