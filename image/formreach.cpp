#include "image/formreach.h"

#include "image/formcontrols.h"

#include <QRegularExpression>

namespace q7x::image {

namespace {

// The controls each container of the window holds, by their names; the containers are controls
// whose visible and enabled flags the rules set.
struct Held {
    QRegularExpression controls;
    const char *container;
};

const QList<Held> &containers() {
    static const QList<Held> table = [] {
        const struct {
            const char *pattern, *container;
        } rows[] = {
            {"iz1\\d+", "GroupBox13"},
            {"AlarmEvent1|BoxDamage1|OnOffLine1|OnOffAllLine1|ErrorFire1|NoConnect1|ErrorPower1|"
             "RadioChanBlck1|DamageCD1|ErrorInterface1|NoLine1|PowerCD1",
             "GroupBox14"},
            {"TimeRzmk1|TimeZmk1|TimePeriod1|InvRele1", "GroupBox16"},
            {"NameRzd\\d+", "GroupBox4"},
            {"NameRzdE\\d+", "GroupBox8"},
            {"NameRzdP\\d+", "GroupBox15"},
            {"OwnName\\d", "GroupBox3"},
            {"OwnNameE\\d", "GroupBox6"},
            {"OwnNameP\\d", "GroupBox7"},
            {"Password([1-9]|1[0-6])", "Panel13"},
            {"Password2[1-8]", "Panel31"},
            {"(vz|sn|st|start|stop)([1-9]|1[0-6])", "Panel15"},
            {"(vz|sn|st|start|stop)2[1-8]", "Panel30"},
            {"(TypeMesgLine|PauseInterval)[1-8]", "Panel33"},
            {"Alarm4|Arm4|DisArm4", "Panel34"},
            {"GsmLostCombo|ZoneNumberCombo|SIMcountCombo|SMSphone|PinCode|RequestBalance",
             "Panel5"},
            {"DialMode|PickUpDelay|LostLine|PauseDial", "Panel7"},
        };
        QList<Held> out;
        for (const auto &r : rows)
            out.append({QRegularExpression(QStringLiteral("^(%1)$").arg(QLatin1String(r.pattern))),
                        r.container});
        return out;
    }();
    return table;
}

// The pages the rules may take from the tabs, and the controls on each.
bool pageShown(const Form &f, const QString &control) {
    static const QRegularExpression names(
        QStringLiteral("^(LangChange|NameRzd[EP]?\\d+|OwnName[EP]?\\d)$")),
        digital(QStringLiteral("^Dig\\d+$")), groups(QStringLiteral("^(gr\\d\\d|ComboBox\\d+)$")),
        blitz(QStringLiteral("^(Edit|RO)\\d+$"));
    if (names.match(control).hasMatch())
        return f.view.namesTab;
    if (digital.match(control).hasMatch())
        return f.view.digitalTab;
    if (groups.match(control).hasMatch())
        return f.view.dialGroupsTab;
    if (blitz.match(control).hasMatch())
        return f.view.blitzTab;
    return true;
}

bool shown(const Form &f, const QString &name) {
    for (const ViewControl &v : viewControls())
        if (v.name == name) {
            FormView view = f.view;
            const Shown &s = v.shown(view);
            return s.visible && s.enabled;
        }
    return true; // a control no rule governs keeps the state it was built with
}

} // namespace

bool reachable(const Form &f, const QString &control) {
    // Built out of reach, and no rule brings them back: the name language (a write stamps the
    // interface language's) and the dial groups' diagonal (each recipient is in its own group).
    static const QRegularExpression never(
        QStringLiteral("^(LangChange|gr11|gr22|gr33|gr44|gr55|gr66|gr77|gr88)$"));
    if (never.match(control).hasMatch())
        return false;
    if (!pageShown(f, control) || !shown(f, control))
        return false;
    for (const Held &h : containers())
        if (h.controls.match(control).hasMatch())
            return shown(f, QLatin1String(h.container));
    return true;
}

} // namespace q7x::image
