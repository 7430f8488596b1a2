// q7xctl info --port PORT: which device answers there, and its firmware.
#include "cli/commands.h"
#include "cli/settingsjson.h"
#include "cli/source.h"
#include "lang/messagetable.h"

namespace q7x::cli {

void addInfo(CLI::App &app, Run &run, Status &status) {
    struct Options {
        std::string port;
        bool json = false;
    };
    auto o = std::make_shared<Options>();
    CLI::App *sub =
        app.add_subcommand("info", "Identify the device at a port: model and firmware version");
    sub->add_option("--port", o->port, "com1..com10, a serial device path, or usb")->required();
    sub->add_flag("--json", o->json, "Print the identification as JSON");
    listStatuses(sub, {Done, BadUsage, PortNotOpened, NoAnswer, Cancelled}, "identified");
    sub->callback([&run, &status, o] {
        const std::optional<PortSpec> port = portOf(run, QString::fromStdString(o->port));
        if (!port) {
            status = BadUsage;
            return;
        }
        Device device(run, *port);
        Identity id;
        status = device.connect(id);
        // A Q71 names its firmware only in the frame of a read.
        image::ConfigImage image{};
        if (status == Done && id.model == link::DeviceModel::Q71)
            status = device.read(id, image);
        if (status != Done)
            return;
        if (o->json) {
            JsonNode out = jsonDocument(QStringLiteral("q7xctl-info"));
            out.insert(QStringLiteral("port"), port->text);
            out.insert(QStringLiteral("model"), modelLabel(id.model));
            out.insert(QStringLiteral("firmware"), id.firmware);
            run.print(QString::fromUtf8(out.toJson()));
            return;
        }
        run.print(lang::M(1044) + QLatin1Char(' ') + modelName(id.model) + QLatin1Char('\n') +
                  lang::FormatM(1003, id.firmware) + QLatin1Char('\n'));
    });
}

} // namespace q7x::cli
