#pragma once
// The link engine's byte carrier over the FTDI converter: one FT_Write per transmission, one
// FT_Read per reception (it ends when the bytes have arrived or at the converter's 100 ms read
// time-out), no echo.
#include <atomic>
#include <cstdint>

#include "link/transport.h"
#include "link/usbdevice.h"

namespace q7x::link {

class UsbTransport : public Transport {
  public:
    // The worker's copy of the window's UsbHandle; a null handle (the converter is closed)
    // makes every transfer fail as with a silent device. Purges both buffers of an open
    // converter, as a new worker does.
    explicit UsbTransport(UsbHandle device);

    // True when FT_Write succeeded.
    bool send(std::span<const std::uint8_t> bytes) override;
    // ok false when FT_Read failed (closed, interrupted or broken link); otherwise the count of
    // bytes that arrived.
    ReceiveResult receive(std::span<std::uint8_t> buffer) override;
    // FT_Purge of both buffers.
    void purge() override;
    // Any thread: a pending FT_Read still ends at its time-out, and every later call fails
    // without reaching the converter.
    void interrupt() override;

    // Status of the last driver call the worker made (FtInvalidHandle for a refused one).
    FtStatus lastStatus() const { return lastStatus_.load(); }

  private:
    UsbHandle device_;
    std::atomic<bool> interrupted_{false};
    std::atomic<FtStatus> lastStatus_{FtOk};
};

} // namespace q7x::link
