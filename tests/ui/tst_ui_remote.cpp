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

Q7X_UI_MAIN(TestUiRemote)
#include "tst_ui_remote.moc"
