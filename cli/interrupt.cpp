#include "cli/interrupt.h"

#include "cli/run.h"
#include "link/linkengine.h"

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace q7x::cli {

namespace {

std::mutex mutex;
std::condition_variable woken;
bool interrupted = false;
link::LinkEngine *engine = nullptr;

void watch(sigset_t set) {
    for (;;) {
        int signal = 0;
        if (sigwait(&set, &signal) != 0)
            continue;
        std::lock_guard lock(mutex);
        if (interrupted)
            _exit(Cancelled); // a second Ctrl+C: the user does not want to wait
        interrupted = true;
        if (engine)
            engine->cancel();
        woken.notify_all();
    }
}

} // namespace

void Interrupt::install() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    std::thread(watch, set).detach();
}

bool Interrupt::requested() {
    std::lock_guard lock(mutex);
    return interrupted;
}

Interrupt::Guard::Guard(link::LinkEngine &e) {
    std::lock_guard lock(mutex);
    engine = &e;
    if (interrupted)
        e.cancel();
}

Interrupt::Guard::~Guard() {
    std::lock_guard lock(mutex);
    engine = nullptr;
}

bool Interrupt::sleep(int ms) {
    std::unique_lock lock(mutex);
    return !woken.wait_for(lock, std::chrono::milliseconds(ms), [] { return interrupted; });
}

} // namespace q7x::cli
