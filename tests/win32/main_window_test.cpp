#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/form1.h"
#include "demo/demo_installation.h"
#include "testkit/game_folder.h"
#include "ui/main_window_layout.h"
#include "ui/tab_order.h"
#include "window_driver.h"

namespace tovarin {
namespace {

using testkit::ClickListEntry;
using testkit::ClickTab;
using testkit::PressKey;
using testkit::Pump;
using testkit::Selection;
using testkit::TypeInto;

constexpr int kShipsPage = 0;
constexpr int kGunSlotPage = 1;
constexpr int kGunsPage = 3;

// The demo's guns, missiles and ships (the first ship, the Kestrel, loaded), the main window open on them and
// driven by messages.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        demo::AddDemoWeapons(game);
        demo::AddDemoShips(game);
        platform = std::make_unique<testkit::RecordingWin32Platform>(game.Folder());
        app = std::make_unique<Application>(*platform);
        ASSERT_EQ(app->Start(), std::nullopt);
        ASSERT_TRUE(platform->Boxes.empty()) << platform->Boxes.front();
        window = platform->OpenMainWindow(app->Form1());
        window->Show();
        Pump(*window);
    }

    TForm1& Form() const { return app->Form1(); }

    HWND Handle(std::string_view name) const {
        HWND control = window->ControlHandle(name);
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    void ShowPage(int page) {
        ClickTab(Handle("PageControl1"), page);
        Pump(*window);
        ASSERT_EQ(Form().PageControl1.ActivePageIndex(), page);
    }

    // After every event the controls show the model: texts, items, selections, checks, visibility.
    void ExpectWindowShowsModel() const {
        for (const LayoutRow& row : MainWindowLayout()) {
            HWND control = window->ControlHandle(row.Name);
            const TControl* model = Form().FindComponent(row.Name);
            if (control == nullptr || model == nullptr) continue;
            SCOPED_TRACE(std::string(row.Name));
            if (const auto* box = dynamic_cast<const TEdit*>(model)) {
                EXPECT_EQ(WindowText(control), box->Text());
            }
            if (const auto* list = dynamic_cast<const TItemList*>(model)) {
                const bool combo = row.Kind == ControlKind::ComboBox;
                EXPECT_EQ(SendMessageA(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0),
                          static_cast<LRESULT>(list->Items().size()));
                EXPECT_EQ(Selection(control, combo), list->ItemIndex());
            }
            if (const auto* check = dynamic_cast<const TCheckBox*>(model)) {
                EXPECT_EQ(SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED, check->Checked());
            }
            if (!model->Visible()) {
                EXPECT_FALSE(IsWindowVisible(control));
            }
            if (!model->Enabled()) {
                EXPECT_FALSE(IsWindowEnabled(control));
            }
        }
    }

    testkit::GameFolder game;
    std::unique_ptr<testkit::RecordingWin32Platform> platform;
    std::unique_ptr<Application> app;
    std::unique_ptr<FormWindow> window;
};

TEST_F(MainWindowTest, EveryRowOfTheLayoutIsDrawnInAFixedDialogFrame) {
    for (const LayoutRow& row : MainWindowLayout()) {
        if (row.Kind != ControlKind::TabSheet) {
            EXPECT_NE(window->ControlHandle(row.Name), nullptr) << row.Name;
        }
    }
    EXPECT_EQ(WindowText(window->Handle()), "Tovarin 1.0");
    RECT client{};
    GetClientRect(window->Handle(), &client);
    EXPECT_EQ(client.right, testkit::Scaled(kMainClientWidth));
    EXPECT_EQ(client.bottom, testkit::Scaled(kMainClientHeight));
    const auto style = static_cast<DWORD>(GetWindowLongA(window->Handle(), GWL_STYLE));
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
    EXPECT_NE(style & WS_SYSMENU, 0u) << "the close box";

    EXPECT_TRUE(IsWindowVisible(Handle("Edit1"))) << "the Ships page is shown first";
    EXPECT_FALSE(IsWindowVisible(Handle("ListBox3"))) << "the other pages are not";
    EXPECT_FALSE(IsWindowVisible(Handle("Edit48"))) << "the split-up group starts hidden";
    ExpectWindowShowsModel();
}

TEST_F(MainWindowTest, ArrowsListsAndHelpTextsAreSetUpFromTheirModel) {
    const struct {
        const char* arrows;
        const char* box;
        int min, max, step;
    } arrows[] = {
        {"UpDown3", "Edit28", 0, 32767, 10}, {"UpDown1", "Edit9", 0, 255, 1}, {"UpDown2", "Edit14", 0, 255, 1}};
    for (const auto& row : arrows) {
        SCOPED_TRACE(row.arrows);
        HWND control = Handle(row.arrows);
        EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(control, UDM_GETBUDDY, 0, 0)), Handle(row.box));
        int min = -1;
        int max = -1;
        SendMessageA(control, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&min), reinterpret_cast<LPARAM>(&max));
        EXPECT_EQ(min, row.min);
        EXPECT_EQ(max, row.max);
        UDACCEL step{};
        SendMessageA(control, UDM_GETACCEL, 1, reinterpret_cast<LPARAM>(&step));
        EXPECT_EQ(step.nInc, static_cast<UINT>(row.step));
    }
    EXPECT_EQ(SendMessageA(Handle("ComboBox1"), CB_GETMINVISIBLE, 0, 0), 12);
    EXPECT_EQ(SendMessageA(Handle("ComboBox7"), CB_GETMINVISIBLE, 0, 0), 8);
    for (const char* memo : {"Memo1", "Memo2"}) {
        SCOPED_TRACE(memo);
        const auto style = static_cast<DWORD>(GetWindowLongA(Handle(memo), GWL_STYLE));
        EXPECT_NE(style & ES_READONLY, 0u);
        EXPECT_NE(style & WS_VSCROLL, 0u);
        EXPECT_EQ(WindowText(Handle(memo)).substr(0, 9),
                  static_cast<TMemo*>(Form().FindComponent(memo))->Lines()[0].substr(0, 9));
    }
}

TEST_F(MainWindowTest, ChoosingAShipLoadsItIntoTheShipsPage) {
    EXPECT_EQ(WindowText(Handle("Edit29")), "9800") << "the Kestrel's mass";
    EXPECT_FALSE(IsWindowEnabled(Handle("Button11"))) << "the Kestrel has no booster";
    SetFocus(Handle("ComboBox1"));
    PressKey(Handle("ComboBox1"), VK_DOWN);
    Pump(*window);

    EXPECT_EQ(Form().ComboBox1.Text(), "Warden");
    EXPECT_EQ(Selection(Handle("ComboBox1"), true), 1);
    EXPECT_EQ(WindowText(Handle("Edit29")), "21500") << "the Warden's mass";
    EXPECT_EQ(SendMessageA(Handle("ListBox1"), LB_GETCOUNT, 0, 0), 4) << "three gun mounts and a turret";
    EXPECT_EQ(SendMessageA(Handle("CheckBox2"), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(IsWindowEnabled(Handle("Button11"))) << "the Warden has a booster to edit";
    EXPECT_EQ(GetFocus(), Handle("ComboBox1"));
    ExpectWindowShowsModel();
}

TEST_F(MainWindowTest, ChoosingAGunLoadsItIntoTheGunsPage) {
    ShowPage(kGunsPage);
    const std::string firstSpeed = WindowText(Handle("Edit30"));
    SetFocus(Handle("ComboBox4"));
    PressKey(Handle("ComboBox4"), VK_DOWN);
    Pump(*window);
    EXPECT_EQ(Form().ComboBox4.Text(), "Ion Cannon");
    EXPECT_NE(WindowText(Handle("Edit30")), firstSpeed) << "the second gun's speed";
    ExpectWindowShowsModel();
}

TEST_F(MainWindowTest, ClickingAMountShowsItsGunAndChangeGivesItAnother) {
    ClickListEntry(Handle("ListBox1"), 2);  // the Kestrel's nose gun, an Ion Cannon
    Pump(*window);
    EXPECT_EQ(Form().ListBox1.ItemIndex(), 2);
    EXPECT_EQ(Form().ComboBox2.Text(), "Ion Cannon");
    EXPECT_EQ(Selection(Handle("ComboBox2"), true), 1);

    SetFocus(Handle("ComboBox2"));
    PressKey(Handle("ComboBox2"), VK_DOWN);  // Mass Driver
    SendMessageA(Handle("Button3"), BM_CLICK, 0, 0);
    Pump(*window);
    ASSERT_EQ(Form().ListBox1.Items().size(), 3u);
    EXPECT_EQ(Form().ListBox1.Items()[2], "Mass Driver");
    char entry[64] = {};
    SendMessageA(Handle("ListBox1"), LB_GETTEXT, 2, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, "Mass Driver");
    ExpectWindowShowsModel();
}

TEST_F(MainWindowTest, TypedTextReachesTheModelAndLeavingTheBoxRunsItsCheck) {
    int changes = 0;
    Form().Edit1.OnChange = [&changes] { ++changes; };
    SendMessageA(Handle("Edit1"), EM_SETSEL, 0, -1);
    TypeInto(Handle("Edit1"), "12x");
    EXPECT_EQ(Form().Edit1.Text(), "12x");
    EXPECT_EQ(changes, 3) << "one change per key";

    SetFocus(Handle("Edit2"));
    Pump(*window);
    EXPECT_EQ(platform->Boxes,
              std::vector<std::string>{"Message: Out of range. Please try a value less than 2000000001."});
    EXPECT_EQ(Form().Edit1.Text(), "2000000000");
    EXPECT_EQ(WindowText(Handle("Edit1")), "2000000000");
    EXPECT_EQ(changes, 4) << "the check's own change, not echoed back from the window";
    ExpectWindowShowsModel();
}

TEST_F(MainWindowTest, SwitchingToAnotherAppDoesNotCountAsLeavingTheBox) {
    TypeInto(Handle("Edit1"), "x");
    SendMessageA(window->Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
    SendMessageA(window->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    Pump(*window);
    EXPECT_TRUE(platform->Boxes.empty());
    EXPECT_EQ(GetFocus(), Handle("Edit1"));
}

TEST_F(MainWindowTest, ArrowsStepTheirBoxWithinTheirRange) {
    SetFocus(Handle("Edit28"));
    PressKey(Handle("Edit28"), VK_UP);
    Pump(*window);
    EXPECT_EQ(Form().Edit28.Text(), "10");

    SendMessageA(Handle("Edit14"), EM_SETSEL, 0, -1);
    TypeInto(Handle("Edit14"), "255");
    PressKey(Handle("Edit14"), VK_UP);
    Pump(*window);
    EXPECT_EQ(Form().Edit14.Text(), "255") << "255 is the arrows' top";
    ExpectWindowShowsModel();
}

TEST_F(MainWindowTest, AButtonClickRunsItsHandler) {
    SendMessageA(Handle("Button1"), BM_CLICK, 0, 0);
    Pump(*window);
    EXPECT_EQ(platform->Launched, std::vector<std::string>{"\"" + game.Folder() + "ashfall.exe\""});
}

TEST_F(MainWindowTest, EnterPressesTheFocusedButtonAndNothingElse) {
    SetFocus(Handle("Edit1"));
    testkit::PostKey(Handle("Edit1"), VK_RETURN);
    Pump(*window);
    EXPECT_TRUE(platform->Launched.empty());
    EXPECT_TRUE(platform->Boxes.empty());

    SetFocus(Handle("Button1"));
    testkit::PostKey(Handle("Button1"), VK_RETURN);
    Pump(*window);
    EXPECT_EQ(platform->Launched.size(), 1u);
}

// "&Launch" and "Autos&lide" share their letter; Alt+L reaches the one that comes first after the focus.
TEST_F(MainWindowTest, MnemonicsPressButtonsAndTickBoxes) {
    ASSERT_TRUE(Form().CheckBox1.Checked()) << "the Kestrel slides";
    SetFocus(Handle("Edit1"));
    testkit::PostAltKey(Handle("Edit1"), 'l');
    Pump(*window);
    EXPECT_FALSE(Form().CheckBox1.Checked());
    EXPECT_EQ(SendMessageA(Handle("CheckBox1"), BM_GETCHECK, 0, 0), BST_UNCHECKED);

    testkit::PostAltKey(GetFocus(), 'x');
    Pump(*window);
    EXPECT_TRUE(Form().Closed()) << "E&xit";
}

TEST_F(MainWindowTest, ALabelsMnemonicFocusesItsControl) {
    SetFocus(Handle("Edit1"));
    testkit::PostAltKey(Handle("Edit1"), 'a');  // "Select &a ship to edit:"
    Pump(*window);
    EXPECT_EQ(GetFocus(), Handle("ComboBox1"));
}

TEST_F(MainWindowTest, EscPressesExit) {
    SetFocus(Handle("Edit1"));
    testkit::PostKey(Handle("Edit1"), VK_ESCAPE);
    Pump(*window);
    EXPECT_TRUE(Form().Closed());
}

TEST_F(MainWindowTest, TheCloseBoxClosesTheWindow) {
    SendMessageA(window->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(Form().Closed());
}

TEST_F(MainWindowTest, TabWalksTheShownControlsInTheLayoutsTabOrder) {
    std::vector<HWND> expected;
    for (const LayoutRow* row : TabOrder(MainWindowLayout())) {
        HWND control = Handle(row->Name);
        if (IsWindowVisible(control) && IsWindowEnabled(control)) expected.push_back(control);
    }
    ASSERT_FALSE(expected.empty());
    SetFocus(expected.front());
    for (std::size_t step = 1; step <= expected.size(); ++step) {
        testkit::PostKey(GetFocus(), VK_TAB);
        Pump(*window);
        const HWND next = expected[step % expected.size()];
        ASSERT_EQ(GetFocus(), next) << "step " << step << ": " << WindowText(next);
    }
}

TEST_F(MainWindowTest, ChangingTheTabShowsItsPageAndRunsTheTabChange) {
    SetFocus(Handle("ComboBox1"));
    PressKey(Handle("ComboBox1"), VK_DOWN);
    Pump(*window);
    ASSERT_EQ(Form().ComboBox1.ItemIndex(), 1);

    ShowPage(kGunSlotPage);
    EXPECT_EQ(Form().ComboBox6.ItemIndex(), 1) << "the gun slot page starts from the ship of the Ships page";
    EXPECT_GT(SendMessageA(Handle("ListBox3"), LB_GETCOUNT, 0, 0), 0) << "the Warden's gun slots";
    EXPECT_EQ(Selection(Handle("ComboBox6"), true), 1);
    EXPECT_TRUE(IsWindowVisible(Handle("ListBox3")));
    EXPECT_FALSE(IsWindowVisible(Handle("Edit1")));

    ShowPage(kShipsPage);
    EXPECT_TRUE(IsWindowVisible(Handle("Edit1")));
    EXPECT_FALSE(IsWindowVisible(Handle("ListBox3")));
    ExpectWindowShowsModel();
}

TEST_F(MainWindowTest, CtrlTabLeafsThroughThePagesAndTheFocusLeavesTheHiddenOne) {
    SetFocus(Handle("Edit1"));
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    testkit::PostKey(Handle("Edit1"), VK_TAB);
    Pump(*window);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);

    EXPECT_EQ(Form().PageControl1.ActivePageIndex(), kGunSlotPage);
    EXPECT_EQ(Selection(Handle("ComboBox6"), true), Form().ComboBox1.ItemIndex()) << "the tab change ran";
    EXPECT_TRUE(IsChild(window->Handle(), GetFocus())) << "the keyboard still reaches a control";
    EXPECT_TRUE(IsWindowVisible(GetFocus())) << "one that is shown";
    ExpectWindowShowsModel();
}

TEST_F(MainWindowTest, AHandlerThatEndsTheProgramEndsTheLoopWithItsCode) {
    Form().Button10.OnClick = [this] { Form().GetPlatform().Halt(3); };
    SendMessageA(Handle("Button10"), BM_CLICK, 0, 0);
    EXPECT_EQ(platform->Windows().EndedWith, 3);
    bool asked = false;
    platform->RunMessagesUntil(*window, [&asked] { return asked = true, false; });
    EXPECT_FALSE(asked) << "the loop does not wait for another message";
}

TEST_F(MainWindowTest, AnErrorInAHandlerIsShownAndTheWindowGoesOn) {
    Form().Button7.OnClick = [] { throw EInOutError(2); };
    ShowPage(kGunsPage);
    SendMessageA(Handle("Button7"), BM_CLICK, 0, 0);
    Pump(*window);
    EXPECT_EQ(platform->Boxes, std::vector<std::string>{"Error: File not found."});
    EXPECT_FALSE(platform->Windows().EndedWith);
    EXPECT_FALSE(Form().Closed());
}

}  // namespace
}  // namespace tovarin
