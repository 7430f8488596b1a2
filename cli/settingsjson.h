#pragma once
// Settings as JSON, for programs and for hand edits: `show --json` writes them, `import` reads
// them back, `set --from` and `import --base` read some of them as changes.
//
//   {"$schema": "file:///usr/share/q7xconf/q7xctl.schema.json",
//    "format": "q7xctl-settings", "version": 2, "model": "Q72",
//    "settings": {"workMode": "W40", "checkConnect": 20, ...,
//                 "recipients": {"1": {"phone": "+79001234567", "notification": "smsBlitz", ...},
//                                ...}, ...},
//    "damaged": ["recipients.2.phone"], "stored": "0102..."}
//
// "settings" holds every setting of the model's field catalogue in the window's order, nested
// by the parts of its key ("recipients.1.phone" is settings.recipients["1"].phone), each value
// as cli/settingvalues.h gives it. Settings the window derives from others are there too (the
// relay mode); import checks that they agree. "damaged" names the settings whose bytes failed
// their check (their values are fall-backs); it is left out when there is none. "stored" holds
// the image the settings were read from, so that import gives back every byte that no changed
// setting rewrites; both are optional for import.
//
// Version 1, which earlier releases wrote, is still read: flat keys, a list as its 0-based item,
// a group password as six hexadecimal digits of its cells. The schema installed beside the
// program (q7xctl.schema.json) describes version 2 and every other JSON the program prints.
#include "cli/changes.h"
#include "cli/fieldtext.h"
#include "cli/jsonwriter.h"
#include "image/catalogue.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace q7x::cli {

// The largest settings JSON read: far more than any settings file holds; a larger input is not one.
inline constexpr qint64 MaxJsonSize = 16 * 1024 * 1024;

inline constexpr const char *SettingsFormat = "q7xctl-settings";
inline constexpr int JsonVersion = 2;
inline constexpr const char *SchemaFileName = "q7xctl.schema.json";

// Where the program finds its schema, as a URI ("file:///usr/share/q7xconf/q7xctl.schema.json").
QString schemaLocation();
// A document of `format` as every JSON the program prints begins: "$schema", "format",
// "version".
JsonNode jsonDocument(const QString &format);

// The value of `key` placed in `settings` by the parts of the key.
void putSetting(JsonNode &settings, const QString &key, const QJsonValue &value);

// The settings of a decoded image.
JsonNode settingsToJson(image::DeviceModel model, const image::ConfigImage &image);

struct ImportedSettings {
    image::DeviceModel model = image::DeviceModel::Q72;
    image::ConfigImage image{};
    QStringList errors; // in the interface language, every one found; empty on success
};
// Every setting of the model must be given. Unknown and missing keys, values of the wrong kind,
// values the encoder cannot store (with the setting's caption and what it may hold), settings of
// the other model and settings still marked damaged are errors.
ImportedSettings settingsFromJson(const QByteArray &json, const QString &fileName,
                                  const FieldText &words);

struct PartialSettings {
    std::optional<image::DeviceModel> model; // when the file names one
    QList<Change> changes;                   // in the file's order; each names the file
    QStringList errors;
};
// Some settings, of either version, as changes of a configuration.
PartialSettings partialSettings(const QByteArray &json, const QString &fileName);

} // namespace q7x::cli
