// The settings values without the window: seeded values survive an image, the presets survive
// the settings, the Q72 checks become field errors whose fall-backs store cleanly, and values the
// image cannot hold are refused by name.
#include "image/catalogue.h"
#include "image/codepage.h"
#include "image/compare.h"
#include "image/formload.h"
#include "image/presets.h"
#include "image/settings.h"
#include "imagebits.h"
#include "seededsettings.h"

#include <QtTest>

using namespace q7x::image;

class TstSettings : public QObject {
    Q_OBJECT
  private slots:
    void seededValuesSurviveAnImage();
    void presetsSurviveTheSettings_data();
    void presetsSurviveTheSettings();
    void q72FallBacksStoreCleanly();
    void storedValuesWithoutAnItemStayWithoutOne();
    void valuesTheImageCannotHoldAreRefusedByName();
    void q71PasswordsReadAsAWriteStoresThem();
    void catalogueNamesEveryMemberOnce();
    void comparisonListsExactlyWhatDiffers();
    void comparisonPutsAsideWhatCannotBeStored();
    void loadingDropsTicksOfPartitionsNotInUse();
};

void TstSettings::seededValuesSurviveAnImage() {
    Seeded seeded(20261207u);
    for (int n = 0; n < 1000; ++n) {
        const Q72Settings s72 = seeded.q72();
        const Encoded e72 = encodeQ72(s72);
        QVERIFY2(e72.ok(), qPrintable(QStringLiteral("case %1: %2").arg(n).arg(e72.error)));
        const auto d72 = decodeQ72(e72.image);
        QVERIFY(d72.errors.isEmpty());
        QVERIFY2(d72.settings == s72, qPrintable(QString::number(n)));

        const Q71Settings s71 = seeded.q71();
        const Encoded e71 = encodeQ71(s71);
        QVERIFY2(e71.ok(), qPrintable(QStringLiteral("case %1: %2").arg(n).arg(e71.error)));
        QVERIFY2(decodeQ71(e71.image).settings == s71, qPrintable(QString::number(n)));
    }
}

void TstSettings::presetsSurviveTheSettings_data() {
    QTest::addColumn<DeviceModel>("model");
    QTest::addColumn<int>("mode");
    for (DeviceModel model : {DeviceModel::Q71, DeviceModel::Q72})
        for (int mode = 0; mode < 6; ++mode)
            QTest::addRow("Q%d mode %d", modelCode(model), mode) << model << mode;
}

// Every bit of a preset that carries a setting is written back as it was.
void TstSettings::presetsSurviveTheSettings() {
    QFETCH(DeviceModel, model);
    QFETCH(int, mode);
    const ConfigImage preset = presetImage(model, mode);
    Encoded again;
    if (model == DeviceModel::Q72) {
        const auto decoded = decodeQ72(preset);
        QVERIFY(decoded.errors.isEmpty());
        again = encodeQ72(decoded.settings);
    } else {
        again = encodeQ71(decodeQ71(preset).settings);
    }
    QVERIFY(again.ok());
    QString why;
    QVERIFY2(codectest::sameBits(again.image, preset, model, GroupCount, &why), qPrintable(why));
}

// Each damaged field gives one error at the field's first byte; the settings then hold the
// field's fall-back, which encodes to an image that reads back clean and the same.
void TstSettings::q72FallBacksStoreCleanly() {
    const QList<QList<int>> damages = {{171, 0x06},          {6, 0x1A},   {24, 0x01, 25, 0xB0},
                                       {40, 0x07, 41, 0x1C}, {171, 0x31}, {130, 39},
                                       {172, 0x18},          {173, 5},    {184, 0x1C},
                                       {210, 0xA1},          {193, 17},   {464, 0xB3}};
    for (const QList<int> &changes : damages) {
        ConfigImage img = presetImage(DeviceModel::Q72, 0);
        for (int i = 0; i + 1 < changes.size(); i += 2)
            img[std::size_t(changes[i])] = std::uint8_t(changes[i + 1]);
        const auto decoded = decodeQ72(img);
        QCOMPARE(decoded.errors.size(), 1);
        QCOMPARE(decoded.errors[0].offsets, QList<int>{changes[0]});
        // The key names a setting of the catalogue.
        QCOMPARE(decoded.errors[0].keys.size(), 1);
        QVERIFY(std::any_of(catalogueQ72().begin(), catalogueQ72().end(),
                            [&](const Q72Field &f) { return f.key == decoded.errors[0].keys[0]; }));
        const Encoded again = encodeQ72(decoded.settings);
        QVERIFY(again.ok());
        const auto reread = decodeQ72(again.image);
        QVERIFY(reread.errors.isEmpty());
        QVERIFY(reread.settings == decoded.settings);
    }
}

// A list setting whose stored value no item shows reads as NoItem, is written as a value without
// an item and so reads as NoItem again; the window keeps its own choice for it, so such a file is
// not written to a device.
void TstSettings::storedValuesWithoutAnItemStayWithoutOne() {
    ConfigImage img = presetImage(DeviceModel::Q72, 1);
    img[8] = 0x06;  // notification of recipient 1: no rule matches
    img[144] = 200; // equipment delay 200 s
    img[160] = 5;   // partition period: not a period code
    img[183] = 16;  // phrase pause: one past the last item
    auto q72 = decodeQ72(img);
    QVERIFY(q72.errors.isEmpty());
    for (int item : {q72.settings.recipients[0].notification, q72.settings.delayHardware,
                     q72.settings.periodRzd, q72.settings.phrasePause})
        QCOMPARE(item, NoItem);
    QVERIFY(decodeQ72(encodeQ72(q72.settings).image).settings == q72.settings);
    QCOMPARE(unshownValues(q72.settings), QStringList({"phrasePause", "recipients.1.notification",
                                                       "delayHardware", "periodRzd"}));
    QCOMPARE(imageToWrite(DeviceModel::Q72, img, std::nullopt).key, "phrasePause");

    img = presetImage(DeviceModel::Q71, 2);
    img[1] = 0x1E;  // extended work mode 14
    img[15] = 0x03; // line message type 3 of recipient 1
    auto q71 = decodeQ71(img).settings;
    QCOMPARE(q71.workMode, NoItem);
    QCOMPARE(q71.controlInput, NoItem);
    QCOMPARE(q71.recipients[0].messageType, NoItem);
    QVERIFY(decodeQ71(encodeQ71(q71).image).settings == q71);
    QCOMPARE(unshownValues(q71), QStringList({"workMode", "recipients.1.messageType"}));
    // Work mode 0 without its flag: the inputs are not stored.
    img[1] = 0x10;
    q71 = decodeQ71(img).settings;
    QCOMPARE(q71.workMode, 0);
    QCOMPARE(q71.input1, NoItem);
    QCOMPARE(int(encodeQ71(q71).image[0] & 0x01), 0);
    QCOMPARE(unshownValues(q71),
             QStringList({"input1", "input2", "controlInput", "recipients.1.messageType"}));
}

void TstSettings::valuesTheImageCannotHoldAreRefusedByName() {
    const Q72Settings s = decodeQ72(presetImage(DeviceModel::Q72, 1)).settings;
    const struct {
        std::function<void(Q72Settings &)> change;
        const char *key, *mentions;
    } cases[] = {{[](Q72Settings &v) { v.recipients[2].dialAttempts = 16; },
                  "recipients.3.dialAttempts", "16"},
                 {[](Q72Settings &v) { v.workMode = 6; }, "workMode", "6"},
                 {[](Q72Settings &v) { v.partitions[15].group = 17; }, "partitions.16.group", "17"},
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
    Q71Settings q71 = decodeQ71(presetImage(DeviceModel::Q71, 1)).settings;
    q71.partitions[9].object = 1000; // rows 10..16 list objects up to 999
    QCOMPARE(encodeQ71(q71).key, QStringLiteral("partitions.10.object"));
    q71.partitions[9].object = 999;
    q71.recipients[1].password = QStringLiteral("12");
    QCOMPARE(encodeQ71(q71).key, QStringLiteral("recipients.2.password"));
}

// Whatever the bytes of a Q71 password hold, it reads as a text that a write stores and that
// reads back the same, or as one the encoder refuses by the password's name (too few digits). A
// password without a single digit among its nibbles is what an empty field stores: "000", no
// password.
void TstSettings::q71PasswordsReadAsAWriteStoresThem() {
    const QList<QList<int>> digits = {{0xFF, 0xFF, 0x00}, {0xFF, 0xFF, 0xFF}, {0xAB, 0xCD, 0xEF},
                                      {0x1A, 0x2B, 0x3C}, {0xA1, 0xFF, 0xFF}, {0x12, 0x3F, 0xFF},
                                      {0x98, 0x76, 0x54}};
    for (int code = 0; code < 4; ++code)
        for (const QList<int> &bytes : digits) {
            ConfigImage img = presetImage(DeviceModel::Q71, 1);
            img[101] = std::uint8_t(code << 4); // recipient 7's length code: code + 3 digits
            for (int i = 0; i < 3; ++i)
                img[std::size_t(120 + i)] = std::uint8_t(bytes[i]);
            const Q71Settings read = decodeQ71(img).settings;
            const QString password = read.recipients[6].password;
            const QString what = QStringLiteral("code %1, bytes %2 %3 %4: \"%5\"")
                                     .arg(code)
                                     .arg(bytes[0], 2, 16)
                                     .arg(bytes[1], 2, 16)
                                     .arg(bytes[2], 2, 16)
                                     .arg(password);
            const Encoded written = encodeQ71(read);
            if (password.size() < 3) {
                QVERIFY2(!written.ok(), qPrintable(what));
                QCOMPARE(written.key, QStringLiteral("recipients.7.password"));
                continue;
            }
            QVERIFY2(written.ok(), qPrintable(what + QLatin1Char(' ') + written.error));
            QVERIFY2(decodeQ71(written.image).settings == read, qPrintable(what));
        }
    ConfigImage img = presetImage(DeviceModel::Q71, 1);
    img[120] = img[121] = 0xFF;
    QCOMPARE(decodeQ71(img).settings.recipients[6].password, QStringLiteral("000"));
}

namespace {
// Copies every field through the catalogue; each key names one field.
template <class S, class Field> S copyEveryField(const QList<Field> &fields, const S &from) {
    S to;
    QSet<QString> keys;
    for (const Field &f : fields) {
        if (keys.contains(f.key))
            qFatal("%s named twice", qPrintable(f.key));
        keys << f.key;
        if (f.set && !f.set(to, f.get(from)))
            qFatal("%s refused its own value", qPrintable(f.key));
        if (!f.set && f.key != QLatin1String("relay.mode")) // derived from the relay's events
            qFatal("%s cannot be set", qPrintable(f.key));
    }
    return to;
}
} // namespace

// Copying every field of decoded random images through the catalogue gives the whole value: no
// member is left out and every field reaches its own member.
void TstSettings::catalogueNamesEveryMemberOnce() {
    std::mt19937 rng(7u);
    for (int n = 0; n < 10; ++n) {
        ConfigImage img;
        for (auto &b : img)
            b = std::uint8_t(rng());
        const Q72Settings q72 = decodeQ72(img).settings;
        QVERIFY(copyEveryField(catalogueQ72(), q72) == q72);
        const Q71Settings q71 = decodeQ71(img).settings;
        QVERIFY(copyEveryField(catalogueQ71(), q71) == q71);
    }

    // A value of another kind is refused and changes nothing.
    const Q72Settings preset = decodeQ72(presetImage(DeviceModel::Q72, 0)).settings;
    for (const Q72Field &f : catalogueQ72())
        if (f.set) {
            Q72Settings v = preset;
            const QVariant wrong = f.kind == FieldKind::Text || f.kind == FieldKind::Password
                                       ? QVariant(3)
                                       : QVariant(QStringLiteral("3"));
            QVERIFY2(!f.set(v, wrong) && v == preset, qPrintable(f.key));
        }
}

namespace {
// The other side rebuilt from the window's side and the fields the comparison lists: it must be
// the other side exactly, by the settings' own equality.
template <class S, class Field>
bool listedFieldsMakeTheOther(const QList<Field> &fields, const Comparison<S> &c, const S &other) {
    S rebuilt = c.stored;
    for (int i : c.differing)
        if (fields[i].set)
            fields[i].set(rebuilt, fields[i].get(other));
    return rebuilt == other;
}

// Each field of the catalogue changed alone in the other configuration is listed, and the listed
// fields make the window's configuration the other one.
template <class S, class Field>
void everyFieldAloneIsFound(const QList<Field> &fields,
                            Comparison<S> (*compare)(const S &, const S &), const S &window,
                            Encoded (*encode)(const S &),
                            DecodeResult<S> (*decode)(const ConfigImage &)) {
    QVERIFY(compare(window, window).differing.isEmpty());
    Seeded seeded(1407u);
    for (int i = 0; i < fields.size(); ++i) {
        const Field &f = fields[i];
        if (!f.set)
            continue;
        QVariant value;
        do
            value = seeded.value(f, window);
        while (value == f.get(window));
        S changed = window;
        QVERIFY(f.set(changed, value));
        const Encoded e = encode(changed);
        QVERIFY2(e.ok(), qPrintable(f.key + QLatin1Char(' ') + e.error));
        const S other = decode(e.image).settings;
        if (other == window) { // a recipient always belongs to its own dial group
            QVERIFY2(f.key.section(QLatin1Char('.'), 1, 1) == f.key.section(QLatin1Char('.'), 2),
                     qPrintable(f.key));
            continue;
        }
        const Comparison<S> c = compare(window, other);
        QVERIFY(c.unstorable.isEmpty());
        QVERIFY2(c.differing.contains(i), qPrintable(f.key));
        QVERIFY2(listedFieldsMakeTheOther(fields, c, other), qPrintable(f.key));
    }
}

Comparison<Q71Settings> compare71(const Q71Settings &w, const Q71Settings &o) {
    return compareQ71(w, o);
}
} // namespace

// Every setting changed alone is found, in both models; the presets against each other differ in
// exactly the settings that make the one the other.
void TstSettings::comparisonListsExactlyWhatDiffers() {
    Q72Settings q72 = decodeQ72(presetImage(DeviceModel::Q72, 1)).settings;
    everyFieldAloneIsFound(catalogueQ72(), compareQ72, q72, encodeQ72, decodeQ72);
    // Recipients with a number, so that their partitions are stored.
    Q71Settings q71 = decodeQ71(presetImage(DeviceModel::Q71, 0)).settings;
    for (Q71Recipient &r : q71.recipients)
        r.phone = QStringLiteral("5550");
    everyFieldAloneIsFound(catalogueQ71(), compare71, q71, encodeQ71, decodeQ71);
    for (int a = 0; a < 6; ++a) {
        const int b = (a + 1) % 6;
        const Q72Settings p72 = decodeQ72(presetImage(DeviceModel::Q72, b)).settings;
        const auto c72 = compareQ72(decodeQ72(presetImage(DeviceModel::Q72, a)).settings, p72);
        QVERIFY(!c72.differing.isEmpty() && listedFieldsMakeTheOther(catalogueQ72(), c72, p72));
        const Q71Settings p71 = decodeQ71(presetImage(DeviceModel::Q71, b)).settings;
        const auto c71 = compareQ71(decodeQ71(presetImage(DeviceModel::Q71, a)).settings, p71);
        QVERIFY(!c71.differing.isEmpty() && listedFieldsMakeTheOther(catalogueQ71(), c71, p71));
    }
}

// A window value a write would refuse is listed with the encoder's message instead of being
// compared, and the rest is still compared; a Q71 recipient without a number reports no
// partitions, as a write stores it.
void TstSettings::comparisonPutsAsideWhatCannotBeStored() {
    const Q72Settings file = decodeQ72(presetImage(DeviceModel::Q72, 2)).settings;
    Q72Settings window = file;
    window.blitzCodes[4] = QStringLiteral("511"); // reads back as no code
    window.recipients[1].waitTime = (file.recipients[1].waitTime + 1) % 16;
    window.pin = QStringLiteral("__34"); // blanks before digits read back as no PIN
    const auto c = compareQ72(window, file);
    QCOMPARE(c.unstorable.size(), 2);
    QCOMPARE(c.unstorable[0].key, QStringLiteral("pin"));
    QCOMPARE(c.unstorable[1].key, QStringLiteral("blitzCodes.5"));
    QVERIFY(c.unstorable[1].error.contains(QLatin1String("511")));
    QCOMPARE(c.differing.size(), 1);
    QCOMPARE(catalogueQ72()[c.differing[0]].key, QStringLiteral("recipients.2.waitTime"));

    const Q71Settings stored = decodeQ71(presetImage(DeviceModel::Q71, 1)).settings;
    Q71Settings q71 = stored;
    QVERIFY(q71.recipients[7].phone.isEmpty());
    q71.recipients[7].partitions.fill(true);
    QVERIFY(compareQ71(q71, stored).differing.isEmpty());
}

// A file loaded in another name language runs the work-mode rule again, which unticks the
// partitions the work mode does not use, from the first of them on.
void TstSettings::loadingDropsTicksOfPartitionsNotInUse() {
    for (int mode = 0; mode < 6; ++mode) {
        Q72Settings s = decodeQ72(presetImage(DeviceModel::Q72, mode)).settings;
        s.nameLanguage = 2;
        s.relay.partitions.fill(true);
        s.recipients[7].partitions.fill(true);
        const Q72Settings n =
            q72Settings(loadedForm(DeviceModel::Q72, encodeQ72(s).image));
        const int inUse = std::array{2, 16, 1, 2, 4, 8}[mode];
        for (int p = 0; p < 16; ++p) {
            QCOMPARE(n.relay.partitions[p], p < inUse);
            QCOMPARE(n.recipients[7].partitions[p], p < inUse);
        }
    }
}

QTEST_MAIN(TstSettings)
#include "tst_settings.moc"
