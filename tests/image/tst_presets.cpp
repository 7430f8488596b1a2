// Factory presets: facts stated with the preset tables, and the fields they decode to.
#include "image/layout.h"
#include "image/presets.h"

#include <QtTest>

using namespace q7x::image;

class TstPresets : public QObject {
    Q_OBJECT
  private slots:
    void q72Mode0();
    void q72WorkModeBytes();
    void q72ExtendedModes();
    void q71Presets();
    void q71Codes();
    void unusedBytesAreZeroAndPresetsDiffer();
    void outOfRangeChoices();
};

void TstPresets::q72Mode0() {
    const auto img = presetImage(ModelQ72, 0);
    QCOMPARE(int(img[6]), 0xFF);
    QCOMPARE(int(img[7]), 0xFF);
    QCOMPARE(q72::decodePin(img[6], img[7]).text, QString());
    QCOMPARE(int(img[24]), 0x0F);
    for (int i = 25; i <= 31; ++i)
        QCOMPARE(int(img[i]), 0xFF);
    QCOMPARE(q72::decodePhone(img.data() + q72::SmsCentre).text, QString());
    QCOMPARE(int(img[192]), 1); // partitions 1 and 2 in object group 1
    QCOMPARE(int(img[193]), 1);
    QCOMPARE(int(img[194]), 0);
    QCOMPARE(q72::objectNumber(img, 1).number, 1);
    QCOMPARE(q72::objectNumber(img, 2).number, 1);
    QCOMPARE(q72::rzdNmbItem(img, 2), 1);
    QCOMPARE(q72::objectNumber(img, 3).number, 0);
    const auto pw = q72::groupPassword(img, 1);
    QCOMPARE(int(pw.bytes[0]), 0x73);
    QCOMPARE(int(pw.bytes[1]), 0x01);
    QCOMPARE(int(pw.bytes[2]), 0x94);
    QCOMPARE(int(img[467]), 0xFF);
    QCOMPARE(int(img[240]), 31); // group 1 may use all five commands
    QCOMPARE(gsmTypeItem(img[8], testBit(img, q72::OrderFlag)).value_or(-1), 0);
    QCOMPARE(q72::decodeBalance(img.data() + q72::RequestBalance).text, QString());
    for (int k = 1; k <= 24; ++k)
        QVERIFY(!q72::blitzCode(img, k));
    QCOMPARE(int(img[321]), 29);
    QCOMPARE(int(img[323]), 63);
}

void TstPresets::q72WorkModeBytes() {
    for (int mode = 0; mode < 6; ++mode) {
        const auto img = presetImage(ModelQ72, mode);
        QCOMPARE(img[171] & 0x0F, mode);
        QCOMPARE(img[171] >> 4, 0);
        QCOMPARE(testBit(img, q72::WorkModeZero), mode == 0);
        QCOMPARE(int(img[150]), 0xFF);
        QCOMPARE(int(img[151]), 0xFF);
        QCOMPARE(int(img[159]), 0xFF);
    }
}

void TstPresets::q72ExtendedModes() {
    const int groupsOfPartition2[6] = {1, 1, 0, 1, 1, 1};
    const int relayLow[6] = {255, 255, 1, 3, 15, 255};
    for (int mode = 1; mode < 6; ++mode) {
        const auto img = presetImage(ModelQ72, mode);
        QCOMPARE(q72::decodeBalance(img.data() + q72::RequestBalance).text,
                 QStringLiteral("*102#"));
        QCOMPARE(q72::decodePin(img[6], img[7]).text, QString());
        QCOMPARE(gsmTypeItem(img[12], false).value_or(-1), 1);
        QCOMPARE(int(img[193]), groupsOfPartition2[mode]);
        QCOMPARE(int(img[2]), relayLow[mode]);
        QCOMPARE(int(img[464]), 0xFF);
    }
    const auto w4 = presetImage(ModelQ72, 4);
    QCOMPARE(int(w4[195]), 1);
    QCOMPARE(q72::objectNumber(w4, 4).number, 1);
    QCOMPARE(q72::rzdNmbItem(w4, 4), 3);
    QCOMPARE(int(w4[255]), 0);
    QCOMPARE(int(presetImage(ModelQ72, 3)[255]), 51);
    QCOMPARE(int(presetImage(ModelQ72, 2)[255]), 13);
    QCOMPARE(int(presetImage(ModelQ72, 5)[136]), 8); // partitions 9..16 named 8..15
    QCOMPARE(int(presetImage(ModelQ72, 5)[143]), 15);
}

void TstPresets::q71Presets() {
    const int byte0[6] = {13, 14, 12, 12, 12, 12};
    const int byte10[6] = {3, 255, 1, 3, 15, 255};
    for (int mode = 0; mode < 6; ++mode) {
        const auto img = presetImage(ModelQ71, mode);
        QCOMPARE(int(img[0]), byte0[mode]);
        QCOMPARE(testBit(img, q71::WorkModeZero), mode == 0);
        QCOMPARE(int(img[1]), 0x10 + mode);
        QCOMPARE(int(img[10]), byte10[mode]);
        QCOMPARE(int(img[6]), mode == 1 ? 102 : 68);
        QCOMPARE(int(img[q71::FillFF]), 0xFF);
        QCOMPARE(int(img[263]), 128);
        QCOMPARE(q71::groupObject(img, 1), 1);
        QCOMPARE(q71::partitionGroup(img, 16), 1);
    }
}

void TstPresets::q71Codes() {
    const auto img = presetImage(ModelQ71, 0);
    const int dig[12] = {140, 383, 384, 401, 355, 373, 110, 356, 344, 137, 350, 302};
    for (int k = 1; k <= 12; ++k)
        QCOMPARE(q71::digCode(img, k), dig[k - 1]);
    QCOMPARE(q71::dig13(img), 1602);
    QCOMPARE(getField(img, q71::rzdNmb(16)), 15);
    QCOMPARE(q71::linePhone(img, 1), QString());
    QCOMPARE(q71::password(img, 1), QStringLiteral("000"));
    QVERIFY(testBit(img, q71::UrgentBits[0]));
    QVERIFY(testBit(img, q71::Urgent1Copy));
}

void TstPresets::unusedBytesAreZeroAndPresetsDiffer() {
    for (int model : {ModelQ71, ModelQ72}) {
        for (int mode = 0; mode < 6; ++mode) {
            const auto img = presetImage(model, mode);
            const int from = model == ModelQ71 ? 273 : 512;
            for (int i = from; i < ImageSize; ++i)
                QCOMPARE(int(img[i]), 0);
            if (model == ModelQ72)
                for (int i = 324; i < 464; ++i)
                    QCOMPARE(int(img[i]), 0);
            for (int other = 0; other < mode; ++other)
                QVERIFY(img != presetImage(model, other));
        }
    }
}

void TstPresets::outOfRangeChoices() {
    QVERIFY(presetImage(ModelQ72, -1) == presetImage(ModelQ72, 0));
    QVERIFY(presetImage(ModelQ71, 6) == presetImage(ModelQ71, 0));
    QVERIFY(presetImage(0, 2) == presetImage(ModelQ72, 2));
}

QTEST_APPLESS_MAIN(TstPresets)
#include "tst_presets.moc"
