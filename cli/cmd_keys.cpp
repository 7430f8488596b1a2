// q7xctl keys [--model q71|q72] [--json]: every setting's key with its caption in the interface
// language, its type and the values it takes (identifier and caption, or range and unit).
#include "cli/commands.h"
#include "cli/fieldtext.h"
#include "cli/files.h"
#include "cli/models.h"
#include "cli/settingsjson.h"
#include "cli/settingvalues.h"
#include "image/presets.h"
#include "lang/messagetable.h"

namespace q7x::cli {

namespace {

template <class M> JsonNode keysOf(const FieldText &words, QString &text) {
    using S = typename M::Settings;
    // Lists whose items follow other settings (the partition names of the name language) are
    // given for the factory settings.
    const S s = M::decode(image::presetImage(M::model, 0)).settings;
    JsonNode keys = JsonNode::array();
    text += modelLabel(M::model) + QLatin1Char('\n');
    for (const image::CatalogueField<S> &f : M::catalogue()) {
        const ValueRange r = valueRange(f, s);
        const bool settable = !f.control(s).isEmpty();
        JsonNode k = JsonNode::object();
        k.insert(QStringLiteral("key"), f.key);
        k.insert(QStringLiteral("page"), words.pages(f.pages));
        k.insert(QStringLiteral("caption"), words.label(f, s));
        k.insert(QStringLiteral("type"), typeName(r.type));
        if (!r.unit.isEmpty())
            k.insert(QStringLiteral("unit"), r.unit);
        QStringList values;
        if (r.type == ValueType::Item || f.kind == image::FieldKind::Choice) {
            JsonNode items = JsonNode::array();
            const QList<QJsonValue> shown =
                r.type == ValueType::Item ? r.items : QList<QJsonValue>{true, false};
            for (int i = 0; i < shown.size(); ++i) {
                const int item = r.type == ValueType::Item ? i
                                 : shown[i].toBool()       ? f.trueItem
                                                           : 1 - f.trueItem;
                const QString caption = words.item(f, s, item);
                JsonNode entry = JsonNode::object();
                entry.insert(QStringLiteral("value"), shown[i]);
                entry.insert(QStringLiteral("caption"), caption);
                items.append(entry);
                values << jsonLiteral(shown[i]) + QStringLiteral(" (") + caption + QLatin1Char(')');
            }
            k.insert(QStringLiteral("items"), items);
        } else if (r.type == ValueType::Integer) {
            k.insert(QStringLiteral("minimum"), r.minimum);
            k.insert(QStringLiteral("maximum"), r.maximum);
        }
        const QString allowed = allowedValues(f, s, words);
        k.insert(QStringLiteral("allowed"), allowed);
        k.insert(QStringLiteral("settable"), settable);
        k.insert(QStringLiteral("derived"), !f.set || !settable);
        keys.append(k);
        text += f.key + QStringLiteral("  ") + typeName(r.type) +
                (r.unit.isEmpty() ? QString() : QStringLiteral(", ") + r.unit) +
                QStringLiteral("  ") + words.pages(f.pages) + QStringLiteral(" / ") +
                words.label(f, s) + QLatin1Char('\n');
        text += QStringLiteral("    ") +
                (values.isEmpty() ? allowed : values.join(QStringLiteral(", "))) +
                QLatin1Char('\n');
        if (!settable)
            text += QStringLiteral("    ") + lang::M(1940) + QLatin1Char('\n');
        else if (!f.set)
            text += QStringLiteral("    ") + lang::M(1941) + QLatin1Char('\n');
    }
    JsonNode model = JsonNode::object();
    model.insert(QStringLiteral("model"), modelLabel(M::model));
    model.insert(QStringLiteral("keys"), keys);
    return model;
}

} // namespace

void addKeys(CLI::App &app, Run &run, Status &status) {
    struct Options {
        std::string model;
        bool json = false;
    };
    auto o = std::make_shared<Options>();
    CLI::App *sub = app.add_subcommand(
        "keys", "List every setting's key for set, import and --per-device, with its caption, "
                "type and the values it takes");
    allowOnly(sub->add_option("--model", o->model, "Only the settings of this model"),
              {"q71", "q72"});
    sub->add_flag("--json", o->json, "Print the keys as JSON");
    listStatuses(sub, {Done, BadUsage}, "listed");
    sub->callback([&run, &status, o] {
        const FieldText words(lang::WindowTexts::load(run.language()));
        JsonNode doc = jsonDocument(QStringLiteral("q7xctl-keys"));
        JsonNode models = JsonNode::array();
        QString text;
        for (const image::DeviceModel model : {image::DeviceModel::Q71, image::DeviceModel::Q72}) {
            if (!o->model.empty() &&
                QString::fromStdString(o->model) != modelLabel(model).toLower())
                continue;
            models.append(
                withModel(model, [&](auto m) { return keysOf<decltype(m)>(words, text); }));
        }
        doc.insert(QStringLiteral("models"), models);
        run.print(o->json ? QString::fromUtf8(doc.toJson()) : text);
        status = Done;
    });
}

} // namespace q7x::cli
