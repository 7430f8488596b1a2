// The frame of the window and its main page, used with keyboard, mouse and wheel: the language
// list, lists under a passing wheel, page tabs, hints, and the lengths of the GSM fields.
#include "testsupport.h"
#include "uidriver.h"

#include <QAbstractItemView>

using namespace q7x;
using namespace q7x::uitest;

namespace {
QString S(const char *utf8) { return QString::fromUtf8(utf8); }
} // namespace

class TestUiMain : public QObject {
    Q_OBJECT
  private slots:
    void init() { test::writeIni("[Lang]\nDefault=Russian\n"); }
    void cleanupTestCase() { QFile::remove(lang::IniPath()); }
    void languageList_onlyAChoiceInItsListSwitches();
    void wheel_turnsOnlyTheFocusedList_andGsmFieldsKeepTheirLength();
    void tabs_highlightFollowsAHiddenPage_andHintsStay();
};

// Enter, arrow keys, the wheel and leaving the language list neither store a language nor close
// the window with the user's settings; a choice in the opened list, by keyboard or mouse, does
// both after telling the user.
void TestUiMain::languageList_onlyAChoiceInItsListSwitches() {
    Answerer boxes;
    auto s = std::make_unique<Window>(&boxes);
    pages::ComboBox *list = s->w.SelectLang;
    click(list);
    QCOMPARE(QApplication::focusWidget(), list);
    for (int k : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Down, Qt::Key_End, Qt::Key_Tab}) {
        key(k);
        if (list->view()->isVisible())
            key(Qt::Key_Escape);
    }
    wheel(list, -1);
    QVERIFY(s->w.isVisible());
    QCOMPARE(list->text(), S("Russian"));
    QCOMPARE(lang::GetLanguage(), S("Russian"));
    QCOMPARE(boxes.texts, QStringList());

    click(list);
    key(Qt::Key_Down); // opens the list
    key(Qt::Key_Down);
    key(Qt::Key_Return);
    QCOMPARE(boxes.texts, QStringList{S("M1527")});
    QVERIFY(!s->w.isVisible());
    QCOMPARE(lang::GetLanguage(), S("English"));

    s = std::make_unique<Window>(&boxes);
    pick(s->w.SelectLang, 2);
    QCOMPARE(boxes.texts.size(), 2);
    QVERIFY(!s->w.isVisible());
    QCOMPARE(lang::GetLanguage(), S("Turkish"));
}

// A wheel turned over a list the user is not in leaves it alone: over the tool mode it would
// reload the presets and lose what was typed. In a focused list it is the user's choice.
void TestUiMain::wheel_turnsOnlyTheFocusedList_andGsmFieldsKeepTheirLength() {
    Window s;
    pages::Edit *balance = s.c().edit(S("RequestBalance"));
    retype(balance, S("*100#"));
    pages::ComboBox *pause = s.c().combo(S("PhrasePause"));
    for (pages::ComboBox *list : {s.w.Mode, s.w.mainPage().WorkModeComboBox, pause})
        for (int steps : {-1, 1, 1})
            wheel(list, steps);
    QCOMPARE(s.w.Mode->itemIndex(), 1);
    QCOMPARE(s.w.mainPage().WorkModeComboBox->itemIndex(), 1);
    QCOMPARE(pause->itemIndex(), 0);
    QCOMPARE(balance->text(), S("*100#"));
    QCOMPARE(QApplication::focusWidget(), balance);

    click(s.w.mainPage().WorkModeComboBox); // focused by the click that opens it
    key(Qt::Key_Escape);
    wheel(s.w.mainPage().WorkModeComboBox, -1);
    QCOMPARE(s.w.mainPage().WorkModeComboBox->itemIndex(), 2);
    QVERIFY(!s.c().combo(S("ObjNmb2"))->isEnabled()); // one partition in use
    QCOMPARE(s.boxes.texts, QStringList());

    // Clicking the fields explains their format first.
    QCOMPARE(typedLimitFault(s.c().mask(S("SMSphone")), 16), QString());
    QCOMPARE(typedLimitFault(s.c().mask(S("PinCode")), 4), QString());
    QCOMPARE(s.boxes.texts, (QStringList{S("M1547"), S("M1546")}));
}

// A main page hidden while it is active hands the highlight to the page shown in its place, and
// the page left is remembered as the previous one. Every hint stays up for 30 s.
void TestUiMain::tabs_highlightFollowsAHiddenPage_andHintsStay() {
    Window s;
    clickTab(s.w.PageControl1, pages::PageNames);
    pick(s.w.Mode, 0); // the line model has no SMS names
    const int active = s.w.PageControl1->activePageIndex();
    QCOMPARE(s.w.PageControl1->currentIndex(), active);
    QVERIFY(active != pages::PageNames);
    for (int i = 0; i < s.w.PageControl1->sheetCount(); ++i)
        QCOMPARE(s.w.PageControl1->sheet(i)->highlighted(), i == active);
    QCOMPARE(s.w.PrevPage, int(pages::PageNames));

    QStringList shortHints;
    for (QWidget *c : s.w.findChildren<QWidget *>())
        if (!c->toolTip().isEmpty() && c->toolTipDuration() != 30000)
            shortHints << c->objectName();
    QCOMPARE(shortHints, QStringList());

    // The recipients' fields built with their page later show their hints too.
    clickTab(s.w.PageControl1, pages::PageRecipients);
    for (int r : {1, 8}) {
        const QString n = QString::number(r);
        QCOMPARE(s.c().widget(S("WaitTime") + n)->toolTip(), S("M1552\nM1553\nM1554"));
        QCOMPARE(s.c().widget(S("ConfirmMes") + n)->toolTip(), S("M1576\nM1577"));
        QVERIFY(s.c().widget(S("PhoneNumber") + n)->toolTip().endsWith(S("M1575\n+79031234567")));
        QVERIFY(s.c().widget(S("LinePhone") + n)->toolTip().startsWith(S("M1555\nM1556")));
    }
    QCOMPARE(s.c().widget(S("DialTry1"))->toolTip(), QString());
}

Q7X_UI_MAIN(TestUiMain)
#include "tst_ui_main.moc"
