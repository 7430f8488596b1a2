#include "link/usbdevice.h"

namespace q7x::link {

UsbDevice::~UsbDevice() {
    std::lock_guard lock(mutex_);
    // Nobody else holds the device any more, so no call can be inside the driver.
    if (!closed_)
        finishClose();
}

template <typename Call> FtStatus UsbDevice::call(Call &&c) {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !busy_ || closing_; });
    if (closing_ || closed_)
        return FtInvalidHandle;
    busy_ = true;
    lock.unlock();
    const FtStatus status = c(handle_);
    lock.lock();
    busy_ = false;
    if (closing_ && !closed_)
        finishClose(); // the close() that gave up waiting left it to us
    idle_.notify_all();
    return status;
}

FtStatus UsbDevice::read(std::uint8_t *buffer, std::uint32_t count, std::uint32_t *received) {
    if (received)
        *received = 0;
    return call([&](FtHandle h) { return d2xx_.FT_Read(h, buffer, count, received); });
}

FtStatus UsbDevice::write(const std::uint8_t *buffer, std::uint32_t count, std::uint32_t *written) {
    if (written)
        *written = 0;
    return call([&](FtHandle h) { return d2xx_.FT_Write(h, buffer, count, written); });
}

FtStatus UsbDevice::purge(std::uint32_t mask) {
    return call([&](FtHandle h) { return d2xx_.FT_Purge(h, mask); });
}

void UsbDevice::close() {
    std::lock_guard lock(mutex_);
    if (closing_)
        return;
    closing_ = true;
    idle_.notify_all(); // calls waiting for their turn give up
    if (!busy_)
        finishClose();
}

bool UsbDevice::isOpen() const {
    std::lock_guard lock(mutex_);
    return !closing_;
}

bool UsbDevice::isClosed() const {
    std::lock_guard lock(mutex_);
    return closed_;
}

void UsbDevice::finishClose() {
    closing_ = true;
    closed_ = true;
    d2xx_.FT_Purge(handle_, FtPurgeRx | FtPurgeTx);
    d2xx_.FT_Close(handle_);
    handle_ = nullptr;
}

UsbOpenResult OpenUsbDevice(D2xx &d2xx) {
    UsbOpenResult result;
    FtHandle handle = nullptr;
    result.lastStatus = d2xx.FT_Open(0, &handle);
    if (result.lastStatus != FtOk || !handle)
        return result;
    result.lastStatus = d2xx.FT_SetBaudRate(handle, 1200);
    result.lastStatus = d2xx.FT_ResetDevice(handle);
    result.lastStatus = d2xx.FT_SetDataCharacteristics(handle, FtBits8, FtStopBits1, FtParityNone);
    result.lastStatus = d2xx.FT_SetTimeouts(handle, 100, 100);
    result.handle = std::make_shared<UsbDevice>(d2xx, handle);
    return result;
}

} // namespace q7x::link
