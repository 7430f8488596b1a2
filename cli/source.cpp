#include "cli/source.h"

#include "lang/messagetable.h"

namespace q7x::cli {

std::optional<PortSpec> portOf(const Run &run, const QString &text) {
    const std::optional<PortSpec> port = PortSpec::parse(text);
    if (!port)
        run.complain(lang::FormatM(1815, text));
    return port;
}

Status load(const Run &run, const Source &source, ConfigurationFile &out, QString *firmware) {
    if (source.port.isEmpty())
        return readConfiguration(run, source.file, out);
    const std::optional<PortSpec> port = portOf(run, source.port);
    if (!port)
        return BadUsage;
    Device device(run, *port);
    Identity id;
    Status s = device.connect(id);
    if (s == Done)
        s = device.read(id, out.image);
    out.model = id.model;
    if (firmware)
        *firmware = id.firmware;
    return s;
}

} // namespace q7x::cli
