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

// A check box in the state a rule table names: "on" ticked and locked, "off" unticked and
// locked, "free" enabled with the tick it had (`before`), "clear" unticked and enabled, "tick"
// ticked and enabled.
bool inState(const CheckBox *b, const QString &state, bool before) {
    const bool ticked = b->isChecked(), enabled = ownEnabled(b);
    if (state == QLatin1String("on"))
        return ticked && !enabled;
    if (state == QLatin1String("off"))
        return !ticked && !enabled;
    if (state == QLatin1String("free"))
        return enabled && ticked == before;
    if (state == QLatin1String("clear"))
        return enabled && !ticked;
    return enabled && ticked;
}

const int PartitionsInUse[6] = {2, 16, 1, 2, 4, 8};

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
    void workMode(int index) { choose(form.mainPage().WorkModeComboBox, index); }
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

    void workMode_data();
    void workMode();
    void toolModes_showTheirModelsControls();
    void unusedPartitions_objectNumberDependsOnModel();
    void relay_commandAndEventControl();
    void relay_specialTimingEveryPair();
    void relay_modeTables_data();
    void relay_modeTables();
    void gsmType_smsBlitzPageAndCombining();
    void gsmType_everyTypeFirstAndLastRecipient();
    void gsmType_smsOrderIsCommon();
    void linePhoneAndBalance_filterAndClick();
    void fieldLength_data();
    void fieldLength();
    void digitalCodes_everyFieldCheckedOnLeaving();
    void filteredTyping_keepsTheCaretWhereItWas();
    void pauseIntervalsAndLineTypes_reachEveryRecipient();
    void blitzCodes_padOrKeepOnLeaving();
    void tonePreviews_followTheSymbols();
    void tonePreview_everySymbolOnAnyChange();
    void partitionNumbers_uniqueWithinObject();
    void objectRows_followDistinctObjects();
    void objectPasswords_roundTripThroughTable();
    void q71Objects_neverReachBeyondTheTable();
    void userNames_lengthAndCharacters();
    void userNames_everyNameFirstAndLastPartition();
    void maskedFields_keepBlankPositions();
};

// The line model keeps the objects of the partitions in use; those not in use show object 1.
void TestRules::unusedPartitions_objectNumberDependsOnModel() {
    Window w;
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

void TestRules::relay_commandAndEventControl() {
    Window w;
    QCOMPARE(w.form.relayPage().ReleControl1->itemIndex(), 1);
    w.check("start", 3)->setChecked(false);
    choose(w.form.relayPage().ReleControl1, 0);
    QCOMPARE(w.form.relayPage().ReleWorkMode1->itemIndex(), 6);
    QVERIFY(!ownEnabled(w.form.relayPage().ReleWorkMode1));
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
    choose(w.form.relayPage().ReleControl1, 1);
    QCOMPARE(w.form.relayPage().ReleWorkMode1->itemIndex(), 0);
    QVERIFY(!w.check("start", 3)->isChecked());
    QVERIFY(!ownEnabled(w.check("start", 3)));
    QVERIFY(!w.check("stop", 28)->isChecked());
    QCOMPARE(w.dialogs.texts(), (QStringList{S("M1542"), S("M1543")}));

    // Run by code (as the decoders do), the rule shows nothing.
    w.dialogs.clear();
    w.form.ReleControl1Change(w.form.mainPage().WorkModeComboBox);
    QCOMPARE(w.messages(), 0);
}

// Another recipient's change keeps the SMS-Blitz page while recipient 3 still uses SMS-Blitz.
void TestRules::gsmType_smsBlitzPageAndCombining() {
    Window w;
    choose(w.combo("TypeMesgGSM", 3), 10);
    choose(w.combo("TypeMesgGSM", 5), 0);
    QVERIFY(w.sheet("TabSheet14")->tabVisible());
    choose(w.combo("TypeMesgGSM", 3), 2);
    QVERIFY(!w.sheet("TabSheet14")->tabVisible());
    QVERIFY(ownEnabled(w.combo("SMS", 3)));
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
    row("line phone too long", 0, "LinePhone2", QString(25, u'7'), QString(24, u'7'), {"M1544"});
    row("line phone longest", 0, "LinePhone2", QString(24, u'7'), QString(24, u'7'), {});
    row("balance request too long", -1, "RequestBalance", "*123456789012345#", "*123456789012345",
        {"M1545"});
    row("balance request longest", -1, "RequestBalance", "*12345678901234#", "*12345678901234#",
        {});
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

// Every digital event code, the first to the test code, is checked when it is left: too short
// is said and the field keeps it, too long is said and cut.
void TestRules::digitalCodes_everyFieldCheckedOnLeaving() {
    Window w;
    for (int k = 1; k <= 13; ++k) {
        const int length = k == 13 ? 4 : 3;
        Edit *edit = w.c().edit(S("Dig"), k);
        const QString where = S("Dig") + QString::number(k);
        w.dialogs.clear();
        edit->setText(QString(length - 1, u'7'));
        leave(edit);
        QCOMPARE(edit->text(), QString(length - 1, u'7'));
        QVERIFY2(w.dialogs.texts() == QStringList{k == 13 ? S("M1550") : S("M1548")},
                 qPrintable(where));
        w.dialogs.clear();
        edit->setText(QString(length + 1, u'8'));
        leave(edit);
        QVERIFY2(edit->text() == QString(length, u'8'), qPrintable(where));
        QVERIFY2(w.dialogs.texts() == QStringList{k == 13 ? S("M1551") : S("M1549")},
                 qPrintable(where));
    }
}

// A character a field refuses, typed between others, leaves the caret where the person typed:
// after what stands before it, not one place on.
void TestRules::filteredTyping_keepsTheCaretWhereItWas() {
    Window w;
    w.toolMode(0);
    Edit *line = w.edit("LinePhone", 2);
    line->setFocus();
    QTest::keyClicks(line, QStringLiteral("1234"));
    line->setCursorPosition(2);
    QTest::keyClicks(line, QStringLiteral("-"));
    QCOMPARE(line->text(), S("1234"));
    QCOMPARE(line->cursorPosition(), 2);
    QTest::keyClicks(line, QStringLiteral("5"));
    QCOMPARE(line->text(), S("12534"));
    QCOMPARE(line->cursorPosition(), 3);
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
    // The partitions in use count, the last of them included, and no other.
    w.workMode(4);
    for (int p = 1; p <= 5; ++p) {
        w.combo("ObjNmb", p)->setItemIndex(3);
        w.combo("RzdNmb", p)->setItemIndex(p - 1);
    }
    choose(w.combo("RzdNmb", 1), 3);
    QCOMPARE(w.combo("RzdNmb", 1)->text(), S("1"));
    choose(w.combo("RzdNmb", 1), 4);
    QCOMPARE(w.combo("RzdNmb", 1)->text(), S("5"));
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
    // Sixteen objects give sixteen rows; the last partition repeating an object gives none.
    w.workMode(1);
    for (int p = 1; p <= 16; ++p)
        w.combo("ObjNmb", p)->setItemIndex(100 + p);
    choose(w.combo("ObjNmb", 16), 116);
    QCOMPARE(w.c().label(S("LabelOb16"))->caption(), S("116"));
    QVERIFY(!w.widget("LabelOb16")->isHidden());
    QVERIFY(!w.widget("cmnd168")->isHidden());
    choose(w.combo("ObjNmb", 16), 101);
    QVERIFY(w.widget("LabelOb16")->isHidden());
    QCOMPARE(w.c().label(S("LabelOb15"))->caption(), S("115"));
    // A partition without object reports to no recipient.
    choose(w.combo("ObjNmb", 16), 0);
    for (int r : {1, 8})
        QVERIFY(!ownEnabled(w.check("rzd", r, 16)) && !w.check("rzd", r, 16)->isChecked());
    choose(w.combo("ObjNmb", 16), 7);
    for (int r : {1, 8})
        QVERIFY(ownEnabled(w.check("rzd", r, 16)));
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
    pw->setText(QStringLiteral("1234567"));
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
    const auto before = w.form.model().values.objectPasswords;
    w.combo("ObjNmb", 1)->setItemIndex(5000);
    choose(w.combo("ObjNmb", 1), 5000);
    QCOMPARE(w.c().label(S("LabelOb1"))->caption(), S("5000"));
    Edit *pw = w.edit("Password", 1);
    QCOMPARE(pw->text(), QString());
    pw->setText(QStringLiteral("4321"));
    leave(pw);
    QVERIFY(w.form.model().values.objectPasswords == before);
    QCOMPARE(w.form.passwordRow(5000), (std::array<int, 3>{255, 255, 255}));
    QCOMPARE(w.form.passwordRow(0), (std::array<int, 3>{255, 255, 255}));
    w.form.setPasswordRow(0, {1, 2, 3});
    w.form.setPasswordRow(1001, {1, 2, 3});
    QVERIFY(w.form.model().values.objectPasswords == before);
}

void TestRules::userNames_lengthAndCharacters() {
    Window w;
    // English names take characters below 128 only.
    w.form.namesPage().LangChange->setItemIndex(1);
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

void TestRules::workMode_data() {
    QTest::addColumn<int>("mode");
    for (int mode = 0; mode < 6; ++mode)
        QTest::addRow("mode %d", mode) << mode;
}

// Everything the communicator's work mode decides, reached from the stand-alone and from the W40
// mode with every box ticked: the partitions in use, the SMS-Blitz rows, the event types, the
// inputs, the SMS-name captions, and the relay's partitions when it goes back to events.
void TestRules::workMode() {
    QFETCH(int, mode);
    const int inUse = PartitionsInUse[mode];
    const bool alone = mode == 0;
    const bool fewerCodes = mode == 0 || mode == 3;
    const QList<int> codesInFewer = {1, 2, 9, 12, 13, 14, 15};
    const QList<int> typesOff = mode == 0   ? QList<int>{2, 5, 6, 7, 8, 9, 10}
                                : mode == 1 ? QList<int>{}
                                            : QList<int>{2, 6, 7, 8};
    for (int from : {0, 1}) {
        if (from == mode)
            continue;
        Window w;
        w.workMode(from);
        for (int r = 1; r <= 8; ++r) {
            for (int p = 1; p <= 16; ++p)
                w.check("rzd", r, p)->setChecked(true);
            for (int t = 1; t <= 12; ++t)
                w.check("event", r, t)->setChecked(true);
        }
        for (int p = 1; p <= 16; ++p)
            w.check("iz1", p)->setChecked(true);
        w.workMode(mode);

        for (int p = 1; p <= 16; ++p) {
            const bool used = p <= inUse;
            for (CheckBox *b : {w.check("rzd", 1, p), w.check("rzd", 8, p), w.check("iz1", p)}) {
                QCOMPARE(ownEnabled(b), used);
                QCOMPARE(b->isChecked(), used);
            }
            for (const char *f : {"RzdNmb", "ObjNmb", "NameRzd", "NameRzdE", "NameRzdP"})
                QVERIFY2(ownEnabled(w.combo(f, p)) == used, f);
            QCOMPARE(w.combo("RzdNmb", p)->itemIndex(), p - 1);
            QCOMPARE(w.combo("ObjNmb", p)->itemIndex(), used ? 1 : 0);
        }
        // Row 16 is left as it was in the modes with fewer codes.
        for (int k = 1; k <= 24; ++k) {
            if (fewerCodes && k == 16)
                continue;
            const bool on = !fewerCodes || codesInFewer.contains(k);
            QVERIFY2(ownEnabled(w.edit("Edit", k)) == on, qPrintable(QString::number(k)));
            QCOMPARE(ownEnabled(w.check("RO", k)), on);
            QCOMPARE(w.edit("Edit", k)->palette().color(QPalette::Base),
                     QPalette().color(on ? QPalette::Base : QPalette::Button));
        }
        for (int r : {1, 8})
            for (int t = 1; t <= 12; ++t) {
                const bool on = !typesOff.contains(t);
                QVERIFY2(ownEnabled(w.check("event", r, t)) == on, qPrintable(QString::number(t)));
                QCOMPARE(w.check("event", r, t)->isChecked(), on);
            }
        for (const char *n : {"ControlInput", "Label52"})
            QCOMPARE(w.widget(n)->isHidden(), !alone);
        for (const char *n : {"CheckConnectCD", "Label53"})
            QCOMPARE(w.widget(n)->isHidden(), alone);
        for (const char *n : {"Input1", "Input2", "Label7", "Label50"})
            QCOMPARE(ownEnabled(w.widget(n)), alone);
        for (const char *n : {"SpeedLine", "Label40"})
            QCOMPARE(ownEnabled(w.widget(n)), !alone);
        for (int k : {1, 16, 21, 28}) // objects 1 and 16, recipients 1 and 8
            for (const char *n : {"vz", "sn"})
                QCOMPARE(ownEnabled(w.check(n, k)), alone);

        // Partitions are named as such with 16 in use, as loops otherwise, in every language.
        const char *suffixes[] = {"", "E", "P"};
        for (int language : {1, 2, 0}) {
            w.form.namesPage().LangChange->setItemIndex(language);
            const QString s = S(suffixes[language]);
            for (const char *n : {"LabelRazdel", "LabelNameRazdel"})
                QCOMPARE(w.c().widget(S(n) + s)->isHidden(), mode != 1);
            for (const char *n : {"LabelShS", "LabelNameShS"})
                QCOMPARE(w.c().widget(S(n) + s)->isHidden(), mode == 1);
        }

        choose(w.form.relayPage().ReleControl1, 0);
        choose(w.form.relayPage().ReleControl1, 1);
        for (int p = 1; p <= 16; ++p)
            QCOMPARE(ownEnabled(w.check("iz1", p)), p <= inUse);
    }
}

// What each tool mode shows of either model ('s' shown, 'h' hidden, '-' as it was), in the order
// demonstration of the line model, of the GSM model, on-line; a tab sheet by its tab.
void TestRules::toolModes_showTheirModelsControls() {
    const struct {
        const char *names, *view;
    } rows[] = {{"Panel5", "hsh"},
                {"Panel7 Panel30 Panel31 Panel32 PanelAttention TabSheet12", "shh"},
                {"Panel4 Panel13 Panel15 Label51 Label3 Label219 Panel34", "hsh"},
                {"Label93", "ssh"},
                {"Label268 Panel33", "sh-"},
                {"LinePhone1 LinePhone8 TypeMesgLine1 TypeMesgLine8", "shh"},
                {"PhoneNumber1 PhoneNumber8 TypeMesgGSM1 TypeMesgGSM8", "hsh"},
                {"SMS1 SMS8", "-sh"},
                {"TabSheet3", "hs-"}};
    Window w;
    auto shown = [&](const QString &n) {
        return n.startsWith(S("TabSheet")) ? w.c().get<TabSheet>(n)->tabVisible()
                                           : !w.c().widget(n)->isHidden();
    };
    for (int tool : {0, 2, 1, 2}) {
        const DeviceModel model = w.form.DeviceModel;
        QHash<QString, bool> before;
        for (const auto &row : rows)
            for (const QString &n : S(row.names).split(u' '))
                before[n] = shown(n);
        w.toolMode(tool);
        for (const auto &row : rows)
            for (const QString &n : S(row.names).split(u' ')) {
                const char v = row.view[tool];
                QVERIFY2(shown(n) == (v == '-' ? before[n] : v == 's'),
                         qPrintable(n + QLatin1Char(' ') + QString::number(tool)));
            }
        QCOMPARE(w.form.DeviceModel, tool == 0   ? DeviceModel::Q71
                                     : tool == 1 ? DeviceModel::Q72
                                                 : model);
        for (QWidget *b : {w.form.SaveButton, w.form.LoadButton, w.form.DefaultButton})
            QCOMPARE(ownEnabled(b), tool != 2);
        QCOMPARE(ownEnabled(w.form.ConnectButton), tool == 2);
        // Without GSM, SMS combining is off: locked on "нет" for the line model, hidden on-line.
        for (int r : {1, 8}) {
            QVERIFY(tool == 1 || w.combo("SMS", r)->text() == S("нет"));
            QVERIFY(tool == 2 || ownEnabled(w.combo("SMS", r)) == (tool == 1));
        }
        QVERIFY(tool != 1 || ownEnabled(w.widget("Label219")));
    }
}

// The special relay mode's timing for every opening and closing time: a permanent one locks the
// other and the duration at "---"; two timed ones free the duration and keep it; "---" on either
// side frees both times and sets the duration to "---". What a case does not name stays as it was.
void TestRules::relay_specialTimingEveryPair() {
    Window w;
    choose(w.form.relayPage().ReleControl1, 0); // "Специальный"
    QCOMPARE(w.form.relayPage().ReleWorkMode1->itemIndex(), 6);
    ComboBox *open = w.combo("TimeRzmk1");
    ComboBox *close = w.combo("TimeZmk1");
    ComboBox *period = w.combo("TimePeriod1");
    for (int r = 0; r < 8; ++r)
        for (int z = 0; z < 8; ++z) {
            const bool before = (r + z) % 2 == 0;
            close->setItemIndex(z);
            period->setItemIndex(5);
            for (ComboBox *t : {open, close, period})
                t->setEnabled(before);
            choose(open, r);
            int wantR = r, wantZ = z, wantP = 5;
            bool openOn = before, closeOn = before, periodOn = before;
            if (r == 7) {
                wantZ = wantP = 0;
                closeOn = periodOn = false;
            } else if (z == 7) {
                wantR = wantP = 0;
                openOn = periodOn = false;
            } else if (r >= 1 && z >= 1) {
                periodOn = true;
            } else {
                wantP = 0;
                periodOn = false;
                openOn = closeOn = true;
            }
            const QString pair = QStringLiteral("opening %1, closing %2").arg(r).arg(z);
            QVERIFY2(open->itemIndex() == wantR && close->itemIndex() == wantZ &&
                         period->itemIndex() == wantP,
                     qPrintable(pair));
            QVERIFY2(ownEnabled(open) == openOn && ownEnabled(close) == closeOn &&
                         ownEnabled(period) == periodOn,
                     qPrintable(pair));
        }
}

void TestRules::relay_modeTables_data() {
    QTest::addColumn<int>("work");
    for (int work = 0; work < 6; ++work)
        QTest::addRow("work mode %d", work) << work;
}

// Each relay working mode in one communicator work mode: the twelve notification boxes, ticked
// and then unticked beforehand so that a kept tick shows, and the timing each mode fixes.
void TestRules::relay_modeTables() {
    QFETCH(int, work);
    const int column = work == 0 ? 0 : work == 1 ? 1 : 2;
    // AlarmEvent1, BoxDamage1, OnOffLine1, OnOffAllLine1, ErrorFire1, NoConnect1, ErrorPower1.
    const QString special = S("free off free free off off off|free free free free free free free|"
                              "free off free free free off off")
                                .split(u'|')[column];
    const QStringList partition = S("on off on on off off off|on off on on off off off|"
                                    "on on on on off off off|on off off off off off off|"
                                    "on off off off off off off|off off on off off off off|")
                                      .split(u'|')
                                      .replaceInStrings(QRegularExpression(S("^$")), special);
    // RadioChanBlck1, DamageCD1, ErrorInterface1, NoLine1, PowerCD1.
    const QString others[3] = {"off off off clear clear", "clear clear clear clear clear",
                               "off clear clear clear clear"};
    const QString tamper[3] = {"off off off clear clear", "clear tick clear clear clear",
                               "off tick clear clear clear"};
    const char *boxes[] = {"AlarmEvent1", "BoxDamage1",      "OnOffLine1",  "OnOffAllLine1",
                           "ErrorFire1",  "NoConnect1",      "ErrorPower1", "RadioChanBlck1",
                           "DamageCD1",   "ErrorInterface1", "NoLine1",     "PowerCD1"};
    // Opening, closing, duration, inversion of the fixed modes.
    const int timing[6][4] = {{7, 0, 0, 0}, {1, 1, 15, 0}, {7, 0, 0, 0},
                              {0, 7, 0, 0}, {7, 0, 0, 0},  {0, 4, 0, 0}};
    const char *timers[] = {"TimeRzmk1", "TimeZmk1", "TimePeriod1", "InvRele1"};

    Window w;
    w.workMode(work);
    for (int mode = 0; mode < 7; ++mode)
        for (bool before : {true, false}) {
            // The special mode is reached from mode 5: opening "---", closing "10 сек".
            w.form.relayPage().ReleWorkMode1->button(mode == 0 ? 6 : mode - 1)->click();
            for (const char *b : boxes) {
                w.c().check(S(b))->setChecked(before);
                w.c().check(S(b))->setEnabled(false);
            }
            w.form.relayPage().ReleWorkMode1->button(mode)->click();
            QCOMPARE(w.form.relayPage().ReleWorkMode1->itemIndex(), mode);
            const QStringList states = (partition[mode] + QLatin1Char(' ') +
                                        (mode == 5   ? QStringLiteral("off off off off off")
                                         : mode == 2 ? tamper[column]
                                                     : others[column]))
                                           .split(u' ');
            for (int i = 0; i < 12; ++i)
                QVERIFY2(inState(w.c().check(S(boxes[i])), states[i], before),
                         qPrintable(QStringLiteral("mode %1: %2 should be %3")
                                        .arg(mode)
                                        .arg(S(boxes[i]), states[i])));
            for (int i = 0; i < 4; ++i) {
                QCOMPARE(w.combo(timers[i])->itemIndex(), timing[qMin(mode, 5)][i]);
                QCOMPARE(ownEnabled(w.combo(timers[i])), mode == 6 && i != 2);
            }
        }
}

// The GSM type rule for every type on the first and the last recipient, the others on voice:
// dialling controls, confirmation and SMS combining start in the opposite state of the one the
// type gives them.
void TestRules::gsmType_everyTypeFirstAndLastRecipient() {
    Window w;
    for (int k = 1; k <= 8; ++k)
        w.combo("TypeMesgGSM", k)->setItemIndex(1);
    for (int n : {1, 8})
        for (int type = 0; type <= 10; ++type) {
            const bool voice = type >= 1 && type <= 3;
            ComboBox *gsm = w.combo("TypeMesgGSM", n);
            ComboBox *confirm = w.combo("ConfirmMes", n);
            ComboBox *sms = w.combo("SMS", n);
            for (const char *f : {"DialTry", "WaitTime"})
                w.combo(f, n)->setEnabled(type == 0);
            confirm->setEnabled(!voice && type != 10);
            confirm->setItemIndex(voice ? 1 : 0);
            sms->setEnabled(type == 10);
            sms->setItemIndex(0);
            choose(gsm, type);

            const QString what = QStringLiteral("recipient %1, type %2").arg(n).arg(type);
            // Digital formats go as tone, then SMS; tone types take no confirmation.
            QVERIFY2(gsm->itemIndex() == (type >= 7 && type <= 9 ? 6 : type), qPrintable(what));
            for (const char *f : {"DialTry", "WaitTime"})
                QVERIFY2(ownEnabled(w.combo(f, n)) == (type != 0), qPrintable(what));
            QVERIFY2(ownEnabled(confirm) == (voice || type == 10), qPrintable(what));
            QVERIFY2(confirm->itemIndex() == (voice || type == 10 ? 0 : 1), qPrintable(what));
            QVERIFY2(ownEnabled(sms) == (type != 10), qPrintable(what));
            QVERIFY2(sms->itemIndex() == (type == 10 ? 1 : 0), qPrintable(what));
            QCOMPARE(w.sheet("TabSheet14")->tabVisible(), type == 10);
            gsm->setItemIndex(1);
        }
}

// All recipients send the SMS before or after the other message; the first and the last
// recipient count like any other, the one being changed does not.
void TestRules::gsmType_smsOrderIsCommon() {
    Window w;
    auto gsm = [&](int k) { return w.combo("TypeMesgGSM", k); };
    auto all = [&](std::initializer_list<std::pair<int, int>> types) {
        for (int k = 1; k <= 8; ++k)
            gsm(k)->setItemIndex(1);
        for (const auto &[k, type] : types)
            gsm(k)->setItemIndex(type);
    };
    all({{8, 3}}); // the last recipient sends the SMS last
    choose(gsm(1), 2);
    QCOMPARE(gsm(1)->text(), S("Речевое+SMS"));
    all({{1, 5}}); // the first sends it first
    choose(gsm(8), 6);
    QCOMPARE(gsm(8)->text(), S("SMS+Тонал."));
    all({{1, 2}, {2, 3}}); // both orders elsewhere: the SMS goes last
    choose(gsm(3), 5);
    QCOMPARE(gsm(3)->text(), S("Тонал.+SMS"));
    all({{2, 3}}); // its own earlier choice does not count
    choose(gsm(2), 2);
    QCOMPARE(gsm(2)->itemIndex(), 2);
}

// The pause lists follow any of them, the first and the last included; the digital-format page
// stays while any line recipient, the last included, sends digital codes.
void TestRules::pauseIntervalsAndLineTypes_reachEveryRecipient() {
    Window w;
    w.toolMode(0);
    for (const auto &[from, item] : {std::pair{5, 10}, {1, 3}, {8, 15}}) {
        choose(w.combo("PauseInterval", from), item);
        for (int r = 1; r <= 8; ++r)
            QCOMPARE(w.combo("PauseInterval", r)->itemIndex(), item);
        if (from == 5)
            QCOMPARE(w.combo("PauseInterval", 1)->text(), S("5 мин"));
    }

    w.combo("TypeMesgLine", 8)->setItemIndex(2);
    choose(w.combo("TypeMesgLine", 1), 1);
    QVERIFY(w.sheet("TabSheet11")->tabVisible());
    QCOMPARE(w.combo("ConfirmMes", 1)->text(), S("нет"));
    QVERIFY(!ownEnabled(w.combo("ConfirmMes", 1)));
    w.combo("TypeMesgLine", 8)->setItemIndex(0);
    choose(w.combo("TypeMesgLine", 1), 0);
    QVERIFY(!w.sheet("TabSheet11")->tabVisible());
    QCOMPARE(w.combo("ConfirmMes", 1)->text(), S("да"));
    QVERIFY(ownEnabled(w.combo("ConfirmMes", 1)));
    choose(w.combo("TypeMesgLine", 8), 2);
    QVERIFY(w.sheet("TabSheet11")->tabVisible());
    QCOMPARE(w.combo("ConfirmMes", 8)->text(), S("нет"));
}

// An SMS-Blitz code shorter than four digits asks whether to correct it: No pads it with zeros,
// Yes keeps it for correcting; four digits ask nothing.
void TestRules::blitzCodes_padOrKeepOnLeaving() {
    Window w;
    Edit *code = w.edit("Edit", 24);
    for (const auto &[typed, yes, kept] : {std::tuple{"7", false, "0007"},
                                           {"123", false, "0123"},
                                           {"12", true, "12"},
                                           {"1234", false, "1234"}}) {
        w.dialogs.clear();
        w.dialogs.answers = {yes};
        code->setText(S(typed));
        leave(code);
        QCOMPARE(code->text(), S(kept));
        QCOMPARE(w.dialogs.texts(S("question")),
                 qstrlen(typed) == 4 ? QStringList() : QStringList{S("M1538\nM1014")});
    }
}

// Any change of a symbol list shows the symbols of all nine; each of the 16 symbols appears.
void TestRules::tonePreview_everySymbolOnAnyChange() {
    Window w;
    const QString symbols = S("0123456789ABCD*#");
    const char *lists[] = {"Alarm1", "Alarm2",  "Alarm3",  "Arm1",   "Arm2",
                           "Arm3",   "DisArm1", "DisArm2", "DisArm3"};
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 9; ++i)
            w.combo(lists[i])->setItemIndex((9 * round + i) % 16);
        const int changed = round == 0 ? 8 : 0;
        choose(w.combo(lists[changed]), (9 * round + changed) % 16);
        for (int i = 0; i < 9; ++i)
            QCOMPARE(w.c().label(S("Set") + S(lists[i]))->caption(),
                     QString(symbols[(9 * round + i) % 16]));
    }
}

// Each name language shows its own groups only; each user name is shown while a partition uses
// it, the first and the last partition included, in each name language.
void TestRules::userNames_everyNameFirstAndLastPartition() {
    Window w;
    const char *families[3][2] = {
        {"NameRzd", "OwnName"}, {"NameRzdE", "OwnNameE"}, {"NameRzdP", "OwnNameP"}};
    const char *groups[3][2] = {
        {"GroupBox3", "GroupBox4"}, {"GroupBox6", "GroupBox8"}, {"GroupBox7", "GroupBox15"}};
    for (int language : {1, 2, 0}) {
        w.form.namesPage().LangChange->setItemIndex(language);
        for (int f = 0; f < 3; ++f)
            for (const char *g : groups[f])
                QCOMPARE(w.widget(g)->isHidden(), f != language);
        const char *lists = families[language][0];
        const QString fields = S(families[language][1]);
        for (int k = 1; k <= 4; ++k) {
            choose(w.combo(lists, 16), 34 + k);
            for (int n = 1; n <= 4; ++n)
                QCOMPARE(w.c().labeledEdit(fields, n)->isHidden(), n != k);
            w.combo(lists, 1)->setItemIndex(34 + k);
            choose(w.combo(lists, 16), 0);
            QVERIFY(!w.c().labeledEdit(fields, k)->isHidden());
            w.combo(lists, 1)->setItemIndex(0);
            choose(w.combo(lists, 16), 0);
            QVERIFY(w.c().labeledEdit(fields, k)->isHidden());
        }
    }
}

// Each preview shows the symbol of its list: after a user's choice, after a factory preset that
// the rules read while the page exists, and on the page built after a preset was read.
void TestRules::tonePreviews_followTheSymbols() {
    auto previews = [](const Window &w) {
        QString out;
        for (const char *tone : {"Alarm", "Arm", "DisArm"})
            for (int s = 1; s <= 3; ++s)
                out += w.c().label(S("Set") + S(tone) + QString::number(s))->caption();
        return out;
    };
    auto symbols = [](const Window &w) {
        QString out;
        for (const char *tone : {"Alarm", "Arm", "DisArm"})
            for (int s = 1; s <= 3; ++s)
                out += w.c().combo(S(tone), s)->currentText();
        return out;
    };
    Window w;
    choose(w.combo("Alarm", 1), 11);  // "B"
    choose(w.combo("Arm", 3), 14);    // "*"
    choose(w.combo("DisArm", 2), 15); // "#"
    QCOMPARE(previews(w), symbols(w));
    QVERIFY(previews(w).startsWith(S("B")));
    QVERIFY(previews(w).contains(S("*")) && previews(w).contains(S("#")));

    const QString beforeDefault = previews(w);
    w.form.DefaultButtonClick(nullptr);
    QCOMPARE(previews(w), symbols(w));
    QVERIFY(previews(w) != beforeDefault);

    Window later; // its tone page is built only now, after the preset was read at start-up
    later.form.DefaultButtonClick(nullptr);
    later.form.buildPage(pages::PageTone);
    QCOMPARE(previews(later), symbols(later));
}

QTEST_MAIN(TestRules)
#include "tst_rules.moc"
