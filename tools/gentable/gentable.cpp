// Build-time table generator: builds the main window offscreen, numbers its texts with the
// translation walk at the moment the start-up translation would run, and writes
//   OUTDIR/MainForm_outf.h, OUTDIR/MainForm_outf.rc   the built-in (Russian) texts, except
//                                                    those too long for a library string
//   OUTDIR/<name>_outf.h, OUTDIR/<name>.rc            per translation file
// Usage:
//   q7x_gentable OUTDIR [name=FILE:PRIMARY:SUB ...]
//   q7x_gentable --template FILE [EXISTING]   (a file for translators, with the Russian texts)
// Fails (exit code 1) when a translation misses a text of the window or is malformed.
#include "app/mainform.h"
#include "lang/resourcelibrary.h"
#include "pages/tablegen.h"
#include "pages/translatewalk.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <cstdio>

using namespace q7x;

namespace {

void say(const QString &s) { std::fprintf(stderr, "%s\n", s.toLocal8Bit().constData()); }

QByteArray readAll(const QString &path, bool &ok) {
    QFile f(path);
    ok = f.open(QIODevice::ReadOnly);
    return ok ? f.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &data) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(data);
    return f.commit();
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        say(QStringLiteral("usage: q7x_gentable OUTDIR [name=FILE:PRIMARY:SUB ...] | --template "
                           "FILE [EXISTING]"));
        return 2;
    }

    QList<pages::TableEntry> table;
    QString formName;
    pages::SetTranslationInterceptor([&](const QList<QWidget *> &forms) {
        table = pages::GenerateTable(forms);
        if (!forms.isEmpty())
            formName = forms.first()->objectName();
    });
    pages::RecordingDialogs dialogs;
    { app::TMainForm window(&dialogs); }
    pages::SetTranslationInterceptor({});
    if (table.isEmpty()) {
        say(QStringLiteral("the window has no translatable texts"));
        return 1;
    }

    QStringList errors;
    QStringList warnings;
    QStringList notes; // expected and handled; said so that the build log explains the table
    if (args[0] == QLatin1String("--template")) {
        if (args.size() < 2)
            return 2;
        pages::Translations existing;
        if (args.size() > 2) {
            bool ok = false;
            existing = pages::ParseTranslations(readAll(args[2], ok), args[2], errors);
        }
        if (!writeAll(args[1], pages::TranslationTemplate(table, existing)))
            errors << QStringLiteral("cannot write %1").arg(args[1]);
    } else {
        const QString out = args[0];
        QDir().mkpath(out);
        // A built-in text longer than a library string can carry would come back cut; the
        // Russian library leaves it out, so the window keeps it whole.
        QList<pages::TableEntry> russian = table;
        for (pages::TableEntry &e : russian)
            if (e.text.size() > lang::WindowTextMaxLength) {
                notes << QStringLiteral("%1 is longer than %2 characters: the Russian library "
                                        "leaves it out")
                             .arg(e.identifier)
                             .arg(lang::WindowTextMaxLength);
                e.text.clear();
            }
        if (!pages::WriteTable(out, formName, russian))
            errors << QStringLiteral("cannot write the table into %1").arg(out);
        for (int i = 1; i < args.size(); ++i) {
            // name=FILE:PRIMARY:SUB
            const int eq = args[i].indexOf(QLatin1Char('='));
            const QStringList parts = args[i].mid(eq + 1).split(QLatin1Char(':'));
            if (eq <= 0 || parts.size() < 3) {
                errors << QStringLiteral("bad argument %1").arg(args[i]);
                continue;
            }
            const QString name = args[i].left(eq);
            const QString file = parts.mid(0, parts.size() - 2).join(QLatin1Char(':'));
            bool ok = false;
            const QByteArray data = readAll(file, ok);
            if (!ok) {
                errors << QStringLiteral("cannot read %1").arg(file);
                continue;
            }
            const pages::Translations tr = pages::ParseTranslations(data, file, errors);
            const QList<pages::TableEntry> translated =
                pages::TranslateTable(table, tr, file, errors, warnings);
            const int primary = parts[parts.size() - 2].toInt(&ok, 0);
            const int sub = parts.last().toInt(&ok, 0);
            const QDir dir(out);
            const QString header = name + QStringLiteral("_outf.h");
            if (!writeAll(dir.filePath(header), pages::TableHeader(translated)) ||
                !writeAll(dir.filePath(name + QStringLiteral(".rc")),
                          pages::TableScript(translated, header, primary, sub)))
                errors << QStringLiteral("cannot write %1").arg(name);
        }
    }
    for (const QString &n : notes)
        say(QStringLiteral("note: ") + n);
    for (const QString &w : warnings)
        say(QStringLiteral("warning: ") + w);
    for (const QString &e : errors)
        say(QStringLiteral("error: ") + e);
    return errors.isEmpty() ? 0 : 1;
}
