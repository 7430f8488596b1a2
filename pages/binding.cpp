// Gathering the settings from the window, and the codecs as the window uses them.
#include "pages/binding_util.h"

namespace q7x::pages {

using namespace binding;

namespace {

// The image bytes 0..299 as a listing, one decimal number a line.
void listImage(Memo *memo, const image::ConfigImage &img) {
    QStringList lines;
    lines.reserve(300);
    for (int i = 0; i < 300; ++i)
        lines << QString::number(img[std::size_t(i)]);
    memo->setPlainText(lines.join(QLatin1Char('\n')));
}

QString visibleFamily(const Controls &c) {
    if (!c.widget(S("GroupBox8"))->isHidden())
        return S("E");
    if (!c.widget(S("GroupBox15"))->isHidden())
        return S("P");
    return {};
}

// Object groups as the device keeps them: numbered in the order their object first occurs; the
// password of a group is its object's row of ObjectPasswordTable, its commands those of the
// object row that shows its object (none when no row shows it).
void gatherGroups(const FormBase &form, image::Q72Settings &s) {
    const Controls &c = form.controls();
    std::array<int, image::PartitionCount> objects{};
    for (int p = 1; p <= image::PartitionCount; ++p)
        objects[std::size_t(p - 1)] = s.partitions[std::size_t(p - 1)].object;
    const image::ObjectGroups groups = image::groupObjects(objects);
    for (int p = 1; p <= image::PartitionCount; ++p)
        s.partitions[std::size_t(p - 1)].group = groups.group[std::size_t(p - 1)];
    for (int g = 1; g <= groups.count; ++g) {
        const int object = groups.object[std::size_t(g - 1)];
        image::ObjectGroup &group = s.groups[std::size_t(g - 1)];
        const auto row = form.passwordRow(object);
        for (std::size_t i = 0; i < 3; ++i)
            group.password[i] = std::uint8_t(row[i]);
        for (int k = 1; k <= image::PartitionCount; ++k) {
            Label *label = c.label(S("LabelOb"), k);
            if (label->isHidden() || label->caption() != QString::number(object))
                continue;
            group.arm = c.check(S("vz"), k)->isChecked();
            group.disarm = c.check(S("sn"), k)->isChecked();
            group.status = c.check(S("st"), k)->isChecked();
            group.relayOn = c.check(S("start"), k)->isChecked();
            group.relayOff = c.check(S("stop"), k)->isChecked();
            break;
        }
    }
}

void gatherQ72Recipients(const Controls &c, image::Q72Settings &s) {
    for (int k = 1; k <= image::RecipientCount; ++k) {
        image::Q72Recipient &r = s.recipients[std::size_t(k - 1)];
        r.phone = maskSetting(c.mask(S("PhoneNumber"), k));
        r.notification = index(c, "TypeMesgGSM", k);
        r.combineSms = index(c, "SMS", k) == 0;
        r.dialAttempts = index(c, "DialTry", k);
        r.waitTime = index(c, "WaitTime", k);
        r.confirm = index(c, "ConfirmMes", k) == 0;
        for (int p = 1; p <= image::PartitionCount; ++p)
            r.partitions[std::size_t(p - 1)] = c.check(S("rzd"), k, p)->isChecked();
        for (int t = 1; t <= image::EventTypeCount; ++t)
            r.events[std::size_t(t - 1)] = c.check(S("event"), k, t)->isChecked();
    }
    for (int t = 1; t <= image::EventTypeCount; ++t)
        s.urgent[std::size_t(t - 1)] = index(c, "urgent", t) == 0;
}

} // namespace

image::Q72Settings gatherQ72(const FormBase &form) {
    const Controls &c = form.controls();
    image::Q72Settings s;
    s.workMode = form.WorkModeComboBox->itemIndex();
    s.nameLanguage = form.LangChange->itemIndex();
    s.controlInput = index(c, "ControlInput");
    s.input1 = index(c, "Input1");
    s.input2 = index(c, "Input2");
    s.speedLine = index(c, "SpeedLine");
    s.zoneNumber = index(c, "ZoneNumberCombo");
    s.eventsArchive = index(c, "CmB_EventsArchive") == 0;
    s.dialInTurn = index(c, "NextDial") == 0;
    s.checkConnect = index(c, "CheckConnectCD");
    s.gsmLost = index(c, "GsmLostCombo");
    s.simCount = index(c, "SIMcountCombo");
    s.phrasePause = index(c, "PhrasePause");
    s.smsCentre = maskSetting(c.mask(S("SMSphone")));
    s.pin = maskSetting(c.mask(S("PinCode")));
    s.balanceRequest = c.edit(S("RequestBalance"))->text();
    gatherQ72Recipients(c, s);

    const QString family = visibleFamily(c);
    for (int p = 1; p <= image::PartitionCount; ++p) {
        image::Q72Partition &part = s.partitions[std::size_t(p - 1)];
        part.object = std::max(0, index(c, "ObjNmb", p));
        part.number = index(c, "RzdNmb", p);
        part.name = c.combo(S("NameRzd") + family, p)->itemIndex();
    }
    gatherGroups(form, s);
    for (int n = 1; n <= image::q72::OwnNameCount; ++n)
        s.ownNames[std::size_t(n - 1)] = c.labeledEdit(S("OwnName") + family, n)->text();

    s.delayTypeAlarm = index(c, "DelayTypeAlarm");
    s.delayHardware = index(c, "DelayHardware");
    s.delayRzd = index(c, "DelayRzd");
    s.periodHardware = index(c, "PeriodHardware");
    s.periodRzd = index(c, "PeriodRzd");
    s.testLine = index(c, "TestLine");
    for (int n = 1; n <= 4; ++n) {
        s.toneAlarm[std::size_t(n - 1)] = index(c, "Alarm", n);
        s.toneArm[std::size_t(n - 1)] = index(c, "Arm", n);
        s.toneDisarm[std::size_t(n - 1)] = index(c, "DisArm", n);
    }
    s.relay = gatherRelay(form);
    for (int k = 1; k <= image::BlitzCount; ++k) {
        s.blitzCodes[std::size_t(k - 1)] = c.edit(S("Edit"), k)->text();
        s.blitzVoice[std::size_t(k - 1)] = c.check(S("RO"), k)->isChecked();
    }
    return s;
}

image::Q71Settings gatherQ71(const FormBase &form) {
    const Controls &c = form.controls();
    image::Q71Settings s;
    s.workMode = form.WorkModeComboBox->itemIndex();
    if (s.workMode == 0) {
        s.controlInput = index(c, "ControlInput");
        s.input1 = index(c, "Input1");
        s.input2 = index(c, "Input2");
    }
    s.speedLine = index(c, "SpeedLine");
    s.dialMode = index(c, "DialMode");
    s.dialInTurn = index(c, "NextDial") == 0;
    s.checkConnect = index(c, "CheckConnectCD");
    for (int k = 1; k <= image::RecipientCount; ++k) {
        image::Q71Recipient &r = s.recipients[std::size_t(k - 1)];
        r.phone = c.edit(S("LinePhone"), k)->text();
        r.messageType = index(c, "TypeMesgLine", k);
        r.dialAttempts = index(c, "DialTry", k);
        r.waitTime = index(c, "WaitTime", k);
        r.confirm = index(c, "ConfirmMes", k) == 0;
        for (int p = 1; p <= image::PartitionCount; ++p)
            r.partitions[std::size_t(p - 1)] = c.check(S("rzd"), k, p)->isChecked();
        for (int t = 1; t <= image::EventTypeCount; ++t)
            r.events[std::size_t(t - 1)] = c.check(S("event"), k, t)->isChecked();
        r.password = c.edit(S("Password"), 20 + k)->text();
        r.arm = c.check(S("vz2"), k)->isChecked();
        r.disarm = c.check(S("sn2"), k)->isChecked();
        r.status = c.check(S("st2"), k)->isChecked();
        r.relayOn = c.check(S("start2"), k)->isChecked();
        r.relayOff = c.check(S("stop2"), k)->isChecked();
        for (int b = 1; b <= image::RecipientCount; ++b)
            s.dialGroups[std::size_t(k - 1)][std::size_t(b - 1)] =
                c.check(S("gr"), k, b)->isChecked();
    }
    s.relay = gatherRelay(form);
    const struct {
        const char *list;
        int image::Q71Settings::*member;
    } nibbles[] = {{"PeriodHardware", &image::Q71Settings::periodHardware},
                   {"PickUpDelay", &image::Q71Settings::pickUpDelay},
                   {"PeriodRzd", &image::Q71Settings::periodRzd},
                   {"TestLine", &image::Q71Settings::testLine},
                   {"PauseDial", &image::Q71Settings::pauseDial},
                   {"PhrasePause", &image::Q71Settings::phrasePause},
                   {"DelayHardware", &image::Q71Settings::delayHardware},
                   {"DelayRzd", &image::Q71Settings::delayRzd},
                   {"DelayTypeAlarm", &image::Q71Settings::delayTypeAlarm},
                   {"LostLine", &image::Q71Settings::lostLine}};
    for (const auto &n : nibbles)
        s.*n.member = index(c, n.list);
    for (int n = 1; n <= 3; ++n) {
        s.toneAlarm[std::size_t(n - 1)] = index(c, "Alarm", n);
        s.toneArm[std::size_t(n - 1)] = index(c, "Arm", n);
        s.toneDisarm[std::size_t(n - 1)] = index(c, "DisArm", n);
    }
    for (int t = 1; t <= image::EventTypeCount; ++t)
        s.urgent[std::size_t(t - 1)] = index(c, "urgent", t) == 0;
    for (int p = 1; p <= image::PartitionCount; ++p) {
        s.partitions[std::size_t(p - 1)].object = std::max(0, index(c, "ObjNmb", p));
        s.partitions[std::size_t(p - 1)].number = index(c, "RzdNmb", p);
    }
    s.pauseInterval = index(c, "PauseInterval1");
    for (int k = 1; k <= 12; ++k)
        s.digitalCodes[std::size_t(k - 1)] = c.edit(S("Dig"), k)->text();
    s.digitalCode13 = c.edit(S("Dig13"))->text();
    return s;
}

void DecodeImageQ72(FormBase &form, const image::ConfigImage &img) {
    applyQ72(form, image::decodeQ72(img));
}

void DecodeImageQ71(FormBase &form, const image::ConfigImage &img) {
    listImage(form.Memo3, img);
    applyQ71(form, image::decodeQ71(img).settings);
}

void DecodeImage(FormBase &form, const image::ConfigImage &img) {
    if (form.DeviceModel == DeviceModel::Q71)
        DecodeImageQ71(form, img);
    else
        DecodeImageQ72(form, img);
}

image::Encoded EncodeImageQ72(FormBase &form) { return image::encodeQ72(gatherQ72(form)); }

image::Encoded EncodeImageQ71(FormBase &form) {
    image::Q71Settings s = gatherQ71(form);
    image::clearPartitionsWithoutNumber(s);
    image::Encoded out = image::encodeQ71(s);
    if (!out.ok())
        return out;
    const Controls &c = form.controls();
    for (int r = 1; r <= image::RecipientCount; ++r)
        if (s.recipients[std::size_t(r - 1)].phone.isEmpty())
            for (int p = 1; p <= image::PartitionCount; ++p)
                c.check(S("rzd"), r, p)->setChecked(false);
    listImage(form.Memo2, out.image);
    return out;
}

image::Encoded EncodeImage(FormBase &form) {
    return form.DeviceModel == DeviceModel::Q71 ? EncodeImageQ71(form) : EncodeImageQ72(form);
}

} // namespace q7x::pages
