// Image layouts and value conversions: codes in both directions with their edge values, the
// refusals of values that would read back differently, and the factory presets' own rules.
#include "image/layout.h"
#include "image/presets.h"
#include "image/settings.h"

#include <QtTest>

using namespace q7x::image;
using Bytes = std::vector<int>;

namespace {

Bytes slice(const ConfigImage &img, int from, int count) {
    return Bytes(img.begin() + from, img.begin() + from + count);
}

template <std::size_t N> Bytes toBytes(const std::array<std::uint8_t, N> &a) {
    return Bytes(a.begin(), a.end());
}

} // namespace

class TstLayout : public QObject {
    Q_OBJECT
  private slots:
    void periodAndDelayCodes();
    void gsmTypeCodes_data();
    void gsmTypeCodes();
    void q72ObjectDigits();
    void q72PartitionGroupsAndPasswords();
    void q71ClosingTimeSpansTwoBytes();
    void packedAndSixteenBitNumbers();
    void blitzCodesThatReadEmptyAreRefused();
    void pin();
    void maskedPhonesAndBalance();
    void ownNames();
    void q71LinePhones();
    void q71Passwords();
    void q71ObjectsAndCodes();
    void presets();
    void relayModes();
};

void TstLayout::periodAndDelayCodes() {
    for (int item = 0; item < 16; ++item)
        QCOMPARE(*periodItem(*periodCode(item)), item);
    QCOMPARE(int(*periodCode(0)), 0);
    QCOMPARE(int(*periodCode(15)), 255);
    QVERIFY(!periodCode(16));
    QVERIFY(!periodCode(-1));
    QCOMPARE(*periodItem(256), 15);
    QVERIFY(!periodItem(5));
    QVERIFY(!periodItem(1));

    QCOMPARE(int(delaySeconds(15)), 150);
    QCOMPARE(*delayItem(150), 15);
    QCOMPARE(*delayItem(19), 1);
    QVERIFY(!delayItem(160));
    QVERIFY(!delayItem(255));
}

void TstLayout::gsmTypeCodes_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("plain"); // item without the order flag, -1 = no rule matches
    QTest::addColumn<int>("ordered");
    QTest::newRow("SMS+voice") << 0x03 << 2 << 3;
    QTest::newRow("later rule wins") << 0x07 << 5 << 6;
    QTest::newRow("all bits") << 0x0F << 8 << 9;
    QTest::newRow("zero") << 0x00 << -1 << -1;
    QTest::newRow("0x10") << 0x10 << -1 << -1;
    QTest::newRow("0x23 is not blitz") << 0x23 << 2 << 3;
}

void TstLayout::gsmTypeCodes() {
    QFETCH(int, code);
    QFETCH(int, plain);
    QFETCH(int, ordered);
    QCOMPARE(gsmTypeItem(std::uint8_t(code), false).value_or(-1), plain);
    QCOMPARE(gsmTypeItem(std::uint8_t(code), true).value_or(-1), ordered);
    // Every item reads back as itself under the order flag it sets.
    for (int item = 0; item < 11; ++item)
        QCOMPARE(gsmTypeItem(*gsmTypeCode(item), gsmItemSetsOrderFlag(item)).value_or(-1), item);
    QCOMPARE(int(*gsmTypeCode(10)), 0x13);
    QVERIFY(!gsmTypeCode(11));
}

void TstLayout::q72ObjectDigits() {
    ConfigImage img{};
    img[238] = 0x40;
    img[239] = 0x7F;
    QCOMPARE(q72::objectNumber(img, 16).number, 407);
    QCOMPARE(q72::rzdNmbItem(img, 16), 15);
    QCOMPARE(q72::objectNumber(img, 2).number, 0); // 00 00 is object 0
    QVERIFY(!q72::decodeObjectNibbles(0xF, 0xF, 0xF).bad);

    // Nibbles 10..14 anywhere are no digit; only leading blanks count as 0, a blank after a real
    // digit counts as 15, and a sum beyond the lists' 999 is no number either.
    for (int bad = 10; bad <= 14; ++bad)
        for (const auto &d : {std::array{bad, 1, 2}, std::array{1, bad, 2}, std::array{1, 2, bad}})
            QVERIFY(q72::decodeObjectNibbles(d[0], d[1], d[2]).bad);
    for (const auto &[h, t, u, number] :
         {std::array{1, 0xF, 5, 255}, std::array{0xF, 4, 0xF, 55}, std::array{0, 0xF, 5, 155}}) {
        const auto literal = q72::decodeObjectNibbles(h, t, u);
        QVERIFY(!literal.bad);
        QCOMPARE(literal.number, number);
    }
    const auto beyond = q72::decodeObjectNibbles(9, 0xF, 0xF);
    QVERIFY(beyond.bad);
    QCOMPARE(beyond.number, 0);
}

void TstLayout::q72PartitionGroupsAndPasswords() {
    // A group that several partitions name belongs to the first of them.
    std::array<Q72Partition, PartitionCount> partitions{};
    partitions[0].group = partitions[2].group = 2;
    partitions[3].group = 16;
    const auto groups = effectiveGroups(partitions);
    QCOMPARE(groups[0], 2);
    QCOMPARE(groups[2], 0);
    QCOMPARE(groups[3], 16);

    ConfigImage img{};
    img[509] = 0x12; // group 16, digits of 10 in either nibble
    img[510] = 0xA5;
    img[511] = 0x3A;
    const auto pw = q72::groupPassword(img, 16);
    QCOMPARE(toBytes(pw.bytes), (Bytes{0x12, 0x00, 0x00}));
    QVERIFY(pw.bad);
    img[506] = 0x9F; // group 15: digits and blanks only
    img[507] = img[508] = 0xFF;
    QVERIFY(!q72::groupPassword(img, 15).bad);
}

// The line model's relay closing time spans two bytes.
void TstLayout::q71ClosingTimeSpansTwoBytes() {
    ConfigImage img{};
    img[13] = 0x40;
    img[14] = 0x01;
    QCOMPARE(q71::timeZmk1(img), 5);
}

void TstLayout::packedAndSixteenBitNumbers() {
    const std::array<std::uint8_t, 6> b{0x12, 0x34, 0x56, 0x00, 0x00, 0xFF};
    QCOMPARE(packed3Value(b.data(), 1), 456);
    QCOMPARE(packed3Value(b.data(), 3), 15 * 10 + 15);

    QCOMPARE(toBytes(*encodeU16(QString())), (Bytes{0xFF, 0xFF}));
    QCOMPARE(toBytes(*encodeU16(QStringLiteral("300"))), (Bytes{0x2C, 0x01}));
    QCOMPARE(toBytes(*encodeU16(QStringLiteral(" 0007"))), (Bytes{0x07, 0x00}));
    for (const char *text : {"12a", "1 2", "-1", "99999x"})
        QCOMPARE(encodeU16(QString::fromLatin1(text)).error().kind, ConvertError::Kind::NotANumber);
    for (const char *text : {"65536", "99999999999999999999"})
        QCOMPARE(encodeU16(QString::fromLatin1(text)).error().kind, ConvertError::Kind::OutOfRange);
    QCOMPARE(encodeU16(QStringLiteral("12a")).error().message(),
             QStringLiteral("'12a' is not a valid integer value"));
    QCOMPARE(decodeU16(0x2C, 0x01).value_or(-1), 300);
    QVERIFY(!decodeU16(0xFF, 0x00));
    QVERIFY(!decodeU16(0x00, 0xFF));
}

void TstLayout::blitzCodesThatReadEmptyAreRefused() {
    ConfigImage img{};
    QVERIFY(q72::putBlitzCode(img, 13, QStringLiteral("0007")).ok());
    QCOMPARE(q72::blitzCode(img, 13).value_or(-1), 7);
    QVERIFY(q72::putBlitzCode(img, 1, QString()).ok());
    QVERIFY(!q72::blitzCode(img, 1));
    for (const char *lost : {"255", "511", "9983"}) {
        const auto before = img;
        const auto s = q72::putBlitzCode(img, 2, QString::fromLatin1(lost));
        QCOMPARE(s.error().kind, ConvertError::Kind::Unstorable);
        QVERIFY(img == before);
    }
    QVERIFY(q72::putBlitzCode(img, 4, QStringLiteral("254")).ok()); // next to the lost 255
    QCOMPARE(q72::blitzCode(img, 4).value_or(-1), 254);
    QVERIFY(q72::blitzCodeReadsEmpty(65280));
    QVERIFY(!q72::blitzCodeReadsEmpty(9999));
    QCOMPARE(q72::putBlitzCode(img, 3, QStringLiteral("7x")).error().kind,
             ConvertError::Kind::NotANumber);
}

void TstLayout::pin() {
    QCOMPARE(toBytes(*q72::encodePin(QStringLiteral("____"))), (Bytes{0xFF, 0xFF}));
    QCOMPARE(toBytes(*q72::encodePin(QString())), (Bytes{0xFF, 0xFF}));
    QCOMPARE(toBytes(*q72::encodePin(QStringLiteral("12_4"))), (Bytes{0x12, 0xF4}));
    QCOMPARE(toBytes(*q72::encodePin(QStringLiteral("_1__"))), (Bytes{0xF1, 0xFF}));
    // Digits after two blanks would be stored behind an FF byte and read back as no PIN.
    QCOMPARE(q72::encodePin(QStringLiteral("__12")).error().kind, ConvertError::Kind::Unstorable);
    QCOMPARE(q72::decodePin(0x12, 0xF4).text, QStringLiteral("12_4"));
    QCOMPARE(q72::decodePin(0xF1, 0xFF).text,
             QStringLiteral("_1")); // no blanks after the last digit
    QCOMPARE(q72::decodePin(0xFF, 0x12).text, QString());
    QVERIFY(q72::decodePin(0x1A, 0x00).bad);
    QVERIFY(q72::decodePin(0x12, 0x3E).bad);
}

void TstLayout::maskedPhonesAndBalance() {
    QCOMPARE(toBytes(*q72::encodePhone(q72::EmptyPhoneText, true)), Bytes(8, 0xFF));
    QCOMPARE(toBytes(*q72::encodePhone(q72::EmptyPhoneText, false)),
             (Bytes{0x0F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    // The number as dialled: the mask's blanks count as positions not given, and a blank
    // between digits keeps its place.
    const QString number = QStringLiteral("+79161234567");
    std::array<std::uint8_t, 8> raw = *q72::encodePhone(number, true);
    QCOMPARE(toBytes(*q72::encodePhone(number + QStringLiteral("____"), true)), toBytes(raw));
    QCOMPARE(q72::decodePhone(raw.data()).text, number);
    QCOMPARE(q72::decodePhone(q72::encodePhone(QStringLiteral("+7_9"), true)->data()).text,
             QStringLiteral("+7_9"));
    QCOMPARE(q72::encodePhone(QStringLiteral("+7a"), true).error().position, 2);
    QCOMPARE(q72::encodePhone(QStringLiteral("+_7"), false).error().kind,
             ConvertError::Kind::Unstorable);
    QCOMPARE(q72::encodePhone(QStringLiteral("+79161234567890123"), true).error().kind,
             ConvertError::Kind::TooLong);
    raw[3] = 0x2C; // a nibble of 12 ends the number where it stands
    const auto bad = q72::decodePhone(raw.data());
    QVERIFY(bad.bad);
    QCOMPARE(bad.text, QStringLiteral("+791612"));
    raw[0] = 0xF7; // the high nibble of the first byte is not read
    raw[3] = 0x23;
    QCOMPARE(q72::decodePhone(raw.data()).text, number);
    raw[0] = 0x0F;
    QCOMPARE(q72::decodePhone(raw.data()).text, QString());

    QCOMPARE(toBytes(*q72::encodeBalance(QString())), Bytes(8, 0xFF));
    QCOMPARE(q72::encodeBalance(QStringLiteral("*10A#")).error().position, 3);
    QCOMPARE(q72::encodeBalance(QString(17, u'1')).error().kind, ConvertError::Kind::TooLong);
    QCOMPARE(toBytes(*q72::encodeBalance(QString(16, u'#'))), Bytes(8, 0xBB));
    auto balance = *q72::encodeBalance(QStringLiteral("*102#"));
    QCOMPARE(q72::decodeBalance(balance.data()).text, QStringLiteral("*102#"));
    balance[1] = 0x0C;
    QVERIFY(q72::decodeBalance(balance.data()).bad);
    const std::array<std::uint8_t, 8> empty = {0xFF, 0x12, 0x34};
    QCOMPARE(q72::decodeBalance(empty.data()).text, QString());
}

void TstLayout::ownNames() {
    QCOMPARE(toBytes(*q72::encodeOwnName(QStringLiteral("Ёё№ Hall"))),
             (Bytes{0xA8, 0xB8, 0xB9, 0x20, 'H', 'a', 'l', 'l', 0, 0, 0, 0}));
    QCOMPARE(q72::encodeOwnName(QStringLiteral("Hall€✓")).error().position, 5);
    QCOMPARE(q72::encodeOwnName(QStringLiteral("A\u0000B")).error().position, 1);
    QCOMPARE(q72::encodeOwnName(QStringLiteral("0123456789ABC")).error().kind,
             ConvertError::Kind::TooLong);

    ConfigImage img{};
    const QByteArray stored("\xC4\xEE\xEC\x00\xFF", 5);
    std::copy(stored.begin(), stored.end(), img.begin() + 428); // own name 2 ends at its 0
    QCOMPARE(q72::ownNameText(img, 2), QStringLiteral("Дом"));
    std::fill(img.begin() + 452, img.begin() + 464, 0x98); // own name 4 fills its slot
    img[464] = 0x41;
    QCOMPARE(q72::ownName(img, 4).size(), 12);
    QCOMPARE(toBytes(*q72::encodeOwnName(q72::ownNameText(img, 4))), Bytes(12, 0x98));
}

void TstLayout::q71LinePhones() {
    ConfigImage img;
    img.fill(0x55);
    QVERIFY(q71::putLinePhone(img, 8, QStringLiteral("0W1T2P")).ok());
    QCOMPARE(slice(img, 243, 4), (Bytes{6, 0x0B, 0x1C, 0x2D}));
    QCOMPARE(q71::linePhone(img, 8), QStringLiteral("0W1T2P"));

    QCOMPARE(q71::putLinePhone(img, 2, QStringLiteral("12b")).error().position, 2);
    QCOMPARE(q71::putLinePhone(img, 2, QString(25, u'1')).error().kind,
             ConvertError::Kind::TooLong);
    QVERIFY(q71::putLinePhone(img, 2, QString(24, u'9')).ok());
    QCOMPARE(q71::linePhone(img, 2), QString(24, u'9'));
    img[152] = 200; // a count beyond the field reads no further than 24 characters
    QCOMPARE(q71::linePhone(img, 1).size(), 24);
    img[152] = 0;
    QCOMPARE(q71::linePhone(img, 1), QString());
}

void TstLayout::q71Passwords() {
    ConfigImage img{};
    QVERIFY(q71::putPassword(img, 1, QStringLiteral("1234")).ok());
    QVERIFY(q71::putPassword(img, 6, QStringLiteral("12345")).ok());
    QVERIFY(q71::putPassword(img, 8, QStringLiteral("000000")).ok());
    QVERIFY(q71::putPassword(img, 2, QString()).ok());
    QCOMPARE(q71::password(img, 1), QStringLiteral("1234"));
    QCOMPARE(q71::password(img, 6), QStringLiteral("12345"));
    QCOMPARE(q71::password(img, 8), QStringLiteral("000000"));
    QCOMPARE(q71::password(img, 2), QStringLiteral("000"));

    const auto before = img;
    for (const char *text : {"12", "1234567"})
        QCOMPARE(q71::putPassword(img, 3, QString::fromLatin1(text)).error().kind,
                 ConvertError::Kind::BadLength);
    QCOMPARE(q71::putPassword(img, 3, QStringLiteral("12x")).error().kind,
             ConvertError::Kind::BadCharacter);
    QVERIFY(img == before);
}

void TstLayout::q71ObjectsAndCodes() {
    ConfigImage img{};
    q71::putGroupObject(img, 2, 9999);
    q71::putGroupObject(img, 16, 7);
    QCOMPARE(q71::groupObject(img, 2), 9999);
    QCOMPARE(q71::groupObject(img, 16), 7);
    img[272] = 0xF0; // thousands nibble 15 of group 16 reads as 0
    QCOMPARE(q71::groupObject(img, 16), 7);
    img[272] = 0xE0;
    QCOMPARE(q71::groupObject(img, 16), 14007);

    img[92] = 0x2F; // no group is stored as 15 and read as 16
    QCOMPARE(q71::partitionGroup(img, 1), 16);
    QCOMPARE(q71::partitionGroup(img, 2), 3);

    QVERIFY(q71::putDigCode(img, 2, QStringLiteral("383")).ok());
    QVERIFY(q71::putDig13(img, QStringLiteral("1602")).ok());
    QCOMPARE(q71::digCode(img, 2), 383);
    QCOMPARE(q71::dig13(img), 1602);
    QCOMPARE(q71::putDigCode(img, 3, QStringLiteral("1000")).error().kind,
             ConvertError::Kind::OutOfRange);
    QCOMPARE(q71::putDig13(img, QStringLiteral("16O2")).error().kind,
             ConvertError::Kind::NotANumber);
}

// The presets differ by work mode, leave the bytes no layout uses at 0, carry the factory
// password only in the GSM model's mode 0, and fall back to mode 0 for no selected mode.
void TstLayout::presets() {
    for (DeviceModel model : {DeviceModel::Q71, DeviceModel::Q72}) {
        for (int mode = 0; mode < 6; ++mode) {
            const auto img = presetImage(model, mode);
            for (int i = model == DeviceModel::Q71 ? 273 : 512; i < ImageSize; ++i)
                QCOMPARE(int(img[i]), 0);
            for (int other = 0; other < mode; ++other)
                QVERIFY(img != presetImage(model, other));
            if (model == DeviceModel::Q72) {
                QCOMPARE(img[171] & 0x0F, mode);
                const auto pw = q72::groupPassword(img, 1);
                QCOMPARE(toBytes(pw.bytes),
                         mode == 0 ? (Bytes{0x73, 0x01, 0x94}) : (Bytes{0xFF, 0xFF, 0xFF}));
            } else {
                QCOMPARE(int(img[1]), 0x10 + mode);
            }
        }
    }
    QVERIFY(presetImage(DeviceModel::Q72, -1) == presetImage(DeviceModel::Q72, 0));
    QVERIFY(presetImage(DeviceModel::Q71, 6) == presetImage(DeviceModel::Q71, 0));
    QVERIFY(presetImage(DeviceModel(0), 2) == presetImage(DeviceModel::Q72, 2));
}

// Each fixed relay mode is read from its own settings; any one of them changed, or a partition
// fault or the inversion added, reads as another mode.
void TstLayout::relayModes() {
    // Alarm, tamper, arming by one, arming by all; opening, closing and duration items.
    const int fixed[6][7] = {{1, 0, 1, 1, 7, 0, 0}, {1, 0, 1, 1, 1, 1, 15}, {1, 1, 1, 1, 7, 0, 0},
                             {1, 0, 0, 0, 0, 7, 0}, {1, 0, 0, 0, 7, 0, 0},  {0, 0, 1, 0, 0, 4, 0}};
    bool RelaySettings::*const flags[] = {&RelaySettings::alarmEvent, &RelaySettings::boxDamage,
                                          &RelaySettings::onOffLine,  &RelaySettings::onOffAllLine,
                                          &RelaySettings::errorFire,  &RelaySettings::noConnect,
                                          &RelaySettings::errorPower, &RelaySettings::inverted};
    int RelaySettings::*const times[] = {&RelaySettings::timeRzmk, &RelaySettings::timeZmk,
                                         &RelaySettings::timePeriod};
    for (int mode = 0; mode < 6; ++mode) {
        RelaySettings s;
        for (int i = 0; i < 4; ++i)
            s.*flags[i] = fixed[mode][i] != 0;
        for (int i = 0; i < 3; ++i)
            s.*times[i] = fixed[mode][4 + i];
        QCOMPARE(relayWorkMode(s), mode);
        for (int i = 0; i < 8; ++i) {
            RelaySettings t = s;
            t.*flags[i] = !(t.*flags[i]);
            // Only the tamper box tells the alarm-centre modes 0 and 2 apart.
            const int other = i == 1 && mode == 0 ? 2 : i == 1 && mode == 2 ? 0 : RelaySpecialMode;
            QCOMPARE(relayWorkMode(t), other);
        }
        for (int i = 0; i < 3; ++i) {
            RelaySettings t = s;
            t.*times[i] = (t.*times[i] + 1) % 8;
            QCOMPARE(relayWorkMode(t), RelaySpecialMode);
        }
    }
}

QTEST_APPLESS_MAIN(TstLayout)
#include "tst_layout.moc"
