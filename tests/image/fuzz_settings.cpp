// Fuzzes the settings codecs on any image: 702 bytes are the image; a shorter input patches a
// factory preset (its first byte picks the preset, then offset and value in three bytes each), so
// that short inputs reach every check of a nearly valid image. Decoding never fails, the decoded
// settings encode (a Q71 image may hold digital codes and passwords that no text field can give
// back, which the encoder refuses by name), and the encoded image decodes to the same settings
// again. Every catalogue field reads and formats the decoded values.
#include "image/catalogue.h"
#include "image/presets.h"

#include <cstdlib>

using namespace q7x::image;

namespace {

template <class Field, class S> unsigned formatAll(const QList<Field> &fields, const S &s) {
    unsigned sum = 0;
    for (const Field &f : fields)
        sum += unsigned(f.text(s).size() + f.itemIdentifier(s).size() + f.control(s).size());
    return sum;
}

bool q71MayRefuse(const QString &key) {
    return key.startsWith(QLatin1String("digitalCode")) || key.endsWith(QLatin1String(".password"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    ConfigImage img{};
    if (size >= img.size()) {
        std::copy_n(data, img.size(), img.begin());
    } else if (size > 0) {
        img = presetImage(data[0] % 2 ? DeviceModel::Q71 : DeviceModel::Q72, data[0] / 2 % 6);
        for (std::size_t i = 1; i + 2 < size; i += 3)
            img[(data[i] << 8 | data[i + 1]) % img.size()] = data[i + 2];
    }

    const auto q72 = decodeQ72(img);
    const Encoded e72 = encodeQ72(q72.settings);
    if (!e72.ok() || !(decodeQ72(e72.image).settings == q72.settings))
        std::abort();

    const auto q71 = decodeQ71(img);
    const Encoded e71 = encodeQ71(q71.settings);
    if (e71.ok() ? !(decodeQ71(e71.image).settings == q71.settings) : !q71MayRefuse(e71.key))
        std::abort();

    volatile unsigned sink =
        formatAll(catalogueQ72(), q72.settings) + formatAll(catalogueQ71(), q71.settings);
    (void)sink;
    return 0;
}
