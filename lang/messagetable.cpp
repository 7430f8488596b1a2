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

static QString substitute(const QString &format, QChar conversion, const QString &argument) {
    QString out;
    out.reserve(format.size() + argument.size());
    bool used = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        const QChar next = i + 1 < format.size() ? format.at(i + 1) : QChar();
        if (c == QLatin1Char('%') && next == QLatin1Char('%')) {
            out += c;
            ++i;
        } else if (c == QLatin1Char('%') && next == conversion && !used) {
            out += argument;
            used = true;
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

QString FormatM(int number, int value) {
    return substitute(M(number), QLatin1Char('d'), QString::number(value));
}

QString FormatM(int number, const QString &text) {
    return substitute(M(number), QLatin1Char('s'), text);
}

} // namespace q7x::lang
