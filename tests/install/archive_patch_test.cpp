#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "app/application.h"
#include "app/form1.h"
#include "testkit/game_folder.h"
#include "ui/headless_platform.h"

// Installing marks the archive bytes the catalogue lists with "A" and records their originals in uninstall.dat;
// "/u" puts them back. Every row sets up a game, starts the editor once and compares all it showed and left.
namespace tovarin::testkit {
namespace {

using Texts = std::vector<std::string>;

// Start-up went on: the main window opens.
constexpr std::nullopt_t kOpens = std::nullopt;
const std::string kArchive = "data.tre";
const std::string kRecord = "uninstall.dat";
const std::string kAsk = "Question: Install Tovarin for Vantorsk Ashfall?";
const std::string kInstalled = "Install successfull";
const std::string kInstallFailed = "Install failed: ";
const std::string kRemoved = "Uninstall successfull";
const std::string kRemovalFailed = "Uninstall failed: ";
const std::string kMissing = "Couldn't find file <game>data.tre\n\rPlease consult readme.txt on how to install Tovarin";
// Two listed entries, and what installing them leaves. The start-up table's "Yes" row ends in this state and its
// "/u" row starts from it; the removal table's "removed again" row follows: install, remove, remove again.
const std::string kTwoEntries = "num=2 0=10 1=20";
const std::string kPatched = "10=A 20=A";
const std::string kPatchRecord = "num=2 0=10 10=66 1=20 20=0";

// An INI section with the keys "num=2 0=10" in that order.
IniSection Section(const std::string& name, const std::string& keys) {
    IniSection section{name, {}};
    std::istringstream words(keys);
    for (std::string word; words >> word;) {
        section.Keys.emplace_back(word.substr(0, word.find('=')), word.substr(word.find('=') + 1));
    }
    return section;
}

// 50 bytes, none of them the mark and each differing from its neighbours, holding 66, 0 and 255 at the positions
// the rows list; `changes` such as "10=A 20=7" sets single bytes.
Bytes Archive(const std::string& changes) {
    Bytes bytes(50);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>((i * 7 + 3) % 64);
    for (const auto& [position, value] : Section("", "10=66 20=0 30=255 " + changes).Keys) {
        bytes.at(std::stoul(position)) = static_cast<std::uint8_t>(value == "A" ? 65 : std::stoi(value));
    }
    return bytes;
}

// The record's text for its keys; "" for no record.
std::string RecordText(const std::string& keys) { return keys.empty() ? "" : IniText({Section("data", keys)}); }

// The boxes' texts, a question's and an error box's marked as such, with the game folder shown as "<game>".
Texts Described(const std::vector<HeadlessPlatform::Box>& boxes, const std::string& folder) {
    using enum HeadlessPlatform::Box::Kind;
    Texts texts;
    for (const HeadlessPlatform::Box& box : boxes) {
        std::string text = (box.kind == Question ? "Question: " : box.kind == Error ? "Error: " : "") + box.text;
        const std::size_t at = text.find(folder);
        if (at != std::string::npos) text.replace(at, folder.size(), "<game>");
        texts.push_back(text);
    }
    return texts;
}

// A game, and how the editor is started on it.
struct Given {
    std::vector<std::string> Arguments;
    std::deque<bool> Answers;  // to the install question; none left answers No
    std::string Catalogue;     // its InstallData keys
    std::string Archive;       // changes to the base bytes, or "read-only" or "missing" (base bytes or none)
    std::string Record;        // the uninstall record's keys; "" for none
};

// What that start showed and left behind.
struct Outcome {
    std::optional<int> Exit;  // kOpens, or the exit code
    Texts Boxes;              // plain messages, "Question: ..." and "Error: ..."
    std::string Archive;      // changes to the base bytes
    std::string Record;
};

struct Row {
    std::string Name;
    Given Before;
    Outcome After;
};

// Sets up the row's game, starts the editor once and compares everything it showed and left behind.
void Check(const Row& row, const std::function<void(TForm1&)>& afterStart = {}) {
    SCOPED_TRACE(row.Name);
    const Given& given = row.Before;
    GameFolder game;
    game.SetCatalogueSection(Section("InstallData", given.Catalogue));
    if (given.Archive != "missing") {
        game.WriteFile(kArchive, Archive(given.Archive == "read-only" ? "" : given.Archive));
    }
    if (given.Archive == "read-only") game.MakeReadOnly(kArchive);
    if (!given.Record.empty()) game.WriteText(kRecord, RecordText(given.Record));
    HeadlessPlatform platform(game.Folder(), given.Arguments);
    platform.Answers = given.Answers;
    Application app(platform);

    EXPECT_EQ(app.Start(), row.After.Exit);
    if (afterStart) afterStart(app.Form1());
    EXPECT_EQ(Described(platform.Boxes, game.Folder()), row.After.Boxes);
    const Bytes archiveLeft = game.Exists(kArchive) ? game.ReadFile(kArchive) : Bytes{};
    EXPECT_EQ(archiveLeft, given.Archive == "missing" ? Bytes{} : Archive(row.After.Archive));
    EXPECT_EQ(game.Exists(kRecord) ? game.ReadText(kRecord) : "", RecordText(row.After.Record));
}

TEST(ArchivePatchTest, InstallationOutcomes) {
    const Texts unknownError = {kAsk, kInstallFailed + "Unknown Error"};
    const std::string skipped = "num=3 0=10 10=66 1=0 2=30 30=255";
    // The file layer's own codes are described by their meaning: to the system, 100 is a semaphore's.
    const Texts beyondEnd = {"Read beyond end of file", kInstallFailed + "Read beyond end of file"};
    const Texts denied = {"Access is denied", kInstallFailed + "File access denied"};
    const std::vector<Row> rows = {
        {"a listed byte reads A in the game, unrecorded",
         {{}, {true}, kTwoEntries, "10=A", ""},
         {kOpens, {kAsk, kInstalled}, kPatched, "num=2 0=10 10=65 1=20 20=0"}},
        // An installation that stopped part-way: the bytes it marked keep their recorded originals.
        {"over a partly patched archive",
         {{}, {true}, "num=3 0=10 1=20 2=30", kPatched, kPatchRecord},
         {kOpens, {kAsk, kInstalled}, "10=A 20=A 30=A", "num=3 0=10 10=66 1=20 20=0 2=30 30=255"}},
        {"a position missing", {{}, {true}, "num=3 0=10 2=30", "", ""}, {0, unknownError, "10=A 30=A", skipped}},
        {"a position 0", {{}, {true}, "num=3 0=10 1=0 2=30", "", ""}, {0, unknownError, "10=A 30=A", skipped}},
        // An archive that cannot be read at the last listed position is patched without asking.
        {"a position past the end", {{}, {}, "num=2 0=10 1=70", "", ""}, {0, beyondEnd, "10=A", "num=2 0=10 10=66"}},
        {"a read-only archive", {{}, {}, kTwoEntries, "read-only", ""}, {0, denied, "", "num=2"}},
        {"no archive", {{}, {}, kTwoEntries, "missing", ""}, {0, {kMissing}, "", ""}},
    };
    for (const Row& row : rows) Check(row);
    // Start-up offers nothing for no entries, so this installation is started by hand.
    Check({"num 0", {{}, {}, "num=0", "", ""}, {kOpens, {kInstalled}, "", "num=0"}},
          [](TForm1& form) { form.InstallPatch(); });
}

TEST(ArchivePatchTest, RemovalOutcomes) {
    const Texts noData = {"Sorry, cannot uninstall.", kRemovalFailed + "No uninstall data"};
    const Texts unknownError = {kRemovalFailed + "Unknown Error"};
    const std::string allMarked = "10=A 20=A 30=A";
    const std::string noIndex = "num=3 0=10 10=66 20=0 2=30 30=255";
    const std::string noOriginal = "num=3 0=10 10=66 1=20 2=30 30=255";
    const std::string notAByte = "num=3 0=10 10=66 1=20 20=300 2=30 30=255";
    const std::string one = "num=1 0=10 10=7";
    const Texts denied = {"Access is denied", kRemovalFailed + "File access denied"};
    const std::vector<Row> rows = {
        {"removed again", {{"/u"}, {}, "", "", kPatchRecord}, {0, {kRemoved}, "", kPatchRecord}},
        {"no record", {{"/u"}, {}, "", "10=A", ""}, {0, noData, "10=A", ""}},
        {"num missing", {{"/u"}, {}, "", "10=A", "0=10 10=66"}, {0, noData, "10=A", "0=10 10=66"}},
        {"num 0", {{"/u"}, {}, "", "10=A", "num=0 0=10 10=66"}, {0, noData, "10=A", "num=0 0=10 10=66"}},
        // An entry the record cannot restore is left alone; guessing its byte would damage the archive.
        {"an index key missing", {{"/u"}, {}, "", allMarked, noIndex}, {0, unknownError, "20=A", noIndex}},
        {"an original missing", {{"/u"}, {}, "", allMarked, noOriginal}, {0, unknownError, "20=A", noOriginal}},
        {"a value of 300",
         {{"/u"}, {}, "", allMarked, notAByte},
         {kOpens, {"Error: Range check error."}, "20=A 30=A", notAByte}},
        {"a read-only archive", {{"/u"}, {}, "", "read-only", one}, {0, denied, "", one}},
        {"no archive", {{"/u"}, {}, "", "missing", ""}, {0, {kMissing}, "", ""}},
    };
    for (const Row& row : rows) Check(row);
}

// An archive that cannot be read is patched without a question: the installation table's file-error rows.
TEST(ArchivePatchTest, StartUpRemovesOrOffersThePatch) {
    const std::vector<Row> rows = {
        {"/u", {{"/u"}, {}, kTwoEntries, kPatched, kPatchRecord}, {0, {kRemoved}, "", kPatchRecord}},
        {"/u /x", {{"/u", "/x"}, {}, kTwoEntries, kPatched, kPatchRecord}, {0, {kRemoved}, "", kPatchRecord}},
        {"/U", {{"/U"}, {}, kTwoEntries, kPatched, kPatchRecord}, {kOpens, {}, kPatched, kPatchRecord}},
        {"/x /u", {{"/x", "/u"}, {}, kTwoEntries, kPatched, kPatchRecord}, {kOpens, {}, kPatched, kPatchRecord}},
        {"num missing", {{}, {true}, "0=10", "", ""}, {kOpens, {}, "", ""}},
        {"num 0", {{}, {true}, "num=0 0=10", "", ""}, {kOpens, {}, "", ""}},
        {"the last listed byte reads A", {{}, {true}, kTwoEntries, "20=A", ""}, {kOpens, {}, "20=A", ""}},
        {"Yes", {{}, {true}, kTwoEntries, "", ""}, {kOpens, {kAsk, kInstalled}, kPatched, kPatchRecord}},
        {"No", {{}, {false}, kTwoEntries, "", ""}, {0, {kAsk}, "", ""}},
    };
    for (const Row& row : rows) Check(row);
}

}  // namespace
}  // namespace tovarin::testkit
