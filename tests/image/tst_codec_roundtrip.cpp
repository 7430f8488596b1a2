// Many configurations through the window: settings made as a user makes them give an image that
// reads back into the window and encodes to the same image again; any image at all decodes
// without harm.
#include "codecfixture.h"
#include "image/layout.h"

#include <random>

using namespace codectest;
using pages::CheckBox;
using pages::ComboBox;
using pages::Dialogs;

namespace {

#ifdef Q7X_ROUNDTRIP_CASES
constexpr int CasesPerModel = Q7X_ROUNDTRIP_CASES;
#else
constexpr int CasesPerModel = 1000;
#endif

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
        list(w.relayPage().ReleControl1);
        if (w.relayPage().ReleWorkMode1->isEnabled())
            w.relayPage().ReleWorkMode1->setItemIndex(pick(7));
        for (const char *n : {"TimeRzmk1", "TimeZmk1", "TimePeriod1", "InvRele1"})
            if (coin())
                lists({n});
        boxes({"AlarmEvent", "BoxDamage", "OnOffLine", "OnOffAllLine", "ErrorFire", "NoConnect",
               "ErrorPower", "RadioChanBlck", "DamageCD", "ErrorInterface", "NoLine", "PowerCD"},
              1);
        boxes({"iz1"}, 16);
    }

    // Object numbers from a small pool, so partitions share objects often.
    void objects(DeviceModel model) {
        const int pool[] = {0, 1, 1, 2, 3, 7, 12, 999, 1234, 9999};
        for (int p = 1; p <= 16; ++p) {
            ComboBox *obj = m_c.combo(S("ObjNmb"), p);
            if (coin())
                list(obj, std::min(coin() ? pool[pick(10)] : pick(obj->count()), obj->count() - 1));
            if (coin())
                list(m_c.combo(S("RzdNmb"), p));
        }
        if (model == pages::DeviceModel::Q72) {
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
        list(m_win.w().mainPage().WorkModeComboBox);
        m_win.w().namesPage().LangChange->setItemIndex(pick(3));
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
        objects(pages::DeviceModel::Q72);

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
        list(m_win.w().mainPage().WorkModeComboBox);
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
        objects(pages::DeviceModel::Q71);
        for (int k = 1; k <= 12; ++k)
            edit(m_c.edit(S("Dig"), k), digits(3));
        edit(m_c.edit(S("Dig13")), digits(4));
    }

  private:
    Window &m_win;
    const pages::Controls &m_c;
    std::mt19937 &m_rng;
};

QString firstDifference(const ConfigImage &a, const ConfigImage &b) {
    for (int i = 0; i < image::ImageSize; ++i)
        if (a[i] != b[i])
            return QStringLiteral("byte %1: %2 then %3").arg(i).arg(a[i]).arg(b[i]);
    return QString();
}

} // namespace

class TstCodecRoundTrip : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { numberMessages(); }
    void windowImageWindowImage_data();
    void windowImageWindowImage();
    void anyImageDecodes_data();
    void anyImageDecodes();
};

void TstCodecRoundTrip::windowImageWindowImage_data() {
    QTest::addColumn<DeviceModel>("model");
    QTest::addRow("Q71") << pages::DeviceModel::Q71;
    QTest::addRow("Q72") << pages::DeviceModel::Q72;
}

// Settings made through the window encode to an image that, decoded over other settings, encodes
// to itself again; a valid image never draws a message from the decoder.
void TstCodecRoundTrip::windowImageWindowImage() {
    QFETCH(DeviceModel, model);
    Window win(model);
    std::mt19937 rng(20261206u + unsigned(model));
    Settings settings(win, rng);
    auto makeSettings = [&] {
        if (model == pages::DeviceModel::Q71)
            settings.q71();
        else
            settings.q72();
    };
    for (int n = 0; n < CasesPerModel; ++n) {
        makeSettings();
        const image::Encoded first = win.w().encodeImage();
        QVERIFY2(first.ok(), qPrintable(QStringLiteral("case %1: %2").arg(n).arg(first.error)));
        // Other settings before the decode, so every value must come from the image.
        makeSettings();
        for (int o = 1; o <= image::ObjectTableRows; ++o)
            win.w().setPasswordRow(o, {0x11, 0x11, 0x11});
        win.dialogs.clear();
        win.w().readImage(first.image);
        QVERIFY2(
            win.dialogs.shown.isEmpty(),
            qPrintable(QStringLiteral("case %1: %2").arg(n).arg(win.dialogs.texts().value(0))));
        const image::Encoded second = win.w().encodeImage();
        QVERIFY2(second.ok(), qPrintable(second.error));
        QVERIFY2(first.image == second.image,
                 qPrintable(QStringLiteral("case %1: %2")
                                .arg(n)
                                .arg(firstDifference(first.image, second.image))));
    }
}

void TstCodecRoundTrip::anyImageDecodes_data() { windowImageWindowImage_data(); }

// Random images, and valid images with a few bytes damaged: the decoders never crash, never
// index outside the object password table, the telephone-line decoder shows no message and the
// GSM decoder ends every reported image on the factory preset.
void TstCodecRoundTrip::anyImageDecodes() {
    QFETCH(DeviceModel, model);
    Window win(model);
    std::mt19937 rng(7u + unsigned(model));
    std::uniform_int_distribution<int> byte(0, 255);
    const ConfigImage base = win.w().encodeImage().image;
    for (int n = 0; n < 300; ++n) {
        ConfigImage img = base;
        if (n % 2 == 0) {
            for (auto &b : img)
                b = std::uint8_t(byte(rng));
        } else {
            for (int k = 0; k < 1 + n % 5; ++k)
                img[std::size_t(std::uniform_int_distribution<int>(0, 511)(rng))] =
                    std::uint8_t(byte(rng));
        }
        win.dialogs.clear();
        win.w().readImage(img);
        if (model == pages::DeviceModel::Q71) {
            QVERIFY2(win.dialogs.shown.isEmpty(), qPrintable(win.dialogs.texts().value(0)));
            QStringList listing = win.w().Memo3->lines();
            QCOMPARE(listing.size(), 300);
            QCOMPARE(listing[299], QString::number(img[299]));
        } else if (!win.dialogs.shown.isEmpty()) {
            QCOMPARE(win.dialogs.shown.last().icon, Dialogs::Icon::Warning);
            for (int i = 0; i + 1 < win.dialogs.shown.size(); ++i)
                QCOMPARE(win.dialogs.shown[i].icon, Dialogs::Icon::Error);
            const int mode = win.w().mainPage().WorkModeComboBox->itemIndex();
            QVERIFY(mode >= 0 && mode < 6);
            QString why;
            QVERIFY2(sameBits(win.w().encodeImage().image, preset(DeviceModel::Q72, mode),
                              DeviceModel::Q72, 1, &why),
                     qPrintable(why));
        }
    }
}

QTEST_MAIN(TstCodecRoundTrip)
#include "tst_codec_roundtrip.moc"
