#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "testkit/fault_walk_core.h"
#include "ui/headless_platform.h"
#include "window/application.h"
#include "window/form1.h"

// The fault walks (testkit/fault_walk_core.h) of an operation of the window.
namespace tovarin::testkit {

struct FaultWalk {
    std::string Name;
    // Writes the game folder as it is before the operation into the (empty) folder given.
    PrepareFolder Prepare;
    // After start-up, brings the window to just before the operation (choosing, typing); it writes no file, so
    // that a run started again on the folder can be brought there the same way.
    std::function<void(TForm1&, HeadlessPlatform&)> Ready;
    // The operation: the player's action that writes the files.
    std::function<void(TForm1&, HeadlessPlatform&)> Act;
};

// The window started on the folder and brought to just before the walk's operation; a failure is an error box.
class WindowSession : public WalkSession {
public:
    WindowSession(const FaultWalk& walk, const std::string& folder) : walk_(walk), platform_(folder), app_(platform_) {
        app_.Start();
        walk_.Ready(app_.Form1(), platform_);
    }
    bool Act() override {
        const std::size_t shown = platform_.Boxes.size();
        walk_.Act(app_.Form1(), platform_);
        return std::any_of(
            platform_.Boxes.begin() + static_cast<std::ptrdiff_t>(shown), platform_.Boxes.end(),
            [](const HeadlessPlatform::Box& box) { return box.kind == HeadlessPlatform::Box::Kind::Error; });
    }

private:
    const FaultWalk& walk_;
    HeadlessPlatform platform_;
    Application app_;
};

inline int WalkFaults(const FaultWalk& walk) {
    return WalkFaultsOf(walk.Name, walk.Prepare,
                        [&walk](const std::string& folder) { return std::make_unique<WindowSession>(walk, folder); });
}

}  // namespace tovarin::testkit
