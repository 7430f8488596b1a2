// The remote-control page used with keyboard and mouse: passwords, when the page opens, and the
// object numbers that a file brings.
#include "image/configfile.h"
#include "image/layout.h"
#include "testsupport.h"
#include "uidriver.h"
#include "windowbench.h"

#include <QTemporaryDir>

using namespace q7x;
using namespace q7x::uitest;

namespace {

QString S(const char *utf8) { return QString::fromUtf8(utf8); }

bool openRemotePage(Window &s) {
    clickTab(s.w.PageControl1, pages::PageRemote);
    return s.w.PageControl1->activePageIndex() == pages::PageRemote;
}

} // namespace

class TestUiRemote : public QObject {
    Q_OBJECT
  private slots:
    void init() { test::writeIni("[Lang]\nDefault=Russian\n"); }
    void cleanupTestCase() { QFile::remove(lang::IniPath()); }
    void passwords_oneMessagePerLeave_andSixDigits();
    void page_closedOnlyWhileALineDeviceNeverAnswers();
    void objectNumbers_readAsTheirDigitsSay();
};

// A password too short keeps the focus with one message; none takes a seventh digit.
void TestUiRemote::passwords_oneMessagePerLeave_andSixDigits() {
    Window s;
    pick(s.w.Mode, 0);
    QVERIFY(openRemotePage(s));
    retype(s.c().edit(S("Password23")), S("12"));
    key(Qt::Key_Tab);
    QCOMPARE(s.boxes.texts, QStringList{S("M1539")});
    QCOMPARE(QApplication::focusWidget(), s.c().edit(S("Password23")));
    type(S("3"));
    QStringList faults;
    for (int r = 1; r <= 8; ++r)
        faults << typedLimitFault(s.c().edit(S("Password"), 20 + r), 6);

    pick(s.w.Mode, 1); // the GSM model: one row per object, here sixteen
    clickTab(s.w.PageControl1, pages::PageRecipients);
    for (int p = 1; p <= 16; ++p)
        pick(s.c().combo(S("ObjNmb"), p), 100 + p);
    QVERIFY(openRemotePage(s));
    retype(s.c().edit(S("Password1")), S("12"));
    click(s.c().edit(S("Password2")));
    QCOMPARE(s.boxes.texts.size(), 2);
    QCOMPARE(QApplication::focusWidget(), s.c().edit(S("Password1")));
    type(S("3"));
    for (int k = 1; k <= 16; ++k)
        faults << typedLimitFault(s.c().edit(S("Password"), k), 6);
    key(Qt::Key_Tab);
    faults.removeAll(QString());
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    QCOMPARE(s.w.passwordRow(116), (std::array<int, 3>{0x12, 0x34, 0x56}));
}

// "Never pick up" closes the page for the line model only: the GSM model, shown or identified on
// line, keeps the value chosen earlier on its hidden panel and still opens the page. A GSM device
// on line shows the tone pause column as the demonstration does.
void TestUiRemote::page_closedOnlyWhileALineDeviceNeverAnswers() {
    Window s;
    s.w.setLinkFactory(std::make_unique<test::SimLinkFactory>(sim::Model::Q72, 1));
    pick(s.w.Mode, 0);
    pick(s.c().combo(S("PickUpDelay")), 15);
    QVERIFY(!openRemotePage(s));
    QCOMPARE(s.boxes.texts, QStringList{S("Вкладка 'Дистанц. управление' недоступна, т.к. на "
                                          "вкладке 'Главная' выбрано 'не брать трубку'.")});
    QVERIFY(s.w.PageControl1->sheet(pages::PageMain)->highlighted());

    pick(s.w.Mode, 1);
    QVERIFY(openRemotePage(s));
    clickTab(s.w.PageControl1, pages::PageMain);
    pick(s.w.Mode, 2);
    click(s.w.COM);
    click(s.w.ConnectButton);
    QTRY_VERIFY_WITH_TIMEOUT(s.w.liveWorkers() == 0 && s.w.ReadButton->isEnabled(), 20000);
    QCOMPARE(s.w.DeviceModel, pages::DeviceModel::Q72);
    QVERIFY(!s.c().widget(S("Panel34"))->isHidden());
    QVERIFY(openRemotePage(s));
    QCOMPARE(s.boxes.texts.size(), 1);
}

// Object digits with a blank (15) after a real digit count with their value, without a message;
// only a number beyond the lists is an error, which restores the factory settings.
void TestUiRemote::objectNumbers_readAsTheirDigitsSay() {
    QTemporaryDir dir;
    image::ConfigImage img = image::presetImage(pages::DeviceModel::Q72, 1);
    const int digits[4][3] = {{1, 15, 5}, {15, 4, 15}, {0, 15, 5}, {15, 15, 7}};
    for (int p = 0; p < 4; ++p) {
        const auto at = std::size_t(image::q72::ObjectDigits + 2 * p);
        img[at] = std::uint8_t(digits[p][0] << 4 | digits[p][1]);
        img[at + 1] = std::uint8_t(digits[p][2] << 4 | (img[at + 1] & 0x0F));
    }
    const QString good = dir.filePath(S("good.cfg")), bad = dir.filePath(S("bad.cfg"));
    QVERIFY(!image::writeConfigFile(good, img, pages::DeviceModel::Q72));
    img[image::q72::ObjectDigits] = 0x9F; // 9 F F: 1065
    img[image::q72::ObjectDigits + 1] |= 0xF0;
    QVERIFY(!image::writeConfigFile(bad, img, pages::DeviceModel::Q72));

    Window s;
    s.boxes.files = {good, bad};
    click(s.w.LoadButton);
    QCOMPARE(s.boxes.texts.size(), 1); // the open dialog only
    QStringList shown;
    for (int p = 1; p <= 4; ++p)
        shown << s.c().combo(S("ObjNmb"), p)->text();
    QCOMPARE(shown, (QStringList{S("255"), S("55"), S("155"), S("7")}));
    QVERIFY(openRemotePage(s));
    QCOMPARE(s.c().label(S("LabelOb1"))->caption(), S("255"));

    click(s.w.LoadButton);
    QCOMPARE(s.boxes.texts.size(), 4); // then the object error and the final warning
    QCOMPARE(s.c().combo(S("ObjNmb1"))->text(), S("1"));
}

Q7X_UI_MAIN(TestUiRemote)
#include "tst_ui_remote.moc"
