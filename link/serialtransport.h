#pragma once
// The COM port on Linux: a raw 1200 8N1 terminal whose reads end at a total deadline of
// 100 ms per byte + 10 ms or after 1000 ms without a byte, and which interrupt() wakes at once.
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "link/serialport.h"
#include "link/transport.h"

namespace q7x::link {

class PosixSerialTransport : public Transport {
  public:
    // Opens `path` for reading and writing as the only user, sets the line and raises DTR and RTS
    // (a pseudo-terminal refuses those two; that is ignored). The port counts as held by another
    // program when its advisory lock is taken, or when a UUCP lock file ("LCK..ttyUSB0") in one
    // of `lockDirs` names a running process; a lock file of a dead process is ignored. Returns
    // null with `error` saying why when the port cannot be used.
    static std::unique_ptr<PosixSerialTransport> open(const std::string &path, PortError *error,
                                                      const std::vector<std::string> &lockDirs = {
                                                          "/run/lock", "/var/lock"});
    // Gives up exclusive use before closing: on a pseudo-terminal the flag would outlive the
    // close and refuse the next open.
    ~PosixSerialTransport() override;

    PosixSerialTransport(const PosixSerialTransport &) = delete;
    PosixSerialTransport &operator=(const PosixSerialTransport &) = delete;

    bool send(std::span<const std::uint8_t> bytes) override;
    ReceiveResult receive(std::span<std::uint8_t> buffer) override;
    void purge() override;
    void interrupt() override;

    // Time-outs of the port, milliseconds.
    static constexpr int PerByteTimeout = 100;
    static constexpr int ConstantTimeout = 10;
    static constexpr int InterByteTimeout = 1000;

  private:
    PosixSerialTransport(int fd, int wakeFd) : fd_(fd), wakeFd_(wakeFd) {}
    // VMIN of the port: poll() reports it readable once this many bytes are there.
    void setMinimum(std::size_t bytes);
    int fd_;
    unsigned char minimum_ = 0;
    int wakeFd_;
    std::atomic<bool> interrupted_{false};
};

} // namespace q7x::link
