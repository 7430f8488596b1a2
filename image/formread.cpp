// The rules over the form as a whole: its reset, factory settings, an image read into it (with the
// rules that run while it is read) and a connected model.
#include "image/formrules_p.h"
#include "image/pagerules.h"
#include "image/presets.h"


namespace q7x::image::form {

namespace {
// Lists whose first item is the "set" state ("да", "срочное", "по команде" ...).
int firstIf(bool set) { return set ? 0 : 1; }
} // namespace

void Rules::ResetForm() {
    const Counts &n = counts();
    // First page, and Russian partition names.
    fx.firstPage = true;
    setLangChange(0);

    // Pick-up delay, urgency, and each partition name list on its own partition's item.
    setItem(s.pickUpDelay, 0, n.pickUpDelay);
    for (int &u : s.urgent)
        setItem(u, 1, n.urgency);
    for (int p = 1; p <= PartitionCount; ++p)
        for (int &name : s.partitions[std::size_t(p - 1)].names)
            setItem(name, p - 1, n.partitionNames);

    // Delay, period, work-mode, input and line lists.
    setItem(s.delayTypeAlarm, 0, n.delay);
    setItem(s.delayRzd, 0, n.delay);
    setItem(s.delayHardware, 0, n.delay);
    setItem(s.periodRzd, 0, n.period);
    setItem(s.periodHardware, 0, n.period);
    setItem(s.testLine, 0, n.testLine);
    setItem(s.workMode, 1, n.workMode);
    setItem(s.input1, 0, n.input);
    setItem(s.input2, 0, n.input);
    setItem(s.controlInput, 1, n.controlInput);
    setItem(s.checkConnect, 1, n.checkConnect);
    setItem(s.lostLine, 9, n.lostLine);
    setItem(s.gsmLost, 1, n.gsmLost);
    setItem(s.zoneNumber, 0, n.zoneNumber);
    setItem(s.simCount, 6, n.simCount);
    setItem(s.pauseDial, 1, n.pauseDial);
    setItem(s.dialMode, 1, n.dialMode);

    // Tone lists (their previews follow them).
    const int alarm[4] = {5, 5, 5, 1}, arm[4] = {1, 5, 9, 2}, disarm[4] = {9, 5, 1, 3};
    for (int i = 0; i < 4; ++i) {
        const int count = i < 3 ? n.toneSymbols : n.tonePause;
        setItem(s.toneAlarm[std::size_t(i)], alarm[i], count);
        setItem(s.toneArm[std::size_t(i)], arm[i], count);
        setItem(s.toneDisarm[std::size_t(i)], disarm[i], count);
    }

    // Dialling lists and recipient 1's confirmation, dial attempts and wait time.
    setItem(s.nextDial, 0, n.nextDial);
    setItem(s.phrasePause, 0, n.phrasePause);
    setItem(s.speedLine, 0, n.speedLine);
    setItem(s.recipients[0].confirm, 0, n.yesNo);
    setItem(s.recipients[0].dialTry, 4, n.dialTry);
    setItem(s.recipients[0].waitTime, 3, n.waitTime);

    // Object and partition of each partition row.
    for (int p = 1; p <= PartitionCount; ++p) {
        setItem(s.partitions[std::size_t(p - 1)].object, 1, objectCount(p));
        DistanceControl(p);
        setItem(s.partitions[std::size_t(p - 1)].number, p - 1, n.partitionNumbers);
    }

    // Recipients.
    for (int r = 1; r <= RecipientCount; ++r) {
        FormRecipient &rec = s.recipients[std::size_t(r - 1)];
        setItem(rec.lineType, 0, n.lineTypes);
        setItem(rec.gsmType, 1, gsmCount(r));
        ConnectTimeConfrmEnabl(r);
        setItem(rec.confirm, 0, n.yesNo);
        setItem(rec.dialTry, 4, n.dialTry);
        setItem(rec.waitTime, 3, n.waitTime);
        setItem(rec.sms, 1, n.yesNo);
        v.recipients[std::size_t(r - 1)].sms.enabled = true;
    }

    // Remote commands, kind by kind: the object rows, then the recipient rows.
    for (int kind = 0; kind < 5; ++kind) {
        for (ObjectRow &row : s.objectRows) {
            Commands &c = row.commands;
            bool *boxes[] = {&c.arm, &c.disarm, &c.status, &c.relayOn, &c.relayOff};
            *boxes[kind] = false;
        }
        for (int r = 1; r <= RecipientCount; ++r)
            setCommand(r, kind, false);
    }

    // Relay, then the work-mode and object rules.
    setReleWorkMode(0);
    setItem(s.relayControl, 1, n.releControl);
    WorkModeCombo();
    ObjNmbClick({From::ObjNmb, 1});
}

void Rules::DefaultButtonClick() {
    DecodeImage(presetImage(f.model, s.workMode));
    if (f.model == core::DeviceModel::Q72)
        ChangeOwnName({From::NameList, 1, 0});
    fx.status = FormEffects::Status::FactorySettings;
    fx.defaultsRestored = true;
}

void Rules::DecodeImage(const ConfigImage &image) {
    if (f.model == core::DeviceModel::Q71)
        DecodeImageQ71(decodeQ71(image).settings);
    else
        DecodeImageQ72(decodeQ72(image));
}

void Rules::ModelAdaptation(core::DeviceModel model) {
    f.model = model;
    if (model == core::DeviceModel::Q72) {
        ApplyModelView(4);
        return;
    }
    ApplyModelView(3);
    FillObjectNumbers();
    TypeMesgLineChange(1);
}

// Relay 1: the relay mode the settings match (its click rule sets the mode's fixed settings),
// the five equipment boxes, and in the special mode every relay control.
void Rules::applyRelay(const Relay1Settings &r) {
    const RelaySettings &e = r.events;
    const int mode = relayWorkMode(e);
    // The click rule runs also when the item was already selected, so the form always shows the
    // mode's settings rather than whatever was left on the page.
    const bool unchanged = s.relayMode == mode;
    setReleWorkMode(mode);
    if (unchanged)
        ReleWorkMode1Click();
    const bool special = mode == RelaySpecialMode;
    if (special) {
        setIndex(s.timeZmk, e.timeZmk, counts().timeOpenClose);
        setIndex(s.timeRzmk, e.timeRzmk, counts().timeOpenClose);
        setIndex(s.timePeriod, e.timePeriod, counts().timePeriod);
        setItem(s.inverse, e.inverted ? 1 : 0, counts().invRele);
    }
    s.radioChannelBlocked = r.radioChannelBlocked;
    s.deviceTamper = r.deviceTamper;
    s.interfaceFault = r.interfaceFault;
    s.lineFault = r.lineFault;
    s.powerFault = r.powerFault;
    if (!special)
        return;
    s.onOffLine = e.onOffLine;
    s.onOffAllLine = e.onOffAllLine;
    s.errorFire = e.errorFire;
    s.noConnect = e.noConnect;
    s.boxDamage = e.boxDamage;
    s.errorPower = e.errorPower;
    s.alarmEvent = e.alarmEvent;
    v.timeRzmk.enabled = true;
    v.timeZmk.enabled = true;
    v.timePeriod.enabled = false;
    SpecModeRele();
}

namespace {

// The Q72 settings applied in the order the window has always read an image, each failed check
// raised when its field is reached.
class Q72Read {
  public:
    Q72Read(Rules &rules, const DecodeResult<Q72Settings> &d)
        : r(rules), s(rules.s), v(rules.v), d(d.settings), errors(d.errors) {}
    void run(bool &restoring);

  private:
    void report(Check check);
    void recipients();
    void language();
    void names();
    void timing();
    void objects();
    void groups();
    void blitz();
    void prepareBlitzItem(int k, bool blitz);

    Rules &r;
    FormSettings &s;
    FormView &v;
    const Q72Settings &d;
    const QList<FieldError> &errors;
    int family = 0;
};

void Q72Read::report(Check check) {
    for (const FieldError &e : errors)
        if (e.check == check)
            r.fx.notices.append({FormNotice::Kind::FieldError, 0, e.labels, {}, {}});
}

void Q72Read::run(bool &restoring) {
    const Counts &n = counts();
    const qsizetype firstNotice = r.fx.notices.size();
    // Relay 1 control, then its rule; no relay-control message.
    setItem(s.relayControl, firstIf(d.relay.byCommand), n.releControl);
    r.ReleControl1Change({});

    report(Check::WorkMode);
    setItem(s.workMode, d.workMode, n.workMode);
    r.WorkModeCombo();

    for (int k = 0; k < RecipientCount; ++k)
        setItem(s.recipients[std::size_t(k)].sms, firstIf(d.recipients[std::size_t(k)].combineSms),
                n.yesNo);
    s.relayPartitions = d.relay.partitions;
    r.applyRelay(d.relay);

    s.pin.clear();
    report(Check::Pin);
    if (!d.pin.isEmpty())
        s.pin = d.pin;

    recipients();
    language();
    names();
    timing();
    objects();
    groups();
    blitz();

    // After any bad field, warn and restore the factory preset. The presets pass every check, so
    // the restore cannot come back here; the guard only keeps a damaged preset from recursing
    // without end.
    if (!errors.isEmpty() && !restoring) {
        // The messages are shown over the image as read, with the fall-back values.
        r.fx.notices.insert(
            firstNotice, {FormNotice::Kind::State, 0, {}, {}, std::make_shared<const Form>(r.f)});
        r.fx.notices.append({FormNotice::Kind::DamagedImage, 0, {}, {}, {}});
        restoring = true;
        r.DefaultButtonClick();
        restoring = false;
    }
}

// A GSM list without the SMS-Blitz item gets it back while an image uses it; the item goes away
// again when a later image no longer uses it.
void Q72Read::prepareBlitzItem(int k, bool blitz) {
    BlitzItem &item = v.recipients[std::size_t(k - 1)].blitzItem;
    if (blitz && item == BlitzItem::Removed) {
        item = BlitzItem::AddedBack;
    } else if (!blitz && item == BlitzItem::AddedBack) {
        item = BlitzItem::Removed;
        int &type = s.recipients[std::size_t(k - 1)].gsmType;
        if (type == GsmBlitzItem) // the list moves to its new last item
            type = GsmBlitzItem - 1;
    }
}

void Q72Read::recipients() {
    const Counts &n = counts();
    v.blitzTab = false;
    for (int k = 1; k <= RecipientCount; ++k) {
        const int item = d.recipients[std::size_t(k - 1)].notification;
        if (item != NoItem) {
            prepareBlitzItem(k, item == GsmBlitzItem);
            setIndex(s.recipients[std::size_t(k - 1)].gsmType, item, r.gsmCount(k));
            if (item == GsmBlitzItem)
                v.blitzTab = true;
        }
        r.ConnectTimeConfrmEnabl(k);
    }
    for (int k = 0; k < RecipientCount; ++k) {
        setIndex(s.recipients[std::size_t(k)].dialTry, d.recipients[std::size_t(k)].dialAttempts,
                 n.dialTry);
        setIndex(s.recipients[std::size_t(k)].waitTime, d.recipients[std::size_t(k)].waitTime,
                 n.waitTime);
    }

    report(Check::SmsCentre);
    s.smsCentre = d.smsCentre;
    for (int k = 0; k < RecipientCount; ++k)
        s.recipients[std::size_t(k)].phone = d.recipients[std::size_t(k)].phone;
    report(Check::Phones);

    for (int k = 0; k < RecipientCount; ++k) {
        s.recipients[std::size_t(k)].partitions = d.recipients[std::size_t(k)].partitions;
        s.recipients[std::size_t(k)].events = d.recipients[std::size_t(k)].events;
    }
}

void Q72Read::language() {
    const int before = s.nameLanguage;
    r.setLangChange(d.nameLanguage);
    report(Check::Language);
    // A new language item runs the work-mode rule, which applies the relay mode again and so
    // clears the relay's own ticks set above: set them again, or they would be lost.
    if (s.nameLanguage != before)
        r.applyRelay(d.relay);
}

void Q72Read::names() {
    // Partition names of the visible family; an own-name item shows its own-name field.
    family = visibleFamily(v);
    for (int p = 1; p <= PartitionCount; ++p) {
        int &name = s.partitions[std::size_t(p - 1)].names[std::size_t(family)];
        setIndex(name, d.partitions[std::size_t(p - 1)].name, counts().partitionNames);
        if (name >= q72::OwnNameFirstItem)
            v.nameFamilies[std::size_t(family)]
                .ownNames[std::size_t(name - q72::OwnNameFirstItem)]
                .visible = true;
    }
    report(Check::PartitionNames);
}

void Q72Read::timing() {
    const Counts &n = counts();
    setIndex(s.delayHardware, d.delayHardware, n.delay);
    setIndex(s.delayTypeAlarm, d.delayTypeAlarm, n.delay);
    setIndex(s.delayRzd, d.delayRzd, n.delay);
    setIndex(s.periodRzd, d.periodRzd, n.period);
    setIndex(s.periodHardware, d.periodHardware, n.period);
    for (int t = 0; t < EventTypeCount; ++t)
        setItem(s.urgent[std::size_t(t)], firstIf(d.urgent[std::size_t(t)]), n.urgency);
    for (int k = 0; k < RecipientCount; ++k)
        setItem(s.recipients[std::size_t(k)].confirm, firstIf(d.recipients[std::size_t(k)].confirm),
                n.yesNo);

    report(Check::SimCount);
    setIndex(s.simCount, d.simCount, n.simCount);
    setItem(s.testLine, 0, n.testLine);
    setIndex(s.testLine, d.testLine, n.testLine);
    report(Check::TestLine);

    for (int i = 0; i < 4; ++i) {
        const int count = i < 3 ? n.toneSymbols : n.tonePause;
        setIndex(s.toneAlarm[std::size_t(i)], d.toneAlarm[std::size_t(i)], count);
        setIndex(s.toneArm[std::size_t(i)], d.toneArm[std::size_t(i)], count);
        setIndex(s.toneDisarm[std::size_t(i)], d.toneDisarm[std::size_t(i)], count);
    }

    setItem(s.controlInput, d.controlInput, n.controlInput);
    setItem(s.input1, d.input1, n.input);
    setItem(s.input2, d.input2, n.input);
    setItem(s.speedLine, d.speedLine, n.speedLine);
    setItem(s.zoneNumber, d.zoneNumber, n.zoneNumber);
    setItem(s.nextDial, firstIf(d.dialInTurn), n.nextDial);
    setItem(s.eventsArchive, firstIf(d.eventsArchive), n.eventsArchive);
    setIndex(s.gsmLost, d.gsmLost, n.gsmLost);
    setIndex(s.checkConnect, d.checkConnect, n.checkConnect);
    setIndex(s.phrasePause, d.phrasePause, n.phrasePause);

    r.setBalance(QString());
    report(Check::Balance);
    if (!d.balanceRequest.isEmpty())
        r.setBalance(d.balanceRequest);
}

void Q72Read::objects() {
    for (int p = 1; p <= PartitionCount; ++p) {
        FormPartition &part = s.partitions[std::size_t(p - 1)];
        setIndex(part.number, d.partitions[std::size_t(p - 1)].number, counts().partitionNumbers);
        setIndex(part.object, d.partitions[std::size_t(p - 1)].object, r.objectCount(p));
    }
    report(Check::ObjectNumbers);
    // Every user name of the family the image names, shown or not: a name no partition uses
    // keeps the image's text rather than one an earlier image left in its hidden field.
    for (int k = 1; k <= OwnNameFields; ++k)
        r.setOwnName(family, k, d.ownNames[std::size_t(k - 1)]);
}

// Rebuilds the object password table and the command boxes from the partition groups.
void Q72Read::groups() {
    report(Check::Groups);
    // The password table and every object row's commands come from the image alone: a row that
    // no group of the image sets has none, rather than those an earlier image left.
    s.objectPasswords.fill({255, 255, 255});
    for (ObjectRow &row : s.objectRows)
        row.commands = {};
    const std::array<int, PartitionCount> groups = effectiveGroups(d.partitions);
    for (int p = 1; p <= PartitionCount; ++p) {
        const int g = groups[std::size_t(p - 1)];
        if (g == 0)
            continue;
        const ObjectGroup &group = d.groups[std::size_t(g - 1)];
        // Object 0 has no row: the password of a group without an object is not kept.
        const int object = d.partitions[std::size_t(p - 1)].object;
        if (object >= 1 && object <= ObjectTableRows)
            s.objectPasswords[std::size_t(object - 1)] = group.password;
        Commands &c = s.objectRows[std::size_t(g - 1)].commands;
        c.arm = group.arm;
        c.disarm = group.disarm;
        c.status = group.status;
        c.relayOn = group.relayOn;
        c.relayOff = group.relayOff;
        r.ObjNmbClick({From::ObjNmb, p});
    }
    report(Check::Passwords);

    // Event boxes once more: the rules run since the first pass may have unticked some.
    for (int k = 0; k < RecipientCount; ++k)
        s.recipients[std::size_t(k)].events = d.recipients[std::size_t(k)].events;
}

// SMS-Blitz codes and voice flags; once the window is shown, short codes get leading zeros.
void Q72Read::blitz() {
    for (int k = 1; k <= BlitzCount; ++k) {
        r.setBlitzCode(k, d.blitzCodes[std::size_t(k - 1)]);
        s.blitzVoice[std::size_t(k - 1)] = d.blitzVoice[std::size_t(k - 1)];
    }
    if (r.f.formShown)
        for (int k = 1; k <= BlitzCount; ++k) {
            const QString code = s.blitzCodes[std::size_t(k - 1)];
            if (!code.isEmpty() && code.size() < 4)
                r.setBlitzCode(k, code.rightJustified(4, QLatin1Char('0')));
        }
}

} // namespace

void Rules::DecodeImageQ72(const DecodeResult<Q72Settings> &d) {
    Q72Read(*this, d).run(m_restoring);
}

void Rules::DecodeImageQ71(const Q71Settings &d) {
    const Counts &n = counts();
    auto rec = [&](int k) -> const Q71Recipient & { return d.recipients[std::size_t(k - 1)]; };
    setItem(s.relayControl, firstIf(d.relay.byCommand), n.releControl);
    ReleControl1Change({});

    // Work mode (in mode 0, the inputs stored in its place), then its rule.
    setIndex(s.workMode, d.workMode, n.workMode);
    if (d.workMode == 0) {
        setIndex(s.controlInput, d.controlInput, n.controlInput);
        setIndex(s.input1, d.input1, n.input);
        setIndex(s.input2, d.input2, n.input);
    }
    WorkModeCombo();

    setItem(s.speedLine, d.speedLine, n.speedLine);
    setItem(s.dialMode, d.dialMode, n.dialMode);
    setItem(s.nextDial, firstIf(d.dialInTurn), n.nextDial);
    setIndex(s.checkConnect, d.checkConnect, n.checkConnect);
    for (int k = 1; k <= RecipientCount; ++k) {
        setIndex(s.recipients[std::size_t(k - 1)].dialTry, rec(k).dialAttempts, n.dialTry);
        setIndex(s.recipients[std::size_t(k - 1)].waitTime, rec(k).waitTime, n.waitTime);
    }
    s.relayPartitions = d.relay.partitions;
    applyRelay(d.relay);

    for (int k = 1; k <= RecipientCount; ++k) {
        setIndex(s.recipients[std::size_t(k - 1)].lineType, rec(k).messageType, n.lineTypes);
        TypeMesgLineChange(k);
    }
    for (int k = 1; k <= RecipientCount; ++k)
        setItem(s.recipients[std::size_t(k - 1)].confirm, firstIf(rec(k).confirm), n.yesNo);

    setIndex(s.periodHardware, d.periodHardware, n.period);
    setIndex(s.pickUpDelay, d.pickUpDelay, n.pickUpDelay);
    setIndex(s.periodRzd, d.periodRzd, n.period);
    setIndex(s.testLine, d.testLine, n.testLine);
    setIndex(s.pauseDial, d.pauseDial, n.pauseDial);
    setIndex(s.phrasePause, d.phrasePause, n.phrasePause);
    setIndex(s.delayHardware, d.delayHardware, n.delay);
    setIndex(s.delayRzd, d.delayRzd, n.delay);
    setIndex(s.delayTypeAlarm, d.delayTypeAlarm, n.delay);
    setIndex(s.lostLine, d.lostLine, n.lostLine);
    for (int i = 0; i < 3; ++i) {
        setIndex(s.toneAlarm[std::size_t(i)], d.toneAlarm[std::size_t(i)], n.toneSymbols);
        setIndex(s.toneArm[std::size_t(i)], d.toneArm[std::size_t(i)], n.toneSymbols);
        setIndex(s.toneDisarm[std::size_t(i)], d.toneDisarm[std::size_t(i)], n.toneSymbols);
    }

    for (int k = 1; k <= RecipientCount; ++k)
        s.recipients[std::size_t(k - 1)].events = rec(k).events;
    for (int t = 0; t < EventTypeCount; ++t)
        setItem(s.urgent[std::size_t(t)], firstIf(d.urgent[std::size_t(t)]), n.urgency);
    for (int p = 1; p <= PartitionCount; ++p)
        setIndex(s.partitions[std::size_t(p - 1)].number, d.partitions[std::size_t(p - 1)].number,
                 n.partitionNumbers);

    // A partition always has an object on this model: an object number beyond the partition's
    // list shows as object 1, like a disabled list.
    for (int p = 1; p <= PartitionCount; ++p) {
        int &object = s.partitions[std::size_t(p - 1)].object;
        const int number = d.partitions[std::size_t(p - 1)].object;
        if (v.partitions[std::size_t(p - 1)].object.enabled && number < objectCount(p))
            setItem(object, number, objectCount(p));
        else
            setIndex(object, 1, objectCount(p));
    }

    setIndex(s.recipients[0].pauseInterval, d.pauseInterval, n.pauseInterval);
    PauseInterval1Change(1);

    s.dialGroups = d.dialGroups;
    for (int k = 1; k <= RecipientCount; ++k)
        s.recipients[std::size_t(k - 1)].partitions = rec(k).partitions;

    for (int k = 1; k <= RecipientCount; ++k) {
        setPasswordText(20 + k, QString());
        setPasswordText(20 + k, rec(k).password);
    }
    for (int g = 1; g <= RecipientCount; ++g) {
        const bool rights[5] = {rec(g).arm, rec(g).disarm, rec(g).status, rec(g).relayOn,
                                rec(g).relayOff};
        for (int kind = 0; kind < 5; ++kind)
            setCommand(g, kind, rights[kind]);
    }
    for (int k = 1; k <= RecipientCount; ++k) {
        setLinePhone(k, QString());
        setLinePhone(k, rec(k).phone);
    }
    for (int k = 0; k < 12; ++k)
        s.digitalCodes[std::size_t(k)] = d.digitalCodes[std::size_t(k)];
    s.digitalCodes[12] = d.digitalCode13;
}

} // namespace q7x::image::form
