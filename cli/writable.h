#pragma once
// A configuration file made ready for a device: checked as the window checks what it loads, and
// turned into the bytes the window's Write would send after loading it (image/formload.h),
// stamped with the interface language as the window stamps it.
#include "cli/run.h"
#include "image/configimage.h"

namespace q7x::cli {

struct Writable {
    image::DeviceModel model = image::DeviceModel::Q72;
    image::ConfigImage image{};
};

// BadUsage, with every problem said, when the file cannot be written as it stands.
Status prepareWrite(const Run &run, const QString &path, Writable &out);

} // namespace q7x::cli
