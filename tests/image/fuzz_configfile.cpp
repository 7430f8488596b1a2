// Fuzzes the configuration file reader: no crash, no read outside the input, and a read file
// written back reads as the same image.
#include "image/configfile.h"

#include <QBuffer>

#include <cstdlib>

using namespace q7x::image;

namespace {

ConfigFileRead parse(const QByteArray &data) {
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return readConfig(buffer, QStringLiteral("fuzz.cfg"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto r = parse(input);
    if (r.image.has_value() == bool(r.error))
        std::abort(); // exactly one of image and error
    if (r.image) {
        // Any model line read back is written back as it was, known model or not.
        const auto again = parse(formatConfig(*r.image, static_cast<DeviceModel>(*r.model)));
        if (!again.image || *again.image != *r.image || again.model != r.model)
            std::abort();
    }
    return 0;
}
