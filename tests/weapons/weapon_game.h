#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/form1.h"
#include "testkit/game_folder.h"
#include "testkit/weapon_tables.h"
#include "ui/headless_platform.h"

// A game installation with gun and missile lists and tables, and the program started in it.
namespace tovarin::testkit {

class WeaponGame {
public:
    GameFolder Folder;

    // A weapon list (Guns, Missiles) and its record positions (GunData, MissData), one key per weapon.
    void AddWeapons(const std::string& listSection, const std::string& dataSection,
                    const std::vector<std::pair<std::string, std::int32_t>>& weapons) {
        IniSection list{listSection, {}};
        IniSection data{dataSection, {}};
        for (std::size_t i = 0; i < weapons.size(); ++i) {
            list.Keys.emplace_back(weapons[i].first, "1");
            data.Keys.emplace_back(std::to_string(i), std::to_string(weapons[i].second));
        }
        Folder.Catalogue.push_back(list);
        Folder.Catalogue.push_back(data);
        Folder.WriteCatalogue();
    }

    // Starts the program; the first gun and missile load as part of it.
    TForm1& Start() {
        platform_ = std::make_unique<HeadlessPlatform>(Folder.Folder());
        app_ = std::make_unique<Application>(*platform_);
        const auto exitCode = app_->Start();
        EXPECT_FALSE(exitCode.has_value()) << "start-up ended the program";
        return app_->Form1();
    }

    [[nodiscard]] HeadlessPlatform& Platform() { return *platform_; }

    // The texts of the boxes shown since the last call, each marked with its kind.
    [[nodiscard]] std::vector<std::string> NewBoxes() {
        std::vector<std::string> texts;
        for (std::size_t i = seen_; i < platform_->Boxes.size(); ++i) {
            const auto& box = platform_->Boxes[i];
            texts.push_back((box.kind == HeadlessPlatform::Box::Kind::Error ? "error: " : "message: ") + box.text);
        }
        seen_ = platform_->Boxes.size();
        return texts;
    }

private:
    std::unique_ptr<HeadlessPlatform> platform_;  // outlives the application, which uses it to the end
    std::unique_ptr<Application> app_;
    std::size_t seen_ = 0;
};

}  // namespace tovarin::testkit
