#include "gamefiles/game_paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "testkit/temp_folder.h"

namespace tovarin {
namespace {

TEST(GamePaths, JoinBackslashNamesFindFilesWhoseCaseDiffersAndCutTheFolderFromAPath) {
    EXPECT_EQ(FolderOf("C:\\Games\\VSK\\Tovarin.exe"), "C:\\Games\\VSK\\");
    EXPECT_EQ(FolderOf("/opt/vsk/Tovarin.exe"), "/opt/vsk/");
    EXPECT_EQ(FolderOf("C:Tovarin.exe"), "C:");
    EXPECT_EQ(FolderOf("Tovarin.exe"), "");
    testkit::TempFolder temp;
    const std::string folder = temp.WithSeparator();
    std::filesystem::create_directories(temp.Path() / "SHIPS");
    for (const char* name : {"Switch.DAT", "ship.iff", "Ship.iff"}) std::ofstream(temp.Path() / "SHIPS" / name);
    // Off Windows the names become slash paths with the spelling found on disk, the exact one first; a missing
    // file or folder keeps the spelling asked for.
    const std::pair<std::string, std::string> rows[] = {{"Ships\\switch.dat", "SHIPS/Switch.DAT"},
                                                        {"Ships\\Ship.iff", "SHIPS/Ship.iff"},
                                                        {"Ships\\ship.iff", "SHIPS/ship.iff"},
                                                        {"Ships\\tempfgtr.if~", "SHIPS/tempfgtr.if~"},
                                                        {"Profiles\\New.vks", "Profiles/New.vks"}};
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
