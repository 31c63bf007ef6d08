#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <utility>

namespace tovarin::testkit {

// Runs steps from timer ticks 20 ms apart while a message loop runs that the test cannot step through itself (a modal
// dialog, a message box, a file dialog): a person's actions, spaced out as a person's are. A step that returns
// false (its window is not there yet) is tried again at the next tick.
class TimedSteps {
public:
    explicit TimedSteps(std::deque<std::function<bool()>> steps) : steps_(std::move(steps)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 20, &TimedSteps::Tick);
    }
    ~TimedSteps() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    TimedSteps(const TimedSteps&) = delete;
    TimedSteps& operator=(const TimedSteps&) = delete;

private:
    // A step may run a modal loop of its own, in which this timer ticks on.
    static void CALLBACK Tick(HWND /*window*/, UINT /*message*/, UINT_PTR /*timer*/, DWORD /*time*/) {
        if (current_ == nullptr || current_->steps_.empty() || current_->running_) return;
        current_->running_ = true;
        if (current_->steps_.front()()) current_->steps_.pop_front();
        current_->running_ = false;
    }

    static inline TimedSteps* current_ = nullptr;
    std::deque<std::function<bool()>> steps_;
    bool running_ = false;
    UINT_PTR timer_ = 0;
};

}  // namespace tovarin::testkit
