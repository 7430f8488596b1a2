#include "image/convert.h"

namespace q7x::image {

QString ConvertError::message() const {
    switch (kind) {
    case Kind::NotANumber:
        return QStringLiteral("'%1' is not a valid integer value").arg(text);
    case Kind::OutOfRange:
        return QStringLiteral("'%1' is too large for its field").arg(text);
    case Kind::BadCharacter:
        return QStringLiteral("'%1' contains a character that cannot be stored (position %2)")
            .arg(text)
            .arg(position + 1);
    case Kind::TooLong:
        return QStringLiteral("'%1' is too long for its field").arg(text);
    case Kind::BadLength:
        return QStringLiteral("'%1' has a length that cannot be stored").arg(text);
    case Kind::Unstorable:
        return QStringLiteral("'%1' cannot be stored: the device would read it back as empty")
            .arg(text);
    }
    return text;
}

Converted<int> parseDecimal(const QString &text, int maxValue) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    if (begin == end)
        return ConvertError{ConvertError::Kind::NotANumber, text};
    for (qsizetype i = begin; i < end; ++i)
        if (text[i] < u'0' || text[i] > u'9')
            return ConvertError{ConvertError::Kind::NotANumber, text};
    long long value = 0;
    for (qsizetype i = begin; i < end; ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > maxValue) // also bounds the arithmetic on long digit runs
            return ConvertError{ConvertError::Kind::OutOfRange, text};
    }
    return int(value);
}

} // namespace q7x::image
