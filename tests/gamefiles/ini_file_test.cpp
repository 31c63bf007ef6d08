// The INI files: the profile-string functions, pinned down row by row as Windows behaves, and TIniFile over them.
// The Windows build runs the same rows against the real kernel32 functions under Wine; rows where Wine is known to
// behave otherwise are left out there.
#include "gamefiles/ini_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "gamefiles/errors.h"
#include "gamefiles/profile_strings.h"
#include "testkit/temp_folder.h"
#include "testkit/text_files.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tovarin {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using Text = const char*;
using Result = std::pair<std::uint32_t, std::string>;  // the return value and the whole buffer

constexpr char kSentinel = '\xA5';  // fills the buffer, so a test sees which bytes a call wrote
constexpr std::uint32_t kSlack = 16;
const fs::file_time_type kLongAgo = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);

struct ProfileFile {
    testkit::TempFolder folder;
    std::string path = (folder.Path() / "test.ini").string();

    // Writes the file dated back, always to the same date, so a test can tell whether a call wrote it.
    void Write(const std::string& bytes) const {
        testkit::WriteTextFile(path, bytes);
        fs::last_write_time(path, kLongAgo);
    }
    [[nodiscard]] std::string Content() const { return testkit::ReadTextFile(path); }
    [[nodiscard]] bool Written() const { return fs::last_write_time(path) > kLongAgo + std::chrono::hours(24); }
    [[nodiscard]] Result Read(Text section, Text key, Text defaultValue, std::uint32_t size = 64) const {
        std::string buffer(size + kSlack, kSentinel);
        return {ReadProfileString(section, key, defaultValue, buffer.data(), size, path.c_str()), buffer};
    }
};

// What a read of `size` bytes should give: the return value, and `written` followed by untouched sentinel bytes.
Result Gives(std::uint32_t ret, const std::string& written, std::uint32_t size = 64) {
    return {ret, written + std::string(size + kSlack - written.size(), kSentinel)};
}

// Rows where Wine is known to behave otherwise than Windows name the difference; under Wine (whose ntdll exports
// its own version query, Windows' does not) they are left out, and the test says so.
bool LeftOutUnderWine(Text difference) {
    if (difference == nullptr) return false;
#ifdef _WIN32
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (ntdll == nullptr || GetProcAddress(ntdll, "wine_get_version") == nullptr) return false;
    std::cout << "Left out, Wine differs from Windows: " << difference << '\n';
    return true;
#else
    return false;
#endif
}

TEST(ReadValue, GivesTheWindowsResult) {
    // One file holding every reading fact; each row asks for one value of it, or without a key for the section's
    // names, each ended by a NUL; a listing cut short puts a byte beyond its closing NUL. Windows reads a UTF-8 byte
    // order mark as three characters, so the first header is [s].
    ProfileFile file;
    file.Write(
        "\xEF\xBB\xBF[bom]\r\ntop=1\r\n[s]\r\n\t\v\f\x1a key2\t\v\f\x1a=\x1a\f\v\t v2 \t\v\f\x1a\r\nkey 3 = v 3\r\n"
        "q1=\"abc\"\r\nq2='abc'\r\nq3=\"abc'\r\nq5=abc\"\r\nq6=\"\r\nq7=\"\"\r\nq8=  \"  abc  \"  "
        "\r\nq10=\"\"abc\"\"\r\n"
        "blank=   \r\nnoeq\r\ndup=first\r\ndup=second\r\nDUP=third\r\neq=a=b=c\r\nsc=a;b ; c\r\n;k1=v1\r\n"
        "\xe9t\xe9=a\xe9\xfc\xb5z\r\nlf=1\ncr=2\rcrlf=3\r\nlong=" +
        std::string(2000, 'L') + "\r\nquoted=\"" + std::string(1022, 'Q') +
        "\"\r\n[broken\r\nb=2\r\n[broken2=x\r\n[MiXeD]\r\nKeY=x\r\n[a]\r\nx=1\r\n  [  spaced  ]  \r\nk=v\r\n"
        "[a]b]\r\nk=ab\r\n[sec2]=junk\r\nk=sec2\r\n[A]\r\nx=3\r\nz=4\r\n[ls]\r\na=1\r\n  b = "
        "2\r\n;c=3\r\n#d=4\r\nnoeq\r\n"
        "\r\na=dup\r\n=v\r\ne=5\r\n[nokeys]\r\n;c=3\r\nnoeq\r\n[cut]\r\nabc=1\r\ndef=2\r\nx=3\r\n[cut2]\r\nabc=1\r\n"
        "defgh=2\r\nxyz=3\r\n[end]\r\nlast=v3");
    // clang-format off
    const struct { Text section, key, defaultValue; std::string value; std::uint32_t size = 64;
                   Text wineDiffers = nullptr; std::string beyond = ""; } rows[] = {
        {"s", "key2", "d", "v2"}, {" \ts  ", "  key2\t ", "d", "v2"}, {"s", "key 3", "d", "v 3"},
        {"s", "key  3", "d", "d"}, {"mixed", "KEY", "d", "x"}, {"s", "q1", "d", "abc"}, {"s", "q2", "d", "abc"},
        {"s", "q3", "d", "\"abc'"}, {"s", "q5", "d", "abc\""}, {"s", "q6", "d", "\""}, {"s", "q7", "d", ""},
        {"s", "q8", "d", "  abc  "}, {"s", "q10", "d", "\"abc\""}, {"s", "no", "\"dflt\"", "dflt"},
        {"s", "no", "  dflt  ", "  dflt"}, {"s", "no", nullptr, ""}, {"s", "blank", "d", ""}, {"s", "noeq", "d", "d"},
        {"s", "dup", "d", "first"}, {"a", "x", "d", "1"}, {"a", "z", "d", "d"}, {"s", "eq", "d", "a=b=c"},
        {"s", "sc", "d", "a;b ; c"}, {"s", ";k1", "d", "v1"}, {"s", "cr", "d", "2"}, {"end", "last", "d", "v3"},
        {"spaced", "k", "d", "v"}, {"a]b", "k", "d", "ab"}, {"sec2", "k", "d", "sec2"}, {"s", "b", "d", "2"},
        {"s", "[broken2", "d", "x"}, {"s", "top", "d", "d"}, {"s", "\xe9t\xe9", "d", "a\xe9\xfc\xb5z", 64,
         "it reads a file that starts with a UTF-8 byte order mark as UTF-8, so other bytes do not pass through"},
        {"s", "key2", "d", "", 1}, {"s", "key2", "d", "", 0}, {"s", "long", "d", std::string(1023, 'L'), 1024},
        {"s", "quoted", "d", std::string(1022, 'Q'), 1023, "it loses the last character of a quoted value"},
        {"bom", "top", "d", "d", 64, "it honours a UTF-8 byte order mark"},
        {"ls", nullptr, "d", "a\0b\0#d\0a\0\0e\0"s}, {"none", nullptr, "dflt", "dflt"}, {"A", nullptr, "d", "x\0"s},
        {"nokeys", nullptr, nullptr, ""}, {"cut", nullptr, "d", "abc\0def\0"s, 10},
        {"cut2", nullptr, "d", "abc\0defg"s, 10,
         "its ANSI function leaves the buffer's last byte as it was instead of the second NUL", "\0"s}};
    // clang-format on
    for (const auto& row : rows) {
        if (LeftOutUnderWine(row.wineDiffers)) continue;
        SCOPED_TRACE("["s + row.section + "] " + (row.key != nullptr ? row.key : "") + " in " +
                     std::to_string(row.size) + " bytes");
        const std::string written = row.size > 0 ? row.value + '\0' + row.beyond : "";
        EXPECT_EQ(file.Read(row.section, row.key, row.defaultValue, row.size),
                  Gives(row.value.size(), written, row.size));
    }
    file.path = (file.folder.Path() / "gone" / "test.ini").string();  // a missing folder, so no file either
    EXPECT_EQ(file.Read("s", "k", "dflt"), Gives(4, "dflt\0"s));
}

TEST(WriteValue, GivesTheWindowsFile) {
    const char* const rewrites = "it rewrites the whole file, dropping blank lines and normalising entries";
    const std::string app = "[App]\r\nk=v\r\n";
    const std::string dup = "[App]\r\ndup=1\r\nDUP=2\r\n";
    const std::string three = "[A]\r\na=1\r\n[B]\r\nb=1\r\n\r\n[C]\r\nc=1\r\n";
    // Each row: the file before (nullopt: none yet), the call, the file after, whether the file was written at all,
    // and whether it was read-only, which refuses every write, also one that would change nothing.
    // clang-format off
    const struct { std::optional<std::string> before; Text section, key, value; std::string after; bool written = true;
                   bool readOnly = false; Text wineDiffers = nullptr; } rows[] = {
        {std::nullopt, "App", "key", "  v  ", "[App]\r\nkey=v  \r\n"},
        {"[App]\r\nkey=string\r\n\r\n[Other]\r\nx=1\r\n", "App", "key2", "v",
         "[App]\r\nkey=string\r\nkey2=v\r\n\r\n[Other]\r\nx=1\r\n", true, false, rewrites},
        {"[App]\r\nkey=string", "App", "key2", "", "[App]\r\nkey=string\r\nkey2=\r\n"},
        {"[App]\r\nk=v", "New", "a", "b", "[App]\r\nk=v\r\n[New]\r\na=b\r\n"},
        {"; head\r\n[App]\n  key = old  \n\r\nother = 1\n", "APP", "KEY", "new",
         "; head\r\n[App]\nkey=new\n\r\nother = 1\n", true, false, rewrites},
        {dup, "App", "dup", "3", "[App]\r\ndup=3\r\nDUP=2\r\n"}, {dup, "app", "DUP", nullptr, "[App]\r\nDUP=2\r\n"},
        {"[app]\r\na=1\r\n[APP]\r\nb=2\r\n", "App", "c", "3", "[app]\r\na=1\r\nc=3\r\n[APP]\r\nb=2\r\n"},
        {"[App]\r\nk = v\r\n", "App", "k", "v", "[App]\r\nk = v\r\n", false}, {app, "App", "x", nullptr, app, false},
        {three, "b", nullptr, nullptr, "[A]\r\na=1\r\n[C]\r\nc=1\r\n"},
        {app, "App", "k", "new", app, false, true}, {app, "App", "k", "v", app, false, true}};
    // clang-format on
    for (const auto& row : rows) {
        if (LeftOutUnderWine(row.wineDiffers)) continue;
        SCOPED_TRACE(row.before.value_or("(no file)") + " <- " + row.section + (row.readOnly ? ", read-only" : ""));
        ProfileFile file;
        if (row.before) file.Write(*row.before);
        if (row.readOnly) testkit::MakeReadOnly(file.path);
        EXPECT_EQ(StoreProfileString(row.section, row.key, row.value, file.path.c_str()), !row.readOnly);
        EXPECT_EQ(file.Content(), row.after);
        EXPECT_EQ(file.Written(), row.written);
    }
    ProfileFile file;
    EXPECT_FALSE(StoreProfileString("App", "k", "v", (file.folder.Path() / "gone" / "test.ini").string().c_str()));
    EXPECT_FALSE(fs::exists(file.folder.Path() / "gone")) << "a missing folder is refused and not created";
#ifndef _WIN32
    // Our own writes replace the file through a sibling; the file must come out as if written in place.
    file.Write("[App]\r\nk=v\r\n");
    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(file.path, mode);
    const fs::path link = file.path + ".link";
    fs::create_symlink(file.path, link);
    ASSERT_TRUE(StoreProfileString("App", "k", "w", link.string().c_str()));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(file.Content(), "[App]\r\nk=w\r\n");
    EXPECT_EQ(fs::status(file.path).permissions(), mode);
    EXPECT_EQ(std::distance(fs::directory_iterator(file.folder.Path()), fs::directory_iterator()), 2);
#endif
}

// Integers as the catalogue writes them, and flags: an integer other than zero; text that is no integer gives
// the default. A listing holds every name, also beyond what one call's 8192-byte buffer holds: 800 names of 10
// characters and a NUL take 8800 bytes, of which the platform gives 744 whole and the 745th cut. Writes give
// decimal text; a refused write is an error.
TEST(IniFile, ReadsListsAndWritesAsTheProgramNeeds) {
    ProfileFile file;
    const TIniFile ini(file.path);
    ini.WriteInteger("s", "neg", -5);
    ini.WriteBool("s", "yes", true);
    ini.WriteBool("s", "no", false);
    ini.DeleteKey("s", "neg");
    EXPECT_EQ(file.Content(), "[s]\r\nyes=1\r\nno=0\r\n");
    ini.WriteString("s", "long", std::string(1500, 'v'));
    EXPECT_EQ(ini.ReadString("s", "long", "d"), std::string(1023, 'v'));
    constexpr std::int32_t kD = -7;  // the default
    const std::pair<std::string, std::int32_t> rows[] = {
        {"-5", -5},   {"0X1F", 31},  {"0xffffffff", -1},  {"$ff", 255}, {"0x", kD},
        {"0x1G", kD}, {"-0x10", kD}, {"0x100000000", kD}, {"00", 0},    {"", kD}};
    for (const auto& [text, expected] : rows) {
        testkit::WriteTextFile(file.path, "[Info]\r\nnum=" + text + "\r\n");  // dated now: Wine caches by date
        EXPECT_EQ(ini.ReadInteger("Info", "num", kD), expected) << text;
        EXPECT_EQ(ini.ReadBool("Info", "num", false), expected != kD && expected != 0) << text;
        EXPECT_EQ(ini.ReadBool("Info", "num", true), expected == kD || expected != 0) << text;
    }
    std::string text = "[ships]\r\n";
    std::vector<std::string> all;
    for (int i = 0; i < 800; ++i) text += all.emplace_back("Ship" + std::to_string(100000 + i)) + "=x\r\n";
    testkit::WriteTextFile(file.path, text);
    std::vector<std::string> names{"stale"};
    ini.ReadSection("ships", names);
    EXPECT_EQ(names, all);
    testkit::MakeReadOnly(file.path);
    EXPECT_THROW(ini.WriteInteger("s", "n", -5), EIniFileException);
}

// A section read in one go gives every key's value as ReadString gives it, for each kind of line the rows above pin
// down (on Windows the section comes from GetPrivateProfileSectionA, whose lines keep their quotes and blanks).
TEST(IniFile, ASectionReadInOneGoGivesWhatEachReadGives) {
    ProfileFile file;
    file.Write(
        "top=1\r\n[S]\r\n  key1  =  v1  \r\nkey 3 = v 3\r\nKeY=x\r\nq1=\"abc\"\r\nq2='abc'\r\nq3=\"abc'\r\nq4=\"\r\n"
        "q5=\"\"\r\nq6=  \"  abc  \"  \r\nq7=\"a\"b\"\r\nq8=\"\"abc\"\"\r\nempty=\r\nblank=   \r\nnoeq\r\ndup=first\r\n"
        "dup=second\r\nDUP=third\r\neq=a=b=c\r\nsc=a;b ; c\r\nk = = x\r\nlong=" +
        std::string(2000, 'v') + "\r\n#k2=v2\r\n[broken\r\n[broken2=x\r\n[s]\r\nlater=1\r\n");
    const TIniFile ini(file.path);
    const IniSectionValues values = ini.ReadSectionValues(" s ");
    for (const char* key :
         {"key1", "KEY 3", "key", "q1", "q2", "q3",   "q4",  "q5",      "q6",       "q7",    "q8",  "empty",  "blank",
          "noeq", "dup",   "eq",  "sc", "k",  "long", "#k2", "[broken", "[broken2", "later", "top", "missing"}) {
        SCOPED_TRACE(key);
        EXPECT_EQ(values.Value(key).value_or("(default)"), ini.ReadString("s", key, "(default)"));
    }
    EXPECT_EQ(values.Value("q8"), "\"abc\"");
    EXPECT_FALSE(TIniFile(file.path + "x").ReadSectionValues("s").Value("key1"));
}

}  // namespace
}  // namespace tovarin
