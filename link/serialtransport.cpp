#include "link/serialtransport.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace q7x::link {

namespace {

using Steady = std::chrono::steady_clock;

// Waits until `fd` is ready for `events`, the wake descriptor fires or `deadline` passes.
// Returns 1 ready, 0 time-out, -1 woken or failed.
int waitFor(int fd, short events, int wakeFd, Steady::time_point deadline) {
    for (;;) {
        const auto left = deadline - Steady::now();
        if (left <= Steady::duration::zero())
            return 0;
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        timespec ts{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
        pollfd fds[2] = {{fd, events, 0}, {wakeFd, POLLIN, 0}};
        const int n = ::ppoll(fds, 2, &ts, nullptr);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            return 0;
        if (fds[1].revents)
            return -1;
        if (fds[0].revents & events)
            return 1;
        if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL))
            return -1;
    }
}

PortFailure failureOf(int error) {
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case EIO: // a serial port with no UART behind it
        return PortFailure::NoSuchDevice;
    case EACCES:
    case EPERM:
        return PortFailure::NoPermission;
    case EBUSY:
    case EWOULDBLOCK:
        return PortFailure::Busy;
    case ENOTTY:
        return PortFailure::NotATerminal;
    default:
        return PortFailure::Other;
    }
}

// The process a UUCP lock file names: ten ASCII digits, or a binary int in the oldest form.
pid_t lockFilePid(const std::string &path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return 0;
    char text[32] = {};
    const ssize_t n = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    if (n == static_cast<ssize_t>(sizeof(int)) && text[3] < ' ') {
        int binary = 0;
        std::memcpy(&binary, text, sizeof binary);
        return binary;
    }
    long pid = 0;
    const char *p = text;
    while (*p == ' ')
        ++p;
    for (; *p >= '0' && *p <= '9' && pid < 1000000000L; ++p)
        pid = pid * 10 + (*p - '0');
    return static_cast<pid_t>(pid);
}

// The lock file that a running process holds for the device at `path`, or "".
std::string heldLockFile(const std::string &path, const std::vector<std::string> &lockDirs) {
    char *real = ::realpath(path.c_str(), nullptr);
    const std::string device = real ? real : path;
    std::free(real);
    const std::string name = "LCK.." + device.substr(device.rfind('/') + 1);
    for (const std::string &dir : lockDirs) {
        const std::string lock = dir + "/" + name;
        const pid_t pid = lockFilePid(lock);
        if (pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM))
            return lock;
    }
    return {};
}

} // namespace

std::unique_ptr<PosixSerialTransport>
PosixSerialTransport::open(const std::string &path, PortError *error,
                           const std::vector<std::string> &lockDirs) {
    int fd = -1;
    const auto fail = [&](PortFailure failure, const std::string &detail = {}) {
        if (fd >= 0)
            ::close(fd);
        if (error)
            *error = PortError{failure, path, detail};
        return nullptr;
    };
    const auto failErrno = [&] {
        const int saved = errno;
        return fail(failureOf(saved), std::strerror(saved));
    };
    fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return failErrno();
    if (!::isatty(fd))
        return fail(PortFailure::NotATerminal);
    const std::string lockFile = heldLockFile(path, lockDirs);
    if (!lockFile.empty())
        return fail(PortFailure::LockFile, lockFile);
    // TIOCEXCL only refuses later opens (and not root's): the advisory lock also finds a program
    // that opened the port before us and locked it.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0)
        return failErrno();
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0)
        return failErrno();
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CSIZE | CRTSCTS);
    tio.c_cflag |= CS8 | CREAD | CLOCAL;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, B1200);
    ::cfsetospeed(&tio, B1200);
    ::tcsetattr(fd, TCSANOW, &tio);
    // Raise DTR, then RTS; pseudo-terminals refuse these requests, which does not matter.
    int line = TIOCM_DTR;
    (void)::ioctl(fd, TIOCMBIS, &line);
    line = TIOCM_RTS;
    (void)::ioctl(fd, TIOCMBIS, &line);
    const int wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake < 0) {
        (void)::ioctl(fd, TIOCNXCL);
        return failErrno();
    }
    return std::unique_ptr<PosixSerialTransport>(new PosixSerialTransport(fd, wake));
}

PosixSerialTransport::~PosixSerialTransport() {
    (void)::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    ::close(wakeFd_);
}

bool PosixSerialTransport::send(std::span<const std::uint8_t> bytes) {
    if (interrupted_.load())
        return false;
    const auto deadline =
        Steady::now() + std::chrono::milliseconds(PerByteTimeout * static_cast<long>(bytes.size()) +
                                                  ConstantTimeout);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t w = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (w > 0) {
            done += static_cast<std::size_t>(w);
            continue;
        }
        if (w < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        if (waitFor(fd_, POLLOUT, wakeFd_, deadline) != 1)
            return false;
    }
    return true;
}

ReceiveResult PosixSerialTransport::receive(std::span<std::uint8_t> buffer) {
    ReceiveResult result;
    if (interrupted_.load()) {
        result.ok = false;
        return result;
    }
    const long totalMs = PerByteTimeout * static_cast<long>(buffer.size()) + ConstantTimeout;
    const auto total = Steady::now() + std::chrono::milliseconds(totalMs);
    Steady::time_point deadline = total;
    // A read that ends at its total deadline before the inter-byte limit could matter waits in
    // the kernel until all its bytes are there: one wake-up per answer instead of one a byte.
    const bool whole = totalMs <= InterByteTimeout;
    setMinimum(whole ? buffer.size() : 1);
    while (result.count < buffer.size()) {
        const int ready = waitFor(fd_, POLLIN, wakeFd_, deadline);
        if (ready == 0) {
            if (whole) { // what arrived of a short answer
                const ssize_t r = ::read(fd_, buffer.data(), buffer.size());
                result.count = r > 0 ? static_cast<std::size_t>(r) : 0;
            }
            break;
        }
        if (ready < 0) {
            result.ok = false;
            break;
        }
        const ssize_t r = ::read(fd_, buffer.data() + result.count, buffer.size() - result.count);
        if (r > 0) {
            result.count += static_cast<std::size_t>(r);
            // After a byte, a gap longer than the interval ends the read early.
            deadline = std::min(total, Steady::now() + std::chrono::milliseconds(InterByteTimeout));
        } else if (r == 0 || (errno != EAGAIN && errno != EINTR)) {
            result.ok = false;
            break;
        }
    }
    return result;
}

void PosixSerialTransport::setMinimum(std::size_t bytes) {
    const cc_t minimum = static_cast<cc_t>(std::min<std::size_t>(bytes, 255));
    if (minimum == minimum_)
        return;
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0)
        return;
    tio.c_cc[VMIN] = minimum;
    if (::tcsetattr(fd_, TCSANOW, &tio) == 0)
        minimum_ = minimum;
}

void PosixSerialTransport::purge() { ::tcflush(fd_, TCIOFLUSH); }

void PosixSerialTransport::interrupt() {
    interrupted_.store(true);
    // The counter is never drained: every later wait sees it at once.
    const std::uint64_t one = 1;
    const ssize_t w = ::write(wakeFd_, &one, sizeof one);
    (void)w;
}

} // namespace q7x::link
