// Temporary: the settings codecs and the binding against the window codecs they replace.
#include "codecfixture.h"
#include "image/layout.h"
#include "pages/binding.h"

#include <random>

using namespace codectest;
using pages::CheckBox;
using pages::ComboBox;

namespace {

// Makes random settings as a user makes them: only controls shown and enabled change.
class Settings {
  public:
    Settings(Window &win, std::mt19937 &rng) : m_win(win), m_c(win.c()), m_rng(rng) {}

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    bool coin() { return pick(2) == 1; }
    bool usable(QWidget *w) { return !w->isHidden() && w->isEnabled(); }

    void list(ComboBox *c, int item = -1) {
        if (usable(c) && c->count() > 0)
            choose(c, item >= 0 ? std::min(item, c->count() - 1) : pick(c->count()));
    }
    void lists(std::initializer_list<const char *> names, int from = 0, int to = 0) {
        for (const char *n : names)
            for (int i = from; i <= to; ++i)
                list(m_c.combo(i ? pages::Controls::name(S(n), i) : S(n)));
    }
    // Ticks "<name><i><j>" (j = 0: "<name><i>") for i and j in their ranges, each at random.
    void boxes(std::initializer_list<const char *> names, int iTo, int jTo = 0) {
        for (const char *n : names)
            for (int i = 1; i <= iTo; ++i)
                for (int j = jTo ? 1 : 0; j <= jTo; ++j) {
                    CheckBox *b = j ? m_c.check(S(n), i, j) : m_c.check(S(n), i);
                    if (usable(b) && coin())
                        b->setChecked(!b->isChecked());
                }
    }
    QString from(const QString &chars, int n) {
        QString s;
        for (int i = 0; i < n; ++i)
            s += chars[pick(int(chars.size()))];
        return s;
    }
    QString digits(int n) { return from(S("0123456789"), n); }
    void edit(pages::Edit *e, const QString &text) {
        if (usable(e))
            e->setText(text);
    }

    void relay() {
        auto &w = m_win.w();
        list(w.ReleControl1);
        if (w.ReleWorkMode1->isEnabled())
            w.ReleWorkMode1->setItemIndex(pick(7));
        for (const char *n : {"TimeRzmk1", "TimeZmk1", "TimePeriod1", "InvRele1"})
            if (coin())
                lists({n});
        boxes({"AlarmEvent", "BoxDamage", "OnOffLine", "OnOffAllLine", "ErrorFire", "NoConnect",
               "ErrorPower", "RadioChanBlck", "DamageCD", "ErrorInterface", "NoLine", "PowerCD"},
              1);
        boxes({"iz1"}, 16);
    }

    // Object numbers from a small pool, so partitions share objects often.
    void objects(int model) {
        const int pool[] = {0, 1, 1, 2, 3, 7, 12, 999, 1234, 9999};
        for (int p = 1; p <= 16; ++p) {
            ComboBox *obj = m_c.combo(S("ObjNmb"), p);
            if (coin())
                list(obj, std::min(coin() ? pool[pick(10)] : pick(obj->count()), obj->count() - 1));
            if (coin())
                list(m_c.combo(S("RzdNmb"), p));
        }
        if (model == pages::ModelQ72) {
            boxes({"vz", "sn", "st", "start", "stop"}, 16);
            for (int k = 1; k <= 16; ++k) {
                pages::Edit *password = m_c.edit(S("Password"), k);
                if (!password->isHidden() && coin()) {
                    password->setText(coin() ? digits(3 + pick(4)) : QString());
                    m_win.w().PasswordSave(password);
                }
            }
        }
    }

    void q72() {
        list(m_win.w().WorkModeComboBox);
        m_win.w().LangChange->setItemIndex(pick(3));
        relay();
        lists({"DelayHardware", "DelayTypeAlarm", "DelayRzd", "PeriodRzd", "PeriodHardware",
               "TestLine", "SIMcountCombo", "ControlInput", "Input1", "Input2", "SpeedLine",
               "ZoneNumberCombo", "NextDial", "CmB_EventsArchive", "GsmLostCombo", "CheckConnectCD",
               "PhrasePause"});
        lists({"Alarm", "Arm", "DisArm"}, 1, 4);
        lists({"urgent"}, 1, 12);
        lists({"TypeMesgGSM", "SMS", "DialTry", "WaitTime", "ConfirmMes"}, 1, 8);
        for (int k = 1; k <= 8; ++k)
            edit(m_c.mask(S("PhoneNumber"), k), coin() ? S("+") + digits(1 + pick(15)) : QString());
        boxes({"rzd"}, 8, 16);
        boxes({"event"}, 8, 12);
        edit(m_c.mask(S("PinCode")), coin() ? digits(4) : QString());
        edit(m_c.mask(S("SMSphone")), coin() ? S("+") + digits(1 + pick(15)) : QString());
        edit(m_c.edit(S("RequestBalance")), from(S("0123456789*#"), pick(17)));
        objects(pages::ModelQ72);

        const char *family = !m_c.widget(S("GroupBox8"))->isHidden()    ? "E"
                             : !m_c.widget(S("GroupBox15"))->isHidden() ? "P"
                                                                        : "";
        lists({qPrintable(S("NameRzd") + S(family))}, 1, 16);
        const QString russian = S("abcXYZ 019.-АБВГДЕЁЖЗабвгдеёжзЭЮЯэюя№");
        const QString latin = S("abcdefghijklmnopqrstuvwxyz ABCXYZ0123456789.,-'");
        for (int n = 1; n <= 4; ++n) {
            pages::LabeledEdit *own = m_c.labeledEdit(S("OwnName") + S(family), n);
            if (!own->isHidden())
                own->setText(from(*family ? latin : russian, pick(13)));
        }
        for (int k = 1; k <= 24; ++k) {
            int code = pick(10000);
            if (q7x::image::q72::blitzCodeReadsEmpty(code))
                --code;
            edit(m_c.edit(S("Edit"), k),
                 coin() ? QString::number(code).rightJustified(4, u'0') : QString());
        }
        boxes({"RO"}, 24);
    }

    void q71() {
        list(m_win.w().WorkModeComboBox);
        relay();
        lists({"PeriodHardware", "PickUpDelay", "PeriodRzd", "TestLine", "PauseDial", "PhrasePause",
               "DelayHardware", "DelayRzd", "DelayTypeAlarm", "LostLine", "SpeedLine", "DialMode",
               "NextDial", "CheckConnectCD", "ControlInput", "Input1", "Input2"});
        lists({"Alarm", "Arm", "DisArm"}, 1, 3);
        lists({"urgent"}, 1, 12);
        list(m_c.combo(S("PauseInterval"), 1 + pick(8)));
        lists({"TypeMesgLine", "DialTry", "WaitTime", "ConfirmMes"}, 1, 8);
        for (int k = 1; k <= 8; ++k) {
            edit(m_c.edit(S("LinePhone"), k),
                 coin() ? from(S("0123456789BWTP"), 1 + pick(24)) : QString());
            edit(m_c.edit(S("Password"), 20 + k), coin() ? digits(3 + pick(4)) : QString());
        }
        boxes({"vz2", "sn2", "st2", "start2", "stop2"}, 8);
        boxes({"rzd"}, 8, 16);
        boxes({"event"}, 8, 12);
        boxes({"gr"}, 8, 8);
        objects(pages::ModelQ71);
        for (int k = 1; k <= 12; ++k)
            edit(m_c.edit(S("Dig"), k), digits(3));
        edit(m_c.edit(S("Dig13")), digits(4));
    }

  private:
    Window &m_win;
    const pages::Controls &m_c;
    std::mt19937 &m_rng;
};

QStringList state(app::TMainForm &w) {
    QStringList out;
    for (QWidget *x : w.findChildren<QWidget *>()) {
        if (pages::vclClassOf(x).isEmpty())
            continue;
        QString s = x->objectName() + QLatin1Char(' ') + QString::number(x->isHidden()) +
                    QString::number(!x->testAttribute(Qt::WA_Disabled));
        if (auto *c = qobject_cast<ComboBox *>(x))
            s += QStringLiteral(" i%1 n%2").arg(c->itemIndex()).arg(c->count());
        else if (auto *b = qobject_cast<QAbstractButton *>(x))
            s += QStringLiteral(" c%1").arg(b->isChecked());
        else if (auto *m = qobject_cast<pages::MaskEdit *>(x))
            s += QLatin1Char(' ') + m->text();
        else if (auto *e = qobject_cast<QLineEdit *>(x))
            s += QLatin1Char(' ') + e->text();
        else if (auto *l = qobject_cast<QLabel *>(x))
            s += QLatin1Char(' ') + l->text();
        else if (auto *g = qobject_cast<pages::RadioGroup *>(x))
            s += QStringLiteral(" r%1").arg(g->itemIndex());
        else if (auto *t = qobject_cast<pages::TabSheet *>(x))
            s += QStringLiteral(" t%1").arg(t->tabVisible());
        else if (auto *mm = qobject_cast<pages::Memo *>(x))
            s += QLatin1Char(' ') + mm->toPlainText();
        out << s;
    }
    for (int o = 1; o <= 1000; ++o) {
        const auto r = w.passwordRow(o);
        if (r[0] != 255 || r[1] != 255 || r[2] != 255)
            out << QStringLiteral("pw%1 %2 %3 %4").arg(o).arg(r[0]).arg(r[1]).arg(r[2]);
    }
    out << w.statusText();
    return out;
}

QString firstDiff(const QStringList &a, const QStringList &b) {
    for (int i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i])
            return a[i] + QStringLiteral(" | ") + b[i];
    return a.size() == b.size() ? QString() : QStringLiteral("sizes");
}

} // namespace

class TstCrossCheck : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { numberMessages(); }
    void compare_data() {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("language");
        for (const char *l : {"Russian", "English"}) {
            QTest::addRow("Q71 %s", l) << pages::ModelQ71 << S(l);
            QTest::addRow("Q72 %s", l) << pages::ModelQ72 << S(l);
        }
    }
    void compare() {
        QFETCH(int, model);
        QFETCH(QString, language);
        Window a(model, language), b(model, language);
        std::mt19937 ra(99u + unsigned(model)), rb(99u + unsigned(model)), rimg(5);
        Settings sa(a, ra), sb(b, rb);
        std::uniform_int_distribution<int> byte(0, 255);
        for (int n = 0; n < 400; ++n) {
            if (model == pages::ModelQ71) {
                sa.q71();
                sb.q71();
            } else {
                sa.q72();
                sb.q72();
            }
            QCOMPARE(firstDiff(state(a.w()), state(b.w())), QString());
            const image::LegacyEncoded old = image::EncodeImage(a.w());
            const image::Encoded now = pages::EncodeImage(b.w());
            QCOMPARE(now.error, old.error);
            QVERIFY2(now.image == old.image, qPrintable(QString::number(n)));
            QCOMPARE(firstDiff(state(a.w()), state(b.w())), QString());
            ConfigImage img = old.ok() ? old.image : preset(model, n % 6);
            if (n % 3 == 1)
                for (int k = 0; k < 1 + n % 7; ++k)
                    img[std::size_t(std::uniform_int_distribution<int>(0, 511)(rimg))] =
                        std::uint8_t(byte(rimg));
            else if (n % 3 == 2)
                for (auto &x : img)
                    x = std::uint8_t(byte(rimg));
            a.dialogs.clear();
            b.dialogs.clear();
            image::DecodeImage(a.w(), img);
            pages::DecodeImage(b.w(), img);
            QCOMPARE(b.dialogs.texts(), a.dialogs.texts());
            QCOMPARE(firstDiff(state(a.w()), state(b.w())), QString());
        }
    }
};

QTEST_MAIN(TstCrossCheck)
#include "tst_crosscheck.moc"
