// Checks the main window against its catalogue: every control family with its members, kinds,
// item lists and Tags, the fixed captions, and the states the window shows after construction and
// after its first show. The expected values are written out here as data; nothing is read back
// from the code that builds the window.
#include "app/mainform.h"
#include "pages/controls.h"
#include "pages/dialogs.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

#include <initializer_list>
#include <memory>
#include <utility>

using namespace q7x::pages;

namespace {

QString u8(const char *s) { return QString::fromUtf8(s); }

// prefix + n for n = first..last
QStringList seq(const char *prefix, int first, int last) {
    QStringList out;
    for (int n = first; n <= last; ++n)
        out << u8(prefix) + QString::number(n);
    return out;
}

// prefix + row + column, both without separator and without leading zeros (rzd110, event812)
QStringList grid(const char *prefix, int r1, int r2, int c1, int c2) {
    QStringList out;
    for (int r = r1; r <= r2; ++r)
        for (int c = c1; c <= c2; ++c)
            out << u8(prefix) + QString::number(r) + QString::number(c);
    return out;
}

QStringList texts(std::initializer_list<const char *> list) {
    QStringList out;
    for (const char *s : list)
        out << u8(s);
    return out;
}

const char *const kButton = "TButton|TBitBtn"; // the catalogue says "button" without the kind

// The window's own controls (those with a kind) by name; duplicate names are recorded.
struct Index {
    QHash<QString, QWidget *> byName;
    QStringList duplicates;

    explicit Index(QWidget *form) {
        const auto all = form->findChildren<QWidget *>();
        for (QWidget *w : all) {
            if (vclClassOf(w).isEmpty() || w->objectName().isEmpty())
                continue;
            if (byName.contains(w->objectName()))
                duplicates << w->objectName();
            byName.insert(w->objectName(), w);
        }
    }
    QWidget *get(const QString &name) const { return byName.value(name); }
    int countMatching(const QString &prefix) const {
        const QRegularExpression re(QStringLiteral("^%1\\d+$").arg(prefix));
        int n = 0;
        for (auto it = byName.cbegin(); it != byName.cend(); ++it)
            n += re.match(it.key()).hasMatch() ? 1 : 0;
        return n;
    }
};

// The caption a person reads on a control, whatever its kind.
QString captionOf(QWidget *w) {
    if (auto *le = qobject_cast<LabeledEdit *>(w))
        return le->labelCaption();
    if (auto *tab = qobject_cast<TabSheet *>(w))
        return tab->caption();
    if (auto *label = qobject_cast<QLabel *>(w))
        return label->text();
    if (auto *button = qobject_cast<QAbstractButton *>(w))
        return button->text();
    if (auto *group = qobject_cast<QGroupBox *>(w))
        return group->title();
    return {};
}

QString textOf(QWidget *w) {
    if (auto *combo = qobject_cast<ComboBox *>(w))
        return combo->text();
    if (auto *mask = qobject_cast<MaskEdit *>(w))
        return mask->text();
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        return edit->text();
    if (auto *le = qobject_cast<LabeledEdit *>(w))
        return le->text();
    return captionOf(w);
}

int indexOf(QWidget *w) {
    if (auto *combo = qobject_cast<ComboBox *>(w))
        return combo->itemIndex();
    if (auto *group = qobject_cast<RadioGroup *>(w))
        return group->itemIndex();
    return -2;
}

QStringList itemsOf(QWidget *w) {
    if (auto *combo = qobject_cast<ComboBox *>(w))
        return combo->items();
    if (auto *group = qobject_cast<RadioGroup *>(w))
        return group->items();
    return {};
}

bool checkedOf(QWidget *w) {
    auto *button = qobject_cast<QAbstractButton *>(w);
    return button && button->isChecked();
}

// A control's own Enabled and Visible flags, independent of its parents.
bool ownEnabled(QWidget *w) { return !w->testAttribute(Qt::WA_Disabled); }
bool ownVisible(QWidget *w) { return !w->isHidden(); }

enum class P { Index, Text, Checked, Enabled, Visible, Highlighted, TabVisible };

struct Expect {
    QStringList names;
    P prop;
    QVariant value;
};

QVariant read(QWidget *w, P prop) {
    switch (prop) {
    case P::Index:
        return indexOf(w);
    case P::Text:
        return textOf(w);
    case P::Checked:
        return checkedOf(w);
    case P::Enabled:
        return ownEnabled(w);
    case P::Visible:
        return ownVisible(w);
    case P::Highlighted:
        if (auto *tab = qobject_cast<TabSheet *>(w))
            return tab->highlighted();
        return QVariant();
    case P::TabVisible:
        if (auto *tab = qobject_cast<TabSheet *>(w))
            return tab->tabVisible();
        return QVariant();
    }
    return QVariant();
}

const char *propName(P prop) {
    switch (prop) {
    case P::Index:
        return "item index";
    case P::Text:
        return "text";
    case P::Checked:
        return "checked";
    case P::Enabled:
        return "enabled";
    case P::Visible:
        return "visible";
    case P::Highlighted:
        return "highlighted";
    case P::TabVisible:
        return "tab visible";
    }
    return "?";
}

// Checks every expectation and reports all mismatches at once.
QStringList mismatches(const Index &c, const QList<Expect> &expected) {
    QStringList bad;
    for (const Expect &e : expected) {
        for (const QString &name : e.names) {
            QWidget *w = c.get(name);
            if (!w) {
                bad << name + QStringLiteral(": missing");
                continue;
            }
            const QVariant got = read(w, e.prop);
            if (got != e.value)
                bad << QStringLiteral("%1 %2: got '%3', expected '%4'")
                           .arg(name, QLatin1String(propName(e.prop)), got.toString(),
                                e.value.toString());
        }
    }
    return bad;
}

QStringList offDiagonal(const char *prefix, int n) {
    QStringList out;
    for (int r = 1; r <= n; ++r)
        for (int c = 1; c <= n; ++c)
            if (r != c)
                out << u8(prefix) + QString::number(r) + QString::number(c);
    return out;
}

// Each member of a family gets its own value: names[i] -> values[i].
QList<Expect> each(const QStringList &names, P prop, const QVariantList &values) {
    QList<Expect> out;
    for (int i = 0; i < names.size() && i < values.size(); ++i)
        out << Expect{{names[i]}, prop, values[i]};
    return out;
}

QVariantList countingFrom(int first, int n) {
    QVariantList out;
    for (int i = 0; i < n; ++i)
        out << first + i;
    return out;
}

// The states that the constructor, the creation handler and the first show all leave behind: the
// form reset, the constructor's own steps and the creation steps. The factory preset that start-up
// loads (a Q72 in work mode "расширенный (W40)") agrees with every value here.
QList<Expect> expectedAtStartup() {
    QList<Expect> e = {
        {{"Mode"}, P::Index, 1},
        {{"Mode"}, P::Text, u8("демо Q72")},
        {{"PortNumber"}, P::Index, 0},
        {{"PortNumber"}, P::Text, u8("com 1")},
        {{"PortNumber"}, P::Enabled, false},
        {{"USB"}, P::Checked, true},
        {{"COM"}, P::Checked, false},
        {{"ConnectButton", "CancelButton", "ReadButton", "WriteButton", "RunModemButton"},
         P::Enabled,
         false},
        {{"SaveButton", "LoadButton", "DefaultButton"}, P::Enabled, true},
        {{"version"}, P::Text, QString()},
        {{"SelectLang"}, P::Text, u8("Error")},
        {{"VersionLabel", "Label1", "TimeLabel", "DateLabel", "GenTableButton", "Memo1", "Memo2",
          "Memo3", "CheckBox193", "CheckBox1", "LangChange", "ControlInput", "Label267"},
         P::Visible,
         false},
        {seq("OwnName", 1, 4) + seq("OwnNameE", 1, 4) + seq("OwnNameP", 1, 4), P::Visible, false},
        {{"Input1", "Input2", "AlarmTone", "ArmTone", "DisArmTone"}, P::Enabled, false},
        {{"AlarmTone", "ArmTone", "DisArmTone"}, P::Checked, false},
        // relay commands are locked while the relay follows events
        {seq("start", 1, 16) + seq("stop", 1, 16) + seq("start", 21, 28) + seq("stop", 21, 28),
         P::Enabled, false},
        {seq("start", 1, 16) + seq("stop", 1, 16) + seq("start", 21, 28) + seq("stop", 21, 28) +
             seq("vz", 1, 16) + seq("sn", 1, 16) + seq("st", 2, 16) + seq("vz", 21, 28) +
             seq("sn", 21, 28) + seq("st", 21, 28),
         P::Checked, false},
        // commands 6..8 are always allowed: shown ticked and locked
        {grid("cmnd", 1, 16, 6, 8) + seq("CheckBox", 82, 93) + seq("CheckBox", 95, 106), P::Checked,
         true},
        {grid("cmnd", 1, 16, 6, 8) + seq("CheckBox", 82, 93) + seq("CheckBox", 95, 106), P::Enabled,
         false},
        {{"gr11", "gr22", "gr33", "gr44", "gr55", "gr66", "gr77", "gr88"}, P::Checked, true},
        {{"gr11", "gr22", "gr33", "gr44", "gr55", "gr66", "gr77", "gr88"}, P::Enabled, false},
        {offDiagonal("gr", 8), P::Enabled, true},
        {grid("event", 1, 8, 1, 12), P::Enabled, true},
        {{"LangChange", "ReleWorkMode1"}, P::Index, 0},
        {{"ReleControl1", "WorkModeComboBox"}, P::Index, 1},
        {{"PickUpDelay", "DelayTypeAlarm", "DelayRzd", "DelayHardware", "PeriodRzd",
          "PeriodHardware", "TestLine", "Input1", "Input2", "ZoneNumberCombo", "NextDial",
          "PhrasePause"},
         P::Index,
         0},
        {{"ControlInput", "CheckConnectCD", "GsmLostCombo", "PauseDial", "DialMode"}, P::Index, 1},
        {{"LostLine"}, P::Index, 9},
        {seq("urgent", 2, 12), P::Index, 1},
        {seq("ObjNmb", 1, 16), P::Index, 1},
        {seq("TypeMesgLine", 1, 8) + seq("ConfirmMes", 1, 8), P::Index, 0},
        {seq("TypeMesgGSM", 1, 8) + seq("SMS", 1, 8), P::Index, 1},
        {seq("DialTry", 1, 8), P::Index, 4},
        {seq("WaitTime", 1, 8), P::Index, 3},
        {seq("SMS", 1, 8), P::Enabled, true},
        {{"PauseInterval1"}, P::Index, 4},
        {{"PauseInterval1"}, P::Text, u8("2 мин")},
        {{"SMSphone"}, P::Text, u8("+_______________")},
        {{"RequestBalance"}, P::Text, u8("*102#")},
        {{"Label102"}, P::Text, u8("(1-999)")},
    };
    // tone combination: symbol lists, pauses and the preview labels
    const QStringList tones = {"Alarm1", "Alarm2", "Alarm3",  "Alarm4",  "Arm1",    "Arm2",
                               "Arm3",   "Arm4",   "DisArm1", "DisArm2", "DisArm3", "DisArm4"};
    e += each(tones, P::Index, {5, 5, 5, 1, 1, 5, 9, 2, 9, 5, 1, 3});
    e << Expect{tones, P::Enabled, true};
    e += each(texts({"SetAlarm1", "SetAlarm2", "SetAlarm3", "SetArm1", "SetArm2", "SetArm3",
                     "SetDisArm1", "SetDisArm2", "SetDisArm3"}),
              P::Text, {"5", "5", "5", "1", "5", "9", "9", "5", "1"});
    e += each(seq("RzdNmb", 1, 16), P::Index, countingFrom(0, 16));
    e += each(seq("NameRzdE", 1, 16), P::Index, countingFrom(0, 16));
    e += each(seq("NameRzdP", 1, 16), P::Index, countingFrom(0, 16));
    e += each(seq("Dig", 1, 13), P::Text,
              {"140", "383", "384", "401", "355", "373", "110", "356", "344", "137", "350", "302",
               "1602"});
    // the first main page is active and the only highlighted tab
    e << Expect{{"TabSheet1"}, P::Highlighted, true};
    e << Expect{seq("TabSheet", 2, 7), P::Highlighted, false};
    return e;
}

} // namespace

class TestCatalogue : public QObject {
    Q_OBJECT

    std::unique_ptr<RecordingDialogs> m_createdDialogs;
    std::unique_ptr<q7x::app::TMainForm> m_created; // constructed, never shown
    std::unique_ptr<RecordingDialogs> m_shownDialogs;
    std::unique_ptr<q7x::app::TMainForm> m_shown; // constructed and shown once

  private slots:
    void initTestCase();
    void cleanupTestCase();
    void families_data();
    void families();
    void singleControls_data();
    void singleControls();
    void pages();
    void itemLists_data();
    void itemLists();
    void tags_data();
    void tags();
    void fixedTexts();
    void startupStates_data();
    void startupStates();
    void initialStatesFromRules();
};

void TestCatalogue::initTestCase() {
    m_createdDialogs = std::make_unique<RecordingDialogs>();
    m_created = std::make_unique<q7x::app::TMainForm>(m_createdDialogs.get());
    m_shownDialogs = std::make_unique<RecordingDialogs>();
    m_shown = std::make_unique<q7x::app::TMainForm>(m_shownDialogs.get());
    m_shown->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_shown.get()));
    QCOMPARE(Index(m_created.get()).duplicates, QStringList());
}

void TestCatalogue::cleanupTestCase() {
    m_shown.reset();
    m_created.reset();
}

// Family members: names composed from prefix and index, the number of members, the kind.
void TestCatalogue::families_data() {
    QTest::addColumn<QString>("prefix"); // empty: members share their prefix with other controls
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("kind"); // empty: kind not fixed
    QTest::addColumn<QStringList>("names");
    auto add = [](const char *tag, const char *prefix, int count, const char *kind,
                  const QStringList &names) {
        QTest::newRow(tag) << u8(prefix) << count << u8(kind) << names;
    };
    add("rzd", "rzd", 128, "TCheckBox", grid("rzd", 1, 8, 1, 16));
    add("event", "event", 96, "TCheckBox", grid("event", 1, 8, 1, 12));
    add("gr", "gr", 64, "TCheckBox", grid("gr", 1, 8, 1, 8));
    add("dial columns 9..16", "", 64, "TCheckBox",
        seq("CheckBox", 10, 65) + seq("CheckBox", 138, 145));
    add("iz1", "iz1", 16, "TCheckBox", seq("iz1", 1, 16));
    add("cmnd", "cmnd", 48, "TCheckBox", grid("cmnd", 1, 16, 6, 8));
    add("recipient commands 6..8", "", 24, "TCheckBox",
        seq("CheckBox", 82, 93) + seq("CheckBox", 95, 106));
    for (const char *p : {"vz", "sn", "st", "start", "stop"})
        add(p, p, 24, "TCheckBox", seq(p, 1, 16) + seq(p, 21, 28));
    add("Password", "Password", 24, "TEdit", seq("Password", 1, 16) + seq("Password", 21, 28));
    add("LabelOb", "LabelOb", 16, "TLabel", seq("LabelOb", 1, 16));
    add("WordOb", "WordOb", 16, "TLabel", seq("WordOb", 1, 16));
    add("Line", "Line", 16, "", seq("Line", 1, 16));
    add("ObjNmb", "ObjNmb", 16, "TComboBox", seq("ObjNmb", 1, 16));
    add("RzdNmb", "RzdNmb", 16, "TComboBox", seq("RzdNmb", 1, 16));
    add("ComboBox", "", 16, "TComboBox", seq("ComboBox", 11, 18) + seq("ComboBox", 25, 32));
    add("NameRzd", "NameRzd", 16, "TComboBox", seq("NameRzd", 1, 16));
    add("NameRzdE", "NameRzdE", 16, "TComboBox", seq("NameRzdE", 1, 16));
    add("NameRzdP", "NameRzdP", 16, "TComboBox", seq("NameRzdP", 1, 16));
    add("OwnName", "OwnName", 4, "TLabeledEdit", seq("OwnName", 1, 4));
    add("OwnNameE", "OwnNameE", 4, "TLabeledEdit", seq("OwnNameE", 1, 4));
    add("OwnNameP", "OwnNameP", 4, "TLabeledEdit", seq("OwnNameP", 1, 4));
    add("urgent", "urgent", 12, "TComboBox", seq("urgent", 1, 12));
    for (const char *p : {"TypeMesgGSM", "TypeMesgLine", "SMS", "DialTry", "WaitTime", "ConfirmMes",
                          "PauseInterval"})
        add(p, p, 8, "TComboBox", seq(p, 1, 8));
    add("PhoneNumber", "PhoneNumber", 8, "TMaskEdit", seq("PhoneNumber", 1, 8));
    add("LinePhone", "LinePhone", 8, "TEdit", seq("LinePhone", 1, 8));
    add("Dig", "Dig", 13, "TEdit", seq("Dig", 1, 13));
    add("Edit", "Edit", 24, "TEdit", seq("Edit", 1, 24));
    add("RO", "RO", 24, "TCheckBox", seq("RO", 1, 24));
    add("Alarm", "Alarm", 4, "TComboBox", seq("Alarm", 1, 4));
    add("Arm", "Arm", 4, "TComboBox", seq("Arm", 1, 4));
    add("DisArm", "DisArm", 4, "TComboBox", seq("DisArm", 1, 4));
    add("SetAlarm", "SetAlarm", 3, "TLabel", seq("SetAlarm", 1, 3));
    add("SetArm", "SetArm", 3, "TLabel", seq("SetArm", 1, 3));
    add("SetDisArm", "SetDisArm", 3, "TLabel", seq("SetDisArm", 1, 3));
    add("SoundTone", "SoundTone", 3, kButton, seq("SoundTone", 1, 3));
    add("Memo", "Memo", 3, "TMemo", seq("Memo", 1, 3));
    add("TabSheet", "TabSheet", 13, "TTabSheet",
        seq("TabSheet", 1, 12) + QStringList{"TabSheet14"});
}

void TestCatalogue::families() {
    QFETCH(QString, prefix);
    QFETCH(int, count);
    QFETCH(QString, kind);
    QFETCH(QStringList, names);
    QCOMPARE(names.size(), count);
    QCOMPARE(QSet<QString>(names.cbegin(), names.cend()).size(), count);
    const Index c(m_created.get());
    QStringList bad;
    for (const QString &name : names) {
        QWidget *w = c.get(name);
        if (!w)
            bad << name + QStringLiteral(" missing");
        else if (!kind.isEmpty() && !kind.split(u'|').contains(vclClassOf(w)))
            bad << name + QStringLiteral(" is ") + vclClassOf(w);
    }
    QVERIFY2(bad.isEmpty(), qPrintable(bad.join(u'\n')));
    if (!prefix.isEmpty())
        QCOMPARE(c.countMatching(prefix), count);
}

// Index that stand alone, with their kind and, where the catalogue gives it, their caption.
void TestCatalogue::singleControls_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption"); // "-": not checked
    struct Row {
        const char *name, *kind, *caption;
    };
    static const Row rows[] = {
        // window frame
        {"PageControl1", "TPageControl", "-"},
        {"Mode", "TComboBox", "-"},
        {"PortNumber", "TComboBox", "-"},
        {"COM", "TRadioButton", "COM - порт"},
        {"USB", "TRadioButton", "USB - порт"},
        {"ConnectButton", kButton, "Установить "},
        {"CancelButton", kButton, "Разорвать "},
        {"ReadButton", kButton, "Считать"},
        {"WriteButton", kButton, "Записать "},
        {"SaveButton", kButton, "Сохранить"},
        {"LoadButton", kButton, "Загрузить"},
        {"DefaultButton", kButton, "Завод. настройки"},
        {"RunModemButton", kButton, "Запуск модема"},
        {"BitBtn1", "TBitBtn", "Help  "},
        {"SelectLang", "TComboBox", "-"},
        {"pb1", "TProgressBar", "-"},
        {"StatusBar1", "TStatusBar", "-"},
        {"version", "TLabel", "-"},
        // main page
        {"WorkModeComboBox", "TComboBox", "-"},
        {"Input1", "TComboBox", "-"},
        {"Input2", "TComboBox", "-"},
        {"CmB_EventsArchive", "TComboBox", "-"},
        {"ControlInput", "TComboBox", "-"},
        {"CheckConnectCD", "TComboBox", "-"},
        {"NextDial", "TComboBox", "-"},
        {"PhrasePause", "TComboBox", "-"},
        {"SpeedLine", "TComboBox", "-"},
        {"SMSphone", "TMaskEdit", "-"},
        {"PinCode", "TMaskEdit", "-"},
        {"GsmLostCombo", "TComboBox", "-"},
        {"ZoneNumberCombo", "TComboBox", "-"},
        {"SIMcountCombo", "TComboBox", "-"},
        {"RequestBalance", "TEdit", "-"},
        {"DialMode", "TComboBox", "-"},
        {"PickUpDelay", "TComboBox", "-"},
        {"LostLine", "TComboBox", "-"},
        {"PauseDial", "TComboBox", "-"},
        {"Label2", "TLabel", "Режим работы коммуникатора"},
        {"Label7", "TLabel", "Режим входа 1"},
        {"Label50", "TLabel", "Режим входа 2"},
        {"Label52", "TLabel", "Режим входа управления"},
        {"Label53", "TLabel", "Проверка связи с управляющим устройством"},
        {"Label40", "TLabel", "Скорость по линии расширения"},
        {"Label5", "TLabel", "PIN-код "},
        {"Label6", "TLabel", "Номер СЦ SMS"},
        {"Label114", "TLabel", "Сообщать о счете SIM карты "},
        {"Label212", "TLabel", "Запрос состояния счета"},
        {"VersionLabel", "TLabel", "Версия ПО прибора:"},
        {"Label1", "TLabel", "Тип прибора:"},
        {"TimeLabel", "TLabel", "Время"},
        {"DateLabel", "TLabel", "Дата "},
        {"Label51", "TLabel", "Время в модеме:"},
        {"Label3", "TLabel", "Дата  в модеме:"},
        {"Panel5", "TPanel", "-"},
        {"Panel7", "TPanel", "-"},
        {"GenTableButton", kButton, "-"},
        {"Image2", "TImage", "-"},
        {"Label520", "TLabel", "-"},
        {"Label521", "TLabel", "-"},
        {"Label267", "TLabel", "-"},
        // recipients page
        {"PageControl2", "TPageControl", "-"},
        {"Panel27", "TPanel", "-"},
        {"Panel28", "TPanel", "-"},
        {"Panel33", "TPanel", "-"},
        {"Label102", "TLabel", "-"},
        {"Label20", "TLabel", "-"},
        {"Label98", "TLabel", "-"},
        {"Label99", "TLabel", "-"},
        {"Label93", "TLabel", "Тип оповещения"},
        {"Label219", "TLabel", "Объединять SMS"},
        {"Label268", "TLabel", "Интервал между сериями попыток дозвона"},
        // SMS names page
        {"LangChange", "TRadioGroup", "-"},
        {"GroupBox3", "TGroupBox", "-"},
        {"GroupBox4", "TGroupBox", "-"},
        {"GroupBox6", "TGroupBox", "-"},
        {"GroupBox8", "TGroupBox", "-"},
        {"GroupBox7", "TGroupBox", "-"},
        {"GroupBox15", "TGroupBox", "-"},
        {"LabelShS", "TLabel", "ШС"},
        {"LabelRazdel", "TLabel", "раздела"},
        {"LabelNameRazdel", "TLabel", "Название охраняемого раздела"},
        {"LabelNameShS", "TLabel", "Название охраняемого ШС"},
        {"LabelShSE", "TLabel", "-"},
        {"LabelRazdelE", "TLabel", "-"},
        {"LabelNameRazdelE", "TLabel", "-"},
        {"LabelNameShSE", "TLabel", "-"},
        {"LabelShSP", "TLabel", "-"},
        {"LabelRazdelP", "TLabel", "-"},
        {"LabelNameRazdelP", "TLabel", "-"},
        {"LabelNameShSP", "TLabel", "-"},
        // periodicity page
        {"PeriodHardware", "TComboBox", "-"},
        {"PeriodRzd", "TComboBox", "-"},
        {"TestLine", "TComboBox", "-"},
        {"DelayTypeAlarm", "TComboBox", "-"},
        {"DelayHardware", "TComboBox", "-"},
        {"DelayRzd", "TComboBox", "-"},
        {"Label112", "TLabel", "-"},
        {"CheckBox193", "TCheckBox", "-"},
        // remote-control page
        {"Panel4", "TPanel", "-"},
        {"Panel13", "TPanel", "-"},
        {"Panel15", "TPanel", "-"},
        {"Panel30", "TPanel", "-"},
        {"Panel31", "TPanel", "-"},
        {"Panel32", "TPanel", "-"},
        {"PanelAttention", "TPanel", "-"},
        {"Label81", "TLabel", "-"},
        // tone page
        {"AlarmTone", "TCheckBox", "-"},
        {"ArmTone", "TCheckBox", "-"},
        {"DisArmTone", "TCheckBox", "-"},
        {"CheckBox1", "TCheckBox", "-"},
        {"Panel34", "TPanel", "-"},
        {"SoundTone1", kButton, "ОК"},
        {"SoundTone2", kButton, "ОК"},
        {"SoundTone3", kButton, "ОК"},
        // relay page
        {"ReleControl1", "TComboBox", "-"},
        {"ReleWorkMode1", "TRadioGroup", "Режим работы реле:"},
        {"TimeRzmk1", "TComboBox", "-"},
        {"TimeZmk1", "TComboBox", "-"},
        {"TimePeriod1", "TComboBox", "-"},
        {"InvRele1", "TComboBox", "-"},
    };
    for (const Row &r : rows)
        QTest::newRow(r.name) << u8(r.kind) << u8(r.caption);
    for (const char *box : {"AlarmEvent1", "ErrorFire1", "OnOffLine1", "OnOffAllLine1",
                            "ErrorPower1", "RadioChanBlck1", "DamageCD1", "PowerCD1", "NoConnect1",
                            "BoxDamage1", "ErrorInterface1", "NoLine1"})
        QTest::newRow(box) << u8("TCheckBox") << u8("-");
}

void TestCatalogue::singleControls() {
    QFETCH(QString, kind);
    QFETCH(QString, caption);
    const QString name = QString::fromUtf8(QTest::currentDataTag());
    QWidget *w = Index(m_created.get()).get(name);
    QVERIFY2(w, qPrintable(name + QStringLiteral(" missing")));
    QVERIFY2(kind.split(u'|').contains(vclClassOf(w)), qPrintable(vclClassOf(w)));
    if (caption != QStringLiteral("-"))
        QCOMPARE(captionOf(w), caption);
}

// The seven main pages and the six pages of the recipients page, in order, with their captions.
void TestCatalogue::pages() {
    const Index c(m_created.get());
    struct Page {
        const char *pageControl, *sheet, *caption;
    };
    static const Page order[] = {
        {"PageControl1", "TabSheet1", "Главная"},
        {"PageControl1", "TabSheet2", "Получатели сообщений"},
        {"PageControl1", "TabSheet3", "Присвоение названия для SMS"},
        {"PageControl1", "TabSheet4", "Периодичность передачи"},
        {"PageControl1", "TabSheet5", "Дистанционное управление"},
        {"PageControl1", "TabSheet6", "Тональное оповещение"},
        {"PageControl1", "TabSheet7", "Режимы реле"},
        {"PageControl2", "TabSheet8", "Разделы/ШС"},
        {"PageControl2", "TabSheet9", "Типы событий"},
        {"PageControl2", "TabSheet10", "Типы оповещения"},
        {"PageControl2", "TabSheet11", "Коды цифрового формата"},
        {"PageControl2", "TabSheet12", "Группы дозвона"},
        {"PageControl2", "TabSheet14", "Коды оповещения SMS-Блиц"},
    };
    auto *pc1 = qobject_cast<PageControl *>(c.get(QStringLiteral("PageControl1")));
    auto *pc2 = qobject_cast<PageControl *>(c.get(QStringLiteral("PageControl2")));
    QVERIFY(pc1 && pc2);
    QCOMPARE(pc1->sheetCount(), 7);
    QCOMPARE(pc2->sheetCount(), 6);
    int index[2] = {0, 0};
    for (const Page &p : order) {
        auto *pc = qobject_cast<PageControl *>(c.get(u8(p.pageControl)));
        int &i = index[pc == pc2 ? 1 : 0];
        TabSheet *sheet = pc->sheet(i);
        QVERIFY2(sheet, p.sheet);
        QCOMPARE(sheet->objectName(), u8(p.sheet));
        QCOMPARE(sheet->caption(), u8(p.caption));
        QCOMPARE(sheet->pageIndex(), i);
        ++i;
    }
    // the inner page control lives on the recipients page
    QWidget *parent = pc2->parentWidget();
    while (parent && parent->objectName() != QStringLiteral("TabSheet2"))
        parent = parent->parentWidget();
    QVERIFY2(parent, "PageControl2 is not on TabSheet2");
}

// Item lists: the number of items and sample texts; generated ranges at both ends and inside.
void TestCatalogue::itemLists_data() {
    QTest::addColumn<QStringList>("controls");
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("at");
    QTest::addColumn<QStringList>("texts");
    using Samples = std::initializer_list<std::pair<int, const char *>>;
    auto some = [](const char *tag, const QStringList &controls, int count, Samples samples) {
        QList<int> at;
        QStringList t;
        for (const auto &s : samples) {
            at << s.first;
            t << u8(s.second);
        }
        QTest::newRow(tag) << controls << count << at << t;
    };
    auto all = [](const char *tag, const QStringList &controls, const QStringList &items) {
        QList<int> at;
        for (int i = 0; i < items.size(); ++i)
            at << i;
        QTest::newRow(tag) << controls << int(items.size()) << at << items;
    };
    const QStringList objectNumbers = seq("ObjNmb", 1, 16) + seq("ComboBox", 25, 32);
    const QStringList partitionNumbers = seq("RzdNmb", 1, 16) + seq("ComboBox", 11, 18);

    all("Mode", {"Mode"}, texts({"демо Q71", "демо Q72", "on-line"}));
    some("PortNumber", {"PortNumber"}, 10, {{0, "com 1"}, {4, "com 5"}, {9, "com 10"}});
    all("SelectLang", {"SelectLang"}, texts({"Russian", "English", "Turkish"}));
    all("WorkModeComboBox", {"WorkModeComboBox"},
        texts({"автономный", "расширенный (W40)", "расширенный (W30/1)", "расширенный (W30/2)",
               "расширенный (W30/4)", "расширенный (W30/8)"}));
    all("Input", {"Input1", "Input2"}, texts({"разомкнут-нарушение", "разомкнут-норма"}));
    all("CmB_EventsArchive", {"CmB_EventsArchive"}, texts({"Включен", "Выключен"}));
    all("ControlInput", {"ControlInput"}, texts({"разомкнут-взят", "разомкнут-снят"}));
    some("CheckConnectCD", {"CheckConnectCD"}, 16, {{0, "10 сек"}, {7, "80 сек"}, {15, "160 сек"}});
    all("NextDial", {"NextDial"}, texts({"по очереди", "по окончанию попыток"}));
    some("PhrasePause", {"PhrasePause"}, 16,
         {{0, "0.5 сек"}, {10, "1.5 сек"}, {14, "1.9 сек"}, {15, "2 сек"}});
    all("SpeedLine", {"SpeedLine"}, texts({"1200 бод", "4800 бод"}));
    some("GsmLostCombo", {"GsmLostCombo"}, 16,
         {{0, "никогда"}, {1, "10 мин"}, {8, "80 мин"}, {15, "150 мин"}});
    all("ZoneNumberCombo", {"ZoneNumberCombo"}, texts({"Да ", "Нет"}));
    some("SIMcountCombo", {"SIMcountCombo"}, 16,
         {{0, "никогда"}, {1, "1 раз/сутки"}, {2, "1 раз/2 дня"}, {15, "1 раз/15 дней"}});
    all("DialMode", {"DialMode"}, texts({"импульсный", "тональный"}));
    some("PickUpDelay", {"PickUpDelay"}, 16,
         {{0, "1 гудок"}, {14, "15 гудков"}, {15, "не брать трубку"}});
    some("LostLine", {"LostLine"}, 16, {{0, "1 мин"}, {4, "5 мин"}, {14, "15 мин"}, {15, "нет"}});
    some("PauseDial", {"PauseDial"}, 16, {{0, "1 сек"}, {7, "8 сек"}, {15, "16 сек"}});
    some("object numbers", objectNumbers, 1000, {{0, "---"}, {1, "1"}, {500, "500"}, {999, "999"}});
    some("partition numbers", partitionNumbers, 16, {{0, "1"}, {7, "8"}, {15, "16"}});
    all("urgent", seq("urgent", 1, 12), texts({"срочное", "не срочное"}));
    all("TypeMesgGSM", seq("TypeMesgGSM", 1, 8),
        texts({"SMS", "Речевое", "SMS+Речевое", "Речевое+SMS", "Тональное", "SMS+Тонал.",
               "Тонал.+SMS", "Цифровое", "SMS+Цифр.", "Цифр.+SMS", "SMS-Блиц"}));
    all("TypeMesgLine", seq("TypeMesgLine", 1, 8), texts({"Речевое", "Тональное", "Цифровое"}));
    all("SMS and ConfirmMes", seq("SMS", 1, 8) + seq("ConfirmMes", 1, 8), texts({"да", "нет"}));
    some("DialTry", seq("DialTry", 1, 8), 16, {{0, "1"}, {7, "8"}, {15, "16"}});
    some("WaitTime", seq("WaitTime", 1, 8), 16, {{0, "4 с"}, {7, "32 с"}, {15, "64 с"}});
    some("PauseInterval", seq("PauseInterval", 1, 8), 16,
         {{0, "0 сек"}, {4, "2 мин"}, {15, "7 мин 30 сек"}});
    const QStringList periods =
        texts({"15 мин", "22.5 мин", "30 мин", "45 мин", "60 мин", "1.5 ч", "2 ч", "3 ч", "4 ч",
               "6 ч", "8 ч", "12 ч", "16 ч", "24 ч", "32 ч"});
    all("periods", {"PeriodHardware", "PeriodRzd"}, QStringList{u8("всегда")} + periods);
    all("TestLine", {"TestLine"}, QStringList{u8("никогда")} + periods);
    some("delays", {"DelayTypeAlarm", "DelayHardware", "DelayRzd"}, 16,
         {{0, "0 сек"}, {1, "10 сек"}, {8, "80 сек"}, {15, "150 сек"}});
    all("tone symbols", seq("Alarm", 1, 3) + seq("Arm", 1, 3) + seq("DisArm", 1, 3),
        texts({"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "B", "C", "D", "*", "#"}));
    some("tone pauses", {"Alarm4", "Arm4", "DisArm4"}, 16, {{0, "0 сек"}, {15, "1,5 сек"}});
    all("ReleControl1", {"ReleControl1"}, texts({"по команде", "по событию"}));
    all("ReleWorkMode1", {"ReleWorkMode1"},
        texts({"ПЦН тревога", "Контр. лампа", "ПЦН контрольный (охран.раздел)", "Звуковой",
               "Тревога", "Исполнительный (охран. раздел)", "Специальный"}));
    all("LangChange", {"LangChange"}, texts({"русский", "english", "psevdo-english"}));
    all("relay opening and closing", {"TimeRzmk1", "TimeZmk1"},
        texts({"---", "0.5 сек", "1 сек", "5 сек", "10 сек", "20 сек", "30 сек", "пост."}));
    all("TimePeriod1", {"TimePeriod1"},
        texts({"---", "20 сек", "40 сек", "1 мин", "1 м 20 с", "1 м 40 с", "2 мин ", "2 м 20 с",
               "2 м 40 с", "3 мин ", "3 м 20 с", "3 м 40 с", "4 мин ", "4 м 20 с", "4 м 40 с",
               "пост."}));
    all("InvRele1", {"InvRele1"}, texts({"Нет ", "Да"}));

    // partition names: index, Russian, English, transliterated
    struct Name {
        int index;
        const char *ru, *en, *tr;
    };
    static const Name names[] = {
        {0, "-------", "-------", "-------"},
        {1, "пожарная охрана", "fire guard", "pozharnaya ohrana"},
        {2, "периметр", "perimeter", "perimetr"},
        {3, "объем", "volume", "ob'em"},
        {4, "охрана объекта", "intruder guard", "ohrana ob'ekta "},
        {5, "мансарда", "mansard", "mansarda"},
        {6, "входная дверь", "front door", "vhodnaya dver"},
        {7, "запасной выход", "back door", "zapasnii vihod"},
        {8, "подвал", "basement", "podval"},
        {9, "ванная", "bathroom", "vannaya"},
        {10, "туалет", "toilet", "tualet"},
        {11, "спальня", "bedroom", "spalnya"},
        {12, "детская", "child room", "detskaya"},
        {13, "столовая", "dining room ", "stolovaya "},
        {14, "нижний этаж", "downstairs", "nizhnii etazh"},
        {15, "бытовая авария", "emergency", "bitovaya avaria "},
        {16, "гараж", "garage", "garazh"},
        {17, "дверь гаража", "garage door", "dver garazha"},
        {18, "гостинная", "guest room", "gostinaya "},
        {19, "холл", "hall", "holl"},
        {20, "кухня", "kitchen", "kukhnya "},
        {21, "жилая комната", "living room", "zhilaya komnata"},
        {22, "офис", "office", "ofis"},
        {23, "верхний этаж", "upstairs", "verhnii etazh "},
        {24, "рабочий кабинет", "working room", "rabochii kabinet "},
        {25, "двор", "yard", "dvor"},
        {26, "коридор", "corridor", "koridor"},
        {27, "помещение №1", "room №1", "pomeschenie №1"},
        {28, "помещение №2", "room №2", "pomeschenie №2"},
        {29, "помещение №3", "room №3", "pomeschenie №3"},
        {30, "помещение №4", "room №4", "pomeschenie №4"},
        {31, "помещение №5", "room №5", "pomeschenie №5"},
        {32, "помещение №6", "room №6", "pomeschenie №6"},
        {33, "помещение №7", "room №7", "pomeschenie №7"},
        {34, "помещение №8", "room №8", "pomeschenie №8"},
        {35, "пользовательское название №1", "user's name №1", "polzovatelskoe nazvanie №1"},
        {36, "пользовательское название №2", "user's name №2", "polzovatelskoe nazvanie №2"},
        {37, "пользовательское название №3", "user's name №3", "polzovatelskoe nazvanie №3"},
        {38, "пользовательское название №4", "user's name №4", "polzovatelskoe nazvanie №4"},
    };
    QStringList ru, en, tr;
    for (const Name &n : names) {
        QCOMPARE(n.index, int(ru.size()));
        ru << u8(n.ru);
        en << u8(n.en);
        tr << u8(n.tr);
    }
    all("NameRzd", seq("NameRzd", 1, 16), ru);
    all("NameRzdE", seq("NameRzdE", 1, 16), en);
    all("NameRzdP", seq("NameRzdP", 1, 16), tr);
}

void TestCatalogue::itemLists() {
    QFETCH(QStringList, controls);
    QFETCH(int, count);
    QFETCH(QList<int>, at);
    QFETCH(QStringList, texts);
    const Index c(m_created.get());
    for (const QString &name : controls) {
        QWidget *w = c.get(name);
        QVERIFY2(w, qPrintable(name + QStringLiteral(" missing")));
        const QStringList items = itemsOf(w);
        QVERIFY2(items.size() == count,
                 qPrintable(QStringLiteral("%1 has %2 items").arg(name).arg(items.size())));
        for (int i = 0; i < at.size(); ++i)
            QVERIFY2(items.value(at[i]) == texts[i],
                     qPrintable(QStringLiteral("%1 item %2: '%3', expected '%4'")
                                    .arg(name)
                                    .arg(at[i])
                                    .arg(items.value(at[i]), texts[i])));
    }
}

// Tags tell a shared handler which member fired.
void TestCatalogue::tags_data() {
    QTest::addColumn<int>("tag");
    auto add = [](const QStringList &names, int first, bool same = false) {
        for (int i = 0; i < names.size(); ++i)
            QTest::newRow(qPrintable(names[i])) << (same ? first : first + i);
    };
    add(seq("ObjNmb", 1, 16), 1);
    add(seq("RzdNmb", 1, 16), 1);
    add(seq("ComboBox", 11, 18), 9);
    add(seq("ComboBox", 25, 32), 9);
    for (const char *p : {"TypeMesgGSM", "TypeMesgLine", "SMS", "DialTry", "WaitTime", "ConfirmMes",
                          "PauseInterval"})
        add(seq(p, 1, 8), 1);
    for (const char *p : {"Password", "vz", "sn", "st", "start", "stop"})
        add(seq(p, 1, 16), 1);
    for (const char *p : {"Password", "st", "start", "stop"})
        add(seq(p, 21, 28), 1);
    add(seq("vz", 21, 28), 9, true);
    add(seq("sn", 21, 28), 9, true);
}

void TestCatalogue::tags() {
    QFETCH(int, tag);
    QWidget *w = Index(m_created.get()).get(QString::fromUtf8(QTest::currentDataTag()));
    QVERIFY(w);
    QCOMPARE(tagOf(w), tag);
}

// Fixed texts of the pages, kept exactly (irregular spacing included); the catalogue does not
// name the labels that carry them, so each must be the caption of some control of the window.
void TestCatalogue::fixedTexts() {
    const Index c(m_created.get());
    QSet<QString> shown;
    for (QWidget *w : std::as_const(c.byName))
        if (!qobject_cast<TabSheet *>(w))
            shown.insert(captionOf(w));
    QStringList expected = texts(
        {// main page
         "Основные настройки:", "Специальные настройки:", "Связь", "Прибор", "Файл",
         "Режим работы:", "Архив событий", "Выбор номера для дозвона", "Пауза между фразами",
         "Контроль отсутствия GSM канала не более", "Указывать в SMS объект №",
         "Режим набора номера ", "Задержка до снятия трубки при входящем звонке",
         "Контроль отсутствия тонального сигнала в телефонной линии не более",
         "Длительность паузы при наборе (для символа P)",
         // recipients page and its inner pages
         "Условный № объекта", "(1-999)", "Условный № раздела", "(1-16)", "Разделы/ШС",
         "Типы событий (12 типов)", "Тревога/ Пожар (разделы/ШС)",
         "Вскрытие/   Восстан-е вскр. (разделы)", "Снятие по коду/ ключу    (разделы/ШС)",
         "Взятие по коду/ ключу (разделы/ШС)", "Неисправн./ Восст. неиспр. (разделы/ШС)",
         "Неисправн. РК/ Восстановл. РК (разделы)", "Неиспр. питан./ Восст. питания (разделы)",
         "Блокиров. РК/ Восстановл. РК (оборуд-е)", "Вскрытие/ Восстан. вскр.(оборуд-е) ",
         "Неисп. интерф./ Восст. неиспр. (оборуд-е)", "Восстановление линии связи    GSM",
         "Неиспр. питан./ Восст. питания (оборуд-е)", "Количество попыток связи",
         "Время ожидания снятия трубки при дозвоне", "(4с-64с)", "Подтверждение приема сообщения",
         "(0 сек-7мин 30 сек)", "Тревога (разделы)", "Вскрытие/ Вскр. Восстан-е  (разделы)",
         "Неиспр. питания/ Восст. питания (разделы)", "Взятие/Снятие (разделы)",
         "Неисправн. РК/ Восстановл. РК (разделы)", "Неисправн./ Восст. Неиспр. (разделы)",
         "Пожар (разделы)", "Неисп. интерфейса/ Восст. Неиспр. (оборуд-е)",
         "Блокирование РК/ Восстановл. РК (оборуд-е)", "Вскрытие/ Вскр. Восстан-е (оборуд-е) ",
         "Восстановление линии связи (оборуд-е)", "Неиспр. питания/ Восст. питания (оборуд-е)",
         "Тест канала связи (оборуд-е)", "Номера получателей",
         "Внимание! При успешном дозвоне до получателей, отмеченных галкой по диагонали, другим "
         "получателям соответствующей группы сообщения доставляться не будут!",
         "Код события      в тексте SMS", "Неисправность питания (оборудование)",
         "Восстановление питания (оборудование)", "Вскрытие (оборудование)",
         "Восстановление вскрытия (оборудование)", "Неисправность интерфейса - ЛР(оборудование)",
         "Восстановление интерфейса - ЛР (оборудование)", "Блокирование радиоканала (оборудование)",
         "Восстановление радиоканала (оборудование)", "Восстановление линии связи (GSM)",
         "Включение питания GSM", "Выключение питания GSM", "Тест",
         "Взят по коду или ключу ТМ (разделы/ШС)", "Снят по коду или ключу ТМ (разделы/ШС)",
         "Тревога (разделы/ШС)", "Пожар (разделы/ШС)", "Неисправность пож (разделы/ШС)",
         "Восстановление неиспр. (для пож. разд. или ШС)", "Неисправность питания (разделы)",
         "Восстановление питания (разделы)", "Вскрытие (разделы)",
         "Восстановление вскрытия (разделы)", "Неисправность радиоканала (разделы)",
         "Восстановление радиоканала (разделы)",
         // periodicity page
         "Всегда", "0 секунд",
         // remote-control page
         "(3-6 цифр)", "Взять на охрану(1)", "Снять с охраны(2)", "Запрос сост-я(3)",
         "Реле/ старт (4)", "Реле/ стоп (5)", "Вкл./ опов. (6)", "Выкл./ опов. (7)",
         "Запрос счета (8)", "Внимание! Комбинация пароля из 3-х нулей - это отсутствие пароля! ",
         "Комбинация из 4-х, 5-ти и 6-ти нулей допустима.   ",
         // tone page
         "Тревога", "Взятие ", "Снятие", "Получаемая комбинация", "Прослушать комбинацию", "Пауза",
         // relay page
         "Управление реле", "Привязка к разделам №:", "Обрабатываемые извещения:", "Дополнительно:",
         "Размыкание на время", "Замыкание на время", "Длительность извещения ", "Инверсный режим",
         "Тревога/пожар (разделы)", "Вскрытие (разделы)", "Взятие по одному/Снятие по всем ",
         "Взятие по всем/Снятие по одному", "Неисправность (разделы)", "Неисправность РК (разделы)",
         "Неисправ. питания (разделы)", "Блокирование РК (оборуд-е)", "Вскрытие (оборуд-е)",
         "Неисправ. интерф. (оборуд-е)", "Неисп. линии связи (оборуд-е)",
         "Неисправ. питания (оборуд-е)"});
    for (int n = 1; n <= 8; ++n)
        expected << u8("Группа №%1").arg(n) << u8("Получатель №%1").arg(n);
    QStringList missing;
    for (const QString &t : std::as_const(expected))
        if (!shown.contains(t))
            missing << QLatin1Char('"') + t + QLatin1Char('"');
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u'\n')));

    // per-member captions and hints
    QStringList bad;
    for (int k = 1; k <= 16; ++k)
        if (captionOf(c.get(QStringLiteral("WordOb%1").arg(k))) != u8("Объект №"))
            bad << QStringLiteral("WordOb%1").arg(k);
    for (int k = 1; k <= 4; ++k) {
        const QString n = QString::number(k);
        const std::pair<const char *, QString> captions[] = {
            {"OwnName", u8("Пользовательское название №%1 (max.12 симв. )").arg(n)},
            {"OwnNameE", u8("User's name №%1 (max.12 simb. )").arg(n)},
            {"OwnNameP", u8("Polzovatelskoe nazvanie №%1 (max.12 simb. )").arg(n)}};
        for (const auto &[prefix, caption] : captions)
            if (captionOf(c.get(u8(prefix) + n)) != caption)
                bad << u8(prefix) + n;
    }
    auto hintOf = [](QWidget *w) { return w ? w->toolTip() + w->statusTip() : QString(); };
    for (const QString &name : seq("SMS", 1, 8))
        if (!hintOf(c.get(name)).contains(u8("Объединение сообщений в одно SMS")))
            bad << name + QStringLiteral(" hint");
    for (const char *name : {"SoundTone2", "SoundTone3"})
        if (!hintOf(c.get(u8(name)))
                 .contains(u8("Прослушивание с помощью звкковой карты и внешних динамиков.")))
            bad << u8(name) + QStringLiteral(" hint");
    QVERIFY2(bad.isEmpty(), qPrintable(bad.join(u'\n')));
}

// States after construction (constructor and creation handler) and after the first show.
void TestCatalogue::startupStates_data() {
    QTest::addColumn<bool>("shown");
    QTest::newRow("after construction") << false;
    QTest::newRow("after first show") << true;
}

void TestCatalogue::startupStates() {
    QFETCH(bool, shown);
    QWidget *form = shown ? static_cast<QWidget *>(m_shown.get()) : m_created.get();
    const RecordingDialogs &dialogs = shown ? *m_shownDialogs : *m_createdDialogs;
    const Index c(form);

    QCOMPARE(form->objectName(), QStringLiteral("MainForm"));
    QCOMPARE(form->windowTitle(), u8("Программа настройки приборов серии Варник-Q7х"));
    QCOMPARE(dialogs.shown.size(), 0); // start-up shows no message

    QList<Expect> expected = expectedAtStartup();
    if (!shown) {
        // the constructor selects the first name for every Russian partition-name list
        expected << Expect{seq("NameRzd", 1, 16), P::Index, 0};
    }
    const QStringList bad = mismatches(c, expected);
    QVERIFY2(bad.isEmpty(), qPrintable(bad.join(u'\n')));

    auto *pc1 = qobject_cast<PageControl *>(c.get(QStringLiteral("PageControl1")));
    QVERIFY(pc1);
    QCOMPARE(pc1->activePageIndex(), 0);
    auto *status = qobject_cast<StatusBar *>(c.get(QStringLiteral("StatusBar1")));
    QVERIFY(status);
    if (!shown)
        QCOMPARE(status->simpleText(), QString()); // the empty version caption
    auto *progress = qobject_cast<QProgressBar *>(c.get(QStringLiteral("pb1")));
    QVERIFY(progress);
    QCOMPARE(progress->minimum(), 0);
    QCOMPARE(progress->maximum(), 100);

    // The SMS-Blitz notification exists only in the Russian interface: with no stored language
    // the first show removes it from the eight GSM lists.
    const QStringList gsmTypes =
        texts({"SMS", "Речевое", "SMS+Речевое", "Речевое+SMS", "Тональное", "SMS+Тонал.",
               "Тонал.+SMS", "Цифровое", "SMS+Цифр.", "Цифр.+SMS", "SMS-Блиц"});
    for (const QString &name : seq("TypeMesgGSM", 1, 8)) {
        auto *combo = qobject_cast<ComboBox *>(c.get(name));
        QVERIFY2(combo, qPrintable(name));
        QCOMPARE(combo->items(), shown ? gsmTypes.mid(0, 10) : gsmTypes);
        QCOMPARE(combo->text(), u8("Речевое"));
    }

    if (shown) {
        // object numbers of a Q72 after the lists were filled for the model
        for (const QString &name : seq("ObjNmb", 1, 16)) {
            const QStringList items = itemsOf(c.get(name));
            QVERIFY2(items.size() == 1000 && items.value(999) == QStringLiteral("999"),
                     qPrintable(name));
        }
        QCOMPARE(form->size(), QSize(833, 582));
        const Qt::WindowFlags flags = form->windowFlags();
        QVERIFY(flags & Qt::WindowMinimizeButtonHint);
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    }
}

// States that the page rules and the factory preset of a Q72 in work mode "расширенный (W40)"
// leave after start-up.
void TestCatalogue::initialStatesFromRules() {
    const Index c(m_shown.get());
    QList<Expect> e = {
        // the Q72 view
        {{"Panel5", "Panel4", "Panel13", "Panel15", "Label51", "Label3", "Label219", "Label93",
          "Panel34"},
         P::Visible,
         true},
        {{"Panel7", "Panel30", "Panel31", "Panel32", "Label268", "Panel33", "PanelAttention"},
         P::Visible,
         false},
        {seq("PhoneNumber", 1, 8) + seq("TypeMesgGSM", 1, 8) + seq("SMS", 1, 8), P::Visible, true},
        {seq("LinePhone", 1, 8) + seq("TypeMesgLine", 1, 8), P::Visible, false},
        {{"TabSheet3"}, P::TabVisible, true},
        {{"TabSheet11", "TabSheet12", "TabSheet14"}, P::TabVisible, false},
        // work mode 1 (16 partitions)
        {{"ControlInput", "Label52"}, P::Visible, false},
        {{"CheckConnectCD", "Label53"}, P::Visible, true},
        {{"Input1", "Input2", "Label7", "Label50"}, P::Enabled, false},
        {{"SpeedLine", "Label40"}, P::Enabled, true},
        {seq("vz", 1, 16) + seq("sn", 1, 16) + seq("vz", 21, 28) + seq("sn", 21, 28), P::Enabled,
         false},
        {grid("rzd", 1, 8, 1, 16) + seq("RzdNmb", 1, 16) + seq("ObjNmb", 1, 16) +
             seq("NameRzd", 1, 16) + seq("NameRzdE", 1, 16) + seq("NameRzdP", 1, 16) +
             seq("iz1", 1, 16) + seq("Edit", 1, 24) + seq("RO", 1, 24),
         P::Enabled, true},
        {{"LabelRazdel", "LabelNameRazdel"}, P::Visible, true},
        {{"LabelShS", "LabelNameShS"}, P::Visible, false},
        // Russian SMS names
        {{"GroupBox3", "GroupBox4"}, P::Visible, true},
        {{"GroupBox6", "GroupBox8", "GroupBox7", "GroupBox15"}, P::Visible, false},
        // relay by event, mode "ПЦН тревога"
        {{"AlarmEvent1", "OnOffLine1", "OnOffAllLine1"}, P::Checked, true},
        {{"BoxDamage1", "ErrorFire1", "NoConnect1", "ErrorPower1", "RadioChanBlck1", "DamageCD1",
          "ErrorInterface1", "NoLine1", "PowerCD1"},
         P::Checked,
         false},
        {{"AlarmEvent1", "OnOffLine1", "OnOffAllLine1", "BoxDamage1", "ErrorFire1", "NoConnect1",
          "ErrorPower1", "TimeRzmk1", "TimeZmk1", "TimePeriod1", "InvRele1"},
         P::Enabled,
         false},
        {{"RadioChanBlck1", "DamageCD1", "ErrorInterface1", "NoLine1", "PowerCD1", "ReleWorkMode1"},
         P::Enabled,
         true},
        {{"TimeRzmk1"}, P::Index, 7},
        {{"TimeZmk1", "TimePeriod1", "InvRele1"}, P::Index, 0},
        // voice notification for every recipient
        {seq("DialTry", 1, 8) + seq("WaitTime", 1, 8) + seq("ConfirmMes", 1, 8), P::Enabled, true},
        // one object row (all partitions on object 1)
        {{"LabelOb1"}, P::Text, u8("1")},
        {{"LabelOb1", "WordOb1", "Password1", "vz1", "sn1", "st1", "start1", "stop1", "cmnd16",
          "cmnd17", "cmnd18"},
         P::Visible,
         true},
        {seq("LabelOb", 2, 16) + seq("WordOb", 2, 16) + seq("Password", 2, 16) + seq("vz", 2, 16) +
             seq("sn", 2, 16) + seq("st", 2, 16) + seq("start", 2, 16) + seq("stop", 2, 16) +
             grid("cmnd", 2, 16, 6, 8),
         P::Visible, false},
        // pause intervals follow PauseInterval1
        {seq("PauseInterval", 2, 8), P::Index, 4},
        // values of the Q72 preset for work mode 1 that differ from the form reset
        {{"urgent1"}, P::Index, 0},
        {{"SIMcountCombo"}, P::Index, 7},
        {{"SpeedLine", "CmB_EventsArchive"}, P::Index, 1},
        {seq("NameRzd", 1, 16), P::Index, 0},
        {seq("iz1", 1, 16) + QStringList{"st1"}, P::Checked, true},
    };
    const QStringList bad = mismatches(c, e);
    QVERIFY2(bad.isEmpty(), qPrintable(bad.join(u'\n')));
}

QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
