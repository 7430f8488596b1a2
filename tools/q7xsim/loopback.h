#pragma once
// The simulator behind the link engine in one process: a Transport that hands every transmission
// to a DeviceSim, a virtual Clock, and a trace of sends, receptions and pauses.
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "link/linkengine.h"
#include "link/transport.h"
#include "tools/q7xsim/devicesim.h"

namespace q7x::sim {

struct TraceEvent {
    enum class Kind { Send, Receive, Pause } kind;
    std::vector<std::uint8_t> bytes; // Send: bytes sent; Receive: bytes received
    std::size_t requested = 0;       // Receive: bytes asked for
    int ms = 0;                      // Pause
};

// "S 55 0C 12 00 9F" (bytes sent), "R6/0" (asked for 6, got 0), "P500" (pause).
std::string describe(const TraceEvent &event);
std::vector<std::string> describe(const std::vector<TraceEvent> &events);

class VirtualClock : public link::Clock {
  public:
    void pause(int milliseconds) override;
    void interrupt() override { interrupted_.store(true); }
    // Virtual time in microseconds since the clock was made.
    long long nowUs() const { return nowUs_; }
    void setNowUs(long long us) { nowUs_ = us; }

    std::vector<TraceEvent> *trace = nullptr;
    std::function<void()> onStep; // runs before every pause

  private:
    long long nowUs_ = 0;
    std::atomic<bool> interrupted_{false};
};

// The line is modelled as one wire at 1200 baud (8333 us a byte) shared by the PC's bytes, which
// the serial interface returns as their echo, and the device's replies, which start the moment
// the last byte of a request has arrived. A send returns at once (the bytes wait in the
// transmit buffer); a receive waits until its bytes have crossed the wire or its time-out ends.
class LoopbackTransport : public link::Transport {
  public:
    LoopbackTransport(DeviceSim &device, VirtualClock &clock, link::LinkKind kind);

    bool send(std::span<const std::uint8_t> bytes) override;
    link::ReceiveResult receive(std::span<std::uint8_t> buffer) override;
    void purge() override { incoming_.clear(); }
    void interrupt() override { interrupted_.store(true); }

    std::vector<TraceEvent> trace;
    std::function<void()> onStep; // runs before every send and receive
    int sendsAfterInterrupt = 0;

  private:
    DeviceSim &device_;
    VirtualClock &clock_;
    link::LinkKind kind_;
    struct Arriving {
        std::uint8_t byte;
        long long atUs;
    };
    std::deque<Arriving> incoming_;
    long long lineFreeUs_ = 0;
    std::atomic<bool> interrupted_{false};
};

// A device, a clock and a transport wired together.
struct SimLink {
    SimLink(Model model, link::LinkKind kind)
        : device(model, kind == link::LinkKind::Serial), transport(device, clock, kind) {
        clock.trace = &transport.trace;
    }
    DeviceSim device;
    VirtualClock clock;
    LoopbackTransport transport;
};

} // namespace q7x::sim
