// Recipients: notification types per channel, the common SMS order, number and code fields.
#include "image/pagerules.h"
#include "pages/buildutil.h"
#include "pages/formbase.h"
#include "pages/textfilter.h"

#include "lang/messagetable.h"

namespace q7x::pages {

using build::S;

namespace {
bool oneOf(int v, std::initializer_list<int> set) {
    for (int s : set)
        if (v == s)
            return true;
    return false;
}
} // namespace

void FormBase::ConnectTimeConfrmEnabl(QWidget *sender) {
    auto *gsm = qobject_cast<ComboBox *>(sender);
    const int n = tagOf(sender);
    if (!gsm || n < 1 || n > 8)
        return;
    const Controls &c = m_controls;
    ComboBox *tries = c.combo(S("DialTry"), n);
    ComboBox *wait = c.combo(S("WaitTime"), n);
    ComboBox *confirm = c.combo(S("ConfirmMes"), n);
    if (gsm->isHidden()) {
        for (ComboBox *w : {tries, wait, confirm})
            w->setEnabled(true);
    } else {
        const int type = gsm->itemIndex();
        if (type == 0) {
            for (ComboBox *w : {tries, wait, confirm})
                w->setEnabled(false);
            confirm->setItemIndex(1);
        } else {
            for (ComboBox *w : {tries, wait, confirm})
                w->setEnabled(true);
            if (oneOf(type, {4, 5, 6})) {
                confirm->setEnabled(false);
                confirm->setItemIndex(1);
            } else {
                confirm->setEnabled(true);
            }
        }
        // Digital formats cannot travel over GSM: the nearest type is tone, then SMS.
        if (image::gsmTypeIsDigital(gsm->itemIndex())) {
            gsm->setItemIndex(image::GsmToneThenSms);
            TypeMesgClick(gsm);
            confirm->setItemIndex(1);
            confirm->setEnabled(false);
        }
        if (oneOf(gsm->itemIndex(), {1, 2, 3}))
            confirm->setItemIndex(0);
    }
    // The SMS-Blitz codes page is shown while any recipient uses SMS-Blitz, not only the one that
    // changed last: a decode runs this rule for all eight in turn.
    if (Interactive) {
        bool blitz = false;
        for (int i = 1; i <= 8; ++i)
            blitz = blitz || c.combo(S("TypeMesgGSM"), i)->itemIndex() == 10;
        c.get<TabSheet>(S("TabSheet14"))->setTabVisible(blitz && DeviceModel == DeviceModel::Q72);
    }
    const int m = gsm->objectName().mid(int(qstrlen("TypeMesgGSM"))).toInt();
    if (m >= 1 && m <= 8) {
        ComboBox *sms = c.combo(S("SMS"), m);
        if (gsm->text() == S("SMS-Блиц")) {
            sms->setItemIndex(1);
            sms->setEnabled(false);
        } else {
            sms->setEnabled(true);
        }
    }
}

// All recipients send their SMS either before or after the other message, never mixed.
void FormBase::TypeMesgClick(QWidget *sender) {
    auto *gsm = qobject_cast<ComboBox *>(sender);
    const int n = tagOf(sender);
    if (!gsm)
        return;
    bool smsFirst = false, smsLast = false;
    for (int i = 1; i <= 8; ++i) {
        if (i == n)
            continue;
        const int t = m_controls.combo(S("TypeMesgGSM"), i)->itemIndex();
        smsFirst = smsFirst || image::gsmSmsFirst(t);
        smsLast = smsLast || image::gsmSmsLast(t);
    }
    gsm->setItemIndex(image::orderedGsmType(gsm->itemIndex(), smsFirst, smsLast));
}

void FormBase::TypeMesgLineChange(QWidget *sender) {
    auto *line = qobject_cast<ComboBox *>(sender);
    const int n = tagOf(sender);
    if (!line || line->isHidden() || n < 1 || n > 8)
        return;
    ComboBox *confirm = m_controls.combo(S("ConfirmMes"), n);
    if (line->itemIndex() == 0) {
        confirm->setEnabled(true);
        confirm->setItemIndex(0);
    } else {
        confirm->setEnabled(false);
        confirm->setItemIndex(1);
    }
    bool digital = line->itemIndex() == 2;
    for (int i = 1; i <= 8; ++i)
        digital = digital || m_controls.combo(S("TypeMesgLine"), i)->itemIndex() == 2;
    m_controls.get<TabSheet>(S("TabSheet11"))
        ->setTabVisible(DeviceModel == DeviceModel::Q71 && digital);
}

void FormBase::LinePhoneChange(QWidget *sender) {
    keepOnly(qobject_cast<Edit *>(sender),
             [](QChar ch) { return isDigit(ch) || QStringLiteral("BWTP").contains(ch); });
}

void FormBase::LinePhone1Click(QWidget *sender) {
    auto *e = qobject_cast<Edit *>(sender);
    if (e->text().isEmpty()) {
        e->setText(QStringLiteral("WB"));
        e->setCursorPosition(1);
    }
}

void FormBase::LinePhoneExit(QWidget *sender) {
    auto *e = qobject_cast<Edit *>(sender);
    if (e->text().size() > 24) {
        warn(1544);
        e->setText(e->text().left(24));
    }
}

void FormBase::RequestBalanceChange(QWidget *sender) {
    keepOnly(qobject_cast<Edit *>(sender), [](QChar ch) {
        return isDigit(ch) || ch == QLatin1Char('*') || ch == QLatin1Char('#');
    });
}

void FormBase::RequestBalanceExit(QWidget *sender) {
    auto *e = qobject_cast<Edit *>(sender);
    if (e->text().size() > 16) {
        warn(1545);
        e->setText(e->text().left(16));
    }
}

void FormBase::PinCodeClick(QWidget *) { warn(1546); }

void FormBase::SMSphoneClick(QWidget *) { warn(1547); }

namespace {
// A digital-format code has exactly `length` characters: a short one keeps the focus, a long one
// is cut.
void checkCode(FormBase &form, Edit *e, int length, int tooShort, int tooLong,
               const std::function<void(int)> &warn) {
    Q_UNUSED(form);
    const QString text = e->text();
    if (text.isEmpty())
        return;
    if (text.size() < length) {
        e->setFocus();
        warn(tooShort);
    } else if (text.size() > length) {
        warn(tooLong);
        e->setText(text.left(length));
        e->setFocus();
    }
}
} // namespace

void FormBase::DigExit(QWidget *sender) {
    checkCode(*this, qobject_cast<Edit *>(sender), 3, 1548, 1549, [this](int n) { warn(n); });
}

void FormBase::Dig13Exit(QWidget *sender) {
    checkCode(*this, qobject_cast<Edit *>(sender), 4, 1550, 1551, [this](int n) { warn(n); });
}

void FormBase::Edit1Change(QWidget *sender) {
    auto *e = qobject_cast<Edit *>(sender);
    if (!e->isEnabled())
        return;
    keepOnly(e, [](QChar ch) { return isDigit(ch) || ch == QLatin1Char(' '); });
}

void FormBase::Edit1Exit(QWidget *sender) {
    auto *e = qobject_cast<Edit *>(sender);
    const QString text = e->text();
    if (text.isEmpty() || text.size() == 4 || !Interactive)
        return;
    const bool correct =
        m_dialogs->question(lang::M(1538) + QLatin1Char('\n') + lang::M(1014), lang::M(1015));
    if (correct)
        e->setFocus();
    else
        e->setText(text.rightJustified(4, QLatin1Char('0')));
}

} // namespace q7x::pages
