#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/form1.h"
#include "gamefiles/ini_file.h"
#include "testkit/demo_installation.h"
#include "testkit/demo_ships.h"
#include "testkit/game_folder.h"
#include "testkit/ship_builder.h"
#include "ui/headless_platform.h"
#include "ui/user_input.h"

namespace tovarin {
namespace {

using testkit::Bytes;
using Kind = HeadlessPlatform::Box::Kind;

constexpr int kAlpha = 0;
constexpr int kBravo = 1;
constexpr int kCharlie = 2;

const std::string kSameShip = "Please do not select the same ship in both lists";
const std::string kAlreadySwapped = "Can't swap ships that are already swapped.";

testkit::ShipPlan ShipWithMass(float mass) {
    testkit::ShipPlan plan;
    plan.Mass = mass;
    return plan;
}

// Three ships told apart by their mass, in catalogue order Alpha, Bravo, Charlie.
struct SwitcherTest : ::testing::Test {
    testkit::GameFolder folder;
    std::unique_ptr<HeadlessPlatform> platform;
    std::unique_ptr<Application> app;
    Bytes alpha = testkit::BuildShip(ShipWithMass(11000)).File;
    Bytes bravo = testkit::BuildShip(ShipWithMass(22000)).File;
    Bytes charlie = testkit::BuildShip(ShipWithMass(33000)).File;

    SwitcherTest() {
        testkit::AddDemoWeapons(folder);
        folder.AddShip("Alpha", "alpha.iff", alpha);
        folder.AddShip("Bravo", "bravo.iff", bravo);
        folder.AddShip("Charlie", "charlie.iff", charlie);
    }

    TForm1& Start() {
        app.reset();
        platform = std::make_unique<HeadlessPlatform>(folder.Folder());
        app = std::make_unique<Application>(*platform);
        EXPECT_EQ(app->Start(), std::nullopt);
        return app->Form1();
    }

    void Swap(int left, int right) {
        TForm1& form = app->Form1();
        UserInput::Select(form.ListBox4, left);
        UserInput::Select(form.ListBox5, right);
        UserInput::Click(form.Button10);
    }

    [[nodiscard]] std::string SwitchEntry(const std::string& ship) const {
        return TIniFile(folder.PathOf("Ships\\switch.dat")).ReadString("swships", ship, "<missing>");
    }

    [[nodiscard]] std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const HeadlessPlatform::Box& box : platform->Boxes) texts.push_back(box.text);
        return texts;
    }
};

// A swap made from either side, then undone from either side, exchanges the files and gives them back.
TEST_F(SwitcherTest, SwapAndSwapBackFromEitherSide) {
    struct Case {
        const char* Name;
        int SwapLeft, SwapRight;
        int UndoLeft, UndoRight;
    };
    const Case cases[] = {
        {"swap and undo with the same selections", kAlpha, kBravo, kAlpha, kBravo},
        {"undo with the partners the other way round", kAlpha, kBravo, kBravo, kAlpha},
        {"swap with the later ship on the left", kCharlie, kAlpha, kAlpha, kCharlie},
    };
    const std::vector<std::string> names{"Alpha", "Bravo", "Charlie"};
    const std::vector<Bytes> files{alpha, bravo, charlie};
    const std::vector<std::string> fileNames{"alpha.iff", "bravo.iff", "charlie.iff"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TForm1& form = Start();
        const auto a = static_cast<std::size_t>(c.SwapLeft);
        const auto b = static_cast<std::size_t>(c.SwapRight);

        Swap(c.SwapLeft, c.SwapRight);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
        EXPECT_EQ(folder.ReadFile("Ships\\" + fileNames[a]), files[b]);
        EXPECT_EQ(folder.ReadFile("Ships\\" + fileNames[b]), files[a]);
        EXPECT_EQ(SwitchEntry(names[a]), names[b]);
        EXPECT_EQ(SwitchEntry(names[b]), names[a]);
        std::vector<std::string> rows = names;
        rows[a] = names[a] + " = " + names[b];
        rows[b] = names[b] + " = " + names[a];
        EXPECT_EQ(form.ListBox4.Items(), rows);
        EXPECT_EQ(form.ListBox5.Items(), rows);
        EXPECT_EQ(form.ListBox4.ItemIndex(), c.SwapLeft);
        EXPECT_EQ(form.ListBox5.ItemIndex(), c.SwapRight);

        Swap(c.UndoLeft, c.UndoRight);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
        for (std::size_t i = 0; i < names.size(); ++i) {
            EXPECT_EQ(folder.ReadFile("Ships\\" + fileNames[i]), files[i]) << fileNames[i];
            EXPECT_EQ(SwitchEntry(names[i]), names[i]);
        }
        EXPECT_EQ(form.ListBox4.Items(), names);
        EXPECT_EQ(form.ListBox4.ItemIndex(), c.UndoLeft);
        EXPECT_EQ(form.ListBox5.ItemIndex(), c.UndoRight);
    }
}

// Alpha and Bravo are partners; Charlie and the one-letter-longer "XAlpha" are not swapped; "Delta" has an
// empty switch entry. No refused pair may change a file, an entry or a list.
TEST_F(SwitcherTest, RefusedPairsChangeNothing) {
    folder.AddShip("XAlpha", "xalpha.iff", testkit::BuildShip(ShipWithMass(44000)).File);
    folder.AddShip("Delta", "delta.iff", testkit::BuildShip(ShipWithMass(55000)).File);
    folder.SetSwitchEntry("Alpha", "Bravo");
    folder.SetSwitchEntry("Bravo", "Alpha");
    folder.SetSwitchEntry("Delta", "");
    constexpr int kXAlpha = 3;
    constexpr int kDelta = 4;
    struct Case {
        const char* Name;
        int Left, Right;
        std::string Message;
    };
    const Case cases[] = {
        {"the same unswapped ship on both sides", kCharlie, kCharlie, kSameShip},
        {"the same swapped ship on both sides", kAlpha, kAlpha, kSameShip},
        {"a swapped ship on the left, an unswapped one on the right", kAlpha, kCharlie, kAlreadySwapped},
        {"an unswapped ship on the left, a swapped one on the right", kCharlie, kBravo, kAlreadySwapped},
        {"a swapped ship with an unswapped one named like its partner", kAlpha, kXAlpha, kAlreadySwapped},
        {"an unswapped ship with one whose entry is empty", kCharlie, kDelta, kAlreadySwapped},
        {"a ship whose entry is empty with an unswapped one", kDelta, kCharlie, kAlreadySwapped},
    };
    const std::string switchText = folder.ReadText("Ships\\switch.dat");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TForm1& form = Start();
        const std::vector<std::string> rows = form.ListBox4.Items();
        Swap(c.Left, c.Right);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{c.Message});
        EXPECT_EQ(folder.ReadText("Ships\\switch.dat"), switchText);
        EXPECT_EQ(folder.ReadFile("Ships\\alpha.iff"), alpha);
        EXPECT_EQ(folder.ReadFile("Ships\\bravo.iff"), bravo);
        EXPECT_EQ(folder.ReadFile("Ships\\charlie.iff"), charlie);
        EXPECT_EQ(form.ListBox4.Items(), rows);
        EXPECT_EQ(form.ListBox5.Items(), rows);
    }
}

TEST_F(SwitcherTest, AnEntryDifferingOnlyInLetterCaseCountsAsSwapped) {
    folder.SetSwitchEntry("Alpha", "alpha");
    TForm1& form = Start();
    EXPECT_EQ(form.ListBox4.Items()[0], "Alpha = alpha");
    EXPECT_EQ(form.ListBox5.Items()[0], "Alpha = alpha");
    Swap(kAlpha, kBravo);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kAlreadySwapped});
    EXPECT_EQ(folder.ReadFile("Ships\\alpha.iff"), alpha);
}

TEST_F(SwitcherTest, ChoosingASwappedShipEditsItsDataInThePartnersFile) {
    TForm1& form = Start();
    Swap(kAlpha, kBravo);
    UserInput::Choose(form.ComboBox1, kCharlie);
    UserInput::Choose(form.ComboBox1, kAlpha);
    EXPECT_EQ(form.Ship.ShipFile, "bravo.iff");
    EXPECT_EQ(form.Edit29.Text(), "11000") << "Alpha's own mass";

    UserInput::Type(form.Edit29, "12345");
    UserInput::Click(form.Button2);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
    EXPECT_EQ(folder.ReadFile("Ships\\bravo.iff"), testkit::BuildShip(ShipWithMass(12345)).File);
    EXPECT_EQ(folder.ReadFile("Ships\\alpha.iff"), bravo) << "Bravo's data stays as it was";

    UserInput::Choose(form.ComboBox1, kBravo);
    EXPECT_EQ(form.Ship.ShipFile, "alpha.iff");
    EXPECT_EQ(form.Edit29.Text(), "22000");
}

// Start-up shows Alpha; once its data has moved, the Ships tab must follow it, or a save would write Alpha's
// old positions into the file that now holds Bravo.
TEST_F(SwitcherTest, TheShipShownOnTheShipsTabIsLoadedAgainFromWhereItsDataNowLies) {
    TForm1& form = Start();
    ASSERT_EQ(form.Ship.ShipFile, "alpha.iff");
    Swap(kAlpha, kBravo);
    EXPECT_EQ(form.ComboBox1.Text(), "Alpha");
    EXPECT_EQ(form.Ship.ShipFile, "bravo.iff");
    EXPECT_EQ(form.Edit29.Text(), "11000");
}

TEST_F(SwitcherTest, ASwapOfOtherShipsKeepsTheShipsTabsUnsavedEdits) {
    TForm1& form = Start();
    UserInput::Type(form.Edit29, "12345");
    Swap(kBravo, kCharlie);
    EXPECT_EQ(form.Edit29.Text(), "12345");
    EXPECT_EQ(form.Ship.ShipFile, "alpha.iff");
}

// Whatever stops a swap, both ships keep their data in their own files and the switch file still describes
// them. A folder standing where a copy puts its partial file makes that copy fail after the earlier ones
// succeeded.
TEST_F(SwitcherTest, AFailingSwapLeavesBothShipsIntact) {
    namespace fs = std::filesystem;
    enum class Block { ReadOnly, FolderInTheWay };
    struct Case {
        const char* Name;
        std::string File;
        Block How;
    };
    const Case cases[] = {
        {"the right ship's file is read-only", "Ships\\bravo.iff", Block::ReadOnly},
        {"the left ship's file is read-only", "Ships\\alpha.iff", Block::ReadOnly},
        {"the switch file is read-only", "Ships\\switch.dat", Block::ReadOnly},
        {"the temporary ship file cannot be written", "Ships\\tempfgtr.if~", Block::FolderInTheWay},
        {"the copy onto the left ship's file fails", "Ships\\alpha.iff.part~", Block::FolderInTheWay},
        {"the copy onto the right ship's file fails", "Ships\\bravo.iff.part~", Block::FolderInTheWay},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TForm1& form = Start();
        const std::string switchText = folder.ReadText("Ships\\switch.dat");
        if (c.How == Block::ReadOnly) {
            folder.MakeReadOnly(c.File);
        } else {
            fs::create_directory(folder.PathOf(c.File));
        }

        Swap(kAlpha, kBravo);

        if (c.How == Block::ReadOnly) {
            fs::permissions(folder.PathOf(c.File), fs::perms::owner_write, fs::perm_options::add);
        } else {
            fs::remove_all(folder.PathOf(c.File));
        }
        ASSERT_EQ(platform->Boxes.size(), 1U);
        EXPECT_EQ(platform->Boxes[0].kind, Kind::Error) << platform->Boxes[0].text;
        EXPECT_EQ(folder.ReadFile("Ships\\alpha.iff"), alpha);
        EXPECT_EQ(folder.ReadFile("Ships\\bravo.iff"), bravo);
        EXPECT_EQ(folder.ReadText("Ships\\switch.dat"), switchText);
        EXPECT_EQ(form.ListBox4.Items()[0], "Alpha");
    }
}

TEST_F(SwitcherTest, AMissingShipFileStopsTheSwapBeforeTheOtherIsTouched) {
    Start();
    folder.Remove("Ships\\bravo.iff");
    Swap(kAlpha, kBravo);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"File not found."});
    EXPECT_EQ(folder.ReadFile("Ships\\alpha.iff"), alpha);
    EXPECT_EQ(SwitchEntry("Alpha"), "Alpha");
}

TEST(DemoSwitcherTest, TwoDemoShipsSwapAndSwapBack) {
    testkit::GameFolder folder;
    testkit::AddDemoWeapons(folder);
    testkit::AddDemoShips(folder);
    const std::vector<testkit::DemoShip> ships = testkit::DemoShips();
    HeadlessPlatform platform(folder.Folder());
    Application app(platform);
    ASSERT_EQ(app.Start(), std::nullopt);
    TForm1& form = app.Form1();
    const Bytes first = folder.ReadFile("Ships\\" + ships[0].File);
    const Bytes second = folder.ReadFile("Ships\\" + ships[1].File);

    UserInput::Click(form.Button10);  // start-up selected the first ship on the left, the second on the right
    EXPECT_EQ(folder.ReadFile("Ships\\" + ships[0].File), second);
    EXPECT_EQ(form.ListBox4.Items()[0], ships[0].Name + " = " + ships[1].Name);
    UserInput::Click(form.Button10);
    EXPECT_TRUE(platform.Boxes.empty());
    EXPECT_EQ(folder.ReadFile("Ships\\" + ships[0].File), first);
    EXPECT_EQ(folder.ReadFile("Ships\\" + ships[1].File), second);
    EXPECT_EQ(form.ListBox4.Items()[0], ships[0].Name);
}

}  // namespace
}  // namespace tovarin
