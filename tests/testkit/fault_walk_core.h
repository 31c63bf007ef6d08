#pragma once

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "demo/bytes.h"
#include "demo/demo_installation.h"
#include "demo/demo_ships.h"
#include "demo/game_folder.h"
#include "gamefiles/folder_lock.h"
#include "gamefiles/originals_backup.h"
#include "testkit/fault_plan.h"
#include "testkit/temp_folder.h"
#include "testkit/text_files.h"

// Walks every failure a writing operation can meet, on any front-end (the window's walk is in testkit/fault_walk.h):
// each call the file layer makes during the operation fails in turn (once, and from then on; an I/O error, and a full
// disk after half a write). After each, every file in the game folder must be as it was before or as a run without
// faults leaves it, and a failure must have been reported. Then the program starts again on the folder, as the player
// would, which finishes whatever the failure left: now the game's files must be all as before or all as after, never
// some of each, and doing the operation again in the new run must give the fault-free result.
namespace tovarin::testkit {

using namespace demo;  // the demo's builders of ship files, weapon tables and game folders

// Every file below the folder, by its relative path.
using FolderFiles = std::map<std::string, Bytes>;

// `dated`: each file's modification time after its bytes, so that rewriting the same bytes shows too. The folder's
// lock file, empty and never removed once a front-end made it, is none of the game's files.
inline FolderFiles ReadFolder(const std::filesystem::path& folder, bool dated = false) {
    FolderFiles files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file() || entry.path().filename() == kFolderLockName) continue;
        const std::string text = ReadTextFile(entry.path());
        Bytes& bytes = files[std::filesystem::relative(entry.path(), folder).generic_string()];
        bytes.assign(text.begin(), text.end());
        const auto time = entry.last_write_time().time_since_epoch().count();
        for (int i = 0; dated && i < 8; ++i) bytes.push_back(static_cast<std::uint8_t>(time >> (8 * i)));
    }
    return files;
}

// Every file of the game folder but the kept originals, which a change adds.
inline FolderFiles GameFiles(const std::filesystem::path& folder, bool dated = false) {
    FolderFiles files = ReadFolder(folder, dated);
    std::erase_if(files, [](const auto& file) { return file.first.starts_with(std::string(kBackupFolderName) + "/"); });
    return files;
}

// The names of the files that differ between the two, for a message.
inline std::string Differing(const FolderFiles& one, const FolderFiles& other) {
    std::string names;
    for (const auto* files : {&one, &other}) {
        for (const auto& [name, bytes] : *files) {
            const bool same = one.contains(name) && other.contains(name) && one.at(name) == other.at(name);
            if (!same && names.find(name + " ") == std::string::npos) names += name + " ";
        }
    }
    return names;
}

// Files that exist neither before nor after may only be leftovers of a lasting failure.
inline bool Leftover(const std::string& name, const FolderFiles& before, const FolderFiles& after, bool lasting) {
    return lasting && !before.contains(name) && !after.contains(name);
}

// Every file is as before or as after.
inline void ExpectBeforeOrAfter(const FolderFiles& now, const FolderFiles& before, const FolderFiles& after,
                                bool lasting) {
    const auto in = [](const FolderFiles& files, const std::string& name) {
        return files.contains(name) ? std::optional(files.at(name)) : std::nullopt;
    };
    for (const auto* files : {&now, &before, &after}) {
        for (const auto& [name, unused] : *files) {
            if (Leftover(name, before, after, lasting)) continue;
            EXPECT_TRUE(in(now, name) == in(before, name) || in(now, name) == in(after, name))
                << name << " is neither as before nor after";
        }
    }
}

// The game's files all as before or all as after. The kept originals are left out: each is kept when its file
// first changes, and stays kept when the change is put back.
inline void ExpectAllBeforeOrAllAfter(const FolderFiles& now, const FolderFiles& before, const FolderFiles& after,
                                      bool lasting) {
    const auto game = [&](const FolderFiles& files) {
        FolderFiles kept;
        for (const auto& [name, bytes] : files) {
            if (!name.starts_with(std::string(kBackupFolderName) + "/") && !Leftover(name, before, after, lasting))
                kept[name] = bytes;
        }
        return kept;
    };
    EXPECT_TRUE(game(now) == game(before) || game(now) == game(after))
        << "after the next start the files are neither all as before nor all as after: changed "
        << Differing(game(now), game(before)) << "; not changed " << Differing(game(now), game(after));
}

// The demo's weapons and its first three ships (Kestrel, Warden, Halberd): a game small enough for a walk.
inline void AddThreeDemoShips(GameFolder& game) {
    AddDemoWeapons(game);
    const std::vector<DemoShip> ships = DemoShips();
    for (std::size_t i = 0; i < 3; ++i) game.AddShip(ships[i].Name, ships[i].File, BuildShip(ships[i].Plan).File);
}

// A start of a front-end on a game folder, brought to just before the operation.
class WalkSession {
public:
    virtual ~WalkSession() = default;
    // Does the operation; true when it reported a failure.
    virtual bool Act() = 0;
};
using StartSession = std::function<std::unique_ptr<WalkSession>(const std::string& folder)>;
using PrepareFolder = std::function<void(const std::filesystem::path& folder)>;

// A fresh copy of the walk's folder.
struct PreparedFolder : TempFolder {
    explicit PreparedFolder(const PrepareFolder& prepare) { prepare(Path()); }
};

// Whether the walk fails the call numbered failAt (of `calls`) in the way numbered `way` (of four: two kinds of fault,
// each once and from then on). Natively every call fails in every way. Under Wine each start of the program and each
// file call costs many times more, so there a walk tries at most kMostPointsUnderWine calls: one of each stretch of
// calls, at a place that moves on from stretch to stretch (so that an operation's repeated steps, a file replaced
// after another, each fail at another call), the four ways taking the stretches in turn.
inline constexpr int kMostPointsUnderWine = 40;
inline bool Walked([[maybe_unused]] int failAt, [[maybe_unused]] int way, [[maybe_unused]] int calls) {
#ifdef _WIN32
    const int stretch = (calls + kMostPointsUnderWine - 1) / kMostPointsUnderWine;
    const int which = failAt / stretch;
    return failAt % stretch == which % stretch && which % 4 == way;
#else
    return true;
#endif
}

// Runs the walk on a front-end, reporting every broken promise as a test failure; returns how many failures it
// tried.
inline int WalkFaultsOf(const std::string& name, const PrepareFolder& prepare, const StartSession& start) {
    SCOPED_TRACE(name);
    const PreparedFolder clean(prepare);
    const std::unique_ptr<WalkSession> cleanRun = start(clean.WithSeparator());
    const FolderFiles cleanBefore = ReadFolder(clean.Path());
    const int calls = RunWithFaults([&] { EXPECT_FALSE(cleanRun->Act()); });
    const FolderFiles after = ReadFolder(clean.Path());
    EXPECT_TRUE(after != cleanBefore) << "the operation wrote nothing";
    int way = 0;
    int tried = 0;
    for (const InjectedFault fault : {InjectedFault{EIO, false}, InjectedFault{ENOSPC, true}}) {
        for (const bool lasting : {false, true}) {
            for (int failAt = 0; failAt < calls; ++failAt) {
                if (!Walked(failAt, way, calls)) continue;
                ++tried;
                SCOPED_TRACE(std::string(fault.Error == EIO ? "I/O error" : "disk full after half a write") +
                             (lasting ? " from call " : " at call ") + std::to_string(failAt));
                const PreparedFolder folder(prepare);
                const std::unique_ptr<WalkSession> run = start(folder.WithSeparator());
                const FolderFiles before = ReadFolder(folder.Path());
                bool reported = false;
                RunWithFaults([&] { reported = run->Act(); }, failAt, fault, lasting);
                const FolderFiles now = ReadFolder(folder.Path());
                ExpectBeforeOrAfter(now, before, after, lasting);
                if (now == after) continue;
                EXPECT_TRUE(reported) << "a failure went unreported";

                const std::unique_ptr<WalkSession> next = start(folder.WithSeparator());
                ExpectAllBeforeOrAllAfter(ReadFolder(folder.Path()), before, after, lasting);
                EXPECT_FALSE(next->Act());
                FolderFiles retried = ReadFolder(folder.Path());
                std::erase_if(retried, [&](const auto& file) { return Leftover(file.first, before, after, lasting); });
                EXPECT_TRUE(retried == after)
                    << "a retry did not give the fault-free result: " << Differing(retried, after);
            }
            ++way;
        }
    }
    return tried;
}

}  // namespace tovarin::testkit
