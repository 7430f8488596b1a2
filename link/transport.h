#pragma once
// What the link engine needs from the byte carrier and from time.
#include <cstddef>
#include <cstdint>
#include <span>

namespace q7x::link {

struct ReceiveResult {
    std::size_t count = 0; // bytes placed at the start of the buffer
    bool ok = true;        // false when the read call itself failed (closed or interrupted link)
};

class Transport {
  public:
    virtual ~Transport() = default;
    // One write call for all of `bytes`; true when the call succeeded.
    virtual bool send(std::span<const std::uint8_t> bytes) = 0;
    // One read call for up to buffer.size() bytes; the transport's time-outs bound the wait.
    virtual ReceiveResult receive(std::span<std::uint8_t> buffer) = 0;
    // Drops whatever waits in the receive and transmit buffers.
    virtual void purge() = 0;
    // Callable from any thread: a pending send or receive returns at once and every later one
    // fails without touching the line.
    virtual void interrupt() = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual void pause(int milliseconds) = 0;
    // Callable from any thread: a pending pause and every later one return at once.
    virtual void interrupt() {}
};

} // namespace q7x::link
