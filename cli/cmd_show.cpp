// q7xctl show FILE | --port PORT: every setting, page by page, as the window shows it; or the
// settings as JSON.
#include "cli/commands.h"
#include "cli/fieldtext.h"
#include "cli/problems.h"
#include "cli/settingsjson.h"
#include "cli/source.h"
#include "lang/messagetable.h"

namespace q7x::cli {

namespace {

template <class S>
QString pagesText(const QList<image::CatalogueField<S>> &fields, const S &s,
                  const FieldText &words) {
    QStringList order;
    QHash<QString, QStringList> lines;
    for (const auto &f : fields) {
        const QString page = words.pages(f.pages);
        if (!lines.contains(page))
            order << page;
        lines[page]
            << QStringLiteral("  %1: %2").arg(words.label(f, s), printable(words.value(f, s)));
    }
    QString out;
    for (const QString &page : order)
        out += page + QLatin1Char('\n') + lines[page].join(QLatin1Char('\n')) + QLatin1Char('\n');
    return out;
}

} // namespace

void addShow(CLI::App &app, Run &run, Status &status) {
    struct Options {
        SourceOptions source;
        bool json = false;
    };
    auto o = std::make_shared<Options>();
    CLI::App *sub = app.add_subcommand(
        "show", "Print every setting of a file or of the device at a port, page by page");
    addSourceOptions(sub, o->source);
    sub->add_flag("--json", o->json, "Print the settings as JSON (version 2; see q7xctl(1))");
    listStatuses(sub, {Done, ProblemsFound, BadUsage, PortNotOpened, NoAnswer, Cancelled}, "shown",
                 "shown, but damaged fields hold fall-back values (they are named)");
    sub->callback([&run, &status, o] {
        const std::optional<Source> source = sourceOf(run, o->source);
        if (!source) {
            status = BadUsage;
            return;
        }
        ConfigurationFile config;
        status = load(run, *source, config);
        if (status != Done)
            return;
        const FieldText words(lang::WindowTexts::load(run.language()));
        // Damaged fields show their fall-back values; say which they are.
        const QList<Problem> damaged = findProblems(config.model, config.image, words, true);
        run.complain(describe(damaged));
        status = damaged.isEmpty() ? Done : ProblemsFound;
        if (o->json) {
            run.print(QString::fromUtf8(settingsToJson(config.model, config.image).toJson()));
            return;
        }
        run.print(
            config.model == image::DeviceModel::Q71
                ? pagesText(image::catalogueQ71(), image::decodeQ71(config.image).settings, words)
                : pagesText(image::catalogueQ72(), image::decodeQ72(config.image).settings, words));
    });
}

} // namespace q7x::cli
