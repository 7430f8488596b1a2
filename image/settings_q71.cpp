// The Q71 codec: image bytes 0..319 to the settings value and back. The decoder checks nothing; a
// stored value that no list item shows decodes to NoItem.
#include "image/encode_util.h"

#include <algorithm>

namespace q7x::image {

namespace {

bool bit(std::uint8_t byte, int k) { return (byte >> k & 1) != 0; }

// The nibble-packed lists of bytes 18..22.
constexpr struct {
    int Q71Settings::*member;
    Field field;
    const char *key;
} NibbleLists[] = {{&Q71Settings::periodHardware, q71::PeriodHardware, "periodHardware"},
                   {&Q71Settings::pickUpDelay, q71::PickUpDelay, "pickUpDelay"},
                   {&Q71Settings::periodRzd, q71::PeriodRzd, "periodRzd"},
                   {&Q71Settings::testLine, q71::TestLine, "testLine"},
                   {&Q71Settings::pauseDial, q71::PauseDial, "pauseDial"},
                   {&Q71Settings::phrasePause, q71::PhrasePause, "phrasePause"},
                   {&Q71Settings::delayHardware, q71::DelayHardware, "delayHardware"},
                   {&Q71Settings::delayRzd, q71::DelayRzd, "delayRzd"},
                   {&Q71Settings::delayTypeAlarm, q71::DelayTypeAlarm, "delayTypeAlarm"},
                   {&Q71Settings::lostLine, q71::LostLine, "lostLine"}};

// Rights bytes of the recipient rows.
constexpr struct {
    bool Q71Recipient::*member;
    int offset;
} Rights[] = {{&Q71Recipient::arm, q71::RightsVz},
              {&Q71Recipient::disarm, q71::RightsSn},
              {&Q71Recipient::status, q71::RightsSt},
              {&Q71Recipient::relayOn, q71::RightsStart},
              {&Q71Recipient::relayOff, q71::RightsStop}};

constexpr int TypeLineNoItem = 3; // the one 2-bit value without a message type
constexpr int WorkModeNoItem = 0xF;

// The object lists of partitions 1..9 reach 9999, the others 999; a stored number beyond the
// list shows as object 1.
int objectLimit(int partition) { return partition <= 9 ? 9999 : 999; }

void decodeMain(const ConfigImage &img, Q71Settings &s) {
    if (!testBit(img, q71::WorkModeZero)) {
        const int mode = getField(img, q71::WorkMode);
        s.workMode = mode < q72::WorkModeCount ? mode : NoItem;
    } else {
        s.workMode = 0;
        s.controlInput = testBit(img, q71::ControlInput) ? 0 : 1;
        s.input1 = testBit(img, q71::Input1) ? 1 : 0;
        s.input2 = testBit(img, q71::Input2) ? 1 : 0;
    }
    s.speedLine = testBit(img, q71::SpeedLine) ? 1 : 0;
    s.dialMode = testBit(img, q71::DialMode) ? 1 : 0;
    s.dialInTurn = testBit(img, q71::NextDial);
    s.checkConnect = getField(img, q71::CheckConnectCD);

    Relay1Settings &r = s.relay;
    r.byCommand = testBit(img, q71::ReleControl1);
    for (int p = 1; p <= PartitionCount; ++p)
        r.partitions[p - 1] = p <= 8 ? bit(img[q71::RelayPartitions1], p - 1)
                                     : bit(img[q71::RelayPartitions9], p - 9);
    r.events = q71::relaySettings(img);
    r.radioChannelBlocked = testBit(img, q71::RadioChanBlck1);
    r.deviceTamper = testBit(img, q71::DamageCD1);
    r.interfaceFault = testBit(img, q71::ErrorInterface1);
    r.lineFault = testBit(img, q71::NoLine1);
    r.powerFault = testBit(img, q71::PowerCD1);

    for (const auto &n : NibbleLists)
        s.*n.member = getField(img, n.field);
    for (int n = 1; n <= 3; ++n) {
        s.toneAlarm[n - 1] = getField(img, q71::Alarm[n - 1]);
        s.toneArm[n - 1] = getField(img, q71::Arm[n - 1]);
        s.toneDisarm[n - 1] = getField(img, q71::DisArm[n - 1]);
    }
    for (int t = 1; t <= EventTypeCount; ++t)
        s.urgent[t - 1] = testBit(img, q71::UrgentBits[t - 1]);
    for (int p = 1; p <= PartitionCount; ++p) {
        Q71Partition &part = s.partitions[p - 1];
        part.number = getField(img, q71::rzdNmb(p));
        const int object = q71::groupObject(img, q71::partitionGroup(img, p));
        part.object = object <= objectLimit(p) ? object : 1;
    }
    s.pauseInterval = getField(img, q71::PauseInterval1);
    for (int k = 1; k <= 12; ++k)
        s.digitalCodes[k - 1] = QString::number(q71::digCode(img, k)).rightJustified(3, u'0');
    s.digitalCode13 = QString::number(q71::dig13(img)).rightJustified(4, u'0');
}

void decodeRecipients(const ConfigImage &img, Q71Settings &s) {
    for (int k = 1; k <= RecipientCount; ++k) {
        Q71Recipient &r = s.recipients[k - 1];
        r.phone = q71::linePhone(img, k);
        const int type = getField(img, q71::typeMesgLine(k));
        r.messageType = type == TypeLineNoItem ? NoItem : type;
        r.dialAttempts = getField(img, q71::dialTry(k));
        r.waitTime = getField(img, q71::waitTime(k));
        r.confirm = bit(img[q71::ConfirmMes], k - 1);
        for (int p = 1; p <= PartitionCount; ++p)
            r.partitions[p - 1] = bit(img[q71::RecipientPartitions + p - 1], k - 1);
        for (int t = 1; t <= EventTypeCount; ++t)
            r.events[t - 1] = testBit(img, q71::eventBit(k, t));
        r.password = q71::password(img, k);
        for (const auto &right : Rights)
            r.*right.member = bit(img[right.offset], k - 1);
        // Every recipient belongs to its own dial group, whatever the image says.
        for (int b = 1; b <= RecipientCount; ++b)
            s.dialGroups[k - 1][b - 1] = b == k || bit(img[q71::DialGroups + k - 1], b - 1);
    }
}

detail::RangeCheck rangeCheck(const Q71Settings &s) {
    detail::RangeCheck c;
    c.itemOrNone(QStringLiteral("workMode"), s.workMode, q72::WorkModeCount);
    if (s.workMode == 0 && s.controlInput != NoItem)
        for (const auto &[key, value] : {std::pair{"controlInput", s.controlInput},
                                         {"input1", s.input1},
                                         {"input2", s.input2}})
            c.item(QLatin1String(key), value, 2);
    c.item(QStringLiteral("speedLine"), s.speedLine, 2);
    c.item(QStringLiteral("dialMode"), s.dialMode, 2);
    c.item(QStringLiteral("checkConnect"), s.checkConnect, 16);
    c.item(QStringLiteral("pauseInterval"), s.pauseInterval, 16);
    for (const auto &n : NibbleLists)
        c.item(QLatin1String(n.key), s.*n.member, 16);
    for (int n = 1; n <= 3; ++n) {
        c.item("toneAlarm", n, s.toneAlarm[n - 1], 16);
        c.item("toneArm", n, s.toneArm[n - 1], 16);
        c.item("toneDisarm", n, s.toneDisarm[n - 1], 16);
    }
    for (int k = 1; k <= RecipientCount; ++k) {
        const Q71Recipient &r = s.recipients[k - 1];
        c.itemOrNone(detail::key("recipients", k, "messageType"), r.messageType, 3);
        c.item(detail::key("recipients", k, "dialAttempts"), r.dialAttempts, 16);
        c.item(detail::key("recipients", k, "waitTime"), r.waitTime, 16);
    }
    for (int p = 1; p <= PartitionCount; ++p) {
        c.item(detail::key("partitions", p, "number"), s.partitions[p - 1].number, 16);
        c.item(detail::key("partitions", p, "object"), s.partitions[p - 1].object,
               objectLimit(p) + 1);
    }
    c.relay(s.relay);
    return c;
}

void encodeMain(const Q71Settings &s, ConfigImage &img) {
    // In work mode 0 the inputs take the place of the mode; a work mode 0 whose inputs were not
    // stored is written as it was read, without the mode-0 flag.
    const bool inputs = s.workMode == 0 && s.controlInput != NoItem;
    setBit(img, q71::WorkModeZero, inputs);
    setBit(img, q71::SpeedLine, s.speedLine == 1);
    setBit(img, q71::DialMode, s.dialMode == 1);
    setBit(img, q71::NextDial, s.dialInTurn);
    if (inputs) {
        setBit(img, q71::ControlInput, s.controlInput == 0);
        setBit(img, q71::Input1, s.input1 == 1);
        setBit(img, q71::Input2, s.input2 == 1);
    } else {
        putField(img, q71::WorkMode, s.workMode == NoItem ? WorkModeNoItem : s.workMode);
    }
    putField(img, q71::CheckConnectCD, s.checkConnect);

    const Relay1Settings &r = s.relay;
    for (int p = 1; p <= PartitionCount; ++p)
        if (r.partitions[p - 1]) {
            if (p <= 8)
                img[q71::RelayPartitions1] |= std::uint8_t(1 << (p - 1));
            else
                img[q71::RelayPartitions9] |= std::uint8_t(1 << (p - 9));
        }
    setBit(img, q71::PowerCD1, r.powerFault);
    setBit(img, q71::DamageCD1, r.deviceTamper);
    setBit(img, q71::ErrorInterface1, r.interfaceFault);
    setBit(img, q71::RadioChanBlck1, r.radioChannelBlocked);
    setBit(img, q71::NoLine1, r.lineFault);
    const RelaySettings &e = r.events;
    setBit(img, q71::AlarmEvent1, e.alarmEvent);
    setBit(img, q71::NoConnect1, e.noConnect);
    setBit(img, q71::ErrorFire1, e.errorFire);
    setBit(img, q71::ErrorPower1, e.errorPower);
    setBit(img, q71::BoxDamage1, e.boxDamage);
    setBit(img, q71::OnOffLine1, e.onOffLine);
    setBit(img, q71::OnOffAllLine1, e.onOffAllLine);
    setBit(img, q71::InvRele1, e.inverted);
    setBit(img, q71::ReleControl1, r.byCommand);
    q71::putTimeZmk1(img, e.timeZmk);
    putField(img, q71::TimeRzmk1, e.timeRzmk);
    putField(img, q71::TimePeriod1, e.timePeriod);

    for (const auto &n : NibbleLists)
        putField(img, n.field, s.*n.member);
    for (int n = 1; n <= 3; ++n) {
        putField(img, q71::Alarm[n - 1], s.toneAlarm[n - 1]);
        putField(img, q71::Arm[n - 1], s.toneArm[n - 1]);
        putField(img, q71::DisArm[n - 1], s.toneDisarm[n - 1]);
    }
    for (int t = 1; t <= EventTypeCount; ++t)
        if (s.urgent[t - 1]) {
            setBit(img, q71::UrgentBits[t - 1], true);
            if (t == 1)
                setBit(img, q71::Urgent1Copy, true);
        }
    putField(img, q71::PauseInterval1, s.pauseInterval);
    std::fill_n(img.begin() + q71::EncoderFillFF, q71::EncoderFillFFSize, std::uint8_t(0xFF));
    img[q71::FillFF] = 0xFF;
}

void encodeRecipients(const Q71Settings &s, ConfigImage &img) {
    for (int k = 1; k <= RecipientCount; ++k) {
        const Q71Recipient &r = s.recipients[k - 1];
        putField(img, q71::dialTry(k), r.dialAttempts);
        putField(img, q71::waitTime(k), r.waitTime);
        putField(img, q71::typeMesgLine(k),
                 r.messageType == NoItem ? TypeLineNoItem : r.messageType);
        if (r.confirm)
            img[q71::ConfirmMes] |= std::uint8_t(1 << (k - 1));
        for (int t = 1; t <= EventTypeCount; ++t)
            if (r.events[t - 1]) {
                setBit(img, q71::eventBit(k, t), true);
                if (t == 1)
                    setBit(img, {q71::EventType1Copy, std::uint8_t(1u << (k - 1))}, true);
            }
        for (int p = 1; p <= PartitionCount; ++p)
            if (r.partitions[p - 1])
                img[q71::RecipientPartitions + p - 1] |= std::uint8_t(1 << (k - 1));
        for (int b = 1; b <= RecipientCount; ++b)
            if (s.dialGroups[k - 1][b - 1])
                img[q71::DialGroups + k - 1] |= std::uint8_t(1 << (b - 1));
        for (const auto &right : Rights)
            if (r.*right.member)
                img[right.offset] |= std::uint8_t(1 << (k - 1));
    }
}

void encodeObjects(const Q71Settings &s, ConfigImage &img) {
    std::array<int, PartitionCount> objects{};
    for (int p = 1; p <= PartitionCount; ++p) {
        objects[p - 1] = s.partitions[p - 1].object;
        putField(img, q71::rzdNmb(p), s.partitions[p - 1].number);
    }
    const ObjectGroups groups = groupObjects(objects);
    for (int g = 1; g <= groups.count; ++g)
        q71::putGroupObject(img, g, groups.object[g - 1]);
    for (int p = 1; p <= PartitionCount; ++p)
        q71::putPartitionGroup(img, p, groups.group[p - 1]);
}

QString encodeTexts(const Q71Settings &s, ConfigImage &img, QString *key) {
    for (int k = 1; k <= RecipientCount; ++k)
        if (const Status st = q71::putPassword(img, k, s.recipients[k - 1].password); !st)
            return detail::fail(key, detail::key("recipients", k, "password"),
                                QStringLiteral("Password of recipient %1").arg(k), st.error());
    for (int k = 1; k <= RecipientCount; ++k)
        if (const Status st = q71::putLinePhone(img, k, s.recipients[k - 1].phone); !st)
            return detail::fail(key, detail::key("recipients", k, "phone"),
                                QStringLiteral("Telephone number of recipient %1").arg(k),
                                st.error());
    for (int k = 1; k <= 12; ++k)
        if (const Status st = q71::putDigCode(img, k, s.digitalCodes[k - 1]); !st)
            return detail::fail(key, detail::key("digitalCodes", k),
                                QStringLiteral("Digital-format code %1").arg(k), st.error());
    if (const Status st = q71::putDig13(img, s.digitalCode13); !st)
        return detail::fail(key, QStringLiteral("digitalCode13"),
                            QStringLiteral("Digital-format code 13"), st.error());
    return {};
}

} // namespace

DecodeResult<Q71Settings> decodeQ71(const ConfigImage &img) {
    DecodeResult<Q71Settings> out;
    decodeMain(img, out.settings);
    decodeRecipients(img, out.settings);
    return out;
}

Encoded encodeQ71(const Q71Settings &s) {
    if (const detail::RangeCheck range = rangeCheck(s); !range.firstKey.isEmpty())
        return detail::refused(range.firstKey, detail::outOfRange(range));
    Encoded out;
    encodeMain(s, out.image);
    encodeRecipients(s, out.image);
    encodeObjects(s, out.image);
    if (QString error = encodeTexts(s, out.image, &out.key); !error.isEmpty())
        return detail::refused(out.key, error);
    return out;
}

} // namespace q7x::image
