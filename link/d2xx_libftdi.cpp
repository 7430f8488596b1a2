// The converter on Linux through libftdi1 (user-space USB). Device 0 is the first converter found
// with one of the FTDI product ids a USB-to-serial cable uses. The kernel's serial driver is
// detached from the converter while it is open here and attached again when it is closed.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <ftdi.h>
#include <libusb.h>
#include <mutex>
#include <set>
#include <unistd.h>

#include "link/d2xx.h"

namespace q7x::link {

namespace {

using Steady = std::chrono::steady_clock;

constexpr int FtdiVendor = 0x0403;
// FT232R/FT245R, FT2232, FT4232, FT232H, FT-X.
constexpr int FtdiProducts[] = {0x6001, 0x6010, 0x6011, 0x6014, 0x6015};

// Why a converter that was found did not open. libftdi reports a refused libusb_open() (-4)
// whatever the cause, so the USB device node tells a missing udev rule apart; a claim that
// failed (-5) means another program holds the converter.
FtStatus openFailure(int result, libusb_device *dev) {
    char node[64];
    std::snprintf(node, sizeof node, "/dev/bus/usb/%03u/%03u",
                  static_cast<unsigned>(libusb_get_bus_number(dev)),
                  static_cast<unsigned>(libusb_get_device_address(dev)));
    if (result == -4 && ::access(node, R_OK | W_OK) != 0 && (errno == EACCES || errno == EPERM))
        return FtNoPermission;
    return FtDeviceNotOpened;
}

struct Device {
    ftdi_context *ftdi = nullptr;
    int readTimeoutMs = 5000; // the library's own default until FT_SetTimeouts
    int writeTimeoutMs = 5000;
};

class LibFtdiD2xx : public D2xx {
  public:
    ~LibFtdiD2xx() override {
        std::lock_guard lock(mutex_);
        for (Device *d : open_)
            release(d);
        open_.clear();
    }

    FtStatus FT_Open(int deviceIndex, FtHandle *handle) override {
        if (!handle || deviceIndex < 0)
            return FtInvalidParameter;
        *handle = nullptr;
        ftdi_context *ftdi = ftdi_new();
        if (!ftdi) // no USB access at all (libusb could not start)
            return FtDeviceNotFound;
        // Give the kernel's ftdi_sio driver the converter back when it is closed.
        ftdi->module_detach_mode = AUTO_DETACH_REATACH_SIO_MODULE;
        FtStatus status = FtDeviceNotFound;
        int seen = 0;
        for (int product : FtdiProducts) {
            ftdi_device_list *list = nullptr;
            if (ftdi_usb_find_all(ftdi, &list, FtdiVendor, product) > 0) {
                for (ftdi_device_list *node = list; node; node = node->next) {
                    if (seen++ != deviceIndex)
                        continue;
                    const int opened = ftdi_usb_open_dev(ftdi, node->dev);
                    status = opened == 0 ? FtOk : openFailure(opened, node->dev);
                    break;
                }
            }
            ftdi_list_free(&list);
            if (seen > deviceIndex)
                break;
        }
        if (status != FtOk) {
            ftdi_free(ftdi);
            return status;
        }
        auto *device = new Device;
        device->ftdi = ftdi;
        std::lock_guard lock(mutex_);
        open_.insert(device);
        *handle = device;
        return FtOk;
    }

    FtStatus FT_Close(FtHandle handle) override {
        Device *d = take(handle);
        if (!d)
            return FtInvalidHandle;
        release(d);
        return FtOk;
    }

    FtStatus FT_Read(FtHandle handle, std::uint8_t *buffer, std::uint32_t count,
                     std::uint32_t *received) override {
        if (received)
            *received = 0;
        Device *d = find(handle);
        if (!d)
            return FtInvalidHandle;
        if (!buffer || !received || count > INT_MAX)
            return FtInvalidParameter;
        // Each bulk read returns at the converter's latency period when nothing arrived, so
        // the loop wakes often enough to keep the total time-out.
        const auto deadline = Steady::now() + std::chrono::milliseconds(d->readTimeoutMs);
        std::uint32_t got = 0;
        while (got < count) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Steady::now());
            if (left.count() <= 0)
                break;
            d->ftdi->usb_read_timeout = static_cast<int>(std::max<long long>(1, left.count()));
            const int r = ftdi_read_data(d->ftdi, buffer + got, static_cast<int>(count - got));
            if (r < 0) {
                *received = got;
                return FtIoError;
            }
            got += static_cast<std::uint32_t>(r);
        }
        *received = got;
        return FtOk;
    }

    FtStatus FT_Write(FtHandle handle, const std::uint8_t *buffer, std::uint32_t count,
                      std::uint32_t *written) override {
        if (written)
            *written = 0;
        Device *d = find(handle);
        if (!d)
            return FtInvalidHandle;
        if (!buffer || !written || count > INT_MAX)
            return FtInvalidParameter;
        d->ftdi->usb_write_timeout = std::max(1, d->writeTimeoutMs);
        const int w = ftdi_write_data(d->ftdi, buffer, static_cast<int>(count));
        if (w < 0)
            return FtIoError;
        *written = static_cast<std::uint32_t>(w);
        return FtOk;
    }

    FtStatus FT_ResetDevice(FtHandle handle) override {
        Device *d = find(handle);
        if (!d)
            return FtInvalidHandle;
        return ftdi_usb_reset(d->ftdi) == 0 ? FtOk : FtIoError;
    }

    FtStatus FT_SetBaudRate(FtHandle handle, std::uint32_t baudRate) override {
        Device *d = find(handle);
        if (!d)
            return FtInvalidHandle;
        if (baudRate == 0 || baudRate > INT_MAX)
            return FtInvalidParameter;
        return ftdi_set_baudrate(d->ftdi, static_cast<int>(baudRate)) == 0 ? FtOk : FtIoError;
    }

    FtStatus FT_SetDataCharacteristics(FtHandle handle, std::uint8_t wordLength,
                                       std::uint8_t stopBits, std::uint8_t parity) override {
        Device *d = find(handle);
        if (!d)
            return FtInvalidHandle;
        if ((wordLength != 7 && wordLength != 8) || stopBits > 2 || parity > 4)
            return FtInvalidParameter;
        const auto bits = wordLength == 7 ? BITS_7 : BITS_8;
        // Stop bits as the driver library numbers them: 0 one, 1 one and a half, 2 two.
        const ftdi_stopbits_type stops[] = {STOP_BIT_1, STOP_BIT_15, STOP_BIT_2};
        const ftdi_parity_type parities[] = {NONE, ODD, EVEN, MARK, SPACE};
        return ftdi_set_line_property(d->ftdi, bits, stops[stopBits], parities[parity]) == 0
                   ? FtOk
                   : FtIoError;
    }

    FtStatus FT_Purge(FtHandle handle, std::uint32_t mask) override {
        Device *d = find(handle);
        if (!d)
            return FtInvalidHandle;
        bool ok = true;
        if (mask & FtPurgeRx)
            ok = ftdi_tciflush(d->ftdi) == 0 && ok;
        if (mask & FtPurgeTx)
            ok = ftdi_tcoflush(d->ftdi) == 0 && ok;
        return ok ? FtOk : FtIoError;
    }

    FtStatus FT_SetTimeouts(FtHandle handle, std::uint32_t readMs, std::uint32_t writeMs) override {
        Device *d = find(handle);
        if (!d)
            return FtInvalidHandle;
        constexpr std::uint32_t Longest = 24u * 3600u * 1000u;
        d->readTimeoutMs = static_cast<int>(std::min(readMs, Longest));
        d->writeTimeoutMs = static_cast<int>(std::min(writeMs, Longest));
        return FtOk;
    }

  private:
    // Handles are checked against the open ones, so a stale or foreign handle fails cleanly.
    Device *find(FtHandle handle) {
        std::lock_guard lock(mutex_);
        auto it = open_.find(static_cast<Device *>(handle));
        return it == open_.end() ? nullptr : *it;
    }
    Device *take(FtHandle handle) {
        std::lock_guard lock(mutex_);
        auto it = open_.find(static_cast<Device *>(handle));
        if (it == open_.end())
            return nullptr;
        Device *d = *it;
        open_.erase(it);
        return d;
    }
    static void release(Device *d) {
        ftdi_usb_close(d->ftdi);
        ftdi_free(d->ftdi);
        delete d;
    }

    std::mutex mutex_;
    std::set<Device *> open_;
};

} // namespace

std::unique_ptr<D2xx> makeSystemD2xx() { return std::make_unique<LibFtdiD2xx>(); }

} // namespace q7x::link
