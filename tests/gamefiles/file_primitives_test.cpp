#include "gamefiles/file_primitives.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "gamefiles/errors.h"
#include "testkit/game_folder.h"

namespace tovarin {
namespace {

namespace fs = std::filesystem;
using testkit::Bytes;

const Marker kMarker = {'F', 'O', 'R', 'M', 0, 0, 1, 2};

Bytes FloatBytes(float value) {
    Bytes bytes(4);
    std::memcpy(bytes.data(), &value, 4);  // x86 is little-endian, as the game files are
    return bytes;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

const Bytes kMarkerBytes(kMarker.begin(), kMarker.end());

// Runs the call and checks that it fails with the file layer's code and message.
void ExpectInOutError(const std::function<void()>& call, int code, const std::string& message) {
    try {
        call();
        ADD_FAILURE() << "no error, expected \"" << message << "\"";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.ErrorCode, code);
        EXPECT_EQ(error.Message(), message);
    }
}

// The open file descriptors of this process, so a test can see a primitive leave one behind. Windows shows a
// leaked handle another way: it keeps the next open for writing out.
std::optional<std::size_t> OpenDescriptors() {
#ifdef __linux__
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd")) ++count;
    return count;
#else
    return std::nullopt;
#endif
}

class FilePrimitives : public ::testing::Test {
protected:
    testkit::GameFolder game;

    std::string Put(const std::string& name, const Bytes& bytes) const {
        game.WriteFile(name, bytes);
        return game.PathOf(name);
    }
    [[nodiscard]] Bytes Get(const std::string& name) const { return game.ReadFile(name); }
    [[nodiscard]] std::set<std::string> FilesIn(const std::string& folder) const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(game.PathOf(folder))) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }
    void MakeWritable(const std::string& name) const {
        fs::permissions(game.PathOf(name), fs::perms::owner_write, fs::perm_options::add);
    }
};

// One call of every primitive that touches a file, the file given by the test; `other` is a second, ordinary
// file for the copy in the other direction.
struct FileCall {
    std::string name;
    std::function<void(const std::string& file, const std::string& other)> call;
    bool createsFile = false;  // the file is a copy's destination, which may be missing
};

std::vector<FileCall> EveryFileCall() {
    return {
        {"WriteByteAt", [](auto& f, auto&) { WriteByteAt(f, 0, 1); }},
        {"WriteBytesAt",
         [](auto& f, auto&) {
             WriteBytesAt(f, 0, Bytes{1, 2}, 2);
         }},
        {"ReadBytesAt",
         [](auto& f, auto&) {
             Bytes buffer(2);
             (void)ReadBytesAt(f, 0, buffer, 2);
         }},
        {"ReadByteAt", [](auto& f, auto&) { (void)ReadByteAt(f, 0); }},
        {"ReadStringAt",
         [](auto& f, auto&) {
             std::string text;
             (void)ReadStringAt(f, 0, text);
         }},
        {"FindMarker", [](auto& f, auto&) { (void)FindMarker(f, kMarker, 0); }},
        {"AdjustWordAt", [](auto& f, auto&) { AdjustWordAt(f, 0, 1, false); }},
        {"ReadFloatAt",
         [](auto& f, auto&) {
             float value = 0;
             (void)ReadFloatAt(f, 2, value, 2);
         }},
        {"WriteLongAt", [](auto& f, auto&) { WriteLongAt(f, 2, 2, 0x01020304); }},
        {"CopyFileBytes from it", [](auto& f, auto& other) { CopyFileBytes(f, other); }},
        {"CopyFileBytes onto it", [](auto& f, auto& other) { CopyFileBytes(other, f); }, true},
    };
}

const Bytes kSample = {'a', 'b', 'c', 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
const Bytes kOther = {'o', 't', 'h', 'e', 'r', 0};

TEST_F(FilePrimitives, EveryPrimitiveRefusesAReadOnlyFileEvenForReading) {
    for (const FileCall& row : EveryFileCall()) {
        SCOPED_TRACE(row.name);
        const std::string file = Put("Ships\\locked.dat", kSample);
        const std::string other = Put("Ships\\other.dat", kOther);
        game.MakeReadOnly("Ships\\locked.dat");
        ExpectInOutError([&] { row.call(file, other); }, 5, "File access denied");
        EXPECT_EQ(Get("Ships\\locked.dat"), kSample);
        EXPECT_EQ(Get("Ships\\other.dat"), kOther);
        EXPECT_EQ(FilesIn("Ships"), (std::set<std::string>{"locked.dat", "other.dat"}));
        MakeWritable("Ships\\locked.dat");
    }
}

TEST_F(FilePrimitives, EveryPrimitiveReportsAMissingFileAndCreatesNothing) {
    for (const FileCall& row : EveryFileCall()) {
        if (row.createsFile) continue;
        SCOPED_TRACE(row.name);
        const std::string other = Put("Ships\\other.dat", kOther);
        ExpectInOutError([&] { row.call(game.PathOf("Ships\\missing.dat"), other); }, 2, "File not found");
        EXPECT_EQ(FilesIn("Ships"), (std::set<std::string>{"other.dat"}));
        EXPECT_EQ(Get("Ships\\other.dat"), kOther);
    }
}

TEST_F(FilePrimitives, NegativePositionsAreRefusedByThePlatform) {
    const std::string file = Put("data.bin", kSample);
    const std::vector<std::pair<std::string, std::function<void()>>> rows = {
        {"WriteByteAt", [&] { WriteByteAt(file, -1, 1); }},
        {"WriteBytesAt", [&] { WriteBytesAt(file, -1, Bytes{1}, 1); }},
        {"ReadBytesAt",
         [&] {
             Bytes buffer(1);
             (void)ReadBytesAt(file, -1, buffer, 1);
         }},
        {"ReadByteAt", [&] { (void)ReadByteAt(file, -1); }},
        {"ReadStringAt",
         [&] {
             std::string text;
             (void)ReadStringAt(file, -1, text);
         }},
        {"FindMarker", [&] { (void)FindMarker(file, kMarker, -1); }},
        {"AdjustWordAt", [&] { AdjustWordAt(file, -1, 1, false); }},
        {"ReadFloatAt 1 back 2",
         [&] {
             float value = 0;
             (void)ReadFloatAt(file, 1, value, 2);
         }},
        {"WriteLongAt 0 back 2", [&] { WriteLongAt(file, 0, 2, 0); }},
    };
    for (const auto& [name, call] : rows) {
        SCOPED_TRACE(name);
        ExpectInOutError(call, 131, "I/O error 131");
        EXPECT_EQ(Get("data.bin"), kSample);
    }
}

TEST_F(FilePrimitives, AfterEveryFailureTheFileCanBeOpenedAgainAtOnce) {
    const std::string file = game.PathOf("Ships\\ship.iff");
    const std::string lockedCopy = game.PathOf("Ships\\locked.iff");
    const std::vector<std::pair<std::string, std::function<void()>>> failures = {
        {"ReadByteAt at the end", [&] { (void)ReadByteAt(file, 16); }},
        {"ReadBytesAt beyond the buffer",
         [&] {
             Bytes buffer(1);
             (void)ReadBytesAt(file, 0, buffer, 2);
         }},
        {"WriteBytesAt beyond the buffer", [&] { WriteBytesAt(file, 0, Bytes{'a'}, 2); }},
        {"ReadStringAt without terminator",
         [&] {
             std::string text;
             (void)ReadStringAt(file, 4, text);
         }},
        {"ReadFloatAt at the end",
         [&] {
             float value = 0;
             (void)ReadFloatAt(file, 15, value, 2);
         }},
        {"ReadFloatAt of a NaN",
         [&] {
             WriteLongAt(file, 6, 2, 0x7FC00000);
             float value = 0;
             (void)ReadFloatAt(file, 6, value, 2);
         }},
        {"AdjustWordAt out of range", [&] { AdjustWordAt(file, 4, 70000, false); }},
        {"WriteByteAt at a negative position", [&] { WriteByteAt(file, -1, 0); }},
        {"FindMarker from a negative start", [&] { (void)FindMarker(file, kMarker, -5); }},
        {"CopyFileBytes onto a read-only file", [&] { CopyFileBytes(file, lockedCopy); }},
        {"CopyFileBytes into a missing folder", [&] { CopyFileBytes(file, game.PathOf("Nowhere\\copy.iff")); }},
    };
    for (const auto& [name, fail] : failures) {
        SCOPED_TRACE(name);
        Put("Ships\\ship.iff", Bytes{'a', 'b', 'c', 0, 'd', 'e', 'f', 'g', 1, 2, 3, 4, 5, 6, 7, 8});
        Put("Ships\\locked.iff", kOther);
        game.MakeReadOnly("Ships\\locked.iff");
        const auto descriptorsBefore = OpenDescriptors();

        EXPECT_THROW(fail(), Exception);

        EXPECT_EQ(OpenDescriptors(), descriptorsBefore);
        WriteByteAt(file, 0, 'z');
        EXPECT_EQ(ReadByteAt(file, 0), 'z');
        CopyFileBytes(file, game.PathOf("Ships\\again.iff"));
        MakeWritable("Ships\\locked.iff");
    }
}

TEST_F(FilePrimitives, ReadByteAtFailsAtTheEndOfTheFile) {
    const std::string file = Put("data.bin", {1, 2, 3});
    EXPECT_EQ(ReadByteAt(file, 0), 1);
    EXPECT_EQ(ReadByteAt(file, 2), 3);
    ExpectInOutError([&] { (void)ReadByteAt(file, 3); }, 100, "Read beyond end of file");
    ExpectInOutError([&] { (void)ReadByteAt(file, 1000); }, 100, "Read beyond end of file");
}

TEST_F(FilePrimitives, ReadBytesAtStopsAtTheEndAndLeavesTheRestOfTheBufferAlone) {
    const std::string file = Put("data.bin", {1, 2, 3});
    const struct {
        std::int32_t position;
        std::int32_t count;
        std::int32_t read;
        Bytes buffer;
    } rows[] = {
        {0, 3, 3, {1, 2, 3, 0xAA, 0xAA, 0xAA}},           {1, 6, 2, {2, 3, 0xAA, 0xAA, 0xAA, 0xAA}},
        {0, 2, 2, {1, 2, 0xAA, 0xAA, 0xAA, 0xAA}},        {3, 6, 0, {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}},
        {50, 6, 0, {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}}, {0, 0, 0, {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}},
        {0, -4, 0, {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("position " + std::to_string(row.position) + ", count " + std::to_string(row.count));
        Bytes buffer(6, 0xAA);
        EXPECT_EQ(ReadBytesAt(file, row.position, buffer, row.count), row.read);
        EXPECT_EQ(buffer, row.buffer);
    }
    Bytes small(2, 0xAA);
    EXPECT_THROW((void)ReadBytesAt(file, 0, small, 3), ERangeError);
    EXPECT_EQ(small, Bytes(2, 0xAA));
}

TEST_F(FilePrimitives, ReadStringAtAppendsUpToTheZeroByte) {
    const std::string file = Put("data.bin", {'a', 'b', 'c', 0, 0, 'x', 'y'});
    std::string text;
    EXPECT_EQ(ReadStringAt(file, 0, text), 4);
    EXPECT_EQ(text, "abc");
    EXPECT_EQ(ReadStringAt(file, 1, text), 3) << "the text is not cleared first";
    EXPECT_EQ(text, "abcbc");

    std::string empty;
    EXPECT_EQ(ReadStringAt(file, 4, empty), 1);
    EXPECT_EQ(empty, "");

    std::string unterminated;
    ExpectInOutError([&] { (void)ReadStringAt(file, 5, unterminated); }, 100, "Read beyond end of file");
    ExpectInOutError([&] { (void)ReadStringAt(file, 7, unterminated); }, 100, "Read beyond end of file");
}

TEST(SplitWord, SplitsSixteenBitValuesAndRefusesTheRest) {
    const struct {
        std::int32_t value;
        std::optional<std::pair<std::uint8_t, std::uint8_t>> lowHigh;
    } rows[] = {
        {258, {{2, 1}}},           {0, {{0, 0}}},
        {255, {{255, 0}}},         {256, {{0, 1}}},
        {65535, {{255, 255}}},     {65536, std::nullopt},
        {-1, std::nullopt},        {-256, std::nullopt},
        {-65536, std::nullopt},    {INT32_MIN, std::nullopt},
        {INT32_MAX, std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("value " + std::to_string(row.value));
        std::uint8_t low = 0;
        std::uint8_t high = 0;
        if (row.lowHigh) {
            SplitWord(row.value, low, high);
            EXPECT_EQ(low, row.lowHigh->first);
            EXPECT_EQ(high, row.lowHigh->second);
            EXPECT_EQ(MakeWord(low, high), row.value);
        } else {
            EXPECT_THROW(SplitWord(row.value, low, high), ERangeError);
        }
    }
}

TEST_F(FilePrimitives, AdjustWordAtChangesABigEndianWordInPlace) {
    const struct {
        std::string name;
        Bytes word;
        std::int32_t delta;
        bool subtract;
        std::optional<Bytes> result;  // nullopt: "Range check error", file unchanged
    } rows[] = {
        {"carry into the high byte", {0x12, 0xFF}, 1, false, Bytes{0x13, 0x00}},
        {"subtract to zero", {0x00, 0x05}, 5, true, Bytes{0x00, 0x00}},
        {"subtract a negative delta", {0x01, 0x00}, -1, true, Bytes{0x01, 0x01}},
        {"up to the top", {0x00, 0x00}, 65535, false, Bytes{0xFF, 0xFF}},
        {"nothing added", {0x12, 0x34}, 0, false, Bytes{0x12, 0x34}},
        {"below zero", {0x00, 0x01}, 2, true, std::nullopt},
        {"a negative delta below zero", {0x00, 0x01}, -2, false, std::nullopt},
        {"above 65535", {0xFF, 0xFF}, 1, false, std::nullopt},
        {"a huge delta", {0x00, 0x00}, INT32_MIN, true, std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Bytes before = Concat({{0x55, 0x55}, row.word, {0x55, 0x55}});
        const std::string file = Put("data.bin", before);
        if (row.result) {
            AdjustWordAt(file, 2, row.delta, row.subtract);
            EXPECT_EQ(Get("data.bin"), Concat({{0x55, 0x55}, *row.result, {0x55, 0x55}}));
        } else {
            try {
                AdjustWordAt(file, 2, row.delta, row.subtract);
                ADD_FAILURE() << "no error";
            } catch (const ERangeError& error) {
                EXPECT_EQ(error.Message(), "Range check error");
            }
            EXPECT_EQ(Get("data.bin"), before);
        }
    }
}

TEST_F(FilePrimitives, WriteByteAtOverwritesOrExtendsTheFile) {
    const std::string file = Put("data.bin", {1, 2, 3});
    WriteByteAt(file, 1, 9);
    EXPECT_EQ(Get("data.bin"), (Bytes{1, 9, 3}));
    WriteByteAt(file, 3, 4);
    EXPECT_EQ(Get("data.bin"), (Bytes{1, 9, 3, 4}));
    WriteByteAt(file, 6, 7);
    EXPECT_EQ(Get("data.bin"), (Bytes{1, 9, 3, 4, 0, 0, 7}));
}

TEST_F(FilePrimitives, WriteBytesAtWritesTheFirstCountBytes) {
    const Bytes original = {1, 2, 3, 4, 5};
    const struct {
        std::string name;
        std::int32_t position;
        std::int32_t count;
        Bytes result;
        bool rangeError;
    } rows[] = {
        {"part of the buffer", 1, 2, {1, 'a', 'b', 4, 5}, false},
        {"all of it", 0, 3, {'a', 'b', 'c', 4, 5}, false},
        {"past the end", 4, 3, {1, 2, 3, 4, 'a', 'b', 'c'}, false},
        {"a count of 0", 1, 0, original, false},
        {"a negative count", 1, -3, original, false},
        {"a count beyond the buffer", 1, 5, {1, 'a', 'b', 'c', 5}, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string file = Put("data.bin", original);
        const Bytes buffer = {'a', 'b', 'c'};
        if (row.rangeError) {
            EXPECT_THROW(WriteBytesAt(file, row.position, buffer, row.count), ERangeError);
        } else {
            WriteBytesAt(file, row.position, buffer, row.count);
        }
        EXPECT_EQ(Get("data.bin"), row.result);
    }
}

TEST_F(FilePrimitives, ReadFloatAtReadsFourBytesBeforeThePositionAndRoundsHalfToEven) {
    const struct {
        float stored;
        std::int32_t shown;
    } rows[] = {{2.5f, 2}, {3.5f, 4}, {-1.5f, -2}, {1234.4f, 1234}, {0.0f, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.stored);
        const std::string file = Put("data.bin", Concat({{9, 9, 9, 9}, FloatBytes(row.stored), {9}}));
        float value = 0;
        EXPECT_EQ(ReadFloatAt(file, 6, value, 2), row.shown);
        EXPECT_EQ(value, row.stored);
    }
}

TEST_F(FilePrimitives, ReadFloatAtRefusesWhatHasNoIntegerAndWhatIsCutShort) {
    const std::string file = Put("data.bin", Concat({{9, 9}, FloatBytes(std::nanf("")), FloatBytes(3.0e9f)}));
    float value = 0;
    EXPECT_THROW((void)ReadFloatAt(file, 4, value, 2), EInvalidOp);
    EXPECT_TRUE(std::isnan(value)) << "the value read is handed out before rounding fails";
    EXPECT_THROW((void)ReadFloatAt(file, 8, value, 2), EInvalidOp);
    EXPECT_EQ(value, 3.0e9f);
    ExpectInOutError([&] { (void)ReadFloatAt(file, 9, value, 2); }, 100, "Read beyond end of file");
}

TEST_F(FilePrimitives, WriteLongAtWritesLowByteFirstBeforeThePosition) {
    const std::string file = Put("data.bin", {0, 0, 0, 0, 0, 0});
    WriteLongAt(file, 3, 2, 0x11223344);
    EXPECT_EQ(Get("data.bin"), (Bytes{0, 0x44, 0x33, 0x22, 0x11, 0}));
    WriteLongAt(file, 6, 2, 0xA1B2C3D4);
    EXPECT_EQ(Get("data.bin"), (Bytes{0, 0x44, 0x33, 0x22, 0xD4, 0xC3, 0xB2, 0xA1}));
}

TEST(FileLayer, AFullDiskIsReportedAsSuch) {
#ifdef __linux__
    // /dev/full takes no byte, as a disk with no room left.
    ExpectInOutError([] { WriteByteAt("/dev/full", 0, 1); }, 101, "Disk full");
    ExpectInOutError([] { WriteLongAt("/dev/full", 2, 2, 1); }, 101, "Disk full");
#else
    GTEST_SKIP() << "needs Linux's /dev/full";
#endif
}

Bytes RandomBytes(std::size_t size, std::mt19937& random) {
    std::uniform_int_distribution<int> byte(0, 255);
    Bytes bytes(size);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(byte(random));
    return bytes;
}

TEST_F(FilePrimitives, CopyFileBytesMakesAnExactCopyAndLeavesNothingBeside) {
    std::mt19937 random(1234);
    const std::size_t sizes[] = {0, 1, 1023, 1024, 1025, 2048, 5000};
    for (const std::size_t size : sizes) {
        for (const bool destinationExists : {false, true}) {
            SCOPED_TRACE("size " + std::to_string(size) + (destinationExists ? ", over a longer file" : ", new"));
            fs::remove_all(game.PathOf("Ships"));
            const Bytes source = RandomBytes(size, random);
            Put("Ships\\tempfgtr.if~", source);
            if (destinationExists) Put("Ships\\ship.iff", RandomBytes(size + 3000, random));

            CopyFileBytes(game.PathOf("Ships\\tempfgtr.if~"), game.PathOf("Ships\\ship.iff"));

            EXPECT_EQ(Get("Ships\\ship.iff"), source);
            EXPECT_EQ(Get("Ships\\tempfgtr.if~"), source);
            EXPECT_EQ(FilesIn("Ships"), (std::set<std::string>{"tempfgtr.if~", "ship.iff"}));
        }
    }
}

TEST_F(FilePrimitives, CopyFileBytesFromAMissingSourceLeavesTheDestinationAlone) {
    const std::string destination = Put("Ships\\ship.iff", kOther);
    ExpectInOutError([&] { CopyFileBytes(game.PathOf("Ships\\missing.iff"), destination); }, 2, "File not found");
    EXPECT_EQ(Get("Ships\\ship.iff"), kOther);
    EXPECT_EQ(FilesIn("Ships"), (std::set<std::string>{"ship.iff"}));
}

TEST_F(FilePrimitives, CopyFileBytesOntoAReadOnlyFileIsRefusedAndChangesNothing) {
    const std::string source = Put("Ships\\tempfgtr.if~", Bytes(3000, 'n'));
    const std::string destination = Put("Ships\\ship.iff", kOther);
    game.MakeReadOnly("Ships\\ship.iff");
    ExpectInOutError([&] { CopyFileBytes(source, destination); }, 5, "File access denied");
    EXPECT_EQ(Get("Ships\\ship.iff"), kOther);
    EXPECT_EQ(FilesIn("Ships"), (std::set<std::string>{"tempfgtr.if~", "ship.iff"}));
}

TEST_F(FilePrimitives, CopyFileBytesOfAFileOntoItselfKeepsIt) {
    const std::string file = Put("Ships\\ship.iff", Bytes(2500, 's'));
    CopyFileBytes(file, file);
    EXPECT_EQ(Get("Ships\\ship.iff"), Bytes(2500, 's'));
    EXPECT_EQ(FilesIn("Ships"), (std::set<std::string>{"ship.iff"}));
}

TEST_F(FilePrimitives, FileExistsOnlyForFilesAndDeleteFileAtRemovesThem) {
    const std::string file = Put("Ships\\ship.iff", kOther);
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(game.PathOf("Ships")));
    EXPECT_FALSE(FileExists(game.PathOf("Ships\\missing.iff")));
    EXPECT_TRUE(DeleteFileAt(file));
    EXPECT_FALSE(FileExists(file));
    EXPECT_FALSE(DeleteFileAt(file));
}

// FindMarker by its definition: compare at every position from start on; the first match after position 0
// wins, a match at 0 counts only when nothing follows.
std::int32_t NaiveFindMarker(const Bytes& file, const Marker& marker, std::int32_t start) {
    bool matchAtZero = false;
    for (std::int64_t p = start; p + 8 <= static_cast<std::int64_t>(file.size()); ++p) {
        if (std::equal(marker.begin(), marker.end(), file.begin() + p)) {
            if (p > 0) return static_cast<std::int32_t>(p);
            matchAtZero = true;
        }
    }
    return matchAtZero ? 0 : -1;
}

TEST_F(FilePrimitives, FindMarkerEdgeCases) {
    const Bytes filler(20, '.');
    const Bytes partOfMarker(kMarker.begin(), kMarker.begin() + 7);
    const struct {
        std::string name;
        Bytes file;
        std::int32_t start;
        std::int32_t found;
    } rows[] = {
        {"in the middle", Concat({filler, kMarkerBytes, filler}), 0, 20},
        {"in the last 8 bytes", Concat({filler, kMarkerBytes}), 0, 20},
        {"only 7 bytes of it at the end", Concat({filler, partOfMarker}), 0, -1},
        {"empty file", {}, 0, -1},
        {"file shorter than 8 bytes", partOfMarker, 0, -1},
        {"start beyond size - 8", Concat({filler, kMarkerBytes}), 21, -1},
        {"start far beyond the end", Concat({filler, kMarkerBytes}), 1000, -1},
        {"start exactly at the match", Concat({filler, kMarkerBytes, filler}), 20, 20},
        {"start just after the match", Concat({filler, kMarkerBytes, filler}), 21, -1},
        {"at 0 and later", Concat({kMarkerBytes, filler, kMarkerBytes}), 0, 28},
        {"only at 0", Concat({kMarkerBytes, filler}), 0, 0},
        {"the file is the marker", kMarkerBytes, 0, 0},
        {"two later ones", Concat({filler, kMarkerBytes, kMarkerBytes}), 0, 20},
        {"from past the first", Concat({filler, kMarkerBytes, kMarkerBytes}), 21, 28},
        {"overlapping itself", Concat({filler, Bytes{'F', 'O', 'R', 'M'}, kMarkerBytes}), 0, 24},
        {"nowhere", filler, 0, -1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string file = Put("data.bin", row.file);
        EXPECT_EQ(FindMarker(file, kMarker, row.start), row.found);
        EXPECT_EQ(NaiveFindMarker(row.file, kMarker, row.start), row.found) << "the reference itself";
    }
}

TEST_F(FilePrimitives, FindMarkerFindsMarkersAcrossTheBlocksItReads) {
    constexpr std::int32_t kBlock = 64 * 1024;
    const Bytes background(3 * kBlock + 100, 'x');
    for (const std::int32_t start : {0, 1, 1000}) {
        for (const std::int32_t boundary : {start + kBlock, start + 2 * kBlock}) {
            for (std::int32_t shift = -9; shift <= 1; ++shift) {
                const std::int32_t at = boundary + shift;
                SCOPED_TRACE("start " + std::to_string(start) + ", marker at " + std::to_string(at));
                Bytes bytes = background;
                std::copy(kMarker.begin(), kMarker.end(), bytes.begin() + at);
                const std::string file = Put("data.bin", bytes);
                EXPECT_EQ(FindMarker(file, kMarker, start), at);
            }
        }
    }
}

TEST_F(FilePrimitives, FindMarkerAgreesWithThePositionByPositionSearch) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 300; ++round) {
        // Small files from two letters match often; large ones from four letters match a few times, so both
        // early hits and hits deep in later blocks are exercised.
        const bool large = round % 4 == 3;
        const std::size_t size = large ? std::uniform_int_distribution<std::size_t>(60000, 200000)(random)
                                       : std::uniform_int_distribution<std::size_t>(0, 600)(random);
        const char* letters = large ? "ABCD" : "AB";
        std::uniform_int_distribution<int> letter(0, large ? 3 : 1);
        Bytes bytes(size);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(letters[letter(random)]);
        Marker marker{};
        for (auto& b : marker) b = static_cast<std::uint8_t>(letters[letter(random)]);
        if (round % 5 == 0 && size >= 8) std::copy(marker.begin(), marker.end(), bytes.begin());
        if (round % 7 == 0 && size >= 8) std::copy(marker.begin(), marker.end(), bytes.end() - 8);
        const std::string file = Put("data.bin", bytes);

        std::uniform_int_distribution<std::int32_t> anyStart(0, static_cast<std::int32_t>(size) + 2);
        for (const std::int32_t start : {0, 1, anyStart(random), anyStart(random)}) {
            SCOPED_TRACE("round " + std::to_string(round) + ", size " + std::to_string(size) + ", start " +
                         std::to_string(start));
            ASSERT_EQ(FindMarker(file, marker, start), NaiveFindMarker(bytes, marker, start));
        }
    }
}

}  // namespace
}  // namespace tovarin
