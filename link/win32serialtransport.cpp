#include "link/win32serialtransport.h"

#include <limits>
#include <windows.h>

namespace q7x::link {

namespace {

PortFailure failureOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return PortFailure::NoSuchDevice;
    case ERROR_ACCESS_DENIED: // what Windows answers for a port another program has open
    case ERROR_SHARING_VIOLATION:
        return PortFailure::Busy;
    default:
        return PortFailure::Other;
    }
}

} // namespace

std::unique_ptr<Win32SerialTransport> Win32SerialTransport::open(int portNumber, PortError *error) {
    const auto fail = [&](HANDLE port, HANDLE a, HANDLE b) {
        const DWORD code = GetLastError();
        if (error)
            *error = PortError{failureOf(code), serialDevicePath(portNumber),
                               "error " + std::to_string(code)};
        if (b)
            CloseHandle(b);
        if (a)
            CloseHandle(a);
        if (port != INVALID_HANDLE_VALUE)
            CloseHandle(port);
        return nullptr;
    };
    const HANDLE port =
        CreateFileA(serialDevicePath(portNumber).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                    OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE)
        return fail(port, nullptr, nullptr);
    EscapeCommFunction(port, SETDTR);
    EscapeCommFunction(port, SETRTS);
    COMMTIMEOUTS timeouts{};
    GetCommTimeouts(port, &timeouts);
    timeouts.ReadIntervalTimeout = InterByteTimeout;
    timeouts.ReadTotalTimeoutMultiplier = PerByteTimeout;
    timeouts.ReadTotalTimeoutConstant = ConstantTimeout;
    timeouts.WriteTotalTimeoutMultiplier = PerByteTimeout;
    timeouts.WriteTotalTimeoutConstant = ConstantTimeout;
    if (!SetCommTimeouts(port, &timeouts))
        return fail(port, nullptr, nullptr);
    // Only the speed and the frame change; flow control and the rest stay as the port had them.
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(port, &dcb))
        return fail(port, nullptr, nullptr);
    dcb.BaudRate = CBR_1200;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    if (!SetCommState(port, &dcb))
        return fail(port, nullptr, nullptr);
    const HANDLE ioEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!ioEvent)
        return fail(port, nullptr, nullptr);
    // Manual reset and never reset: once interrupted, every later wait ends at once.
    const HANDLE wakeEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!wakeEvent)
        return fail(port, ioEvent, nullptr);
    return std::unique_ptr<Win32SerialTransport>(
        new Win32SerialTransport(port, ioEvent, wakeEvent));
}

Win32SerialTransport::~Win32SerialTransport() {
    CloseHandle(static_cast<HANDLE>(port_));
    CloseHandle(static_cast<HANDLE>(ioEvent_));
    CloseHandle(static_cast<HANDLE>(wakeEvent_));
}

bool Win32SerialTransport::transfer(bool write, void *data, unsigned long size,
                                    unsigned long *done) {
    *done = 0;
    if (interrupted_.load())
        return false;
    const HANDLE port = static_cast<HANDLE>(port_);
    OVERLAPPED ov{};
    ov.hEvent = static_cast<HANDLE>(ioEvent_);
    ResetEvent(ov.hEvent);
    const BOOL started = write ? WriteFile(port, data, size, nullptr, &ov)
                               : ReadFile(port, data, size, nullptr, &ov);
    if (!started && GetLastError() != ERROR_IO_PENDING)
        return false;
    const HANDLE waits[2] = {ov.hEvent, static_cast<HANDLE>(wakeEvent_)};
    const DWORD woken = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    DWORD count = 0;
    if (woken != WAIT_OBJECT_0) {
        // Interrupted: end the transfer and wait until the driver has let go of the buffer.
        CancelIoEx(port, &ov);
        GetOverlappedResult(port, &ov, &count, TRUE);
        *done = count;
        return false;
    }
    const BOOL ok = GetOverlappedResult(port, &ov, &count, FALSE);
    *done = count;
    return ok != 0;
}

bool Win32SerialTransport::send(std::span<const std::uint8_t> bytes) {
    if (bytes.size() > std::numeric_limits<DWORD>::max())
        return false;
    unsigned long done = 0;
    const bool ok = transfer(true, const_cast<std::uint8_t *>(bytes.data()),
                             static_cast<unsigned long>(bytes.size()), &done);
    return ok && done == bytes.size();
}

ReceiveResult Win32SerialTransport::receive(std::span<std::uint8_t> buffer) {
    if (buffer.size() > std::numeric_limits<DWORD>::max())
        return {0, false};
    unsigned long done = 0;
    const bool ok =
        transfer(false, buffer.data(), static_cast<unsigned long>(buffer.size()), &done);
    return {done <= buffer.size() ? done : buffer.size(), ok};
}

void Win32SerialTransport::purge() {
    PurgeComm(static_cast<HANDLE>(port_),
              PURGE_TXABORT | PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXCLEAR);
}

void Win32SerialTransport::interrupt() {
    interrupted_.store(true);
    SetEvent(static_cast<HANDLE>(wakeEvent_));
}

} // namespace q7x::link
