#include "image/formreach.h"

#include "image/formcontrols.h"

#include <QHash>

#include <initializer_list>

namespace q7x::image {

namespace {

// "Password12" as {"Password", 12}; a name without a number gives -1.
std::pair<QString, int> split(const QString &name) {
    qsizetype digits = name.size();
    while (digits > 0 && name[digits - 1].isDigit())
        --digits;
    if (digits == name.size())
        return {name, -1};
    return {name.left(digits), name.mid(digits).toInt()};
}

bool among(const QString &name, std::initializer_list<const char *> names) {
    for (const char *n : names)
        if (name == QLatin1String(n))
            return true;
    return false;
}

// The panel or group box that holds the control, when the rules show and hide it; empty for a
// control that sits on its page.
const char *containerOf(const QString &control) {
    const auto [prefix, n] = split(control);
    if (prefix == QLatin1String("iz") && control.startsWith(QLatin1String("iz1")))
        return "GroupBox13";
    if (among(control, {"AlarmEvent1", "BoxDamage1", "OnOffLine1", "OnOffAllLine1", "ErrorFire1",
                        "NoConnect1", "ErrorPower1", "RadioChanBlck1", "DamageCD1",
                        "ErrorInterface1", "NoLine1", "PowerCD1"}))
        return "GroupBox14";
    if (among(control, {"TimeRzmk1", "TimeZmk1", "TimePeriod1", "InvRele1"}))
        return "GroupBox16";
    if (prefix == QLatin1String("NameRzd"))
        return "GroupBox4";
    if (prefix == QLatin1String("NameRzdE"))
        return "GroupBox8";
    if (prefix == QLatin1String("NameRzdP"))
        return "GroupBox15";
    if (prefix == QLatin1String("OwnName"))
        return "GroupBox3";
    if (prefix == QLatin1String("OwnNameE"))
        return "GroupBox6";
    if (prefix == QLatin1String("OwnNameP"))
        return "GroupBox7";
    const bool objectRow = n >= 1 && n <= 16, recipientRow = n >= 21 && n <= 28;
    if (prefix == QLatin1String("Password"))
        return objectRow ? "Panel13" : recipientRow ? "Panel31" : nullptr;
    if (among(prefix, {"vz", "sn", "st", "start", "stop"}))
        return objectRow ? "Panel15" : recipientRow ? "Panel30" : nullptr;
    if (among(prefix, {"TypeMesgLine", "PauseInterval"}))
        return "Panel33";
    if (among(control, {"Alarm4", "Arm4", "DisArm4"}))
        return "Panel34";
    if (among(control, {"GsmLostCombo", "ZoneNumberCombo", "SIMcountCombo", "SMSphone", "PinCode",
                        "RequestBalance"}))
        return "Panel5";
    if (among(control, {"DialMode", "PickUpDelay", "LostLine", "PauseDial"}))
        return "Panel7";
    return nullptr;
}

// Whether the page of the control is among the tabs: the pages the rules may take away.
bool pageShown(const Form &f, const QString &control) {
    const QString prefix = split(control).first;
    if (among(prefix,
              {"LangChange", "NameRzd", "NameRzdE", "NameRzdP", "OwnName", "OwnNameE", "OwnNameP"}))
        return f.view.namesTab;
    if (prefix == QLatin1String("Dig"))
        return f.view.digitalTab;
    if (among(prefix, {"gr", "ComboBox"}))
        return f.view.dialGroupsTab;
    if (among(prefix, {"Edit", "RO"}))
        return f.view.blitzTab;
    return true;
}

bool shown(const Form &f, const QString &name) {
    static const QHash<QString, int> index = [] {
        QHash<QString, int> out;
        for (int i = 0; i < viewControls().size(); ++i)
            out.insert(viewControls()[i].name, i);
        return out;
    }();
    const auto it = index.constFind(name);
    if (it == index.constEnd())
        return true; // a control no rule governs keeps the state it was built with
    FormView view = f.view;
    const Shown &s = viewControls()[*it].shown(view);
    return s.visible && s.enabled;
}

} // namespace

bool reachable(const Form &f, const QString &control) {
    // Built out of reach, and no rule brings them back: the name language (a write stamps the
    // interface language's) and the dial groups' diagonal (each recipient is in its own group).
    if (control == QLatin1String("LangChange"))
        return false;
    if (const auto [prefix, n] = split(control); prefix == QLatin1String("gr") && n / 10 == n % 10)
        return false;
    if (!pageShown(f, control) || !shown(f, control))
        return false;
    const char *container = containerOf(control);
    return !container || shown(f, QLatin1String(container));
}

} // namespace q7x::image
