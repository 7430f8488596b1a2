#pragma once
// A D2xx backend for tests: an FTDI converter with a simulated Q71 or Q72 behind it, on the
// simulator's virtual clock. Every driver call is logged, and calls with a handle that is not
// open, or made while another call is inside the driver, are counted as faults of the caller.
#include <atomic>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "link/d2xx.h"
#include "tools/q7xsim/loopback.h"

namespace q7x::link::test {

class SimD2xx : public D2xx {
  public:
    explicit SimD2xx(sim::Model model) : link(model, LinkKind::Usb) {}

    FtStatus FT_Open(int deviceIndex, FtHandle *handle) override;
    FtStatus FT_Close(FtHandle handle) override;
    FtStatus FT_Read(FtHandle handle, std::uint8_t *buffer, std::uint32_t count,
                     std::uint32_t *received) override;
    FtStatus FT_Write(FtHandle handle, const std::uint8_t *buffer, std::uint32_t count,
                      std::uint32_t *written) override;
    FtStatus FT_ResetDevice(FtHandle handle) override;
    FtStatus FT_SetBaudRate(FtHandle handle, std::uint32_t baudRate) override;
    FtStatus FT_SetDataCharacteristics(FtHandle handle, std::uint8_t wordLength,
                                       std::uint8_t stopBits, std::uint8_t parity) override;
    FtStatus FT_Purge(FtHandle handle, std::uint32_t mask) override;
    FtStatus FT_SetTimeouts(FtHandle handle, std::uint32_t readMs, std::uint32_t writeMs) override;

    // The device, the wire and the virtual clock behind the converter (reads end at 100 ms).
    sim::SimLink link;
    // A converter is plugged in and free; false makes FT_Open fail with `absentStatus`.
    bool present = true;
    FtStatus absentStatus = FtDeviceNotFound;
    // After this many more successful reads and writes the converter is pulled out: every
    // transfer fails with an I/O error (-1: never).
    int transfersBeforeUnplug = -1;
    // Runs inside every FT_Read, before the bytes are taken (without the backend's lock).
    std::function<void()> insideRead;

    // "Open 0", "SetBaudRate 1200", "Reset", "SetData 8 0 0", "SetTimeouts 100 100",
    // "Purge 3", "Write 5", "Read 6/6" (asked for, got), "Close"; a failed call ends in " !".
    std::vector<std::string> log() const;
    int misuse() const { return misuse_.load(); }     // calls with a handle that is not open
    int overlaps() const { return overlaps_.load(); } // calls that met another one inside
    int openHandles() const;
    int opens() const;

  private:
    struct Inside; // marks a call inside the driver
    bool valid(FtHandle handle, const std::string &what);
    // Counts a transfer down to the unplugging; true (and logged as failed) once unplugged.
    bool unplugged(const std::string &what);
    void record(const std::string &line);
    // A set-up call: logged as its name and values.
    FtStatus setting(FtHandle handle, const std::string &name, const std::string &values);

    mutable std::mutex mutex_;
    std::vector<std::string> log_;
    std::set<std::uintptr_t> open_;
    std::uintptr_t nextHandle_ = 1;
    int opens_ = 0;
    std::atomic<int> inside_{0};
    std::atomic<int> misuse_{0};
    std::atomic<int> overlaps_{0};
};

} // namespace q7x::link::test
