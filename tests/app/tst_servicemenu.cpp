// The service menu of the window: comparing with a saved file after the user's edits, the frames
// and page jumps of the comparison, the comparison with the device, and the configuration sheet
// to a file and to a printer.
#include "app/comparedialog.h"
#include "image/configfile.h"
#include "windowbench.h"

#include <QLayout>
#include <QMenu>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTreeWidget>

using namespace q7x;
using test::S;

namespace {

// Every control of the window with its place in the window.
QMap<QString, QRect> placesOfControls(const app::TMainForm &w) {
    QMap<QString, QRect> out;
    for (QWidget *c : w.findChildren<QWidget *>())
        if (!pages::vclClassOf(c).isEmpty() && c != w.ServiceButton)
            out.insert(c->objectName(), QRect(c->mapTo(&w, QPoint()), c->size()));
    return out;
}

void showPages(app::TMainForm &w, int outer, int inner = -1) {
    w.PageControl1->setCurrentIndex(outer);
    if (inner >= 0)
        w.recipientsPage().PageControl2->setCurrentIndex(inner);
    QCoreApplication::processEvents();
}

QStringList keysOf(const app::CompareDialog *d) {
    QStringList keys;
    for (const report::DifferenceRow &r : d->rows())
        keys << r.key;
    return keys;
}

} // namespace

class TstServiceMenu : public QObject {
    Q_OBJECT
  private slots:
    void init() { test::fillMessageTable(); }
    void menuMovesNoControl();
    void editedWindowMatchesItsSavedFile_thenShowsEachChange();
    void deviceComparisonLeavesTheWindowAlone();
    void sheetGoesToAFileOrAPrinter();
};

void TstServiceMenu::menuMovesNoControl() {
    pages::RecordingDialogs dialogs;
    app::TMainForm w(&dialogs);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QMap<QString, QRect> with = placesOfControls(w);
    w.ServiceButton->hide();
    QTest::qWait(50); // each level of layouts settles on its own event
    QCOMPARE(placesOfControls(w), with);
}

void TstServiceMenu::editedWindowMatchesItsSavedFile_thenShowsEachChange() {
    QTemporaryDir dir;
    pages::RecordingDialogs dialogs;
    app::TMainForm w(&dialogs);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const pages::Controls &c = w.controls();

    // The user's edits: a text typed, a list stepped with the keyboard, a box clicked.
    showPages(w, pages::PageMain);
    QLineEdit *balance = c.edit(S("RequestBalance"));
    balance->selectAll();
    QTest::keyClicks(balance, S("*100#"));
    QTest::keyClick(c.combo(S("PhrasePause")), Qt::Key_Down);
    showPages(w, pages::PageRecipients, 0);
    QTest::mouseClick(c.check(S("rzd"), 3, 5), Qt::LeftButton);
    const QString file = dir.filePath(S("site.cfg"));
    dialogs.fileNames << file;
    w.SaveButtonClick(w.SaveButton);
    QCOMPARE(w.ConfigFileName, file);

    dialogs.fileNames << file;
    w.CompareFileItem->trigger();
    app::CompareDialog *d = w.compareDialog();
    QVERIFY(d && d->isVisible());
    QVERIFY(d->rows().isEmpty());
    QCOMPARE(d->summary(), S("M1710"));

    // Each later change is listed, framed while the dialog is open, and leads to its control.
    QWidget *box = c.check(S("rzd"), 2, 16);
    const int siblings = int(box->parentWidget()->children().size());
    QTest::mouseClick(box, Qt::LeftButton);
    c.edit(S("Edit"), 5)->setText(S("511")); // an SMS-Blitz code a write refuses
    d->compareAgain();
    QCOMPARE(keysOf(d), (QStringList{S("recipients.2.partitions.16"), S("blitzCodes.5")}));
    QCOMPARE(d->rows()[1].kind, report::DifferenceRow::Kind::Unstorable);
    QCOMPARE(d->highlighted(), (QList<QWidget *>{box, c.widget(S("Edit5"))}));
    QCOMPARE(d->tree()->topLevelItemCount(), 2); // the two rows lie on two pages
    showPages(w, pages::PageTone);
    d->goTo(0);
    QCOMPARE(w.PageControl1->activePageIndex(), int(pages::PageRecipients));
    QCOMPARE(w.recipientsPage().PageControl2->currentWidget()->objectName(), S("TabSheet8"));
    QTRY_COMPARE(QApplication::focusWidget(), box);
    // Once the tool mode shows the other model, the file no longer fits the window.
    w.Mode->setItemIndex(0);
    w.WorkMode(w.Mode);
    d->compareAgain();
    QCOMPARE(d->rows().size(), 1);
    QCOMPARE(d->rows()[0].setting, S("M1718"));
    d->close();
    QTRY_VERIFY(!w.compareDialog());
    QCOMPARE(int(box->parentWidget()->children().size()), siblings);

    // A file of the other model is not compared.
    const QString q72 = dir.filePath(S("q72.cfg"));
    QVERIFY(!image::writeConfigFile(q72, image::presetImage(image::DeviceModel::Q72, 0),
                                    image::DeviceModel::Q72));
    dialogs.fileNames << q72;
    w.CompareFileItem->trigger();
    QVERIFY(!w.compareDialog());
    QCOMPARE(dialogs.texts().last(), S("M1718"));
}

void TstServiceMenu::deviceComparisonLeavesTheWindowAlone() {
    test::WindowBench b;
    auto refresh = [&] { emit b.w.ServiceButton->menu()->aboutToShow(); };
    refresh();
    QVERIFY(!b.w.CompareDeviceItem->isEnabled()); // not connected
    QVERIFY(b.connect());
    refresh();
    QVERIFY(b.w.CompareDeviceItem->isEnabled());

    const image::Q72Settings shown = image::q72Settings(b.w.form());
    const image::ConfigImage other = image::presetImage(image::DeviceModel::Q72, 4);
    b.device().loadImage(std::vector<std::uint8_t>(other.begin(), other.end()));
    b.w.CompareDeviceItem->trigger();
    QVERIFY(b.settle());
    app::CompareDialog *d = b.w.compareDialog();
    QVERIFY(d);
    QCOMPARE(d->windowTitle(), S("M1712"));
    QVERIFY(keysOf(d).contains(S("workMode")));
    // An object that differs is listed once, not again for the object group it gives.
    QVERIFY(keysOf(d).contains(S("partitions.5.object")));
    QCOMPARE(keysOf(d).filter(S(".group")), QStringList());
    QVERIFY(image::q72Settings(b.w.form()) == shown);

    // The next read goes to the window again.
    b.w.ReadButtonClick(b.w.ReadButton);
    QVERIFY(b.settle());
    QCOMPARE(b.w.mainPage().WorkModeComboBox->itemIndex(), 4);
}

void TstServiceMenu::sheetGoesToAFileOrAPrinter() {
    QTemporaryDir dir;
    pages::RecordingDialogs dialogs;
    app::TMainForm w(&dialogs);
    w.show();
    auto isPdf = [](const QString &path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) && f.read(5) == "%PDF-";
    };
    const QString sheet = dir.filePath(S("sheet.pdf"));
    dialogs.fileNames << sheet;
    w.ReportItem->trigger();
    QVERIFY(isPdf(sheet));
    QCOMPARE(dialogs.shown.last().text, S("Q72.pdf")); // the proposed name
    QCOMPARE(w.statusText(), S("M1716"));

    const QString printed = dir.filePath(S("printed.pdf"));
    bool choose = false;
    w.choosePrinter = [&](QPrinter &p) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(printed);
        return choose;
    };
    w.PrintItem->trigger();
    QVERIFY(!QFile::exists(printed)); // the user cancelled the printer's dialog
    choose = true;
    w.PrintItem->trigger();
    QVERIFY(isPdf(printed));

    // A value a write would refuse is refused for the sheet too, before a file is asked for.
    dialogs.clear();
    w.controls().edit(S("Edit"), 5)->setText(S("511"));
    w.ReportItem->trigger();
    QCOMPARE(dialogs.texts(S("save")), QStringList());
    QCOMPARE(dialogs.texts().size(), 1);
    QVERIFY(dialogs.texts().first().contains(S("511")));
}

QTEST_MAIN(TstServiceMenu)
#include "tst_servicemenu.moc"
