// q7xctl as whole processes: a full Q72 read, write, and `set` (read, change, write) over a
// pseudo-terminal served by q7xsim at 1200-baud wire speed against the protocol's own minimum
// (bench/link/protocolminimum.h), and `show` of a file, `diff` of two files and `set` of one
// setting of a file against `--version` of the same program.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "bench/link/protocolminimum.h"
#include "image/configfile.h"
#include "image/presets.h"

extern char **environ;

namespace {

using q7x::link::LinkOperation;

// The pause after the port opens, which q7xctl takes before it connects, as the window does.
constexpr double PortSettleSeconds = 0.3;
constexpr int Runs = 15;

// Seconds a run of q7xctl with the arguments takes, its exit status in `status`.
double timed(const std::vector<std::string> &args, int *status = nullptr) {
    std::vector<char *> argv{const_cast<char *>(Q7XCTL_PATH)};
    for (const std::string &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    int result = -1;
    if (posix_spawn(&pid, Q7XCTL_PATH, &actions, nullptr, argv.data(), environ) == 0)
        waitpid(pid, &result, 0);
    const double took =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    posix_spawn_file_actions_destroy(&actions);
    if (status)
        *status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    return took;
}

// The median time of the command; counts a run that does not exit with `expected` in `failures`.
double median(const std::vector<std::string> &args, int &failures, int expected = 0) {
    std::vector<double> times;
    for (int i = 0; i < Runs; ++i) {
        int status = -1;
        times.push_back(timed(args, &status));
        failures += status == expected ? 0 : 1;
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main() {
    char dir[] = "/tmp/q7xbenchXXXXXX";
    if (!mkdtemp(dir))
        return 1;
    const std::string folder = dir;
    const std::string a = folder + "/a.cfg", b = folder + "/b.cfg";
    q7x::image::writeConfigFile(QString::fromStdString(a),
                                q7x::image::presetImage(q7x::image::DeviceModel::Q72, 1),
                                q7x::image::DeviceModel::Q72);
    q7x::image::writeConfigFile(QString::fromStdString(b),
                                q7x::image::presetImage(q7x::image::DeviceModel::Q72, 4),
                                q7x::image::DeviceModel::Q72);

    std::printf("file commands, median of %d whole processes\n", Runs);
    int failures = 0;
    const double version = median({"--version"}, failures);
    const double show = median({"show", a}, failures);
    const double diff = median({"diff", a, b}, failures, 1);
    // The changed configuration goes to /dev/null, so that every run makes the same change.
    const double set =
        median({"set", a, "recipients.1.phone=+79001234567", "-o", "/dev/null"}, failures);
    if (failures)
        std::printf("  %d runs of the file commands failed\n", failures);
    std::printf("  --version %.1f ms, show %.1f ms (ratio %.2f), diff %.1f ms (ratio %.2f), "
                "set %.1f ms (ratio %.2f)\n",
                version * 1e3, show * 1e3, show / version, diff * 1e3, diff / version, set * 1e3,
                set / version);

    const std::string link = folder + "/tty";
    const pid_t sim = fork();
    if (sim == 0) {
        execl(Q7XSIM_PATH, "q7xsim", "--model", "q72", "--link", link.c_str(), "--wire-timing",
              static_cast<char *>(nullptr));
        _exit(127);
    }
    for (int i = 0; i < 250 && access(link.c_str(), F_OK) != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::vector<std::uint8_t> bytes(702);
    const q7x::image::ConfigImage preset = q7x::image::presetImage(q7x::image::DeviceModel::Q72, 1);
    std::copy(preset.begin(), preset.end(), bytes.begin());

    const struct {
        const char *name;
        LinkOperation op;
        std::vector<std::string> args;
        std::optional<LinkOperation> then;
    } transfers[] = {{"q7xctl read (connect and full Q72 read)",
                      LinkOperation::ReadQ72,
                      {"--lang", "ru", "read", "--port", link, "-o", folder + "/read.cfg"},
                      {}},
                     {"q7xctl write (connect and full Q72 write)",
                      LinkOperation::WriteQ72,
                      {"--lang", "ru", "write", "--port", link, a},
                      {}},
                     // The device holds `a` as written: the one setting is a change to write.
                     {"q7xctl set (connect, full Q72 read, one setting changed, full write)",
                      LinkOperation::ReadQ72,
                      {"--lang", "ru", "set", "--port", link, "recipients.1.phone=+79001234567"},
                      LinkOperation::WriteQ72}};
    for (const auto &t : transfers) {
        std::printf("%s\n", t.name);
        const double minimum =
            PortSettleSeconds +
            (t.then ? q7x::bench::protocolMinimumSeconds({LinkOperation::Connect, t.op, *t.then},
                                                         bytes)
                    : q7x::bench::protocolMinimumSeconds({LinkOperation::Connect, t.op}, bytes));
        int status = -1;
        const double took = timed(t.args, &status);
        failures += status == 0 ? 0 : 1;
        std::printf("  pty with wire timing: %.3f s, minimum %.3f s, ratio %.4f%s\n", took, minimum,
                    took / minimum, status == 0 ? "" : " (command failed)");
    }
    kill(sim, SIGTERM);
    waitpid(sim, nullptr, 0);
    for (const std::string &f : {a, b, folder + "/read.cfg"})
        unlink(f.c_str());
    rmdir(dir);
    return failures == 0 ? 0 : 1;
}
