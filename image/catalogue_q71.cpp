// Every Q71 setting, page by page in the window's order.
#include "image/catalogue_builder.h"

namespace q7x::image {

using namespace detail;

namespace {

using S = Q71Settings;
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
        {"pauseDial", "Label605", "PauseDial", &S::pauseDial, items::pauseDial()},
        {"dialMode", "Label606", "DialMode", &S::dialMode, items::dialMode()},
        {"lostLine", "Label607", "LostLine", &S::lostLine, items::lostLine()},
        {"pickUpDelay", "Label608", "PickUpDelay", &S::pickUpDelay, items::pickUpDelay()}};
    for (const auto &l : lists)
        c.list(QLatin1String(l.key), {{cap(l.label)}}, QLatin1String(l.control), l.items,
               [m = l.member](S &s) -> int & { return s.*m; });
    c.choice(QStringLiteral("dialInTurn"), {{cap("Label601")}}, QStringLiteral("NextDial"),
             items::nextDial(), 0, [](S &s) -> bool & { return s.dialInTurn; });
}

void recipients(Builder &c) {
    for (int r = 1; r <= RecipientCount; ++r) {
        auto rec = [r](S &s) -> Q71Recipient & { return s.recipients[std::size_t(r - 1)]; };
        const QString prefix = QStringLiteral("recipients.%1.").arg(r);
        c.recipientGrids(
            r, [rec](S & s) -> auto & { return rec(s).partitions; },
            [rec](S & s) -> auto & { return rec(s).events; });
        c.pages = {QStringLiteral("TabSheet2"), QStringLiteral("TabSheet10")};
        c.text(prefix + QStringLiteral("phone"), {{cap("Label20")}, {r}}, numbered("LinePhone", r),
               [rec](S &s) -> QString & { return rec(s).phone; });
        c.list(prefix + QStringLiteral("dialAttempts"), {{cap("Label707")}, {r}},
               numbered("DialTry", r), items::dialTry(),
               [rec](S &s) -> int & { return rec(s).dialAttempts; });
        c.list(prefix + QStringLiteral("waitTime"), {{cap("Label709")}, {r}},
               numbered("WaitTime", r), items::waitTime(),
               [rec](S &s) -> int & { return rec(s).waitTime; });
        c.choice(prefix + QStringLiteral("confirm"), {{cap("Label711")}, {r}},
                 numbered("ConfirmMes", r), items::yesNo(), 0,
                 [rec](S &s) -> bool & { return rec(s).confirm; });
        c.list(prefix + QStringLiteral("messageType"), {{cap("Label93")}, {r}},
               numbered("TypeMesgLine", r), items::typeMesgLine(),
               [rec](S &s) -> int & { return rec(s).messageType; });
    }
    c.list(QStringLiteral("pauseInterval"), {{cap("Label268")}}, QStringLiteral("PauseInterval1"),
           items::pauseInterval(), [](S &s) -> int & { return s.pauseInterval; });
    c.urgency([](S & s) -> auto & { return s.urgent; });
}

void partitions(Builder &c) {
    c.pages = {QStringLiteral("TabSheet2"), QStringLiteral("TabSheet8")};
    for (int p = 1; p <= PartitionCount; ++p) {
        auto part = [p](S &s) -> Q71Partition & { return s.partitions[std::size_t(p - 1)]; };
        const QString prefix = QStringLiteral("partitions.%1.").arg(p);
        c.object(prefix + QStringLiteral("object"), {{cap("Label98")}, {p}}, numbered("ObjNmb", p),
                 [part](S &s) -> int & { return part(s).object; });
        c.list(prefix + QStringLiteral("number"), {{cap("Label99")}, {p}}, numbered("RzdNmb", p),
               items::partitionNumbers(), [part](S &s) -> int & { return part(s).number; });
    }
}

void codesAndGroups(Builder &c) {
    c.pages = {QStringLiteral("TabSheet2"), QStringLiteral("TabSheet11")};
    for (int k = 1; k <= 12; ++k)
        c.text(QStringLiteral("digitalCodes.%1").arg(k), {{cap(numbered("Label79", k))}},
               numbered("Dig", k),
               [k](S &s) -> QString & { return s.digitalCodes[std::size_t(k - 1)]; });
    c.text(QStringLiteral("digitalCode13"), {{cap("Label7913")}}, QStringLiteral("Dig13"),
           [](S &s) -> QString & { return s.digitalCode13; });
    c.pages = {QStringLiteral("TabSheet2"), QStringLiteral("TabSheet12")};
    for (int a = 1; a <= RecipientCount; ++a)
        for (int b = 1; b <= RecipientCount; ++b)
            c.flag(QStringLiteral("dialGroups.%1.%2").arg(a).arg(b),
                   {{cap(numbered("Label81", a)), cap("Label713")}, {0, b}},
                   QStringLiteral("gr%1%2").arg(a).arg(b), [a, b](S &s) -> bool & {
                       return s.dialGroups[std::size_t(a - 1)][std::size_t(b - 1)];
                   });
}

void remote(Builder &c) {
    c.pages = {QStringLiteral("TabSheet5")};
    const struct {
        const char *key, *kind;
        bool Q71Recipient::*member;
    } commands[] = {{"arm", "vz2", &Q71Recipient::arm},
                    {"disarm", "sn2", &Q71Recipient::disarm},
                    {"status", "st2", &Q71Recipient::status},
                    {"relayOn", "start2", &Q71Recipient::relayOn},
                    {"relayOff", "stop2", &Q71Recipient::relayOff}};
    for (int r = 1; r <= RecipientCount; ++r) {
        auto rec = [r](S &s) -> Q71Recipient & { return s.recipients[std::size_t(r - 1)]; };
        const QString prefix = QStringLiteral("recipients.%1.").arg(r);
        const QString row = cap(numbered("Label46", 10 + r));
        c.text(prefix + QStringLiteral("password"), {{row, cap("Label461")}},
               numbered("Password", 20 + r), [rec](S &s) -> QString & { return rec(s).password; })
            .secret = true;
        int label = 471;
        for (const auto &cmd : commands)
            c.flag(prefix + QLatin1String(cmd.key), {{row, cap(numbered("Label", label++))}},
                   numbered(cmd.kind, r),
                   [rec, m = cmd.member](S &s) -> bool & { return rec(s).*m; });
    }
}

QList<Q71Field> build() {
    Builder c;
    mainPage(c);
    recipients(c);
    partitions(c);
    codesAndGroups(c);
    c.periods([](S &s) -> int & { return s.periodHardware; },
              [](S &s) -> int & { return s.delayHardware; },
              [](S &s) -> int & { return s.periodRzd; }, [](S &s) -> int & { return s.delayRzd; },
              [](S &s) -> int & { return s.delayTypeAlarm; },
              [](S &s) -> int & { return s.testLine; });
    remote(c);
    c.tone(3, [](S &s, int row, int n) -> int & {
        auto &codes = row == 0 ? s.toneAlarm : row == 1 ? s.toneArm : s.toneDisarm;
        return codes[std::size_t(n - 1)];
    });
    c.relay([](S &s) -> Relay1Settings & { return s.relay; });
    return c.fields;
}

} // namespace

const QList<Q71Field> &catalogueQ71() {
    static const QList<Q71Field> fields = build();
    return fields;
}

} // namespace q7x::image
