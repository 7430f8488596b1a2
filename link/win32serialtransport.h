#pragma once
// The COM port on Windows: "\\.\COMn" at 1200 8N1 with the port's time-outs set to 100 ms per
// byte + 10 ms in total and 1000 ms between bytes. Transfers are overlapped so that interrupt()
// ends a pending one at once; the port is closed only by the destructor, after the worker ends.
#include <atomic>
#include <memory>
#include <string>

#include "link/serialport.h"
#include "link/transport.h"

namespace q7x::link {

class Win32SerialTransport : public Transport {
  public:
    // Opens COM<portNumber> for reading and writing without sharing, raises DTR, then RTS, and
    // sets the time-outs and the line. Returns null with `error` saying why when the port cannot
    // be opened or set up.
    static std::unique_ptr<Win32SerialTransport> open(int portNumber, PortError *error);
    ~Win32SerialTransport() override;

    Win32SerialTransport(const Win32SerialTransport &) = delete;
    Win32SerialTransport &operator=(const Win32SerialTransport &) = delete;

    bool send(std::span<const std::uint8_t> bytes) override;
    ReceiveResult receive(std::span<std::uint8_t> buffer) override;
    void purge() override;
    void interrupt() override;

    // Time-outs of the port, milliseconds.
    static constexpr unsigned long PerByteTimeout = 100;
    static constexpr unsigned long ConstantTimeout = 10;
    static constexpr unsigned long InterByteTimeout = 1000;

  private:
    Win32SerialTransport(void *port, void *ioEvent, void *wakeEvent)
        : port_(port), ioEvent_(ioEvent), wakeEvent_(wakeEvent) {}
    // One overlapped transfer; false when it failed or was interrupted.
    bool transfer(bool write, void *data, unsigned long size, unsigned long *done);

    void *port_;
    void *ioEvent_;
    void *wakeEvent_;
    std::atomic<bool> interrupted_{false};
};

} // namespace q7x::link
