#include "tools/q7xsim/loopback.h"

#include <algorithm>
#include <cstdio>

namespace q7x::sim {

namespace {
std::string hexBytes(const std::vector<std::uint8_t> &bytes) {
    std::string text;
    for (std::uint8_t b : bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", b);
        text += hex;
    }
    return text;
}
} // namespace

std::string describe(const TraceEvent &e) {
    switch (e.kind) {
    case TraceEvent::Kind::Send:
        return "S" + hexBytes(e.bytes);
    case TraceEvent::Kind::Receive:
        return "R" + std::to_string(e.requested) + "/" + std::to_string(e.bytes.size());
    case TraceEvent::Kind::Pause:
        return "P" + std::to_string(e.ms);
    }
    return {};
}

std::vector<std::string> describe(const std::vector<TraceEvent> &events) {
    std::vector<std::string> lines;
    lines.reserve(events.size());
    for (const TraceEvent &e : events)
        lines.push_back(describe(e));
    return lines;
}

void VirtualClock::pause(int milliseconds) {
    if (onStep)
        onStep();
    if (interrupted_.load())
        return;
    nowUs_ += 1000LL * milliseconds;
    if (trace)
        trace->push_back(TraceEvent{TraceEvent::Kind::Pause, {}, 0, milliseconds});
}

LoopbackTransport::LoopbackTransport(DeviceSim &device, VirtualClock &clock, link::LinkKind kind)
    : device_(device), clock_(clock), kind_(kind) {}

namespace {
constexpr long long ByteUs = 8333;
} // namespace

bool LoopbackTransport::send(std::span<const std::uint8_t> bytes) {
    if (onStep)
        onStep();
    if (interrupted_.load()) {
        ++sendsAfterInterrupt;
        return false;
    }
    trace.push_back(TraceEvent{TraceEvent::Kind::Send, {bytes.begin(), bytes.end()}, 0, 0});
    for (std::uint8_t b : bytes) {
        lineFreeUs_ = std::max(lineFreeUs_, clock_.nowUs()) + ByteUs;
        const std::vector<std::uint8_t> answer = device_.feed(std::span<const std::uint8_t>(&b, 1));
        std::size_t i = 0;
        if (kind_ == link::LinkKind::Serial && !answer.empty()) {
            incoming_.push_back({answer[0], lineFreeUs_}); // the echo is the byte on the wire
            i = 1;
        }
        for (; i < answer.size(); ++i) {
            lineFreeUs_ += ByteUs;
            incoming_.push_back({answer[i], lineFreeUs_});
        }
    }
    return true;
}

link::ReceiveResult LoopbackTransport::receive(std::span<std::uint8_t> buffer) {
    if (onStep)
        onStep();
    if (interrupted_.load())
        return {0, false};
    const long long timeoutUs = kind_ == link::LinkKind::Serial
                                    ? 1000LL * (100 * static_cast<long long>(buffer.size()) + 10)
                                    : 100000LL;
    const long long deadline = clock_.nowUs() + timeoutUs;
    std::size_t n = 0;
    long long last = clock_.nowUs();
    while (n < buffer.size() && n < incoming_.size() && incoming_[n].atUs <= deadline) {
        buffer[n] = incoming_[n].byte;
        last = std::max(last, incoming_[n].atUs);
        ++n;
    }
    incoming_.erase(incoming_.begin(), incoming_.begin() + static_cast<std::ptrdiff_t>(n));
    // A short read holds for its whole time-out.
    clock_.setNowUs(n < buffer.size() ? deadline : last);
    trace.push_back(TraceEvent{TraceEvent::Kind::Receive,
                               {buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(n)},
                               buffer.size(),
                               0});
    return {n, true};
}

} // namespace q7x::sim
