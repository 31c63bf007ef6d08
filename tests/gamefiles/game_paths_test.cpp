#include "gamefiles/game_paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "testkit/temp_folder.h"

namespace tovarin {
namespace {

TEST(FolderOf, KeepsEverythingUpToTheLastSeparator) {
    // clang-format off
    const std::pair<std::string, std::string> rows[] = {
        {"C:\\Games\\VSK\\Tovarin.exe", "C:\\Games\\VSK\\"}, {"/opt/vsk/Tovarin.exe", "/opt/vsk/"},
        {"C:Tovarin.exe", "C:"}, {"\\\\server\\share\\Tovarin.exe", "\\\\server\\share\\"}, {"Tovarin.exe", ""}};
    // clang-format on
    for (const auto& [path, folder] : rows) EXPECT_EQ(FolderOf(path), folder) << path;
}

TEST(GamePath, JoinsBackslashNamesAndFindsFilesWhoseCaseDiffers) {
    testkit::TempFolder temp;
    std::filesystem::create_directories(temp.Path() / "SHIPS");
    for (const char* name : {"Switch.DAT", "ship.iff", "Ship.iff"}) std::ofstream(temp.Path() / "SHIPS" / name);
    // Off Windows the names become slash paths and take the spelling on disk; Windows' file system ignores case
    // by itself, so there the name is used as written.
    // clang-format off
    const std::pair<std::string, std::string> rows[] = {
        {"ashfall.exe", "ashfall.exe"}, {"Ships\\switch.dat", "SHIPS/Switch.DAT"},
        {"ships\\SWITCH.dat", "SHIPS/Switch.DAT"}, {"Ships\\Ship.iff", "SHIPS/Ship.iff"} /* the exact spelling wins */,
        {"Ships\\ship.iff", "SHIPS/ship.iff"}, {"Ships\\tempfgtr.if~", "SHIPS/tempfgtr.if~"},
        {"Profiles\\New.vks", "Profiles/New.vks"}};
    // clang-format on
    for (const auto& [name, onDisk] : rows) {
#ifdef _WIN32
        EXPECT_EQ(GamePath(temp.WithSeparator(), name), temp.WithSeparator() + name);
#else
        EXPECT_EQ(GamePath(temp.WithSeparator(), name), temp.WithSeparator() + onDisk);
#endif
    }
}

}  // namespace
}  // namespace tovarin
