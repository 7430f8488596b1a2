// q7xctl report FILE | --port PORT -o SHEET.pdf: the printable configuration sheet of a file or of
// the device at a port, as the window's report writes it.
#include "cli/commands.h"
#include "cli/problems.h"
#include "cli/source.h"
#include "lang/messagetable.h"
#include "report/sheet.h"

#include <QFile>
#include <QTemporaryDir>

namespace q7x::cli {

void addReport(CLI::App &app, Run &run, Status &status) {
    struct Options {
        SourceOptions source;
        std::string output;
        bool passwords = false, force = false;
    };
    auto o = std::make_shared<Options>();
    CLI::App *sub = app.add_subcommand(
        "report", "Write the printable configuration sheet of a file or of the device at a port "
                  "as a PDF file");
    addSourceOptions(sub, o->source);
    sub->add_option("-o,--output", o->output, "The PDF file to write (- for stdout)")->required();
    sub->add_flag("--include-passwords", o->passwords,
                  "Show passwords and the PIN code instead of masking them");
    sub->add_flag("--force", o->force, "Replace an existing file");
    listStatuses(sub, {Done, BadUsage, PortNotOpened, NoAnswer, Cancelled}, "written");
    sub->callback([&run, &status, o] {
        const std::optional<Source> source = sourceOf(run, o->source);
        if (!source) {
            status = BadUsage;
            return;
        }
        const std::optional<Output> output =
            Output::check(run, QString::fromStdString(o->output), o->force);
        if (!output) {
            status = BadUsage;
            return;
        }
        ConfigurationFile config;
        QString firmware;
        status = load(run, *source, config, &firmware);
        if (status != Done)
            return;
        // A damaged field would show a fall-back value as if the configuration held it; the
        // window restores the factory settings instead, so the sheet is refused.
        QList<image::FieldError> errors;
        const report::Configuration c =
            report::decodeConfiguration(config.model, config.image, &errors);
        if (!errors.isEmpty()) {
            run.complain(
                describe(findProblems(config.model, config.image,
                                      FieldText(lang::WindowTexts::load(run.language())), true)));
            status = BadUsage;
            return;
        }
        report::SheetOptions options;
        options.language = run.language();
        options.fileName = printable(source->file); // as given; empty for a device
        options.firmware = firmware.isEmpty() ? QString() : lang::FormatM(1003, firmware);
        options.includePasswords = o->passwords;
        // The sheet is laid out into a file of its own, then goes where it was asked as any
        // other output does.
        QTemporaryDir folder;
        const QString sheet = folder.filePath(QStringLiteral("sheet.pdf"));
        QString error;
        QFile pdf(sheet);
        if (!folder.isValid() || !report::writeSheetPdfInLanguage(sheet, c, options, {}, &error) ||
            !pdf.open(QIODevice::ReadOnly)) {
            run.complain(lang::FormatM(1806, {printable(output->name()), error}));
            status = BadUsage;
            return;
        }
        status = output->write(run, pdf.readAll());
        if (status == Done && output->name() != QLatin1String("-"))
            run.say(lang::FormatM(1816, printable(output->name())));
    });
}

} // namespace q7x::cli
