#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/application.h"
#include "app/form1.h"
#include "ships/booster_dialog.h"
#include "demo/demo_installation.h"
#include "testkit/game_folder.h"
#include "ui/booster_dialog_layout.h"
#include "window_driver.h"

namespace tovarin {
namespace {

using testkit::FindFormWindow;
using testkit::TimedSteps;

constexpr const char* kDialogCaption = "Edit Booster";

// The main window open on the demo's ships, from which the booster dialog is shown modally.
class BoosterDialogWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        demo::AddDemoWeapons(game);
        demo::AddDemoShips(game);
        platform = std::make_unique<testkit::RecordingWin32Platform>(game.Folder());
        app = std::make_unique<Application>(*platform);
        ASSERT_EQ(app->Start(), std::nullopt);
        window = platform->OpenMainWindow(app->Form1());
        window->Show();
        testkit::Pump(*window);
    }

    TForm3& Dialog() const { return app->Form3(); }

    testkit::GameFolder game;
    std::unique_ptr<testkit::RecordingWin32Platform> platform;
    std::unique_ptr<Application> app;
    std::unique_ptr<FormWindow> window;
};

// What the dialog looked like while it was shown.
struct Seen {
    bool Shown = false;
    bool OwnerDisabled = false;
    RECT Client{};
    DWORD Style = 0;
    bool EveryRowDrawn = true;
    bool OpenAfterFirstOk = false;
};

TEST_F(BoosterDialogWindowTest, EditBoosterShowsTheShipsValuesAndOkStoresThem) {
    HWND ships = window->ControlHandle("ComboBox1");
    SetFocus(ships);
    testkit::PressKey(ships, VK_DOWN);  // the Warden, which has a booster
    testkit::Pump(*window);
    ASSERT_EQ(app->Form1().ComboBox1.Text(), "Warden");

    std::string speedShown;
    std::string copyShown;
    TimedSteps steps({
        [&] {
            FormWindow* shown = FindFormWindow(kDialogCaption);
            if (shown == nullptr) return false;
            speedShown = WindowText(shown->ControlHandle("Edit1"));
            HWND acceleration = shown->ControlHandle("Edit3");
            SendMessageA(acceleration, EM_SETSEL, 0, -1);
            testkit::TypeInto(acceleration, "950");
            copyShown = WindowText(shown->ControlHandle("Label9"));
            testkit::PostKey(acceleration, VK_ESCAPE);
            return true;
        },
        [this] { return Dialog().Close(), true; },
    });
    SendMessageA(window->ControlHandle("Button11"), BM_CLICK, 0, 0);

    EXPECT_EQ(speedShown, "2800") << "the Warden's boosted speed";
    EXPECT_EQ(copyShown, "950") << "the grey copy follows every key";
    EXPECT_EQ(app->Form1().Ship.BoosterValues[1], 950) << "Esc pressed OK, which stored the values";
    EXPECT_EQ(FindFormWindow(kDialogCaption), nullptr);
    EXPECT_TRUE(platform->Boxes.empty());
    EXPECT_EQ(GetFocus(), window->ControlHandle("Button11")) << "the focus is back where it was";
}

TEST_F(BoosterDialogWindowTest, AModalFixedDialogThatClosesOnlyWhenItsOkHandlerClosesIt) {
    int presses = 0;
    Dialog().Button1.OnClick = [this, &presses] {
        if (++presses == 2) Dialog().Close();
    };
    Seen seen;
    TimedSteps steps({
        [&] {
            FormWindow* shown = FindFormWindow(kDialogCaption);
            if (shown == nullptr) return false;
            seen.Shown = true;
            seen.OwnerDisabled = !IsWindowEnabled(window->Handle());
            GetClientRect(shown->Handle(), &seen.Client);
            seen.Style = static_cast<DWORD>(GetWindowLongA(shown->Handle(), GWL_STYLE));
            for (const LayoutRow& row : BoosterDialogLayout())
                seen.EveryRowDrawn &= shown->ControlHandle(row.Name) != nullptr;
            HWND speed = shown->ControlHandle("Edit3");
            SendMessageA(speed, EM_SETSEL, 0, -1);
            testkit::TypeInto(speed, "870");
            EXPECT_EQ(WindowText(shown->ControlHandle("Label9")), Dialog().Label9.Caption());
            testkit::PostKey(speed, VK_ESCAPE);  // Esc presses OK, whose handler keeps the dialog open this time
            return true;
        },
        [&] {
            FormWindow* shown = FindFormWindow(kDialogCaption);
            seen.OpenAfterFirstOk = shown != nullptr;
            if (shown != nullptr) SendMessageA(shown->Handle(), WM_CLOSE, 0, 0);  // Alt+F4 presses OK as well
            return true;
        },
        [this] { return Dialog().Close(), true; },  // never leave the test waiting on an open dialog
    });
    platform->ShowModal(Dialog());

    EXPECT_TRUE(seen.Shown);
    EXPECT_TRUE(seen.OwnerDisabled);
    EXPECT_TRUE(IsWindowEnabled(window->Handle())) << "the main window works again";
    EXPECT_EQ(seen.Client.right - seen.Client.left, testkit::Scaled(kBoosterClientWidth));
    EXPECT_EQ(seen.Client.bottom - seen.Client.top, testkit::Scaled(kBoosterClientHeight));
    EXPECT_EQ(seen.Style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
    EXPECT_TRUE(seen.EveryRowDrawn);
    EXPECT_TRUE(seen.OpenAfterFirstOk);
    EXPECT_EQ(presses, 2);
    EXPECT_EQ(Dialog().Edit3.Text(), "870") << "typing reached the dialog's model";
    EXPECT_EQ(FindFormWindow(kDialogCaption), nullptr) << "the dialog window is gone";
}

TEST_F(BoosterDialogWindowTest, AHandlerEndingTheProgramInsideTheDialogEndsItWithItsCode) {
    Dialog().Button1.OnClick = [this] { Dialog().GetPlatform().Halt(4); };
    TimedSteps steps({
        [] {
            FormWindow* shown = FindFormWindow(kDialogCaption);
            if (shown == nullptr) return false;
            SendMessageA(shown->ControlHandle("Button1"), BM_CLICK, 0, 0);
            return true;
        },
        [this] { return Dialog().Close(), true; },
    });
    try {
        platform->ShowModal(Dialog());
        ADD_FAILURE() << "the dialog returned as if nothing had ended the program";
    } catch (const ProgramEnded& ended) {
        EXPECT_EQ(ended.ExitCode, 4);
    }
    EXPECT_TRUE(IsWindowEnabled(window->Handle()));
    EXPECT_EQ(FindFormWindow(kDialogCaption), nullptr);
}

}  // namespace
}  // namespace tovarin
