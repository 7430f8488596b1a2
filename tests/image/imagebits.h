#pragma once
// The bits of an image that carry settings, for comparing images the encoders built with images
// they did not (presets, images edited by hand).
#include "image/configimage.h"

#include <QString>

#include <algorithm>

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

} // namespace codectest
