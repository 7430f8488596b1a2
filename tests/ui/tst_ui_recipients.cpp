// The recipients page used with keyboard and mouse: the exit rules of its code fields, the length
// of codes and numbers however they are typed, and the dial groups of a file.
#include "image/configfile.h"
#include "image/layout.h"
#include "image/presets.h"
#include "testsupport.h"
#include "uidriver.h"

#include <QTemporaryDir>

using namespace q7x;
using namespace q7x::uitest;

namespace {

QString S(const char *utf8) { return QString::fromUtf8(utf8); }

enum Inner { Notification = 2, DigitalCodes = 3, DialGroups = 4, BlitzCodes = 5 };

// The window on an inner page of the recipients page.
void open(Window &s, Inner page) {
    clickTab(s.w.PageControl1, pages::PageRecipients);
    clickTab(s.w.recipientsPage().PageControl2, page);
}

} // namespace

class TestUiRecipients : public QObject {
    Q_OBJECT
  private slots:
    void init() { test::writeIni("[Lang]\nDefault=Russian\n"); }
    void cleanupTestCase() { QFile::remove(lang::IniPath()); }
    void exitRules_askOncePerLeave();
    void codesAndNumbers_keepTheirLength();
    void dialGroups_everyRecipientInItsOwnGroup();
};

// A rule that keeps the focus in the field shows its message once, a field the user moves to
// keeps its own rule until it is left, and closing the window asks nothing.
void TestUiRecipients::exitRules_askOncePerLeave() {
    Window s;
    open(s, Notification);
    pick(s.c().combo(S("TypeMesgGSM1")), 10); // SMS-Blitz brings its codes page
    open(s, BlitzCodes);
    pages::Edit *code12 = s.c().edit(S("Edit12")), *code13 = s.c().edit(S("Edit13"));
    code13->setText(S("12")); // as a file left it
    retype(code12, S("7"));
    s.boxes.buttons = {QMessageBox::No};
    click(code13);
    QCOMPARE(s.boxes.texts, QStringList{S("M1538\nM1014")});
    QCOMPARE(code12->text(), S("0007"));
    click(s.c().edit(S("Edit14"))); // Yes: back to code 13 to correct it
    QCOMPARE(s.boxes.texts.size(), 2);
    QCOMPARE(QApplication::focusWidget(), code13);
    retype(code13, S("1234"));

    s.boxes.texts.clear();
    pick(s.w.Mode, 0);
    open(s, Notification);
    pick(s.c().combo(S("TypeMesgLine1")), 2); // digital: its codes page
    open(s, DigitalCodes);
    pages::Edit *dig4 = s.c().edit(S("Dig4"));
    retype(dig4, S("12"));
    key(Qt::Key_Tab);
    QCOMPARE(s.boxes.texts, QStringList{S("M1548")});
    QCOMPARE(QApplication::focusWidget(), dig4);
    retype(dig4, S("12"));
    s.w.close();
    QCOMPARE(s.boxes.texts.size(), 1);
}

// Codes and numbers keep their length: a longer SMS-Blitz code could not be stored in 16 bits.
void TestUiRecipients::codesAndNumbers_keepTheirLength() {
    Window s;
    open(s, Notification);
    pick(s.c().combo(S("TypeMesgGSM1")), 10);
    QStringList faults;
    for (int r = 1; r <= 8; ++r)
        faults << typedLimitFault(s.c().mask(S("PhoneNumber"), r), 16);
    open(s, BlitzCodes);
    for (int k = 1; k <= 24; ++k)
        faults << typedLimitFault(s.c().edit(S("Edit"), k), 4);
    faults.removeAll(QString());
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    QCOMPARE(s.boxes.texts, QStringList(8, S("M1547"))); // a click on a number explains it
}

// A file whose dial groups leave recipients out of their own groups still shows each recipient in
// its own group (ticked and locked), and saving writes that back.
void TestUiRecipients::dialGroups_everyRecipientInItsOwnGroup() {
    QTemporaryDir dir;
    image::ConfigImage img = image::presetImage(pages::DeviceModel::Q71, 1);
    for (int g = 1; g <= 8; ++g)
        img[std::size_t(image::q71::DialGroups + g - 1)] = g == 2 ? 0x01 : 0x00; // 2 calls 1
    const QString loaded = dir.filePath(S("groups.cfg")), saved = dir.filePath(S("saved.cfg"));
    QVERIFY(!image::writeConfigFile(loaded, img, pages::DeviceModel::Q71));

    Window s;
    pick(s.w.Mode, 0);
    s.boxes.files = {loaded, saved};
    click(s.w.LoadButton);
    open(s, DialGroups);
    for (int g = 1; g <= 8; ++g)
        for (int r = 1; r <= 8; ++r) {
            pages::CheckBox *box = s.c().check(S("gr"), g, r);
            QVERIFY2(box->isChecked() == (g == r || (g == 2 && r == 1)),
                     qPrintable(box->objectName()));
            QCOMPARE(box->isEnabled(), g != r);
        }
    click(s.w.SaveButton);
    const image::ConfigFileRead back = image::readConfigFile(saved);
    QVERIFY(back.image);
    for (int g = 1; g <= 8; ++g)
        QCOMPARE(int((*back.image)[std::size_t(image::q71::DialGroups + g - 1)]),
                 (1 << (g - 1)) | (g == 2 ? 0x01 : 0));
}

Q7X_UI_MAIN(TestUiRecipients)
#include "tst_ui_recipients.moc"
