#include <gtest/gtest.h>

#include "install/patch_game.h"

namespace tovarin::testkit {
namespace {

using Texts = std::vector<std::string>;

const std::string kAsk = "Question: Install Tovarin for Vantorsk Ashfall?";
const std::string kInstalled = "Message: Install successfull";
const std::string kRemoved = "Message: Uninstall successfull";

// Installs with "Yes" at start-up; the editor then opens.
EditorRun InstallAnswering(const GameFolder& game) { return StartEditor(game, {}, {true}); }

EditorRun Remove(const GameFolder& game) { return StartEditor(game, {"/u"}); }

TEST(ArchivePatchTest, InstallThenRemoveRestoresTheArchiveByteForByteAndRemovingTwiceChangesNothing) {
    GameFolder game;
    Bytes original = ArchiveBytes(200);
    original[40] = 0;
    original[80] = 255;
    original[120] = kMark;  // a byte that already reads "A" in the game is recorded as it is
    game.WriteFile(kArchive, original);
    ListPositions(game, {40, 80, 120, 160});

    const EditorRun install = InstallAnswering(game);
    EXPECT_EQ(install.Exit, std::nullopt);
    EXPECT_EQ(install.Boxes, (Texts{kAsk, kInstalled}));
    const Bytes patched = game.ReadFile(kArchive);
    ASSERT_EQ(patched.size(), original.size());
    for (std::int32_t position : {40, 80, 120, 160}) EXPECT_EQ(patched[position], kMark) << position;

    for (int removal = 1; removal <= 2; ++removal) {
        SCOPED_TRACE("removal " + std::to_string(removal));
        const EditorRun run = Remove(game);
        EXPECT_EQ(run.Exit, 0);
        EXPECT_EQ(run.Boxes, (Texts{kRemoved}));
        EXPECT_EQ(game.ReadFile(kArchive), original);
    }
}

TEST(ArchivePatchTest, TheRecordHoldsEachIndexFollowedByItsPositionsOriginalByte) {
    GameFolder game;
    Bytes archive = ArchiveBytes(6000);
    archive[1234] = 66;
    archive[5678] = 0;
    game.WriteFile(kArchive, archive);
    ListPositions(game, {1234, 5678});

    EXPECT_EQ(InstallAnswering(game).Exit, std::nullopt);

    EXPECT_EQ(game.ReadText(kRecord), "[data]\r\nnum=2\r\n0=1234\r\n1234=66\r\n1=5678\r\n5678=0\r\n");
}

TEST(ArchivePatchTest, NoEntriesRecordsNumZeroPatchesNothingAndSucceeds) {
    GameFolder game;
    game.WriteFile(kArchive, ArchiveBytes(50));
    game.SetCatalogueKey("InstallData", "num", "0");
    HeadlessPlatform platform(game.Folder());
    Application app(platform);
    ASSERT_EQ(app.Start(), std::nullopt);
    ASSERT_TRUE(platform.Boxes.empty()) << "with no entries start-up offers nothing";

    app.Form1().InstallPatch();

    EXPECT_EQ(Described(platform.Boxes), (Texts{kInstalled}));
    EXPECT_EQ(game.ReadText(kRecord), "[data]\r\nnum=0\r\n");
    EXPECT_EQ(game.ReadFile(kArchive), ArchiveBytes(50));
}

TEST(ArchivePatchTest, AnEntryWithoutPositionIsSkippedTheOthersArePatchedAndTheInstallationFails) {
    for (const std::optional<std::string>& middle : {std::optional<std::string>("0"), std::optional<std::string>()}) {
        SCOPED_TRACE(middle ? "position 0" : "position missing");
        GameFolder game;
        game.WriteFile(kArchive, ArchiveBytes(50));
        game.SetCatalogueKey("InstallData", "num", "3");
        game.SetCatalogueKey("InstallData", "0", "10");
        if (middle) game.SetCatalogueKey("InstallData", "1", *middle);
        game.SetCatalogueKey("InstallData", "2", "30");

        const EditorRun run = InstallAnswering(game);

        EXPECT_EQ(run.Exit, 0);
        EXPECT_EQ(run.Boxes, (Texts{kAsk, "Message: Install failed: Unknown Error"}));
        Bytes expected = ArchiveBytes(50);
        expected[10] = kMark;
        expected[30] = kMark;
        EXPECT_EQ(game.ReadFile(kArchive), expected);
        const Bytes original = ArchiveBytes(50);
        EXPECT_EQ(game.ReadText(kRecord), "[data]\r\nnum=3\r\n0=10\r\n10=" + std::to_string(original[10]) +
                                              "\r\n1=0\r\n2=30\r\n30=" + std::to_string(original[30]) + "\r\n");
    }
}

// Failures of the file layer: the system's words for the code come first, then the program's reason. Neither
// archive can be read at the last position, so start-up installs at once, without a question.
TEST(ArchivePatchTest, AFileErrorStopsTheInstallationAtTheFailingEntry) {
    struct Case {
        std::string Name;
        std::size_t Size;
        bool ReadOnly;
        std::vector<std::string> Boxes;
        std::string Record;
        Bytes Archive;
    };
    const Bytes original = ArchiveBytes(50);
    Bytes firstPatched = original;
    firstPatched[10] = kMark;
    const std::vector<Case> cases = {
        {"archive shorter than a position",
         50,
         false,
         {"Message: Cannot create another system semaphore", "Message: Install failed: Read beyond end of file"},
         "[data]\r\nnum=2\r\n0=10\r\n10=" + std::to_string(original[10]) + "\r\n",
         firstPatched},
        {"read-only archive",
         50,
         true,
         {"Message: Access is denied", "Message: Install failed: File access denied"},
         "[data]\r\nnum=2\r\n",
         original},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        GameFolder game;
        game.WriteFile(kArchive, ArchiveBytes(c.Size));
        if (c.ReadOnly) game.MakeReadOnly(kArchive);
        ListPositions(game, {10, 70});

        const EditorRun run = StartEditor(game);

        EXPECT_EQ(run.Exit, 0);
        EXPECT_EQ(run.Boxes, c.Boxes);
        EXPECT_EQ(game.ReadText(kRecord), c.Record);
        EXPECT_EQ(game.ReadFile(kArchive), c.Archive);
    }
}

TEST(ArchivePatchTest, AMissingArchiveEndsEitherOperationBeforeAnythingIsWritten) {
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{}, std::vector<std::string>{"/u"}}) {
        SCOPED_TRACE(arguments.empty() ? "install" : "removal");
        GameFolder game;
        ListPositions(game, {10, 20});

        const EditorRun run = StartEditor(game, arguments);

        EXPECT_EQ(run.Exit, 0);
        EXPECT_EQ(run.Boxes, (Texts{"Message: Couldn't find file " + game.Folder() + kArchive +
                                    "\n\rPlease consult readme.txt on how to install Tovarin"}));
        EXPECT_FALSE(game.Exists(kRecord));
        EXPECT_FALSE(game.Exists(kArchive));
    }
}

// The state an installation leaves when it stopped after two of three entries: those two bytes carry the mark
// and the record holds their originals. Installing again must not record the mark over them.
TEST(ArchivePatchTest, InstallingOverAPartlyPatchedArchiveKeepsTheRecordedOriginals) {
    GameFolder game;
    const Bytes original = ArchiveBytes(50);
    Bytes partly = original;
    partly[10] = kMark;
    partly[20] = kMark;
    game.WriteFile(kArchive, partly);
    ListPositions(game, {10, 20, 30});
    const std::string first = std::to_string(original[10]);
    const std::string second = std::to_string(original[20]);
    game.WriteText(kRecord, "[data]\r\nnum=3\r\n0=10\r\n10=" + first + "\r\n1=20\r\n20=" + second + "\r\n");

    const EditorRun install = InstallAnswering(game);

    EXPECT_EQ(install.Exit, std::nullopt);
    EXPECT_EQ(install.Boxes, (Texts{kAsk, kInstalled}));
    EXPECT_EQ(game.ReadText(kRecord), "[data]\r\nnum=3\r\n0=10\r\n10=" + first + "\r\n1=20\r\n20=" + second +
                                          "\r\n2=30\r\n30=" + std::to_string(original[30]) + "\r\n");
    EXPECT_EQ(Remove(game).Exit, 0);
    EXPECT_EQ(game.ReadFile(kArchive), original);
}

TEST(ArchivePatchTest, RemovalWithoutUsableRecordChangesNothing) {
    struct Case {
        std::string Name;
        std::optional<std::string> Record;
    };
    const std::vector<Case> cases = {
        {"no record", std::nullopt},
        {"num missing", "[data]\r\n0=10\r\n10=7\r\n"},
        {"num 0", "[data]\r\nnum=0\r\n0=10\r\n10=7\r\n"},
        {"num negative", "[data]\r\nnum=-2\r\n0=10\r\n10=7\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        GameFolder game;
        Bytes patched = ArchiveBytes(50);
        patched[10] = kMark;
        game.WriteFile(kArchive, patched);
        if (c.Record) game.WriteText(kRecord, *c.Record);

        const EditorRun run = Remove(game);

        EXPECT_EQ(run.Exit, 0);
        EXPECT_EQ(run.Boxes,
                  (Texts{"Message: Sorry, cannot uninstall.", "Message: Uninstall failed: No uninstall data"}));
        EXPECT_EQ(game.ReadFile(kArchive), patched);
    }
}

// An entry the record cannot restore is left alone; the others are restored and the removal reports failure.
TEST(ArchivePatchTest, RemovalRestoresTheOtherEntriesWhenOneCannotBeRestored) {
    struct Case {
        std::string Name;
        std::string Middle;  // the record's lines for entry 1
    };
    const std::vector<Case> cases = {
        {"index key missing", "20=9\r\n"},
        {"index key 0", "1=0\r\n20=9\r\n"},
        {"original missing", "1=20\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        GameFolder game;
        Bytes patched = ArchiveBytes(50);
        for (std::size_t position : {10, 20, 30}) patched[position] = kMark;
        game.WriteFile(kArchive, patched);
        game.WriteText(kRecord, "[data]\r\nnum=3\r\n0=10\r\n10=7\r\n" + c.Middle + "2=30\r\n30=8\r\n");

        const EditorRun run = Remove(game);

        EXPECT_EQ(run.Exit, 0);
        EXPECT_EQ(run.Boxes, (Texts{"Message: Uninstall failed: Unknown Error"}));
        Bytes expected = patched;
        expected[10] = 7;
        expected[30] = 8;
        EXPECT_EQ(game.ReadFile(kArchive), expected);
    }
}

TEST(ArchivePatchTest, ARecordValueThatIsNoByteStopsTheRemovalThereAndTheWindowOpens) {
    GameFolder game;
    Bytes patched = ArchiveBytes(50);
    for (std::size_t position : {10, 20, 30}) patched[position] = kMark;
    game.WriteFile(kArchive, patched);
    game.WriteText(kRecord, "[data]\r\nnum=3\r\n0=10\r\n10=7\r\n1=20\r\n20=300\r\n2=30\r\n30=8\r\n");

    const EditorRun run = Remove(game);

    EXPECT_EQ(run.Exit, std::nullopt);
    EXPECT_EQ(run.Boxes, (Texts{"Error: Range check error."}));
    Bytes expected = patched;
    expected[10] = 7;
    EXPECT_EQ(game.ReadFile(kArchive), expected);
}

TEST(ArchivePatchTest, AReadOnlyArchiveStopsTheRemovalWithTheSystemsWords) {
    GameFolder game;
    Bytes patched = ArchiveBytes(50);
    patched[10] = kMark;
    game.WriteFile(kArchive, patched);
    game.MakeReadOnly(kArchive);
    game.WriteText(kRecord, "[data]\r\nnum=1\r\n0=10\r\n10=7\r\n");

    const EditorRun run = Remove(game);

    EXPECT_EQ(run.Exit, 0);
    EXPECT_EQ(run.Boxes, (Texts{"Message: Access is denied", "Message: Uninstall failed: File access denied"}));
    EXPECT_EQ(game.ReadFile(kArchive), patched);
}

}  // namespace
}  // namespace tovarin::testkit
