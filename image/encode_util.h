#pragma once
// What the two encoders share: the catalogue keys of fields, the range check of list settings
// and the texts of values that cannot be stored. Internal to the image library.
#include "image/settings.h"

namespace q7x::image::detail {

// "recipients.3.phone", "ownNames.2": a family, the 1-based member and its field.
QString key(const char *family, int index, const char *field = nullptr);

// Notes the first key whose value lies outside its list.
struct RangeCheck {
    QString firstKey;
    int firstValue = 0;
    void item(const QString &key, int value, int count);
    void item(const char *family, int index, int value, int count) {
        item(detail::key(family, index), value, count);
    }
    // NoItem is allowed too: a stored value that no item showed.
    void itemOrNone(const QString &key, int value, int count);
    void relay(const Relay1Settings &r);
};

// The message of a field that cannot be stored; notes the field's key.
QString fail(QString *keyOut, const QString &key, const QString &field, const ConvertError &e);
// The message of the value the range check found outside its list.
QString outOfRange(const RangeCheck &check);
// A refused encoding: an empty image, the field's key and the message.
Encoded refused(const QString &key, const QString &error);

} // namespace q7x::image::detail
