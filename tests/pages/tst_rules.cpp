// The settings-page rules, driven through the real window as a user drives it: a choice in a
// list fires its handlers, typing fires the change handler, leaving a field fires its exit
// handler.
#include "app/mainform.h"
#include "pages/dialogs.h"
#include "testsupport.h"

#include <QtTest>

using namespace q7x;
using namespace q7x::pages;
using q7x::test::choose;

namespace {

QString S(const char *utf8) { return QString::fromUtf8(utf8); }

// The user enters the field and leaves it with Tab.
void leave(QWidget *w) {
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(w, &in);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(w, &out);
}

bool ownEnabled(const QWidget *w) { return !w->testAttribute(Qt::WA_Disabled); }

struct Window {
    RecordingDialogs dialogs;
    app::TMainForm form{&dialogs};
    Window() {
        form.show();
        dialogs.clear();
    }
    const Controls &c() const { return form.controls(); }
    ComboBox *combo(const char *name) const { return c().combo(S(name)); }
    ComboBox *combo(const char *prefix, int i) const { return c().combo(S(prefix), i); }
    CheckBox *check(const char *prefix, int i) const { return c().check(S(prefix), i); }
    CheckBox *check(const char *prefix, int i, int j) const { return c().check(S(prefix), i, j); }
    Edit *edit(const char *prefix, int i) const { return c().edit(S(prefix), i); }
    QWidget *widget(const char *name) const { return c().widget(S(name)); }
    TabSheet *sheet(const char *name) const { return c().get<TabSheet>(S(name)); }
    void toolMode(int index) { choose(form.Mode, index); }
    void workMode(int index) { choose(form.WorkModeComboBox, index); }
    int messages() const { return dialogs.texts().size(); }
};

} // namespace

class TestRules : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        test::numberMessages();
        test::writeIni("[Lang]\nDefault=Russian\n");
    }
    void cleanupTestCase() { QFile::remove(lang::IniPath()); }

    void workMode_narrowingUnticksAndWideningReenables();
    void unusedPartitions_objectNumberDependsOnModel();
    void toolModes_turnSmsCombiningOff();
    void relay_commandAndEventControl();
    void relay_specialTiming();
    void relay_fixedModes();
    void gsmType_smsOrderIsCommon();
    void gsmType_setsDiallingAndConfirmation();
    void gsmType_smsBlitzPageAndCombining();
    void lineType_digitalPageForQ71();
    void linePhoneAndBalance_filterAndClick();
    void fieldLength_data();
    void fieldLength();
    void pauseIntervals_stayTogether();
    void partitionNumbers_uniqueWithinObject();
    void objectRows_followDistinctObjects();
    void objectPasswords_roundTripThroughTable();
    void q71Objects_neverReachBeyondTheTable();
    void userNames_visibilityLengthAndCharacters();
    void maskedFields_keepBlankPositions();
};

void TestRules::workMode_narrowingUnticksAndWideningReenables() {
    Window w;
    w.workMode(1);
    for (int r = 1; r <= 8; ++r)
        for (int p = 1; p <= 16; ++p)
            w.check("rzd", r, p)->setChecked(true);
    for (int p = 1; p <= 16; ++p)
        w.check("iz1", p)->setChecked(true);

    w.workMode(2); // W30/1: one partition
    for (int p = 1; p <= 16; ++p) {
        for (int r = 1; r <= 8; ++r) {
            QCOMPARE(w.check("rzd", r, p)->isChecked(), p == 1);
            QCOMPARE(ownEnabled(w.check("rzd", r, p)), p == 1);
        }
        QCOMPARE(ownEnabled(w.check("iz1", p)), p == 1);
        QCOMPARE(ownEnabled(w.combo("RzdNmb", p)), p == 1);
        QCOMPARE(ownEnabled(w.combo("NameRzd", p)), p == 1);
        if (p > 1)
            QVERIFY(!w.check("iz1", p)->isChecked());
    }

    w.workMode(1);
    for (int p = 2; p <= 16; ++p) {
        QVERIFY(ownEnabled(w.check("rzd", 3, p)));
        QVERIFY(!w.check("rzd", 3, p)->isChecked());
        QVERIFY(ownEnabled(w.check("iz1", p)));
        QVERIFY(!w.check("iz1", p)->isChecked());
        QCOMPARE(w.combo("RzdNmb", p)->itemIndex(), p - 1);
    }
}

void TestRules::unusedPartitions_objectNumberDependsOnModel() {
    Window w;
    QCOMPARE(w.form.DeviceModel, DeviceModel::Q72);
    w.combo("ObjNmb", 1)->setItemIndex(5);
    w.workMode(3); // two partitions
    for (int p = 1; p <= 16; ++p)
        QCOMPARE(w.combo("ObjNmb", p)->itemIndex(), p <= 2 ? 1 : 0);

    w.toolMode(0);
    QCOMPARE(w.form.DeviceModel, DeviceModel::Q71);
    w.workMode(1);
    w.combo("ObjNmb", 1)->setItemIndex(5);
    w.workMode(3);
    QCOMPARE(w.combo("ObjNmb", 1)->itemIndex(), 5); // in use: kept
    for (int p = 3; p <= 16; ++p)
        QCOMPARE(w.combo("ObjNmb", p)->itemIndex(), 1);
    // A partition of the telephone-line model always has an object.
    ComboBox *second = w.combo("ObjNmb", 2);
    second->setCurrentIndex(0);
    emit second->activated(0);
    QCOMPARE(second->itemIndex(), 1);
    QCOMPARE(w.c().label(S("Label102"))->caption(), S("(1-9999)"));
    QCOMPARE(w.combo("ObjNmb", 9)->count(), 10000);
    QCOMPARE(w.combo("ObjNmb", 10)->count(), 1000);
}

// Without GSM the SMS combining lists are off: hidden on line, locked on "нет" for the Q71.
void TestRules::toolModes_turnSmsCombiningOff() {
    Window w;
    w.toolMode(2);
    for (int r = 1; r <= 8; ++r) {
        QVERIFY(w.combo("SMS", r)->isHidden());
        QCOMPARE(w.combo("SMS", r)->itemIndex(), 1);
    }
    w.toolMode(0);
    for (int r = 1; r <= 8; ++r) {
        QCOMPARE(w.combo("SMS", r)->text(), S("нет"));
        QVERIFY(!ownEnabled(w.combo("SMS", r)));
    }
}

void TestRules::relay_commandAndEventControl() {
    Window w;
    QCOMPARE(w.form.ReleControl1->itemIndex(), 1);
    w.check("start", 3)->setChecked(false);
    choose(w.form.ReleControl1, 0);
    QCOMPARE(w.form.ReleWorkMode1->itemIndex(), 6);
    QVERIFY(!ownEnabled(w.form.ReleWorkMode1));
    for (const char *box : {"AlarmEvent1", "OnOffLine1", "NoLine1", "PowerCD1"}) {
        QVERIFY(!w.c().check(S(box))->isChecked());
        QVERIFY(!ownEnabled(w.c().check(S(box))));
    }
    for (int p = 1; p <= 16; ++p) {
        QVERIFY(!w.check("iz1", p)->isChecked());
        QVERIFY(ownEnabled(w.check("start", p)));
        QVERIFY(ownEnabled(w.check("stop", p)));
    }
    QVERIFY(ownEnabled(w.check("start", 25)));
    QVERIFY(ownEnabled(w.widget("GroupBox16")));
    QCOMPARE(w.dialogs.texts(), QStringList{S("M1542")});

    w.check("start", 3)->setChecked(true);
    w.check("stop", 28)->setChecked(true);
    choose(w.form.ReleControl1, 1);
    QCOMPARE(w.form.ReleWorkMode1->itemIndex(), 0);
    QVERIFY(w.c().check(S("AlarmEvent1"))->isChecked());
    QVERIFY(!ownEnabled(w.c().check(S("AlarmEvent1"))));
    QVERIFY(!w.c().check(S("BoxDamage1"))->isChecked());
    QVERIFY(!w.check("start", 3)->isChecked());
    QVERIFY(!ownEnabled(w.check("start", 3)));
    QVERIFY(!w.check("stop", 28)->isChecked());
    QCOMPARE(w.dialogs.texts(), (QStringList{S("M1542"), S("M1543")}));

    // Run by code (as the decoders do), the rule shows nothing.
    w.dialogs.clear();
    w.form.ReleControl1Change(w.form.WorkModeComboBox);
    QCOMPARE(w.messages(), 0);
}

void TestRules::relay_specialTiming() {
    Window w;
    choose(w.form.ReleControl1, 0); // "Специальный"
    ComboBox *open = w.combo("TimeRzmk1");
    ComboBox *close = w.combo("TimeZmk1");
    ComboBox *period = w.combo("TimePeriod1");
    choose(open, 2);
    choose(close, 3);
    QVERIFY(ownEnabled(period));
    choose(period, 5);
    choose(open, 7); // permanent opening
    QCOMPARE(close->itemIndex(), 0);
    QVERIFY(!ownEnabled(close));
    QCOMPARE(period->itemIndex(), 0);
    QVERIFY(!ownEnabled(period));
    choose(open, 0);
    QVERIFY(ownEnabled(close));
    QVERIFY(ownEnabled(open));
    QCOMPARE(period->itemIndex(), 0);
    QVERIFY(!ownEnabled(period));
    choose(close, 7); // permanent closing
    QCOMPARE(open->itemIndex(), 0);
    QVERIFY(!ownEnabled(open));
}

void TestRules::relay_fixedModes() {
    Window w;
    QCOMPARE(w.form.WorkModeComboBox->itemIndex(), 1);
    w.form.ReleWorkMode1->button(2)->click(); // equipment tamper fixed on
    QVERIFY(w.c().check(S("DamageCD1"))->isChecked());
    QVERIFY(ownEnabled(w.c().check(S("DamageCD1"))));
    QVERIFY(w.c().check(S("BoxDamage1"))->isChecked());

    // Stand-alone work mode: no radio blocking, tamper or interface box in any relay mode.
    w.workMode(0);
    for (int mode = 0; mode < 7; ++mode) {
        w.form.ReleWorkMode1->button(mode)->click();
        for (const char *box : {"RadioChanBlck1", "DamageCD1", "ErrorInterface1"})
            QVERIFY2(!ownEnabled(w.c().check(S(box))), box);
    }
    // Special mode with 16 partitions frees the partition faults.
    w.workMode(1);
    w.form.ReleWorkMode1->button(6)->click();
    for (const char *box : {"BoxDamage1", "ErrorFire1", "NoConnect1", "ErrorPower1"})
        QVERIFY2(ownEnabled(w.c().check(S(box))), box);
}

void TestRules::gsmType_smsOrderIsCommon() {
    Window w;
    w.combo("TypeMesgGSM", 1)->setItemIndex(2); // "SMS+Речевое"
    w.combo("TypeMesgGSM", 2)->setItemIndex(3); // "Речевое+SMS"
    choose(w.combo("TypeMesgGSM", 3), 5);       // "SMS+Тонал."
    QCOMPARE(w.combo("TypeMesgGSM", 3)->text(), S("Тонал.+SMS"));

    w.combo("TypeMesgGSM", 2)->setItemIndex(1);
    w.combo("TypeMesgGSM", 3)->setItemIndex(1);
    choose(w.combo("TypeMesgGSM", 4), 6); // "Тонал.+SMS" while only recipient 1 sends SMS first
    QCOMPARE(w.combo("TypeMesgGSM", 4)->text(), S("SMS+Тонал."));
}

// SMS alone needs no dialling; tone and digital (which the GSM model sends as tone) take no
// confirmation.
void TestRules::gsmType_setsDiallingAndConfirmation() {
    Window w;
    choose(w.combo("TypeMesgGSM", 2), 9); // "Цифр.+SMS"
    QCOMPARE(w.combo("TypeMesgGSM", 2)->text(), S("Тонал.+SMS"));
    QCOMPARE(w.combo("ConfirmMes", 2)->text(), S("нет"));
    QVERIFY(!ownEnabled(w.combo("ConfirmMes", 2)));
    choose(w.combo("TypeMesgGSM", 6), 0);
    for (const char *f : {"DialTry", "WaitTime", "ConfirmMes"})
        QVERIFY(!ownEnabled(w.combo(f, 6)));
    QCOMPARE(w.combo("ConfirmMes", 6)->text(), S("нет"));
    choose(w.combo("TypeMesgGSM", 6), 1);
    for (const char *f : {"DialTry", "WaitTime", "ConfirmMes"})
        QVERIFY(ownEnabled(w.combo(f, 6)));
    QCOMPARE(w.combo("ConfirmMes", 6)->text(), S("да"));
    choose(w.combo("TypeMesgGSM", 6), 4); // tone: no confirmation
    QVERIFY(!ownEnabled(w.combo("ConfirmMes", 6)));
    QCOMPARE(w.combo("ConfirmMes", 6)->text(), S("нет"));
}

void TestRules::gsmType_smsBlitzPageAndCombining() {
    Window w;
    QCOMPARE(w.form.SelectLang->text(), S("Russian"));
    choose(w.combo("TypeMesgGSM", 3), 10);
    QVERIFY(w.sheet("TabSheet14")->tabVisible());
    QCOMPARE(w.combo("SMS", 3)->text(), S("нет"));
    QVERIFY(!ownEnabled(w.combo("SMS", 3)));
    // Another recipient's change keeps the page while recipient 3 still uses SMS-Blitz.
    choose(w.combo("TypeMesgGSM", 5), 0);
    QVERIFY(w.sheet("TabSheet14")->tabVisible());
    choose(w.combo("TypeMesgGSM", 3), 2);
    QVERIFY(!w.sheet("TabSheet14")->tabVisible());
    QVERIFY(ownEnabled(w.combo("SMS", 3)));
}

void TestRules::lineType_digitalPageForQ71() {
    Window w;
    w.toolMode(0);
    QVERIFY(!w.sheet("TabSheet11")->tabVisible());
    choose(w.combo("TypeMesgLine", 4), 2);
    QVERIFY(w.sheet("TabSheet11")->tabVisible());
    QCOMPARE(w.combo("ConfirmMes", 4)->text(), S("нет"));
    QVERIFY(!ownEnabled(w.combo("ConfirmMes", 4)));
    choose(w.combo("TypeMesgLine", 4), 0);
    QVERIFY(!w.sheet("TabSheet11")->tabVisible());
    QCOMPARE(w.combo("ConfirmMes", 4)->text(), S("да"));
    QVERIFY(ownEnabled(w.combo("ConfirmMes", 4)));
}

void TestRules::linePhoneAndBalance_filterAndClick() {
    Window w;
    w.toolMode(0);
    Edit *line = w.edit("LinePhone", 2);
    QTest::keyClicks(line, QStringLiteral("12-34w"));
    QCOMPARE(line->text(), S("1234W"));
    line->setText(QStringLiteral("9a8b"));
    QCOMPARE(line->text(), S("98B"));

    Edit *empty = w.edit("LinePhone", 3);
    QTest::mouseClick(empty, Qt::LeftButton);
    QCOMPARE(empty->text(), S("WB"));
    QCOMPARE(empty->cursorPosition(), 1);
    QTest::mouseClick(empty, Qt::LeftButton); // a filled field stays as it is
    QCOMPARE(empty->text(), S("WB"));

    Edit *balance = w.c().edit(S("RequestBalance"));
    balance->setText(QStringLiteral("*1a0-2#"));
    QCOMPARE(balance->text(), S("*102#"));
}

// Length rules of typed fields, applied when the field is left: the text kept and the messages.
// A text cut to its longest length is valid, so leaving the field again says nothing more.
void TestRules::fieldLength_data() {
    QTest::addColumn<int>("toolMode"); // -1: as started
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QStringList>("messages");
    auto row = [](const char *tag, int tool, const char *field, const QString &typed,
                  const QString &kept, const QStringList &messages) {
        QTest::newRow(tag) << tool << S(field) << typed << kept << messages;
    };
    row("line phone too long", 0, "LinePhone2", QString(30, u'7'), QString(24, u'7'), {"M1544"});
    row("balance request too long", -1, "RequestBalance", "*123456789012345678#",
        "*123456789012345", {"M1545"});
    row("digital code too long", -1, "Dig4", "12345", "123", {"M1549"});
    row("test code too short", -1, "Dig13", "123", "123", {"M1550"});
    row("test code too long", -1, "Dig13", "123456", "1234", {"M1551"});
    row("recipient password too long", 0, "Password23", "1234567", "123456", {"M1540"});
    row("recipient password of zeros", 0, "Password23", "000", "000", {});
}

void TestRules::fieldLength() {
    QFETCH(int, toolMode);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QFETCH(QStringList, messages);
    Window w;
    if (toolMode >= 0)
        w.toolMode(toolMode);
    Edit *edit = w.c().edit(field);
    QVERIFY(edit);
    edit->setText(typed);
    leave(edit);
    QCOMPARE(edit->text(), kept);
    QCOMPARE(w.dialogs.texts(), messages);
    if (kept != typed) {
        leave(edit);
        QCOMPARE(w.messages(), int(messages.size()));
    }
}

void TestRules::pauseIntervals_stayTogether() {
    Window w;
    w.toolMode(0);
    choose(w.combo("PauseInterval", 5), 10);
    for (int r = 1; r <= 8; ++r)
        QCOMPARE(w.combo("PauseInterval", r)->text(), S("5 мин"));
}

void TestRules::partitionNumbers_uniqueWithinObject() {
    Window w;
    w.workMode(1);
    w.combo("ObjNmb", 1)->setItemIndex(3);
    w.combo("ObjNmb", 2)->setItemIndex(3);
    w.combo("RzdNmb", 1)->setItemIndex(0);
    choose(w.combo("RzdNmb", 2), 0);
    QCOMPARE(w.combo("RzdNmb", 2)->text(), S("2"));
    choose(w.combo("RzdNmb", 2), 2);
    QCOMPARE(w.combo("RzdNmb", 2)->text(), S("3"));
    // Another object may use the same number.
    w.combo("ObjNmb", 3)->setItemIndex(4);
    choose(w.combo("RzdNmb", 3), 0);
    QCOMPARE(w.combo("RzdNmb", 3)->text(), S("1"));
    // With 1 and 2 taken, the lowest free number is 3.
    w.combo("RzdNmb", 2)->setItemIndex(1);
    w.combo("ObjNmb", 4)->setItemIndex(3);
    choose(w.combo("RzdNmb", 4), 1);
    QCOMPARE(w.combo("RzdNmb", 4)->text(), S("3"));
}

void TestRules::objectRows_followDistinctObjects() {
    Window w;
    w.workMode(4); // four partitions
    const int objects[] = {12, 12, 12, 7};
    for (int p = 1; p <= 4; ++p)
        w.combo("ObjNmb", p)->setItemIndex(objects[p - 1]);
    choose(w.combo("ObjNmb", 4), 7);
    QCOMPARE(w.c().label(S("LabelOb1"))->caption(), S("12"));
    QCOMPARE(w.c().label(S("LabelOb2"))->caption(), S("7"));
    QVERIFY(!w.widget("LabelOb2")->isHidden());
    QVERIFY(!w.widget("cmnd28")->isHidden());
    for (int k = 3; k <= 16; ++k) {
        QVERIFY(w.c().widget(S("LabelOb"), k)->isHidden());
        QVERIFY(w.c().widget(S("Password"), k)->isHidden());
        QVERIFY(w.check("vz", k)->isHidden());
    }
    // A partition not in use never gives a row, whatever its list holds.
    w.workMode(3);
    w.combo("ObjNmb", 2)->setItemIndex(12);
    w.combo("ObjNmb", 3)->setItemIndex(99);
    choose(w.combo("ObjNmb", 1), 12);
    QCOMPARE(w.c().label(S("LabelOb1"))->caption(), S("12"));
    QVERIFY(w.widget("LabelOb2")->isHidden());
}

void TestRules::objectPasswords_roundTripThroughTable() {
    Window w;
    choose(w.combo("ObjNmb", 1), 12);
    QCOMPARE(w.c().label(S("LabelOb1"))->caption(), S("12"));
    Edit *pw = w.edit("Password", 1);
    auto row = [&] { return w.form.passwordRow(12); };
    const struct {
        const char *typed;
        std::array<int, 3> cells;
    } cases[] = {{"1234", {0x12, 0x34, 0xFF}},
                 {"12345", {0x12, 0x34, 0x5F}},
                 {"123456", {0x12, 0x34, 0x56}},
                 {"123", {0x12, 0x3F, 0xFF}},
                 {"", {0xFF, 0xFF, 0xFF}}};
    for (const auto &c : cases) {
        pw->setText(S(c.typed));
        leave(pw);
        QCOMPARE(row(), c.cells);
        pw->setText(QStringLiteral("0"));
        choose(w.combo("ObjNmb", 1), 12); // rebuild the rows from the table
        QCOMPARE(pw->text(), S(c.typed));
    }
    QCOMPARE(w.messages(), 0);

    pw->setText(QStringLiteral("12a"));
    QCOMPARE(pw->text(), S("12"));
    leave(pw);
    QCOMPARE(w.dialogs.texts(), QStringList{S("M1539")});
    QCOMPARE(row(), (std::array<int, 3>{0x12, 0xFF, 0xFF}));
    pw->setText(QStringLiteral("12345678"));
    leave(pw);
    QCOMPARE(pw->text(), S("123456"));
    QCOMPARE(row(), (std::array<int, 3>{0x12, 0x34, 0x56}));
    // Every other object is untouched.
    for (int o = 1; o <= 1000; ++o)
        if (o != 12)
            QCOMPARE(w.form.passwordRow(o), (std::array<int, 3>{255, 255, 255}));
}

void TestRules::q71Objects_neverReachBeyondTheTable() {
    Window w;
    w.toolMode(0);
    auto before = w.form.ObjectPasswordTable;
    w.combo("ObjNmb", 1)->setItemIndex(5000);
    choose(w.combo("ObjNmb", 1), 5000);
    QCOMPARE(w.c().label(S("LabelOb1"))->caption(), S("5000"));
    Edit *pw = w.edit("Password", 1);
    QCOMPARE(pw->text(), QString());
    pw->setText(QStringLiteral("4321"));
    leave(pw);
    QCOMPARE(w.form.ObjectPasswordTable, before);
    QCOMPARE(w.form.passwordRow(5000), (std::array<int, 3>{255, 255, 255}));
    QCOMPARE(w.form.passwordRow(0), (std::array<int, 3>{255, 255, 255}));
    w.form.setPasswordRow(0, {1, 2, 3});
    w.form.setPasswordRow(1001, {1, 2, 3});
    QCOMPARE(w.form.ObjectPasswordTable, before);
}

void TestRules::userNames_visibilityLengthAndCharacters() {
    Window w;
    QCOMPARE(w.form.LangChange->itemIndex(), 0);
    auto *own2 = w.c().labeledEdit(S("OwnName"), 2);
    choose(w.combo("NameRzd", 5), 36);
    QVERIFY(!own2->isHidden());
    choose(w.combo("NameRzd", 5), 3);
    QVERIFY(own2->isHidden());
    w.combo("NameRzd", 9)->setItemIndex(36);
    choose(w.combo("NameRzd", 5), 36);
    choose(w.combo("NameRzd", 5), 1);
    QVERIFY(!own2->isHidden()); // partition 9 still uses it

    // English names take characters below 128 only.
    w.form.LangChange->setItemIndex(1);
    auto *english = w.c().labeledEdit(S("OwnNameE"), 1);
    english->setText(S("Дом"));
    QCOMPARE(english->text(), QString());
    english->setText(S("Hall №1"));
    QCOMPARE(english->text(), S("Hall 1"));
    // Russian names keep any character.
    auto *russian = w.c().labeledEdit(S("OwnName"), 1);
    russian->setText(S("Дом №1"));
    QCOMPARE(russian->text(), S("Дом №1"));

    english->setText(S("abcdefghijklmno"));
    leave(english->edit());
    QCOMPARE(english->text(), S("abcdefghijkl"));
    QCOMPARE(w.dialogs.texts(), QStringList{S("M1538")});
    leave(english->edit());
    QCOMPARE(w.messages(), 1);
}

void TestRules::maskedFields_keepBlankPositions() {
    Window w;
    auto *pin = w.c().mask(S("PinCode"));
    pin->setText(QStringLiteral("1_3_"));
    QCOMPARE(pin->text(), S("1_3_"));
    auto *phone = w.c().mask(S("PhoneNumber3"));
    phone->setText(QStringLiteral("+7_12"));
    QVERIFY(phone->text().startsWith(S("+7_12")));
    QCOMPARE(phone->text().size(), 16);
}

QTEST_MAIN(TestRules)
#include "tst_rules.moc"
