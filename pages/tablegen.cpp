#include "pages/tablegen.h"

#include "lang/resourcelibrary.h"
#include "lang/windowtexts.h"
#include "pages/translatewalk.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace q7x::pages {

using namespace q7x::lang;

QList<TableEntry> GenerateTable(const QList<QWidget *> &forms) {
    QList<TableEntry> out;
    WalkForms(forms, [&out](int id, const QString &identifier, const QString &current) {
        out.append({id, identifier, current});
        return QString();
    });
    return out;
}

QByteArray RcLiteral(const QString &text) {
    QString s;
    s.reserve(text.size() + 2);
    s += QLatin1Char('"');
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            s += QStringLiteral("\"\"");
        else if (c == QLatin1Char('\\'))
            s += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            s += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            s += QStringLiteral("\\r");
        else if (c == QLatin1Char('\t'))
            s += QStringLiteral("\\t");
        else
            s += c;
    }
    s += QLatin1Char('"');
    return s.toUtf8();
}

QByteArray TableHeader(const QList<TableEntry> &entries) {
    QByteArray out;
    for (const TableEntry &e : entries)
        out += "#define " + e.identifier.toUtf8() + ' ' + RcLiteral(e.text) + '\n';
    return out;
}

QByteArray TableScript(const QList<TableEntry> &entries, const QString &headerName, int primary,
                       int sub) {
    QByteArray out = "#include \"" + headerName.toUtf8() + "\"\n\n";
    out += QStringLiteral("LANGUAGE 0x%1, 0x%2\n")
               .arg(primary, 2, 16, QLatin1Char('0'))
               .arg(sub, 2, 16, QLatin1Char('0'))
               .toLatin1();
    out += "STRINGTABLE\n{\n";
    for (const TableEntry &e : entries)
        out += "  " + QByteArray::number(e.textId) + ", " + e.identifier.toUtf8() + '\n';
    out += "}\n";
    // The identifiers in numbering order (entry i has number i + 1), so that a tool without the
    // window finds texts by name.
    if (entries.isEmpty())
        return out;
    out += QByteArray(TextIndexResource) + " RCDATA\n{\n";
    for (int i = 0; i < entries.size(); ++i)
        out += "  " + RcLiteral(entries[i].identifier + QLatin1Char('\n')) +
               (i + 1 < entries.size() ? ",\n" : "\n");
    out += "}\n";
    return out;
}

QString TableHeaderName(const QString &base) { return base + QStringLiteral("_outf.h"); }

QString TableScriptName(const QString &base) { return base + QStringLiteral("_outf.rc"); }

static bool writeFile(const QString &path, const QByteArray &data) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(data);
    return f.commit();
}

bool WriteTable(const QString &folder, const QString &base, const QList<TableEntry> &entries,
                int primary, int sub) {
    const QDir dir(folder);
    return writeFile(dir.filePath(TableHeaderName(base)), TableHeader(entries)) &&
           writeFile(dir.filePath(TableScriptName(base)),
                     TableScript(entries, TableHeaderName(base), primary, sub));
}

static QString unescape(const QString &s) {
    QString out;
    out.reserve(s.size());
    for (int i = 0; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('\\') && i + 1 < s.size()) {
            const QChar n = s[i + 1];
            if (n == QLatin1Char('n')) {
                out += QLatin1Char('\n');
                ++i;
                continue;
            }
            if (n == QLatin1Char('\\')) {
                out += QLatin1Char('\\');
                ++i;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

static bool isIdentifier(const QString &s) {
    if (s.isEmpty() || s[0].isDigit())
        return false;
    for (const QChar c : s)
        if (!(c.unicode() < 128 && (c.isLetterOrNumber() || c == QLatin1Char('_'))))
            return false;
    return true;
}

Translations ParseTranslations(const QByteArray &data, const QString &fileName,
                               QStringList &errors) {
    Translations out;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString all = utf8.decode(data);
    if (utf8.hasError()) {
        errors << QStringLiteral("%1: not valid UTF-8").arg(fileName);
        return out;
    }
    const QStringList lines = all.split(QLatin1Char('\n'));
    for (int n = 0; n < lines.size(); ++n) {
        QString line = lines[n];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const int eq = line.indexOf(QLatin1Char('='));
        const QString id = eq < 0 ? QString() : line.left(eq).trimmed();
        if (!isIdentifier(id)) {
            errors << QStringLiteral("%1:%2: expected identifier=text").arg(fileName).arg(n + 1);
            continue;
        }
        if (out.texts.contains(id)) {
            errors << QStringLiteral("%1:%2: %3 given twice").arg(fileName).arg(n + 1).arg(id);
            continue;
        }
        out.texts.insert(id, unescape(line.mid(eq + 1)));
        out.order << id;
    }
    return out;
}

QList<TableEntry> TranslateTable(const QList<TableEntry> &table, const Translations &translations,
                                 const QString &fileName, QStringList &errors,
                                 QStringList &warnings) {
    QList<TableEntry> out;
    QSet<QString> known;
    for (const TableEntry &e : table) {
        known.insert(e.identifier);
        TableEntry t = e;
        const QString text = translations.texts.value(e.identifier);
        if (!text.isEmpty())
            t.text = text;
        else if (!IsFixedText(e.text))
            errors << QStringLiteral("%1: no translation of %2 (\"%3\")")
                          .arg(fileName, e.identifier, e.text);
        if (t.text.size() > WindowTextMaxLength)
            errors << QStringLiteral("%1: %2 is longer than %3 characters")
                          .arg(fileName, e.identifier)
                          .arg(WindowTextMaxLength);
        out << t;
    }
    for (const QString &id : translations.order)
        if (!known.contains(id))
            warnings << QStringLiteral("%1: %2 is not a text of the window").arg(fileName, id);
    return out;
}

QByteArray TranslationTemplate(const QList<TableEntry> &table, const Translations &existing) {
    QByteArray out;
    for (const TableEntry &e : table) {
        if (IsFixedText(e.text) && !existing.texts.contains(e.identifier))
            continue;
        QString shown = e.text;
        shown.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
        QString text = existing.texts.value(e.identifier);
        text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
        text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
        out += "# " + shown.toUtf8() + '\n' + e.identifier.toUtf8() + '=' + text.toUtf8() + '\n';
    }
    return out;
}

} // namespace q7x::pages
