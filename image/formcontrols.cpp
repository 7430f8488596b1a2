#include "image/formcontrols.h"

#include <QHash>

namespace q7x::image {

namespace {

using F = ControlFamily;
using S = FormSettings;
using Kind = ValueControl::Kind;

QString name(const char *prefix, int i) { return QLatin1String(prefix) + QString::number(i); }
QString name(const char *prefix, int i, int j) {
    return QLatin1String(prefix) + QString::number(i) + QString::number(j);
}

class Values {
  public:
    QList<ValueControl> list;

    void item(const QString &n, std::function<int &(S &)> ref, F family = F::Plain, int i = 0,
              int j = 0) {
        ValueControl c{n, Kind::Item, family, i, j, std::move(ref), {}, {}, ControlHint::None};
        list << c;
    }
    void tick(const QString &n, std::function<bool &(S &)> ref, F family = F::Plain, int i = 0,
              int j = 0) {
        ValueControl c{n, Kind::Tick, family, i, j, {}, std::move(ref), {}, ControlHint::None};
        list << c;
    }
    void text(const QString &n, std::function<QString &(S &)> ref, F family = F::Plain, int i = 0,
              int j = 0) {
        ValueControl c{n, Kind::Text, family, i, j, {}, {}, std::move(ref), ControlHint::None};
        list << c;
    }
    // The control added last shows this hint.
    void hint(ControlHint h) { list.last().hint = h; }
};

bool &commandOf(Commands &c, int kind) {
    bool *boxes[] = {&c.arm, &c.disarm, &c.status, &c.relayOn, &c.relayOff};
    return *boxes[kind];
}

const char *const CommandPrefixes[] = {"vz", "sn", "st", "start", "stop"};
const char *const NameLists[] = {"NameRzd", "NameRzdE", "NameRzdP"};
const char *const OwnNames[] = {"OwnName", "OwnNameE", "OwnNameP"};

QList<ValueControl> buildValues() {
    Values c;
    // Main page.
    const struct {
        const char *name;
        int S::*member;
        F family;
    } mainLists[] = {{"WorkModeComboBox", &S::workMode, F::WorkModeComboBox},
                     {"Input1", &S::input1, F::Plain},
                     {"Input2", &S::input2, F::Plain},
                     {"CmB_EventsArchive", &S::eventsArchive, F::Plain},
                     {"ControlInput", &S::controlInput, F::Plain},
                     {"CheckConnectCD", &S::checkConnect, F::Plain},
                     {"NextDial", &S::nextDial, F::Plain},
                     {"PhrasePause", &S::phrasePause, F::Plain},
                     {"SpeedLine", &S::speedLine, F::Plain},
                     {"GsmLostCombo", &S::gsmLost, F::Plain},
                     {"ZoneNumberCombo", &S::zoneNumber, F::Plain},
                     {"SIMcountCombo", &S::simCount, F::Plain},
                     {"DialMode", &S::dialMode, F::Plain},
                     {"PickUpDelay", &S::pickUpDelay, F::Plain},
                     {"LostLine", &S::lostLine, F::Plain},
                     {"PauseDial", &S::pauseDial, F::Plain}};
    for (const auto &l : mainLists)
        c.item(
            QLatin1String(l.name), [m = l.member](S &s) -> int & { return s.*m; }, l.family);
    c.text(
        QStringLiteral("SMSphone"), [](S &s) -> QString & { return s.smsCentre; }, F::SMSphone);
    c.text(
        QStringLiteral("PinCode"), [](S &s) -> QString & { return s.pin; }, F::PinCode);
    c.text(
        QStringLiteral("RequestBalance"), [](S &s) -> QString & { return s.balanceRequest; },
        F::RequestBalance);

    // Recipients.
    for (int r = 1; r <= RecipientCount; ++r) {
        auto rec = [r](S &s) -> FormRecipient & { return s.recipients[std::size_t(r - 1)]; };
        c.text(
            name("PhoneNumber", r), [rec](S &s) -> QString & { return rec(s).phone; },
            F::PhoneNumber, r);
        c.hint(ControlHint::PhoneNumber);
        c.text(
            name("LinePhone", r), [rec](S &s) -> QString & { return rec(s).linePhone; },
            F::LinePhone, r);
        c.hint(ControlHint::LinePhone);
        c.item(
            name("TypeMesgGSM", r), [rec](S &s) -> int & { return rec(s).gsmType; }, F::TypeMesgGSM,
            r);
        c.item(
            name("TypeMesgLine", r), [rec](S &s) -> int & { return rec(s).lineType; },
            F::TypeMesgLine, r);
        c.item(name("SMS", r), [rec](S &s) -> int & { return rec(s).sms; });
        c.item(name("DialTry", r), [rec](S &s) -> int & { return rec(s).dialTry; });
        c.item(name("WaitTime", r), [rec](S &s) -> int & { return rec(s).waitTime; });
        c.hint(ControlHint::WaitTime);
        c.item(name("ConfirmMes", r), [rec](S &s) -> int & { return rec(s).confirm; });
        c.hint(ControlHint::Confirmation);
        c.item(
            name("PauseInterval", r), [rec](S &s) -> int & { return rec(s).pauseInterval; },
            F::PauseInterval, r);
        for (int p = 1; p <= PartitionCount; ++p)
            c.tick(name("rzd", r, p),
                   [rec, p](S &s) -> bool & { return rec(s).partitions[std::size_t(p - 1)]; });
        for (int t = 1; t <= EventTypeCount; ++t)
            c.tick(name("event", r, t),
                   [rec, t](S &s) -> bool & { return rec(s).events[std::size_t(t - 1)]; });
        c.text(
            name("Password", 20 + r), [rec](S &s) -> QString & { return rec(s).password; },
            F::RecipientPassword, 20 + r);
        for (int kind = 0; kind < 5; ++kind)
            c.tick(
                name(CommandPrefixes[kind], 20 + r),
                [rec, kind](S &s) -> bool & { return commandOf(rec(s).commands, kind); },
                F::RecipientCommand, r, kind);
    }
    // Partitions and their lists on the dial-group page.
    for (int p = 1; p <= PartitionCount; ++p) {
        auto part = [p](S &s) -> FormPartition & { return s.partitions[std::size_t(p - 1)]; };
        c.item(
            name("ObjNmb", p), [part](S &s) -> int & { return part(s).object; }, F::ObjNmb, p);
        c.item(
            name("RzdNmb", p), [part](S &s) -> int & { return part(s).number; }, F::RzdNmb, p);
        for (int family = 0; family < NameFamilyCount; ++family)
            c.item(
                name(NameLists[family], p),
                [part, family](S &s) -> int & { return part(s).names[std::size_t(family)]; },
                F::NameList, p, family);
    }
    for (int p = 9; p <= PartitionCount; ++p) {
        c.item(
            name("ComboBox", 16 + p),
            [p](S &s) -> int & { return s.groupPageObjects[std::size_t(p - 9)]; },
            F::GroupPageObject, p);
        c.item(
            name("ComboBox", 2 + p),
            [p](S &s) -> int & { return s.groupPageNumbers[std::size_t(p - 9)]; },
            F::GroupPageNumber, p);
    }
    for (int t = 1; t <= EventTypeCount; ++t)
        c.item(name("urgent", t), [t](S &s) -> int & { return s.urgent[std::size_t(t - 1)]; });
    for (int k = 1; k <= DigitalCodeCount; ++k)
        c.text(
            name("Dig", k), [k](S &s) -> QString & { return s.digitalCodes[std::size_t(k - 1)]; },
            F::DigitalCode, k);
    for (int a = 1; a <= RecipientCount; ++a)
        for (int b = 1; b <= RecipientCount; ++b)
            c.tick(name("gr", a, b), [a, b](S &s) -> bool & {
                return s.dialGroups[std::size_t(a - 1)][std::size_t(b - 1)];
            });
    for (int k = 1; k <= BlitzCount; ++k) {
        c.text(
            name("Edit", k), [k](S &s) -> QString & { return s.blitzCodes[std::size_t(k - 1)]; },
            F::BlitzCode, k);
        c.tick(name("RO", k), [k](S &s) -> bool & { return s.blitzVoice[std::size_t(k - 1)]; });
    }
    // SMS names.
    c.item(
        QStringLiteral("LangChange"), [](S &s) -> int & { return s.nameLanguage; }, F::LangChange);
    for (int family = 0; family < NameFamilyCount; ++family)
        for (int k = 1; k <= OwnNameFields; ++k)
            c.text(
                name(OwnNames[family], k),
                [family, k](S &s) -> QString & {
                    return s.ownNames[std::size_t(family)][std::size_t(k - 1)];
                },
                F::OwnName, k, family);
    // Periods and delays.
    const struct {
        const char *name;
        int S::*member;
    } periods[] = {{"DelayTypeAlarm", &S::delayTypeAlarm},
                   {"PeriodHardware", &S::periodHardware},
                   {"DelayHardware", &S::delayHardware},
                   {"PeriodRzd", &S::periodRzd},
                   {"DelayRzd", &S::delayRzd},
                   {"TestLine", &S::testLine}};
    for (const auto &l : periods)
        c.item(QLatin1String(l.name), [m = l.member](S &s) -> int & { return s.*m; });
    // Remote control by object.
    for (int k = 1; k <= PartitionCount; ++k) {
        auto row = [k](S &s) -> ObjectRow & { return s.objectRows[std::size_t(k - 1)]; };
        c.text(
            name("Password", k), [row](S &s) -> QString & { return row(s).password; },
            F::ObjectPassword, k);
        for (int kind = 0; kind < 5; ++kind)
            c.tick(name(CommandPrefixes[kind], k),
                   [row, kind](S &s) -> bool & { return commandOf(row(s).commands, kind); });
    }
    // Tone notification.
    for (int i = 1; i <= 4; ++i) {
        c.item(name("Alarm", i), [i](S &s) -> int & { return s.toneAlarm[std::size_t(i - 1)]; });
        c.item(name("Arm", i), [i](S &s) -> int & { return s.toneArm[std::size_t(i - 1)]; });
        c.item(name("DisArm", i), [i](S &s) -> int & { return s.toneDisarm[std::size_t(i - 1)]; });
    }
    // Relay.
    c.item(
        QStringLiteral("ReleControl1"), [](S &s) -> int & { return s.relayControl; },
        F::ReleControl1);
    c.item(
        QStringLiteral("ReleWorkMode1"), [](S &s) -> int & { return s.relayMode; },
        F::ReleWorkMode1);
    for (int p = 1; p <= PartitionCount; ++p)
        c.tick(name("iz1", p),
               [p](S &s) -> bool & { return s.relayPartitions[std::size_t(p - 1)]; });
    const struct {
        const char *name;
        bool S::*member;
    } boxes[] = {{"AlarmEvent1", &S::alarmEvent}, {"BoxDamage1", &S::boxDamage},
                 {"OnOffLine1", &S::onOffLine},   {"OnOffAllLine1", &S::onOffAllLine},
                 {"ErrorFire1", &S::errorFire},   {"NoConnect1", &S::noConnect},
                 {"ErrorPower1", &S::errorPower}, {"RadioChanBlck1", &S::radioChannelBlocked},
                 {"DamageCD1", &S::deviceTamper}, {"ErrorInterface1", &S::interfaceFault},
                 {"NoLine1", &S::lineFault},      {"PowerCD1", &S::powerFault}};
    for (const auto &b : boxes)
        c.tick(QLatin1String(b.name), [m = b.member](S &s) -> bool & { return s.*m; });
    c.item(
        QStringLiteral("TimeRzmk1"), [](S &s) -> int & { return s.timeRzmk; }, F::RelayTiming);
    c.item(
        QStringLiteral("TimeZmk1"), [](S &s) -> int & { return s.timeZmk; }, F::RelayTiming);
    c.item(
        QStringLiteral("TimePeriod1"), [](S &s) -> int & { return s.timePeriod; }, F::RelayTiming);
    c.item(QStringLiteral("InvRele1"), [](S &s) -> int & { return s.inverse; });
    return c.list;
}

class Views {
  public:
    QList<ViewControl> list;
    void add(const QString &n, std::function<Shown &(FormView &)> ref) {
        list << ViewControl{n, std::move(ref)};
    }
    void add(const char *n, Shown FormView::*m) {
        add(QLatin1String(n), [m](FormView &v) -> Shown & { return v.*m; });
    }
};

QList<ViewControl> buildViews() {
    using V = FormView;
    Views c;
    const struct {
        const char *name;
        Shown V::*member;
    } singles[] = {{"Panel5", &V::panel5},
                   {"Panel7", &V::panel7},
                   {"SMSphone", &V::smsCentre},
                   {"PinCode", &V::pin},
                   {"Panel30", &V::panel30},
                   {"Panel31", &V::panel31},
                   {"Panel32", &V::panel32},
                   {"Panel4", &V::panel4},
                   {"Panel13", &V::panel13},
                   {"Panel15", &V::panel15},
                   {"Label51", &V::label51},
                   {"Label3", &V::label3},
                   {"Label219", &V::label219},
                   {"Label93", &V::label93},
                   {"Label268", &V::label268},
                   {"Panel33", &V::panel33},
                   {"Panel34", &V::panel34},
                   {"PanelAttention", &V::panelAttention},
                   {"ControlInput", &V::controlInput},
                   {"Label52", &V::label52},
                   {"CheckConnectCD", &V::checkConnect},
                   {"Label53", &V::label53},
                   {"Input1", &V::input1},
                   {"Input2", &V::input2},
                   {"Label7", &V::label7},
                   {"Label50", &V::label50},
                   {"SpeedLine", &V::speedLine},
                   {"Label40", &V::label40},
                   {"GroupBox13", &V::relayBinding},
                   {"GroupBox14", &V::relayEvents},
                   {"GroupBox16", &V::relayExtra},
                   {"ReleWorkMode1", &V::relayMode},
                   {"AlarmEvent1", &V::alarmEvent},
                   {"BoxDamage1", &V::boxDamage},
                   {"OnOffLine1", &V::onOffLine},
                   {"OnOffAllLine1", &V::onOffAllLine},
                   {"ErrorFire1", &V::errorFire},
                   {"NoConnect1", &V::noConnect},
                   {"ErrorPower1", &V::errorPower},
                   {"RadioChanBlck1", &V::radioChannelBlocked},
                   {"DamageCD1", &V::deviceTamper},
                   {"ErrorInterface1", &V::interfaceFault},
                   {"NoLine1", &V::lineFault},
                   {"PowerCD1", &V::powerFault},
                   {"TimeRzmk1", &V::timeRzmk},
                   {"TimeZmk1", &V::timeZmk},
                   {"TimePeriod1", &V::timePeriod},
                   {"InvRele1", &V::inverse}};
    for (const auto &s : singles)
        c.add(s.name, s.member);

    for (int r = 1; r <= RecipientCount; ++r) {
        auto rec = [r](V &v) -> V::Recipient & { return v.recipients[std::size_t(r - 1)]; };
        const struct {
            const char *prefix;
            int number;
            Shown V::Recipient::*member;
        } family[] = {{"PhoneNumber", r, &V::Recipient::phone},
                      {"LinePhone", r, &V::Recipient::linePhone},
                      {"TypeMesgGSM", r, &V::Recipient::gsmType},
                      {"TypeMesgLine", r, &V::Recipient::lineType},
                      {"SMS", r, &V::Recipient::sms},
                      {"DialTry", r, &V::Recipient::dialTry},
                      {"WaitTime", r, &V::Recipient::waitTime},
                      {"ConfirmMes", r, &V::Recipient::confirm},
                      {"vz", 20 + r, &V::Recipient::arm},
                      {"sn", 20 + r, &V::Recipient::disarm},
                      {"start", 20 + r, &V::Recipient::relayOn},
                      {"stop", 20 + r, &V::Recipient::relayOff}};
        for (const auto &f : family)
            c.add(name(f.prefix, f.number),
                  [rec, m = f.member](V &v) -> Shown & { return rec(v).*m; });
        for (int p = 1; p <= PartitionCount; ++p)
            c.add(name("rzd", r, p),
                  [rec, p](V &v) -> Shown & { return rec(v).partitions[std::size_t(p - 1)]; });
        for (int t = 1; t <= EventTypeCount; ++t)
            c.add(name("event", r, t),
                  [rec, t](V &v) -> Shown & { return rec(v).events[std::size_t(t - 1)]; });
    }
    for (int p = 1; p <= PartitionCount; ++p) {
        auto part = [p](V &v) -> V::Partition & { return v.partitions[std::size_t(p - 1)]; };
        c.add(name("ObjNmb", p), [part](V &v) -> Shown & { return part(v).object; });
        c.add(name("RzdNmb", p), [part](V &v) -> Shown & { return part(v).number; });
        for (int family = 0; family < NameFamilyCount; ++family)
            c.add(name(NameLists[family], p),
                  [part, family](V &v) -> Shown & { return part(v).names[std::size_t(family)]; });
        c.add(name("iz1", p), [part](V &v) -> Shown & { return part(v).relay; });
        c.add(name("Label49", p),
              [p](V &v) -> Shown & { return v.relayPartitionCaptions[std::size_t(p - 1)]; });
    }
    for (int i = 0; i < 12; ++i)
        c.add(name("Label50", 10 + i),
              [i](V &v) -> Shown & { return v.relayEventCaptions[std::size_t(i)]; });
    for (int k = 1; k <= BlitzCount; ++k) {
        c.add(name("Edit", k), [k](V &v) -> Shown & { return v.blitzCodes[std::size_t(k - 1)]; });
        c.add(name("RO", k), [k](V &v) -> Shown & { return v.blitzVoice[std::size_t(k - 1)]; });
    }
    const struct {
        const char *names, *users, *suffix;
    } families[] = {{"GroupBox4", "GroupBox3", ""},
                    {"GroupBox8", "GroupBox6", "E"},
                    {"GroupBox15", "GroupBox7", "P"}};
    for (int f = 0; f < NameFamilyCount; ++f) {
        auto fam = [f](V &v) -> V::NameFamily & { return v.nameFamilies[std::size_t(f)]; };
        const QString sfx = QLatin1String(families[f].suffix);
        c.add(QLatin1String(families[f].names), [fam](V &v) -> Shown & { return fam(v).names; });
        c.add(QLatin1String(families[f].users), [fam](V &v) -> Shown & { return fam(v).users; });
        c.add(QStringLiteral("LabelShS") + sfx,
              [fam](V &v) -> Shown & { return fam(v).loopCaption; });
        c.add(QStringLiteral("LabelRazdel") + sfx,
              [fam](V &v) -> Shown & { return fam(v).partitionCaption; });
        c.add(QStringLiteral("LabelNameRazdel") + sfx,
              [fam](V &v) -> Shown & { return fam(v).partitionNameCaption; });
        c.add(QStringLiteral("LabelNameShS") + sfx,
              [fam](V &v) -> Shown & { return fam(v).loopNameCaption; });
        for (int k = 1; k <= OwnNameFields; ++k)
            c.add(name(OwnNames[f], k),
                  [fam, k](V &v) -> Shown & { return fam(v).ownNames[std::size_t(k - 1)]; });
    }
    for (int k = 1; k <= PartitionCount; ++k) {
        auto row = [k](V &v) -> V::ObjectRowView & { return v.objectRows[std::size_t(k - 1)]; };
        const struct {
            const char *prefix;
            Shown V::ObjectRowView::*member;
        } family[] = {
            {"LabelOb", &V::ObjectRowView::label}, {"WordOb", &V::ObjectRowView::word},
            {"Line", &V::ObjectRowView::line},     {"Password", &V::ObjectRowView::password},
            {"vz", &V::ObjectRowView::arm},        {"sn", &V::ObjectRowView::disarm},
            {"st", &V::ObjectRowView::status},     {"start", &V::ObjectRowView::relayOn},
            {"stop", &V::ObjectRowView::relayOff}};
        for (const auto &f : family)
            c.add(name(f.prefix, k), [row, m = f.member](V &v) -> Shown & { return row(v).*m; });
        for (int cmd = 6; cmd <= 8; ++cmd)
            c.add(name("cmnd", k, cmd), [row, cmd](V &v) -> Shown & {
                return row(v).fixedCommands[std::size_t(cmd - 6)];
            });
    }
    return c.list;
}

} // namespace

const QList<ValueControl> &valueControls() {
    static const QList<ValueControl> list = buildValues();
    return list;
}

const ValueControl *valueControl(const QString &name) {
    static const QHash<QString, int> index = [] {
        QHash<QString, int> out;
        const QList<ValueControl> &list = valueControls();
        for (int i = 0; i < list.size(); ++i)
            out.insert(list[i].name, i);
        return out;
    }();
    const auto it = index.constFind(name);
    return it == index.constEnd() ? nullptr : &valueControls()[*it];
}

const QList<ViewControl> &viewControls() {
    static const QList<ViewControl> list = buildViews();
    return list;
}

} // namespace q7x::image
