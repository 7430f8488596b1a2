#include "link/systemclock.h"

#include <chrono>

#if defined(__linux__)
#include <sys/prctl.h>
#endif

namespace q7x::link {

namespace {

// The kernel lets a sleeping thread wake up to 50 us late by default; the link's pauses add up to
// thousands per operation, so its threads ask to be woken on time.
void wakeOnTime() {
#if defined(__linux__)
    thread_local const bool done = ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL) == 0;
    (void)done;
#endif
}

} // namespace

void SystemClock::pause(int milliseconds) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    wakeOnTime();
    std::unique_lock lock(mutex_);
    wake_.wait_until(lock, deadline, [this] { return interrupted_; });
}

void SystemClock::interrupt() {
    {
        std::lock_guard lock(mutex_);
        interrupted_ = true;
    }
    wake_.notify_all();
}

} // namespace q7x::link
