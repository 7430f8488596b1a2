// q7xctl diff A B: the settings in which two configurations differ; A and B are each a file or
// --port PORT. Exit 0 when equal, 1 when different.
#include "cli/commands.h"
#include "cli/difference.h"
#include "cli/settingsjson.h"
#include "cli/source.h"
#include "cli/writable.h"
#include "lang/messagetable.h"

namespace q7x::cli {

void addDiff(CLI::App &app, Run &run, Status &status) {
    struct Options {
        std::vector<std::string> files, ports;
        bool json = false, asStored = false;
        CLI::Option *file = nullptr, *port = nullptr;
    };
    auto o = std::make_shared<Options>();
    CLI::App *sub = app.add_subcommand(
        "diff", "Print the settings in which two configurations differ; A and B are each a file "
                "or --port PORT; exit 0 when equal, 1 when different");
    o->file = sub->add_option("files", o->files, "Configuration files, A then B (- for stdin)");
    o->port = sub->add_option("--port", o->ports, "A device to read in place of a file")
                  ->allow_extra_args(false);
    sub->add_flag("--as-stored", o->asStored,
                  "Compare a file with a device as the file stands, not as a write would send it");
    sub->add_flag("--json", o->json, "Print the differences as JSON");
    listStatuses(sub, {Done, Different, BadUsage, PortNotOpened, NoAnswer, Cancelled},
                 "no differences", "the configurations differ");
    sub->callback([&run, &status, o, sub] {
        // A and B in the order they were given.
        QList<Source> sources;
        std::size_t file = 0, port = 0;
        for (const CLI::Option *opt : sub->parse_order()) {
            if (opt == o->file && file < o->files.size())
                sources.append({QString::fromStdString(o->files[file++]), {}});
            else if (opt == o->port && port < o->ports.size())
                sources.append({{}, QString::fromStdString(o->ports[port++])});
        }
        if (sources.size() != 2) {
            run.complain(lang::M(1828));
            status = BadUsage;
            return;
        }
        ConfigurationFile a, b;
        status = load(run, sources[0], a);
        if (status == Done)
            status = load(run, sources[1], b);
        if (status != Done)
            return;
        if (a.model != b.model) {
            run.complain(lang::FormatM(1829, {modelLabel(a.model), modelLabel(b.model)}));
            status = BadUsage;
            return;
        }
        // A file compared with a device is what a write of it would leave there, unless asked
        // for the file as it stands (or a write would refuse it).
        const bool withDevice = sources[0].port.isEmpty() != sources[1].port.isEmpty();
        const bool asWritten =
            withDevice && compareAsWritten(run, sources[0].port.isEmpty() ? a : b, o->asStored);
        const QString compared = withDevice ? lang::M(asWritten ? 1844 : 1845) : QString();
        QStringList names;
        for (const Source &s : sources)
            names << printable(s.name()) + (s.port.isEmpty() && !compared.isEmpty()
                                                ? QStringLiteral(" (") + compared + QLatin1Char(')')
                                                : QString());
        const QList<Difference> diffs = differences(
            a.model, a.image, b.image, FieldText(lang::WindowTexts::load(run.language())));
        status = diffs.isEmpty() ? Done : Different;
        if (o->json) {
            JsonNode out = jsonDocument(QStringLiteral("q7xctl-diff"));
            out.insert(QStringLiteral("model"), modelLabel(a.model));
            out.insert(QStringLiteral("a"), sources[0].name());
            out.insert(QStringLiteral("b"), sources[1].name());
            if (withDevice)
                out.insert(QStringLiteral("fileAsWritten"), asWritten);
            out.insert(QStringLiteral("equal"), diffs.isEmpty());
            out.insert(QStringLiteral("differences"), toJson(diffs));
            run.print(QString::fromUtf8(out.toJson()));
        } else if (diffs.isEmpty()) {
            run.say(lang::M(1827));
        } else {
            run.print(describe(diffs, names[0], names[1]));
            run.say(lang::FormatM(1826, int(diffs.size())));
        }
    });
}

} // namespace q7x::cli
