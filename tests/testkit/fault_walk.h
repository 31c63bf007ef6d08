#pragma once

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "demo/bytes.h"
#include "testkit/fault_plan.h"
#include "testkit/temp_folder.h"
#include "testkit/text_files.h"
#include "ui/headless_platform.h"
#include "window/application.h"
#include "window/form1.h"

// Walks every failure a writing operation can meet: each call the file layer makes during the operation fails
// in turn (once, and from then on; an I/O error, and a full disk after half a write). After each, every file in
// the game folder must be as it was before or as a run without faults leaves it, an error must have been shown,
// and doing the operation again without faults must give the fault-free result.
namespace tovarin::testkit {

using namespace demo;  // the demo's builders of ship files, weapon tables and game folders

// Every file below the folder, by its relative path.
using FolderFiles = std::map<std::string, Bytes>;

inline FolderFiles ReadFolder(const std::filesystem::path& folder) {
    FolderFiles files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        const std::string text = ReadTextFile(entry.path());
        files[std::filesystem::relative(entry.path(), folder).generic_string()] = Bytes(text.begin(), text.end());
    }
    return files;
}

struct FaultWalk {
    std::string Name;
    // Writes the game folder as it is before the operation into the (empty) folder given.
    std::function<void(const std::filesystem::path& folder)> Prepare;
    // After start-up, brings the window to just before the operation (choosing, typing); nothing fails here.
    std::function<void(TForm1&, HeadlessPlatform&)> Ready;
    // The operation: the player's action that writes the files.
    std::function<void(TForm1&, HeadlessPlatform&)> Act;
};

// One run of the program on a fresh copy of the walk's folder, brought to just before the operation.
struct WalkRun {
    explicit WalkRun(const FaultWalk& walk) {
        walk.Prepare(Folder.Path());
        App.Start();
        walk.Ready(App.Form1(), Platform);
        Before = ReadFolder(Folder.Path());
    }
    TempFolder Folder;
    HeadlessPlatform Platform{Folder.WithSeparator()};
    Application App{Platform};
    FolderFiles Before;
};

// Every file is as before or as after; files that exist in neither may only be leftovers of a lasting failure.
inline void ExpectBeforeOrAfter(const FolderFiles& now, const FolderFiles& before, const FolderFiles& after,
                                bool lasting) {
    const auto in = [](const FolderFiles& files, const std::string& name) {
        return files.contains(name) ? std::optional(files.at(name)) : std::nullopt;
    };
    for (const auto* files : {&now, &before, &after}) {
        for (const auto& [name, unused] : *files) {
            if (lasting && !before.contains(name) && !after.contains(name)) continue;
            EXPECT_TRUE(in(now, name) == in(before, name) || in(now, name) == in(after, name))
                << name << " is neither as before nor after";
        }
    }
}

// Runs the walk, reporting every broken promise as a test failure; returns how many failures it tried.
inline int WalkFaults(const FaultWalk& walk) {
    SCOPED_TRACE(walk.Name);
    WalkRun clean(walk);
    const int calls = RunWithFaults([&] { walk.Act(clean.App.Form1(), clean.Platform); });
    const FolderFiles after = ReadFolder(clean.Folder.Path());
    EXPECT_NE(after, clean.Before) << "the operation wrote nothing";
    for (const InjectedFault fault : {InjectedFault{EIO, false}, InjectedFault{ENOSPC, true}}) {
        for (const bool lasting : {false, true}) {
            for (int failAt = 0; failAt < calls; ++failAt) {
                SCOPED_TRACE(std::string(fault.Error == EIO ? "I/O error" : "disk full after half a write") +
                             (lasting ? " from call " : " at call ") + std::to_string(failAt));
                WalkRun run(walk);
                const std::size_t shown = run.Platform.Boxes.size();
                RunWithFaults([&] { walk.Act(run.App.Form1(), run.Platform); }, failAt, fault, lasting);
                const FolderFiles now = ReadFolder(run.Folder.Path());
                ExpectBeforeOrAfter(now, run.Before, after, lasting);
                if (now == after) continue;
                EXPECT_GT(run.Platform.Boxes.size(), shown) << "a failure went unreported";
                walk.Act(run.App.Form1(), run.Platform);
                EXPECT_EQ(ReadFolder(run.Folder.Path()), after) << "a retry did not give the fault-free result";
            }
        }
    }
    return 4 * calls;  // two kinds of fault, each once and from then on, at every call
}

}  // namespace tovarin::testkit
