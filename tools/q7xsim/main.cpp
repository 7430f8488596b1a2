// q7xsim: plays a Q71 or Q72 on a pseudo-terminal so that the configurator can connect, read,
// write and start the modem without a device.
//
//   q7xsim --model q71|q72 --link PATH [--wire-timing] [--no-echo] [--load IMAGE] [--dump FILE]
//          [faults]
//
// PATH becomes a symbolic link to the terminal's device; point the configurator's port at it
// (INI section Ports, key COM<N>). Faults: --silent, --answer-on N, --refuse-header,
// --bad-check-byte, --mismatch ADDR:N, --drop FROM:COUNT, --wrong-address, --stuck-clock,
// --modem-states S1,S2,...  IMAGE is a raw configuration image (up to 702 bytes) the device
// starts with; its state (clock, memory) is written to FILE on every change.
#include <pty.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <termios.h>
#include <tuple>
#include <unistd.h>
#include <vector>

#include "tools/q7xsim/devicesim.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;
void onSignal(int) { stopRequested = 1; }

using Clock = std::chrono::steady_clock;
// 1200 baud, ten bits a byte.
constexpr auto ByteTime = std::chrono::microseconds(8333);

[[noreturn]] void usage(const char *message) {
    std::fprintf(
        stderr,
        "q7xsim: %s\nusage: q7xsim --model q71|q72 --link PATH [--wire-timing] "
        "[--no-echo] [--load IMAGE] [--dump FILE] [--silent] [--answer-on N] [--refuse-header] "
        "[--bad-check-byte] [--mismatch ADDR:N] [--drop FROM:COUNT] [--wrong-address] "
        "[--stuck-clock] [--modem-states S1,S2,...]\n",
        message);
    std::exit(2);
}

int number(const char *text) {
    char *end = nullptr;
    const long v = std::strtol(text, &end, 0);
    if (end == text || (*end != '\0' && *end != ':' && *end != ','))
        usage("bad number");
    return static_cast<int>(v);
}

std::pair<int, int> pairOf(const char *text) {
    const char *colon = std::strchr(text, ':');
    if (!colon)
        usage("expected A:B");
    return {number(text), number(colon + 1)};
}

void writeDump(const std::string &path, const q7x::sim::DeviceSim &sim) {
    if (path.empty())
        return;
    const std::string temp = path + ".tmp";
    FILE *f = std::fopen(temp.c_str(), "w");
    if (!f)
        return;
    const q7x::sim::SimClock &c = sim.clock;
    std::fprintf(f, "model %s\nclock %02d %02d %02d %02d %02d\nmodem-starts %d\npc-acks %zu\n",
                 sim.model() == q7x::sim::Model::Q71 ? "q71" : "q72", c.year, c.month, c.day,
                 c.hour, c.minute, sim.startModemCount, sim.pcAcks.size());
    const auto dumpBytes = [f](const char *name, const std::uint8_t *bytes, std::size_t n) {
        std::fprintf(f, "%s", name);
        for (std::size_t i = 0; i < n; ++i)
            std::fprintf(f, "%s%02X", i % 32 ? " " : "\n", bytes[i]);
        std::fprintf(f, "\n");
    };
    if (sim.model() == q7x::sim::Model::Q71)
        dumpBytes("image", sim.q71Image.data(), sim.q71Image.size());
    else
        dumpBytes("memory", sim.memory.data(), 0x400);
    std::fclose(f);
    std::rename(temp.c_str(), path.c_str());
}

} // namespace

int main(int argc, char **argv) {
    std::string model;
    std::string link;
    std::string dump;
    std::string load;
    bool wireTiming = false;
    bool echo = true;
    q7x::sim::Faults faults;
    std::vector<std::uint8_t> modemStates;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const auto value = [&]() -> const char * {
            if (i + 1 >= argc)
                usage(("missing value for " + a).c_str());
            return argv[++i];
        };
        if (a == "--model")
            model = value();
        else if (a == "--link")
            link = value();
        else if (a == "--dump")
            dump = value();
        else if (a == "--load")
            load = value();
        else if (a == "--wire-timing")
            wireTiming = true;
        else if (a == "--no-echo")
            echo = false;
        else if (a == "--silent")
            faults.silent = true;
        else if (a == "--answer-on")
            faults.answerOnAttempt = number(value());
        else if (a == "--refuse-header")
            faults.refuseHeader = true;
        else if (a == "--bad-check-byte")
            faults.badQ71CheckByte = true;
        else if (a == "--wrong-address")
            faults.wrongAddressReply = true;
        else if (a == "--stuck-clock")
            faults.stuckClock = true;
        else if (a == "--mismatch")
            std::tie(faults.mismatchAddress, faults.mismatchCount) = pairOf(value());
        else if (a == "--drop")
            std::tie(faults.dropFrom, faults.dropCount) = pairOf(value());
        else if (a == "--modem-states") {
            for (const char *p = value(); *p;) {
                modemStates.push_back(static_cast<std::uint8_t>(number(p)));
                const char *comma = std::strchr(p, ',');
                p = comma ? comma + 1 : p + std::strlen(p);
            }
        } else
            usage(("unknown option " + a).c_str());
    }
    if (model != "q71" && model != "q72")
        usage("--model must be q71 or q72");
    if (link.empty())
        usage("--link is required");

    q7x::sim::DeviceSim sim(model == "q71" ? q7x::sim::Model::Q71 : q7x::sim::Model::Q72, echo);
    sim.faults = faults;
    if (!load.empty()) {
        FILE *f = std::fopen(load.c_str(), "rb");
        if (!f) {
            std::perror(("q7xsim: " + load).c_str());
            return 1;
        }
        std::vector<std::uint8_t> image(702);
        image.resize(std::fread(image.data(), 1, image.size(), f));
        std::fclose(f);
        sim.loadImage(image);
    }
    sim.modemStates = modemStates;
    // The starting state is on disk before the link appears: whoever finds the link may read it.
    writeDump(dump, sim);

    int master = -1;
    int slave = -1;
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        std::perror("q7xsim: openpty");
        return 1;
    }
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);
    const char *slaveName = ttyname(slave);
    if (!slaveName) {
        std::perror("q7xsim: ttyname");
        return 1;
    }
    ::unlink(link.c_str());
    if (::symlink(slaveName, link.c_str()) != 0) {
        std::perror("q7xsim: symlink");
        return 1;
    }
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::signal(SIGPIPE, SIG_IGN);
    std::printf("q7xsim: %s on %s (link %s)%s\n", model.c_str(), slaveName, link.c_str(),
                wireTiming ? ", 1200-baud wire timing" : "");
    std::fflush(stdout);

    struct Timed {
        Clock::time_point at;
        std::uint8_t byte;
    };
    std::deque<Timed> incoming; // bytes on their way to the device
    std::deque<Timed> outgoing; // bytes on their way to the PC
    Clock::time_point lastIn = Clock::now();
    Clock::time_point lastOut = Clock::now();

    while (!stopRequested) {
        const Clock::time_point now = Clock::now();
        // Deliver what has arrived; the device answers once a byte has crossed the wire, timed
        // from the moment it did rather than from when this loop got round to it.
        bool changed = false;
        while (!incoming.empty() && incoming.front().at <= now) {
            const Timed in = incoming.front();
            incoming.pop_front();
            const std::vector<std::uint8_t> answer =
                sim.feed(std::span<const std::uint8_t>(&in.byte, 1));
            for (std::uint8_t r : answer) {
                lastOut = wireTiming ? std::max(lastOut + ByteTime, in.at) : now;
                outgoing.push_back({lastOut, r});
            }
            changed = true;
        }
        if (changed)
            writeDump(dump, sim);
        std::vector<std::uint8_t> ready;
        while (!outgoing.empty() && outgoing.front().at <= now) {
            ready.push_back(outgoing.front().byte);
            outgoing.pop_front();
        }
        if (!ready.empty()) {
            const ssize_t w = ::write(master, ready.data(), ready.size());
            (void)w; // a PC that is not listening loses the bytes, as on a real line
        }

        Clock::time_point next = now + std::chrono::milliseconds(100);
        if (!incoming.empty())
            next = std::min(next, incoming.front().at);
        if (!outgoing.empty())
            next = std::min(next, outgoing.front().at);
        // Sleep to the exact moment the next byte is due (a wait rounded to milliseconds would
        // wake early and spin, taking the processor from the configurator under test).
        const auto wait = std::max<long long>(
            0, std::chrono::duration_cast<std::chrono::nanoseconds>(next - Clock::now()).count());
        const timespec timeout{static_cast<time_t>(wait / 1000000000),
                               static_cast<long>(wait % 1000000000)};
        pollfd p{master, POLLIN, 0};
        const int n = ::ppoll(&p, 1, &timeout, nullptr);
        if (n > 0 && (p.revents & POLLIN)) {
            std::uint8_t buffer[512];
            const ssize_t r = ::read(master, buffer, sizeof buffer);
            const Clock::time_point arrived = Clock::now();
            for (ssize_t i = 0; i < r; ++i) {
                lastIn = wireTiming ? std::max(lastIn, arrived) + ByteTime : arrived;
                incoming.push_back({lastIn, buffer[i]});
            }
        } else if (n > 0 && (p.revents & (POLLHUP | POLLERR))) {
            // No PC has the terminal open; wait for one.
            ::usleep(20000);
        }
    }
    writeDump(dump, sim);
    ::unlink(link.c_str());
    return 0;
}
