#include <gtest/gtest.h>

#include "install/patch_game.h"

namespace tovarin::testkit {
namespace {

using Texts = std::vector<std::string>;

const std::string kAsk = "Question: Install Tovarin for Vantorsk Ashfall?";
const std::string kAbout = "for Vantorsk Ashfall";

// An archive whose listed bytes all carry the mark, with the record of their originals.
Bytes PatchedGame(GameFolder& game) {
    Bytes patched = ArchiveBytes(50);
    patched[10] = kMark;
    patched[20] = kMark;
    game.WriteFile(kArchive, patched);
    ListPositions(game, {10, 20});
    game.WriteText(kRecord, "[data]\r\nnum=2\r\n0=10\r\n10=7\r\n1=20\r\n20=8\r\n");
    return patched;
}

TEST(PatchAtStartupTest, OnlyALowerCaseUAsTheFirstArgumentRemovesThePatch) {
    struct Case {
        std::vector<std::string> Arguments;
        bool Removes;
    };
    const std::vector<Case> cases = {
        {{"/u"}, true}, {{"/u", "/x"}, true}, {{"/U"}, false}, {{"/x", "/u"}, false}, {{"u"}, false}, {{}, false},
    };
    for (const Case& c : cases) {
        std::string trace;
        for (const std::string& argument : c.Arguments) trace += "[" + argument + "]";
        SCOPED_TRACE(trace);
        GameFolder game;
        const Bytes patched = PatchedGame(game);

        const EditorRun run = StartEditor(game, c.Arguments);

        if (c.Removes) {
            EXPECT_EQ(run.Exit, 0);
            EXPECT_EQ(run.Boxes, (Texts{"Message: Uninstall successfull"}));
            Bytes restored = patched;
            restored[10] = 7;
            restored[20] = 8;
            EXPECT_EQ(game.ReadFile(kArchive), restored);
        } else {
            EXPECT_EQ(run.Exit, std::nullopt);
            EXPECT_EQ(run.Boxes, Texts{}) << "the patch is in place: nothing to ask";
            EXPECT_EQ(run.Label39, kAbout);
            EXPECT_EQ(game.ReadFile(kArchive), patched);
        }
    }
}

// Without a listed last position there is nothing to probe: no question, nothing written.
TEST(PatchAtStartupTest, TheProbeIsSkippedWhenTheCatalogueListsNoEntries) {
    for (const std::optional<std::string>& num : {std::optional<std::string>(), std::optional<std::string>("0")}) {
        SCOPED_TRACE(num ? "num " + *num : "num missing");
        GameFolder game;
        game.WriteFile(kArchive, ArchiveBytes(50));
        game.SetCatalogueKey("InstallData", "0", "10");
        if (num) game.SetCatalogueKey("InstallData", "num", *num);

        const EditorRun run = StartEditor(game, {}, {true});

        EXPECT_EQ(run.Exit, std::nullopt);
        EXPECT_EQ(run.Boxes, Texts{});
        EXPECT_EQ(run.Label39, kAbout);
        EXPECT_EQ(game.ReadFile(kArchive), ArchiveBytes(50));
        EXPECT_FALSE(game.Exists(kRecord));
    }
}

TEST(PatchAtStartupTest, NoQuestionWhenTheLastListedByteIsTheMark) {
    GameFolder game;
    Bytes archive = ArchiveBytes(50);
    archive[20] = kMark;  // only the last one counts
    game.WriteFile(kArchive, archive);
    ListPositions(game, {10, 20});

    const EditorRun run = StartEditor(game, {}, {true});

    EXPECT_EQ(run.Exit, std::nullopt);
    EXPECT_EQ(run.Boxes, Texts{});
    EXPECT_EQ(game.ReadFile(kArchive), archive);
}

TEST(PatchAtStartupTest, YesInstallsAndStartUpGoesOnAndTheNextStartAsksNothing) {
    GameFolder game;
    game.WriteFile(kArchive, ArchiveBytes(50));
    ListPositions(game, {10, 20});

    const EditorRun first = StartEditor(game, {}, {true});

    EXPECT_EQ(first.Exit, std::nullopt);
    EXPECT_EQ(first.Boxes, (Texts{kAsk, "Message: Install successfull"}));
    EXPECT_EQ(first.Label39, kAbout);
    EXPECT_EQ(game.ReadFile(kArchive)[10], kMark);
    EXPECT_EQ(game.ReadFile(kArchive)[20], kMark);

    const EditorRun second = StartEditor(game, {}, {true});
    EXPECT_EQ(second.Exit, std::nullopt);
    EXPECT_EQ(second.Boxes, Texts{});
}

TEST(PatchAtStartupTest, NoEndsTheProgramWithoutTouchingAnything) {
    GameFolder game;
    game.WriteFile(kArchive, ArchiveBytes(50));
    ListPositions(game, {10, 20});

    const EditorRun run = StartEditor(game, {}, {false});

    EXPECT_EQ(run.Exit, 0);
    EXPECT_EQ(run.Boxes, (Texts{kAsk}));
    EXPECT_EQ(game.ReadFile(kArchive), ArchiveBytes(50));
    EXPECT_FALSE(game.Exists(kRecord));
}

}  // namespace
}  // namespace tovarin::testkit
