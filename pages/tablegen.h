#pragma once
// Sources of the window's translation tables. Every text the translation walk numbers gets a
// stable identifier ("rs" + form + "_" + component + "_Caption" / "_Text" / "_Item" k) and its
// number; translators work on files keyed by identifier, and the build numbers them with the
// walk of the real window, so a new control never shifts a translation.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace q7x::pages {

struct TableEntry {
    int textId = 0;
    QString identifier;
    QString text;
};

// The texts of the forms as the translation walk numbers them, without changing any.
QList<TableEntry> GenerateTable(const QList<QWidget *> &forms);

// A text as a resource-script string literal: quotes doubled, backslashes and line breaks
// escaped.
QByteArray RcLiteral(const QString &text);

// "#define <identifier> <literal>" lines, UTF-8.
QByteArray TableHeader(const QList<TableEntry> &entries);
// The string table giving every identifier its number, and the index of the identifiers that
// WindowTexts reads; it includes the header by name. primary and sub are the LANGUAGE tag of the
// library.
QByteArray TableScript(const QList<TableEntry> &entries, const QString &headerName, int primary,
                       int sub);

// The file names the generator writes for a form: "<form>_outf.h" and "<form>_outf.rc".
QString TableHeaderName(const QString &base);
QString TableScriptName(const QString &base);

// Writes the two files into the folder; false when one cannot be written.
bool WriteTable(const QString &folder, const QString &base, const QList<TableEntry> &entries,
                int primary = 0x19, int sub = 0x01);

// A translation file: UTF-8 lines "identifier=text"; "#" starts a comment line; in the text,
// "\n" is a line break and "\\" a backslash. Problems (malformed lines, duplicates, bad UTF-8)
// are appended to errors.
struct Translations {
    QHash<QString, QString> texts;
    QStringList order;
};
Translations ParseTranslations(const QByteArray &data, const QString &fileName,
                               QStringList &errors);

// The table with every text replaced by its translation. A text the walk numbers must have a
// non-empty translation of at most 99 characters unless it is a fixed text (a number, blanks),
// which stays as it is; every miss is appended to errors. Identifiers the walk does not know
// are appended to warnings.
QList<TableEntry> TranslateTable(const QList<TableEntry> &table, const Translations &translations,
                                 const QString &fileName, QStringList &errors,
                                 QStringList &warnings);

// A translation file for translators: every identifier that needs a translation, preceded by
// its Russian text as a comment, with the existing translation when there is one.
QByteArray TranslationTemplate(const QList<TableEntry> &table, const Translations &existing);

} // namespace q7x::pages
