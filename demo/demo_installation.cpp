#include "demo/demo_installation.h"

#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include "demo/weapon_tables.h"

namespace tovarin::demo {

namespace {

constexpr std::int32_t kTableHeader = 256;
constexpr std::int32_t kGunStride = 64;
constexpr std::int32_t kMissileStride = 128;

// Missile flag bits, as the missile editor names them.
constexpr std::uint16_t kDamagesComponents = 0x800;
constexpr std::uint16_t kDamagesTurrets = 0x400;
constexpr std::uint16_t kCannotLockOnChildObjects = 0x200;
constexpr std::uint16_t kTargetInViewCone = 0x100;
constexpr std::uint16_t kAttackEnemiesOnly = 0x080;
constexpr std::uint16_t kRearFiring = 0x010;
constexpr std::uint16_t kUseLockRange = 0x008;
constexpr std::uint16_t kAcquireNewTarget = 0x004;
constexpr std::uint16_t kRearAspect = 0x002;
constexpr std::uint16_t kRequiresTarget = 0x001;

// Speed, range, energy, damage, refire delay in seconds, in the order of DemoGunNames().
std::vector<GunRecord> DemoGunRecords() {
    return {
        {2600, 3000, 0, 8, 18, 0.25f},  {2200, 2800, 0, 14, 35, 0.45f}, {3200, 3600, 0, 12, 28, 0.35f},
        {2400, 2600, 0, 10, 22, 0.2f},  {1800, 1500, 0, 16, 40, 0.6f},  {4000, 4200, 0, 22, 45, 0.5f},
        {2000, 2400, 0, 18, 50, 0.55f}, {5000, 5200, 0, 30, 70, 0.8f},  {1600, 1200, 0, 9, 30, 0.4f},
        {2800, 3200, 0, 20, 42, 0.4f},  {1500, 1800, 0, 25, 55, 0.7f},  {3000, 3400, 0, 0, 15, 0.08f},
        {4500, 5000, 0, 35, 90, 1.0f},
    };
}

MissileRecord Missile(float speed, float duration, float range, float p, float y, float acceleration, float lock,
                      float damage, float spin, std::uint16_t flags, float refire, float spoof) {
    MissileRecord r;
    r.Speed = speed;
    r.DurationSeconds = duration;
    r.Range = range;
    r.P = p;
    r.Y = y;
    r.Acceleration = acceleration;
    r.LockSeconds = lock;
    r.Damage = damage;
    r.SpinRate = spin;
    r.Flags = flags;
    r.RefireSeconds = refire;
    r.SpoofFraction = spoof;
    return r;
}

// In the order of DemoMissileNames(). The Hydra Cluster splits into four Darts.
std::vector<MissileRecord> DemoMissileRecords() {
    std::vector<MissileRecord> records = {
        Missile(1400, 6, 2500, 40, 40, 900, 0, 120, 0, kAttackEnemiesOnly, 0.5f, 0.1f),
        Missile(1100, 10, 5000, 90, 90, 600, 2.5f, 260, 60, kRequiresTarget | kRearAspect | kTargetInViewCone, 1, 0.3f),
        Missile(1000, 12, 6000, 110, 110, 550, 1.5f, 300, 90, kRequiresTarget | kAttackEnemiesOnly | kAcquireNewTarget,
                1.2f, 0.25f),
        Missile(1250, 9, 5500, 120, 120, 700, 2, 280, 120, kRequiresTarget | kUseLockRange | kTargetInViewCone, 1,
                0.35f),
        Missile(900, 14, 7000, 70, 70, 450, 3, 200, 30, kRequiresTarget | kDamagesComponents, 2, 0.2f),
        Missile(1300, 8, 4000, 100, 100, 800, 1, 60, 200, kRearFiring | kAcquireNewTarget, 0.8f, 0.05f),
        Missile(600, 20, 9000, 30, 30, 250, 4, 900, 0,
                kRequiresTarget | kDamagesComponents | kDamagesTurrets | kCannotLockOnChildObjects, 3, 0.4f),
    };
    MissileRecord& hydra = records[4];
    hydra.SubMissileType = 0;
    hydra.SplitSeconds = 0.8f;
    hydra.SplitCount = 4;
    return records;
}

// A value of a default profile: the ship file's value moved by a tenth, at least by one.
std::string Moved(float value) {
    const long shown = std::lround(value);
    return std::to_string(shown + std::max(1L, std::labs(shown) / 10));
}

std::string Flag(bool value) { return value ? "1" : "0"; }

}  // namespace

std::int32_t DemoGunBase(int gun) { return kTableHeader + kGunStride * gun; }

std::int32_t DemoMissileBase(int missile) { return kTableHeader + kMissileStride * missile; }

void AddDemoWeapons(GameFolder& folder) {
    folder.SetCatalogueNames("Guns", DemoGunNames());
    folder.SetCatalogueNames("Missiles", DemoMissileNames());

    IniSection gunData{"GunData", {}};
    std::vector<std::pair<std::int32_t, GunRecord>> guns;
    const std::vector<GunRecord> gunRecords = DemoGunRecords();
    for (int i = 0; i < static_cast<int>(gunRecords.size()); ++i) {
        gunData.Keys.emplace_back(std::to_string(i), std::to_string(DemoGunBase(i)));
        guns.emplace_back(DemoGunBase(i), gunRecords[static_cast<std::size_t>(i)]);
    }
    folder.SetCatalogueSection(gunData);
    folder.WriteFile("Game\\bullet.iff",
                     GunTable(guns, static_cast<std::size_t>(DemoGunBase(static_cast<int>(guns.size())) + kGunStride)));

    IniSection missData{"MissData", {}};
    std::vector<std::pair<std::int32_t, MissileRecord>> missiles;
    const std::vector<MissileRecord> missileRecords = DemoMissileRecords();
    for (int i = 0; i < static_cast<int>(missileRecords.size()); ++i) {
        missData.Keys.emplace_back(std::to_string(i), std::to_string(DemoMissileBase(i)));
        missiles.emplace_back(DemoMissileBase(i), missileRecords[static_cast<std::size_t>(i)]);
    }
    folder.SetCatalogueSection(missData);
    folder.WriteFile("Game\\missile.iff",
                     MissileTable(missiles, static_cast<std::size_t>(
                                                DemoMissileBase(static_cast<int>(missiles.size())) + kMissileStride)));
}

void AddDemoShips(GameFolder& folder) {
    for (const DemoShip& ship : DemoShips()) {
        folder.AddShip(ship.Name, ship.File, BuildShip(ship.Plan).File);
        const std::string stem = ship.File.substr(0, ship.File.size() - 4);
        folder.WriteText("Ships\\" + stem + ".def", DefaultProfileText(ship));
    }
}

void AddDemoArchive(GameFolder& folder) {
    // Positions well inside the archive and above the entry count, so they never share a key with an index
    // in the uninstall record.
    const std::vector<std::pair<std::int32_t, std::uint8_t>> patched = {{1201, 'B'}, {20480, 0}, {40961, 0x7F}};
    Bytes archive(48 * 1024);
    for (std::size_t i = 0; i < archive.size(); ++i) archive[i] = static_cast<std::uint8_t>((i * 7 + 3) % 64);
    IniSection install{"InstallData", {{"num", std::to_string(patched.size())}}};
    for (std::size_t i = 0; i < patched.size(); ++i) {
        install.Keys.emplace_back(std::to_string(i), std::to_string(patched[i].first));
        archive[static_cast<std::size_t>(patched[i].first)] = patched[i].second;
    }
    folder.SetCatalogueSection(install);
    folder.WriteFile("data.tre", archive);
}

void WriteDemoInstallation(GameFolder& folder) {
    AddDemoShips(folder);
    AddDemoWeapons(folder);
    AddDemoArchive(folder);
}

std::string DefaultProfileText(const DemoShip& ship) {
    const ShipPlan& s = ship.Plan;
    const ShipEngine& e = s.Engine;
    std::vector<std::pair<std::string, std::string>> keys = {
        {"speedmin", Moved(e.SpeedMin)},
        {"speednor", Moved(e.SpeedStd)},
        {"speedmax", Moved(e.SpeedMax)},
        {"spaccel", Moved(e.Acceleration)},
        {"aftsp", Moved(e.AfterburnerSpeed)},
        {"aftaccel", Moved(e.AfterburnerAcceleration)},
        {"affuel", Moved(e.AfterburnerFuel)},
        {"y", Moved(e.Y)},
        {"p", Moved(e.P)},
        {"r", Moved(e.R)},
        {"yprroc", Moved(e.YprRate)},
        {"autoslide", Flag(s.Slide)},
        {"booster", Flag(s.Booster.has_value())},
        {"hp", Moved(s.Hitpoints)},
    };
    if (s.Armour) {
        keys.insert(keys.end(), {{"armrfront", Moved(s.Armour->Front)},
                                 {"armrright", Moved(s.Armour->Right)},
                                 {"armrleft", Moved(s.Armour->Left)},
                                 {"armraft", Moved(s.Armour->Aft)}});
    }
    if (s.Shields) {
        keys.insert(keys.end(), {{"shfront", Moved(s.Shields->Front)},
                                 {"shaft", Moved(s.Shields->Aft)},
                                 {"shremin", Moved(s.Shields->RechargeMin)},
                                 {"shrenor", Moved(s.Shields->RechargeStd)},
                                 {"shremax", Moved(s.Shields->RechargeMax)}});
    }
    keys.insert(keys.end(), {{"gunen", Moved(s.GunPower.Energy)},
                             {"gunremin", Moved(s.GunPower.RechargeMin)},
                             {"gunrenor", Moved(s.GunPower.RechargeStd)},
                             {"gunremax", Moved(s.GunPower.RechargeMax)}});
    for (std::size_t i = 0; i < s.GunMounts.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        const ShipGunMount& mount = s.GunMounts[i];
        keys.emplace_back("gun" + n, std::to_string(mount.Gun));
        keys.emplace_back("gunammo" + n, mount.Gun == 11 ? Moved(mount.Ammo) : std::to_string(mount.Ammo));
    }
    if (s.Missiles) {
        for (std::size_t i = 0; i < s.Missiles->Mounts.size(); ++i) {
            const std::string n = std::to_string(i + 1);
            keys.emplace_back("miss" + n, std::to_string(s.Missiles->Mounts[i].Missile));
            keys.emplace_back("missammo" + n, Moved(s.Missiles->Mounts[i].Loads));
        }
    }
    if (s.Missiles && s.Decoys) keys.emplace_back("decoys", Moved(*s.Decoys));
    keys.emplace_back("mass", Moved(s.Mass));
    return IniText({{"Ship", keys}});
}

}  // namespace tovarin::demo
