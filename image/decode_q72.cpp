// The Q72 decoder: image bytes 0..511 to the settings value, with the checks the window reports.
// A field that fails its check gets its fall-back value and a FieldError, and decoding goes on.
#include "image/settings.h"

#include <algorithm>

namespace q7x::image {

namespace {

bool bit(std::uint8_t byte, int k) { return (byte >> k & 1) != 0; }

class Q72Decoder {
  public:
    explicit Q72Decoder(const ConfigImage &img) : m_img(img) {}

    DecodeResult<Q72Settings> run() {
        mainPage();
        relay();
        recipients();
        names();
        periods();
        flags();
        objects();
        groups();
        blitz();
        return {m_s, sortedErrors()};
    }

  private:
    void fail(Check check, QStringList labels, QList<int> offsets, QStringList keys) {
        m_errors.append({check, std::move(labels), std::move(offsets), std::move(keys)});
    }
    static QString key(const char *family, int n, const char *field) {
        return QStringLiteral("%1.%2.%3")
            .arg(QLatin1String(family))
            .arg(n)
            .arg(QLatin1String(field));
    }

    QList<FieldError> sortedErrors() const {
        QList<FieldError> out = m_errors;
        std::stable_sort(out.begin(), out.end(), [](const FieldError &a, const FieldError &b) {
            return int(a.check) < int(b.check);
        });
        return out;
    }

    void mainPage() {
        const int mode = m_img[q72::WorkModeLang] & 0x0F;
        if (mode < q72::WorkModeCount) {
            m_s.workMode = mode;
        } else {
            m_s.workMode = 0;
            fail(Check::WorkMode, {QStringLiteral("Label2")}, {q72::WorkModeLang},
                 {QStringLiteral("workMode")});
        }
        const int language = m_img[q72::WorkModeLang] >> 4;
        if (language < q72::LanguageCount) {
            m_s.nameLanguage = language;
        } else {
            m_s.nameLanguage = 0;
            fail(Check::Language, {}, {q72::WorkModeLang}, {QStringLiteral("nameLanguage")});
        }

        const DecodedText pin = q72::decodePin(m_img[q72::Pin], m_img[q72::Pin + 1]);
        if (pin.bad)
            fail(Check::Pin, {QStringLiteral("Label5")}, {q72::Pin}, {QStringLiteral("pin")});
        else
            m_s.pin = pin.text;

        const DecodedText centre = q72::decodePhone(m_img.data() + q72::SmsCentre);
        if (centre.bad)
            fail(Check::SmsCentre, {QStringLiteral("Label6")}, {q72::SmsCentre},
                 {QStringLiteral("smsCentre")});
        else
            m_s.smsCentre = centre.text;

        if ((m_img[q72::SimCount] & 0x0F) != 0) {
            m_s.simCount = 0;
            fail(Check::SimCount, {QStringLiteral("Label114")}, {q72::SimCount},
                 {QStringLiteral("simCount")});
        } else {
            m_s.simCount = m_img[q72::SimCount] >> 4;
        }

        const DecodedText balance = q72::decodeBalance(m_img.data() + q72::RequestBalance);
        if (balance.bad)
            fail(Check::Balance, {QStringLiteral("Label212")}, {q72::RequestBalance},
                 {QStringLiteral("balanceRequest")});
        else
            m_s.balanceRequest = balance.text;
    }

    void relay() {
        Relay1Settings &r = m_s.relay;
        r.byCommand = testBit(m_img, q72::ReleControl1);
        for (int p = 1; p <= PartitionCount; ++p)
            r.partitions[p - 1] = p <= 8 ? bit(m_img[q72::RelayPartitions1], p - 1)
                                         : bit(m_img[q72::RelayPartitions9], p - 9);
        r.events = q72::relaySettings(m_img);
        r.radioChannelBlocked = testBit(m_img, q72::RadioChanBlck1);
        r.deviceTamper = testBit(m_img, q72::DamageCD1);
        r.interfaceFault = testBit(m_img, q72::ErrorInterface1);
        r.lineFault = testBit(m_img, q72::NoLine1);
        r.powerFault = testBit(m_img, q72::PowerCD1);
    }

    void recipients() {
        const bool orderFlag = testBit(m_img, q72::OrderFlag);
        QList<int> badPhones;
        QStringList badKeys;
        for (int k = 1; k <= RecipientCount; ++k) {
            Q72Recipient &r = m_s.recipients[k - 1];
            r.combineSms = bit(m_img[q72::SmsCombine], k - 1);
            r.notification =
                gsmTypeItem(m_img[q72::TypeMesgGsm + k - 1], orderFlag).value_or(NoItem);
            const std::uint8_t dialWait = m_img[q72::DialWait + k - 1];
            r.dialAttempts = dialWait & 0x0F;
            r.waitTime = dialWait >> 4;
            r.confirm = bit(m_img[q72::ConfirmMes], k - 1);

            const int at = q72::Phones + q72::PhoneSize * (k - 1);
            const DecodedText phone = q72::decodePhone(m_img.data() + at);
            if (phone.bad) {
                badPhones << at;
                badKeys << key("recipients", k, "phone");
            } else
                r.phone = phone.text;

            const int partitions = q72::RecipientPartitions + 2 * (k - 1);
            for (int p = 1; p <= PartitionCount; ++p)
                r.partitions[p - 1] =
                    p >= 9 ? bit(m_img[partitions], p - 9) : bit(m_img[partitions + 1], p - 1);
            for (int t = 1; t <= EventTypeCount; ++t)
                r.events[t - 1] = testBit(m_img, q72::eventBit(k, t));
        }
        if (!badPhones.isEmpty())
            fail(Check::Phones, {QStringLiteral("Label20")}, badPhones, badKeys);
        for (int t = 1; t <= EventTypeCount; ++t)
            m_s.urgent[t - 1] = testBit(m_img, q72::urgentBit(t));
    }

    void names() {
        QList<int> bad;
        QStringList keys;
        for (int p = 1; p <= PartitionCount; ++p) {
            const int item = m_img[q72::PartitionNames + p - 1];
            if (item > q72::NameItemMax) {
                bad << q72::PartitionNames + p - 1;
                keys << key("partitions", p, "name");
            }
            m_s.partitions[p - 1].name = item > q72::NameItemMax ? 0 : item;
        }
        if (!bad.isEmpty())
            fail(Check::PartitionNames, {QStringLiteral("LabelNameRazdelP")}, bad, keys);
        for (int n = 1; n <= q72::OwnNameCount; ++n)
            m_s.ownNames[n - 1] = q72::ownNameText(m_img, n);
    }

    void periods() {
        auto delay = [&](int offset) { return delayItem(m_img[offset]).value_or(NoItem); };
        m_s.delayHardware = delay(q72::DelayHardware);
        m_s.delayTypeAlarm = delay(q72::DelayTypeAlarm);
        m_s.delayRzd = delay(q72::DelayRzd);
        m_s.periodRzd = periodItem(m_img[q72::PeriodRzd]).value_or(NoItem);
        m_s.periodHardware = periodItem(m_img[q72::PeriodHardware]).value_or(NoItem);
        if (const auto item = periodItem(m_img[q72::TestLine])) {
            m_s.testLine = *item;
        } else {
            m_s.testLine = 0;
            fail(Check::TestLine, {QStringLiteral("Label112")}, {q72::TestLine},
                 {QStringLiteral("testLine")});
        }
        for (int n = 1; n <= 4; ++n) {
            m_s.toneAlarm[n - 1] = getField(m_img, q72::Alarm[n - 1]);
            m_s.toneArm[n - 1] = getField(m_img, q72::Arm[n - 1]);
            m_s.toneDisarm[n - 1] = getField(m_img, q72::DisArm[n - 1]);
        }
    }

    void flags() {
        m_s.controlInput = testBit(m_img, q72::ControlInput) ? 0 : 1;
        m_s.input1 = testBit(m_img, q72::Input1) ? 1 : 0;
        m_s.input2 = testBit(m_img, q72::Input2) ? 1 : 0;
        m_s.speedLine = testBit(m_img, q72::SpeedLine) ? 1 : 0;
        m_s.zoneNumber = testBit(m_img, q72::ZoneNumber) ? 1 : 0;
        m_s.dialInTurn = testBit(m_img, q72::NextDial);
        m_s.eventsArchive = testBit(m_img, q72::EventsArchive);
        m_s.gsmLost = getField(m_img, q72::GsmLost);
        m_s.checkConnect = getField(m_img, q72::CheckConnectCD);
        const int pause = m_img[q72::PhrasePause];
        m_s.phrasePause = pause < 16 ? pause : NoItem;
    }

    void objects() {
        QList<int> bad;
        QStringList keys;
        for (int p = 1; p <= PartitionCount; ++p) {
            Q72Partition &part = m_s.partitions[p - 1];
            part.number = q72::rzdNmbItem(m_img, p);
            const q72::ObjectNumber object = q72::objectNumber(m_img, p);
            part.object = object.number;
            if (object.bad) {
                bad << q72::ObjectDigits + 2 * (p - 1);
                keys << key("partitions", p, "object");
            }
        }
        if (!bad.isEmpty())
            fail(Check::ObjectNumbers, {QStringLiteral("Label98"), QStringLiteral("Label99")}, bad,
                 keys);
    }

    // Groups above 16 count as none. Every group record is read, so that encoding the settings
    // gives them back; only the passwords of groups that a partition applies are checked.
    void groups() {
        QList<int> badGroups;
        QStringList groupKeys;
        for (int p = 1; p <= PartitionCount; ++p) {
            const int g = m_img[q72::PartitionGroups + p - 1];
            if (g > GroupCount) {
                badGroups << q72::PartitionGroups + p - 1;
                groupKeys << key("partitions", p, "group");
            }
            m_s.partitions[p - 1].group = g > GroupCount ? 0 : g;
        }
        if (!badGroups.isEmpty())
            fail(Check::Groups, {}, badGroups, groupKeys);

        std::array<bool, GroupCount> badPassword{};
        for (int g = 1; g <= GroupCount; ++g) {
            const q72::GroupPassword password = q72::groupPassword(m_img, g);
            ObjectGroup &group = m_s.groups[g - 1];
            group.password = password.bytes;
            badPassword[g - 1] = password.bad;
            const std::uint8_t commands = m_img[q72::GroupCommands + g - 1];
            group.arm = commands & q72::CmdVz;
            group.disarm = commands & q72::CmdSn;
            group.status = commands & q72::CmdSt;
            group.relayOn = commands & q72::CmdStart;
            group.relayOff = commands & q72::CmdStop;
        }
        QList<int> bad;
        QStringList keys;
        for (int g : effectiveGroups(m_s.partitions))
            if (g != 0 && badPassword[g - 1]) {
                bad << q72::GroupPasswords + q72::GroupPasswordSize * (g - 1);
                keys << key("groups", g, "password");
            }
        if (!bad.isEmpty())
            fail(Check::Passwords, {QStringLiteral("Label81")}, bad, keys);
    }

    void blitz() {
        for (int k = 1; k <= BlitzCount; ++k) {
            const auto code = q72::blitzCode(m_img, k);
            m_s.blitzCodes[k - 1] = code ? QString::number(*code) : QString();
            m_s.blitzVoice[k - 1] = testBit(m_img, q72::BlitzVoiceBits[k - 1]);
        }
    }

    const ConfigImage &m_img;
    Q72Settings m_s;
    QList<FieldError> m_errors;
};

} // namespace

DecodeResult<Q72Settings> decodeQ72(const ConfigImage &img) { return Q72Decoder(img).run(); }

std::array<int, PartitionCount>
effectiveGroups(const std::array<Q72Partition, PartitionCount> &partitions) {
    std::array<int, PartitionCount> out{};
    for (int p = 0; p < PartitionCount; ++p) {
        int g = partitions[p].group;
        for (int q = 0; q < p && g != 0; ++q)
            if (partitions[q].group == g)
                g = 0;
        out[p] = g;
    }
    return out;
}

} // namespace q7x::image
