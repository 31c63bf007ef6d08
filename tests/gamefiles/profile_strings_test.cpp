// The profile-string functions, pinned down row by row as Windows behaves. The Windows build runs the same rows
// against the real kernel32 functions under Wine; rows where Wine is known to behave otherwise skip there.
#include "gamefiles/profile_strings.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "testkit/temp_folder.h"
#include "testkit/text_files.h"
#include "testkit/wine.h"

namespace tovarin {
namespace {

using namespace std::string_literals;
using testkit::ReadTextFile;
using testkit::WriteTextFile;

// Pre-filled into every buffer, so a test sees which bytes a call left alone.
constexpr char kSentinel = '\xA5';
constexpr std::uint32_t kSlack = 16;

std::string InS(const std::string& lines) { return "[s]\r\n" + lines + "\r\n"; }

class ProfileFile {
public:
    [[nodiscard]] std::string Path() const { return (folder_.Path() / "test.ini").string(); }
    [[nodiscard]] std::string MissingFolderPath() const { return (folder_.Path() / "gone" / "test.ini").string(); }
    void Write(const std::string& bytes) const { WriteTextFile(Path(), bytes); }
    [[nodiscard]] std::string Read() const { return ReadTextFile(Path()); }
    // Dates the file back, so a test can tell whether a call wrote it. The date is read back because the file
    // system may store it less precisely than it was given.
    void Age() {
        std::filesystem::last_write_time(Path(),
                                         std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 400));
        aged_ = std::filesystem::last_write_time(Path());
    }
    [[nodiscard]] bool Written() const { return std::filesystem::last_write_time(Path()) != aged_; }

private:
    testkit::TempFolder folder_;
    std::filesystem::file_time_type aged_;
};

// Expects the buffer to hold exactly `expected` (its NULs included) followed by untouched sentinel bytes.
void ExpectBuffer(const std::vector<char>& buffer, const std::string& expected) {
    ASSERT_LE(expected.size(), buffer.size());
    EXPECT_EQ(std::string(buffer.data(), expected.size()), expected);
    for (std::size_t i = expected.size(); i < buffer.size(); ++i) {
        EXPECT_EQ(buffer[i], kSentinel) << "byte " << i << " was changed";
    }
}

// Rows where Wine is known to behave otherwise than Windows carry the reason; under Wine they skip.
bool WineDiffers(const char* reason) { return reason != nullptr && testkit::RunningUnderWine(); }

// Reading one value.

struct ReadRow {
    const char* Name;
    std::string File;
    const char* Section;
    const char* Key;
    const char* Default;
    std::string Expected;
    std::uint32_t Size = 64;
    const char* WineDiffers = nullptr;
};

std::ostream& operator<<(std::ostream& out, const ReadRow& row) { return out << row.Name; }

const std::string kLong(2000, 'L');
const std::string kQuotedFits = "\"" + std::string(1022, 'Q') + "\"";

const ReadRow kReadRows[] = {
    {"BlanksAroundKeyAndValue", InS("  key1  =  v1  "), "s", "key1", "d", "v1"},
    {"TabVtFfCtrlZAreBlanks", InS("\t\v\f\x1a key2\t\v\f\x1a=\x1a\f\v\t v2 \t\v\f\x1a"), "s", "key2", "d", "v2"},
    {"RequestedNamesTrimmed", InS("key1=v1"), " \ts  ", "  key1\t ", "d", "v1"},
    {"InnerBlanksKept", InS("key 3 = v 3"), "s", "key 3", "d", "v 3"},
    {"InnerBlankCountMustMatch", InS("key 3 = v 3"), "s", "key  3", "d", "d"},
    {"NamesIgnoreCase", "[MiXeD]\r\nKeY=x\r\n", "mixed", "KEY", "d", "x"},
    {"DoubleQuotesRemoved", InS("q=\"abc\""), "s", "q", "d", "abc"},
    {"SingleQuotesRemoved", InS("q='abc'"), "s", "q", "d", "abc"},
    {"UnlikeQuotesKept", InS("q=\"abc'"), "s", "q", "d", "\"abc'"},
    {"OpeningQuoteAloneKept", InS("q=\"abc"), "s", "q", "d", "\"abc"},
    {"ClosingQuoteAloneKept", InS("q=abc\""), "s", "q", "d", "abc\""},
    {"LoneQuoteKept", InS("q=\""), "s", "q", "d", "\""},
    {"EmptyQuotesGiveEmpty", InS("q=\"\""), "s", "q", "d", ""},
    {"TrimmedBeforeUnquoting", InS("q=  \"  abc  \"  "), "s", "q", "d", "  abc  "},
    {"InnerQuoteKept", InS("q=\"a\"b\""), "s", "q", "d", "a\"b"},
    {"OnlyOuterPairRemoved", InS("q=\"\"abc\"\""), "s", "q", "d", "\"abc\""},
    {"DefaultUnquoted", InS("k=v"), "s", "missing", "\"dflt\"", "dflt"},
    {"DefaultLosesTrailingBlanksOnly", InS("k=v"), "s", "missing", "  dflt  ", "  dflt"},
    {"NullDefaultGivesEmpty", InS("k=v"), "s", "missing", nullptr, ""},
    {"LongValueCut", InS("long=" + kLong), "s", "long", "d", kLong.substr(0, 1023), 1024},
    {"QuotedValueThatFitsIsWhole", InS("q=" + kQuotedFits), "s", "q", "d", std::string(1022, 'Q'), 1023,
     "it loses the last character of a quoted value that just fits"},
    {"SizeOneGivesEmpty", InS("k=v1"), "s", "k", "d", "", 1},
    {"EmptyValueIsNotTheDefault", InS("empty="), "s", "empty", "d", ""},
    {"BlankValueIsNotTheDefault", InS("empty=   "), "s", "empty", "d", ""},
    {"LineWithoutEqualsGivesDefault", InS("noeq"), "s", "noeq", "d", "d"},
    {"FirstDuplicateKeyWins", InS("dup=first\r\ndup=second\r\nDUP=third"), "s", "dup", "d", "first"},
    {"FirstDuplicateSectionWins", "[a]\r\nx=1\r\n[b]\r\ny=2\r\n[A]\r\nx=3\r\nz=4\r\n", "a", "x", "d", "1"},
    {"SecondDuplicateSectionUnread", "[a]\r\nx=1\r\n[b]\r\ny=2\r\n[A]\r\nx=3\r\nz=4\r\n", "a", "z", "d", "d"},
    {"SplitAtFirstEquals", InS("eq=a=b=c"), "s", "eq", "d", "a=b=c"},
    {"NoInlineComments", InS("sc=a;b ; c"), "s", "sc", "d", "a;b ; c"},
    {"ValueStartingWithEquals", InS("k = = x"), "s", "k", "d", "= x"},
    {"SemicolonLineFoundWhenAsked", InS(";k1=v1"), "s", ";k1", "d", "v1"},
    {"HashLineIsAnOrdinaryKey", InS("#k2=v2"), "s", "#k2", "d", "v2"},
    {"LfEndsALine", "[s]\nk1=v1\nk2=v2\n", "s", "k1", "d", "v1"},
    {"CrAloneEndsALine", "[s]\rk1=v1\rk2=v2\r", "s", "k1", "d", "v1"},
    {"MixedLineEnds", "[s]\r\nk1=v1\nk2=v2\rk3=v3", "s", "k2", "d", "v2"},
    {"LastLineWithoutLineEnd", "[s]\r\nk1=v1\nk2=v2\rk3=v3", "s", "k3", "d", "v3"},
    {"BlanksInsideHeader", "[  spaced  ]\r\nk=v\r\n", "spaced", "k", "d", "v"},
    {"CommentAfterHeader", "[h] ; c\r\nk=v\r\n", "h", "k", "d", "v"},
    {"HeaderRunsToLastBracket", "[a]b]\r\nk=v\r\n", "a]b", "k", "d", "v"},
    {"IndentedHeader", "  [ind]  \r\nk=v\r\n", "ind", "k", "d", "v"},
    {"HeaderWinsOverEquals", "[sec2]=junk\r\nk=v\r\n", "sec2", "k", "d", "v"},
    {"BrokenHeaderBelongsToSectionAbove", InS("k=1\r\n[broken\r\nb=2"), "s", "b", "d", "2"},
    {"BrokenHeaderIsNoSection", InS("k=1\r\n[broken\r\nb=2"), "broken", "b", "d", "d"},
    {"BrokenHeaderWithEqualsIsAKey", InS("[broken2=x"), "s", "[broken2", "d", "x"},
    {"LinesBeforeFirstHeaderUnreachable", "top=1\r\n[s]\r\nk=v\r\n", "s", "top", "d", "d"},
    {"BytesPassedThrough", InS("\xe9t\xe9=a\xe9\xfc\xb5z"), "s", "\xe9t\xe9", "d", "a\xe9\xfc\xb5z"},
    {"Utf8BomIsPartOfTheFirstLine", "\xEF\xBB\xBF[s]\r\nk=v\r\n", "s", "k", "d", "d", 64,
     "it honours a UTF-8 byte order mark, which Windows reads as three characters"},
};

class ReadValue : public ::testing::TestWithParam<ReadRow> {};

TEST_P(ReadValue, GivesTheWindowsResult) {
    const ReadRow& row = GetParam();
    if (WineDiffers(row.WineDiffers)) GTEST_SKIP() << "Wine differs from Windows: " << row.WineDiffers;
    SCOPED_TRACE(row.File);
    ProfileFile file;
    file.Write(row.File);
    std::vector<char> buffer(row.Size + kSlack, kSentinel);
    const std::uint32_t ret =
        ReadProfileString(row.Section, row.Key, row.Default, buffer.data(), row.Size, file.Path().c_str());
    EXPECT_EQ(ret, row.Expected.size());
    ExpectBuffer(buffer, row.Expected + '\0');
}

INSTANTIATE_TEST_SUITE_P(Rows, ReadValue, ::testing::ValuesIn(kReadRows),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(ReadValue, SizeZeroLeavesTheBufferUntouched) {
    ProfileFile file;
    file.Write(InS("k=v"));
    std::vector<char> buffer(kSlack, kSentinel);
    EXPECT_EQ(ReadProfileString("s", "k", "d", buffer.data(), 0, file.Path().c_str()), 0u);
    ExpectBuffer(buffer, "");
}

TEST(ReadValue, MissingFileOrFolderGivesTheDefault) {
    ProfileFile file;
    for (const std::string& path : {file.Path(), file.MissingFolderPath()}) {
        SCOPED_TRACE(path);
        std::vector<char> buffer(64 + kSlack, kSentinel);
        EXPECT_EQ(ReadProfileString("s", "k", "dflt", buffer.data(), 64, path.c_str()), 4u);
        ExpectBuffer(buffer, "dflt\0"s);
        EXPECT_FALSE(std::filesystem::exists(path));
    }
}

// Listing a section's key names.

struct ListRow {
    const char* Name;
    std::string File;
    const char* Section;
    const char* Default;
    std::string Expected;  // every byte written, NULs included
    std::uint32_t Ret;
    std::uint32_t Size = 64;
    const char* WineDiffers = nullptr;
};

std::ostream& operator<<(std::ostream& out, const ListRow& row) { return out << row.Name; }

const std::string kListed = InS("a=1\r\n  b = 2\r\n;c=3\r\n#d=4\r\nnoeq\r\n\r\na=dup\r\n=v\r\ne=5\r\n[t]\r\nf=6");
const std::string kThreeNames = InS("abc=1\r\ndefgh=2\r\nxyz=3");

const ListRow kListRows[] = {
    {"KeysWithEqualsInFileOrder", kListed, "s", "d", "a\0b\0#d\0a\0\0e\0\0"s, 12},
    {"OnlyFirstSectionOfAName", "[a]\r\nx=1\r\n[A]\r\nz=4\r\n", "A", "d", "x\0\0"s, 2},
    {"MissingSectionGivesDefault", kListed, "none", "dflt", "dflt\0"s, 4},
    {"MissingSectionNullDefault", kListed, "none", nullptr, "\0"s, 0},
    {"NothingListableGivesDefault", InS(";c=3\r\nnoeq"), "s", "dflt", "dflt\0"s, 4},
    {"NameCutWhereTheBufferEnds", kThreeNames, "s", "d", "abc\0defg\0\0"s, 8, 10,
     "its ANSI function leaves the buffer's last byte as it was instead of the second NUL"},
    {"NamesStopWithTwoBytesLeft", InS("abc=1\r\ndef=2\r\nx=3"), "s", "d", "abc\0def\0\0"s, 8, 10},
};

class ListKeys : public ::testing::TestWithParam<ListRow> {};

TEST_P(ListKeys, GivesTheWindowsResult) {
    const ListRow& row = GetParam();
    if (WineDiffers(row.WineDiffers)) GTEST_SKIP() << "Wine differs from Windows: " << row.WineDiffers;
    SCOPED_TRACE(row.File);
    ProfileFile file;
    file.Write(row.File);
    std::vector<char> buffer(row.Size + kSlack, kSentinel);
    const std::uint32_t ret =
        ReadProfileString(row.Section, nullptr, row.Default, buffer.data(), row.Size, file.Path().c_str());
    EXPECT_EQ(ret, row.Ret);
    ExpectBuffer(buffer, row.Expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, ListKeys, ::testing::ValuesIn(kListRows),
                         [](const auto& info) { return std::string(info.param.Name); });

// Writing.

struct WriteRow {
    const char* Name;
    std::optional<std::string> Before;  // nullopt: no file yet
    const char* Section;
    const char* Key;
    const char* Value;
    std::string After;
    bool Written = true;  // false: the file must not even be rewritten
    const char* WineDiffers = nullptr;
};

std::ostream& operator<<(std::ostream& out, const WriteRow& row) { return out << row.Name; }

const char* const kRewritesWholeFile = "it rewrites the whole file, dropping blank lines and normalising entries";
const std::string kThreeSections = "[A]\r\na=1\r\n[B]\r\nb=1\r\n\r\n[C]\r\nc=1\r\n";

const WriteRow kWriteRows[] = {
    {"NewFileWithCrLf", std::nullopt, "App", "key", "string", "[App]\r\nkey=string\r\n"},
    {"KeyAddedAfterLastNonBlankLine", "[App]\r\nkey=string\r\n\r\n[Other]\r\nx=1\r\n", "App", "key2", "v",
     "[App]\r\nkey=string\r\nkey2=v\r\n\r\n[Other]\r\nx=1\r\n", true, kRewritesWholeFile},
    {"KeyAddedAfterLastLineWithoutLineEnd", "[App]\r\nkey=string", "App", "key2", "v",
     "[App]\r\nkey=string\r\nkey2=v\r\n"},
    {"KeyAddedToEmptySection", "[App]\r\n[Other]\r\n", "App", "key2", "v", "[App]\r\nkey2=v\r\n[Other]\r\n"},
    {"SectionAddedAtTheEnd", "[App]\r\nk=v\r\n", "New", "a", "b", "[App]\r\nk=v\r\n[New]\r\na=b\r\n"},
    {"SectionAddedAfterRepairingLastLineEnd", "[App]\r\nk=v", "New", "a", "b", "[App]\r\nk=v\r\n[New]\r\na=b\r\n"},
    {"SectionAddedToEmptyFile", "", "New", "a", "b", "[New]\r\na=b\r\n"},
    {"ReplaceChangesOnlyThatLine", "; head\r\n[App]\r\n  key = old  \r\n\r\nother = 1\n", "App", "KEY", "new",
     "; head\r\n[App]\r\nkey=new\r\n\r\nother = 1\n", true, kRewritesWholeFile},
    {"ReplaceKeepsLfLineEnds", "[App]\nk=1\nz=2\n", "App", "k", "2", "[App]\nk=2\nz=2\n", true, kRewritesWholeFile},
    {"ReplaceKeepsStoredSpelling", "[app]\r\nKey=1\r\n", "APP", "KEY", "2", "[app]\r\nKey=2\r\n"},
    {"ReplaceFirstDuplicate", "[App]\r\ndup=1\r\nDUP=2\r\n", "App", "dup", "3", "[App]\r\ndup=3\r\nDUP=2\r\n"},
    {"NewKeyGoesToFirstSectionOfName", "[app]\r\na=1\r\n[APP]\r\nb=2\r\n", "App", "c", "3",
     "[app]\r\na=1\r\nc=3\r\n[APP]\r\nb=2\r\n"},
    {"UnchangedValueNotWritten", "[App]\r\nk = v\r\n", "App", "k", "v", "[App]\r\nk = v\r\n", false},
    {"ValueLosesLeadingBlanksOnly", std::nullopt, "App", "k", "  v  ", "[App]\r\nk=v  \r\n"},
    {"EmptyValue", std::nullopt, "App", "k", "", "[App]\r\nk=\r\n"},
    {"NullValueDeletesFirstMatchingKey", "[App]\r\ndup=1\r\nDUP=2\r\n", "app", "DUP", nullptr, "[App]\r\nDUP=2\r\n"},
    {"DeletingAbsentKeyNotWritten", "[App]\r\nk=1\r\n", "App", "x", nullptr, "[App]\r\nk=1\r\n", false},
    {"DeletingKeyOfAbsentSectionNotWritten", "[App]\r\nk=1\r\n", "Other", "k", nullptr, "[App]\r\nk=1\r\n", false},
    {"NullKeyDeletesSection", kThreeSections, "b", nullptr, nullptr, "[A]\r\na=1\r\n[C]\r\nc=1\r\n"},
    {"NullKeyDeletesLastSection", "[A]\r\na=1\r\n[B]\r\nb=1", "B", nullptr, nullptr, "[A]\r\na=1\r\n"},
    {"DeletingAbsentSectionNotWritten", kThreeSections, "D", nullptr, nullptr, kThreeSections, false},
};

class WriteValue : public ::testing::TestWithParam<WriteRow> {};

TEST_P(WriteValue, GivesTheWindowsFile) {
    const WriteRow& row = GetParam();
    if (WineDiffers(row.WineDiffers)) GTEST_SKIP() << "Wine differs from Windows: " << row.WineDiffers;
    SCOPED_TRACE(row.Before.value_or("(no file)"));
    ProfileFile file;
    if (row.Before) {
        file.Write(*row.Before);
        file.Age();
    }
    EXPECT_TRUE(StoreProfileString(row.Section, row.Key, row.Value, file.Path().c_str()));
    EXPECT_EQ(file.Read(), row.After);
    if (row.Before) {
        EXPECT_EQ(file.Written(), row.Written);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, WriteValue, ::testing::ValuesIn(kWriteRows),
                         [](const auto& info) { return std::string(info.param.Name); });

struct RefusedWrite {
    const char* What;
    const char* Key;
    const char* Value;
};

TEST(WriteValue, ReadOnlyFileRefusedAndUntouched) {
    const RefusedWrite writes[] = {
        {"a new value", "k", "new"},
        {"the same value", "k", "v"},
        {"a new key", "n", "1"},
        {"deleting a key", "k", nullptr},
        {"deleting an absent key", "x", nullptr},
        {"deleting the section", nullptr, nullptr},
    };
    for (const RefusedWrite& write : writes) {
        SCOPED_TRACE(write.What);
        ProfileFile file;
        file.Write("[App]\r\nk=v\r\n");
        file.Age();
        testkit::MakeReadOnly(file.Path());
        EXPECT_FALSE(StoreProfileString("App", write.Key, write.Value, file.Path().c_str()));
        EXPECT_EQ(file.Read(), "[App]\r\nk=v\r\n");
        EXPECT_FALSE(file.Written());
    }
}

TEST(WriteValue, MissingFolderRefusedAndNothingCreated) {
    ProfileFile file;
    const std::filesystem::path path = file.MissingFolderPath();
    EXPECT_FALSE(StoreProfileString("App", "k", "v", path.string().c_str()));
    EXPECT_FALSE(std::filesystem::exists(path.parent_path()));
}

TEST(WriteValue, FolderInPlaceOfTheFileRefused) {
    ProfileFile file;
    std::filesystem::create_directory(file.Path());
    EXPECT_FALSE(StoreProfileString("App", "k", "v", file.Path().c_str()));
    EXPECT_TRUE(std::filesystem::is_directory(file.Path()));
}

TEST(WriteValue, EveryWriteIsSeenByTheNextRead) {
    ProfileFile file;
    for (const char* value : {"1", "22", "3", "", "quite a bit longer"}) {
        SCOPED_TRACE(value);
        ASSERT_TRUE(StoreProfileString("App", "k", value, file.Path().c_str()));
        char buffer[64];
        EXPECT_EQ(std::string(buffer, ReadProfileString("App", "k", "d", buffer, 64, file.Path().c_str())), value);
    }
}

TEST(ReadValue, NothingIsCachedBetweenCalls) {
    const char* const kCaches = "it caches a file by its modification time";
    if (WineDiffers(kCaches)) GTEST_SKIP() << "Wine differs from Windows: " << kCaches;
    ProfileFile file;
    file.Write(InS("k=1"));
    file.Age();
    char buffer[64];
    ASSERT_EQ(ReadProfileString("s", "k", "d", buffer, 64, file.Path().c_str()), 1u);
    EXPECT_EQ(buffer[0], '1');
    // Changed behind the functions' back, same size and the same date.
    file.Write(InS("k=2"));
    file.Age();
    ASSERT_EQ(ReadProfileString("s", "k", "d", buffer, 64, file.Path().c_str()), 1u);
    EXPECT_EQ(buffer[0], '2');
}

#ifndef _WIN32
// Our own writes replace the file through a sibling; the file must come out as if written in place.

TEST(WriteValue, ReplacedFileKeepsItsPermissionsAndLeavesNoSibling) {
    using std::filesystem::perms;
    ProfileFile file;
    file.Write("[App]\r\nk=v\r\n");
    const perms mode = perms::owner_read | perms::owner_write | perms::group_read;
    std::filesystem::permissions(file.Path(), mode);
    ASSERT_TRUE(StoreProfileString("App", "k", "w", file.Path().c_str()));
    EXPECT_EQ(std::filesystem::status(file.Path()).permissions(), mode);
    const auto folder = std::filesystem::path(file.Path()).parent_path();
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1);
}

TEST(WriteValue, LinkedFileChangedThroughTheLink) {
    ProfileFile file;
    file.Write("[App]\r\nk=v\r\n");
    const std::filesystem::path link = file.Path() + ".link";
    std::filesystem::create_symlink(file.Path(), link);
    ASSERT_TRUE(StoreProfileString("App", "k", "w", link.string().c_str()));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(file.Read(), "[App]\r\nk=w\r\n");
}
#endif

}  // namespace
}  // namespace tovarin
