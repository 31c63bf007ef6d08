#include "demo/ship_builder.h"

#include "demo/chunk_writer.h"

namespace tovarin::demo {

namespace {

constexpr std::int32_t kHeader = 8;  // tag and length

// Values the game keeps in the same chunks but the editor never touches, recognisable when they move.
constexpr float kUntouched = 0.75f;

Bytes Floats(std::initializer_list<float> values) {
    Bytes data;
    for (float value : values) AppendFloat(data, value);
    return data;
}

void WritePhysics(ChunkWriter& out, const ShipPlan& plan, ShipOffsets& at) {
    at.PhysPos = out.Chunk("PHYS", Floats({plan.Mass}));
    if (plan.Slide) at.SlidePos = out.Chunk("SLID", Bytes{plan.SlideValue, 0, 0, 0});
    at.Hitpoints = out.Chunk("HULL", Floats({plan.Hitpoints, kUntouched})) + kHeader;
}

Bytes BoosterData(const ShipBooster& booster) {
    const auto& v = booster.Values;
    Bytes data = Floats({v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], booster.Unread, v[11]});
    for (std::string_view name : {"viretail", "booster_01_vire", "vireaftb", "engine_01_viretail"}) {
        AppendText(data, name);
        AppendByte(data, 0);
    }
    return data;
}

void WriteEngine(ChunkWriter& out, const ShipPlan& plan, ShipOffsets& at) {
    const ShipEngine& e = plan.Engine;
    at.EngnBase = out.BeginForm("ENGN");
    out.Chunk("POWR",
              Floats({1.5f, 2.5f, 3.5f, e.SpeedMax, e.SpeedStd, e.SpeedMin, 4.5f, 5.5f, e.Acceleration,
                      e.AfterburnerSpeed, e.AfterburnerAcceleration, e.AfterburnerFuel, e.P, e.Y, e.R, e.YprRate}));
    if (plan.Booster) at.BoosPos = out.Chunk("BOOS", BoosterData(*plan.Booster));
    out.EndForm();
}

Bytes GunMountData(const ShipGunMount& mount) {
    Bytes data{mount.Gun, 0, 0, 0};
    AppendWordLE(data, mount.Ammo);
    AppendZeros(data, 2);
    AppendText(data, mount.Name);
    AppendByte(data, 0);
    return data;
}

void WriteGuns(ChunkWriter& out, const ShipPlan& plan, ShipOffsets& at) {
    const ShipGunPower& p = plan.GunPower;
    at.GunsBase = out.BeginForm("GUNS");
    out.Chunk("POWR", Floats({kUntouched, kUntouched, p.Energy, p.RechargeMax, p.RechargeStd, p.RechargeMin}));
    for (const ShipGunMount& mount : plan.GunMounts) {
        const std::int32_t chunk = out.Chunk(mount.Tag, GunMountData(mount));
        at.GunMountPos.push_back(chunk + kHeader - at.GunsBase);
        at.GunMountSizes.push_back(out.Position() - chunk);
    }
    out.EndForm();
}

void WriteMissiles(ChunkWriter& out, const ShipMissiles& missiles, ShipOffsets& at) {
    at.MissBase = out.BeginForm("MISS");
    out.Chunk("POWR", Floats({kUntouched, 1, 2, 3, 4, 5, 6, 7, 8}));
    Bytes info(missiles.InfoLength, 0x11);
    out.Chunk("MSLT", info);
    for (const ShipMissileMount& mount : missiles.Mounts) {
        at.MissileMountPos.push_back(
            out.Chunk("MSSL", Bytes{mount.Missile, 0, 0, 0, mount.Loads, mount.LoadsHigh, 0, 0}) + kHeader -
            at.MissBase);
    }
    out.EndForm();
}

// The shield form is always 78 bytes long; its marker starts at the last byte of that length.
void WriteShields(ChunkWriter& out, const ShipShields& shields, ShipOffsets& at) {
    at.ShieldBase = out.BeginForm("FSHD");
    out.Chunk("POWR", Floats({kUntouched, kUntouched, kUntouched, shields.RechargeMax, shields.RechargeStd,
                              shields.RechargeMin}));
    Bytes front = Floats({shields.Front, shields.Aft});
    AppendZeros(front, 26);
    out.Chunk("SHLD", front);
    out.EndForm();
}

void WriteArmour(ChunkWriter& out, const ShipArmour& armour, ShipOffsets& at) {
    at.ArmrBase = out.BeginForm("ARMR");
    out.Chunk("DATA", Floats({armour.Front, armour.Aft, armour.Left, armour.Right}));
    out.EndForm();
}

void WriteTurrets(ChunkWriter& out, const ShipTurrets& turrets, ShipOffsets& at) {
    const std::int32_t list = out.BeginForm(turrets.ListMarker ? "TLST" : "TGRP");
    if (turrets.ListMarker && !turrets.Guns.empty()) at.TurretListPos = list + kHeader;
    for (std::uint8_t gun : turrets.Guns) {
        out.BeginForm("TURT");
        at.TurretTypePos.push_back(out.Chunk("BULL", Bytes{gun, 0, 0, 0}) + kHeader);
        out.EndForm();
    }
    out.EndForm();
}

}  // namespace

BuiltShip BuildShip(const ShipPlan& plan) {
    ChunkWriter out;
    ShipOffsets at;
    out.BeginForm("SHIP");
    WritePhysics(out, plan, at);
    if (plan.MisplacedBooster) out.Chunk("BOOS", BoosterData(ShipBooster{}));
    at.EngnContainer = out.BeginForm("SYST");
    WriteEngine(out, plan, at);
    WriteGuns(out, plan, at);
    if (plan.Missiles) WriteMissiles(out, *plan.Missiles, at);
    if (plan.Decoys) at.DecyBase = out.Chunk("DECY", Bytes{*plan.Decoys, 0, 0, 0}) - 1;
    if (plan.Shields) WriteShields(out, *plan.Shields, at);
    if (plan.Armour) WriteArmour(out, *plan.Armour, at);
    if (plan.Turrets) WriteTurrets(out, *plan.Turrets, at);
    out.EndForm();
    out.EndForm();
    BuiltShip built{out.Finish(), at};
    built.Offsets.FileSize = static_cast<std::int32_t>(built.File.size());
    return built;
}

std::vector<ShipGunMount> NumberedGunMounts(int count, std::uint8_t gun) {
    std::vector<ShipGunMount> mounts;
    for (int i = 1; i <= count; ++i) mounts.push_back({gun, 0, "gun_" + std::to_string(i), "HARD"});
    return mounts;
}

}  // namespace tovarin::demo
