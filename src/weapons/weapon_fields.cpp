#include "weapons/weapon_fields.h"

#include "gamefiles/errors.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/ini_file.h"
#include "gamefiles/narrowing.h"
#include "gamefiles/whole_files.h"

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

}  // namespace tovarin
