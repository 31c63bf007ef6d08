#include <gtest/gtest.h>

#include "app/application.h"
#include "app/form1.h"
#include "testkit/game_folder.h"
#include "window_driver.h"

namespace tovarin {
namespace {

using testkit::FindFormWindow;
using testkit::TimedSteps;

constexpr const char* kMainCaption = "Tovarin 1.0";

struct MessageLoopTest : ::testing::Test {
    testkit::GameFolder game;
    testkit::RecordingWin32Platform platform{game.Folder()};
    Application app{platform};

    void SetUp() override { ASSERT_EQ(app.Start(), std::nullopt); }

    // A step that clicks a button of the main window once it shows.
    static TimedSteps::Step Click(const char* button) {
        return [button] {
            FormWindow* main = FindFormWindow(kMainCaption);
            if (main == nullptr) return false;
            SendMessageA(main->ControlHandle(button), BM_CLICK, 0, 0);
            return true;
        };
    }
    TimedSteps::Step CloseAnyway() {
        return [this] { return app.Form1().Close(), true; };
    }
};

TEST_F(MessageLoopTest, ExitEndsTheLoopWithExitCodeZero) {
    TimedSteps steps({Click("Exit"), CloseAnyway()});
    EXPECT_EQ(app.Run(), 0);
    EXPECT_TRUE(app.Form1().Closed());
    EXPECT_EQ(FindFormWindow(kMainCaption), nullptr) << "the window is gone";
}

TEST_F(MessageLoopTest, AHandlerThatEndsTheProgramGivesItsExitCode) {
    app.Form1().Button1.OnClick = [this] { platform.Halt(5); };
    TimedSteps steps({Click("Button1"), CloseAnyway()});
    EXPECT_EQ(app.Run(), 5);
    EXPECT_FALSE(app.Form1().Closed());
}

}  // namespace
}  // namespace tovarin
