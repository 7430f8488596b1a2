// A full Q72 read and a full Q72 write over a pseudo-terminal served by q7xsim at 1200-baud wire
// speed, timed against the protocol's own minimum (bench/link/protocolminimum.h).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "bench/link/protocolminimum.h"
#include "link/linkengine.h"
#include "link/serialtransport.h"
#include "link/systemclock.h"

using namespace q7x::link;
using NullWindow = q7x::bench::StatusWindow;

int main() {
    char dir[] = "/tmp/q7xbenchXXXXXX";
    if (!mkdtemp(dir))
        return 1;
    const std::string link = std::string(dir) + "/tty";
    const pid_t sim = fork();
    if (sim == 0) {
        execl(Q7XSIM_PATH, "q7xsim", "--model", "q72", "--link", link.c_str(), "--wire-timing",
              static_cast<char *>(nullptr));
        _exit(127);
    }
    for (int i = 0; i < 250 && access(link.c_str(), F_OK) != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));

    PortError error;
    auto port = PosixSerialTransport::open(link, &error);
    if (!port) {
        std::fprintf(stderr, "bench_link: cannot open %s\n", error.device.c_str());
        kill(sim, SIGTERM);
        return 1;
    }
    std::vector<std::uint8_t> image(702);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i * 5 + 7);

    int failures = 0;
    for (LinkOperation op : {LinkOperation::ReadQ72, LinkOperation::WriteQ72}) {
        const char *name = op == LinkOperation::ReadQ72 ? "full Q72 read" : "full Q72 write";
        std::printf("%s\n", name);
        const double minimum = q7x::bench::protocolMinimumSeconds({op}, image);
        SystemClock clock;
        NullWindow window;
        LinkEngine engine(*port, clock, window, serialTraits());
        const auto start = std::chrono::steady_clock::now();
        engine.run(op, DeviceModel::Q72, image);
        const double took =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const bool ok = window.last == (op == LinkOperation::ReadQ72 ? 11 : 10);
        failures += ok ? 0 : 1;
        std::printf("  pty with wire timing: %.3f s, minimum %.3f s, ratio %.4f%s\n", took, minimum,
                    took / minimum, ok ? "" : " (operation failed)");
    }
    port.reset();
    kill(sim, SIGTERM);
    waitpid(sim, nullptr, 0);
    rmdir(dir);
    return failures == 0 ? 0 : 1;
}
