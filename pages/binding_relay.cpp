// Relay 1 and the helpers both bindings share.
#include "pages/binding_util.h"

#include <algorithm>

namespace q7x::pages::binding {

using image::RelaySpecialMode;

QString maskSetting(const MaskEdit *field) {
    QString text = field->text();
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }))
        return QString();
    // The mask's blanks after the last digit are not part of the number.
    while (text.endsWith(QLatin1Char('_')))
        text.chop(1);
    return text;
}

void applyRelay(FormBase &form, const image::Relay1Settings &r) {
    const Controls &c = form.controls();
    const image::RelaySettings &s = r.events;
    const int mode = image::relayWorkMode(s);
    // Selecting an item applies the fixed settings of its mode through the group's click rule;
    // the rule runs here also when the item was already selected, so the window always shows
    // the mode's settings rather than whatever was left on the page.
    const bool unchanged = form.ReleWorkMode1->itemIndex() == mode;
    form.ReleWorkMode1->setItemIndex(mode);
    if (unchanged)
        form.ReleWorkMode1Click(form.ReleWorkMode1);

    if (mode == RelaySpecialMode) {
        setIndex(c.combo(S("TimeZmk1")), s.timeZmk);
        setIndex(c.combo(S("TimeRzmk1")), s.timeRzmk);
        setIndex(c.combo(S("TimePeriod1")), s.timePeriod);
        c.combo(S("InvRele1"))->setItemIndex(s.inverted ? 1 : 0);
    }
    c.check(S("RadioChanBlck1"))->setChecked(r.radioChannelBlocked);
    c.check(S("DamageCD1"))->setChecked(r.deviceTamper);
    c.check(S("ErrorInterface1"))->setChecked(r.interfaceFault);
    c.check(S("NoLine1"))->setChecked(r.lineFault);
    c.check(S("PowerCD1"))->setChecked(r.powerFault);
    if (mode != RelaySpecialMode)
        return;
    c.check(S("OnOffLine1"))->setChecked(s.onOffLine);
    c.check(S("OnOffAllLine1"))->setChecked(s.onOffAllLine);
    c.check(S("ErrorFire1"))->setChecked(s.errorFire);
    c.check(S("NoConnect1"))->setChecked(s.noConnect);
    c.check(S("BoxDamage1"))->setChecked(s.boxDamage);
    c.check(S("ErrorPower1"))->setChecked(s.errorPower);
    c.check(S("AlarmEvent1"))->setChecked(s.alarmEvent);
    c.widget(S("TimeRzmk1"))->setEnabled(true);
    c.widget(S("TimeZmk1"))->setEnabled(true);
    c.widget(S("TimePeriod1"))->setEnabled(false);
    form.SpecModeRele(c.combo(S("TimeRzmk1")));
}

void applyRelayPartitions(const Controls &c, const image::Relay1Settings &r) {
    for (int p = 1; p <= image::PartitionCount; ++p)
        c.check(S("iz1"), p)->setChecked(r.partitions[std::size_t(p - 1)]);
}

image::Relay1Settings gatherRelay(const FormBase &form) {
    const Controls &c = form.controls();
    auto checked = [&](const char *name) { return c.check(S(name))->isChecked(); };
    image::Relay1Settings r;
    r.byCommand = form.ReleControl1->itemIndex() == 0;
    for (int p = 1; p <= image::PartitionCount; ++p)
        r.partitions[std::size_t(p - 1)] = c.check(S("iz1"), p)->isChecked();
    image::RelaySettings &s = r.events;
    s.alarmEvent = checked("AlarmEvent1");
    s.boxDamage = checked("BoxDamage1");
    s.onOffLine = checked("OnOffLine1");
    s.onOffAllLine = checked("OnOffAllLine1");
    s.errorFire = checked("ErrorFire1");
    s.noConnect = checked("NoConnect1");
    s.errorPower = checked("ErrorPower1");
    s.inverted = index(c, "InvRele1") == 1;
    s.timeRzmk = index(c, "TimeRzmk1");
    s.timeZmk = index(c, "TimeZmk1");
    s.timePeriod = index(c, "TimePeriod1");
    r.radioChannelBlocked = checked("RadioChanBlck1");
    r.deviceTamper = checked("DamageCD1");
    r.interfaceFault = checked("ErrorInterface1");
    r.lineFault = checked("NoLine1");
    r.powerFault = checked("PowerCD1");
    return r;
}

} // namespace q7x::pages::binding
