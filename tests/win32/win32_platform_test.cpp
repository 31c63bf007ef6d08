#include "win32/win32_platform.h"
// After windows.h, which the program builds without the common dialogs.
#include <commdlg.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "gamefiles/wide_paths.h"
#include "testkit/temp_folder.h"
#include "testkit/temp_game_folder.h"
#include "timed_steps.h"
#include "win32/widget_state.h"
#include "window/form1.h"

// The real system calls behind the program's boxes, file dialogs and texts, answered by timed clicks.
namespace tovarin {
namespace {

constexpr int kMessageText = 0xFFFF;  // a message box's text
constexpr int kFileNameBox = 0x047C;
constexpr int kReadOnlyBox = 0x0410;

// Shows a box and answers it with a button; what the box showed comes back as "caption: text | buttons | icon".
std::string Answered(int button, const std::function<void()>& show) {
    std::string seen;
    testkit::TimedSteps steps({[&] {
        HWND box = FindWindowA("#32770", nullptr);
        if (box == nullptr) return false;
        wchar_t text[512] = {};
        GetDlgItemTextW(box, kMessageText, text, 512);
        seen = WindowText(box) + ": " + Utf8OfWide(text) + " |";
        if (GetDlgItem(box, IDOK) != nullptr) seen += " OK";
        if (GetDlgItem(box, IDYES) != nullptr) seen += " Yes";
        if (GetDlgItem(box, IDNO) != nullptr) seen += " No";
        if (GetDlgItem(box, IDCANCEL) != nullptr) seen += " Cancel";
        const auto stop = reinterpret_cast<LRESULT>(LoadIconA(nullptr, IDI_HAND));
        for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            if (IsWindowVisible(child) && SendMessageA(child, STM_GETICON, 0, 0) == stop) seen += " | stop icon";
        }
        EndDialog(box, button);  // as the button would, and without waiting when the box lacks it
        return true;
    }});
    show();
    return seen;
}

TEST(Win32PlatformTest, MessageBoxesOfEachKindAndSystemErrorTexts) {
    Win32Platform platform;
    EXPECT_EQ(Answered(IDOK, [&] { platform.ShowMessage("Install successful"); }), "Tovarin: Install successful | OK");
    EXPECT_EQ(Answered(IDOK, [&] { platform.ShowError("File not found."); }),
              "Tovarin: File not found. | OK | stop icon");
    // A mod's name in UTF-8 beside a ship's in the game's Windows-1252.
    EXPECT_EQ(Answered(IDOK, [&] { platform.ShowMessage("Скорость 速度 sets the \xC6r\xF8"); }),
              "Tovarin: Скорость 速度 sets the Ærø | OK");
    using Answer = Platform::Answer;
    for (const auto& [button, expected] :
         {std::pair{IDYES, Answer::Yes}, {IDNO, Answer::No}, {IDCANCEL, Answer::Cancel}}) {
        auto answer = static_cast<Answer>(-1);
        EXPECT_EQ(Answered(button, [&] { answer = platform.AskYesNoCancel("Save changes to Kestrel?"); }),
                  "Tovarin: Save changes to Kestrel? | Yes No Cancel");
        EXPECT_EQ(answer, expected);
        if (button == IDCANCEL) continue;  // a Yes/No box has no Cancel
        bool yes = button == IDNO;
        EXPECT_EQ(Answered(button, [&] { yes = platform.AskYesNo("Install?"); }), "Tovarin: Install? | Yes No");
        EXPECT_EQ(yes, button == IDYES);
    }
    // The system's texts for its error codes end without blanks, line breaks or full stops; a code the system has no
    // words for gets the program's own.
    for (const int code : {2, 3, 5, 32, 112, 0x2345678}) {
        const std::string text = platform.ErrorCodeText(code);
        ASSERT_FALSE(text.empty()) << code;
        EXPECT_EQ(std::string(" .\r\n").find(text.back()), std::string::npos) << code << ": " << text;
    }
}

// The launcher starts a program and says why it cannot start a missing one or a file that is no program, with a
// code the system has words for.
TEST(Win32PlatformTest, TheLauncherSaysWhyAGameDidNotStart) {
    testkit::TempGameFolder game;
    game.WriteText("broken.exe", "not a program");
    Win32Platform platform;
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(platform.WinExec("\"" + std::string(system) + "\\cmd.exe\" /c exit", SW_HIDE), 0);
    EXPECT_EQ(platform.WinExec("\"" + game.PathOf("missing.exe") + "\"", SW_HIDE), ERROR_FILE_NOT_FOUND);
    const int broken = platform.WinExec("\"" + game.PathOf("broken.exe") + "\"", SW_HIDE);
    EXPECT_NE(broken, 0);
    EXPECT_NE(platform.ErrorCodeText(broken), "") << broken;
}

// A game in a folder named in another alphabet starts, in the program's own working folder. The stand-in game is
// the suite itself, which writes its (empty) report there.
TEST(Win32PlatformTest, TheLauncherStartsAGameFromAFolderInAnyAlphabet) {
    testkit::TempGameFolder game;
    testkit::TempFolder working;
    const std::filesystem::path folder = WidePath(game.Folder() + "Игра 速度 é");
    std::filesystem::create_directory(folder);
    wchar_t suite[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, suite, MAX_PATH);
    ASSERT_TRUE(CopyFileW(suite, (folder / "game.exe").c_str(), FALSE));
    wchar_t before[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, before);
    SetCurrentDirectoryW(working.Path().c_str());
    Win32Platform platform;
    const std::string exe = Utf8OfWide((folder / "game.exe").wstring());
    EXPECT_EQ(platform.WinExec("\"" + exe + "\" --gtest_filter=-* --gtest_output=json:started.json", SW_HIDE), 0);
    SetCurrentDirectoryW(before);
    for (int step = 0; step < 300 && !std::filesystem::exists(working.Path() / "started.json"); ++step) Sleep(100);
    EXPECT_TRUE(std::filesystem::exists(working.Path() / "started.json"));
    Sleep(200);  // the stand-in ends before its folder goes
}

// The ship profile dialogs as the program sets them up: titled, opening in their folder, adding the extension,
// without a read-only box; a cancelled one keeps the name chosen last.
TEST(Win32PlatformTest, FileDialogsAreSetUpFromTheirModel) {
    testkit::TempGameFolder game;
    game.WriteText("Корабли 艦船\\marauder.vks", "[Ship]\r\n");  // a folder beyond the system's code page
    const std::string folder = game.Folder() + "Корабли 艦船";
    Win32Platform platform;
    const auto form = std::make_unique<TForm1>(platform);
    const struct {
        TFileDialog& Dialog;
        const char* Title;
        std::string Typed;  // empty: cancelled
        std::string Chosen;
    } rows[] = {
        {form->SaveDialog1, "Export Ship", "kestrel", folder + "\\kestrel.vks"},
        {form->OpenDialog1, "Import Ship", "marauder.vks", folder + "\\marauder.vks"},
        {form->OpenDialog1, "Import Ship", "", folder + "\\marauder.vks"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Title + (" " + row.Typed));
        row.Dialog.InitialDir = folder;
        testkit::TimedSteps steps({[&row, &folder] {
            HWND dialog = FindWindowA("#32770", nullptr);
            if (dialog == nullptr) return false;
            EXPECT_EQ(WindowText(dialog), row.Title);
            HWND readOnly = GetDlgItem(dialog, kReadOnlyBox);
            EXPECT_FALSE(readOnly != nullptr && IsWindowVisible(readOnly)) << "a read-only box";
            wchar_t shownFolder[MAX_PATH] = {};
            SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(shownFolder));
            EXPECT_EQ(Utf8OfWide(shownFolder), folder);
            // The full path, so that a dialog opened elsewhere still takes the name instead of waiting.
            SetWindowTextW(GetDlgItem(dialog, kFileNameBox), WidePath(folder + "\\" + row.Typed).c_str());
            SendMessageA(GetDlgItem(dialog, row.Typed.empty() ? IDCANCEL : IDOK), BM_CLICK, 0, 0);
            return true;
        }});
        EXPECT_EQ(platform.ExecuteDialog(row.Dialog), !row.Typed.empty());
        EXPECT_EQ(row.Dialog.FileName, row.Chosen);
    }
}

}  // namespace
}  // namespace tovarin
