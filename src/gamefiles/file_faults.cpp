#include "gamefiles/file_faults.h"

#include <utility>

namespace tovarin {

namespace {

FileFaultHook& Hook() {
    static FileFaultHook hook;
    return hook;
}

std::chrono::milliseconds& Wait() {
    static std::chrono::milliseconds wait = kHeldFileWait;
    return wait;
}

}  // namespace

void SetFileFaultHook(FileFaultHook hook) { Hook() = std::move(hook); }

std::optional<InjectedFault> InjectedFaultFor(FileCall call, const std::string& path) {
    const FileFaultHook& hook = Hook();
    if (!hook) return std::nullopt;
    return hook(call, path);
}

void SetHeldFileWait(std::chrono::milliseconds wait) { Wait() = wait; }

std::chrono::milliseconds HeldFileWait() { return Wait(); }

}  // namespace tovarin
