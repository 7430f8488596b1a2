#pragma once
// The configuration sheet: the whole configuration of a device on paper, in the interface
// language, for the installer to hand over. A heading (model, firmware when known, date and time,
// configuration file), then every page of the window with its settings as tables: plain settings
// as caption and value, numbered families (recipients, partitions, objects, codes) as one table
// with a row per member, and grids of check boxes as grids. Built from the field catalogue.
#include "image/settings.h"
#include "report/fieldwords.h"

#include <QDateTime>

#include <variant>

class QPagedPaintDevice;

namespace q7x::report {

using Configuration = std::variant<image::Q71Settings, image::Q72Settings>;

struct SheetOptions {
    QString language; // "Russian", "English" or "Turkish": how dates are written
    QString firmware; // the firmware line as the window shows it; empty when not known
    QString fileName; // the configuration file; empty for none
    QDateTime created = QDateTime::currentDateTime();
    bool includePasswords = false; // passwords and the PIN are masked otherwise
};

// The name of the device's model ("Варник-Q72"), a message of MessageTable.
QString modelName(const Configuration &c);
// A date and time as the language writes it.
QString sheetDate(const QDateTime &when, const QString &language);

// The sheet as rich text for QTextDocument. Headings and notes are messages of MessageTable,
// which the caller fills for the sheet's language.
QString sheetHtml(const Configuration &c, const SheetOptions &o, const FieldWords &words);

// Lays the sheet out on the pages of a PDF writer or a printer and paints it, each page with a
// footer naming the device and the page number. False when nothing could be painted.
bool paintSheet(QPagedPaintDevice &device, const Configuration &c, const SheetOptions &o,
                const FieldWords &words);

// Writes the sheet as an A4 PDF file, replacing `path` only when complete. False, with the reason
// in `error`, when the file cannot be written.
bool writeSheetPdf(const QString &path, const Configuration &c, const SheetOptions &o,
                   const FieldWords &words, QString *error = nullptr);

// The settings of a stored image of the model; its damaged fields, if asked for, in `errors`.
Configuration decodeConfiguration(image::DeviceModel model, const image::ConfigImage &img,
                                  QList<image::FieldError> *errors = nullptr);

// The sheet without the window, for a command-line tool: fills the message table with the
// messages of `o.language` and names the settings with its window texts, both from the language
// libraries in `libraryFolder` (empty: where the program finds its shipped files), then writes
// the PDF file as writeSheetPdf does. False, with the reason in `error`, when the language has no
// message library there or the file cannot be written.
bool writeSheetPdfInLanguage(const QString &path, const Configuration &c, const SheetOptions &o,
                             const QString &libraryFolder = {}, QString *error = nullptr);

} // namespace q7x::report
