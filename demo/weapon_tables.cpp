#include "demo/weapon_tables.h"

#include <cstring>
#include <stdexcept>

// The offsets are written out here on their own, apart from the editors' tables, so that a test comparing
// the two catches a field the editor places wrongly.
namespace tovarin::demo {

namespace {

// Every byte not written by a record: a pattern that no field of the tests produces by chance.
std::uint8_t Filler(std::size_t position) { return static_cast<std::uint8_t>(0xA5 ^ (position * 7)); }

Bytes FilledTable(std::size_t fileSize) {
    Bytes table(fileSize);
    for (std::size_t i = 0; i < fileSize; ++i) table[i] = Filler(i);
    return table;
}

std::size_t At(const Bytes& table, std::int32_t base, int offset, int width) {
    if (base < 0) throw std::out_of_range("negative record base");
    const std::size_t position = static_cast<std::size_t>(base) + static_cast<std::size_t>(offset);
    if (position + static_cast<std::size_t>(width) > table.size()) throw std::out_of_range("record beyond the table");
    return position;
}

void PutFloat(Bytes& table, std::int32_t base, int offset, float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const std::size_t at = At(table, base, offset, 4);
    for (int i = 0; i < 4; ++i) table[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(bits >> (8 * i));
}

void PutByte(Bytes& table, std::int32_t base, int offset, std::uint8_t value) {
    table[At(table, base, offset, 1)] = value;
}

void PutWord(Bytes& table, std::int32_t base, int offset, std::uint16_t value) {
    const std::size_t at = At(table, base, offset, 2);
    table[at] = static_cast<std::uint8_t>(value);
    table[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void PutGun(Bytes& table, std::int32_t base, const GunRecord& gun) {
    (void)At(table, base, 0, kGunRecordSize);
    PutFloat(table, base, 20, gun.Speed);
    PutFloat(table, base, 24, gun.Range);
    PutFloat(table, base, 28, gun.Untouched);
    PutFloat(table, base, 32, gun.Energy);
    PutFloat(table, base, 36, gun.Damage);
    PutFloat(table, base, 40, gun.RefireSeconds);
}

void PutMissile(Bytes& table, std::int32_t base, const MissileRecord& missile) {
    (void)At(table, base, 0, kMissileRecordSize);
    PutFloat(table, base, 20, missile.Speed);
    PutFloat(table, base, 24, missile.DurationSeconds);
    PutFloat(table, base, 28, missile.Range);
    PutFloat(table, base, 32, missile.P);
    PutFloat(table, base, 36, missile.Y);
    PutFloat(table, base, 44, missile.Acceleration);
    PutFloat(table, base, 48, missile.LockSeconds);
    PutFloat(table, base, 52, missile.Damage);
    PutFloat(table, base, 56, missile.SpinRate);
    PutWord(table, base, 72, missile.Flags);
    PutFloat(table, base, 76, missile.RefireSeconds);
    PutFloat(table, base, 80, missile.SpoofFraction);
    PutByte(table, base, 92, missile.SubMissileType);
    PutFloat(table, base, 96, missile.SplitSeconds);
    PutByte(table, base, 100, missile.SplitCount);
}

}  // namespace

Bytes GunTable(const std::vector<std::pair<std::int32_t, GunRecord>>& records, std::size_t fileSize) {
    Bytes table = FilledTable(fileSize);
    for (const auto& [base, gun] : records) PutGun(table, base, gun);
    return table;
}

Bytes MissileTable(const std::vector<std::pair<std::int32_t, MissileRecord>>& records, std::size_t fileSize) {
    Bytes table = FilledTable(fileSize);
    for (const auto& [base, missile] : records) PutMissile(table, base, missile);
    return table;
}

}  // namespace tovarin::demo
