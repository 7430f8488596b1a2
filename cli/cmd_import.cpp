// q7xctl import FILE.json -o FILE.cfg: settings as `show --json` gives them, stored as a
// configuration file.
#include "cli/commands.h"
#include "cli/files.h"
#include "cli/settingsjson.h"
#include "lang/messagetable.h"

namespace q7x::cli {

namespace {

// Far more than any settings file holds; a larger input is not one.
constexpr qint64 MaxJsonSize = 16 * 1024 * 1024;

} // namespace

void addImport(CLI::App &app, Run &run, Status &status) {
    struct Options {
        std::string input, output;
        bool force = false;
    };
    auto o = std::make_shared<Options>();
    CLI::App *sub = app.add_subcommand(
        "import", "Store settings given as JSON (as show --json prints them) as a configuration "
                  "file");
    sub->add_option("json", o->input, "The JSON file, or - for standard input")->required();
    sub->add_option("-o,--output", o->output, "The configuration file to write (- for stdout)")
        ->required();
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
        const ImportedSettings imported =
            settingsFromJson(json, printable(QString::fromStdString(o->input)),
                             FieldText(lang::WindowTexts::load(run.language())));
        if (!imported.errors.isEmpty()) {
            run.complain(imported.errors);
            status = BadUsage;
            return;
        }
        status = out->write(run, configurationText({imported.model, imported.image, {}}));
        if (status == Done && output != QLatin1String("-"))
            run.say(lang::FormatM(1816, printable(output)));
    });
}

} // namespace q7x::cli
