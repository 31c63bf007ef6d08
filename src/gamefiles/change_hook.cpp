#include "gamefiles/change_hook.h"

#include <utility>

namespace tovarin {

namespace {

BeforeChangeHook& Hook() {
    static BeforeChangeHook hook;
    return hook;
}

}  // namespace

void SetBeforeChangeHook(BeforeChangeHook hook) { Hook() = std::move(hook); }

void BeforeChange(const std::string& path) {
    if (const BeforeChangeHook& hook = Hook()) hook(path);
}

}  // namespace tovarin
