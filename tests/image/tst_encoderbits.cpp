// Every byte and bit the encoders write, one setting at a time. The bits each setting lands on are
// written down here from the devices' memory layouts; no other bit that carries a setting may
// move. Second copies that the decoders never read are included: the device reads them.
#include "image/catalogue.h"
#include "image/settings.h"
#include "imagebits.h"

#include <QtTest>

using namespace q7x::image;
using codectest::definedBits;
using codectest::forEachRun;

namespace {

QString hex(int v) { return QStringLiteral("0x%1").arg(v, 0, 16); }
// Bits `mask` of byte `at` hold `value`.
QString bits(int at, int mask, int value) {
    return QStringLiteral("%1&%2: %3;").arg(at).arg(hex(mask), hex(value));
}
QString on(int at, int mask) { return bits(at, mask, mask); }
// Nibble n (0-based, the high nibble of byte `first` first) holds `value`.
QString nibble(int first, int n, int value) {
    return bits(first + n / 2, n % 2 ? 0x0F : 0xF0, n % 2 ? value : value << 4);
}
// Bytes from `at` on.
QString bytes(int at, std::initializer_list<int> values) {
    QString out;
    for (int v : values)
        out += bits(at++, 0xFF, v);
    return out;
}

// The catalogue's setting `key` at `value`, and the bits it must land on.
struct Row {
    QString key;
    QVariant value;
    QString runs;
};
struct Rows {
    QList<Row> rows;
    void set(const QString &key, const QVariant &value, const QString &runs) {
        rows.append({key, value, runs});
    }
};

QString key(const char *format, int a, int b = 0) {
    QString k = QString::fromLatin1(format).arg(a);
    return b ? k.arg(b) : k;
}

// Each row changes its bits as written and no other bit the layout gives a meaning; every such
// bit is changed by some row or is one of the fixed bits, whose value the baseline checks.
template <class S>
void checkRows(const QList<CatalogueField<S>> &fields, const QList<Row> &rows, const S &base,
               Encoded (*encode)(const S &), const ConfigImage &defined, const QString &baseline,
               const QString &fixed) {
    const Encoded before = encode(base);
    QVERIFY2(before.ok(), qPrintable(before.error));
    QString why;
    QVERIFY2(codectest::holdsRuns(before.image, baseline.toLatin1().constData(), &why),
             qPrintable(QStringLiteral("baseline: ") + why));
    ConfigImage covered{};
    forEachRun(fixed.toLatin1().constData(), [&](int at, int mask, int) { covered[at] |= mask; });
    for (const Row &row : rows) {
        const QString name = row.key + QLatin1Char('=') + row.value.toString();
        const auto f = std::find_if(fields.begin(), fields.end(),
                                    [&](const auto &x) { return x.key == row.key; });
        S s = base;
        QVERIFY2(f != fields.end() && f->set && f->set(s, row.value), qPrintable(name));
        const Encoded e = encode(s);
        QVERIFY2(e.ok(), qPrintable(name + QStringLiteral(": ") + e.error));
        ConfigImage touched{};
        forEachRun(row.runs.toLatin1().constData(), [&](int at, int mask, int value) {
            touched[at] |= mask;
            if (why.isEmpty() && (e.image[at] & mask) != value)
                why = QStringLiteral("byte %1&%2 is %3, want %4")
                          .arg(at)
                          .arg(hex(mask), hex(e.image[at] & mask), hex(value));
        });
        for (int i = 0; i < ImageSize && why.isEmpty(); ++i)
            if (const int moved = (e.image[i] ^ before.image[i]) & defined[i] & ~touched[i])
                why = QStringLiteral("byte %1 also changed bits %2").arg(i).arg(hex(moved));
        QVERIFY2(why.isEmpty(), qPrintable(name + QStringLiteral(": ") + why));
        for (int i = 0; i < ImageSize; ++i)
            covered[i] |= touched[i];
    }
    for (int i = 0; i < ImageSize; ++i)
        QVERIFY2((defined[i] & ~covered[i]) == 0,
                 qPrintable(QStringLiteral("no row sets bits %1 of byte %2")
                                .arg(hex(defined[i] & ~covered[i]))
                                .arg(i)));
}

// Relay 1 boxes and their bits: {key, byte, mask} for each model.
struct RelayBit {
    const char *key;
    int at, mask;
};

} // namespace

class TstEncoderBits : public QObject {
    Q_OBJECT
  private slots:
    void q72EverySettingLandsOnItsBits();
    void q71EverySettingLandsOnItsBits();
    void writeStampsTheInterfaceLanguage();
};

void TstEncoderBits::q72EverySettingLandsOnItsBits() {
    Rows r;
    // Main page and flag bytes.
    r.set("workMode", 5, bits(171, 0x0F, 5) + bits(181, 0x01, 0));
    r.set("nameLanguage", 2, bits(171, 0xF0, 0x20));
    r.set("controlInput", 1, bits(180, 0x01, 0));
    r.set("input1", 1, on(180, 0x02));
    r.set("input2", 1, on(180, 0x04));
    r.set("speedLine", 1, on(181, 0x02));
    r.set("zoneNumber", 1, on(181, 0x04));
    r.set("dialInTurn", true, on(181, 0x10));
    r.set("relay.byCommand", true, on(181, 0x40));
    r.set("eventsArchive", true, on(181, 0x80));
    r.set("checkConnect", 15, on(182, 0xF0));
    r.set("gsmLost", 15, on(182, 0x0F));
    r.set("simCount", 15, bytes(172, {0xF0}));
    r.set("phrasePause", 15, bytes(183, {15}));
    r.set("pin", "1234", bytes(6, {0x12, 0x34}));
    r.set("pin", "9_8_", bytes(6, {0x9F, 0x8F}));
    r.set("smsCentre", "+79031234567", bytes(24, {0x07, 0x90, 0x31, 0x23, 0x45, 0x67, 0xFF, 0xFF}));
    r.set("smsCentre", "+1_3456789012345",
          bytes(24, {0x01, 0xF3, 0x45, 0x67, 0x89, 0x01, 0x23, 0x45}));
    r.set("balanceRequest", "*102#", bytes(184, {0xA1, 0x02, 0xBF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    r.set("balanceRequest", "#*98765432101234",
          bytes(184, {0xBA, 0x98, 0x76, 0x54, 0x32, 0x10, 0x12, 0x34}));

    // Periods in units of 7.5 minutes (32 h is 255), delays in seconds, each with its copies.
    r.set("testLine", 15, bytes(173, {255}));
    r.set("testLine", 1, bytes(173, {2}));
    r.set("periodRzd", 14, bytes(160, {192, 192, 192, 192}));
    r.set("periodHardware", 13, bytes(164, {128, 128, 128, 128}));
    r.set("periodHardware", 4, bytes(164, {6, 6, 6, 6}));
    r.set("delayHardware", 15, bytes(144, {150, 150, 150, 150, 150, 150}));
    r.set("delayTypeAlarm", 1, bytes(154, {10}));
    r.set("delayRzd", 7, bytes(155, {70, 70, 70, 70}));

    // Tone codes: symbols 1..3 and the pause, the first of each pair in the high nibble.
    const struct {
        const char *key;
        int at;
    } tones[] = {{"toneAlarm.%1", 174}, {"toneArm.%1", 176}, {"toneDisarm.%1", 178}};
    for (const auto &t : tones)
        for (int n = 1; n <= 4; ++n)
            r.set(key(t.key, n), 15, nibble(t.at, n - 1, 15));

    // Recipients. Notification codes: SMS 1, voice 2, tone 4, digital 8, SMS-Blitz 0x13; a type
    // that sends the SMS last sets the order flag of the whole device.
    const int codes[11] = {1, 2, 3, 3, 4, 5, 5, 8, 9, 9, 0x13};
    const int q72Events[12][2] = {{0, 0x04}, {0, 0x20}, {0, 0x02}, {0, 0x01}, {0, 0x08}, {0, 0x40},
                                  {0, 0x10}, {1, 0x08}, {1, 0x02}, {1, 0x04}, {1, 0x10}, {1, 0x01}};
    for (int k = 1; k <= 8; ++k) {
        for (int item = 1; item <= 10; ++item)
            r.set(key("recipients.%1.notification", k), item,
                  bytes(7 + k, {codes[item]}) +
                      bits(181, 0x20, item == 3 || item == 6 || item == 9 ? 0x20 : 0));
        r.set(key("recipients.%1.combineSms", k), true, on(0, 1 << (k - 1)));
        r.set(key("recipients.%1.dialAttempts", k), 15, on(15 + k, 0x0F));
        r.set(key("recipients.%1.waitTime", k), 15, on(15 + k, 0xF0));
        r.set(key("recipients.%1.confirm", k), true, on(170, 1 << (k - 1)));
        const int phone = 32 + 8 * (k - 1);
        r.set(key("recipients.%1.phone", k), "+123",
              bytes(phone, {1, 0x23, 255, 255, 255, 255, 255, 255}));
        r.set(key("recipients.%1.phone", k), "+987654321098765",
              bytes(phone, {9, 0x87, 0x65, 0x43, 0x21, 0x09, 0x87, 0x65}));
        for (int p = 1; p <= 16; ++p)
            r.set(key("recipients.%1.partitions.%2", k, p), true,
                  p >= 9 ? on(96 + 2 * (k - 1), 1 << (p - 9)) : on(97 + 2 * (k - 1), 1 << (p - 1)));
        for (int t = 1; t <= 12; ++t) {
            const int at = 112 + 2 * (k - 1) + q72Events[t - 1][0];
            // Event type 12 also sets a second copy.
            r.set(key("recipients.%1.events.%2", k, t), true,
                  on(at, q72Events[t - 1][1]) + (t == 12 ? on(at, 0x20) : QString()));
        }
    }
    for (int t = 1; t <= 12; ++t)
        r.set(key("urgent.%1", t), true,
              on(168 + q72Events[t - 1][0], q72Events[t - 1][1]) +
                  (t == 12 ? on(169, 0x20) : QString()));

    // Partitions: name item, group, object digits with leading zeros as 0xF, partition number.
    for (int p = 1; p <= 16; ++p) {
        const int at = 208 + 2 * (p - 1);
        r.set(key("partitions.%1.name", p), 38, bytes(127 + p, {38}));
        r.set(key("partitions.%1.group", p), 16, bytes(191 + p, {16}));
        r.set(key("partitions.%1.number", p), 15, bits(at + 1, 0x0F, 15));
        r.set(key("partitions.%1.object", p), 5, bytes(at, {0xFF}) + bits(at + 1, 0xF0, 0x50));
        r.set(key("partitions.%1.object", p), 40, bytes(at, {0xF4}) + bits(at + 1, 0xF0, 0x00));
        r.set(key("partitions.%1.object", p), 100, bytes(at, {0x10}) + bits(at + 1, 0xF0, 0x00));
    }

    // Object groups: remote commands and the password where the device reads it.
    const char *commands[] = {"arm", "disarm", "status", "relayOn", "relayOff"};
    for (int g = 1; g <= 16; ++g) {
        for (int c = 0; c < 5; ++c)
            r.set(key("groups.%1.", g) + QLatin1String(commands[c]), true, on(239 + g, 1 << c));
        r.set(key("groups.%1.password", g), "12345F", bytes(464 + 3 * (g - 1), {0x12, 0x34, 0x5F}));
        r.set(key("groups.%1.password", g), "9876FF", bytes(464 + 3 * (g - 1), {0x98, 0x76, 0xFF}));
    }
    // User names, padded with zeros.
    for (int n = 1; n <= 4; ++n) {
        const int at = 416 + 12 * (n - 1);
        r.set(key("ownNames.%1", n), "ABCDEFGHIJKL",
              bytes(at, {65, 66, 67, 68, 69, 70, 71, 72, 73, 74, 75, 76}));
        r.set(key("ownNames.%1", n), QString::fromUtf8("Дом"),
              bytes(at, {0xC4, 0xEE, 0xEC, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    }

    // SMS-Blitz codes, low byte first, and their voice flags.
    const int blitzAt[24] = {256, 258, 260, 262, 264, 266, 268, 270, 272, 276, 278, 280,
                             288, 292, 296, 298, 300, 302, 304, 306, 308, 310, 312, 314};
    const int voice[24][2] = {{320, 0x01}, {320, 0x02}, {320, 0x04}, {320, 0x08}, {320, 0x10},
                              {320, 0x20}, {320, 0x40}, {320, 0x80}, {321, 0x01}, {321, 0x04},
                              {321, 0x08}, {321, 0x10}, {322, 0x01}, {322, 0x04}, {322, 0x10},
                              {322, 0x20}, {322, 0x40}, {322, 0x80}, {323, 0x01}, {323, 0x02},
                              {323, 0x04}, {323, 0x08}, {323, 0x10}, {323, 0x20}};
    for (int k = 1; k <= 24; ++k) {
        r.set(key("blitzCodes.%1", k), "1234", bytes(blitzAt[k - 1], {0xD2, 0x04}));
        r.set(key("blitzCodes.%1", k), "0", bytes(blitzAt[k - 1], {0, 0}));
        r.set(key("blitzVoice.%1", k), true, on(voice[k - 1][0], voice[k - 1][1]));
    }

    // Relay 1.
    for (int p = 1; p <= 16; ++p)
        r.set(key("relay.partitions.%1", p), true,
              p <= 8 ? on(2, 1 << (p - 1)) : on(1, 1 << (p - 9)));
    const RelayBit relayBits[] = {
        {"powerFault", 3, 0x01},          {"deviceTamper", 3, 0x02},
        {"interfaceFault", 3, 0x04},      {"radioChannelBlocked", 3, 0x08},
        {"lineFault", 3, 0x10},           {"events.onOffLine", 3, 0x20},
        {"events.onOffAllLine", 3, 0x40}, {"events.inverted", 3, 0x80},
        {"events.errorFire", 4, 0x01},    {"events.noConnect", 4, 0x02},
        {"events.boxDamage", 4, 0x04},    {"events.errorPower", 4, 0x08},
        {"events.alarmEvent", 4, 0x10}};
    for (const RelayBit &b : relayBits)
        r.set(QStringLiteral("relay.") + QLatin1String(b.key), true, on(b.at, b.mask));
    r.set("relay.events.timeZmk", 7, bits(4, 0xE0, 0xE0));
    r.set("relay.events.timeRzmk", 7, bits(5, 0x0E, 0x0E));
    r.set("relay.events.timePeriod", 15, bits(5, 0xF0, 0xF0));

    // The settings at their first items and empty texts.
    QString baseline = QStringLiteral(
        "0..5: 0*6; 6..7: 255 255; 8..15: 1*8; 16..23: 0*8; 24: 0x0F; 25..95: 255*71;"
        "96..149: 0*54; 150..151: 255 255; 152..158: 0*7; 159: 255; 160..179: 0*20;"
        "180..181: 1 1; 182..183: 0 0; 184..191: 255*8; 192..207: 0*16;");
    for (int p = 1; p <= 16; ++p)
        baseline += bytes(208 + 2 * (p - 1), {0xFF, 0xF0});
    // Own names and group passwords are built 160 bytes lower and copied up; the SMS-Blitz codes
    // and voice flags then overwrite part of the lower copy.
    baseline += QStringLiteral("240..255: 0*16; 256..273: 255*18; 274..275: 0 0; 276..281: 255*6;"
                               "282..287: 0*6; 288..289: 255 255; 290..291: 0 0; 292..293: 255 255;"
                               "294..295: 0 0; 296..319: 255*24; 320..323: 0*4; 324..351: 255*28;"
                               "352..463: 0*112; 464..511: 255*48; 512..701: 0*190");
    // Bits no setting moves: fixed values and unused bits of the flag bytes.
    QString fixed =
        QStringLiteral("5&0x01: 0; 150..153: 255 255 0 0; 159: 255; 172&0x0F: 0; 180&0xF8: 0;"
                       "181&0x08: 0; 168&0x80: 0; 169&0xC0: 0;");
    for (int k = 1; k <= 8; ++k)
        fixed += bits(112 + 2 * (k - 1), 0x80, 0) + bits(113 + 2 * (k - 1), 0xC0, 0);
    checkRows(catalogueQ72(), r.rows, Q72Settings{}, encodeQ72, definedBits(DeviceModel::Q72, 16),
              baseline, fixed);
}

void TstEncoderBits::q71EverySettingLandsOnItsBits() {
    // Work mode 0 with its inputs, and each partition on an object of its own, so that
    // partition p carries group p.
    Q71Settings base;
    base.controlInput = 1;
    base.input1 = base.input2 = 0;
    for (int p = 1; p <= 16; ++p)
        base.partitions[p - 1].object = p;

    Rows r;
    for (int mode = 1; mode <= 5; ++mode)
        r.set("workMode", mode, bits(0, 0x01, 0) + bits(1, 0x0F, mode));
    r.set("workMode", NoItem, bits(0, 0x01, 0) + bits(1, 0x0F, 15));
    // Work mode 0 read without its inputs is written back without them.
    r.set("controlInput", NoItem, bits(0, 0x01, 0) + bits(1, 0x0F, 0));
    r.set("controlInput", 0, on(1, 0x01));
    r.set("input1", 1, on(1, 0x02));
    r.set("input2", 1, on(1, 0x04));
    r.set("speedLine", 1, on(0, 0x02));
    r.set("dialMode", 1, on(0, 0x04));
    r.set("dialInTurn", true, on(0, 0x08));
    r.set("checkConnect", 15, on(1, 0xF0));
    r.set("pauseInterval", 15, bits(75, 0x0F, 15));

    // Nibble pairs of bytes 18..22, the first named in the low nibble; tone symbols of 23..27.
    const char *pairs[] = {"periodHardware", "pickUpDelay", "periodRzd",     "testLine",
                           "pauseDial",      "phrasePause", "delayHardware", "delayRzd",
                           "delayTypeAlarm", "lostLine"};
    for (int i = 0; i < 10; ++i)
        r.set(QLatin1String(pairs[i]), 15, on(18 + i / 2, i % 2 ? 0xF0 : 0x0F));
    const char *tones[] = {"toneDisarm.1", "toneDisarm.2", "toneDisarm.3",
                           "toneAlarm.1",  "toneAlarm.2",  "toneAlarm.3",
                           "toneArm.1",    "toneArm.2",    "toneArm.3"};
    for (int i = 0; i < 9; ++i)
        r.set(QLatin1String(tones[i]), 15, nibble(23, i, 15));

    // Recipients.
    const int eventByte[12] = {35, 39, 34, 33, 37, 40, 38, 31, 29, 30, 32, 28};
    const char *rights[] = {"arm", "disarm", "status", "relayOn", "relayOff"};
    for (int k = 1; k <= 8; ++k) {
        const int bit = 1 << (k - 1);
        r.set(key("recipients.%1.dialAttempts", k), 15, on(2 + (k - 1) / 2, k % 2 ? 0x0F : 0xF0));
        r.set(key("recipients.%1.waitTime", k), 15, on(6 + (k - 1) / 2, k % 2 ? 0x0F : 0xF0));
        const int shift = 2 * ((k - 1) % 4);
        for (int type : {1, 2, NoItem})
            r.set(key("recipients.%1.messageType", k), type,
                  bits(15 + (k - 1) / 4, 3 << shift, (type == NoItem ? 3 : type) << shift));
        r.set(key("recipients.%1.confirm", k), true, on(17, bit));
        for (int t = 1; t <= 12; ++t)
            r.set(key("recipients.%1.events.%2", k, t), true,
                  on(eventByte[t - 1], bit) + (t == 1 ? on(36, bit) : QString()));
        for (int p = 1; p <= 16; ++p)
            r.set(key("recipients.%1.partitions.%2", k, p), true, on(75 + p, bit));
        for (int b = 1; b <= 8; ++b)
            r.set(key("dialGroups.%1.%2", k, b), true, on(255 + k, 1 << (b - 1)));
        for (int c = 0; c < 5; ++c)
            r.set(key("recipients.%1.", k) + QLatin1String(rights[c]), true, on(126 + c, bit));
        const int lengthAt = 100 + (k - 1) / 4, digitsAt = 102 + 3 * (k - 1);
        r.set(key("recipients.%1.password", k), "123456",
              bits(lengthAt, 3 << shift, 3 << shift) + bytes(digitsAt, {0x12, 0x34, 0x56}));
        r.set(key("recipients.%1.password", k), "98765",
              bits(lengthAt, 3 << shift, 2 << shift) + bytes(digitsAt, {0x98, 0x76, 0x50}));
        r.set(key("recipients.%1.password", k), "000", bits(lengthAt, 3 << shift, 0));
        const int phone = 152 + 13 * (k - 1);
        r.set(key("recipients.%1.phone", k), "0123456789BWTP",
              bytes(phone, {14, 0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0, 0, 0, 0, 0}));
        r.set(key("recipients.%1.phone", k), "BWTPBWTPBWTPBWTPBWTPBWTP",
              bytes(phone,
                    {24, 0xAB, 0xCD, 0xAB, 0xCD, 0xAB, 0xCD, 0xAB, 0xCD, 0xAB, 0xCD, 0xAB, 0xCD}));
        r.set(key("recipients.%1.phone", k), "12B",
              bytes(phone, {3, 0x12, 0xA0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    }
    const int urgent[12][2] = {{42, 0x01}, {42, 0x10}, {41, 0x40}, {41, 0x20},
                               {42, 0x04}, {42, 0x20}, {42, 0x08}, {41, 0x08},
                               {41, 0x02}, {41, 0x04}, {41, 0x10}, {41, 0x01}};
    for (int t = 1; t <= 12; ++t)
        r.set(key("urgent.%1", t), true,
              on(urgent[t - 1][0], urgent[t - 1][1]) + (t == 1 ? on(42, 0x02) : QString()));

    // Partitions. Group g's object: three digits from nibble 3(g - 1) of byte 51 on, and its
    // thousands in a nibble of bytes 265..272 (odd g low); the group of each partition, minus 1,
    // in a nibble of bytes 92..99 (odd p low), 0xF for a partition without object.
    auto groupObject = [](int g, int object) {
        return nibble(51, 3 * (g - 1), object / 100 % 10) +
               nibble(51, 3 * (g - 1) + 1, object / 10 % 10) +
               nibble(51, 3 * (g - 1) + 2, object % 10) +
               bits(265 + (g - 1) / 2, g % 2 ? 0x0F : 0xF0,
                    g % 2 ? object / 1000 : object / 1000 << 4);
    };
    for (int p = 1; p <= 16; ++p) {
        r.set(key("partitions.%1.number", p), 15, on(43 + (p - 1) / 2, p % 2 ? 0x0F : 0xF0));
        const std::vector<int> objects =
            p <= 9 ? std::vector<int>{9999, 7777, 1234} : std::vector<int>{999, 777};
        for (int object : objects)
            r.set(key("partitions.%1.object", p), object, groupObject(p, object));
    }
    // A partition without object: its group nibble is 0xF and the later partitions move up a group.
    for (int p = 1; p <= 16; ++p) {
        QString runs;
        for (int q = 1; q <= 16; ++q) {
            const int group = q < p ? q : q == p ? 0 : q - 1;
            runs += bits(92 + (q - 1) / 2, q % 2 ? 0x0F : 0xF0,
                         (group == 0 ? 0xF : group - 1) << (q % 2 ? 0 : 4));
        }
        for (int g = 1; g <= 16; ++g)
            runs += groupObject(g, g == 16 ? 0 : g < p ? g : g + 1);
        r.set(key("partitions.%1.object", p), 0, runs);
    }
    // Digital-format codes: three digits each from the high nibble of byte 132, then four.
    for (int k = 1; k <= 12; ++k)
        r.set(key("digitalCodes.%1", k), "987",
              nibble(132, 3 * (k - 1), 9) + nibble(132, 3 * (k - 1) + 1, 8) +
                  nibble(132, 3 * (k - 1) + 2, 7));
    r.set("digitalCode13", "1602", bytes(150, {0x16, 0x02}));
    r.set("digitalCode13", "9876", bytes(150, {0x98, 0x76}));

    // Relay 1; its closing time is split over two bytes.
    for (int p = 1; p <= 16; ++p)
        r.set(key("relay.partitions.%1", p), true,
              p <= 8 ? on(10, 1 << (p - 1)) : on(11, 1 << (p - 9)));
    const RelayBit relayBits[] = {
        {"powerFault", 12, 0x01},        {"deviceTamper", 12, 0x02},
        {"interfaceFault", 12, 0x04},    {"radioChannelBlocked", 12, 0x08},
        {"lineFault", 12, 0x10},         {"events.alarmEvent", 12, 0x20},
        {"events.noConnect", 12, 0x40},  {"events.errorFire", 12, 0x80},
        {"events.errorPower", 13, 0x01}, {"events.boxDamage", 13, 0x02},
        {"events.onOffLine", 13, 0x04},  {"events.onOffAllLine", 13, 0x08},
        {"events.inverted", 13, 0x10},   {"byCommand", 13, 0x20}};
    for (const RelayBit &b : relayBits)
        r.set(QStringLiteral("relay.") + QLatin1String(b.key), true, on(b.at, b.mask));
    for (int item : {1, 2, 4, 7})
        r.set("relay.events.timeZmk", item,
              bits(13, 0xC0, (item & 3) << 6) + bits(14, 0x01, item >> 2));
    r.set("relay.events.timeRzmk", 7, bits(14, 0x0E, 0x0E));
    r.set("relay.events.timePeriod", 15, bits(14, 0xF0, 0xF0));

    // Objects 1..16 are packed 001 002 .. 016; each partition in its own group.
    const QString baseline = QStringLiteral(
        "0..1: 1 0; 2..50: 0*49; 51..74: 0 0x10 2 0 0x30 4 0 0x50 6 0 0x70 8 0 0x90 0x10 1 0x10 "
        "0x12 1 0x30 0x14 1 0x50 0x16; 75..91: 0*17; 92..99: 0x10 0x32 0x54 0x76 0x98 0xBA 0xDC "
        "0xFE; 100..130: 0*31; 131: 255; 132..272: 0*141; 273..318: 255*46; 319..701: 0*383");
    checkRows(catalogueQ71(), r.rows, base, encodeQ71, definedBits(DeviceModel::Q71, 16), baseline,
              QStringLiteral(
                  "0&0xF0: 0; 27&0x0F: 0; 41&0x80: 0; 42&0xC0: 0; 75&0xF0: 0; 131: 255; 264: 0"));
}

// A write stamps the interface language: the line model in its own byte, the GSM model on top of
// the name language; other language names and saving stamp nothing.
void TstEncoderBits::writeStampsTheInterfaceLanguage() {
    const std::optional<WriteLanguage> languages[] = {
        WriteLanguage::Russian, WriteLanguage::English, WriteLanguage::Turkish, std::nullopt};
    for (int i = 0; i < 4; ++i) {
        ConfigImage q72{}, q71{};
        q72[171] = 0x13; // name language 1, work mode 3
        q71[264] = 7;
        adjustForWrite(q72, DeviceModel::Q72, languages[i]);
        adjustForWrite(q71, DeviceModel::Q71, languages[i]);
        QCOMPARE(int(q72[171]), i < 3 ? 0x13 + 0x10 * i : 0x13);
        QCOMPARE(int(q71[264]), i < 3 ? i : 7);
        q72[171] = q71[264] = 0;
        QVERIFY(q72 == ConfigImage{} && q71 == ConfigImage{});
    }
}

QTEST_APPLESS_MAIN(TstEncoderBits)
#include "tst_encoderbits.moc"
