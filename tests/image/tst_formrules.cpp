// The rules of the settings pages over the form, without any window: loading images, what a
// user's edit does to other settings and to what the controls show, and the start-up. The
// expected answers are worked out from what the device stores and what the pages must do in
// named situations.
#include "image/formcontrols.h"
#include "image/formload.h"
#include "image/formrules.h"
#include "image/presets.h"

#include <QtTest>

using namespace q7x::image;

namespace {

QString S(const char *s) { return QString::fromUtf8(s); }

// The factory preset of the GSM model in `mode` with some bytes changed.
ConfigImage q72Preset(int mode, std::initializer_list<std::pair<int, int>> bytes = {}) {
    ConfigImage img = presetImage(DeviceModel::Q72, mode);
    for (const auto &[at, value] : bytes)
        img[std::size_t(at)] = std::uint8_t(value);
    return img;
}

ConfigImage written(DeviceModel model, const ConfigImage &img) {
    const Encoded e = writeAfterLoad(model, img);
    if (!e.ok())
        qWarning() << e.error;
    return e.image;
}

constexpr int OrderFlagByte = 181, OrderFlag = 0x20;

// A user's edit; fails the test when the form does not take it.
#define EDIT(f, control, kind, value)                                                              \
    do {                                                                                           \
        FormEffects fx_;                                                                           \
        QVERIFY2(userEdit(f, S(control), EditKind::kind, value, fx_), control);                    \
    } while (false)

QStringList messages(const FormEffects &fx) {
    QStringList out;
    for (const FormNotice &n : fx.notices)
        if (n.kind == FormNotice::Kind::Message)
            out << QString::number(n.number);
    return out;
}

} // namespace

class TestFormRules : public QObject {
    Q_OBJECT
  private slots:
    void gsmTypes_digitalBecomesToneThenSmsInTheCommonOrder();
    void nameLanguageChange_untickesPartitionsNotInUse();
    void workMode_narrowingUnticksAndWideningReenables();
    void relayTiming_heldTimesExcludeEachOther_data();
    void relayTiming_heldTimesExcludeEachOther();
    void relayControl_byCommandFreesTheRemoteRelayCommands();
    void objectRows_oneRowPerObjectOfPartitionsInUse();
    void partitionNumbers_giveWayWithinTheirObject();
    void objectPasswords_packedTwoDigitsACell();
    void fields_filterWhatIsTyped();
    void pauseIntervals_allFollowOne();
    void toolMode_onlineDisablesFilesAndEnablesConnect();
    void startUp_smsBlitzOnlyInTheRussianInterface();
    void read_damagedImageShowsFallbacksThenFactorySettings();
    void read_nothingOfAnEarlierConfigurationIsStored();
    void edits_refuseWhatNoControlTakes();
};

// A digital type cannot travel over GSM: the read turns it into "tone, then SMS", and all
// recipients send the SMS in the order the others use.
void TestFormRules::gsmTypes_digitalBecomesToneThenSmsInTheCommonOrder() {
    // Recipient 1 alone with SMS + digital (0x09), order flag clear: tone + SMS, SMS last.
    ConfigImage out = written(DeviceModel::Q72, q72Preset(1, {{8, 0x09}}));
    QCOMPARE(int(out[8]), 0x05);
    QVERIFY(out[OrderFlagByte] & OrderFlag);
    // Recipient 1 SMS first (0x03), recipient 2 SMS + digital: SMS + tone, SMS first.
    out = written(DeviceModel::Q72, q72Preset(1, {{8, 0x03}, {9, 0x09}}));
    QCOMPARE(int(out[8]), 0x03);
    QCOMPARE(int(out[9]), 0x05);
    QVERIFY(!(out[OrderFlagByte] & OrderFlag));
}

// A name language other than the window's runs the work-mode rule after the partitions were read:
// in W30/1 only partition 1 is in use.
void TestFormRules::nameLanguageChange_untickesPartitionsNotInUse() {
    // Recipient 1 reports partitions 1 and 5 (byte 97: partitions 1..8).
    const ConfigImage base = q72Preset(2, {{97, 0x11}});
    ConfigImage english = base;
    english[171] = std::uint8_t((english[171] & 0x0F) | 0x10);
    QCOMPARE(int(written(DeviceModel::Q72, english)[97]), 0x01);
    // In its own language the read keeps what the image says.
    QCOMPARE(int(written(DeviceModel::Q72, base)[97]), 0x11);
}

void TestFormRules::workMode_narrowingUnticksAndWideningReenables() {
    Form f = startForm(S("Russian"));
    EDIT(f, "WorkModeComboBox", Choose, 1); // W40: sixteen partitions
    EDIT(f, "rzd216", Click, true);
    EDIT(f, "iz116", Click, true);
    QVERIFY(f.values.recipients[1].partitions[15]);
    EDIT(f, "WorkModeComboBox", Choose, 2); // W30/1: one partition
    for (int p = 1; p < 16; ++p) {
        QVERIFY(!f.values.recipients[1].partitions[std::size_t(p)]);
        QVERIFY(!f.view.recipients[1].partitions[std::size_t(p)].enabled);
        QVERIFY(!f.values.relayPartitions[std::size_t(p)]);
    }
    QVERIFY(f.view.recipients[1].partitions[0].enabled);
    // Unused partitions of the GSM model have no object; used ones object 1.
    QCOMPARE(f.values.partitions[0].object, 1);
    QCOMPARE(f.values.partitions[15].object, 0);
    EDIT(f, "WorkModeComboBox", Choose, 1);
    QVERIFY(f.view.recipients[1].partitions[15].enabled);
    QVERIFY(!f.values.recipients[1].partitions[15]);
    // Two-partition modes restrict the SMS-Blitz rows like stand-alone, row 16 left as it was.
    EDIT(f, "WorkModeComboBox", Choose, 3);
    QVERIFY(f.view.blitzCodes[14].enabled);  // row 15
    QVERIFY(!f.view.blitzCodes[16].enabled); // row 17
    QVERIFY(!f.view.blitzVoice[2].enabled);  // row 3
    QVERIFY(f.view.blitzCodes[15].enabled);  // row 16, untouched
    // ... but the event types follow the W30 column: tamper of partitions off.
    QVERIFY(!f.view.recipients[0].events[1].enabled);
    QVERIFY(f.view.recipients[0].events[4].enabled);
}

void TestFormRules::relayTiming_heldTimesExcludeEachOther_data() {
    QTest::addColumn<int>("open");
    QTest::addColumn<int>("close");
    QTest::addColumn<int>("openAfter");
    QTest::addColumn<int>("closeAfter");
    QTest::addColumn<bool>("periodEnabled");
    // Items: 0 "---", 1..6 timed (0.5 s .. 30 s), 7 held ("пост.").
    QTest::newRow("both timed, shortest") << 1 << 1 << 1 << 1 << true;
    QTest::newRow("both timed, longest") << 6 << 6 << 6 << 6 << true;
    QTest::newRow("opening held") << 7 << 6 << 7 << 0 << false;
    QTest::newRow("closing held") << 1 << 7 << 0 << 7 << false;
    QTest::newRow("no opening") << 0 << 6 << 0 << 6 << false;
    QTest::newRow("no closing") << 6 << 0 << 6 << 0 << false;
}

void TestFormRules::relayTiming_heldTimesExcludeEachOther() {
    QFETCH(int, open);
    QFETCH(int, close);
    QFETCH(int, openAfter);
    QFETCH(int, closeAfter);
    QFETCH(bool, periodEnabled);
    Form f = startForm(S("Russian"));
    EDIT(f, "ReleWorkMode1", Choose, 6); // special
    EDIT(f, "TimeRzmk1", Choose, 1);
    EDIT(f, "TimeZmk1", Choose, 1);
    EDIT(f, "TimePeriod1", Choose, 3);
    QVERIFY(f.view.timePeriod.enabled);
    EDIT(f, "TimeRzmk1", Choose, open);
    EDIT(f, "TimeZmk1", Choose, close);
    QCOMPARE(f.values.timeRzmk, openAfter);
    QCOMPARE(f.values.timeZmk, closeAfter);
    QCOMPARE(f.view.timePeriod.enabled, periodEnabled);
    // The duration survives only while both times are timed.
    QCOMPARE(f.values.timePeriod, periodEnabled ? 3 : 0);
    QCOMPARE(f.view.timeZmk.enabled, openAfter != 7);
    QCOMPARE(f.view.timeRzmk.enabled, closeAfter != 7);
}

void TestFormRules::relayControl_byCommandFreesTheRemoteRelayCommands() {
    Form f = startForm(S("Russian"));
    EDIT(f, "iz11", Click, true);
    FormEffects fx;
    QVERIFY(userEdit(f, S("ReleControl1"), EditKind::Choose, 0, fx)); // by command
    QCOMPARE(messages(fx), QStringList{"1542"});
    QCOMPARE(f.values.relayMode, 6);
    QVERIFY(!f.values.relayPartitions[0]);
    QVERIFY(!f.view.relayMode.enabled);
    QVERIFY(!f.values.alarmEvent && !f.view.alarmEvent.enabled);
    QVERIFY(f.view.objectRows[0].relayOn.enabled && f.view.recipients[7].relayOff.enabled);
    EDIT(f, "start1", Click, true);
    EDIT(f, "stop28", Click, true);
    fx = {};
    QVERIFY(userEdit(f, S("ReleControl1"), EditKind::Choose, 1, fx)); // by event
    QCOMPARE(messages(fx), QStringList{"1543"});
    // "ПЦН тревога": alarm, arming by one and by all, held opening.
    QCOMPARE(f.values.relayMode, 0);
    QVERIFY(f.values.alarmEvent && f.values.onOffLine && f.values.onOffAllLine);
    QVERIFY(!f.values.boxDamage);
    QCOMPARE(f.values.timeRzmk, 7);
    QVERIFY(!f.values.objectRows[0].commands.relayOn && !f.view.objectRows[0].relayOn.enabled);
    QVERIFY(!f.values.recipients[7].commands.relayOff);
}

// Partitions 1, 2 and 3 on object 12 and partition 4 on object 7 give two object rows.
void TestFormRules::objectRows_oneRowPerObjectOfPartitionsInUse() {
    Form f = startForm(S("Russian"));
    EDIT(f, "WorkModeComboBox", Choose, 4); // W30/4
    for (const char *list : {"ObjNmb1", "ObjNmb2", "ObjNmb3"})
        EDIT(f, list, Choose, 12);
    EDIT(f, "ObjNmb4", Choose, 7);
    QCOMPARE(f.view.objectRows[0].object, S("12"));
    QCOMPARE(f.view.objectRows[1].object, S("7"));
    QVERIFY(f.view.objectRows[1].password.visible);
    for (int k = 2; k < 16; ++k)
        QVERIFY(!f.view.objectRows[std::size_t(k)].label.visible);
    // A GSM partition without an object reports to nobody.
    EDIT(f, "rzd34", Click, true);
    EDIT(f, "ObjNmb4", Choose, 0);
    QVERIFY(!f.values.recipients[2].partitions[3]);
    QVERIFY(!f.view.recipients[2].partitions[3].enabled);
    QVERIFY(!f.view.objectRows[1].label.visible);
}

void TestFormRules::partitionNumbers_giveWayWithinTheirObject() {
    Form f = startForm(S("Russian"));
    EDIT(f, "WorkModeComboBox", Choose, 1);
    EDIT(f, "ObjNmb1", Choose, 5);
    EDIT(f, "ObjNmb2", Choose, 5);
    EDIT(f, "RzdNmb1", Choose, 0); // "1"
    EDIT(f, "RzdNmb2", Choose, 0); // "1" again: the lowest free number
    QCOMPARE(f.values.partitions[1].number, 1);
    EDIT(f, "RzdNmb2", Choose, 2);
    QCOMPARE(f.values.partitions[1].number, 2);
    // The telephone-line model has no partition without an object.
    FormEffects fx;
    chooseToolMode(f, 0, fx);
    EDIT(f, "ObjNmb1", Choose, 0);
    QCOMPARE(f.values.partitions[0].object, 1);
}

// The password of an object: digits in pairs from the left, a last single digit with 0xF below
// it, 0xFF where no digit is; each reads back as typed.
void TestFormRules::objectPasswords_packedTwoDigitsACell() {
    Form f = startForm(S("Russian"));
    EDIT(f, "WorkModeComboBox", Choose, 3); // W30/2
    EDIT(f, "ObjNmb1", Choose, 40);
    EDIT(f, "ObjNmb2", Choose, 41);
    const struct {
        const char *typed;
        PasswordCells cells;
    } cases[] = {{"1234", {0x12, 0x34, 0xFF}},
                 {"12345", {0x12, 0x34, 0x5F}},
                 {"905", {0x90, 0x5F, 0xFF}},
                 {"", {0xFF, 0xFF, 0xFF}}};
    for (const auto &c : cases) {
        EDIT(f, "Password2", Type, S(c.typed));
        EDIT(f, "Password2", Leave, {});
        QCOMPARE(f.values.objectPasswords[40], c.cells);
        EDIT(f, "ObjNmb2", Choose, 42); // another object, then back: the row reads the table
        EDIT(f, "ObjNmb2", Choose, 41);
        QCOMPARE(f.values.objectRows[1].password, S(c.typed));
    }
    // Too short: the message and the focus; too long: cut to six with its message.
    FormEffects fx;
    EDIT(f, "Password1", Type, S("12"));
    QVERIFY(userEdit(f, S("Password1"), EditKind::Leave, {}, fx));
    QCOMPARE(messages(fx), QStringList{"1539"});
    fx = {};
    EDIT(f, "Password1", Type, S("1234567"));
    QVERIFY(userEdit(f, S("Password1"), EditKind::Leave, {}, fx));
    QCOMPARE(messages(fx), QStringList{"1540"});
    QCOMPARE(f.values.objectRows[0].password, S("123456"));
    QCOMPARE(f.values.objectPasswords[39], (PasswordCells{0x12, 0x34, 0x56}));
}

void TestFormRules::fields_filterWhatIsTyped() {
    Form f = startForm(S("Russian"));
    EDIT(f, "LinePhone1", Type, S("12-34w"));
    QCOMPARE(f.values.recipients[0].linePhone, S("1234W"));
    EDIT(f, "LinePhone2", Click, {});
    QCOMPARE(f.values.recipients[1].linePhone, S("WB"));
    FormEffects fx;
    EDIT(f, "LinePhone3", Type, QString(30, QLatin1Char('7')));
    QVERIFY(userEdit(f, S("LinePhone3"), EditKind::Leave, {}, fx));
    QCOMPARE(messages(fx), QStringList{"1544"});
    QCOMPARE(f.values.recipients[2].linePhone.size(), 24);
    EDIT(f, "RequestBalance", Type, S("*1a0#2"));
    QCOMPARE(f.values.balanceRequest, S("*10#2"));
    // An SMS-Blitz code left short is padded when the user does not correct it.
    EDIT(f, "Edit1", Type, S("7"));
    QVERIFY(blitzCodeAsks(f, 1));
    EDIT(f, "Edit1", Leave, false);
    QCOMPARE(f.values.blitzCodes[0], S("0007"));
    QVERIFY(!blitzCodeAsks(f, 1));
    // English user names keep ASCII only; any name is cut to twelve characters.
    EDIT(f, "OwnNameE1", Type, S("Hall №1"));
    QCOMPARE(f.values.ownNames[1][0], S("Hall 1"));
    EDIT(f, "OwnName2", Type, S("Дом у реки на холме"));
    fx = {};
    QVERIFY(userEdit(f, S("OwnName2"), EditKind::Leave, {}, fx));
    QCOMPARE(messages(fx), QStringList{"1538"});
    QCOMPARE(f.values.ownNames[0][1], S("Дом у реки н"));
}

void TestFormRules::pauseIntervals_allFollowOne() {
    Form f = startForm(S("Russian"));
    for (const FormRecipient &r : f.values.recipients)
        QCOMPARE(r.pauseInterval, 4); // "2 мин" after start-up
    EDIT(f, "PauseInterval5", Choose, 10);
    for (const FormRecipient &r : f.values.recipients)
        QCOMPARE(r.pauseInterval, 10);
}

void TestFormRules::toolMode_onlineDisablesFilesAndEnablesConnect() {
    Form f = startForm(S("Russian"));
    FormEffects fx;
    chooseToolMode(f, int(ToolMode::Online), fx);
    QVERIFY(fx.buttonsChanged && !fx.fileButtons && fx.connectButton);
    QCOMPARE(f.model, DeviceModel::Q72); // kept until a device answers
    QVERIFY(!f.view.panel5.visible && !f.view.panel7.visible);
    fx = {};
    adaptToModel(f, DeviceModel::Q71, fx);
    QVERIFY(fx.runModemChanged && !fx.runModemButton);
    QVERIFY(f.view.panel7.visible && f.view.recipients[0].linePhone.visible);
    QCOMPARE(f.view.objectListLast, 9999);
    fx = {};
    chooseToolMode(f, int(ToolMode::DemoQ71), fx);
    QVERIFY(fx.fileButtons && !fx.connectButton);
    // The demonstration of the line model never combines SMS.
    for (int r = 0; r < 8; ++r) {
        QCOMPARE(f.values.recipients[std::size_t(r)].sms, 1);
        QVERIFY(!f.view.recipients[std::size_t(r)].sms.enabled);
    }
}

void TestFormRules::startUp_smsBlitzOnlyInTheRussianInterface() {
    const Form russian = startForm(S("Russian"));
    const Form english = startForm(S("English"));
    const Form none = startForm(S("Error"));
    QCOMPARE(itemCount(russian, S("TypeMesgGSM1")), 11);
    QCOMPARE(itemCount(english, S("TypeMesgGSM8")), 10);
    QCOMPARE(itemCount(none, S("TypeMesgGSM3")), 10);
    // Otherwise the start-up is the same: a GSM demonstration with its factory settings.
    QVERIFY(russian.values == english.values);
    QCOMPARE(russian.model, DeviceModel::Q72);
    QCOMPARE(russian.values.workMode, 1);
    QVERIFY(russian.formShown);
    // The SMS-Blitz type comes back while an image uses it, and goes again with one that does
    // not.
    Form f = english;
    FormEffects fx;
    loadFile(f, q72Preset(1, {{10, 0x13}}), fx);
    QCOMPARE(f.values.recipients[2].gsmType, GsmBlitzItem);
    QCOMPARE(itemCount(f, S("TypeMesgGSM3")), 11);
    QVERIFY(f.view.blitzTab);
    loadFile(f, q72Preset(1), fx);
    QCOMPARE(itemCount(f, S("TypeMesgGSM3")), 10);
}

// A read image with a bad field shows every message over the image as read, then the warning,
// and ends on the factory preset of the work mode then selected.
void TestFormRules::read_damagedImageShowsFallbacksThenFactorySettings() {
    Form f = startForm(S("Russian"));
    FormEffects fx;
    readImage(f, q72Preset(1, {{171, 0x06}, {6, 0x1A}}), fx); // work mode 6, PIN nibble 10
    QStringList kinds;
    for (const FormNotice &n : fx.notices) {
        switch (n.kind) {
        case FormNotice::Kind::State:
            kinds << S("state");
            QCOMPARE(n.state->values.workMode, 0); // the fall-back
            QVERIFY(n.state->values.pin.isEmpty());
            break;
        case FormNotice::Kind::FieldError:
            kinds << n.labels.join(S(","));
            break;
        case FormNotice::Kind::DamagedImage:
            kinds << S("warning");
            break;
        default:
            kinds << S("other");
        }
    }
    QCOMPARE(kinds, QStringList({"state", "Label2", "Label5", "warning"}));
    QVERIFY(f.values == loadedForm(DeviceModel::Q72, presetImage(DeviceModel::Q72, 0)).values);
    QVERIFY(fx.defaultsRestored);
}

// Factory settings and a later image store nothing that an earlier image left in controls the
// window does not show: user names no partition uses, commands of object rows without a group.
void TestFormRules::read_nothingOfAnEarlierConfigurationIsStored() {
    ConfigImage named = q72Preset(1);
    for (int i = 0; i < 48; ++i)
        named[std::size_t(416 + i)] = std::uint8_t('a' + i % 26);
    for (int g = 0; g < 16; ++g)
        named[std::size_t(240 + g)] = 0x1F; // every command of every group
    Form f = loadStart(DeviceModel::Q72);
    FormEffects fx;
    loadFile(f, named, fx);
    restoreDefaults(f, fx);
    Encoded out = encodeForm(f);
    QVERIFY(out.ok());
    for (int i = 416; i < 464; ++i)
        QCOMPARE(int(out.image[std::size_t(i)]), 0);
    QVERIFY(out.image == writeAfterLoad(DeviceModel::Q72, presetImage(DeviceModel::Q72, 1)).image);
    // Without any group, no command at all, whatever the window showed before.
    ConfigImage ungrouped = q72Preset(1);
    for (int b = 192; b <= 207; ++b)
        ungrouped[std::size_t(b)] = 0;
    loadFile(f, named, fx);
    loadFile(f, ungrouped, fx);
    out = encodeForm(f);
    for (int g = 0; g < 16; ++g)
        QCOMPARE(int(out.image[std::size_t(240 + g)]), 0);
    QVERIFY(out.image == writeAfterLoad(DeviceModel::Q72, ungrouped).image);
}

void TestFormRules::edits_refuseWhatNoControlTakes() {
    Form f = startForm(S("Russian"));
    const Form before = f;
    FormEffects fx;
    QVERIFY(!userEdit(f, S("NoSuchControl"), EditKind::Choose, 1, fx));
    QVERIFY(!userEdit(f, S("WorkModeComboBox"), EditKind::Choose, 6, fx));
    QVERIFY(!userEdit(f, S("WorkModeComboBox"), EditKind::Choose, -1, fx));
    QVERIFY(!userEdit(f, S("rzd11"), EditKind::Click, S("yes"), fx));
    QVERIFY(!userEdit(f, S("LinePhone1"), EditKind::Choose, 1, fx));
    QVERIFY(!userEdit(f, S("ObjNmb1"), EditKind::Choose, 1000, fx));
    QVERIFY(!userEdit(f, S("Mode"), EditKind::Choose, 3, fx));
    QVERIFY(f == before);
    QVERIFY(fx.notices.isEmpty());

    // Object lists: partitions 1..9 share the model's list (objects up to 9999 on the phone-line
    // model, up to 999 on the GSM model), partitions 10..16 go to 999 on both; the last item of
    // each is taken and the one after it refused.
    for (const int tool : {1, 0}) { // demo Q72, demo Q71
        EDIT(f, "Mode", Choose, tool);
        const int shared = itemCount(f, S("ObjNmb1"));
        QCOMPARE(shared, tool == 0 ? 10000 : 1000);
        for (const char *list : {"ObjNmb9", "ObjNmb10", "ObjNmb16"}) {
            const int count = itemCount(f, S(list));
            QCOMPARE(count, QByteArray(list) == "ObjNmb9" ? shared : 1000);
            FormEffects edit;
            QVERIFY2(userEdit(f, S(list), EditKind::Choose, count - 1, edit), list);
            QVERIFY2(!userEdit(f, S(list), EditKind::Choose, count, edit), list);
        }
    }
}

QTEST_MAIN(TestFormRules)
#include "tst_formrules.moc"
