#include "cli/settingsjson.h"

#include "image/presets.h"
#include "lang/messagetable.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace q7x::cli {

namespace {

QVariant fromJson(const QJsonValue &v, image::FieldKind kind) {
    switch (kind) {
    case image::FieldKind::List:
        if (v.isNull())
            return image::NoItem;
        [[fallthrough]];
    case image::FieldKind::Object:
        return v.isDouble() ? QVariant(v.toDouble()) : QVariant();
    case image::FieldKind::Choice:
    case image::FieldKind::Flag:
        return v.isBool() ? QVariant(v.toBool()) : QVariant();
    case image::FieldKind::Text:
    case image::FieldKind::Password:
        return v.isString() ? QVariant(v.toString()) : QVariant();
    }
    return {};
}

template <class S> QJsonObject toJson(const QList<image::CatalogueField<S>> &fields, const S &s) {
    QJsonObject out;
    for (const auto &f : fields)
        if (f.set)
            out.insert(f.key, settingJson(f.get(s), f.kind));
    return out;
}

template <class S>
ImportedSettings fromJson(const QList<image::CatalogueField<S>> &fields, const QJsonObject &json,
                          S s, image::Encoded (*encode)(const S &), const QString &fileName) {
    ImportedSettings out;
    QStringList known;
    for (const auto &f : fields) {
        if (!f.set)
            continue;
        known << f.key;
        if (!json.contains(f.key)) {
            out.error = lang::FormatM(1812, {fileName, f.key});
            return out;
        }
        const QVariant value = fromJson(json.value(f.key), f.kind);
        if (!value.isValid() || !f.set(s, value)) {
            out.error = lang::FormatM(1813, {fileName, f.key});
            return out;
        }
    }
    for (auto it = json.begin(); it != json.end(); ++it)
        if (!known.contains(it.key())) {
            out.error = lang::FormatM(1811, {fileName, it.key()});
            return out;
        }
    const image::Encoded encoded = encode(s);
    if (!encoded.ok()) {
        out.error = lang::FormatM(1814, {fileName, encoded.key, encoded.error});
        return out;
    }
    out.image = encoded.image;
    return out;
}

} // namespace

QJsonValue settingJson(const QVariant &v, image::FieldKind kind) {
    if (kind == image::FieldKind::List && v.toInt() == image::NoItem)
        return QJsonValue::Null;
    return QJsonValue::fromVariant(v);
}

QJsonObject settingsToJson(image::DeviceModel model, const image::ConfigImage &img) {
    QJsonObject out;
    out.insert(QStringLiteral("format"), QLatin1String(SettingsFormat));
    out.insert(QStringLiteral("version"), SettingsVersion);
    const bool q71 = model == image::DeviceModel::Q71;
    out.insert(QStringLiteral("model"), q71 ? QStringLiteral("Q71") : QStringLiteral("Q72"));
    out.insert(QStringLiteral("settings"),
               q71 ? toJson(image::catalogueQ71(), image::decodeQ71(img).settings)
                   : toJson(image::catalogueQ72(), image::decodeQ72(img).settings));
    return out;
}

ImportedSettings settingsFromJson(const QByteArray &json, const QString &fileName) {
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parse);
    const QJsonObject root = doc.object();
    const QString model = root.value(QStringLiteral("model")).toString();
    const auto notSettings = [&](const QString &why) {
        ImportedSettings out;
        out.error = lang::FormatM(1810, {fileName, why});
        return out;
    };
    if (parse.error != QJsonParseError::NoError)
        return notSettings(
            QStringLiteral("%1 (offset %2)").arg(parse.errorString()).arg(parse.offset));
    if (root.value(QStringLiteral("format")).toString() != QLatin1String(SettingsFormat) ||
        root.value(QStringLiteral("version")).toInt() != SettingsVersion)
        return notSettings(QStringLiteral("format %1, version %2 expected")
                               .arg(QLatin1String(SettingsFormat))
                               .arg(SettingsVersion));
    if (model != QLatin1String("Q71") && model != QLatin1String("Q72"))
        return notSettings(QStringLiteral("model Q71 or Q72 expected"));
    if (!root.value(QStringLiteral("settings")).isObject())
        return notSettings(QStringLiteral("\"settings\" object expected"));
    const QJsonObject settings = root.value(QStringLiteral("settings")).toObject();
    // Settings outside the catalogue (none today) keep the factory values of work mode 0.
    ImportedSettings out;
    if (model == QLatin1String("Q71")) {
        out = fromJson(image::catalogueQ71(), settings,
                       image::decodeQ71(image::presetImage(image::DeviceModel::Q71, 0)).settings,
                       image::encodeQ71, fileName);
        out.model = image::DeviceModel::Q71;
    } else {
        out = fromJson(image::catalogueQ72(), settings,
                       image::decodeQ72(image::presetImage(image::DeviceModel::Q72, 0)).settings,
                       image::encodeQ72, fileName);
        out.model = image::DeviceModel::Q72;
    }
    return out;
}

} // namespace q7x::cli
