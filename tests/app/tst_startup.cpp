// Start-up sequence, diagnostic keys, page rules, help, links and the language selector of the
// main window.
#include "app/mainform.h"
#include "lang/ini.h"
#include "lang/languagelibraries.h"
#include "pages/dialogs.h"
#include "testsupport.h"

#include <QFile>
#include <QTabBar>
#include <QtTest>

using namespace q7x;
using pages::ComboBox;
using test::choose;
using test::writeIni;

namespace {

QString S(const char *utf8) { return QString::fromUtf8(utf8); }

void clickTab(pages::PageControl *pc, int index) {
    QTabBar *bar = pc->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
  private slots:
    void init() { QFile::remove(lang::IniPath()); }
    void cleanup() { QFile::remove(lang::IniPath()); }

    void firstShow_data();
    void firstShow();
    void f5Twice_restoresVisibility_andF3ShowsEncodedDump();
    void innerPages_switchHeadingPanels();
    void help_opensTheFileForTheLanguage_data();
    void help_opensTheFileForTheLanguage();
    void qtButtons_speakTheStoredLanguage_data();
    void qtButtons_speakTheStoredLanguage();
    void statusTip_isCopiedToHintLabel();
};

// The first show: an interactive window for a Q72, SMS-Blitz offered only in the Russian
// interface, the diagonal of the dial groups ticked and locked, every pause interval at "2 мин",
// the first page highlighted and one object row for the preset's object. No control name is used
// twice, and nothing is shown.
void TestStartup::firstShow_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("gsmTypes");
    QTest::newRow("no language stored") << QByteArray() << S("Error") << 10;
    QTest::newRow("Russian stored")
        << QByteArray("[Lang]\nDefault=Russian\n") << S("Russian") << 11;
}

void TestStartup::firstShow() {
    QFETCH(QByteArray, ini);
    QFETCH(QString, language);
    QFETCH(int, gsmTypes);
    if (!ini.isEmpty())
        writeIni(ini);
    pages::RecordingDialogs dialogs;
    app::TMainForm w(&dialogs);
    QVERIFY(!w.FormShown);
    w.show();
    QVERIFY(w.FormShown);
    QVERIFY(w.Interactive);
    QCOMPARE(w.DeviceModel, pages::DeviceModel::Q72);
    QCOMPARE(w.SelectLang->text(), language);
    const pages::Controls &c = w.controls();
    for (int r = 1; r <= 8; ++r) {
        ComboBox *gsm = c.combo(S("TypeMesgGSM"), r);
        QCOMPARE(gsm->count(), gsmTypes);
        QCOMPARE(gsm->items().contains(S("SMS-Блиц")), gsmTypes == 11);
        QCOMPARE(c.combo(S("PauseInterval"), r)->text(), S("2 мин"));
        for (int g = 1; g <= 8; ++g) {
            QCOMPARE(c.check(S("gr"), g, r)->isChecked(), g == r);
            QCOMPARE(c.check(S("gr"), g, r)->isEnabled(), g != r);
        }
    }
    for (int i = 0; i < w.PageControl1->sheetCount(); ++i)
        QCOMPARE(w.PageControl1->sheet(i)->highlighted(), i == pages::PageMain);
    QCOMPARE(c.label(S("LabelOb1"))->caption(), S("1"));
    QVERIFY(c.widget(S("LabelOb2"))->isHidden());
    QCOMPARE(c.duplicates(), QStringList());
    QCOMPARE(w.windowTitle(), S("Программа настройки приборов серии Варник-Q7х"));
    QCOMPARE(w.size(), QSize(833, 582));
    QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(dialogs.shown.isEmpty());
}

void TestStartup::f5Twice_restoresVisibility_andF3ShowsEncodedDump() {
    pages::RecordingDialogs dialogs;
    app::TMainForm w(&dialogs);
    w.show();
    QWidget *focus = w.controls().widget(S("RequestBalance"));
    QList<QWidget *> toggled{w.Memo2, w.Memo3, w.GenTableButton};
    w.Memo3->show(); // mixed states: each control takes the opposite of its own
    QTest::keyClick(focus, Qt::Key_F5);
    QVERIFY(!w.Memo2->isHidden());
    QVERIFY(w.Memo3->isHidden());
    QVERIFY(!w.GenTableButton->isHidden());
    QTest::keyClick(focus, Qt::Key_F5);
    QVERIFY(w.Memo2->isHidden());
    QVERIFY(!w.Memo3->isHidden());
    QVERIFY(w.GenTableButton->isHidden());
    // The key did not reach the edit.
    QCOMPARE(qobject_cast<pages::Edit *>(focus)->text(), S("*102#"));

    QTest::keyClick(focus, Qt::Key_F3);
    QVERIFY(!w.Memo2->isHidden());
    QVERIFY(w.Memo1->isHidden());
    QTest::keyClick(focus, Qt::Key_F3);
    QVERIFY(!w.Memo2->isHidden()); // the link dump is never shown, so F3 keeps showing Memo2
}

void TestStartup::innerPages_switchHeadingPanels() {
    pages::RecordingDialogs dialogs;
    app::TMainForm w(&dialogs);
    w.show();
    clickTab(w.PageControl1, pages::PageRecipients);
    QVERIFY(!w.recipientsPage().Panel27->isHidden());
    QVERIFY(w.recipientsPage().Panel28->isHidden());
    clickTab(w.recipientsPage().PageControl2, 1);
    QCOMPARE(w.recipientsPage().PageControl2->activePageIndex(), 1);
    QVERIFY(w.recipientsPage().Panel27->isHidden());
    QVERIFY(!w.recipientsPage().Panel28->isHidden());
    QCOMPARE(w.recipientsPage().Panel28->geometry(), w.recipientsPage().Panel27->geometry());
    clickTab(w.recipientsPage().PageControl2, 0);
    QVERIFY(!w.recipientsPage().Panel27->isHidden());
    QVERIFY(w.recipientsPage().Panel28->isHidden());
}

// Help opens the file the INI names for the stored language: with no language the file name
// stays empty and the help folder itself opens; a missing key names the file "Error".
void TestStartup::help_opensTheFileForTheLanguage_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("file");
    QTest::newRow("no language") << QByteArray() << QString();
    QTest::newRow("English") << QByteArray("[Lang]\nDefault=English\n[Help]\nEN=q7xconf-en.html\n")
                             << S("q7xconf-en.html");
    QTest::newRow("no key") << QByteArray("[Lang]\nDefault=Turkish\n") << S("Error");
}

void TestStartup::help_opensTheFileForTheLanguage() {
    QFETCH(QByteArray, ini);
    QFETCH(QString, file);
    if (!ini.isEmpty())
        writeIni(ini);
    pages::RecordingDialogs dialogs;
    dialogs.openUrlResult = false; // a failed open stays quiet
    app::TMainForm w(&dialogs);
    w.BitBtn1->click();
    const QString helpDir = QCoreApplication::applicationDirPath() + S("/help/");
    QCOMPARE(dialogs.texts(S("url")), QStringList{QUrl::fromLocalFile(helpDir + file).toString()});
    QVERIFY(dialogs.texts().isEmpty());
}

// Qt draws the message-box buttons itself; the catalogue installed at start translates them.
void TestStartup::qtButtons_speakTheStoredLanguage_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("yes");
    QTest::newRow("Russian") << S("Russian") << true << S("&Да");
    QTest::newRow("Turkish") << S("Turkish") << true << S("&Evet");
    QTest::newRow("English needs none") << S("English") << false << S("&Yes");
    QTest::newRow("unknown") << S("Error") << false << S("&Yes");
}

void TestStartup::qtButtons_speakTheStoredLanguage() {
    QFETCH(QString, language);
    QFETCH(bool, installed);
    QFETCH(QString, yes);
    QCOMPARE(lang::InstallQtTranslation(language), installed);
    const QString shown = QCoreApplication::translate("QPlatformTheme", "&Yes");
    for (QTranslator *t : qApp->findChildren<QTranslator *>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
    QCOMPARE(shown, yes);
    QVERIFY(!lang::InstallQtTranslation(language, S("/nonexistent")));
}

void TestStartup::statusTip_isCopiedToHintLabel() {
    pages::RecordingDialogs dialogs;
    app::TMainForm w(&dialogs);
    QStatusTipEvent tip(S("подсказка"));
    QCoreApplication::sendEvent(&w, &tip);
    QCOMPARE(w.mainPage().Label267->caption(), S("подсказка"));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
