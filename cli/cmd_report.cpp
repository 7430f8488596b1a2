// q7xctl report FILE | --port PORT -o SHEET.pdf: the printable configuration sheet of a file or of
// the device at a port, as the window's report writes it.
#include "cli/commands.h"
#include "cli/problems.h"
#include "cli/source.h"
#include "lang/messagetable.h"
#include "report/sheet.h"

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
    sub->add_option("-o,--output", o->output, "The PDF file to write")->required();
    sub->add_flag("--include-passwords", o->passwords,
                  "Show passwords and the PIN code instead of masking them");
    sub->add_flag("--force", o->force, "Replace an existing file");
    sub->callback([&run, &status, o] {
        run.loadMessages();
        const std::optional<Source> source = sourceOf(run, o->source);
        if (!source) {
            status = BadUsage;
            return;
        }
        const QString output = QString::fromStdString(o->output);
        status = refuseExisting(run, output, o->force);
        if (status != Done)
            return;
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
        options.fileName = source->file; // as given; empty for a device
        options.firmware = firmware.isEmpty() ? QString() : lang::FormatM(1003, firmware);
        options.includePasswords = o->passwords;
        QString error;
        if (!report::writeSheetPdfInLanguage(output, c, options, {}, &error)) {
            run.complain(lang::FormatM(1806, {output, error}));
            status = BadUsage;
            return;
        }
        run.say(lang::FormatM(1816, output));
    });
}

} // namespace q7x::cli
