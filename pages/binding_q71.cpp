// The Q71 settings in the window, applied in the order the window has always read an image.
#include "pages/binding_util.h"

namespace q7x::pages {

using namespace binding;
using image::Q71Settings;

namespace {

// The nibble-packed timing lists, as the image keeps them.
constexpr struct {
    const char *list;
    int Q71Settings::*member;
} NibbleLists[] = {
    {"PeriodHardware", &Q71Settings::periodHardware}, {"PickUpDelay", &Q71Settings::pickUpDelay},
    {"PeriodRzd", &Q71Settings::periodRzd},           {"TestLine", &Q71Settings::testLine},
    {"PauseDial", &Q71Settings::pauseDial},           {"PhrasePause", &Q71Settings::phrasePause},
    {"DelayHardware", &Q71Settings::delayHardware},   {"DelayRzd", &Q71Settings::delayRzd},
    {"DelayTypeAlarm", &Q71Settings::delayTypeAlarm}, {"LostLine", &Q71Settings::lostLine}};

constexpr struct {
    const char *box;
    bool image::Q71Recipient::*member;
} RightBoxes[] = {{"vz2", &image::Q71Recipient::arm},
                  {"sn2", &image::Q71Recipient::disarm},
                  {"st2", &image::Q71Recipient::status},
                  {"start2", &image::Q71Recipient::relayOn},
                  {"stop2", &image::Q71Recipient::relayOff}};

const image::Q71Recipient &recipient(const Q71Settings &s, int k) {
    return s.recipients[std::size_t(k - 1)];
}

void applyMain(FormBase &form, const Q71Settings &s) {
    const Controls &c = form.controls();
    setFirstIfSet(form.ReleControl1, s.relay.byCommand);
    // Any sender other than the list itself: a decode shows no relay-control message.
    form.ReleControl1Change(form.ReleWorkMode1);

    // Work mode (in mode 0, the inputs stored in its place), then its rule.
    setIndex(form.WorkModeComboBox, s.workMode);
    if (s.workMode == 0) {
        setIndex(c.combo(S("ControlInput")), s.controlInput);
        setIndex(c.combo(S("Input1")), s.input1);
        setIndex(c.combo(S("Input2")), s.input2);
    }
    form.WorkModeCombo(form.WorkModeComboBox);

    c.combo(S("SpeedLine"))->setItemIndex(s.speedLine);
    c.combo(S("DialMode"))->setItemIndex(s.dialMode);
    setFirstIfSet(c.combo(S("NextDial")), s.dialInTurn);
    setIndex(c.combo(S("CheckConnectCD")), s.checkConnect);

    for (int k = 1; k <= image::RecipientCount; ++k) {
        setIndex(c.combo(S("DialTry"), k), recipient(s, k).dialAttempts);
        setIndex(c.combo(S("WaitTime"), k), recipient(s, k).waitTime);
    }
    applyRelayPartitions(c, s.relay);
    applyRelay(form, s.relay);

    for (int k = 1; k <= image::RecipientCount; ++k) {
        ComboBox *type = c.combo(S("TypeMesgLine"), k);
        setIndex(type, recipient(s, k).messageType);
        form.TypeMesgLineChange(type);
    }
    for (int k = 1; k <= image::RecipientCount; ++k)
        setFirstIfSet(c.combo(S("ConfirmMes"), k), recipient(s, k).confirm);

    for (const auto &n : NibbleLists)
        setIndex(c.combo(S(n.list)), s.*n.member);
    for (int n = 1; n <= 3; ++n) {
        setIndex(c.combo(S("Alarm"), n), s.toneAlarm[std::size_t(n - 1)]);
        setIndex(c.combo(S("Arm"), n), s.toneArm[std::size_t(n - 1)]);
        setIndex(c.combo(S("DisArm"), n), s.toneDisarm[std::size_t(n - 1)]);
    }
    form.ToneDigit(c.combo(S("Alarm1")));
}

void applyRecipients(FormBase &form, const Q71Settings &s) {
    const Controls &c = form.controls();
    for (int r = 1; r <= image::RecipientCount; ++r)
        for (int t = 1; t <= image::EventTypeCount; ++t)
            c.check(S("event"), r, t)->setChecked(recipient(s, r).events[std::size_t(t - 1)]);
    for (int t = 1; t <= image::EventTypeCount; ++t)
        setFirstIfSet(c.combo(S("urgent"), t), s.urgent[std::size_t(t - 1)]);
    for (int p = 1; p <= image::PartitionCount; ++p)
        setIndex(c.combo(S("RzdNmb"), p), s.partitions[std::size_t(p - 1)].number);

    // A partition always has an object on this model: an object number beyond the partition's
    // list shows as object 1, like a disabled list.
    for (int p = 1; p <= image::PartitionCount; ++p) {
        ComboBox *object = c.combo(S("ObjNmb"), p);
        const int number = s.partitions[std::size_t(p - 1)].object;
        if (object->isEnabled() && number < object->count())
            object->setItemIndex(number);
        else
            setIndex(object, 1);
    }

    ComboBox *pause = c.combo(S("PauseInterval1"));
    setIndex(pause, s.pauseInterval);
    form.PauseInterval1Change(pause);

    for (int a = 1; a <= image::RecipientCount; ++a)
        for (int b = 1; b <= image::RecipientCount; ++b)
            c.check(S("gr"), a, b)
                ->setChecked(s.dialGroups[std::size_t(a - 1)][std::size_t(b - 1)]);
    for (int r = 1; r <= image::RecipientCount; ++r)
        for (int p = 1; p <= image::PartitionCount; ++p)
            c.check(S("rzd"), r, p)->setChecked(recipient(s, r).partitions[std::size_t(p - 1)]);

    for (int k = 1; k <= image::RecipientCount; ++k) {
        Edit *password = c.edit(S("Password"), 20 + k);
        password->setText(QString());
        password->setText(recipient(s, k).password);
    }
    for (int g = 1; g <= image::RecipientCount; ++g)
        for (const auto &r : RightBoxes)
            c.check(S(r.box), g)->setChecked(recipient(s, g).*r.member);
    for (int k = 1; k <= image::RecipientCount; ++k) {
        Edit *phone = c.edit(S("LinePhone"), k);
        phone->setText(QString());
        phone->setText(recipient(s, k).phone);
    }
    for (int k = 1; k <= 12; ++k)
        c.edit(S("Dig"), k)->setText(s.digitalCodes[std::size_t(k - 1)]);
    c.edit(S("Dig13"))->setText(s.digitalCode13);
}

} // namespace

void applyQ71(FormBase &form, const Q71Settings &s) {
    applyMain(form, s);
    applyRecipients(form, s);
}

} // namespace q7x::pages
