#pragma once
// An open FTDI converter shared by the window (which opens it and closes it on Cancel or when a
// worker asks to close the link) and the worker's transport (which reads and writes through
// it). Closing is safe against a transfer in progress on another thread: the handle is purged
// and closed only when no call is inside the driver, and never used afterwards.
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

#include "link/d2xx.h"

namespace q7x::link {

class UsbDevice {
  public:
    // Takes over a handle that FT_Open returned.
    UsbDevice(D2xx &d2xx, FtHandle handle) : d2xx_(d2xx), handle_(handle) {}
    // Closes the converter if nobody did.
    ~UsbDevice();

    UsbDevice(const UsbDevice &) = delete;
    UsbDevice &operator=(const UsbDevice &) = delete;

    // Transfers and purge. Once close() was called each returns FtInvalidHandle at once
    // without reaching the driver. Calls from two threads take turns.
    FtStatus read(std::uint8_t *buffer, std::uint32_t count, std::uint32_t *received);
    FtStatus write(const std::uint8_t *buffer, std::uint32_t count, std::uint32_t *written);
    FtStatus purge(std::uint32_t mask);

    // Closing the link: FT_Purge of both buffers, then FT_Close. Callable from any thread and
    // more than once, and never waits: when a call of another thread is inside the driver (a
    // read returns within its time-out), that call closes the converter as it returns.
    void close();
    // True until close() was called.
    bool isOpen() const;
    // True once FT_Close has run.
    bool isClosed() const;

  private:
    template <typename Call> FtStatus call(Call &&c);
    void finishClose(); // with mutex_ held, nobody inside the driver

    D2xx &d2xx_;
    FtHandle handle_;
    mutable std::mutex mutex_;
    std::condition_variable idle_;
    bool busy_ = false;    // a call is inside the driver
    bool closing_ = false; // close() was called
    bool closed_ = false;  // FT_Close has run
};

// The window's `UsbHandle`: null while the converter is closed.
using UsbHandle = std::shared_ptr<UsbDevice>;

struct UsbOpenResult {
    UsbHandle handle;           // null when FT_Open failed
    FtStatus lastStatus = FtOk; // status of the last call of the sequence
    bool usbOk() const { return handle != nullptr; }
};

// Opens converter 0 and sets it up for the link: FT_Open; when that succeeds FT_SetBaudRate
// 1200, FT_ResetDevice, FT_SetDataCharacteristics 8 data bits, 1 stop bit, no parity, and
// FT_SetTimeouts 100 ms read, 100 ms write, in this order. The results of the four set-up calls
// do not change the outcome.
UsbOpenResult OpenUsbDevice(D2xx &d2xx);

} // namespace q7x::link
