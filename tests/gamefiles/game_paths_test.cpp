#include "gamefiles/game_paths.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "testkit/game_folder.h"
#include "testkit/temp_folder.h"

namespace tovarin {
namespace {

namespace fs = std::filesystem;

const std::string kSeparator(1, static_cast<char>(fs::path::preferred_separator));

TEST(FolderOf, KeepsEverythingUpToTheLastSeparator) {
    const struct {
        std::string path;
        std::string folder;
    } rows[] = {
        {"C:\\Games\\VSK\\Tovarin.exe", "C:\\Games\\VSK\\"},
        {"/opt/games/vsk/Tovarin.exe", "/opt/games/vsk/"},
        {"C:Tovarin.exe", "C:"},
        {"C:\\", "C:\\"},
        {"\\\\server\\share\\vsk\\Tovarin.exe", "\\\\server\\share\\vsk\\"},
        {"Tovarin.exe", ""},
        {"", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(FolderOf(row.path), row.folder);
    }
}

TEST(GamePath, NamesWithBackslashesReachTheFile) {
    testkit::GameFolder game;
    game.WriteText("Ships\\switch.dat", "[swships]\r\n");
    game.WriteText("Game\\Sub\\bullet.iff", "guns");
    const std::string folder = game.Folder();

    EXPECT_EQ(GamePath(folder, "Ships\\switch.dat"), folder + "Ships" + kSeparator + "switch.dat");
    EXPECT_EQ(GamePath(folder, "Game\\Sub\\bullet.iff"),
              folder + "Game" + kSeparator + "Sub" + kSeparator + "bullet.iff");
    EXPECT_EQ(GamePath(folder, "ashfall.exe"), folder + "ashfall.exe");
    EXPECT_TRUE(fs::is_regular_file(GamePath(folder, "Game\\Sub\\bullet.iff")));
}

TEST(GamePath, NamesOfFilesStillToBeWrittenKeepTheirSpelling) {
    testkit::GameFolder game;
    game.WriteText("Ships\\ship.iff", "ship");
    const std::string folder = game.Folder();
    EXPECT_EQ(GamePath(folder, "Ships\\tempfgtr.if~"), folder + "Ships" + kSeparator + "tempfgtr.if~");
    EXPECT_EQ(GamePath(folder, "Profiles\\New.vks"), folder + "Profiles" + kSeparator + "New.vks");
}

TEST(GamePath, FindsFilesWhoseCaseDiffersFromTheCatalogue) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows' file system ignores case by itself";
#else
    testkit::TempFolder temp;
    const std::string folder = temp.WithSeparator();
    fs::create_directories(temp.Path() / "SHIPS");
    for (const char* name : {"SHIPS/Switch.DAT", "SHIPS/ship.iff", "SHIPS/Ship.iff"}) {
        std::FILE* file = std::fopen((folder + name).c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fclose(file);
    }
    EXPECT_EQ(GamePath(folder, "Ships\\switch.dat"), folder + "SHIPS/Switch.DAT");
    EXPECT_EQ(GamePath(folder, "ships\\SWITCH.dat"), folder + "SHIPS/Switch.DAT");
    EXPECT_EQ(GamePath(folder, "Ships\\Ship.iff"), folder + "SHIPS/Ship.iff") << "the exact spelling wins";
    EXPECT_EQ(GamePath(folder, "Ships\\ship.iff"), folder + "SHIPS/ship.iff") << "the exact spelling wins";
    EXPECT_EQ(GamePath(folder, "Ships\\new.dat"), folder + "SHIPS/new.dat");
#endif
}

}  // namespace
}  // namespace tovarin
