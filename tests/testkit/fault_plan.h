#pragma once

#include <cerrno>
#include <functional>
#include <optional>
#include <string>

#include "gamefiles/file_faults.h"

// Makes the file layer's calls fail on a plan, for tests of what a failure part-way leaves behind. While a plan
// lives it counts every call; the call numbered failAt (from 0) fails, and when lasting every call after it too.
namespace tovarin::testkit {

struct FaultPlan {
    explicit FaultPlan(std::optional<int> failAt = std::nullopt, InjectedFault fault = {EIO, false},
                       bool lasting = false) {
        SetFileFaultHook([=, this](FileCall, const std::string& path) -> std::optional<InjectedFault> {
            if (path.find(OnlyPathsWith) == std::string::npos) return std::nullopt;
            const int call = Calls++;
            return failAt && (call == *failAt || (lasting && call > *failAt)) ? std::optional(fault) : std::nullopt;
        });
    }
    ~FaultPlan() { SetFileFaultHook({}); }
    FaultPlan(const FaultPlan&) = delete;
    FaultPlan& operator=(const FaultPlan&) = delete;

    std::string OnlyPathsWith;  // when set, calls on other paths are neither counted nor failed
    int Calls = 0;              // the calls seen so far
};

// Runs the action under a plan (by default one that only counts) and returns the calls it made.
inline int RunWithFaults(const std::function<void()>& action, std::optional<int> failAt = std::nullopt,
                         InjectedFault fault = {EIO, false}, bool lasting = false) {
    FaultPlan plan(failAt, fault, lasting);
    action();
    return plan.Calls;
}

}  // namespace tovarin::testkit
