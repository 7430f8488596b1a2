#pragma once
// Settings as JSON, for programs: `show --json` writes them, `import` reads them back.
//
//   {"format": "q7xctl-settings", "version": 1, "model": "Q72",
//    "settings": {"workMode": 1, "recipients.1.phone": "+79001234567", ...}}
//
// "settings" holds every setting of the model's field catalogue by its key: a list item as its
// 0-based number (null when no item shows the stored value), a check box or two-item choice as
// true or false, a text as a string, an object number as a number (0: none), a group password as
// six hexadecimal digits of its three stored cells ("12345F"). Settings the window derives from
// others (the relay mode) are left out. The manual page describes the schema.
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
    image::ConfigImage image{}; // as the encoder stores the settings
    QString error;              // in the interface language; empty on success
};
// Every setting of the model must be given; an unknown key, a missing one or a value of the
// wrong kind is an error, and so is a value the encoder cannot store.
ImportedSettings settingsFromJson(const QByteArray &json, const QString &fileName);

} // namespace q7x::cli
