#include "pages/formbase.h"

#include "lang/messagetable.h"
#include "pages/buildutil.h"

#include <QStringListModel>

namespace q7x::pages {

using build::S;

FormBase::FormBase(Dialogs *dialogs, QWidget *parent) : QWidget(parent), m_dialogs(dialogs) {
    if (!m_dialogs) {
        m_ownDialogs = std::make_unique<QtDialogs>(this);
        m_dialogs = m_ownDialogs.get();
    }
    ObjectPasswordTable.fill(255);
    buildWindow();
    m_controls.index(this);
    wireHandlers();
}

FormBase::~FormBase() = default;

void FormBase::setDialogs(Dialogs *d) {
    m_dialogs = d ? d : m_ownDialogs.get();
    if (!m_dialogs) {
        m_ownDialogs = std::make_unique<QtDialogs>(this);
        m_dialogs = m_ownDialogs.get();
    }
}

std::array<int, 3> FormBase::passwordRow(int object) const {
    if (object < 1 || object > 1000)
        return {255, 255, 255};
    const auto base = static_cast<std::size_t>(3 * (object - 1));
    return {ObjectPasswordTable[base], ObjectPasswordTable[base + 1],
            ObjectPasswordTable[base + 2]};
}

void FormBase::setPasswordRow(int object, const std::array<int, 3> &cells) {
    if (object < 1 || object > 1000)
        return;
    const auto base = static_cast<std::size_t>(3 * (object - 1));
    for (std::size_t i = 0; i < 3; ++i)
        ObjectPasswordTable[base + i] = cells[i] & 0xFF;
}

QStringListModel *FormBase::objectNumbers9999() {
    if (!m_objects9999)
        m_objects9999 = new QStringListModel(items::objectNumbers(9999), this);
    return m_objects9999;
}

QString FormBase::statusText() const { return StatusBar1->simpleText(); }

void FormBase::setStatusText(const QString &s) { StatusBar1->setSimpleText(s); }

void FormBase::showMessage(int number) {
    m_dialogs->message(lang::M(number), QString(), Dialogs::Icon::None);
}

// Connects every control's events to the rule that governs it.
void FormBase::wireHandlers() {
    const Controls &c = m_controls;
    auto bind = [this](void (FormBase::*rule)(QWidget *)) {
        return [this, rule](QWidget *sender) { (this->*rule)(sender); };
    };

    Mode->onChange = bind(&FormBase::WorkMode);
    WorkModeComboBox->onChange = bind(&FormBase::WorkModeCombo);
    LangChange->onClick = bind(&FormBase::LangChangeClick);
    ReleControl1->onChange = bind(&FormBase::ReleControl1Change);
    ReleWorkMode1->onClick = bind(&FormBase::ReleWorkMode1Click);
    for (const char *t : {"TimeRzmk1", "TimeZmk1", "TimePeriod1"})
        c.combo(S(t))->onChange = bind(&FormBase::SpecModeRele);
    DefaultButton->onClick = [this](QWidget *s) { DefaultButtonClick(s); };

    for (int p = 1; p <= 16; ++p) {
        ComboBox *obj = c.combo(S("ObjNmb"), p);
        obj->onChange = bind(&FormBase::ObjNmbClick);
        obj->onClick = bind(&FormBase::ObjNmbCl);
        c.combo(S("RzdNmb"), p)->onChange = bind(&FormBase::RzdNmbChange);
        c.edit(S("Password"), p)->onChange = bind(&FormBase::PasswordChange);
        c.edit(S("Password"), p)->onExit = bind(&FormBase::PasswordSave);
    }
    for (int k = 9; k <= 16; ++k) {
        ComboBox *obj = c.combo(S("ComboBox"), 16 + k);
        obj->onChange = bind(&FormBase::ObjNmbClick);
        obj->onClick = bind(&FormBase::ObjNmbCl);
        c.combo(S("ComboBox"), 2 + k)->onChange = bind(&FormBase::RzdNmbChange);
    }
    for (int r = 1; r <= 8; ++r) {
        c.edit(S("Password"), 20 + r)->onChange = bind(&FormBase::PasswordChange);
        c.edit(S("Password"), 20 + r)->onExit = bind(&FormBase::PasswordExit);
        for (const char *k : {"st", "start", "stop"})
            c.check(S(k), 20 + r)->onClick = bind(&FormBase::CommandRepeat);

        ComboBox *gsm = c.combo(S("TypeMesgGSM"), r);
        gsm->onChange = bind(&FormBase::ConnectTimeConfrmEnabl);
        gsm->onClick = bind(&FormBase::TypeMesgClick);
        c.combo(S("TypeMesgLine"), r)->onChange = bind(&FormBase::TypeMesgLineChange);
        c.combo(S("PauseInterval"), r)->onChange = bind(&FormBase::PauseInterval1Change);
        Edit *line = c.edit(S("LinePhone"), r);
        line->onChange = bind(&FormBase::LinePhoneChange);
        line->onExit = bind(&FormBase::LinePhoneExit);
        line->onClick = bind(&FormBase::LinePhone1Click);
        c.mask(S("PhoneNumber"), r)->onClick = bind(&FormBase::SMSphoneClick);
    }
    Edit *balance = c.edit(S("RequestBalance"));
    balance->onChange = bind(&FormBase::RequestBalanceChange);
    balance->onExit = bind(&FormBase::RequestBalanceExit);
    c.mask(S("PinCode"))->onClick = bind(&FormBase::PinCodeClick);
    c.mask(S("SMSphone"))->onClick = bind(&FormBase::SMSphoneClick);
    for (int k = 1; k <= 12; ++k)
        c.edit(S("Dig"), k)->onExit = bind(&FormBase::DigExit);
    c.edit(S("Dig13"))->onExit = bind(&FormBase::Dig13Exit);
    for (int k = 1; k <= 24; ++k) {
        c.edit(S("Edit"), k)->onChange = bind(&FormBase::Edit1Change);
        c.edit(S("Edit"), k)->onExit = bind(&FormBase::Edit1Exit);
    }

    for (const char *tone : {"Alarm", "Arm", "DisArm"})
        for (int s = 1; s <= 3; ++s)
            c.combo(S(tone), s)->onChange = bind(&FormBase::ToneDigit);
    for (int s = 1; s <= 3; ++s)
        c.get<Button>(Controls::name(S("SoundTone"), s))->onClick = bind(&FormBase::SoundToneClick);

    for (const char *family : {"NameRzd", "NameRzdE", "NameRzdP"})
        for (int p = 1; p <= 16; ++p) {
            ComboBox *names = c.combo(S(family), p);
            names->onChange = bind(&FormBase::ChangeOwnName);
            names->onClick = bind(&FormBase::ChangeOwnName);
        }
    for (const char *family : {"OwnName", "OwnNameE", "OwnNameP"})
        for (int k = 1; k <= 4; ++k) {
            LabeledEdit *own = c.labeledEdit(S(family), k);
            if (QString::fromLatin1(family) != QLatin1String("OwnName"))
                own->edit()->onChange = [this, own](QWidget *) { OwnNameChange(own); };
            own->edit()->onExit = [this, own](QWidget *) { OwnNameLengnh(own); };
        }

    PageControl1->onChanging = bind(&FormBase::PageControl1Changing);
    PageControl1->onChange = bind(&FormBase::PageControl1Change);
    PageControl2->onChange = bind(&FormBase::PageControl2Change);
}

// --- page rules ---------------------------------------------------------------------------

void FormBase::PageControl1Changing(QWidget *) { PrevPage = PageControl1->activePageIndex(); }

void FormBase::PageControl1Change(QWidget *) {
    auto highlightActive = [this] {
        const int active = PageControl1->activePageIndex();
        for (int i = 0; i < PageControl1->sheetCount(); ++i)
            PageControl1->sheet(i)->setHighlighted(i == active);
    };
    highlightActive();
    // Remote control by telephone is impossible while the line model never answers calls; the
    // GSM model has no such setting (its list keeps a value chosen for the line model).
    if (PageControl1->activePageIndex() == PageRemote && DeviceModel == DeviceModel::Q71 &&
        m_controls.combo(S("PickUpDelay"))->itemIndex() == 15) {
        PageControl1->setActivePageIndex(PrevPage);
        highlightActive();
        m_dialogs->message(S("Вкладка 'Дистанц. управление' недоступна, т.к. на вкладке 'Главная' "
                             "выбрано 'не брать трубку'."),
                           QString(), Dialogs::Icon::None);
    }
}

void FormBase::PageControl2Change(QWidget *) {
    const bool first = PageControl2->activePageIndex() == 0;
    Panel27->setVisible(first);
    Panel28->setVisible(!first);
}

// Preview of the tone combinations: every symbol list shows its symbol in its preview label.
void FormBase::ToneDigit(QWidget *) {
    for (const char *tone : {"Alarm", "Arm", "DisArm"})
        for (int s = 1; s <= 3; ++s)
            m_controls.label(S("Set") + S(tone) + QString::number(s))
                ->setCaption(image::toneSymbol(m_controls.combo(S(tone), s)->itemIndex()));
}

void FormBase::SoundToneClick(QWidget *) { showMessage(1541); }

} // namespace q7x::pages
