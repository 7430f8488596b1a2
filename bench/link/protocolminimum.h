#pragma once
// The protocol's own minimum time of a series of link operations: their run time against the
// in-process simulator on a virtual clock. Every mandated pause takes exactly its length, the
// line carries one byte per 8.33 ms (ten bits at 1200 baud) shared by the PC's bytes, whose echo
// is the byte itself, and the device's replies; the device answers the instant the last byte of
// a request has arrived, and a request it does not answer waits out the port's time-out. So it
// is the pauses plus the wire time of every byte, less the part of a reply that crosses the line
// during a pause the PC is taking anyway.
#include <cstdio>
#include <initializer_list>
#include <vector>

#include "link/linkengine.h"
#include "tools/q7xsim/loopback.h"

namespace q7x::bench {

class StatusWindow : public link::SilentWindowPort {
  public:
    void showLinkStatus(link::LinkStatus s, int) override { last = static_cast<int>(s); }
    int last = 0;
};

inline double protocolMinimumSeconds(std::initializer_list<link::LinkOperation> operations,
                                     const std::vector<std::uint8_t> &image) {
    sim::SimLink link(sim::Model::Q72, link::LinkKind::Serial);
    StatusWindow window;
    link::LinkEngine engine(link.transport, link.clock, window, link::serialTraits());
    for (link::LinkOperation op : operations)
        engine.run(op, link::DeviceModel::Q72, image);
    long long pausesMs = 0;
    long long received = 0;
    for (const sim::TraceEvent &e : link.transport.trace) {
        if (e.kind == sim::TraceEvent::Kind::Pause)
            pausesMs += e.ms;
        else if (e.kind == sim::TraceEvent::Kind::Receive)
            received += static_cast<long long>(e.bytes.size());
    }
    std::printf("  minimum %.3f s: pauses %lld ms, %lld bytes on the line (8.33 ms each)\n",
                link.clock.nowUs() / 1e6, pausesMs, received);
    return link.clock.nowUs() / 1e6;
}

} // namespace q7x::bench
