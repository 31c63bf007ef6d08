#include "gamefiles/ini_file.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "gamefiles/errors.h"
#include "testkit/temp_folder.h"
#include "testkit/text_files.h"

namespace tovarin {
namespace {

using testkit::ReadTextFile;
using testkit::WriteTextFile;
using Names = std::vector<std::string>;

struct IniFileTest : ::testing::Test {
    testkit::TempFolder folder;
    std::string path = (folder.Path() / "test.ini").string();
    TIniFile ini{path};
};

TEST_F(IniFileTest, ReadsIntegersAsTheCatalogueWritesThem) {
    constexpr std::int32_t kD = -7;  // the default
    const std::pair<std::string, std::int32_t> rows[] = {
        {"31", 31},         {"-5", -5},          {"+5", 5},   {"00", 0},     {"0x1F", 31},   {"0X10", 16},
        {"0xffffffff", -1}, {"0x0", 0},          {"$10", 16}, {"$ff", 255},  {"  12  ", 12}, {"\t0x10 ", 16},
        {"\"42\"", 42},     {"0x", kD},          {"0X", kD},  {"0xZZ", kD},  {"0x1G", kD},   {"0x-1", kD},
        {"-0x10", kD},      {"0x100000000", kD}, {"x10", kD}, {"12abc", kD}, {"1.5", kD},    {"", kD}};
    for (const auto& [text, expected] : rows) {
        WriteTextFile(path, "[Info]\r\nnum=" + text + "\r\n");
        EXPECT_EQ(ini.ReadInteger("Info", "num", kD), expected) << text;
    }
    EXPECT_EQ(ini.ReadInteger("Info", "absent", kD), kD);
    WriteTextFile(path, "[f]\r\none=2\r\nzero=0\r\nword=yes\r\n");  // flags are integers other than zero
    EXPECT_TRUE(ini.ReadBool("f", "one", false));
    EXPECT_FALSE(ini.ReadBool("f", "zero", true));
    EXPECT_TRUE(ini.ReadBool("f", "word", true));
    EXPECT_FALSE(ini.ReadBool("f", "word", false));
}

TEST_F(IniFileTest, WritesDecimalTextAndCutsStringsTo1023Characters) {
    ini.WriteInteger("s", "neg", -5);
    ini.WriteInteger("s", "big", 2147483647);
    ini.WriteBool("s", "yes", true);
    ini.WriteBool("s", "no", false);
    ini.DeleteKey("s", "big");
    EXPECT_EQ(ReadTextFile(path), "[s]\r\nneg=-5\r\nyes=1\r\nno=0\r\n");
    ini.WriteString("s", "long", std::string(1500, 'v'));
    EXPECT_EQ(ini.ReadString("s", "long", "d"), std::string(1023, 'v'));
    EXPECT_EQ(ini.ReadString("s", "absent", "d"), "d");
}

TEST_F(IniFileTest, ReadSectionListsTheNamesThatFitWholeInFileOrder) {
    WriteTextFile(path, "[Guns]\r\nLaser=1\r\nMass Driver=2\r\n;Old=3\r\nNeutron=4\r\n[Missiles]\r\nDart=1\r\n");
    Names names{"stale"};
    ini.ReadSection("Guns", names);
    EXPECT_EQ(names, (Names{"Laser", "Mass Driver", "Neutron"}));
    ini.ReadSection("Absent", names);
    EXPECT_TRUE(names.empty());
    // 800 names of 10 characters and a NUL each take 8800 bytes: 744 fit the 8192-byte buffer whole, and the
    // 745th comes back cut, so it must not be listed.
    std::string text = "[ships]\r\n";
    Names all;
    for (int i = 0; i < 800; ++i) text += all.emplace_back("Ship" + std::to_string(100000 + i)) + "=x\r\n";
    WriteTextFile(path, text);
    ini.ReadSection("ships", names);
    EXPECT_EQ(names, Names(all.begin(), all.begin() + 744));
}

TEST_F(IniFileTest, RefusedWritesRaiseUnableToWrite) {
    WriteTextFile(path, "[s]\r\nk=1\r\n");
    testkit::MakeReadOnly(path);
    for (const TIniFile& refused : {ini, TIniFile((folder.Path() / "gone" / "x.ini").string())}) {
        try {
            refused.WriteInteger("s", "k", 2);
            ADD_FAILURE() << "the write to " << refused.FileName() << " was not refused";
        } catch (const EIniFileException& error) {
            EXPECT_EQ(error.Message(), "Unable to write to " + refused.FileName());
        }
        EXPECT_THROW(refused.DeleteKey("s", "k"), EIniFileException);
    }
    EXPECT_EQ(ReadTextFile(path), "[s]\r\nk=1\r\n");
}

}  // namespace
}  // namespace tovarin
