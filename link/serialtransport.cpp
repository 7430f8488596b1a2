#include "link/serialtransport.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
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

} // namespace

std::unique_ptr<PosixSerialTransport> PosixSerialTransport::open(const std::string &path,
                                                                 std::string *error) {
    const auto fail = [error](const std::string &what) {
        if (error)
            *error = what + ": " + std::strerror(errno);
        return nullptr;
    };
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(path);
    if (!::isatty(fd) || ::ioctl(fd, TIOCEXCL) != 0) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        return fail(path);
    }
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        return fail(path);
    }
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
        const int saved = errno;
        ::close(fd);
        errno = saved;
        return fail("eventfd");
    }
    return std::unique_ptr<PosixSerialTransport>(new PosixSerialTransport(fd, wake));
}

PosixSerialTransport::~PosixSerialTransport() {
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
    const auto total =
        Steady::now() + std::chrono::milliseconds(
                            PerByteTimeout * static_cast<long>(buffer.size()) + ConstantTimeout);
    Steady::time_point deadline = total;
    while (result.count < buffer.size()) {
        const int ready = waitFor(fd_, POLLIN, wakeFd_, deadline);
        if (ready == 0)
            break;
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

void PosixSerialTransport::purge() { ::tcflush(fd_, TCIOFLUSH); }

void PosixSerialTransport::interrupt() {
    interrupted_.store(true);
    // The counter is never drained: every later wait sees it at once.
    const std::uint64_t one = 1;
    const ssize_t w = ::write(wakeFd_, &one, sizeof one);
    (void)w;
}

std::string serialDevicePath(int portNumber, const std::string &override) {
    if (!override.empty())
        return override;
    return "/dev/ttyS" + std::to_string(std::max(portNumber, 1) - 1);
}

} // namespace q7x::link
