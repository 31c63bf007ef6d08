#include "gamefiles/whole_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "gamefiles/errors.h"
#include "testkit/fault_plan.h"
#include "testkit/temp_folder.h"
#include "testkit/text_files.h"

namespace tovarin {
namespace {

namespace fs = std::filesystem;

struct WholeWriteCase {
    const char* Name;
    const char* Before;  // nullptr: the file does not exist
    std::function<void(const std::string& path)> Write;
    const char* After;
};

const char kIniBefore[] = "[a]\r\nx=1\r\n";

// Every call of the file layer failing in turn, once or for good: the file is as before, and after a passing
// failure nothing is left beside it; without a failure the write gives the new content.
TEST(WholeFiles, AFailureAtAnyCallLeavesTheFileAsItWas) {
#ifdef _WIN32
    GTEST_SKIP() << "faults are injected into the POSIX file layer only";
#endif
    const std::vector<WholeWriteCase> cases = {
        {"bytes over a file", "old bytes",
         [](const std::string& path) {
             ReplaceWholeFile(path, std::vector<std::uint8_t>{'n', 'e', 'w'});
         },
         "new"},
        {"two INI keys", kIniBefore,
         [](const std::string& path) {
             ReplaceIniFile(path, [](const TIniFile& ini) {
                 ini.WriteString("a", "x", "2");
                 ini.WriteString("b", "y", "3");
             });
         },
         "[a]\r\nx=2\r\n[b]\r\ny=3\r\n"},
        {"an INI file made anew", nullptr,
         [](const std::string& path) {
             ReplaceIniFile(path, [](const TIniFile& ini) { ini.WriteString("a", "x", "1"); });
         },
         kIniBefore},
    };
    for (const WholeWriteCase& row : cases) {
        for (bool lasting : {false, true}) {
            testkit::TempFolder folder;
            const fs::path file = folder.Path() / "file.dat";
            int calls = 0;
            {
                testkit::FaultPlan counting;
                if (row.Before != nullptr) testkit::WriteTextFile(file, row.Before);
                counting.Calls = 0;
                row.Write(file.string());
                calls = counting.Calls;
            }
            ASSERT_EQ(testkit::ReadTextFile(file), row.After) << row.Name;
            for (int failAt = 0; failAt < calls; ++failAt) {
                SCOPED_TRACE(std::string(row.Name) + ", call " + std::to_string(failAt) +
                             (lasting ? ", lasting" : ", once"));
                if (row.Before != nullptr) {
                    testkit::WriteTextFile(file, row.Before);
                } else {
                    fs::remove(file);
                }
                {
                    testkit::FaultPlan plan(failAt, {EIO, true}, lasting);
                    EXPECT_THROW(row.Write(file.string()), Exception);
                }
                if (row.Before != nullptr) {
                    EXPECT_EQ(testkit::ReadTextFile(file), row.Before);
                } else {
                    EXPECT_FALSE(fs::exists(file));
                }
                if (!lasting) {
                    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()),
                              row.Before != nullptr ? 1 : 0);
                }
            }
        }
    }
}

}  // namespace
}  // namespace tovarin
