// The Q72 settings in the window: applied in the order the window has always read an image, with
// the checks' messages at their fields, and gathered back for the encoder.
#include "lang/ini.h"
#include "pages/binding_util.h"

#include <QSignalBlocker>

#include <algorithm>

namespace q7x::pages {

using namespace binding;
using image::Check;
using image::Q72Settings;

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

// A GSM list without the SMS-Blitz item gets it back while an image uses it; the item goes away
// again when a later image no longer uses it.
const char *const BlitzItemAdded = "q7xBlitzItemAdded";

void prepareBlitzItem(ComboBox *gsm, bool blitz) {
    const QSignalBlocker block(gsm);
    const bool added = gsm->property(BlitzItemAdded).toBool();
    if (blitz && gsm->count() == image::GsmBlitzItem) {
        gsm->addItem(S("SMS-Блиц"));
        gsm->setProperty(BlitzItemAdded, true);
    } else if (!blitz && added && gsm->count() == image::GsmItemCount) {
        gsm->removeItem(image::GsmBlitzItem);
        gsm->setProperty(BlitzItemAdded, false);
    }
}

// The name family whose group box is shown.
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

// Applies the settings step by step; report() shows the message of a check that failed.
class Q72Apply {
  public:
    Q72Apply(FormBase &form, const image::DecodeResult<Q72Settings> &d)
        : w(form), c(form.controls()), s(d.settings), m_errors(d.errors),
          m_texts(checkTexts(form.SelectLang->text())) {}

    void run();

  private:
    void report(Check check);
    void recipients();
    void language();
    void names();
    void timing();
    void objects();
    void groups();
    void blitz();

    FormBase &w;
    const Controls &c;
    const Q72Settings &s;
    const QList<image::FieldError> &m_errors;
    const CheckTexts m_texts;
    NameFamily m_family;
};

void Q72Apply::report(Check check) {
    for (const image::FieldError &e : m_errors) {
        if (e.check != check)
            continue;
        QStringList captions;
        for (const QString &label : e.labels)
            captions << c.label(label)->caption();
        w.dialogs().message(m_texts.error + S(": ") + captions.join(S(", ")), m_texts.caption,
                            Dialogs::Icon::Error);
    }
}

void Q72Apply::run() {
    // Relay 1 control (by command or not), then its rule; any sender other than the list itself,
    // so no relay-control message.
    setFirstIfSet(w.ReleControl1, s.relay.byCommand);
    w.ReleControl1Change(w.ReleWorkMode1);

    report(Check::WorkMode);
    w.WorkModeComboBox->setItemIndex(s.workMode);
    w.WorkModeCombo(w.WorkModeComboBox);

    for (int k = 1; k <= image::RecipientCount; ++k)
        setFirstIfSet(c.combo(S("SMS"), k), s.recipients[std::size_t(k - 1)].combineSms);
    applyRelayPartitions(c, s.relay);
    applyRelay(w, s.relay);

    MaskEdit *pin = c.mask(S("PinCode"));
    setMaskText(pin, QString());
    report(Check::Pin);
    if (!s.pin.isEmpty())
        setMaskText(pin, s.pin);

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
    static bool restoring = false;
    if (!m_errors.isEmpty() && !restoring) {
        w.dialogs().message(m_texts.warning, m_texts.caption, Dialogs::Icon::Warning);
        restoring = true;
        w.DefaultButtonClick(w.DefaultButton);
        restoring = false;
    }
}

void Q72Apply::recipients() {
    // GSM message types, with their rule; the SMS-Blitz page shows only while one uses it.
    auto *blitzPage = c.get<TabSheet>(S("TabSheet14"));
    blitzPage->setTabVisible(false);
    for (int k = 1; k <= image::RecipientCount; ++k) {
        ComboBox *gsm = c.combo(S("TypeMesgGSM"), k);
        if (const int item = s.recipients[std::size_t(k - 1)].notification; item != image::NoItem) {
            prepareBlitzItem(gsm, item == image::GsmBlitzItem);
            setIndex(gsm, item);
            if (item == image::GsmBlitzItem)
                blitzPage->setTabVisible(true);
        }
        w.ConnectTimeConfrmEnabl(gsm);
    }
    for (int k = 1; k <= image::RecipientCount; ++k) {
        setIndex(c.combo(S("DialTry"), k), s.recipients[std::size_t(k - 1)].dialAttempts);
        setIndex(c.combo(S("WaitTime"), k), s.recipients[std::size_t(k - 1)].waitTime);
    }

    report(Check::SmsCentre);
    setMaskText(c.mask(S("SMSphone")),
                s.smsCentre.isEmpty() ? image::q72::EmptyPhoneText : s.smsCentre);
    for (int k = 1; k <= image::RecipientCount; ++k) {
        MaskEdit *phone = c.mask(S("PhoneNumber"), k);
        setMaskText(phone, QString());
        setMaskText(phone, s.recipients[std::size_t(k - 1)].phone);
    }
    report(Check::Phones);

    for (int r = 1; r <= image::RecipientCount; ++r)
        for (int p = 1; p <= image::PartitionCount; ++p)
            c.check(S("rzd"), r, p)
                ->setChecked(s.recipients[std::size_t(r - 1)].partitions[std::size_t(p - 1)]);
    for (int r = 1; r <= image::RecipientCount; ++r)
        for (int t = 1; t <= image::EventTypeCount; ++t)
            c.check(S("event"), r, t)
                ->setChecked(s.recipients[std::size_t(r - 1)].events[std::size_t(t - 1)]);
}

void Q72Apply::language() {
    const int before = w.LangChange->itemIndex();
    w.LangChange->setItemIndex(s.nameLanguage);
    report(Check::Language);
    // A new language item runs the work-mode rule, which applies the relay mode again and so
    // clears the relay's own ticks set above: set them again, or they would be lost.
    if (w.LangChange->itemIndex() != before)
        applyRelay(w, s.relay);
}

void Q72Apply::names() {
    // Partition names of the visible family; an own-name item shows its own-name field.
    m_family = visibleNameFamily(c);
    for (int p = 1; p <= image::PartitionCount; ++p) {
        ComboBox *name = c.combo(m_family.names, p);
        setIndex(name, s.partitions[std::size_t(p - 1)].name);
        if (name->itemIndex() >= image::q72::OwnNameFirstItem)
            c.labeledEdit(m_family.ownNames, name->itemIndex() - image::q72::OwnNameFirstItem + 1)
                ->show();
    }
    report(Check::PartitionNames);
}

void Q72Apply::timing() {
    setIndex(c.combo(S("DelayHardware")), s.delayHardware);
    setIndex(c.combo(S("DelayTypeAlarm")), s.delayTypeAlarm);
    setIndex(c.combo(S("DelayRzd")), s.delayRzd);
    setIndex(c.combo(S("PeriodRzd")), s.periodRzd);
    setIndex(c.combo(S("PeriodHardware")), s.periodHardware);
    for (int t = 1; t <= image::EventTypeCount; ++t)
        setFirstIfSet(c.combo(S("urgent"), t), s.urgent[std::size_t(t - 1)]);
    for (int k = 1; k <= image::RecipientCount; ++k)
        setFirstIfSet(c.combo(S("ConfirmMes"), k), s.recipients[std::size_t(k - 1)].confirm);

    report(Check::SimCount);
    setIndex(c.combo(S("SIMcountCombo")), s.simCount);
    ComboBox *testLine = c.combo(S("TestLine"));
    testLine->setItemIndex(0);
    setIndex(testLine, s.testLine);
    report(Check::TestLine);

    for (int n = 1; n <= 4; ++n) {
        setIndex(c.combo(S("Alarm"), n), s.toneAlarm[std::size_t(n - 1)]);
        setIndex(c.combo(S("Arm"), n), s.toneArm[std::size_t(n - 1)]);
        setIndex(c.combo(S("DisArm"), n), s.toneDisarm[std::size_t(n - 1)]);
    }
    w.ToneDigit(c.combo(S("Alarm1")));

    c.combo(S("ControlInput"))->setItemIndex(s.controlInput);
    c.combo(S("Input1"))->setItemIndex(s.input1);
    c.combo(S("Input2"))->setItemIndex(s.input2);
    c.combo(S("SpeedLine"))->setItemIndex(s.speedLine);
    c.combo(S("ZoneNumberCombo"))->setItemIndex(s.zoneNumber);
    setFirstIfSet(c.combo(S("NextDial")), s.dialInTurn);
    setFirstIfSet(c.combo(S("CmB_EventsArchive")), s.eventsArchive);
    setIndex(c.combo(S("GsmLostCombo")), s.gsmLost);
    setIndex(c.combo(S("CheckConnectCD")), s.checkConnect);
    setIndex(c.combo(S("PhrasePause")), s.phrasePause);

    Edit *balance = c.edit(S("RequestBalance"));
    balance->setText(QString());
    report(Check::Balance);
    if (!s.balanceRequest.isEmpty())
        balance->setText(s.balanceRequest);
}

void Q72Apply::objects() {
    for (int p = 1; p <= image::PartitionCount; ++p) {
        setIndex(c.combo(S("RzdNmb"), p), s.partitions[std::size_t(p - 1)].number);
        setIndex(c.combo(S("ObjNmb"), p), s.partitions[std::size_t(p - 1)].object);
    }
    report(Check::ObjectNumbers);
    for (int n = 1; n <= image::q72::OwnNameCount; ++n) {
        LabeledEdit *own = c.labeledEdit(m_family.ownNames, n);
        if (!own->isHidden())
            own->setText(s.ownNames[std::size_t(n - 1)]);
    }
}

// Rebuilds the object password table and the command boxes from the partition groups.
void Q72Apply::groups() {
    report(Check::Groups);
    w.ObjectPasswordTable.fill(255);
    const auto groups = image::effectiveGroups(s.partitions);
    for (int p = 1; p <= image::PartitionCount; ++p) {
        const int g = groups[std::size_t(p - 1)];
        if (g == 0)
            continue;
        const image::ObjectGroup &group = s.groups[std::size_t(g - 1)];
        // Object 0 has no row: the password of a group without an object is not kept.
        w.setPasswordRow(s.partitions[std::size_t(p - 1)].object,
                         {group.password[0], group.password[1], group.password[2]});
        c.check(S("vz"), g)->setChecked(group.arm);
        c.check(S("sn"), g)->setChecked(group.disarm);
        c.check(S("st"), g)->setChecked(group.status);
        c.check(S("start"), g)->setChecked(group.relayOn);
        c.check(S("stop"), g)->setChecked(group.relayOff);
        w.ObjNmbClick(c.combo(S("ObjNmb"), p));
    }
    report(Check::Passwords);

    // Event boxes once more: the rules run since the first pass may have unticked some.
    for (int r = 1; r <= image::RecipientCount; ++r)
        for (int t = 1; t <= image::EventTypeCount; ++t)
            c.check(S("event"), r, t)
                ->setChecked(s.recipients[std::size_t(r - 1)].events[std::size_t(t - 1)]);
}

// SMS-Blitz codes and voice flags; once the window is shown, short codes get leading zeros.
void Q72Apply::blitz() {
    for (int k = 1; k <= image::BlitzCount; ++k) {
        c.edit(S("Edit"), k)->setText(s.blitzCodes[std::size_t(k - 1)]);
        c.check(S("RO"), k)->setChecked(s.blitzVoice[std::size_t(k - 1)]);
    }
    if (w.FormShown)
        for (int k = 1; k <= image::BlitzCount; ++k) {
            Edit *code = c.edit(S("Edit"), k);
            if (!code->text().isEmpty() && code->text().size() < 4)
                code->setText(code->text().rightJustified(4, QLatin1Char('0')));
        }
}

} // namespace

void applyQ72(FormBase &form, const image::DecodeResult<Q72Settings> &decoded) {
    Q72Apply(form, decoded).run();
}

} // namespace q7x::pages
