#pragma once
// A configuration to look at: a file, or what the device at a port holds (read for the purpose).
#include "cli/device.h"
#include "cli/files.h"

#include <CLI/CLI.hpp>

namespace q7x::cli {

struct Source {
    QString file;
    QString port; // set: read the device there
    // The file's name, or the port as given.
    QString name() const { return port.isEmpty() ? file : port; }
};

// The FILE argument and the --port option of a command that looks at one configuration.
struct SourceOptions {
    std::string file, port;
};
void addSourceOptions(CLI::App *sub, SourceOptions &o);
// The configuration given; nothing, said, unless exactly one of FILE and --port is given.
std::optional<Source> sourceOf(const Run &run, const SourceOptions &o);

// The device's firmware ("1_3", "7_x") in `firmware` when it was read from a device.
Status load(const Run &run, const Source &source, ConfigurationFile &out,
            QString *firmware = nullptr);

// The port as given on the command line; BadUsage, said, when it names none.
std::optional<PortSpec> portOf(const Run &run, const QString &text);

} // namespace q7x::cli
