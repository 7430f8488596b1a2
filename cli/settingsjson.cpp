#include "cli/settingsjson.h"

#include "cli/files.h"
#include "image/presets.h"
#include "lang/messagetable.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

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

// A JSON value as it was written: -1, "89001234567", true.
QString jsonText(const QJsonValue &v) {
    const QByteArray array = QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact);
    return printable(QString::fromUtf8(array.mid(1, array.size() - 2)));
}

image::Encoded encode(const image::Q72Settings &s) { return image::encodeQ72(s); }
image::Encoded encode(const image::Q71Settings &s) { return image::encodeQ71(s); }
image::DecodeResult<image::Q72Settings> decode(const image::ConfigImage &i, image::Q72Settings *) {
    return image::decodeQ72(i);
}
image::DecodeResult<image::Q71Settings> decode(const image::ConfigImage &i, image::Q71Settings *) {
    return image::decodeQ71(i);
}

template <class S> QJsonObject toJson(const QList<image::CatalogueField<S>> &fields, const S &s) {
    QJsonObject out;
    for (const auto &f : fields)
        if (f.set)
            out.insert(f.key, settingJson(f.get(s), f.kind));
    return out;
}

template <class S> QStringList keysOf(const QList<image::CatalogueField<S>> &fields) {
    QStringList keys;
    for (const auto &f : fields)
        if (f.set)
            keys << f.key;
    return keys;
}

template <class S>
ImportedSettings fromJson(const QList<image::CatalogueField<S>> &fields, const QJsonObject &json,
                          const std::optional<image::ConfigImage> &stored, image::DeviceModel model,
                          const QString &fileName, const FieldText &words) {
    ImportedSettings out;
    out.model = model;
    const QStringList known = keysOf(fields);
    QStringList missing, unknown;
    for (const QString &key : known)
        if (!json.contains(key))
            missing << key;
    for (auto it = json.begin(); it != json.end(); ++it)
        if (!known.contains(it.key()))
            unknown << printable(it.key());
    if (!missing.isEmpty()) {
        // Settings of the other model: say so rather than list its keys.
        const image::DeviceModel other =
            model == image::DeviceModel::Q71 ? image::DeviceModel::Q72 : image::DeviceModel::Q71;
        const QStringList otherKeys = model == image::DeviceModel::Q71
                                          ? keysOf(image::catalogueQ72())
                                          : keysOf(image::catalogueQ71());
        if (!unknown.isEmpty() &&
            std::all_of(unknown.begin(), unknown.end(),
                        [&](const QString &k) { return otherKeys.contains(k); })) {
            out.errors << lang::FormatM(1865, {fileName, modelLabel(other), modelLabel(model)});
            return out;
        }
        out.errors << lang::FormatM(1812, {fileName, missing.join(QStringLiteral(", "))});
    }
    if (!unknown.isEmpty())
        out.errors << lang::FormatM(1811, {fileName, unknown.join(QStringLiteral(", "))});
    if (!out.errors.isEmpty())
        return out;

    // Settings outside the catalogue (the derived relay mode) keep the values of the image the
    // settings came from, else the factory values of work mode 0.
    const image::DecodeResult<S> base =
        decode(stored.value_or(image::presetImage(model, 0)), static_cast<S *>(nullptr));
    const S factory = decode(image::presetImage(model, 0), static_cast<S *>(nullptr)).settings;
    S s = base.settings, before = base.settings;
    const auto refused = [&](const image::CatalogueField<S> &f, const QJsonValue &v) {
        out.errors << lang::FormatM(
            1813, {fileName, f.key, words.label(f, s), jsonText(v), words.allowed(f, s)});
    };
    for (const auto &f : fields) {
        if (!f.set)
            continue;
        const QJsonValue v = json.value(f.key);
        const QVariant value = fromJson(v, f.kind);
        if (!value.isValid() || !f.set(s, value))
            refused(f, v);
    }
    // Each value the encoder refuses is named, then put aside with the factory value, so that
    // every one is found, not only the first. A value the file already held (a device may hold
    // what the window cannot store) is no refusal: its bytes stay as they were.
    image::Encoded e = encode(s);
    for (int guard = 0; !e.ok() && guard < fields.size(); ++guard) {
        const auto it = std::find_if(fields.begin(), fields.end(),
                                     [&](const auto &f) { return f.key == e.key; });
        if (it == fields.end() || !it->set) {
            out.errors << lang::FormatM(1814, {fileName, e.key, e.error});
            break;
        }
        if (!stored || it->get(s) != it->get(before))
            refused(*it, json.value(e.key));
        it->set(s, it->get(factory));
        it->set(before, it->get(factory));
        e = encode(s);
    }
    if (!out.errors.isEmpty())
        return out;
    out.image = e.image;
    // Bytes that the settings given do not change keep the image they came from: what the
    // encoder would write differently there (copies, spare bits, staging areas) is the file's.
    // The image is the encoder's alone when the file held a damaged field or a value that cannot
    // be stored and was changed.
    const image::Encoded previous = encode(before);
    if (stored && base.errors.isEmpty() && previous.ok())
        for (std::size_t i = 0; i < out.image.size(); ++i)
            if (previous.image[i] == e.image[i])
                out.image[i] = (*stored)[i];
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
    QStringList damaged;
    const auto collect = [&](const QList<image::FieldError> &errors) {
        for (const image::FieldError &e : errors)
            damaged << e.keys;
    };
    if (q71) {
        const auto d = image::decodeQ71(img);
        collect(d.errors);
        out.insert(QStringLiteral("settings"), toJson(image::catalogueQ71(), d.settings));
    } else {
        const auto d = image::decodeQ72(img);
        collect(d.errors);
        out.insert(QStringLiteral("settings"), toJson(image::catalogueQ72(), d.settings));
    }
    if (!damaged.isEmpty())
        out.insert(QStringLiteral("damaged"), QJsonArray::fromStringList(damaged));
    out.insert(
        QStringLiteral("stored"),
        QString::fromLatin1(
            QByteArray(reinterpret_cast<const char *>(img.data()), qsizetype(img.size())).toHex()));
    return out;
}

ImportedSettings settingsFromJson(const QByteArray &json, const QString &fileName,
                                  const FieldText &words) {
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parse);
    const QJsonObject root = doc.object();
    const QString model = root.value(QStringLiteral("model")).toString();
    const auto notSettings = [&](const QString &why) {
        ImportedSettings out;
        out.errors << lang::FormatM(1810, {fileName, why});
        return out;
    };
    if (parse.error != QJsonParseError::NoError)
        return notSettings(lang::FormatM(1904, parse.offset));
    if (root.value(QStringLiteral("format")).toString() != QLatin1String(SettingsFormat) ||
        root.value(QStringLiteral("version")).toInt() != SettingsVersion)
        return notSettings(
            lang::FormatM(1905, {QLatin1String(SettingsFormat), QString::number(SettingsVersion)}));
    if (model != QLatin1String("Q71") && model != QLatin1String("Q72"))
        return notSettings(lang::M(1906));
    if (!root.value(QStringLiteral("settings")).isObject())
        return notSettings(lang::M(1907));
    std::optional<image::ConfigImage> stored;
    if (root.contains(QStringLiteral("stored"))) {
        const QByteArray hex = root.value(QStringLiteral("stored")).toString().toLatin1();
        const QByteArray bytes = QByteArray::fromHex(hex);
        if (bytes.size() != image::ImageSize || bytes.toHex() != hex.toLower())
            return notSettings(lang::FormatM(1908, image::ImageSize));
        stored.emplace();
        std::copy(bytes.begin(), bytes.end(), stored->begin());
    }
    QStringList damaged;
    for (const QJsonValue v : root.value(QStringLiteral("damaged")).toArray())
        damaged << printable(v.toString());
    if (!damaged.isEmpty()) {
        ImportedSettings out;
        out.errors << lang::FormatM(1849, {fileName, damaged.join(QStringLiteral(", "))});
        return out;
    }
    const QJsonObject settings = root.value(QStringLiteral("settings")).toObject();
    if (model == QLatin1String("Q71"))
        return fromJson(image::catalogueQ71(), settings, stored, image::DeviceModel::Q71, fileName,
                        words);
    return fromJson(image::catalogueQ72(), settings, stored, image::DeviceModel::Q72, fileName,
                    words);
}

} // namespace q7x::cli
