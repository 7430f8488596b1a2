// Start-up benchmark: process start to the end of the first show of the main window, against a
// minimal Qt window started the same way in the same run. Prints medians, the time ratio and the
// peak-memory ratio.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Sample {
    double ms = 0;
    long rssKb = 0;
};

Sample runOnce(const std::string &probe, const char *kind) {
    int fds[2];
    if (pipe(fds) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        close(fds[0]);
        close(fds[1]);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        execl(probe.c_str(), probe.c_str(), kind, static_cast<char *>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    char buf[16];
    Sample s;
    if (read(fds[0], buf, sizeof buf) > 0)
        s.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                   .count();
    close(fds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || s.ms == 0) {
        std::fprintf(stderr, "probe %s failed\n", kind);
        std::exit(1);
    }
    s.rssKb = usage.ru_maxrss;
    return s;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

} // namespace

int main(int argc, char **argv) {
    const std::string probe = argc > 1 ? argv[1] : "../../app/q7x_startup_probe";
    const int runs = argc > 2 ? std::max(5, std::atoi(argv[2])) : 9;
    runOnce(probe, "minimal"); // warm the file cache for both
    runOnce(probe, "window");
    std::vector<double> tw, tm, rw, rm;
    for (int i = 0; i < runs; ++i) {
        const Sample m = runOnce(probe, "minimal");
        const Sample w = runOnce(probe, "window");
        tm.push_back(m.ms);
        tw.push_back(w.ms);
        rm.push_back(double(m.rssKb));
        rw.push_back(double(w.rssKb));
    }
    const double mt = median(tm), wt = median(tw), mr = median(rm), wr = median(rw);
    std::printf("start-up to end of first show, median of %d runs (offscreen platform)\n", runs);
    std::printf("  minimal Qt window : %8.1f ms  peak RSS %8.0f KiB\n", mt, mr);
    std::printf("  q7xconf window    : %8.1f ms  peak RSS %8.0f KiB\n", wt, wr);
    std::printf("  time ratio        : %.2fx\n", wt / mt);
    std::printf("  peak memory ratio : %.2fx\n", wr / mr);
    return 0;
}
