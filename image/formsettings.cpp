// The settings a form holds, as the encoders store them.
#include "image/formrules_p.h"

#include <algorithm>

namespace q7x::image {

namespace {

Relay1Settings relayOf(const Form &f) {
    const FormSettings &s = f.values;
    Relay1Settings r;
    r.byCommand = s.relayControl == 0;
    r.partitions = s.relayPartitions;
    RelaySettings &e = r.events;
    e.alarmEvent = s.alarmEvent;
    e.boxDamage = s.boxDamage;
    e.onOffLine = s.onOffLine;
    e.onOffAllLine = s.onOffAllLine;
    e.errorFire = s.errorFire;
    e.noConnect = s.noConnect;
    e.errorPower = s.errorPower;
    e.inverted = s.inverse == 1;
    e.timeRzmk = s.timeRzmk;
    e.timeZmk = s.timeZmk;
    e.timePeriod = s.timePeriod;
    r.radioChannelBlocked = s.radioChannelBlocked;
    r.deviceTamper = s.deviceTamper;
    r.interfaceFault = s.interfaceFault;
    r.lineFault = s.lineFault;
    r.powerFault = s.powerFault;
    return r;
}

} // namespace

QString toneSymbol(int item) {
    static const char symbols[] = "0123456789ABCD*#";
    return item >= 0 && item < 16 ? QString(QLatin1Char(symbols[item])) : QString();
}

Q72Settings q72Settings(const Form &f) {
    const FormSettings &s = f.values;
    Q72Settings out;
    out.workMode = s.workMode;
    out.nameLanguage = s.nameLanguage;
    out.controlInput = s.controlInput;
    out.input1 = s.input1;
    out.input2 = s.input2;
    out.speedLine = s.speedLine;
    out.zoneNumber = s.zoneNumber;
    out.eventsArchive = s.eventsArchive == 0;
    out.dialInTurn = s.nextDial == 0;
    out.checkConnect = s.checkConnect;
    out.gsmLost = s.gsmLost;
    out.simCount = s.simCount;
    out.phrasePause = s.phrasePause;
    out.smsCentre = s.smsCentre;
    out.pin = s.pin;
    out.balanceRequest = s.balanceRequest;
    for (int k = 0; k < RecipientCount; ++k) {
        const FormRecipient &in = s.recipients[std::size_t(k)];
        Q72Recipient &r = out.recipients[std::size_t(k)];
        r.phone = in.phone;
        r.notification = in.gsmType;
        r.combineSms = in.sms == 0;
        r.dialAttempts = in.dialTry;
        r.waitTime = in.waitTime;
        r.confirm = in.confirm == 0;
        r.partitions = in.partitions;
        r.events = in.events;
    }
    for (int t = 0; t < EventTypeCount; ++t)
        out.urgent[std::size_t(t)] = s.urgent[std::size_t(t)] == 0;

    // Partitions of the name family shown; object groups numbered from the objects.
    const int family = form::visibleFamily(f.view);
    std::array<int, PartitionCount> objects{};
    for (int p = 0; p < PartitionCount; ++p) {
        Q72Partition &part = out.partitions[std::size_t(p)];
        part.object = std::max(0, s.partitions[std::size_t(p)].object);
        part.number = s.partitions[std::size_t(p)].number;
        part.name = s.partitions[std::size_t(p)].names[std::size_t(family)];
        objects[std::size_t(p)] = part.object;
    }
    const ObjectGroups groups = groupObjects(objects);
    for (int p = 0; p < PartitionCount; ++p)
        out.partitions[std::size_t(p)].group = groups.group[std::size_t(p)];
    for (int g = 1; g <= groups.count; ++g) {
        const int object = groups.object[std::size_t(g - 1)];
        ObjectGroup &group = out.groups[std::size_t(g - 1)];
        if (object >= 1 && object <= ObjectTableRows)
            group.password = s.objectPasswords[std::size_t(object - 1)];
        // The commands of the object row that shows the group's object.
        for (int k = 0; k < PartitionCount; ++k) {
            const FormView::ObjectRowView &row = f.view.objectRows[std::size_t(k)];
            if (!row.label.visible || row.object != QString::number(object))
                continue;
            const Commands &c = s.objectRows[std::size_t(k)].commands;
            group.arm = c.arm;
            group.disarm = c.disarm;
            group.status = c.status;
            group.relayOn = c.relayOn;
            group.relayOff = c.relayOff;
            break;
        }
    }
    out.ownNames = s.ownNames[std::size_t(family)];

    out.delayTypeAlarm = s.delayTypeAlarm;
    out.delayHardware = s.delayHardware;
    out.delayRzd = s.delayRzd;
    out.periodHardware = s.periodHardware;
    out.periodRzd = s.periodRzd;
    out.testLine = s.testLine;
    out.toneAlarm = s.toneAlarm;
    out.toneArm = s.toneArm;
    out.toneDisarm = s.toneDisarm;
    out.relay = relayOf(f);
    out.blitzCodes = s.blitzCodes;
    out.blitzVoice = s.blitzVoice;
    return out;
}

Q71Settings q71Settings(const Form &f) {
    const FormSettings &s = f.values;
    Q71Settings out;
    out.workMode = s.workMode;
    if (out.workMode == 0) {
        out.controlInput = s.controlInput;
        out.input1 = s.input1;
        out.input2 = s.input2;
    }
    out.speedLine = s.speedLine;
    out.dialMode = s.dialMode;
    out.dialInTurn = s.nextDial == 0;
    out.checkConnect = s.checkConnect;
    for (int k = 0; k < RecipientCount; ++k) {
        const FormRecipient &in = s.recipients[std::size_t(k)];
        Q71Recipient &r = out.recipients[std::size_t(k)];
        r.phone = in.linePhone;
        r.messageType = in.lineType;
        r.dialAttempts = in.dialTry;
        r.waitTime = in.waitTime;
        r.confirm = in.confirm == 0;
        r.partitions = in.partitions;
        r.events = in.events;
        r.password = in.password;
        r.arm = in.commands.arm;
        r.disarm = in.commands.disarm;
        r.status = in.commands.status;
        r.relayOn = in.commands.relayOn;
        r.relayOff = in.commands.relayOff;
    }
    out.dialGroups = s.dialGroups;
    out.relay = relayOf(f);
    out.periodHardware = s.periodHardware;
    out.pickUpDelay = s.pickUpDelay;
    out.periodRzd = s.periodRzd;
    out.testLine = s.testLine;
    out.pauseDial = s.pauseDial;
    out.phrasePause = s.phrasePause;
    out.delayHardware = s.delayHardware;
    out.delayRzd = s.delayRzd;
    out.delayTypeAlarm = s.delayTypeAlarm;
    out.lostLine = s.lostLine;
    for (int i = 0; i < 3; ++i) {
        out.toneAlarm[std::size_t(i)] = s.toneAlarm[std::size_t(i)];
        out.toneArm[std::size_t(i)] = s.toneArm[std::size_t(i)];
        out.toneDisarm[std::size_t(i)] = s.toneDisarm[std::size_t(i)];
    }
    for (int t = 0; t < EventTypeCount; ++t)
        out.urgent[std::size_t(t)] = s.urgent[std::size_t(t)] == 0;
    for (int p = 0; p < PartitionCount; ++p) {
        out.partitions[std::size_t(p)].object = std::max(0, s.partitions[std::size_t(p)].object);
        out.partitions[std::size_t(p)].number = s.partitions[std::size_t(p)].number;
    }
    out.pauseInterval = s.recipients[0].pauseInterval;
    for (int k = 0; k < 12; ++k)
        out.digitalCodes[std::size_t(k)] = s.digitalCodes[std::size_t(k)];
    out.digitalCode13 = s.digitalCodes[12];
    return out;
}

Encoded encodeForm(Form &f) {
    if (f.model != core::DeviceModel::Q71)
        return encodeQ72(q72Settings(f));
    Q71Settings s = q71Settings(f);
    clearPartitionsWithoutNumber(s);
    Encoded out = encodeQ71(s);
    if (!out.ok())
        return out;
    for (int r = 0; r < RecipientCount; ++r)
        if (s.recipients[std::size_t(r)].phone.isEmpty())
            f.values.recipients[std::size_t(r)].partitions.fill(false);
    return out;
}

} // namespace q7x::image
