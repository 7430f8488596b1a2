// Fuzzes q7xctl's JSON reader: settings of either version, complete (import) or some of them
// (set --from, import --base). An input that starts with "{" is read as it is; any other input
// edits a document the program wrote (its first byte picks a factory preset and the version,
// then each three bytes replace one setting's value by a number, a text, a flag, null or an
// object), so that short inputs reach every setting's conversion. Nothing crashes or reads
// outside the input; settings imported are shown and imported again to the same image; changes
// taken leave a configuration without damaged fields.
#include "cli/changes.h"
#include "cli/models.h"
#include "cli/settingsjson.h"
#include "image/formload.h"
#include "image/presets.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdlib>

using namespace q7x;
using image::DeviceModel;

namespace {

// Version 1 as earlier releases wrote it: flat keys, lists as item numbers.
QJsonObject versionOne(DeviceModel model, const image::ConfigImage &img) {
    QJsonObject settings;
    cli::withModel(model, [&](auto m) {
        using M = decltype(m);
        const auto s = M::decode(img).settings;
        for (const auto &f : M::catalogue())
            if (f.set)
                settings.insert(f.key, QJsonValue::fromVariant(f.get(s)));
    });
    return QJsonObject{{"format", "q7xctl-settings"},
                       {"version", 1},
                       {"model", model == DeviceModel::Q71 ? "Q71" : "Q72"},
                       {"settings", settings}};
}

QJsonValue valueOf(std::uint8_t kind, std::uint8_t byte, const std::uint8_t *text,
                   std::size_t size) {
    switch (kind % 7) {
    case 0:
        return int(byte) - 16;
    case 1:
        return (byte % 40) / 10.0;
    case 2:
        return QString::fromLatin1(reinterpret_cast<const char *>(text),
                                   qsizetype(std::min<std::size_t>(size, byte % 20)));
    case 3:
        return bool(byte & 1);
    case 4:
        return QJsonValue::Null;
    case 5:
        return QJsonObject{{QString::number(byte % 20), byte}};
    default:
        return QString::number(byte % 200);
    }
}

// A document the program wrote, edited by the input.
QByteArray edited(const std::uint8_t *data, std::size_t size) {
    const DeviceModel model = data[0] & 1 ? DeviceModel::Q71 : DeviceModel::Q72;
    const image::ConfigImage img = image::presetImage(model, data[0] / 4 % 6);
    const bool v1 = data[0] & 2;
    QJsonObject root =
        v1 ? versionOne(model, img)
           : QJsonDocument::fromJson(cli::settingsToJson(model, img).toJson()).object();
    QStringList keys;
    cli::withModel(model, [&](auto m) {
        for (const auto &f : decltype(m)::catalogue())
            keys << f.key;
    });
    QJsonObject flat;
    for (std::size_t i = 1; i + 2 < size; i += 3) {
        const QString key = keys[(data[i] << 8 | data[i + 1]) % keys.size()];
        flat.insert(key, valueOf(data[i + 1], data[i + 2], data + i, size - i));
    }
    QJsonObject settings = root.value("settings").toObject();
    if (data[0] & 4) { // only the edited settings: a partial file
        settings = {};
        root.remove("stored");
    }
    for (auto it = flat.begin(); it != flat.end(); ++it) {
        if (v1) {
            settings.insert(it.key(), it.value());
            continue;
        }
        // Version 2 nests each key by its parts.
        const QStringList parts = it.key().split('.');
        std::function<QJsonObject(QJsonObject, int)> put = [&](QJsonObject o, int at) {
            if (at + 1 == parts.size())
                o.insert(parts[at], it.value());
            else
                o.insert(parts[at], put(o.value(parts[at]).toObject(), at + 1));
            return o;
        };
        settings = put(settings, 0);
    }
    root.insert("settings", settings);
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

bool damaged(DeviceModel model, const image::ConfigImage &img) {
    return model == DeviceModel::Q72 && !image::decodeQ72(img).errors.isEmpty();
}

} // namespace

// The program's own path locates the schema a document names, as in q7xctl.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size == 0)
        return 0;
    const QByteArray json = data[0] == '{'
                                ? QByteArray(reinterpret_cast<const char *>(data), qsizetype(size))
                                : edited(data, size);
    const cli::FieldText words{lang::WindowTexts()};

    const cli::ImportedSettings imported = cli::settingsFromJson(json, "fuzz.json", words);
    if (imported.errors.isEmpty()) {
        const cli::ImportedSettings again = cli::settingsFromJson(
            cli::settingsToJson(imported.model, imported.image).toJson(), "again", words);
        if (!again.errors.isEmpty() || again.image != imported.image ||
            again.model != imported.model)
            std::abort();
    }

    const cli::PartialSettings partial = cli::partialSettings(json, "fuzz.json");
    if (partial.errors.isEmpty() && !partial.changes.isEmpty()) {
        const DeviceModel model = partial.model.value_or(DeviceModel::Q72);
        const image::ConfigImage base =
            image::writeAfterLoad(model, image::presetImage(model, 1)).image;
        const cli::Edited e =
            cli::applyChanges(model, base, cli::inWindowOrder(model, partial.changes), words);
        if (e.refusals.isEmpty() && damaged(model, e.image))
            std::abort();
    }
    return 0;
}
