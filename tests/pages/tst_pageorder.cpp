// The pages of the window are built when they are first shown. Whatever the order in which they
// are built, and whatever the window went through before (tool mode, connected model, a loaded
// file, factory settings, the interface language), every control ends in the state it has in a
// window whose pages were all built at start.
#include "../image/seededsettings.h"
#include "app/mainform.h"
#include "image/configfile.h"
#include "image/formcontrols.h"
#include "image/presets.h"
#include "pages/dialogs.h"
#include "pages/formbinding.h"
#include "testsupport.h"

#include <QAccessible>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <random>

using namespace q7x;
using core::DeviceModel;

namespace {

QString S(const char *utf8) { return QString::fromUtf8(utf8); }

// What a control shows: texts, items, current item, ticked, enabled, visible, hint and name.
QString stateOf(QWidget *w) {
    QStringList s{w->metaObject()->className()};
    if (auto *l = qobject_cast<pages::Label *>(w))
        s << l->caption();
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        s << b->text() << QString::number(b->isChecked());
    if (auto *c = qobject_cast<pages::ComboBox *>(w))
        s << c->items().mid(0, 40).join(S("|")) << QString::number(c->count())
          << QString::number(c->itemIndex()) << c->text();
    if (auto *e = qobject_cast<QLineEdit *>(w))
        s << e->text() << e->palette().color(QPalette::Base).name();
    if (auto *e = qobject_cast<pages::LabeledEdit *>(w))
        s << e->labelCaption() << e->text();
    if (auto *g = qobject_cast<pages::RadioGroup *>(w))
        s << g->caption() << g->items().join(S("|")) << QString::number(g->itemIndex());
    if (auto *g = qobject_cast<pages::GroupBox *>(w))
        s << g->caption();
    if (auto *t = qobject_cast<pages::TabSheet *>(w))
        s << t->caption() << QString::number(t->tabVisible());
    s << (w->isHidden() ? S("hidden") : S("shown"))
      << (w->testAttribute(Qt::WA_ForceDisabled) ? S("disabled") : S("enabled")) << w->toolTip()
      << w->accessibleName();
    return s.join(S(" / "));
}

// Every control of the window by name, with every page built.
QMap<QString, QString> snapshot(app::TMainForm &w) {
    w.buildAllPages();
    QMap<QString, QString> out;
    for (QWidget *c : w.findChildren<QWidget *>())
        if (!pages::vclClassOf(c).isEmpty())
            out.insert(c->objectName(), stateOf(c));
    return out;
}

// The settings controls whose values differ between two forms.
QStringList valueDifferences(const image::Form &a, const image::Form &b) {
    QStringList out;
    image::FormSettings x = a.values, y = b.values;
    for (const image::ValueControl &c : image::valueControls()) {
        const bool same = c.kind == image::ValueControl::Kind::Item   ? c.item(x) == c.item(y)
                          : c.kind == image::ValueControl::Kind::Tick ? c.tick(x) == c.tick(y)
                                                                      : c.text(x) == c.text(y);
        if (!same)
            out << c.name;
    }
    if (x.objectPasswords != y.objectPasswords)
        out << S("object passwords");
    return out;
}

// The window's model against what its controls show.
QStringList modelAgainstControls(const pages::FormBase &w) {
    image::Form shown = w.model();
    pages::readControls(w, shown, nullptr);
    return valueDifferences(w.model(), shown);
}

// A configuration file of the model with settings of a seed.
QString fileOf(const QTemporaryDir &dir, DeviceModel model, unsigned seed) {
    image::Seeded seeded(seed * 7919u + 1u);
    seeded.objectPool = {1, 12, 999, 1000, 5000};
    const image::Encoded e =
        model == DeviceModel::Q71 ? image::encodeQ71(seeded.q71()) : image::encodeQ72(seeded.q72());
    const QString path = dir.filePath(QStringLiteral("f%1.cfg").arg(seed));
    image::writeConfigFile(path, e.ok() ? e.image : image::presetImage(model, 1), model);
    return path;
}

// What a user (or a connected device) does to the window before some pages exist.
struct Step {
    QString what;
    std::function<void(app::TMainForm &, pages::RecordingDialogs &)> run;
};

Step toolMode(int mode) {
    return {S("mode %1").arg(mode),
            [mode](app::TMainForm &w, pages::RecordingDialogs &) { test::choose(w.Mode, mode); }};
}
Step connected(DeviceModel m) {
    return {S("connected %1").arg(core::modelCode(m)),
            [m](app::TMainForm &w, pages::RecordingDialogs &) { w.ModelAdaptation(m); }};
}
Step load(const QString &path) {
    return {S("load"), [path](app::TMainForm &w, pages::RecordingDialogs &d) {
                d.fileNames = {path};
                d.answers = {true, true, true};
                w.LoadButtonClick(w.LoadButton);
            }};
}
Step factory() {
    return {S("default"), [](app::TMainForm &w, pages::RecordingDialogs &) {
                w.DefaultButtonClick(w.DefaultButton);
            }};
}

} // namespace

class TestPageOrder : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyOrder_endsAsAWindowBuiltAtStart_data();
    void everyOrder_endsAsAWindowBuiltAtStart();
    void everyControl_reportsItsValueToTheModel_data();
    void everyControl_reportsItsValueToTheModel();

  private:
    QTemporaryDir m_dir;
};

void TestPageOrder::initTestCase() {
    QVERIFY(m_dir.isValid());
    test::provideLibraries(S(Q7X_LANGUAGE_LIBRARY_DIR));
}

void TestPageOrder::cleanupTestCase() {
    pages::FormBase::setBuildAllPagesAtStart(false);
    QFile::remove(lang::IniPath());
}

void TestPageOrder::everyOrder_endsAsAWindowBuiltAtStart_data() {
    QTest::addColumn<QByteArray>("language");
    for (const char *language : {"Russian", "English", "Turkish"})
        QTest::newRow(language) << QByteArray(language);
}

void TestPageOrder::everyOrder_endsAsAWindowBuiltAtStart() {
    QFETCH(QByteArray, language);
    test::writeIni("[Lang]\nDefault=" + language + '\n');
    const QList<QList<Step>> scenarios = {
        {},
        {toolMode(0)},
        {toolMode(2), connected(DeviceModel::Q71)},
        {toolMode(2), connected(DeviceModel::Q72), load(fileOf(m_dir, DeviceModel::Q72, 3))},
        {load(fileOf(m_dir, DeviceModel::Q72, 5)), factory()},
        {toolMode(0), load(fileOf(m_dir, DeviceModel::Q71, 7)), toolMode(1)},
        {load(fileOf(m_dir, DeviceModel::Q72, 11)), load(fileOf(m_dir, DeviceModel::Q72, 12))},
    };
    std::mt19937 rng(unsigned(qHash(language)));
    int windows = 0;
    for (int s = 0; s < scenarios.size(); ++s) {
        const QList<Step> &steps = scenarios[s];
        const bool shown = s % 2 == 1; // some windows are on screen while their pages are built
        pages::RecordingDialogs refDialogs;
        pages::FormBase::setBuildAllPagesAtStart(true);
        app::TMainForm reference(&refDialogs);
        pages::FormBase::setBuildAllPagesAtStart(false);
        // An assistive tool is active, so that the controls' names are compared too.
        QAccessible::setActive(true);
        if (shown)
            reference.show();
        for (const Step &step : steps)
            step.run(reference, refDialogs);
        const QMap<QString, QString> expected = snapshot(reference);

        // Pages 1..6 built in three orders; each page at a random moment between the steps,
        // by showing it, by a look-up of one of its controls, or by asking for it.
        std::vector<int> order{1, 2, 3, 4, 5, 6};
        for (int round = 0; round < 3; ++round) {
            if (round == 1)
                std::reverse(order.begin(), order.end());
            else if (round == 2)
                std::shuffle(order.begin(), order.end(), rng);
            pages::RecordingDialogs dialogs;
            app::TMainForm w(&dialogs);
            QAccessible::setActive(true);
            QVERIFY(!w.pageBuilt(order.front()));
            if (shown)
                w.show();
            std::vector<int> when(order.size());
            for (int &at : when)
                at = std::uniform_int_distribution<int>(0, int(steps.size()))(rng);
            QStringList done;
            for (int i = 0; i <= steps.size(); ++i) {
                for (std::size_t k = 0; k < order.size(); ++k) {
                    if (when[k] != i)
                        continue;
                    const int page = order[k];
                    switch ((page + round) % 3) {
                    case 0:
                        w.PageControl1->setCurrentIndex(page);
                        w.PageControl1->setCurrentIndex(0);
                        break;
                    case 1:
                        // A control of the page looked up by name, or used through its member.
                        if (page == 1)
                            QVERIFY(w.controls().find(S("TypeMesgGSM1")));
                        else if (page == 2)
                            QVERIFY(w.namesPage().LangChange->items().size() > 1);
                        else if (page == 6)
                            QVERIFY(w.relayPage().ReleControl1->count() > 1);
                        else
                            w.buildPage(page);
                        break;
                    default:
                        w.buildPage(page);
                    }
                    done << S("page %1").arg(page);
                }
                if (i < steps.size()) {
                    steps[i].run(w, dialogs);
                    done << steps[i].what;
                }
            }
            const QMap<QString, QString> got = snapshot(w);
            ++windows;
            QCOMPARE(got.keys(), expected.keys());
            QStringList differing;
            for (auto it = expected.begin(); it != expected.end(); ++it)
                if (got.value(it.key()) != it.value())
                    differing << it.key() + S(": ") + got.value(it.key()) + S("  instead of  ") +
                                     it.value();
            QVERIFY2(differing.isEmpty(),
                     qPrintable(done.join(S(", ")) + S("\n") + differing.mid(0, 8).join(S("\n"))));
            // Both windows said the same to the user, and both models hold what the controls show.
            QCOMPARE(dialogs.shown.size(), refDialogs.shown.size());
            QCOMPARE(modelAgainstControls(w), QStringList());
            QCOMPARE(valueDifferences(w.model(), reference.model()), QStringList());
        }
    }
    QCOMPARE(windows, 3 * int(scenarios.size()));
}

void TestPageOrder::everyControl_reportsItsValueToTheModel_data() {
    QTest::addColumn<int>("mode");
    QTest::newRow("demo Q72") << 1;
    QTest::newRow("demo Q71") << 0;
}

// Whoever changes a settings control (a setter that runs no handler, a blocked signal inside it,
// a user's choice, typed text), the model holds what it shows, on pages built before and after.
void TestPageOrder::everyControl_reportsItsValueToTheModel() {
    QFETCH(int, mode);
    test::writeIni("[Lang]\nDefault=Russian\n");
    pages::RecordingDialogs dialogs;
    app::TMainForm w(&dialogs);
    test::choose(w.Mode, mode);
    int changed = 0;
    for (const image::ValueControl &c : image::valueControls()) {
        QWidget *widget = w.controls().find(c.name); // builds its page
        QVERIFY2(widget, qPrintable(c.name));
        if (auto *list = qobject_cast<pages::ComboBox *>(widget)) {
            const int next = list->count() ? (list->itemIndex() + 1) % list->count() : -1;
            if (changed % 3 == 0)
                test::choose(list, next);
            else if (changed % 3 == 1)
                list->setItemIndex(next);
            else
                list->setText(list->itemText(next));
        } else if (auto *group = qobject_cast<pages::RadioGroup *>(widget)) {
            group->setItemIndex((group->itemIndex() + 1) % int(group->items().size()));
        } else if (auto *box = qobject_cast<pages::CheckBox *>(widget)) {
            box->setChecked(!box->isChecked());
        } else if (auto *mask = qobject_cast<pages::MaskEdit *>(widget)) {
            mask->setText(S("+7912"));
        } else if (auto *labeled = qobject_cast<pages::LabeledEdit *>(widget)) {
            labeled->setText(labeled->text() + S("A"));
        } else if (auto *edit = qobject_cast<pages::Edit *>(widget)) {
            edit->setText(edit->text() + S("1"));
        } else {
            QFAIL(qPrintable(c.name + S(" is no settings control")));
        }
        ++changed;
        const QStringList differing = modelAgainstControls(w);
        QVERIFY2(differing.isEmpty(), qPrintable(c.name + S(" changed; the model differs in ") +
                                                 differing.join(S(", "))));
    }
    // A list whose items are replaced keeps or loses its item in the model as on screen.
    pages::ComboBox *list = qobject_cast<pages::ComboBox *>(w.controls().find(S("DialTry1")));
    list->setItemIndex(list->count() - 1);
    list->setItems({S("1")});
    QCOMPARE(modelAgainstControls(w), QStringList());
    QCOMPARE(w.model().values.recipients[0].dialTry, -1);
    QVERIFY(changed > 300);
    // What the model holds is what a save stores.
    const image::Encoded saved = w.encodeImage();
    image::Form shown = w.form();
    pages::readControls(w, shown, nullptr);
    QVERIFY(saved.image == image::encodeForm(shown).image);
}

QTEST_MAIN(TestPageOrder)
#include "tst_pageorder.moc"
