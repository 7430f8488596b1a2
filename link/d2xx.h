#pragma once
// The calls the USB link makes to the FTDI converter's driver library, with the argument and
// result conventions of that library: a status of 0 means success, a handle of null means
// closed. Backends: libftdi1 on Linux, FTD2XX.DLL on Windows, and a simulator in the tests.
#include <cstdint>
#include <memory>

namespace q7x::link {

using FtHandle = void *;
using FtStatus = std::uint32_t;

// Status values of the driver library (only "0 or not" matters to the link).
inline constexpr FtStatus FtOk = 0;
inline constexpr FtStatus FtInvalidHandle = 1;
inline constexpr FtStatus FtDeviceNotFound = 2;
inline constexpr FtStatus FtDeviceNotOpened = 3;
inline constexpr FtStatus FtIoError = 4;
inline constexpr FtStatus FtInvalidParameter = 6;
// Beyond the library's own values: FT_Open found a converter that this user may not open (the
// libftdi backend, when no udev rule gives access to its USB device).
inline constexpr FtStatus FtNoPermission = 0x100;

// FT_Purge masks.
inline constexpr std::uint32_t FtPurgeRx = 1;
inline constexpr std::uint32_t FtPurgeTx = 2;

// FT_SetDataCharacteristics values.
inline constexpr std::uint8_t FtBits8 = 8;
inline constexpr std::uint8_t FtStopBits1 = 0;
inline constexpr std::uint8_t FtParityNone = 0;

class D2xx {
  public:
    virtual ~D2xx() = default;

    // Opens the converter number `deviceIndex` (0 = the first one found) into `*handle`. Fails
    // with FtDeviceNotFound when there is none, FtDeviceNotOpened when it is in use, and
    // FtNoPermission (where the platform can tell) when the user may not open it.
    virtual FtStatus FT_Open(int deviceIndex, FtHandle *handle) = 0;
    virtual FtStatus FT_Close(FtHandle handle) = 0;
    // Returns when `count` bytes have arrived or the read time-out has elapsed; `*received`
    // tells how many bytes were placed in `buffer`.
    virtual FtStatus FT_Read(FtHandle handle, std::uint8_t *buffer, std::uint32_t count,
                             std::uint32_t *received) = 0;
    virtual FtStatus FT_Write(FtHandle handle, const std::uint8_t *buffer, std::uint32_t count,
                              std::uint32_t *written) = 0;
    virtual FtStatus FT_ResetDevice(FtHandle handle) = 0;
    virtual FtStatus FT_SetBaudRate(FtHandle handle, std::uint32_t baudRate) = 0;
    virtual FtStatus FT_SetDataCharacteristics(FtHandle handle, std::uint8_t wordLength,
                                               std::uint8_t stopBits, std::uint8_t parity) = 0;
    virtual FtStatus FT_Purge(FtHandle handle, std::uint32_t mask) = 0;
    virtual FtStatus FT_SetTimeouts(FtHandle handle, std::uint32_t readMs,
                                    std::uint32_t writeMs) = 0;
};

// The driver of this platform: libftdi1 on Linux, FTD2XX.DLL (loaded when a converter is first
// opened; a missing library behaves as no converter) on Windows.
std::unique_ptr<D2xx> makeSystemD2xx();

} // namespace q7x::link
