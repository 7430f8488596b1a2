#pragma once
// Configuration files on the command line: read with the reasons of a failure in the interface
// language, and written atomically, never over an existing file unless --force is given.
#include "cli/run.h"
#include "image/configimage.h"

#include <QByteArray>

namespace q7x::cli {

struct ConfigurationFile {
    image::DeviceModel model = image::DeviceModel::Q72;
    image::ConfigImage image{};
};

// BadUsage, with the reason said, when the file cannot be read, is not a configuration file or
// belongs to no known model.
Status readConfiguration(const Run &run, const QString &path, ConfigurationFile &out);

// Writes `contents` to `path` as one step: readers see the old file or the whole new one. An
// existing file is replaced only with `force`; BadUsage, with the reason said, otherwise.
// BadUsage, said, when `path` exists (a dangling link counts) and `force` is not given. A command
// that reads a device first checks its output with it, so the user is told before waiting.
Status refuseExisting(const Run &run, const QString &path, bool force);
Status writeAtomically(const Run &run, const QString &path, const QByteArray &contents, bool force);
Status writeConfiguration(const Run &run, const QString &path, const ConfigurationFile &file,
                          bool force);

// The model as a configuration file's reader sees it ("Q71", "Q72").
QString modelLabel(image::DeviceModel model);

} // namespace q7x::cli
