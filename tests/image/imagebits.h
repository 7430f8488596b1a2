#pragma once
// The bits of an image that carry settings, for comparing images the encoders built with images
// they did not (presets, images edited by hand), and images written down as runs of bytes.
#include "image/configimage.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <functional>

namespace codectest {

using q7x::core::DeviceModel;
using q7x::image::ConfigImage;

// The bits each model's layout gives a meaning, for an image whose object groups number
// `groupCount` (command bytes of unused groups carry nothing).
inline ConfigImage definedBits(DeviceModel model, int groupCount) {
    ConfigImage m{};
    auto all = [&](int first, int last) { std::fill(&m[first], &m[last] + 1, 0xFF); };
    if (model == DeviceModel::Q71) {
        all(0, 272);
        return m;
    }
    // Settings up to the SMS-Blitz codes; the codes with their gaps; the voice flags; own names
    // and group passwords. A command byte has five commands.
    all(0, 273);
    all(276, 281);
    all(288, 289);
    all(292, 293);
    all(296, 315);
    m[320] = 0xFF;
    m[321] = 0x1D;
    m[322] = 0xF5;
    m[323] = 0x3F;
    all(416, 511);
    for (int g = 1; g <= 16; ++g)
        m[239 + g] = g <= groupCount ? 0x1F : 0;
    return m;
}

// Whether `got` equals `want` on the bits the layout of `model` defines; names the first mismatch.
inline bool sameBits(const ConfigImage &got, const ConfigImage &want, DeviceModel model,
                     int groupCount, QString *why) {
    const auto mask = definedBits(model, groupCount);
    for (int i = 0; i < q7x::image::ImageSize; ++i)
        if ((got[i] ^ want[i]) & mask[i]) {
            *why = QStringLiteral("byte %1: got %2, want %3 (mask 0x%4)")
                       .arg(i)
                       .arg(got[i])
                       .arg(want[i])
                       .arg(mask[i], 2, 16, QLatin1Char('0'));
            return false;
        }
    return true;
}

// Byte runs written "first..last: values" or "at: value", separated by ";". A value is a C
// number (0x.. for hex) and may repeat as "value*count"; "at&mask: value" names bits of a byte.
inline void forEachRun(const char *runs, const std::function<void(int, int, int)> &byte) {
    for (const QString &part :
         QString::fromLatin1(runs).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList kv = part.split(QLatin1Char(':'));
        const QStringList where = kv[0].trimmed().split(QLatin1Char('&'));
        const int mask = where.size() > 1 ? where[1].toInt(nullptr, 0) : 0xFF;
        const QStringList range = where[0].split(QStringLiteral(".."));
        const int first = range[0].toInt();
        const int last = range.size() > 1 ? range[1].toInt() : first;
        QList<int> values;
        for (const QString &v :
             kv[1].split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
            const QStringList vc = v.split(QLatin1Char('*'));
            for (int i = 0; i < (vc.size() > 1 ? vc[1].toInt() : 1); ++i)
                values << vc[0].toInt(nullptr, 0);
        }
        if (values.size() != last - first + 1)
            qFatal("run %s does not fill its range", qPrintable(part));
        for (int i = 0; i < values.size(); ++i)
            byte(first + i, mask, values[i]);
    }
}

// `base` with the bytes of `runs` written in.
inline ConfigImage imageFromRuns(const char *runs, ConfigImage img) {
    forEachRun(runs, [&](int at, int, int value) { img[at] = std::uint8_t(value); });
    return img;
}

// Whether `img` holds the bytes of `runs`; names the first that differs.
inline bool holdsRuns(const ConfigImage &img, const char *runs, QString *why) {
    forEachRun(runs, [&](int at, int mask, int value) {
        if (why->isEmpty() && (img[at] & mask) != value)
            *why = QStringLiteral("byte %1&0x%2: got 0x%3, want 0x%4")
                       .arg(at)
                       .arg(mask, 0, 16)
                       .arg(img[at] & mask, 0, 16)
                       .arg(value, 0, 16);
    });
    return why->isEmpty();
}

} // namespace codectest
