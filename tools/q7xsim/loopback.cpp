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
  now_ += milliseconds;
  if (trace)
    trace->push_back(TraceEvent{TraceEvent::Kind::Pause, {}, 0, milliseconds});
}

LoopbackTransport::LoopbackTransport(DeviceSim &device, VirtualClock &clock, link::LinkKind kind)
    : device_(device), clock_(clock), kind_(kind) {
}

bool LoopbackTransport::send(std::span<const std::uint8_t> bytes) {
  if (onStep)
    onStep();
  if (interrupted_.load()) {
    ++sendsAfterInterrupt;
    return false;
  }
  trace.push_back(TraceEvent{TraceEvent::Kind::Send, {bytes.begin(), bytes.end()}, 0, 0});
  const std::vector<std::uint8_t> answer = device_.feed(bytes);
  incoming_.insert(incoming_.end(), answer.begin(), answer.end());
  // 1200 baud, ten bits a byte.
  clock_.advance(static_cast<long long>(bytes.size()) * 25 / 3);
  return true;
}

link::ReceiveResult LoopbackTransport::receive(std::span<std::uint8_t> buffer) {
  if (onStep)
    onStep();
  if (interrupted_.load())
    return {0, false};
  const std::size_t n = std::min(buffer.size(), incoming_.size());
  std::copy_n(incoming_.begin(), n, buffer.begin());
  incoming_.erase(incoming_.begin(), incoming_.begin() + static_cast<std::ptrdiff_t>(n));
  if (n < buffer.size()) {
    // A silent line holds the read for its whole time-out.
    clock_.advance(
        kind_ == link::LinkKind::Serial ? 100 * static_cast<long long>(buffer.size()) + 10 : 100);
  }
  trace.push_back(TraceEvent{TraceEvent::Kind::Receive,
                             {buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(n)},
                             buffer.size(),
                             0});
  return {n, true};
}

} // namespace q7x::sim
