#include "lang/messagetable.h"

namespace q7x::lang {

MessageArray &MessageTable() {
    static MessageArray table;
    return table;
}

QString M(int number) {
    const int k = number - 1000;
    if (k < 0 || k >= MessageCount)
        return {};
    return MessageTable()[static_cast<std::size_t>(k)];
}

// Replaces, in order, each "%d" or "%s" (any of `conversions`) with the next argument while
// arguments are left; "%%" gives "%", any other "%" is kept.
static QString substitute(const QString &format, const QString &conversions,
                          const QStringList &arguments) {
    QString out;
    out.reserve(format.size());
    qsizetype used = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        const QChar next = i + 1 < format.size() ? format.at(i + 1) : QChar();
        if (c == QLatin1Char('%') && next == QLatin1Char('%')) {
            out += c;
            ++i;
        } else if (c == QLatin1Char('%') && !next.isNull() && conversions.contains(next) &&
                   used < arguments.size()) {
            out += arguments[used++];
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

QString FormatM(int number, int value) {
    return substitute(M(number), QStringLiteral("d"), {QString::number(value)});
}

QString FormatM(int number, const QString &text) {
    return substitute(M(number), QStringLiteral("s"), {text});
}

QString FormatM(int number, const QStringList &arguments) {
    return substitute(M(number), QStringLiteral("ds"), arguments);
}

} // namespace q7x::lang
