// Start-up sequence, diagnostic keys, page rules, help, links and the language selector of the
// main window.
#include "app/mainform.h"
#include "lang/ini.h"
#include "pages/dialogs.h"

#include <QFile>
#include <QTabBar>
#include <QtTest>

using namespace q7x;
using pages::ComboBox;

namespace {

QString S(const char *utf8) { return QString::fromUtf8(utf8); }

void writeIni(const QByteArray &content) {
    QFile f(lang::IniPath());
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

// A user's choice in a drop-down list: the index changes and the list reports the activation.
void choose(ComboBox *c, int index) {
    c->setCurrentIndex(index);
    emit c->activated(index);
}

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

    void firstShow_givesDemoQ72WithUsbAndDefaults();
    void russianStored_keepsSmsBlitzItem();
    void f5Twice_restoresVisibility_andF3ShowsEncodedDump();
    void remotePage_refusedWhileNeverAnswering();
    void innerPages_switchHeadingPanels();
    void setLanguage_acceptsOnlyTheThreeNames();
    void languageSelector_storesPickAndCloses();
    void helpAndLinks_openTheExpectedAddresses();
    void statusTip_isCopiedToHintLabel();
};

void TestStartup::firstShow_givesDemoQ72WithUsbAndDefaults() {
    pages::RecordingDialogs dialogs;
    app::TMainForm w(&dialogs);
    QVERIFY(!w.FormShown);
    w.show();
    QVERIFY(w.FormShown);
    QVERIFY(w.Interactive);
    QCOMPARE(w.DeviceModel, pages::ModelQ72);
    QCOMPARE(w.Mode->text(), S("демо Q72"));
    QCOMPARE(w.PortNumber->text(), S("com 1"));
    QVERIFY(w.USB->isChecked());
    QVERIFY(!w.COM->isChecked());
    QVERIFY(!w.PortNumber->isEnabled());
    for (QWidget *b :
         {w.ConnectButton, w.CancelButton, w.ReadButton, w.WriteButton, w.RunModemButton})
        QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
    for (QWidget *b : {w.SaveButton, w.LoadButton, w.DefaultButton})
        QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
    QVERIFY(w.PortOk);
    QVERIFY(w.UsbOk);
    QCOMPARE(w.version->caption(), QString());

    const auto &c = w.controls();
    for (int r = 1; r <= 8; ++r) {
        QCOMPARE(c.combo(S("PauseInterval"), r)->text(), S("2 мин"));
        for (int g = 1; g <= 8; ++g) {
            auto *box = c.check(S("gr"), g, r);
            QCOMPARE(box->isChecked(), g == r);
            QCOMPARE(box->isEnabled(), g != r);
        }
    }
    const char *digits[] = {"140", "383", "384", "401", "355", "373", "110",
                            "356", "344", "137", "350", "302", "1602"};
    for (int k = 1; k <= 13; ++k)
        QCOMPARE(c.edit(S("Dig"), k)->text(), S(digits[k - 1]));

    // No language stored: the selector shows "Error" and SMS-Blitz is not offered.
    QCOMPARE(w.SelectLang->text(), S("Error"));
    for (int r = 1; r <= 8; ++r) {
        ComboBox *gsm = c.combo(S("TypeMesgGSM"), r);
        QCOMPARE(gsm->count(), 10);
        QVERIFY(!gsm->items().contains(S("SMS-Блиц")));
    }
    QCOMPARE(w.PageControl1->activePageIndex(), 0);
    QVERIFY(w.PageControl1->sheet(0)->highlighted());
    QVERIFY(dialogs.shown.isEmpty());
}

void TestStartup::russianStored_keepsSmsBlitzItem() {
    writeIni("[Lang]\nDefault=Russian\n");
    pages::RecordingDialogs dialogs;
    app::TMainForm w(&dialogs);
    w.show();
    QCOMPARE(w.SelectLang->text(), S("Russian"));
    for (int r = 1; r <= 8; ++r) {
        ComboBox *gsm = w.controls().combo(S("TypeMesgGSM"), r);
        QCOMPARE(gsm->count(), 11);
        QCOMPARE(gsm->itemText(10), S("SMS-Блиц"));
    }
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

void TestStartup::remotePage_refusedWhileNeverAnswering() {
    pages::RecordingDialogs dialogs;
    app::TMainForm w(&dialogs);
    w.show();
    const auto &c = w.controls();
    clickTab(w.PageControl1, pages::PageTone);
    QCOMPARE(w.PageControl1->activePageIndex(), int(pages::PageTone));
    QVERIFY(w.PageControl1->sheet(pages::PageTone)->highlighted());
    QVERIFY(!w.PageControl1->sheet(0)->highlighted());

    c.combo(S("PickUpDelay"))->setItemIndex(15);
    clickTab(w.PageControl1, pages::PageRemote);
    QCOMPARE(w.PageControl1->activePageIndex(), int(pages::PageTone));
    QCOMPARE(w.PrevPage, int(pages::PageTone));
    for (int i = 0; i < 7; ++i)
        QCOMPARE(w.PageControl1->sheet(i)->highlighted(), i == pages::PageTone);
    QCOMPARE(dialogs.texts(), QStringList{S("Вкладка 'Дистанц. управление' недоступна, т.к. на "
                                            "вкладке 'Главная' выбрано 'не брать трубку'.")});

    // Any other pick-up delay lets the user in.
    dialogs.clear();
    c.combo(S("PickUpDelay"))->setItemIndex(14);
    clickTab(w.PageControl1, pages::PageRemote);
    QCOMPARE(w.PageControl1->activePageIndex(), int(pages::PageRemote));
    QVERIFY(dialogs.shown.isEmpty());
}

void TestStartup::innerPages_switchHeadingPanels() {
    pages::RecordingDialogs dialogs;
    app::TMainForm w(&dialogs);
    w.show();
    clickTab(w.PageControl1, pages::PageRecipients);
    QVERIFY(!w.Panel27->isHidden());
    QVERIFY(w.Panel28->isHidden());
    clickTab(w.PageControl2, 1);
    QCOMPARE(w.PageControl2->activePageIndex(), 1);
    QVERIFY(w.Panel27->isHidden());
    QVERIFY(!w.Panel28->isHidden());
    QCOMPARE(w.Panel28->geometry(), w.Panel27->geometry());
    clickTab(w.PageControl2, 0);
    QVERIFY(!w.Panel27->isHidden());
    QVERIFY(w.Panel28->isHidden());
}

void TestStartup::setLanguage_acceptsOnlyTheThreeNames() {
    lang::SetLanguage(S("Error"));
    QVERIFY(!QFile::exists(lang::IniPath()));
    QCOMPARE(lang::GetLanguage(), S("Error"));
    lang::SetLanguage(S("english"));
    QVERIFY(!QFile::exists(lang::IniPath()));
    lang::SetLanguage(S("Turkish"));
    QCOMPARE(lang::GetLanguage(), S("Turkish"));
    lang::SetLanguage(S("Error"));
    QCOMPARE(lang::GetLanguage(), S("Turkish"));
}

void TestStartup::languageSelector_storesPickAndCloses() {
    pages::RecordingDialogs dialogs;
    app::TMainForm w(&dialogs);
    w.show();
    QVERIFY(w.isVisible());
    choose(w.SelectLang, 1);
    QCOMPARE(lang::GetLanguage(), S("English"));
    QVERIFY(!w.isVisible());
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].icon, pages::Dialogs::Icon::Warning);
}

void TestStartup::helpAndLinks_openTheExpectedAddresses() {
    const QString helpDir = QCoreApplication::applicationDirPath() + S("/help/");
    {
        // No language stored: the file name stays empty and the help folder itself opens.
        pages::RecordingDialogs dialogs;
        app::TMainForm w(&dialogs);
        w.BitBtn1->click();
        QCOMPARE(dialogs.texts(S("url")), QStringList{QUrl::fromLocalFile(helpDir).toString()});
    }
    writeIni("[Lang]\nDefault=English\n[Help]\nEN=q7xconf-en.html\n");
    {
        pages::RecordingDialogs dialogs;
        app::TMainForm w(&dialogs);
        w.BitBtn1->click();
        QCOMPARE(dialogs.texts(S("url")),
                 QStringList{QUrl::fromLocalFile(helpDir + S("q7xconf-en.html")).toString()});
    }
    writeIni("[Lang]\nDefault=Turkish\n");
    {
        // A missing key names the file "Error"; opening it fails quietly.
        pages::RecordingDialogs dialogs;
        dialogs.openUrlResult = false;
        app::TMainForm w(&dialogs);
        w.BitBtn1->click();
        QCOMPARE(dialogs.texts(S("url")),
                 QStringList{QUrl::fromLocalFile(helpDir + S("Error")).toString()});
        QVERIFY(dialogs.texts().isEmpty());

        dialogs.clear();
        w.Label520Click(w.Label520);
        w.Label521Click(w.Label521);
        w.Image2Click(w.Image2);
        QCOMPARE(dialogs.texts(S("url")),
                 (QStringList{S("http://") + S(app::SiteLabel),
                              S("mailto:") + S(app::MailLabel) + S("?subject=Tarvo-Q7X"),
                              S(app::SiteAddress)}));
    }
}

void TestStartup::statusTip_isCopiedToHintLabel() {
    pages::RecordingDialogs dialogs;
    app::TMainForm w(&dialogs);
    QStatusTipEvent tip(S("подсказка"));
    QCoreApplication::sendEvent(&w, &tip);
    QCOMPARE(w.Label267->caption(), S("подсказка"));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
