#include "testkit/fault_plan.h"

namespace tovarin::testkit {

FaultPlan::FaultPlan(std::optional<int> failAt, InjectedFault fault, bool lasting)
    : FailAt(failAt), Fault(fault), Lasting(lasting) {
    SetFileFaultHook([this](FileCall, const std::string& path) -> std::optional<InjectedFault> {
        if (path.find(OnlyPathsWith) == std::string::npos) return std::nullopt;
        const int call = Calls++;
        const bool fails = FailAt && (call == *FailAt || (Lasting && call > *FailAt));
        return fails ? std::optional<InjectedFault>(Fault) : std::nullopt;
    });
}

FaultPlan::~FaultPlan() { SetFileFaultHook({}); }

}  // namespace tovarin::testkit
