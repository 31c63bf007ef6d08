#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/application.h"
#include "demo/demo_installation.h"
#include "demo/demo_ships.h"
#include "demo/ship_builder.h"
#include "testkit/fault_walk.h"
#include "testkit/temp_game_folder.h"
#include "ui/user_input.h"

namespace tovarin {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

constexpr std::size_t kKestrel = 0, kWarden = 1, kHalberd = 2, kCorsair = 3, kXKestrel = 8, kDelta = 9, kEcho = 10;
const std::string kError = "(an error)";
const std::string kAlreadySwapped = "Can't swap ships that are already swapped.";

// The demo ships, then three with odd switch entries: "XKestrel" is Kestrel's name behind one more letter,
// Delta's entry is empty and Echo's differs from its name only in letter case. Kestrel is on the Ships tab.
// Each step chooses a ship in each list and presses Swap. A swap that cannot go through leaves every file and list
// as it was: a pair that is not both halves of one exchange is refused, and a swap fails whose files cannot all be
// written (a file made read-only, or a folder in the way of a new file), also after the first copies. A swap that
// moves the data of the ship on the Ships tab loads it again from where its data now lies, so a later save cannot
// write it over its partner.
TEST(SwitcherTest, SwapsFromEitherSideRefusesTheRestAndEditsASwappedShipInItsPartnersFile) {
    testkit::TempGameFolder folder;
    demo::AddDemoWeapons(folder);
    demo::AddDemoShips(folder);
    for (const char* name : {"XKestrel", "Delta", "Echo"}) folder.AddShip(name, name, demo::BuildShip({}).File);
    folder.SetSwitchEntry("Delta", "");
    folder.SetSwitchEntry("Echo", "echo");
    Lines fileNames;
    std::vector<demo::Bytes> files;
    for (const auto& [name, file] : std::ranges::find(folder.Catalogue, "ships", &demo::IniSection::Name)->Keys) {
        fileNames.push_back(file);
        files.push_back(folder.ReadFile("Ships\\" + file));
    }
    HeadlessPlatform platform{folder.Folder()};
    Application app{platform};
    ASSERT_EQ(app.Start(), std::nullopt);
    TForm1& form = app.Form1();
    const struct {
        std::size_t Left, Right;
        std::optional<std::string> Message = std::nullopt;  // none when the swap goes through
        std::string Blocked = "";
    } steps[] = {
        // clang-format off
        {kKestrel, kWarden}, {kKestrel, kWarden}, {kHalberd, kKestrel}, {kKestrel, kHalberd}, {kWarden, kKestrel},
        {kHalberd, kHalberd, "Please do not select the same ship in both lists"},
        {kKestrel, kHalberd, kAlreadySwapped}, {kHalberd, kWarden, kAlreadySwapped},
        {kKestrel, kXKestrel, kAlreadySwapped}, {kHalberd, kDelta, kAlreadySwapped}, {kEcho, kHalberd, kAlreadySwapped},
        {kHalberd, kCorsair, kError, "corsair.iff"}, {kHalberd, kCorsair, kError, "switch.dat"},
        {kHalberd, kCorsair, kError, "halberd.iff.part~"},
        // clang-format on
    };
    const Lines names = form.ListBox4.Items();
    std::vector<std::size_t> holds(names.size());  // whose data each file holds
    for (std::size_t i = 0; i < holds.size(); ++i) holds[i] = i;
    for (const auto& step : steps) {
        SCOPED_TRACE(names[step.Left] + " with " + names[step.Right] + ", blocked: " + step.Blocked);
        const std::string path = folder.PathOf("Ships\\" + step.Blocked);
        const bool folderInTheWay = step.Blocked.ends_with('~');
        if (folderInTheWay) fs::create_directory(path);
        if (!folderInTheWay && !step.Blocked.empty()) folder.MakeReadOnly("Ships\\" + step.Blocked);
        platform.Boxes.clear();
        UserInput::Select(form.ListBox4, static_cast<int>(step.Left));
        UserInput::Select(form.ListBox5, static_cast<int>(step.Right));
        UserInput::Click(form.Button10);
        if (folderInTheWay) fs::remove(path);
        if (!folderInTheWay && !step.Blocked.empty())
            fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);

        if (!step.Message) std::swap(holds[step.Left], holds[step.Right]);
        Lines boxes;
        for (const auto& box : platform.Boxes)
            boxes.push_back(box.kind == HeadlessPlatform::Box::Kind::Error ? kError : box.text);
        EXPECT_EQ(boxes, step.Message ? Lines{*step.Message} : Lines{});
        Lines rows;
        for (std::size_t i = 0; i < holds.size(); ++i) {
            EXPECT_EQ(folder.ReadFile("Ships\\" + fileNames[i]), files[holds[i]]) << fileNames[i];
            rows.push_back(holds[i] == i ? names[i] : names[i] + " = " + names[holds[i]]);
        }
        EXPECT_EQ(form.ListBox4.Items(), rows);
        EXPECT_EQ(form.ListBox5.Items(), rows);
        EXPECT_EQ(form.ListBox4.ItemIndex(), static_cast<int>(step.Left));
        EXPECT_EQ(form.ListBox5.ItemIndex(), static_cast<int>(step.Right));
        EXPECT_EQ(form.Ship.ShipFile, fileNames[std::ranges::find(holds, kKestrel) - holds.begin()]);
        EXPECT_FALSE(folder.Exists("Ships\\tempfgtr.if~"));
    }

    // Warden, swapped with Kestrel by the fifth step, is edited in Kestrel's file.
    UserInput::Choose(form.ComboBox1, kWarden);
    UserInput::Type(form.Edit29, "12345");
    UserInput::Click(form.Button2);
    demo::ShipPlan warden = demo::DemoShips()[kWarden].Plan;
    warden.Mass = 12345;
    EXPECT_EQ(folder.ReadFile("Ships\\kestrel.iff"), demo::BuildShip(warden).File);
    EXPECT_EQ(folder.ReadFile("Ships\\warden.iff"), files[kKestrel]) << "Kestrel's data stays as it was";
}

#ifndef _WIN32  // faults are injected into the POSIX file layer only
// Three demo ships, the last two exchanged when `swapped`; the Ships tab shows the first.
void PrepareThreeShips(const fs::path& path, bool swapped) {
    demo::GameFolder game(path, demo::Edition::Base);
    demo::AddDemoWeapons(game);
    const std::vector<demo::DemoShip> ships = demo::DemoShips();
    for (std::size_t ship = 0; ship < 3; ++ship) {
        const std::size_t own = swapped && ship > 0 ? 3 - ship : ship;
        game.AddShip(ships[ship].Name, ships[ship].File, demo::BuildShip(ships[own].Plan).File);
        game.SetSwitchEntry(ships[ship].Name, ships[own].Name);
    }
}

// A swap, either way round, and the swap back, whose file calls fail one after the other: every file stays as it
// was or as the swap leaves it, the failure is shown, and pressing Swap again swaps.
TEST(SwitcherFaults, AFailureAtAnyCallLeavesBothShipsWholeAndTheRecordRight) {
    for (const auto& [name, swapped, left, right] :
         {std::tuple{"swap", false, 1, 2}, {"swap from the right", false, 2, 1}, {"swap back", true, 1, 2}}) {
        const auto choose = [left, right](TForm1& f, HeadlessPlatform&) {
            UserInput::Select(f.ListBox4, left);
            UserInput::Select(f.ListBox5, right);
        };
        const auto swap = [](TForm1& f, HeadlessPlatform&) { UserInput::Click(f.Button10); };
        EXPECT_GT(testkit::WalkFaults(
                      {name, [swapped](const fs::path& path) { PrepareThreeShips(path, swapped); }, choose, swap}),
                  0);
    }
}

// When the second ship file cannot be replaced and nothing can be put back, the message says where each ship's data
// is; the next start puts the files back before any tab shows them and leaves no file of the swap's own behind.
TEST(SwitcherFaults, ASwapThatCannotBePutBackSaysWhereTheShipsAreAndTheNextStartMendsIt) {
    testkit::TempFolder temp;
    PrepareThreeShips(temp.Path(), false);
    const testkit::FolderFiles before = testkit::ReadFolder(temp.Path());
    const std::string folder = temp.WithSeparator();
    {
        HeadlessPlatform platform(folder);
        Application app(platform);
        ASSERT_EQ(app.Start(), std::nullopt);
        UserInput::Select(app.Form1().ListBox4, kWarden);
        UserInput::Select(app.Form1().ListBox5, kHalberd);
        bool failing = false;  // from the rename over Halberd's file on, every call fails
        SetFileFaultHook([&](FileCall call, const std::string& path) -> std::optional<InjectedFault> {
            failing = failing || (call == FileCall::Rename && path.ends_with("halberd.iff"));
            return failing ? std::optional<InjectedFault>({ENOSPC, false}) : std::nullopt;
        });
        UserInput::Click(app.Form1().Button10);
        SetFileFaultHook({});
        ASSERT_EQ(platform.Boxes.size(), 1u);
        EXPECT_TRUE(platform.Boxes.back().text.ends_with(
            "Warden's data is in " + folder + "Ships/swapcopy.if~ and Halberd's in " + folder +
            "Ships/halberd.iff. Tovarin puts them back at its next start or swap."));
        EXPECT_EQ(testkit::ReadFolder(temp.Path()).at("Ships/swapcopy.if~"), before.at("Ships/warden.iff"));
    }
    // A ship added to the catalogue since gets its identity entry at the start: it is no part of the swap.
    TIniFile(folder + "vskinfo.dat").WriteString("ships", "Sable", "sable.iff");
    testkit::FolderFiles expected = before;
    expected["vskinfo.dat"] = testkit::ReadFolder(temp.Path()).at("vskinfo.dat");
    expected["Ships/switch.dat"] = testkit::ReadFolder(temp.Path()).at("Ships/switch.dat");
    for (const char c : std::string("Sable=Sable\r\n")) expected["Ships/switch.dat"].push_back(c);
    HeadlessPlatform platform(folder);
    Application app(platform);
    ASSERT_EQ(app.Start(), std::nullopt);
    testkit::FolderFiles after = testkit::ReadFolder(temp.Path());
    std::erase_if(after, [](const auto& file) { return file.first.starts_with("Tovarin Backup/"); });
    EXPECT_EQ(after, expected);
    EXPECT_TRUE(platform.Boxes.empty());
}
#endif

}  // namespace
}  // namespace tovarin
