#pragma once
// The values each device of a batch gets (clone --per-device): a CSV file whose header names
// settings by their keys and whose rows give one device's values each, in the order the devices
// come. Commas, semicolons (as spreadsheets write in many locales) or tabs separate the values,
// whichever the header uses; a value may be quoted ("a, b", "say ""hi"""); an empty value leaves
// the setting as the configuration file has it; blank lines are skipped.
#include "cli/changes.h"

namespace q7x::cli {

struct Sites {
    QStringList keys;
    QList<QList<Change>> rows; // each change names its line of the file in `origin`
    QList<int> lines;          // the line of each row in the file
    QStringList errors;
};

Sites readSites(const QByteArray &text, const QString &fileName);

} // namespace q7x::cli
