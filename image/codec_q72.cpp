// The GSM model's codec: image bytes 0..511 to the window and back.
#include "image/codec.h"
#include "image/codec_util.h"
#include "lang/ini.h"

#include <QSignalBlocker>

#include <algorithm>

namespace q7x::image {

using namespace detail;
using pages::Dialogs;

namespace {

// The texts of the image checks, by interface language. Any language name other than English or
// Turkish (also "Error" when none is stored) keeps the built-in Russian texts, as the window does.
struct CheckTexts {
    QString error, caption, warning;
};

CheckTexts checkTexts(const QString &language) {
    if (language == lang::LangEnglish)
        return {S("Error in the read data"), S("Attention!"),
                S("Error in the read settings! Default settings will be restored!")};
    if (language == lang::LangTurkish)
        return {S("Ariza okunan verilerde"), S("Dikkat!"),
                S("Ariza okunan ayarlarda! Fabrika ayarlar restor edilecek!")};
    return {S("Ошибка в прочитанных данных"), S("Внимание!"),
            S("Были обнаружены ошибки в прочитанных настройках! Будут выставлены заводские "
              "настройки!")};
}

// A GSM list without the SMS-Blitz item (interfaces other than Russian) gets it back while an
// image uses it, so the recipient's setting is shown and written again as it was read. The item
// goes away again when a later image no longer uses it.
const char *const BlitzItemAdded = "q7xBlitzItemAdded";

void prepareBlitzItem(ComboBox *gsm, bool blitz) {
    const QSignalBlocker block(gsm);
    const bool added = gsm->property(BlitzItemAdded).toBool();
    if (blitz && gsm->count() == GsmBlitzItem) {
        gsm->addItem(S("SMS-Блиц"));
        gsm->setProperty(BlitzItemAdded, true);
    } else if (!blitz && added && gsm->count() == GsmItemCount) {
        gsm->removeItem(GsmBlitzItem);
        gsm->setProperty(BlitzItemAdded, false);
    }
}

// The name family whose group box is shown: "NameRzd", "NameRzdE" or "NameRzdP" and the
// matching own-name prefix.
struct NameFamily {
    QString names, ownNames;
};

NameFamily visibleNameFamily(const Controls &c) {
    if (!c.widget(S("GroupBox8"))->isHidden())
        return {S("NameRzdE"), S("OwnNameE")};
    if (!c.widget(S("GroupBox15"))->isHidden())
        return {S("NameRzdP"), S("OwnNameP")};
    return {S("NameRzd"), S("OwnName")};
}

constexpr RelayLayout Relay1{q72::RelayPartitions1, q72::RelayPartitions9, q72::RadioChanBlck1,
                             q72::DamageCD1,        q72::ErrorInterface1,  q72::NoLine1,
                             q72::PowerCD1};

void decodeEvents(const Controls &c, const ConfigImage &img) {
    for (int r = 1; r <= q72::RecipientCount; ++r)
        for (int t = 1; t <= q72::EventTypeCount; ++t)
            c.check(S("event"), r, t)->setChecked(testBit(img, q72::eventBit(r, t)));
}

} // namespace

void DecodeImageQ72(pages::FormBase &form, const ConfigImage &img) {
    const Controls &c = form.controls();
    // Check messages in the interface language; report() shows one per bad field and notes it.
    const CheckTexts texts = checkTexts(form.SelectLang->text());
    const QString prefix = texts.error + S(": ");
    bool errors = false;
    auto report = [&](const QString &what) {
        form.dialogs().message(prefix + what, texts.caption, Dialogs::Icon::Error);
        errors = true;
    };
    auto caption = [&](const char *label) { return c.label(S(label))->caption(); };

    // Relay 1 control (by command or not), then its rule.
    setFirstIfSet(form.ReleControl1, testBit(img, q72::ReleControl1));
    // Any sender other than the list itself: a decode shows no relay-control message.
    form.ReleControl1Change(form.ReleWorkMode1);

    // Work mode from the low nibble; one beyond the list is reported and shows mode 0.
    const int mode = img[q72::WorkModeLang] & 0x0F;
    if (mode < q72::WorkModeCount) {
        form.WorkModeComboBox->setItemIndex(mode);
    } else {
        report(caption("Label2"));
        form.WorkModeComboBox->setItemIndex(0);
    }
    form.WorkModeCombo(form.WorkModeComboBox);

    // SMS combining of each recipient; the partitions of relay 1.
    for (int k = 1; k <= 8; ++k)
        setFirstIfSet(c.combo(S("SMS"), k), bit(img[q72::SmsCombine], k - 1));
    decodeRelayPartitions(c, img, Relay1);

    // Relay 1 settings and its fault boxes, kept to apply them again after a language change.
    const RelaySettings relay = q72::relaySettings(img);
    const RelayBits faultBits = relayBits(img, Relay1);
    decodeRelay(form, relay, faultBits);

    // PIN code; a bad one is reported and leaves the field empty.
    pages::MaskEdit *pin = c.mask(S("PinCode"));
    setMaskText(pin, QString());
    const DecodedText pinText = q72::decodePin(img[q72::Pin], img[q72::Pin + 1]);
    if (pinText.bad)
        report(caption("Label5"));
    else if (!pinText.text.isEmpty())
        setMaskText(pin, pinText.text);

    // GSM message types, with their rule; the SMS-Blitz page shows only while one uses it.
    auto *blitzPage = c.get<pages::TabSheet>(S("TabSheet14"));
    blitzPage->setTabVisible(false);
    const bool orderFlag = testBit(img, q72::OrderFlag);
    for (int k = 1; k <= q72::RecipientCount; ++k) {
        ComboBox *gsm = c.combo(S("TypeMesgGSM"), k);
        if (const auto item = gsmTypeItem(img[q72::TypeMesgGsm + k - 1], orderFlag)) {
            prepareBlitzItem(gsm, *item == GsmBlitzItem);
            setIndex(gsm, *item);
            if (*item == GsmBlitzItem)
                blitzPage->setTabVisible(true);
        }
        form.ConnectTimeConfrmEnabl(gsm);
    }

    // Dial attempts (low nibble) and wait time (high nibble) of each recipient.
    for (int k = 1; k <= q72::RecipientCount; ++k) {
        const std::uint8_t b = img[q72::DialWait + k - 1];
        setIndex(c.combo(S("DialTry"), k), b & 0x0F);
        setIndex(c.combo(S("WaitTime"), k), b >> 4);
    }

    // SMS centre number; a bad or empty one shows the blank mask.
    const DecodedText centre = q72::decodePhone(img.data() + q72::SmsCentre);
    if (centre.bad)
        report(caption("Label6"));
    setMaskText(c.mask(S("SMSphone")),
                centre.bad || centre.text.isEmpty() ? q72::EmptyPhoneText : centre.text);

    // Recipient numbers: bad ones are reported once and show the blank mask.
    bool phoneError = false;
    std::array<bool, q72::RecipientCount> phoneBad{};
    for (int k = 1; k <= q72::RecipientCount; ++k) {
        pages::MaskEdit *phone = c.mask(S("PhoneNumber"), k);
        setMaskText(phone, QString());
        const DecodedText t = q72::decodePhone(img.data() + q72::Phones + q72::PhoneSize * (k - 1));
        setMaskText(phone, t.text);
        phoneBad[k - 1] = t.bad;
        phoneError = phoneError || t.bad;
    }
    if (phoneError) {
        report(caption("Label20"));
        for (int k = 1; k <= q72::RecipientCount; ++k)
            if (phoneBad[k - 1])
                setMaskText(c.mask(S("PhoneNumber"), k), q72::EmptyPhoneText);
    }

    // Partitions reported to each recipient, and the event boxes.
    for (int r = 1; r <= q72::RecipientCount; ++r) {
        const int at = q72::RecipientPartitions + 2 * (r - 1);
        for (int p = 1; p <= PartitionCount; ++p)
            c.check(S("rzd"), r, p)
                ->setChecked(p >= 9 ? bit(img[at], p - 9) : bit(img[at + 1], p - 1));
    }
    decodeEvents(c, img);

    // Device language from the high nibble; one beyond the list is reported and shows item 0.
    const int languageBefore = form.LangChange->itemIndex();
    const int language = img[q72::WorkModeLang] >> 4;
    if (language < q72::LanguageCount) {
        form.LangChange->setItemIndex(language);
    } else {
        form.LangChange->setItemIndex(0);
        report(QString());
    }
    // A new language item runs the work-mode rule, which applies the relay mode again and so
    // clears the relay's own ticks decoded above: read them again, or they would be lost.
    if (form.LangChange->itemIndex() != languageBefore)
        decodeRelay(form, relay, faultBits);

    // Partition names of the visible family; an own-name item shows its own-name field.
    const NameFamily family = visibleNameFamily(c);
    bool nameError = false;
    for (int p = 1; p <= PartitionCount; ++p) {
        ComboBox *name = c.combo(family.names, p);
        const int item = img[q72::PartitionNames + p - 1];
        if (item > q72::NameItemMax) {
            name->setItemIndex(0);
            nameError = true;
        } else {
            setIndex(name, item);
        }
        if (name->itemIndex() >= q72::OwnNameFirstItem)
            c.labeledEdit(family.ownNames, name->itemIndex() - q72::OwnNameFirstItem + 1)->show();
    }
    if (nameError)
        report(caption("LabelNameRazdelP"));

    // Delays and periods; a stored value with no list item leaves its list as it was.
    auto setDelay = [&](const char *list, std::uint8_t seconds) {
        if (const auto item = delayItem(seconds))
            setIndex(c.combo(S(list)), *item);
    };
    setDelay("DelayHardware", img[q72::DelayHardware]);
    setDelay("DelayTypeAlarm", img[q72::DelayTypeAlarm]);
    setDelay("DelayRzd", img[q72::DelayRzd]);
    if (const auto item = periodItem(img[q72::PeriodRzd]))
        c.combo(S("PeriodRzd"))->setItemIndex(*item);
    if (const auto item = periodItem(img[q72::PeriodHardware]))
        c.combo(S("PeriodHardware"))->setItemIndex(*item);

    // Urgency of each event type and delivery confirmation of each recipient.
    for (int t = 1; t <= q72::EventTypeCount; ++t)
        setFirstIfSet(c.combo(S("urgent"), t), testBit(img, q72::urgentBit(t)));
    for (int k = 1; k <= q72::RecipientCount; ++k)
        setFirstIfSet(c.combo(S("ConfirmMes"), k), bit(img[q72::ConfirmMes], k - 1));

    // SIM count from the high nibble; a low nibble other than 0 is reported and shows item 0.
    ComboBox *sim = c.combo(S("SIMcountCombo"));
    if ((img[q72::SimCount] & 0x0F) != 0) {
        report(caption("Label114"));
        sim->setItemIndex(0);
    } else {
        setIndex(sim, img[q72::SimCount] >> 4);
    }

    // Line test period; a code with no item is reported and shows item 0.
    ComboBox *testLine = c.combo(S("TestLine"));
    testLine->setItemIndex(0);
    if (const auto item = periodItem(img[q72::TestLine]))
        testLine->setItemIndex(*item);
    else
        report(caption("Label112"));

    // Tone digits, then the tone rule.
    for (int n = 1; n <= 4; ++n) {
        setIndex(c.combo(S("Alarm"), n), getField(img, q72::Alarm[n - 1]));
        setIndex(c.combo(S("Arm"), n), getField(img, q72::Arm[n - 1]));
        setIndex(c.combo(S("DisArm"), n), getField(img, q72::DisArm[n - 1]));
    }
    form.ToneDigit(c.combo(S("Alarm1")));

    // Inputs and the other flag lists, GSM loss, connection check and phrase pause.
    setFirstIfSet(c.combo(S("ControlInput")), testBit(img, q72::ControlInput));
    c.combo(S("Input1"))->setItemIndex(testBit(img, q72::Input1) ? 1 : 0);
    c.combo(S("Input2"))->setItemIndex(testBit(img, q72::Input2) ? 1 : 0);
    c.combo(S("SpeedLine"))->setItemIndex(testBit(img, q72::SpeedLine) ? 1 : 0);
    c.combo(S("ZoneNumberCombo"))->setItemIndex(testBit(img, q72::ZoneNumber) ? 1 : 0);
    setFirstIfSet(c.combo(S("NextDial")), testBit(img, q72::NextDial));
    setFirstIfSet(c.combo(S("CmB_EventsArchive")), testBit(img, q72::EventsArchive));
    setIndex(c.combo(S("GsmLostCombo")), getField(img, q72::GsmLost));
    setIndex(c.combo(S("CheckConnectCD")), getField(img, q72::CheckConnectCD));
    setIndex(c.combo(S("PhrasePause")), img[q72::PhrasePause]);

    // Balance request; a bad one is reported and leaves the field empty.
    pages::Edit *balance = c.edit(S("RequestBalance"));
    balance->setText(QString());
    const DecodedText balanceText = q72::decodeBalance(img.data() + q72::RequestBalance);
    if (balanceText.bad)
        report(caption("Label212"));
    else
        balance->setText(balanceText.text);

    // Partition and object number of each partition row; bad object digits are reported once.
    bool objectError = false;
    for (int p = 1; p <= PartitionCount; ++p) {
        setIndex(c.combo(S("RzdNmb"), p), q72::rzdNmbItem(img, p));
        const q72::ObjectNumber object = q72::objectNumber(img, p);
        objectError = objectError || object.bad;
        setIndex(c.combo(S("ObjNmb"), p), object.number);
    }
    if (objectError)
        report(caption("Label98") + S(", ") + caption("Label99"));

    // Own names, into the own-name fields the partition names made visible.
    for (int n = 1; n <= q72::OwnNameCount; ++n) {
        pages::LabeledEdit *own = c.labeledEdit(family.ownNames, n);
        if (!own->isHidden())
            own->setText(q72::ownNameText(img, n));
    }

    // Rebuild the object password table and the command boxes from the partition groups.
    const q72::PartitionGroupsRead groups = q72::partitionGroups(img);
    if (groups.bad)
        report(QString());
    form.ObjectPasswordTable.fill(255);
    bool passwordError = false;
    for (int p = 1; p <= PartitionCount; ++p) {
        const int g = groups.group[p - 1];
        if (g == 0)
            continue;
        const q72::GroupPassword password = q72::groupPassword(img, g);
        passwordError = passwordError || password.bad;
        // Object 0 has no row: the password of a group without an object is not kept.
        const int object = q72::objectNumber(img, p).number;
        form.setPasswordRow(object, {password.bytes[0], password.bytes[1], password.bytes[2]});

        const std::uint8_t commands = img[q72::GroupCommands + g - 1];
        c.check(S("vz"), g)->setChecked(commands & q72::CmdVz);
        c.check(S("sn"), g)->setChecked(commands & q72::CmdSn);
        c.check(S("st"), g)->setChecked(commands & q72::CmdSt);
        c.check(S("start"), g)->setChecked(commands & q72::CmdStart);
        c.check(S("stop"), g)->setChecked(commands & q72::CmdStop);
        form.ObjNmbClick(c.combo(S("ObjNmb"), p));
    }
    if (passwordError)
        report(caption("Label81"));

    // Event boxes once more: the rules run since the first pass may have unticked some.
    decodeEvents(c, img);

    // SMS-Blitz codes and voice flags; once the window is shown, short codes get leading zeros.
    for (int k = 1; k <= q72::BlitzCount; ++k) {
        const auto code = q72::blitzCode(img, k);
        c.edit(S("Edit"), k)->setText(code ? QString::number(*code) : QString());
        c.check(S("RO"), k)->setChecked(testBit(img, q72::BlitzVoiceBits[k - 1]));
    }
    if (form.FormShown)
        for (int k = 1; k <= q72::BlitzCount; ++k) {
            pages::Edit *code = c.edit(S("Edit"), k);
            if (!code->text().isEmpty() && code->text().size() < 4)
                code->setText(code->text().rightJustified(4, QLatin1Char('0')));
        }

    // After any bad field, warn and restore the factory preset. The presets pass every check, so
    // the restore cannot come back here; the guard only keeps a damaged preset from recursing
    // without end.
    static bool restoring = false;
    if (errors && !restoring) {
        form.dialogs().message(texts.warning, texts.caption, Dialogs::Icon::Warning);
        restoring = true;
        DefaultButtonClick(form);
        restoring = false;
    }
}

LegacyEncoded EncodeImageQ72(pages::FormBase &form) {
    const Controls &c = form.controls();
    LegacyEncoded out;
    ConfigImage &img = out.image;
    auto fail = [&](const QString &field, const ConvertError &e) {
        out.error = fieldError(field, e);
        out.image.fill(0);
        return out;
    };

    // Start from a blank image with its 0xFF fill.
    img.fill(0);
    std::fill_n(img.begin() + q72::EncoderFillFF, q72::EncoderFillFFSize, std::uint8_t(0xFF));

    // SMS combining of each recipient; the partitions of relay 1.
    for (int k = 1; k <= 8; ++k)
        if (index(c, "SMS", k) == 0)
            img[q72::SmsCombine] |= std::uint8_t(1 << (k - 1));
    encodeRelayPartitions(c, img, Relay1);

    // Relay 1: its fault boxes, events, mode and times.
    const RelayControls relay = readRelay(form);
    encodeRelayBits(img, Relay1, relay.bits);
    setBit(img, q72::OnOffLine1, relay.s.onOffLine);
    setBit(img, q72::OnOffAllLine1, relay.s.onOffAllLine);
    setBit(img, q72::InvRele1, relay.s.inverted);
    setBit(img, q72::ErrorFire1, relay.s.errorFire);
    setBit(img, q72::NoConnect1, relay.s.noConnect);
    setBit(img, q72::BoxDamage1, relay.s.boxDamage);
    setBit(img, q72::ErrorPower1, relay.s.errorPower);
    setBit(img, q72::AlarmEvent1, relay.s.alarmEvent);
    putField(img, q72::TimeZmk1, relay.s.timeZmk);
    putField(img, q72::TimeRzmk1, relay.s.timeRzmk);
    putField(img, q72::TimePeriod1, relay.s.timePeriod);

    // PIN code.
    const auto pin = q72::encodePin(c.mask(S("PinCode"))->text());
    if (!pin)
        return fail(S("PIN code"), pin.error());
    img[q72::Pin] = (*pin)[0];
    img[q72::Pin + 1] = (*pin)[1];

    // GSM message types; one that sends the SMS last sets the order flag for all.
    bool smsLast = false;
    for (int k = 1; k <= q72::RecipientCount; ++k) {
        const int item = index(c, "TypeMesgGSM", k);
        img[q72::TypeMesgGsm + k - 1] = gsmTypeCode(item).value_or(0);
        smsLast = smsLast || gsmItemSetsOrderFlag(item);
    }
    setBit(img, q72::OrderFlag, smsLast);

    // Dial attempts (low nibble) and wait time (high nibble) of each recipient.
    for (int k = 1; k <= q72::RecipientCount; ++k)
        img[q72::DialWait + k - 1] =
            std::uint8_t((index(c, "DialTry", k) & 0x0F) | (index(c, "WaitTime", k) & 0x0F) << 4);

    // SMS centre and recipient numbers.
    const auto centre = q72::encodePhone(c.mask(S("SMSphone"))->text(), false);
    if (!centre)
        return fail(S("SMS centre number"), centre.error());
    std::copy(centre->begin(), centre->end(), img.begin() + q72::SmsCentre);
    for (int k = 1; k <= q72::RecipientCount; ++k) {
        const auto phone = q72::encodePhone(c.mask(S("PhoneNumber"), k)->text(), true);
        if (!phone)
            return fail(S("Telephone number of recipient %1").arg(k), phone.error());
        std::copy(phone->begin(), phone->end(),
                  img.begin() + q72::Phones + q72::PhoneSize * (k - 1));
    }

    // Partitions and event boxes of each recipient; event type 12 also has a second copy.
    for (int r = 1; r <= q72::RecipientCount; ++r) {
        const int at = q72::RecipientPartitions + 2 * (r - 1);
        for (int p = 1; p <= PartitionCount; ++p)
            if (c.check(S("rzd"), r, p)->isChecked()) {
                if (p >= 9)
                    img[at] |= std::uint8_t(1 << (p - 9));
                else
                    img[at + 1] |= std::uint8_t(1 << (p - 1));
            }
        for (int t = 1; t <= q72::EventTypeCount; ++t)
            if (c.check(S("event"), r, t)->isChecked()) {
                setBit(img, q72::eventBit(r, t), true);
                if (t == 12)
                    setBit(img, q72::eventType12Copy(r), true);
            }
    }

    // Partition names of the visible name family.
    const NameFamily family = visibleNameFamily(c);
    for (int p = 1; p <= PartitionCount; ++p)
        img[q72::PartitionNames + p - 1] = std::uint8_t(c.combo(family.names, p)->itemIndex());

    // Delays and periods, each in its copies, with the fixed filler bytes between them.
    const std::uint8_t hardware = delaySeconds(index(c, "DelayHardware"));
    std::fill_n(img.begin() + q72::DelayHardware, q72::DelayHardwareCopies, hardware);
    img[q72::FillFF1] = img[q72::FillFF2] = img[q72::FillFF3] = 0xFF;
    img[q72::Fill00a] = img[q72::Fill00b] = 0;
    img[q72::DelayTypeAlarm] = delaySeconds(index(c, "DelayTypeAlarm"));
    std::fill_n(img.begin() + q72::DelayRzd, q72::DelayRzdCopies,
                delaySeconds(index(c, "DelayRzd")));
    std::fill_n(img.begin() + q72::PeriodRzd, q72::PeriodCopies,
                periodCode(index(c, "PeriodRzd")).value_or(0));
    std::fill_n(img.begin() + q72::PeriodHardware, q72::PeriodCopies,
                periodCode(index(c, "PeriodHardware")).value_or(0));

    // Urgency, confirmation, work mode and language, SIM count, line test and tone digits.
    for (int t = 1; t <= q72::EventTypeCount; ++t)
        if (index(c, "urgent", t) == 0) {
            setBit(img, q72::urgentBit(t), true);
            if (t == 12)
                setBit(img, q72::Urgent12Copy, true);
        }
    for (int k = 1; k <= q72::RecipientCount; ++k)
        if (index(c, "ConfirmMes", k) == 0)
            img[q72::ConfirmMes] |= std::uint8_t(1 << (k - 1));
    img[q72::WorkModeLang] = std::uint8_t((form.LangChange->itemIndex() & 0x0F) << 4 |
                                          (form.WorkModeComboBox->itemIndex() & 0x0F));
    img[q72::SimCount] = std::uint8_t((index(c, "SIMcountCombo") & 0x0F) << 4);
    img[q72::TestLine] = periodCode(index(c, "TestLine")).value_or(0);
    for (int n = 1; n <= 4; ++n) {
        putField(img, q72::Alarm[n - 1], index(c, "Alarm", n));
        putField(img, q72::Arm[n - 1], index(c, "Arm", n));
        putField(img, q72::DisArm[n - 1], index(c, "DisArm", n));
    }

    // Inputs and the other flag lists, GSM loss, connection check and phrase pause.
    setBit(img, q72::ControlInput, index(c, "ControlInput") == 0);
    setBit(img, q72::Input1, index(c, "Input1") == 1);
    setBit(img, q72::Input2, index(c, "Input2") == 1);
    setBit(img, q72::WorkModeZero, form.WorkModeComboBox->itemIndex() == 0);
    setBit(img, q72::SpeedLine, index(c, "SpeedLine") == 1);
    setBit(img, q72::ZoneNumber, index(c, "ZoneNumberCombo") == 1);
    setBit(img, q72::NextDial, index(c, "NextDial") == 0);
    setBit(img, q72::ReleControl1, relay.releControlByCommand);
    setBit(img, q72::EventsArchive, index(c, "CmB_EventsArchive") == 0);
    putField(img, q72::CheckConnectCD, index(c, "CheckConnectCD"));
    putField(img, q72::GsmLost, index(c, "GsmLostCombo"));
    img[q72::PhrasePause] = std::uint8_t(index(c, "PhrasePause"));

    // Balance request.
    const auto balance = q72::encodeBalance(c.edit(S("RequestBalance"))->text());
    if (!balance)
        return fail(S("Balance request"), balance.error());
    std::copy(balance->begin(), balance->end(), img.begin() + q72::RequestBalance);

    // Group the partitions by object and store each partition's group and object digits.
    std::array<int, PartitionCount> objects{};
    for (int p = 1; p <= PartitionCount; ++p) {
        objects[p - 1] = std::max(0, index(c, "ObjNmb", p));
        if (objects[p - 1] > 999)
            return fail(S("Object number of partition %1").arg(p),
                        {ConvertError::Kind::OutOfRange, QString::number(objects[p - 1])});
    }
    const ObjectGroups groups = groupObjects(objects);
    for (int p = 1; p <= PartitionCount; ++p) {
        img[q72::PartitionGroups + p - 1] = std::uint8_t(groups.group[p - 1]);
        q72::putObjectDigits(img, p, objects[p - 1], index(c, "RzdNmb", p));
    }

    // Own names are built 160 bytes below their place and copied up with the group passwords.
    for (int n = 1; n <= q72::OwnNameCount; ++n) {
        const auto name = q72::encodeOwnName(c.labeledEdit(family.ownNames, n)->text());
        if (!name)
            return fail(S("User's name %1").arg(n), name.error());
        std::copy(name->begin(), name->end(),
                  img.begin() + q72::OwnNamesStaging + q72::OwnNameSize * (n - 1));
    }

    // The commands of a group come from the object row that shows its object; when no row
    // shows it (the rows are out of step with the lists), the group may use no command.
    for (int g = 1; g <= groups.count; ++g) {
        const int object = groups.object[g - 1];
        const auto row = form.passwordRow(object);
        for (int i = 0; i < q72::GroupPasswordSize; ++i)
            img[q72::GroupPasswordsStaging + q72::GroupPasswordSize * (g - 1) + i] =
                std::uint8_t(row[i]);
        std::uint8_t commands = 0;
        for (int k = 1; k <= PartitionCount; ++k) {
            pages::Label *label = c.label(S("LabelOb"), k);
            if (label->isHidden() || label->caption() != QString::number(object))
                continue;
            const struct {
                const char *box;
                std::uint8_t flag;
            } boxes[] = {{"vz", q72::CmdVz},
                         {"sn", q72::CmdSn},
                         {"st", q72::CmdSt},
                         {"start", q72::CmdStart},
                         {"stop", q72::CmdStop}};
            for (const auto &b : boxes)
                if (c.check(S(b.box), k)->isChecked())
                    commands |= b.flag;
            break;
        }
        img[q72::GroupCommands + g - 1] = commands;
    }

    // Copy the staged own names and group passwords up to their place.
    std::copy_n(img.begin() + q72::StagingArea, q72::StagingSize, img.begin() + q72::StagingTarget);

    // SMS-Blitz codes and voice flags, written over the staged copy left below.
    std::fill_n(img.begin() + q72::BlitzVoice, 4, std::uint8_t(0));
    for (int k = 1; k <= q72::BlitzCount; ++k) {
        const auto stored = q72::putBlitzCode(img, k, c.edit(S("Edit"), k)->text());
        if (!stored)
            return fail(S("SMS-Blitz code %1").arg(k), stored.error());
        setBit(img, q72::BlitzVoiceBits[k - 1], c.check(S("RO"), k)->isChecked());
    }
    return out;
}

} // namespace q7x::image
