#include "image/layout.h"

#include "image/codepage.h"

#include <algorithm>

namespace q7x::image {

namespace {

using Kind = ConvertError::Kind;

void setNibbleAt(std::uint8_t *bytes, int i, int value) {
    std::uint8_t &b = bytes[i / 2];
    b = i % 2 == 0 ? std::uint8_t((b & 0x0F) | (value & 0x0F) << 4)
                   : std::uint8_t((b & 0xF0) | (value & 0x0F));
}

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

bool isBlank(const QString &text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c == u' '; });
}

} // namespace

// ---- Codes shared by both models --------------------------------------------------------------

std::optional<std::uint8_t> periodCode(int item) {
    if (item < 0 || item >= PeriodItemCount)
        return std::nullopt;
    return PeriodCodes[item];
}

std::optional<int> periodItem(int code) {
    if (code >= 255)
        return PeriodItemCount - 1;
    for (int item = 0; item < PeriodItemCount; ++item)
        if (PeriodCodes[item] == code)
            return item;
    return std::nullopt;
}

std::optional<int> delayItem(std::uint8_t seconds) {
    const int item = seconds / 10;
    if (item >= DelayItemCount)
        return std::nullopt;
    return item;
}

std::optional<std::uint8_t> gsmTypeCode(int item) {
    static constexpr std::array<std::uint8_t, GsmItemCount> codes = {
        0x01, 0x02, 0x03, 0x03, 0x04, 0x05, 0x05, 0x08, 0x09, 0x09, GsmBlitzCode};
    if (item < 0 || item >= GsmItemCount)
        return std::nullopt;
    return codes[item];
}

bool gsmItemSetsOrderFlag(int item) { return item == 3 || item == 6 || item == 9; }

std::optional<int> gsmTypeItem(std::uint8_t code, bool orderFlag) {
    // The rules run in this order and a later match overrides an earlier one.
    std::optional<int> item;
    if ((code & 0x03) == 0x03)
        item = orderFlag ? 3 : 2;
    if ((code & 0x05) == 0x05)
        item = orderFlag ? 6 : 5;
    if ((code & 0x09) == 0x09)
        item = orderFlag ? 9 : 8;
    switch (code & 0x0F) {
    case 0x01:
        item = 0;
        break;
    case 0x02:
        item = 1;
        break;
    case 0x04:
        item = 4;
        break;
    case 0x08:
        item = 7;
        break;
    default:
        break;
    }
    if (code == GsmBlitzCode)
        item = GsmBlitzItem;
    return item;
}

// ---- Relay 1 work mode ------------------------------------------------------------------------

int relayWorkMode(const RelaySettings &s) {
    struct Row {
        bool alarmEvent, boxDamage, onOffLine, onOffAllLine;
        int timeRzmk, timeZmk, timePeriod;
    };
    static constexpr std::array<Row, 6> rows = {{{true, false, true, true, 7, 0, 0},
                                                 {true, false, true, true, 1, 1, 15},
                                                 {true, true, true, true, 7, 0, 0},
                                                 {true, false, false, false, 0, 7, 0},
                                                 {true, false, false, false, 7, 0, 0},
                                                 {false, false, true, false, 0, 4, 0}}};
    if (s.errorFire || s.noConnect || s.errorPower || s.inverted)
        return RelaySpecialMode;
    for (int mode = 0; mode < int(rows.size()); ++mode) {
        const Row &r = rows[mode];
        if (s.alarmEvent == r.alarmEvent && s.boxDamage == r.boxDamage &&
            s.onOffLine == r.onOffLine && s.onOffAllLine == r.onOffAllLine &&
            s.timeRzmk == r.timeRzmk && s.timeZmk == r.timeZmk && s.timePeriod == r.timePeriod)
            return mode;
    }
    return RelaySpecialMode;
}

// ---- Object grouping --------------------------------------------------------------------------

ObjectGroups groupObjects(const std::array<int, PartitionCount> &objects) {
    ObjectGroups g;
    for (int k = 0; k < PartitionCount; ++k) {
        if (g.group[k] != 0 || objects[k] == 0)
            continue;
        ++g.count;
        g.firstPartition[g.count - 1] = k + 1;
        g.object[g.count - 1] = objects[k];
        for (int m = k; m < PartitionCount; ++m)
            if (objects[m] == objects[k])
                g.group[m] = g.count;
    }
    return g;
}

// ---- Digit strings and numbers ----------------------------------------------------------------

void packNibbles(const std::uint8_t *nibbles, int count, std::uint8_t oddFill, std::uint8_t *out,
                 int outSize) {
    count = std::min(count, outSize * 2);
    for (int i = 0; i < count; ++i)
        setNibbleAt(out, i, nibbles[i]);
    if (count % 2 == 1)
        setNibbleAt(out, count, oddFill);
}

void putPacked3(std::uint8_t *bytes, int index, int value) {
    value = (value % 1000 + 1000) % 1000;
    setNibbleAt(bytes, 3 * index, value / 100);
    setNibbleAt(bytes, 3 * index + 1, value / 10 % 10);
    setNibbleAt(bytes, 3 * index + 2, value % 10);
}

std::array<int, 3> packed3Digits(const std::uint8_t *bytes, int index) {
    return {nibbleAt(bytes, 3 * index), nibbleAt(bytes, 3 * index + 1),
            nibbleAt(bytes, 3 * index + 2)};
}

int packed3Value(const std::uint8_t *bytes, int index) {
    const auto d = packed3Digits(bytes, index);
    return d[0] * 100 + d[1] * 10 + d[2];
}

Converted<std::array<std::uint8_t, 2>> encodeU16(const QString &text) {
    if (isBlank(text))
        return std::array<std::uint8_t, 2>{0xFF, 0xFF};
    const auto value = parseDecimal(text, 0xFFFF);
    if (!value)
        return value.error();
    return std::array<std::uint8_t, 2>{std::uint8_t(*value & 0xFF),
                                       std::uint8_t((*value & 0xFF00) >> 8)};
}

std::optional<int> decodeU16(std::uint8_t low, std::uint8_t high) {
    if (low == 0xFF || high == 0xFF)
        return std::nullopt;
    return low | high << 8;
}

// ---- Q72 --------------------------------------------------------------------------------------

namespace q72 {

namespace {

struct EventBitDef {
    int byte; // 0 = A, 1 = B
    std::uint8_t mask;
};
constexpr std::array<EventBitDef, EventTypeCount> EventBits = {{{0, 0x04},
                                                                {0, 0x20},
                                                                {0, 0x02},
                                                                {0, 0x01},
                                                                {0, 0x08},
                                                                {0, 0x40},
                                                                {0, 0x10},
                                                                {1, 0x08},
                                                                {1, 0x02},
                                                                {1, 0x04},
                                                                {1, 0x10},
                                                                {1, 0x01}}};

} // namespace

RelaySettings relaySettings(const ConfigImage &img) {
    RelaySettings s;
    s.alarmEvent = testBit(img, AlarmEvent1);
    s.boxDamage = testBit(img, BoxDamage1);
    s.onOffLine = testBit(img, OnOffLine1);
    s.onOffAllLine = testBit(img, OnOffAllLine1);
    s.errorFire = testBit(img, ErrorFire1);
    s.noConnect = testBit(img, NoConnect1);
    s.errorPower = testBit(img, ErrorPower1);
    s.inverted = testBit(img, InvRele1);
    s.timeRzmk = getField(img, TimeRzmk1);
    s.timeZmk = getField(img, TimeZmk1);
    s.timePeriod = getField(img, TimePeriod1);
    return s;
}

BitRef eventBit(int recipient, int type) {
    const auto &d = EventBits[type - 1];
    return {RecipientEvents + 2 * (recipient - 1) + d.byte, d.mask};
}

BitRef eventType12Copy(int recipient) { return {RecipientEvents + 2 * (recipient - 1) + 1, 0x20}; }

BitRef urgentBit(int type) {
    const auto &d = EventBits[type - 1];
    return {Urgency + d.byte, d.mask};
}

namespace {
// Blank positions after the last digit are the mask's, not the number's: they are stored the
// same as positions not given. A blank between digits stays, so that its byte reads back.
DecodedText dialled(DecodedText r) {
    while (r.text.endsWith(QLatin1Char('_')))
        r.text.chop(1);
    return r;
}
} // namespace

Converted<std::array<std::uint8_t, 2>> encodePin(const QString &text) {
    std::array<std::uint8_t, 4> d{};
    for (int i = 0; i < 4; ++i) {
        const QChar c = i < text.size() ? text[i] : QChar(u'_');
        d[i] = isDigit(c) ? std::uint8_t(c.unicode() - u'0') : 0x0F;
    }
    if (d[0] == 0x0F && d[1] == 0x0F && (d[2] != 0x0F || d[3] != 0x0F))
        return ConvertError{Kind::Unstorable, text};
    return std::array<std::uint8_t, 2>{std::uint8_t(d[0] << 4 | d[1]),
                                       std::uint8_t(d[2] << 4 | d[3])};
}

DecodedText decodePin(std::uint8_t b6, std::uint8_t b7) {
    DecodedText r;
    if (b6 == 0xFF)
        return r;
    for (int n : {b6 >> 4, b6 & 0x0F, b7 >> 4, b7 & 0x0F}) {
        if (n >= 10 && n <= 14) {
            r.bad = true;
            return r;
        }
        r.text += n == 15 ? QChar(u'_') : QChar(u'0' + n);
    }
    return dialled(r);
}

Converted<std::array<std::uint8_t, 8>> encodePhone(const QString &text, bool recipient) {
    constexpr int Positions = 15;
    if (text.size() > 1 + Positions)
        return ConvertError{Kind::TooLong, text};
    if (!text.isEmpty() && text[0] != u'+')
        return ConvertError{Kind::BadCharacter, text, 0};
    std::array<std::uint8_t, Positions> nib{};
    bool anyDigit = false;
    for (int i = 0; i < Positions; ++i) {
        const QChar c = i + 1 < text.size() ? text[i + 1] : QChar(u'_');
        if (isDigit(c)) {
            nib[i] = std::uint8_t(c.unicode() - u'0');
            anyDigit = true;
        } else if (c == u'_') {
            nib[i] = 0x0F;
        } else {
            return ConvertError{Kind::BadCharacter, text, i + 1};
        }
    }
    std::array<std::uint8_t, 8> out;
    out.fill(0xFF);
    if (!anyDigit) {
        if (!recipient)
            out[0] = 0x0F;
        return out;
    }
    if (nib[0] == 0x0F)
        return ConvertError{Kind::Unstorable, text};
    out[0] = nib[0];
    packNibbles(nib.data() + 1, Positions - 1, 0x0F, out.data() + 1, 7);
    return out;
}

DecodedText decodePhone(const std::uint8_t *bytes8) {
    DecodedText r;
    const int first = bytes8[0] & 0x0F;
    if (first == 15)
        return r;
    r.text = QStringLiteral("+");
    if (first >= 10) {
        r.bad = true;
        return r;
    }
    r.text += QChar(u'0' + first);
    for (int i = 0; i < 14; ++i) {
        const int n = nibbleAt(bytes8 + 1, i);
        if (n >= 10 && n <= 14) {
            r.bad = true;
            return r;
        }
        r.text += n == 15 ? QChar(u'_') : QChar(u'0' + n);
    }
    return dialled(r);
}

Converted<std::array<std::uint8_t, 8>> encodeBalance(const QString &text) {
    constexpr int MaxChars = 2 * RequestBalanceSize;
    if (text.size() > MaxChars)
        return ConvertError{Kind::TooLong, text};
    std::array<std::uint8_t, MaxChars> nib{};
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isDigit(c))
            nib[i] = std::uint8_t(c.unicode() - u'0');
        else if (c == u'*')
            nib[i] = 0x0A;
        else if (c == u'#')
            nib[i] = 0x0B;
        else
            return ConvertError{Kind::BadCharacter, text, i};
    }
    std::array<std::uint8_t, 8> out;
    out.fill(0xFF);
    packNibbles(nib.data(), int(text.size()), 0x0F, out.data(), RequestBalanceSize);
    return out;
}

DecodedText decodeBalance(const std::uint8_t *bytes8) {
    DecodedText r;
    if (bytes8[0] == 0xFF)
        return r;
    for (int i = 0; i < 2 * RequestBalanceSize; ++i) {
        const int n = nibbleAt(bytes8, i);
        if (n <= 9)
            r.text += QChar(u'0' + n);
        else if (n == 10)
            r.text += u'*';
        else if (n == 11)
            r.text += u'#';
        else if (n != 15) {
            r.bad = true;
            return r;
        }
    }
    return r;
}

std::array<std::uint8_t, 3> objectNibbles(int object) {
    object = (object % 1000 + 1000) % 1000;
    std::array<std::uint8_t, 3> d = {std::uint8_t(object / 100), std::uint8_t(object / 10 % 10),
                                     std::uint8_t(object % 10)};
    for (auto &n : d) {
        if (n != 0)
            break;
        n = 0x0F;
    }
    return d;
}

void putObjectDigits(ConfigImage &img, int partition, int object, int rzdNmbItem) {
    const auto d = objectNibbles(object);
    const int at = ObjectDigits + 2 * (partition - 1);
    img[at] = std::uint8_t(d[0] << 4 | d[1]);
    img[at + 1] = std::uint8_t(d[2] << 4 | (rzdNmbItem & 0x0F));
}

ObjectNumber decodeObjectNibbles(int hundreds, int tens, int units) {
    std::array<int, 3> d = {hundreds, tens, units};
    for (int n : d)
        if (n >= 10 && n <= 14)
            return {0, true};
    for (auto &n : d) {
        if (n != 15)
            break;
        n = 0;
    }
    const int number = d[0] * 100 + d[1] * 10 + d[2];
    if (number > 999)
        return {0, true};
    return {number, false};
}

ObjectNumber objectNumber(const ConfigImage &img, int partition) {
    const int at = ObjectDigits + 2 * (partition - 1);
    return decodeObjectNibbles(img[at] >> 4, img[at] & 0x0F, img[at + 1] >> 4);
}

GroupPassword groupPassword(const ConfigImage &img, int group) {
    GroupPassword r;
    for (int i = 0; i < GroupPasswordSize; ++i) {
        const std::uint8_t b = img[GroupPasswords + GroupPasswordSize * (group - 1) + i];
        const int hi = b >> 4, lo = b & 0x0F;
        if ((hi >= 10 && hi <= 14) || (lo >= 10 && lo <= 14)) {
            r.bad = true;
            r.bytes[i] = 0;
        } else {
            r.bytes[i] = b;
        }
    }
    return r;
}

QByteArray ownName(const ConfigImage &img, int n) {
    const auto *begin = img.data() + OwnNames + OwnNameSize * (n - 1);
    const auto *end = std::find(begin, begin + OwnNameSize, std::uint8_t(0));
    return QByteArray(reinterpret_cast<const char *>(begin), end - begin);
}

QString ownNameText(const ConfigImage &img, int n) { return fromCp1251(ownName(img, n)); }

Converted<std::array<std::uint8_t, OwnNameSize>> encodeOwnName(const QString &text) {
    if (text.size() > OwnNameSize)
        return ConvertError{Kind::TooLong, text};
    std::array<std::uint8_t, OwnNameSize> out{};
    for (int i = 0; i < text.size(); ++i) {
        const auto b = toCp1251(text[i]);
        if (!b || *b == 0)
            return ConvertError{Kind::BadCharacter, text, i};
        out[i] = static_cast<std::uint8_t>(*b);
    }
    return out;
}

bool blitzCodeReadsEmpty(int value) {
    return (value & 0xFF) == 0xFF || ((value >> 8) & 0xFF) == 0xFF;
}

Status putBlitzCode(ConfigImage &img, int k, const QString &text) {
    const auto bytes = encodeU16(text);
    if (!bytes)
        return bytes.error();
    if (!isBlank(text) && blitzCodeReadsEmpty((*bytes)[0] | (*bytes)[1] << 8))
        return ConvertError{Kind::Unstorable, text};
    img[BlitzCodeOffsets[k - 1]] = (*bytes)[0];
    img[BlitzCodeOffsets[k - 1] + 1] = (*bytes)[1];
    return Ok();
}

std::optional<int> blitzCode(const ConfigImage &img, int k) {
    const int at = BlitzCodeOffsets[k - 1];
    return decodeU16(img[at], img[at + 1]);
}

} // namespace q72

// ---- Q71 --------------------------------------------------------------------------------------

namespace q71 {

int timeZmk1(const ConfigImage &img) { return (img[13] >> 6 & 0x03) | (img[14] & 0x01) << 2; }

RelaySettings relaySettings(const ConfigImage &img) {
    RelaySettings s;
    s.alarmEvent = testBit(img, AlarmEvent1);
    s.boxDamage = testBit(img, BoxDamage1);
    s.onOffLine = testBit(img, OnOffLine1);
    s.onOffAllLine = testBit(img, OnOffAllLine1);
    s.errorFire = testBit(img, ErrorFire1);
    s.noConnect = testBit(img, NoConnect1);
    s.errorPower = testBit(img, ErrorPower1);
    s.inverted = testBit(img, InvRele1);
    s.timeRzmk = getField(img, TimeRzmk1);
    s.timeZmk = timeZmk1(img);
    s.timePeriod = getField(img, TimePeriod1);
    return s;
}

void putTimeZmk1(ConfigImage &img, int item) {
    img[13] = std::uint8_t((img[13] & 0x3F) | (item & 0x03) << 6);
    img[14] = std::uint8_t((img[14] & 0xFE) | (item >> 2 & 0x01));
}

namespace {
Field thousandsField(int group) {
    return {GroupThousands + (group - 1) / 2, (group - 1) % 2 * 4, 4};
}
} // namespace

int groupObject(const ConfigImage &img, int group) {
    int thousands = getField(img, thousandsField(group));
    if (thousands > 14)
        thousands = 0;
    return thousands * 1000 + packed3Value(img.data() + GroupObjects, group - 1);
}

void putGroupObject(ConfigImage &img, int group, int object) {
    putPacked3(img.data() + GroupObjects, group - 1, object % 1000);
    putField(img, thousandsField(group), object / 1000 % 10);
}

Status putLinePhone(ConfigImage &img, int k, const QString &text) {
    if (text.size() > LinePhoneMaxChars)
        return ConvertError{Kind::TooLong, text};
    static const QString letters = QStringLiteral("BWTP");
    std::array<std::uint8_t, LinePhoneMaxChars> nib{};
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isDigit(c))
            nib[i] = std::uint8_t(c.unicode() - u'0');
        else if (const auto at = letters.indexOf(c); at >= 0)
            nib[i] = std::uint8_t(0x0A + at);
        else
            return ConvertError{Kind::BadCharacter, text, i};
    }
    std::uint8_t *at = img.data() + LinePhones + LinePhoneSize * (k - 1);
    at[0] = std::uint8_t(text.size());
    std::fill(at + 1, at + LinePhoneSize, 0);
    packNibbles(nib.data(), int(text.size()), 0, at + 1, LinePhoneSize - 1);
    return Ok();
}

QString linePhone(const ConfigImage &img, int k) {
    static const char chars[] = "0123456789BWTP";
    const std::uint8_t *at = img.data() + LinePhones + LinePhoneSize * (k - 1);
    const int count = std::min<int>(at[0], LinePhoneMaxChars);
    QString text;
    for (int i = 0; i < count; ++i)
        if (const int n = nibbleAt(at + 1, i); n <= 13)
            text += QLatin1Char(chars[n]);
    return text;
}

namespace {
Field passwordLengthField(int k) { return {PasswordLengths + (k - 1) / 4, 2 * ((k - 1) % 4), 2}; }
} // namespace

Status putPassword(ConfigImage &img, int k, const QString &text) {
    if (text.isEmpty())
        return Ok();
    std::array<std::uint8_t, 6> nib{};
    for (int i = 0; i < text.size(); ++i) {
        if (!isDigit(text[i]))
            return ConvertError{Kind::BadCharacter, text, i};
        if (i < 6)
            nib[i] = std::uint8_t(text[i].unicode() - u'0');
    }
    if (text.size() < 3 || text.size() > 6)
        return ConvertError{Kind::BadLength, text};
    putField(img, passwordLengthField(k), int(text.size()) - 3);
    std::uint8_t *at = img.data() + Passwords + 3 * (k - 1);
    std::fill(at, at + 3, 0);
    packNibbles(nib.data(), int(text.size()), 0, at, 3);
    return Ok();
}

QString password(const ConfigImage &img, int k) {
    const int length = getField(img, passwordLengthField(k)) + 3;
    const std::uint8_t *at = img.data() + Passwords + 3 * (k - 1);
    QString text;
    for (int i = 0; i < length; ++i)
        if (const int n = nibbleAt(at, i); n <= 9)
            text += QChar(u'0' + n);
    // Without a single digit the password reads as what a write of the empty field stores, so
    // that it reads the same once written back.
    return text.isEmpty() ? QStringLiteral("000") : text;
}

Status putDigCode(ConfigImage &img, int k, const QString &text) {
    int value = 0;
    if (!isBlank(text)) {
        const auto v = parseDecimal(text, 999);
        if (!v)
            return v.error();
        value = *v;
    }
    putPacked3(img.data() + DigCodes, k - 1, value);
    return Ok();
}

Status putDig13(ConfigImage &img, const QString &text) {
    int value = 0;
    if (!isBlank(text)) {
        const auto v = parseDecimal(text, 9999);
        if (!v)
            return v.error();
        value = *v;
    }
    img[Dig13] = std::uint8_t(value / 1000 << 4 | value / 100 % 10);
    img[Dig13 + 1] = std::uint8_t(value / 10 % 10 << 4 | value % 10);
    return Ok();
}

int digCode(const ConfigImage &img, int k) { return packed3Value(img.data() + DigCodes, k - 1); }

int dig13(const ConfigImage &img) {
    return (img[Dig13] >> 4) * 1000 + (img[Dig13] & 0x0F) * 100 + (img[Dig13 + 1] >> 4) * 10 +
           (img[Dig13 + 1] & 0x0F);
}

} // namespace q71

} // namespace q7x::image
