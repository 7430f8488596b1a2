#include "cli/sites.h"

#include "cli/run.h"
#include "lang/messagetable.h"

namespace q7x::cli {

namespace {

// The lines of the file split into values; a quoted value may hold separators, quotes and line
// ends. Each record keeps the number of the line it starts on.
struct Record {
    int line = 0;
    QStringList values;
};

QList<Record> records(const QString &text, QChar separator, bool &unterminated) {
    QList<Record> out;
    Record r{1, {}};
    QString value;
    bool quoted = false, wasQuoted = false, any = false;
    int line = 1;
    const auto endValue = [&] {
        r.values << (wasQuoted ? value : value.trimmed());
        value.clear();
        wasQuoted = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                value += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                line += c == QLatin1Char('\n') ? 1 : 0;
                value += c;
            }
            continue;
        }
        if (c == QLatin1Char('"') && value.trimmed().isEmpty()) {
            value.clear();
            quoted = wasQuoted = any = true;
        } else if (c == separator) {
            endValue();
            any = true;
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            endValue();
            if (any || r.values.size() > 1 || !r.values.value(0).isEmpty())
                out << r;
            r = Record{++line, {}};
            any = false;
        } else {
            value += c;
            any = any || !c.isSpace();
        }
    }
    unterminated = quoted;
    endValue();
    if (any || r.values.size() > 1 || !r.values.value(0).isEmpty())
        out << r;
    return out;
}

} // namespace

Sites readSites(const QByteArray &bytes, const QString &fileName) {
    Sites out;
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF))) // the mark some spreadsheets put first
        text.remove(0, 1);
    const QString head = text.section(QLatin1Char('\n'), 0, 0);
    QChar separator = QLatin1Char(',');
    for (const QChar c : {QLatin1Char(';'), QLatin1Char('\t')})
        if (head.count(c) > head.count(separator))
            separator = c;
    bool unterminated = false;
    const QList<Record> all = records(text, separator, unterminated);
    if (unterminated)
        out.errors << lang::FormatM(1925, {fileName});
    if (all.isEmpty() || all.first().values.join(QString()).trimmed().isEmpty()) {
        out.errors << lang::FormatM(1926, fileName);
        return out;
    }
    out.keys = all.first().values;
    for (const QString &key : out.keys)
        if (key.isEmpty() || out.keys.count(key) > 1) {
            out.errors << lang::FormatM(1927, {fileName, printable(key)});
            return out;
        }
    for (qsizetype i = 1; i < all.size(); ++i) {
        const Record &r = all[i];
        if (r.values.size() != out.keys.size()) {
            out.errors << lang::FormatM(1928, {fileName, QString::number(r.line),
                                               QString::number(r.values.size()),
                                               QString::number(out.keys.size())});
            continue;
        }
        QList<Change> row;
        for (qsizetype k = 0; k < r.values.size(); ++k) {
            if (r.values[k].isEmpty())
                continue;
            Change c;
            c.key = out.keys[k];
            c.text = r.values[k];
            c.origin = lang::FormatM(1929, {fileName, QString::number(r.line)});
            row << c;
        }
        out.rows << row;
        out.lines << r.line;
    }
    if (out.rows.isEmpty() && out.errors.isEmpty())
        out.errors << lang::FormatM(1930, fileName);
    return out;
}

} // namespace q7x::cli
