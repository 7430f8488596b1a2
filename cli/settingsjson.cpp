#include "cli/settingsjson.h"

#include "cli/files.h"
#include "cli/models.h"
#include "cli/settingvalues.h"
#include "image/presets.h"
#include "lang/datapaths.h"
#include "lang/messagetable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QUrl>

#include <algorithm>

namespace q7x::cli {

namespace {

using Setting = QPair<QString, QJsonValue>;

// A version-1 value as the catalogue takes it.
QVariant versionOneValue(const QJsonValue &v, image::FieldKind kind) {
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

// The settings of a version-2 file by their keys: nested objects joined by dots. A flat key at
// any level is taken as well ("recipients": {"1.phone": ...}).
void flatten(const QJsonObject &object, const QString &prefix, QList<Setting> &out) {
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QString key = prefix + it.key();
        if (it.value().isObject())
            flatten(it.value().toObject(), key + QLatin1Char('.'), out);
        else
            out.append({key, it.value()});
    }
}

struct Root {
    int version = 0;
    QString model;
    QList<Setting> settings;
    std::optional<image::ConfigImage> stored;
    QStringList damaged;
    QString error; // why the file holds no settings
};

Root readRoot(const QByteArray &json) {
    Root r;
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parse);
    if (parse.error != QJsonParseError::NoError) {
        r.error = lang::FormatM(1904, parse.offset);
        return r;
    }
    const QJsonObject root = doc.object();
    r.version = root.value(QStringLiteral("version")).toInt();
    r.model = root.value(QStringLiteral("model")).toString();
    if (root.value(QStringLiteral("format")).toString() != QLatin1String(SettingsFormat) ||
        (r.version != 1 && r.version != 2)) {
        r.error = lang::FormatM(1905, {QLatin1String(SettingsFormat), QStringLiteral("1, 2")});
        return r;
    }
    if (root.contains(QStringLiteral("model")) && r.model != QLatin1String("Q71") &&
        r.model != QLatin1String("Q72")) {
        r.error = lang::M(1906);
        return r;
    }
    const QJsonValue settings = root.value(QStringLiteral("settings"));
    if (!settings.isObject()) {
        r.error = lang::M(1907);
        return r;
    }
    if (r.version == 1) {
        const QJsonObject flat = settings.toObject();
        for (auto it = flat.begin(); it != flat.end(); ++it)
            r.settings.append({it.key(), it.value()});
    } else {
        flatten(settings.toObject(), {}, r.settings);
    }
    if (root.contains(QStringLiteral("stored"))) {
        const QByteArray hex = root.value(QStringLiteral("stored")).toString().toLatin1();
        const QByteArray bytes = QByteArray::fromHex(hex);
        if (bytes.size() != image::ImageSize || bytes.toHex() != hex.toLower()) {
            r.error = lang::FormatM(1908, image::ImageSize);
            return r;
        }
        r.stored.emplace();
        std::copy(bytes.begin(), bytes.end(), r.stored->begin());
    }
    for (const QJsonValue v : root.value(QStringLiteral("damaged")).toArray())
        r.damaged << printable(v.toString());
    return r;
}

template <class M> QStringList keysOf(bool settableOnly) {
    QStringList keys;
    for (const auto &f : M::catalogue())
        if (f.set || !settableOnly)
            keys << f.key;
    return keys;
}

template <class M>
ImportedSettings fromJson(const Root &root, const QString &fileName, const FieldText &words) {
    using S = typename M::Settings;
    using Field = image::CatalogueField<S>;
    const bool v1 = root.version == 1;
    ImportedSettings out;
    out.model = M::model;
    const QStringList known = keysOf<M>(v1);
    QHash<QString, QJsonValue> given;
    QStringList unknown, twice;
    for (const Setting &s : root.settings) {
        if (!known.contains(s.first))
            unknown << printable(s.first);
        else if (given.contains(s.first))
            twice << s.first;
        given.insert(s.first, s.second);
    }
    QStringList missing;
    for (const QString &key : keysOf<M>(true))
        if (!given.contains(key))
            missing << key;
    if (!missing.isEmpty()) {
        // Settings of the other model: say so rather than list its keys.
        const image::DeviceModel other =
            M::model == image::DeviceModel::Q71 ? image::DeviceModel::Q72 : image::DeviceModel::Q71;
        const QStringList otherKeys =
            withModel(other, [&](auto o) { return keysOf<decltype(o)>(v1); });
        if (!unknown.isEmpty() &&
            std::all_of(unknown.begin(), unknown.end(),
                        [&](const QString &k) { return otherKeys.contains(k); })) {
            out.errors << lang::FormatM(1865, {fileName, modelLabel(other), modelLabel(M::model)});
            return out;
        }
        out.errors << lang::FormatM(1812, {fileName, missing.join(QStringLiteral(", "))});
        out.errors << lang::M(1919);
    }
    if (!unknown.isEmpty())
        out.errors << lang::FormatM(1811, {fileName, unknown.join(QStringLiteral(", "))});
    for (const QString &key : twice)
        out.errors << lang::FormatM(1921, {fileName, key});
    if (!out.errors.isEmpty())
        return out;

    // Settings outside the catalogue keep the values of the image the settings came from, else
    // the factory values of work mode 0.
    const image::DecodeResult<S> base =
        M::decode(root.stored.value_or(image::presetImage(M::model, 0)));
    const S factory = M::decode(image::presetImage(M::model, 0)).settings;
    S s = base.settings, before = base.settings;
    const auto refused = [&](const Field &f, const QJsonValue &v) {
        out.errors << lang::FormatM(1813,
                                    {fileName, f.key, words.label(f, s), printable(jsonLiteral(v)),
                                     v1 ? words.allowed(f, s) : allowedValues(f, s, words)});
    };
    const Field *derived = nullptr;
    for (const Field &f : M::catalogue()) {
        if (!f.set) {
            derived = given.contains(f.key) ? &f : derived;
            continue;
        }
        const QJsonValue v = given.value(f.key);
        std::optional<QVariant> value;
        if (v1) {
            const QVariant one = versionOneValue(v, f.kind);
            value = one.isValid() ? std::optional(one) : std::nullopt;
        } else if (v == jsonValue(f, base.settings)) {
            // As shown: the value read, also where its words say less than its bytes (a
            // password's cells).
            value = f.get(base.settings);
        } else {
            value = catalogueValue(f, s, v);
        }
        if (!value || !f.set(s, *value))
            refused(f, v);
    }
    // Each value the encoder refuses is named, then put aside with the factory value, so that
    // every one is found, not only the first. A value the file already held (a device may hold
    // what the window cannot store) is no refusal: its bytes stay as they were.
    image::Encoded e = M::encode(s);
    for (int guard = 0; !e.ok() && guard < M::catalogue().size(); ++guard) {
        const auto it = std::find_if(M::catalogue().begin(), M::catalogue().end(),
                                     [&](const auto &f) { return f.key == e.key; });
        if (it == M::catalogue().end() || !it->set) {
            out.errors << lang::FormatM(1814, {fileName, e.key, e.error});
            break;
        }
        if (!root.stored || it->get(s) != it->get(before))
            refused(*it, given.value(e.key));
        it->set(s, it->get(factory));
        it->set(before, it->get(factory));
        e = M::encode(s);
    }
    // A value the window derives from the others must agree with them.
    if (derived && out.errors.isEmpty()) {
        const QJsonValue v = given.value(derived->key), follows = jsonValue(*derived, s);
        if (v != follows)
            out.errors << lang::FormatM(1920, {fileName, derived->key, words.label(*derived, s),
                                               printable(jsonLiteral(v)), jsonLiteral(follows)});
    }
    if (!out.errors.isEmpty())
        return out;
    out.image = e.image;
    // Bytes that the settings given do not change keep the image they came from: what the
    // encoder would write differently there (copies, spare bits, staging areas) is the file's.
    // The image is the encoder's alone when the file held a damaged field or a value that cannot
    // be stored and was changed.
    const image::Encoded previous = M::encode(before);
    if (root.stored && base.errors.isEmpty() && previous.ok())
        for (std::size_t i = 0; i < out.image.size(); ++i)
            if (previous.image[i] == e.image[i])
                out.image[i] = (*root.stored)[i];
    return out;
}

} // namespace

QString schemaLocation() {
    return QUrl::fromLocalFile(lang::DataFilePath(QLatin1String(SchemaFileName))).toString();
}

JsonNode jsonDocument(const QString &format) {
    JsonNode doc = JsonNode::object();
    doc.insert(QStringLiteral("$schema"), schemaLocation());
    doc.insert(QStringLiteral("format"), format);
    doc.insert(QStringLiteral("version"), JsonVersion);
    return doc;
}

void putSetting(JsonNode &settings, const QString &key, const QJsonValue &value) {
    const QStringList parts = key.split(QLatin1Char('.'));
    JsonNode *node = &settings;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i)
        node = &(*node)[parts[i]];
    node->insert(parts.last(), value);
}

JsonNode settingsToJson(image::DeviceModel model, const image::ConfigImage &img) {
    JsonNode doc = jsonDocument(QLatin1String(SettingsFormat));
    doc.insert(QStringLiteral("model"), modelLabel(model));
    withModel(model, [&](auto m) {
        using M = decltype(m);
        const auto decoded = M::decode(img);
        JsonNode settings = JsonNode::object();
        for (const auto &f : M::catalogue())
            putSetting(settings, f.key, jsonValue(f, decoded.settings));
        doc.insert(QStringLiteral("settings"), settings);
        QStringList damaged;
        for (const image::FieldError &e : decoded.errors)
            damaged << e.keys;
        if (!damaged.isEmpty())
            doc.insert(QStringLiteral("damaged"), QJsonValue(QJsonArray::fromStringList(damaged)));
    });
    doc.insert(
        QStringLiteral("stored"),
        QString::fromLatin1(
            QByteArray(reinterpret_cast<const char *>(img.data()), qsizetype(img.size())).toHex()));
    return doc;
}

ImportedSettings settingsFromJson(const QByteArray &json, const QString &fileName,
                                  const FieldText &words) {
    const Root root = readRoot(json);
    const auto notSettings = [&](const QString &why) {
        ImportedSettings out;
        out.errors << lang::FormatM(1810, {fileName, why});
        return out;
    };
    if (!root.error.isEmpty())
        return notSettings(root.error);
    if (root.model.isEmpty()) {
        ImportedSettings out = notSettings(lang::M(1906));
        out.errors << lang::M(1919);
        return out;
    }
    if (!root.damaged.isEmpty()) {
        ImportedSettings out;
        out.errors << lang::FormatM(1849, {fileName, root.damaged.join(QStringLiteral(", "))});
        return out;
    }
    const image::DeviceModel model =
        root.model == QLatin1String("Q71") ? image::DeviceModel::Q71 : image::DeviceModel::Q72;
    return withModel(model, [&](auto m) { return fromJson<decltype(m)>(root, fileName, words); });
}

PartialSettings partialSettings(const QByteArray &json, const QString &fileName) {
    PartialSettings out;
    const Root root = readRoot(json);
    if (!root.error.isEmpty()) {
        out.errors << lang::FormatM(1810, {fileName, root.error});
        return out;
    }
    if (!root.damaged.isEmpty()) {
        out.errors << lang::FormatM(1849, {fileName, root.damaged.join(QStringLiteral(", "))});
        return out;
    }
    if (!root.model.isEmpty())
        out.model =
            root.model == QLatin1String("Q71") ? image::DeviceModel::Q71 : image::DeviceModel::Q72;
    QSet<QString> seen;
    for (const Setting &s : root.settings) {
        if (seen.contains(s.first))
            out.errors << lang::FormatM(1921, {fileName, s.first});
        seen.insert(s.first);
        Change c;
        c.key = s.first;
        c.given = root.version == 1 ? Change::Given::JsonVersion1 : Change::Given::Json;
        c.value = s.second;
        c.origin = fileName;
        out.changes << c;
    }
    return out;
}

} // namespace q7x::cli
