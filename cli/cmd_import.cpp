// q7xctl import FILE.json -o FILE.cfg: settings as `show --json` gives them, stored as a
// configuration file.
#include "cli/commands.h"
#include "cli/files.h"
#include "cli/settingsjson.h"
#include "lang/messagetable.h"

#include <QFile>

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
    sub->add_option("-o,--output", o->output, "The configuration file to write")->required();
    sub->add_flag("--force", o->force, "Replace an existing file");
    sub->callback([&run, &status, o] {
        run.loadMessages();
        const QString input = QString::fromStdString(o->input);
        QFile file;
        const bool opened = input == QLatin1String("-")
                                ? file.open(stdin, QIODevice::ReadOnly)
                                : (file.setFileName(input), file.open(QIODevice::ReadOnly));
        if (!opened) {
            run.complain(lang::FormatM(1802, {input, file.errorString()}));
            status = BadUsage;
            return;
        }
        const QByteArray json = file.read(MaxJsonSize + 1);
        if (json.size() > MaxJsonSize) {
            run.complain(lang::FormatM(1810, {input, QStringLiteral("too large")}));
            status = BadUsage;
            return;
        }
        const ImportedSettings imported = settingsFromJson(json, input);
        if (!imported.error.isEmpty()) {
            run.complain(imported.error);
            status = BadUsage;
            return;
        }
        const QString output = QString::fromStdString(o->output);
        status = writeConfiguration(run, output, {imported.model, imported.image}, o->force);
        if (status == Done)
            run.say(lang::FormatM(1816, output));
    });
}

} // namespace q7x::cli
