#include "simd2xx.h"

#include <algorithm>

namespace q7x::link::test {

struct SimD2xx::Inside {
    explicit Inside(SimD2xx &d) : d_(d) {
        if (d_.inside_.fetch_add(1) != 0)
            ++d_.overlaps_;
    }
    ~Inside() { --d_.inside_; }
    SimD2xx &d_;
};

void SimD2xx::record(const std::string &line) {
    std::lock_guard lock(mutex_);
    log_.push_back(line);
}

std::vector<std::string> SimD2xx::log() const {
    std::lock_guard lock(mutex_);
    return log_;
}

int SimD2xx::openHandles() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(open_.size());
}

int SimD2xx::opens() const {
    std::lock_guard lock(mutex_);
    return opens_;
}

bool SimD2xx::unplugged(const std::string &what) {
    if (transfersBeforeUnplug == 0) {
        record(what + " !");
        return true;
    }
    if (transfersBeforeUnplug > 0)
        --transfersBeforeUnplug;
    return false;
}

bool SimD2xx::valid(FtHandle handle, const std::string &what) {
    std::lock_guard lock(mutex_);
    if (open_.count(reinterpret_cast<std::uintptr_t>(handle)))
        return true;
    ++misuse_;
    log_.push_back(what + " !");
    return false;
}

FtStatus SimD2xx::FT_Open(int deviceIndex, FtHandle *handle) {
    Inside in(*this);
    std::lock_guard lock(mutex_);
    *handle = nullptr;
    if (!present || deviceIndex != 0) {
        log_.push_back("Open " + std::to_string(deviceIndex) + " !");
        return present ? FtDeviceNotFound : absentStatus;
    }
    log_.push_back("Open " + std::to_string(deviceIndex));
    const std::uintptr_t h = nextHandle_++;
    open_.insert(h);
    ++opens_;
    *handle = reinterpret_cast<FtHandle>(h);
    return FtOk;
}

FtStatus SimD2xx::FT_Close(FtHandle handle) {
    Inside in(*this);
    if (!valid(handle, "Close"))
        return FtInvalidHandle;
    std::lock_guard lock(mutex_);
    open_.erase(reinterpret_cast<std::uintptr_t>(handle));
    log_.push_back("Close");
    return FtOk;
}

FtStatus SimD2xx::FT_Read(FtHandle handle, std::uint8_t *buffer, std::uint32_t count,
                          std::uint32_t *received) {
    Inside in(*this);
    *received = 0;
    if (!valid(handle, "Read " + std::to_string(count)))
        return FtInvalidHandle;
    if (insideRead)
        insideRead();
    if (unplugged("Read " + std::to_string(count)))
        return FtIoError;
    const ReceiveResult r = link.transport.receive(std::span<std::uint8_t>(buffer, count));
    *received = static_cast<std::uint32_t>(r.count);
    record("Read " + std::to_string(count) + "/" + std::to_string(r.count));
    return FtOk;
}

FtStatus SimD2xx::FT_Write(FtHandle handle, const std::uint8_t *buffer, std::uint32_t count,
                           std::uint32_t *written) {
    Inside in(*this);
    *written = 0;
    if (!valid(handle, "Write " + std::to_string(count)))
        return FtInvalidHandle;
    if (unplugged("Write " + std::to_string(count)))
        return FtIoError;
    link.transport.send(std::span<const std::uint8_t>(buffer, count));
    *written = count;
    record("Write " + std::to_string(count));
    return FtOk;
}

FtStatus SimD2xx::setting(FtHandle handle, const std::string &name, const std::string &values) {
    Inside in(*this);
    if (!valid(handle, name))
        return FtInvalidHandle;
    record(values.empty() ? name : name + " " + values);
    return FtOk;
}

FtStatus SimD2xx::FT_ResetDevice(FtHandle handle) { return setting(handle, "Reset", {}); }

FtStatus SimD2xx::FT_SetBaudRate(FtHandle handle, std::uint32_t baudRate) {
    return setting(handle, "SetBaudRate", std::to_string(baudRate));
}

FtStatus SimD2xx::FT_SetDataCharacteristics(FtHandle handle, std::uint8_t wordLength,
                                            std::uint8_t stopBits, std::uint8_t parity) {
    return setting(handle, "SetData",
                   std::to_string(wordLength) + " " + std::to_string(stopBits) + " " +
                       std::to_string(parity));
}

FtStatus SimD2xx::FT_SetTimeouts(FtHandle handle, std::uint32_t readMs, std::uint32_t writeMs) {
    return setting(handle, "SetTimeouts", std::to_string(readMs) + " " + std::to_string(writeMs));
}

FtStatus SimD2xx::FT_Purge(FtHandle handle, std::uint32_t mask) {
    Inside in(*this);
    if (!valid(handle, "Purge"))
        return FtInvalidHandle;
    link.transport.purge();
    record("Purge " + std::to_string(mask));
    return FtOk;
}

} // namespace q7x::link::test
