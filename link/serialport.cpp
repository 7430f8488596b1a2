#include "link/serialport.h"

#include <algorithm>

#if defined(_WIN32)
#include "link/win32serialtransport.h"
#else
#include "link/serialtransport.h"
#endif

namespace q7x::link {

std::string serialDevicePath(int portNumber, const std::string &mappedPath) {
#if defined(_WIN32)
    (void)mappedPath; // Windows opens every port by its own name
    return "\\\\.\\COM" + std::to_string(portNumber);
#else
    if (!mappedPath.empty())
        return mappedPath;
    return "/dev/ttyS" + std::to_string(std::max(portNumber, 1) - 1);
#endif
}

OpenedPort openSerialPort(int portNumber, const std::string &mappedPath) {
    OpenedPort port;
#if defined(_WIN32)
    (void)mappedPath; // Windows opens every port by its own name
    port.transport = Win32SerialTransport::open(portNumber, &port.error);
#else
    port.transport =
        PosixSerialTransport::open(serialDevicePath(portNumber, mappedPath), &port.error);
#endif
    return port;
}

} // namespace q7x::link
