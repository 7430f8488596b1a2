// The telephone-line model's codec: image bytes 0..319 to the window and back. Its decoder checks
// nothing and shows no message: a value outside its list leaves the list as it was.
#include "image/codec.h"
#include "image/codec_util.h"

#include <algorithm>

namespace q7x::image {

using namespace detail;

namespace {

constexpr RelayLayout Relay1{q71::RelayPartitions1, q71::RelayPartitions9, q71::RadioChanBlck1,
                             q71::DamageCD1,        q71::ErrorInterface1,  q71::NoLine1,
                             q71::PowerCD1};

// The image bytes 0..299 as a listing, one decimal number a line.
void listImage(pages::Memo *memo, const ConfigImage &img) {
    QStringList lines;
    lines.reserve(300);
    for (int i = 0; i < 300; ++i)
        lines << QString::number(img[i]);
    memo->setPlainText(lines.join(QLatin1Char('\n')));
}

// Rights bytes of the recipient rows, in the order of the boxes' prefixes.
constexpr struct {
    const char *box;
    int offset;
} RightBoxes[] = {{"vz2", q71::RightsVz},
                  {"sn2", q71::RightsSn},
                  {"st2", q71::RightsSt},
                  {"start2", q71::RightsStart},
                  {"stop2", q71::RightsStop}};

// The nibble pairs of bytes 18..22: list name and field.
constexpr struct {
    const char *list;
    Field field;
} NibbleLists[] = {{"PeriodHardware", q71::PeriodHardware}, {"PickUpDelay", q71::PickUpDelay},
                   {"PeriodRzd", q71::PeriodRzd},           {"TestLine", q71::TestLine},
                   {"PauseDial", q71::PauseDial},           {"PhrasePause", q71::PhrasePause},
                   {"DelayHardware", q71::DelayHardware},   {"DelayRzd", q71::DelayRzd},
                   {"DelayTypeAlarm", q71::DelayTypeAlarm}, {"LostLine", q71::LostLine}};

} // namespace

void DecodeImageQ71(pages::FormBase &form, const ConfigImage &img) {
    const Controls &c = form.controls();
    // Bytes 0..299 as a listing in Memo3.
    listImage(form.Memo3, img);

    // Relay 1 control (by command or not), then its rule.
    setFirstIfSet(form.ReleControl1, testBit(img, q71::ReleControl1));
    // Any sender other than the list itself: a decode shows no relay-control message.
    form.ReleControl1Change(form.ReleWorkMode1);

    // Work mode (in mode 0, the inputs stored in its place), then its rule.
    if (!testBit(img, q71::WorkModeZero)) {
        setIndex(form.WorkModeComboBox, getField(img, q71::WorkMode));
    } else {
        form.WorkModeComboBox->setItemIndex(0);
        setFirstIfSet(c.combo(S("ControlInput")), testBit(img, q71::ControlInput));
        c.combo(S("Input1"))->setItemIndex(testBit(img, q71::Input1) ? 1 : 0);
        c.combo(S("Input2"))->setItemIndex(testBit(img, q71::Input2) ? 1 : 0);
    }
    form.WorkModeCombo(form.WorkModeComboBox);

    // Line speed, dial mode, next-dial and connection-check lists.
    c.combo(S("SpeedLine"))->setItemIndex(testBit(img, q71::SpeedLine) ? 1 : 0);
    c.combo(S("DialMode"))->setItemIndex(testBit(img, q71::DialMode) ? 1 : 0);
    setFirstIfSet(c.combo(S("NextDial")), testBit(img, q71::NextDial));
    setIndex(c.combo(S("CheckConnectCD")), getField(img, q71::CheckConnectCD));

    // Dial attempts and wait time of each recipient; the partitions of relay 1.
    for (int k = 1; k <= q71::RecipientCount; ++k) {
        setIndex(c.combo(S("DialTry"), k), getField(img, q71::dialTry(k)));
        setIndex(c.combo(S("WaitTime"), k), getField(img, q71::waitTime(k)));
    }
    decodeRelayPartitions(c, img, Relay1);

    // Relay 1 settings and its five fault boxes.
    decodeRelay(form, q71::relaySettings(img), relayBits(img, Relay1));

    // Message type of each recipient, with its rule, and its delivery confirmation.
    for (int k = 1; k <= q71::RecipientCount; ++k) {
        ComboBox *type = c.combo(S("TypeMesgLine"), k);
        setIndex(type, getField(img, q71::typeMesgLine(k)));
        form.TypeMesgLineChange(type);
    }
    for (int k = 1; k <= q71::RecipientCount; ++k)
        setFirstIfSet(c.combo(S("ConfirmMes"), k), bit(img[q71::ConfirmMes], k - 1));

    // The nibble-packed timing lists and the tone digits, then the tone rule.
    for (const auto &n : NibbleLists)
        setIndex(c.combo(S(n.list)), getField(img, n.field));
    for (int n = 1; n <= 3; ++n) {
        setIndex(c.combo(S("Alarm"), n), getField(img, q71::Alarm[n - 1]));
        setIndex(c.combo(S("Arm"), n), getField(img, q71::Arm[n - 1]));
        setIndex(c.combo(S("DisArm"), n), getField(img, q71::DisArm[n - 1]));
    }
    form.ToneDigit(c.combo(S("Alarm1")));

    // Event boxes of each recipient, urgency of each event type, partition number of each row.
    for (int r = 1; r <= q71::RecipientCount; ++r)
        for (int t = 1; t <= q71::EventTypeCount; ++t)
            c.check(S("event"), r, t)->setChecked(testBit(img, q71::eventBit(r, t)));
    for (int t = 1; t <= q71::EventTypeCount; ++t)
        setFirstIfSet(c.combo(S("urgent"), t), testBit(img, q71::UrgentBits[t - 1]));
    for (int p = 1; p <= PartitionCount; ++p)
        setIndex(c.combo(S("RzdNmb"), p), getField(img, q71::rzdNmb(p)));

    // A partition always has an object on this model: an object number beyond the
    // partition's list (rows 10..16 reach 999, a damaged thousands digit reaches 14999) shows as
    // object 1, like a disabled list.
    for (int p = 1; p <= PartitionCount; ++p) {
        ComboBox *object = c.combo(S("ObjNmb"), p);
        const int number = q71::groupObject(img, q71::partitionGroup(img, p));
        if (object->isEnabled() && number < object->count())
            object->setItemIndex(number);
        else
            setIndex(object, 1);
    }

    // Pause interval, then its rule.
    ComboBox *pause = c.combo(S("PauseInterval1"));
    setIndex(pause, getField(img, q71::PauseInterval1));
    form.PauseInterval1Change(pause);

    // Dial groups (every recipient always belongs to its own group, whatever the image says), and
    // the partitions reported to each recipient.
    for (int a = 1; a <= 8; ++a)
        for (int b = 1; b <= 8; ++b)
            c.check(S("gr"), a, b)->setChecked(a == b || bit(img[q71::DialGroups + a - 1], b - 1));
    for (int r = 1; r <= q71::RecipientCount; ++r)
        for (int p = 1; p <= PartitionCount; ++p)
            c.check(S("rzd"), r, p)->setChecked(bit(img[q71::RecipientPartitions + p - 1], r - 1));

    // Recipient passwords, command rights of each recipient row, and telephone numbers.
    for (int k = 1; k <= q71::RecipientCount; ++k) {
        pages::Edit *password = c.edit(S("Password"), 20 + k);
        password->setText(QString());
        password->setText(q71::password(img, k));
    }
    for (int g = 1; g <= 8; ++g)
        for (const auto &r : RightBoxes)
            c.check(S(r.box), g)->setChecked(bit(img[r.offset], g - 1));
    for (int k = 1; k <= q71::RecipientCount; ++k) {
        pages::Edit *phone = c.edit(S("LinePhone"), k);
        phone->setText(QString());
        phone->setText(q71::linePhone(img, k));
    }

    // Digital-format event codes, zero-padded to three digits (code 13 to four).
    for (int k = 1; k <= q71::DigCodeCount; ++k)
        c.edit(S("Dig"), k)->setText(QString::number(q71::digCode(img, k)).rightJustified(3, u'0'));
    c.edit(S("Dig13"))->setText(QString::number(q71::dig13(img)).rightJustified(4, u'0'));
}

Encoded EncodeImageQ71(pages::FormBase &form) {
    const Controls &c = form.controls();
    Encoded out;
    ConfigImage &img = out.image;
    auto fail = [&](const QString &field, const ConvertError &e) {
        out.error = fieldError(field, e);
        out.image.fill(0);
        return out;
    };

    // Recipients without a number report no partition. The boxes are unticked on the window
    // only once the image is complete, so a failed command leaves the window as it was.
    std::array<bool, q71::RecipientCount> noNumber{};
    for (int r = 1; r <= q71::RecipientCount; ++r)
        noNumber[r - 1] = c.edit(S("LinePhone"), r)->text().isEmpty();

    // Start from a blank image; work mode (or the inputs in mode 0), line and dial settings.
    img.fill(0);
    const int mode = form.WorkModeComboBox->itemIndex();
    setBit(img, q71::WorkModeZero, mode == 0);
    setBit(img, q71::SpeedLine, index(c, "SpeedLine") == 1);
    setBit(img, q71::DialMode, index(c, "DialMode") == 1);
    setBit(img, q71::NextDial, index(c, "NextDial") == 0);
    if (mode == 0) {
        setBit(img, q71::ControlInput, index(c, "ControlInput") == 0);
        setBit(img, q71::Input1, index(c, "Input1") == 1);
        setBit(img, q71::Input2, index(c, "Input2") == 1);
    } else {
        putField(img, q71::WorkMode, mode);
    }
    putField(img, q71::CheckConnectCD, index(c, "CheckConnectCD"));

    // Dial attempts and wait time of each recipient; the partitions of relay 1.
    for (int k = 1; k <= q71::RecipientCount; ++k) {
        putField(img, q71::dialTry(k), index(c, "DialTry", k));
        putField(img, q71::waitTime(k), index(c, "WaitTime", k));
    }
    encodeRelayPartitions(c, img, Relay1);

    // Relay 1: its fault boxes, events, control, mode and times.
    const RelayControls relay = readRelay(form);
    encodeRelayBits(img, Relay1, relay.bits);
    setBit(img, q71::AlarmEvent1, relay.s.alarmEvent);
    setBit(img, q71::NoConnect1, relay.s.noConnect);
    setBit(img, q71::ErrorFire1, relay.s.errorFire);
    setBit(img, q71::ErrorPower1, relay.s.errorPower);
    setBit(img, q71::BoxDamage1, relay.s.boxDamage);
    setBit(img, q71::OnOffLine1, relay.s.onOffLine);
    setBit(img, q71::OnOffAllLine1, relay.s.onOffAllLine);
    setBit(img, q71::InvRele1, relay.s.inverted);
    setBit(img, q71::ReleControl1, relay.releControlByCommand);
    q71::putTimeZmk1(img, relay.s.timeZmk);
    putField(img, q71::TimeRzmk1, relay.s.timeRzmk);
    putField(img, q71::TimePeriod1, relay.s.timePeriod);

    // Message types and confirmations, the nibble-packed timing lists and the tone digits.
    for (int k = 1; k <= q71::RecipientCount; ++k) {
        putField(img, q71::typeMesgLine(k), index(c, "TypeMesgLine", k));
        if (index(c, "ConfirmMes", k) == 0)
            img[q71::ConfirmMes] |= std::uint8_t(1 << (k - 1));
    }
    for (const auto &n : NibbleLists)
        putField(img, n.field, index(c, n.list));
    for (int n = 1; n <= 3; ++n) {
        putField(img, q71::Alarm[n - 1], index(c, "Alarm", n));
        putField(img, q71::Arm[n - 1], index(c, "Arm", n));
        putField(img, q71::DisArm[n - 1], index(c, "DisArm", n));
    }

    // Event boxes and urgency (type 1 also has a second copy), partition number of each row.
    for (int r = 1; r <= q71::RecipientCount; ++r)
        for (int t = 1; t <= q71::EventTypeCount; ++t)
            if (c.check(S("event"), r, t)->isChecked()) {
                setBit(img, q71::eventBit(r, t), true);
                if (t == 1)
                    setBit(img, {q71::EventType1Copy, std::uint8_t(1u << (r - 1))}, true);
            }
    for (int t = 1; t <= q71::EventTypeCount; ++t)
        if (index(c, "urgent", t) == 0) {
            setBit(img, q71::UrgentBits[t - 1], true);
            if (t == 1)
                setBit(img, q71::Urgent1Copy, true);
        }
    for (int p = 1; p <= PartitionCount; ++p)
        putField(img, q71::rzdNmb(p), index(c, "RzdNmb", p));

    // Group the partitions by object and store each group's object number.
    std::array<int, PartitionCount> objects{};
    for (int p = 1; p <= PartitionCount; ++p)
        objects[p - 1] = std::max(0, index(c, "ObjNmb", p));
    const ObjectGroups groups = groupObjects(objects);
    for (int g = 1; g <= groups.count; ++g)
        q71::putGroupObject(img, g, groups.object[g - 1]);

    // Pause interval, 0xFF filler, dial groups, recipients' partitions, partitions' groups.
    putField(img, q71::PauseInterval1, index(c, "PauseInterval1"));
    std::fill_n(img.begin() + q71::EncoderFillFF, q71::EncoderFillFFSize, std::uint8_t(0xFF));
    for (int a = 1; a <= 8; ++a)
        for (int b = 1; b <= 8; ++b)
            if (c.check(S("gr"), a, b)->isChecked())
                img[q71::DialGroups + a - 1] |= std::uint8_t(1 << (b - 1));
    for (int r = 1; r <= q71::RecipientCount; ++r)
        for (int p = 1; p <= PartitionCount; ++p)
            if (!noNumber[r - 1] && c.check(S("rzd"), r, p)->isChecked())
                img[q71::RecipientPartitions + p - 1] |= std::uint8_t(1 << (r - 1));
    for (int p = 1; p <= PartitionCount; ++p)
        q71::putPartitionGroup(img, p, groups.group[p - 1]);

    // Recipient passwords, command rights of the recipient rows, and the 0xFF filler byte.
    for (int k = 1; k <= q71::RecipientCount; ++k) {
        const Status stored = q71::putPassword(img, k, c.edit(S("Password"), 20 + k)->text());
        if (!stored)
            return fail(S("Password of recipient %1").arg(k), stored.error());
    }
    for (int g = 1; g <= 8; ++g)
        for (const auto &r : RightBoxes)
            if (c.check(S(r.box), g)->isChecked())
                img[r.offset] |= std::uint8_t(1 << (g - 1));
    img[q71::FillFF] = 0xFF;

    // Telephone number of each recipient.
    for (int k = 1; k <= q71::RecipientCount; ++k) {
        const Status stored = q71::putLinePhone(img, k, c.edit(S("LinePhone"), k)->text());
        if (!stored)
            return fail(S("Telephone number of recipient %1").arg(k), stored.error());
    }

    // Digital-format event codes 1..12 and 13.
    for (int k = 1; k <= q71::DigCodeCount; ++k) {
        const Status stored = q71::putDigCode(img, k, c.edit(S("Dig"), k)->text());
        if (!stored)
            return fail(S("Digital-format code %1").arg(k), stored.error());
    }
    if (const Status stored = q71::putDig13(img, c.edit(S("Dig13"))->text()); !stored)
        return fail(S("Digital-format code 13"), stored.error());

    // The image is complete: now untick the recipients noted at the start, then list the image.
    for (int r = 1; r <= q71::RecipientCount; ++r)
        if (noNumber[r - 1])
            for (int p = 1; p <= PartitionCount; ++p)
                c.check(S("rzd"), r, p)->setChecked(false);
    listImage(form.Memo2, img);
    return out;
}

} // namespace q7x::image
