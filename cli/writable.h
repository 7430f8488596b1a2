#pragma once
// A configuration file made ready for a device: checked as the window checks what it loads, and
// turned into the bytes the window's Write would send after loading it (image/formload.h),
// stamped with the interface language the configurator's window would stamp (its stored one,
// whatever the language of q7xctl's output).
#include "cli/fieldtext.h"
#include "cli/files.h"
#include "image/settings.h"

namespace q7x::cli {

struct Writable {
    image::DeviceModel model = image::DeviceModel::Q72;
    image::ConfigImage image{};
    QString language;         // the interface language stamped into the image
    ConfigurationFile source; // the file as read
};

// The stamp of the configurator's stored interface language.
image::WriteLanguage writeLanguage(const Run &run);

// A file about to be compared with a device becomes what a write of it would leave there, unless
// `asStored` (or a write would refuse it); true when it did.
bool compareAsWritten(const Run &run, ConfigurationFile &file, bool asStored);

// BadUsage, with every problem said (and that nothing was written), when the configuration
// cannot be written as it stands: the window would restore the factory settings or keep a choice
// of its own on loading it, or could not store a value. Lines whose numbers do not fit in a byte
// are named as a warning.
Status checkWritable(const Run &run, const ConfigurationFile &file, const FieldText &words);

// BadUsage, with every problem said, when the file cannot be written as it stands. Lines whose
// numbers do not fit in a byte are named as a warning; the image holds what the window loads.
Status prepareWrite(const Run &run, const QString &path, Writable &out);

} // namespace q7x::cli
