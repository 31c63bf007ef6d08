#include "weapons/missile_record.h"

#include "gamefiles/file_primitives.h"
#include "gamefiles/narrowing.h"

namespace tovarin {

MissileValues ReadMissileRecord(std::span<const std::uint8_t> table, std::int32_t base) {
    CheckRecordInside(table, base, kMissileRecordSize);
    MissileValues values;
    for (std::size_t i = 0; i < kMissileFields.size(); ++i) {
        values.Fields[i] = ReadFloatField(table, base, kMissileFields[i]);
    }
    values.SplitCount = ReadByteIn(table, AddPos(base, kSplitCountOffset));
    values.SplitDelay = ReadFloatField(table, base, kSplitDelayField);
    values.SubMissileType = ReadByteIn(table, AddPos(base, kSubMissileTypeOffset));
    const auto flags = ReadTwoBytesIn(table, AddPos(base, kFlagWordOffset));
    values.Flags = MakeWord(flags[0], flags[1]);
    return values;
}

void WriteMissileRecord(std::vector<std::uint8_t>& table, std::int32_t base, const MissileValues& values) {
    CheckRecordInside(table, base, kMissileRecordSize);
    std::vector<std::uint8_t> changed = table;
    for (std::size_t i = 0; i < kMissileFields.size(); ++i) {
        if (values.Fields[i]) WriteFloatField(changed, base, kMissileFields[i], *values.Fields[i]);
    }
    const auto at = [base](std::int32_t offset) { return static_cast<std::size_t>(AddPos(base, offset)); };
    changed[at(kSplitCountOffset)] = values.SplitCount;
    if (values.SplitDelay) WriteFloatField(changed, base, kSplitDelayField, *values.SplitDelay);
    if (values.SubMissileType) changed[at(kSubMissileTypeOffset)] = *values.SubMissileType;
    changed[at(kFlagWordOffset)] = static_cast<std::uint8_t>(values.Flags);
    changed[at(kFlagWordOffset) + 1] = static_cast<std::uint8_t>(values.Flags >> 8);
    table = std::move(changed);
}

bool SaveMissileRecords(const std::string& tablePath, std::span<const std::pair<std::int32_t, MissileValues>> records) {
    return ReplaceTableRecords(tablePath, [&](std::vector<std::uint8_t>& table) {
        for (const auto& [base, values] : records) WriteMissileRecord(table, base, values);
    });
}

}  // namespace tovarin
