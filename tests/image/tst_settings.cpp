// The settings values without the window: seeded values survive an image, the presets survive
// the settings, the Q72 checks become field errors with their fall-backs, and values the image
// cannot hold are refused by name.
#include "image/catalogue.h"
#include "image/codepage.h"
#include "image/presets.h"
#include "image/settings.h"

#include <QtTest>

#include <random>

using namespace q7x::image;

namespace {

// Seeded values that an image can hold exactly, in the form the decoders give.
class Seeded {
  public:
    explicit Seeded(unsigned seed) : m_rng(seed) {}

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    bool coin() { return pick(2) == 1; }
    QString from(const char *chars, int n) {
        QString s;
        for (int i = 0; i < n; ++i)
            s += QLatin1Char(chars[pick(int(qstrlen(chars)))]);
        return s;
    }
    template <std::size_t N> void bits(std::array<bool, N> &a) {
        for (bool &b : a)
            b = coin();
    }
    std::uint8_t packedDigitsByte() {
        auto nibble = [&] { return pick(11) == 10 ? 0xF : pick(10); };
        return std::uint8_t(nibble() << 4 | nibble());
    }
    // "" or "+", a digit and 14 positions of digits and blanks.
    QString phone() {
        return coin() ? QString()
                      : QStringLiteral("+") + from("0123456789", 1) + from("0123456789_", 14);
    }

    Relay1Settings relay() {
        Relay1Settings r;
        r.byCommand = coin();
        bits(r.partitions);
        RelaySettings &e = r.events;
        for (bool *b : {&e.alarmEvent, &e.boxDamage, &e.onOffLine, &e.onOffAllLine, &e.errorFire,
                        &e.noConnect, &e.errorPower, &e.inverted, &r.radioChannelBlocked,
                        &r.deviceTamper, &r.interfaceFault, &r.lineFault, &r.powerFault})
            *b = coin();
        e.timeRzmk = pick(8);
        e.timeZmk = pick(8);
        e.timePeriod = pick(16);
        return r;
    }

    Q72Settings q72() {
        Q72Settings s;
        s.workMode = pick(6);
        for (int *item : {&s.controlInput, &s.input1, &s.input2, &s.speedLine, &s.zoneNumber})
            *item = pick(2);
        for (int *item :
             {&s.checkConnect, &s.gsmLost, &s.simCount, &s.phrasePause, &s.testLine,
              &s.delayTypeAlarm, &s.delayHardware, &s.delayRzd, &s.periodHardware, &s.periodRzd})
            *item = pick(16);
        s.eventsArchive = coin();
        s.dialInTurn = coin();
        s.smsCentre = phone();
        // Two leading blanks would read back as no PIN at all.
        s.pin = coin() ? QString() : from("0123456789", 1) + from("0123456789_", 3);
        s.balanceRequest = from("0123456789*#", pick(17));
        // Combined types send the SMS either first or last for every recipient.
        const bool smsLast = coin();
        for (Q72Recipient &r : s.recipients) {
            r.phone = phone();
            r.notification = pick(11);
            if (r.notification == 2 + smsLast || r.notification == 5 + smsLast ||
                r.notification == 8 + smsLast)
                r.notification += smsLast ? -1 : 1;
            r.combineSms = coin();
            r.dialAttempts = pick(16);
            r.waitTime = pick(16);
            r.confirm = coin();
            bits(r.partitions);
            bits(r.events);
        }
        bits(s.urgent);
        for (Q72Partition &p : s.partitions)
            p = {pick(1000), pick(16), pick(17), pick(39)};
        for (ObjectGroup &g : s.groups) {
            for (auto &b : g.password)
                b = packedDigitsByte();
            for (bool *b : {&g.arm, &g.disarm, &g.status, &g.relayOn, &g.relayOff})
                *b = coin();
        }
        s.nameLanguage = pick(3);
        for (QString &name : s.ownNames) {
            QByteArray bytes;
            for (int i = pick(13); i > 0; --i)
                bytes += char(1 + pick(255));
            name = fromCp1251(bytes);
        }
        for (auto *tones : {&s.toneAlarm, &s.toneArm, &s.toneDisarm})
            for (int &t : *tones)
                t = pick(16);
        s.relay = relay();
        for (QString &code : s.blitzCodes) {
            const int value = pick(65536);
            code = coin() || q72::blitzCodeReadsEmpty(value) ? QString() : QString::number(value);
        }
        bits(s.blitzVoice);
        return s;
    }

    Q71Settings q71() {
        Q71Settings s;
        s.workMode = pick(6);
        if (s.workMode == 0 && pick(8) != 0) { // rarely: mode 0 stored without its inputs
            s.controlInput = pick(2);
            s.input1 = pick(2);
            s.input2 = pick(2);
        }
        s.speedLine = pick(2);
        s.dialMode = pick(2);
        s.dialInTurn = coin();
        s.checkConnect = pick(16);
        for (int k = 0; k < RecipientCount; ++k) {
            Q71Recipient &r = s.recipients[std::size_t(k)];
            r.phone = from("0123456789BWTP", pick(25));
            r.messageType = pick(3);
            r.dialAttempts = pick(16);
            r.waitTime = pick(16);
            r.confirm = coin();
            bits(r.partitions);
            bits(r.events);
            r.password = from("0123456789", 3 + pick(4)); // no password reads as "000"
            for (bool *b : {&r.arm, &r.disarm, &r.status, &r.relayOn, &r.relayOff})
                *b = coin();
            for (int b = 0; b < RecipientCount; ++b)
                s.dialGroups[std::size_t(k)][std::size_t(b)] = b == k || coin();
        }
        s.relay = relay();
        for (int *item : {&s.periodHardware, &s.pickUpDelay, &s.periodRzd, &s.testLine,
                          &s.pauseDial, &s.phrasePause, &s.delayHardware, &s.delayRzd,
                          &s.delayTypeAlarm, &s.lostLine, &s.pauseInterval})
            *item = pick(16);
        for (auto *tones : {&s.toneAlarm, &s.toneArm, &s.toneDisarm})
            for (int &t : *tones)
                t = pick(16);
        bits(s.urgent);
        for (int p = 1; p <= PartitionCount; ++p)
            s.partitions[std::size_t(p - 1)] = {pick(p <= 9 ? 10000 : 1000), pick(16)};
        for (QString &code : s.digitalCodes)
            code = from("0123456789", 3);
        s.digitalCode13 = from("0123456789", 4);
        return s;
    }

  private:
    std::mt19937 m_rng;
};

// The first setting in which two values differ, by its catalogue key.
template <class S, class Field>
QString firstDifferentKey(const S &a, const S &b, const QList<Field> &fields) {
    for (const Field &f : fields)
        if (f.get(a) != f.get(b))
            return f.key + QLatin1Char(' ') + f.get(a).toString() + QStringLiteral(" / ") +
                   f.get(b).toString();
    return a == b ? QString() : QStringLiteral("a member no field names");
}

// The bits of an image that carry settings; the encoder fills the rest its own way.
ConfigImage settingBits(int model) {
    ConfigImage m{};
    auto all = [&](int first, int last) { std::fill(&m[first], &m[last] + 1, 0xFF); };
    if (model == ModelQ71) {
        all(0, 272);
        m[27] = 0xF0;
        return m;
    }
    all(0, 273);
    all(276, 281);
    all(288, 289);
    all(292, 293);
    all(296, 315);
    all(416, 511);
    m[5] = 0xFE;
    std::fill(&m[240], &m[255] + 1, 0x1F);
    m[320] = 0xFF;
    m[321] = 0x1D;
    m[322] = 0xF5;
    m[323] = 0x3F;
    return m;
}

QString firstDifference(const ConfigImage &a, const ConfigImage &b, const ConfigImage &mask) {
    for (int i = 0; i < ImageSize; ++i)
        if ((a[std::size_t(i)] ^ b[std::size_t(i)]) & mask[std::size_t(i)])
            return QStringLiteral("byte %1: %2, want %3")
                .arg(i)
                .arg(a[std::size_t(i)])
                .arg(b[std::size_t(i)]);
    return {};
}

} // namespace

class TstSettings : public QObject {
    Q_OBJECT
  private slots:
    void seededValuesSurviveAnImage();
    void presetsSurviveTheSettings_data();
    void presetsSurviveTheSettings();
    void q72ChecksAndFallBacks_data();
    void q72ChecksAndFallBacks();
    void storedValuesWithoutAnItemStayWithoutOne();
    void q71DialGroupsKeepEveryRecipientInItsOwn();
    void valuesTheImageCannotHoldAreRefusedByName();
    void writeLanguageStamp();
    void catalogueNamesEveryMemberOnce();
};

void TstSettings::seededValuesSurviveAnImage() {
    Seeded seeded(20261207u);
    for (int n = 0; n < 1000; ++n) {
        const Q72Settings s72 = seeded.q72();
        const Encoded e72 = encodeQ72(s72);
        QVERIFY2(e72.ok(), qPrintable(QStringLiteral("case %1: %2").arg(n).arg(e72.error)));
        const auto d72 = decodeQ72(e72.image);
        QVERIFY(d72.errors.isEmpty());
        QCOMPARE(firstDifferentKey(d72.settings, s72, catalogueQ72()), QString());

        const Q71Settings s71 = seeded.q71();
        const Encoded e71 = encodeQ71(s71);
        QVERIFY2(e71.ok(), qPrintable(QStringLiteral("case %1: %2").arg(n).arg(e71.error)));
        QCOMPARE(firstDifferentKey(decodeQ71(e71.image).settings, s71, catalogueQ71()), QString());
    }
}

void TstSettings::presetsSurviveTheSettings_data() {
    QTest::addColumn<int>("model");
    QTest::addColumn<int>("mode");
    for (int model : {ModelQ71, ModelQ72})
        for (int mode = 0; mode < 6; ++mode)
            QTest::addRow("Q%d mode %d", model, mode) << model << mode;
}

// Every bit of a preset that carries a setting is written back as it was.
void TstSettings::presetsSurviveTheSettings() {
    QFETCH(int, model);
    QFETCH(int, mode);
    const ConfigImage preset = presetImage(model, mode);
    Encoded again;
    if (model == ModelQ72) {
        const auto decoded = decodeQ72(preset);
        QVERIFY(decoded.errors.isEmpty());
        again = encodeQ72(decoded.settings);
    } else {
        again = encodeQ71(decodeQ71(preset).settings);
    }
    QVERIFY(again.ok());
    QCOMPARE(firstDifference(again.image, preset, settingBits(model)), QString());
}

void TstSettings::q72ChecksAndFallBacks_data() {
    QTest::addColumn<QList<int>>("changes"); // offset, value, ...
    QTest::addColumn<int>("check");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("fallback");
    const auto row = [](const char *name, QList<int> changes, Check check, QStringList labels,
                        const char *key, QVariant fallback) {
        QTest::newRow(name) << changes << int(check) << labels << QString::fromLatin1(key)
                            << fallback;
    };
    row("work mode", {171, 0x06}, Check::WorkMode, {"Label2"}, "workMode", 0);
    row("PIN", {6, 0x1A}, Check::Pin, {"Label5"}, "pin", QString());
    row("SMS centre", {24, 0x01, 25, 0xB0}, Check::SmsCentre, {"Label6"}, "smsCentre", QString());
    row("recipient number", {40, 0x07, 41, 0x1C}, Check::Phones, {"Label20"}, "recipients.2.phone",
        QString());
    row("language", {171, 0x31}, Check::Language, {}, "nameLanguage", 0);
    row("partition name", {130, 39}, Check::PartitionNames, {"LabelNameRazdelP"},
        "partitions.3.name", 0);
    row("SIM count", {172, 0x11}, Check::SimCount, {"Label114"}, "simCount", 0);
    row("test period", {173, 5}, Check::TestLine, {"Label112"}, "testLine", 0);
    row("balance", {184, 0x1C}, Check::Balance, {"Label212"}, "balanceRequest", QString());
    row("object digits", {210, 0xA1}, Check::ObjectNumbers, {"Label98", "Label99"},
        "partitions.2.object", 0);
    row("group", {193, 17}, Check::Groups, {}, "partitions.2.group", 0);
    // Only the damaged byte of the password reads as 0.
    row("password", {465, 0xB7}, Check::Passwords, {"Label81"}, "groups.1.password",
        QStringLiteral("730094"));
}

// One bad field gives one error naming it; the field holds its fall-back, which encodes to an
// image that reads back without errors.
void TstSettings::q72ChecksAndFallBacks() {
    QFETCH(QList<int>, changes);
    QFETCH(int, check);
    QFETCH(QStringList, labels);
    QFETCH(QString, key);
    QFETCH(QVariant, fallback);
    ConfigImage img = presetImage(ModelQ72, 0);
    for (int i = 0; i + 1 < changes.size(); i += 2)
        img[std::size_t(changes[i])] = std::uint8_t(changes[i + 1]);
    const auto decoded = decodeQ72(img);
    QCOMPARE(decoded.errors.size(), 1);
    QCOMPARE(int(decoded.errors[0].check), check);
    QCOMPARE(decoded.errors[0].labels, labels);
    QCOMPARE(decoded.errors[0].offsets.size(), 1);
    const auto &fields = catalogueQ72();
    const auto field =
        std::find_if(fields.begin(), fields.end(), [&](const Q72Field &f) { return f.key == key; });
    QVERIFY(field != fields.end());
    QCOMPARE(field->get(decoded.settings), fallback);

    const Encoded again = encodeQ72(decoded.settings);
    QVERIFY(again.ok());
    const auto reread = decodeQ72(again.image);
    QVERIFY(reread.errors.isEmpty());
    QVERIFY(reread.settings == decoded.settings);
}

// A list setting whose stored value no item shows reads as NoItem, is written as a value without
// an item and so reads as NoItem again; the window keeps its own choice for it.
void TstSettings::storedValuesWithoutAnItemStayWithoutOne() {
    ConfigImage img = presetImage(ModelQ72, 1);
    img[8] = 0x06;   // notification of recipient 1: no rule matches
    img[144] = 200;  // equipment delay 200 s
    img[160] = 5;    // partition period: not a period code
    img[183] = 0x40; // phrase pause
    auto q72 = decodeQ72(img);
    QVERIFY(q72.errors.isEmpty());
    for (int item : {q72.settings.recipients[0].notification, q72.settings.delayHardware,
                     q72.settings.periodRzd, q72.settings.phrasePause})
        QCOMPARE(item, NoItem);
    QVERIFY(decodeQ72(encodeQ72(q72.settings).image).settings == q72.settings);

    img = presetImage(ModelQ71, 2);
    img[1] = 0x1E;  // extended work mode 14
    img[15] = 0x03; // line message type 3 of recipient 1
    auto q71 = decodeQ71(img).settings;
    QCOMPARE(q71.workMode, NoItem);
    QCOMPARE(q71.controlInput, NoItem);
    QCOMPARE(q71.recipients[0].messageType, NoItem);
    QVERIFY(decodeQ71(encodeQ71(q71).image).settings == q71);
    // Work mode 0 without its flag: the inputs are not stored.
    img[1] = 0x10;
    q71 = decodeQ71(img).settings;
    QCOMPARE(q71.workMode, 0);
    QCOMPARE(q71.input1, NoItem);
    QCOMPARE(int(encodeQ71(q71).image[0] & 0x01), 0);
}

void TstSettings::q71DialGroupsKeepEveryRecipientInItsOwn() {
    ConfigImage img = presetImage(ModelQ71, 1);
    std::fill_n(img.begin() + 256, 8, std::uint8_t(0));
    img[258] = 0x81; // group 3: recipients 1 and 8
    const Q71Settings s = decodeQ71(img).settings;
    for (int a = 0; a < RecipientCount; ++a)
        for (int b = 0; b < RecipientCount; ++b)
            QCOMPARE(s.dialGroups[std::size_t(a)][std::size_t(b)],
                     a == b || (a == 2 && (b == 0 || b == 7)));
    QCOMPARE(int(encodeQ71(s).image[258]), 0x85);
}

void TstSettings::valuesTheImageCannotHoldAreRefusedByName() {
    Q72Settings s = decodeQ72(presetImage(ModelQ72, 1)).settings;
    const Encoded good = encodeQ72(s);
    QVERIFY(good.ok());
    const struct {
        std::function<void(Q72Settings &)> change;
        const char *key, *mentions;
    } cases[] = {{[](Q72Settings &v) { v.recipients[2].dialAttempts = 16; },
                  "recipients.3.dialAttempts", "16"},
                 {[](Q72Settings &v) { v.workMode = 6; }, "workMode", "6"},
                 {[](Q72Settings &v) { v.partitions[15].group = 17; }, "partitions.16.group", "17"},
                 {[](Q72Settings &v) { v.partitions[2].object = 1000; }, "partitions.3.object",
                  "Object number of partition 3"},
                 {[](Q72Settings &v) { v.pin = QStringLiteral("__12"); }, "pin", "PIN code"},
                 {[](Q72Settings &v) { v.blitzCodes[6] = QStringLiteral("511"); }, "blitzCodes.7",
                  "SMS-Blitz code 7"},
                 {[](Q72Settings &v) { v.ownNames[1] = QStringLiteral("ABCDEFGHIJKLM"); },
                  "ownNames.2", "User's name 2"}};
    for (const auto &c : cases) {
        Q72Settings bad = s;
        c.change(bad);
        const Encoded e = encodeQ72(bad);
        QCOMPARE(e.key, QString::fromLatin1(c.key));
        QVERIFY2(e.error.contains(QLatin1String(c.mentions)), qPrintable(e.error));
        QVERIFY(e.image == ConfigImage{});
    }
    Q71Settings q71 = decodeQ71(presetImage(ModelQ71, 1)).settings;
    q71.partitions[9].object = 1000; // rows 10..16 list objects up to 999
    QCOMPARE(encodeQ71(q71).key, QStringLiteral("partitions.10.object"));
    q71.partitions[9].object = 999;
    q71.recipients[1].password = QStringLiteral("12");
    QCOMPARE(encodeQ71(q71).key, QStringLiteral("recipients.2.password"));
}

// A write stamps the interface language: Q72 adds it to the name language's nibble, Q71 has a
// byte of its own; an unknown language stamps nothing.
void TstSettings::writeLanguageStamp() {
    ConfigImage q72 = presetImage(ModelQ72, 1);
    q72[171] = 0x12;
    ConfigImage q71 = presetImage(ModelQ71, 1);
    for (const auto &[language, q72Byte, q71Byte] :
         {std::tuple{std::optional{WriteLanguage::English}, 0x22, 1},
          std::tuple{std::optional{WriteLanguage::Turkish}, 0x32, 2},
          std::tuple{std::optional{WriteLanguage::Russian}, 0x12, 0},
          std::tuple{std::optional<WriteLanguage>{}, 0x12, 7}}) {
        ConfigImage a = q72, b = q71;
        b[264] = 7;
        adjustForWrite(a, ModelQ72, language);
        adjustForWrite(b, ModelQ71, language);
        QCOMPARE(int(a[171]), q72Byte);
        QCOMPARE(int(b[264]), q71Byte);
        a[171] = q72[171];
        QVERIFY(a == q72);
    }
}

namespace {
template <class S, class Field>
void copyEveryField(const QList<Field> &fields, const S &from, S &to, QStringList &keys) {
    for (const Field &f : fields) {
        keys << f.key;
        if (f.set)
            QVERIFY2(f.set(to, f.get(from)), qPrintable(f.key));
        else
            QCOMPARE(f.key, QStringLiteral("relay.mode")); // derived from the relay's events
    }
}
} // namespace

// Copying every field through the catalogue gives the whole value: no member is left out, every
// field reaches its own member, and each key names one field.
void TstSettings::catalogueNamesEveryMemberOnce() {
    Seeded seeded(7u);
    QStringList keys;
    const Q72Settings q72 = seeded.q72();
    Q72Settings q72Copy;
    copyEveryField(catalogueQ72(), q72, q72Copy, keys);
    QVERIFY(q72Copy == q72);
    QCOMPARE(QSet<QString>(keys.begin(), keys.end()).size(), keys.size());
    keys.clear();
    const Q71Settings q71 = seeded.q71();
    Q71Settings q71Copy;
    copyEveryField(catalogueQ71(), q71, q71Copy, keys);
    QVERIFY(q71Copy == q71);
    QCOMPARE(QSet<QString>(keys.begin(), keys.end()).size(), keys.size());

    // A value of another kind is refused and changes nothing.
    for (const Q72Field &f : catalogueQ72())
        if (f.set) {
            Q72Settings v = q72;
            const QVariant wrong = f.kind == FieldKind::Text || f.kind == FieldKind::Password
                                       ? QVariant(3)
                                       : QVariant(QStringLiteral("3"));
            QVERIFY2(!f.set(v, wrong) && v == q72, qPrintable(f.key));
        }
}

QTEST_MAIN(TstSettings)
#include "tst_settings.moc"
