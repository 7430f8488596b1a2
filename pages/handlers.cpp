// The window's handlers: each reads the form the controls show, runs its rule over it
// (image/formrules.h) and shows the result. No handler decides a value itself.
#include "lang/ini.h"
#include "lang/messagetable.h"
#include "pages/buildutil.h"
#include "pages/formbase.h"
#include "pages/formbinding.h"
#include "pages/geometry.h"

namespace q7x::pages {

using build::S;
using image::Rule;

void FormBase::runRules(const std::function<void(image::Form &, image::FormEffects &)> &rules,
                        const QString &typed) {
    if (m_showing)
        return;
    // The settings come from the model. What is shown or enabled is taken from the screen, so that
    // a rule puts a control right whatever left it in its state.
    image::Form before = form();
    readView(*this, before.view, nullptr);
    image::Form after = before;
    image::FormEffects fx;
    rules(after, fx);
    // A state the rules passed through stays on screen while the messages after it are up; the
    // final state follows them. Without one, the messages come over the final state.
    // The model follows what is shown, so that a page built meanwhile shows the same.
    auto show = [&](const image::Form &from, const image::Form &to) {
        m_showing = true;
        showForm(*this, from, to, typed);
        m_model = to;
        m_showing = false;
        // The tone previews follow the model's symbols.
        if (to.values.toneAlarm != from.values.toneAlarm ||
            to.values.toneArm != from.values.toneArm ||
            to.values.toneDisarm != from.values.toneDisarm)
            ToneDigit(nullptr);
    };
    const image::Form *shown = &before;
    bool passedThrough = false;
    for (const image::FormNotice &n : fx.notices)
        passedThrough = passedThrough || n.state;
    if (!passedThrough) {
        show(before, after);
        shown = &after;
    }
    for (const image::FormNotice &n : fx.notices) {
        if (n.state) {
            show(*shown, *n.state);
            shown = n.state.get();
        } else {
            applyNotice(n);
        }
    }
    if (shown != &after)
        show(*shown, after);
    applyEffects(fx);
    formShown(before, after);
}

void FormBase::readImage(core::DeviceModel model, const image::ConfigImage &img) {
    if (model == core::DeviceModel::Q71)
        listImage(Memo3, img);
    runRules([&](image::Form &f, image::FormEffects &fx) { image::readImage(f, model, img, fx); });
}

image::Encoded FormBase::encodeImage() {
    image::Encoded out;
    runRules([&](image::Form &f, image::FormEffects &) { out = image::encodeForm(f); });
    if (out.ok() && DeviceModel == core::DeviceModel::Q71)
        listImage(Memo2, out.image);
    return out;
}

void FormBase::applyNotice(const image::FormNotice &n) {
    switch (n.kind) {
    case image::FormNotice::Kind::Focus:
        if (QWidget *w = m_controls.find(n.control))
            w->setFocus();
        break;
    case image::FormNotice::Kind::Message:
        m_dialogs->message(noticeText(*this, n), QString(), Dialogs::Icon::None);
        break;
    case image::FormNotice::Kind::FieldError:
        m_dialogs->message(noticeText(*this, n), noticeCaption(*this, n), Dialogs::Icon::Error);
        break;
    case image::FormNotice::Kind::DamagedImage:
        m_dialogs->message(noticeText(*this, n), noticeCaption(*this, n), Dialogs::Icon::Warning);
        break;
    case image::FormNotice::Kind::State:
        break;
    }
}

void FormBase::applyEffects(const image::FormEffects &fx) {
    if (fx.firstPage) {
        PageControl1->setActivePageIndex(0);
        PageControl1Change(PageControl1);
    }
    if (fx.headingMoved)
        placeMessageTypeHeading();
    if (fx.buttonsChanged)
        for (QWidget *b : {SaveButton, LoadButton, DefaultButton})
            b->setEnabled(fx.fileButtons);
    if (fx.connectChanged)
        ConnectButton->setEnabled(fx.connectButton);
    if (fx.runModemChanged)
        RunModemButton->setEnabled(fx.runModemButton);
    switch (fx.status) {
    case image::FormEffects::Status::Keep:
        break;
    case image::FormEffects::Status::Clear:
        setStatusText(QString());
        break;
    case image::FormEffects::Status::FactorySettings:
        setStatusText(SelectLang->text() == lang::LangRussian ? S("Заводские настройки выставлены")
                                                              : lang::M(1537));
        break;
    }
}

void FormBase::rule(Rule r, QWidget *sender, bool answer) {
    const QString name = sender ? sender->objectName() : QString();
    // These change rules filter what the user types and keep the caret where it was; the
    // password filter puts it at the end.
    const bool filters = r == Rule::LinePhoneChange || r == Rule::RequestBalanceChange ||
                         r == Rule::Edit1Change || r == Rule::OwnNameChange;
    runRules(
        [&](image::Form &f, image::FormEffects &fx) { image::runRule(f, r, name, fx, answer); },
        filters ? name : QString());
}

void FormBase::ResetForm() {
    runRules([](image::Form &f, image::FormEffects &fx) { image::resetForm(f, fx); });
}

void FormBase::DefaultButtonClick(QWidget *) {
    runRules([](image::Form &f, image::FormEffects &fx) { image::restoreDefaults(f, fx); });
}

void FormBase::WorkMode(QWidget *s) { rule(Rule::WorkMode, s); }
void FormBase::WorkModeCombo(QWidget *s) { rule(Rule::WorkModeCombo, s); }
void FormBase::LangChangeClick(QWidget *s) { rule(Rule::LangChangeClick, s); }
void FormBase::FillObjectNumbers() { rule(Rule::FillObjectNumbers, nullptr); }
void FormBase::PauseInterval1Change(QWidget *s) { rule(Rule::PauseInterval1Change, s); }
void FormBase::ReleControl1Change(QWidget *s) { rule(Rule::ReleControl1Change, s); }
void FormBase::ReleWorkMode1Click(QWidget *s) { rule(Rule::ReleWorkMode1Click, s); }
void FormBase::SpecModeRele(QWidget *s) { rule(Rule::SpecModeRele, s); }
void FormBase::ObjNmbClick(QWidget *s) { rule(Rule::ObjNmbClick, s); }
void FormBase::ObjNmbCl(QWidget *s) { rule(Rule::ObjNmbCl, s); }
void FormBase::RzdNmbChange(QWidget *s) { rule(Rule::RzdNmbChange, s); }
void FormBase::DistanceControl(QWidget *s) { rule(Rule::DistanceControl, s); }
void FormBase::PasswordChange(QWidget *s) { rule(Rule::PasswordChange, s); }
void FormBase::PasswordSave(QWidget *s) { rule(Rule::PasswordSave, s); }
void FormBase::PasswordExit(QWidget *s) { rule(Rule::PasswordExit, s); }
void FormBase::CommandRepeat(QWidget *s) { rule(Rule::CommandRepeat, s); }
void FormBase::ConnectTimeConfrmEnabl(QWidget *s) { rule(Rule::ConnectTimeConfrmEnabl, s); }
void FormBase::TypeMesgClick(QWidget *s) { rule(Rule::TypeMesgClick, s); }
void FormBase::TypeMesgLineChange(QWidget *s) { rule(Rule::TypeMesgLineChange, s); }
void FormBase::LinePhoneChange(QWidget *s) { rule(Rule::LinePhoneChange, s); }
void FormBase::LinePhoneExit(QWidget *s) { rule(Rule::LinePhoneExit, s); }
void FormBase::RequestBalanceChange(QWidget *s) { rule(Rule::RequestBalanceChange, s); }
void FormBase::RequestBalanceExit(QWidget *s) { rule(Rule::RequestBalanceExit, s); }
void FormBase::PinCodeClick(QWidget *s) { rule(Rule::PinCodeClick, s); }
void FormBase::SMSphoneClick(QWidget *s) { rule(Rule::SMSphoneClick, s); }
void FormBase::DigExit(QWidget *s) { rule(Rule::DigExit, s); }
void FormBase::Dig13Exit(QWidget *s) { rule(Rule::DigExit, s); }
void FormBase::Edit1Change(QWidget *s) { rule(Rule::Edit1Change, s); }
void FormBase::ChangeOwnName(QWidget *s) { rule(Rule::ChangeOwnName, s); }
void FormBase::OwnNameChange(QWidget *s) { rule(Rule::OwnNameChange, s); }
void FormBase::OwnNameLengnh(QWidget *s) { rule(Rule::OwnNameLengnh, s); }

// An empty line-number field clicked gets "WB" with the caret between the two letters.
void FormBase::LinePhone1Click(QWidget *s) {
    auto *e = qobject_cast<Edit *>(s);
    const bool empty = e && e->text().isEmpty();
    rule(Rule::LinePhone1Click, s);
    if (empty && e->text() == QLatin1String("WB"))
        e->setCursorPosition(1);
}

// Leaving an SMS-Blitz code that is not four characters long asks whether to correct it; a
// code left as it is gets leading zeros.
void FormBase::Edit1Exit(QWidget *s) {
    const int k = tagOf(s);
    if (!image::blitzCodeAsks(form(), k))
        return;
    const bool correct =
        m_dialogs->question(lang::M(1538) + QLatin1Char('\n') + lang::M(1014), lang::M(1015));
    rule(Rule::Edit1Exit, s, correct);
}

} // namespace q7x::pages
