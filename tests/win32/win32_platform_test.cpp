#include "win32/win32_platform.h"

#include <gtest/gtest.h>

#include <string>

#include "app/form1.h"
#include "gamefiles/file_primitives.h"
#include "testkit/game_folder.h"
#include "testkit/temp_folder.h"
#include "window_driver.h"

// The real system calls behind the program's boxes, file dialogs and texts, answered by timed clicks.
namespace tovarin {
namespace {

using testkit::TimedSteps;

constexpr int kMessageText = 0xFFFF;
constexpr int kFileNameCombo = 0x047C;  // the file dialogs' "File name" box
constexpr int kFileNameEdit = 0x0480;   // the same in the older dialog layout
constexpr int kReadOnlyBox = 0x0410;

// What a message box showed before it was answered.
struct BoxSeen {
    bool Found = false;
    std::string Text;
    bool Ok = false;
    bool Yes = false;
    bool No = false;
    bool Icon = false;
};

// Whether a box shows an icon (a visible icon static holding one).
bool ShowsIcon(HWND box) {
    bool found = false;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM data) -> BOOL {
            const auto style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
            if ((style & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child) && SendMessageA(child, STM_GETICON, 0, 0)) {
                *reinterpret_cast<bool*>(data) = true;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// A step that looks at the box captioned "Tovarin" and presses one of its buttons.
TimedSteps::Step AnswerBox(BoxSeen& seen, int button) {
    return [&seen, button] {
        HWND box = FindWindowA("#32770", "Tovarin");
        if (box == nullptr) return false;
        seen.Found = true;
        char text[512] = {};
        GetDlgItemTextA(box, kMessageText, text, sizeof text);
        seen.Text = text;
        seen.Ok = GetDlgItem(box, IDOK) != nullptr;
        seen.Yes = GetDlgItem(box, IDYES) != nullptr;
        seen.No = GetDlgItem(box, IDNO) != nullptr;
        seen.Icon = ShowsIcon(box);
        SendMessageA(GetDlgItem(box, button), BM_CLICK, 0, 0);
        return true;
    };
}

TEST(Win32PlatformTest, BoxesAreCaptionedTovarinWithTheirButtonsAndIcon) {
    Win32Platform platform;
    {
        BoxSeen seen;
        TimedSteps steps({AnswerBox(seen, IDOK)});
        platform.ShowMessage("Install successfull");
        EXPECT_TRUE(seen.Found);
        EXPECT_EQ(seen.Text, "Install successfull");
        EXPECT_TRUE(seen.Ok);
        EXPECT_FALSE(seen.Yes || seen.No || seen.Icon) << "a plain message: OK only, no icon";
    }
    {
        BoxSeen seen;
        TimedSteps steps({AnswerBox(seen, IDOK)});
        platform.ShowError("File not found.");
        EXPECT_EQ(seen.Text, "File not found.");
        EXPECT_TRUE(seen.Ok);
        EXPECT_TRUE(seen.Icon) << "the general error box shows the stop icon";
    }
    for (const int answer : {IDYES, IDNO}) {
        BoxSeen seen;
        TimedSteps steps({AnswerBox(seen, answer)});
        const bool yes = platform.AskYesNo("Install Tovarin for Vantorsk Ashfall?");
        EXPECT_EQ(yes, answer == IDYES);
        EXPECT_TRUE(seen.Yes && seen.No);
        EXPECT_FALSE(seen.Ok);
    }
}

TEST(Win32PlatformTest, SystemErrorTextsEndWithoutBlanksLineBreaksOrFullStops) {
    Win32Platform platform;
    for (const int code : {2, 3, 5, 32, 112}) {
        SCOPED_TRACE(code);
        const std::string text = platform.ErrorCodeText(code);
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(std::string(" .\r\n").find(text.back()), std::string::npos) << text;
    }
    EXPECT_FALSE(platform.ErrorCodeText(0x2345678).empty()) << "a code the system has no words for";
}

TEST(Win32PlatformTest, TheProgramsFolderEndsWithItsSeparator) {
    Win32Platform platform;
    const std::string folder = platform.ExeFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_TRUE(FileExists(folder + "tovarin_tests.exe"));
}

// What a file dialog showed before a name was typed into it.
struct DialogSeen {
    bool Found = false;
    bool ReadOnlyBoxShown = true;
};

TimedSteps::Step ChooseFile(const char* title, const std::string& name, DialogSeen& seen) {
    return [title, name, &seen] {
        HWND dialog = FindWindowA("#32770", title);
        if (dialog == nullptr) return false;
        seen.Found = true;
        HWND readOnly = GetDlgItem(dialog, kReadOnlyBox);
        seen.ReadOnlyBoxShown = readOnly != nullptr && IsWindowVisible(readOnly);
        HWND fileName = GetDlgItem(dialog, kFileNameCombo);
        if (fileName == nullptr) fileName = GetDlgItem(dialog, kFileNameEdit);
        SetWindowTextA(fileName, name.c_str());
        SendMessageA(GetDlgItem(dialog, name.empty() ? IDCANCEL : IDOK), BM_CLICK, 0, 0);
        return true;
    };
}

// The ship profile dialogs as the program sets them up, run in a temporary folder.
class FileDialogTest : public ::testing::Test {
protected:
    testkit::GameFolder game;
    Win32Platform platform;
    std::unique_ptr<TForm1> form = std::make_unique<TForm1>(platform);
    std::string folder = game.Folder().substr(0, game.Folder().size() - 1);
};

TEST_F(FileDialogTest, SavingAddsTheDefaultExtensionInTheInitialFolder) {
    TSaveDialog& dialog = form->SaveDialog1;
    dialog.InitialDir = folder;
    DialogSeen seen;
    TimedSteps steps({ChooseFile("Export Ship", "kestrel", seen)});
    ASSERT_TRUE(platform.ExecuteDialog(dialog));
    EXPECT_TRUE(seen.Found);
    EXPECT_FALSE(seen.ReadOnlyBoxShown);
    EXPECT_EQ(dialog.FileName, folder + "\\kestrel.vks");
}

TEST_F(FileDialogTest, OpeningGivesTheChosenFileAndCancelGivesNothing) {
    game.WriteText("marauder.vks", "[Ship]\r\n");
    TOpenDialog& dialog = form->OpenDialog1;
    dialog.InitialDir = folder;
    DialogSeen seen;
    {
        TimedSteps steps({ChooseFile("Import Ship", "marauder.vks", seen)});
        ASSERT_TRUE(platform.ExecuteDialog(dialog));
    }
    EXPECT_TRUE(seen.Found);
    EXPECT_FALSE(seen.ReadOnlyBoxShown);
    EXPECT_EQ(dialog.FileName, folder + "\\marauder.vks");

    TimedSteps cancel({ChooseFile("Import Ship", "", seen)});
    EXPECT_FALSE(platform.ExecuteDialog(dialog));
    EXPECT_EQ(dialog.FileName, folder + "\\marauder.vks") << "the name chosen last stays";
}

}  // namespace
}  // namespace tovarin
