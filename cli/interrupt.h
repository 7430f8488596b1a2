#pragma once
// Ctrl+C on the command line: it cancels the link operation in progress as the window's Cancel
// does (the engine's flag is set and its pending transfer or pause wakes at once), and every wait
// of the program ends. SIGINT is taken by a thread of its own with sigwait(), so nothing runs in
// a signal handler; a second Ctrl+C ends the program at once.
namespace q7x::link {
class LinkEngine;
}

namespace q7x::cli {

class Interrupt {
  public:
    // Blocks SIGINT in this thread (and every thread started later) and starts the watcher.
    // Call before any other thread starts.
    static void install();
    static bool requested();

    // While a Guard lives, Ctrl+C cancels its engine.
    class Guard {
      public:
        explicit Guard(link::LinkEngine &engine);
        ~Guard();
        Guard(const Guard &) = delete;
        Guard &operator=(const Guard &) = delete;
    };

    // Waits `ms` milliseconds; false when Ctrl+C came first (or before).
    static bool sleep(int ms);
};

} // namespace q7x::cli
