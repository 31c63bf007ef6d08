#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "gamefiles/file_faults.h"
#include "ships/ship_session.h"

// Files that another program holds open while the player saves: the game itself, which lets others only read its
// files, or an antivirus scanner or search indexer, which lets them write too but not delete or replace.
namespace tovarin::testkit {
namespace {

using namespace std::chrono_literals;

// A ship file held for a moment is saved once it is let go; held throughout, it stays as it was, and the message
// names it and says another program is using it (the game's hold refuses the save's open, a scanner's only the
// replacement of the file).
TEST(HeldFilesTest, ASaveWaitsForAFileAnotherProgramHoldsForAMomentAndSaysWhoHoldsItThroughout) {
    const std::string held = "Ships\\test.iff: Another program, perhaps the game, is using the file, so Tovarin could ";
    const struct {
        DWORD sharing;
        bool letGo;
        std::vector<std::string> shown;
    } rows[] = {
        {FILE_SHARE_READ, true, {}},
        {FILE_SHARE_READ | FILE_SHARE_WRITE, true, {}},
        {FILE_SHARE_READ, false, {held + "not open it. Close that program and try again."}},
        {FILE_SHARE_READ | FILE_SHARE_WRITE,
         false,
         {held + "not replace it: it was not changed. Close that program and try again."}},
    };
    const Bytes saved = BuildShip(With(FullShip(), [](ShipPlan& plan) { plan.Mass = 4321; })).File;
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.sharing & FILE_SHARE_WRITE ? "a scanner" : "the game") +
                     (row.letGo ? " lets go" : " holds on"));
        ShipGame ship(FullShip());
        ProgramRun run(ship.Game);
        const Bytes before = ship.ShipBytes();
        UserInput::Type(run.Form().Edit29, "4321");
        const std::filesystem::path path(ship.Game.PathOf(kShipFile));
        HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ, row.sharing, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(handle, INVALID_HANDLE_VALUE);
        std::thread letGo;
        if (row.letGo) {
            letGo = std::thread([handle] {
                std::this_thread::sleep_for(500ms);
                CloseHandle(handle);
            });
        }
        SetHeldFileWait(row.letGo ? kHeldFileWait : 200ms);  // a file held throughout is not waited for so long
        UserInput::Click(run.Form().Button2);
        SetHeldFileWait(kHeldFileWait);
        if (letGo.joinable()) letGo.join();
        if (!row.letGo) CloseHandle(handle);
        EXPECT_EQ(run.Shown(), row.shown);
        EXPECT_TRUE(SameBytes(ship.ShipBytes(), row.letGo ? saved : before));
    }
}

}  // namespace
}  // namespace tovarin::testkit
