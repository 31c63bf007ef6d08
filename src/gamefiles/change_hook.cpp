#include "gamefiles/change_hook.h"

#include <utility>

#include "gamefiles/folder_lock.h"

namespace tovarin {

namespace {

BeforeChangeHook& Guard() {
    static BeforeChangeHook guard;
    return guard;
}

BeforeChangeHook& Hook() {
    static BeforeChangeHook hook;
    return hook;
}

BeforeChangeHook& Recorder() {
    static BeforeChangeHook recorder;
    return recorder;
}

}  // namespace

void SetChangeGuard(BeforeChangeHook guard) { Guard() = std::move(guard); }

void SetBeforeChangeHook(BeforeChangeHook hook) { Hook() = std::move(hook); }

void SetChangeRecorder(BeforeChangeHook recorder) { Recorder() = std::move(recorder); }

void BeforeChange(const std::string& path) {
    LockBeforeChange(path);  // first: the guard reads the folder's record, which only the lock's holder changes
    if (const BeforeChangeHook& guard = Guard()) guard(path);
    if (const BeforeChangeHook& hook = Hook()) hook(path);
    if (const BeforeChangeHook& recorder = Recorder()) recorder(path);
}

}  // namespace tovarin
