#pragma once
// Settings as JSON, for programs: `show --json` writes them, `import` reads them back.
//
//   {"format": "q7xctl-settings", "version": 1, "model": "Q72",
//    "settings": {"workMode": 1, "recipients.1.phone": "+79001234567", ...},
//    "damaged": ["recipients.2.phone"], "stored": "0102..."}
//
// "settings" holds every setting of the model's field catalogue by its key: a list item as its
// 0-based number (null when no item shows the stored value), a check box or two-item choice as
// true or false, a text as a string, an object number as a number (0: none), a group password as
// six hexadecimal digits of its three stored cells ("12345F"). Settings the window derives from
// others (the relay mode) are left out. "damaged" names the settings whose bytes failed their
// check (their values are fall-backs); it is left out when there is none. "stored" holds the
// image the settings were read from, so that import gives back every byte that no changed setting
// rewrites; both are optional for import. The manual page describes the schema.
#include "cli/fieldtext.h"
#include "image/catalogue.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

namespace q7x::cli {

inline constexpr const char *SettingsFormat = "q7xctl-settings";
inline constexpr int SettingsVersion = 1;

// One setting's value as JSON, by the rules above.
QJsonValue settingJson(const QVariant &value, image::FieldKind kind);

// The settings of a decoded image.
QJsonObject settingsToJson(image::DeviceModel model, const image::ConfigImage &image);

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

} // namespace q7x::cli
