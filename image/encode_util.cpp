#include "image/encode_util.h"

namespace q7x::image::detail {

QString key(const char *family, int index, const char *field) {
    QString k = QLatin1String(family) + QLatin1Char('.') + QString::number(index);
    if (field)
        k += QLatin1Char('.') + QLatin1String(field);
    return k;
}

void RangeCheck::item(const QString &key, int value, int count) {
    if (firstKey.isEmpty() && (value < 0 || value >= count)) {
        firstKey = key;
        firstValue = value;
    }
}

void RangeCheck::itemOrNone(const QString &key, int value, int count) {
    if (value != NoItem)
        item(key, value, count);
}

void RangeCheck::relay(const Relay1Settings &r) {
    item(QStringLiteral("relay.events.timeRzmk"), r.events.timeRzmk, 8);
    item(QStringLiteral("relay.events.timeZmk"), r.events.timeZmk, 8);
    item(QStringLiteral("relay.events.timePeriod"), r.events.timePeriod, 16);
}

QString fail(QString *keyOut, const QString &key, const QString &field, const ConvertError &e) {
    *keyOut = key;
    QString text =
        QStringLiteral("The configuration was not stored: %1: %2.").arg(field, e.message());
    if (e.kind == ConvertError::Kind::Unstorable && field.startsWith(QLatin1String("SMS-Blitz")))
        text += QStringLiteral(" Codes 255, 511, 767 ... 9983 (a multiple of 256 minus 1) cannot "
                               "be used; please choose another code.");
    return text;
}

QString outOfRange(const RangeCheck &check) {
    return QStringLiteral("The configuration was not stored: %1: %2 is not an item of its list.")
        .arg(check.firstKey)
        .arg(check.firstValue);
}

Encoded refused(const QString &key, const QString &error) {
    Encoded out;
    out.key = key;
    out.error = error;
    return out;
}

} // namespace q7x::image::detail
