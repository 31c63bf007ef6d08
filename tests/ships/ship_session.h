#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <functional>
#include <optional>
#include <ranges>
#include <string>
#include <utility>
#include <vector>

#include "demo/demo_installation.h"
#include "demo/demo_ships.h"
#include "demo/ship_builder.h"
#include "testkit/temp_game_folder.h"
#include "ui/headless_platform.h"
#include "ui/user_input.h"
#include "window/application.h"
#include "window/booster_dialog.h"
#include "window/form1.h"

// What the ship tests share: a game folder with our demo weapons and the ships a test needs, one run of the
// program on it, and the boxes of the Ships tab with the plan values they show.
namespace tovarin::testkit {

using namespace demo;  // the demo's builders of ship files, weapon tables and game folders

inline constexpr const char* kShipFile = "Ships\\test.iff";
inline constexpr const char* kSecondFile = "Ships\\second.iff";
inline constexpr const char* kTempFile = "Ships\\tempfgtr.if~";

// A game folder with the demo weapons and either the demo ships or a first ship built from the plan (and a second
// one when given).
struct ShipGame {
    explicit ShipGame(const std::optional<ShipPlan>& first = {}, const std::optional<ShipPlan>& second = {}) {
        AddDemoWeapons(Game);
        if (!first) AddDemoShips(Game);
        if (first) Game.AddShip("Test", "test.iff", BuildShip(*first).File);
        if (second) Game.AddShip("Second", "second.iff", BuildShip(*second).File);
    }
    [[nodiscard]] Bytes ShipBytes() const { return Game.ReadFile(kShipFile); }

    TempGameFolder Game;
};

// The program started on a game folder, which shows the first ship; the player's answers to its questions given.
struct ProgramRun {
    explicit ProgramRun(const TempGameFolder& game, const std::deque<bool>& answers = {})
        : Platform(game.Folder()), App(Platform) {
        Platform.Answers = answers;
        Exit = App.Start();
    }
    TForm1& Form() { return App.Form1(); }

    // The texts of the boxes shown so far, errors with their full stop.
    [[nodiscard]] std::vector<std::string> Shown() const {
        const auto texts = Platform.Boxes | std::views::transform(&HeadlessPlatform::Box::text);
        return {texts.begin(), texts.end()};
    }

    HeadlessPlatform Platform;
    Application App;
    std::optional<int> Exit;
};

// Whole files compared byte for byte; on a difference, the sizes and the first offset that differs.
inline ::testing::AssertionResult SameBytes(const Bytes& actual, const Bytes& expected) {
    if (actual == expected) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "sizes " << actual.size() << " and " << expected.size()
                                         << ", first difference at offset "
                                         << std::ranges::mismatch(actual, expected).in1 - actual.begin();
}

inline std::string Gun(std::size_t index) { return DemoGunNames().at(index); }
inline std::string Missile(std::size_t index) { return DemoMissileNames().at(index); }

inline ShipPlan With(ShipPlan plan, const std::function<void(ShipPlan&)>& change) {
    change(plan);
    return plan;
}

// Every part the editor handles but autoslide and booster, each value distinct. Gun mounts: gun 11 with 300
// rounds, gun 2 with 40, gun 3; turrets with guns 4 and 5; missile mounts: missile 1 with 4, missile 4 with 2.
inline ShipPlan FullShip() {
    ShipPlan plan;
    plan.GunMounts = {{11, 300, "gun_nose"}, {2, 40, "gun_left_wing"}, {3, 0, "gun_right"}};
    plan.Missiles = ShipMissiles{{{1, 4}, {4, 2}}};
    plan.Decoys = 12;
    plan.Shields = ShipShields{};
    plan.Armour = ShipArmour{};
    plan.Turrets = ShipTurrets{{4, 5}};
    return plan;
}

// Every box of the Ships tab that shows a float of the ship, by name, with the plan's value; boxes of parts the
// ship lacks are left out.
inline std::vector<std::pair<std::string, float*>> FloatBoxes(ShipPlan& s) {
    ShipEngine& e = s.Engine;
    ShipGunPower& g = s.GunPower;
    // clang-format off
    std::vector<std::pair<std::string, float*>> boxes = {
        {"Edit29", &s.Mass}, {"Edit27", &s.Hitpoints}, {"Edit1", &e.SpeedMin}, {"Edit2", &e.SpeedStd},
        {"Edit15", &e.SpeedMax}, {"Edit4", &e.Acceleration}, {"Edit3", &e.AfterburnerSpeed},
        {"Edit6", &e.AfterburnerAcceleration}, {"Edit26", &e.AfterburnerFuel}, {"Edit7", &e.Y}, {"Edit5", &e.P},
        {"Edit8", &e.R}, {"Edit25", &e.YprRate}, {"Edit18", &g.Energy}, {"Edit19", &g.RechargeMin},
        {"Edit23", &g.RechargeStd}, {"Edit24", &g.RechargeMax}};
    if (s.Armour) boxes.insert(boxes.end(), {{"Edit10", &s.Armour->Front}, {"Edit11", &s.Armour->Right},
                                             {"Edit12", &s.Armour->Left}, {"Edit13", &s.Armour->Aft}});
    if (s.Shields) boxes.insert(boxes.end(), {{"Edit17", &s.Shields->Front}, {"Edit16", &s.Shields->Aft},
        {"Edit20", &s.Shields->RechargeMin}, {"Edit21", &s.Shields->RechargeStd}, {"Edit22", &s.Shields->RechargeMax}});
    // clang-format on
    return boxes;
}

inline TEdit& Box(TForm1& form, const std::string& name) { return dynamic_cast<TEdit&>(*form.FindComponent(name)); }

// Each box shows the plan's float as the nearest integer, halves to the even one.
inline void ExpectBoxesShow(TForm1& form, ShipPlan plan) {
    for (auto [box, value] : FloatBoxes(plan))
        EXPECT_EQ(Box(form, box).Text(), std::to_string(std::lrint(*value))) << box;
}

// Clicks an entry of the gun list (or the missile list), chooses the weapon, types the amount, presses "Change".
inline void ChangeMount(TForm1& f, bool missile, int entry, int weapon, const std::string& amount) {
    UserInput::Select(missile ? f.ListBox2 : f.ListBox1, entry);
    UserInput::Choose(missile ? f.ComboBox3 : f.ComboBox2, weapon);
    UserInput::Type(missile ? f.Edit9 : f.Edit28, amount);
    UserInput::Click(missile ? f.Button4 : f.Button3);
}

}  // namespace tovarin::testkit
