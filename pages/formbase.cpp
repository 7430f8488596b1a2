#include "pages/formbase.h"

#include "image/formcontrols.h"
#include "lang/messagetable.h"
#include "lang/windowtexts.h"
#include "pages/buildutil.h"
#include "pages/formbinding.h"
#include "pages/geometry.h"
#include "pages/translatewalk.h"

#include <QStringListModel>

namespace q7x::pages {

using build::S;

namespace {
bool &allPagesAtStart() {
    static bool all = false;
    return all;
}
} // namespace

FormBase::FormBase(Dialogs *dialogs, QWidget *parent) : QWidget(parent), m_dialogs(dialogs) {
    if (!m_dialogs) {
        m_ownDialogs = std::make_unique<QtDialogs>(this);
        m_dialogs = m_ownDialogs.get();
    }
    m_model = image::builtForm();
    m_objects999 = new QStringListModel(items::objectNumbers(999), this);
    buildFrame(this, [this](TabSheet *first) { m_main = std::make_unique<MainPage>(first); });
    m_built[PageMain] = true;
    m_controls.index(this);
    wireHandlers();
    watchValues(this);
    m_controls.setPageBuilder([this] {
        for (int page = 0; page < int(m_built.size()); ++page)
            if (!m_built[std::size_t(page)]) {
                buildPage(page);
                return true;
            }
        return false;
    });
    PageControl1->beforeShow = [this](int page) { buildPage(page); };
    if (allPagesAtStart())
        buildAllPages();
}

void FormBase::setBuildAllPagesAtStart(bool all) { allPagesAtStart() = all; }

bool FormBase::pageBuilt(int page) const {
    return page >= 0 && page < int(m_built.size()) && m_built[std::size_t(page)];
}

void FormBase::buildAllPages() {
    for (int page = 0; page < int(m_built.size()); ++page)
        buildPage(page);
}

void FormBase::windowTranslated(const lang::WindowTexts *texts) {
    const QString form = QStringLiteral("rs") + objectName() + QLatin1Char('_');
    auto translated = [&](QString &current, const QString &identifier) {
        if (IsFixedText(current))
            return;
        const QString text = texts->text(form + identifier);
        if (!text.isEmpty())
            current = text;
    };
    if (texts)
        for (const image::ValueControl &vc : image::valueControls())
            if (vc.kind == image::ValueControl::Kind::Text && !m_controls.existing(vc.name))
                translated(vc.text(m_model.values), vc.name + QLatin1String("_Text"));
    for (int k = 1; k <= image::PartitionCount; ++k) {
        const QString label = Controls::name(S("LabelOb"), k);
        QString &caption = m_model.view.objectRows[std::size_t(k - 1)].object;
        if (auto *built = qobject_cast<Label *>(m_controls.existing(label)))
            caption = built->caption();
        else if (texts)
            translated(caption, label + QLatin1String("_Caption"));
    }
}

// Builds the page, translates it, and shows on it the part of the model that only the model held
// until now: the page comes up as it would have if it had been built with the window.
void FormBase::buildPage(int page) {
    if (page < 0 || page >= int(m_built.size()) || m_built[std::size_t(page)])
        return;
    m_built[std::size_t(page)] = true;
    TabSheet *sheet = sheets[std::size_t(page)];
    switch (page) {
    case PageMain:
        m_main = std::make_unique<MainPage>(sheet);
        break;
    case PageRecipients:
        m_recipients = std::make_unique<RecipientsPage>(sheet, m_objects999);
        break;
    case PageNames:
        m_names = std::make_unique<NamesPage>(sheet);
        break;
    case PagePeriod:
        m_period = std::make_unique<PeriodPage>(sheet);
        break;
    case PageRemote:
        m_remote = std::make_unique<RemotePage>(sheet);
        break;
    case PageTone:
        m_tone = std::make_unique<TonePage>(sheet);
        break;
    default:
        m_relay = std::make_unique<RelayPage>(sheet);
    }
    m_controls.index(sheet);
    wireHandlers();
    translatePage(sheet);
    image::Form built = m_model;
    readControls(*this, built, sheet);
    const bool showing = m_showing;
    m_showing = true;
    showForm(*this, built, m_model);
    m_showing = showing;
    watchValues(sheet);
    if (page == PageTone)
        ToneDigit(nullptr);
    if (m_model.view.messageTypeHeadingMoved)
        placeMessageTypeHeading();
    pageAdded(page);
}

FormBase::~FormBase() = default;

RecipientsPage &FormBase::recipientsPage() {
    buildPage(PageRecipients);
    return *m_recipients;
}

NamesPage &FormBase::namesPage() {
    buildPage(PageNames);
    return *m_names;
}

RelayPage &FormBase::relayPage() {
    buildPage(PageRelay);
    return *m_relay;
}

void FormBase::placeMessageTypeHeading() {
    if (QWidget *heading = m_recipients ? m_recipients->messageTypeHeading : nullptr)
        heading->move(geometry::MessageTypeHeadingLeft, heading->y());
}

void FormBase::setDialogs(Dialogs *d) {
    m_dialogs = d ? d : m_ownDialogs.get();
    if (!m_dialogs) {
        m_ownDialogs = std::make_unique<QtDialogs>(this);
        m_dialogs = m_ownDialogs.get();
    }
}

std::array<int, 3> FormBase::passwordRow(int object) const {
    if (object < 1 || object > image::ObjectTableRows)
        return {255, 255, 255};
    const image::PasswordCells &cells = m_model.values.objectPasswords[std::size_t(object - 1)];
    return {cells[0], cells[1], cells[2]};
}

void FormBase::setPasswordRow(int object, const std::array<int, 3> &cells) {
    if (object < 1 || object > image::ObjectTableRows)
        return;
    image::PasswordCells &row = m_model.values.objectPasswords[std::size_t(object - 1)];
    for (std::size_t i = 0; i < 3; ++i)
        row[i] = std::uint8_t(cells[i] & 0xFF);
}

image::Form FormBase::form() const {
    image::Form f = m_model;
    f.model = DeviceModel;
    f.toolMode = Mode->itemIndex();
    f.language = SelectLang->text();
    f.interactive = Interactive;
    f.formShown = FormShown;
    return f;
}

void FormBase::watchValues(const QWidget *root) {
    const QList<image::ValueControl> &all = image::valueControls();
    for (qsizetype i = 0; i < all.size(); ++i) {
        QWidget *widget = m_controls.existing(all[i].name);
        if (!widget || (widget != root && !root->isAncestorOf(widget)))
            continue;
        // A value set while the controls show a form is that form's, which becomes the model.
        auto report = [this, i, widget] {
            if (!m_showing)
                readValue(image::valueControls()[i], widget, m_model.values);
        };
        if (auto *list = qobject_cast<ComboBox *>(widget))
            list->onValue = report;
        else if (auto *group = qobject_cast<RadioGroup *>(widget))
            group->onValue = report;
        else if (auto *box = qobject_cast<CheckBox *>(widget))
            box->onValue = report;
        else if (auto *labeled = qobject_cast<LabeledEdit *>(widget))
            labeled->edit()->onValue = report;
        else if (auto *edit = qobject_cast<Edit *>(widget))
            edit->onValue = report;
    }
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

// Connects every control of the pages built so far to the rule that governs it; run again when
// a page is built (connecting a control again changes nothing).
void FormBase::wireHandlers() {
    const Controls &c = m_controls;
    auto bind = [this](void (FormBase::*rule)(QWidget *)) {
        return [this, rule](QWidget *sender) { (this->*rule)(sender); };
    };
    auto has = [&c]<class T>(const QString &name, T *) {
        return qobject_cast<T *>(c.existing(name));
    };
    auto combo = [&](const QString &n) { return has(n, static_cast<ComboBox *>(nullptr)); };
    auto edit = [&](const QString &n) { return has(n, static_cast<Edit *>(nullptr)); };
    auto check = [&](const QString &n) { return has(n, static_cast<CheckBox *>(nullptr)); };
    auto mask = [&](const QString &n) { return has(n, static_cast<MaskEdit *>(nullptr)); };
    auto name = [](const char *prefix, int i) { return Controls::name(S(prefix), i); };
    // Each connection only where the control exists.
    auto onChange = [](auto *w, Handler h) {
        if (w)
            w->onChange = std::move(h);
    };
    auto onClick = [](auto *w, Handler h) {
        if (w)
            w->onClick = std::move(h);
    };
    auto onExit = [](auto *w, Handler h) {
        if (w)
            w->onExit = std::move(h);
    };

    onChange(Mode, bind(&FormBase::WorkMode));
    onChange(m_main->WorkModeComboBox, bind(&FormBase::WorkModeCombo));
    if (m_names)
        onClick(m_names->LangChange, bind(&FormBase::LangChangeClick));
    if (m_relay) {
        onChange(m_relay->ReleControl1, bind(&FormBase::ReleControl1Change));
        onClick(m_relay->ReleWorkMode1, bind(&FormBase::ReleWorkMode1Click));
    }
    for (const char *t : {"TimeRzmk1", "TimeZmk1", "TimePeriod1"})
        onChange(combo(S(t)), bind(&FormBase::SpecModeRele));
    DefaultButton->onClick = [this](QWidget *s) { DefaultButtonClick(s); };

    for (int p = 1; p <= 16; ++p) {
        ComboBox *obj = combo(name("ObjNmb", p));
        onChange(obj, bind(&FormBase::ObjNmbClick));
        onClick(obj, bind(&FormBase::ObjNmbCl));
        onChange(combo(name("RzdNmb", p)), bind(&FormBase::RzdNmbChange));
        onChange(edit(name("Password", p)), bind(&FormBase::PasswordChange));
        onExit(edit(name("Password", p)), bind(&FormBase::PasswordSave));
    }
    for (int k = 9; k <= 16; ++k) {
        ComboBox *obj = combo(name("ComboBox", 16 + k));
        onChange(obj, bind(&FormBase::ObjNmbClick));
        onClick(obj, bind(&FormBase::ObjNmbCl));
        onChange(combo(name("ComboBox", 2 + k)), bind(&FormBase::RzdNmbChange));
    }
    for (int r = 1; r <= 8; ++r) {
        onChange(edit(name("Password", 20 + r)), bind(&FormBase::PasswordChange));
        onExit(edit(name("Password", 20 + r)), bind(&FormBase::PasswordExit));
        for (const char *k : {"st", "start", "stop"})
            onClick(check(name(k, 20 + r)), bind(&FormBase::CommandRepeat));

        ComboBox *gsm = combo(name("TypeMesgGSM", r));
        onChange(gsm, bind(&FormBase::ConnectTimeConfrmEnabl));
        onClick(gsm, bind(&FormBase::TypeMesgClick));
        onChange(combo(name("TypeMesgLine", r)), bind(&FormBase::TypeMesgLineChange));
        onChange(combo(name("PauseInterval", r)), bind(&FormBase::PauseInterval1Change));
        Edit *line = edit(name("LinePhone", r));
        onChange(line, bind(&FormBase::LinePhoneChange));
        onExit(line, bind(&FormBase::LinePhoneExit));
        onClick(line, bind(&FormBase::LinePhone1Click));
        onClick(mask(name("PhoneNumber", r)), bind(&FormBase::SMSphoneClick));
    }
    Edit *balance = edit(S("RequestBalance"));
    onChange(balance, bind(&FormBase::RequestBalanceChange));
    onExit(balance, bind(&FormBase::RequestBalanceExit));
    onClick(mask(S("PinCode")), bind(&FormBase::PinCodeClick));
    onClick(mask(S("SMSphone")), bind(&FormBase::SMSphoneClick));
    for (int k = 1; k <= 12; ++k)
        onExit(edit(name("Dig", k)), bind(&FormBase::DigExit));
    onExit(edit(S("Dig13")), bind(&FormBase::Dig13Exit));
    for (int k = 1; k <= 24; ++k) {
        onChange(edit(name("Edit", k)), bind(&FormBase::Edit1Change));
        onExit(edit(name("Edit", k)), bind(&FormBase::Edit1Exit));
    }

    for (const char *tone : {"Alarm", "Arm", "DisArm"})
        for (int s = 1; s <= 3; ++s)
            onChange(combo(name(tone, s)), bind(&FormBase::ToneDigit));
    for (int s = 1; s <= 3; ++s)
        onClick(has(name("SoundTone", s), static_cast<Button *>(nullptr)),
                bind(&FormBase::SoundToneClick));

    for (const char *family : {"NameRzd", "NameRzdE", "NameRzdP"})
        for (int p = 1; p <= 16; ++p) {
            ComboBox *names = combo(name(family, p));
            onChange(names, bind(&FormBase::ChangeOwnName));
            onClick(names, bind(&FormBase::ChangeOwnName));
        }
    for (const char *family : {"OwnName", "OwnNameE", "OwnNameP"})
        for (int k = 1; k <= 4; ++k) {
            auto *own = has(name(family, k), static_cast<LabeledEdit *>(nullptr));
            if (!own)
                continue;
            if (QString::fromLatin1(family) != QLatin1String("OwnName"))
                own->edit()->onChange = [this, own](QWidget *) { OwnNameChange(own); };
            own->edit()->onExit = [this, own](QWidget *) { OwnNameLengnh(own); };
        }

    PageControl1->onChanging = bind(&FormBase::PageControl1Changing);
    PageControl1->onChange = bind(&FormBase::PageControl1Change);
    if (m_recipients)
        onChange(m_recipients->PageControl2, bind(&FormBase::PageControl2Change));
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
        m_model.values.pickUpDelay == 15) {
        PageControl1->setActivePageIndex(PrevPage);
        highlightActive();
        m_dialogs->message(S("Вкладка 'Дистанц. управление' недоступна, т.к. на вкладке 'Главная' "
                             "выбрано 'не брать трубку'."),
                           QString(), Dialogs::Icon::None);
    }
}

void FormBase::PageControl2Change(QWidget *) {
    RecipientsPage &recipients = recipientsPage();
    const bool first = recipients.PageControl2->activePageIndex() == 0;
    recipients.Panel27->setVisible(first);
    recipients.Panel28->setVisible(!first);
}

// Preview of the tone combinations: every symbol list shows its symbol in its preview label.
void FormBase::ToneDigit(QWidget *) {
    if (!m_tone)
        return; // the page shows the previews of the model when it is built
    const image::FormSettings &v = m_model.values;
    const std::array<const std::array<int, 4> *, 3> tones{&v.toneAlarm, &v.toneArm, &v.toneDisarm};
    for (std::size_t t = 0; t < 3; ++t)
        for (std::size_t s = 0; s < 3; ++s)
            m_tone->symbolPreviews[t][s]->setCaption(image::toneSymbol((*tones[t])[s]));
}

void FormBase::SoundToneClick(QWidget *) { showMessage(1541); }

} // namespace q7x::pages
