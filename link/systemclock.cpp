#include "link/systemclock.h"

#include <chrono>

namespace q7x::link {

void SystemClock::pause(int milliseconds) {
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return interrupted_; });
}

void SystemClock::interrupt() {
    {
        std::lock_guard lock(mutex_);
        interrupted_ = true;
    }
    wake_.notify_all();
}

} // namespace q7x::link
