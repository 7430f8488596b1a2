#include "cli/source.h"

#include "lang/messagetable.h"

namespace q7x::cli {

std::optional<PortSpec> portOf(const Run &run, const QString &text) {
    const std::optional<PortSpec> port = PortSpec::parse(text);
    if (!port)
        run.complain(lang::FormatM(1815, printable(text)));
    return port;
}

void addSourceOptions(CLI::App *sub, SourceOptions &o) {
    sub->add_option("file", o.file, "The configuration file (- for stdin)");
    sub->add_option("--port", o.port, "Read the device at this port instead");
}

std::optional<Source> sourceOf(const Run &run, const SourceOptions &o) {
    if (o.file.empty() == o.port.empty()) {
        run.complain(lang::M(1825));
        return std::nullopt;
    }
    return Source{QString::fromStdString(o.file), QString::fromStdString(o.port)};
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
