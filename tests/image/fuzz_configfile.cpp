// Fuzzes the configuration file reader and every image reader on what it returns: no crash, no
// read outside the image, and a read file written back reads as the same image.
#include "image/configfile.h"
#include "image/layout.h"

#include <QBuffer>

#include <cstdlib>

using namespace q7x::image;

namespace {

// Runs every reader of both layouts; the results are folded into a value so none is dropped.
unsigned readAll(const ConfigImage &img) {
    unsigned sum = 0;
    for (int k = 1; k <= q72::RecipientCount; ++k) {
        sum += unsigned(q72::decodePhone(img.data() + q72::Phones + q72::PhoneSize * (k - 1)).bad);
        sum += unsigned(
            gsmTypeItem(img[q72::TypeMesgGsm + k - 1], testBit(img, q72::OrderFlag)).value_or(-1));
        sum += q71::linePhone(img, k).size() + q71::password(img, k).size();
        for (int t = 1; t <= q72::EventTypeCount; ++t)
            sum += unsigned(testBit(img, q72::eventBit(k, t))) +
                   unsigned(testBit(img, q71::eventBit(k, t)));
    }
    sum += q72::decodePhone(img.data() + q72::SmsCentre).text.size();
    sum += q72::decodePin(img[q72::Pin], img[q72::Pin + 1]).text.size();
    sum += q72::decodeBalance(img.data() + q72::RequestBalance).text.size();
    sum += unsigned(periodItem(img[q72::TestLine]).value_or(-1));
    sum += unsigned(delayItem(img[q72::DelayRzd]).value_or(-1));
    const auto groups = q72::partitionGroups(img);
    for (int p = 1; p <= PartitionCount; ++p) {
        const auto object = q72::objectNumber(img, p);
        if (object.number < 0 || object.number > 999)
            std::abort();
        const int g = groups.group[p - 1];
        if (g < 0 || g > 16)
            std::abort();
        if (g != 0)
            sum += q72::groupPassword(img, g).bytes[0];
        sum += unsigned(q71::groupObject(img, p)) + unsigned(q71::partitionGroup(img, p));
    }
    for (int n = 1; n <= q72::OwnNameCount; ++n) {
        const QString name = q72::ownNameText(img, n);
        if (!q72::encodeOwnName(name) || name.size() > q72::OwnNameSize)
            std::abort(); // every stored name must be writable again
        sum += name.size();
    }
    sum +=
        unsigned(relayWorkMode(q72::relaySettings(img)) + relayWorkMode(q71::relaySettings(img)));
    for (int k = 1; k <= q72::BlitzCount; ++k)
        sum += unsigned(q72::blitzCode(img, k).value_or(-1));
    for (int k = 1; k <= q71::DigCodeCount; ++k)
        sum += unsigned(q71::digCode(img, k));
    return sum + unsigned(q71::dig13(img)) + unsigned(q71::timeZmk1(img));
}

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
        const auto again = parse(formatConfig(*r.image, *r.model));
        if (!again.image || *again.image != *r.image || again.model != r.model)
            std::abort();
        volatile unsigned sink = readAll(*r.image);
        (void)sink;
    }
    // The raw bytes as an image too, so the readers see arbitrary values.
    ConfigImage raw{};
    std::copy_n(data, std::min<std::size_t>(size, raw.size()), raw.begin());
    volatile unsigned sink = readAll(raw);
    (void)sink;
    return 0;
}
