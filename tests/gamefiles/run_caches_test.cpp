// What a command-line run keeps of the file system: the folder listings and paths of the case-insensitive lookup,
// and the parsed INI files. Whatever the program itself creates, renames, deletes or writes during a run is seen
// at once; what another program changes is seen by the next run. Both caches belong to our functions off Windows
// (the Windows build's copies of INI sections: win32/profile_run_cache_test.cpp).
#include "gamefiles/run_caches.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "gamefiles/file_handle.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/ini_file.h"
#include "gamefiles/whole_files.h"
#include "testkit/temp_folder.h"
#include "testkit/text_files.h"

namespace tovarin {
namespace {

namespace fs = std::filesystem;

// A change made through the file layer, then a name asked for and what the lookup or the INI file gives then.
struct Step {
    const char* What;
    std::function<void()> Change;
    const char* Asked;
    const char* Found;
};

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

class RunCachesTest : public ::testing::Test {
protected:
    void SetUp() override {
#ifdef _WIN32
        GTEST_SKIP() << "Windows ignores case in names by itself; its INI copies are tested by ProfileRunCache";
#endif
        fs::create_directories(temp.Path() / "SHIPS");
    }

    // The lookup's answer, relative to the game folder.
    [[nodiscard]] std::string Found(const std::string& asked) const {
        return GamePath(folder, asked).substr(folder.size());
    }

    testkit::TempFolder temp;
    const std::string folder = temp.WithSeparator();
    const std::string ships = folder + "SHIPS/";
};

// Every name is asked for in another case than it has on the disk, after the folder was listed and the answer
// kept; each step's own change must show in the very next answer.
TEST_F(RunCachesTest, TheLookupFindsWhatTheProgramCreatedRenamedOrDeletedEarlierInTheRun) {
    testkit::WriteTextFile(ships + "Kestrel.IFF", "k");
    const RunCaches run;
    const Step steps[] = {
        {"listed", [] {}, "ships\\kestrel.iff", "SHIPS/Kestrel.IFF"},
        {"missing", [] {}, "ships\\warden.iff", "SHIPS/warden.iff"},
        {"created", [&] { GameFileHandle::CreateNew(ships + "Warden.Iff").Close(); }, "ships\\warden.iff",
         "SHIPS/Warden.Iff"},
        {"renamed away", [&] { ReplaceFile(ships + "Warden.Iff", ships + "Halberd.IFF"); }, "ships\\warden.iff",
         "SHIPS/warden.iff"},
        {"renamed to", [] {}, "ships\\halberd.iff", "SHIPS/Halberd.IFF"},
        {"deleted", [&] { DeleteFileAt(ships + "Halberd.IFF"); }, "ships\\halberd.iff", "SHIPS/halberd.iff"},
        {"replaced whole", [&] { ReplaceWholeFile(ships + "Lancet.iff", Bytes("l")); }, "ships\\LANCET.IFF",
         "SHIPS/Lancet.iff"},
        {"written as INI", [&] { TIniFile(ships + "Notes.INI").WriteString("s", "k", "v"); }, "ships\\notes.ini",
         "SHIPS/Notes.INI"},
        {"folder missing", [] {}, "BACKUP\\ships\\a.iff", "BACKUP/ships/a.iff"},
        {"folder created", [&] { CreateFolder(folder + "Backup"); }, "BACKUP\\ships\\a.iff", "Backup/ships/a.iff"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.What);
        step.Change();
        EXPECT_EQ(Found(step.Asked), step.Found);
    }
}

// Within a run the listing is kept, so a file another program adds is not seen; the next run lists the folder
// anew, and outside a run (the window) every lookup looks.
TEST_F(RunCachesTest, AnotherProgramsNewFileIsFoundByTheNextRun) {
    {
        const RunCaches run;
        EXPECT_EQ(Found("ships\\kestrel.iff"), "SHIPS/kestrel.iff");
        testkit::WriteTextFile(ships + "Kestrel.IFF", "k");
        EXPECT_EQ(Found("ships\\kestrel.iff"), "SHIPS/kestrel.iff");
    }
    {
        const RunCaches run;
        EXPECT_EQ(Found("ships\\kestrel.iff"), "SHIPS/Kestrel.IFF");
    }
    fs::rename(ships + "Kestrel.IFF", ships + "KESTREL.iff");
    EXPECT_EQ(Found("ships\\kestrel.iff"), "SHIPS/KESTREL.iff");
}

// The switch file read, then changed by each way the program writes a file, and read again in the same run. The
// file is dated back first, so that its parsed copy is one the cache trusts by its date.
TEST_F(RunCachesTest, AnINIFileTheProgramChangedIsReadAnewInTheSameRun) {
    const std::string path = ships + "switch.dat";
    testkit::WriteTextFile(path, "[swships]\r\nKestrel=Kestrel\r\n");
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(24));
    const TIniFile ini(path);
    const RunCaches run;
    const Step steps[] = {
        {"read", [] {}, "Kestrel", "Kestrel"},
        {"value written", [&] { ini.WriteString("swships", "Kestrel", "Warden"); }, "Kestrel", "Warden"},
        {"replaced whole", [&] { ReplaceWholeFile(path, Bytes("[swships]\r\nKestrel=Lancet\r\n")); }, "Kestrel",
         "Lancet"},
        {"replaced as INI",
         [&] { ReplaceIniFile(path, [](const TIniFile& copy) { copy.WriteString("swships", "Kestrel", "Corsair"); }); },
         "Kestrel", "Corsair"},
        {"a byte written in place", [&] { WriteByteAt(path, 19, 'c'); }, "Kestrel", "corsair"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.What);
        step.Change();
        EXPECT_EQ(ini.ReadString("swships", step.Asked, ""), step.Found);
    }
}

// A file another program rewrites between two runs, at the same size and dated as before, is read anew by the
// second run.
TEST_F(RunCachesTest, AnINIFileAnotherProgramChangedIsReadAnewByTheNextRun) {
    const std::string path = ships + "switch.dat";
    const auto dated = fs::file_time_type::clock::now() - std::chrono::hours(24);
    const TIniFile ini(path);
    for (const std::string value : {"1", "2"}) {
        testkit::WriteTextFile(path, "[swships]\r\nKestrel=" + value + "\r\n");
        fs::last_write_time(path, dated);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const RunCaches run;
        EXPECT_EQ(ini.ReadString("swships", "Kestrel", ""), value);
    }
}

}  // namespace
}  // namespace tovarin
