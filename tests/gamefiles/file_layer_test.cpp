// The file layer: the primitives the editor reads and writes game files with, whole-file replacement, game paths.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "demo/bytes.h"
#include "gamefiles/errors.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/numbers.h"
#include "gamefiles/system_error_texts.h"
#include "gamefiles/whole_files.h"
#include "testkit/fault_plan.h"
#include "testkit/temp_folder.h"
#include "testkit/temp_game_folder.h"
#include "testkit/text_files.h"

namespace tovarin {
namespace {

namespace fs = std::filesystem;
using demo::Bytes;

const Marker kMarker = {'F', 'O', 'R', 'M', 0, 0, 1, 2};
const std::string kEnd = "Read beyond end of file";
const std::string kRange = "Range check error";

// The open file descriptors of this process, so a test sees a primitive leave one behind. Windows shows a leaked
// handle another way: it keeps the next open for writing out.
std::optional<std::ptrdiff_t> OpenDescriptors() {
#ifdef __linux__
    return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
#else
    return std::nullopt;
#endif
}

std::ptrdiff_t FilesIn(const fs::path& folder) {
    return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
}

// Runs the call and expects the error with the message (and the file layer's code, 0 for other errors), and no
// file left open.
void ExpectFailure(const std::function<void()>& call, const std::string& message, int code = 0) {
    const auto descriptors = OpenDescriptors();
    try {
        call();
        ADD_FAILURE() << "no error, expected \"" << message << "\"";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message(), message);
        const auto* inOut = dynamic_cast<const EInOutError*>(&error);
        EXPECT_EQ(inOut != nullptr ? inOut->ErrorCode : 0, code);
    }
    EXPECT_EQ(OpenDescriptors(), descriptors) << "a file was left open";
}

class FilePrimitives : public ::testing::Test {
protected:
    testkit::TempGameFolder game;

    std::string Put(const std::string& name, const Bytes& bytes) const {
        game.WriteFile(name, bytes);
        return game.PathOf(name);
    }
};

// Reads stop at the end of the file, writes beyond it extend it; counts beyond the buffer, words beyond 16 bits and
// floats without an integer value are refused. A failure leaves no file open, so the next call opens it again; a
// missing file is reported and not created, a negative position refused, and a read-only file refused even for
// reading.
TEST_F(FilePrimitives, WorkAtTheEdgesOfTheFileAndTheBuffer) {
    const std::string file = Put("data.bin", {'a', 'b', 0, 0x12, 0xFF, 'x'});
    ExpectFailure([&] { (void)ReadByteAt(game.PathOf("missing.bin"), 0); }, "File not found", 2);
    EXPECT_FALSE(game.Exists("missing.bin"));
    ExpectFailure([&] { WriteByteAt(file, -1, 0); }, "I/O error 131", 131);
    EXPECT_EQ(ReadByteAt(file, 5), 'x');
    ExpectFailure([&] { (void)ReadByteAt(file, 6); }, kEnd, 100);
    std::string text = "<";
    EXPECT_EQ(ReadStringAt(file, 0, text), 3);
    EXPECT_EQ(ReadStringAt(file, 2, text), 1);
    EXPECT_EQ(text, "<ab") << "the text is added to, never cleared";
    ExpectFailure([&] { (void)ReadStringAt(file, 3, text); }, kEnd, 100);
    Bytes buffer(4, 0xAA);
    EXPECT_EQ(ReadBytesAt(file, 4, buffer, 4), 2);
    EXPECT_EQ(ReadBytesAt(file, 6, buffer, 4), 0);
    EXPECT_EQ(ReadBytesAt(file, 0, buffer, -1), 0);
    EXPECT_EQ(buffer, (Bytes{0xFF, 'x', 0xAA, 0xAA})) << "bytes beyond those read keep their content";
    ExpectFailure([&] { (void)ReadBytesAt(file, 0, buffer, 5); }, kRange);
    AdjustWordAt(file, 3, -1, true);  // the word is big-endian: 0x12FF + 1
    ExpectFailure([&] { AdjustWordAt(file, 3, 0x1301, true); }, kRange);
    ExpectFailure([&] { AdjustWordAt(file, 3, 0xED00, false); }, kRange);
    ExpectFailure([&] { AdjustWordAt(file, 3, INT32_MIN, true); }, kRange);
    WriteBytesAt(file, 0, Bytes{'c', 'd'}, 0);
    ExpectFailure([&] { WriteBytesAt(file, 5, Bytes{'c', 'd'}, 3); }, kRange);
    WriteByteAt(file, 8, 'e');
    WriteLongAt(file, 11, 2, 0xA1B2C3D4);
    EXPECT_EQ(game.ReadFile("data.bin"), (Bytes{'a', 'b', 0, 0x13, 0x00, 'c', 'd', 0, 'e', 0xD4, 0xC3, 0xB2, 0xA1}));
    float value = 0;
    WriteLongAt(file, 15, 2, FloatBits(2.5f));  // a float is read from the 4 bytes 2 before the position
    EXPECT_EQ(ReadFloatAt(file, 15, value, 2), 2);
    WriteLongAt(file, 15, 2, FloatBits(std::nanf("")));
    ExpectFailure([&] { (void)ReadFloatAt(file, 15, value, 2); }, "Invalid floating point operation");
    EXPECT_TRUE(std::isnan(value)) << "the value read is handed out before rounding fails";
    ExpectFailure([&] { (void)ReadFloatAt(file, 16, value, 2); }, kEnd, 100);
    // A folder is no file: Windows refuses to open one with "access denied".
    ExpectFailure([&] { (void)ReadByteAt(game.Folder(), 0); }, "File access denied", 5);
    game.MakeReadOnly("data.bin");
    ExpectFailure([&] { (void)ReadByteAt(file, 0); }, "File access denied", 5);
}

#ifdef __linux__
// A system failure gets the code Windows gives for the same failure, and the system's text for it is Windows'.
TEST_F(FilePrimitives, ASystemFailureGetsTheCodeWindowsGives) {
    // The calls of the copy below: 0 opens the file for reading, 1 reads, 2 closes it, 3 opens it again, 4 writes.
    // clang-format off
    const struct { int failAt, error, code; std::string message, systemText; } rows[] = {
        {1, EIO, 30, "I/O error 30", "The system cannot read from the specified device"},
        {2, EIO, 29, "I/O error 29", "The system cannot write to the specified device"},
        {0, EIO, 1117, "I/O error 1117", "The request could not be performed because of an I/O device error"},
        {0, EACCES, 5, "File access denied", "Access is denied"},
        {4, ENOSPC, 101, "Disk full", "The exclusive semaphore is owned by another process"}};
    // clang-format on
    const std::string file = Put("data.bin", {1, 2, 3});
    const auto copy = [&] { WriteByteAt(file, 0, ReadByteAt(file, 1)); };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.message);
        ExpectFailure([&] { testkit::RunWithFaults(copy, row.failAt, {row.error, false}); }, row.message, row.code);
        EXPECT_EQ(SystemErrorText(row.code), row.systemText);
    }
}
#endif

TEST_F(FilePrimitives, CopyFileBytesReplacesTheDestinationWholeAndLeavesNothingBeside) {
    std::mt19937 random(1234);
    const std::string source = game.PathOf("Ships\\tempfgtr.if~");
    const std::string ship = game.PathOf("Ships\\ship.iff");
    for (const std::size_t size : {0, 1025, 5000}) {  // around the copy's 1024-byte blocks
        for (const std::size_t before : {0, 3000}) {  // no destination yet, or a longer one
            fs::remove_all(game.PathOf("Ships"));
            Bytes bytes(size + before);
            for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
            if (before > 0) Put("Ships\\ship.iff", bytes);
            bytes.resize(size);
            Put("Ships\\tempfgtr.if~", bytes);
            CopyFileBytes(source, ship);
            EXPECT_EQ(game.ReadFile("Ships\\ship.iff"), bytes) << size << " over " << before;
            EXPECT_EQ(FilesIn(game.PathOf("Ships")), 2);
        }
    }
    CopyFileBytes(ship, ship);
    EXPECT_EQ(game.ReadFile("Ships\\ship.iff"), game.ReadFile("Ships\\tempfgtr.if~")) << "copied onto itself";
    const auto descriptors = OpenDescriptors();
    EXPECT_THROW(CopyFileBytes(ship, game.PathOf("Nowhere\\ship.iff")), EInOutError);
    EXPECT_EQ(OpenDescriptors(), descriptors);
    EXPECT_FALSE(FileExists(game.PathOf("Ships"))) << "a folder is no file";
    game.MakeReadOnly("Ships\\ship.iff");
    ExpectFailure([&] { CopyFileBytes(source, ship); }, "File access denied", 5);
    EXPECT_EQ(FilesIn(game.PathOf("Ships")), 2) << "the partial copy is removed";
}

// The first match after position 0 wins; a match at 0 counts only when nothing follows. The file is read in
// blocks: markers before, across and after them are found.
TEST_F(FilePrimitives, FindMarkerFindsTheFirstMarkerAfterTheStart) {
    const std::string m(kMarker.begin(), kMarker.end());
    const std::pair<std::string, std::int32_t> rows[] = {
        {m + "...." + m, 12}, {m + "....", 0}, {m.substr(0, 5) + m, 5}, {m.substr(0, 7), -1}, {"", -1}};
    for (const auto& [text, found] : rows)
        EXPECT_EQ(FindMarker(Put("data.bin", Bytes(text.begin(), text.end())), kMarker, 0), found) << found;
    constexpr std::int32_t kBlock = 64 * 1024;
    for (const std::int32_t start : {0, 1, 1000}) {
        for (const std::int32_t boundary : {start + kBlock, start + 2 * kBlock}) {
            for (std::int32_t at = boundary - 9; at <= boundary + 1; ++at) {
                Bytes bytes(3 * kBlock + 100, 'x');
                std::copy(kMarker.begin(), kMarker.end(), bytes.begin() + at);
                EXPECT_EQ(FindMarker(Put("data.bin", bytes), kMarker, start), at) << "start " << start;
            }
        }
    }
}

// The file's content, or nullopt when there is none.
std::optional<std::string> ContentOf(const fs::path& file) {
    return fs::exists(file) ? std::optional(testkit::ReadTextFile(file)) : std::nullopt;
}

// Every call of the file layer failing in turn, once or for good: the file is as before (or new, when only the
// folder's flush after the rename failed), and after a passing failure nothing is left beside it; without a
// failure the write gives the new content.
TEST(WholeFiles, AFailureAtAnyCallLeavesTheFileAsItWas) {
    using Keys = std::vector<std::array<const char*, 3>>;  // section, key, value; none: the bytes "new" are written
    // clang-format off
    const struct { std::optional<std::string> before, after; Keys keys; } rows[] = {
        {"old bytes", "new", {}},
        {"[a]\r\nx=1\r\n", "[a]\r\nx=2\r\n[b]\r\ny=3\r\n", {{"a", "x", "2"}, {"b", "y", "3"}}},
        {std::nullopt, "[a]\r\nx=1\r\n", {{"a", "x", "1"}}}};
    // clang-format on
    for (const auto& row : rows) {
        testkit::TempFolder folder;
        const fs::path file = folder.Path() / "file.dat";
        const auto write = [&] {  // from the file as before
            fs::remove(file);
            if (row.before) testkit::WriteTextFile(file, *row.before);
            if (row.keys.empty()) return ReplaceWholeFile(file.string(), Bytes{'n', 'e', 'w'});
            ReplaceIniFile(file.string(), [&](const TIniFile& ini) {
                for (const auto& [section, key, value] : row.keys) ini.WriteString(section, key, value);
            });
        };
        const int calls = testkit::RunWithFaults(write);
        ASSERT_EQ(ContentOf(file), row.after);
        for (const bool lasting : {false, true}) {  // leftovers of a lasting failure stay, so it comes last
            for (int failAt = 0; failAt < calls; ++failAt) {
                SCOPED_TRACE(row.after.value() + ", call " + std::to_string(failAt) + (lasting ? ", lasting" : ""));
                EXPECT_THROW(testkit::RunWithFaults(write, failAt, {EIO, true}, lasting), Exception);
                // Off Windows the last call flushes the folder after the rename: the file is new, only perhaps not
                // on the disk yet.
                const bool renamed = failAt + 1 == calls && ContentOf(file) == row.after;
                EXPECT_TRUE(renamed || ContentOf(file) == row.before);
                EXPECT_TRUE(lasting || FilesIn(folder.Path()) == (row.before || renamed ? 1 : 0))
                    << "a file left beside it";
            }
        }
    }
}

// A replacement that said it was done survives a power cut: the new content reaches the disk before the rename,
// and the folder, which holds the new name, after it.
TEST(WholeFiles, AReplacementFlushesTheNewContentAndThenTheFolder) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows writes the rename through by itself";
#endif
    testkit::TempFolder folder;
    const std::string file = (folder.Path() / "file.dat").string();
    std::vector<std::pair<FileCall, std::string>> calls;
    SetFileFaultHook([&](FileCall call, const std::string& path) -> std::optional<InjectedFault> {
        calls.emplace_back(call, path);
        return std::nullopt;
    });
    ReplaceWholeFile(file, Bytes{'n', 'e', 'w'});
    SetFileFaultHook({});
    const auto rename = std::find(calls.begin(), calls.end(), std::pair{FileCall::Rename, file});
    ASSERT_NE(rename, calls.end());
    EXPECT_NE(std::find_if(calls.begin(), rename,
                           [&](const auto& call) {
                               return call.first == FileCall::Flush && call.second.starts_with(file + ".") &&
                                      call.second.ends_with(".part~");
                           }),
              rename);
    EXPECT_NE(std::find(rename, calls.end(), std::pair{FileCall::Flush, folder.WithSeparator()}), calls.end());
}

TEST(GamePaths, JoinBackslashNamesFindFilesWhoseCaseDiffersAndCutTheFolderFromAPath) {
    EXPECT_EQ(FolderOf("C:\\Games\\VSK\\Tovarin.exe"), "C:\\Games\\VSK\\");
    EXPECT_EQ(FolderOf("/opt/vsk/Tovarin.exe"), "/opt/vsk/");
    EXPECT_EQ(FolderOf("C:Tovarin.exe"), "C:");
    EXPECT_EQ(FolderOf("Tovarin.exe"), "");
    testkit::TempFolder temp;
    const std::string folder = temp.WithSeparator();
    fs::create_directories(temp.Path() / "SHIPS");
    for (const char* name : {"Switch.DAT", "ship.iff", "Ship.iff"})
        testkit::WriteTextFile(temp.Path() / "SHIPS" / name, "");
    // Off Windows the names become slash paths with the spelling found on disk, the exact one first; a missing
    // file or folder keeps the spelling asked for. A catalogue may write a slash, which Windows takes as well.
    const std::pair<std::string, std::string> rows[] = {
        {"Ships\\switch.dat", "SHIPS/Switch.DAT"},     {"ships/switch.dat", "SHIPS/Switch.DAT"},
        {"Ships\\Ship.iff", "SHIPS/Ship.iff"},         {"Ships\\ship.iff", "SHIPS/ship.iff"},
        {"Ships\\tempfgtr.if~", "SHIPS/tempfgtr.if~"}, {"Profiles\\New.vks", "Profiles/New.vks"}};
    for (const auto& [name, onDisk] : rows) {
#ifdef _WIN32
        EXPECT_EQ(GamePath(folder, name), folder + name);  // Windows' file system ignores case by itself
#else
        EXPECT_EQ(GamePath(folder, name), folder + onDisk);
#endif
    }
}

}  // namespace
}  // namespace tovarin
