// `set` on a file is the window after the same change and Save: seeded single-setting changes
// of both models, each made by q7xctl's changes on a file and by a person's edit of the control
// in a freshly started window that loaded the same file (a list's choice, a tick, a text typed
// and the field left), then compared byte for byte. A change `set` refuses is one the window
// does not offer (the control is disabled or hidden) or does not keep (Save stores something
// else); one it takes is one the window offers.
#include "app/mainform.h"
#include "cli/changes.h"
#include "cli/jsonwriter.h"
#include "cli/models.h"
#include "cli/settingvalues.h"
#include "image/configfile.h"
#include "image/formcontrols.h"
#include "image/formload.h"
#include "image/formreach.h"
#include "image/presets.h"
#include "pages/formbinding.h"
#include "reachable.h"
#include "testsupport.h"

#include "seededsettings.h"

#include <QStackedWidget>
#include <QTemporaryDir>

#include <random>

using namespace q7x;
using core::DeviceModel;
using image::ConfigImage;

namespace {

using test::reachable;

QString S(const char *s) { return QString::fromUtf8(s); }

// Changes compared byte for byte per model, at least; the sanitizer build compares fewer.
#ifndef Q7X_SET_WINDOW_CHANGES
#define Q7X_SET_WINDOW_CHANGES 300
#endif
constexpr int Compared = Q7X_SET_WINDOW_CHANGES;

// Files the window would write as they stand: the presets and seeded configurations.
QList<ConfigImage> bases(DeviceModel model, unsigned seed) {
    QList<ConfigImage> out;
    for (int mode = 0; mode < image::PresetWorkModeCount; ++mode)
        if (image::imageToWrite(model, image::presetImage(model, mode), std::nullopt).ok())
            out << image::writeAfterLoad(model, image::presetImage(model, mode)).image;
    image::Seeded seeded(seed);
    seeded.objectPool = {0, 1, 1, 2, 7, 12, 999};
    while (out.size() < 24) {
        const image::Encoded e = model == DeviceModel::Q71 ? image::encodeQ71(seeded.q71())
                                                           : image::encodeQ72(seeded.q72());
        if (e.ok() && image::imageToWrite(model, e.image, std::nullopt).ok())
            out << e.image;
    }
    return out;
}

class Session {
  public:
    explicit Session(unsigned seed) : rng(seed) {}

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

    QString digits(int n) {
        QString out;
        for (int i = 0; i < n; ++i)
            out += QChar('0' + pick(10));
        return out;
    }
    QString from(const QString &alphabet, int n) {
        QString out;
        for (int i = 0; i < n; ++i)
            out += alphabet[pick(int(alphabet.size()))];
        return out;
    }

    // A text for the field as an installer would type it, sometimes one the window refuses.
    QString text(const QString &key) {
        const bool odd = pick(8) == 0;
        if (key.endsWith(S(".phone")) || key == S("smsCentre"))
            return pick(6) == 0 ? QString()
                   : odd        ? digits(1 + pick(18))
                                : S("+") + digits(1 + pick(15));
        if (key == S("pin"))
            return pick(5) == 0 ? QString() : digits(odd ? 5 : 1 + pick(4));
        if (key == S("balanceRequest"))
            return from(odd ? S("*#0123456789ab") : S("*#0123456789"), pick(odd ? 20 : 16));
        if (key.startsWith(S("blitzCodes.")))
            return pick(4) == 0 ? QString() : digits(odd ? 6 : 1 + pick(4));
        if (key.startsWith(S("digitalCode")))
            return pick(4) == 0 ? QString()
                                : digits(odd                         ? 1 + pick(6)
                                         : key == S("digitalCode13") ? 4
                                                                     : 3);
        if (key.startsWith(S("ownNames.")))
            return from(odd ? S("abcXYZ№€") : S("Дом абвгдежзийклмн"), 1 + pick(odd ? 14 : 12));
        if (key.endsWith(S(".password")))
            return pick(4) == 0 ? QString() : digits(odd ? 1 + pick(8) : 3 + pick(4));
        return digits(pick(8));
    }

    std::mt19937 rng;
};

struct Window {
    pages::RecordingDialogs dialogs;
    app::TMainForm w{&dialogs};
    Window(DeviceModel model, const QString &file) {
        w.show();
        if (model == DeviceModel::Q71)
            test::choose(w.Mode, 0);
        dialogs.fileNames = {file};
        w.LoadButtonClick(w.LoadButton);
    }
    // Save: the image stored, or nothing when the window refused to store it.
    std::optional<ConfigImage> save(const QString &path) {
        QFile::remove(path);
        dialogs.fileNames = {path};
        w.SaveButtonClick(w.SaveButton);
        const image::ConfigFileRead read = image::readConfigFile(path);
        return read.image ? std::optional(*read.image) : std::nullopt;
    }
};

// The edit of the control as a person makes it; false when the control offers no such value.
template <class S>
bool edit(Window &win, const image::CatalogueField<S> &f, const QString &control,
          const QVariant &value, const QString &text) {
    QWidget *widget = win.w.controls().widget(control);
    if (auto *list = qobject_cast<pages::ComboBox *>(widget)) {
        const int item = f.kind == image::FieldKind::Choice
                             ? (value.toBool() ? f.trueItem : 1 - f.trueItem)
                             : value.toInt();
        if (item < 0 || item >= list->count())
            return false;
        test::choose(list, item);
    } else if (auto *group = qobject_cast<pages::RadioGroup *>(widget)) {
        group->button(value.toInt())->click();
    } else if (auto *box = qobject_cast<pages::CheckBox *>(widget)) {
        if (box->isChecked() != value.toBool())
            box->click();
    } else {
        pages::Edit *e = qobject_cast<pages::Edit *>(widget);
        if (!e)
            e = qobject_cast<pages::LabeledEdit *>(widget)->edit();
        win.dialogs.answers = {false}; // "correct it?" of an SMS-Blitz code: no
        if (auto *mask = qobject_cast<pages::MaskEdit *>(e))
            mask->setText(text);
        else
            e->setText(text);
        if (e->onExit)
            e->onExit(e);
    }
    return true;
}

// Whether `img` holds `value` for the field: the same bytes as with the value put in directly.
template <class M>
bool holds(const ConfigImage &img, const image::CatalogueField<typename M::Settings> &f,
           const QVariant &value) {
    auto s = M::decode(img).settings;
    if (!f.set)
        return f.get(s) == value;
    const image::Encoded as = M::encode(s);
    f.set(s, value);
    const image::Encoded wanted = M::encode(s);
    return wanted.ok() && as.ok() && wanted.image == as.image;
}

} // namespace

class TestSetWindow : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        test::writeIni("[Lang]\nDefault=Russian\n");
        test::numberMessages();
    }
    void cleanupTestCase() { QFile::remove(lang::IniPath()); }
    void setIsTheWindowAfterTheSameChange_data();
    void setIsTheWindowAfterTheSameChange();

  private:
    template <class M> void compare(unsigned seed);
};

void TestSetWindow::setIsTheWindowAfterTheSameChange_data() {
    QTest::addColumn<DeviceModel>("model");
    QTest::addRow("Q71") << DeviceModel::Q71;
    QTest::addRow("Q72") << DeviceModel::Q72;
}

void TestSetWindow::setIsTheWindowAfterTheSameChange() {
    QFETCH(DeviceModel, model);
    cli::withModel(model, [&](auto m) { compare<decltype(m)>(2600u + unsigned(model)); });
}

template <class M> void TestSetWindow::compare(unsigned seed) {
    using Settings = typename M::Settings;
    Session session(seed);
    QTemporaryDir dir;
    const QString file = dir.filePath(S("base.cfg")), saved = dir.filePath(S("saved.cfg"));
    const QList<ConfigImage> files = bases(M::model, seed);
    const cli::FieldText words{lang::WindowTexts()};
    QList<const image::CatalogueField<Settings> *> fields;
    for (const auto &f : M::catalogue())
        fields << &f;
    int compared = 0, refused = 0, unchanged = 0;
    for (int attempt = 0; compared < Compared && attempt < 3 * Compared; ++attempt) {
        const ConfigImage base = files[session.pick(int(files.size()))];
        QVERIFY(!image::writeConfigFile(file, base, M::model));
        Window win(M::model, file);
        const image::Form form = win.w.form();
        const Settings shown = M::ofForm(form);
        // What the tool takes for reachable is what a person reaches in the window.
        for (const image::ValueControl &c : image::valueControls()) {
            QWidget *w = win.w.controls().widget(c.name);
            QVERIFY2(image::reachable(form, c.name) == reachable(w, &win.w), qPrintable(c.name));
        }
        // Mostly a setting the window offers now: most of the others are the grids' ticks of
        // partitions and events in no use.
        const image::CatalogueField<Settings> *pick = nullptr;
        for (int tries = 0; tries < 12 && (!pick || !image::reachable(form, pick->control(shown)));
             ++tries)
            pick = fields[session.pick(int(fields.size()))];
        const image::CatalogueField<Settings> &f = *pick;
        const QString control = f.control(shown);
        if (control.isEmpty())
            continue;
        // A value of the setting's range, or a text as typed.
        const cli::ValueRange range = cli::valueRange(f, shown);
        QJsonValue json;
        switch (range.type) {
        case cli::ValueType::Item:
            json = range.items[session.pick(int(range.items.size()))];
            break;
        case cli::ValueType::Boolean:
            json = session.pick(4) ? !f.get(shown).toBool() : session.pick(2) == 0;
            break;
        case cli::ValueType::Integer: {
            const int pool[] = {0, 1, 2, 7, 12, range.maximum, session.pick(range.maximum + 1)};
            json = pool[session.pick(7)];
            break;
        }
        case cli::ValueType::Text:
        case cli::ValueType::Digits:
            json = session.text(f.key);
            break;
        }
        const std::optional<QVariant> value = cli::catalogueValue(f, shown, json);
        if (!value)
            continue; // refused before any control is touched: see tst_cli_fleet
        const QString what = S("%1 = %2").arg(f.key, cli::jsonLiteral(json));
        cli::Change change;
        change.key = f.key;
        change.given = cli::Change::Given::Json;
        change.value = json;
        const cli::Edited byTool = cli::applyChanges(M::model, base, {change}, words);
        if (f.get(shown) == *value) {
            // Not a change: nothing is touched, the file is saved as loaded.
            QVERIFY2(byTool.refusals.isEmpty(), qPrintable(what));
            QVERIFY2(byTool.image == *win.save(saved), qPrintable(what));
            ++unchanged;
            continue;
        }
        QWidget *widget = win.w.controls().widget(control);
        QVERIFY2(widget, qPrintable(control));
        const bool offered = reachable(widget, &win.w);
        if (!byTool.refusals.isEmpty()) {
            ++refused;
            if (!offered)
                continue;
            // Offered, but what the window stores then does not hold the value.
            const bool edited = edit(win, f, control, *value, json.toString());
            const std::optional<ConfigImage> stored = win.save(saved);
            QVERIFY2(!edited || !stored || !holds<M>(*stored, f, *value),
                     qPrintable(what + S(": refused, but the window keeps it: ") +
                                byTool.refusals.join(S(" "))));
            continue;
        }
        QVERIFY2(offered, qPrintable(what + S(": taken, but the window does not offer it")));
        QVERIFY2(edit(win, f, control, *value, json.toString()), qPrintable(what));
        const std::optional<ConfigImage> stored = win.save(saved);
        QVERIFY2(stored, qPrintable(what + S(": the window does not save")));
        if (*stored != byTool.image) {
            QString first;
            for (std::size_t i = 0; i < stored->size() && first.isEmpty(); ++i)
                if ((*stored)[i] != byTool.image[i])
                    first = S("byte %1: window %2, set %3")
                                .arg(i)
                                .arg((*stored)[i])
                                .arg(byTool.image[i]);
            QFAIL(qPrintable(what + S(": ") + first));
        }
        ++compared;
    }
    qInfo("%d changes compared, %d refused, %d without a change", compared, refused, unchanged);
    QVERIFY(compared >= Compared);
    QVERIFY(refused > 0);
}

QTEST_MAIN(TestSetWindow)
#include "tst_set_window.moc"
