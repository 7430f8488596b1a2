// Checks the main window's controls: every family with its count and kind, the controls other
// parts find by name, item counts with sample texts, Tags, captions with irregular spacing, and
// the states the window shows after construction, after its first show and after the page rules
// ran. The expected values are written out here; nothing is read back from the builders.
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

const char *const kButton = "TButton|TBitBtn"; // a button may be plain or carry a glyph

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

// A control's own Enabled and Visible flags, independent of its parents.
bool ownEnabled(QWidget *w) { return !w->testAttribute(Qt::WA_Disabled); }

QStringList itemsOf(QWidget *w) {
    if (auto *combo = qobject_cast<ComboBox *>(w))
        return combo->items();
    if (auto *group = qobject_cast<RadioGroup *>(w))
        return group->items();
    return {};
}

enum class P { Index, Text, Checked, Enabled, Visible, Highlighted, TabVisible };

struct Expect {
    QStringList names;
    P prop;
    QVariant value;
};

QVariant read(QWidget *w, P prop) {
    auto *combo = qobject_cast<ComboBox *>(w);
    auto *group = qobject_cast<RadioGroup *>(w);
    auto *button = qobject_cast<QAbstractButton *>(w);
    auto *tab = qobject_cast<TabSheet *>(w);
    switch (prop) {
    case P::Index:
        return combo ? combo->itemIndex() : group ? group->itemIndex() : -2;
    case P::Text:
        return textOf(w);
    case P::Checked:
        return button && button->isChecked();
    case P::Enabled:
        return ownEnabled(w);
    case P::Visible:
        return !w->isHidden();
    case P::Highlighted:
        return tab ? QVariant(tab->highlighted()) : QVariant();
    case P::TabVisible:
        return tab ? QVariant(tab->tabVisible()) : QVariant();
    }
    return QVariant();
}

const char *const propNames[] = {"item index", "text",        "checked",    "enabled",
                                 "visible",    "highlighted", "tab visible"};

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
                           .arg(name, QLatin1String(propNames[int(e.prop)]), got.toString(),
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
    e += each(seq("RzdNmb", 14, 16), P::Index, {13, 14, 15});
    e += each(texts({"Dig1", "Dig13"}), P::Text, {"140", "1602"});
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
    add("cmnd", "cmnd", 48, "TCheckBox", grid("cmnd", 1, 16, 6, 8));
    add("recipient commands 6..8", "", 24, "TCheckBox",
        seq("CheckBox", 82, 93) + seq("CheckBox", 95, 106));
    for (const char *p : {"vz", "sn", "st", "start", "stop", "Password"})
        add(p, p, 24, p[0] == 'P' ? "TEdit" : "TCheckBox", seq(p, 1, 16) + seq(p, 21, 28));
    add("ComboBox", "", 16, "TComboBox", seq("ComboBox", 11, 18) + seq("ComboBox", 25, 32));
    // prefix1 .. prefixN
    auto plain = [&](const char *kind, int count, std::initializer_list<const char *> prefixes) {
        for (const char *p : prefixes)
            add(p, p, count, kind, seq(p, 1, count));
    };
    plain("TComboBox", 16, {"ObjNmb", "RzdNmb", "NameRzd", "NameRzdE", "NameRzdP"});
    plain("TComboBox", 12, {"urgent"});
    plain("TComboBox", 8,
          {"TypeMesgGSM", "TypeMesgLine", "SMS", "DialTry", "WaitTime", "ConfirmMes",
           "PauseInterval"});
    plain("TComboBox", 4, {"Alarm", "Arm", "DisArm"});
    plain("TLabel", 16, {"LabelOb", "WordOb"});
    plain("TLabel", 3, {"SetAlarm", "SetArm", "SetDisArm"});
    plain("TLabeledEdit", 4, {"OwnName", "OwnNameE", "OwnNameP"});
    plain("TCheckBox", 16, {"iz1"});
    plain("TCheckBox", 24, {"RO"});
    plain("TEdit", 24, {"Edit"});
    plain("TEdit", 13, {"Dig"});
    plain("TEdit", 8, {"LinePhone"});
    plain("TMaskEdit", 8, {"PhoneNumber"});
    plain("TMemo", 3, {"Memo"});
    plain(kButton, 3, {"SoundTone"});
    plain("", 16, {"Line"});
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

// Controls that stand alone and that other parts find by name, with their kind and, where it is
// irregular (trailing or doubled spaces), their caption.
void TestCatalogue::singleControls_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption"); // "-": not checked
    struct Row {
        const char *name, *kind, *caption;
    };
    static const Row rows[] = {
        {"PageControl1", "TPageControl", "-"},
        {"Mode", "TComboBox", "-"},
        {"COM", "TRadioButton", "COM - порт"},
        {"USB", "TRadioButton", "USB - порт"},
        {"ConnectButton", kButton, "Установить "},
        {"CancelButton", kButton, "Разорвать "},
        {"WriteButton", kButton, "Записать "},
        {"BitBtn1", "TBitBtn", "Help  "},
        {"SMSphone", "TMaskEdit", "-"},
        {"Label5", "TLabel", "PIN-код "},
        {"Label114", "TLabel", "Сообщать о счете SIM карты "},
        {"DateLabel", "TLabel", "Дата "},
        {"Label3", "TLabel", "Дата  в модеме:"},
        {"LangChange", "TRadioGroup", "-"},
        {"ReleWorkMode1", "TRadioGroup", "Режим работы реле:"},
        {"SoundTone2", kButton, "ОК"},
        {"AlarmEvent1", "TCheckBox", "-"},
    };
    for (const Row &r : rows)
        QTest::newRow(r.name) << u8(r.kind) << u8(r.caption);
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

// The seven main pages and the six pages of the recipients page, in order: the window turns to
// them by index.
void TestCatalogue::pages() {
    const Index c(m_created.get());
    auto *pc1 = qobject_cast<PageControl *>(c.get(QStringLiteral("PageControl1")));
    auto *pc2 = qobject_cast<PageControl *>(c.get(QStringLiteral("PageControl2")));
    QVERIFY(pc1 && pc2);
    const QStringList order = seq("TabSheet", 1, 12) + QStringList{"TabSheet14"};
    QStringList got;
    for (PageControl *pc : {pc1, pc2})
        for (int i = 0; i < pc->sheetCount(); ++i) {
            QCOMPARE(pc->sheet(i)->pageIndex(), i);
            got << pc->sheet(i)->objectName();
        }
    QCOMPARE(got, order);
    QCOMPARE(pc1->sheetCount(), 7);
    QCOMPARE(pc1->sheet(PageTone)->caption(), u8("Тональное оповещение"));
    QCOMPARE(pc2->sheet(5)->caption(), u8("Коды оповещения SMS-Блиц"));
    // the inner page control lives on the recipients page
    QWidget *parent = pc2->parentWidget();
    while (parent && parent->objectName() != QStringLiteral("TabSheet2"))
        parent = parent->parentWidget();
    QVERIFY2(parent, "PageControl2 is not on TabSheet2");
}

// Item lists: the number of items (the configuration stores the index) and sample texts, at the
// ends of generated ranges and where the spacing is irregular.
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
    // every list with its count (the samples below count the rest)
    some("2 items",
         QStringList{"Input1", "Input2", "CmB_EventsArchive", "ControlInput", "NextDial",
                     "SpeedLine", "ZoneNumberCombo", "DialMode", "ReleControl1", "InvRele1"} +
             seq("urgent", 1, 12) + seq("SMS", 1, 8) + seq("ConfirmMes", 1, 8),
         2, {});
    some("3 items", QStringList{"Mode", "SelectLang", "LangChange"} + seq("TypeMesgLine", 1, 8), 3,
         {});
    some("7 items", {"ReleWorkMode1"}, 7, {});
    some("8 items", {"TimeRzmk1", "TimeZmk1"}, 8, {});
    some("16 items",
         QStringList{"CheckConnectCD", "PhrasePause", "GsmLostCombo", "SIMcountCombo",
                     "PickUpDelay", "LostLine", "PauseDial", "DelayTypeAlarm", "DelayHardware",
                     "DelayRzd", "PeriodHardware", "PeriodRzd", "TestLine", "TimePeriod1"} +
             seq("DialTry", 1, 8) + seq("WaitTime", 1, 8) + seq("PauseInterval", 1, 8) +
             seq("Alarm", 1, 4) + seq("Arm", 1, 4) + seq("DisArm", 1, 4) + seq("RzdNmb", 1, 16) +
             seq("ComboBox", 11, 18),
         16, {});
    some("39 items", seq("NameRzd", 1, 16) + seq("NameRzdE", 1, 16) + seq("NameRzdP", 1, 16), 39,
         {});
    some("1000 items", seq("ObjNmb", 1, 16) + seq("ComboBox", 25, 32), 1000, {});
    // ends of generated ranges and irregular spacing
    some("PortNumber", {"PortNumber"}, 10, {{0, "com 1"}, {9, "com 10"}});
    some("WorkModeComboBox", {"WorkModeComboBox"}, 6, {{1, "расширенный (W40)"}});
    some("ZoneNumberCombo", {"ZoneNumberCombo"}, 2, {{0, "Да "}, {1, "Нет"}});
    some("InvRele1", {"InvRele1"}, 2, {{0, "Нет "}, {1, "Да"}});
    some("PickUpDelay", {"PickUpDelay"}, 16, {{14, "15 гудков"}, {15, "не брать трубку"}});
    some("object numbers", seq("ObjNmb", 1, 16) + seq("ComboBox", 25, 32), 1000,
         {{0, "---"}, {1, "1"}, {999, "999"}});
    some("partition numbers", seq("RzdNmb", 1, 16), 16, {{0, "1"}, {15, "16"}});
    some("TypeMesgGSM", seq("TypeMesgGSM", 1, 8), 11, {{0, "SMS"}, {10, "SMS-Блиц"}});
    some("tone symbols", seq("Alarm", 1, 3) + seq("Arm", 1, 3) + seq("DisArm", 1, 3), 16,
         {{0, "0"}, {10, "A"}, {14, "*"}, {15, "#"}});
    some("tone pauses", {"Alarm4", "Arm4", "DisArm4"}, 16, {{15, "1,5 сек"}});
    some("TimePeriod1", {"TimePeriod1"}, 16, {{6, "2 мин "}, {7, "2 м 20 с"}, {15, "пост."}});
    some("NameRzdE", seq("NameRzdE", 1, 16), 39, {{13, "dining room "}, {38, "user's name №4"}});
    some("NameRzdP", seq("NameRzdP", 1, 16), 39, {{4, "ohrana ob'ekta "}});
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

// Fixed texts that are kept exactly, irregular spacing included; the labels that carry them have
// no names the program uses, so each must be the caption of some control of the window.
void TestCatalogue::fixedTexts() {
    const Index c(m_created.get());
    QSet<QString> shown;
    for (QWidget *w : std::as_const(c.byName))
        if (!qobject_cast<TabSheet *>(w))
            shown.insert(captionOf(w));
    const QStringList expected =
        texts({"Режим набора номера ", "Вскрытие/   Восстан-е вскр. (разделы)",
               "Снятие по коду/ ключу    (разделы/ШС)", "Вскрытие/ Восстан. вскр.(оборуд-е) ",
               "Восстановление линии связи    GSM", "Вскрытие/ Вскр. Восстан-е  (разделы)",
               "Код события      в тексте SMS",
               "Внимание! Комбинация пароля из 3-х нулей - это "
               "отсутствие пароля! ",
               "Комбинация из 4-х, 5-ти и 6-ти нулей допустима.   ", "Взятие ",
               "Взятие по одному/Снятие по всем ", "Длительность извещения ", "Группа №8",
               "Получатель №8"});
    QStringList missing;
    for (const QString &t : expected)
        if (!shown.contains(t))
            missing << QLatin1Char('"') + t + QLatin1Char('"');
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u'\n')));

    // per-member captions
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
