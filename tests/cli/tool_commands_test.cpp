#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "app/application.h"
#include "app/form1.h"
#include "cli/command_line.h"
#include "demo/demo_installation.h"
#include "testkit/temp_game_folder.h"
#include "ui/headless_platform.h"
#include "ui/user_input.h"

// `slots` and `swap` against the "Add/Remove Guns" and "Ship Switcher" tabs on the demo installation: the same
// change gives the same files.
namespace tovarin::testkit {

using namespace demo;  // the demo's builders of ship files, weapon tables and game folders
namespace {

TEST(ToolCommandsTest, SlotsAndSwapWriteWhatTheTabsWrite) {
    TempGameFolder viaCli, viaWindow;
    demo::WriteDemoInstallation(viaCli);
    demo::WriteDemoInstallation(viaWindow);
    HeadlessPlatform platform{viaWindow.Folder()};
    platform.Answers = {true};  // the archive's patch, which no file compared here shares
    Application app{platform};
    ASSERT_FALSE(app.Start().has_value());
    TForm1& f = app.Form1();
    platform.Boxes.clear();
    struct Row {
        std::vector<std::string> Arguments;
        std::function<void()> Click;
        std::vector<std::string> Files;
    };
    const std::vector<Row> rows = {
        {{"slots", "copy", "Kestrel", "2"},
         [&] {
             UserInput::Choose(f.ComboBox6, 0);
             UserInput::Select(f.ListBox3, 1);
             UserInput::Click(f.Button13);
             UserInput::Click(f.Button14);
         },
         {"Ships\\kestrel.iff", viaCli.CatalogueName()}},
        {{"slots", "delete", "Halberd", "1"},
         [&] {
             UserInput::Choose(f.ComboBox6, 2);
             UserInput::Select(f.ListBox3, 0);
             UserInput::Click(f.Button12);
             UserInput::Click(f.Button14);
         },
         {"Ships\\halberd.iff", viaCli.CatalogueName()}},
        {{"swap", "Warden", "Kestrel"},
         [&] {
             UserInput::Select(f.ListBox4, 1);
             UserInput::Select(f.ListBox5, 0);
             UserInput::Click(f.Button10);
         },
         {"Ships\\kestrel.iff", "Ships\\warden.iff", "Ships\\switch.dat"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Arguments[0] + " " + row.Arguments[1]);
        std::vector<std::string> arguments = {"--game", viaCli.Folder()};
        arguments.insert(arguments.end(), row.Arguments.begin(), row.Arguments.end());
        std::ostringstream out, err;
        const Bytes before = viaCli.ReadFile(row.Files[0]);
        EXPECT_EQ(cli::RunCommandLine(arguments, out, err), 0) << err.str();
        row.Click();
        for (const std::string& file : row.Files) EXPECT_EQ(viaCli.ReadFile(file), viaWindow.ReadFile(file)) << file;
        EXPECT_NE(viaCli.ReadFile(row.Files[0]), before);
    }
    EXPECT_TRUE(platform.Boxes.empty()) << platform.Boxes.front().text;
}

}  // namespace
}  // namespace tovarin::testkit
