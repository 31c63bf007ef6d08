#include <gtest/gtest.h>

#include <sstream>

#include "testkit/temp_game_folder.h"
#include "ui/headless_platform.h"
#include "window/application.h"
#include "window/form1.h"

// Installing marks the archive bytes the catalogue lists with "A" and records their originals in uninstall.dat;
// "/u" puts them back. Every row sets up a game, starts the editor once and compares all it showed and left.
namespace tovarin::testkit {

using namespace demo;  // the demo's builders of ship files, weapon tables and game folders
namespace {

using Texts = std::vector<std::string>;

// Start-up went on: the main window opens.
constexpr std::nullopt_t kOpens = std::nullopt;
const std::string kArchive = "data.tre";
const std::string kRecord = "uninstall.dat";
const std::string kAsk =
    "Question: Install Tovarin for Vantorsk Ashfall?\n\nInstalling changes a few bytes of data.tre and records their "
    "originals in uninstall.dat; \"Tovarin.exe /u\" puts them back. Tovarin does not run without it: No ends "
    "Tovarin.";
const std::string kInstalled = "Install successful";
const std::string kInstallFailed = "Install failed: ";
const std::string kRemovalFailed = "Uninstall failed: ";
// Two listed entries, and what installing them leaves.
const std::string kTwoEntries = "num=2 0=10 1=20";
const std::string kPatched = "10=A 20=A";
const std::string kPatchRecord = "num=2 0=10 10=66 1=20 20=0";

// An INI section with the keys "num=2 0=10" in that order.
IniSection Section(const std::string& name, const std::string& keys) {
    IniSection section{name, {}};
    std::istringstream words(keys);
    for (std::string word; words >> word;)
        section.Keys.emplace_back(word.substr(0, word.find('=')), word.substr(word.find('=') + 1));
    return section;
}

// 50 bytes, none of them the mark and each differing from its neighbours, holding 66, 0 and 255 at the positions
// the rows list; `changes` such as "10=A 20=7" sets single bytes.
Bytes Archive(const std::string& changes) {
    Bytes bytes(50);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>((i * 7 + 3) % 64);
    for (const auto& [position, value] : Section("", "10=66 20=0 30=255 " + changes).Keys)
        bytes.at(std::stoul(position)) = static_cast<std::uint8_t>(value == "A" ? 65 : std::stoi(value));
    return bytes;
}

// The record's text for its keys; "" for no record.
std::string RecordText(const std::string& keys) { return keys.empty() ? "" : IniText({Section("data", keys)}); }

struct Row {
    std::string Name;
    // The game, and how the editor is started on it. The archive holds changes to the base bytes, or is "read-only"
    // or "missing" (base bytes or none); the catalogue's InstallData keys and the record's keys ("" for none).
    std::vector<std::string> Arguments;
    std::deque<bool> Answers;  // to the install question; none left answers No
    std::string Catalogue, Archive, Record;
    // What that start showed and left behind: kOpens or the exit code, the boxes (plain messages, "Question: ..."
    // and "Error: ..." with the game folder as "<game>"), the archive's changes and the record's keys.
    std::optional<int> Exit;
    Texts Boxes;
    std::string ArchiveAfter, RecordAfter;
};

void Check(const Row& row) {
    SCOPED_TRACE(row.Name);
    TempGameFolder game;
    game.SetCatalogueSection(Section("InstallData", row.Catalogue));
    if (row.Archive != "missing") game.WriteFile(kArchive, Archive(row.Archive == "read-only" ? "" : row.Archive));
    if (row.Archive == "read-only") game.MakeReadOnly(kArchive);
    if (!row.Record.empty()) game.WriteText(kRecord, RecordText(row.Record));
    HeadlessPlatform platform(game.Folder(), row.Arguments);
    platform.Answers = row.Answers;
    EXPECT_EQ(Application(platform).Start(), row.Exit);
    Texts shown;
    for (const HeadlessPlatform::Box& box : platform.Boxes) {
        using enum HeadlessPlatform::Box::Kind;
        std::string text = (box.kind == Question ? "Question: " : box.kind == Error ? "Error: " : "") + box.text;
        if (const std::size_t at = text.find(game.Folder()); at != std::string::npos)
            text.replace(at, game.Folder().size(), "<game>");
        shown.push_back(text);
    }
    EXPECT_EQ(shown, row.Boxes);
    EXPECT_EQ(game.Exists(kArchive) ? game.ReadFile(kArchive) : Bytes{},
              row.Archive == "missing" ? Bytes{} : Archive(row.ArchiveAfter));
    EXPECT_EQ(game.Exists(kRecord) ? game.ReadText(kRecord) : "", RecordText(row.RecordAfter));
}

TEST(ArchivePatch, StartUpOffersInstallsAndRemovesThePatch) {
    const Texts unknownError = {kAsk, kInstallFailed + "Unknown Error"};
    const Texts beyondEnd = {"data.tre: Read beyond end of file", kInstallFailed + "data.tre: Read beyond end of file"};
    const Texts noData = {"Sorry, cannot uninstall.", kRemovalFailed + "No uninstall data"};
    const std::string allMarked = "10=A 20=A 30=A";
    const std::string noIndex = "num=3 0=10 10=66 20=0 2=30 30=255";
    const std::string noOriginal = "num=3 0=10 10=66 1=20 2=30 30=255";
    const std::string notAByte = "num=3 0=10 10=66 1=20 20=300 2=30 30=255";
    const std::string one = "num=1 0=10 10=7";
    // clang-format off
    const Row rows[] = {
        {"Yes, over a listed byte that reads A unrecorded", {}, {true}, kTwoEntries, "10=A", "",
         kOpens, {kAsk, kInstalled}, kPatched, "num=2 0=10 10=65 1=20 20=0"},
        {"No", {}, {false}, kTwoEntries, "", "", 0, {kAsk}, "", ""},
        {"the last listed byte reads A", {}, {}, kTwoEntries, "20=A", "", kOpens, {}, "20=A", ""},
        {"nothing listed", {}, {}, "num=0 0=10", "", "", kOpens, {}, "", ""},
        // An installation that stopped part-way: the bytes it marked keep their recorded originals.
        {"over a partly patched archive", {}, {true}, "num=3 0=10 1=20 2=30", kPatched, kPatchRecord,
         kOpens, {kAsk, kInstalled}, "10=A 20=A 30=A", "num=3 0=10 10=66 1=20 20=0 2=30 30=255"},
        {"a position 0", {}, {true}, "num=3 0=10 1=0 2=30", "", "",
         0, unknownError, "10=A 30=A", "num=3 0=10 10=66 1=0 2=30 30=255"},
        // An archive that cannot be read at the last listed position is patched without asking.
        {"a position past the end", {}, {}, "num=2 0=10 1=70", "", "", 0, beyondEnd, "10=A", "num=2 0=10 10=66"},
        {"a read-only archive", {}, {}, kTwoEntries, "read-only", "",
         0, {"data.tre: Access is denied", kInstallFailed + "data.tre: File access denied"}, "", "num=2"},
        {"no archive", {}, {}, kTwoEntries, "missing", "",
         0, {"Couldn't find file <game>data.tre\n\rPlease consult readme.txt on how to install Tovarin"}, "", ""},
        {"/u /x", {"/u", "/x"}, {}, kTwoEntries, kPatched, kPatchRecord, 0, {"Uninstall successful"}, "", kPatchRecord},
        {"/U", {"/U"}, {}, kTwoEntries, kPatched, kPatchRecord, kOpens, {}, kPatched, kPatchRecord},
        {"/x /u", {"/x", "/u"}, {}, kTwoEntries, kPatched, kPatchRecord, kOpens, {}, kPatched, kPatchRecord},
        {"/u without a record", {"/u"}, {}, "", "10=A", "", 0, noData, "10=A", ""},
        {"/u, num -1", {"/u"}, {}, "", "10=A", "num=-1 0=10 10=66", 0, noData, "10=A", "num=-1 0=10 10=66"},
        // An entry the record cannot restore is left alone; guessing its byte would damage the archive.
        {"/u, an index key missing", {"/u"}, {}, "", allMarked, noIndex,
         0, {kRemovalFailed + "Unknown Error"}, "20=A", noIndex},
        {"/u, an original missing", {"/u"}, {}, "", allMarked, noOriginal,
         0, {kRemovalFailed + "Unknown Error"}, "20=A", noOriginal},
        {"/u, a value of 300", {"/u"}, {}, "", allMarked, notAByte,
         kOpens, {"Error: Range check error."}, "20=A 30=A", notAByte},
        {"/u, a read-only archive", {"/u"}, {}, "", "read-only", one,
         0, {"data.tre: Access is denied", kRemovalFailed + "data.tre: File access denied"}, "", one}};
    // clang-format on
    for (const Row& row : rows) Check(row);
}

}  // namespace
}  // namespace tovarin::testkit
