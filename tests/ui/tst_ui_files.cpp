// A configuration made by hand on several pages, saved to a file and loaded into a fresh window:
// every control of the fresh window reads back what the user left in the first one.
#include "testsupport.h"
#include "uidriver.h"

#include <QTemporaryDir>

using namespace q7x;
using namespace q7x::uitest;

namespace {

QString S(const char *utf8) { return QString::fromUtf8(utf8); }

// What each control shows, by name: item, tick or text, and whether it is enabled and shown.
// Controls on a hidden panel (one the model does not use) are left out; a page that is not the
// current one is hidden too, but belongs.
QMap<QString, QString> snapshot(app::TMainForm &w) {
    w.buildAllPages(); // every page, also those the user has not opened yet
    QMap<QString, QString> out;
    for (QWidget *c : w.findChildren<QWidget *>()) {
        bool used = !pages::vclClassOf(c).isEmpty();
        for (QWidget *p = c->parentWidget(); used && p != &w; p = p->parentWidget())
            used = !p->isHidden() || qobject_cast<pages::TabSheet *>(p);
        QString value;
        if (!used)
            continue;
        if (auto *list = qobject_cast<pages::ComboBox *>(c))
            value = QString::number(list->itemIndex());
        else if (auto *group = qobject_cast<pages::RadioGroup *>(c))
            value = QString::number(group->itemIndex());
        else if (auto *box = qobject_cast<QAbstractButton *>(c); box && box->isCheckable())
            value = box->isChecked() ? S("ticked") : S("clear");
        else if (auto *edit = qobject_cast<QLineEdit *>(c))
            value = edit->displayText();
        else if (auto *own = qobject_cast<pages::LabeledEdit *>(c))
            value = own->text();
        else if (auto *label = qobject_cast<QLabel *>(c))
            value = label->text();
        out.insert(c->objectName(),
                   value + (c->isEnabled() ? "" : " disabled") + (c->isHidden() ? " hidden" : ""));
    }
    return out;
}

// A window of the given tool mode; its boxes and dialogs go to `boxes`.
struct Maker : Window {
    Maker(Answerer &boxes, int toolMode) : Window(&boxes) {
        if (toolMode != w.Mode->itemIndex())
            uitest::pick(w.Mode, toolMode);
    }
    void page(int main, int inner = -1) {
        clickTab(w.PageControl1, main);
        if (inner >= 0)
            clickTab(w.recipientsPage().PageControl2, inner);
    }
    void pick(const char *list, int item) {
        uitest::pick(c().combo(S(list)), item);
        QCOMPARE(c().combo(S(list))->itemIndex(), item);
    }
    // Saves into `path` (a cancelled save writes nothing) and loads it into a fresh window of the
    // same tool mode, both showing the first pages (the page decides which controls are visible).
    void roundTrip(const QString &path, int toolMode) {
        page(pages::PageRecipients, 0);
        page(pages::PageMain);
        boxes.texts.clear();
        click(w.SaveButton);
        QVERIFY(!QFile::exists(path));
        boxes.files = {path, path};
        click(w.SaveButton);
        QCOMPARE(w.statusText(), S("M1002"));
        Maker fresh(boxes, toolMode);
        click(fresh.w.LoadButton);
        QCOMPARE(fresh.w.statusText(), S("M1008"));
        const QString save = S("Записать конфигурацию в файл");
        QCOMPARE(boxes.texts, (QStringList{save, save, S("Считать конфигурацию из файла")}));
        const QMap<QString, QString> want = snapshot(w), got = snapshot(fresh.w);
        QStringList changed;
        for (auto it = want.cbegin(); it != want.cend(); ++it)
            if (got.value(it.key()) != it.value())
                changed << it.key() + S(": ") + got.value(it.key()) + S(" for ") + it.value();
        QVERIFY2(changed.isEmpty(), qPrintable(changed.join(QLatin1Char('\n'))));
    }
};

} // namespace

class TestUiFiles : public QObject {
    Q_OBJECT
  private slots:
    void init() { test::writeIni("[Lang]\nDefault=Russian\n"); }
    void cleanupTestCase() { QFile::remove(lang::IniPath()); }
    void gsmModel_handMadeSettingsSurviveAFile();
    void lineModel_handMadeSettingsSurviveAFile();
};

void TestUiFiles::gsmModel_handMadeSettingsSurviveAFile() {
    QTemporaryDir dir;
    Answerer boxes;
    Maker s(boxes, 1);
    s.pick("PhrasePause", 5);
    retype(s.c().edit(S("RequestBalance")), S("*100#"));
    retype(s.c().mask(S("SMSphone")), S("79001234567"));
    retype(s.c().mask(S("PinCode")), S("4321"));

    s.page(pages::PageRecipients, 0);
    s.pick("ObjNmb2", 7);
    click(s.c().check(S("rzd23")));
    s.page(pages::PageRecipients, 2);
    s.pick("TypeMesgGSM2", 4);
    s.pick("DialTry3", 9);
    retype(s.c().mask(S("PhoneNumber1")), S("79161234567"));

    s.page(pages::PageNames);
    s.pick("NameRzd3", 35);
    retype(s.c().labeledEdit(S("OwnName"), 1)->edit(), S("Garage"));
    s.page(pages::PagePeriod);
    s.pick("PeriodRzd", 4);
    s.page(pages::PageRemote);
    retype(s.c().edit(S("Password2")), S("567890"));
    s.page(pages::PageTone);
    s.pick("Alarm1", 11);
    s.page(pages::PageRelay);
    click(s.w.relayPage().ReleWorkMode1->button(3));
    click(s.c().check(S("iz13")));
    s.roundTrip(dir.filePath(S("gsm.cfg")), 1);
}

void TestUiFiles::lineModel_handMadeSettingsSurviveAFile() {
    QTemporaryDir dir;
    Answerer boxes;
    Maker s(boxes, 0);
    s.pick("PickUpDelay", 4);
    s.pick("PauseDial", 5);

    s.page(pages::PageRecipients, 0);
    s.pick("ObjNmb1", 1234);
    s.page(pages::PageRecipients, 2);
    retype(s.c().edit(S("LinePhone1")), S("123w45"));
    s.pick("TypeMesgLine2", 1);
    s.pick("TypeMesgLine3", 2);
    s.pick("DialTry1", 9);
    s.pick("PauseInterval5", 6);
    s.page(pages::PageRecipients, 3);
    retype(s.c().edit(S("Dig2")), S("765"));
    s.page(pages::PageRecipients, 4);
    click(s.c().check(S("gr12")));
    s.page(pages::PageRemote);
    retype(s.c().edit(S("Password21")), S("1234"));
    click(s.c().check(S("st22")));
    s.page(pages::PageTone);
    s.pick("DisArm2", 14);
    s.page(pages::PageRelay);
    s.pick("ReleControl1", 0); // by command: the special relay mode with its own timing
    s.pick("TimeRzmk1", 3);
    s.roundTrip(dir.filePath(S("line.cfg")), 0);
}

Q7X_UI_MAIN(TestUiFiles)
#include "tst_ui_files.moc"
