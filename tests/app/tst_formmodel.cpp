// The window and its model agree: seeded sequences of what a user does (choices in lists, ticks,
// typed texts and leaving fields, the tool mode, factory settings, files loaded and saved, a
// device of either model connected and read) applied to the real window and to the form through
// the rules give the same settings, the same view and the same messages after every step.
#include "app/mainform.h"
#include "image/configfile.h"
#include "image/formcontrols.h"
#include "image/formrules.h"
#include "image/presets.h"
#include "lang/ini.h"
#include "lang/messagetable.h"
#include "pages/formbinding.h"
#include "reachable.h"

#include "../image/seededsettings.h"

#include <QStackedWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <random>

using namespace q7x;
using core::DeviceModel;
using image::EditKind;
using image::Form;

namespace {

using test::reachable;

QString S(const char *s) { return QString::fromUtf8(s); }

QString shownText(const image::Shown &s) {
    return QStringLiteral("%1%2").arg(s.visible ? "v" : "H", s.enabled ? "e" : "D");
}

// The controls in which two forms differ, with both states.
QStringList differences(const Form &window, const Form &model) {
    QStringList out;
    Form a = window, b = model;
    for (const image::ValueControl &c : image::valueControls()) {
        QString x, y;
        switch (c.kind) {
        case image::ValueControl::Kind::Item:
            x = QString::number(c.item(a.values));
            y = QString::number(c.item(b.values));
            break;
        case image::ValueControl::Kind::Tick:
            x = c.tick(a.values) ? S("x") : S("o");
            y = c.tick(b.values) ? S("x") : S("o");
            break;
        case image::ValueControl::Kind::Text:
            x = c.text(a.values);
            y = c.text(b.values);
            break;
        }
        if (x != y)
            out << S("%1: window %2, model %3").arg(c.name, x, y);
    }
    if (a.values.objectPasswords != b.values.objectPasswords)
        for (int o = 0; o < image::ObjectTableRows; ++o)
            if (a.values.objectPasswords[std::size_t(o)] !=
                b.values.objectPasswords[std::size_t(o)])
                out << S("password of object %1").arg(o + 1);
    for (const image::ViewControl &c : image::viewControls())
        if (c.shown(a.view) != c.shown(b.view))
            out << S("%1: window %2, model %3")
                       .arg(c.name, shownText(c.shown(a.view)), shownText(c.shown(b.view)));
    const struct {
        const char *name;
        bool x, y;
    } tabs[] = {
        {"names tab", a.view.namesTab, b.view.namesTab},
        {"dial groups tab", a.view.dialGroupsTab, b.view.dialGroupsTab},
        {"digital tab", a.view.digitalTab, b.view.digitalTab},
        {"blitz tab", a.view.blitzTab, b.view.blitzTab}, // HEADING
    };
    for (const auto &t : tabs)
        if (t.x != t.y)
            out << S("%1: window %2, model %3").arg(S(t.name)).arg(t.x).arg(t.y);
    for (int k = 0; k < image::PartitionCount; ++k)
        if (a.view.objectRows[std::size_t(k)].object != b.view.objectRows[std::size_t(k)].object)
            out << S("LabelOb%1: window %2, model %3")
                       .arg(k + 1)
                       .arg(a.view.objectRows[std::size_t(k)].object,
                            b.view.objectRows[std::size_t(k)].object);
    for (int r = 0; r < image::RecipientCount; ++r)
        if (a.view.recipients[std::size_t(r)].blitzItem !=
            b.view.recipients[std::size_t(r)].blitzItem)
            out << S("blitz item of TypeMesgGSM%1").arg(r + 1);
    if (a.view.objectListLast != b.view.objectListLast)
        out << S("object lists: window %1, model %2")
                   .arg(a.view.objectListLast)
                   .arg(b.view.objectListLast);
    if (a.model != b.model)
        out << S("model");
    if (a.toolMode != b.toolMode)
        out << S("tool mode: window %1, model %2").arg(a.toolMode).arg(b.toolMode);
    if (a.formShown != b.formShown || a.interactive != b.interactive)
        out << S("window flags");
    return out;
}

// Both what the window's controls show and the window's own model against the pure rules' form:
// the controls follow the model, and every change of a control reaches the model.
QStringList windowDifferences(const pages::FormBase &window, const Form &expected) {
    Form shown = window.form();
    pages::readControls(window, shown, nullptr);
    QStringList out = differences(shown, expected);
    for (const QString &d : differences(window.form(), expected))
        out << S("window's model: ") + d;
    return out;
}

class Pair {
  public:
    Pair(const QString &language, unsigned seed) : rng(seed), seeded(seed * 7919u + 1u) {
        seeded.objectPool = {0, 1, 1, 2, 7, 12, 999, 1000, 5000};
        dialogs = new pages::RecordingDialogs;
        window = std::make_unique<app::TMainForm>(dialogs);
        window->show();
        window->buildAllPages(); // every control takes part
        model = image::startForm(language);
        for (QWidget *c : window->findChildren<QWidget *>())
            if (!pages::vclClassOf(c).isEmpty() && image::valueControl(c->objectName()))
                controls << c;
        controls << window->Mode;
    }

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

    image::ConfigImage randomImage(DeviceModel m) {
        image::ConfigImage img = image::presetImage(m, pick(6));
        const int how = pick(10);
        if (how < 5) {
            const image::Encoded e = m == DeviceModel::Q71 ? image::encodeQ71(seeded.q71())
                                                           : image::encodeQ72(seeded.q72());
            if (e.ok())
                img = e.image;
        } else if (how < 9) {
            for (int n = 1 + pick(6); n > 0; --n)
                img[std::size_t(pick(m == DeviceModel::Q71 ? 320 : 512))] = std::uint8_t(pick(256));
        } else {
            for (auto &b : img)
                b = std::uint8_t(pick(256));
        }
        return img;
    }

    // One thing a user does, to both; what it was.
    QString step();

    // Messages the model raised in the window's words.
    void expectNotices(const image::FormEffects &fx) {
        for (const image::FormNotice &n : fx.notices)
            if (n.kind != image::FormNotice::Kind::Focus && !n.state)
                expected << pages::noticeText(*window, n);
    }

    std::mt19937 rng;
    image::Seeded seeded;
    pages::RecordingDialogs *dialogs;
    std::unique_ptr<app::TMainForm> window;
    Form model;
    QList<QWidget *> controls;
    QStringList expected;
    QTemporaryDir dir;
};

QString Pair::step() {
    const int action = pick(100);
    app::TMainForm &w = *window;
    image::FormEffects fx;
    QList<bool> answers;
    for (int i = 0; i < 8; ++i)
        answers << (pick(2) == 0);
    dialogs->answers = answers;
    QString what;
    if (action < 4) {
        what = S("default");
        w.DefaultButtonClick(w.DefaultButton);
        image::restoreDefaults(model, fx);
    } else if (action < 9) {
        what = S("load");
        const DeviceModel m =
            pick(8) == 0 ? (w.DeviceModel == DeviceModel::Q71 ? DeviceModel::Q72 : DeviceModel::Q71)
                         : w.DeviceModel;
        const image::ConfigImage img = randomImage(m);
        const QString path = dir.filePath(S("f.cfg"));
        image::writeConfigFile(path, img, m);
        dialogs->fileNames = {path};
        w.LoadButtonClick(w.LoadButton);
        if (m == model.model)
            image::loadFile(model, img, fx);
        else
            expected << lang::M(1215);
    } else if (action < 11) {
        what = S("save");
        dialogs->fileNames = {dir.filePath(S("s.cfg"))};
        w.SaveButtonClick(w.SaveButton);
        const image::Encoded e = image::encodeForm(model);
        if (!e.ok())
            expected << e.error;
    } else if (action < 13) {
        const DeviceModel m = pick(2) ? DeviceModel::Q71 : DeviceModel::Q72;
        what = S("connect %1").arg(core::modelCode(m));
        if (w.Mode->itemIndex() != 2) {
            w.Mode->setCurrentIndex(2);
            emit w.Mode->activated(2);
            image::userEdit(model, S("Mode"), EditKind::Choose, 2, fx);
        }
        w.ModelAdaptation(m);
        image::adaptToModel(model, m, fx);
        const image::ConfigImage img = randomImage(m);
        w.HandOverImage(m, std::vector<std::uint8_t>(img.begin(), img.end()));
        image::readImage(model, img, fx);
    } else {
        QList<QWidget *> candidates;
        for (QWidget *c : controls)
            if (reachable(c, &w))
                candidates << c;
        QMap<QString, QList<QWidget *>> families;
        for (QWidget *c : candidates) {
            QString prefix = c->objectName();
            while (!prefix.isEmpty() && prefix.back().isDigit())
                prefix.chop(1);
            families[prefix] << c;
        }
        const QList<QWidget *> &members =
            std::next(families.cbegin(), pick(int(families.size()))).value();
        QWidget *c = members[pick(int(members.size()))];
        const QString name = c->objectName();
        what = name;
        if (auto *list = qobject_cast<pages::ComboBox *>(c)) {
            const int index = list->count() > 40 && pick(2) ? pick(list->count())
                                                            : pick(std::min(list->count(), 40));
            what += S(" choose %1").arg(index);
            list->setCurrentIndex(index);
            emit list->activated(index);
            image::userEdit(model, name, EditKind::Choose, index, fx);
        } else if (auto *box = qobject_cast<pages::CheckBox *>(c)) {
            what += S(" click");
            box->click();
            image::userEdit(model, name, EditKind::Click, box->isChecked(), fx);
        } else if (auto *group = qobject_cast<pages::RadioGroup *>(c)) {
            const int i = pick(int(group->items().size()));
            what += S(" click %1").arg(i);
            group->button(i)->click();
            image::userEdit(model, name, EditKind::Choose, i, fx);
        } else {
            pages::Edit *e = qobject_cast<pages::Edit *>(c);
            if (!e)
                e = qobject_cast<pages::LabeledEdit *>(c)->edit();
            const int kind = pick(4);
            if (kind == 0) {
                what += S(" click");
                if (e->onClick)
                    e->onClick(e);
                image::userEdit(model, name, EditKind::Click, {}, fx);
            } else if (kind == 1) {
                what += S(" leave");
                const int k = name.mid(4).toInt();
                const bool asks = name.startsWith(S("Edit")) && image::blitzCodeAsks(model, k);
                if (e->onExit)
                    e->onExit(e);
                image::userEdit(model, name, EditKind::Leave, asks ? answers.value(0, true) : false,
                                fx);
            } else {
                const QString chars = S("0123456789*# +-BWTPbwtpAzДом_№");
                QString text = kind == 2 ? e->text() : QString();
                for (int n = pick(14); n > 0; --n)
                    text.insert(pick(int(text.size()) + 1), chars[pick(int(chars.size()))]);
                what += S(" type ") + text;
                e->setText(text);
                const QString typed =
                    qobject_cast<pages::MaskEdit *>(e)
                        ? pages::maskSettingOf(qobject_cast<pages::MaskEdit *>(e)->text())
                        : text;
                image::userEdit(model, name, EditKind::Type, typed, fx);
            }
        }
    }
    expectNotices(fx);
    return what;
}

} // namespace

class TestFormModel : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        for (int k = 0; k < lang::MessageCount; ++k)
            lang::MessageTable()[std::size_t(k)] = QStringLiteral("M%1").arg(1000 + k);
    }
    void cleanup() { QFile::remove(lang::IniPath()); }
    void windowFollowsTheRules_data();
    void windowFollowsTheRules();
};

void TestFormModel::windowFollowsTheRules_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<unsigned>("seed");
    QTest::addColumn<int>("steps");
    // Q7X_FORM_STEPS and Q7X_FORM_SEEDS run longer campaigns by hand.
    const int steps = qEnvironmentVariableIntValue("Q7X_FORM_STEPS");
    const int seeds = std::max(1, qEnvironmentVariableIntValue("Q7X_FORM_SEEDS"));
    for (unsigned seed = 1; seed <= unsigned(seeds); ++seed)
        for (const char *language : {"Russian", "English", "none"})
            QTest::addRow("%s-%u", language, seed) << S(language) << seed << (steps ? steps : 2000);
}

void TestFormModel::windowFollowsTheRules() {
    QFETCH(QString, language);
    QFETCH(unsigned, seed);
    QFETCH(int, steps);
    QFile::remove(lang::IniPath());
    if (language != S("none")) {
        QFile ini(lang::IniPath());
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Lang]\nDefault=" + language.toUtf8() + "\n");
    }
    Pair pair(language == S("none") ? S("Error") : language, seed);
    for (int k = 0; k < lang::MessageCount; ++k)
        lang::MessageTable()[std::size_t(k)] = QStringLiteral("M%1").arg(1000 + k);
    {
        const QStringList diff = windowDifferences(*pair.window, pair.model);
        QVERIFY2(diff.isEmpty(), qPrintable(S("at start: ") + diff.mid(0, 40).join(S("; "))));
    }
    pair.dialogs->clear();
    int stepsOf[2] = {0, 0};
    for (int i = 1; i <= steps; ++i) {
        ++stepsOf[pair.model.model == DeviceModel::Q71 ? 0 : 1];
        const QString what = pair.step();
        const QStringList diff = windowDifferences(*pair.window, pair.model);
        QVERIFY2(diff.isEmpty(),
                 qPrintable(S("step %1 (%2): ").arg(i).arg(what) + diff.mid(0, 40).join(S("; "))));
        QStringList shown;
        for (const auto &s : pair.dialogs->shown)
            if (s.kind == S("message"))
                shown << s.text;
        pair.dialogs->clear();
        QCOMPARE(shown, pair.expected);
        pair.expected.clear();
    }
    // Both models had their share of the edits.
    QVERIFY2(stepsOf[0] >= steps / 4 && stepsOf[1] >= steps / 4,
             qPrintable(S("Q71 %1, Q72 %2 steps").arg(stepsOf[0]).arg(stepsOf[1])));
}

QTEST_MAIN(TestFormModel)
#include "tst_formmodel.moc"
