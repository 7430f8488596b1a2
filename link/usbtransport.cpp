#include "link/usbtransport.h"

#include <algorithm>
#include <limits>

namespace q7x::link {

namespace {
constexpr std::size_t MaxTransfer = std::numeric_limits<std::uint32_t>::max();
} // namespace

UsbTransport::UsbTransport(UsbHandle device) : device_(std::move(device)) {
    if (device_)
        lastStatus_ = device_->purge(FtPurgeRx | FtPurgeTx);
}

bool UsbTransport::send(std::span<const std::uint8_t> bytes) {
    if (interrupted_.load() || !device_ || bytes.size() > MaxTransfer) {
        lastStatus_ = FtInvalidHandle;
        return false;
    }
    std::uint32_t written = 0;
    const FtStatus status =
        device_->write(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &written);
    lastStatus_ = status;
    return status == FtOk;
}

ReceiveResult UsbTransport::receive(std::span<std::uint8_t> buffer) {
    if (interrupted_.load() || !device_ || buffer.size() > MaxTransfer) {
        lastStatus_ = FtInvalidHandle;
        return {0, false};
    }
    std::uint32_t received = 0;
    const FtStatus status =
        device_->read(buffer.data(), static_cast<std::uint32_t>(buffer.size()), &received);
    lastStatus_ = status;
    if (status != FtOk)
        return {0, false};
    // Never more than asked for, whatever the driver claims.
    return {std::min<std::size_t>(received, buffer.size()), true};
}

void UsbTransport::purge() {
    if (!interrupted_.load() && device_)
        lastStatus_ = device_->purge(FtPurgeRx | FtPurgeTx);
}

void UsbTransport::interrupt() { interrupted_.store(true); }

} // namespace q7x::link
