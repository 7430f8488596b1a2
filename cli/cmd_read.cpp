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
    sub->add_option("-o,--output", o->output, "The configuration file to write")->required();
    sub->add_flag("--force", o->force, "Replace an existing file");
    sub->callback([&run, &status, o] {
        run.loadMessages();
        const QString output = QString::fromStdString(o->output);
        status = refuseExisting(run, output, o->force);
        if (status != Done)
            return;
        ConfigurationFile config;
        status = load(run, {{}, QString::fromStdString(o->port)}, config);
        if (status == Done)
            status = writeConfiguration(run, output, config, o->force);
        if (status == Done)
            run.say(lang::M(1040) + QLatin1Char('\n') + lang::FormatM(1816, output));
    });
}

} // namespace q7x::cli
