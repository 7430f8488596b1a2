#pragma once
// Real time for the link engine: pauses sleep on the steady clock and end at once when the worker
// is cancelled.
#include <condition_variable>
#include <mutex>

#include "link/transport.h"

namespace q7x::link {

class SystemClock : public Clock {
  public:
    void pause(int milliseconds) override;
    void interrupt() override;

  private:
    std::mutex mutex_;
    std::condition_variable wake_;
    bool interrupted_ = false;
};

} // namespace q7x::link
