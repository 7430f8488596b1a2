#pragma once
// The progress of a transfer on stderr, when stderr is a terminal: one line redrawn in place at
// most ten times a second, cleared when the transfer ends. The line fits the terminal's width as
// it is at each redraw, so it never wraps (a wrapped line cannot be redrawn in place). Nothing is
// drawn otherwise, so a script's log stays clean.
#include <QString>

#include <chrono>
#include <cstdio>

namespace q7x::cli {

class ProgressBar {
  public:
    using Clock = std::chrono::steady_clock;
    // Draws on `out` when `enabled`; `label` goes before the bar ("Writing...").
    ProgressBar(std::FILE *out, bool enabled, QString label);
    ~ProgressBar() { finish(); }
    ProgressBar(const ProgressBar &) = delete;
    ProgressBar &operator=(const ProgressBar &) = delete;

    // True when stderr is a terminal.
    static bool stderrIsTerminal();
    // The width of the terminal `fd` is, else $COLUMNS, else 80.
    static int columns(int fd);

    void set(int percent, Clock::time_point now = Clock::now());
    // Clears the line, if anything was drawn.
    void finish();

    // The line for `percent` in `columns` columns, without the control codes: the label (cut
    // short when it must be), the bar and the percentage, one column short of the edge.
    static QString line(const QString &label, int percent, int columns);

    static constexpr auto MinInterval = std::chrono::milliseconds(100);
    static constexpr int Width = 30;    // the bar's widest
    static constexpr int MinWidth = 10; // the label gives way before the bar gets narrower

  private:
    std::FILE *m_out;
    bool m_enabled;
    QString m_label;
    bool m_drawn = false;
    int m_percent = -1;
    Clock::time_point m_last{};
};

} // namespace q7x::cli
