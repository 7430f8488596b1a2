#include "cli/progressbar.h"

#include <algorithm>
#include <sys/ioctl.h>
#include <unistd.h>

namespace q7x::cli {

namespace {

// The start of a text that takes `columns` columns, one a character as for every script of the
// three languages (a character beyond the first plane takes two code units, one column).
qsizetype lengthOfColumns(const QString &text, int columns) {
    qsizetype at = 0;
    for (int c = 0; c < columns && at < text.size(); ++c)
        at += text[at].isHighSurrogate() && at + 1 < text.size() ? 2 : 1;
    return at;
}

int widthOf(const QString &text) {
    return int(
        std::count_if(text.begin(), text.end(), [](QChar c) { return !c.isLowSurrogate(); }));
}

} // namespace

ProgressBar::ProgressBar(std::FILE *out, bool enabled, QString label)
    : m_out(out), m_enabled(enabled), m_label(std::move(label)) {}

bool ProgressBar::stderrIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

int ProgressBar::columns(int fd) {
    winsize size{};
    if (::ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    bool ok = false;
    const int fromEnvironment = qEnvironmentVariableIntValue("COLUMNS", &ok);
    return ok && fromEnvironment > 0 ? fromEnvironment : 80;
}

QString ProgressBar::line(const QString &label, int percent, int columns) {
    // "LABEL [####......] 100%": the label and a blank, the bar in brackets, a blank and four
    // columns of percentage; the last column stays free, so the cursor never wraps.
    const int room = columns - 1;
    const QString number = QStringLiteral("%1%").arg(percent, 3);
    const int bar =
        std::clamp(room - widthOf(label) - 1 - 2 - 1 - int(number.size()), MinWidth, Width);
    QString shown = label;
    const int labelRoom = room - bar - 4 - int(number.size());
    if (labelRoom < 2) {
        // Too narrow for a label and a bar: the percentage alone.
        return room >= int(number.size()) ? number : QString();
    }
    if (widthOf(shown) > labelRoom)
        shown = shown.left(lengthOfColumns(shown, labelRoom - 1)) + QChar(0x2026);
    const int filled = percent * bar / 100;
    return QStringLiteral("%1 [%2%3] %4")
        .arg(shown, QString(filled, QLatin1Char('#')), QString(bar - filled, QLatin1Char('.')),
             number);
}

void ProgressBar::set(int percent, Clock::time_point now) {
    percent = std::clamp(percent, 0, 100);
    if (!m_enabled || percent == m_percent)
        return;
    // The end of a transfer is always shown; steps between are thinned to the redraw rate.
    if (m_drawn && percent != 100 && now - m_last < MinInterval)
        return;
    m_percent = percent;
    m_last = now;
    const QByteArray bytes = (QLatin1Char('\r') + line(m_label, percent, columns(::fileno(m_out))) +
                              QStringLiteral("\x1b[K"))
                                 .toUtf8();
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
