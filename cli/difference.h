#pragma once
// The settings in which two configurations of one model differ, in the catalogue's order.
#include "cli/fieldtext.h"
#include "cli/jsonwriter.h"
#include "image/configimage.h"

#include <QJsonValue>

namespace q7x::cli {

struct Difference {
    QString key;
    QString page;    // the pages, outer first
    QString setting; // the captions that name it
    QJsonValue a, b; // the values as `show --json` gives them
    QString aText, bText;
};

QList<Difference> differences(image::DeviceModel model, const image::ConfigImage &a,
                              const image::ConfigImage &b, const FieldText &words);

// "--- A", "+++ B", then per setting "page / setting", "- value of A", "+ value of B".
QString describe(const QList<Difference> &diffs, const QString &nameA, const QString &nameB);
JsonNode toJson(const QList<Difference> &diffs);

} // namespace q7x::cli
