// q7xctl read --port PORT -o FILE: a backup of the device, every byte as read.
#include "cli/commands.h"
#include "cli/source.h"
#include "lang/messagetable.h"

namespace q7x::cli {

void addRead(CLI::App &app, Run &run, Status &status) {
    struct Options {
        std::string port, output;
        bool force = false;
    };
    auto o = std::make_shared<Options>();
    CLI::App *sub = app.add_subcommand(
        "read", "Read the device's configuration into a file exactly as read (a backup)");
    sub->add_option("--port", o->port, "com1..com10, a serial device path, or usb")->required();
    sub->add_option("-o,--output", o->output, "The configuration file to write (- for stdout)")
        ->required();
    sub->add_flag("--force", o->force, "Replace an existing file");
    listStatuses(sub, {Done, BadUsage, PortNotOpened, NoAnswer, Cancelled}, "read and stored");
    sub->callback([&run, &status, o] {
        // Where the backup goes is settled before the device is read.
        const std::optional<Output> output =
            Output::check(run, QString::fromStdString(o->output), o->force);
        if (!output) {
            status = BadUsage;
            return;
        }
        ConfigurationFile config;
        status = load(run, {{}, QString::fromStdString(o->port)}, config);
        if (status == Done)
            status = output->write(run, configurationText(config));
        if (status == Done && output->name() != QLatin1String("-"))
            run.say(lang::M(1040) + QLatin1Char('\n') +
                    lang::FormatM(1816, printable(output->name())));
    });
}

} // namespace q7x::cli
