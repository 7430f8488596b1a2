// Every Q72 setting, page by page in the window's order.
#include "image/catalogue_builder.h"

namespace q7x::image {

using namespace detail;

namespace {

using S = Q72Settings;
using Builder = Catalogue<S>;

template <class T> using Member = T S::*;

void mainPage(Builder &c) {
    c.pages = {QStringLiteral("TabSheet1")};
    const struct {
        const char *key, *label, *control;
        Member<int> member;
        QStringList items;
    } lists[] = {
        {"workMode", "Label2", "WorkModeComboBox", &S::workMode, items::workMode()},
        {"input1", "Label7", "Input1", &S::input1, items::input()},
        {"input2", "Label50", "Input2", &S::input2, items::input()},
        {"controlInput", "Label52", "ControlInput", &S::controlInput, items::controlInput()},
        {"checkConnect", "Label53", "CheckConnectCD", &S::checkConnect, items::checkConnectCD()},
        {"phrasePause", "Label602", "PhrasePause", &S::phrasePause, items::phrasePause()},
        {"speedLine", "Label40", "SpeedLine", &S::speedLine, items::speedLine()},
        {"gsmLost", "Label603", "GsmLostCombo", &S::gsmLost, items::gsmLost()},
        {"zoneNumber", "Label604", "ZoneNumberCombo", &S::zoneNumber, items::yesNoCapital()},
        {"simCount", "Label114", "SIMcountCombo", &S::simCount, items::simCount()}};
    for (const auto &l : lists)
        c.list(QLatin1String(l.key), {{cap(l.label)}}, QLatin1String(l.control), l.items,
               [m = l.member](S &s) -> int & { return s.*m; });
    c.choice(QStringLiteral("eventsArchive"), {{cap("Label600")}},
             QStringLiteral("CmB_EventsArchive"), items::eventsArchive(), 0,
             [](S &s) -> bool & { return s.eventsArchive; });
    c.choice(QStringLiteral("dialInTurn"), {{cap("Label601")}}, QStringLiteral("NextDial"),
             items::nextDial(), 0, [](S &s) -> bool & { return s.dialInTurn; });
    c.text(QStringLiteral("smsCentre"), {{cap("Label6")}}, QStringLiteral("SMSphone"),
           [](S &s) -> QString & { return s.smsCentre; });
    c.text(QStringLiteral("pin"), {{cap("Label5")}}, QStringLiteral("PinCode"),
           [](S &s) -> QString & { return s.pin; })
        .secret = true;
    c.text(QStringLiteral("balanceRequest"), {{cap("Label212")}}, QStringLiteral("RequestBalance"),
           [](S &s) -> QString & { return s.balanceRequest; });
}

void recipients(Builder &c) {
    for (int r = 1; r <= RecipientCount; ++r) {
        auto rec = [r](S &s) -> Q72Recipient & { return s.recipients[std::size_t(r - 1)]; };
        const QString prefix = QStringLiteral("recipients.%1.").arg(r);
        c.recipientGrids(
            r, [rec](S & s) -> auto & { return rec(s).partitions; },
            [rec](S & s) -> auto & { return rec(s).events; });
        c.pages = {QStringLiteral("TabSheet2"), QStringLiteral("TabSheet10")};
        c.text(prefix + QStringLiteral("phone"), {{cap("Label20")}, {r}},
               numbered("PhoneNumber", r), [rec](S &s) -> QString & { return rec(s).phone; });
        c.choice(prefix + QStringLiteral("combineSms"), {{cap("Label219")}, {r}},
                 numbered("SMS", r), items::yesNo(), 0,
                 [rec](S &s) -> bool & { return rec(s).combineSms; });
        c.list(prefix + QStringLiteral("dialAttempts"), {{cap("Label707")}, {r}},
               numbered("DialTry", r), items::dialTry(),
               [rec](S &s) -> int & { return rec(s).dialAttempts; });
        c.list(prefix + QStringLiteral("waitTime"), {{cap("Label709")}, {r}},
               numbered("WaitTime", r), items::waitTime(),
               [rec](S &s) -> int & { return rec(s).waitTime; });
        c.choice(prefix + QStringLiteral("confirm"), {{cap("Label711")}, {r}},
                 numbered("ConfirmMes", r), items::yesNo(), 0,
                 [rec](S &s) -> bool & { return rec(s).confirm; });
        c.list(prefix + QStringLiteral("notification"), {{cap("Label93")}, {r}},
               numbered("TypeMesgGSM", r), items::typeMesgGSM(),
               [rec](S &s) -> int & { return rec(s).notification; });
    }
    c.urgency([](S & s) -> auto & { return s.urgent; });
}

void partitions(Builder &c) {
    c.pages = {QStringLiteral("TabSheet2"), QStringLiteral("TabSheet8")};
    for (int p = 1; p <= PartitionCount; ++p) {
        auto part = [p](S &s) -> Q72Partition & { return s.partitions[std::size_t(p - 1)]; };
        const QString prefix = QStringLiteral("partitions.%1.").arg(p);
        c.object(prefix + QStringLiteral("object"), {{cap("Label98")}, {p}}, numbered("ObjNmb", p),
                 [part](S &s) -> int & { return part(s).object; });
        c.list(prefix + QStringLiteral("number"), {{cap("Label99")}, {p}}, numbered("RzdNmb", p),
               items::partitionNumbers(), [part](S &s) -> int & { return part(s).number; });
        // The group is derived by the window from the objects; no control shows it. It is the
        // row ("Object") of the remote-control page that the partition's object belongs to.
        c.object(prefix + QStringLiteral("group"), {{cap("Label98"), cap("Label463")}, {p, 0}},
                 QString(), [part](S &s) -> int & { return part(s).group; });
    }
}

// Partition names and user names follow the chosen name language: each language has its own
// lists and fields.
QString family(const S &s) {
    static const char *const suffixes[] = {"", "E", "P"};
    return QLatin1String(s.nameLanguage >= 0 && s.nameLanguage < 3 ? suffixes[s.nameLanguage] : "");
}

void names(Builder &c) {
    c.pages = {QStringLiteral("TabSheet3")};
    c.list(QStringLiteral("nameLanguage"), {{cap("LangChange")}}, QStringLiteral("LangChange"),
           items::nameLanguage(), [](S &s) -> int & { return s.nameLanguage; });
    const QStringList lists[] = {items::partitionNamesRu(), items::partitionNamesEn(),
                                 items::partitionNamesTranslit()};
    for (int p = 1; p <= PartitionCount; ++p) {
        auto &f =
            c.list(QStringLiteral("partitions.%1.name").arg(p), {{cap("LabelNameRazdel")}, {p}}, {},
                   {}, [p](S &s) -> int & { return s.partitions[std::size_t(p - 1)].name; });
        f.control = [p](const S &s) {
            return QStringLiteral("NameRzd") + family(s) + QString::number(p);
        };
        f.items = [lists](const S &s) {
            return s.nameLanguage >= 0 && s.nameLanguage < 3 ? lists[s.nameLanguage] : lists[0];
        };
    }
    for (int n = 1; n <= 4; ++n) {
        auto &f = c.text(QStringLiteral("ownNames.%1").arg(n), {{cap(numbered("OwnName", n))}}, {},
                         [n](S &s) -> QString & { return s.ownNames[std::size_t(n - 1)]; });
        f.control = [n](const S &s) {
            return QStringLiteral("OwnName") + family(s) + QString::number(n);
        };
    }
}

void remote(Builder &c) {
    c.pages = {QStringLiteral("TabSheet5")};
    const struct {
        const char *key, *kind;
        bool ObjectGroup::*member;
    } commands[] = {{"arm", "vz", &ObjectGroup::arm},
                    {"disarm", "sn", &ObjectGroup::disarm},
                    {"status", "st", &ObjectGroup::status},
                    {"relayOn", "start", &ObjectGroup::relayOn},
                    {"relayOff", "stop", &ObjectGroup::relayOff}};
    for (int g = 1; g <= GroupCount; ++g) {
        auto group = [g](S &s) -> ObjectGroup & { return s.groups[std::size_t(g - 1)]; };
        const QString prefix = QStringLiteral("groups.%1.").arg(g);
        c.password(
            prefix + QStringLiteral("password"), {{cap("Label463"), cap("Label81")}, {g}},
            numbered("Password", g), [group](S & s) -> auto & { return group(s).password; });
        int label = 481;
        for (const auto &cmd : commands)
            c.flag(prefix + QLatin1String(cmd.key),
                   {{cap("Label463"), cap(numbered("Label", label++))}, {g}}, numbered(cmd.kind, g),
                   [group, m = cmd.member](S &s) -> bool & { return group(s).*m; });
    }
}

void blitz(Builder &c) {
    c.pages = {QStringLiteral("TabSheet2"), QStringLiteral("TabSheet14")};
    for (int k = 1; k <= BlitzCount; ++k) {
        const int half = k <= 12 ? 1 : 2;
        c.text(QStringLiteral("blitzCodes.%1").arg(k),
               {{cap(numbered("Label86", k)), cap(numbered("Label83", half))}}, numbered("Edit", k),
               [k](S &s) -> QString & { return s.blitzCodes[std::size_t(k - 1)]; });
        c.flag(QStringLiteral("blitzVoice.%1").arg(k),
               {{cap(numbered("Label86", k)), cap(numbered("Label84", half))}}, numbered("RO", k),
               [k](S &s) -> bool & { return s.blitzVoice[std::size_t(k - 1)]; });
    }
}

QList<Q72Field> build() {
    Builder c;
    mainPage(c);
    recipients(c);
    partitions(c);
    blitz(c);
    names(c);
    c.periods([](S &s) -> int & { return s.periodHardware; },
              [](S &s) -> int & { return s.delayHardware; },
              [](S &s) -> int & { return s.periodRzd; }, [](S &s) -> int & { return s.delayRzd; },
              [](S &s) -> int & { return s.delayTypeAlarm; },
              [](S &s) -> int & { return s.testLine; });
    remote(c);
    c.tone(4, [](S &s, int row, int n) -> int & {
        auto &codes = row == 0 ? s.toneAlarm : row == 1 ? s.toneArm : s.toneDisarm;
        return codes[std::size_t(n - 1)];
    });
    c.relay([](S &s) -> Relay1Settings & { return s.relay; });
    return c.fields;
}

} // namespace

const QList<Q72Field> &catalogueQ72() {
    static const QList<Q72Field> fields = build();
    return fields;
}

} // namespace q7x::image
