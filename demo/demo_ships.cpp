#include "demo/demo_ships.h"

namespace tovarin::demo {

namespace {

// Gun indexes of the demo catalogue.
constexpr std::uint8_t kPulseLaser = 0;
constexpr std::uint8_t kIonCannon = 1;
constexpr std::uint8_t kMassDriver = 2;
constexpr std::uint8_t kPlasmaRepeater = 3;
constexpr std::uint8_t kFlakBurst = 4;
constexpr std::uint8_t kParticleBeam = 5;
constexpr std::uint8_t kNeutronGun = 6;
constexpr std::uint8_t kTachyonLance = 7;
constexpr std::uint8_t kScatterGun = 8;
constexpr std::uint8_t kMesonBlaster = 9;
constexpr std::uint8_t kGatlingAutocannon = 11;
constexpr std::uint8_t kPhotonLance = 12;

// Missile indexes.
constexpr std::uint8_t kDart = 0;
constexpr std::uint8_t kHornetIr = 1;
constexpr std::uint8_t kSpearFf = 2;
constexpr std::uint8_t kViperHs = 3;
constexpr std::uint8_t kHydraCluster = 4;
constexpr std::uint8_t kLanceTorpedo = 6;

ShipPlan Kestrel() {
    ShipPlan s;
    s.Mass = 9800;
    s.Hitpoints = 320;
    s.Slide = true;
    s.Engine = {120, 450, 600, 110, 1300, 340, 40, 85, 80, 110, 42};
    s.GunPower = {180, 9, 13, 17};
    s.GunMounts = {{kPulseLaser, 0, "gun_wing_left"}, {kPulseLaser, 0, "gun_wing_right"}, {kIonCannon, 0, "gun_nose"}};
    s.Missiles = ShipMissiles{{{kHornetIr, 4}, {kDart, 6}}};
    s.Decoys = 12;
    s.Shields = ShipShields{150, 140, 4, 6, 8};
    s.Armour = ShipArmour{90, 80, 80, 85};
    return s;
}

ShipPlan Warden() {
    ShipPlan s;
    s.Mass = 21500;
    s.Hitpoints = 720;
    s.Engine = {80, 360, 480, 70, 1050, 240, 60, 55, 50, 75, 28};
    s.Booster = ShipBooster{{380, 900, 45, 35, 95, 24, 60, 50, 110, 100, 2800, 22}};
    s.GunPower = {320, 11, 15, 21};
    s.GunMounts = {{kMassDriver, 0, "gun_left"}, {kMassDriver, 0, "gun_right"}, {kParticleBeam, 0, "gun_chin"}};
    s.Missiles = ShipMissiles{{{kSpearFf, 4}, {kSpearFf, 4}, {kHydraCluster, 2}}};
    s.Decoys = 20;
    s.Shields = ShipShields{260, 240, 6, 9, 12};
    s.Armour = ShipArmour{160, 140, 140, 150};
    s.Turrets = ShipTurrets{{kFlakBurst}};
    return s;
}

// A bomber whose missile form has no decoy chunk after it.
ShipPlan Halberd() {
    ShipPlan s;
    s.Mass = 26000;
    s.Hitpoints = 850;
    s.Engine = {70, 300, 400, 55, 900, 200, 55, 45, 40, 60, 22};
    s.GunPower = {200, 7, 10, 14};
    s.GunMounts = {{kIonCannon, 0, "gun_nose_left"}, {kIonCannon, 0, "gun_nose_right"}};
    s.Missiles = ShipMissiles{{{kLanceTorpedo, 2}, {kViperHs, 4}}};
    s.Armour = ShipArmour{210, 180, 180, 190};
    return s;
}

// Mount names of odd and even length, so some mount chunks carry a pad byte and some do not.
ShipPlan Corsair() {
    ShipPlan s;
    s.Mass = 11200;
    s.Hitpoints = 360;
    s.Slide = true;
    s.Engine = {130, 470, 620, 115, 1350, 360, 38, 90, 88, 120, 45};
    s.Booster = ShipBooster{{340, 880, 42, 32, 92, 21, 66, 56, 118, 108, 3100, 16}};
    s.GunPower = {210, 10, 14, 19};
    s.GunMounts = {{kGatlingAutocannon, 1200, "gun_belly"},
                   {kPlasmaRepeater, 0, "gun_wing_l"},
                   {kPlasmaRepeater, 0, "gun_wing_rt"},
                   {kScatterGun, 0, "g"}};
    s.Missiles = ShipMissiles{{{kHornetIr, 2}, {kViperHs, 2}}};
    s.Decoys = 8;
    s.Shields = ShipShields{160, 130, 5, 7, 9};
    s.Armour = ShipArmour{95, 85, 85, 90};
    return s;
}

// A fast interceptor: guns only, no missiles, shields or armour.
ShipPlan Lancet() {
    ShipPlan s;
    s.Mass = 7600;
    s.Hitpoints = 240;
    s.Slide = true;
    s.Engine = {150, 520, 700, 130, 1500, 400, 35, 100, 95, 130, 50};
    s.GunPower = {160, 10, 14, 18};
    s.GunMounts = {{kNeutronGun, 0, "gun_left"}, {kNeutronGun, 0, "gun_right"}};
    return s;
}

ShipPlan Bastion() {
    ShipPlan s;
    s.Mass = 64000;
    s.Hitpoints = 2400;
    s.Engine = {30, 160, 220, 25, 400, 80, 80, 20, 18, 25, 10};
    s.GunPower = {900, 20, 30, 40};
    s.GunMounts = {{kPhotonLance, 0, "gun_bow_port"},  {kPhotonLance, 0, "gun_bow_starboard"},
                   {kMesonBlaster, 0, "gun_mid_port"}, {kMesonBlaster, 0, "gun_mid_starboard"},
                   {kTachyonLance, 0, "gun_keel"},     {kPulseLaser, 0, "gun_dorsal_1"},
                   {kPulseLaser, 0, "gun_dorsal_2"},   {kPulseLaser, 0, "gun_ventral_1"},
                   {kPulseLaser, 0, "gun_ventral_2"},  {kGatlingAutocannon, 3000, "gun_stern"}};
    s.Missiles = ShipMissiles{{{kLanceTorpedo, 4}}};
    s.Decoys = 30;
    s.Shields = ShipShields{600, 550, 10, 14, 18};
    s.Armour = ShipArmour{480, 420, 420, 450};
    s.Turrets = ShipTurrets{{kFlakBurst, kFlakBurst, kMassDriver, kParticleBeam}};
    return s;
}

ShipPlan Marauder() {
    ShipPlan s;
    s.Mass = 30500;
    s.Hitpoints = 1100;
    s.Engine = {60, 280, 380, 50, 850, 180, 50, 40, 38, 55, 20};
    s.Booster = ShipBooster{};
    s.GunPower = {420, 12, 17, 23};
    s.GunMounts = {{kMassDriver, 0, "gun_nose"}, {kFlakBurst, 0, "gun_chin"}};
    s.Shields = ShipShields{300, 280, 7, 10, 13};
    s.Armour = ShipArmour{220, 200, 200, 210};
    s.Turrets = ShipTurrets{{kPlasmaRepeater, kScatterGun}};
    return s;
}

// Nothing but what every ship has.
ShipPlan Sable() {
    ShipPlan s;
    s.Mass = 8800;
    s.Hitpoints = 280;
    s.Engine = {140, 480, 640, 120, 1400, 370, 30, 95, 90, 125, 46};
    s.GunPower = {150, 9, 12, 16};
    s.GunMounts = {{kParticleBeam, 0, "gun_hidden"}};
    return s;
}

}  // namespace

const std::vector<std::string>& DemoGunNames() {
    static const std::vector<std::string> names = {
        "Pulse Laser",   "Ion Cannon",         "Mass Driver",   "Plasma Repeater", "Flak Burst",
        "Particle Beam", "Neutron Gun",        "Tachyon Lance", "Scatter Gun",     "Meson Blaster",
        "Arc Projector", "Gatling Autocannon", "Photon Lance"};
    return names;
}

const std::vector<std::string>& DemoMissileNames() {
    static const std::vector<std::string> names = {"Dart",          "Hornet IR",         "Spear FF",     "Viper HS",
                                                   "Hydra Cluster", "Wasp Decoy Buster", "Lance Torpedo"};
    return names;
}

std::vector<DemoShip> DemoShips() {
    return {{"Kestrel", "kestrel.iff", Kestrel()},    {"Warden", "warden.iff", Warden()},
            {"Halberd", "halberd.iff", Halberd()},    {"Corsair", "corsair.iff", Corsair()},
            {"Lancet", "lancet.iff", Lancet()},       {"Bastion", "bastion.iff", Bastion()},
            {"Marauder", "marauder.iff", Marauder()}, {"Sable", "sable.iff", Sable()}};
}

}  // namespace tovarin::demo
