// The write's language stamp and the password cells shared by the window and the settings value.
#include "image/settings.h"

namespace q7x::image {

void adjustForWrite(ConfigImage &img, DeviceModel model, std::optional<WriteLanguage> language) {
    if (!language)
        return;
    const int code = int(*language);
    if (model == DeviceModel::Q71)
        img[q71::DeviceLanguage] = std::uint8_t(code);
    else
        img[q72::WorkModeLang] = std::uint8_t(img[q72::WorkModeLang] + 0x10 * code);
}

void clearPartitionsWithoutNumber(Q71Settings &s) {
    for (Q71Recipient &r : s.recipients)
        if (r.phone.isEmpty())
            r.partitions.fill(false);
}

std::array<std::uint8_t, 3> passwordCells(const QString &digits) {
    std::array<std::uint8_t, 3> cells{0xFF, 0xFF, 0xFF};
    for (int i = 0; i < 3 && 2 * i < digits.size(); ++i) {
        const int d1 = digits[2 * i].digitValue();
        const int d2 = 2 * i + 1 < digits.size() ? digits[2 * i + 1].digitValue() : 15;
        cells[std::size_t(i)] = std::uint8_t(16 * d1 + d2);
    }
    return cells;
}

QString passwordDigits(const std::array<int, 3> &cells) {
    QString out;
    for (int cell : cells) {
        if (cell >= 255 || cell < 0)
            continue;
        for (int nibble : {cell >> 4, cell & 0x0F})
            if (nibble != 15)
                out += QString::number(nibble);
    }
    return out;
}

} // namespace q7x::image
