// q7xctl clock --port PORT: start the Q72's modem and set its clock from the PC's.
#include "cli/commands.h"
#include "cli/source.h"
#include "lang/messagetable.h"

namespace q7x::cli {

void addClock(CLI::App &app, Run &run, Status &status) {
    auto port = std::make_shared<std::string>();
    CLI::App *sub = app.add_subcommand(
        "clock", "Start the modem of a Q72 and set its clock from the PC's (Run modem)");
    sub->add_option("--port", *port, "com1..com10, a serial device path, or usb")->required();
    listStatuses(sub, {Done, BadUsage, PortNotOpened, NoAnswer, ModemNotStarted, Cancelled},
                 "the modem started and the clock was set");
    sub->callback([&run, &status, port] {
        const std::optional<PortSpec> where = portOf(run, QString::fromStdString(*port));
        if (!where) {
            status = BadUsage;
            return;
        }
        Device device(run, *where);
        Identity id;
        status = device.connect(id);
        if (status != Done)
            return;
        if (id.model != link::DeviceModel::Q72) {
            run.complain(lang::FormatM(1833, modelName(id.model)));
            status = BadUsage;
            return;
        }
        link::DeviceClock clock;
        link::ClockStamp stamp;
        status = device.runModem(clock, stamp);
        if (status != Done)
            return;
        const QString set = clockSetText(clock, stamp);
        run.say(lang::M(1583) + QLatin1Char('\n') +
                lang::FormatM(1834, {set.section(QLatin1Char(' '), 0, 0),
                                     set.section(QLatin1Char(' '), 1, 1)}));
    });
}

} // namespace q7x::cli
