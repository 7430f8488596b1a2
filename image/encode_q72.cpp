// The Q72 encoder: the settings value to image bytes 0..511 (and the copy the device keeps of
// its own names and passwords), refusing any value the image cannot hold.
#include "image/encode_util.h"

#include <algorithm>

namespace q7x::image {

namespace {

using detail::RangeCheck;

// Codes of a list setting whose stored value had no item: each decodes to NoItem again.
constexpr std::uint8_t NoDelayItem = 0xFF, NoPeriodItem = 0x01, NoPauseItem = 0xFF;

std::uint8_t delayCode(int item) { return item == NoItem ? NoDelayItem : delaySeconds(item); }
std::uint8_t periodOrNone(int item) {
    return item == NoItem ? NoPeriodItem : periodCode(item).value_or(0);
}

QString encodeBalance(const Q72Settings &s, ConfigImage &img, QString *key) {
    const auto balance = q72::encodeBalance(s.balanceRequest);
    if (!balance)
        return detail::fail(key, QStringLiteral("balanceRequest"),
                            QStringLiteral("Balance request"), balance.error());
    std::copy(balance->begin(), balance->end(), img.begin() + q72::RequestBalance);
    return {};
}

// Every list setting within its list.
RangeCheck rangeCheck(const Q72Settings &s) {
    RangeCheck c;
    c.item("workMode", s.workMode, q72::WorkModeCount);
    c.item("nameLanguage", s.nameLanguage, q72::LanguageCount);
    for (const auto &[key, value] : {std::pair{"controlInput", s.controlInput},
                                     {"input1", s.input1},
                                     {"input2", s.input2},
                                     {"speedLine", s.speedLine},
                                     {"zoneNumber", s.zoneNumber}})
        c.item(key, value, 2);
    for (const auto &[key, value] : {std::pair{"checkConnect", s.checkConnect},
                                     {"gsmLost", s.gsmLost},
                                     {"simCount", s.simCount},
                                     {"testLine", s.testLine}})
        c.item(key, value, 16);
    for (const auto &[key, value] : {std::pair{"phrasePause", s.phrasePause},
                                     {"delayTypeAlarm", s.delayTypeAlarm},
                                     {"delayHardware", s.delayHardware},
                                     {"delayRzd", s.delayRzd},
                                     {"periodHardware", s.periodHardware},
                                     {"periodRzd", s.periodRzd}})
        c.itemOrNone(key, value, 16);
    for (int n = 1; n <= 4; ++n) {
        c.item("toneAlarm", n, s.toneAlarm[n - 1], 16);
        c.item("toneArm", n, s.toneArm[n - 1], 16);
        c.item("toneDisarm", n, s.toneDisarm[n - 1], 16);
    }
    for (int k = 1; k <= RecipientCount; ++k) {
        const Q72Recipient &r = s.recipients[k - 1];
        c.itemOrNone(detail::key("recipients", k, "notification"), r.notification, GsmItemCount);
        c.item(detail::key("recipients", k, "dialAttempts"), r.dialAttempts, 16);
        c.item(detail::key("recipients", k, "waitTime"), r.waitTime, 16);
    }
    for (int p = 1; p <= PartitionCount; ++p) {
        const Q72Partition &part = s.partitions[p - 1];
        c.item(detail::key("partitions", p, "number"), part.number, 16);
        c.item(detail::key("partitions", p, "group"), part.group, GroupCount + 1);
        c.item(detail::key("partitions", p, "name"), part.name, q72::NameItemMax + 1);
    }
    c.relay(s.relay);
    return c;
}

void encodeMain(const Q72Settings &s, ConfigImage &img) {
    bool smsLast = false;
    for (int k = 1; k <= RecipientCount; ++k) {
        const Q72Recipient &r = s.recipients[k - 1];
        if (r.combineSms)
            img[q72::SmsCombine] |= std::uint8_t(1 << (k - 1));
        img[q72::TypeMesgGsm + k - 1] = gsmTypeCode(r.notification).value_or(0);
        smsLast = smsLast || gsmItemSetsOrderFlag(r.notification);
        img[q72::DialWait + k - 1] = std::uint8_t(r.dialAttempts | r.waitTime << 4);
    }
    // One recipient that sends the SMS last sets the order for all.
    setBit(img, q72::OrderFlag, smsLast);
}

void encodeRelay(const Relay1Settings &r, ConfigImage &img) {
    for (int p = 1; p <= PartitionCount; ++p)
        if (r.partitions[p - 1]) {
            if (p <= 8)
                img[q72::RelayPartitions1] |= std::uint8_t(1 << (p - 1));
            else
                img[q72::RelayPartitions9] |= std::uint8_t(1 << (p - 9));
        }
    setBit(img, q72::PowerCD1, r.powerFault);
    setBit(img, q72::DamageCD1, r.deviceTamper);
    setBit(img, q72::ErrorInterface1, r.interfaceFault);
    setBit(img, q72::RadioChanBlck1, r.radioChannelBlocked);
    setBit(img, q72::NoLine1, r.lineFault);
    const RelaySettings &e = r.events;
    setBit(img, q72::OnOffLine1, e.onOffLine);
    setBit(img, q72::OnOffAllLine1, e.onOffAllLine);
    setBit(img, q72::InvRele1, e.inverted);
    setBit(img, q72::ErrorFire1, e.errorFire);
    setBit(img, q72::NoConnect1, e.noConnect);
    setBit(img, q72::BoxDamage1, e.boxDamage);
    setBit(img, q72::ErrorPower1, e.errorPower);
    setBit(img, q72::AlarmEvent1, e.alarmEvent);
    putField(img, q72::TimeZmk1, e.timeZmk);
    putField(img, q72::TimeRzmk1, e.timeRzmk);
    putField(img, q72::TimePeriod1, e.timePeriod);
}

QString encodeNumbers(const Q72Settings &s, ConfigImage &img, QString *key) {
    const auto pin = q72::encodePin(s.pin);
    if (!pin)
        return detail::fail(key, QStringLiteral("pin"), QStringLiteral("PIN code"), pin.error());
    img[q72::Pin] = (*pin)[0];
    img[q72::Pin + 1] = (*pin)[1];

    const auto centre = q72::encodePhone(s.smsCentre, false);
    if (!centre)
        return detail::fail(key, QStringLiteral("smsCentre"), QStringLiteral("SMS centre number"),
                            centre.error());
    std::copy(centre->begin(), centre->end(), img.begin() + q72::SmsCentre);
    for (int k = 1; k <= RecipientCount; ++k) {
        const auto phone = q72::encodePhone(s.recipients[k - 1].phone, true);
        if (!phone)
            return detail::fail(key, detail::key("recipients", k, "phone"),
                                QStringLiteral("Telephone number of recipient %1").arg(k),
                                phone.error());
        std::copy(phone->begin(), phone->end(),
                  img.begin() + q72::Phones + q72::PhoneSize * (k - 1));
    }
    return {};
}

void encodeRecipientBoxes(const Q72Settings &s, ConfigImage &img) {
    for (int r = 1; r <= RecipientCount; ++r) {
        const Q72Recipient &rec = s.recipients[r - 1];
        const int at = q72::RecipientPartitions + 2 * (r - 1);
        for (int p = 1; p <= PartitionCount; ++p)
            if (rec.partitions[p - 1]) {
                if (p >= 9)
                    img[at] |= std::uint8_t(1 << (p - 9));
                else
                    img[at + 1] |= std::uint8_t(1 << (p - 1));
            }
        for (int t = 1; t <= EventTypeCount; ++t)
            if (rec.events[t - 1]) {
                setBit(img, q72::eventBit(r, t), true);
                if (t == 12)
                    setBit(img, q72::eventType12Copy(r), true);
            }
    }
}

// Names, delays and periods with their copies and fixed filler bytes, urgency, confirmation,
// work mode and language, SIM count, line test, tone codes and the flag bytes.
void encodeTimingAndFlags(const Q72Settings &s, ConfigImage &img) {
    for (int p = 1; p <= PartitionCount; ++p)
        img[q72::PartitionNames + p - 1] = std::uint8_t(s.partitions[p - 1].name);
    std::fill_n(img.begin() + q72::DelayHardware, q72::DelayHardwareCopies,
                delayCode(s.delayHardware));
    img[q72::FillFF1] = img[q72::FillFF2] = img[q72::FillFF3] = 0xFF;
    img[q72::Fill00a] = img[q72::Fill00b] = 0;
    img[q72::DelayTypeAlarm] = delayCode(s.delayTypeAlarm);
    std::fill_n(img.begin() + q72::DelayRzd, q72::DelayRzdCopies, delayCode(s.delayRzd));
    std::fill_n(img.begin() + q72::PeriodRzd, q72::PeriodCopies, periodOrNone(s.periodRzd));
    std::fill_n(img.begin() + q72::PeriodHardware, q72::PeriodCopies,
                periodOrNone(s.periodHardware));

    for (int t = 1; t <= EventTypeCount; ++t)
        if (s.urgent[t - 1]) {
            setBit(img, q72::urgentBit(t), true);
            if (t == 12)
                setBit(img, q72::Urgent12Copy, true);
        }
    for (int k = 1; k <= RecipientCount; ++k)
        if (s.recipients[k - 1].confirm)
            img[q72::ConfirmMes] |= std::uint8_t(1 << (k - 1));
    img[q72::WorkModeLang] = std::uint8_t(s.nameLanguage << 4 | s.workMode);
    img[q72::SimCount] = std::uint8_t(s.simCount << 4);
    img[q72::TestLine] = periodCode(s.testLine).value_or(0);
    for (int n = 1; n <= 4; ++n) {
        putField(img, q72::Alarm[n - 1], s.toneAlarm[n - 1]);
        putField(img, q72::Arm[n - 1], s.toneArm[n - 1]);
        putField(img, q72::DisArm[n - 1], s.toneDisarm[n - 1]);
    }

    setBit(img, q72::ControlInput, s.controlInput == 0);
    setBit(img, q72::Input1, s.input1 == 1);
    setBit(img, q72::Input2, s.input2 == 1);
    setBit(img, q72::WorkModeZero, s.workMode == 0);
    setBit(img, q72::SpeedLine, s.speedLine == 1);
    setBit(img, q72::ZoneNumber, s.zoneNumber == 1);
    setBit(img, q72::NextDial, s.dialInTurn);
    setBit(img, q72::ReleControl1, s.relay.byCommand);
    setBit(img, q72::EventsArchive, s.eventsArchive);
    putField(img, q72::CheckConnectCD, s.checkConnect);
    putField(img, q72::GsmLost, s.gsmLost);
    img[q72::PhrasePause] = s.phrasePause == NoItem ? NoPauseItem : std::uint8_t(s.phrasePause);
}

// Objects and groups; own names and group passwords are built 160 bytes below their place and
// copied up, as the device's own tools lay the image out.
QString encodeObjects(const Q72Settings &s, ConfigImage &img, QString *key) {
    for (int p = 1; p <= PartitionCount; ++p) {
        const Q72Partition &part = s.partitions[p - 1];
        if (part.object < 0 || part.object > 999)
            return detail::fail(key, detail::key("partitions", p, "object"),
                                QStringLiteral("Object number of partition %1").arg(p),
                                {ConvertError::Kind::OutOfRange, QString::number(part.object)});
        img[q72::PartitionGroups + p - 1] = std::uint8_t(part.group);
        q72::putObjectDigits(img, p, part.object, part.number);
    }
    for (int n = 1; n <= q72::OwnNameCount; ++n) {
        const auto name = q72::encodeOwnName(s.ownNames[n - 1]);
        if (!name)
            return detail::fail(key, detail::key("ownNames", n),
                                QStringLiteral("User's name %1").arg(n), name.error());
        std::copy(name->begin(), name->end(),
                  img.begin() + q72::OwnNamesStaging + q72::OwnNameSize * (n - 1));
    }
    for (int g = 1; g <= GroupCount; ++g) {
        const ObjectGroup &group = s.groups[g - 1];
        std::copy(group.password.begin(), group.password.end(),
                  img.begin() + q72::GroupPasswordsStaging + q72::GroupPasswordSize * (g - 1));
        img[q72::GroupCommands + g - 1] =
            std::uint8_t((group.arm ? q72::CmdVz : 0) | (group.disarm ? q72::CmdSn : 0) |
                         (group.status ? q72::CmdSt : 0) | (group.relayOn ? q72::CmdStart : 0) |
                         (group.relayOff ? q72::CmdStop : 0));
    }
    std::copy_n(img.begin() + q72::StagingArea, q72::StagingSize, img.begin() + q72::StagingTarget);
    return {};
}

// SMS-Blitz codes and voice flags, written over the staged copy left below.
QString encodeBlitz(const Q72Settings &s, ConfigImage &img, QString *key) {
    std::fill_n(img.begin() + q72::BlitzVoice, 4, std::uint8_t(0));
    for (int k = 1; k <= BlitzCount; ++k) {
        const Status stored = q72::putBlitzCode(img, k, s.blitzCodes[k - 1]);
        if (!stored)
            return detail::fail(key, detail::key("blitzCodes", k),
                                QStringLiteral("SMS-Blitz code %1").arg(k), stored.error());
        setBit(img, q72::BlitzVoiceBits[k - 1], s.blitzVoice[k - 1]);
    }
    return {};
}

} // namespace

Encoded encodeQ72(const Q72Settings &s) {
    Encoded out;
    if (const RangeCheck range = rangeCheck(s); !range.firstKey.isEmpty())
        return detail::refused(range.firstKey, detail::outOfRange(range));
    ConfigImage &img = out.image;
    std::fill_n(img.begin() + q72::EncoderFillFF, q72::EncoderFillFFSize, std::uint8_t(0xFF));
    encodeRelay(s.relay, img);
    encodeMain(s, img);
    encodeRecipientBoxes(s, img);
    encodeTimingAndFlags(s, img);
    for (auto step : {encodeNumbers, encodeBalance, encodeObjects, encodeBlitz})
        if (QString error = step(s, img, &out.key); !error.isEmpty())
            return detail::refused(out.key, error);
    return out;
}

} // namespace q7x::image
