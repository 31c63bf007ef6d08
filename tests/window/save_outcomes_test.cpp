#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "cli/cli_run.h"
#include "gamefiles/file_faults.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/originals_backup.h"
#include "ships/ship_session.h"

// What a save says about the file it wrote, on every road of the window and the command line.
namespace tovarin::testkit {
namespace {

// Makes every flush of the folder holding the file fail: the file is replaced, its new name not yet on the disk.
struct FolderNotFlushed {
    explicit FolderNotFlushed(const std::string& path) {
        SetFileFaultHook(
            [folder = FolderOf(path)](FileCall call, const std::string& at) -> std::optional<InjectedFault> {
                if (call == FileCall::Flush && at == folder) return InjectedFault{EIO, false};
                return std::nullopt;
            });
    }
    ~FolderNotFlushed() { SetFileFaultHook({}); }
    FolderNotFlushed(const FolderNotFlushed&) = delete;
    FolderNotFlushed& operator=(const FolderNotFlushed&) = delete;
};

// The window on the demo, its archive patched at start-up, with nothing shown yet.
struct Started : ProgramRun {
    explicit Started(const Demo& game) : ProgramRun(game, {true}) { Platform.Boxes.clear(); }
};

// A save whose file was replaced but whose folder did not reach the disk says the file was written and may not be
// safe yet, and the window's mark follows the file, which holds the save.
TEST(SaveOutcomesTest, AFileWrittenButNotFlushedIsSaidToBeWritten) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows writes a rename through by itself: there is no folder to flush";
#endif
    using Save = std::function<std::string(Demo&, ProgramRun&)>;  // what the save said
    const auto window = [](int page, const char* box, TButton TForm1::*button) {
        return Save([=](Demo&, ProgramRun& run) {
            UserInput::ShowPage(run.Form().PageControl1, page);
            UserInput::Type(Box(run.Form(), box), "77");
            UserInput::Click(run.Form().*button);
            return run.Shown().back();
        });
    };
    const auto cli = [](std::vector<std::string> arguments, bool toFile) {
        return Save([=](Demo& game, ProgramRun&) mutable {
            if (toFile) arguments.push_back(game.PathOf("Ships\\out.vks"));
            return Cli(game, arguments).Err;
        });
    };
    const struct {
        std::string File;
        Save Act;
    } roads[] = {
        {"Ships\\kestrel.iff", window(0, "Edit29", &TForm1::Button2)},
        {"Game\\bullet.iff", window(3, "Edit30", &TForm1::Button7)},
        {"Game\\missile.iff", window(4, "Edit42", &TForm1::Button8)},
        {"Ships\\out.vks",
         [](Demo& game, ProgramRun& run) {
             run.Platform.FileChoices.emplace_back(game.PathOf("Ships\\out.vks"));
             UserInput::Click(run.Form().Button6);
             return run.Shown().back();
         }},
        {"Ships\\kestrel.iff", cli({"ship", "set", "Kestrel", "mass=77"}, false)},
        {"Ships\\out.vks", cli({"ship", "export", "Kestrel"}, true)},
    };
    for (const auto& road : roads) {
        SCOPED_TRACE(road.File + ", road " + std::to_string(&road - roads));
        Demo game;
        Started run(game);
        const Bytes before = game.Exists(road.File) ? game.ReadFile(road.File) : Bytes{};
        std::string said;
        {
            const FolderNotFlushed failing(game.PathOf(road.File));
            said = road.Act(game, run);
        }
        EXPECT_TRUE(said.starts_with(road.File + " was written, but may not yet be safe on the disk")) << said;
        EXPECT_NE(game.ReadFile(road.File), before);
        EXPECT_FALSE(run.Form().Caption().starts_with("*")) << run.Form().Caption();
    }
}

// A save that changes no byte of the ship writes nothing and keeps no original; one that changes a byte keeps it.
TEST(SaveOutcomesTest, AShipSaveThatChangesNoByteWritesNothing) {
    Demo game;
    Started run(game);
    const std::string kept = std::string(kBackupFolderName) + "\\Ships\\kestrel.iff";
    UserInput::Click(run.Form().Button2);
    EXPECT_FALSE(game.Exists(kept));
    UserInput::Type(run.Form().Edit29, "9801");
    UserInput::Click(run.Form().Button2);
    EXPECT_TRUE(game.Exists(kept));
}

// Launch asks about unsaved edits as Exit does (Yes saves, then launches; No launches; Cancel stays), and so does a
// save on Yes that the box's field refuses, naming the box; Restore Defaults asks before it replaces typed values.
TEST(SaveOutcomesTest, LaunchRestoreDefaultsAndTheCloseQuestionAskAndRefuseByTheBoxesRules) {
    using Answer = Platform::Answer;
    const std::string ship = "Ships\\kestrel.iff";
    for (const Answer answer : {Answer::Yes, Answer::No, Answer::Cancel}) {
        SCOPED_TRACE(static_cast<int>(answer));
        Demo game;
        Started run(game);
        const Bytes before = game.ReadFile(ship);
        UserInput::Type(run.Form().Edit29, "4321");
        run.Platform.SaveAnswers = {answer};
        UserInput::Click(run.Form().Button1);
        EXPECT_EQ(run.Shown(), std::vector<std::string>{"Save changes to Kestrel?"});
        EXPECT_EQ(run.Platform.Launched.size(), answer == Answer::Cancel ? 0u : 1u);
        EXPECT_EQ(game.ReadFile(ship) != before, answer == Answer::Yes);
    }
    for (const bool replace : {false, true}) {
        Demo game;
        Started run(game);
        UserInput::Type(run.Form().Edit29, "4321");
        run.Platform.Answers = {replace};
        UserInput::Click(run.Form().Button9);
        EXPECT_EQ(run.Shown(),
                  std::vector<std::string>{"Replace the unsaved changes to Kestrel with its default values?"});
        EXPECT_EQ(run.Form().Edit29.Text() == "4321", !replace);
    }
    Demo game;
    Started run(game);
    const Bytes before = game.ReadFile(ship);
    UserInput::Type(run.Form().Edit15, "16777217");
    run.Platform.SaveAnswers = {Answer::Yes};
    UserInput::Close(run.Form());
    EXPECT_FALSE(run.Form().Closed());
    EXPECT_EQ(run.Shown().back(), "Speed Max: 16777217 would read back as 16777216. Please try 16777216 or 16777218.");
    EXPECT_EQ(game.ReadFile(ship), before);
}

}  // namespace
}  // namespace tovarin::testkit
