#pragma once
// Opening the COM port "com N" on this platform, and why an open failed, so that the window can
// tell a missing device from a port without permission or one another program holds.
#include <memory>
#include <string>

#include "link/transport.h"

namespace q7x::link {

enum class PortFailure {
    None,
    NoSuchDevice, // the device is missing, or no serial port answers behind it
    NoPermission, // the user may not open the device
    Busy,         // another program holds the port (exclusive use, advisory lock)
    LockFile,     // a lock file of a running program names the port
    NotATerminal, // the device is not a serial port
    Other,        // any other system error
};

struct PortError {
    PortFailure failure = PortFailure::None;
    std::string device; // the device that was tried
    std::string detail; // LockFile: the lock file; Other: the system's own text
};

struct OpenedPort {
    std::unique_ptr<Transport> transport; // null when the port could not be opened
    PortError error;
};

// "com N": on Windows \\.\COMN; elsewhere `mappedPath` (the INI mapping) when it is given, else
// /dev/ttyS<N-1>.
std::string serialDevicePath(int portNumber, const std::string &mappedPath = {});

// Opens and sets up "com N" at 1200 8N1 for the link.
OpenedPort openSerialPort(int portNumber, const std::string &mappedPath = {});

} // namespace q7x::link
