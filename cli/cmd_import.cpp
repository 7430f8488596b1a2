// q7xctl import FILE.json -o FILE.cfg: settings as `show --json` gives them, stored as a
// configuration file; with --base FILE.cfg some settings, changed in that file as `set` changes
// them.
#include "cli/commands.h"
#include "cli/files.h"
#include "cli/settingsjson.h"
#include "cli/writable.h"
#include "lang/messagetable.h"

namespace q7x::cli {

namespace {

// The settings of `json` changed in the configuration `base` in the window's order, as `set`
// changes them.
Status importInto(const Run &run, const QString &base, const QByteArray &json,
                  const QString &jsonName, ConfigurationFile &out) {
    if (const Status s = readConfiguration(run, base, out); s != Done)
        return s;
    const FieldText words(lang::WindowTexts::load(run.language()));
    if (const Status s = checkWritable(run, out, words); s != Done)
        return s;
    const PartialSettings partial = partialSettings(json, jsonName);
    QStringList errors = partial.errors;
    if (partial.model && *partial.model != out.model)
        errors << lang::FormatM(1931,
                                {jsonName, modelLabel(*partial.model), modelLabel(out.model)});
    if (errors.isEmpty() && partial.changes.isEmpty())
        errors << lang::FormatM(1942, jsonName);
    if (!errors.isEmpty()) {
        run.complain(errors);
        return BadUsage;
    }
    const Edited edited =
        applyChanges(out.model, out.image, inWindowOrder(out.model, partial.changes), words);
    if (!edited.refusals.isEmpty()) {
        run.complain(edited.refusals);
        run.complain(lang::M(1934));
        return BadUsage;
    }
    out.image = edited.image;
    out.outOfRange.clear();
    return Done;
}

} // namespace

void addImport(CLI::App &app, Run &run, Status &status) {
    struct Options {
        std::string input, output, base;
        bool force = false;
    };
    auto o = std::make_shared<Options>();
    CLI::App *sub = app.add_subcommand(
        "import", "Store settings given as JSON (as show --json prints them) as a configuration "
                  "file; with --base, change some settings of a configuration file");
    sub->add_option("json", o->input, "The JSON file, or - for standard input")->required();
    sub->add_option("-o,--output", o->output, "The configuration file to write (- for stdout)")
        ->required();
    sub->add_option("--base", o->base,
                    "Change only the settings given in this configuration file, as set does");
    sub->add_flag("--force", o->force, "Replace an existing file");
    listStatuses(sub, {Done, BadUsage, Cancelled}, "written");
    sub->callback([&run, &status, o] {
        const QString output = QString::fromStdString(o->output);
        const std::optional<Output> out = Output::check(run, output, o->force);
        QByteArray json;
        status =
            out ? readInput(run, QString::fromStdString(o->input), MaxJsonSize, json) : BadUsage;
        if (status != Done)
            return;
        const QString jsonName = printable(QString::fromStdString(o->input));
        ConfigurationFile file;
        if (!o->base.empty()) {
            status = importInto(run, QString::fromStdString(o->base), json, jsonName, file);
            if (status != Done)
                return;
        } else {
            const ImportedSettings imported = settingsFromJson(
                json, jsonName, FieldText(lang::WindowTexts::load(run.language())));
            if (!imported.errors.isEmpty()) {
                run.complain(imported.errors);
                status = BadUsage;
                return;
            }
            file = {imported.model, imported.image, {}};
        }
        status = out->write(run, configurationText(file));
        if (status == Done && output != QLatin1String("-"))
            run.say(lang::FormatM(1816, printable(output)));
    });
}

} // namespace q7x::cli
