#include "cli/progressbar.h"

#include <algorithm>
#include <unistd.h>

namespace q7x::cli {

ProgressBar::ProgressBar(std::FILE *out, bool enabled, QString label)
    : m_out(out), m_enabled(enabled), m_label(std::move(label)) {}

bool ProgressBar::stderrIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

void ProgressBar::set(int percent, Clock::time_point now) {
    percent = std::clamp(percent, 0, 100);
    if (!m_enabled || percent == m_percent)
        return;
    // The end of a transfer is always shown; steps between are thinned to the redraw rate.
    if (m_drawn && percent != 100 && now - m_last < MinInterval)
        return;
    m_percent = percent;
    m_last = now;
    const int filled = percent * Width / 100;
    const QString line = QStringLiteral("\r%1 [%2%3] %4%\x1b[K")
                             .arg(m_label, QString(filled, QLatin1Char('#')),
                                  QString(Width - filled, QLatin1Char('.')))
                             .arg(percent, 3);
    const QByteArray bytes = line.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), m_out);
    std::fflush(m_out);
    m_drawn = true;
}

void ProgressBar::finish() {
    if (!m_drawn)
        return;
    std::fputs("\r\x1b[K", m_out);
    std::fflush(m_out);
    m_drawn = false;
    m_percent = -1;
}

} // namespace q7x::cli
