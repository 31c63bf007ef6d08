#include "weapons/gun_record.h"

namespace tovarin {

GunValues ReadGunRecord(std::span<const std::uint8_t> table, std::int32_t base) {
    CheckRecordInside(table, base, kGunRecordSize);
    GunValues values;
    for (std::size_t i = 0; i < kGunFields.size(); ++i) values.Fields[i] = ReadFloatField(table, base, kGunFields[i]);
    return values;
}

void WriteGunRecord(std::vector<std::uint8_t>& table, std::int32_t base, const GunValues& values) {
    CheckRecordInside(table, base, kGunRecordSize);
    std::vector<std::uint8_t> changed = table;
    for (std::size_t i = 0; i < kGunFields.size(); ++i) {
        if (values.Fields[i]) WriteFloatField(changed, base, kGunFields[i], *values.Fields[i]);
    }
    table = std::move(changed);
}

bool SaveGunRecords(const std::string& tablePath, std::span<const std::pair<std::int32_t, GunValues>> records) {
    return ReplaceTableRecords(tablePath, [&](std::vector<std::uint8_t>& table) {
        for (const auto& [base, values] : records) WriteGunRecord(table, base, values);
    });
}

}  // namespace tovarin
