#include "gamefiles/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "gamefiles/errors.h"
#include "testkit/temp_folder.h"
#include "testkit/text_files.h"

namespace tovarin {
namespace {

using testkit::ReadTextFile;
using testkit::WriteTextFile;

struct IniFileTest : ::testing::Test {
    testkit::TempFolder folder;
    std::string path = (folder.Path() / "test.ini").string();
    TIniFile ini{path};
};

TEST_F(IniFileTest, IntegersAsTheCatalogueWritesThem) {
    struct Row {
        const char* Text;
        std::int32_t Expected;
    };
    const std::int32_t kDefault = -7;
    const Row rows[] = {
        {"31", 31},         {"-5", -5},       {"+5", 5},           {"0x1F", 31},       {"0X10", 16},
        {"0xffffffff", -1}, {"$10", 16},      {"$ff", 255},        {"  12  ", 12},     {"\t0x10 ", 16},
        {"\"42\"", 42},     {"0x", kDefault}, {"0xZZ", kDefault},  {"0x1G", kDefault}, {"12abc", kDefault},
        {"1.5", kDefault},  {"", kDefault},   {"-0x10", kDefault},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Text);
        WriteTextFile(path, std::string("[Info]\r\nnum=") + row.Text + "\r\n");
        EXPECT_EQ(ini.ReadInteger("Info", "num", kDefault), row.Expected);
    }
    EXPECT_EQ(ini.ReadInteger("Info", "absent", kDefault), kDefault);
}

TEST_F(IniFileTest, FlagsAreIntegersOtherThanZero) {
    WriteTextFile(path, "[f]\r\none=1\r\nzero=0\r\ntwo=2\r\nword=yes\r\n");
    EXPECT_TRUE(ini.ReadBool("f", "one", false));
    EXPECT_FALSE(ini.ReadBool("f", "zero", true));
    EXPECT_TRUE(ini.ReadBool("f", "two", false));
    EXPECT_TRUE(ini.ReadBool("f", "word", true));
    EXPECT_FALSE(ini.ReadBool("f", "word", false));
    EXPECT_TRUE(ini.ReadBool("f", "absent", true));
}

TEST_F(IniFileTest, SectionAndKeyNamesIgnoreCase) {
    WriteTextFile(path, "[Ships]\r\nNum=3\r\n");
    EXPECT_EQ(ini.ReadInteger("ships", "num", 0), 3);
    ini.WriteInteger("SHIPS", "NUM", 4);
    EXPECT_EQ(ReadTextFile(path), "[Ships]\r\nNum=4\r\n");
    std::vector<std::string> names;
    ini.ReadSection("ships", names);
    EXPECT_EQ(names, std::vector<std::string>{"Num"});
}

TEST_F(IniFileTest, StringsAreCutTo1023Characters) {
    const std::string value(1500, 'v');
    ini.WriteString("s", "long", value);
    EXPECT_EQ(ini.ReadString("s", "long", "d"), value.substr(0, 1023));
    EXPECT_EQ(ini.ReadString("s", "absent", "d"), "d");
}

TEST_F(IniFileTest, WritesIntegersAndFlagsAsDecimalText) {
    ini.WriteInteger("s", "neg", -5);
    ini.WriteInteger("s", "big", 2147483647);
    ini.WriteBool("s", "yes", true);
    ini.WriteBool("s", "no", false);
    EXPECT_EQ(ReadTextFile(path), "[s]\r\nneg=-5\r\nbig=2147483647\r\nyes=1\r\nno=0\r\n");
    ini.DeleteKey("s", "big");
    EXPECT_EQ(ReadTextFile(path), "[s]\r\nneg=-5\r\nyes=1\r\nno=0\r\n");
}

TEST_F(IniFileTest, CreatingAHandleTouchesNoFile) {
    const TIniFile other((folder.Path() / "none.ini").string());
    EXPECT_EQ(other.ReadString("s", "k", "d"), "d");
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

TEST_F(IniFileTest, ReadSectionListsKeyNamesInFileOrder) {
    WriteTextFile(path, "[Guns]\r\nLaser=1\r\nMass Driver=2\r\n;Old=3\r\nNeutron=4\r\n[Missiles]\r\nDart=1\r\n");
    std::vector<std::string> names{"stale"};
    ini.ReadSection("Guns", names);
    EXPECT_EQ(names, (std::vector<std::string>{"Laser", "Mass Driver", "Neutron"}));
    ini.ReadSection("Absent", names);
    EXPECT_TRUE(names.empty());
}

// 800 names of 10 characters take 8800 bytes; with a NUL after each, 744 fit the 8192-byte buffer whole and
// the 745th comes back cut, so it must not be listed.
TEST_F(IniFileTest, ReadSectionListsOnlyNamesThatFitWhole) {
    std::string text = "[ships]\r\n";
    std::vector<std::string> all;
    for (int i = 0; i < 800; ++i) {
        std::string number = std::to_string(100000 + i);
        all.push_back("Ship" + number);
        text += all.back() + "=x\r\n";
    }
    WriteTextFile(path, text);
    std::vector<std::string> names;
    ini.ReadSection("ships", names);
    EXPECT_EQ(names, std::vector<std::string>(all.begin(), all.begin() + 744));
}

TEST_F(IniFileTest, RefusedWritesRaiseUnableToWrite) {
    WriteTextFile(path, "[s]\r\nk=1\r\n");
    testkit::MakeReadOnly(path);
    const std::string missing = (folder.Path() / "gone" / "x.ini").string();
    struct Row {
        const char* What;
        TIniFile File;
    };
    const Row rows[] = {{"read-only file", TIniFile(path)}, {"missing folder", TIniFile(missing)}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.What);
        try {
            row.File.WriteInteger("s", "k", 2);
            ADD_FAILURE() << "the write was not refused";
        } catch (const EIniFileException& error) {
            EXPECT_EQ(error.Message(), "Unable to write to " + row.File.FileName());
        }
        EXPECT_THROW(row.File.DeleteKey("s", "k"), EIniFileException);
    }
    EXPECT_EQ(ReadTextFile(path), "[s]\r\nk=1\r\n");
}

}  // namespace
}  // namespace tovarin
