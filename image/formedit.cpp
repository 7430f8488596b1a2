// A user's edit of one control, by the control's name: the value the control takes and the rules
// the window runs for it, in the order the window runs them (a list's click rule, then its
// change rule).
#include "image/formcontrols.h"
#include "image/formrules_p.h"

#include <QHash>

namespace q7x::image {

using form::From;
using form::Rules;
using F = ControlFamily;

namespace {

int plainCount(const QString &name) {
    static const QHash<QString, int> counts = [] {
        const form::Counts &n = form::counts();
        QHash<QString, int> c{{QStringLiteral("WorkModeComboBox"), n.workMode},
                              {QStringLiteral("Input1"), n.input},
                              {QStringLiteral("Input2"), n.input},
                              {QStringLiteral("CmB_EventsArchive"), n.eventsArchive},
                              {QStringLiteral("ControlInput"), n.controlInput},
                              {QStringLiteral("CheckConnectCD"), n.checkConnect},
                              {QStringLiteral("NextDial"), n.nextDial},
                              {QStringLiteral("PhrasePause"), n.phrasePause},
                              {QStringLiteral("SpeedLine"), n.speedLine},
                              {QStringLiteral("GsmLostCombo"), n.gsmLost},
                              {QStringLiteral("ZoneNumberCombo"), n.zoneNumber},
                              {QStringLiteral("SIMcountCombo"), n.simCount},
                              {QStringLiteral("DialMode"), n.dialMode},
                              {QStringLiteral("PickUpDelay"), n.pickUpDelay},
                              {QStringLiteral("LostLine"), n.lostLine},
                              {QStringLiteral("PauseDial"), n.pauseDial},
                              {QStringLiteral("DelayTypeAlarm"), n.delay},
                              {QStringLiteral("DelayHardware"), n.delay},
                              {QStringLiteral("DelayRzd"), n.delay},
                              {QStringLiteral("PeriodHardware"), n.period},
                              {QStringLiteral("PeriodRzd"), n.period},
                              {QStringLiteral("TestLine"), n.testLine},
                              {QStringLiteral("LangChange"), NameFamilyCount},
                              {QStringLiteral("ReleControl1"), n.releControl},
                              {QStringLiteral("ReleWorkMode1"), n.releWorkMode},
                              {QStringLiteral("TimeRzmk1"), n.timeOpenClose},
                              {QStringLiteral("TimeZmk1"), n.timeOpenClose},
                              {QStringLiteral("TimePeriod1"), n.timePeriod},
                              {QStringLiteral("InvRele1"), n.invRele}};
        for (int i = 1; i <= 4; ++i)
            for (const char *tone : {"Alarm", "Arm", "DisArm"})
                c.insert(QLatin1String(tone) + QString::number(i),
                         i < 4 ? n.toneSymbols : n.tonePause);
        for (int r = 1; r <= RecipientCount; ++r) {
            const QString k = QString::number(r);
            c.insert(QStringLiteral("TypeMesgLine") + k, n.lineTypes);
            c.insert(QStringLiteral("SMS") + k, n.yesNo);
            c.insert(QStringLiteral("DialTry") + k, n.dialTry);
            c.insert(QStringLiteral("WaitTime") + k, n.waitTime);
            c.insert(QStringLiteral("ConfirmMes") + k, n.yesNo);
            c.insert(QStringLiteral("PauseInterval") + k, n.pauseInterval);
        }
        for (int t = 1; t <= EventTypeCount; ++t)
            c.insert(QStringLiteral("urgent") + QString::number(t), n.urgency);
        return c;
    }();
    return counts.value(name, 0);
}

} // namespace

int itemCount(const Form &f, const QString &list) {
    if (list == QLatin1String("Mode"))
        return 3;
    const ValueControl *c = valueControl(list);
    if (!c || c->kind != ValueControl::Kind::Item)
        return 0;
    switch (c->family) {
    case F::ObjNmb:
        return c->index <= 9 ? f.view.objectListLast + 1 : 1000;
    case F::GroupPageObject:
        return 1000;
    case F::RzdNmb:
    case F::GroupPageNumber:
        return form::counts().partitionNumbers;
    case F::NameList:
        return form::counts().partitionNames;
    case F::TypeMesgGSM:
        return f.view.recipients[std::size_t(c->index - 1)].blitzItem == BlitzItem::Removed
                   ? GsmItemCount - 1
                   : GsmItemCount;
    default:
        return plainCount(list);
    }
}

bool blitzCodeAsks(const Form &f, int k) {
    if (k < 1 || k > BlitzCount)
        return false;
    const QString &text = f.values.blitzCodes[std::size_t(k - 1)];
    return !text.isEmpty() && text.size() != 4 && f.interactive;
}

namespace {

bool choose(Form &f, const ValueControl &c, int item, FormEffects &fx) {
    Rules r(f, fx);
    int &value = c.item(f.values);
    // A radio group runs its rule only when the choice changes.
    if (c.family == F::LangChange || c.family == F::ReleWorkMode1) {
        if (item < 0 || item >= itemCount(f, c.name))
            return false;
        if (item == value)
            return true;
        value = item;
        if (c.family == F::LangChange)
            r.LangChangeClick();
        else
            r.ReleWorkMode1Click();
        return true;
    }
    if (item < 0 || item >= itemCount(f, c.name))
        return false;
    value = item;
    switch (c.family) {
    case F::WorkModeComboBox:
        r.WorkModeCombo();
        break;
    case F::ReleControl1:
        r.ReleControl1Change({From::ReleControl1, 0});
        break;
    case F::RelayTiming:
        r.SpecModeRele();
        break;
    case F::ObjNmb:
        r.ObjNmbCl({From::ObjNmb, c.index});
        r.ObjNmbClick({From::ObjNmb, c.index});
        break;
    case F::GroupPageObject:
        r.ObjNmbCl({From::GroupPageObject, c.index});
        r.ObjNmbClick({From::GroupPageObject, c.index});
        break;
    case F::RzdNmb:
        r.RzdNmbChange({From::RzdNmb, c.index});
        break;
    case F::GroupPageNumber:
        r.RzdNmbChange({From::GroupPageNumber, c.index});
        break;
    case F::TypeMesgGSM:
        r.TypeMesgClick(c.index);
        r.ConnectTimeConfrmEnabl(c.index);
        break;
    case F::TypeMesgLine:
        r.TypeMesgLineChange(c.index);
        break;
    case F::PauseInterval:
        r.PauseInterval1Change(c.index);
        break;
    case F::NameList:
        // The click and the change of a name list run the same rule.
        r.ChangeOwnName({From::NameList, c.index, c.index2});
        r.ChangeOwnName({From::NameList, c.index, c.index2});
        break;
    default:
        break;
    }
    return true;
}

void type(Form &f, const ValueControl &c, const QString &text, FormEffects &fx) {
    Rules r(f, fx);
    switch (c.family) {
    case F::LinePhone:
        r.setLinePhone(c.index, text);
        break;
    case F::ObjectPassword:
    case F::RecipientPassword:
        r.setPasswordText(c.index, text);
        break;
    case F::RequestBalance:
        r.setBalance(text);
        break;
    case F::BlitzCode:
        r.setBlitzCode(c.index, text);
        break;
    case F::OwnName:
        r.setOwnName(c.index2, c.index, text);
        break;
    default:
        c.text(f.values) = text;
        break;
    }
}

void leave(Form &f, const ValueControl &c, const QVariant &value, FormEffects &fx) {
    Rules r(f, fx);
    switch (c.family) {
    case F::ObjectPassword:
        r.PasswordSave(c.index);
        break;
    case F::RecipientPassword:
        r.PasswordExit(c.index);
        break;
    case F::LinePhone:
        r.LinePhoneExit(c.index);
        break;
    case F::RequestBalance:
        r.RequestBalanceExit();
        break;
    case F::DigitalCode:
        r.DigExit(c.index);
        break;
    case F::BlitzCode:
        if (blitzCodeAsks(f, c.index))
            r.Edit1Exit(c.index, value.toBool());
        break;
    case F::OwnName:
        r.OwnNameLengnh(c.index2, c.index);
        break;
    default:
        break;
    }
}

void clickField(Form &f, const ValueControl &c, FormEffects &fx) {
    Rules r(f, fx);
    switch (c.family) {
    case F::LinePhone:
        r.LinePhone1Click(c.index);
        break;
    case F::PhoneNumber:
    case F::SMSphone:
        r.warn(1547);
        break;
    case F::PinCode:
        r.warn(1546);
        break;
    default:
        break;
    }
}

} // namespace

void runRule(Form &f, Rule rule, const QString &sender, FormEffects &fx, bool answer) {
    Rules r(f, fx);
    const ValueControl *c = valueControl(sender);
    const int index = c ? c->index : 0;
    // The sender as the object and partition rules see it.
    auto partitionSender = [&]() -> form::Sender {
        if (!c)
            return {};
        switch (c->family) {
        case F::ObjNmb:
            return {From::ObjNmb, index};
        case F::GroupPageObject:
            return {From::GroupPageObject, index};
        case F::RzdNmb:
            return {From::RzdNmb, index};
        case F::GroupPageNumber:
            return {From::GroupPageNumber, index};
        default:
            return {};
        }
    };
    switch (rule) {
    case Rule::WorkMode:
        r.WorkMode();
        break;
    case Rule::WorkModeCombo:
        r.WorkModeCombo();
        break;
    case Rule::LangChangeClick:
        r.LangChangeClick();
        break;
    case Rule::FillObjectNumbers:
        r.FillObjectNumbers();
        break;
    case Rule::PauseInterval1Change:
        if (c && c->family == F::PauseInterval)
            r.PauseInterval1Change(index);
        break;
    case Rule::ReleControl1Change:
        r.ReleControl1Change(
            {sender == QLatin1String("ReleControl1") ? From::ReleControl1 : From::None, 0});
        break;
    case Rule::ReleWorkMode1Click:
        r.ReleWorkMode1Click();
        break;
    case Rule::SpecModeRele:
        r.SpecModeRele();
        break;
    case Rule::ObjNmbClick:
        r.ObjNmbClick(partitionSender());
        break;
    case Rule::ObjNmbCl:
        if (c && (c->family == F::ObjNmb || c->family == F::GroupPageObject))
            r.ObjNmbCl(partitionSender());
        break;
    case Rule::RzdNmbChange:
        if (c && (c->family == F::RzdNmb || c->family == F::GroupPageNumber))
            r.RzdNmbChange(partitionSender());
        break;
    case Rule::DistanceControl:
        if (c && c->family == F::ObjNmb)
            r.DistanceControl(index);
        break;
    case Rule::PasswordChange:
        if (c && (c->family == F::ObjectPassword || c->family == F::RecipientPassword))
            r.PasswordChange(index);
        break;
    case Rule::PasswordSave:
        if (c && c->family == F::ObjectPassword)
            r.PasswordSave(index);
        break;
    case Rule::PasswordExit:
        if (c && c->family == F::RecipientPassword)
            r.PasswordExit(index);
        break;
    case Rule::CommandRepeat:
        if (c && c->family == F::RecipientCommand && c->index2 >= 2)
            r.CommandRepeat(index, c->index2);
        break;
    case Rule::ConnectTimeConfrmEnabl:
        if (c && c->family == F::TypeMesgGSM)
            r.ConnectTimeConfrmEnabl(index);
        break;
    case Rule::TypeMesgClick:
        if (c && c->family == F::TypeMesgGSM)
            r.TypeMesgClick(index);
        break;
    case Rule::TypeMesgLineChange:
        if (c && c->family == F::TypeMesgLine)
            r.TypeMesgLineChange(index);
        break;
    case Rule::LinePhoneChange:
        if (c && c->family == F::LinePhone)
            r.LinePhoneChange(index);
        break;
    case Rule::LinePhone1Click:
        if (c && c->family == F::LinePhone)
            r.LinePhone1Click(index);
        break;
    case Rule::LinePhoneExit:
        if (c && c->family == F::LinePhone)
            r.LinePhoneExit(index);
        break;
    case Rule::RequestBalanceChange:
        r.RequestBalanceChange();
        break;
    case Rule::RequestBalanceExit:
        r.RequestBalanceExit();
        break;
    case Rule::PinCodeClick:
        r.warn(1546);
        break;
    case Rule::SMSphoneClick:
        r.warn(1547);
        break;
    case Rule::DigExit:
        if (c && c->family == F::DigitalCode)
            r.DigExit(index);
        break;
    case Rule::Edit1Change:
        if (c && c->family == F::BlitzCode)
            r.Edit1Change(index);
        break;
    case Rule::Edit1Exit:
        if (c && c->family == F::BlitzCode && blitzCodeAsks(f, index))
            r.Edit1Exit(index, answer);
        break;
    case Rule::ChangeOwnName:
        r.ChangeOwnName(c && c->family == F::NameList
                            ? form::Sender{From::NameList, index, c->index2}
                            : form::Sender{});
        break;
    case Rule::OwnNameChange:
        if (c && c->family == F::OwnName)
            r.OwnNameChange(c->index2, index);
        break;
    case Rule::OwnNameLengnh:
        if (c && c->family == F::OwnName)
            r.OwnNameLengnh(c->index2, index);
        break;
    }
}

bool userEdit(Form &f, const QString &control, EditKind kind, const QVariant &value,
              FormEffects &fx) {
    if (control == QLatin1String("Mode")) {
        bool ok = false;
        const int mode = value.toInt(&ok);
        if (kind != EditKind::Choose || !ok || mode < 0 || mode > 2)
            return false;
        chooseToolMode(f, mode, fx);
        return true;
    }
    const ValueControl *c = valueControl(control);
    if (!c)
        return false;
    switch (c->kind) {
    case ValueControl::Kind::Item: {
        bool ok = false;
        const int item = value.toInt(&ok);
        return kind == EditKind::Choose && ok && choose(f, *c, item, fx);
    }
    case ValueControl::Kind::Tick: {
        if (kind != EditKind::Click || value.typeId() != QMetaType::Bool)
            return false;
        bool &tick = c->tick(f.values);
        if (tick == value.toBool())
            return true;
        if (c->family == F::RecipientCommand)
            Rules(f, fx).setCommand(c->index, c->index2, value.toBool());
        else
            tick = value.toBool();
        return true;
    }
    case ValueControl::Kind::Text:
        switch (kind) {
        case EditKind::Type:
            if (value.typeId() != QMetaType::QString)
                return false;
            type(f, *c, value.toString(), fx);
            return true;
        case EditKind::Leave:
            leave(f, *c, value, fx);
            return true;
        case EditKind::Click:
            clickField(f, *c, fx);
            return true;
        case EditKind::Choose:
            return false;
        }
    }
    return false;
}

} // namespace q7x::image
