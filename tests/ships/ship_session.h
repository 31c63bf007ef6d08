#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/form1.h"
#include "ships/booster_dialog.h"
#include "testkit/demo_installation.h"
#include "testkit/game_folder.h"
#include "testkit/ship_builder.h"
#include "ui/headless_platform.h"

// What the ship tests share: a game folder with our demo weapons and the ships a test needs, and one run of the
// program on it, driven as a player drives it.
namespace tovarin::testkit {

inline constexpr const char* kShipFile = "Ships\\test.iff";
inline constexpr const char* kTempFile = "Ships\\tempfgtr.if~";

// A game folder whose first ship ("Test", Ships\test.iff) is built from the plan; more ships follow it.
class ShipGame {
public:
    explicit ShipGame(const ShipPlan& first, const std::vector<ShipPlan>& others = {}) {
        AddDemoWeapons(Game);
        Game.AddShip("Test", "test.iff", BuildShip(first).File);
        for (std::size_t i = 0; i < others.size(); ++i) {
            Game.AddShip("Other" + std::to_string(i), "other" + std::to_string(i) + ".iff", BuildShip(others[i]).File);
        }
    }
    [[nodiscard]] Bytes ShipBytes() const { return Game.ReadFile(kShipFile); }

    GameFolder Game;
};

// The program started on a game folder; the boxes start-up showed are dropped so a test sees only its own.
class ProgramRun {
public:
    explicit ProgramRun(const GameFolder& game) : Platform(game.Folder()), App(Platform) {
        Exit = App.Start();
        Platform.Boxes.clear();
    }
    TForm1& Form() { return App.Form1(); }
    TForm3& Dialog() { return App.Form3(); }

    // The texts of the boxes shown since start-up, errors with their full stop.
    [[nodiscard]] std::vector<std::string> Shown() const {
        std::vector<std::string> texts;
        for (const auto& box : Platform.Boxes) texts.push_back(box.text);
        return texts;
    }

    HeadlessPlatform Platform;
    Application App;
    std::optional<int> Exit;
};

// Whole files compared byte for byte; on a difference, the sizes and the first offset that differs.
inline ::testing::AssertionResult SameBytes(const Bytes& actual, const Bytes& expected) {
    if (actual == expected) return ::testing::AssertionSuccess();
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    return ::testing::AssertionFailure() << "sizes " << actual.size() << " and " << expected.size()
                                         << ", first difference at offset " << at;
}

// A ship with every part the editor handles, each value distinct.
inline ShipPlan FullShip() {
    ShipPlan plan;
    plan.GunMounts = {{11, 300, "gun_nose"}, {2, 0, "gun_left_wing"}, {3, 0, "gun_right"}};
    plan.Missiles = ShipMissiles{{{1, 4}, {4, 2}}};
    plan.Decoys = 12;
    plan.Shields = ShipShields{};
    plan.Armour = ShipArmour{};
    plan.Turrets = ShipTurrets{{4, 5}};
    return plan;
}

}  // namespace tovarin::testkit
